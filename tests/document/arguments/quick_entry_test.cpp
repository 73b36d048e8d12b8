// The side bar's quick entry: from what the user typed in one account to the
// accounts, type, category and category amount of a simple transaction.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../../bridge/bridge_test_support.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "platform/core/localized_strings.h"

namespace ch::test {
namespace {

using arguments::SimpleTransactionArguments;

class QuickEntryTest : public BooksTest {
protected:
    // Default books: type 1 holds assets, 2 debts, 3 profit and loss;
    // categories 1 expense, 2 income, 3 transfer are the unspecified ones.
    static constexpr long kCard = 20, kShop = 21, kBank = 22, kEmployer = 23, kGrocer = 24, kTenant = 25;

    QuickEntryTest()
    {
        document.addAccount(kCard, 2, "Card");
        document.addAccount(kShop, 3, "Shop");
        document.addAccount(kBank, 1, "Bank");
        document.addAccount(kEmployer, 3, "Employer");
        document.addAccount(kGrocer, 3, "Grocer");
        document.addAccount(kTenant, 3, "Tenant");
        // The grocer books on the expense category by default, the tenant on
        // the income one, the employer on one the books lack.
        document.getAccountItemForId(kGrocer)->setGetDefaultExensetypeId(1);
        document.getAccountItemForId(kTenant)->setGetDefaultExensetypeId(2);
        document.getAccountItemForId(kEmployer)->setGetDefaultExensetypeId(99);
        for (const auto& [key, text] : std::vector<std::pair<std::string, std::string>>{
                 {"STORE", "Store"}, {"incomeMxpTName", "Income"}, {"expenseMxpTName", "Expense"},
                 {"transferMxpTName", "Transfer"}})
            LocalizedStrings::shared().set(key, text);
    }
};

TEST_F(QuickEntryTest, WorksOutAccountsTypeAndCategoryFromWhatWasTyped)
{
    const std::optional<long> none;
    const struct {
        std::optional<long> our, other;
        double amount;
        std::optional<long> from, to;
        int type;
        std::optional<long> category;
        double categoryAmount;
        const char* title;
    } cases[] = {
        // Money from a shop into the bank is income; into the shop, an expense.
        {kBank, kShop, 100.0, kShop, kBank, 0, 2, 100.0, "Store Income"},
        {kBank, kShop, -100.0, kBank, kShop, 1, 1, 100.0, "Store Expense"},
        // A debt account gives when the amount is positive.
        {kCard, kShop, 50.0, kCard, kShop, 1, 1, 50.0, "Store Expense"},
        {kCard, kShop, -50.0, kShop, kCard, 0, 2, 50.0, "Store Income"},
        {kCard, kBank, 75.0, kCard, kBank, 2, 3, 75.0, "Store Transfer"},
        // Neither asset nor debt: the other account decides when it is an asset.
        {kShop, kBank, 20.0, kBank, kShop, 1, 1, 20.0, "Store Expense"},
        {kShop, kEmployer, 5.0, kShop, kEmployer, 2, 3, 5.0, "Store Transfer"},
        {kBank, kBank, 10.0, kBank, kBank, 2, 3, 10.0, "Store Transfer"},
        // An incomplete entry books as an unspecified transfer.
        {kBank, none, 10.0, none, kBank, 6, 3, 10.0, "Store "},
        {none, kShop, -10.0, kShop, none, 6, 3, 10.0, "Store "},
        // The other account's default category, when the books know it, and
        // its sign against the type.
        {kBank, kGrocer, -30.0, kBank, kGrocer, 1, 1, 30.0, "Store Expense"},
        {kBank, kGrocer, 30.0, kGrocer, kBank, 0, 1, -30.0, "Store Income"},
        {kBank, kTenant, 40.0, kTenant, kBank, 0, 2, 40.0, "Store Income"},
        {kBank, kTenant, -40.0, kBank, kTenant, 1, 2, -40.0, "Store Expense"},
        {kBank, kEmployer, 2500.0, kEmployer, kBank, 0, 2, 2500.0, "Store Income"},
        {kBank, kShop, 0.0, kShop, kBank, 0, 2, 0.0, "Store Income"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "our " << c.our.value_or(-1) << ", other " << c.other.value_or(-1)
                                        << ", amount " << c.amount);
        SimpleTransactionArguments entry(20240315, c.our);
        entry.setOtherAccountId(c.other);
        entry.setAmount(c.amount);
        entry.setParentDocument(&document);
        EXPECT_EQ(entry.fromAccountId(document), c.from);
        EXPECT_EQ(entry.toAccountId(document), c.to);
        EXPECT_EQ(entry.getTransactionType(document), c.type);
        EXPECT_EQ(entry.category(document), c.category);
        EXPECT_EQ(entry.absoluteAmount(), c.amount < 0 ? -c.amount : c.amount);
        EXPECT_EQ(entry.categoryAmount(document), c.categoryAmount);
        EXPECT_EQ(entry.actionTitle(), c.title);
    }
}

TEST_F(QuickEntryTest, GivesTheTransactionItemACompleteEntryOnly)
{
    SimpleTransactionArguments entry(20240315, kBank);
    entry.setName("Bakery");
    entry.setAmount(-12.5);
    EXPECT_EQ(entry.transactionValues(document), std::nullopt);

    entry.setOtherAccountId(kGrocer);
    const std::optional<ch::SimpleTransactionArguments> values = entry.transactionValues(document);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->fromAccountId, kBank);
    EXPECT_EQ(values->toAccountId, kGrocer);
    EXPECT_EQ(values->category, 1);
    EXPECT_EQ(values->absoluteAmount, 12.5);
    EXPECT_EQ(values->categoryAmount, 12.5);
    EXPECT_EQ(values->name, "Bakery");
    EXPECT_EQ(values->date, 20240315);
}

TEST_F(QuickEntryTest, ResetKeepsDateAccountDescriptionAndCategoryAndTellsTheTitle)
{
    SimpleTransactionArguments entry(20240315, kBank);
    entry.setName("Bakery");
    entry.setDescription("Bread");
    entry.setReasonId(1);
    entry.setOtherAccountId(kShop);
    entry.setAmount(-12.5);
    std::vector<std::string> announced;
    Subscription subscription =
        entry.observe([&](Observable&, const std::string& key) { announced.push_back(key); });

    entry.setAmount(-12.5);
    EXPECT_TRUE(announced.empty());
    entry.reset();
    EXPECT_EQ(entry.amount(), 0.0);
    EXPECT_EQ(entry.name(), "");
    EXPECT_EQ(entry.otherAccountId(), std::nullopt);
    EXPECT_EQ(entry.date(), 20240315);
    EXPECT_EQ(entry.ourAccountId(), kBank);
    EXPECT_EQ(entry.description(), "Bread");
    EXPECT_EQ(entry.reasonId(), 1);
    EXPECT_EQ(announced, (std::vector<std::string>{"amount", "actionTitle", "name", "otherAccountId",
                                                   "actionTitle"}));
}

TEST_F(QuickEntryTest, WritesTheOtherAccountOnlyWithOurs)
{
    SimpleTransactionArguments entry;
    entry.setOtherAccountId(kShop);
    entry.setAmount(5.0);
    EXPECT_EQ(entry.toText(), "{ActionToPerform = 0; ArgumentClass = SimpleTransactionArguments; "
                              "TransactionAmount = 5; }");
    entry.setOurAccountId(kBank);
    EXPECT_EQ(entry.toText(), "{ActionToPerform = 0; ArgumentClass = SimpleTransactionArguments; "
                              "OtherAccountId = 21; OurAccountId = 22; TransactionAmount = 5; }");
}

} // namespace
} // namespace ch::test
