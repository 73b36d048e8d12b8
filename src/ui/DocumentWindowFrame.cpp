#include "ui/DocumentWindowFrame.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QTimer>

#include "platform/core/four_char_code.h"
#include "ui/CSideBarController.h"
#include "ui/pages/ReadSidePages.h"
#include "ui/CommandRouting.h"
#include "ui/CommandValidationTrigger.h"
#include "ui/MainMenus.h"
#include "ui/MainTabPlaceholder.h"
#include "ui/MainToolbar.h"
#include "ui/NamedIcons.h"
#include "ui/V2SplitLayout.h"
#include "ui/WindowDocument.h"

namespace ch {

namespace {

// The toolbar item that stands for each main tab.
std::string toolbarItemOfTab(const std::string& identifier)
{
    if (identifier == "V2") return "main";
    if (identifier == "budg") return "budgets";
    if (identifier == "repo") return "reports";
    if (identifier == "Import") return "import";
    return {};
}

} // namespace

DocumentWindowFrame::DocumentWindowFrame(WindowDocument& document, QWidget* parent)
    : QMainWindow(parent), mDocument(document), mIcons(std::make_unique<IconLibrary>()),
      mSideBar(std::make_unique<CSideBarController>(document)),
      mRouter(std::make_unique<CommandRouter>(*mSideBar)),
      mPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(72, 90, 72, 90), QPageLayout::Point)
{
    setObjectName("MORVIKWindow");
    setUnifiedTitleAndToolBarOnMac(true);
    installReadSidePages(*mSideBar);
    mSideBar->makeTreeRoot();

    mToolbar = new MainToolbar(*mRouter, this);
    addToolBar(Qt::TopToolBarArea, mToolbar);
    mMenuActions = buildCommandMenus(*menuBar(), *mRouter);
    if (auto* view = menuBar()->findChild<QMenu*>("VIEWMENU")) {
        view->addSeparator();
        view->addAction(mToolbar->customizeAction());
    }

    mMainTab = new QStackedWidget(this);
    mMainTab->setObjectName("mMainTab");
    mV2 = new V2SplitLayout(*mSideBar, *mIcons);
    mV2->setSearchField(mToolbar->searchField());
    setMainTab("V2", mV2);
    setMainTab("budg", makeMainTabPlaceholder("BUDGETBUTTON", "budget"));
    setMainTab("repo", makeMainTabPlaceholder("REPORTBUTTON", "reports"));
    setMainTab("Import", makeMainTabPlaceholder("IMPORTBUTTON", "fileimport"));
    setCentralWidget(mMainTab);
    showMainTab("V2");

    connect(mRouter.get(), &CommandRouter::mainTabRequested, this,
            [this](const QString& identifier) { showMainTab(identifier.toStdString()); });
    connect(mRouter.get(), &CommandRouter::pageLayoutRequested, this, &DocumentWindowFrame::runPageLayout);
    connect(mRouter.get(), &CommandRouter::findRequested, this, [this] {
        QLineEdit* field = mToolbar->searchField();
        if (!field || !field->isVisible()) return;
        field->setFocus(Qt::ShortcutFocusReason);
        field->selectAll();
    });
    connect(mToolbar, &MainToolbar::searchRequested, this,
            [this](const QString& text) { mSideBar->searchContents(text.toStdString()); });
    // The menus' items are validated too, not only when a menu opens: their
    // keys (Delete, Ctrl+C, ...) fire only while the item is enabled.
    mValidation = std::make_unique<CommandValidationTrigger>(*this, [this] { validateCommands(); });
    connect(mSideBar.get(), &CSideBarController::validationNeeded, this, [this] { validateCommands(); });
    connect(mSideBar.get(), &CSideBarController::currentPageChanged, this, [this] { validateCommands(); });

    // Every window opens on the transactions page.
    QTimer::singleShot(0, this, [this] { mSideBar->selectNodeWithType(fourCC("TrnS"), 2); });
    validateCommands();
}

DocumentWindowFrame::~DocumentWindowFrame()
{
    mValidation.reset();
    // The widgets refer to the controller and the router: they go first.
    delete mMainTab;
    delete mToolbar;
    menuBar()->clear();
    mMenuActions.clear();
}

void DocumentWindowFrame::setMainTab(const std::string& identifier, QWidget* page)
{
    if (!page) return;
    page->setProperty("identifier", QString::fromStdString(identifier));
    if (QWidget* old = mainTab(identifier); old && old != page) {
        const int index = mMainTab->indexOf(old);
        mMainTab->insertWidget(index, page);
        const bool wasShown = mMainTab->currentWidget() == old;
        mMainTab->removeWidget(old);
        old->deleteLater();
        if (wasShown) mMainTab->setCurrentWidget(page);
    } else if (!old) {
        mMainTab->addWidget(page);
    }
    mMainTabs[identifier] = page;
}

QWidget* DocumentWindowFrame::mainTab(const std::string& identifier) const
{
    const auto found = mMainTabs.find(identifier);
    return found == mMainTabs.end() ? nullptr : found->second;
}

void DocumentWindowFrame::showMainTab(const std::string& identifier)
{
    QWidget* page = mainTab(identifier);
    if (!page) return;
    mMainTab->setCurrentWidget(page);
    mRouter->setMainTab(identifier);
    mToolbar->selectItem(toolbarItemOfTab(identifier));
    validateCommands();
}

std::string DocumentWindowFrame::currentMainTab() const
{
    return mRouter->mainTab();
}

void DocumentWindowFrame::runPageLayout()
{
    if (!mPrinter) mPrinter = std::make_unique<QPrinter>();
    mPrinter->setPageLayout(mPageLayout);
    auto* dialog = new QPageSetupDialog(mPrinter.get(), this);
    dialog->setObjectName(QStringLiteral("pageSetupDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { setPageLayout(mPrinter->pageLayout()); });
    dialog->open();
}

void DocumentWindowFrame::setPageLayout(const QPageLayout& layout)
{
    if (layout.isEquivalentTo(mPageLayout) && layout.units() == mPageLayout.units()) return;
    mPageLayout = layout;
    emit pageLayoutChanged(mPageLayout);
}

void DocumentWindowFrame::validateToolbar()
{
    mToolbar->validateItems();
}

void DocumentWindowFrame::validateCommands()
{
    validateToolbar();
    for (QAction* action : mMenuActions) mRouter->validateAction(*action);
}

} // namespace ch
