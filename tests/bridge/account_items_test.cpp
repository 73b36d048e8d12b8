// Account-type and account items: reading and writing the model, following
// its messages, and applying the sheets' argument records.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bridge/ArgumentRecords.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/TextColours.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

class AccountItemsTest : public BooksTest {
protected:
    std::vector<std::string> names(const CNonVisualDataItem::ItemArray& items)
    {
        std::vector<std::string> result;
        for (const auto& item : items) result.push_back(item->getName());
        return result;
    }
    std::size_t transactionCount() { return document.root().mTransactionList->GetCount(); }
};

TEST_F(AccountItemsTest, OnlyFixedTopLevelTypesStayInPlace)
{
    document.addAccountType(5, 5, "Loans");
    document.addAccountType(20, 1, "Savings", 1);

    EXPECT_FALSE(document.getAccountTypeItemForId(5)->canItemBeRelocated());
    EXPECT_TRUE(document.getAccountTypeItemForId(6)->canItemBeRelocated());
    EXPECT_TRUE(document.getAccountTypeItemForId(20)->canItemBeRelocated());
    EXPECT_FALSE(std::make_shared<CAccTItem>()->canItemBeRelocated());
}

TEST_F(AccountItemsTest, LeafArrayListsFoldersOnlyWhenTheUserAsks)
{
    document.addAccountType(30, 1, "Top");
    document.addAccountType(31, 1, "Inner", 30);
    document.addAccount(41, 31, "B");
    document.addAccount(40, 30, "A");
    auto top = document.getAccountTypeItemForId(30);

    EXPECT_EQ(names(top->leafArray()), (std::vector<std::string>{"B", "A"}));
    environment.defaults().set("GXCShowFoldersInSequentialObjectList", true);
    EXPECT_EQ(names(top->leafArray()), (std::vector<std::string>{"Top", "Inner", "B", "A"}));
}

TEST_F(AccountItemsTest, TypeItemPostsBalanceAndTreeChangesOfItsOwnDocument)
{
    auto ownProperty = document.getAccountTypeItemForId(1);
    ASSERT_TRUE(ownProperty->children().empty());
    NotificationLog log(document.notificationCenter(),
                        {"FOLDERBALANCECHANGED", "CHILDFOLDERSCHANGEDNOTIFICATION"});

    document.addTransaction(20240301, 4, 2, 2, 25.0);
    EXPECT_GE(log.count("FOLDERBALANCECHANGED"), 1u);
    EXPECT_EQ(log.posted.front().objectAs<CAccTItem>(), ownProperty);

    document.addAccountType(20, 1, "Savings", 1);
    EXPECT_EQ(log.count("CHILDFOLDERSCHANGEDNOTIFICATION"), 1u);
    EXPECT_EQ(names(ownProperty->children()), (std::vector<std::string>{"Savings"}));
}

TEST_F(AccountItemsTest, TypeParametersGoIntoTheModel)
{
    auto item = document.getAccountTypeItemForId(document.addAccountType(20, 1, "New")->Get_Id());
    AccountTypeArguments arguments;
    arguments.accountTypeName = "Savings";
    arguments.accountingNumber = "1200";
    arguments.accountTypeDescription = std::string(260, 'x');
    arguments.theMasterType = 1;
    arguments.theAccountTypeId = 1;

    item->synchronizeWithParameters(arguments);

    EXPECT_EQ(item->getNameOnly(), "Savings");
    EXPECT_EQ(item->getName(), "1200 : Savings");
    EXPECT_EQ(item->getAccountNumber(), "1200");
    EXPECT_EQ(item->getDescription(), std::string(254, 'x'));
    EXPECT_EQ(item->getParentType(), 1);
    EXPECT_EQ(item->accountTypeName(), document.getAccountTypeItemForId(1)->getName());
}

TEST_F(AccountItemsTest, CreditCardDescriptionShowsWhatIsOwedInRed)
{
    CAccount* card = document.addAccount(50, 2, "Visa");
    card->Put_mAccountSpecialType(1);
    auto item = registry.accountItemForAccount(card);
    EXPECT_TRUE(item->isCreditCard());

    StyledText text = item->creditCardDescription();
    EXPECT_EQ(text.plainText(), "Visa\n000-000000-00\n0.00");   // an empty description adds no line
    EXPECT_EQ(text.runs.back().colour, getRedColor());

    card->Put_mLocalBalance(-10.0);
    card->Put_mBalance(-10.0);
    EXPECT_EQ(item->creditCardDescription().runs.back().colour, getGreenColor());
    // Spendings paid off to the cent in another order leave -1.4e-14: it
    // reads 0.00, and is red as 0.00 is.
    card->Put_mLocalBalance(100.0 + 67.95 - 47.80 - 120.15);
    ASSERT_LT(card->Get_mLocalBalance(), 0.0);
    EXPECT_EQ(item->creditCardDescription().runs.back().colour, getRedColor());

    item->setIsCreditCard(false);
    EXPECT_EQ(card->Get_mAccountSpecialType(), 0);
    EXPECT_FALSE(item->isCreditCard());
}

TEST_F(AccountItemsTest, DefaultCategoryIsMinusOneWhenTheAccountHasNone)
{
    auto item = registry.accountItemForAccount(document.addAccount(50, 1, "Bank"));
    EXPECT_EQ(item->getDefaultExensetypeId(), -1);
    item->setGetDefaultExensetypeId(2);
    EXPECT_EQ(item->getDefaultExensetypeId(), 2);
    item->setGetDefaultExensetypeId(99);   // names no category
    EXPECT_EQ(item->getDefaultExensetypeId(), -1);
}

TEST_F(AccountItemsTest, ArgumentsSetTheHomeCurrencyAndBookOnlyAChangedBalance)
{
    CAccount* account = document.addAccount(50, 1, "Bank");
    auto item = registry.accountItemForAccount(account);
    AccountArguments arguments;
    arguments.name = "Giro";
    arguments.currencyId = 0;
    arguments.newBalance = 0.0;
    const std::size_t before = transactionCount();

    item->synchronizeWithArguments(arguments);

    EXPECT_EQ(item->getName(), "Giro");
    EXPECT_EQ(item->getCurrencyId(), 1);
    EXPECT_EQ(transactionCount(), before);
    EXPECT_EQ(item->getFiscalPct(), 100.0);
}

TEST_F(AccountItemsTest, ClearingATextClearsItsUnicodeCopyToo)
{
    CAccount* account = document.addAccount(50, 1, "Bank");
    auto item = registry.accountItemForAccount(account);
    item->setGetDescription("Daily spending");
    item->setGetAccountNumber("1010");
    item->setGetBankAccountNumber("NL91 ABNA 0417 1643 00");
    ASSERT_EQ(item->getAccountNumber(), "1010");

    AccountArguments arguments;   // the sheet's fields left empty
    arguments.name = "Bank";
    arguments.description = "";
    item->synchronizeWithArguments(arguments);

    EXPECT_EQ(item->getDescription(), "");
    EXPECT_EQ(item->getAccountNumber(), "");
    EXPECT_EQ(item->getBankAccountNumber(), "");
    EXPECT_EQ(account->Get_StringrefDesc(), "");

    item->setGetAccountNumber("2020");
    item->setGetAccountNumber(std::nullopt);
    EXPECT_EQ(account->Get_StringRefAccountingNumber(), "");
    EXPECT_EQ(item->getAccountNumber(), "");
}

TEST_F(AccountItemsTest, LineListsFollowTheLinesOfTheAccount)
{
    CAccount* bank = document.addAccount(50, 1, "Bank");
    auto item = registry.accountItemForAccount(bank);
    ASSERT_TRUE(item->fromTransactionDetails().empty());
    EXPECT_FALSE(item->hasTransactions());

    CTransaction* transaction = document.addTransaction(20240301, 50, 2, 1, 25.0);
    auto* second = transaction->Add_Debit(-1, false, 5.0);
    transaction->Set_Debit_Account(second, 50);
    LineItemArray lines = item->fromTransactionDetails();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.back(), registry.debetItemForTransactionDetail(second));
    EXPECT_TRUE(item->hasTransactions());

    transaction->Delete_Debit(second);
    lines = item->fromTransactionDetails();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.front()->getSourceItem(), transaction->GetDebitList()->ObjectAt(1));
    EXPECT_TRUE(item->toTransactionDetails().empty());
}

TEST_F(AccountItemsTest, AllTransactionDetailsCarryRunningBalances)
{
    CAccount* bank = document.addAccount(50, 1, "Bank");
    document.addTransaction(20240302, 50, 2, 1, 30.0);   // money leaves the bank
    document.addTransaction(20240301, 3, 50, 2, 100.0);  // money reaches the bank
    auto item = registry.accountItemForAccount(bank);

    LineItemArray lines = item->allTransactionDetails();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->getTransactionDate(), 20240301);
    EXPECT_DOUBLE_EQ(lines[0]->getCumulativeAmount().value_or(0), 100.0);
    EXPECT_DOUBLE_EQ(lines[1]->getCumulativeAmount().value_or(0), 70.0);
    EXPECT_EQ(document.getAccountTypeItemForId(1)->allTransactionDetails().size(), 2u);
}

TEST_F(AccountItemsTest, PeriodBalancesKeepTheCentsOfLargeAmounts)
{
    CAccount* bank = document.addAccount(50, 1, "Bank");
    document.addTransaction(20240301, 3, 50, 2, 123456.78);
    auto item = registry.accountItemForAccount(bank);

    const std::optional<CLevelCounters> balances =
        item->getBalanceInPeriod(20240101, 20240131, 20240101, 20240331, 20240101, 20241231, 0, 20241231);
    ASSERT_TRUE(balances);
    EXPECT_EQ(balances->resultAtIndex(0), 0.0);
    EXPECT_EQ(balances->resultAtIndex(1), 123456.78);
    EXPECT_EQ(balances->resultAtIndex(3), 123456.78);
    CLevelCounters counters;
    EXPECT_FALSE(counters.setResultAtIndex(12, 1.0));
    EXPECT_TRUE(counters.setResultAtIndex(11, 1.0));
}

TEST_F(AccountItemsTest, DetachedAccountStartsWithTheSheetDefaults)
{
    auto item = std::make_shared<CAcnTItem>();
    EXPECT_EQ(item->getFiscalPct(), 100.0);
    EXPECT_EQ(item->getBankAccountNumber(), "000-0000000-00");
    EXPECT_EQ(item->getDescription(), "");
    EXPECT_EQ(item->currencySymbol(), "-");
    EXPECT_EQ(item->specialType(), 0);
    EXPECT_TRUE(item->objectCanBeDeleted());
    item->setSpecialType(1);
    EXPECT_EQ(item->specialType(), 1);
}

} // namespace
} // namespace ch::test
