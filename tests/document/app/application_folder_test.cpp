#include "document/app/ApplicationSupportFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app_test_support.h"
#include "document/app/ImportDefinitionMenu.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"

namespace ch {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder()
    {
        mPath = fs::temp_directory_path() / ("countinghouse-app-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(counter()++));
        fs::create_directories(mPath);
    }
    ~TempFolder() { fs::remove_all(mPath); }
    const fs::path& path() const { return mPath; }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    fs::path mPath;
};

// Sets an environment variable for the scope and restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { mOld ? ::setenv(mName, mOld->c_str(), 1) : ::unsetenv(mName); }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

TEST(ApplicationSupportFolder, BaseFromTheEnvironment)
{
    struct Case {
        const char* xdgDataHome;
        const char* home;
        std::optional<fs::path> expected;
    };
    const Case cases[] = {
        {"/data", "/home/ann", fs::path("/data/countinghouse")},
        {"", "/home/ann", fs::path("/home/ann/.local/share/countinghouse")},
        {"relative/data", "/home/ann", fs::path("/home/ann/.local/share/countinghouse")},
        {"/data", "", fs::path("/data/countinghouse")},
        {"", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(applicationSupportBase(c.xdgDataHome, c.home), c.expected) << c.xdgDataHome << "|" << c.home;
}

TEST(ApplicationSupportFolder, TheImportDefinitionFolderIsMadeOnDemand)
{
    TempFolder temp;
    test::RegisteredDefaults d;
    test::RecordingHost host;
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scopedAlerts(alerts);

    {
        ScopedEnv xdg("XDG_DATA_HOME", temp.path().c_str());
        const auto folder = GXApplicationDelegate::getApplicationSupportFolder(host);
        ASSERT_TRUE(folder);
        EXPECT_EQ(*folder, temp.path() / "countinghouse" / "IOFile Descriptors");
        EXPECT_TRUE(fs::is_directory(*folder));
        // Asking again finds it.
        EXPECT_EQ(GXApplicationDelegate::getApplicationSupportFolder(host), folder);
        EXPECT_TRUE(alerts.records().empty());
    }
    {
        // A file where the folder should be: the user is told, the path still answered.
        std::ofstream(temp.path() / "blocked") << "x";
        ScopedEnv xdg("XDG_DATA_HOME", (temp.path() / "blocked").c_str());
        const auto folder = GXApplicationDelegate::getApplicationSupportFolder(host);
        ASSERT_TRUE(folder);
        EXPECT_EQ(*folder, temp.path() / "blocked" / "countinghouse" / "IOFile Descriptors");
        ASSERT_EQ(alerts.records().size(), 1u);
        EXPECT_NE(alerts.records()[0].alert.message.find("IOFile Descriptors"), std::string::npos);
    }
    EXPECT_TRUE(host.calls.empty());
    {
        // No place at all: the user is told and the application ends.
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        alerts.clear();
        EXPECT_FALSE(GXApplicationDelegate::getApplicationSupportFolder(host));
        ASSERT_EQ(alerts.records().size(), 1u);
        EXPECT_EQ(alerts.records()[0].alert.title, localized("Alert"));
        EXPECT_EQ(alerts.records()[0].alert.defaultButton, localized("Quit"));
        EXPECT_EQ(host.calls, std::vector<std::string>{"terminate"});
    }
}

TEST(ImportDefinitionMenu, ListsEntriesNamedWithPlistInAnyCaseByNameThenTheAssistant)
{
    TempFolder temp;
    for (const char* name : {"Bank.PLIST", "notes.txt", "card.plist", "old.plist.bak", "plist"})
        std::ofstream(temp.path() / name) << "x";
    fs::create_directory(temp.path() / "folder.plist");

    EXPECT_EQ(listImportDefinitions(temp.path()),
              (std::vector<std::string>{"Bank.PLIST", "card.plist", "folder.plist", "old.plist.bak"}));

    const auto items = importDefinitionMenuItems(temp.path());
    ASSERT_EQ(items.size(), 5u);
    // Titled by name, each keeping its file.
    const std::pair<std::string, std::string> titles[] = {
        {"Bank", "Bank.PLIST"}, {"card", "card.plist"}, {"folder", "folder.plist"}, {"old.plist.bak", "old.plist.bak"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i].title, titles[i].first);
        EXPECT_EQ(items[i].fileName, titles[i].second);
        EXPECT_EQ(items[i].action, ImportDefinitionMenuItem::Action::ImportWithFileDesc);
    }
    EXPECT_EQ(items[4].title, localized("DEFINEIMPORTFILE"));
    EXPECT_EQ(items[4].action, ImportDefinitionMenuItem::Action::ShowImportFileDefinitionAssistant);

    // A folder that cannot be read lists only the assistant.
    const auto none = importDefinitionMenuItems(temp.path() / "missing");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].action, ImportDefinitionMenuItem::Action::ShowImportFileDefinitionAssistant);
}

} // namespace
} // namespace ch
