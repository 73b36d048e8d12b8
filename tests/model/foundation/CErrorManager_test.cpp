#include "model/foundation/CErrorManager.h"

#include <gtest/gtest.h>

#include "model/foundation/LString.h"
#include "platform/core/alerts.h"
#include "text_settings_fixture.h"

namespace ch {
namespace {

using Kind = RecordingAlertPresenter::Kind;

class CErrorManagerTest : public ::testing::Test {
protected:
    CErrorManagerTest()
    {
        auto& strings = settings.strings();
        for (const char* key : {"ERROR", "INFO", "QUESTION", "OK", "CANCEL", "NO", "YES"})
            strings.set(key, std::string("[") + key + "]");
        strings.set("166", "The month must be between 1 and 12.");
        strings.set("209", "The document uses %d decimals, the application %d.");
        strings.set("226", "Delete it?");
        strings.set("261", "Delete %@ and its bookings in %@?");
        strings.set("144", "Check %@ failed: %@ %@ %d");
    }
    ~CErrorManagerTest() override { CErrorManager::SetMode(false); }

    test::PinnedTextSettings settings;
    RecordingAlertPresenter presenter;
    ScopedAlertPresenter scope{presenter};
};

TEST_F(CErrorManagerTest, ErrorsAndInformationCarryTheirTexts)
{
    CErrorManager::RaiseError(166);
    CErrorManager::RaiseError(999);
    CErrorManager::RaiseInfo(166);
    CErrorManager::RaiseError(209, 3, 2);

    const auto& records = presenter.records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].kind, Kind::Error);
    EXPECT_EQ(records[0].alert.number, 166);
    EXPECT_EQ(records[0].alert.title, "[ERROR]");
    EXPECT_EQ(records[0].alert.message, "The month must be between 1 and 12.");
    EXPECT_EQ(records[0].alert.defaultButton, "[OK]");
    EXPECT_EQ(records[1].alert.message, "999");   // no text: the number
    EXPECT_EQ(records[2].kind, Kind::Info);
    EXPECT_EQ(records[2].alert.title, "[INFO]");
    EXPECT_EQ(records[3].alert.message, "The document uses 3 decimals, the application 2.");
}

TEST_F(CErrorManagerTest, TextArgumentsAreModelTextAndFormatsAreSafe)
{
    // Mac Roman 0x8A is a-umlaut.
    const unsigned char first[] = {5, 'K', 'a', 's', 's', 0x8A};
    LStr255 second("Bank");
    CErrorManager::RaiseError(261, first, second);
    // A translation with more placeholders than arguments must not crash.
    CErrorManager::RaiseError(144, first, nullptr);
    ASSERT_EQ(presenter.records().size(), 2u);
    EXPECT_EQ(presenter.records()[0].alert.message, "Delete Kass\u00E4 and its bookings in Bank?");
    EXPECT_EQ(presenter.records()[1].alert.message.rfind("Check Kass\u00E4 failed:", 0), 0u);
}

TEST_F(CErrorManagerTest, QuestionAnswers)
{
    struct Case {
        const char* defaultKey;
        const char* alternateKey;
        AlertAnswer answer;
        bool expected;
    } cases[] = {
        {"CANCEL", "OK", AlertAnswer::Alternate, true},
        {"CANCEL", "OK", AlertAnswer::Default, false},
        {"NO", "YES", AlertAnswer::Alternate, true},
        {"NO", "YES", AlertAnswer::Default, false},
        {"YES", "NO", AlertAnswer::Default, true},
        {"YES", "NO", AlertAnswer::Alternate, false},
    };
    for (const auto& c : cases) {
        const ButtonKey def(c.defaultKey), alt(c.alternateKey);
        presenter.scriptAnswer(c.answer);
        EXPECT_EQ(CErrorManager::AskQuestion(261, def, alt, "Cash", "Bank"), c.expected)
            << c.defaultKey << (c.answer == AlertAnswer::Default ? " default" : " alternate");
        presenter.scriptAnswer(c.answer);
        EXPECT_EQ(CErrorManager::AskQuestion(226, def, alt), c.expected)
            << c.defaultKey << (c.answer == AlertAnswer::Default ? " default" : " alternate");
    }

    presenter.clear();
    presenter.scriptAnswer(AlertAnswer::Alternate);
    EXPECT_TRUE(CErrorManager::AskQuestion(226));
    presenter.scriptAnswer(AlertAnswer::Default);
    EXPECT_FALSE(CErrorManager::AskQuestion(226));
    presenter.scriptAnswer(AlertAnswer::Alternate);
    EXPECT_TRUE(CErrorManager::AskQuestion(261, "Cash", "Bank"));

    const Alert& asked = presenter.records().back().alert;
    EXPECT_EQ(presenter.records().back().kind, Kind::Question);
    EXPECT_EQ(asked.title, "[QUESTION]");
    EXPECT_EQ(asked.message, "Delete Cash and its bookings in Bank?");
    EXPECT_EQ(asked.defaultButton, "[CANCEL]");
    EXPECT_EQ(asked.alternateButton, "[OK]");
}

TEST_F(CErrorManagerTest, BatchModeShowsNothingAndAnswersYes)
{
    CErrorManager::SetMode(true);
    EXPECT_TRUE(CErrorManager::GetMode());
    presenter.scriptAnswer(AlertAnswer::Default);
    EXPECT_TRUE(CErrorManager::AskQuestion(226));
    EXPECT_TRUE(CErrorManager::AskQuestion(261, "a", "b"));
    EXPECT_TRUE(CErrorManager::AskQuestion(226, ButtonKey("CANCEL"), ButtonKey("OK")));
    CErrorManager::RaiseError(166);
    CErrorManager::RaiseError(209, 3, 2);
    CErrorManager::RaiseInfo(166);
    EXPECT_TRUE(presenter.records().empty());
}

} // namespace
} // namespace ch
