#include "business/VATPeriods.h"

#include <algorithm>
#include <string>

#include "bridge/BridgeDocument.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessDocument.h"
#include "document/DocumentNotifications.h"
#include "document/arguments/BooksLinkArguments.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "platform/core/user_defaults.h"

namespace ch::business {

namespace {

// The month the accounting year starts in; 1 without settings or with a
// month that does not exist.
long yearStartMonth(BusinessDocument& document)
{
    CPrfRItem* settings = document.preferenceItem();
    const long month = settings ? settings->mCurrentYearStart() : 1;
    return month >= 1 && month <= 12 ? month : 1;
}

struct Range {
    DateT start = 0;
    DateT end = 0;
};

// The last complete period before the date, by the periodicity.
Range previousPeriod(VATPeriodicity kind, DateT date, long startMonth)
{
    Range range;
    switch (kind) {
    case VATPeriodicity::Month: {
        const DateT first = CDate::AddMonthsToDateT(CDate::GetFirstDayOfMonth(date), -1);
        range = {first, CDate::GetLastDayOfMonth(first)};
        break;
    }
    case VATPeriodicity::Quarter:
        CDate::GetLastCompleteQuarter(date, range.start, range.end, startMonth);
        break;
    case VATPeriodicity::Year:
        CDate::GetLastCompleteYear(date, range.start, range.end, startMonth);
        break;
    }
    return range;
}

// The period after the given one: as long, starting where it ends.
Range nextPeriod(VATPeriodicity kind, const Range& previous)
{
    const long months = kind == VATPeriodicity::Month ? 1 : kind == VATPeriodicity::Quarter ? 3 : 12;
    const DateT start = CDate::AddMonthsToDateT(previous.start, months);
    return {start, CDate::GetLastDayOfMonth(CDate::AddMonthsToDateT(start, months - 1))};
}

// The period of the array with exactly the range's dates; none otherwise.
std::shared_ptr<GXVATPeriod> periodWithDates(BusinessDocument& document, const Range& range)
{
    for (const std::shared_ptr<GXVATPeriod>& period : document.businessArrays().VATPeriodArray)
        if (period->hasStartDate(range.start, range.end)) return period;
    return nullptr;
}

long monthsOfPeriodicity(VATPeriodicity kind)
{
    return kind == VATPeriodicity::Month ? 1 : kind == VATPeriodicity::Quarter ? 3 : 12;
}

std::string monthName(DateT date)
{
    return localized("MONTHNAME" + std::to_string(date / 100 % 100));
}

// Whether a declaration or a closing was made for the period: such a period
// is kept whatever length is chosen later.
bool holdsDeclarationOrClosing(const GXVATPeriod& period)
{
    return period.closingTransactionId().value_or(0) > 0 || period.storedClosingDate().value_or(0) > 0 ||
           period.status() != "open";
}

} // namespace

long VATPeriodMonths(const GXVATPeriod& period)
{
    const DateT start = static_cast<DateT>(period.startDate().value_or(0));
    const DateT end = static_cast<DateT>(period.endDate().value_or(0));
    if (start <= 0 || end < start || CDate::GetFirstDayOfMonth(start) != start || CDate::GetLastDayOfMonth(end) != end)
        return 0;
    return (end / 10000 - start / 10000) * 12 + (end / 100 % 100 - start / 100 % 100) + 1;
}

bool isOfChosenLength(const GXVATPeriod& period)
{
    return VATPeriodMonths(period) == monthsOfPeriodicity(currentVATPeriodicity());
}

std::string VATPeriodName(DateT start, DateT end)
{
    const std::string startYear = std::to_string(start / 10000);
    const std::string endYear = std::to_string(end / 10000);
    if (start / 100 == end / 100) return monthName(start) + " " + startYear;
    if (start / 10000 == end / 10000) return monthName(start) + " \u2013 " + monthName(end) + " " + endYear;
    return monthName(start) + " " + startYear + " \u2013 " + monthName(end) + " " + endYear;
}

VATPeriodicity currentVATPeriodicity()
{
    // The registered quarter stands in for a value the settings never hold.
    switch (UserDefaults::standard().integerForKey(kVATPeriodicityKey)) {
    case 0: return VATPeriodicity::Month;
    case 2: return VATPeriodicity::Year;
    default: return VATPeriodicity::Quarter;
    }
}

void setVATPeriodicity(VATPeriodicity periodicity)
{
    UserDefaults::standard().set(kVATPeriodicityKey, Value(static_cast<int>(periodicity)));
}

std::shared_ptr<GXVATPeriod> lastCompleteVATPeriod(BusinessDocument& document)
{
    return periodWithDates(document,
                           previousPeriod(currentVATPeriodicity(), CDate::GetNowAsDateT(), yearStartMonth(document)));
}

VATFigures calculateVATBalanceInPeriod(BusinessDocument& document, DateT from, DateT to)
{
    VATFigures sums;
    for (const std::shared_ptr<GXVATRate>& rate : document.businessArrays().VATRateArray)
        sums += rate->getBalanceInPeriod(from, to);
    return sums;
}

VATFigures calculateVATBalanceForPeriod(BusinessDocument& document, const GXVATPeriod& period)
{
    return calculateVATBalanceInPeriod(document, static_cast<DateT>(period.startDate().value_or(0)),
                                       static_cast<DateT>(period.endDate().value_or(0)));
}

void initializeVATPeriods(BusinessDocument& document)
{
    const VATPeriodicity kind = currentVATPeriodicity();
    const Range previous = previousPeriod(kind, CDate::GetNowAsDateT(), yearStartMonth(document));
    const Range current = nextPeriod(kind, previous);
    createVATPeriodWithStartDate(document, current.start, current.end);
    createVATPeriodWithStartDate(document, previous.start, previous.end);
    // Periods of a length no longer chosen would overlap the new ones: those
    // that hold nothing go; those closed stay, shown as of an earlier length.
    auto& periods = document.businessArrays().VATPeriodArray;
    std::erase_if(periods, [](const std::shared_ptr<GXVATPeriod>& period) {
        return !isOfChosenLength(*period) && !holdsDeclarationOrClosing(*period);
    });
}

void initializeBusinessObjectsOfNewDocument(BusinessDocument& document)
{
    document.businessArrays() = BusinessArrays();
    initializeVATPeriods(document);
}

std::pair<DateT, DateT> declarationRange(const GXVATPeriod* chosen, DateT today)
{
    if (chosen && chosen->startDate() && chosen->endDate())
        return {static_cast<DateT>(*chosen->startDate()), static_cast<DateT>(*chosen->endDate())};
    const DateT start = CDate::AddMonthsToDateT(today, -3);
    if (today == 0 || start == 0) return {0, 0};
    return {start, today};
}

std::shared_ptr<GXVATPeriod> VATPeriodAtDate(BusinessDocument& document, DateT date)
{
    for (const std::shared_ptr<GXVATPeriod>& period : document.businessArrays().VATPeriodArray)
        if (period->containsDate(date))
            return period;
    return nullptr;
}

bool VATPeriodExistsWithStartDate(BusinessDocument& document, DateT start, DateT end)
{
    return periodWithDates(document, {start, end}) != nullptr;
}

void createVATPeriodWithStartDate(BusinessDocument& document, DateT start, DateT end)
{
    if (VATPeriodExistsWithStartDate(document, start, end))
        return;
    auto period = std::make_shared<GXVATPeriod>(&document);
    period->setStartDate(start);
    period->setEndDate(end);
    period->setIdKey(-1);
    document.businessArrays().VATPeriodArray.push_back(period);
    document.bridgeDocument().notificationCenter().post(GXCVATPeriodCreatedNotification,
                                                        std::static_pointer_cast<Observable>(period));
}

std::shared_ptr<GXVATPeriod> VATPeriodPaidOn(BusinessDocument& document, DateT date)
{
    const Range previous = previousPeriod(currentVATPeriodicity(), date, yearStartMonth(document));
    // Periods of another length may hold the date too: the chosen length first.
    std::shared_ptr<GXVATPeriod> period = periodWithDates(document, previous);
    return period ? period : VATPeriodAtDate(document, previous.start);
}

bool tryToSetTransactionAsVATBalancePaymentTransaction(BusinessDocument& document, CTrnSItem& transaction,
                                                       std::optional<std::pair<DateT, DateT>> paid)
{
    const std::optional<long> date = transaction.mDate();
    const std::optional<ObjectIdT> id = transaction.getId();
    if (!date || !id)
        return false;
    std::shared_ptr<GXVATPeriod> period;
    if (paid && paid->first > 0 && paid->second >= paid->first) {
        // The period named is the one paid, made again when the opening
        // dropped it (it held nothing of another length): the payment is kept.
        createVATPeriodWithStartDate(document, paid->first, paid->second);
        period = periodWithDates(document, {paid->first, paid->second});
    } else {
        period = VATPeriodPaidOn(document, static_cast<DateT>(*date));
    }
    if (!period)
        return false;
    period->setClosingTransactionId(*id);
    transaction.setMSpecialTypeT(special_type::kVATBalancing);
    period->setClosingDate(*date);
    // Neither the period nor the special type passes through a command.
    document.bridgeDocument().updateChangeCount();
    return true;
}

arguments::TransactionLinkArguments VATBalancePaymentArguments(BusinessDocument& document, CTrnSItem& transaction)
{
    arguments::TransactionLinkArguments values;
    values.name = transaction.getName();
    const std::optional<long> date = transaction.mDate();
    const std::shared_ptr<GXVATPeriod> period = date ? VATPeriodPaidOn(document, static_cast<DateT>(*date)) : nullptr;
    if (period) {
        values.periodStart = period->startDate();
        values.periodEnd = period->endDate();
    }
    return values;
}

} // namespace ch::business
