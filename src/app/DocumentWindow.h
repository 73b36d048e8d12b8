#pragma once
// DocumentWindow: the window of one open document. It owns the document (an
// OpenDocument) and, once the books may be shown, the frame with the side
// bar and pages, the business pages, and the "budg", "repo" and "Import"
// tabs. Before showBooks nothing of the books is on screen: a document whose
// file asks for a password stays out of sight until the password is
// accepted, and its delayed steps (the roll-forward offer) wait until then.
//
// The File menu and the close box are handed to the application as signals:
// the window never closes itself, the application asks first.
//
// Main thread only.

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

#include "app/OpenDocument.h"
#include "app/StatementImportMenu.h"
#include "document/DocumentFile.h"
#include "platform/core/observable.h"

class QAction;
class QMenu;

namespace ch {

class ContactsProvider;
class DocumentWindowFrame;

class DocumentWindow : public QObject {
    Q_OBJECT

public:
    DocumentWindow(Dispatcher& dispatcher, bool held, ContactsProvider* contacts = nullptr,
                   QObject* parent = nullptr);
    ~DocumentWindow() override;

    OpenDocument& books() { return *mBooks; }
    MyDocument& document() { return mBooks->document(); }
    // Null until the books are shown.
    DocumentWindowFrame* frame() const { return mFrame.get(); }

    // Builds the window over the books (once), lets the held delayed steps
    // run, and shows it.
    void showBooks();
    // File > Revert, once confirmed: the document's file is read again and
    // its books replace the document's. The window over the old books (its
    // pages, lists, outlines, sheets, import and business pages) is closed
    // before they go and built anew over the books read, with the size,
    // place, main tab, side-bar row and print settings it had (the row when
    // the books read still have it). When the file cannot be read, nothing
    // changes. Not from inside the window's own event handling: the window
    // it was called from is gone afterwards.
    FileOutcome revertToSaved();
    bool booksShown() const { return mFrame != nullptr; }
    void setTitle(const QString& name);
    void setEdited(bool edited);
    void setRecentFiles(const QStringList& paths);
    // The File menu's action of the name ("new", "open", "save", "saveAs",
    // "revert", "close", "quit", "checkForUpdates"); null before the books
    // are shown.
    QAction* fileAction(const QString& name) const;
    // The File menu's "Import" submenu; null before the books are shown.
    StatementImportMenu* importMenu() const { return mImportMenu; }
    // How the import items ask for a statement file (a file dialog unless set).
    void setStatementChooser(StatementImportMenu::FileChooser chooser);

signals:
    void newRequested();
    void openRequested();
    void openRecentRequested(const QString& path);
    void saveRequested();
    void saveAsRequested();
    void revertRequested();
    void closeRequested();
    // File > Quit (Ctrl+Q): the application is to end.
    void quitRequested();
    void updateCheckRequested();
    void aboutRequested();
    void preferencesRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFrame();
    // Closes the open sheets, then lets the frame go.
    void dropFrame();
    void buildFileMenu();
    void installPages();
    void updateTitle();

    std::unique_ptr<OpenDocument> mBooks;
    ContactsProvider* mContacts;
    std::unique_ptr<DocumentWindowFrame> mFrame;
    // The reports follow the accounting year the settings start.
    Subscription mPeriodsWatch;
    QMenu* mRecentMenu = nullptr;
    StatementImportMenu* mImportMenu = nullptr;
    StatementImportMenu::FileChooser mStatementChooser;
    QStringList mRecentFiles;
    QString mTitle;
    bool mEdited = false;
};

} // namespace ch
