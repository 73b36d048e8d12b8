#include "platform/core/clock.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace ch {

namespace {

struct ClockState {
    bool fixed = false;
    CalendarDate date;
    std::int64_t now = 0;
};

std::mutex gClockMutex;
ClockState gClock;

// Days since 1970-01-01 of a Gregorian date (proleptic).
std::int64_t daysFromCivil(int y, int m, int d)
{
    const std::chrono::year_month_day ymd{std::chrono::year{y},
                                          std::chrono::month{unsigned(m)},
                                          std::chrono::day{unsigned(d)}};
    return std::chrono::sys_days{ymd}.time_since_epoch().count();
}

} // namespace

CalendarDate today()
{
    {
        std::lock_guard lock(gClockMutex);
        if (gClock.fixed)
            return gClock.date;
    }
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::int64_t nowSeconds()
{
    {
        std::lock_guard lock(gClockMutex);
        if (gClock.fixed)
            return gClock.now;
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

ScopedFixedClock::ScopedFixedClock(CalendarDate date)
    : ScopedFixedClock(date, daysFromCivil(date.year, date.month, date.day) * 86400)
{
}

ScopedFixedClock::ScopedFixedClock(CalendarDate date, std::int64_t now)
{
    std::lock_guard lock(gClockMutex);
    mHadPrevious = gClock.fixed;
    mPrevDate = gClock.date;
    mPrevNow = gClock.now;
    gClock = {true, date, now};
}

ScopedFixedClock::~ScopedFixedClock()
{
    std::lock_guard lock(gClockMutex);
    gClock = {mHadPrevious, mPrevDate, mPrevNow};
}

void ScopedFixedClock::set(CalendarDate date, std::int64_t now)
{
    std::lock_guard lock(gClockMutex);
    gClock = {true, date, now};
}

} // namespace ch
