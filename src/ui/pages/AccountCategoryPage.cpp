#include "ui/pages/AccountCategoryPage.h"

#include <algorithm>
#include <variant>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CTrnSItem.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/CBalanceBar.h"
#include "ui/ChartSinkViews.h"
#include "ui/GXSplitView.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"
#include "ui/WindowDocument.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/HeadingClickSort.h"
#include "ui/lists/ItemDragSource.h"
#include "ui/lists/ColourSwatchDelegate.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/AnalysisListSource.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/pages/TableActionButton.h"

namespace ch {

namespace {

constexpr int kCut = 12;
constexpr int kCopy = 13;
constexpr int kPaste = 14;
constexpr int kNew = 1100;
constexpr int kDelete = 1104;
constexpr int kNewInside = 1105;
constexpr int kDuplicate = 1109;
constexpr int kNewTransaction = 1110;
constexpr int kModify = 1114;
constexpr int kDuplicateFirst = 1115;
constexpr int kModifyTransaction = 1116;
constexpr int kDeleteTransaction = 1117;
constexpr int kFlag = 1121;

void styleTable(QTableView* table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

} // namespace

AccountCategoryPage::AccountCategoryPage(QObject* parent) : GXAccountCategorySubviewControllerAncestor(parent) {}

AccountCategoryPage::~AccountCategoryPage() = default;

QWidget* AccountCategoryPage::makeControlledView()
{
    mUpperModel = std::make_unique<ItemTableModel>(mUpper, upperColumns());
    showsFiguresIn(mUpperModel.get());
    // The running balances of the list shown: an account type's list runs
    // over all its accounts, which their own lists do not.
    mLowerModel = std::make_unique<ItemTableModel>(mLower, bookingLineColumns([this](const CNonVisualDataItem& line) {
        return mShownLines ? mShownLines->runningBalanceOf(line) : std::nullopt;
    }));

    auto* view = new QWidget;
    view->setObjectName(QString::fromLatin1(nibName()));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // The node's name, and its figures on the balance bar.
    mHeading = new PageHeading(view);
    layout->addWidget(mHeading);
    auto* figures = new CBalanceBar(view);
    figures->setObjectName("balanceBar");
    auto* figureLayout = new QHBoxLayout(figures);
    figureLayout->setContentsMargins(16, 4, 16, 8);
    figureLayout->setSpacing(28);
    for (const char* title : keyFigureTitles()) {
        auto* box = new QVBoxLayout;
        box->setSpacing(0);
        auto* caption = new QLabel(localizedText(title), figures);
        QFont small = caption->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        caption->setFont(small);
        caption->setForegroundRole(QPalette::PlaceholderText);
        auto* value = new QLabel(figures);
        QFont bold = value->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.15);
        value->setFont(bold);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        box->addWidget(caption);
        box->addWidget(value);
        figureLayout->addLayout(box);
        mFigureLabels.push_back(value);
    }
    figureLayout->addStretch(1);
    layout->addWidget(figures);

    auto* mainSplit = mMainSplit = new GXSplitView(false, view);
    mainSplit->setObjectName("mainSplitView");
    mainSplit->setChildrenCollapsible(false);
    layout->addWidget(mainSplit, 1);

    // Upper half: the accounts or categories, "+" below.
    auto* upper = new QWidget(mainSplit);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    mUpperTable = new GXTableAncestor(upper);
    mUpperTable->setObjectName("accountTableView");
    mUpperTable->setModel(mUpperModel.get());
    styleTable(mUpperTable);
    mUpperTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mUpperTable->horizontalHeader()->setStretchLastSection(false);
    const int name = mUpperModel->columnOf("name");
    if (name >= 0) mUpperTable->horizontalHeader()->setSectionResizeMode(name, QHeaderView::Stretch);
    // Figures get room for seven digits; a heading never shows cut off (its
    // margins and a bold font included).
    const QHeaderView* heading = mUpperTable->horizontalHeader();
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    const QFontMetrics headingMetrics(headingFont);
    for (int column = 0; column < mUpperModel->columnCount(); ++column) {
        if (column == name) continue;
        const bool colour = mUpperModel->columns()[column].identifier == "color";
        mUpperTable->setColumnWidth(column, std::max(colour ? 60 : 130,
                                                     headingMetrics.horizontalAdvance(mUpperModel->headerData(
                                                         column, Qt::Horizontal).toString()) +
                                                         40));
        if (colour) mUpperTable->setItemDelegateForColumn(column, new ColourSwatchDelegate(mUpperTable));
    }
    mUpperTable->setAutosaveName(std::string(nibName()) + "Upper");
    sortOnHeadingClick(*mUpperTable);
    // An account (or category) dragged to the side bar goes under the folder
    // it is dropped on; a debt account dropped on the cards becomes a card.
    new ItemDragSource(
        *mUpperTable, [this]() -> const void* { return document(); }, [this] { return mSelectedItem(); });
    mUpperTable->awakeFromNib();
    upperLayout->addWidget(mUpperTable, 1);
    auto* upperButtons = new QHBoxLayout;
    upperButtons->setContentsMargins(6, 4, 6, 4);
    mAddButton = new QPushButton(QStringLiteral("+"), upper);
    mAddButton->setObjectName("addAccountButton");
    mAddButton->setFocusPolicy(Qt::NoFocus);
    mAddButton->setFixedWidth(32);
    connect(mAddButton, &QPushButton::clicked, this, [this] { newObject(CommandSender::sideBar()); });
    upperButtons->addWidget(mAddButton);
    mUpperAction = new TableActionButton(
        mUpperTable, upperActionEntries(), [this](int tag) { return validateMenuItem(tag); },
        [this](int tag) { executeMenuCommand(tag, CommandSender::sideBar()); }, upper);
    mUpperAction->setObjectName("accountActionButton");
    upperButtons->addWidget(mUpperAction);
    upperButtons->addStretch(1);
    upperLayout->addLayout(upperButtons);
    connect(mUpperTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { upperSelectionChanged(); });
    connect(mUpperTable, &QAbstractItemView::doubleClicked, this,
            [this] { executeMenuCommand(kModify, CommandSender::sideBar()); });

    // Lower half: the lines beside the chart tab.
    auto* tableGraph = mTableGraphSplit = new GXSplitView(false, mainSplit);
    tableGraph->setObjectName("tableGraphSplitView");
    tableGraph->setChildrenCollapsible(false);
    auto* lower = new QWidget(tableGraph);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    mLowerTable = new CV2TransactionTableView(lower);
    mLowerTable->setObjectName("transactionTableView");
    mLowerTable->setModel(mLowerModel.get());
    styleTable(mLowerTable);
    mLowerTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mLowerTable->horizontalHeader()->setStretchLastSection(false);
    const int description = mLowerModel->columnOf("description");
    if (description >= 0) mLowerTable->horizontalHeader()->setSectionResizeMode(description, QHeaderView::Stretch);
    const std::pair<const char*, int> widths[] = {{"status", 52}, {"date", 90}, {"account", 150}, {"amount", 110},
                                                  {"balance", 110}};
    for (const auto& [id, width] : widths)
        if (mLowerModel->columnOf(id) >= 0) mLowerTable->setColumnWidth(mLowerModel->columnOf(id), width);
    mLowerTable->setAutosaveName(std::string(nibName()) + "Lower");
    sortOnHeadingClick(*mLowerTable);
    mLowerTable->awakeFromNib();
    connect(mLowerTable, &CV2TransactionTableView::flagTransaction, this,
            [this] { flagTransaction(FlagSender::StatusColumnClick); });
    connect(mLowerTable, &CV2TransactionTableView::clickedInOtherColumn, this, [this] { clickedInOtherColumn(); });
    connect(mLowerTable, &QAbstractItemView::doubleClicked, this, [this] { modifyTransaction(true); });
    lowerLayout->addWidget(mLowerTable, 1);
    auto* lowerButtons = new QHBoxLayout;
    lowerButtons->setContentsMargins(6, 4, 6, 4);
    auto* addTransaction = new QPushButton(QStringLiteral("+"), lower);
    addTransaction->setObjectName("addTransactionButton");
    addTransaction->setFocusPolicy(Qt::NoFocus);
    addTransaction->setFixedWidth(32);
    connect(addTransaction, &QPushButton::clicked, this,
            [this] { openTransactionSheet(nullptr, nullptr, nullptr, nullptr); });
    lowerButtons->addWidget(addTransaction);
    mLowerAction = new TableActionButton(
        mLowerTable,
        {{"NEWTRANSBUTTON", kNewTransaction},
         {"DUPLICATEMENUITEM", kDuplicate},
         {"DUPLICATEFIRSTMENUITEM", kDuplicateFirst},
         {nullptr, 0},
         {"MODIFYMENUITEM", kModifyTransaction},
         {"DELETEMENUITEM", kDeleteTransaction},
         {"FLAGMENUITEM", kFlag}},
        [this](int tag) { return validateMenuItem(tag); },
        [this](int tag) { executeMenuCommand(tag, CommandSender::sideBar()); }, lower);
    mLowerAction->setObjectName("transactionActionButton");
    lowerButtons->addWidget(mLowerAction);
    lowerButtons->addStretch(1);
    lowerLayout->addLayout(lowerButtons);

    mChartTab = new QStackedWidget(tableGraph);
    mChartTab->setObjectName("chartTab");
    mBarChart = new BarChartSinkView(mChartTab);
    mBarChart->setObjectName("bar");
    mBarChart->setBorderAbove(false, false, true, false);
    mPieChart = new PieChartSinkView(mChartTab);
    mPieChart->setObjectName("pie");
    mPieChart->setBorderAbove(false, false, true, false);
    mChartTab->addWidget(mBarChart);
    mChartTab->addWidget(mPieChart);
    mChartTab->setMinimumHeight(160);

    mainSplit->setStretchFactor(0, 2);
    mainSplit->setStretchFactor(1, 5);
    tableGraph->setStretchFactor(0, 3);
    tableGraph->setStretchFactor(1, 2);
    // Until a position is stored, the upper table takes two fifths: by the
    // halves' own heights it would show three rows, and a chosen account
    // would scroll out of sight. A stored position replaces this share.
    mainSplit->setSizes({2000, 3000});
    mainSplit->setPositionAutosaveName(QString::fromLatin1(mainSplitAutosaveName()));
    tableGraph->setPositionAutosaveName(QString::fromLatin1(graphSplitAutosaveName()));
    updateKeyFigures();
    return view;
}

void AccountCategoryPage::registerNotifications()
{
    const auto names = objectNotifications();
    observe(names.at(0), &AccountCategoryPage::objectCreatedOrModified);
    observe(names.at(1), &AccountCategoryPage::objectCreatedOrModified);
    observe(names.at(2), &AccountCategoryPage::objectDeleted);
    GXAccountCategorySubviewControllerAncestor::registerNotifications();
}

void AccountCategoryPage::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    controlledView();
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    CNonVisualDataItem::Ptr shown = node;
    CNonVisualDataItem::ItemArray upper = node ? node->leafArray() : CNonVisualDataItem::ItemArray{};
    if (node && node->isLevel2Header()) {
        // A header shows its type (or group) with the lowest id.
        CNonVisualDataItem::Ptr lowest;
        ObjectIdT lowestId = 9999999;
        for (const auto& child : node->children())
            if (child && child->getId() && *child->getId() < lowestId) {
                lowest = child;
                lowestId = *child->getId();
            }
        if (lowest) shown = lowest;
    }
    setMSelectedMasterItem(shown);
    setMSelectedItem(nullptr);
    setTopLevelArray(upper);
    mUpper.setContent(std::make_shared<VectorListSource>(std::move(upper)));
    synchronizeTransactionViews(shown, false);
    if (mAddButton) mAddButton->setEnabled(newAllowed());
    updateKeyFigures();
}

bool AccountCategoryPage::newAllowed() const
{
    const auto node = mSelectedMasterItem();
    return node && node->getSourceItem() && node->headerLevel() == -1;
}

void AccountCategoryPage::synchronizeTransactionViews(const CNonVisualDataItem::Ptr& item, bool showPieChart)
{
    showLines(item);
    if (!mChartTab) return;
    if (showPieChart) {
        mChartTab->setCurrentWidget(mPieChart);
        mBarChart->synchronizeWithObject(nullptr);
        mPieChart->synchronizeWithArray(item && item->getSourceItem() ? item->pieChartChildrenArray()
                                                                      : CNonVisualDataItem::ItemArray{});
    } else {
        mChartTab->setCurrentWidget(mBarChart);
        mBarChart->synchronizeWithObject(item && item->getSourceItem() ? item : nullptr);
        mPieChart->synchronizeWithArray({});
    }
}

void AccountCategoryPage::showLines(const CNonVisualDataItem::Ptr& item)
{
    mLinesItem = item;
    mShownLines.reset();
    // The item keeps its lines (following their changes itself) and the bar
    // chart reads the same list: it is built once, not once for each.
    if (item && item->getSourceItem()) mShownLines = item->getAnalysisArray();
    mLower.setContent(std::make_shared<AnalysisListSource>(mShownLines));
}

void AccountCategoryPage::refreshTransactionListAfterModification(bool rebuild)
{
    const auto node = mSelectedMasterItem();
    const auto selected = mSelectedItem();
    if (rebuild) {
        if (node) node->releaseAnalysisArray();
        if (selected) selected->releaseAnalysisArray();
    }
    if (selected)
        synchronizeTransactionViews(selected, false);
    else if (node && node->getSourceItem())
        synchronizeTransactionViews(node, true);
    else
        synchronizeTransactionViews(nullptr, false);
    updateKeyFigures();
}

void AccountCategoryPage::upperSelectionChanged()
{
    CNonVisualDataItem::Ptr item;
    if (mUpperTable) {
        const QModelIndexList rows = mUpperTable->selectionModel()->selectedRows();
        if (!rows.isEmpty()) item = mUpperModel->itemAt(rows.front().row());
    }
    setMSelectedItem(item);
    if (item && showsLinesOf(*item)) synchronizeTransactionViews(item, false);
}

void AccountCategoryPage::selectUpperItem(const CNonVisualDataItem::Ptr& item)
{
    controlledView();
    const auto row = item ? mUpper.arrangedRowOf(item.get()) : std::nullopt;
    if (!row) {
        mUpperTable->selectionModel()->clearSelection();
        return;
    }
    mUpperTable->selectionModel()->select(mUpperModel->index(static_cast<int>(*row), 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString AccountCategoryPage::chartTabIdentifier() const
{
    return mChartTab && mChartTab->currentWidget() ? mChartTab->currentWidget()->objectName() : QString();
}

QWidget* AccountCategoryPage::firstKeyView()
{
    return mUpperTable;
}

void AccountCategoryPage::searchContents(const std::string& text)
{
    mUpper.search(text);
}

bool AccountCategoryPage::doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    return transaction != nullptr;
}

std::shared_ptr<CDebetItem> AccountCategoryPage::lowerTableSelection() const
{
    if (!mLowerTable || !mLowerTable->selectionModel()) return nullptr;
    const QModelIndexList rows = mLowerTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    return std::dynamic_pointer_cast<CDebetItem>(mLowerModel->itemAt(rows.front().row()));
}

bool AccountCategoryPage::lowerTableHasFocus() const
{
    return hasFocusWithin(mLowerTable);
}

bool AccountCategoryPage::upperTableHasFocus() const
{
    return hasFocusWithin(mUpperTable);
}

// --- figures

QString AccountCategoryPage::selectedMasterItemName() const
{
    const auto node = mSelectedMasterItem();
    return node ? QString::fromStdString(node->getName()) : QString();
}

double AccountCategoryPage::headerFigure(std::size_t figure) const
{
    double sum = 0.0;
    const auto node = mSelectedMasterItem();
    if (!node) return sum;
    for (const auto& child : node->children())
        if (child) sum += keyFigure(*child, figure).value_or(0.0);
    return sum;
}

std::vector<QString> AccountCategoryPage::keyFigureTexts() const
{
    std::vector<QString> texts;
    const auto node = mSelectedMasterItem();
    for (std::size_t figure = 0; figure < keyFigureTitles().size(); ++figure) {
        if (!node) {
            texts.emplace_back();
            continue;
        }
        const std::optional<double> value = node->getSourceItem() ? keyFigure(*node, figure)
                                                                  : std::optional<double>(headerFigure(figure));
        texts.push_back(QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(value)));
    }
    return texts;
}

void AccountCategoryPage::updateKeyFigures()
{
    if (mHeading) {
        const auto node = mSelectedMasterItem();
        mHeading->setTitle(selectedMasterItemName());
        if (node) {
            std::string icon = node->getIconName();
            mHeading->setIcon(makeNamedIcon(icon.empty() ? "Image131" : icon));
        }
    }
    const std::vector<QString> texts = keyFigureTexts();
    for (std::size_t i = 0; i < mFigureLabels.size() && i < texts.size(); ++i) mFigureLabels[i]->setText(texts[i]);
}

// --- notifications

void AccountCategoryPage::objectCreatedOrModified(const Notification&)
{
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void AccountCategoryPage::objectDeleted(const Notification&)
{
    setMSelectedItem(nullptr);
    if (const auto node = mSelectedMasterItem()) node->releaseAnalysisArray();
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void AccountCategoryPage::transactionCreated(const Notification& notification)
{
    if (concernsShownLines(notification)) refreshTransactionListAfterModification(true);
}

void AccountCategoryPage::transactionModified(const Notification& notification)
{
    if (concernsShownLines(notification)) refreshTransactionListAfterModification(true);
}

bool AccountCategoryPage::concernsShownLines(const Notification& notification)
{
    // Without an object the notification stands for many transactions (a
    // statement import, several bookings at once): any may be shown here.
    return std::holds_alternative<std::monostate>(notification.object) ||
           doesPageShowTransaction(notification.objectAs<CTrnSItem>());
}

void AccountCategoryPage::transactionDeleted(const Notification&)
{
    if (mRefreshAfterDelete) refreshTransactionListAfterModification(true);
}

void AccountCategoryPage::folderBalanceChanged(const Notification&)
{
    updateKeyFigures();
}

// --- commands

void AccountCategoryPage::openTransactionSheet(const std::shared_ptr<CTrnSItem>& model, CNonVisual* from,
                                               CNonVisual* to, CNonVisual* category)
{
    if (!document()) return;
    TransactionSheetRequest request;
    request.model = model;
    request.fromAccount = from;
    request.toAccount = to;
    request.expenseType = category;
    request.action = 1;
    request.recurring = false;
    document()->askTransactionInput(request);
}

void AccountCategoryPage::duplicateFirstTransaction()
{
    const auto first = std::dynamic_pointer_cast<CDebetItem>(mLower.arrangedObjectAt(0));
    if (const auto transaction = first ? first->parentTransaction() : nullptr)
        openTransactionSheet(transaction, nullptr, nullptr, nullptr);
}

void AccountCategoryPage::pasteTransaction()
{
    if (!document()) return;
    if (const auto transaction = document()->transactionToPaste())
        openTransactionSheet(transaction, nullptr, nullptr, nullptr);
}

void AccountCategoryPage::deleteSelectedObject()
{
    if (const auto item = mSelectedItem(); item && document()) document()->deleteObject(item);
}

MenuItemValidation AccountCategoryPage::validateMenuItem(int tag)
{
    const bool lineSelected = selectedTransaction() != nullptr;
    const bool lowerFocus = lowerTableHasFocus();
    auto objectAnswer = [&](int asked) {
        const auto item = mSelectedItem();
        return item ? item->validateMenuItem(asked) : MenuItemValidation{};
    };
    switch (tag) {
    case kCut: return {lineSelected, std::nullopt};
    // Copy and Paste act only on the lines table with the focus.
    case kCopy: return {lowerFocus && lineSelected, std::nullopt};
    case kPaste: return {lowerFocus && document() && document()->transactionToPaste() != nullptr, std::nullopt};
    case kNew:
    case kNewInside: {
        if (lowerFocus && lineSelected) return {true, std::nullopt};
        if (!newAllowed()) return {};
        // The node's own answer for a new object inside it.
        return mSelectedMasterItem()->validateMenuItem(kNewInside);
    }
    case kDelete:
    case kModify:
        if (lowerFocus && lineSelected) return {true, std::nullopt};
        return objectAnswer(tag);
    case kDuplicate:
    case kModifyTransaction:
    case kDeleteTransaction: return {lineSelected, std::nullopt};
    case kDuplicateFirst: return {mLower.arrangedCount() > 0, std::nullopt};
    default: return {true, std::nullopt};
    }
}

void AccountCategoryPage::executeMenuCommand(int code, const CommandSender& sender)
{
    const bool lowerFocus = lowerTableHasFocus();
    switch (code) {
    case kCopy:
        if (lowerFocus && document())
            if (const auto transaction = selectedTransaction()) document()->copyTransaction(transaction);
        return;
    case kCut:
        if (document())
            if (const auto transaction = selectedTransaction()) document()->cutTransaction(transaction);
        return;
    case kPaste:
        if (lowerFocus) pasteTransaction();
        return;
    case kNew:
        if (lowerFocus)
            openTransactionSheet(nullptr, nullptr, nullptr, nullptr);
        else
            newObject(sender);
        return;
    case kDuplicate:
        if (lowerFocus)
            if (const auto transaction = selectedTransaction()) openTransactionSheet(transaction, nullptr, nullptr, nullptr);
        return;
    case kNewTransaction: openTransactionSheet(nullptr, nullptr, nullptr, nullptr); return;
    case kDelete:
        if (lowerFocus)
            deleteTransaction();
        else if (upperTableHasFocus())
            deleteSelectedObject();
        return;
    case kModify:
        if (lowerFocus)
            modifyTransaction(false);
        else if (const auto item = mSelectedItem(); item && document())
            document()->modifyObject(item);
        return;
    case kDuplicateFirst: duplicateFirstTransaction(); return;
    case kModifyTransaction: modifyTransaction(false); return;
    case kDeleteTransaction: deleteTransaction(); return;
    case kFlag:
        if (lowerFocus) flagTransaction(FlagSender::FlagCommand);
        return;
    default: GXAccountCategorySubviewControllerAncestor::executeMenuCommand(code, sender); return;
    }
}

} // namespace ch
