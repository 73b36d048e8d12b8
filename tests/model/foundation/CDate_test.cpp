#include "model/foundation/CDate.h"

#include <gtest/gtest.h>

#include <string>

#include "text_settings_fixture.h"

namespace ch {
namespace {

struct DatePair {
    DateT in;
    DateT out;
};

TEST(CDate, SequencesCountFrom1904AndGoPast2040)
{
    EXPECT_EQ(CDate::ConvertToSequence(19040101), 0);
    EXPECT_EQ(CDate::ConvertToSequence(19040102), kSecondsPerDay);
    EXPECT_EQ(CDate::SequenceToDateT(0), 19040101);
    // The platform's unsigned count ended on 6 February 2040.
    for (DateT date : {20400206, 20400207, 20991231, 21000301, 19000101})
        EXPECT_EQ(CDate::SequenceToDateT(CDate::ConvertToSequence(date)), date) << date;
    EXPECT_EQ(CDate::GetMonthFromSequence(CDate::ConvertToSequence(20400315)), 3);
}

TEST(CDate, OutOfRangeDaysAndMonthsCarryOver)
{
    const DatePair cases[] = {
        {20240132, 20240201}, {20240300, 20240229}, {20230300, 20230228},
        {20240100, 20231231}, {20241301, 20250101}, {20240231, 20240302},
    };
    for (const auto& c : cases) EXPECT_EQ(CDate::AddDaysTo(c.in, 0), c.out) << c.in;
}

TEST(CDate, DayCounts)
{
    EXPECT_EQ(CDate::DaysBetween(20240228, 20240301), 2);
    EXPECT_EQ(CDate::DaysBetween(20240301, 20240228), -2);
    EXPECT_EQ(CDate::DaysBetween(19040101, 20500101), 53327);
    EXPECT_EQ(CDate::AddDaysTo(20240228, 2), 20240301);
    EXPECT_EQ(CDate::AddDaysTo(20240301, -1), 20240229);
    EXPECT_EQ(CDate::AddDaysTo(20391231, 3650), 20491228);
    EXPECT_EQ(CDate::GetRemainingDaysInYear(20241231), 0);
    EXPECT_EQ(CDate::GetRemainingDaysInYear(20240101), 365);

    // Monday 1 January 2024 to Tuesday of the next week.
    EXPECT_EQ(CDate::WeeksBetween(20240101, 20240109, true), 1);
    EXPECT_EQ(CDate::WeeksBetween(20240101, 20240109, false), 2);
    EXPECT_EQ(CDate::WeeksBetween(20240101, 20240108, false), 1);

    EXPECT_EQ(CDate::MonthsBetween(20231231, 20240101, false), 1);
    EXPECT_EQ(CDate::MonthsBetween(20231231, 20240101, true), 2);
    EXPECT_EQ(CDate::QuartersBetween(20240101, 20241231, false), 11);
    EXPECT_EQ(CDate::YearsBetween(20220101, 20240301, true), 27);
}

TEST(CDate, Weekdays)
{
    EXPECT_EQ(CDate::GetDayOfWeek(20240101), 0);   // a Monday
    EXPECT_EQ(CDate::GetDayOfWeek(19040101), 4);   // a Friday
    EXPECT_EQ(CDate::GetDayOfWeek(20240107), 6);
    EXPECT_EQ(CDate::GetNextxDay(20240101, 0), 20240101);
    EXPECT_EQ(CDate::GetNextxDay(20240102, 0), 20240108);
    EXPECT_EQ(CDate::GetNextxDay(20240227, 3), 20240229);

    struct Typed {
        DateT date;
        WeekOfMonthT week;
        DayOfWeekT weekday;
        DateT expected;
    } cases[] = {
        {20240110, 0, 0, 20240205},   // after January's first Monday: February's
        {20240101, 0, 0, 20240101},
        {20240110, 1, 0, 20240212},   // January's second Monday (8th) is past
        {20240110, 2, 0, 20240115},
        {20240110, 3, 0, 20240129},   // January 2024 has five Mondays
        {20240401, 3, 0, 20240429},   // April 2024 has five Mondays
        {20240130, 3, 0, 20240226},   // February 2024 has four
        {20241231, 0, 2, 20250101},   // first Wednesday of the next year
        {20240110, 4, 0, 0},          // no fifth kind of week
        {0, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDate::GetNextTypedxDay(c.date, c.week, c.weekday), c.expected)
            << c.date << " week " << int(c.week);
}

TEST(CDate, MonthBoundaries)
{
    const DatePair lastDay[] = {
        {20240210, 20240229}, {20230210, 20230228}, {20241210, 20241231}, {20000215, 20000229},
        {19000215, 19000228}, {20240430, 20240430},
    };
    for (const auto& c : lastDay) EXPECT_EQ(CDate::GetLastDayOfMonth(c.in), c.out) << c.in;
    EXPECT_EQ(CDate::GetFirstDayOfNextMonth(20241231), 20250101);
    EXPECT_EQ(CDate::GetFirstDayOfNextMonth(20240131), 20240201);
    EXPECT_EQ(CDate::GetFirstDayOfMonth(20240315), 20240301);
    EXPECT_EQ(CDate::GetLastDayOfYear(20240315), 20241231);
}

TEST(CDate, AddMonthsKeepsTheDayWithinTheMonth)
{
    struct Case {
        DateT date;
        long months;
        DateT expected;
    } cases[] = {
        {20240131, 1, 20240229},  {20230131, 1, 20230228},   {20240331, -1, 20240229},
        {20241031, 1, 20241130},  {20240115, -1, 20231215},  {20241215, 1, 20250115},
        {20240115, -13, 20221215}, {20240115, 25, 20260215}, {20240229, 12, 20250228},
        {20240315, 0, 20240315},  {20240331, -13, 20230228}, {20241231, -12, 20231231},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDate::AddMonthsToDateT(c.date, c.months), c.expected)
            << c.date << " + " << c.months;
    // Not a date at all: answered at once rather than counted down forever.
    CDate::AddMonthsToDateT(0, 5);
    CDate::AddMonthsToDateT(20240000, -3);
}

TEST(CDate, AddYearsFrom29FebruaryLandsOnARealDate)
{
    EXPECT_EQ(CDate::AddYearsTo(20240229, 1), 20250228);
    EXPECT_EQ(CDate::AddYearsTo(20240229, 4), 20280229);
    EXPECT_EQ(CDate::AddYearsTo(20240229, -1), 20230228);
    EXPECT_EQ(CDate::AddYearsTo(20230315, -1), 20220315);
}

TEST(CDate, NextDayNumberOfMonthIsClampedPerMonth)
{
    struct Case {
        DateT date;
        long day;
        DateT expected;
    } cases[] = {
        {20240401, 31, 20240430},
        {20240501, 31, 20240531},   // the day after 30 April: May keeps day 31
        {20240431, 31, 20240531},   // a stored impossible date moves on
        {20240115, 10, 20240210},
        {20240110, 10, 20240110},
        {20240201, 30, 20240229},
        {20230201, 29, 20230228},
        {20241215, 5, 20250105},
        {20240131, 31, 20240131},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDate::GetNextxthOfMonth(c.date, c.day), c.expected) << c.date << " day " << c.day;

    // A monthly schedule on day 31 books every month once, on real dates.
    DateT next = 20240101;
    for (int month = 1; month <= 12; ++month) {
        next = CDate::GetNextxthOfMonth(next, 31);
        EXPECT_TRUE(CDate::IsValidDate(next)) << next;
        EXPECT_EQ(next, CDate::GetLastDayOfMonth(next));
        EXPECT_EQ(CDate::GetMonthFromDateT(next), month);
        next = CDate::AddDaysTo(next, 1);
    }
}

TEST(CDate, LastCompleteMonthAndYear)
{
    DateT start = 0, end = 0;
    EXPECT_EQ(CDate::GetLastCompleteMonth(20240315, start, end), 20240201);
    EXPECT_EQ(end, 20240229);
    EXPECT_EQ(CDate::GetLastCompleteMonth(20240115, start, end), 20231201);
    EXPECT_EQ(end, 20231231);

    EXPECT_EQ(CDate::GetLastCompleteYear(20240315, start, end, 4), 20230331);
    EXPECT_EQ(start, 20220401);
    EXPECT_EQ(CDate::GetLastCompleteYear(20240315, start, end, 1), 20231231);
    EXPECT_EQ(start, 20230101);
}

TEST(CDate, LastCompleteQuarter)
{
    struct Case {
        DateT date;
        long startMonth;
        DateT start;
        DateT end;
    } cases[] = {
        {20240515, 1, 20240101, 20240331},
        {20240215, 1, 20231001, 20231231},
        {20241115, 1, 20240701, 20240930},
        {20250215, 7, 20241001, 20241231},   // would end 30 December counted back from June
        {20241115, 5, 20240801, 20241031},
        {20240515, 5, 20240201, 20240430},
        {20240415, 3, 20231201, 20240229},
        {20240115, 12, 20230901, 20231130},
    };
    for (const auto& c : cases) {
        DateT start = 0, end = 0;
        EXPECT_EQ(CDate::GetLastCompleteQuarter(c.date, start, end, c.startMonth), c.end)
            << c.date << " from month " << c.startMonth;
        EXPECT_EQ(start, c.start) << c.date << " from month " << c.startMonth;
    }

    // For every accounting year and every month: three whole months, ending
    // before the date, and the quarter right before the date's own.
    for (long startMonth = 1; startMonth <= 12; ++startMonth) {
        for (DateT month = 20240101; month <= 20241201; month += 100) {
            const DateT date = month + 14;
            DateT start = 0, end = 0;
            CDate::GetLastCompleteQuarter(date, start, end, startMonth);
            EXPECT_EQ(CDate::GetDayFromDateT(start), 1);
            EXPECT_EQ(CDate::AddDaysTo(end, 1), CDate::AddMonthsToDateT(start, 3))
                << date << " from month " << startMonth;
            EXPECT_LT(end, date);
            EXPECT_GE(CDate::AddMonthsToDateT(CDate::AddDaysTo(end, 1), 3), CDate::AddDaysTo(date, 1))
                << date << " from month " << startMonth;
        }
    }
}

TEST(CDate, TodayComesFromTheClock)
{
    test::PinnedTextSettings settings;
    EXPECT_EQ(CDate::GetNowAsDateT(), 20240615);
    EXPECT_EQ(CDate::GetNowAsSequence(), CDate::ConvertToSequence(20240615));
}

TEST(CDate, ShortDateTextRoundTrip)
{
    test::PinnedTextSettings settings;
    EXPECT_EQ(CDate::DateTToString(20240315), "15.03.2024");
    Str255 text;
    EXPECT_TRUE(CDate::DateTToString(20240315, text));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "15.03.2024");
    EXPECT_EQ(CDate::StringToDateT(text), 20240315);

    for (DateT date : {19040101, 19291231, 20240229, 20991231, 20400207, 21500101})
        EXPECT_EQ(CDate::StringToDateT(CDate::DateTToString(date)), date) << date;

    settings.defaults().set(std::string(kShortDateFormatKey), Value("M/d/yy"));
    EXPECT_EQ(CDate::DateTToString(20240305), "3/5/2024");
    EXPECT_EQ(CDate::StringToDateT("3/5/24"), 20240305);
}

TEST(CDate, ParsingRefusesWhatIsNoDate)
{
    test::PinnedTextSettings settings;
    struct Case {
        const char* text;
        DateT expected;
    } cases[] = {
        {"", 0}, {"abc", 0}, {"31.02.2024", 0}, {"15.13.2024", 0}, {"15.03", 0},
        {"5.1.24", 20240105}, {"05-01-2024", 20240105}, {"15.03.2024", 20240315},
    };
    for (const auto& c : cases) EXPECT_EQ(CDate::CStringToDateT(c.text), c.expected) << c.text;
    EXPECT_EQ(CDate::CStringToDateT(nullptr), 0);
    const unsigned char empty[1] = {0};
    EXPECT_EQ(CDate::StringToDateT(empty), 0);
}

TEST(CDate, AmericanTextIsMonthDayYearInEveryLocale)
{
    test::PinnedTextSettings settings;
    struct Case {
        const char* text;
        DateT expected;
    } cases[] = {
        {"1/5/24", 20240105},   {"12/31/1999", 19991231}, {"12/31/99", 19991231},
        {"1/5/30", 19300105},   {"1/5/29", 20290105},     {"12/31'99", 19991231},
        {" 1/ 5/24", 20240105}, {"01-05-2024", 20240105}, {"13/1/24", 0},
        {"2/30/24", 0},         {"1/5", 0},               {"1/5/", 0},
        {"1/5/2", 0},           {"", 0},                  {"abc", 0},
        {"123/4/99", 0},
    };
    for (const char* pattern : {"dd.MM.yy", "M/d/yy", "y-MM-dd"}) {
        settings.defaults().set(std::string(kShortDateFormatKey), Value(pattern));
        for (const auto& c : cases)
            EXPECT_EQ(CDate::AmericanStringToDateT(c.text), c.expected) << c.text << " " << pattern;
    }

    LStr255 text("12/31/99");
    EXPECT_EQ(CDate::AmericanStringToDateT(text), 19991231);
}

} // namespace
} // namespace ch
