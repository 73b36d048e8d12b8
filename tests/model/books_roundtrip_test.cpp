// A whole set of books through the model stream: saved, read back with its
// balances rebuilt from the lines, and saved again to the same bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/CAccountOwner.h"
#include "model/CBank.h"

namespace ch::test {
namespace {

// Where two byte strings first differ, with the bytes of both from there on;
// empty when equal.
std::string FirstDifference(const ByteVector& a, const ByteVector& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return std::string();
    auto bytes = [i](const ByteVector& v) {
        std::string text;
        char hex[4];
        for (std::size_t j = i; j < i + 16 && j < v.size(); ++j) {
            std::snprintf(hex, sizeof hex, "%02x ", v[j]);
            text += hex;
        }
        return text;
    };
    return "at byte " + std::to_string(i) + ": " + bytes(a) + "/ " + bytes(b);
}

// The ids of a list's lines, in list order.
std::vector<ObjectIdT> LineIds(const CNamedListArray* list)
{
    std::vector<ObjectIdT> ids;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) ids.push_back(list->ObjectAt(i)->Get_Id());
    return ids;
}

// A transaction's record and its lines' records, the credit lines first
// when asked (a writer here puts the debit lines first).
ByteVector TransactionRecords(CTransaction* transaction, bool creditsFirst)
{
    StreamWriter writer;
    transaction->PutStream(writer.stream(), false);
    auto lines = [&](CNamedListArray* list) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) list->ObjectAt(i)->PutStream(writer.stream());
    };
    lines(creditsFirst ? transaction->GetCreditList() : transaction->GetDebitList());
    lines(creditsFirst ? transaction->GetDebitList() : transaction->GetCreditList());
    lines(transaction->GetExpenseTypeList());
    return writer.bytes();
}

class BooksRoundTripTest : public BookingTest {
protected:
    // Books with something of every kind built so far.
    void Fill()
    {
        root.InsertAccountOwner(-1, std::string_view("Anna"), std::string_view("Anna"), std::nullopt,
                                std::nullopt, std::nullopt, std::nullopt, std::nullopt);
        auto* bank = new CBank(&root);
        bank->Import("Big Bank", "csv", "Main Street 1", "555-1234", "555-4321", "info@bank.test", "NL1");
        root.mBankList->AppendObject(bank);

        CCurrency* usd = root.InsertCurrency(-1, "USD", std::nullopt, "US Dollar", std::nullopt, 1,
                                             currency_type::kCurrency, 1, 0.5, 0, 0, -1, -1);
        usd->Put_mConversionFactorAndAmount(1, 0.75, 20230101);   // an older rate in the history

        CAccType* banks = root.InsertAccountType(-1, "Banks", std::nullopt, "Bank accounts", std::nullopt, 1,
                                                 books::kOwnPropertyType);
        CAccount* current = root.InsertAccount(-1, "Current", std::nullopt, "Pays the bills", std::nullopt,
                                               banks->Get_Id(), 0, nullptr);
        current->Put_mAccountNumber("1100");
        current->Put_mNumber("123-4567890-12");
        CAccount* dollars = root.InsertAccount(-1, "Dollars", std::nullopt, nullptr, std::nullopt,
                                               books::kOwnPropertyType, usd->Get_Id(), nullptr);
        CAccount* loan = root.InsertAccount(-1, "Loan", std::nullopt, nullptr, std::nullopt, books::kDebtType,
                                            0, nullptr);
        CAccount* sub = root.InsertAccount(-1, "Pocket money", std::nullopt, nullptr, std::nullopt,
                                           books::kOwnPropertyType, 0, nullptr);
        sub->Put_mGroupingAccount(current->Get_Id(), nullptr);

        CMasterExpenseType* house = root.InsertMasterExpenseType(-1, "House", std::nullopt, nullptr, std::nullopt,
                                                                 group_kind::kExpense, 1);
        CExpenseType* rent = root.InsertExpenseType(-1, "Rent", std::nullopt, "Monthly", std::nullopt, 0,
                                                    std::nullopt, house, 100.0);

        Book(Account(books::kIncomeAccount), current, 2500.0, 20240125, books::kIncomeCategory);
        CTransaction* split = Book(current, Account(books::kExpenseAccount), 800.0, 20240201, rent->Get_Id());
        split->Add_Debit(-1, false, 0.0)->Put_mAccountId(loan->Get_Id(), true, nullptr);
        Debit(split, 2)->Put_mLocalAmount(200.0);
        split->Add_Credit(-1, false, 200.0)->Put_mAccountId(sub->Get_Id(), true, nullptr);
        split->Put_mLocalAmount(1000.0);
        split->Put_CFDocumentReference("Lease 7");
        splitId = split->Get_Id();
        CTransaction* abroad = Book(current, dollars, 150.0, 20240210);
        Credit(abroad)->Put_mCurrency(usd->Get_Id(), usd);
        Credit(abroad)->Put_mAmounts(150.0, 300.0);
        Book(Account(books::kIncomeAccount), dollars, 30.0, 20240212);   // converted into dollars
        CTransaction* pending = Book(current, loan, 50.0, 20240220);
        pending->Unlink();
        root.mTransactionList->RemoveObject(pending);
        root.mUnlinkedList->InsertObjectAt(pending, 1);

        // The order reading gives them.
        for (CNamedListArray* list : std::initializer_list<CNamedListArray*>{
                 root.mAccountOwnerList.get(), root.mAccountTypeList.get(), root.mAccountList.get(),
                 root.mCurrencyList.get(), root.mExpenseTypeList.get(), root.mTransactionList.get(),
                 root.mRootList.get()}) {
            list->SetNotSorted();
            list->Sort();
        }
    }

    ObjectIdT splitId = 0;
};

TEST_F(BooksRoundTripTest, SavedReadAndSavedAgainGivesTheSameBytes)
{
    Fill();
    BalanceSnapshot balances = Balances();
    ByteVector saved = Save(root);

    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, saved));
    EXPECT_EQ(FirstDifference(Save(copy), saved), "");

    // Balances are rebuilt from the lines, not taken from the file.
    EXPECT_EQ(copy.mTransactionList->GetCount(), root.mTransactionList->GetCount());
    EXPECT_EQ(copy.mUnlinkedList->GetCount(), 1u);
    EXPECT_EQ(BalancesOf(copy), balances);
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(copy.mAccountList->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(copy.mAccountList->ObjectAt(i));
        CAccount* source = Account(account->Get_Id());
        EXPECT_EQ(account->Get_mDebitlist()->GetCount(), source->Get_mDebitlist()->GetCount());
        EXPECT_EQ(account->Get_mCreditList()->GetCount(), source->Get_mCreditList()->GetCount());
    }

    // Reading lists the lines of every account and category in the order
    // posting the transactions one by one, in list order, gives.
    CDocAccounting relinked;
    ASSERT_TRUE(Load(relinked, saved));
    const auto transactions = static_cast<ArrayIndexT>(relinked.mTransactionList->GetCount());
    for (ArrayIndexT i = 1; i <= transactions; ++i)
        static_cast<CTransaction*>(relinked.mTransactionList->ObjectAt(i))->Unlink();
    for (ArrayIndexT i = 1; i <= transactions; ++i)
        static_cast<CTransaction*>(relinked.mTransactionList->ObjectAt(i))->Link();
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(copy.mAccountList->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(copy.mAccountList->ObjectAt(i));
        auto* one = static_cast<CAccount*>(relinked.mAccountList->GetValueForId(account->Get_Id()));
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(LineIds(account->Get_mDebitlist()), LineIds(one->Get_mDebitlist()));
        EXPECT_EQ(LineIds(account->Get_mCreditList()), LineIds(one->Get_mCreditList()));
    }
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(copy.mExpenseTypeList->GetCount()); ++i) {
        auto* category = static_cast<CExpenseType*>(copy.mExpenseTypeList->ObjectAt(i));
        auto* one = static_cast<CExpenseType*>(relinked.mExpenseTypeList->GetValueForId(category->Get_Id()));
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(LineIds(category->Get_mBookings()), LineIds(one->Get_mBookings()));
    }

    // Lines keep their order on every side and their ids.
    auto* split = static_cast<CTransaction*>(copy.mTransactionList->GetValueForId(splitId));
    ASSERT_NE(split, nullptr);
    ASSERT_EQ(split->GetDebitList()->GetCount(), 2u);
    EXPECT_DOUBLE_EQ(Debit(split, 2)->Get_mLocalAmount(), 200.0);
    auto* originalSplit = static_cast<CTransaction*>(root.mTransactionList->GetValueForId(splitId));
    EXPECT_EQ(Debit(split, 2)->Get_Id(), Debit(originalSplit, 2)->Get_Id());
    EXPECT_EQ(split->Get_CFDocumentReference(), "Lease 7");
}

TEST_F(BooksRoundTripTest, RecordsInAnotherOrderPostAsTheSortedListsDo)
{
    Fill();
    // Sums that depend on the order of their terms, on two accounts of a
    // type of their own: 0.1 - 0.3 + 0.3 and 0.1 + 0.3 - 0.3 differ.
    CAccType* tins = root.InsertAccountType(-1, "Tins", std::nullopt, nullptr, std::nullopt, 1,
                                            books::kOwnPropertyType);
    CAccount* cashA =
        root.InsertAccount(-1, "Cash A", std::nullopt, nullptr, std::nullopt, tins->Get_Id(), 0, nullptr);
    CAccount* cashB =
        root.InsertAccount(-1, "Cash B", std::nullopt, nullptr, std::nullopt, tins->Get_Id(), 0, nullptr);
    // (The newest transaction posts first.)
    Book(Account(books::kIncomeAccount), cashA, 0.1, 20240302);
    Book(cashA, cashB, 0.3, 20240301);
    root.mTransactionList->SetNotSorted();
    root.mTransactionList->Sort();
    const ByteVector saved = Save(root);
    CDocAccounting expected;
    ASSERT_TRUE(Load(expected, saved));

    // The posted transactions with their lines, as saved.
    std::vector<CTransaction*> posted;
    ByteVector asSaved;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root.mTransactionList->GetCount()); ++i) {
        posted.push_back(static_cast<CTransaction*>(root.mTransactionList->ObjectAt(i)));
        const ByteVector records = TransactionRecords(posted.back(), false);
        asSaved.insert(asSaved.end(), records.begin(), records.end());
    }
    const auto at = std::search(saved.begin(), saved.end(), asSaved.begin(), asSaved.end());
    ASSERT_NE(at, saved.end());

    // Credit lines before the debit lines; the transactions the other way round.
    for (bool reversed : {false, true}) {
        ByteVector other(saved.begin(), at);
        for (std::size_t k = 0; k < posted.size(); ++k) {
            const ByteVector records =
                TransactionRecords(posted[reversed ? posted.size() - 1 - k : k], !reversed);
            other.insert(other.end(), records.begin(), records.end());
        }
        other.insert(other.end(), at + static_cast<long>(asSaved.size()), saved.end());
        ASSERT_EQ(other.size(), saved.size());

        CDocAccounting read;
        ASSERT_TRUE(Load(read, other));
        EXPECT_EQ(BalancesOf(read), BalancesOf(expected)) << reversed;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(expected.mAccountList->GetCount()); ++i) {
            auto* account = static_cast<CAccount*>(expected.mAccountList->ObjectAt(i));
            auto* same = static_cast<CAccount*>(read.mAccountList->GetValueForId(account->Get_Id()));
            ASSERT_NE(same, nullptr);
            EXPECT_EQ(LineIds(same->Get_mDebitlist()), LineIds(account->Get_mDebitlist())) << reversed;
            EXPECT_EQ(LineIds(same->Get_mCreditList()), LineIds(account->Get_mCreditList())) << reversed;
        }
    }
}

TEST_F(BooksRoundTripTest, LinesOutOfPlaceOrWithTakenIdsAreHandled)
{
    Fill();

    // A line record straight after the settings: out of place, the file is refused.
    ByteVector lineFirst;
    {
        StreamWriter writer;
        root.mPreference->PutStream(writer.stream());
        Debit(static_cast<CTransaction*>(root.mTransactionList->ObjectAt(1)))->PutStream(writer.stream());
        writer->WriteBigOsType(type::kEndOfModel);
        lineFirst = writer.bytes();
    }
    CDocAccounting refused;
    EXPECT_FALSE(Load(refused, lineFirst));

    // Two lines with one id: the second takes a new one.
    CTransaction* transaction = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(1));
    Credit(transaction)->Put_Id(Debit(transaction)->Get_Id());
    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, Save(root)));
    auto* read = static_cast<CTransaction*>(copy.mTransactionList->ObjectAt(1));
    EXPECT_EQ(Debit(read)->Get_Id(), Debit(transaction)->Get_Id());
    EXPECT_NE(Credit(read)->Get_Id(), Debit(read)->Get_Id());
    EXPECT_GE(copy.Ids().mi_DebetNr, Credit(read)->Get_Id());
}

} // namespace
} // namespace ch::test

namespace ch::test {
namespace {

// Another first month of the accounting year splits the categories' and
// groups' year totals as the books read again do, at once.
TEST_F(BookingTest, AnotherYearStartRefiguresTheYearTotals)
{
    CExpenseType* food = Category(books::kExpenseCategory);
    CMasterExpenseType* group = food->Get_mMasterExpensetypePtr();
    ASSERT_NE(group, nullptr);
    CAccount* cash = Account(books::kDefaultAccount);
    CAccount* shop = Account(books::kExpenseAccount);
    Book(cash, shop, 50.0, 20231010, food->Get_Id());
    Book(cash, shop, 20.0, 20240210, food->Get_Id());
    Book(cash, shop, 5.0, 20230210, food->Get_Id());
    auto years = [](auto* object) {
        return std::vector<double>{object->Get_thisYearsBalance(), object->Get_lastYearsBalance(),
                                   object->Get_lastYearsBalanceYTD()};
    };
    const auto groupBefore = years(group);
    EXPECT_EQ(years(food), (std::vector<double>{20.0, 55.0, 5.0}));

    ASSERT_TRUE(root.mPreference->Put_mCurrentYearStart(10));
    EXPECT_EQ(years(food), (std::vector<double>{70.0, 5.0, 5.0}));
    const std::vector<double> foodBefore{20.0, 55.0, 5.0};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(years(group)[i] - groupBefore[i], years(food)[i] - foodBefore[i], 1e-9);

    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, Save(root)));
    EXPECT_EQ(years(static_cast<CExpenseType*>(copy.mExpenseTypeList->GetValueForId(food->Get_Id()))), years(food));
    EXPECT_EQ(years(static_cast<CMasterExpenseType*>(copy.mMasterExpenseTypeList->GetValueForId(group->Get_Id()))),
              years(group));
}

// An account moved to a type of the other kind (own property to debt and
// back, an income account to own property) holds what its lines give under
// the new kind, as the books read again show; a balance set afterwards
// stays what was set.
TEST_F(BookingTest, AnAccountMovedToAnotherKindHoldsWhatReadingGives)
{
    CAccount* wallet = root.InsertAccount(-1, "Wallet", std::nullopt, nullptr, std::nullopt,
                                          books::kOwnPropertyType, 0, nullptr);
    Book(Account(books::kDefaultAccount), wallet, 100.0, 20240301);
    // A profit-and-loss account of the person's own (the settings' accounts keep their kind).
    const ObjectIdT income = root.InsertAccount(-1, "Fees", std::nullopt, nullptr, std::nullopt,
                                                books::kProfitAndLossType, 0, nullptr)->Get_Id();
    Book(Account(income), Account(books::kDefaultAccount), 40.0, 20240302);
    struct Move {
        ObjectIdT account;
        ObjectIdT type;
    };
    for (const Move& move : {Move{wallet->Get_Id(), books::kDebtType}, Move{wallet->Get_Id(), books::kOwnPropertyType},
                             Move{wallet->Get_Id(), books::kDebtType}, Move{income, books::kOwnPropertyType}}) {
        const double before = Account(move.account)->Get_mBalance();
        ASSERT_TRUE(root.setForeignKey(Account(move.account), -13304 /* account type */, move.type));
        EXPECT_NEAR(Account(move.account)->Get_mBalance(), -before, 1e-9);
        CDocAccounting copy;
        ASSERT_TRUE(Load(copy, Save(root)));
        EXPECT_EQ(BalancesOf(copy), Balances()) << move.account << " to " << move.type;
    }
    ASSERT_TRUE(root.setAmountT(wallet, -13312 /* balance */, 500.0));
    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, Save(root)));
    EXPECT_NEAR(static_cast<CAccount*>(copy.mAccountList->GetValueForId(wallet->Get_Id()))->Get_mBalance(), 500.0,
                1e-9);
}

// A rate entered for a date on which a foreign account already holds a line
// in another currency: the account keeps what it holds, before and after
// the books are saved and read again. Both the rate of the booking's day
// (today) and one for a past period are changed.
TEST_F(BookingTest, ARateChangeLeavesWhatForeignAccountsHoldAcrossAReading)
{
    CCurrency* usd = root.InsertCurrency(-1, "USD", std::nullopt, "US Dollar", std::nullopt, 1,
                                         currency_type::kCurrency, 1, 1.10, 20240101, 0, -1, -1);
    CAccount* abroad = root.InsertAccount(-1, "Dollars", std::nullopt, nullptr, std::nullopt,
                                          books::kOwnPropertyType, usd->Get_Id(), nullptr);
    CAccount* cash = Account(books::kDefaultAccount);
    Book(cash, abroad, 110.0, 20240315);   // today, in the home currency: 100.00 dollars
    Book(cash, abroad, 55.0, 20240201);    // 50.00 dollars
    ASSERT_NEAR(abroad->Get_mBalance(), 150.0, 1e-9);

    usd->Put_mConversionFactorAndAmount(1, 1.20, 20240315);
    usd->Put_mConversionFactorAndAmount(1, 1.00, 20240101);   // the past period's rate
    EXPECT_NEAR(abroad->Get_mBalance(), 150.0, 1e-9);
    EXPECT_NEAR(abroad->Get_mLocalBalance(), 180.0, 1e-9);

    const BalanceSnapshot before = Balances();
    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, Save(root)));
    EXPECT_EQ(BalancesOf(copy), before);
}

} // namespace
} // namespace ch::test
