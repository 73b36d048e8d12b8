#include "app/DocumentWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "platform/gui/localized_text.h"
#include "ui/pages/CBudgetPageController.h"
#include "analysis/views/CReportingController.h"
#include "bridge/CPrfRItem.h"
#include "business/views/InstallBusinessPages.h"
#include "document/MyDocument.h"
#include "import/views/ImportPage.h"
#include "import/views/ImportRecord.h"
#include "ui/CommandRouting.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/HelpMenu.h"
#include "ui/SideBarRowPath.h"
#include "ui/sheets/AccountSheetLogic.h"

namespace ch {

DocumentWindow::DocumentWindow(Dispatcher& dispatcher, bool held, ContactsProvider* contacts, QObject* parent)
    : QObject(parent), mBooks(std::make_unique<OpenDocument>(dispatcher, held)), mContacts(contacts)
{
    // Owners linked to people of the desktop's contacts read them from here.
    mBooks->document().setContacts(contacts);
}

DocumentWindow::~DocumentWindow()
{
    // The pages refer to the books: the window goes first.
    mBooks->setWindow(nullptr);
    mFrame.reset();
}

void DocumentWindow::showBooks()
{
    if (!mFrame) {
        buildFrame();
        mFrame->resize(1200, 780);
    }
    mBooks->dispatcher().release();
    mFrame->show();
    mFrame->raise();
    mFrame->activateWindow();
}

void DocumentWindow::buildFrame()
{
    mFrame = std::make_unique<DocumentWindowFrame>(*mBooks);
    mFrame->installEventFilter(this);
    mBooks->setWindow(mFrame.get());
    installPages();
    buildFileMenu();
    updateTitle();
}

void DocumentWindow::dropFrame()
{
    // Closed as Cancel closes them, while what they show still exists.
    for (QDialog* sheet : mFrame->findChildren<QDialog*>())
        if (sheet->isVisible()) sheet->reject();
    mPeriodsWatch = {};
    mBooks->setWindow(nullptr);
    mBooks->setImportLineSource(nullptr);
    mRecentMenu = nullptr;
    mImportMenu = nullptr;
    mFrame.reset();
}

FileOutcome DocumentWindow::revertToSaved()
{
    if (!mFrame) return revertDocumentToSaved(document());
    QRect geometry;
    Qt::WindowStates state;
    std::string tab;
    std::vector<std::string> sideBarRow;
    QPageLayout pageLayout;
    bool shown = false;
    RevertSteps steps;
    steps.beforeBooksGo = [&] {
        geometry = mFrame->normalGeometry();
        state = mFrame->windowState();
        tab = mFrame->currentMainTab();
        sideBarRow = selectedRowPath(mFrame->sideBarController());
        pageLayout = mFrame->pageLayout();
        shown = mFrame->isVisible();
        dropFrame();
    };
    steps.booksCame = [&] {
        mEdited = document().isDocumentEdited();
        buildFrame();
        // Where the window's contents were, whatever frame the desktop draws.
        mFrame->setGeometry(geometry);
        mFrame->setWindowState(state);
        mFrame->setPageLayout(pageLayout);
        mFrame->showMainTab(tab);
        // After the frame's own first choice of page, which is also posted.
        QTimer::singleShot(0, mFrame.get(), [frame = mFrame.get(), sideBarRow] {
            selectRowPath(frame->sideBarController(), sideBarRow);
        });
        if (!shown) return;
        mFrame->show();
        mFrame->raise();
        mFrame->activateWindow();
    };
    const FileOutcome outcome = revertDocumentToSaved(document(), steps);
    setEdited(document().isDocumentEdited());
    return outcome;
}

void DocumentWindow::installPages()
{
    MyDocument& document = mBooks->document();
    business::installBusinessPages(mFrame->sideBarController(), document, mContacts);

    auto* reports = new CReportingController;
    reports->setDocument(document.accounting());
    // One set of print settings per document: Page Setup's choice reaches
    // the reports, and a choice made in the print dialog stays for the next.
    reports->setPrintSettings(mFrame->pageLayout());
    QObject::connect(mFrame.get(), &DocumentWindowFrame::pageLayoutChanged, reports,
                     &CReportingController::setPrintSettings);
    QObject::connect(reports, &CReportingController::printSettingsChanged, mFrame.get(),
                     &DocumentWindowFrame::setPageLayout);
    mFrame->setMainTab("repo", reports);
    if (const std::shared_ptr<CPrfRItem> settings = document.mPreference())
        mPeriodsWatch = settings->observe("mCurrentPeriodStart", [reports = QPointer<CReportingController>(reports)](
                                                                     Observable&, const std::string&) {
            if (reports) reports->periodsChanged();
        });

    auto* budgets = new CBudgetPageController;
    budgets->setParentDocument(&document);
    // The budgets read from the file are in the page's menus from the start.
    budgets->setContent();
    mFrame->setMainTab("budg", budgets);
    // While it is shown, the page answers for Books > New….
    CommandRouter& router = mFrame->router();
    router.setBudgetValidation([page = QPointer<CBudgetPageController>(budgets)](int tag) {
        return page ? page->validateMenuItem(tag) : std::nullopt;
    });
    router.setBudgetCommands([page = QPointer<CBudgetPageController>(budgets)](int tag) {
        if (page) page->executeMenuCommand(tag);
    });

    auto* import = new ImportPage(document);
    // A line's counterpart becomes an account, a category or an owner
    // through the usual sheets, preset from the line; what the sheet makes
    // completes the line ("IMPORTRECORD").
    import->setNewAccountHandler([this](const std::shared_ptr<CImpTItem>& line, const AccountFromLine& values) {
        SheetParameters parameters;
        if (values.bankAccountNumber) parameters.set(sheet_key::kBankAccountNr, *values.bankAccountNumber);
        if (values.name) parameters.set(sheet_key::kName, *values.name);
        if (values.ownerId) parameters.set(sheet_key::kOwnerId, static_cast<long>(*values.ownerId));
        if (values.currencyId) parameters.set(sheet_key::kCurrencyId, static_cast<long>(values.currencyId));
        if (line) {
            auto record = std::make_shared<ImportRecord>(line);
            parameters.set(sheet_key::kImportRecord, std::shared_ptr<ImportLine>(record));
            parameters.set(sheet_key::kCallbackObject, static_cast<CallbackReceiver*>(record.get()));
            parameters.set(sheet_key::kCallbackSelectorName, std::string("setMOtherAccountId:"));
        }
        mBooks->openAccountSheet(std::move(parameters));
    });
    import->setNewCategoryHandler([this](const std::shared_ptr<CImpTItem>& line, const AccountFromLine& values) {
        SheetParameters parameters;
        if (values.name) parameters.set(sheet_key::kName, *values.name);
        if (line)
            parameters.set(sheet_key::kImportRecord, std::shared_ptr<ImportLine>(std::make_shared<ImportRecord>(line)));
        mBooks->openCategorySheet(std::move(parameters));
    });
    import->setNewOwnerHandler([this] { mBooks->newAccountOwner(OpenDocument::kImportPageSender); });
    mBooks->setImportLineSource([page = QPointer<ImportPage>(import)]() -> std::shared_ptr<CImpTItem> {
        return page ? page->currentImportedTransaction() : nullptr;
    });
    mFrame->setMainTab("Import", import);
}

void DocumentWindow::buildFileMenu()
{
    QMenuBar* bar = mFrame->menuBar();
    auto* file = new QMenu(localizedText("FILEMENU"), bar);
    file->setObjectName("FILEMENU");
    bar->insertMenu(bar->actions().isEmpty() ? nullptr : bar->actions().first(), file);

    auto add = [&](const char* name, const char* key, QKeySequence::StandardKey shortcut, void (DocumentWindow::*signal)()) {
        QAction* action = file->addAction(localizedText(key));
        action->setObjectName(QString::fromLatin1(name));
        if (shortcut != QKeySequence::UnknownKey) action->setShortcuts(shortcut);
        connect(action, &QAction::triggered, this, [this, signal] { emit(this->*signal)(); });
        return action;
    };
    add("new", "NEWDOCUMENTMENUITEM", QKeySequence::New, &DocumentWindow::newRequested);
    add("open", "OPENDOCUMENTMENUITEM", QKeySequence::Open, &DocumentWindow::openRequested);
    mRecentMenu = file->addMenu(localizedText("OPENRECENTMENUITEM"));
    mRecentMenu->setObjectName("openRecent");
    file->addSeparator();
    add("close", "CLOSEDOCUMENTMENUITEM", QKeySequence::Close, &DocumentWindow::closeRequested);
    add("save", "SAVEDOCUMENTMENUITEM", QKeySequence::Save, &DocumentWindow::saveRequested);
    add("saveAs", "SAVEASDOCUMENTMENUITEM", QKeySequence::SaveAs, &DocumentWindow::saveAsRequested);
    add("revert", "REVERTDOCUMENTMENUITEM", QKeySequence::UnknownKey, &DocumentWindow::revertRequested);
    file->addSeparator();
    QAction* pageSetup = file->addAction(localizedText("PAGESETUPMENUITEM"));
    pageSetup->setObjectName("pageSetup");
    connect(pageSetup, &QAction::triggered, mFrame.get(), &DocumentWindowFrame::runPageLayout);
    mImportMenu = new StatementImportMenu(mBooks->document(), *mFrame, *file);
    mImportMenu->setFileChooser(mStatementChooser);
    // Export goes the way of the window's commands: enabled and aimed by the
    // page shown.
    CommandRouter& router = mFrame->router();
    QAction* exportItem = makeCommandAction(file, localizedText("EXPORTMENUITEM"), 1236, "exportTransactions:");
    exportItem->setObjectName("exportTransactions");
    file->addAction(exportItem);
    connect(exportItem, &QAction::triggered, &router, [&router, exportItem] { router.trigger(*exportItem); });
    connect(file, &QMenu::aboutToShow, &router, [&router, exportItem] { router.validateAction(*exportItem); });
    file->addSeparator();
    QAction* quit = add("quit", "QUITMENUITEM", QKeySequence::UnknownKey, &DocumentWindow::quitRequested);
    // Not every desktop's key theme binds the standard Quit key: Ctrl+Q always.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setMenuRole(QAction::QuitRole);
    setRecentFiles(mRecentFiles);

    // Edit > Preferences…, the Linux place of the application's settings.
    QMenu* edit = bar->findChild<QMenu*>("EDITMENU");
    if (!edit) {
        edit = bar->addMenu(localizedText("EDITMENU"));
        edit->setObjectName("EDITMENU");
    }
    edit->addSeparator();
    QAction* preferences = edit->addAction(localizedText("PREFERENCESMENUITEM"));
    preferences->setObjectName("preferences");
    preferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    preferences->setMenuRole(QAction::PreferencesRole);
    connect(preferences, &QAction::triggered, this, &DocumentWindow::preferencesRequested);

    auto* help = bar->addMenu(localizedText("HELPMENU"));
    help->setObjectName("HELPMENU");
    addHelpBookAction(help);
    QAction* about = help->addAction(localizedText("ABOUTMENU"));
    about->setObjectName("doSplash");
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &DocumentWindow::aboutRequested);
    QAction* updates = help->addAction(localizedText("UPDATECHECKMENUITEM"));
    updates->setObjectName("checkForUpdates");
    connect(updates, &QAction::triggered, this, &DocumentWindow::updateCheckRequested);
}

QAction* DocumentWindow::fileAction(const QString& name) const
{
    if (!mFrame) return nullptr;
    for (QAction* action : mFrame->findChildren<QAction*>(name))
        if (action->objectName() == name) return action;
    return nullptr;
}

void DocumentWindow::setStatementChooser(StatementImportMenu::FileChooser chooser)
{
    mStatementChooser = std::move(chooser);
    if (mImportMenu) mImportMenu->setFileChooser(mStatementChooser);
}

void DocumentWindow::setRecentFiles(const QStringList& paths)
{
    mRecentFiles = paths;
    if (!mRecentMenu) return;
    mRecentMenu->clear();
    for (const QString& path : paths) {
        QAction* action = mRecentMenu->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { emit openRecentRequested(path); });
    }
    mRecentMenu->setEnabled(!paths.isEmpty());
}

void DocumentWindow::setTitle(const QString& name)
{
    mTitle = name;
    updateTitle();
}

void DocumentWindow::setEdited(bool edited)
{
    mEdited = edited;
    if (mFrame) mFrame->setWindowModified(edited);
}

void DocumentWindow::updateTitle()
{
    if (!mFrame) return;
    mFrame->setWindowTitle(mTitle + QStringLiteral("[*] \u2014 Countinghouse"));
    mFrame->setWindowModified(mEdited);
    const QString path = QString::fromStdString(mBooks->document().fileName());
    mFrame->setWindowFilePath(path);
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mFrame.get() && event->type() == QEvent::Close) {
        // The application decides: it may ask to save first.
        event->ignore();
        emit closeRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ch
