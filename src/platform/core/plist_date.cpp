#include "platform/core/plist_date.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ch {

namespace {

constexpr double kFirstSecond = -63113904000.0; // 0001-01-01T00:00:00Z
constexpr double kEndOfRange = 252423993600.0;  // 10000-01-01T00:00:00Z
constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 0000-03-01 to 2001-01-01: the day count below starts its years on
// 1 March so that a leap day is the last day of its year.
constexpr std::int64_t kDaysTo2001 = 730485 + 306;

struct CivilDate {
    std::int64_t year;
    int month; // 1-12
    int day;   // 1-31
};

// The date of a day counted from 0000-03-01 (day 0), which must not be negative.
CivilDate civilFromDays(std::int64_t days)
{
    const std::int64_t era = days / 146097; // 400-year cycles
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153; // 0 = March
    const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const std::int64_t year = era * 400 + yearOfEra + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

} // namespace

bool plistDateInRange(double seconds)
{
    return seconds >= kFirstSecond && seconds < kEndOfRange;
}

std::string plistDateText(double seconds)
{
    const auto whole = std::int64_t(std::floor(seconds));
    std::int64_t days = whole / kSecondsPerDay;
    std::int64_t secondOfDay = whole % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    const CivilDate date = civilFromDays(days + kDaysTo2001);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02dZ", static_cast<long long>(date.year),
                  date.month, date.day, int(secondOfDay / 3600), int(secondOfDay / 60 % 60), int(secondOfDay % 60));
    return text;
}

} // namespace ch
