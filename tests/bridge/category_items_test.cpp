// Category and category-group items: colours, the group tree, line lists and
// the sheets' parameters.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bridge/ArgumentRecords.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/TextColours.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

class CategoryItemsTest : public BooksTest {
protected:
    std::shared_ptr<CExpTItem> categoryItem(ObjectIdT id)
    {
        return registry.categoryItemForCategory(document.root().mExpenseTypeList->GetValueForId(id));
    }
    std::shared_ptr<CMxpTItem> groupItem(ObjectIdT id)
    {
        return registry.categoryTypeItemForCategoryType(document.root().mMasterExpenseTypeList->GetValueForId(id));
    }
};

TEST_F(CategoryItemsTest, WhiteCategoriesTakeTheColourOfTheirKind)
{
    // Default categories: 2 income, 1 expense, 3 transfer.
    EXPECT_EQ(categoryItem(2)->chartColor(), getGreenColor());
    EXPECT_EQ(categoryItem(1)->chartColor(), getRedColor());
    EXPECT_EQ(categoryItem(3)->chartColor(), getBlueColor());

    auto coloured = categoryItem(1);
    coloured->setGetColor(Colour{1.0, 1.0, 0.99, 1.0});
    EXPECT_FALSE(coloured->chartColor().isWhite());
    EXPECT_NEAR(coloured->chartColor().blue, 0.99, 1e-4);
    EXPECT_EQ(coloured->objectColor(), coloured->getColor());

    // A detached category copied from another shows the other's colour.
    auto copy = std::make_shared<CExpTItem>();
    copy->synchronizeWithObject(*categoryItem(2));
    EXPECT_EQ(copy->objectColor(), getGreenColor());
}

TEST_F(CategoryItemsTest, ColourComponentsAreCutTowardZero)
{
    CExpenseType* category = document.addCategory(20, 1, "Food");
    auto item = registry.categoryItemForCategory(category);
    item->setGetColor(Colour{0.5, 0.0, 1.0, 1.0});
    EXPECT_EQ(category->Get_Color().red, 32767);
    EXPECT_EQ(category->Get_Color().blue, 65535);
}

TEST_F(CategoryItemsTest, GroupLinesListChildGroupsFirst)
{
    CMasterExpenseType* parent = document.addGroup(7, "Household");
    document.addGroup(8, "Car", 7);
    document.addCategory(20, 7, "Food");
    document.addCategory(21, 8, "Fuel");
    CTransaction* food = document.addTransaction(20240301, 4, 3, 20, 12.0);
    CTransaction* fuel = document.addTransaction(20240302, 4, 3, 21, 40.0);
    auto item = registry.categoryTypeItemForCategoryType(parent);

    LineItemArray lines = item->forTransactionDetails();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->getSourceItem(), fuel->GetExpenseTypeList()->ObjectAt(1));
    EXPECT_EQ(lines[1]->getSourceItem(), food->GetExpenseTypeList()->ObjectAt(1));
    EXPECT_EQ(item->pieChartChildrenArray().size(), 2u);
}

TEST_F(CategoryItemsTest, GroupPostsOnlyItsOwnBalanceAndItsTreeChanges)
{
    CMasterExpenseType* parent = document.addGroup(7, "Household");
    CMasterExpenseType* child = document.addGroup(8, "Car", 7);
    auto item = registry.categoryTypeItemForCategoryType(parent);
    ASSERT_EQ(item->children().size(), 1u);
    NotificationLog log(document.notificationCenter(),
                        {"FOLDERBALANCECHANGED", "CHILDFOLDERSCHANGEDNOTIFICATION"});

    parent->BroadcastMessage(msg::kBalanceChanged, child);   // relayed for a child
    EXPECT_EQ(log.count("FOLDERBALANCECHANGED"), 0u);
    parent->BroadcastMessage(msg::kBalanceChanged, parent);
    EXPECT_EQ(log.count("FOLDERBALANCECHANGED"), 1u);

    document.addGroup(9, "Garden", 7);
    EXPECT_EQ(log.count("CHILDFOLDERSCHANGEDNOTIFICATION"), 1u);
    EXPECT_EQ(item->children().size(), 2u);
}

TEST_F(CategoryItemsTest, SystemTypeCanChangeOnlyWhileEmpty)
{
    CMasterExpenseType* group = document.addGroup(7, "Spare");
    auto item = registry.categoryTypeItemForCategoryType(group);
    EXPECT_TRUE(item->canSystemTypeBeModified());
    EXPECT_TRUE(item->canItemBeRelocated());
    EXPECT_FALSE(groupItem(1)->canItemBeRelocated());

    document.addCategory(20, 7, "Misc");
    EXPECT_FALSE(item->canSystemTypeBeModified());
}

TEST_F(CategoryItemsTest, GroupParametersMoveOnlyToAnotherParent)
{
    document.addGroup(7, "Household");
    document.addGroup(10, "Hobby");
    CMasterExpenseType* child = document.addGroup(8, "Car", 7);
    auto item = registry.categoryTypeItemForCategoryType(child);
    int parentAnnouncements = 0;
    Subscription watch = item->observe("mParentId", [&](Observable&, const std::string&) { ++parentAnnouncements; });

    CategoryGroupParameters parameters;
    parameters.name = "Vehicles";
    parameters.mParentId = 7;
    item->synchronizeWithParameters(parameters);
    EXPECT_EQ(item->getName(), "Vehicles");
    EXPECT_EQ(parentAnnouncements, 0);

    parameters.mParentId = 10;
    parameters.mColor = Colour{0.0, 0.0, 1.0, 1.0};
    item->synchronizeWithParameters(parameters);
    EXPECT_EQ(child->Get_mParentId(), 10);
    EXPECT_EQ(item->getColor(), (Colour{0.0, 0.0, 1.0, 1.0}));
}

TEST_F(CategoryItemsTest, CategoryParametersGoIntoTheModel)
{
    CExpenseType* category = document.addCategory(20, 1, "Food");
    auto item = registry.categoryItemForCategory(category);
    item->setDescription("Groceries");

    CategoryParameters parameters;
    parameters.name = "Meals";
    parameters.mMasterTypeId = 0;        // income group: allowed without bookings
    parameters.mTaxDeductiblePct = 50.0;
    item->synchronizeWithParameters(parameters);

    EXPECT_EQ(item->getName(), "Meals");
    EXPECT_EQ(item->description(), "");   // cleared in both copies
    EXPECT_EQ(category->Get_StringrefDesc(), "");
    EXPECT_EQ(item->getMasterExpenseTypeId(), 0);
    EXPECT_EQ(item->getTaxDeductiblePct(), 50.0);
    EXPECT_EQ(category->Get_Color(), RGBColor{});   // no colour given: unchanged
}

TEST_F(CategoryItemsTest, RefusedMoveLeavesTheCategoryInItsGroup)
{
    CExpenseType* category = document.addCategory(20, 1, "Food");
    document.addTransaction(20240301, 4, 3, 20, 12.0);
    auto item = registry.categoryItemForCategory(category);

    item->setMasterExpenseTypeId(0);   // expense to income with bookings
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{147});
    EXPECT_EQ(item->getMasterExpenseTypeId(), 1);
}

TEST_F(CategoryItemsTest, LineListFollowsTheBookingsOfTheCategory)
{
    CExpenseType* category = document.addCategory(20, 1, "Food");
    auto item = registry.categoryItemForCategory(category);
    ASSERT_TRUE(item->forTransactionDetails().empty());

    CTransaction* transaction = document.addTransaction(20240301, 4, 3, 20, 12.0);
    auto* second = transaction->Add_ExpenseType(-1, false, 3.0);
    transaction->Set_ExpenseType_Account(second, 20);
    LineItemArray lines = item->forTransactionDetails();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.back(), registry.debetItemForTransactionDetail(second));

    transaction->Delete_ExpenseType(second);
    lines = item->forTransactionDetails();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.front()->getSourceItem(), transaction->GetExpenseTypeList()->ObjectAt(1));

    const std::optional<CLevelCounters> totals =
        item->getBalanceInPeriod(20240301, 20240301, 20240302, 20240331, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(totals->resultAtIndex(0), 12.0);
    EXPECT_DOUBLE_EQ(totals->resultAtIndex(1), 0.0);
}

} // namespace
} // namespace ch::test
