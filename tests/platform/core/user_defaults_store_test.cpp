#include "platform/core/user_defaults_store.h"

#include "platform/core/plist.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace ch {
namespace {

namespace fs = std::filesystem;

class UserDefaultsStoreTest : public testing::Test {
protected:
    void SetUp() override {
        mDir = fs::path(testing::TempDir()) / ("ch_defaults_store_" + std::to_string(getpid()));
        fs::remove_all(mDir);
    }
    void TearDown() override { fs::remove_all(mDir); }

    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path mDir;
};

// Sets or clears an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : mName(name) {
        if (const char* old = std::getenv(name))
            mOld = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { mOld ? ::setenv(mName, mOld->c_str(), 1) : ::unsetenv(mName); }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

TEST_F(UserDefaultsStoreTest, DefaultPathFollowsXdgConfigHome)
{
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(UserDefaultsStore::defaultPath(), fs::path("/xdg/config/countinghouse/preferences.plist"));
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(UserDefaultsStore::defaultPath(), fs::path("/home/tester/.config/countinghouse/preferences.plist"));
    }
}

TEST_F(UserDefaultsStoreTest, UserValuesRoundTripThroughAnXmlFile)
{
    const fs::path path = mDir / "countinghouse" / "preferences.plist";
    UserDefaults defaults;
    defaults.registerDefault("GXAutoSaveInterval", Value(5)); // registered: never written
    defaults.set("GXNumberOfDecimals", Value(3));
    defaults.set("GXAutoSave", Value(true));
    defaults.set("GXLastSavedDocument", Value("/home/tester/B\xC3\xBC" "cher.books"));
    defaults.set("GXCTableColumns", Value(Dictionary{{"accounts", Value(Dictionary{{"Name", Value(true)}})}}));
    defaults.set("GXSplitView Position main", Value(0.1));

    UserDefaultsStore store(path);
    std::string error;
    ASSERT_TRUE(store.save(defaults, &error)) << error;
    const std::string text = read(path);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_EQ(text.find("GXAutoSaveInterval"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";

    UserDefaults reread;
    EXPECT_EQ(UserDefaultsStore(path).load(reread), UserDefaultsStore::LoadOutcome::Loaded);
    EXPECT_EQ(Value(reread.userValues()), Value(defaults.userValues()));

    // Nothing changed since the save: nothing is written.
    fs::remove(path);
    ASSERT_TRUE(store.saveIfChanged(defaults));
    EXPECT_FALSE(fs::exists(path));
    defaults.set("GXAutoSave", Value(false));
    ASSERT_TRUE(store.saveIfChanged(defaults));
    EXPECT_TRUE(fs::exists(path));

    UserDefaults fresh;
    EXPECT_EQ(UserDefaultsStore(mDir / "none.plist").load(fresh), UserDefaultsStore::LoadOutcome::NoFile);
}

TEST_F(UserDefaultsStoreTest, DamagedFileIsSetAsideAndDefaultsApply)
{
    const fs::path path = mDir / "preferences.plist";
    const std::string damaged[] = {"<?xml version=\"1.0\"?><plist><dict><key>a</key>", // cut short
                                   writePlist(Value(Array{Value(1)}), PlistFormat::Xml).bytes}; // not a dictionary
    int round = 0;
    for (const std::string& bytes : damaged) {
        write(path, bytes);
        UserDefaults defaults;
        defaults.registerDefault("GXNumberOfDecimals", Value(2));
        defaults.set("GXNumberOfDecimals", Value(4));
        UserDefaultsStore store(path);
        EXPECT_EQ(store.load(defaults), UserDefaultsStore::LoadOutcome::SetAside);
        EXPECT_EQ(defaults.integerForKey("GXNumberOfDecimals"), 2);
        EXPECT_FALSE(fs::exists(path));
        // A second damaged file does not replace the first one set aside.
        const fs::path expected = ++round == 1 ? mDir / "preferences.plist.damaged" : mDir / "preferences.plist.damaged-2";
        EXPECT_EQ(store.setAsidePath(), expected);
        EXPECT_EQ(read(expected), bytes);
    }
}

TEST_F(UserDefaultsStoreTest, FailedWriteLeavesNoTraceAndSaysSo)
{
    // The target is a folder: the final rename fails after the data was written.
    const fs::path path = mDir / "preferences.plist";
    fs::create_directories(path / "inside");
    UserDefaults defaults;
    defaults.set("GXAutoSave", Value(true));
    std::string error;
    EXPECT_FALSE(UserDefaultsStore(path).save(defaults, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(path / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(mDir), fs::directory_iterator()), 1)
        << "the temporary file is removed";
}

} // namespace
} // namespace ch
