#pragma once
// Dates of the model. A DateT is year * 10000 + month * 100 + day; comparing
// dates is comparing the numbers. Day arithmetic goes through a count of
// seconds since 1 January 1904 00:00, held in 64 bits so that it does not end
// in 2040. A day, month or month-day out of range is carried into the next or
// previous unit (20240132 is 1 February 2024, day 0 is the last day of the
// previous month), which callers rely on when they add to a day number.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/foundation/LString.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

using DateSequenceT = std::int64_t;   // seconds since 1 January 1904 00:00
using DayOfWeekT = std::uint8_t;      // 0 Monday ... 6 Sunday
using WeekOfMonthT = std::uint8_t;    // 0 first, 1 second, 2 third, 3 last

inline constexpr DateT kNoDate = 0;               // what parsing gives on failure
inline constexpr DateT kNeverDate = 99999999;     // after every date
inline constexpr DateT kGenerationBound = 30000000;
inline constexpr DateSequenceT kSecondsPerDay = 86400;
inline constexpr DateSequenceT kSecondsPerWeek = 604800;

class CDate {
public:
    virtual ~CDate() = default;

    // Today from the application clock; its midnight as a sequence.
    static DateT GetNowAsDateT();
    static DateSequenceT GetNowAsSequence();

    static DateSequenceT ConvertToSequence(DateT date);
    static DateT SequenceToDateT(DateSequenceT sequence);
    static long GetMonthFromSequence(DateSequenceT sequence);

    static long GetYearFromDateT(DateT date) { return date / 10000; }
    static long GetMonthFromDateT(DateT date) { return (date / 100) % 100; }
    static long GetDayFromDateT(DateT date) { return date % 100; }

    // True for a real Gregorian calendar date (years 1 to 9999).
    static bool IsValidDate(DateT date);

    // The date in the user's short date format with a four-digit year, so that
    // StringToDateT reads every date back. Length-prefixed form (at most 255
    // bytes of UTF-8); returns true.
    static bool DateTToString(DateT date, Str255& out);
    static std::string DateTToString(DateT date);

    // Reads text in the user's short date order; 0 for empty or unreadable
    // text and for a date that does not exist.
    static DateT StringToDateT(const unsigned char* pascalText);
    static DateT StringToDateT(std::string_view text);
    static DateT CStringToDateT(const char* text);

    // Reads month/day/year text ("1/5/24", "12-31-1999") whatever the user's
    // date order; a two-digit year below 30 is 20yy, otherwise 19yy. 0 when the
    // text is not such a date. The caller's text is left unchanged.
    static DateT AmericanStringToDateT(const unsigned char* pascalText);
    static DateT AmericanStringToDateT(std::string_view text);

    // Arithmetic. Counts may be negative.
    static DateT AddDaysTo(DateT date, long days);
    static DateT AddMonthsToDateT(DateT date, long months);
    // 29 February plus years lands on 28 February in a common year.
    static DateT AddYearsTo(DateT date, long years);
    static DateT GetFirstDayOfMonth(DateT date);
    static DateT GetFirstDayOfNextMonth(DateT date);
    static DateT GetLastDayOfMonth(DateT date);
    static DateT GetLastDayOfYear(DateT date);
    static long GetRemainingDaysInYear(DateT date);
    static DayOfWeekT GetDayOfWeek(DateT date);
    // The first date on or after the date that falls on the weekday.
    static DateT GetNextxDay(DateT date, DayOfWeekT weekday);
    // The first date on or after the date that is the first, second, third or
    // last such weekday of its month; 0 for a date below 1 or a week above 3.
    static DateT GetNextTypedxDay(DateT date, WeekOfMonthT week, DayOfWeekT weekday);
    // The first date on or after the date whose day is the day number, a day
    // number beyond a month's end standing for that month's last day.
    static DateT GetNextxthOfMonth(DateT date, long dayNumber);

    // The last complete period before the date.
    static DateT GetLastCompleteMonth(DateT date, DateT& start, DateT& end);   // returns start
    static DateT GetLastCompleteYear(DateT date, DateT& start, DateT& end,
                                     long startMonth);                         // returns end
    static DateT GetLastCompleteQuarter(DateT date, DateT& start, DateT& end,
                                        long startMonth);                      // returns end

    // Whole days from one date to the other; negative when to is earlier.
    static long DaysBetween(DateT from, DateT to);
    static long WeeksBetween(DateT from, DateT to, bool wholeOnly);
    static long MonthsBetween(DateT from, DateT to, bool inclusive);
    static long QuartersBetween(DateT from, DateT to, bool inclusive);
    static long YearsBetween(DateT from, DateT to, bool inclusive);
};

} // namespace ch
