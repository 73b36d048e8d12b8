#pragma once
// Invoice numbers, due dates and structured payment references, and the
// document's invoice extensions found and made by transaction.
//
// Numbers are decimal texts stored as the invoice transaction's document
// reference. With the user default "ContiniousInvoiceNumbers" they run on
// over all customer invoices; otherwise each accounting year has its own
// ten-digit series: the four-digit year number and a six-digit counter.
//
// A structured reference is the Belgian structured communication: the
// number followed by its check digits (number mod 97, 97 for 0), padded to
// twelve digits and written "+++ddd/dddd/ddddd+++".

#include <memory>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {
class CTrnSItem;
}

namespace ch::business {

class BusinessDocument;
class GXInvoice;

inline constexpr char kContinuousInvoiceNumbersKey[] = "ContiniousInvoiceNumbers";
inline constexpr char kPaymentPeriodKey[] = "PaymentPeriod";
inline constexpr char kPaymentPeriodStartsAtMonthEndKey[] = "PaymentPeriodStartsAtMonthEnd";
inline constexpr char kPaymentPeriodExpressedInMonthsKey[] = "PaymentPeriodExpressedInMonths";

// The next invoice number for an invoice of the date.
std::string calculateInvoiceNumberForDate(BusinessDocument& document, DateT date);
// Over the customer invoices: the largest leading integer of their numbers
// plus one; "1" when none has one.
std::string getMaximumInvoiceNumber(BusinessDocument& document);
// The next number of the accounting year that holds the date. Only numbers
// of the year's own series (ten digits beginning with its year number)
// count, so a hand-typed number of another form never makes the proposal
// repeat an existing number; they count whatever the invoice's date, so a
// number is never proposed twice across a year boundary.
std::string getMaximumInvoiceNumberForYear(BusinessDocument& document, DateT date);
// The year number of the accounting year that holds the date: the calendar
// year of its first day, plus one when the year starts in July or later.
long accountingYearNumber(BusinessDocument& document, DateT date, DateT* first = nullptr,
                          DateT* last = nullptr);

// The due date of an invoice of the date, from the payment-period defaults.
DateT calculateDueDate(DateT invoiceDate);

// The structured reference of the number; empty when the text is not a
// number of one to ten digits (a longer one would give an invalid reference).
std::string structuredReferenceForNumber(std::string_view number);
// The text without "/", "+", "-", "." and blanks.
std::string cleanStructuredReference(std::string_view reference);

// The extension of an invoice transaction (type 4 in the customer array,
// type 5 in the supplier array); null for other types or when none exists.
std::shared_ptr<GXInvoice> invoiceForTransaction(BusinessDocument& document, CTrnSItem& transaction);
// The existing extension, or a new one at the front of its array (the
// document is marked changed).
std::shared_ptr<GXInvoice> makeInvoiceExtensionForTransaction(BusinessDocument& document, CTrnSItem& transaction);
// Drops customer extensions whose transaction is gone or that repeat an
// earlier extension's transaction.
void removeDuplicateInvoices(BusinessDocument& document);

} // namespace ch::business
