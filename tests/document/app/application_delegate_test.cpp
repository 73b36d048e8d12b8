#include "document/app/GXApplicationDelegate.h"

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace ch {
namespace {

using Calls = std::vector<std::string>;

TEST(ApplicationDelegate, LaunchDecidesBetweenUntitledDocumentLastDocumentAndStartupChoice)
{
    struct Case {
        const char* name;
        bool showStartupChoice;
        bool showLastDocument;
        const char* lastSaved;
        const char* handedOver; // a document the system opened at launch, or nullptr
        bool opensUntitled;     // the application opens an untitled document itself
        Calls calls;
    };
    const Case cases[] = {
        {"choice on", true, true, "/b/house.books", nullptr, false, {"startup choice"}},
        {"choice on, document handed over", true, true, "/b/house.books", "/b/other.books", false,
         {"open /b/other.books"}},
        {"choice off, last document", false, true, "/b/house.books", nullptr, true, {"open /b/house.books"}},
        {"choice off, no last document", false, true, "", nullptr, true, {}},
        {"choice off, last document not wanted", false, false, "/b/house.books", nullptr, true, {}},
    };
    for (const Case& c : cases) {
        test::RegisteredDefaults d;
        d.defaults.set("GXShowStartupChoice", c.showStartupChoice);
        d.defaults.set("GXShowLastDocumentAtStartup", c.showLastDocument);
        d.defaults.set("GXLastSavedDocument", c.lastSaved);
        test::RecordingHost host;
        GXApplicationDelegate delegate(host, d.defaults);

        // The order of launch: documents handed over, the untitled question, then the end of launch.
        if (c.handedOver)
            delegate.application(c.handedOver);
        EXPECT_EQ(delegate.applicationShouldOpenUntitledFile(), c.opensUntitled) << c.name;
        if (delegate.applicationShouldOpenUntitledFile())
            delegate.applicationOpenUntitledFile();
        delegate.applicationDidFinishLaunching();

        EXPECT_EQ(host.calls, c.calls) << c.name;
        EXPECT_EQ(delegate.welkomSchermIsOpen(), c.calls == Calls{"startup choice"}) << c.name;
    }
}

TEST(ApplicationDelegate, EachStartupChoiceCodeDoesItsAction)
{
    struct Case {
        int code;
        Calls calls;
        bool assistantAfterwards;
        const char* lastSavedAfterwards;
    };
    const Case cases[] = {
        {2, {"new"}, true, "/b/house.books"},
        {3, {"open /b/house.books"}, false, ""},
        {4, {"new"}, false, "/b/house.books"},
        {5, {"url https://countinghouse.example/community"}, false, "/b/house.books"},
        {6, {"open /b/house.books"}, false, ""},
        {7, {"open panel"}, false, "/b/house.books"},
        {1, {}, false, "/b/house.books"},
        {8, {}, false, "/b/house.books"},
        {-1, {}, false, "/b/house.books"},
    };
    for (const Case& c : cases) {
        test::RegisteredDefaults d;
        d.defaults.set("GXLastSavedDocument", "/b/house.books");
        d.defaults.set("GXShowNewDocumentAssistant", false); // as a former choice left it
        test::RecordingHost host;
        GXApplicationDelegate delegate(host, d.defaults);
        delegate.applicationDidFinishLaunching();
        host.calls.clear();

        delegate.sheetDidEnd(c.code);
        EXPECT_FALSE(delegate.welkomSchermIsOpen()) << c.code;
        EXPECT_EQ(host.calls, c.calls) << c.code;
        EXPECT_EQ(d.defaults.boolForKey("GXShowNewDocumentAssistant"), c.assistantAfterwards) << c.code;
        EXPECT_EQ(d.defaults.stringForKey("GXLastSavedDocument"), c.lastSavedAfterwards) << c.code;
    }
}

TEST(ApplicationDelegate, TheLastSavedDocumentIsForgottenBeforeItOpens)
{
    test::RegisteredDefaults d;
    d.defaults.set("GXLastSavedDocument", "/b/gone.books");
    // A host whose opening fails and ends the process: the key must be empty by then.
    struct CheckingHost : test::RecordingHost {
        UserDefaults* defaults = nullptr;
        std::string keyWhileOpening = "unset";
        void openFile(const std::string& path) override
        {
            keyWhileOpening = defaults->stringForKey("GXLastSavedDocument");
            RecordingHost::openFile(path);
        }
    } host;
    host.defaults = &d.defaults;
    GXApplicationDelegate delegate(host, d.defaults);

    EXPECT_TRUE(delegate.openLastSavedFile());
    EXPECT_EQ(host.keyWhileOpening, "");
    EXPECT_EQ(host.calls, Calls{"open /b/gone.books"});
    // Nothing left to reopen; the reopen command still answers yes.
    EXPECT_FALSE(delegate.openLastSavedFile());
    EXPECT_TRUE(delegate.reopenLastSavedDocument());
    EXPECT_EQ(host.calls.size(), 1u);
}

TEST(ApplicationDelegate, ANewDocumentWithoutAssistantKeepsItOffUntilChosenWithAgain)
{
    test::RegisteredDefaults d;
    test::RecordingHost host;
    GXApplicationDelegate delegate(host, d.defaults);
    EXPECT_TRUE(d.defaults.boolForKey("GXShowNewDocumentAssistant"));
    delegate.makeEmptyDocumentWithoutAssistant();
    EXPECT_FALSE(d.defaults.boolForKey("GXShowNewDocumentAssistant"));
    // Stored as the user's own value, so it lasts beyond this run.
    EXPECT_EQ(d.defaults.userValues()["GXShowNewDocumentAssistant"], Value(false));
    delegate.makeEmptyDocument();
    EXPECT_TRUE(d.defaults.boolForKey("GXShowNewDocumentAssistant"));
    EXPECT_EQ(host.calls, (Calls{"new", "new"}));
}

} // namespace
} // namespace ch
