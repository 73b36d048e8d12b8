// What the model root makes from outside: shares with their portfolio
// accounts, and transactions from statement lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/TransactionLineArray.h"
#include "platform/core/localized_strings.h"

namespace ch::test {
namespace {

class ShareInsertionTest : public BookingTest {
protected:
    ShareInsertionTest() : stringsScope(strings)
    {
        strings.set("porfolioAcntName", "Shares");
        strings.set("porfolioPLAcntName", "Result");
        strings.set("porfolioAcntDesc", "Shares held");
    }

    static std::string NameOf(CAccount* account)
    {
        char name[kNameSize];
        account->Get_NameOnly(name);
        return name;
    }
    static std::string DescriptionOf(CAccount* account)
    {
        char description[kDescriptionSize];
        account->Get_mDescription(description);
        return description;
    }

    LocalizedStrings strings;
    ScopedLocalizedStrings stringsScope;
};

TEST_F(ShareInsertionTest, AShareComesWithItsPortfolioAndResultAccounts)
{
    CCurrency* usd = AddCurrency("USD", 0.9);
    root.mPreference->Put_mHomeCurrency(usd->Get_Id());
    root.mPreference->Put_mDefPortfolioAccountType(books::kAssetsType);
    root.mPreference->Put_mDefPortfolioPLAccountType(books::kProfitAndLossType);
    root.mPreference->Put_mDefPortfolioExpenseType(books::kOpeningCategory);
    const std::uint32_t accounts = root.mAccountList->GetCount();

    CCurrency* share = root.InsertStockCurrency(-1, "ACME", std::string_view("ACME"));
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(Currency(share->Get_Id()), share);
    EXPECT_EQ(share->Get_mCurrencyType(), currency_type::kShare);
    EXPECT_EQ(share->Get_ShortStringRefName(), "ACME");
    EXPECT_EQ(share->Get_mConversionQuantity(), 1);
    EXPECT_EQ(share->Get_mConversionFactor(), 1.0);
    EXPECT_EQ(root.mAccountList->GetCount(), accounts + 2);

    CAccount* portfolio = Account(share->Get_mPortfolioAccountId());
    CAccount* result = Account(share->Get_mDiffAccount());
    ASSERT_NE(portfolio, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(share->Get_mDiffExpType(), books::kOpeningCategory);
    struct Expected {
        CAccount* account;
        const char* name;
        const char* text;
        ObjectIdT type;
        ObjectIdT currency;
    };
    const Expected expected[] = {
        {portfolio, "SharesACME", "Shares ACME", books::kAssetsType, share->Get_Id()},
        {result, "ResultACME", "Result ACME", books::kProfitAndLossType, usd->Get_Id()},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(NameOf(e.account), e.name);
        EXPECT_EQ(e.account->Get_StringRefNameOnly(), e.text);
        EXPECT_EQ(DescriptionOf(e.account), "Shares held") << e.name;
        EXPECT_EQ(e.account->Get_mAccountTypeId(), e.type) << e.name;
        EXPECT_EQ(e.account->Get_mCurrency(), e.currency) << e.name;
    }
}

TEST_F(ShareInsertionTest, AccountNamesAreHeldToTheFieldAndNeedNoUnicodeName)
{
    const std::string longName = "International Business Machines";   // 31 characters
    CCurrency* share = root.InsertStockCurrency(-1, longName.c_str(), std::nullopt);
    ASSERT_NE(share, nullptr);
    CAccount* portfolio = Account(share->Get_mPortfolioAccountId());
    CAccount* result = Account(share->Get_mDiffAccount());
    ASSERT_NE(portfolio, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_NE(portfolio, result);
    EXPECT_EQ(NameOf(portfolio), ("Shares" + longName).substr(0, kNameSize - 1));
    EXPECT_EQ(NameOf(result), ("Result" + longName).substr(0, kNameSize - 1));
    // Without the share's Unicode name the accounts carry their C names only.
    EXPECT_EQ(portfolio->Get_StringRefNameOnly().find("null"), std::string::npos);
    // A document whose settings are those of the default books.
    EXPECT_EQ(portfolio->Get_mAccountTypeId(), books::kOwnPropertyType);
    EXPECT_EQ(result->Get_mAccountTypeId(), books::kProfitAndLossType);
    EXPECT_EQ(result->Get_mCurrency(), books::kEUR);
    EXPECT_EQ(share->Get_mDiffExpType(), books::kCurrencyCategory);
}

class ImportTransactionTest : public BookingTest {
protected:
    ImportTransactionTest()
    {
        bank = Account(books::kDefaultAccount);
        savings = AddAccount("Savings", books::kOwnPropertyType);
        shop = Account(books::kExpenseAccount);
    }

    CTransaction* Import(const char* name, DateT date, double amount, CAccount* from, CAccount* to,
                         TransactionTypeT type, ObjectIdT currencyId = 0, ObjectIdT categoryId = 0,
                         const LVariableArray* debits = nullptr, TextRef cfName = std::nullopt)
    {
        return root.ImportTransaction(name, cfName, "", std::nullopt, date, amount, currencyId, from->Get_Id(),
                                      to->Get_Id(), categoryId, false, type, debits, nullptr, nullptr);
    }

    static bool Holds(const CNamedListArray* list, const CNonVisual* object)
    {
        return list->FetchIndexOfObject(object) > 0;
    }

    CAccount* bank = nullptr;
    CAccount* savings = nullptr;
    CAccount* shop = nullptr;
};

TEST_F(ImportTransactionTest, BooksAStatementLineWithItsNumbersInPlace)
{
    CCurrency* dollar = AddCurrency("USD", 0.5);
    CTransaction* bought = root.ImportTransaction("Shop", std::string_view("Caf\u00E9"), "bread",
                                                  std::string_view("fresh bread"), 20240310, 20.0,
                                                  dollar->Get_Id(), bank->Get_Id(), shop->Get_Id(),
                                                  books::kExpenseCategory, true, transaction_type::kExpense,
                                                  nullptr, nullptr, nullptr);
    ASSERT_NE(bought, nullptr);
    EXPECT_TRUE(Holds(root.mTransactionList.get(), bought));
    EXPECT_EQ(bought->Get_mTransactionType(), transaction_type::kExpense);
    EXPECT_EQ(bought->Get_mDate(), 20240310);
    EXPECT_EQ(bought->Get_mCurrencyId(), dollar->Get_Id());
    EXPECT_EQ(bought->Get_mTotalAmount(), 20.0);
    EXPECT_EQ(bought->Get_StringrefName(), "Caf\u00E9");
    EXPECT_EQ(bought->Get_StringrefDesc(), "fresh bread");
    EXPECT_EQ(Debit(bought)->Get_mAccountId(), bank->Get_Id());
    EXPECT_EQ(Credit(bought)->Get_mAccountId(), shop->Get_Id());
    EXPECT_EQ(ForLine(bought)->Get_mAccountId(), books::kExpenseCategory);
    EXPECT_EQ(Credit(bought)->Get_mLocalAmount(), 10.0);   // 20 dollars at 0.5
    ExpectBalancesMatchLines();

    // Empty Unicode texts keep what the C texts gave.
    CTransaction* plain = root.ImportTransaction("Plain", std::string_view(""), "", std::string_view(""),
                                                 20240311, 5.0, 0, bank->Get_Id(), shop->Get_Id(), 0, false,
                                                 transaction_type::kExpense, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->Get_StringrefName(), "Plain");
    EXPECT_EQ(ForLine(plain)->Get_mAccountId(), books::kTransferCategory);
}

TEST_F(ImportTransactionTest, NothingToBookMakesNothingAndWhatCannotBookStaysUnlinked)
{
    const std::uint32_t posted = root.mTransactionList->GetCount();
    const BalanceSnapshot before = Balances();
    EXPECT_EQ(Import("Zero", 20240310, 0.0, bank, shop, transaction_type::kExpense), nullptr);
    EXPECT_EQ(root.mTransactionList->GetCount(), posted);
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);

    // With line arrays a zero amount is tried, refused by the transaction and left unlinked.
    const TransactionLineArray none;
    env.alerts().clear();
    CTransaction* refused = Import("Zero", 20240310, 0.0, bank, shop, transaction_type::kExpense, 0, 0, &none);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{238});
    EXPECT_FALSE(Holds(root.mTransactionList.get(), refused));
    EXPECT_TRUE(Holds(root.mUnlinkedList.get(), refused));
    EXPECT_EQ(Balances(), before);
}

TEST_F(ImportTransactionTest, ATransferFoundTwiceIsUpdatedNotBookedAgain)
{
    CTransaction* first = Import("Move", 20240310, 50.0, bank, savings, transaction_type::kTransfer);
    ASSERT_NE(first, nullptr);
    const std::uint32_t posted = root.mTransactionList->GetCount();
    const BalanceSnapshot booked = Balances();

    // The other account's statement brings the same transfer.
    CTransaction* again = Import("Move to savings", 20240310, 50.0, bank, savings, transaction_type::kTransfer,
                                 0, 0, nullptr, std::string_view("Sparen"));
    EXPECT_EQ(again, first);
    EXPECT_EQ(root.mTransactionList->GetCount(), posted);
    EXPECT_EQ(Balances(), booked);
    EXPECT_EQ(first->Get_StringrefName(), "Sparen");
    char name[kNameSize];
    first->Get_Name(name);
    EXPECT_EQ(std::string(name), "Move to savings");

    // Another amount or date, other accounts, or another type is a transaction of its own.
    CAccount* cash = AddAccount("Cash", books::kOwnPropertyType);
    struct Case {
        double amount;
        DateT date;
        CAccount* to;
        TransactionTypeT type;
    };
    for (const Case& c : {Case{51.0, 20240310, savings, transaction_type::kTransfer},
                          Case{50.0, 20240311, savings, transaction_type::kTransfer},
                          Case{50.0, 20240310, cash, transaction_type::kTransfer},
                          Case{50.0, 20240310, savings, transaction_type::kOther}}) {
        CTransaction* other = Import("Move", c.date, c.amount, bank, c.to, c.type);
        EXPECT_NE(other, first) << c.amount << " " << c.date << " " << int(c.type);
    }
    EXPECT_EQ(root.mTransactionList->GetCount(), posted + 4);
    ExpectBalancesMatchLines();
}

TEST_F(ImportTransactionTest, LineArraysGiveTheLinesOfTheirSides)
{
    const TransactionLineArray debits{{bank->Get_Id(), 0, 30.0}, {savings->Get_Id(), 0, 10.0}};
    CTransaction* split = Import("Split", 20240312, 40.0, bank, shop, transaction_type::kExpense, 0,
                                 books::kExpenseCategory, &debits);
    ASSERT_NE(split, nullptr);
    ASSERT_EQ(split->GetDebitList()->GetCount(), 2u);
    EXPECT_EQ(bank->Get_mLocalBalance(), -30.0);
    EXPECT_EQ(savings->Get_mLocalBalance(), -10.0);
    EXPECT_EQ(Credit(split)->Get_mLocalAmount(), 40.0);
    ExpectBalancesMatchLines();
}

// A cent of a currency worth a third of the home one is nothing at home, yet
// the account kept in that currency received it: its lines hold the cent.
TEST_F(ImportTransactionTest, ACentWorthNothingAtHomeStaysOnTheAccountsOfItsCurrency)
{
    CCurrency* dollar = AddCurrency("USD", 0.33);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, dollar->Get_Id());
    CTransaction* cent = Import("Payment", 20240312, 0.01, Account(books::kIncomeAccount), dollars,
                                transaction_type::kOther, dollar->Get_Id(), books::kIncomeCategory);
    ASSERT_NE(cent, nullptr);
    EXPECT_TRUE(Holds(root.mTransactionList.get(), cent));
    for (CDebit* line : {Debit(cent), static_cast<CDebit*>(Credit(cent)), static_cast<CDebit*>(ForLine(cent))}) {
        EXPECT_EQ(line->Get_mAmount(), 0.01);
        EXPECT_EQ(line->Get_mLocalAmount(), 0.0);
    }
    EXPECT_EQ(dollars->Get_mBalance(), 0.01);
    ExpectBalancesMatchLines();
}

} // namespace
} // namespace ch::test
