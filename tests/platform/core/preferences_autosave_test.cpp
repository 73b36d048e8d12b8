#include "platform/core/preferences_autosave.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "platform/core/dispatcher.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_store.h"

namespace ch {
namespace {

namespace fs = std::filesystem;

class PreferencesAutosaveTest : public testing::Test {
protected:
    PreferencesAutosaveTest()
        : mDir(fs::path(testing::TempDir()) / ("ch_preferences_autosave_" + std::to_string(getpid()))),
          mStore(mDir / "preferences.plist")
    {
        fs::remove_all(mDir);
    }
    ~PreferencesAutosaveTest() override { fs::remove_all(mDir); }

    // What a program started after a kill reads back.
    Value readBack(const std::string& key)
    {
        UserDefaults after;
        UserDefaultsStore store(mStore.path());
        store.load(after);
        return after.object(key);
    }

    fs::path mDir;
    UserDefaultsStore mStore;
    UserDefaults mDefaults;
    ManualDispatcher mDispatcher;
};

// A preference set and then the program killed: the file holds it. A burst
// of changes is written once, a moment after its first change.
TEST_F(PreferencesAutosaveTest, PreferencesChangedAreWrittenSoonAfterOnceForABurst)
{
    PreferencesAutosave autosave(mDefaults, mStore, mDispatcher, std::chrono::milliseconds(300));
    mDefaults.set("VATPeriodLength", Value(3));
    mDefaults.set("GXShowNewDocumentAssistant", Value(false));
    mDispatcher.advance(std::chrono::milliseconds(200));
    mDefaults.set("GXLastSavedDocument", Value(std::string("/home/me/Books.books")));
    EXPECT_FALSE(fs::exists(mStore.path()));
    mDispatcher.advance(std::chrono::milliseconds(100));
    ASSERT_TRUE(fs::exists(mStore.path()));
    EXPECT_EQ(readBack("VATPeriodLength").toInt(), 3);
    EXPECT_FALSE(readBack("GXShowNewDocumentAssistant").toBool());
    EXPECT_EQ(readBack("GXLastSavedDocument").toString(), "/home/me/Books.books");

    // Nothing changed since: nothing more is written.
    fs::remove(mStore.path());
    mDispatcher.advance(std::chrono::seconds(5));
    EXPECT_FALSE(fs::exists(mStore.path()));

    // A change made on another thread is written on the main thread.
    std::thread worker([&] { mDefaults.set("GXStyle", Value(2)); });
    worker.join();
    mDispatcher.advance(std::chrono::milliseconds(300));
    EXPECT_EQ(readBack("GXStyle").toInt(), 2);
}

} // namespace
} // namespace ch
