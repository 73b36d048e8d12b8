// Analysis lists: the lines of an account, category, account type or group,
// newest first, with the running balance of each line.

#include <gtest/gtest.h>

#include <vector>

#include "booking_fixture.h"
#include "model/CAnalysisArray.h"
#include "model/CTransactionDetailComparator.h"
#include "model/foundation/CDate.h"

namespace ch::test {
namespace {

class AnalysisListTest : public BookingTest {
protected:
    // The running balances from the oldest line to the newest.
    // The list's own running balances, oldest first.
    static std::vector<double> RunningBalances(const CAnalysisArray& list)
    {
        std::vector<double> balances;
        for (ArrayIndexT i = static_cast<ArrayIndexT>(list.GetCount()); i >= 1; --i)
            balances.push_back(list.RunningBalanceOf(list.ObjectAt(i)).value_or(-999.0));
        return balances;
    }

    CAnalysisArray list{new CTransactionDetailComparator, false};
};

TEST_F(AnalysisListTest, RunningBalancesOfAccounts)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* card = AddAccount("Card", books::kDebtType);
    CAccount* shop = Account(books::kExpenseAccount);
    Book(shop, bank, 100.0, 20240105);   // a credit line of 100
    Book(bank, shop, 30.0, 20240110);    // then a debit line of 30
    Book(shop, card, 100.0, 20240105);
    Book(card, shop, 30.0, 20240110);

    list.InitFromObject(bank, false);
    list.Finalize();
    EXPECT_EQ(RunningBalances(list), (std::vector<double>{100.0, 70.0}));
    EXPECT_EQ(static_cast<CDebit*>(list.ObjectAt(1))->Get_mDate(), 20240110);   // newest first

    list.InitFromObject(card, false);
    list.Finalize();
    EXPECT_EQ(RunningBalances(list), (std::vector<double>{-100.0, -70.0}));

    // Another column's order keeps the balances written.
    list.SetComparator(new CTransactionDetailComparatorAmtl, true);
    list.Sort();
    EXPECT_DOUBLE_EQ(static_cast<CDebit*>(list.ObjectAt(1))->Get_LocalBalance(), -100.0);
}

TEST_F(AnalysisListTest, RunningBalancesOfACategory)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CExpenseType* food = AddCategory("Food", 1);
    for (auto [amount, date] : {std::pair{20.0, 20240210}, {10.0, 20240201}, {30.0, 20240220}})
        Book(bank, Account(books::kExpenseAccount), amount, date, food->Get_Id());

    list.InitFromObject(food, true);
    list.Finalize();
    EXPECT_EQ(RunningBalances(list), (std::vector<double>{10.0, 30.0, 60.0}));

    DateT earliest = 0, last = 0;
    EXPECT_EQ(list.getEarliestAndLastDate(earliest, last), 3u);
    EXPECT_EQ(earliest, 20240201);
    EXPECT_EQ(last, 20240220);
    EXPECT_EQ(list.getEarliestDate(), 20240201);
}

TEST_F(AnalysisListTest, TypesGatherSubTypesOnlyWhenAskedWhileGroupsAlwaysDo)
{
    CAccType* parent = AddType("Banks", 1);
    CAccType* child = AddType("Savings", 1);
    ASSERT_TRUE(child->Put_mParentType(parent->Get_Id()));
    CAccount* current = AddAccount("Current", parent->Get_Id());
    CAccount* savings = AddAccount("Savings", child->Get_Id());
    Book(Account(books::kIncomeAccount), current, 5.0, 20240101);
    Book(Account(books::kIncomeAccount), savings, 7.0, 20240102);

    list.InitFromObject(parent, false);
    EXPECT_EQ(list.GetCount(), 1u);
    list.InitFromObject(parent, true);
    EXPECT_EQ(list.GetCount(), 2u);
    list.Finalize();
    EXPECT_EQ(RunningBalances(list), (std::vector<double>{5.0, 12.0}));
    // A line is in its account's list too, with a running balance of its
    // own there: each list keeps its own, and the line the one of its account.
    CAnalysisArray own{new CTransactionDetailComparator, false};
    own.InitFromObject(savings, false);
    own.Finalize();
    EXPECT_EQ(RunningBalances(own), std::vector<double>{7.0});
    EXPECT_EQ(RunningBalances(list), (std::vector<double>{5.0, 12.0}));
    EXPECT_DOUBLE_EQ(static_cast<CDebit*>(own.ObjectAt(1))->Get_LocalBalance(), 7.0);

    auto* subGroup = new CMasterExpenseType(&root);
    subGroup->Put_Name("Housing");
    root.mMasterExpenseTypeList->InsertObjectAt(subGroup, 1);
    ASSERT_TRUE(subGroup->Put_mParentId(1));
    CExpenseType* rent = AddCategory("Rent", subGroup->Get_Id());
    CExpenseType* food = AddCategory("Food", 1);
    Book(current, Account(books::kExpenseAccount), 3.0, 20240103, rent->Get_Id());
    Book(current, Account(books::kExpenseAccount), 4.0, 20240104, food->Get_Id());
    list.InitFromObject(Group(1), false);
    EXPECT_EQ(list.GetCount(), 2u);

    list.InitFromObject(Account(books::kDefaultAccount)->Get_mCurrencyPtr(), true);   // no lines
    EXPECT_EQ(list.GetCount(), 0u);
}

TEST_F(AnalysisListTest, DatesOfEmptyAndUndatedLists)
{
    DateT earliest = -1, last = -1;
    EXPECT_EQ(list.getEarliestAndLastDate(earliest, last), 0u);
    EXPECT_EQ(earliest, 0);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(list.getEarliestDate(), 0);
    list.Finalize();

    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    Book(Account(books::kIncomeAccount), bank, 1.0, kNeverDate);
    list.InitFromObject(bank, false);
    list.getEarliestAndLastDate(earliest, last);
    EXPECT_EQ(earliest, 0);      // "after every date" is no date
    EXPECT_EQ(last, 20240315);   // but as the latest it stands for today
}

// Each line's balance is the sum of what it and every line after it in the
// finalized order add, whatever order the list was finalized in, shows
// afterwards, or the dates its lines have moved to since.
TEST_F(AnalysisListTest, ALineKeepsItsRunningBalanceInEveryOrder)
{
    CAccType* banks = AddType("Banks", 1);
    CAccount* current = AddAccount("Current", banks->Get_Id());
    CAccount* savings = AddAccount("Savings", banks->Get_Id());
    std::vector<CTransaction*> made;
    // Two lines share each date, so that ids order them within a day.
    for (int i = 1; i <= 12; ++i)
        made.push_back(Book(Account(books::kIncomeAccount), i % 2 ? current : savings, 10.0 * i, 20240100 + (i + 1) / 2));
    CTransaction* elsewhere = Book(Account(books::kIncomeAccount), AddAccount("Other", 1), 1.0, 20240101);

    struct Order {
        const char* name;
        LComparator* comparator;
    };
    auto ascending = new CTransactionDetailComparator;
    ascending->SetReverse(false);
    for (const Order& order : {Order{"newest first", new CTransactionDetailComparator}, Order{"oldest first", ascending},
                               Order{"by amount", new CTransactionDetailComparatorAmtl}}) {
        SCOPED_TRACE(order.name);
        CAnalysisArray lines{order.comparator, false};
        lines.InitFromObject(banks, false);
        lines.Finalize();
        std::vector<std::pair<const CNonVisual*, double>> expected;
        double sum = 0.0;
        for (ArrayIndexT i = static_cast<ArrayIndexT>(lines.GetCount()); i >= 1; --i) {
            sum += CAnalysisArray::BalanceChangeOf(*static_cast<CDebit*>(lines.ObjectAt(i)));
            expected.emplace_back(lines.ObjectAt(i), sum);
        }
        ASSERT_EQ(expected.size(), 12u);
        auto expectEach = [&] {
            for (const auto& [line, balance] : expected) EXPECT_EQ(lines.RunningBalanceOf(line), balance);
        };
        expectEach();
        lines.SetComparator(new CTransactionDetailComparatorDesc, true);
        lines.Sort();
        expectEach();
        EXPECT_EQ(lines.RunningBalanceOf(Credit(elsewhere)), std::nullopt);
        EXPECT_EQ(lines.RunningBalanceOf(Debit(made.front())), std::nullopt);   // the income side
        // Moved after finalizing: still the balance it was finalized with.
        made[4]->Put_mDate(20231201);
        expectEach();
        made[4]->Put_mDate(20240103);
    }
}

TEST_F(AnalysisListTest, AKeptSortedListTakesManyLinesAtOnce)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    for (int day = 1; day <= 28; ++day)
        Book(Account(books::kIncomeAccount), bank, day, 20240200 + (day * 7) % 28 + 1);
    CAnalysisArray sorted(new CTransactionDetailComparator, true);
    sorted.InitFromObject(bank, false);
    sorted.AddObject(Account(books::kDefaultAccount), false);
    DateT previous = kNeverDate;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(sorted.GetCount()); ++i) {
        DateT date = static_cast<CDebit*>(sorted.ObjectAt(i))->Get_mDate();
        EXPECT_LE(date, previous);
        previous = date;
    }
    EXPECT_EQ(sorted.GetCount(), 28u);
    EXPECT_TRUE(sorted.IsKeepSorted());
}

} // namespace
} // namespace ch::test
