#pragma once
// What the application does at launch and on the start-up choice: whether an
// untitled document or the last saved one opens, whether the start-up choice
// is offered, and what each of its answers does. The application around it
// (documents, panels, the desktop) is reached through ApplicationHost.

#include <filesystem>
#include <optional>
#include <string>

namespace ch {

class UserDefaults;

class ApplicationHost {
public:
    virtual ~ApplicationHost() = default;
    // Opens the document file at the path.
    virtual void openFile(const std::string& path) = 0;
    // Lets the user choose documents to open.
    virtual void openDocument() = 0;
    // Makes a new, untitled document (it shows the new-document assistant as
    // "GXShowNewDocumentAssistant" says).
    virtual void newDocument() = 0;
    // Shows a web page or a mail address with the desktop's application.
    virtual void openURL(const std::string& url) = 0;
    // Runs the start-up choice; its end comes back through sheetDidEnd.
    virtual void beginStartupChoice() = 0;
    // Ends the application.
    virtual void terminate() = 0;
};

// Codes with which the start-up choice ends.
enum class StartupChoice {
    NewDocument = 2,
    OpenRecent = 3,
    NewDocumentWithoutAssistant = 4,
    VisitCommunity = 5,
    LastOpenedDocument = 6,
    SelectExistingDocument = 7,
};

class GXApplicationDelegate {
public:
    // Registers the user defaults of every key the application reads.
    static void initialize(UserDefaults& defaults);

    // The import-definition folder, made on demand. Without a place for it
    // the user is told and the application ends (none is answered); when it
    // cannot be made the user is told and its path is still answered.
    static std::optional<std::filesystem::path> getApplicationSupportFolder(ApplicationHost& host);

    GXApplicationDelegate(ApplicationHost& host, UserDefaults& defaults);

    // The system hands over a document at launch: it is remembered, so that
    // no start-up choice follows, and opened.
    void application(const std::string& path);

    // Whether the application opens an untitled document by itself at launch:
    // exactly when the start-up choice is off.
    bool applicationShouldOpenUntitledFile() const;
    // In its place: reopens the last saved document when
    // "GXShowLastDocumentAtStartup" is on and there is one.
    bool applicationOpenUntitledFile();

    // Launch is over: the start-up choice begins when it is on and no
    // document was handed over.
    void applicationDidFinishLaunching();
    // The start-up choice ended with the code.
    void sheetDidEnd(int returnCode);

    // Opens the last saved document, emptying "GXLastSavedDocument" first so
    // that a document that fails to open is not tried again at the next
    // launch. False when there is none.
    bool openLastSavedFile();
    bool reopenLastSavedDocument();
    bool selectDocument();
    // A new document with the assistant; the assistant stays on for later ones.
    bool makeEmptyDocument();
    // A new document without the assistant; it stays off for later ones.
    bool makeEmptyDocumentWithoutAssistant();
    bool browseCommunity();

    bool documentWasOpened() const { return mDocumentWasOpened; }
    // The start-up choice is showing (the update check waits for it).
    bool welkomSchermIsOpen() const { return mWelkomSchermIsOpen; }

private:
    ApplicationHost& mHost;
    UserDefaults& mDefaults;
    bool mDocumentWasOpened = false;
    bool mWelkomSchermIsOpen = false;
};

} // namespace ch
