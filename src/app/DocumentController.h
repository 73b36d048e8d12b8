#pragma once
// DocumentController: the open documents of the application and what a
// desktop user does with them. New (untitled, numbered "Untitled",
// "Untitled 2", ...; with the new-document assistant when the defaults ask
// for it), Open (one window per file: a file already open comes forward),
// Open Recent, Save, Save As, Revert, and Close, which asks "save changes?"
// (Save, Don't Save, Cancel) when the document holds unsaved changes.
//
// Opening a file whose books ask for a password shows the password question
// alone: the window, its pages, the background timers and the roll-forward
// offer come only after the right password; Cancel closes the document
// without a word. Each shown document gets its background work (rate and
// price refresh, autosave) on the event loop; it is stopped, and its
// workers joined, before the document goes.
//
// The file choosers are replaceable (tests answer them); the questions are
// window-modal message boxes named "saveChangesQuestion" and
// "revertQuestion", the password question "askPassword".
//
// Main thread only.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/NewDocumentAssistantDialog.h"
#include "app/PasswordQuestion.h"
#include "app/StatementImportMenu.h"
#include "ui/DocumentHost.h"

class QWidget;

namespace ch {

class ContactsProvider;
class Dispatcher;
class DocumentBackgroundWork;
class DocumentWindow;
class HeldAlerts;
class QuoteService;
class UserDefaults;

class DocumentController : public QObject, public DocumentHost {
    Q_OBJECT

public:
    // Asks for a path: to open (save false) or to save under (save true);
    // none when the user cancelled.
    using FileChooser = std::function<std::optional<QString>(QWidget* parent, bool save, const QString& suggested)>;

    DocumentController(UserDefaults& defaults, Dispatcher& dispatcher, QuoteService* quotes = nullptr,
                       ContactsProvider* contacts = nullptr, QObject* parent = nullptr);
    ~DocumentController() override;

    void setFileChooser(FileChooser chooser) { mChooser = std::move(chooser); }
    // Where windows shown from now on fetch quotes and rates (not owned).
    void setQuoteService(QuoteService* quotes) { mQuotes = quotes; }
    // How every window's import items ask for a statement file.
    void setStatementChooser(StatementImportMenu::FileChooser chooser);
    // The folder of untitled documents' journals (the home folder unless set).
    void setUntitledJournalFolder(std::string folder) { mUntitledJournalFolder = std::move(folder); }

    // --- DocumentHost
    void newDocument() override;
    bool openDocumentFile(const std::string& path) override;
    bool hasOpenDocuments() const override { return !mWindows.empty(); }

    // A new document with or without the assistant.
    DocumentWindow& makeNewDocument(bool withAssistant);
    // Lets the user choose documents to open.
    void openDocument(QWidget* parent = nullptr);
    // Whether the document was saved (false when cancelled or failed).
    bool save(DocumentWindow& window);
    bool saveAs(DocumentWindow& window);
    void revert(DocumentWindow& window);
    // Closes the window, asking first when it holds unsaved changes; the
    // answer may come later (the question is window-modal).
    void close(DocumentWindow& window);
    // Closes without asking.
    void discard(DocumentWindow& window);
    // Closes every window one after the other, asking as close does for
    // each that holds unsaved changes; then announces quitAccepted. Cancel
    // in any question, or a save that fails, ends quitting with the
    // remaining windows open.
    void quit();

    const std::vector<std::unique_ptr<DocumentWindow>>& windows() const { return mWindows; }
    DocumentWindow* windowForFile(const std::string& path) const;
    QStringList recentFiles() const;
    // The question or assistant open now (null when none).
    QMessageBox* openQuestion() const { return mQuestion; }
    PasswordQuestion* passwordQuestion() const { return mPassword; }
    NewDocumentAssistantDialog* assistant() const { return mAssistant; }

signals:
    // A window opened or closed.
    void documentsChanged();
    // A window's menu asked for the update check.
    void updateCheckRequested();
    // A window's menu asked for the About window.
    void aboutRequested();
    // Quitting closed every window: the application may end.
    void quitAccepted();
    // A window's Edit menu asked for the preferences window.
    void preferencesRequested();

private:
    DocumentWindow& addWindow(bool held);
    void wire(DocumentWindow& window);
    // Shows the books, then starts what waits for them.
    void showBooks(DocumentWindow& window);
    // What was held while the window's books were read, told on its window.
    void tellOnWindow(DocumentWindow& window, HeldAlerts& held);
    void showAssistant(DocumentWindow& window);
    void remove(DocumentWindow& window);
    // While quitting: closes the next window, or announces the end.
    void closeNextForQuit();
    void noteRecent(const std::string& path);
    void refreshTitles();
    QString untitledName();
    std::optional<QString> choose(QWidget* parent, bool save, const QString& suggested);

    UserDefaults& mDefaults;
    Dispatcher& mDispatcher;
    QuoteService* mQuotes;
    ContactsProvider* mContacts;
    FileChooser mChooser;
    StatementImportMenu::FileChooser mStatementChooser;
    std::string mUntitledJournalFolder;
    std::vector<std::unique_ptr<DocumentWindow>> mWindows;
    std::map<DocumentWindow*, std::unique_ptr<DocumentBackgroundWork>> mBackground;
    std::map<DocumentWindow*, QString> mUntitledNames;
    int mUntitledCount = 0;
    bool mQuitting = false;
    QTimer mEditedTimer;
    QPointer<QMessageBox> mQuestion;
    QPointer<PasswordQuestion> mPassword;
    QPointer<NewDocumentAssistantDialog> mAssistant;
};

} // namespace ch
