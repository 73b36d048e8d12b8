#include "ui/CSideBarView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"
#include "ui/CSideBarController.h"
#include "ui/CSplitterDragger.h"
#include "ui/GXBorderedView.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/ImageAndTextCell.h"
#include "ui/NamedIcons.h"
#include "ui/QuickEntryPane.h"
#include "ui/SideBarDragAndDrop.h"
#include "ui/ChartSinkViews.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/SideBarWidgets.h"
#include "ui/SplitViewStyles.h"

#include <algorithm>

namespace ch {

namespace {

// The background of the tree: the light blue-grey of a source list.
const QColor kSourceListBackground(0xE6, 0xEB, 0xF1);

} // namespace

CSideBarView::CSideBarView(CSideBarController& controller, IconLibrary& icons, QWidget* parent)
    : QWidget(parent), mController(controller), mSplitView(new CHorizontalTexturedQVLSplitView(false, this)),
      mOutline(new GXGradientOutlineView), mLowerTabs(new QStackedWidget), mQuickEntry(new QuickEntryPane(controller)), mPie(new PieChartSinkView),
      mNewButton(new QToolButton), mQuickEntryButton(new QToolButton), mCollapseButton(new QToolButton), mActionButton(new GXMenuButton), mGrip(new CSplitterDragger)
{
    setObjectName("sideBarView");
    setMinimumWidth(static_cast<int>(CSideBarController::kMinimumSideBarWidth));

    // The tree.
    SideBarOutlineModel& model = controller.outlineModel();
    model.setIconSource([&icons](const std::string& name) { return icons.icon(name); });
    mOutline->setObjectName("sideBarOutline");
    mOutline->setModel(&model);
    mOutline->setSelectionModel(&controller.selectionModel());
    mOutline->setItemDelegateForColumn(SideBarOutlineModel::NameColumn, new ImageAndTextCell(mOutline));
    mOutline->setHeaderHidden(true);
    mOutline->setColumnHidden(SideBarOutlineModel::BalanceColumn, true);
    mOutline->setColumnHidden(SideBarOutlineModel::CurrencyColumn, true);
    mOutline->header()->setStretchLastSection(true);
    mOutline->setUniformRowHeights(false);
    mOutline->setIndentation(14);
    mOutline->setRootIsDecorated(true);
    mOutline->setExpandsOnDoubleClick(false);
    mOutline->setSelectionMode(QAbstractItemView::SingleSelection);
    mOutline->setFrameShape(QFrame::NoFrame);
    mOutline->setFocusPolicy(Qt::StrongFocus);
    QPalette sourceList = mOutline->palette();
    sourceList.setColor(QPalette::Base, kSourceListBackground);
    mOutline->setPalette(sourceList);
    mOutline->setUsesGradientSelection(true);
    mOutline->setMenuProvider([this](const QPoint&) {
        return menuFor(CSideBarController::menuForNode(mController.currentItem().get()));
    });
    controller.setOutlineFocusProbe([this] {
        const QWidget* focus = window()->focusWidget();
        return focus && (focus == mOutline || mOutline->isAncestorOf(focus));
    });
    new SideBarDragAndDrop(*mOutline, controller);
    connect(mOutline, &QTreeView::doubleClicked, this, [this] { mController.modifyPressed(); });
    connect(mOutline, &QTreeView::expanded, this, [&model](const QModelIndex& index) { model.setExpanded(index, true); });
    connect(mOutline, &QTreeView::collapsed, this, [this, &model](const QModelIndex& index) {
        if (!model.setExpanded(index, false)) mOutline->expand(index);
    });
    connect(&model, &SideBarOutlineModel::expansionRequested, this,
            [this](const QModelIndex& index, bool expanded) { mOutline->setExpanded(index, expanded); });
    connect(&model, &QAbstractItemModel::modelReset, this, [this] { syncExpansion(); });
    connect(&model, &QAbstractItemModel::rowsInserted, this, [this] { syncExpansion(); });
    // A node selected from elsewhere (a toolbar page, a new folder) comes into view.
    connect(&controller.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = mController.selectionModel().selectedRows();
        if (!rows.isEmpty()) mOutline->scrollTo(rows.first());
    });

    // The lower pane.
    auto* lower = new GXBorderedView;
    mLowerView = lower;
    lower->setObjectName("mLowerView");
    lower->setBorderAbove(false, false, false, true);
    mLowerTabs->setObjectName("mDetailViewTab");
    mQuickEntry->setProperty("identifier", "trns");
    mPie->setObjectName("mAccountPie");
    // Once the pie shows, this brings the quick entry back (and keeps it).
    auto* pieTab = new QWidget;
    pieTab->setProperty("identifier", "acct");
    auto* pieLayout = new QVBoxLayout(pieTab);
    pieLayout->setContentsMargins(0, 0, 0, 2);
    pieLayout->setSpacing(0);
    pieLayout->addWidget(mPie, 1);
    mQuickEntryButton->setObjectName("quickEntryButton");
    mQuickEntryButton->setText(localizedText("353"));
    mQuickEntryButton->setAutoRaise(true);
    mQuickEntryButton->setFocusPolicy(Qt::NoFocus);
    connect(mQuickEntryButton, &QToolButton::clicked, this, [this] { mController.forceFastTransactionpaneToFront(); });
    pieLayout->addWidget(mQuickEntryButton, 0, Qt::AlignHCenter);
    mLowerTabs->addWidget(mQuickEntry);
    mLowerTabs->addWidget(pieTab);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 1, 0);
    lowerLayout->addWidget(mLowerTabs);
    controller.setAccountPie(mPie);

    mSplitView->setObjectName("mSplitview");
    mSplitView->addWidget(mOutline);
    mSplitView->addWidget(lower);
    mSplitView->setStretchFactor(0, 1);
    mSplitView->setStretchFactor(1, 0);
    mSplitView->setCollapsible(0, false);
    mSplitView->setSizes({500, 150});
    mSplitView->setPositionAutosaveName("sidebarSplitview");
    // A pane dragged shut or open by hand counts as collapsed or open.
    connect(mSplitView, &GXSplitView::subviewCollapsed, this, [this](QWidget* view) {
        if (view == mLowerView) mController.setLowerPaneCollapsed(true);
    });
    connect(mSplitView, &GXSplitView::subviewExpanded, this, [this](QWidget* view) {
        if (view == mLowerView) mController.setLowerPaneCollapsed(false);
    });
    mController.setLowerPaneCollapsed(mSplitView->isSubviewCollapsed(lower));

    // The foot strip.
    auto* bottom = new CSideBarBottom;
    bottom->setObjectName("sideBarBottom");
    bottom->setFixedHeight(26);
    mNewButton->setObjectName("mNewButton");
    mNewButton->setText(QStringLiteral("+"));
    mNewButton->setToolTip(localizedText("NEWOBJECTMENUITEM"));
    mNewButton->setAutoRaise(true);
    mNewButton->setFocusPolicy(Qt::NoFocus);
    connect(mNewButton, &QToolButton::clicked, this, [this] { mController.newPressed(); });
    mActionButton->setObjectName("mActionButton");
    mActionButton->setText(QString::fromUtf8("\u2699"));
    mActionButton->setAutoRaise(true);
    mActionButton->setFocusPolicy(Qt::NoFocus);
    mCollapseButton->setObjectName("collapseButton");
    mCollapseButton->setText(QString::fromUtf8("\u25BE"));
    mCollapseButton->setToolTip(localizedText("354"));
    mCollapseButton->setAutoRaise(true);
    mCollapseButton->setFocusPolicy(Qt::NoFocus);
    connect(mCollapseButton, &QToolButton::clicked, this, [this] { changeCollapseStateOfBottomSubview(); });
    mGrip->setObjectName("mSplitViewDragger");
    mGrip->setDelegate([this](double rightWidth, int) { return mController.constrainSplitPosition(rightWidth, 0); });
    auto* strip = new QHBoxLayout(bottom);
    strip->setContentsMargins(4, 1, 2, 1);
    strip->setSpacing(2);
    strip->addWidget(mNewButton);
    strip->addWidget(mActionButton);
    strip->addStretch(1);
    strip->addWidget(mCollapseButton);
    strip->addWidget(mGrip);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mSplitView, 1);
    layout->addWidget(bottom);

    buildMenus();
    connect(&controller, &CSideBarController::buttonsChanged, this, [this] { followButtons(); });
    connect(&controller, &CSideBarController::lowerPaneTabChanged, this, [this] { followLowerPane(); });
    followButtons();
    followLowerPane();
    syncExpansion();
}

CSideBarView::~CSideBarView()
{
    mController.setAccountPie(nullptr);
    mController.setOutlineFocusProbe({});
}

void CSideBarView::changeCollapseStateOfBottomSubview()
{
    const QList<int> sizes = mSplitView->sizes();
    if (sizes.size() < 2) return;
    const int total = sizes[0] + sizes[1];
    const int height = static_cast<int>(mController.changeCollapseStateOfBottomSubview(sizes[1]));
    const bool collapsed = mController.lowerPaneCollapsed();
    mSplitView->setSizes({std::max(0, total - height), height});
    mSplitView->setSubviewCollapsed(mLowerView, collapsed);
    mSplitView->resizeSubviews();
    // The signals of the split view may have followed its sizes: the button decides.
    mController.setLowerPaneCollapsed(collapsed);
    mCollapseButton->setText(QString::fromUtf8(collapsed ? "\u25B4" : "\u25BE"));
}

void CSideBarView::setSurroundingSplitView(GXSplitView* splitView, QWidget* leftView, QWidget* rightView)
{
    mGrip->setControlledSplitView(splitView, leftView, rightView);
}

QMenu* CSideBarView::menuFor(NodeMenu kind) const
{
    const auto found = mMenus.find(kind);
    return found == mMenus.end() ? nullptr : found->second;
}

void CSideBarView::buildMenus()
{
    struct Entry {
        const char* titleKey;
        int tag;
        void (CSideBarController::*command)();
    };
    const std::vector<Entry> folderEntries = {
        {"NEWOBJECTMENUITEM", 1100, &CSideBarController::newPressed},
        {"NEWINSIDEMENUITEM", 1105, &CSideBarController::newObjectBelowPressed},
        {"NEWGROUPINSIDEMENUITEM", 1106, &CSideBarController::newBelowPressed},
        {nullptr, 0, nullptr},
        {"MODIFYMENUITEM", 1114, &CSideBarController::modifyPressed},
        {"DELETEMENUITEM", 1104, &CSideBarController::removePressed},
    };
    const Entry exportEntry = {"EXPORTMENUITEM", 1236, &CSideBarController::exportTransactionsPressed};
    std::vector<Entry> exportingFolderEntries = folderEntries;
    exportingFolderEntries.insert(exportingFolderEntries.end(), {{nullptr, 0, nullptr}, exportEntry});
    const std::vector<Entry> pageEntries = {{"NEWOBJECTMENUITEM", 1100, &CSideBarController::newPressed}};
    const std::vector<Entry> transactionEntries = {pageEntries.front(), {nullptr, 0, nullptr}, exportEntry};
    const std::vector<Entry> ownerEntries = {
        pageEntries.front(), {"NEWOWNERFROMCONTACTSMENUITEM", 1118, &CSideBarController::newOwnerFromContactsPressed}};
    // The pages whose lists are transactions (or folders of them) export them.
    const std::vector<std::pair<NodeMenu, const std::vector<Entry>*>> menus = {
        {NodeMenu::Account, &exportingFolderEntries},
        {NodeMenu::Category, &exportingFolderEntries},
        {NodeMenu::Transaction, &transactionEntries},
        {NodeMenu::RecurringTransaction, &pageEntries},
        {NodeMenu::Share, &pageEntries},
        {NodeMenu::Currency, &pageEntries},
        {NodeMenu::Owner, &ownerEntries},
        {NodeMenu::Empty, nullptr}};
    for (const auto& [kind, entries] : menus) {
        auto* menu = new QMenu(this);
        mMenus[kind] = menu;
        if (!entries) continue;
        for (const Entry& entry : *entries) {
            if (!entry.titleKey) {
                menu->addSeparator();
                continue;
            }
            QAction* item = menu->addAction(localizedText(entry.titleKey));
            item->setProperty("tag", entry.tag);
            item->setProperty("baseTitle", item->text());
            connect(item, &QAction::triggered, this, [controller = &mController, command = entry.command] {
                (controller->*command)();
            });
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* item : menu->actions()) {
                if (item->isSeparator()) continue;
                const MenuItemValidation validation = mController.validateMenuItem(item->property("tag").toInt());
                item->setEnabled(validation.enabled);
                item->setText(validation.title ? QString::fromStdString(*validation.title)
                                               : item->property("baseTitle").toString());
            }
        });
    }
}

void CSideBarView::syncExpansion()
{
    SideBarOutlineModel& model = mController.outlineModel();
    for (const QModelIndex& index : model.shownRows())
        if (model.isExpanded(index) && !mOutline->isExpanded(index)) mOutline->expand(index);
}

void CSideBarView::followButtons()
{
    mNewButton->setEnabled(mController.newButtonEnabled());
    mActionButton->setEnabled(mController.actionButtonEnabled());
    mActionButton->setMenu(menuFor(mController.actionMenu()));
}

void CSideBarView::followLowerPane()
{
    for (int i = 0; i < mLowerTabs->count(); ++i)
        if (mLowerTabs->widget(i)->property("identifier").toString().toStdString() == mController.lowerPaneTab())
            mLowerTabs->setCurrentIndex(i);
}

} // namespace ch
