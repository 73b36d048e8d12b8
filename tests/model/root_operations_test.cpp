// The model root's operations: deletion by kind with its refusals, moves in
// the trees, the typed setters, linking and unlinking, the temporary
// transaction, the change of home currency and the load clean-up.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/CAccountOwner.h"
#include "model/CAnalysisArray.h"
#include "model/CRecurringTransaction.h"
#include "model/budget/CBudgetHeader.h"

namespace ch::test {
namespace {

class RootOperationsTest : public BookingTest {
protected:
    CRecurringTransaction* TemplateOn(CAccount* account)
    {
        CRecurringTransaction* recurring = root.InsertRecurringTransaction(1, 1);
        Debit(recurring)->Put_mAccountId(account->Get_Id(), true, nullptr);
        recurring->Put_mTotalAmount(5.0);
        return recurring;
    }

    // The list of the object's kind, as the deletion chooses it.
    CNamedListArray* ListOf(CNonVisual* object)
    {
        switch (object->Get_ObjectType()) {
        case type::kAccountType: return root.mAccountTypeList.get();
        case type::kAccount: return root.mAccountList.get();
        case type::kCurrency: return root.mCurrencyList.get();
        case type::kExpenseType: return root.mExpenseTypeList.get();
        case type::kMasterExpenseType: return root.mMasterExpenseTypeList.get();
        case type::kRecurring: return root.mRecurringList.get();
        case type::kAccountOwner: return root.mAccountOwnerList.get();
        case type::kBudgetHeader: return root.mBudgetList.get();
        default:
            return object->Get_ObjectStatus() == status::kUnlinked ? root.mUnlinkedList.get()
                                                                   : root.mTransactionList.get();
        }
    }
};

TEST_F(RootOperationsTest, EveryKindRefusesItsDeletionWithItsNumberedError)
{
    struct Case {
        const char* what;
        std::function<CNonVisual*()> make;
        long error;
    };
    const std::vector<Case> cases = {
        {"account type with accounts", [&] { return Type(books::kOwnPropertyType); }, 174},
        {"account used by a recurring transaction",
         [&] {
             CAccount* account = AddAccount("Rent", books::kOwnPropertyType);
             TemplateOn(account);
             return account;
         },
         237},
        {"currency that accounts are held in", [&] { return Currency(books::kEUR); }, 180},
        {"category with bookings",
         [&] {
             CExpenseType* category = AddCategory("Food", books::kExpenseCategory);
             Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 3.0, 20240301,
                  category->Get_Id());
             return category;
         },
         168},
        {"category group with categories", [&] { return Group(1); }, 176},
        {"blocked transaction",
         [&] {
             CTransaction* transaction = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 1.0);
             transaction->Put_Status(status::kBlocked);
             return transaction;
         },
         137},
        {"blocked budget",
         [&] {
             CBudgetHeader* budget = root.MakeNewBudget(budget_base::kEmpty, 0, budget_period::kCurrentYear, 0, 0,
                                                        0, "Plan", "Budget");
             budget->Put_mBlocked(1);
             return budget;
         },
         192},
        {"blocked recurring transaction",
         [&] {
             CRecurringTransaction* recurring = TemplateOn(Account(books::kIncomeAccount));
             recurring->Put_Status(status::kBlocked);
             return recurring;
         },
         137},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CNonVisual* object = c.make();
        CNamedListArray* list = ListOf(object);
        env.alerts().clear();
        EXPECT_FALSE(root.DeleteObject(object));
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error});
        EXPECT_GT(list->FetchIndexOfObject(object), 0);
    }

    // A kind the root does not delete.
    TestObject bank(type::kBank);
    env.alerts().clear();
    EXPECT_FALSE(root.DeleteObject(&bank));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{136});
}

TEST_F(RootOperationsTest, DeletedObjectsLeaveTheirListsAndBalances)
{
    BalanceSnapshot before = Balances();
    CTransaction* posted = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 8.0);
    CTransaction* unlinked = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 2.0);
    ASSERT_TRUE(root.UnlinkTrans(unlinked));

    EXPECT_TRUE(root.DeleteObject(unlinked));
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);
    EXPECT_EQ(root.mTransactionList->GetCount(), 1u);
    EXPECT_TRUE(root.DeleteObject(posted));
    EXPECT_EQ(root.mTransactionList->GetCount(), 0u);
    EXPECT_EQ(Balances(), before);

    CAccountOwner* owner = root.InsertAccountOwner(-1, "Supplier", std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, std::nullopt, std::nullopt);
    CExpenseType* unused = AddCategory("Unused", books::kExpenseCategory);
    CRecurringTransaction* recurring = TemplateOn(Account(books::kIncomeAccount));
    CBudgetHeader* budget =
        root.MakeNewBudget(budget_base::kEmpty, 0, budget_period::kCurrentYear, 0, 0, 0, "Plan", "Budget");
    for (CNonVisual* object : std::vector<CNonVisual*>{owner, unused, recurring, budget}) {
        CNamedListArray* list = ListOf(object);
        const auto count = list->GetCount();
        EXPECT_TRUE(root.DeleteObject(object));
        EXPECT_EQ(list->GetCount(), count - 1);
    }
    // The template no longer guards the account.
    EXPECT_FALSE(root.RecurringTransactionExistsForAccount(Account(books::kIncomeAccount)));
}

TEST_F(RootOperationsTest, ADeletedCopiedTransactionCanNoLongerBePasted)
{
    CRecurringTransaction* recurring = TemplateOn(Account(books::kIncomeAccount));
    root.CopyTransaction(recurring);
    ASSERT_TRUE(root.DeleteObject(recurring));
    EXPECT_EQ(root.PasteTransaction(), nullptr);
    EXPECT_EQ(root.PasteRecurringTransaction(), nullptr);

    CTransaction* transaction = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 4.0);
    root.CutTransaction(transaction);
    ASSERT_TRUE(root.DeleteObject(transaction));
    EXPECT_EQ(root.PasteTransaction(), nullptr);
}

TEST_F(RootOperationsTest, ATemporaryTransactionUsesNoObjectIds)
{
    const ObjectIdT objectIds = root.Ids().mi_MaxId;
    const ObjectIdT transactionIds = root.Ids().mi_TrnsNr;
    CTransaction* temporary = root.CreateTemporaryTransaction(1, 0, transaction_type::kExpense);
    EXPECT_EQ(root.Ids().mi_MaxId, objectIds);
    EXPECT_EQ(temporary->Get_Id(), transactionIds + 1);
    EXPECT_EQ(temporary->Get_ObjectStatus(), status::kUnlinked);
    EXPECT_EQ(temporary->GetDebitList()->GetCount(), 1u);
    EXPECT_EQ(root.mTransactionList->FetchIndexOfObject(temporary), 0);
    EXPECT_EQ(root.mUnlinkedList->FetchIndexOfObject(temporary), 0);
    delete temporary;
}

TEST_F(RootOperationsTest, UnlinkingAndLinkingMoveTheTransactionBetweenLists)
{
    BalanceSnapshot before = Balances();
    CTransaction* transaction = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 6.0);
    BalanceSnapshot booked = Balances();

    ASSERT_TRUE(root.UnlinkTrans(transaction));
    EXPECT_EQ(root.mTransactionList->GetCount(), 0u);
    EXPECT_EQ(root.mUnlinkedList->ObjectAt(1), transaction);
    EXPECT_EQ(Balances(), before);
    env.alerts().clear();
    EXPECT_FALSE(root.UnlinkTrans(transaction));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{137});
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 1u);

    ASSERT_TRUE(root.LinkTrans(transaction));
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);
    EXPECT_EQ(root.mTransactionList->GetCount(), 1u);
    EXPECT_EQ(Balances(), booked);
}

TEST_F(RootOperationsTest, ATopLevelObjectMovedBelowAnotherLeavesItsTopLevelSubList)
{
    CMasterExpenseType* salaries =
        root.InsertMasterExpenseType(-1, "Salaries", "Salaries", nullptr, std::nullopt, group_kind::kIncome, -1);
    CMasterExpenseType* bonus =
        root.InsertMasterExpenseType(-1, "Bonus", "Bonus", nullptr, std::nullopt, group_kind::kIncome, -1);
    CNamedListArray* incomeGroups = root.mMasterExpenseTypeList->Get_SubList(CMasterExpenseTypeArray::kIncomeLike);
    ASSERT_GT(incomeGroups->FetchIndexOfObject(bonus), 0);

    ASSERT_TRUE(root.Put_mParentId(salaries, bonus));
    EXPECT_EQ(bonus->Get_mParentId(), salaries->Get_Id());
    EXPECT_EQ(incomeGroups->FetchIndexOfObject(bonus), 0);
    EXPECT_GT(incomeGroups->FetchIndexOfObject(salaries), 0);
    // A group that was not top level touches no sub-list.
    const auto count = incomeGroups->GetCount();
    ASSERT_TRUE(root.Put_mParentId(Group(0), bonus));
    EXPECT_EQ(incomeGroups->GetCount(), count);
    // A refused move changes nothing.
    EXPECT_FALSE(root.Put_mParentId(Group(1), salaries));
    EXPECT_GT(incomeGroups->FetchIndexOfObject(salaries), 0);

    CAccType* banks = AddType("Banks", 1);
    CNamedListArray* topLevel = root.mAccountTypeList->Get_SubList(CAccountTypeArray::kTopLevelOwnProperty);
    ASSERT_GT(topLevel->FetchIndexOfObject(banks), 0);
    ASSERT_TRUE(root.Put_mParentId(Type(books::kOwnPropertyType), banks));
    EXPECT_EQ(topLevel->FetchIndexOfObject(banks), 0);
}

TEST_F(RootOperationsTest, AnAccountMovedToAnotherTypeTakesItsBalanceThere)
{
    CAccType* cash = AddType("Cash", 1);
    CAccount* wallet = AddAccount("Wallet", books::kOwnPropertyType);
    Book(Account(books::kIncomeAccount), wallet, 100.0);
    const double ownProperty = Type(books::kOwnPropertyType)->Get_mBalance();

    ASSERT_TRUE(root.setForeignKey(wallet, -13304, cash->Get_Id()));
    EXPECT_EQ(wallet->Get_mAccountTypePtr(), cash);
    EXPECT_EQ(cash->Get_mBalance(), 100.0);
    EXPECT_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), ownProperty - 100.0);

    // Through the tree move, to a debt type: the account changes its sub-lists.
    CAccType* loans = AddType("Loans", 2);
    ASSERT_TRUE(root.Put_mParentId(loans, wallet));
    EXPECT_EQ(cash->Get_mBalance(), 0.0);
    EXPECT_EQ(root.mAccountList->Get_SubList(CAccountArray::kProperty)->FetchIndexOfObject(wallet), 0);
    EXPECT_GT(root.mAccountList->Get_SubList(CAccountArray::kDebt)->FetchIndexOfObject(wallet), 0);

    // A type that does not exist is refused.
    EXPECT_FALSE(root.setForeignKey(wallet, -13304, 9999));
    EXPECT_EQ(wallet->Get_mAccountTypePtr(), loans);

    // An account the settings book on keeps its kind: under own property the
    // default income account is refused; another profit-and-loss type takes it.
    CAccount* income = Account(books::kIncomeAccount);
    ASSERT_NE(root.mPreference, nullptr);
    ASSERT_EQ(root.mPreference->Get_mDefAccntUnspecifiedIncome(), income->Get_Id());
    CAccType* before = income->Get_mAccountTypePtr();
    env.alerts().clear();
    EXPECT_FALSE(root.Put_mParentId(cash, income));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{334});
    EXPECT_EQ(income->Get_mAccountTypePtr(), before);
    CAccType* earnings = AddType("Earnings", 3);
    EXPECT_TRUE(root.Put_mParentId(earnings, income));
    EXPECT_EQ(income->Get_mAccountTypePtr(), earnings);

    // So does an account an owner's invoices book on (here its open
    // invoices); within its kind it moves.
    CAccount* receivable = AddAccount("Peeters:Receivable", books::kProfitAndLossType);
    CAccountOwner* customer = root.InsertAccountOwner(-1, std::string_view("Peeters"), std::nullopt, std::nullopt,
                                                      std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    ASSERT_NE(customer, nullptr);
    customer->setMOpenDebitInvoiceAccount(receivable->Get_Id());
    env.alerts().clear();
    EXPECT_FALSE(root.Put_mParentId(cash, receivable));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{335});
    EXPECT_EQ(receivable->Get_mAccountTypeId(), books::kProfitAndLossType);
    EXPECT_TRUE(root.Put_mParentId(earnings, receivable));
}

// A share's holding is the balance of its portfolio account as own property:
// under a debt type the shares held would read negated. Moves out of own
// property are refused and name the share; among own property it moves.
TEST_F(RootOperationsTest, ASharesPortfolioAccountStaysOwnProperty)
{
    CCurrency* share = root.InsertStockCurrency(-1, "ACME", std::string_view("ACME"));
    ASSERT_NE(share, nullptr);
    CAccount* portfolio = share->GetPortfolioAccount();
    ASSERT_NE(portfolio, nullptr);
    ASSERT_EQ(share->BuyStock(10.0, 0.0, 4, 40.0, books::kDefaultAccount, books::kExpenseAccount, std::nullopt,
                              false, 20240301),
              1);
    ASSERT_EQ(portfolio->Get_mBalance(), 4.0);
    const ObjectIdT ownType = portfolio->Get_mAccountTypeId();

    for (CAccType* elsewhere : {AddType("Loans", 2), AddType("Earnings", 3)}) {
        env.alerts().clear();
        EXPECT_FALSE(root.Put_mParentId(elsewhere, portfolio)) << elsewhere->CalculateKey();
        ASSERT_EQ(env.alerts().numbers(), std::vector<long>{338});
        EXPECT_NE(env.alerts().records().back().alert.message.find("ACME"), std::string::npos);
        EXPECT_EQ(portfolio->Get_mAccountTypeId(), ownType);
        EXPECT_EQ(portfolio->Get_mBalance(), 4.0);
    }

    CAccType* broker = AddType("Broker", 1);
    env.alerts().clear();
    EXPECT_TRUE(root.Put_mParentId(broker, portfolio));
    EXPECT_TRUE(env.alerts().numbers().empty());
    EXPECT_EQ(portfolio->Get_mAccountTypePtr(), broker);
    EXPECT_EQ(portfolio->Get_mBalance(), 4.0);
}

// A profit-and-loss account moved among the own accounts makes its bookings
// transfers: their categories follow at once, so that the categories show
// what the property did and a booking okayed again finds nothing to mend.
TEST_F(RootOperationsTest, TheCategoriesOfAnAccountsBookingsFollowItsMoveToAnotherKind)
{
    CAccount* fees = AddAccount("Fees", books::kProfitAndLossType);
    CTransaction* earned = Book(fees, Account(books::kDefaultAccount), 40.0, 20240301, books::kIncomeCategory);
    CTransaction* spent = Book(Account(books::kDefaultAccount), fees, 15.0, 20240302, books::kExpenseCategory);
    // A template paying the fees every month, as a template's sheet makes it.
    CRecurringTransaction* monthly = root.InsertRecurringTransaction(1, 1);
    Debit(monthly)->Put_mAccountId(books::kDefaultAccount, true, nullptr);
    Credit(monthly)->Put_mAccountId(fees->Get_Id(), true, nullptr);
    ForLine(monthly)->Put_mAccountId(books::kExpenseCategory, true, nullptr);
    monthly->Put_mTotalAmount(25.0);
    ASSERT_NEAR(ForLine(monthly)->Get_mLocalAmount(), 25.0, 1e-9);
    // A copy the template made, waiting to be linked.
    CTransaction* waiting = Book(Account(books::kDefaultAccount), fees, 25.0, 20240303, books::kExpenseCategory);
    ASSERT_TRUE(root.UnlinkTrans(waiting));
    CExpenseType* income = Category(books::kIncomeCategory);
    CExpenseType* expense = Category(books::kExpenseCategory);
    const double incomeBefore = income->Get_Amount();
    const double expenseBefore = expense->Get_Amount();
    ASSERT_NEAR(ForLine(earned)->Get_mLocalAmount(), 40.0, 1e-9);

    ASSERT_TRUE(root.setForeignKey(fees, -13304, books::kOwnPropertyType));

    EXPECT_NEAR(ForLine(earned)->Get_mLocalAmount(), 0.0, 1e-9);
    EXPECT_NEAR(ForLine(spent)->Get_mLocalAmount(), 0.0, 1e-9);
    EXPECT_NEAR(ForLine(monthly)->Get_mLocalAmount(), 0.0, 1e-9);
    EXPECT_NEAR(ForLine(waiting)->Get_mLocalAmount(), 0.0, 1e-9);
    EXPECT_NEAR(income->Get_Amount(), incomeBefore - 40.0, 1e-9);
    EXPECT_NEAR(expense->Get_Amount(), expenseBefore - 15.0, 1e-9);
    ASSERT_TRUE(root.LinkTrans(waiting));
    EXPECT_NEAR(expense->Get_Amount(), expenseBefore - 15.0, 1e-9);
    ExpectBalancesMatchLines();
    const BalanceSnapshot moved = Balances();
    EXPECT_TRUE(earned->Validate());
    EXPECT_TRUE(spent->Validate());
    EXPECT_TRUE(waiting->Validate());
    EXPECT_EQ(Balances(), moved);

    // Back among the profit-and-loss accounts, the property moves again.
    ASSERT_TRUE(root.setForeignKey(fees, -13304, books::kProfitAndLossType));
    EXPECT_NEAR(std::fabs(ForLine(earned)->Get_mLocalAmount()), 40.0, 1e-9);
    EXPECT_NEAR(std::fabs(ForLine(spent)->Get_mLocalAmount()), 15.0, 1e-9);
    EXPECT_NEAR(std::fabs(ForLine(monthly)->Get_mLocalAmount()), 25.0, 1e-9);
    ExpectBalancesMatchLines();
}

TEST_F(RootOperationsTest, TypedSetters)
{
    CAccount* bank = Account(books::kDefaultAccount);
    CExpenseType* food = Category(books::kExpenseCategory);
    EXPECT_TRUE(root.setAmountT(bank, -13308, 50.0));
    EXPECT_EQ(bank->Get_mFiscalPct(), 50.0);
    EXPECT_TRUE(root.setAmountT(food, -13510, 80.0));
    EXPECT_EQ(food->Get_mTaxDeductiblePct(), 80.0);
    EXPECT_FALSE(root.setAmountT(food, -13308, 1.0));
    EXPECT_FALSE(root.setAmountT(Currency(books::kEUR), -13312, 1.0));

    EXPECT_TRUE(root.setAmountT(bank, -13312, 25.0));   // the balance, through an adjustment
    EXPECT_EQ(bank->Get_mBalance(), 25.0);

    EXPECT_TRUE(root.setForeignKey(bank, -13314, books::kIncomeCategory));
    EXPECT_EQ(bank->Get_mDefaultExpenseTypeId(), books::kIncomeCategory);
    EXPECT_TRUE(root.setForeignKey(bank, -13305, 7));
    EXPECT_EQ(bank->Get_mAccountOwnerId(), 7);
    EXPECT_FALSE(root.setForeignKey(food, -13305, 7));
    EXPECT_FALSE(root.setForeignKey(bank, -1, 7));

    EXPECT_FALSE(root.setNameT("Dollar", Currency(books::kEUR)));
    EXPECT_TRUE(root.setNameT("Cheque", bank));
    EXPECT_EQ(bank->Get_StringrefName(), "Cheque");
    EXPECT_TRUE(root.setDescriptionT("daily", Type(books::kOwnPropertyType)));
    EXPECT_FALSE(root.setDescriptionT("daily", Group(1)));
    EXPECT_TRUE(root.setAccountClassificationNumberT("5500", bank));
    EXPECT_EQ(bank->Get_StringRefAccountingNumber(), "5500");
    EXPECT_TRUE(root.setBankAccountNumberT("123-456", bank));
    EXPECT_EQ(bank->Get_StringRefBankAccountNumber(), "123-456");
    EXPECT_FALSE(root.setBankAccountNumberT("123-456", Type(books::kOwnPropertyType)));
    EXPECT_TRUE(root.setColor(RGBColor{1, 2, 3}, Group(1)));
    EXPECT_EQ(Group(1)->Get_Color(), (RGBColor{1, 2, 3}));
    EXPECT_FALSE(root.setColor(RGBColor{1, 2, 3}, bank));

    CMasterExpenseType* spare =
        root.InsertMasterExpenseType(-1, "Spare", "Spare", nullptr, std::nullopt, group_kind::kIncome, -1);
    ASSERT_TRUE(root.setMasterExpenseType(group_kind::kExpense, spare));
    EXPECT_EQ(root.mMasterExpenseTypeList->Get_SubList(CMasterExpenseTypeArray::kIncomeLike)->FetchIndexOfObject(spare), 0);
    EXPECT_GT(root.mMasterExpenseTypeList->Get_SubList(CMasterExpenseTypeArray::kExpense)->FetchIndexOfObject(spare), 0);
}

TEST_F(RootOperationsTest, AChangeToAMissingHomeCurrencyChangesNothing)
{
    CTransaction* transaction = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 10.0);
    EXPECT_FALSE(root.ChangeHomeCurrency(999, books::kEUR));
    EXPECT_FALSE(root.mPreference->Put_mHomeCurrency(999));
    EXPECT_EQ(root.mPreference->Get_mHomeCurrency(), books::kEUR);
    EXPECT_EQ(transaction->Get_mLocalAmount(), 10.0);
}

TEST_F(RootOperationsTest, AChangeOfHomeCurrencyKeepsWhatAccountsHoldInTheirOwnCurrency)
{
    // A dollar worth 0.50 euro from January, 0.80 from today.
    CCurrency* dollar = AddCurrency("USD", 0.5);
    dollar->UpdateCurrencyHistory(20240101, 1, 0.5);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, dollar->Get_Id());
    Book(Account(books::kIncomeAccount), dollars, 50.0, 20240301);
    ASSERT_EQ(dollars->Get_mBalance(), 100.0);
    dollar->Put_mConversionFactor(0.8, 0);
    ASSERT_NEAR(dollars->Get_mLocalBalance(), 80.0, 1e-9);

    ASSERT_TRUE(root.mPreference->Put_mHomeCurrency(dollar->Get_Id()));
    EXPECT_EQ(root.mPreference->Get_mHomeCurrency(), dollar->Get_Id());
    // The 100 dollars stay 100 dollars; their home value is that, and the
    // account's lines say so too.
    EXPECT_EQ(dollars->Get_mBalance(), 100.0);
    EXPECT_NEAR(dollars->Get_mLocalBalance(), 100.0, 1e-9);
    double lines = 0, unused2 = 0, unused3 = 0, unused4 = 0;
    dollars->Get_BalanceInPeriod(lines, unused2, unused3, unused4, kNeverDate, kNeverDate, kNeverDate,
                                 kNeverDate, true, 0, 0, 0, 0);
    EXPECT_NEAR(lines, 100.0, 1e-9);
    EXPECT_NEAR(Account(books::kDefaultAccount)->Get_mLocalBalance(), 0.0, 1e-9);

    CDocAccounting loaded;
    ASSERT_TRUE(Load(loaded, Save(root)));
    auto* read = static_cast<CAccount*>(loaded.mAccountList->GetValueForId(dollars->Get_Id()));
    EXPECT_NEAR(read->Get_mBalance(), 100.0, 1e-9);
    EXPECT_NEAR(read->Get_mLocalBalance(), 100.0, 1e-9);
}

// Each line converts at the rate of its own date when the home currency
// changes: what adds the lines up (profit-and-loss accounts, categories with
// their year totals, groups, account types) is what reading the books again
// gives, the remainders the own accounts book included.
TEST_F(RootOperationsTest, AChangeOfHomeCurrencyGivesTheBalancesReadingGives)
{
    // A dollar worth 0.80 euro today and, by its history, 0.50 from July 2023.
    CCurrency* dollar = AddCurrency("USD", 0.8);
    dollar->UpdateCurrencyHistory(20240315, 1, 0.8);
    dollar->Put_mConversionFactorAndAmount(1, 0.5, 20230701);
    ASSERT_EQ(dollar->Get_mConversionFactor(), 0.8);
    CExpenseType* food = Category(books::kExpenseCategory);
    Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 40.0, 20240110, food->Get_Id());
    Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 10.0, 20230901, food->Get_Id());

    ASSERT_TRUE(root.mPreference->Put_mHomeCurrency(dollar->Get_Id()));
    // 40 and 10 euro at 0.50: 80 and 20 dollars.
    EXPECT_NEAR(food->Get_Amount(), 100.0, 1e-9);
    EXPECT_NEAR(food->Get_thisYearsBalance(), 80.0, 1e-9);
    EXPECT_NEAR(Account(books::kExpenseAccount)->Get_mBalance(), -100.0, 1e-9);

    CDocAccounting loaded;
    ASSERT_TRUE(Load(loaded, Save(root)));
    const BalanceSnapshot before = Balances();
    const BalanceSnapshot read = BalancesOf(loaded);
    ASSERT_EQ(read.size(), before.size());
    for (const auto& [key, balance] : before) EXPECT_NEAR(read.at(key), balance, 0.005) << key;
    auto* category = static_cast<CExpenseType*>(loaded.mExpenseTypeList->GetValueForId(food->Get_Id()));
    EXPECT_NEAR(category->Get_thisYearsBalance(), food->Get_thisYearsBalance(), 0.005);
    EXPECT_NEAR(category->Get_lastYearsBalance(), food->Get_lastYearsBalance(), 0.005);
}

// Another home currency at a rate that converts to fractions of a cent:
// every line is booked in whole cents and its transaction still balances (a
// split's largest line takes the cent), and an account held in a third
// currency (an own one and a profit-and-loss one, whose lines are posted
// again) keeps what its line in another currency was booked for. Reading
// the books again gives every balance to the cent: fractions added up in
// another order rounded the other way, and the pound account's line,
// converted again through the new home currency, read a cent off.
TEST_F(RootOperationsTest, AChangeOfHomeCurrencyBooksWholeCentsThatReadBackTheSame)
{
    // A dollar is worth 1.04 euro, a pound 1.45.
    CCurrency* dollar = AddCurrency("USD", 1.04);
    CCurrency* pound = AddCurrency("GBP", 1.45);
    CAccount* pounds = AddAccount("Pounds", books::kOwnPropertyType, pound->Get_Id());
    Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 308.66, 20240110, books::kExpenseCategory);
    Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 299.63, 20231225, books::kExpenseCategory);
    Book(pounds, Account(books::kExpenseAccount), 736.94, 20240226, books::kExpenseCategory);
    CAccount* poundCosts = AddAccount("Pound costs", books::kProfitAndLossType, pound->Get_Id());
    Book(Account(books::kDefaultAccount), poundCosts, 736.94, 20240227, books::kExpenseCategory);
    CTransaction* split = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 0.03, 20240201,
                               books::kExpenseCategory);
    Credit(split)->Put_mAmount(0.01, nullptr);
    CCredit* second = split->Add_Credit(1, true, 0.02);
    split->Set_Credit_Account(second, books::kExpenseAccount);
    ASSERT_TRUE(split->Validate());
    const double heldInPounds = pounds->Get_mBalance();
    const double spentInPounds = poundCosts->Get_mBalance();

    ASSERT_TRUE(root.mPreference->Put_mHomeCurrency(dollar->Get_Id()));
    auto wholeCents = [](double amount) { return std::fabs(amount * 100 - std::round(amount * 100)) < 1e-6; };
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root.mTransactionList->GetCount()); ++i) {
        auto* transaction = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(i));
        SCOPED_TRACE(transaction->Get_mTotalAmount());
        EXPECT_TRUE(wholeCents(transaction->Get_mLocalAmount())) << transaction->Get_mLocalAmount();
        double sides[3] = {};
        int side = 0;
        for (CNamedListArray* list : {transaction->GetDebitList(), transaction->GetCreditList(),
                                      transaction->GetExpenseTypeList()}) {
            for (ArrayIndexT j = 1; j <= static_cast<ArrayIndexT>(list->GetCount()); ++j) {
                const double local = static_cast<CDebit*>(list->ObjectAt(j))->Get_mLocalAmount();
                EXPECT_TRUE(wholeCents(local)) << local;
                sides[side] += local;
            }
            ++side;
        }
        EXPECT_NEAR(sides[0], sides[1], 1e-9);
        EXPECT_NEAR(sides[0], sides[2], 1e-9);
    }
    EXPECT_EQ(pounds->Get_mBalance(), heldInPounds);
    EXPECT_EQ(poundCosts->Get_mBalance(), spentInPounds);

    CDocAccounting loaded;
    ASSERT_TRUE(Load(loaded, Save(root)));
    const BalanceSnapshot before = Balances();
    const BalanceSnapshot read = BalancesOf(loaded);
    ASSERT_EQ(read.size(), before.size());
    auto cents = [](double amount) { return std::llround(amount * 100); };
    for (const auto& [key, balance] : before) EXPECT_EQ(cents(read.at(key)), cents(balance)) << key;
}

// A home currency changed after a crash is made again on the books as read
// from the file, whose balances add their lines up in another order: 223.10
// in three bookings is 223.10000000000002 as booked and 223.09999999999997
// as read. At 1.75 dollars to the euro that is half a cent to either side;
// the change books the same cents either way.
TEST_F(RootOperationsTest, AChangeOfHomeCurrencyBooksTheSameOnTheBooksAsRead)
{
    CCurrency* dollar = AddCurrency("USD", 4.0);
    dollar->Put_mConversionQuantity(7, 0);
    CAccount* cash = AddAccount("Cash", books::kOwnPropertyType);
    for (double amount : {38.64, 162.35, 22.11})
        Book(Account(books::kIncomeAccount), cash, amount, 20240301, books::kIncomeCategory);
    CDocAccounting read;
    ASSERT_TRUE(Load(read, Save(root)));

    for (CDocAccounting* books : {&root, &read}) ASSERT_TRUE(books->mPreference->Put_mHomeCurrency(dollar->Get_Id()));
    EXPECT_EQ(read.mTransactionList->GetCount(), root.mTransactionList->GetCount());
    const BalanceSnapshot booked = Balances();
    const BalanceSnapshot after = BalancesOf(read);
    ASSERT_EQ(after.size(), booked.size());
    auto cents = [](double amount) { return std::llround(amount * 100); };
    for (const auto& [key, balance] : booked) EXPECT_EQ(cents(after.at(key)), cents(balance)) << key;
}

// Away to the dollar and back: a booking held wholly in euros is worth its
// euros again. Converted instead, its lines went to dollars at the rate of
// their date and came back at today's, 10 euros worth 16; the cash account,
// held in the home currency, counts its lines by their values and held 6
// euros it never had once the booking was deleted.
TEST_F(RootOperationsTest, AChangeOfHomeCurrencyAndBackLeavesABookingInTheHomeCurrencyAtItsAmounts)
{
    // A dollar worth 0.80 euro today and, by its history, 0.50 from July 2023.
    CCurrency* dollar = AddCurrency("USD", 0.8);
    dollar->UpdateCurrencyHistory(20240315, 1, 0.8);
    dollar->Put_mConversionFactorAndAmount(1, 0.5, 20230701);
    CAccount* cash = AddAccount("Cash", books::kOwnPropertyType);
    CTransaction* booking = Book(Account(books::kIncomeAccount), cash, 10.0, 20230901, books::kIncomeCategory);

    ASSERT_TRUE(root.mPreference->Put_mHomeCurrency(dollar->Get_Id()));
    ASSERT_TRUE(root.mPreference->Put_mHomeCurrency(books::kEUR));
    EXPECT_EQ(booking->Get_mLocalAmount(), 10.0);
    for (CNamedListArray* list : {booking->GetDebitList(), booking->GetCreditList(), booking->GetExpenseTypeList()})
        for (ArrayIndexT j = 1; j <= static_cast<ArrayIndexT>(list->GetCount()); ++j)
            EXPECT_EQ(static_cast<CDebit*>(list->ObjectAt(j))->Get_mLocalAmount(), 10.0);
    EXPECT_NEAR(cash->Get_mBalance(), 10.0, 1e-9);

    ASSERT_TRUE(root.DeleteObject(booking));
    EXPECT_NEAR(cash->Get_mBalance(), 0.0, 1e-9);
    EXPECT_NEAR(cash->Get_mLocalBalance(), 0.0, 1e-9);
}

TEST_F(RootOperationsTest, OverviewOfProfitAndLossLines)
{
    Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 10.0, 20240301);
    Book(Account(books::kIncomeAccount), Account(books::kDefaultAccount), 30.0, 20240305);
    std::unique_ptr<CAnalysisArray> overview = root.getOverviewAnalysisArray();
    ASSERT_EQ(overview->GetCount(), 2u);
    // Newest first.
    EXPECT_EQ(static_cast<CDebit*>(overview->ObjectAt(1))->Get_mDate(), 20240305);
}

TEST_F(RootOperationsTest, CurrencyFluctuationsBetweenProfitAndLossAccountsVanishWhenRead)
{
    auto fluctuation = [&](CAccount* to) {
        CTransaction* transaction = Book(Account(books::kIncomeAccount), to, 3.0);
        transaction->Put_StringrefName("Currency Fluctuations:USD");
        transaction->Put_Status(status::kBlocked);
        return transaction;
    };
    fluctuation(Account(books::kExpenseAccount));
    CTransaction* kept = fluctuation(Account(books::kDefaultAccount));
    CDocAccounting loaded;
    ASSERT_TRUE(Load(loaded, Save(root)));
    ASSERT_EQ(loaded.mTransactionList->GetCount(), 1u);
    EXPECT_EQ(loaded.mTransactionList->ObjectAt(1)->Get_Id(), kept->Get_Id());
}

} // namespace
} // namespace ch::test
