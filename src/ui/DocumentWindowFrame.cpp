#include "ui/DocumentWindowFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QTimer>

#include "platform/core/four_char_code.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/CSideBarController.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/pages/ReadSidePages.h"
#include "ui/CommandRouting.h"
#include "ui/CommandValidationTrigger.h"
#include "ui/MainMenus.h"
#include "ui/MainTabPlaceholder.h"
#include "ui/MainToolbar.h"
#include "ui/NamedIcons.h"
#include "ui/V2SplitLayout.h"
#include "ui/WindowDocument.h"
#include "bridge/CTrnSItem.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/pages/ClassicCommands.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/ClassicTransactionLists.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/Relocation.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

// The toolbar item that stands for each main tab.
std::string toolbarItemOfTab(const std::string& identifier)
{
    if (identifier == "V2" || isClassicTab(identifier)) return "main";
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
        addLayoutChoice(*view);
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
            [this](const QString& text) { mRouter->searchContents(text.toStdString()); });
    // The menus' items are validated too, not only when a menu opens: their
    // keys (Delete, Ctrl+C, ...) fire only while the item is enabled.
    mValidation = std::make_unique<CommandValidationTrigger>(*this, [this] { validateCommands(); });
    connect(mSideBar.get(), &CSideBarController::validationNeeded, this, [this] { validateCommands(); });
    connect(mSideBar.get(), &CSideBarController::currentPageChanged, this, [this] { validateCommands(); });

    // Every window opens on the transactions page, of the layout chosen.
    QTimer::singleShot(0, this, [this] { mSideBar->selectNodeWithType(fourCC("TrnS"), 2); });
    mLayoutChoice = UserDefaults::standard().observe(
        kClassicLayoutKey, [this](const std::string&) { setClassicLayout(UserDefaults::standard().boolForKey(kClassicLayoutKey)); });
    setClassicLayout(UserDefaults::standard().boolForKey(kClassicLayoutKey));
    validateCommands();
}

DocumentWindowFrame::~DocumentWindowFrame()
{
    mLayoutChoice = {};
    mValidation.reset();
    mRouter->setLayoutCommands(nullptr);
    if (mClassic) {
        mClassic->disconnect(this);
        mClassic->transactionLists().disconnect(this);
    }
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
    if (isClassicTab(identifier)) return mClassic ? mClassic->tab(identifier) : nullptr;
    const auto found = mMainTabs.find(identifier);
    return found == mMainTabs.end() ? nullptr : found->second;
}

void DocumentWindowFrame::showMainTab(const std::string& identifier)
{
    QWidget* page = mainTab(identifier);
    if (!page) return;
    if (isClassicTab(identifier)) {
        mClassic->showTab(identifier);
        page = mClassic;
    }
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

// --- the layout

void DocumentWindowFrame::addLayoutChoice(QMenu& view)
{
    view.addSeparator();
    auto* choice = new QActionGroup(&view);
    choice->setExclusive(true);
    auto add = [&](const char* name, const char* title, bool classic) {
        QAction* item = view.addAction(localizedText(title));
        item->setObjectName(QString::fromLatin1(name));
        item->setCheckable(true);
        item->setActionGroup(choice);
        // Every window follows the choice, and windows opened later too.
        connect(item, &QAction::triggered, this, [this, classic] {
            UserDefaults::standard().set(kClassicLayoutKey, Value(classic));
            setClassicLayout(classic);
        });
        return item;
    };
    mSideBarLayoutItem = add("sideBarLayout", "SIDEBARLAYOUTMENUITEM", false);
    mClassicLayoutItem = add("classicLayout", "CLASSICLAYOUTMENUITEM", true);
}

bool DocumentWindowFrame::classicLayoutOn() const
{
    return mRouter->layoutCommands() != nullptr;
}

void DocumentWindowFrame::makeClassicLayout()
{
    BridgeDocument& books = mDocument.books();
    SheetDocument& sheets = mDocument.sheetDocument();
    // A row dropped onto another moves there through the relocation command.
    mClassic = new ClassicLayout(
        books, [&sheets](CNonVisual* parent, CNonVisual* child) { return relocateObject(sheets.commands(), *child, *parent); },
        mIcons.get());
    mClassic->setWindowDocument(&mDocument);
    mMainTab->addWidget(mClassic);
    connect(mClassic, &QTabWidget::currentChanged, this, [this] {
        if (mMainTab->currentWidget() != mClassic) return;
        mRouter->setMainTab(mClassic->currentTabIdentifier());
        mValidation->schedule();
    });
    // Another list shown is another table to act on, once the focus settled.
    connect(&mClassic->transactionLists(), &QTabWidget::currentChanged, this, [this] { mValidation->schedule(); });
}

void DocumentWindowFrame::setClassicLayout(bool classic)
{
    if (mSideBarLayoutItem) mSideBarLayoutItem->setChecked(!classic);
    if (mClassicLayoutItem) mClassicLayoutItem->setChecked(classic);
    if (classic == classicLayoutOn()) return;
    if (classic && !mClassic) makeClassicLayout();
    mRouter->setLayoutCommands(classic ? &mClassic->commands() : nullptr);
    carrySelection(classic);
    showMainTab(mRouter->homeTab());
    // Keys act on the layout shown at once.
    QWidget* first = nullptr;
    if (classic) first = mClassic->commandTable();
    else if (GXSideBarControlledViewAncestor* page = mSideBar->currentController()) first = page->firstKeyView();
    if (first && isVisible()) first->setFocus(Qt::OtherFocusReason);
    // The lists just shown are followed too.
    if (mValidation) mValidation->validateNow();
}

void DocumentWindowFrame::carrySelection(bool toClassic)
{
    using List = ClassicTransactionLists::List;
    using Tab = GXTransactionViewController::Tab;
    constexpr std::array<std::pair<List, Tab>, 3> lists = {
        {{List::Transactions, Tab::Transactions}, {List::Recurring, Tab::Recurring}, {List::Unlinked, Tab::Unlinked}}};
    auto* page = dynamic_cast<GXTransactionViewController*>(mSideBar->currentController());
    ClassicTransactionLists& classic = mClassic->transactionLists();
    if (toClassic) {
        // The side bar's transactions page becomes the classic transactions tab.
        if (!page || mRouter->mainTab() != "V2") return;
        for (const auto& [list, tab] : lists)
            if (tab == page->selectedTab()) {
                classic.showList(list);
                mClassic->showTab("trns");
                if (const auto item = page->currentItem()) classic.selectItem(list, item.get());
            }
        return;
    }
    if (mRouter->mainTab() != "trns") {
        // The page stood hidden while the classic tabs changed the books: it
        // shows its node as it is now.
        if (mSideBar->currentController()) mSideBar->synchronizeChildViewWithItem(mSideBar->currentItem());
        return;
    }
    const auto selected = classic.table(classic.shownList())->selectedTransactions();
    constexpr std::array<FourCharCode, 3> nodes = {fourCC("TrnS"), fourCC("RcrT"), fourCC("UnlT")};
    for (std::size_t i = 0; i < lists.size(); ++i)
        if (lists[i].first == classic.shownList()) {
            mSideBar->selectNodeWithType(nodes[i], 2);
            page = dynamic_cast<GXTransactionViewController*>(mSideBar->currentController());
            if (page && !selected.empty()) page->selectItem(lists[i].second, selected.front().get());
        }
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
