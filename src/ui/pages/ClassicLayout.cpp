#include "ui/pages/ClassicLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis/CBarChart.h"
#include "analysis/CPieChart.h"
#include "analysis/views/ChartView.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CArrayEncapsulator.h"
#include "model/CAccountTypeArray.h"
#include "model/CAnalysisArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/pages/ClassicCommands.h"
#include "ui/pages/ClassicTransactionLists.h"
#include "ui/pages/DocumentOutlineDelegate.h"
#include "ui/lists/BookingLineTableModel.h"

namespace ch {

namespace {

enum class Table { Property, Income };

constexpr int kModifyTag = 1114;

// The seven switch buttons, in the order of their actions.
constexpr std::array<const char*, 7> kButtonNames = {"mAcntPropertyButton", "mAcntDebtButton", "mAcntAssetButton",
                                                     "mAcntPLButton",       "mExptIncomeButton", "mExptExpenseButton",
                                                     "mExptTransferButton"};
constexpr std::array<const char*, 7> kButtonTitles = {"CLASSICPROPERTY", "CLASSICDEBT",    "CLASSICASSETS",
                                                      "CLASSICPL",       "CLASSICINCOME",  "CLASSICEXPENSE",
                                                      "CLASSICTRANSFER"};

std::vector<NamedListOutlineModel::Column> columns(std::initializer_list<std::pair<const char*, const char*>> list)
{
    std::vector<NamedListOutlineModel::Column> result;
    for (const auto& [identifier, heading] : list) result.push_back({QString::fromLatin1(identifier), localizedText(heading)});
    return result;
}

bool autosaveNameBegins(const QAbstractItemView* view, const char* prefix)
{
    return view->property("autosaveName").toString().startsWith(QLatin1String(prefix));
}

} // namespace

struct ClassicLayout::Switch {
    std::size_t button;
    Table table;
    // The group root the table shows.
    std::function<const CNamedListArray*(const CDocAccounting&)> list;
    std::optional<int> detailIsProperty;
};

ClassicLayout::ClassicLayout(BridgeDocument& books, CNamedListTableController::SetSuperitem setSuperitem,
                             IconLibrary* icons, QWidget* parent)
    : QTabWidget(parent), mBooks(books), mPropertyTableController(&books, nullptr, true),
      mIncomeTableController(&books, nullptr, true)
{
    setObjectName(QStringLiteral("mMainTab"));
    mPropertyTableController.setSetSuperitem(setSuperitem);
    mIncomeTableController.setSetSuperitem(setSuperitem);
    NamedListOutlineModel::IconLookup iconOf;
    if (icons) iconOf = [icons](const std::string& name) { return icons->icon(name); };
    mPropertyModel = std::make_unique<NamedListOutlineModel>(
        mPropertyTableController,
        columns({{"name", "LISTCOLNAME"}, {"lbal", "OUTLINECOLLBAL"}, {"lcur", "LISTCOLCURRENCY"},
                 {"fbal", "OUTLINECOLFBAL"}, {"fcur", "LISTCOLCURRENCY"}}),
        iconOf);
    mIncomeModel = std::make_unique<NamedListOutlineModel>(
        mIncomeTableController,
        columns({{"name", "LISTCOLNAME"}, {"yths", "OUTLINECOLYTHS"}, {"yprv", "OUTLINECOLYPRV"},
                 {"avgt", "OUTLINECOLAVGT"}, {"avgp", "OUTLINECOLAVGP"}, {"totp", "OUTLINECOLTOTP"},
                 {"bala", "OUTLINECOLBALA"}}),
        iconOf);
    for (auto* details : {&mPropertyDetails, &mIncomeDetails}) {
        *details = std::make_unique<BookingLineTableModel>(std::vector<BookingLineTableModel::Column>{
            {"date", localizedText("LISTCOLDATE")},
            {"desc", localizedText("LISTCOLDESCRIPTION")},
            {"acnt", localizedText("LISTCOLACCOUNT")},
            {"amtl", localizedText("LISTCOLAMOUNT")},
            {"ball", localizedText("LISTCOLBALANCE")}});
        (*details)->controller().setDocument(&books);
    }

    // "trns": the overview above the document's transactions.
    auto* transactions = new QSplitter(Qt::Vertical);
    transactions->setObjectName(QStringLiteral("trns"));
    transactions->setChildrenCollapsible(false);
    transactions->addWidget(makeOverviewPage());
    mLists = new ClassicTransactionLists(books, transactions);
    transactions->addWidget(mLists);
    transactions->setSizes({450, 300});
    connect(mLists, &ClassicTransactionLists::transactionsChanged, this, &ClassicLayout::scheduleRefresh);

    // "acnt" and "expt": switch buttons over an outline with the booking lines of its row.
    auto outlinePage = [this](const char* identifier, const char* tableName, const char* autosave,
                              NamedListOutlineModel& model, std::size_t firstButton, std::size_t buttonCount,
                              CNonVisualTable*& table, BookingLineTableModel& details, const char* detailName,
                              QTableView*& detailTable) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(identifier));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 6, 6, 6);
        auto* buttons = new QHBoxLayout;
        for (std::size_t i = firstButton; i < firstButton + buttonCount; ++i) {
            // A title's "&" is text, not a shortcut mark.
            auto* button = new QPushButton(localizedText(kButtonTitles[i]).replace(QLatin1Char('&'), QLatin1String("&&")), page);
            button->setObjectName(QString::fromLatin1(kButtonNames[i]));
            button->setCheckable(true);
            button->setIconSize(QSize(32, 32));
            buttons->addWidget(button);
            mSwitchButtons[i] = button;
        }
        buttons->addStretch(1);
        layout->addLayout(buttons);
        // Below the outline: its columns want the window's width.
        auto* split = new QSplitter(Qt::Vertical, page);
        split->setChildrenCollapsible(false);
        table = new CNonVisualTable(split);
        table->setObjectName(QString::fromLatin1(tableName));
        table->setProperty("autosaveName", QString::fromLatin1(autosave));
        table->setModel(&model);
        table->setAlternatingRowColors(true);
        table->setDragEnabled(true);
        table->setAcceptDrops(true);
        table->setDropIndicatorShown(true);
        table->setDragDropMode(QAbstractItemView::DragDrop);
        table->header()->setStretchLastSection(false);
        table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        // The open state belongs to the model object.
        connect(table, &QTreeView::expanded, this, [&model](const QModelIndex& index) {
            if (const auto item = model.itemAt(index); item && item->getSourceItem())
                item->getSourceItem()->Put_mb_IsOpen(true);
        });
        connect(table, &QTreeView::collapsed, this, [&model](const QModelIndex& index) {
            if (const auto item = model.itemAt(index); item && item->getSourceItem())
                item->getSourceItem()->Put_mb_IsOpen(false);
        });
        connect(&model, &NamedListOutlineModel::itemRelocated, table, [this, table, &model](const QModelIndex& moved) {
            // The model was read anew: the folders open before stay open.
            expandOpenRows(table, model, {});
            if (!moved.isValid()) return;
            // Every folder above the moved row opens: it is shown and chosen.
            for (QModelIndex folder = moved.parent(); folder.isValid(); folder = folder.parent()) table->expand(folder);
            table->selectionModel()->setCurrentIndex(
                moved, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            table->scrollTo(moved);
        });
        CNonVisualTable* shown = table;
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, shown] { showDetailsOfSelection(shown); });
        // An account or category opens its sheet; a group opens or closes.
        connect(table, &QAbstractItemView::doubleClicked, this, [this, &model, shown](const QModelIndex& index) {
            const CNonVisualDataItem::Ptr item = model.itemAt(index);
            if (dynamic_cast<const CAcnTItem*>(item.get()) || dynamic_cast<const CExpTItem*>(item.get()))
                mCommands->executeMenuCommand(kModifyTag, shown);
        });
        detailTable = new QTableView(split);
        detailTable->setObjectName(QString::fromLatin1(detailName));
        details.attach(detailTable);
        detailTable->setSelectionBehavior(QAbstractItemView::SelectRows);
        detailTable->setSelectionMode(QAbstractItemView::SingleSelection);
        detailTable->setAlternatingRowColors(true);
        detailTable->setShowGrid(false);
        detailTable->setWordWrap(false);
        detailTable->verticalHeader()->hide();
        detailTable->verticalHeader()->setDefaultSectionSize(22);
        detailTable->horizontalHeader()->setHighlightSections(false);
        detailTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        detailTable->horizontalHeader()->setSectionResizeMode(details.columnOf("desc"), QHeaderView::Stretch);
        split->addWidget(table);
        split->addWidget(detailTable);
        split->setSizes({330, 270});
        layout->addWidget(split, 1);
        return page;
    };
    mCommands = std::make_unique<ClassicCommands>(*this);
    QWidget* accounts = outlinePage("acnt", "mPropertyTable", "propertyTable", *mPropertyModel, 0, 4, mPropertyTable,
                                    *mPropertyDetails, "mTrnsTableProperty", mPropertyDetailTable);
    QWidget* categories = outlinePage("expt", "mIncomeTable", "incomeTable", *mIncomeModel, 4, 3, mIncomeTable,
                                      *mIncomeDetails, "mTrnsTableIncome", mIncomeDetailTable);

    addTab(transactions, localizedText("CLASSICTRNS"));
    addTab(accounts, localizedText("CLASSICACNT"));
    addTab(categories, localizedText("CLASSICEXPT"));
    makeContextMenu(mPropertyTable);
    makeContextMenu(mIncomeTable);

    using Action = void (ClassicLayout::*)();
    constexpr std::array<Action, 7> actions = {&ClassicLayout::switchProperty, &ClassicLayout::switchDebt,
                                               &ClassicLayout::switchAssets,   &ClassicLayout::switchPL,
                                               &ClassicLayout::switchIncome,   &ClassicLayout::switchExpense,
                                               &ClassicLayout::switchTransfer};
    for (std::size_t i = 0; i < actions.size(); ++i)
        connect(mSwitchButtons[i], &QPushButton::clicked, this, actions[i]);
    switchProperty();
    switchIncome();
    refreshMainTab();
    // The overview tells how the books stand when it is looked at.
    connect(this, &QTabWidget::currentChanged, this, [this] {
        if (currentTabIdentifier() == "trns") refreshMainTab();
    });
    observeDocument();
}

QWidget* ClassicLayout::makeOverviewPage()
{
    auto* overview = new QWidget;
    overview->setObjectName(QStringLiteral("overview"));
    auto* grid = new QGridLayout(overview);
    grid->setContentsMargins(6, 6, 6, 0);
    grid->setSpacing(4);
    auto caption = [overview](const char* key) {
        auto* label = new QLabel(localizedText(key), overview);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    mOverviewChart = new ChartView(CGraph::make<CBarChart>(), overview);
    mOverviewChart->setObjectName(QStringLiteral("mOverviewChart"));
    mOverviewChart->setMinimumHeight(160);
    grid->addWidget(caption("CLASSICPL"), 0, 0, 1, 3);
    grid->addWidget(mOverviewChart, 1, 0, 1, 3);
    constexpr std::array<const char*, 3> names = {"mPropertyOverviewPieChart", "mLiabilityOverviewPieChart",
                                                  "mAssetOverviewPieChart"};
    constexpr std::array<const char*, 3> titles = {"CLASSICPROPERTY", "CLASSICDEBT", "CLASSICASSETS"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        mOverviewPies[i] = new ChartView(CGraph::make<CAccountTypePieChart>(), overview);
        mOverviewPies[i]->setObjectName(QString::fromLatin1(names[i]));
        mOverviewPies[i]->setMinimumSize(180, 150);
        grid->addWidget(caption(titles[i]), 2, static_cast<int>(i));
        grid->addWidget(mOverviewPies[i], 3, static_cast<int>(i));
    }
    grid->setRowStretch(1, 3);
    grid->setRowStretch(3, 2);
    return overview;
}

ClassicLayout::~ClassicLayout()
{
    mSubscriptions.clear();
    // Taking the pages away announces other current tabs: nobody is told.
    blockSignals(true);
    // The views go before the models they show.
    while (count() > 0) delete widget(0);
}

CTransactionTableView* ClassicLayout::transactionTable() const
{
    return mLists->table(ClassicTransactionLists::List::Transactions);
}

void ClassicLayout::setWindowDocument(WindowDocument* document)
{
    mLists->setWindowDocument(document);
    mCommands->setDocument(document);
    mDelegate = document ? std::make_unique<DocumentOutlineDelegate>(*document) : nullptr;
    setOutlineDelegate(mDelegate.get());
}

QWidget* ClassicLayout::tab(std::string_view identifier) const
{
    for (int i = 0; i < count(); ++i)
        if (widget(i)->objectName().toStdString() == identifier) return widget(i);
    return nullptr;
}

void ClassicLayout::showTab(std::string_view identifier)
{
    if (QWidget* page = tab(identifier)) setCurrentWidget(page);
}

std::string ClassicLayout::currentTabIdentifier() const
{
    return currentWidget() ? currentWidget()->objectName().toStdString() : std::string();
}

CNamedListTableController* ClassicLayout::getControllerForTable(const QAbstractItemView* view)
{
    if (!view) return nullptr;
    if (view == mPropertyTable || autosaveNameBegins(view, "propertyTable")) return &mPropertyTableController;
    if (view == mIncomeTable || autosaveNameBegins(view, "incomeTable")) return &mIncomeTableController;
    return nullptr;
}

QPushButton* ClassicLayout::switchButton(std::string_view name) const
{
    for (std::size_t i = 0; i < kButtonNames.size(); ++i)
        if (name == kButtonNames[i]) return mSwitchButtons[i];
    return nullptr;
}

NamedListOutlineModel& ClassicLayout::modelOf(const CNonVisualTable* table) const
{
    return table == mPropertyTable ? *mPropertyModel : *mIncomeModel;
}

BookingLineTableModel& ClassicLayout::detailsOf(const CNonVisualTable* table) const
{
    return table == mPropertyTable ? *mPropertyDetails : *mIncomeDetails;
}

QTableView* ClassicLayout::detailTable(const QAbstractItemView* table) const
{
    if (table == mPropertyTable) return mPropertyDetailTable;
    if (table == mIncomeTable) return mIncomeDetailTable;
    return nullptr;
}

CTransactionDetailTableController& ClassicLayout::propertyTransactionTableController() const
{
    return mPropertyDetails->controller();
}

CTransactionDetailTableController& ClassicLayout::incomeTransactionTableController() const
{
    return mIncomeDetails->controller();
}

CTransactionDetailTableController* ClassicLayout::detailControllerOf(const QAbstractItemView* view) const
{
    if (view && view == mPropertyDetailTable) return &mPropertyDetails->controller();
    if (view && view == mIncomeDetailTable) return &mIncomeDetails->controller();
    return nullptr;
}

std::optional<int> ClassicLayout::detailIsProperty(const QAbstractItemView* table) const
{
    if (table == mPropertyTable) return mPropertyDetails->controller().mIsProperty();
    if (table == mIncomeTable) return mIncomeDetails->controller().mIsProperty();
    return std::nullopt;
}

void ClassicLayout::applySwitch(const Switch& choice)
{
    const bool property = choice.table == Table::Property;
    CNonVisualTable* table = property ? mPropertyTable : mIncomeTable;
    CPropertyTableController& controller = property ? mPropertyTableController : mIncomeTableController;
    const CDocAccounting* root = mBooks.accounting();
    controller.setArray(root ? choice.list(*root) : nullptr);
    reloadTable(table, modelOf(table));
    const std::size_t first = property ? 0 : 4;
    const std::size_t last = property ? 4 : 7;
    for (std::size_t i = first; i < last; ++i) mSwitchButtons[i]->setChecked(i == choice.button);
    CTransactionDetailTableController& details = detailsOf(table).controller();
    if (choice.detailIsProperty) {
        details.setMIsProperty(*choice.detailIsProperty);
        details.reloadTable();
    }
    showDetailsOfSelection(table);
}

void ClassicLayout::showDetailsOfSelection(CNonVisualTable* table)
{
    detailsOf(table).controller().syncronizeWithObject(table->getCurrentItem());
}

void ClassicLayout::refreshMainTab()
{
    mOverviewStale = false;
    CDocAccounting* root = mBooks.accounting();
    if (!root) return;
    auto lines = std::make_shared<CAnalysisArrayEncaplusator>(root->getOverviewAnalysisArray());
    lines->setParentDocument(&mBooks);
    mOverviewChart->synchronizeWithArray(lines);
    constexpr std::array<CAccountTypeArray::SubListIndex, 3> groups = {
        CAccountTypeArray::kTopLevelOwnProperty, CAccountTypeArray::kTopLevelDebt, CAccountTypeArray::kTopLevelOther};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        auto types = std::make_shared<CArrayEncapsulator>();
        types->setArray(root->mAccountTypeList ? root->mAccountTypeList->Get_SubList(groups[i]) : nullptr);
        // The wrapper keeps one item at a time: the pie holds on to each.
        ChartElements wedges;
        for (std::uint32_t index = 1; index <= types->count(); ++index)
            if (CNonVisualDataItem::Ptr item = types->objectAtIndex(index)) wedges.push_back(std::move(item));
        mOverviewPies[i]->synchronizeWithElements(std::move(wedges));
    }
}

void ClassicLayout::resetAnalysisArrays()
{
    for (CNonVisualTable* table : {mPropertyTable, mIncomeTable}) {
        getControllerForTable(table)->setArray(nullptr);
        modelOf(table).reload();
        showDetailsOfSelection(table);
    }
}

void ClassicLayout::refreshAnalysisArrays()
{
    for (CNonVisualTable* table : {mPropertyTable, mIncomeTable}) {
        // The cells are read when drawn: drawing again shows today's balances.
        table->viewport()->update();
    }
}

void ClassicLayout::synchronizeTableCallback(const CNonVisualDataItem::Ptr& reference, bool below,
                                             QAbstractItemView* view)
{
    CNonVisualTable* table = view == mPropertyTable ? mPropertyTable : view == mIncomeTable ? mIncomeTable : nullptr;
    if (!table) return;
    NamedListOutlineModel& model = modelOf(table);
    reloadTable(table, model);
    const CNonVisualDataItem::Ptr opened = below ? reference : (reference ? reference->mParent() : nullptr);
    if (!opened) return;
    for (QModelIndex row = model.indexOf(opened.get()); row.isValid(); row = row.parent()) table->expand(row);
}

void ClassicLayout::setOutlineDelegate(OutlineViewDelegate* delegate)
{
    mPropertyTable->setDelegate(delegate);
    mIncomeTable->setDelegate(delegate);
}

void ClassicLayout::reloadTable(CNonVisualTable* table, NamedListOutlineModel& model)
{
    model.reload();
    expandOpenRows(table, model, {});
}

void ClassicLayout::expandOpenRows(CNonVisualTable* table, NamedListOutlineModel& model, const QModelIndex& parent)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        const auto item = model.itemAt(index);
        if (item && item->getSourceItem() && item->getSourceItem()->Get_mb_IsOpen()) {
            table->expand(index);
            expandOpenRows(table, model, index);
        }
    }
}

namespace {

std::function<const CNamedListArray*(const CDocAccounting&)> accountTypes(CAccountTypeArray::SubListIndex index)
{
    return [index](const CDocAccounting& root) {
        return root.mAccountTypeList ? root.mAccountTypeList->Get_SubList(index) : nullptr;
    };
}

std::function<const CNamedListArray*(const CDocAccounting&)> groups(CMasterExpenseTypeArray::SubListIndex index)
{
    return [index](const CDocAccounting& root) {
        return root.mMasterExpenseTypeList ? root.mMasterExpenseTypeList->Get_SubList(index) : nullptr;
    };
}

} // namespace

void ClassicLayout::switchProperty()
{
    applySwitch({0, Table::Property, accountTypes(CAccountTypeArray::kTopLevelOwnProperty), 1});
}

void ClassicLayout::switchDebt()
{
    applySwitch({1, Table::Property, accountTypes(CAccountTypeArray::kTopLevelDebt), 1});
}

void ClassicLayout::switchAssets()
{
    applySwitch({2, Table::Property, accountTypes(CAccountTypeArray::kTopLevelOther), 1});
}

void ClassicLayout::switchPL()
{
    applySwitch({3, Table::Property, accountTypes(CAccountTypeArray::kTopLevelProfitAndLoss), std::nullopt});
}

void ClassicLayout::switchIncome()
{
    applySwitch({4, Table::Income, groups(CMasterExpenseTypeArray::kIncomeLike), 1});
}

void ClassicLayout::switchExpense()
{
    applySwitch({5, Table::Income, groups(CMasterExpenseTypeArray::kExpense), -1});
}

void ClassicLayout::switchTransfer()
{
    applySwitch({6, Table::Income, groups(CMasterExpenseTypeArray::kTransfer), 0});
}

// --- commands

QAbstractItemView* ClassicLayout::commandTable() const
{
    QWidget* page = currentWidget();
    if (!page) return nullptr;
    // The window's focus, even while another window is active.
    QWidget* focus = window() ? window()->focusWidget() : nullptr;
    for (QWidget* widget = focus; widget && widget != page; widget = widget->parentWidget())
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->isVisible() && page->isAncestorOf(view))
            return view;
    const std::string shown = currentTabIdentifier();
    if (shown == "acnt") return mPropertyTable;
    if (shown == "expt") return mIncomeTable;
    return mLists->table(mLists->shownList());
}

} // namespace ch
