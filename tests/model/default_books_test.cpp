// The default set of books of a new document.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/CAccountOwner.h"
#include "model/foundation/CLocalize.h"

namespace ch::test {
namespace {

using DefaultBooksTest = BookingTest;

// The texts of the string tables, found by the keys exactly as written.
std::string Name(const char* key)
{
    char name[kNameSize];
    return CLocalize::LocalizedName(key, name);
}

std::string Description(const char* key)
{
    char description[kDescriptionSize];
    return CLocalize::LocalizedDesc(key, description);
}

TEST_F(DefaultBooksTest, FixedIdsNamesAndTrees)
{
    ASSERT_NE(root.mPreference, nullptr);
    EXPECT_EQ(root.mPreference->Get_mNrOfDecimals(), 2);
    ASSERT_NE(root.Get_Me(), nullptr);
    EXPECT_EQ(root.Get_Me()->Get_StringrefName(), "Me");
    ASSERT_NE(Currency(1), nullptr);
    EXPECT_EQ(Currency(1)->Get_ShortStringRefName(), "EUR");
    EXPECT_EQ(root.mCurrencyList->GetCount(), 1u);

    const struct {
        ObjectIdT id;
        const char* name;
        long masterType;
        bool open;
    } types[] = {{1, "OwnProperty", 1, true}, {2, "Debt", 2, false}, {3, "PLAcctName", 3, false},
                 {6, "Assets", 6, false}};
    EXPECT_EQ(root.mAccountTypeList->GetCount(), 4u);
    for (const auto& t : types) {
        SCOPED_TRACE(t.name);
        ASSERT_NE(Type(t.id), nullptr);
        EXPECT_EQ(Type(t.id)->Get_StringrefName(), Name(t.name));
        EXPECT_EQ(Type(t.id)->Get_mMasterType(), t.masterType);
        EXPECT_EQ(Type(t.id)->Get_mb_IsOpen(), t.open);
    }
    char description[kDescriptionSize];
    Type(3)->Get_mDescription(description);
    EXPECT_EQ(description, Description("PLAcctDesc"));

    const struct {
        ObjectIdT id;
        const char* name;
        const char* description;
        ObjectIdT type;
    } accounts[] = {{1, "correctionAnctName", "correctionAnctDesc", 3},
                    {2, "profitAnctName", "profitAnctDesc", 3},
                    {3, "lossesAnctName", "lossesAnctDesc", 3},
                    {4, "defaultAnctName", "defaultAnctDesc", 1}};
    EXPECT_EQ(root.mAccountList->GetCount(), 4u);
    for (const auto& a : accounts) {
        SCOPED_TRACE(a.name);
        ASSERT_NE(Account(a.id), nullptr);
        EXPECT_EQ(Account(a.id)->Get_StringrefName(), Name(a.name));
        EXPECT_EQ(Account(a.id)->Get_StringrefDesc(), Description(a.description));
        EXPECT_EQ(Account(a.id)->Get_mAccountTypePtr(), Type(a.type));
        EXPECT_EQ(Account(a.id)->Get_mCurrency(), 1);
        EXPECT_EQ(Type(a.type)->Get_Details()->FetchIndexOfObject(Account(a.id)) > 0, true);
    }

    const struct {
        ObjectIdT id;
        const char* name;
        bool open;
    } groups[] = {{0, "incomeMxpTName", true}, {1, "expenseMxpTName", true}, {2, "transferMxpTName", true},
                  {3, "openingMxpTName", false}, {4, "correcionMxpTName", false}};
    EXPECT_EQ(root.mMasterExpenseTypeList->GetCount(), 5u);
    for (const auto& g : groups) {
        SCOPED_TRACE(g.name);
        ASSERT_NE(Group(g.id), nullptr);
        EXPECT_EQ(Group(g.id)->Get_StringrefName(), Name(g.name));
        EXPECT_EQ(Group(g.id)->Get_mMasterExpenseType(), g.id);
        EXPECT_EQ(Group(g.id)->Get_mb_IsOpen(), g.open);
    }

    const struct {
        ObjectIdT id;
        const char* name;
        ObjectIdT group;
    } categories[] = {{1, "expenseExpTName", 1}, {2, "incomeExpTName", 0}, {3, "transferExpTName", 2},
                      {4, "openingExpTName", 3}, {5, "currencyExpTName", 4}, {6, "correctionsExpTName", 4}};
    EXPECT_EQ(root.mExpenseTypeList->GetCount(), 6u);
    for (const auto& c : categories) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(Category(c.id), nullptr);
        EXPECT_EQ(Category(c.id)->Get_StringrefName(), Name(c.name));
        EXPECT_EQ(Category(c.id)->Get_mMasterType(), c.group);
        EXPECT_EQ(Category(c.id)->Get_mMasterExpensetypePtr(), Group(c.group));
    }
    char categoryDescription[kDescriptionSize];
    Category(5)->Get_mDescription(categoryDescription);
    EXPECT_EQ(categoryDescription, Description("currencyExpTDesc"));
}

TEST_F(DefaultBooksTest, SingleDefaultObjectsTakeTheirLocalizedTexts)
{
    constexpr ObjectIdT kIncomeGroup = 0;
    CMasterExpenseType* group =
        root.insertDefaultMasterExpenseType("transferMxpTName", group_kind::kIncome, kIncomeGroup);
    ASSERT_NE(group, nullptr);
    EXPECT_GT(group->Get_Id(), 6);
    EXPECT_EQ(Group(group->Get_Id()), group);
    EXPECT_EQ(group->Get_StringrefName(), Name("transferMxpTName"));
    EXPECT_EQ(group->Get_mMasterExpenseType(), group_kind::kIncome);
    EXPECT_EQ(group->Get_mParentId(), kIncomeGroup);

    CExpenseType* category =
        root.insertDefaultExpenseType("currencyExpTName", "currencyExpTDesc", group->Get_Id());
    ASSERT_NE(category, nullptr);
    EXPECT_GT(category->Get_Id(), 6);
    EXPECT_EQ(Category(category->Get_Id()), category);
    EXPECT_EQ(category->Get_StringrefName(), Name("currencyExpTName"));
    char description[kDescriptionSize];
    category->Get_mDescription(description);
    EXPECT_EQ(description, Description("currencyExpTDesc"));
    EXPECT_EQ(category->Get_mMasterExpensetypePtr(), group);

    // Groups are made while a category can still name them.
    ObjectIdT last = group->Get_Id();
    env.alerts().clear();
    while (CMasterExpenseType* more = root.insertDefaultMasterExpenseType("Filler", group_kind::kExpense, -1))
        last = more->Get_Id();
    EXPECT_EQ(last, CMasterExpenseType::kMaxCategoryGroupId);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{CMasterExpenseType::kErrorGroupIdTooLarge});
}

TEST(DefaultBooksSymbolTest, ALongSymbolIsCutLikeAnyCurrencyName)
{
    ModelEnvironment env;
    CDocAccounting root;
    root.SetDefaults("A currency symbol that is far too long for its field");
    auto* home = static_cast<CCurrency*>(root.mCurrencyList->GetValueForId(1));
    ASSERT_NE(home, nullptr);
    char name[kNameSize];
    home->Get_ShortName(name);
    EXPECT_LE(std::string(name).size(), 34u);
}

} // namespace
} // namespace ch::test
