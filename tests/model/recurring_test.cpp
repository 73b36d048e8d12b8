// Recurring transactions: the next date of every schedule kind against a
// fixed today, catching up missed dates, suspended templates, dates that do
// not exist, and generation when a document is read.

#include <gtest/gtest.h>

#include <vector>

#include "booking_fixture.h"
#include "model/CRecurringTransaction.h"

namespace ch::test {
namespace {

class RecurringTest : public BookingTest {
protected:
    // A listed template paying `amount` from the default account to the expense account.
    CRecurringTransaction* Template(RecurringTypeT kind, DateT lastGenerated, double amount = 50.0)
    {
        CRecurringTransaction* recurring = root.InsertRecurringTransaction(1, 1);
        Debit(recurring)->Put_mAccountId(books::kDefaultAccount, true, nullptr);
        Credit(recurring)->Put_mAccountId(books::kExpenseAccount, true, nullptr);
        ForLine(recurring)->Put_mAccountId(books::kExpenseCategory, true, nullptr);
        recurring->Put_mTotalAmount(amount);
        recurring->Put_mRecurringType(kind);
        recurring->Put_mLastGeneratedOn(lastGenerated);
        return recurring;
    }

    std::vector<DateT> Dates(CNamedListArray* list)
    {
        std::vector<DateT> dates;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
            dates.push_back(static_cast<CTransaction*>(list->ObjectAt(i))->Get_mDate());
        std::sort(dates.begin(), dates.end());
        return dates;
    }
};

TEST_F(RecurringTest, NewTemplatesTakeTheDefaultsAndNeverPost)
{
    BalanceSnapshot before = Balances();
    CRecurringTransaction* recurring = Template(recurring_type::kWeekly, 20240315);
    EXPECT_EQ(recurring->Get_ObjectType(), type::kRecurring);
    EXPECT_EQ(recurring->Get_mAutomaticApproval(), 1);
    EXPECT_EQ(recurring->Get_mMonday(), 1);
    EXPECT_EQ(recurring->Get_mSunday(), 0);
    EXPECT_EQ(recurring->Get_mMonthlyType(), monthly_type::kWeekdayOfWeek);
    EXPECT_EQ(recurring->Get_mDateOfYear12(), 20240315);
    EXPECT_EQ(root.mRecurringList->ObjectAt(1), recurring);
    EXPECT_EQ(Balances(), before);
}

TEST_F(RecurringTest, NextDateOfEveryKind)
{
    // Today is Friday 15 March 2024.
    struct Case {
        const char* what;
        RecurringTypeT kind;
        DateT last;
        DateT expected;
        void (*setUp)(CRecurringTransaction&);
    };
    const Case cases[] = {
        {"manual", recurring_type::kManual, 20240101, kNeverDate, nullptr},
        {"once", recurring_type::kOnce, 20240101, kNeverDate, nullptr},
        {"yearly", recurring_type::kYearly, 20240101, kNeverDate, nullptr},
        {"weekly without weekday", recurring_type::kWeekly, 20240311, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mMonday(0); }},
        {"weekly on Mondays", recurring_type::kWeekly, 20240311, 20240318, nullptr},
        {"Mondays and Thursdays", recurring_type::kSeveralTimesAWeek, 20240311, 20240314,
         [](CRecurringTransaction& r) { r.Put_mThursday(1); }},
        {"monthly, no weekday: Saturday", recurring_type::kMonthly, 20240302, 20240406,
         [](CRecurringTransaction& r) { r.Put_mMonday(0); }},
        {"monthly on the last Friday", recurring_type::kMonthly, 20240301, 20240329,
         [](CRecurringTransaction& r) {
             r.Put_mMonday(0);
             r.Put_mFriday(1);
             r.Put_mWeekType(3);
         }},
        {"monthly on the 31st after April", recurring_type::kMonthly, 20240430, 20240531,
         [](CRecurringTransaction& r) {
             r.Put_mMonthlyType(monthly_type::kDayOfMonth);
             r.Put_mDayOfMonth(31);
         }},
        {"monthly on the 31st into February", recurring_type::kMonthly, 20240131, 20240229,
         [](CRecurringTransaction& r) {
             r.Put_mMonthlyType(monthly_type::kDayOfMonth);
             r.Put_mDayOfMonth(31);
         }},
        {"monthly on the 31st after February", recurring_type::kMonthly, 20240229, 20240331,
         [](CRecurringTransaction& r) {
             r.Put_mMonthlyType(monthly_type::kDayOfMonth);
             r.Put_mDayOfMonth(31);
         }},
        {"monthly of an unknown type", recurring_type::kMonthly, 20240301, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mMonthlyType(2); }},
        {"every 10 days", recurring_type::kSeveralTimesAMonth, 20240301, 20240311,
         [](CRecurringTransaction& r) { r.Put_mDayOfMonth(10); }},
        {"every 0 days", recurring_type::kSeveralTimesAMonth, 20240301, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mDayOfMonth(0); }},
        {"every -3 days", recurring_type::kSeveralTimesAMonth, 20240301, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mDayOfMonth(-3); }},
        {"dates of the year, none used", recurring_type::kSeveralTimesAYear, 20230101, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mNumberOfTimesPerYear(0); }},
        {"a date of the year in 3000", recurring_type::kSeveralTimesAYear, 20230101, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mDateOfYear1(30000101); }},
        {"a date of the year not yet due", recurring_type::kSeveralTimesAYear, 20230601, kNeverDate,
         [](CRecurringTransaction& r) { r.Put_mDateOfYear1(19990401); }},
        {"the earlier of two dates of the year", recurring_type::kSeveralTimesAYear, 20230601, 20231101,
         [](CRecurringTransaction& r) {
             r.Put_mNumberOfTimesPerYear(2);
             r.Put_mDateOfYear1(20500201);
             r.Put_mDateOfYear2(19991101);
         }},
        {"no known last date", recurring_type::kWeekly, 0, kNeverDate, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CRecurringTransaction* recurring = Template(c.kind, c.last);
        if (c.setUp) c.setUp(*recurring);
        EXPECT_EQ(recurring->GetNextGenerationDate(), c.expected);
    }
}

TEST_F(RecurringTest, DatesOfTheYearAreDueOnceAYearAndNeverOnADayThatDoesNotExist)
{
    ScopedFixedClock clock({2024, 4, 1});
    CRecurringTransaction* march = Template(recurring_type::kSeveralTimesAYear, 20230315);
    march->Put_mDateOfYear1(19870315);
    EXPECT_EQ(march->GetNextGenerationDate(), 20240315);
    march->Generate();
    EXPECT_EQ(march->Get_mLastGeneratedOn(), 20240315);
    EXPECT_EQ(march->GetNextGenerationDate(), kNeverDate);   // 15 March 2025 is not due yet
    EXPECT_EQ(march->GetNextDate(), 20250315);               // but it is the next date

    ScopedFixedClock later({2025, 2, 1});
    CRecurringTransaction* leapDay = Template(recurring_type::kSeveralTimesAYear, 20230301);
    leapDay->Put_mDateOfYear1(20200229);
    leapDay->Generate();
    EXPECT_EQ(Dates(root.mTransactionList.get()), (std::vector<DateT>{20240229, 20240315}));
    ScopedFixedClock next({2025, 3, 15});
    EXPECT_EQ(leapDay->GetNextGenerationDate(), 20250228);
}

TEST_F(RecurringTest, MissedMondaysAreCaughtUpOldestFirstAndLeftUnlinked)
{
    ScopedFixedClock monday({2024, 3, 18});
    BalanceSnapshot before = Balances();
    CRecurringTransaction* recurring = Template(recurring_type::kWeekly, 20240226);
    recurring->Put_mAutomaticApproval(0);
    const ObjectIdT templateId = recurring->Get_Id();

    recurring->Generate();

    EXPECT_EQ(Dates(root.mUnlinkedList.get()), (std::vector<DateT>{20240304, 20240311, 20240318}));
    EXPECT_EQ(root.mTransactionList->GetCount(), 0u);
    EXPECT_EQ(recurring->Get_mLastGeneratedOn(), 20240318);
    EXPECT_EQ(recurring->Get_mDate(), 20240318);
    EXPECT_EQ(Balances(), before);
    // Each copy numbers itself from the transaction counter: no two share an id.
    std::vector<ObjectIdT> ids{templateId};
    for (ArrayIndexT i = 1; i <= 3; ++i) {
        auto* copy = static_cast<CTransaction*>(root.mUnlinkedList->ObjectAt(i));
        EXPECT_EQ(copy->Get_ObjectType(), type::kTransaction);
        EXPECT_EQ(copy->Get_ObjectStatus(), status::kUnlinked);
        EXPECT_EQ(copy->Get_mTotalAmount(), 50.0);
        for (ObjectIdT id : ids) EXPECT_NE(copy->Get_Id(), id);
        ids.push_back(copy->Get_Id());
    }
    recurring->Generate();   // nothing is due any more
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 3u);
}

TEST_F(RecurringTest, ApprovedCopiesAreBooked)
{
    ScopedFixedClock monday({2024, 3, 18});
    Template(recurring_type::kWeekly, 20240304);
    root.GenerateRecurring();
    ASSERT_EQ(root.mTransactionList->GetCount(), 2u);
    EXPECT_EQ(Account(books::kDefaultAccount)->Get_mLocalBalance(), -100.0);
    EXPECT_EQ(Category(books::kExpenseCategory)->Get_Amount(), 100.0);
    ExpectBalancesMatchLines();
}

TEST_F(RecurringTest, SuspendedAndStalledTemplatesGenerateNothing)
{
    CRecurringTransaction* suspended = Template(recurring_type::kWeekly, 20230101);
    suspended->Put_mOnOff(1);
    CRecurringTransaction* everyDay = Template(recurring_type::kSeveralTimesAMonth, 20240301);
    everyDay->Put_mDayOfMonth(0);
    root.GenerateRecurring();
    EXPECT_EQ(root.mTransactionList->GetCount(), 0u);
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);
    EXPECT_EQ(suspended->Get_mLastGeneratedOn(), 20230101);
}

TEST_F(RecurringTest, ARunMakesABoundedNumberAndTheNextRunGoesOn)
{
    CRecurringTransaction* daily = Template(recurring_type::kSeveralTimesAMonth, 20240101);
    daily->Put_mDayOfMonth(1);
    EXPECT_EQ(daily->GenerateAtMost(3), 3);
    EXPECT_EQ(daily->Get_mLastGeneratedOn(), 20240104);
    daily->Generate();
    EXPECT_EQ(daily->Get_mLastGeneratedOn(), 20240315);
    EXPECT_EQ(root.mTransactionList->GetCount(), 74u);
}

TEST_F(RecurringTest, MonthlyOnThe31stBooksOncePerMonth)
{
    ScopedFixedClock may({2024, 5, 1});
    CRecurringTransaction* recurring = Template(recurring_type::kMonthly, 20240131);
    recurring->Put_mMonthlyType(monthly_type::kDayOfMonth);
    recurring->Put_mDayOfMonth(31);
    recurring->Generate();
    EXPECT_EQ(Dates(root.mTransactionList.get()), (std::vector<DateT>{20240229, 20240331, 20240430}));
}

TEST_F(RecurringTest, ACopyOfATemplateKeepsItsSchedule)
{
    CRecurringTransaction* source = Template(recurring_type::kSeveralTimesAYear, 20230101);
    source->Put_mDateOfYear3(19990704);
    source->Put_mWeekType(2);
    root.CopyTransaction(source);
    CRecurringTransaction* copy = root.PasteRecurringTransaction();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_EQ(copy->Get_mRecurringType(), recurring_type::kSeveralTimesAYear);
    EXPECT_EQ(copy->Get_mDateOfYear3(), 19990704);
    EXPECT_EQ(copy->Get_mWeekType(), 2);
    EXPECT_EQ(copy->Get_mLastGeneratedOn(), 20230101);
    EXPECT_EQ(copy->GetDebitList()->GetCount(), 1u);
    EXPECT_EQ(copy->Get_mTotalAmount(), 50.0);
}

TEST_F(RecurringTest, ADocumentWhoseTemplatesAreDueGeneratesThemWhenRead)
{
    CRecurringTransaction* recurring = Template(recurring_type::kSeveralTimesAMonth, 20240301, 20.0);
    recurring->Put_mDayOfMonth(7);
    recurring->Put_mThursday(1);
    recurring->Put_mDateOfYear5(20240505);
    recurring->Put_mNumberOfTimesPerYear(3);
    ByteVector bytes = Save(root);

    CDocAccounting loaded;
    ASSERT_TRUE(Load(loaded, bytes));
    ASSERT_EQ(loaded.mRecurringList->GetCount(), 1u);
    auto* read = static_cast<CRecurringTransaction*>(loaded.mRecurringList->ObjectAt(1));
    EXPECT_EQ(read->Get_ObjectType(), type::kRecurring);
    EXPECT_EQ(read->Get_mDayOfMonth(), 7);
    EXPECT_EQ(read->Get_mThursday(), 1);
    EXPECT_EQ(read->Get_mDateOfYear5(), 20240505);
    EXPECT_EQ(read->Get_mNumberOfTimesPerYear(), 3);
    EXPECT_EQ(read->GetDebitList()->GetCount(), 1u);
    EXPECT_EQ(read->GetCreditList()->GetCount(), 1u);
    // 8 and 15 March have fallen due (today is 15 March); both are booked.
    EXPECT_EQ(read->Get_mLastGeneratedOn(), 20240315);
    EXPECT_EQ(Dates(loaded.mTransactionList.get()), (std::vector<DateT>{20240308, 20240315}));
    auto* bank = static_cast<CAccount*>(loaded.mAccountList->GetValueForId(books::kDefaultAccount));
    EXPECT_EQ(bank->Get_mLocalBalance(), -40.0);

    // Read again: the template remembers it, nothing is booked twice.
    CDocAccounting again;
    ASSERT_TRUE(Load(again, Save(loaded)));
    EXPECT_EQ(again.mTransactionList->GetCount(), 2u);
}

TEST_F(RecurringTest, FluctuationsBookedWhenReadVanishLikeTheOnesRead)
{
    // No transaction read is named so: only the copies that fall due are.
    ScopedFixedClock monday({2024, 3, 18});
    CRecurringTransaction* recurring = Template(recurring_type::kWeekly, 20240304);
    Debit(recurring)->Put_mAccountId(books::kIncomeAccount, true, nullptr);
    for (const char* name : {"Interest", "Currency Fluctuations:USD"}) {
        recurring->Put_StringrefName(name);
        CDocAccounting loaded;
        ASSERT_TRUE(Load(loaded, Save(root)));
        EXPECT_EQ(loaded.mUnlinkedList->GetCount(), 0u) << name;
        EXPECT_EQ(loaded.mTransactionList->GetCount(), name[0] == 'I' ? 2u : 0u) << name;
    }
}

} // namespace
} // namespace ch::test
