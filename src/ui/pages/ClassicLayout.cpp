#include "ui/pages/ClassicLayout.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "bridge/BridgeDocument.h"
#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "platform/core/localized_strings.h"
#include "ui/NamedIcons.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemListSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/lists/TransactionColumns.h"

namespace ch {

namespace {

QString text(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

enum class Table { Property, Income };

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
    for (const auto& [identifier, heading] : list) result.push_back({QString::fromLatin1(identifier), text(heading)});
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

    // "trns": the document's transactions, newest first.
    auto* transactions = new QWidget;
    transactions->setObjectName(QStringLiteral("trns"));
    auto* transactionLayout = new QVBoxLayout(transactions);
    transactionLayout->setContentsMargins(0, 0, 0, 0);
    mTransactions.setSortDescriptors({sortByTransactionDate(false)});
    mTransactionModel = std::make_unique<ItemTableModel>(mTransactions, transactionListColumns());
    if (CDocAccounting* root = books.accounting())
        mTransactions.setContent(std::make_shared<ModelListSource>(root->Get_TransactionArray(), books.dataItemController()));
    auto* transactionTable = new GXTableAncestor(transactions);
    transactionTable->setObjectName(QStringLiteral("mTransactionTable"));
    transactionTable->setModel(mTransactionModel.get());
    transactionTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    transactionTable->verticalHeader()->hide();
    transactionTable->horizontalHeader()->setStretchLastSection(true);
    transactionTable->setAlternatingRowColors(true);
    transactionLayout->addWidget(transactionTable);

    // "acnt" and "expt": switch buttons over an outline.
    auto outlinePage = [this](const char* identifier, const char* tableName, const char* autosave,
                              NamedListOutlineModel& model, std::size_t firstButton, std::size_t buttonCount,
                              CNonVisualTable*& table) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(identifier));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 6, 6, 6);
        auto* buttons = new QHBoxLayout;
        for (std::size_t i = firstButton; i < firstButton + buttonCount; ++i) {
            // A title's "&" is text, not a shortcut mark.
            auto* button = new QPushButton(text(kButtonTitles[i]).replace(QLatin1Char('&'), QLatin1String("&&")), page);
            button->setObjectName(QString::fromLatin1(kButtonNames[i]));
            button->setCheckable(true);
            button->setIconSize(QSize(32, 32));
            buttons->addWidget(button);
            mSwitchButtons[i] = button;
        }
        buttons->addStretch(1);
        layout->addLayout(buttons);
        table = new CNonVisualTable(page);
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
        connect(&model, &NamedListOutlineModel::itemRelocated, table, [table](const QModelIndex& moved) {
            if (!moved.isValid()) return;
            table->expand(moved.parent());
            table->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        });
        layout->addWidget(table, 1);
        return page;
    };
    QWidget* accounts = outlinePage("acnt", "mPropertyTable", "propertyTable", *mPropertyModel, 0, 4, mPropertyTable);
    QWidget* categories = outlinePage("expt", "mIncomeTable", "incomeTable", *mIncomeModel, 4, 3, mIncomeTable);

    addTab(transactions, text("CLASSICTRNS"));
    addTab(accounts, text("CLASSICACNT"));
    addTab(categories, text("CLASSICEXPT"));

    using Action = void (ClassicLayout::*)();
    constexpr std::array<Action, 7> actions = {&ClassicLayout::switchProperty, &ClassicLayout::switchDebt,
                                               &ClassicLayout::switchAssets,   &ClassicLayout::switchPL,
                                               &ClassicLayout::switchIncome,   &ClassicLayout::switchExpense,
                                               &ClassicLayout::switchTransfer};
    for (std::size_t i = 0; i < actions.size(); ++i)
        connect(mSwitchButtons[i], &QPushButton::clicked, this, actions[i]);
    switchProperty();
    switchIncome();
}

ClassicLayout::~ClassicLayout()
{
    // The views go before the models they show.
    while (count() > 0) delete widget(0);
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

std::optional<int> ClassicLayout::detailIsProperty(const QAbstractItemView* table) const
{
    if (table == mPropertyTable) return mPropertyDetailMode;
    if (table == mIncomeTable) return mIncomeDetailMode;
    return std::nullopt;
}

void ClassicLayout::applySwitch(const Switch& choice)
{
    const bool property = choice.table == Table::Property;
    CPropertyTableController& controller = property ? mPropertyTableController : mIncomeTableController;
    const CDocAccounting* root = mBooks.accounting();
    controller.setArray(root ? choice.list(*root) : nullptr);
    reloadTable(property ? mPropertyTable : mIncomeTable, property ? *mPropertyModel : *mIncomeModel);
    const std::size_t first = property ? 0 : 4;
    const std::size_t last = property ? 4 : 7;
    for (std::size_t i = first; i < last; ++i) mSwitchButtons[i]->setChecked(i == choice.button);
    if (choice.detailIsProperty) (property ? mPropertyDetailMode : mIncomeDetailMode) = choice.detailIsProperty;
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

} // namespace ch
