#include "model/foundation/CDate.h"

#include <algorithm>
#include <limits>

#include "platform/core/clock.h"
#include "platform/core/locale_settings.h"

namespace ch {

namespace {

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

constexpr std::int64_t floorMod(std::int64_t a, std::int64_t b)
{
    return a - floorDiv(a, b) * b;
}

// Days from 1 January 1970 of a Gregorian date with month 1-12 (any year).
constexpr std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Civil {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

constexpr Civil civilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp + (mp < 10 ? 3 : -9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

constexpr std::int64_t kEpochDays = daysFromCivil(1904, 1, 1);
static_assert(floorMod(kEpochDays + 3, 7) == 4, "1 January 1904 was a Friday");

bool isLeapYear(std::int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

long daysInMonth(std::int64_t y, std::int64_t m)
{
    static constexpr long kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && isLeapYear(y)) ? 29 : kDays[m - 1];
}

DateT makeDate(std::int64_t y, std::int64_t m, std::int64_t d)
{
    const std::int64_t value = y * 10000 + m * 100 + d;
    return static_cast<DateT>(std::clamp<std::int64_t>(value, std::numeric_limits<DateT>::min(),
                                                        std::numeric_limits<DateT>::max()));
}

// Days since 1 January 1904, carrying out-of-range months and days into the
// neighbouring units as the platform's date conversion did.
std::int64_t dayNumber(DateT date)
{
    const std::int64_t y = date / 10000;
    const std::int64_t m = (date / 100) % 100;
    const std::int64_t d = date % 100;
    const std::int64_t months = y * 12 + (m - 1);
    return daysFromCivil(floorDiv(months, 12), floorMod(months, 12) + 1, 1) + (d - 1) - kEpochDays;
}

DateT dateFromDayNumber(std::int64_t days)
{
    const Civil c = civilFromDays(days + kEpochDays);
    return makeDate(c.year, c.month, c.day);
}

// The latest real date at or below the number: what counting down one by one
// until the number is a calendar date gives, without the loop.
DateT latestValidDateAtOrBelow(DateT candidate)
{
    if (candidate < 10101 || candidate > 99991231) return candidate;
    const std::int64_t y = candidate / 10000;
    const std::int64_t m = (candidate / 100) % 100;
    const std::int64_t d = candidate % 100;
    if (m == 0) return y > 1 ? makeDate(y - 1, 12, 31) : candidate;
    if (m > 12) return makeDate(y, 12, 31);
    if (d == 0) return m == 1 ? (y > 1 ? makeDate(y - 1, 12, 31) : candidate)
                              : makeDate(y, m - 1, daysInMonth(y, m - 1));
    return makeDate(y, m, std::min<std::int64_t>(d, daysInMonth(y, m)));
}

// The first of the date's month as a real date.
DateT normalisedFirstOfMonth(DateT date)
{
    return dateFromDayNumber(dayNumber(CDate::GetFirstDayOfMonth(date)));
}

// A pattern whose year fields all print four digits, so that no year is lost
// to a two-digit form on the way back.
std::string withFourDigitYear(const std::string& pattern)
{
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\'') quoted = !quoted;
        if (!quoted && (c == 'y' || c == 'u')) {
            while (i + 1 < pattern.size() && pattern[i + 1] == c) ++i;
            out += std::string(4, c);
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view pascalView(const unsigned char* text)
{
    if (!text) return {};
    return {reinterpret_cast<const char*>(text + 1), text[0]};
}

void toPascal(std::string_view text, Str255& out)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(length);
    std::copy_n(text.data(), length, out + 1);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

DateT CDate::GetNowAsDateT()
{
    const CalendarDate now = today();
    return makeDate(now.year, now.month, now.day);
}

DateSequenceT CDate::GetNowAsSequence()
{
    return ConvertToSequence(GetNowAsDateT());
}

DateSequenceT CDate::ConvertToSequence(DateT date)
{
    return dayNumber(date) * kSecondsPerDay;
}

DateT CDate::SequenceToDateT(DateSequenceT sequence)
{
    return dateFromDayNumber(floorDiv(sequence, kSecondsPerDay));
}

long CDate::GetMonthFromSequence(DateSequenceT sequence)
{
    return GetMonthFromDateT(SequenceToDateT(sequence));
}

bool CDate::IsValidDate(DateT date)
{
    const long y = GetYearFromDateT(date);
    const long m = GetMonthFromDateT(date);
    const long d = GetDayFromDateT(date);
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

std::string CDate::DateTToString(DateT date)
{
    LocaleSettings settings = currentLocaleSettings();
    settings.shortDatePattern = withFourDigitYear(settings.shortDatePattern);
    const CalendarDate calendar{static_cast<int>(GetYearFromDateT(date)),
                                static_cast<int>(GetMonthFromDateT(date)),
                                static_cast<int>(GetDayFromDateT(date))};
    return formatShortDate(calendar, settings);
}

bool CDate::DateTToString(DateT date, Str255& out)
{
    toPascal(DateTToString(date), out);
    return true;
}

DateT CDate::StringToDateT(std::string_view text)
{
    if (text.empty()) return kNoDate;
    const auto parsed = parseShortDate(text, currentLocaleSettings());
    if (!parsed) return kNoDate;
    const DateT date = makeDate(parsed->year, parsed->month, parsed->day);
    return IsValidDate(date) ? date : kNoDate;
}

DateT CDate::StringToDateT(const unsigned char* pascalText)
{
    return StringToDateT(pascalView(pascalText));
}

DateT CDate::CStringToDateT(const char* text)
{
    if (!text) return kNoDate;
    std::string_view view(text);
    return StringToDateT(view.substr(0, 255));
}

DateT CDate::AmericanStringToDateT(std::string_view text)
{
    std::size_t pos = 0;
    // One or two digits (statement files pad them with blanks), then one
    // separating character unless it is the last field.
    auto readField = [&](long& value) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos >= text.size() || !isDigit(text[pos])) return false;
        value = text[pos++] - '0';
        if (pos < text.size() && isDigit(text[pos])) value = value * 10 + (text[pos++] - '0');
        if (pos >= text.size() || isDigit(text[pos])) return false;
        ++pos;
        return true;
    };
    long month = 0;
    long day = 0;
    if (!readField(month) || !readField(day)) return kNoDate;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::size_t digits = 0;
    long year = 0;
    while (pos + digits < text.size() && digits < 4 && isDigit(text[pos + digits])) {
        year = year * 10 + (text[pos + digits] - '0');
        ++digits;
    }
    if (digits == 2 && (pos + 2 == text.size() || !isDigit(text[pos + 2])))
        year += year < 30 ? 2000 : 1900;
    else if (digits != 4)
        return kNoDate;
    const DateT date = makeDate(year, month, day);
    return IsValidDate(date) ? date : kNoDate;
}

DateT CDate::AmericanStringToDateT(const unsigned char* pascalText)
{
    return AmericanStringToDateT(pascalView(pascalText));
}

DateT CDate::AddDaysTo(DateT date, long days)
{
    return dateFromDayNumber(dayNumber(date) + days);
}

DateT CDate::AddMonthsToDateT(DateT date, long months)
{
    // Whole years and the remaining months, both truncated toward zero.
    std::int64_t years = months / 12;
    std::int64_t rest = months - 12 * years;
    const std::int64_t m = GetMonthFromDateT(date) + rest;
    if (m >= 13) {
        years += 1;
        rest -= 12;
    } else if (m < 1) {
        rest += 12;
        years -= 1;
    }
    const std::int64_t candidate = std::int64_t(date) + years * 10000 + rest * 100;
    return latestValidDateAtOrBelow(makeDate(0, 0, candidate));
}

DateT CDate::AddYearsTo(DateT date, long years)
{
    const DateT moved = makeDate(0, 0, std::int64_t(date) + std::int64_t(years) * 10000);
    if (GetMonthFromDateT(moved) == 2 && GetDayFromDateT(moved) == 29 &&
        !isLeapYear(GetYearFromDateT(moved)))
        return moved - 1;
    return moved;
}

DateT CDate::GetFirstDayOfMonth(DateT date)
{
    return (date / 100) * 100 + 1;
}

DateT CDate::GetFirstDayOfNextMonth(DateT date)
{
    return GetFirstDayOfMonth(AddDaysTo(GetFirstDayOfMonth(date), 40));
}

DateT CDate::GetLastDayOfMonth(DateT date)
{
    return AddDaysTo(GetFirstDayOfNextMonth(date), -1);
}

DateT CDate::GetLastDayOfYear(DateT date)
{
    return makeDate(GetYearFromDateT(date), 12, 31);
}

long CDate::GetRemainingDaysInYear(DateT date)
{
    return DaysBetween(date, GetLastDayOfYear(date));
}

DayOfWeekT CDate::GetDayOfWeek(DateT date)
{
    // 1 January 1904 was a Friday (4 with Monday as 0).
    return static_cast<DayOfWeekT>(floorMod(dayNumber(date) + 4, 7));
}

DateT CDate::GetNextxDay(DateT date, DayOfWeekT weekday)
{
    const long ahead = (long(weekday % 7) - long(GetDayOfWeek(date)) + 7) % 7;
    return AddDaysTo(date, ahead);
}

DateT CDate::GetNextTypedxDay(DateT date, WeekOfMonthT week, DayOfWeekT weekday)
{
    if (date < 1 || week > 3) return kNoDate;
    DateT first = normalisedFirstOfMonth(date);
    // Every candidate lies in the month of first, so two months always suffice;
    // the bound only guards against dates far outside the calendar.
    for (int i = 0; i < 48; ++i) {
        const DateT d1 = GetNextxDay(first, weekday);
        DateT candidate = d1;
        if (week == 1) {
            candidate = AddDaysTo(d1, 7);
        } else if (week == 2) {
            candidate = AddDaysTo(d1, 14);
        } else if (week == 3) {
            const DateT fifth = AddDaysTo(d1, 28);
            const DateT fourth = AddDaysTo(d1, 21);
            candidate = GetMonthFromDateT(fifth) == GetMonthFromDateT(fourth) ? fifth : fourth;
        }
        if (candidate >= date) return candidate;
        first = AddMonthsToDateT(first, 1);
    }
    return kNoDate;
}

DateT CDate::GetNextxthOfMonth(DateT date, long dayNumber)
{
    // Each month's candidate comes from the day number itself, cut to that
    // month's length, so day 31 is 30 April and again 31 May.
    const DateT first = normalisedFirstOfMonth(date);
    for (int i = 0; i < 48; ++i) {
        const DateT month = AddMonthsToDateT(first, i);
        const long y = GetYearFromDateT(month);
        const long m = GetMonthFromDateT(month);
        const long day = std::clamp<long>(dayNumber, 1, daysInMonth(y, m));
        const DateT candidate = makeDate(y, m, day);
        if (candidate >= date) return candidate;
    }
    return kNoDate;
}

DateT CDate::GetLastCompleteMonth(DateT date, DateT& start, DateT& end)
{
    const DateT first = GetFirstDayOfMonth(date);
    end = AddDaysTo(first, -1);
    start = AddMonthsToDateT(first, -1);
    return start;
}

DateT CDate::GetLastCompleteYear(DateT date, DateT& start, DateT& end, long startMonth)
{
    const DateT s = makeDate(GetYearFromDateT(date), startMonth, 1);
    if (s > date) {
        start = s - 20000;
        end = AddDaysTo(s - 10000, -1);
    } else {
        start = s - 10000;
        end = AddDaysTo(s, -1);
    }
    return end;
}

DateT CDate::GetLastCompleteQuarter(DateT date, DateT& start, DateT& end, long startMonth)
{
    DateT yearStart = 0;
    DateT yearEnd = 0;
    GetLastCompleteYear(date, yearStart, yearEnd, startMonth);
    const DateT current = AddMonthsToDateT(yearStart, 12);

    long position = GetMonthFromDateT(date) - startMonth + 1;
    if (position < 1) position += 12;

    // A quarter ends the day before the next one starts: counting back from
    // the year's end would carry a short month's last day into longer months.
    long firstMonth = 0;   // the quarter's start, in months from the current year's start
    if (position <= 3) {
        start = AddMonthsToDateT(yearStart, 9);
        end = yearEnd;
        return end;
    }
    if (position <= 6)
        firstMonth = 0;
    else if (position <= 9)
        firstMonth = 3;
    else
        firstMonth = 6;
    start = AddMonthsToDateT(current, firstMonth);
    end = AddDaysTo(AddMonthsToDateT(current, firstMonth + 3), -1);
    return end;
}

long CDate::DaysBetween(DateT from, DateT to)
{
    return static_cast<long>((ConvertToSequence(to) - ConvertToSequence(from)) / kSecondsPerDay);
}

long CDate::WeeksBetween(DateT from, DateT to, bool wholeOnly)
{
    const long weeks =
        static_cast<long>((ConvertToSequence(to) - ConvertToSequence(from)) / kSecondsPerWeek);
    if (!wholeOnly && weeks * 7 < DaysBetween(from, to)) return weeks + 1;
    return weeks;
}

long CDate::MonthsBetween(DateT from, DateT to, bool inclusive)
{
    return 12 * (GetYearFromDateT(to) - GetYearFromDateT(from)) + GetMonthFromDateT(to) -
           GetMonthFromDateT(from) + (inclusive ? 1 : 0);
}

// The charts step through quarter and year ranges by months, so these answer
// the month count.
long CDate::QuartersBetween(DateT from, DateT to, bool inclusive)
{
    return MonthsBetween(from, to, inclusive);
}

long CDate::YearsBetween(DateT from, DateT to, bool inclusive)
{
    return MonthsBetween(from, to, inclusive);
}

} // namespace ch
