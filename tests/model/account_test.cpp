// Accounts: posting by master type, grouping, foreign currencies, balances
// from the lines, line registration, corrections, deletion and the record.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "booking_fixture.h"
#include "model/CAccountOwner.h"

namespace ch::test {
namespace {

using AccountTest = BookingTest;

TEST_F(AccountTest, DebitAndCreditFollowTheMasterTypeUpToTheType)
{
    // Master type -> change of the balance by a debit of 100; a credit is the opposite.
    const struct {
        long masterType;
        double debitEffect;
    } cases[] = {{1, -100}, {2, 100}, {3, 100}, {4, -100}, {5, 100}, {6, -100}, {0, 0}, {7, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.masterType);
        CAccType* accountType = AddType("Kind", c.masterType);
        CAccount* account = AddAccount("Account", accountType->Get_Id());
        MessageLog log;
        account->AddListener(&log);

        account->Debiteer(100.0, 100.0, books::kEUR, nullptr, 20240301);
        EXPECT_DOUBLE_EQ(account->Get_mBalance(), c.debitEffect);
        EXPECT_DOUBLE_EQ(account->Get_mLocalBalance(), c.debitEffect);
        EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), c.debitEffect);
        EXPECT_EQ(log.messages(), std::vector<MessageT>{msg::kBalanceChanged});

        account->Crediteer(100.0, 100.0, books::kEUR, nullptr, 20240301);
        EXPECT_DOUBLE_EQ(account->Get_mBalance(), 0.0);
        EXPECT_DOUBLE_EQ(accountType->Get_mBalance(), 0.0);
    }
}

TEST_F(AccountTest, AnAccountWithoutATypeBooksNothing)
{
    CAccount* typeless = AddAccount("No type", 0);
    CAccount* unknownType = AddAccount("Unknown type", 999);
    ASSERT_EQ(typeless->Get_mAccountTypePtr(), nullptr);
    ASSERT_EQ(unknownType->Get_mAccountTypePtr(), nullptr);
    EXPECT_EQ(unknownType->Get_mAccountTypeId(), 999);
    BalanceSnapshot before = Balances();

    typeless->Debiteer(50.0, 50.0, books::kEUR, nullptr, 20240301);
    unknownType->Crediteer(50.0, 50.0, books::kEUR, nullptr, 20240301);
    Book(typeless, unknownType, 25.0);

    BalanceSnapshot after = Balances();
    EXPECT_EQ(after[typeless->CalculateKey()], 0.0);
    EXPECT_EQ(after[unknownType->CalculateKey() + "/local"], 0.0);
    for (ObjectIdT id : {1, 2, 3, 6}) EXPECT_EQ(after[Type(id)->CalculateKey()], before[Type(id)->CalculateKey()]);
}

TEST_F(AccountTest, ASubAccountPostsThroughItsGroupingAccount)
{
    CAccount* group = AddAccount("Bank", books::kOwnPropertyType);
    CAccType* subType = AddType("Savings", 1);
    CAccount* sub = AddAccount("Savings", subType->Get_Id());
    sub->Put_mGroupingAccount(group->Get_Id(), nullptr);
    MessageLog groupLog, subLog;
    group->AddListener(&groupLog);
    sub->AddListener(&subLog);

    sub->Crediteer(80.0, 80.0, books::kEUR, nullptr, 20240301);

    EXPECT_DOUBLE_EQ(sub->Get_mBalance(), 80.0);
    EXPECT_DOUBLE_EQ(group->Get_mBalance(), 80.0);
    EXPECT_DOUBLE_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), 80.0);
    EXPECT_DOUBLE_EQ(subType->Get_mBalance(), 0.0);   // only the grouping account posts to its type
    EXPECT_EQ(groupLog.messages(), std::vector<MessageT>{msg::kBalanceChanged});
    EXPECT_EQ(subLog.messages(), std::vector<MessageT>{msg::kBalanceChanged});
}

TEST_F(AccountTest, AGroupingLoopEndsAtTheAccountsOwnType)
{
    CAccount* a = AddAccount("A", books::kOwnPropertyType);
    CAccount* b = AddAccount("B", books::kOwnPropertyType);
    a->Put_mGroupingAccount(b->Get_Id(), nullptr);
    b->Put_mGroupingAccount(a->Get_Id(), nullptr);

    a->Crediteer(10.0, 10.0, books::kEUR, nullptr, 20240301);

    EXPECT_DOUBLE_EQ(a->Get_mBalance(), 10.0);
    EXPECT_DOUBLE_EQ(b->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), 10.0);
}

TEST_F(AccountTest, AForeignAccountTakesItsOwnAmountAndConvertsOthers)
{
    CCurrency* usd = AddCurrency("USD", 0.5);   // 1 USD = 0.50 EUR
    CCurrency* gbp = AddCurrency("GBP", 1.25);  // 1 GBP = 1.25 EUR
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());

    dollars->Crediteer(50.0, 100.0, usd->Get_Id(), usd, 20240301);   // 100 USD booked as 50 EUR
    EXPECT_DOUBLE_EQ(dollars->Get_mBalance(), 100.0);
    EXPECT_DOUBLE_EQ(dollars->Get_mLocalBalance(), 50.0);

    dollars->Crediteer(12.5, 10.0, gbp->Get_Id(), gbp, 20240301);    // 10 GBP = 12.50 EUR = 25 USD
    EXPECT_DOUBLE_EQ(dollars->Get_mBalance(), 125.0);
    EXPECT_DOUBLE_EQ(dollars->Get_mLocalBalance(), 62.5);
    EXPECT_DOUBLE_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), 62.5);
    EXPECT_EQ(dollars->Get_currencySymbol(), "USD");
}

TEST_F(AccountTest, BalancesInPeriodsComeFromTheLines)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* shop = AddAccount("Shop", books::kProfitAndLossType);
    Book(shop, bank, 50.0, 20240110);   // a credit line of 50 on the bank
    Book(bank, shop, 20.0, 20240220);   // a debit line of 20
    CAccount* refunds = AddAccount("Refunds", books::kProfitAndLossType);
    CAccount* cash = AddAccount("Cash", books::kOwnPropertyType);
    Book(cash, refunds, 50.0, 20240110);   // the same lines on a profit-and-loss account
    Book(refunds, cash, 20.0, 20240220);

    double b[4] = {};
    bank->Get_BalanceInPeriod(b[0], b[1], b[2], b[3], 20241231, 20240131, 20240228, 20240228, true,
                              0, 0, 20240201, 0);
    EXPECT_DOUBLE_EQ(b[0], 30.0);
    EXPECT_DOUBLE_EQ(b[1], 50.0);
    EXPECT_DOUBLE_EQ(b[2], 30.0);   // cumulative: the start is not used
    bank->Get_MovementsInPeriod(b[0], b[1], b[2], b[3], 20241231, 20240131, 20240228, 20240131, 0, 0,
                                20240201, 20240201);
    EXPECT_DOUBLE_EQ(b[2], -20.0);
    EXPECT_DOUBLE_EQ(b[3], 0.0);    // start after end
    refunds->Get_BalanceInPeriod(b[0], b[1], b[2], b[3], 20241231, 0, 0, 0, true, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(b[0], -30.0);
    ExpectBalancesMatchLines();
}

TEST_F(AccountTest, LinesRegisterOnceInTheirOwnListAndBroadcast)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CTransaction* transaction = NewTransaction();
    CDebit* debit = Debit(transaction);
    CCredit* credit = Credit(transaction);
    MessageLog log;
    bank->AddListener(&log);

    debit->Put_mAccountId(bank->Get_Id(), true, nullptr);
    credit->Put_mAccountId(bank->Get_Id(), true, nullptr);
    EXPECT_TRUE(bank->AddDetail(debit));   // already listed: nothing happens
    EXPECT_FALSE(bank->AddDetail(ForLine(transaction)));
    EXPECT_EQ(bank->Get_mDebitlist()->GetCount(), 1u);
    EXPECT_EQ(bank->Get_mCreditList()->GetCount(), 1u);

    debit->Put_mAccountId(books::kDefaultAccount, true, nullptr);
    EXPECT_EQ(bank->Get_mDebitlist()->GetCount(), 0u);
    std::vector<MessageT> lineMessages;
    std::vector<void*> lines;
    for (const auto& entry : log.entries) {
        if (entry.message == msg::kBalanceChanged) continue;
        lineMessages.push_back(entry.message);
        lines.push_back(entry.param);
    }
    EXPECT_EQ(lineMessages, (std::vector<MessageT>{msg::kDebitLineAdded, msg::kCreditLineAdded,
                                                   msg::kDebitLineRemoved}));
    EXPECT_EQ(lines, (std::vector<void*>{debit, credit, debit}));
}

TEST_F(AccountTest, ValidationAndDeletionChecks)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    EXPECT_TRUE(bank->Validate());
    EXPECT_EQ(bank->Get_ObjectStatus(), status::kNormal);

    env.alerts().clear();
    EXPECT_FALSE(AddAccount("No type", 0)->Validate());
    auto* twin = new CAccount(bank->Get_Id(), &root);   // refused by the list, checked against it
    twin->Put_mAccountTypeId(books::kOwnPropertyType, nullptr, true);
    EXPECT_FALSE(twin->Validate());
    twin->Put_mAccountTypeId(0, nullptr, true);
    delete twin;
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{129, 130}));

    // The default accounts of the settings and an owner's accounts stay.
    env.alerts().clear();
    EXPECT_FALSE(Account(books::kDefaultAccount)->CanBeDeleted(true, nullptr));
    root.Get_Me()->setMDebitorAccount(bank->Get_Id());
    EXPECT_FALSE(bank->CanBeDeleted(true, nullptr));
    EXPECT_TRUE(bank->CanBeDeleted(true, root.Get_Me()));
    EXPECT_EQ(env.alerts().numbers(), (std::vector<long>{233, 267}));

    // A blocked booking keeps the account; without showError nothing is said.
    root.Get_Me()->setMDebitorAccount(-1);
    Book(bank, Account(books::kExpenseAccount), 5.0)->Put_Status(status::kBlocked);
    env.alerts().clear();
    EXPECT_FALSE(bank->CanBeDeleted(false, nullptr));
    EXPECT_TRUE(env.alerts().numbers().empty());
    EXPECT_FALSE(bank->BeforeDelete());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{143});
}

TEST_F(AccountTest, DeletingAnAccountDeletesItsBookingsAfterTheQuestion)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* shop = Account(books::kExpenseAccount);
    BalanceSnapshot before = Balances();
    Book(bank, shop, 30.0);
    Book(shop, bank, 10.0);
    CTransaction* kept = Book(Account(books::kDefaultAccount), shop, 7.0);
    size_t transactions = root.mTransactionList->GetCount();

    env.alerts().clear();
    EXPECT_FALSE(bank->BeforeDelete());   // the question is answered "Cancel"
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{261});
    EXPECT_EQ(root.mTransactionList->GetCount(), transactions);

    env.alerts().scriptAnswer(AlertAnswer::Alternate);
    ASSERT_TRUE(bank->BeforeDelete());
    EXPECT_EQ(root.mTransactionList->GetCount(), transactions - 2);
    EXPECT_EQ(root.mTransactionList->FetchIndexOfObject(kept), 1);
    root.mAccountList->RemoveObject(bank);
    delete bank;
    BalanceSnapshot after = Balances();
    EXPECT_DOUBLE_EQ(after[shop->CalculateKey()], before[shop->CalculateKey()] - 7.0);
    EXPECT_DOUBLE_EQ(after[Type(books::kOwnPropertyType)->CalculateKey()],
                     before[Type(books::kOwnPropertyType)->CalculateKey()] - 7.0);
}

TEST_F(AccountTest, QueriesOverTheBookings)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* shop = AddAccount("Shop", books::kProfitAndLossType);
    CAccount* other = AddAccount("Other", books::kProfitAndLossType);
    CTransaction* first = Book(bank, shop, 12.5, 20240105);
    first->Put_Name("Groceries at the market");
    CTransaction* second = Book(bank, shop, 12.5, 20240110);
    second->Put_Name("Groceries at the market, again");
    Book(bank, other, 12.5, 20240110);

    EXPECT_EQ(bank->CheckDuplicateTransaction(bank->Get_Id(), shop->Get_Id(), 12.5, 0, 20240108,
                                              20240131, std::nullopt, std::nullopt),
              second->Get_Id());
    EXPECT_EQ(shop->CheckDuplicateTransaction(bank->Get_Id(), shop->Get_Id(), 12.5, 0, 20240101,
                                              20240107, std::nullopt, std::nullopt),
              first->Get_Id());
    EXPECT_EQ(bank->CheckDuplicateTransaction(bank->Get_Id(), shop->Get_Id(), 12.6, 0, 20240101,
                                              20240131, std::nullopt, std::nullopt),
              0);
    EXPECT_EQ(other->CheckDuplicateTransaction(bank->Get_Id(), shop->Get_Id(), 12.5, 0, 20240101,
                                               20240131, std::nullopt, std::nullopt),
              0);   // neither side

    // The first thirty characters decide.
    EXPECT_EQ(bank->giveOtherAccountForDescription("Groceries at the market, again", true), shop);
    EXPECT_EQ(bank->giveOtherAccountForDescription("Groceries at the market, agaiN", true), nullptr);
    EXPECT_EQ(bank->giveOtherAccountForDescription("Groceries at the market, again", false), nullptr);

    auto transactions = bank->getStockTransactionList();
    ASSERT_EQ(transactions->GetCount(), 3u);
}

TEST_F(AccountTest, CorrectionsKeepTheBooksConsistent)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* loan = AddAccount("Loan", books::kDebtType);
    Book(Account(books::kIncomeAccount), bank, 100.0);

    env.alerts().clear();
    EXPECT_TRUE(bank->AdjustBlanceTo(100.0, false));   // already there: nothing booked
    size_t transactions = root.mTransactionList->GetCount();
    EXPECT_TRUE(bank->AdjustBlanceTo(150.0, false));
    EXPECT_TRUE(loan->AdjustBlanceTo(-40.0, false));
    EXPECT_EQ(root.mTransactionList->GetCount(), transactions + 2);
    EXPECT_DOUBLE_EQ(bank->Get_mBalance(), 150.0);
    EXPECT_DOUBLE_EQ(loan->Get_mBalance(), -40.0);
    EXPECT_FALSE(AddAccount("No type", 0)->AdjustBlanceTo(5.0, false));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{153});
    ExpectBalancesMatchLines();

    // A rate change of a foreign account: its correction posts on reading
    // exactly what the account took, whatever the sign and kind.
    CCurrency* usd = AddCurrency("USD", 0.5);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
    CAccount* dollarLoan = AddAccount("Dollar loan", books::kDebtType, usd->Get_Id());
    dollars->AdjustBlanceTo(200.0, false);
    dollarLoan->AdjustBlanceTo(80.0, false);
    ExpectBalancesMatchLines();
    usd->Put_mConversionFactor(0.6, 0);
    usd->Put_mConversionFactor(0.45, 0);
    ExpectBalancesMatchLines();
    EXPECT_DOUBLE_EQ(dollars->Get_mLocalBalance(), 90.0);
    EXPECT_DOUBLE_EQ(dollarLoan->Get_mLocalBalance(), 36.0);

}

TEST_F(AccountTest, AHomeCurrencyRemainderIsBookedAway)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
    // 100 USD came in worth 55 EUR and went out worth 50 EUR.
    CTransaction* in = Book(Account(books::kIncomeAccount), dollars, 55.0);
    Credit(in)->Put_mCurrency(usd->Get_Id(), usd);
    Credit(in)->Put_mAmounts(55.0, 100.0);
    CTransaction* out = Book(dollars, Account(books::kExpenseAccount), 50.0);
    Debit(out)->Put_mCurrency(usd->Get_Id(), usd);
    Debit(out)->Put_mAmounts(50.0, 100.0);
    ASSERT_DOUBLE_EQ(dollars->Get_mBalance(), 0.0);
    ASSERT_DOUBLE_EQ(dollars->Get_mLocalBalance(), 5.0);
    BalanceSnapshot before = Balances();

    EXPECT_FALSE(AddAccount("Bank", books::kOwnPropertyType)->ForceLocalBalanceToZero());
    EXPECT_TRUE(dollars->ForceLocalBalanceToZero());

    EXPECT_DOUBLE_EQ(dollars->Get_mLocalBalance(), 0.0);
    BalanceSnapshot after = Balances();
    EXPECT_DOUBLE_EQ(after[Type(books::kOwnPropertyType)->CalculateKey()],
                     before[Type(books::kOwnPropertyType)->CalculateKey()] - 5.0);
    // The loss goes to the opening-balance account and, as a loss, to the
    // correction category.
    EXPECT_DOUBLE_EQ(after[Account(books::kCorrectionAccount)->CalculateKey() + "/local"],
                     before[Account(books::kCorrectionAccount)->CalculateKey() + "/local"] - 5.0);
    EXPECT_DOUBLE_EQ(after[Category(books::kCorrectionCategory)->CalculateKey()], -5.0);
    ExpectBalancesMatchLines();
    // Okayed again on its sheet, the adjustment's check finds nothing to turn round.
    auto* adjustment = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(1));
    ASSERT_EQ(adjustment->Get_StringrefName(), "Local Balance Adustment");
    EXPECT_TRUE(adjustment->AgreeCategoriesWithSides());
    EXPECT_EQ(Balances(), after);
}

// What a change of home currency leaves between an account's balance and
// its lines is a gain where the account holds property and a loss where it
// owes: the correction category moves as the account's line moves the
// property, so that the transaction's check, run again when it is okayed on
// its sheet, finds nothing to turn round.
TEST_F(AccountTest, AHomeCurrencyRemainderMovesTheCorrectionsAsItsAccountMoves)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    struct Case {
        ObjectIdT type;
        double delta, corrections;
    };
    for (const Case& c : {Case{books::kOwnPropertyType, 4.57, 4.57}, Case{books::kOwnPropertyType, -4.57, -4.57},
                          Case{books::kDebtType, 4.57, -4.57}, Case{books::kDebtType, -4.57, 4.57}}) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.delta);
        CAccount* account = AddAccount("Dollars", c.type, usd->Get_Id());
        const double before = Category(books::kCorrectionCategory)->Get_Amount();
        CTransaction* remainder = CTransaction::BookHomeCurrencyRemainder(account, c.delta, &root);
        ASSERT_NE(remainder, nullptr);
        EXPECT_NEAR(Category(books::kCorrectionCategory)->Get_Amount() - before, c.corrections, 1e-9);
        auto* line = static_cast<CDebit*>(remainder->GetExpenseTypeList()->ObjectAt(1));
        const double booked = line->Get_mLocalAmount();
        EXPECT_TRUE(remainder->AgreeCategoriesWithSides());
        EXPECT_EQ(line->Get_mLocalAmount(), booked);
    }
}

TEST_F(AccountTest, ARemainderOfLessThanACentIsNotBookedAway)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
    // Sold out: the home-currency sums differ only in the last bits.
    CTransaction* in = Book(Account(books::kIncomeAccount), dollars, 55.1);
    Credit(in)->Put_mCurrency(usd->Get_Id(), usd);
    Credit(in)->Put_mAmounts(55.1, 100.0);
    CTransaction* out = Book(dollars, Account(books::kExpenseAccount), 55.1 - 1e-12);
    Debit(out)->Put_mCurrency(usd->Get_Id(), usd);
    Debit(out)->Put_mAmounts(55.1 - 1e-12, 100.0);
    ASSERT_DOUBLE_EQ(dollars->Get_mBalance(), 0.0);
    ASSERT_NE(dollars->Get_mLocalBalance(), 0.0);
    BalanceSnapshot before = Balances();

    EXPECT_FALSE(dollars->ForceLocalBalanceToZero());

    EXPECT_EQ(Balances(), before);
    ExpectBalancesMatchLines();
}

TEST_F(AccountTest, TheRecordRoundTripsAndOldRecordsReadWithDefaults)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    bank->Put_mAccountNumber("1100");
    bank->Put_StringRefAccountingNumber("1100-a");
    bank->Put_mNumber("NL91 ABNA 0417 1643 0099 12");   // 25 characters: 19 kept
    bank->Put_mDescription("Current account");
    bank->Put_mFiscalPct(50.0);
    bank->Put_mAccountSpecialType(97);
    bank->Put_mCreditCardSubType(3);
    bank->Put_mDefaultExpenseType(books::kExpenseCategory);
    bank->Crediteer(500.0, 500.0, books::kEUR, nullptr, 20240301);

    char number[CAccount::kBankNumberSize];
    bank->Get_mNumber(number);
    EXPECT_STREQ(number, "NL91 ABNA 0417 1643");
    EXPECT_EQ(bank->Get_mAccountSpecialType(), 0);
    EXPECT_EQ(bank->Get_StringrefName(), "1100-a : Bank");
    char name[kNameSize];
    bank->Get_Name(name);
    EXPECT_STREQ(name, "1100:Bank");

    StreamWriter first;
    bank->PutStream(first.stream());
    StreamReader reader(first.bytes());
    CAccount copy(reader.stream(), &root, version::kCurrent);
    EXPECT_DOUBLE_EQ(copy.Get_mBalance(), 0.0);         // balances come from the lines
    EXPECT_DOUBLE_EQ(copy.Get_mLocalBalance(), 0.0);
    EXPECT_EQ(copy.Get_mAccountTypePtr(), Type(books::kOwnPropertyType));
    EXPECT_DOUBLE_EQ(Type(books::kOwnPropertyType)->Get_mBalance(), 500.0);   // joined without posting
    EXPECT_EQ(copy.Get_mDefaultExpenseType(), Category(books::kExpenseCategory));
    EXPECT_EQ(copy.Get_StringRefAccountingNumber(), "1100-a");
    copy.Put_mBalance(500.0);
    copy.Put_mLocalBalance(500.0);
    StreamWriter second;
    copy.PutStream(second.stream());
    EXPECT_EQ(second.bytes(), first.bytes());
    copy.Put_mLocalBalance(0.0);
    copy.Put_mAccountTypeId(0, nullptr, true);

    // A record of version '1.00': no accounting number, no texts.
    StreamWriter old;
    old->WriteBigOsType(type::kAccount);
    old->WriteObjectIdT(bank->Get_Id() + 500);
    old->WriteCString("Old bank");
    old->WriteEnumT(status::kNormal);
    old->WriteObjectIdT(1);                        // owner
    old->WriteObjectIdT(books::kOwnPropertyType);
    old->WriteCString("Kept in \x8a");            // Mac Roman a-umlaut
    old->WriteCString("123-4567890-12");
    old->WriteObjectIdT(bank->Get_Id() + 500);    // its own group
    old->WriteAmountTT(99.0);
    old->WriteAmountTT(99.0);
    old->WriteObjectIdT(books::kEUR);
    old->WriteEnumT(97);
    old->WriteEnumT(97);
    old->WriteObjectIdT(-1);
    old->WriteObjectIdT(books::kEUR);
    old->WriteAmountTT(100.0);
    for (int i = 0; i < 3; ++i) old->WriteAmountTT(0.0);
    StreamReader oldReader(old.bytes());
    CAccount read(oldReader.stream(), &root, version::k1_00);
    EXPECT_EQ(oldReader->GetMarker(), oldReader->GetLength());
    EXPECT_EQ(read.Get_StringrefName(), "Old bank");
    EXPECT_EQ(read.Get_StringrefDesc(), "Kept in \xC3\xA4");
    EXPECT_EQ(read.Get_StringRefBankAccountNumber(), "123-4567890-12");
    EXPECT_EQ(read.Get_mCreditCardSubType(), 0);
    EXPECT_DOUBLE_EQ(read.Get_mBalance(), 0.0);
    read.Put_mAccountTypeId(0, nullptr, true);
}

} // namespace
} // namespace ch::test
