#pragma once
// The one source of "today" and "now" for everything that depends on the date.
// Tests fix it with ScopedFixedClock.

#include <compare>
#include <cstdint>

namespace ch {

// A calendar date (Gregorian): year, month 1-12, day 1-31.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// Today in the local time zone.
CalendarDate today();

// Now as seconds since 1 January 1970 00:00 UTC.
std::int64_t nowSeconds();

// While alive, today() and nowSeconds() answer the fixed values (any thread).
// Overrides nest; the destructor restores the previous clock.
class ScopedFixedClock {
public:
    // nowSeconds() then gives the date's midnight UTC.
    explicit ScopedFixedClock(CalendarDate date);
    ScopedFixedClock(CalendarDate date, std::int64_t now);
    ~ScopedFixedClock();
    ScopedFixedClock(const ScopedFixedClock&) = delete;
    ScopedFixedClock& operator=(const ScopedFixedClock&) = delete;

    // Moves the fixed clock (for tests that cross a day).
    void set(CalendarDate date, std::int64_t now);

private:
    bool mHadPrevious;
    CalendarDate mPrevDate;
    std::int64_t mPrevNow;
};

} // namespace ch
