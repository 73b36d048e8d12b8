#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "analysis/CPeriods.h"
#include "report_test_support.h"

namespace ch::test {
namespace {

using Span = std::pair<DateT, DateT>;

TEST(PeriodsTest, MakesThePeriodsNewestFirst)
{
    struct Case {
        const char* what;
        unsigned char periodicity;
        unsigned char relative;
        long periodsAgo;
        long toPrint;
        long firstMonth;
        std::vector<Span> periods;
    };
    using namespace periodicity;
    const std::vector<Case> cases{
        {"last complete month", kMonth, 1, 0, 4, 1,
         {{20070201, 20070228}, {20070101, 20070131}, {20061201, 20061231}, {20061101, 20061130}}},
        {"current month", kMonth, 0, 0, 4, 1,
         {{20070301, 20070331}, {20070201, 20070228}, {20070101, 20070131}, {20061201, 20061231}}},
        {"one month ago", kMonth, 2, 1, 4, 1,
         {{20070201, 20070228}, {20070101, 20070131}, {20061201, 20061231}, {20061101, 20061130}}},
        {"no months ago", kMonth, 2, 0, 4, 1,
         {{20070301, 20070331}, {20070201, 20070228}, {20070101, 20070131}, {20061201, 20061231}}},
        {"three months ago", kMonth, 2, 3, 4, 1,
         {{20061201, 20061231}, {20061101, 20061130}, {20061001, 20061031}, {20060901, 20060930}}},
        {"current month, one column", kMonth, 0, 0, 1, 1, {{20070301, 20070331}, {20070201, 20070228}}},
        {"last complete quarter", kQuarter, 1, 0, 4, 1,
         {{20061001, 20061231}, {20060701, 20060930}, {20060401, 20060630}, {20060101, 20060331}}},
        {"current quarter of a year from July", kQuarter, 0, 0, 2, 7, {{20070101, 20070331}, {20061001, 20061231}}},
        {"last complete year from April", kYear, 1, 0, 2, 4, {{20050401, 20060331}, {20040401, 20050331}}},
        {"current calendar year", kYear, 0, 0, 3, 1,
         {{20070101, 20071231}, {20060101, 20061231}, {20050101, 20051231}}},
        {"a first month that is none counts as January", kYear, 1, 0, 1, -1, {{20060101, 20061231}}},
        {"a century back at most", kMonth, 2, 1000000000, 1, 1, {{19070301, 19070331}}},
        {"a dozen columns at most", kMonth, 1, 0, 1000000, 1, {}},
        {"unknown length", 3, 1, 0, 4, 1, {}},
        {"unknown first period", kMonth, 3, 0, 4, 1, {}},
    };
    ReportEnvironment env({2007, 3, 15});
    for (const Case& c : cases) {
        CPeriods periods;
        EXPECT_TRUE(periods.createPeriodsWithPeriodicity(c.periodicity, c.relative, c.periodsAgo, c.toPrint,
                                                         c.firstMonth));
        std::vector<Span> made;
        for (const CPeriod& period : periods.getPeriods()) made.emplace_back(period.dateFrom(), period.dateTo());
        if (std::string(c.what) == "a dozen columns at most") {
            EXPECT_EQ(made.size(), 12u);
            continue;
        }
        EXPECT_EQ(made, c.periods) << c.what;
    }
}

TEST(PeriodsTest, TitlesShowBothDaysOrThePositionDay)
{
    ReportEnvironment env({2007, 3, 15});
    CPeriods periods;
    periods.createPeriodsWithPeriodicity(periodicity::kMonth, 1, 0, 2, 1);
    EXPECT_EQ(periods.getPeriodTitleAtIndex(0, false), "01.02.2007 \r\n 28.02.2007");
    EXPECT_EQ(periods.getPeriodTitleAtIndex(1, true), localized("POSITION") + " \r\n 31.01.2007");
    // Asked again, the list is made anew.
    periods.reset();
    EXPECT_EQ(periods.countOfPeriods(), 0u);
}

} // namespace
} // namespace ch::test
