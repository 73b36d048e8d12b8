// The outline tables of model objects and the classic layout around them:
// they show exactly the model's hierarchy (sub-groups before members), the
// figures of categories and groups (sums in full precision) and none on
// other rows, drag and drop with node keys, and the classic layout's tabs
// and switch buttons route to the right table and list.

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>

#include "model/CAccType.h"
#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/outlines/CNamedListTableController.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/pages/ClassicLayout.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

class OutlineTablesTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    TestDocument books_;
    FixtureBooks ids = buildFixtureBooks(books_, 0);

    CDocAccounting& root() { return books_.root(); }
    const CNamedListArray* accountTypes(CAccountTypeArray::SubListIndex index)
    {
        return root().mAccountTypeList->Get_SubList(index);
    }
    const CNamedListArray* groups(CMasterExpenseTypeArray::SubListIndex index)
    {
        return root().mMasterExpenseTypeList->Get_SubList(index);
    }
    // The outline as text: one line per row, indented by level.
    static std::string tree(NamedListOutlineModel& model, const QModelIndex& parent = {}, int level = 0)
    {
        std::string text;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            text += std::string(static_cast<std::size_t>(level) * 2, ' ') + model.data(index).toString().toStdString() + "\n";
            text += tree(model, index, level + 1);
        }
        return text;
    }
    static QString cell(NamedListOutlineModel& model, const QModelIndex& row, const char* column)
    {
        return model.data(row.siblingAtColumn(model.columnOf(QString::fromLatin1(column)))).toString();
    }
    static QModelIndex find(NamedListOutlineModel& model, const std::string& name, const QModelIndex& parent = {})
    {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (model.data(index).toString().toStdString() == name) return index;
            if (QModelIndex inside = find(model, name, index); inside.isValid()) return inside;
        }
        return {};
    }
    static std::vector<NamedListOutlineModel::Column> allColumns()
    {
        std::vector<NamedListOutlineModel::Column> columns;
        for (const char* id : {"name", "id", "lbal", "lcur", "fbal", "fcur", "yths", "yprv", "avgt", "avgp", "totp",
                               "bala", "other"})
            columns.push_back({QString::fromLatin1(id), QString::fromLatin1(id)});
        return columns;
    }
};

TEST_F(OutlineTablesTest, ShowsExactlyTheModelsHierarchyWithSubGroupsFirst)
{
    CDocAccounting& books = root();
    // Members first, sub-groups after: the outline still lists the
    // sub-groups first.
    const ObjectIdT hobbies =
        books.InsertMasterExpenseType(-1, "Hobbies", "Hobbies", nullptr, std::nullopt, 1, FixtureBooks::kExpenseGroup)
            ->Get_Id();
    for (const char* name : {"Books", "Films", "Games"})
        books.InsertExpenseType(-1, name, name, "", std::nullopt, hobbies, std::nullopt, nullptr, 0.0);
    for (const char* name : {"Music", "Sport"})
        books.InsertMasterExpenseType(-1, name, name, nullptr, std::nullopt, 1, hobbies);
    books.InsertAccountType(-1, "Empty Type", "Empty Type", "", std::nullopt, 1, FixtureBooks::kOwnProperty);

    struct Case {
        const CNamedListArray* list;
        std::string tree;
    };
    const Case cases[] = {
        {accountTypes(CAccountTypeArray::kTopLevelOwnProperty),
         "Own Property\n  Bank Accounts\n    Dollar Account\n    Checking Account\n  Empty Type\n  Savings\n"
         "    Savings Account\n  Cash\n"},
        {groups(CMasterExpenseTypeArray::kExpense),
         "Expenses\n  Household\n    Groceries\n    Rent\n  Leisure\n    Restaurants\n  Hobbies\n    Music\n"
         "    Sport\n    Books\n    Films\n    Games\n  Transport\n    Fuel\n    Public Transport\n  Other Expenses\n"},
        {nullptr, ""},
    };
    for (const Case& c : cases) {
        CPropertyTableController controller(&books_, c.list, true);
        NamedListOutlineModel model(controller, allColumns());
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        EXPECT_EQ(tree(model), c.tree);
    }
    CPropertyTableController controller(&books_, accountTypes(CAccountTypeArray::kTopLevelOwnProperty), true);
    NamedListOutlineModel model(controller, allColumns());
    EXPECT_FALSE(model.hasChildren(find(model, "Empty Type")));
    EXPECT_TRUE(model.hasChildren(find(model, "Savings")));
}

TEST_F(OutlineTablesTest, FiguresOnCategoriesAndGroupsOnlySummedInFullPrecision)
{
    // Above a million, a single-precision sum would be off by cents.
    books_.addTransaction(20250301, ids.checking, FixtureBooks::kExpenseAccount, ids.groceries, 1234567.89);
    books_.addTransaction(20250302, ids.checking, FixtureBooks::kExpenseAccount, ids.rent, 0.05);
    CPropertyTableController incomeTable(&books_, groups(CMasterExpenseTypeArray::kExpense), true);
    NamedListOutlineModel categories(incomeTable, allColumns());
    CPropertyTableController propertyTable(&books_, accountTypes(CAccountTypeArray::kTopLevelOwnProperty), true);
    NamedListOutlineModel accounts(propertyTable, allColumns());
    struct Case {
        NamedListOutlineModel* model;
        const char* row;
        const char* column;
        const char* shown;
    };
    // In this order: each row without figures follows one with figures.
    const Case cases[] = {
        {&categories, "Household", "yths", "1,234,567.94"},
        {&categories, "Household", "bala", "1,234,567.94"},
        {&accounts, "Bank Accounts", "yths", ""},
        {&categories, "Groceries", "yths", "1,234,567.89"},
        {&accounts, "Checking Account", "bala", ""},
        {&categories, "Groceries", "bala", "1,234,567.89"},
        {&accounts, "Checking Account", "totp", ""},
        {&categories, "Household", "yprv", "0.00"},
        {&accounts, "Checking Account", "fbal", "-1,234,567.94"},
        {&accounts, "Checking Account", "lcur", "EUR"},
        {&accounts, "Dollar Account", "fcur", "USD"},
        {&accounts, "Bank Accounts", "fcur", "EUR"},
        {&accounts, "Bank Accounts", "lbal", "-1,234,567.94"},
        {&categories, "Groceries", "lbal", ""},
        {&categories, "Groceries", "fcur", "EUR"},
        {&categories, "Groceries", "other", ""},
    };
    for (const Case& c : cases) {
        const QModelIndex row = find(*c.model, c.row);
        ASSERT_TRUE(row.isValid()) << c.row;
        EXPECT_EQ(cell(*c.model, row, c.column).toStdString(), c.shown) << c.row << " " << c.column;
    }
    const QModelIndex groceries = find(categories, "Groceries");
    EXPECT_EQ(categories.data(groceries.siblingAtColumn(categories.columnOf("id"))).toLongLong(), ids.groceries);
}

TEST_F(OutlineTablesTest, DragsCarryTheNodeKeyAndDropsOntoAcceptingRowsReparent)
{
    std::vector<std::pair<CNonVisual*, CNonVisual*>> reparented;
    CPropertyTableController controller(&books_, accountTypes(CAccountTypeArray::kTopLevelOwnProperty), true);
    controller.setSetSuperitem([&](CNonVisual* parent, CNonVisual* child) {
        reparented.emplace_back(parent, child);
        return root().Put_mParentId(parent, child);
    });
    NamedListOutlineModel model(controller, allColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const ObjectIdT investments =
        root().InsertAccountType(-1, "Investments", "Investments", "", std::nullopt, 1, -1)->Get_Id();
    ASSERT_GT(investments, 6);

    // Who may be dragged: no root with an id up to 6, any other object.
    struct Drag {
        CNonVisualDataItem::Ptr item;
        bool allowed;
    };
    CNonVisualDataItem::Ptr ownProperty = model.itemAt(find(model, "Own Property"));
    const Drag drags[] = {
        {ownProperty, false},
        {controller.getDataItemForSourceItem(root().mAccountTypeList->GetValueForId(investments), nullptr), true},
        {controller.getDataItemForSourceItem(root().mExpenseTypeList->GetValueForId(3), nullptr), true},
        {model.itemAt(find(model, "Checking Account")), true},
        {std::make_shared<CNonVisualDataItem>(), false},
    };
    for (const Drag& d : drags) EXPECT_EQ(controller.canItemBeDragged(d.item.get()), d.allowed) << d.item->getName();
    EXPECT_EQ(model.mimeData({find(model, "Own Property")}), nullptr);

    std::unique_ptr<QMimeData> checking(model.mimeData({find(model, "Checking Account")}));
    ASSERT_TRUE(checking);
    EXPECT_EQ(checking->data("CNonvisualPboardType").toStdString(), std::to_string(ids.checking) + "41636e54");
    EXPECT_EQ(checking->text(), "Checking Account");
    QMimeData foreign;
    foreign.setData("CNonvisualPboardType", QByteArray::number(qlonglong(ids.groceries)) + "45787054");
    foreign.setData(kDocumentPboardType, documentMarker(&books_));
    // The same key from other books names another account.
    TestDocument otherBooks;
    QMimeData elsewhere;
    elsewhere.setData("CNonvisualPboardType", checking->data("CNonvisualPboardType"));
    elsewhere.setData(kDocumentPboardType, documentMarker(&otherBooks));

    struct Drop {
        QMimeData* data;
        int row;
        const char* onto;
        bool accepted;
    };
    const Drop refused[] = {
        {checking.get(), 0, "Savings", false},      // between rows
        {checking.get(), -1, "Cash", false},        // an account takes no account
        {&foreign, -1, "Savings", false},           // never shown in this table
        {&elsewhere, -1, "Savings", false},         // a row of other books
        {checking.get(), -1, nullptr, false},       // the root
    };
    for (const Drop& d : refused) {
        const QModelIndex onto = d.onto ? find(model, d.onto) : QModelIndex();
        EXPECT_FALSE(model.canDropMimeData(d.data, Qt::MoveAction, d.row, -1, onto)) << d.onto << d.row;
        EXPECT_FALSE(model.dropMimeData(d.data, Qt::MoveAction, d.row, -1, onto)) << d.onto << d.row;
    }
    EXPECT_TRUE(reparented.empty());
    EXPECT_TRUE(model.dropMimeData(checking.get(), Qt::MoveAction, -1, -1, find(model, "Savings")));
    ASSERT_EQ(reparented.size(), 1u);
    EXPECT_EQ(reparented[0].second->Get_Id(), ids.checking);
    EXPECT_EQ(tree(model), "Investments\nOwn Property\n  Bank Accounts\n    Dollar Account\n  Savings\n"
                           "    Checking Account\n    Savings Account\n  Cash\n");
}

TEST_F(OutlineTablesTest, ClassicLayoutSwitchesRouteToTheirTableAndGroup)
{
    ClassicLayout layout(books_, [this](CNonVisual* parent, CNonVisual* child) {
        return root().Put_mParentId(parent, child);
    });
    for (const char* identifier : {"trns", "acnt", "expt"}) {
        layout.showTab(identifier);
        EXPECT_EQ(layout.currentTabIdentifier(), identifier);
    }
    EXPECT_EQ(layout.tab("budg"), nullptr);
    EXPECT_TRUE(layout.tab("acnt")->isAncestorOf(layout.propertyTable()));
    EXPECT_TRUE(layout.tab("expt")->isAncestorOf(layout.incomeTable()));

    // A group marked open opens when its list is shown.
    root().mMasterExpenseTypeList->GetValueForId(ids.household)->Put_mb_IsOpen(true);

    const std::vector<const char*> accountButtons = {"mAcntPropertyButton", "mAcntDebtButton", "mAcntAssetButton",
                                                     "mAcntPLButton"};
    const std::vector<const char*> categoryButtons = {"mExptIncomeButton", "mExptExpenseButton",
                                                      "mExptTransferButton"};
    struct Case {
        const char* button;
        bool propertyTable;
        const CNamedListArray* list;
        std::optional<int> detailIsProperty;
    };
    const Case cases[] = {
        {"mAcntDebtButton", true, accountTypes(CAccountTypeArray::kTopLevelDebt), 1},
        {"mAcntPLButton", true, accountTypes(CAccountTypeArray::kTopLevelProfitAndLoss), 1}, // left as it was
        {"mAcntAssetButton", true, accountTypes(CAccountTypeArray::kTopLevelOther), 1},
        {"mAcntPropertyButton", true, accountTypes(CAccountTypeArray::kTopLevelOwnProperty), 1},
        {"mExptExpenseButton", false, groups(CMasterExpenseTypeArray::kExpense), -1},
        {"mExptTransferButton", false, groups(CMasterExpenseTypeArray::kTransfer), 0},
        {"mExptIncomeButton", false, groups(CMasterExpenseTypeArray::kIncomeLike), 1},
        {"mExptExpenseButton", false, groups(CMasterExpenseTypeArray::kExpense), -1},
    };
    for (const Case& c : cases) {
        layout.switchButton(c.button)->click();
        QAbstractItemView* table = c.propertyTable ? static_cast<QAbstractItemView*>(layout.propertyTable())
                                                   : layout.incomeTable();
        CNamedListTableController& controller =
            c.propertyTable ? static_cast<CNamedListTableController&>(layout.propertyTableController())
                            : layout.incomeTableController();
        EXPECT_EQ(controller.array(), c.list) << c.button;
        EXPECT_EQ(layout.detailIsProperty(table), c.detailIsProperty) << c.button;
        for (const char* button : c.propertyTable ? accountButtons : categoryButtons)
            EXPECT_EQ(layout.switchButton(button)->isChecked(), std::string(button) == c.button) << c.button;
        const QModelIndex first = table->model()->index(0, 0);
        EXPECT_EQ(static_cast<const NamedListOutlineModel*>(table->model())->itemAt(first)->getSourceItem(),
                  c.list->ObjectAt(1))
            << c.button;
    }
    EXPECT_TRUE(layout.incomeTable()->isExpanded(find(*layout.incomeModel(), "Household")));
    EXPECT_FALSE(layout.incomeTable()->isExpanded(find(*layout.incomeModel(), "Leisure")));

    // Calls from a view reach the controller of its table.
    QTreeView oldProperty, oldIncome, other;
    oldProperty.setProperty("autosaveName", "propertyTableV1");
    oldIncome.setProperty("autosaveName", "incomeTable2");
    other.setProperty("autosaveName", "budgetTable");
    struct Route {
        const QAbstractItemView* view;
        CNamedListTableController* controller;
    };
    for (const Route& r : {Route{layout.propertyTable(), &layout.propertyTableController()},
                           Route{layout.incomeTable(), &layout.incomeTableController()},
                           Route{&oldProperty, &layout.propertyTableController()},
                           Route{&oldIncome, &layout.incomeTableController()}, Route{&other, nullptr},
                           Route{nullptr, nullptr}})
        EXPECT_EQ(layout.getControllerForTable(r.view), r.controller);
}

} // namespace
} // namespace ch::test
