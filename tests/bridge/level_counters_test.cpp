#include <gtest/gtest.h>

#include <vector>

#include "bridge/CLevelCounters.h"

namespace ch::test {
namespace {

CLevelCounters countersOf(const std::vector<double>& values)
{
    CLevelCounters counters;
    for (unsigned short i = 0; i < values.size(); ++i) counters.setResultAtIndex(i, values[i]);
    return counters;
}

std::vector<double> valuesOf(const CLevelCounters& counters)
{
    std::vector<double> values;
    for (unsigned short i = 0; i < CLevelCounters::kResultCount; ++i) values.push_back(counters.resultAtIndex(i));
    return values;
}

TEST(LevelCountersTest, ComparesEachColumnWithTheOneBefore)
{
    struct Case {
        std::vector<double> results;
        int n;
        std::vector<double> differences;
        std::vector<double> percentages;
    };
    const std::vector<Case> cases{
        // A change from an earlier 0 is the whole amount; its ratio is 0. The
        // last column has nothing beside it.
        {{10, 8, 4, 0}, 1, {2, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {125, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{-5, 10, 0, 2}, 1, {-15, 10, -2, 2, 0, 0, 0, 0, 0, 0, 0, 0}, {-50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{9, 1, 3}, 2, {6, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {300, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Column 10 would compare with column 11, which has nothing after it.
        {{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 4, 2}, 1, {0, 0, 0, 0, 0, 0, 0, 0, 0, -3, 0, 0},
         {100, 100, 100, 100, 100, 100, 100, 100, 100, 25, 0, 0}},
        {{10, 8}, 0, std::vector<double>(12, 0.0), std::vector<double>(12, 0.0)},
        // An earlier sum that cancels to a binary remainder is 0 at cent precision.
        {{3914.6, 0.1 + 0.2 - 0.3, 0}, 1, {3914.6 - (0.1 + 0.2 - 0.3), 0.1 + 0.2 - 0.3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         std::vector<double>(12, 0.0)},
    };
    for (const Case& c : cases) {
        const CLevelCounters counters = countersOf(c.results);
        EXPECT_EQ(valuesOf(counters.differenceCounters(c.n)), c.differences) << c.results[0];
        EXPECT_EQ(valuesOf(counters.pctDifferenceCounters(c.n)), c.percentages) << c.results[0];
    }
    // With the count of filled columns, the oldest one shown has no change.
    const CLevelCounters shown = countersOf({5, 0, 7});
    EXPECT_EQ(valuesOf(shown.differenceCounters(1, 3)), (std::vector<double>{5, -7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(valuesOf(shown.pctDifferenceCounters(1, 2)), std::vector<double>(12, 0.0));
}

TEST(LevelCountersTest, SumsKeepTheCentsOfLargeAmounts)
{
    CLevelCounters total;
    for (int i = 0; i < 1000; ++i) total.addCounters(countersOf({1234567.89, 0.01, -0.01}));
    total.subtractCounters(countersOf({1234567.89 * 999}));
    EXPECT_NEAR(total.resultAtIndex(0), 1234567.89, 1e-4);
    EXPECT_NEAR(total.resultAtIndex(1), 10.0, 1e-9);
    EXPECT_NEAR(total.resultAtIndex(2), -10.0, 1e-9);

    total.reset();
    EXPECT_EQ(valuesOf(total), std::vector<double>(12, 0.0));
    EXPECT_FALSE(total.setResultAtIndex(12, 5.0));
    EXPECT_EQ(total.resultAtIndex(12), 0.0);
}

TEST(LevelCountersTest, SaldoIsTheFirstDifferenceLessTheSecond)
{
    EXPECT_DOUBLE_EQ(countersOf({100.5, 20.25, 30, 4}).zeroMinOneMinTussenHaakjesTwoMinTree(), 54.25);
    EXPECT_DOUBLE_EQ(CLevelCounters().zeroMinOneMinTussenHaakjesTwoMinTree(), 0.0);
}

} // namespace
} // namespace ch::test
