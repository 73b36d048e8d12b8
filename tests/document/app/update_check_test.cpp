// The update check: versions compared part by part as numbers, what is
// fetched and which answer follows, the skipped version as exact text, and
// the new-version window's wait for the start-up choice.

#include "document/app/UpdateCheck.h"

#include <gtest/gtest.h>

#include <map>

#include "app_test_support.h"
#include "document/app/ProductInfo.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"

namespace ch::test {
namespace {

TEST(UpdateCheck, VersionsComparePartByPartAsNumbers)
{
    struct Case {
        const char* announced;
        const char* running;
        bool newer;
    };
    const Case cases[] = {
        {"2.0.10.0", "2.0.2.0", true},  {"2.0.3.0", "2.0.2.0", true},   {"2.1", "2.0.2.0", true},
        {"10.0", "9.9.9.9", true},      {"2.0.2.1", "2.0.2", true},     {"2.0.2.0", "2.0.2.0", false},
        {"2.0.2", "2.0.2.0", false},    {"02.0.2.0", "2.0.2.0", false}, {"2.0.1.9", "2.0.2.0", false},
        {"1.99.99.99", "2.0.2.0", false},
        {"99999999999999999999.0", "2.0.2.0", true}, // beyond 64 bits, still a number
        {"2.0.3.0b", "2.0.2.0", false}, {"2..3", "2.0.2.0", false},     {"", "2.0.2.0", false},
        {"v3", "2.0.2.0", false},       {"3.0.", "2.0.2.0", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isNewerVersion(c.announced, c.running), c.newer) << c.announced << " / " << c.running;
}

TEST(UpdateCheck, TheAnnouncementOrItsPageDecideWhatTheUserIsTold)
{
    using Outcome = UpdateCheckOutcome;
    const std::string notes = "2.0.3.0\r\nFaster reports.\r\n";
    struct Case {
        const char* name;
        std::optional<std::string> announcement;
        std::optional<std::string> page;
        std::optional<std::string> skip;
        Outcome asked;    // from the menu
        Outcome atLaunch;
        std::string version;
    };
    const Case cases[] = {
        {"newer, notes with CR LF", notes, std::nullopt, std::nullopt, Outcome::ShowUpgradeWindow,
         Outcome::ShowUpgradeWindow, "2.0.3.0"},
        {"the newer version skipped", notes, std::nullopt, "2.0.3.0", Outcome::NoUpgrades, Outcome::Silent, ""},
        {"another version skipped", notes, std::nullopt, "2.0.3", Outcome::ShowUpgradeWindow,
         Outcome::ShowUpgradeWindow, "2.0.3.0"},
        {"the running version", "2.0.2.0\n", std::nullopt, std::nullopt, Outcome::NoUpgrades, Outcome::Silent, ""},
        {"too short: the page decides", "2.1", "<html><body>\n 2.0.10.0 \n</body></html>", std::nullopt,
         Outcome::ShowUpgradeWindow, Outcome::ShowUpgradeWindow, "2.0.10.0"},
        {"an error page: the page decides", "<!DOCTYPE html><p>404</p>", "<body>2.0.1.0</body>", std::nullopt,
         Outcome::NoUpgrades, Outcome::Silent, ""},
        {"a comment: the page decides", "// not yet", "no body here", std::nullopt, Outcome::NoConnection,
         Outcome::Silent, ""},
        {"a page without its end", std::nullopt, "<body>2.0.9.0", std::nullopt, Outcome::NoConnection,
         Outcome::Silent, ""},
        {"no connection", std::nullopt, std::nullopt, std::nullopt, Outcome::NoConnection, Outcome::Silent, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> fetched;
        const FetchText fetch = [&](std::string_view address) -> std::optional<std::string> {
            fetched.emplace_back(address);
            return address == kVersionAnnouncement ? c.announcement : c.page;
        };
        for (bool askedByUser : {true, false}) {
            fetched.clear();
            const UpdateCheckResult result = performUpdateCheck({askedByUser, c.skip}, fetch);
            EXPECT_EQ(result.outcome, askedByUser ? c.asked : c.atLaunch);
            EXPECT_EQ(result.newVersion, c.version);
            EXPECT_EQ(fetched.front(), kVersionAnnouncement);
            if (result.outcome != Outcome::ShowUpgradeWindow) continue;
            EXPECT_EQ(result.currentVersion, "2.0.2.0");
            // Only the announcement itself is ever shown as the notes.
            EXPECT_EQ(result.notes, fetched.size() == 1 ? *c.announcement : "");
        }
    }
}

TEST(UpdateCheck, ALaunchCheckFollowsTheUserDefaultAndTheSkippedVersionIsKept)
{
    RegisteredDefaults registered;
    UserDefaults& defaults = registered.defaults;
    ASSERT_TRUE(updateCheckRequest(false, defaults));
    EXPECT_FALSE(updateCheckRequest(false, defaults)->versionToSkip);
    defaults.set("GXOnLineUpdateCheck", false);
    EXPECT_FALSE(updateCheckRequest(false, defaults));
    ASSERT_TRUE(updateCheckRequest(true, defaults));

    skipVersion(defaults, "2.0.3.0");
    EXPECT_EQ(updateCheckRequest(true, defaults)->versionToSkip, "2.0.3.0");
    EXPECT_TRUE(updateCheckRequest(true, defaults)->askedByUser);
}

TEST(UpdateCheck, NothingNewAndNoConnectionAreToldOnlyWhenTheUserAsked)
{
    LocalizedStrings strings;
    strings.loadFile(LocalizedStrings::defaultPath());
    ScopedLocalizedStrings stringsScope(strings);
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter alertScope(alerts);

    for (UpdateCheckOutcome outcome : {UpdateCheckOutcome::NoUpgrades, UpdateCheckOutcome::NoConnection,
                                       UpdateCheckOutcome::Silent, UpdateCheckOutcome::ShowUpgradeWindow})
        showUpdateCheckAnswer(outcome);
    ASSERT_EQ(alerts.records().size(), 2u);
    for (const auto& record : alerts.records()) {
        EXPECT_EQ(record.kind, RecordingAlertPresenter::Kind::Info);
        EXPECT_EQ(record.alert.title, localized("Info"));
        EXPECT_EQ(record.alert.defaultButton, localized("OK"));
    }
    EXPECT_EQ(alerts.records()[0].alert.message, localized("NOUPGRADES"));
    EXPECT_EQ(alerts.records()[1].alert.message, localized("NOUPGRADESNOCONNECTION"));
    EXPECT_NE(localized("NOUPGRADES"), "NOUPGRADES");
}

TEST(UpdateCheck, TheNewVersionWindowWaitsWhileTheStartupChoiceIsOpen)
{
    ManualDispatcher dispatcher;
    bool startupChoiceOpen = true;
    int shown = 0;
    Subscription wait =
        scheduleUpgradeWindow(dispatcher, [&] { return startupChoiceOpen; }, [&] { ++shown; });
    dispatcher.advance(std::chrono::seconds(5));
    dispatcher.advance(std::chrono::seconds(4));
    EXPECT_EQ(shown, 0);
    startupChoiceOpen = false;
    dispatcher.advance(std::chrono::seconds(3));
    EXPECT_EQ(shown, 0);
    dispatcher.advance(std::chrono::seconds(1)); // 13 s: the next look
    EXPECT_EQ(shown, 1);
    dispatcher.advance(std::chrono::seconds(60));
    EXPECT_EQ(shown, 1);

    Subscription cancelled = scheduleUpgradeWindow(dispatcher, nullptr, [&] { ++shown; });
    cancelled.cancel();
    dispatcher.advance(std::chrono::seconds(10));
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace ch::test
