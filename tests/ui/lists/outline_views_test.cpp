// The outline views' edit actions: what reaches the document for the
// selected row, the information shown when a row of the wrong kind (or
// none) is selected, and the accounts, category and type of a transaction
// added for a row.

#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "ui/outlines/CNamedListTableController.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

// Records the document operations as "operation name [below] [group]".
class RecordingOutlineDelegate : public OutlineViewDelegate {
public:
    void deleteObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView*) override
    {
        calls.push_back("delete " + item->getName());
    }
    void modifyObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView*) override
    {
        calls.push_back("modify " + item->getName());
    }
    bool insertObjectWithReferenceNode(const CNonVisualDataItem::Ptr& item, bool below, QAbstractItemView*,
                                       bool asGroup) override
    {
        calls.push_back("insert " + item->getName() + (below ? " below" : "") + (asGroup ? " group" : ""));
        return true;
    }
    void askTransactionInput(CNonVisual* from, CNonVisual* to, CNonVisual* category, int type) override
    {
        transactions.push_back({from, to, category, type});
    }
    std::vector<std::string> calls;
    std::vector<RowTransaction> transactions;
};

class OutlineViewsTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    TestDocument books;
    FixtureBooks ids = buildFixtureBooks(books, 0);
    CPropertyTableController accountController{&books, books.root().mAccountTypeList->Get_SubList(
                                                            CAccountTypeArray::kTopLevelOwnProperty),
                                               true};
    CPropertyTableController categoryController{
        &books, books.root().mMasterExpenseTypeList->Get_SubList(CMasterExpenseTypeArray::kExpense), true};
    NamedListOutlineModel accounts{accountController, {{"name", "Name"}}};
    NamedListOutlineModel categories{categoryController, {{"name", "Name"}}};
    RecordingOutlineDelegate delegate;

    static QModelIndex find(NamedListOutlineModel& model, const std::string& name, const QModelIndex& parent = {})
    {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (model.data(index).toString().toStdString() == name) return index;
            if (QModelIndex inside = find(model, name, index); inside.isValid()) return inside;
        }
        return {};
    }
    template <class View>
    std::unique_ptr<View> view(NamedListOutlineModel& model, const char* selected)
    {
        auto shown = std::make_unique<View>();
        shown->setModel(&model);
        shown->setDelegate(&delegate);
        if (selected) {
            const QModelIndex row = find(model, selected);
            EXPECT_TRUE(row.isValid()) << selected;
            shown->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        return shown;
    }
};

TEST_F(OutlineViewsTest, EditActionsReachTheDocumentForTheSelectedRow)
{
    struct Case {
        bool table; // CNonVisualTable, else CNonVisualOutlineView
        bool categoryOutline;
        const char* selected;
        std::function<void(CNonVisualOutlineView&)> action;
        std::vector<std::string> calls;
        std::vector<long> alerts;
    };
    auto asTable = [](void (CNonVisualTable::*action)()) {
        return [action](CNonVisualOutlineView& view) { (static_cast<CNonVisualTable&>(view).*action)(); };
    };
    auto any = [](void (CNonVisualOutlineView::*action)()) {
        return [action](CNonVisualOutlineView& view) { (view.*action)(); };
    };
    const Case cases[] = {
        {false, false, nullptr, any(&CNonVisualOutlineView::deleteSelected), {}, {}},
        {true, false, nullptr, any(&CNonVisualOutlineView::deleteSelected), {}, {252}},
        {true, false, "Checking Account", any(&CNonVisualOutlineView::deleteSelected), {"delete Checking Account"}, {}},
        {false, false, "Savings", any(&CNonVisualOutlineView::modifyObject), {"modify Savings"}, {}},
        {false, false, nullptr, any(&CNonVisualOutlineView::newObject), {}, {}},
        {false, true, "Household", any(&CNonVisualOutlineView::newGroupBelow), {"insert Household below group"}, {}},
        {true, true, "Household", asTable(&CNonVisualTable::newCategory), {"insert Household below"}, {}},
        {true, true, "Groceries", asTable(&CNonVisualTable::newCategory), {"insert Groceries"}, {}},
        {true, true, "Groceries", asTable(&CNonVisualTable::newAccount), {}, {251}},
        {true, false, "Bank Accounts", asTable(&CNonVisualTable::newAccount), {"insert Bank Accounts below"}, {}},
        {true, false, "Checking Account", asTable(&CNonVisualTable::newAccount), {"insert Checking Account"}, {}},
        {true, false, "Bank Accounts", asTable(&CNonVisualTable::newCategory), {}, {251}},
        {true, false, nullptr, asTable(&CNonVisualTable::newAccount), {}, {251}},
    };
    for (const Case& c : cases) {
        delegate.calls.clear();
        environment.alerts().clear();
        NamedListOutlineModel& model = c.categoryOutline ? categories : accounts;
        std::unique_ptr<CNonVisualOutlineView> shown;
        if (c.table)
            shown = view<CNonVisualTable>(model, c.selected);
        else
            shown = view<CNonVisualOutlineView>(model, c.selected);
        c.action(*shown);
        EXPECT_EQ(delegate.calls, c.calls) << c.selected;
        EXPECT_EQ(environment.alerts().numbers(), c.alerts) << c.selected;
    }
    // A new object inside a row opens that row.
    auto table = view<CNonVisualTable>(categories, "Leisure");
    table->newCategory();
    EXPECT_TRUE(table->isExpanded(find(categories, "Leisure")));
}

TEST_F(OutlineViewsTest, ATransactionAddedForARowStartsFromItsAccountOrCategory)
{
    CDocAccounting& root = books.root();
    CNonVisual* opening = root.InsertMasterExpenseType(-1, "Opening", "Opening", nullptr, std::nullopt, 3, -1);
    CNonVisual* openingCategory =
        root.InsertExpenseType(-1, "Start", "Start", "", std::nullopt, opening->Get_Id(), std::nullopt, nullptr, 0.0);
    CNonVisual* checking = root.mAccountList->GetValueForId(ids.checking);
    // Items of their own, apart from those the outlines show.
    CPropertyTableController items(&books, nullptr, true);
    auto item = [&](CNonVisual* object) { return items.getDataItemForSourceItem(object, nullptr); };
    auto category = [&](ObjectIdT id) { return item(root.mExpenseTypeList->GetValueForId(id)); };
    struct Case {
        CNonVisualDataItem::Ptr row;
        bool moneyIn;
        CNonVisual* from;
        CNonVisual* to;
        bool withCategory;
        int type;
    };
    const Case cases[] = {
        {item(checking), true, nullptr, checking, false, 3},
        {item(checking), false, checking, nullptr, false, 3},
        {category(ids.salary), true, nullptr, nullptr, true, 1},
        {category(ids.groceries), false, nullptr, nullptr, true, 0},
        {category(FixtureBooks::kTransferCategory), true, nullptr, nullptr, true, 2},
        {item(openingCategory), true, nullptr, nullptr, true, 3},
        {item(root.mMasterExpenseTypeList->GetValueForId(ids.household)), false, nullptr, nullptr, false, 3},
        {nullptr, true, nullptr, nullptr, false, 3},
    };
    for (const Case& c : cases) {
        const RowTransaction request = transactionForRow(c.row.get(), c.moneyIn);
        const std::string name = c.row ? c.row->getName() : "none";
        EXPECT_EQ(request.fromAccount, c.from) << name;
        EXPECT_EQ(request.toAccount, c.to) << name;
        EXPECT_EQ(request.category, c.withCategory ? c.row->getSourceItem() : nullptr) << name;
        EXPECT_EQ(request.type, c.type) << name;
    }
    // The view's actions pass the same to the document.
    auto shown = view<CNonVisualOutlineView>(accounts, "Checking Account");
    shown->addGreenTransaction();
    shown->addRedTransaction();
    shown->addEmptyTransaction();
    ASSERT_EQ(delegate.transactions.size(), 3u);
    EXPECT_EQ(delegate.transactions[0].toAccount, checking);
    EXPECT_EQ(delegate.transactions[1].fromAccount, checking);
    EXPECT_EQ(delegate.transactions[2].fromAccount, nullptr);
    EXPECT_EQ(delegate.transactions[2].toAccount, nullptr);
    EXPECT_EQ(delegate.transactions[2].type, 3);
}

} // namespace
} // namespace ch::test
