// The controller of one outline view over a model list, as the budget page
// uses it: folders before details, names re-sorted when shown, rows opened
// and closed with their objects' open flags, name and id cells only, and a
// current item that follows the selection until another list is shown.

#include <QAbstractItemModelTester>
#include <QCoreApplication>

#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/CNonVisualOutlineViewController.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

class OutlineViewControllerTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    TestDocument books;
    FixtureBooks ids = buildFixtureBooks(books, 0);
    CNonVisualOutlineView view;
    CNonVisualOutlineViewController controller{&view, {{"name", "Name"}, {"id", "Id"}, {"lbal", "Balance"}}};

    CNamedListArray* expenseGroups()
    {
        return books.root().mMasterExpenseTypeList->Get_SubList(CMasterExpenseTypeArray::kExpense);
    }
    CNonVisual* group(ObjectIdT id) { return books.root().mMasterExpenseTypeList->GetValueForId(id); }
    // The outline as text, one line per row, indented by level; "+" marks
    // a row the view shows open.
    std::string tree(const QModelIndex& parent = {}, int level = 0)
    {
        NamedListOutlineModel& model = controller.model();
        std::string text;
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            text += std::string(static_cast<std::size_t>(level) * 2, ' ') + (view.isExpanded(index) ? "+" : "") +
                    model.data(index).toString().toStdString() + "\n";
            text += tree(index, level + 1);
        }
        return text;
    }
    QModelIndex find(const std::string& name, const QModelIndex& parent = {})
    {
        NamedListOutlineModel& model = controller.model();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (model.data(index).toString().toStdString() == name) return index;
            if (QModelIndex inside = find(name, index); inside.isValid()) return inside;
        }
        return {};
    }
    // The outline after a view drew it: the rows asked for, then the turn
    // on which open rows open, twice for the rows inside them.
    std::string shown()
    {
        for (int turn = 0; turn < 2; ++turn) {
            tree();
            QCoreApplication::processEvents();
        }
        return tree();
    }
    void select(const std::string& name)
    {
        const QModelIndex row = find(name);
        ASSERT_TRUE(row.isValid()) << name;
        view.selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

TEST_F(OutlineViewControllerTest, FoldersFirstNamesInOrderAndRowsOpenWithTheirObjects)
{
    EXPECT_EQ(controller.numberOfChildrenOfItem(nullptr), 0u);
    CDocAccounting& root = books.root();
    const ObjectIdT gifts =
        root.InsertMasterExpenseType(-1, "Gifts", "Gifts", nullptr, std::nullopt, 1, ids.leisure)->Get_Id();
    group(ids.household)->Put_mb_IsOpen(true);
    controller.initializeWithDocument(&books, expenseGroups(), true);
    QAbstractItemModelTester tester(&controller.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    // Open rows open on the next turn, not while the view asks.
    EXPECT_EQ(tree().find('+'), std::string::npos);
    EXPECT_EQ(shown(), "+Expenses\n  +Household\n    Groceries\n    Rent\n  Leisure\n    Gifts\n    Restaurants\n"
                      "  Transport\n    Fuel\n    Public Transport\n  Other Expenses\n");
    EXPECT_FALSE(controller.isItemExpandable(controller.model().itemAt(find("Gifts")).get()));
    EXPECT_TRUE(controller.isItemExpandable(controller.model().itemAt(find("Leisure")).get()));

    // A renamed category takes its place among the others when shown again.
    root.mExpenseTypeList->GetValueForId(ids.groceries)->Put_Name("Utilities");
    controller.model().reload();
    EXPECT_EQ(shown(), "+Expenses\n  +Household\n    Rent\n    Utilities\n  Leisure\n    Gifts\n    Restaurants\n"
                      "  Transport\n    Fuel\n    Public Transport\n  Other Expenses\n");

    // Opening and closing rows marks their objects.
    view.collapse(find("Household"));
    view.expand(find("Leisure"));
    EXPECT_FALSE(group(ids.household)->Get_mb_IsOpen());
    EXPECT_TRUE(group(ids.leisure)->Get_mb_IsOpen());
    EXPECT_FALSE(group(gifts)->Get_mb_IsOpen());

    // Name and id only; a row whose object is gone says so; nothing is dragged.
    NamedListOutlineModel& model = controller.model();
    const QModelIndex rent = find("Rent");
    EXPECT_EQ(model.data(rent.siblingAtColumn(1)).toLongLong(), ids.rent);
    EXPECT_FALSE(model.data(rent.siblingAtColumn(2)).isValid());
    EXPECT_FALSE(model.flags(rent).testFlag(Qt::ItemIsDragEnabled));
    const auto cell = controller.objectValueForTableColumn("name", CNonVisualDataItem());
    ASSERT_TRUE(std::holds_alternative<std::string>(cell));
    EXPECT_EQ(std::get<std::string>(cell), "deleted");
}

TEST_F(OutlineViewControllerTest, CurrentItemIsTheLastSelectedRowUntilAnotherList)
{
    controller.initializeWithDocument(&books, expenseGroups(), true);
    int changes = 0;
    QObject::connect(&controller, &CNonVisualOutlineViewController::selectionDidChange, [&] { ++changes; });
    EXPECT_EQ(controller.currentItem(), nullptr);

    select("Rent");
    ASSERT_NE(controller.currentItem(), nullptr);
    EXPECT_EQ(controller.currentItem()->getSourceItem()->Get_Id(), ids.rent);
    view.clearSelection();
    ASSERT_NE(controller.currentItem(), nullptr);
    EXPECT_EQ(controller.currentItem()->getSourceItem()->Get_Id(), ids.rent);
    select("Leisure");
    EXPECT_EQ(controller.currentItem()->getSourceItem(), group(ids.leisure));
    EXPECT_EQ(changes, 3);

    controller.initializeWithDocument(
        &books, books.root().mAccountTypeList->Get_SubList(CAccountTypeArray::kTopLevelOwnProperty), true);
    EXPECT_EQ(controller.currentItem(), nullptr);
    EXPECT_TRUE(find("Checking Account").isValid());
    EXPECT_FALSE(find("Rent").isValid());
}

} // namespace
} // namespace ch::test
