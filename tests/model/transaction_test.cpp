// Transactions and their lines: defaults, account checks, posting and
// re-posting, unlinking, validation, line deletion, texts and records.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "booking_fixture.h"

namespace ch::test {
namespace {

// A recurring template as far as posting goes: its lines never post.
class TemplateTransaction : public CTransaction {
public:
    explicit TemplateTransaction(CDocAccounting* document)
        : CTransaction(-1, document, false, transaction_type::kOther, false)
    {
        SetObjectType(type::kRecurring);
        Add_Debit(1, false, 0.0);
        Add_Credit(1, false, 0.0);
        Add_ExpenseType(1, false, 0.0);
    }
};

using TransactionTest = BookingTest;

TEST_F(TransactionTest, NewTransactionsTakeTheDefaultsOfTheirType)
{
    const struct {
        TransactionTypeT type;
        const char* name;
        ObjectIdT debit, credit, category;
    } cases[] = {
        {transaction_type::kExpense, "Unspecified Expense", books::kDefaultAccount, books::kExpenseAccount,
         books::kExpenseCategory},
        {transaction_type::kIncome, "Unspecified Income", books::kIncomeAccount, books::kDefaultAccount,
         books::kIncomeCategory},
        {transaction_type::kTransfer, "Unspecified Transfer", books::kDefaultAccount, books::kDefaultAccount,
         books::kTransferCategory},
        {transaction_type::kOther, "New Transaction", books::kIncomeAccount, books::kIncomeAccount,
         books::kIncomeCategory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTransaction* transaction = NewTransaction(c.type);
        EXPECT_EQ(transaction->Get_StringrefName(), c.name);
        EXPECT_EQ(transaction->Get_mDate(), 20240301);
        EXPECT_EQ(transaction->Get_CFVATNr(), " ");
        EXPECT_EQ(transaction->Get_mSpecialTypeT(), special_type::kDefault);
        EXPECT_EQ(transaction->Get_mDocumentId(), -1);
        EXPECT_EQ(transaction->Get_mCurrencyId(), books::kEUR);
        ASSERT_EQ(transaction->GetDebitList()->GetCount(), 1u);
        EXPECT_EQ(Debit(transaction)->Get_mAccountId(), c.debit);
        EXPECT_EQ(Debit(transaction)->Get_mAccountPtr(), Account(c.debit));
        EXPECT_EQ(Credit(transaction)->Get_mAccountId(), c.credit);
        EXPECT_EQ(ForLine(transaction)->Get_mAccountPtr(), Category(c.category));
        EXPECT_EQ(Debit(transaction)->Get_mAmount(), 0.0);
        EXPECT_EQ(Debit(transaction)->Get_mTransactionPtr(), transaction);
        EXPECT_EQ(Debit(transaction)->Get_ObjectType(), type::kDebit);
        EXPECT_EQ(Credit(transaction)->Get_ObjectType(), type::kCredit);
        EXPECT_EQ(ForLine(transaction)->Get_ObjectType(), type::kExpenseTypeDetail);
    }
    // Every line is registered with its object.
    EXPECT_EQ(Account(books::kDefaultAccount)->Get_mDebitlist()->GetCount(), 2u);
    EXPECT_EQ(Category(books::kIncomeCategory)->Get_Bookings()->GetCount(), 2u);
}

TEST_F(TransactionTest, AccountsAreCheckedAgainstTheTransactionType)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* shop = AddAccount("Shop", books::kProfitAndLossType);
    // type, debit side?, account, accepted, error (0: none)
    const struct {
        TransactionTypeT type;
        bool debitSide;
        CAccount* account;
        bool accepted;
        long error;
    } cases[] = {
        {transaction_type::kExpense, true, shop, false, 134},   {transaction_type::kExpense, true, bank, true, 0},
        {transaction_type::kExpense, false, bank, false, 131},  {transaction_type::kExpense, false, shop, true, 0},
        {transaction_type::kIncome, true, bank, false, 135},    {transaction_type::kIncome, true, shop, true, 0},
        {transaction_type::kIncome, false, shop, false, 132},   {transaction_type::kIncome, false, bank, true, 0},
        {transaction_type::kTransfer, true, shop, true, 133},   {transaction_type::kTransfer, false, bank, true, 0},
        {transaction_type::kOther, true, shop, true, 0},        {transaction_type::kOther, false, bank, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << (c.debitSide ? " debit " : " credit ")
                                        << c.account->Get_StringrefName());
        CTransaction* transaction = NewTransaction(c.type);
        CDebit* line = c.debitSide ? Debit(transaction) : static_cast<CDebit*>(Credit(transaction));
        ObjectIdT before = line->Get_mAccountId();
        env.alerts().clear();
        bool accepted = c.debitSide ? transaction->Set_Debit_Account(line, c.account->Get_Id())
                                    : transaction->Set_Credit_Account(Credit(transaction), c.account->Get_Id());
        EXPECT_EQ(accepted, c.accepted);
        EXPECT_EQ(line->Get_mAccountId(), c.accepted ? c.account->Get_Id() : before);
        EXPECT_EQ(env.alerts().numbers(), c.error ? std::vector<long>{c.error} : std::vector<long>{});
    }
}

TEST_F(TransactionTest, TheTotalMovesSingleLinesAndBalancesTheCategory)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CTransaction* groceries = NewTransaction(transaction_type::kExpense);
    groceries->Set_Debit_Account(Debit(groceries), bank->Get_Id());
    groceries->Put_mTotalAmount(42.5);

    EXPECT_DOUBLE_EQ(Debit(groceries)->Get_mLocalAmount(), 42.5);
    EXPECT_DOUBLE_EQ(Credit(groceries)->Get_mLocalAmount(), 42.5);
    EXPECT_DOUBLE_EQ(ForLine(groceries)->Get_mLocalAmount(), 42.5);   // the property change
    EXPECT_DOUBLE_EQ(bank->Get_mBalance(), -42.5);
    EXPECT_DOUBLE_EQ(Account(books::kExpenseAccount)->Get_mBalance(), -42.5);
    EXPECT_DOUBLE_EQ(Category(books::kExpenseCategory)->Get_Amount(), 42.5);
    EXPECT_TRUE(groceries->Validate());
    EXPECT_EQ(groceries->Get_ObjectStatus(), status::kNormal);

    // Between two own accounts the category becomes the unspecified transfer.
    CAccount* savings = AddAccount("Savings", books::kOwnPropertyType);
    CTransaction* transfer = NewTransaction(transaction_type::kTransfer);
    transfer->Set_Debit_Account(Debit(transfer), bank->Get_Id());
    transfer->Set_Credit_Account(Credit(transfer), savings->Get_Id());
    transfer->Put_mTotalAmount(100.0);
    EXPECT_EQ(ForLine(transfer)->Get_mAccountId(), books::kTransferCategory);
    EXPECT_DOUBLE_EQ(ForLine(transfer)->Get_mLocalAmount(), 100.0);
    EXPECT_TRUE(transfer->Validate());
    ExpectBalancesMatchLines();
}

TEST_F(TransactionTest, MovingAPostedLineRepostsIt)
{
    CAccount* a = AddAccount("A", books::kOwnPropertyType);
    CAccount* b = AddAccount("B", books::kAssetsType);
    CTransaction* transaction = Book(a, Account(books::kExpenseAccount), 30.0);
    CDebit* line = Debit(transaction);
    MessageLog log;
    line->AddListener(&log);

    line->Put_mAccountId(b->Get_Id(), true, nullptr);

    EXPECT_DOUBLE_EQ(a->Get_mBalance(), 0.0);
    EXPECT_EQ(a->Get_mDebitlist()->GetCount(), 0u);
    EXPECT_DOUBLE_EQ(b->Get_mBalance(), -30.0);
    EXPECT_EQ(b->Get_mDebitlist()->FetchIndexOfObject(line), 1);
    EXPECT_DOUBLE_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(Type(books::kAssetsType)->Get_mBalance(), -30.0);

    // The same home-currency amount again changes nothing and says nothing.
    line->Put_mLocalAmount(30.0);
    line->Put_mAmount(30.0, nullptr);
    EXPECT_TRUE(log.entries.empty());
    line->Put_mLocalAmount(35.0);
    EXPECT_EQ(log.messages(), std::vector<MessageT>{msg::kLineAmountChanged});
    EXPECT_DOUBLE_EQ(b->Get_mBalance(), -35.0);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionTest, ANewDateMovesThePostedAmountsIntoTheirYears)
{
    // Today is 15 March 2024: each date puts the booking in another column.
    const struct {
        DateT date;
        double thisYear, lastYear, lastYearToDate;
    } cases[] = {{20230110, 0, 40, 40}, {20230601, 0, 40, 0}, {20221231, 0, 0, 0}, {20240302, 40, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        CExpenseType* rent = AddCategory("Rent", 1);
        CTransaction* transaction = Book(Account(books::kDefaultAccount), Account(books::kExpenseAccount), 40.0,
                                         20240301, rent->Get_Id());
        transaction->Put_mDate(c.date);
        EXPECT_DOUBLE_EQ(rent->Get_Amount(), 40.0);
        EXPECT_DOUBLE_EQ(rent->Get_thisYearsBalance(), c.thisYear);
        EXPECT_DOUBLE_EQ(rent->Get_lastYearsBalance(), c.lastYear);
        EXPECT_DOUBLE_EQ(rent->Get_lastYearsBalanceYTD(), c.lastYearToDate);
        // Then a new amount: the old one leaves the year it is in.
        transaction->Put_mTotalAmount(25.0);
        EXPECT_DOUBLE_EQ(rent->Get_thisYearsBalance(), c.thisYear * 25.0 / 40.0);
        EXPECT_DOUBLE_EQ(rent->Get_lastYearsBalance(), c.lastYear * 25.0 / 40.0);
        EXPECT_DOUBLE_EQ(rent->Get_lastYearsBalanceYTD(), c.lastYearToDate * 25.0 / 40.0);
        ExpectBalancesMatchLines();
    }
}

TEST_F(TransactionTest, OpeningBalancesAndCorrectionsPassTheirChecksUnchanged)
{
    // The checks run when a transaction's sheet is okayed: on the books' own
    // balancing transactions they must find nothing to turn round, whichever
    // categories the settings name for them.
    CCurrency* usd = AddCurrency("USD", 0.5);
    const struct {
        const char* what;
        ObjectIdT unspecifiedExpense, correction;
    } settings[] = {
        {"the default categories", books::kExpenseCategory, books::kCorrectionCategory},
        {"the opening balance as the unspecified expense", books::kOpeningCategory, books::kCorrectionCategory},
        {"an expense as the correction category", books::kExpenseCategory, books::kExpenseCategory},
    };
    for (const auto& setting : settings) {
        SCOPED_TRACE(setting.what);
        root.mPreference->Put_mDefExpTUnspecifiedExpense(setting.unspecifiedExpense);
        root.mPreference->Put_mDefExpTUnspecifiedCorrection(setting.correction);
        CAccount* loan = AddAccount("Loan", books::kDebtType);
        CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
        loan->AdjustBlanceTo(1898.08, false);
        bank->AdjustBlanceTo(250.0, false);
        bank->AdjustBlanceTo(200.0, false);
        loan->AdjustBlanceTo(2000.0, false);
        // What a change of home currency leaves on accounts of another
        // currency, gains and losses, and a home balance left without money.
        for (ObjectIdT type : {books::kOwnPropertyType, books::kDebtType}) {
            CAccount* dollars = AddAccount("Dollars", type, usd->Get_Id());
            for (double delta : {4.57, -4.57}) CTransaction::BookHomeCurrencyRemainder(dollars, delta, &root);
            Book(Account(books::kIncomeAccount), dollars, 55.0);
            CTransaction::ForceLocalBalanceToZero(dollars, &root);
        }
        const BalanceSnapshot before = Balances();
        int checked = 0;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root.mTransactionList->GetCount()); ++i) {
            auto* transaction = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(i));
            if (transaction->Get_ObjectStatus() != status::kBalancing) continue;
            SCOPED_TRACE(transaction->Get_StringrefName());
            const double line = ForLine(transaction)->Get_mLocalAmount();
            EXPECT_TRUE(transaction->Validate());
            EXPECT_DOUBLE_EQ(ForLine(transaction)->Get_mLocalAmount(), line);
            ++checked;
        }
        EXPECT_GE(checked, 10);
        EXPECT_EQ(Balances(), before);
    }
}

TEST_F(TransactionTest, UnlinkingThenLinkingRestoresEveryBalance)
{
    CCurrency* usd = AddCurrency("USD", 0.8);
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
    CAccount* loan = AddAccount("Loan", books::kDebtType);
    CExpenseType* rent = AddCategory("Rent", 1);
    Book(Account(books::kIncomeAccount), bank, 1000.0, 20240105, books::kIncomeCategory);
    CTransaction* split = Book(bank, Account(books::kExpenseAccount), 300.0, 20240110, rent->Get_Id());
    split->Add_Debit(-1, false, 0.0)->Put_mAccountId(loan->Get_Id(), true, nullptr);
    Debit(split, 2)->Put_mLocalAmount(120.0);
    split->Add_Credit(-1, false, 120.0)->Put_mAccountId(dollars->Get_Id(), true, nullptr);
    split->Put_mLocalAmount(420.0);
    BalanceSnapshot before = Balances();

    ASSERT_TRUE(split->Unlink());
    EXPECT_EQ(split->Get_ObjectStatus(), status::kUnlinked);
    EXPECT_NE(Balances(), before);
    EXPECT_EQ(loan->Get_mDebitlist()->GetCount(), 0u);
    EXPECT_EQ(rent->Get_Bookings()->GetCount(), 0u);
    // Lines of an unlinked transaction book nothing, whatever changes.
    BalanceSnapshot unlinked = Balances();
    Debit(split)->Put_mLocalAmount(999.0);
    Debit(split)->Put_mAccountId(loan->Get_Id(), true, nullptr);
    ForLine(split)->Put_mAccountId(books::kIncomeCategory, true, nullptr);
    split->Add_ExpenseType(-1, false, 5.0);
    EXPECT_EQ(Balances(), unlinked);
    Debit(split)->Put_mAccountId(bank->Get_Id(), true, nullptr);
    Debit(split)->Put_mLocalAmount(300.0);
    ForLine(split)->Put_mAccountId(rent->Get_Id(), true, nullptr);
    ASSERT_TRUE(split->Delete_ExpenseType(ForLine(split, 2)));
    EXPECT_EQ(Balances(), unlinked);

    ASSERT_TRUE(split->Link());
    EXPECT_EQ(split->Get_ObjectStatus(), status::kNormal);
    EXPECT_EQ(Balances(), before);
    ExpectBalancesMatchLines();

    // A second link or unlink is refused.
    env.alerts().clear();
    EXPECT_FALSE(split->Link());
    ASSERT_TRUE(split->Unlink());
    EXPECT_FALSE(split->Unlink());
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{137, 137}));
}

TEST_F(TransactionTest, ACategoryUsedByAnUnlinkedTransactionStays)
{
    CExpenseType* rent = AddCategory("Rent", 1);
    CTransaction* transaction = Book(AddAccount("Bank", books::kOwnPropertyType),
                                     Account(books::kExpenseAccount), 700.0, 20240301, rent->Get_Id());
    ASSERT_TRUE(transaction->Unlink());
    root.mTransactionList->RemoveObject(transaction);
    root.mUnlinkedList->InsertObjectAt(transaction, 1);
    ASSERT_EQ(rent->Get_Bookings()->GetCount(), 0u);

    env.alerts().clear();
    EXPECT_FALSE(rent->DeleteSelf());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{168});

    ASSERT_TRUE(transaction->Link());
    EXPECT_EQ(ForLine(transaction)->Get_mAccountPtr(), rent);
    EXPECT_DOUBLE_EQ(rent->Get_Amount(), 700.0);
    root.mUnlinkedList->RemoveObject(transaction);
    root.mTransactionList->InsertObjectAt(transaction, 1);
}

TEST_F(TransactionTest, TemplateLinesNeverTouchABalance)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    BalanceSnapshot before = Balances();
    auto* recurring = new TemplateTransaction(&root);
    recurring->Set_Debit_Account(Debit(recurring), bank->Get_Id());
    recurring->Put_mTotalAmount(75.0);
    Debit(recurring)->Put_mAccountId(books::kDefaultAccount, true, nullptr);
    EXPECT_EQ(Balances(), before);
    EXPECT_EQ(bank->Get_mDebitlist()->GetCount(), 0u);
    EXPECT_DOUBLE_EQ(Credit(recurring)->Get_mLocalAmount(), 75.0);
    EXPECT_TRUE(recurring->IsOnAccount(Account(books::kDefaultAccount)));
    ASSERT_TRUE(recurring->DeleteSelf());
    EXPECT_EQ(Balances(), before);
}

TEST_F(TransactionTest, UnpostedLinesConvertThroughTheGivenCurrency)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    auto* transaction = new CTransaction(-1, &root, true, transaction_type::kOther, true);
    CDebit* line = Debit(transaction);
    line->Put_mCurrency(usd->Get_Id(), usd);

    line->Put_mAmount(10.0, nullptr);   // 10 in the home currency
    EXPECT_DOUBLE_EQ(line->Get_mLocalAmount(), 10.0);
    EXPECT_DOUBLE_EQ(line->Get_mAmount(), 20.0);
    line->Put_mAmount(30.0, usd);       // 30 dollars
    EXPECT_DOUBLE_EQ(line->Get_mLocalAmount(), 15.0);
    EXPECT_DOUBLE_EQ(line->Get_mAmount(), 30.0);
    delete transaction;
}

// An account kept in another currency counts a line by its currency: every
// way a posted line changes currency must take it off and post it again, or
// the account keeps an amount that no line gives and deleting leaves it there.
TEST_F(TransactionTest, ALineChangingCurrencyIsPostedAgain)
{
    CCurrency* usd = AddCurrency("USD", 0.9);   // 100.00 EUR = 111.11 USD
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
    const ObjectIdT dollar = usd->Get_Id();
    const struct {
        const char* path;
        bool fromDollars;   // the dollar account pays instead of receiving
        std::function<void(CTransaction*)> change;
    } cases[] = {
        {"transaction currency", false, [&](CTransaction* t) { t->Put_mCurrencyId(dollar, nullptr); }},
        {"transaction currency, paid in dollars", true,
         [&](CTransaction* t) { t->Put_mCurrencyId(dollar, usd); }},
        {"line currency kept with its amount", false, [&](CTransaction* t) { Credit(t)->Put_mCurrency(usd); }},
        {"line currency by id", false, [&](CTransaction* t) { Credit(t)->Put_mCurrency(dollar, nullptr); }},
        {"line currency through the transaction", true,
         [&](CTransaction* t) { t->Set_Debit_Curreny(Debit(t), dollar, usd); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const BalanceSnapshot before = Balances();
        const double held = dollars->Get_mBalance();
        CTransaction* transfer = c.fromDollars ? Book(dollars, bank, 100.0) : Book(bank, dollars, 100.0);
        ASSERT_NEAR(std::fabs(dollars->Get_mBalance() - held), 111.11, 1e-9);
        c.change(transfer);

        CDebit* line = c.fromDollars ? Debit(transfer) : static_cast<CDebit*>(Credit(transfer));
        ASSERT_EQ(line->Get_mCurrency(), dollar);
        EXPECT_NEAR(dollars->Get_mBalance() - held, c.fromDollars ? -line->Get_mAmount() : line->Get_mAmount(),
                    1e-9);
        ExpectBalancesMatchLines();

        ASSERT_TRUE(root.DeleteObject(transfer));
        for (const auto& [key, balance] : Balances()) EXPECT_NEAR(balance, before.at(key), 1e-9) << key;
    }
}

TEST_F(TransactionTest, ValidationChecksTheSidesWithTheDocumentsDecimals)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* savings = AddAccount("Savings", books::kOwnPropertyType);
    // debit total, credit total -> error (0: valid)
    const struct {
        double debit, credit;
        long error;
    } cases[] = {{10.00, 10.01, 128}, {10.00, 10.004, 128}, {10.00, 10.001, 0}, {0.0, 0.0, 238}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.debit << " against " << c.credit);
        CTransaction* transaction = Book(bank, savings, 0.0);
        Debit(transaction)->Put_mLocalAmount(c.debit);
        Credit(transaction)->Put_mLocalAmount(c.credit);
        ForLine(transaction)->Put_mLocalAmount(0.0);
        env.alerts().clear();
        EXPECT_EQ(transaction->Validate(), c.error == 0);
        EXPECT_EQ(env.alerts().numbers(), c.error ? std::vector<long>{c.error} : std::vector<long>{});
    }

    // Blocked, adjusting and unlinked transactions keep their status.
    for (ObjectStatusT kept : {status::kBlocked, status::kBalancing, status::kUnlinked}) {
        CTransaction* transaction = Book(bank, savings, 12.0);
        transaction->Put_Status(kept);
        EXPECT_TRUE(transaction->Validate());
        EXPECT_EQ(transaction->Get_ObjectStatus(), kept);
    }

    // Category lines that don't explain the property change are balanced, or refused.
    CTransaction* expense = Book(bank, Account(books::kExpenseAccount), 20.0, 20240301,
                                 books::kExpenseCategory);
    ForLine(expense)->Put_mLocalAmount(-20.0);
    EXPECT_TRUE(expense->Validate());
    EXPECT_DOUBLE_EQ(ForLine(expense)->Get_mLocalAmount(), 20.0);
    expense->Add_ExpenseType(-1, false, 5.0)->Put_mAccountId(books::kExpenseCategory, true, nullptr);
    env.alerts().clear();
    EXPECT_FALSE(expense->Validate());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{144});

    // Two category lines a cent apart from the property change: typed so in
    // the home currency it is refused; converted from another currency, each
    // line rounded on its own, the largest takes the cent.
    CCurrency* usd = AddCurrency("USD", 0.5);
    for (bool converted : {false, true}) {
        SCOPED_TRACE(converted ? "converted" : "home currency");
        CTransaction* split = Book(bank, Account(books::kExpenseAccount), 20.0, 20240301, books::kExpenseCategory);
        ForLine(split)->Put_mLocalAmount(11.99);
        CDebit* second = split->Add_ExpenseType(-1, false, 8.0);
        second->Put_mAccountId(books::kExpenseCategory, true, nullptr);
        if (converted) {
            ForLine(split)->Put_mCurrency(usd->Get_Id(), usd);
            second->Put_mCurrency(usd->Get_Id(), usd);
        }
        env.alerts().clear();
        EXPECT_EQ(split->Validate(), converted);
        EXPECT_EQ(env.alerts().numbers(), converted ? std::vector<long>{} : std::vector<long>{144});
        if (converted) EXPECT_DOUBLE_EQ(ForLine(split)->Get_mLocalAmount() + second->Get_mLocalAmount(), 20.0);
    }

    // Between two profit-and-loss accounts a category line explains no
    // property change and is zeroed; an invoice's or credit note's books the
    // turnover invoiced and stays.
    for (TransactionTypeT kind : {transaction_type::kOther, transaction_type::kCustomerInvoice,
                                  transaction_type::kSupplierInvoice}) {
        CTransaction* between = Book(Account(books::kIncomeAccount), Account(books::kExpenseAccount), 50.0,
                                     20240301, books::kIncomeCategory);
        between->Put_mTransactionType(kind);
        ForLine(between)->Put_mLocalAmount(50.0);
        EXPECT_TRUE(between->Validate());
        EXPECT_DOUBLE_EQ(ForLine(between)->Get_mLocalAmount(), kind == transaction_type::kOther ? 0.0 : 50.0)
            << int(kind);
    }
}

TEST_F(TransactionTest, EverySideKeepsALineAndBlockedTransactionsStay)
{
    CTransaction* transaction = NewTransaction();
    env.alerts().clear();
    EXPECT_FALSE(transaction->Delete_Debit(Debit(transaction)));
    EXPECT_EQ(transaction->GetDebitList()->GetCount(), 1u);
    CDebit* second = transaction->Add_Debit(-1, false, 0.0);
    EXPECT_TRUE(transaction->Delete_Debit(Debit(transaction)));
    EXPECT_EQ(Debit(transaction), second);

    transaction->Put_Status(status::kBlocked);
    transaction->Add_Credit(-1, false, 0.0);
    EXPECT_FALSE(transaction->Delete_Credit(Credit(transaction)));
    EXPECT_FALSE(transaction->DeleteSelf());
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{142, 140, 137}));
}

TEST_F(TransactionTest, TextsAndReferences)
{
    CTransaction* transaction = NewTransaction();
    transaction->Put_CFDocumentReference("Invoice 12");
    transaction->Put_CFDocumentReference("INVOICE 12");   // a change of case alone is not taken
    EXPECT_EQ(transaction->Get_CFDocumentReference(), "Invoice 12");
    transaction->Put_mVATNr("NL123456789B01");
    EXPECT_EQ(transaction->Get_CFVATNr(), "NL123456789");
    char vat[CTransaction::kVATNrSize];
    transaction->Get_mVATNr(vat);
    EXPECT_STREQ(vat, "NL123456789");
    std::string longText(300, 'x');
    transaction->Put_mDescription(longText.c_str());
    char description[kDescriptionSize];
    transaction->Get_mDescription(description);
    EXPECT_EQ(std::string(description).size(), CTransaction::kMaxDescriptionLength);
    EXPECT_EQ(transaction->Get_StringrefDesc().size(), 300u);

    EXPECT_TRUE(Debit(transaction)->HasComment());
    transaction->Put_mDescription("Opening Balance");
    EXPECT_FALSE(Debit(transaction)->HasComment());
    transaction->Put_mDescription("Paid in cash");
    EXPECT_TRUE(Debit(transaction)->HasComment());
}

} // namespace
} // namespace ch::test
