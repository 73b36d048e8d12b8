#pragma once
// The document's VAT periods and VAT balance: the five figures of a date
// range summed over all VAT rates, the layout of the current and previous
// period (a month, a quarter or an accounting year, after the user default
// "VATPeriodicity-0-month-1-quarter-2-year"), and the marking of the VAT
// balancing transaction of a period.
//
// Periods are made with fixed dates and appended to the
// document's period array. When another length is chosen, the periods of
// the former length that hold no closing are dropped; the others stay.

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "business/VATFigures.h"
#include "model/foundation/ModelTypes.h"

namespace ch {
class CTrnSItem;
namespace arguments {
class TransactionLinkArguments;
}
} // namespace ch

namespace ch::business {

class BusinessDocument;
class GXVATPeriod;


// The document's five figures from `from` to `to`, both included: the sums
// of every VAT rate's figures.
VATFigures calculateVATBalanceInPeriod(BusinessDocument& document, DateT from, DateT to);
VATFigures calculateVATBalanceForPeriod(BusinessDocument& document, const GXVATPeriod& period);

// The length of a VAT period the user chose (the user default): a month, a
// quarter or an accounting year. Choosing a length lays out no period: the
// document's initializeVATPeriods does.
enum class VATPeriodicity { Month = 0, Quarter = 1, Year = 2 };
VATPeriodicity currentVATPeriodicity();
void setVATPeriodicity(VATPeriodicity periodicity);

// How many months the period spans, whole months from the 1st to a last
// day; 0 for any other range.
long VATPeriodMonths(const GXVATPeriod& period);
// Whether the period has the length now chosen.
bool isOfChosenLength(const GXVATPeriod& period);
// The name a period without one is shown by: "March 2009",
// "January – March 2009", "July 2008 – June 2009".
std::string VATPeriodName(DateT start, DateT end);

// Makes sure that the current and then the previous period exist, laid out
// by the periodicity, the settings' first month of the accounting year and
// today; drops the periods of another length that hold no closing (no
// balancing transaction or date, status open). The document runs it when it is made, and on the next pass of the
// event loop after it read a business archive with its VAT periods.
void initializeVATPeriods(BusinessDocument& document);
// What a new document's business bookkeeping starts with: five empty arrays
// (no VAT rates, no amortisation schemes), then the current and the previous
// VAT period.
void initializeBusinessObjectsOfNewDocument(BusinessDocument& document);

// The last complete period before today, of the chosen length: the period
// a declaration is made for. None when it was not laid out.
std::shared_ptr<GXVATPeriod> lastCompleteVATPeriod(BusinessDocument& document);

// The range a VAT declaration covers: the chosen period's dates; without a
// period with both dates, the three months up to today. Both 0 when no range
// can be made.
std::pair<DateT, DateT> declarationRange(const GXVATPeriod* chosen, DateT today);

// The first period in the array that contains the date; none otherwise.
std::shared_ptr<GXVATPeriod> VATPeriodAtDate(BusinessDocument& document, DateT date);
bool VATPeriodExistsWithStartDate(BusinessDocument& document, DateT start, DateT end);
// Appends a period with these dates and the next period id, unless one with
// exactly these dates exists; posts "VATPERIODCREATED". The document is not
// marked changed: the period is made again the next time if it is not saved.
void createVATPeriodWithStartDate(BusinessDocument& document, DateT start, DateT end);

// The period a transaction of the date pays the balance of: the period
// before the one that holds the date (of the chosen length when the array
// holds periods of several lengths); none when no period covers that
// earlier date.
std::shared_ptr<GXVATPeriod> VATPeriodPaidOn(BusinessDocument& document, DateT date);

// Makes the transaction the VAT balancing transaction of the period `paid`
// names by its first and last day (made when missing), or without it of
// VATPeriodPaidOn its date: that period's closing transaction and date, and
// the transaction's special type 4 (its lines then no longer count as
// prepaid). Marks the document changed. False, changing nothing, when no
// period is found.
bool tryToSetTransactionAsVATBalancePaymentTransaction(BusinessDocument& document, CTrnSItem& transaction,
                                                       std::optional<std::pair<DateT, DateT>> paid = std::nullopt);
// What marking the transaction sends to the executor (53): its name, and the
// dates of the period VATPeriodPaidOn finds now, so that a replay pays the
// same period.
arguments::TransactionLinkArguments VATBalancePaymentArguments(BusinessDocument& document, CTrnSItem& transaction);

} // namespace ch::business
