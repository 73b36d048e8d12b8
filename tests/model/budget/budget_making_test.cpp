// Making budgets from past bookings, booking their actual figures, chaining
// periods and budgets.

#include "budget_fixture.h"

namespace ch::test {
namespace {

using namespace budget_item;

TEST_F(BudgetTest, APeriodIsFoundByItsMonthAlone)
{
    CBudgetHeader* budget = Empty();
    budget->Put_mStartDate(20240401);
    const struct {
        long date;
        long period;
    } cases[] = {
        {20250315, 11}, {19990315, 11}, {20240401, 0}, {20240430, 0}, {20231231, 8},
        {202403, 11},   // YYYYMM
        {3, 11},        // a month number
        {4, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(budget->getIndexForDate(c.date), c.period) << c.date;
    EXPECT_EQ(budget->getDateForIndex(11), 20250301);
}

TEST_F(BudgetTest, LastYearsBookingsPlanTheYearAndThisYearsAreItsActuals)
{
    Earn(bank, 2000.0, 20230110, salary);
    Spend(bank, 100.0, 20230305, groceries);
    Spend(card, 40.0, 20230320, groceries);
    Spend(bank, 500.0, 20230215, groceries, true);   // a one-off plans nothing
    Book(bank, savings, 300.0, 20230601);
    // This year: a salary on the first day, groceries, and a one-off.
    Earn(bank, 1000.0, 20240101, salary);
    Spend(bank, 80.0, 20240205, groceries);
    Spend(bank, 50.0, 20240210, groceries, true);

    CBudgetHeader* budget = Make(budget_base::kLastYear, budget_period::kCurrentYear);
    EXPECT_EQ(budget->Get_mStartDate(), 20240101);
    EXPECT_EQ(budget->Get_mEndDate(), 20241231);
    EXPECT_EQ(budget->Get_mBerekendOp(), 20240315);
    EXPECT_EQ(budget->Get_mBaseBudgetId(), -1);
    EXPECT_EQ(root.GetBudgetForId(budget->Get_Id()), budget);
    char comment[kDescriptionSize];
    budget->Get_mComment(comment);
    EXPECT_STREQ(comment, "Plan");

    // Planned: last year's months, period by period.
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetIn, 0), 2000.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 1), 0.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 2), 100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 5), 300.0);
    EXPECT_DOUBLE_EQ(Figure(budget, savings, kBudgetIn, 5), 300.0);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kBudgetIn, 2), 140.0);
    EXPECT_DOUBLE_EQ(Figure(budget, salary, kBudgetIn, 0), 2000.0);
    ASSERT_NE(XRef(budget, bank, groceries, 2), nullptr);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 2)->Get_mBudgetFrom(), 100.0);
    EXPECT_DOUBLE_EQ(XRef(budget, card, groceries, 2)->Get_mBudgetFrom(), 40.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, transfer, 5)->Get_mBudgetFrom(), 300.0);
    EXPECT_DOUBLE_EQ(XRef(budget, savings, transfer, 5)->Get_mBudgetTo(), 300.0);
    // No profit-and-loss account is budgeted.
    EXPECT_EQ(Detail(budget, Account(books::kExpenseAccount)), nullptr);

    // A debt grows with what leaves through it.
    EXPECT_DOUBLE_EQ(Figure(budget, card, kBudgetEnd, 2) - Figure(budget, card, kBudgetStart, 2), 40.0);

    // Actual: this year's bookings, one-offs apart.
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualIn, 0), 1000.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualOut, 1), 80.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kXtraActualOut, 1), 50.0);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kActualIn, 1), 80.0);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kXtraActualIn, 1), 50.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 1)->Get_mActualFrom(), 80.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 1)->Get_mXtraActualFrom(), 50.0);

    // The opening position is the balance before the first day; the salary of
    // that day is period 0's movement only.
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualStart, 0), 1100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualEnd, 0), 2100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetStart, 0), 1100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetEnd, 0), 3100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualStart, 1), 2100.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kMovementDifference, 0), 1000.0 - 2000.0);

    // Recalculating again books the same figures, cross-references included.
    budget->UpdateActuals();
    budget->UpdateActuals();
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 1)->Get_mActualFrom(), 80.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 1)->Get_mXtraActualFrom(), 50.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualOut, 1), 80.0);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualEnd, 0), 2100.0);
}

TEST_F(BudgetTest, EachKindTakesItsDatesAndItsMonths)
{
    Spend(bank, 100.0, 20230305, groceries);
    Spend(bank, 25.0, 20230705, groceries);
    Spend(bank, 70.0, 20240305, groceries);
    const struct {
        BudgetBaseT base;
        BudgetPeriodT period;
        DateT baseMonth;
        long years;
        DateT start;
        double plannedMarch, plannedJuly, plannedJanuary, actualMarch;
    } cases[] = {
        {budget_base::kEmpty, budget_period::kCurrentYear, 0, 0, 20240101, 0, 0, 0, 70},
        {budget_base::kLastYear, budget_period::kNextYear, 0, 0, 20250101, 100, 25, 0, 0},
        {budget_base::kCurrentYear, budget_period::kYearAfterNext, 0, 0, 20260101, 70, 0, 0, 0},
        {budget_base::kOneMonth, budget_period::kYearsAhead, 20230315, 3, 20270101, 100, 100, 100, 0},
        // No dates from the period and no budget to follow: the current year.
        {budget_base::kLastYear, budget_period::kFollowBase, 0, 0, 20240101, 100, 25, 0, 70},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        CBudgetHeader* budget = Make(c.base, c.period, 0, c.baseMonth, c.years);
        EXPECT_EQ(budget->Get_mStartDate(), c.start);
        EXPECT_EQ(budget->Get_mEndDate(), c.start + 1130);
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 2), c.plannedMarch);
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 6), c.plannedJuly);
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kBudgetOut, 0), c.plannedJanuary);
        EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualOut, 2), c.actualMarch);
        // Every balance-sheet account has its detail, booked or not.
        EXPECT_NE(Detail(budget, card), nullptr);
    }
}

TEST_F(BudgetTest, ABudgetContinuesItsBaseBudgetUntilThatIsDeleted)
{
    Spend(bank, 100.0, 20230305, groceries);
    Earn(bank, 1000.0, 20231201, salary);
    CBudgetHeader* first = Make(budget_base::kLastYear, budget_period::kCurrentYear);
    first->Put_mEndBudget(1234.0);
    CBudgetHeader* next = Make(budget_base::kBaseBudget, budget_period::kFollowBase, first->Get_Id());

    EXPECT_EQ(next->Get_mStartDate(), 20250101);
    EXPECT_EQ(next->Get_mEndDate(), 20251231);
    EXPECT_EQ(next->Get_mBaseBudgetId(), first->Get_Id());
    EXPECT_DOUBLE_EQ(next->Get_mBeginBudget(), 1234.0);
    EXPECT_DOUBLE_EQ(next->Get_mEndBudget(), 0.0);
    // The bank's plan goes on from where the first budget's plan ends.
    EXPECT_DOUBLE_EQ(Figure(first, bank, kBudgetEnd, 11), 900.0 - 100.0 + 1000.0);
    EXPECT_DOUBLE_EQ(Figure(next, bank, kBudgetStart, 0), 1800.0);
    EXPECT_DOUBLE_EQ(Figure(next, bank, kActualStart, 0), 900.0);

    // The base is looked up by id each time: once deleted, it is simply gone.
    root.mBudgetList->RemoveObject(first);
    ASSERT_TRUE(first->DeleteSelf());
    EXPECT_EQ(next->GetBaseBudget(), nullptr);
    next->UpdateActuals();
    EXPECT_EQ(next->Get_mBaseBudgetId(), -1);
    EXPECT_DOUBLE_EQ(Figure(next, bank, kBudgetStart, 0), 900.0);
}

TEST_F(BudgetTest, ABaseBudgetMoreThanTwelveMonthsBackIsDropped)
{
    CBudgetHeader* base = Empty();
    const struct {
        DateT start;
        ObjectIdT baseAfterwards;
    } cases[] = {{20250101, base->Get_Id()}, {20250201, -1}, {20240201, -1}};
    for (const auto& c : cases) {
        CBudgetHeader* budget = Empty();
        budget->Put_mStartDate(c.start);
        budget->Put_mBaseBudgetId(base->Get_Id());
        budget->Finalize();
        EXPECT_EQ(budget->Get_mBaseBudgetId(), c.baseAfterwards) << c.start;
    }
}

TEST_F(BudgetTest, CategoryLinesAreSpreadOverTheAccountsThatPaidThem)
{
    // 100 from the bank for groceries 60 and rent 40.
    CTransaction* split = Spend(bank, 100.0, 20240205, groceries);
    split->Add_ExpenseType(-1, false, 0.0)->Put_mAccountId(rent->Get_Id(), true, nullptr);
    ForLine(split, 1)->Put_mLocalAmount(60.0);
    ForLine(split, 2)->Put_mLocalAmount(40.0);
    // 100 for groceries, paid 50 from the bank and 50 from savings.
    CTransaction* shared = Spend(bank, 100.0, 20240310, groceries);
    Debit(shared, 1)->Put_mLocalAmount(50.0);
    shared->Add_Debit(-1, false, 0.0)->Put_mAccountId(savings->Get_Id(), true, nullptr);
    Debit(shared, 2)->Put_mLocalAmount(50.0);
    // A transfer that no category explains goes to the unspecified transfer.
    CTransaction* unexplained = Book(bank, savings, 30.0, 20240312, groceries->Get_Id());
    ForLine(unexplained)->Put_mLocalAmount(0.0);

    CBudgetHeader* budget = Empty();
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 1)->Get_mActualFrom(), 60.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, rent, 1)->Get_mActualFrom(), 40.0);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, groceries, 2)->Get_mActualFrom(), 50.0);
    EXPECT_DOUBLE_EQ(XRef(budget, savings, groceries, 2)->Get_mActualFrom(), 50.0);
    EXPECT_DOUBLE_EQ(Figure(budget, groceries, kActualIn, 2), 100.0);

    // Only the 30 that nothing explains became an unspecified transfer.
    CBudgetDetail* unspecified = Detail(budget, transfer);
    ASSERT_NE(unspecified, nullptr);
    EXPECT_EQ(XRef(budget, bank, transfer, 1), nullptr);
    EXPECT_DOUBLE_EQ(XRef(budget, bank, transfer, 2)->Get_mActualFrom(), 30.0);
    EXPECT_DOUBLE_EQ(XRef(budget, savings, transfer, 2)->Get_mActualTo(), 30.0);
    EXPECT_EQ(XRef(budget, savings, groceries, 1), nullptr);
}

TEST_F(BudgetTest, ATransactionWhoseOnlyCategoryLineHasNoCategoryAddsNothing)
{
    CTransaction* t = Spend(bank, 100.0, 20240205, groceries);
    ForLine(t)->Put_mAccountId(9999, true, nullptr);
    CBudgetHeader* budget = Empty();
    EXPECT_EQ(budget->AddTransactionToBudget(t, 20240201, 1, 0), -1);
    EXPECT_DOUBLE_EQ(Figure(budget, bank, kActualOut, 1), 0.0);
}

} // namespace
} // namespace ch::test
