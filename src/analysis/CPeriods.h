#pragma once
// The reporting periods of a report: one value column each. CPeriod is one
// period, first and last day inclusive; CPeriods the list, newest first, made
// from a period length, which period comes first and how many are wanted,
// relative to today.

#include <cstddef>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

// Period length codes.
namespace periodicity {
inline constexpr unsigned char kMonth = 2;
inline constexpr unsigned char kQuarter = 4;
inline constexpr unsigned char kYear = 5;
} // namespace periodicity

// Which period comes first.
namespace relative_period {
inline constexpr unsigned char kCurrent = 0;
inline constexpr unsigned char kLastComplete = 1;
inline constexpr unsigned char kPeriodsAgo = 2;
} // namespace relative_period

// The most periods back a report reaches (a century of months), and the most
// columns it has (one per running total).
inline constexpr long kMaxPeriodsAgo = 1200;
inline constexpr long kMaxPeriodsToPrint = 12;

class CPeriod {
public:
    CPeriod() = default;
    CPeriod(DateT from, DateT to) : mFrom(from), mTo(to) {}

    DateT dateFrom() const { return mFrom; }
    DateT dateTo() const { return mTo; }
    void setDateFrom(DateT date) { mFrom = date; }
    void setDateTo(DateT date) { mTo = date; }

    // The dates as the user reads them.
    std::string startAsString() const;
    std::string endAsString() const;
    // Start and end on two lines; with position titles the localized
    // "POSITION" and the end (a balance at that day).
    std::string periodAsStringWithPostion(bool position) const;

    friend bool operator==(const CPeriod&, const CPeriod&) = default;

private:
    DateT mFrom = 0;
    DateT mTo = 0;
};

class CPeriods {
public:
    void reset() { periods.clear(); }

    // Appends the periods, newest first, for today's date and an accounting
    // year that starts on the 1st of firstMonthOfYear (1-12; another value
    // counts as January). With (s, e) the last complete period of the length:
    // - periods ago (N): (s, e) moved by 1 − N lengths, then the P − 1
    //   periods before it (N = 1: the last complete period, N = 0: the
    //   current one);
    // - last complete: (s, e), then the P − 1 periods before it;
    // - current: the whole current period, then the last complete one, then
    //   the P − 2 before it; always at least these two.
    // A period moved by k lengths ends on the last day of its end's month
    // moved by k. Another length or relative period makes none. N is held to
    // 0..1200 and P to 0..12. Always true.
    bool createPeriodsWithPeriodicity(unsigned char periodicity, unsigned char relativePeriod,
                                      long numberOfPastPeriods, long numberOfPeriodsToPrint,
                                      long firstMonthOfYear);

    std::size_t countOfPeriods() const { return periods.size(); }
    // The period at the index (0 the newest).
    const CPeriod& getPeriodNumber(std::size_t index) const { return periods.at(index); }
    std::string getPeriodTitleAtIndex(std::size_t index, bool positionTitles) const;

    const std::vector<CPeriod>& getPeriods() const { return periods; }
    void insertObjectInPeriodsAtIndex(const CPeriod& period, std::size_t index);
    void removeObjectFromPeriodsAtIndex(std::size_t index);
    void replaceObjectInPeriodsAtIndex(std::size_t index, const CPeriod& period);

private:
    std::vector<CPeriod> periods;
};

} // namespace ch
