// The analysis-list wrapper: indexes, the period enumerator, sorting, and
// following the lines of its object.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "model/CAnalysisArray.h"
#include "model/CDebit.h"
#include "model/CTransaction.h"
#include "model/CTransactionDetailComparator.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

class AnalysisWrapperTest : public BooksTest {
protected:
    AnalysisWrapperTest()
    {
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Shop");
        december = document.addTransaction(20231215, 10, 11, 1, 40.0);
        januaryEarly = document.addTransaction(20240105, 10, 11, 1, 10.0);
        januaryLate = document.addTransaction(20240120, 11, 10, 2, 100.0);
        february = document.addTransaction(20240210, 10, 11, 1, 25.0);
        wrapper = document.getAccountItemForId(10)->getAnalysisArray();
    }

    std::vector<DateT> dates()
    {
        std::vector<DateT> result;
        for (std::uint32_t i = 1; i <= wrapper->count(); ++i)
            result.push_back(wrapper->getObjectAtIndex(static_cast<int>(i))->getTransactionDate());
        return result;
    }

    CTransaction* december = nullptr;
    CTransaction* januaryEarly = nullptr;
    CTransaction* januaryLate = nullptr;
    CTransaction* february = nullptr;
    std::shared_ptr<CAnalysisArrayEncaplusator> wrapper;
};

TEST_F(AnalysisWrapperTest, IndexesCountFromOneNewestFirstUnlessZeroBased)
{
    ASSERT_EQ(wrapper->count(), 4u);
    EXPECT_EQ(dates(), (std::vector<DateT>{20240210, 20240120, 20240105, 20231215}));
    EXPECT_EQ(wrapper->getObjectAtIndex(0), nullptr);
    EXPECT_EQ(wrapper->getObjectAtIndex(5), nullptr);
    auto first = wrapper->getObjectAtIndex(1);
    EXPECT_EQ(wrapper->getObjectAtIndex(1), first);

    wrapper->setMbZeroBasedCalled(true);
    EXPECT_EQ(wrapper->getObjectAtIndex(0), first);
    EXPECT_EQ(wrapper->getObjectAtIndex(4), nullptr);
}

TEST_F(AnalysisWrapperTest, PeriodEnumeratorGivesOnlyThatPeriodNewestFirst)
{
    auto enumerator = wrapper->objectEnumerator();
    enumerator->setPeriodAware(true, 20240101, 20240131);
    std::vector<DateT> seen;
    while (auto line = enumerator->nextObject()) seen.push_back(line->getTransactionDate());
    EXPECT_EQ(seen, (std::vector<DateT>{20240120, 20240105}));
}

TEST_F(AnalysisWrapperTest, SortingReversesAndKeepsTheBalancesByDate)
{
    std::map<const CNonVisual*, double> balances;
    for (std::uint32_t i = 1; i <= wrapper->count(); ++i) {
        auto line = wrapper->getObjectAtIndex(static_cast<int>(i));
        balances[line->getSourceItem()] = *line->getLocalBalance();
    }
    // Oldest first: -40, -50, +50, +25 on the bank.
    EXPECT_EQ(wrapper->getObjectAtIndex(1)->getLocalBalance(), 25.0);

    const std::vector<DateT> newestFirst = dates();
    EXPECT_FALSE(wrapper->reverseSortOrder());
    EXPECT_EQ(dates(), (std::vector<DateT>(newestFirst.rbegin(), newestFirst.rend())));
    EXPECT_TRUE(wrapper->reverseSortOrder());
    EXPECT_EQ(dates(), newestFirst);

    wrapper->setReverse(true);
    wrapper->ballSort();
    EXPECT_EQ(dates(), (std::vector<DateT>{20240120, 20240210, 20231215, 20240105}));
    for (std::uint32_t i = 1; i <= wrapper->count(); ++i) {
        auto line = wrapper->getObjectAtIndex(static_cast<int>(i));
        EXPECT_EQ(*line->getLocalBalance(), balances[line->getSourceItem()]);
    }
}

TEST_F(AnalysisWrapperTest, AnIndexAlwaysAnswersItsOwnLine)
{
    auto second = wrapper->getObjectAtIndex(2);
    const CNonVisual* secondLine = second->getSourceItem();
    wrapper->resetIterator();
    ASSERT_TRUE(wrapper->getNext());   // enumeration replaces the kept item
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getSourceItem(), secondLine);

    auto first = wrapper->getObjectAtIndex(1);
    wrapper->setReverse(false);
    wrapper->amtlSort();   // smallest amount first: the line of 10
    EXPECT_EQ(wrapper->getObjectAtIndex(1)->getTransactionDate(), 20240105);
    EXPECT_NE(wrapper->getObjectAtIndex(1)->getSourceItem(), first->getSourceItem());
}

TEST_F(AnalysisWrapperTest, FollowsAddedAndDeletedLinesWithoutReadingThem)
{
    int announcements = 0;
    Subscription subscription =
        wrapper->observe("lines", [&](Observable&, const std::string&) { ++announcements; });
    wrapper->setReverse(true);
    wrapper->amtlSort();
    auto kept = wrapper->getObjectAtIndex(1);   // the january income (100)
    ASSERT_EQ(kept->getTransactionDate(), 20240120);

    ASSERT_TRUE(document.deleteAndAnnounce(januaryLate, *document.root().mTransactionList, "TRANSACTIONDELETED"));
    EXPECT_EQ(announcements, 1);   // once, however many lines went
    EXPECT_EQ(kept->getSourceItem(), nullptr);
    EXPECT_EQ(wrapper->count(), 3u);
    // Still by amount, largest first, with the balances by date again.
    EXPECT_EQ(dates(), (std::vector<DateT>{20231215, 20240210, 20240105}));
    EXPECT_EQ(wrapper->getObjectAtIndex(2)->getLocalBalance(), -75.0);

    document.addTransaction(20240301, 11, 10, 2, 7.0);
    EXPECT_EQ(announcements, 2);
    EXPECT_EQ(wrapper->count(), 4u);

    // An account type's wrapper follows the accounts below it.
    auto typeWrapper = document.getAccountTypeItemForId(1)->getAnalysisArray();
    const std::uint32_t before = typeWrapper->count();
    document.addAccount(13, 1, "Savings");
    document.addTransaction(20240302, 13, 11, 1, 3.0);
    EXPECT_EQ(typeWrapper->count(), before + 1);
}

// A kept list shows what a list built afresh shows after a booking's date
// moved and after a line's amount changed: order and running balances.
TEST_F(AnalysisWrapperTest, AKeptListFollowsAMovedDateAndAChangedAmount)
{
    auto typeWrapper = document.getAccountTypeItemForId(1)->getAnalysisArray();
    auto shown = [](CAnalysisArrayEncaplusator& lines) {
        std::vector<std::pair<DateT, double>> rows;
        for (std::uint32_t i = 1; i <= lines.count(); ++i) {
            auto line = lines.getObjectAtIndex(static_cast<int>(i));
            rows.emplace_back(line->getTransactionDate(), line->getLocalBalance().value_or(0.0));
        }
        return rows;
    };
    auto expectAsFresh = [&](const char* after) {
        using Kept = std::pair<std::shared_ptr<CAnalysisArrayEncaplusator>, CNonVisual*>;
        for (const auto& [kept, object] : {Kept{wrapper, document.root().GetAccountForID(10)},
                                           Kept{typeWrapper, document.root().GetAccountTypeForId(1)}}) {
            CAnalysisArrayEncaplusator fresh(object);
            EXPECT_EQ(shown(*kept), shown(fresh)) << after;
        }
    };
    ASSERT_EQ(dates(), (std::vector<DateT>{20240210, 20240120, 20240105, 20231215}));

    document.transactionItem(december)->setMDate(20240301);
    EXPECT_EQ(dates(), (std::vector<DateT>{20240301, 20240210, 20240120, 20240105}));
    expectAsFresh("a date moved");

    document.transactionItem(januaryEarly)->mFromList()[0]->setGetForeignAmount(12.0);
    expectAsFresh("an amount changed");
}

TEST_F(AnalysisWrapperTest, AWrapperOutlivesItsModel)
{
    auto line = wrapper->getObjectAtIndex(1);
    document.destroyModel();
    EXPECT_EQ(wrapper->count(), 0u);
    EXPECT_EQ(wrapper->getObjectAtIndex(1), nullptr);
    EXPECT_EQ(line->getSourceItem(), nullptr);
}

// The wrapper puts the lines in date order reading each line's keys once;
// order and running balances must be those the date comparator's own sort
// gives, also where two lines share date and id (damaged books), which the
// comparator's sort places as it always has.
TEST_F(AnalysisWrapperTest, LinesInTheOrderAndWithTheBalancesOfTheDateComparatorsSort)
{
    CTransaction* out = document.addTransaction(20240120, 10, 11, 1, 7.0);
    CTransaction* in = document.addTransaction(20240120, 11, 10, 2, 3.0);
    auto* outLine = static_cast<CDebit*>(out->GetDebitList()->ObjectAt(1));
    auto* inLine = static_cast<CDebit*>(in->GetCreditList()->ObjectAt(1));
    CNonVisual* bank = document.getAccountItemForId(10)->getSourceItem();
    using Lines = std::vector<std::pair<const CNonVisual*, double>>;
    for (bool sharedId : {false, true}) {
        if (sharedId) inLine->Put_Id(outLine->Get_Id());
        CAnalysisArrayEncaplusator shown(bank);
        shown.setMbZeroBasedCalled(true);
        Lines wrapped;
        for (std::uint32_t i = 0; i < shown.count(); ++i) {
            const auto line = shown.getObjectAtIndex(static_cast<int>(i));
            wrapped.emplace_back(line->getSourceItem(), *line->getLocalBalance());
        }
        CAnalysisArray reference;
        reference.InitFromObject(bank, true);
        auto byDate = std::make_unique<CTransactionDetailComparator>();
        byDate->SetReverse(true);
        reference.SetComparator(byDate.release(), true);
        reference.SetNotSorted();
        reference.Sort();
        reference.Finalize();
        Lines sorted;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(reference.GetCount()); ++i) {
            const auto* line = static_cast<const CDebit*>(reference.ObjectAt(i));
            sorted.emplace_back(line, line->Get_LocalBalance());
        }
        EXPECT_EQ(wrapped, sorted) << (sharedId ? "shared id" : "own ids");
        EXPECT_EQ(wrapped.size(), 6u);
    }
}

} // namespace
} // namespace ch::test
