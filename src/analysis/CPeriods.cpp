#include "analysis/CPeriods.h"

#include <algorithm>

#include "bridge/CNSStringDateTBridge.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

// Months in one period length; 0 for an unknown code.
long monthsPerLength(unsigned char code)
{
    switch (code) {
    case periodicity::kMonth: return 1;
    case periodicity::kQuarter: return 3;
    case periodicity::kYear: return 12;
    default: return 0;
    }
}

// The pair (from, to) moved by k lengths: its start moved, and the last day
// of its end's month moved.
CPeriod moved(const CPeriod& period, long lengths, long months)
{
    return CPeriod(CDate::AddMonthsToDateT(period.dateFrom(), lengths * months),
                   CDate::GetLastDayOfMonth(CDate::AddMonthsToDateT(period.dateTo(), lengths * months)));
}

std::string twoLines(const std::string& first, const std::string& second)
{
    return first + " \r\n " + second;
}

} // namespace

std::string CPeriod::startAsString() const
{
    return CNSStringDateTBridge::dateTToNSString(mFrom);
}

std::string CPeriod::endAsString() const
{
    return CNSStringDateTBridge::dateTToNSString(mTo);
}

std::string CPeriod::periodAsStringWithPostion(bool position) const
{
    return twoLines(position ? localized("POSITION") : startAsString(), endAsString());
}

bool CPeriods::createPeriodsWithPeriodicity(unsigned char periodicityCode, unsigned char relativePeriod,
                                           long numberOfPastPeriods, long numberOfPeriodsToPrint,
                                           long firstMonthOfYear)
{
    const long months = monthsPerLength(periodicityCode);
    if (months == 0 || relativePeriod > relative_period::kPeriodsAgo) return true;
    const long pastPeriods = std::clamp(numberOfPastPeriods, 0L, kMaxPeriodsAgo);
    const long toPrint = std::clamp(numberOfPeriodsToPrint, 0L, kMaxPeriodsToPrint);
    const long firstMonth = firstMonthOfYear >= 1 && firstMonthOfYear <= 12 ? firstMonthOfYear : 1;

    const DateT today = CDate::GetNowAsDateT();
    DateT start = 0, end = 0;
    if (periodicityCode == periodicity::kMonth)
        CDate::GetLastCompleteMonth(today, start, end);
    else if (periodicityCode == periodicity::kQuarter)
        CDate::GetLastCompleteQuarter(today, start, end, firstMonth);
    else
        CDate::GetLastCompleteYear(today, start, end, firstMonth);
    const CPeriod lastComplete(start, end);

    if (relativePeriod == relative_period::kPeriodsAgo) {
        const CPeriod first = moved(lastComplete, 1 - pastPeriods, months);
        periods.push_back(first);
        for (long k = 1; k < toPrint; ++k) periods.push_back(moved(first, -k, months));
    } else if (relativePeriod == relative_period::kLastComplete) {
        periods.emplace_back(start, CDate::GetLastDayOfMonth(end));
        for (long k = 1; k < toPrint; ++k) periods.push_back(moved(lastComplete, -k, months));
    } else {
        periods.push_back(moved(lastComplete, 1, months));
        periods.push_back(lastComplete);
        for (long k = 1; k + 2 <= toPrint; ++k) periods.push_back(moved(lastComplete, -k, months));
    }
    return true;
}

std::string CPeriods::getPeriodTitleAtIndex(std::size_t index, bool positionTitles) const
{
    return getPeriodNumber(index).periodAsStringWithPostion(positionTitles);
}

void CPeriods::insertObjectInPeriodsAtIndex(const CPeriod& period, std::size_t index)
{
    periods.insert(periods.begin() + static_cast<std::ptrdiff_t>(std::min(index, periods.size())), period);
}

void CPeriods::removeObjectFromPeriodsAtIndex(std::size_t index)
{
    if (index < periods.size()) periods.erase(periods.begin() + static_cast<std::ptrdiff_t>(index));
}

void CPeriods::replaceObjectInPeriodsAtIndex(std::size_t index, const CPeriod& period)
{
    if (index < periods.size()) periods[index] = period;
}

} // namespace ch
