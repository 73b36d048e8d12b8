#include "document/app/TimerIntervals.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "document/app/ApplicationDefaults.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

std::chrono::seconds minutesOr(const UserDefaults& defaults, std::string_view key, std::chrono::seconds fallback)
{
    const std::int64_t minutes = defaults.integerForKey(key);
    if (minutes <= 0)
        return fallback;
    // A year at most: a larger number is a typing slip, and minutes * 60 must not overflow.
    constexpr std::int64_t kMaxMinutes = 366 * 24 * 60;
    return std::chrono::seconds(std::min(minutes, kMaxMinutes) * 60);
}

} // namespace

std::chrono::seconds stockRefreshInterval(const UserDefaults& defaults)
{
    return minutesOr(defaults, kStockRefreshRateKey, std::chrono::seconds(600));
}

std::chrono::seconds autosaveInterval(const UserDefaults& defaults)
{
    return minutesOr(defaults, kAutoSaveIntervalKey, std::chrono::seconds(300));
}

} // namespace ch
