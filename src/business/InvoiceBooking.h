#pragma once
// Invoices as transactions: booking an invoice from its arguments, reading
// one back into net amount, VAT amounts and rates, reversing one in place,
// and its credit note.
//
// A customer invoice moves the net amount from the customer's turnover
// account and each VAT amount from its rate's received account to the
// customer's open-invoice account; a supplier invoice moves the total from
// the supplier's open-invoice account to its turnover account and the VAT
// to each rate's paid account. Each rate applies to the full net amount;
// each VAT amount is rounded to the cent as it is booked.

#include <memory>
#include <optional>

#include "model/foundation/ModelTypes.h"

namespace ch {
class CTrnSItem;
namespace arguments {
class InvoiceArguments;
}
} // namespace ch

namespace ch::business {

class BusinessDocument;
class GXVATRate;

// The places of the currency's cents: 2, or 0 for a currency kept in whole
// units; the home currency's when the id names no currency.
int currencyDecimals(BusinessDocument& document, long currencyId);
int homeCurrencyDecimals(BusinessDocument& document);
// The VAT of an invoice line at the rate (0 without one): the rate's amount
// of the net amount rounded to the cents of the invoice's currency (the
// home currency when none is given), half away from zero. Each line is
// booked so, so that the invoice, its open-invoice account, the VAT listings
// and the declaration add up to the same cents.
double invoiceVATAmount(BusinessDocument& document, const GXVATRate* rate, double net,
                        std::optional<long> currencyId = std::nullopt);

// The currency an invoice is booked in: that of its category lines (else of
// its open-invoice line), so that after a change of home currency it is
// still read and booked at the amounts it was invoiced for; the home
// currency for an item with no such line or a currency the books do not
// hold.
long invoiceCurrencyId(BusinessDocument& document, CTrnSItem& invoice);

// Books the item as a customer (asReceivable) or supplier invoice in the
// currency, with its extension; false (nothing booked) when the owner does
// not exist. Lines given the account, currency and amount they have keep the
// home amounts they were booked at; while the category lines and the total
// stay as booked, so does every line on the same account, one a rate has
// moved into its account's currency included.
bool bookInvoice(BusinessDocument& document, CTrnSItem& invoice, const arguments::InvoiceArguments& arguments,
                 bool asReceivable, long currencyId);

struct InvoiceReading {
    // -1 for a transaction that is no invoice, else 1.
    int answer = -1;
    std::optional<double> amountWithoutVAT;
    std::shared_ptr<GXVATRate> firstRate;
    std::shared_ptr<GXVATRate> secondRate;
    double firstVATAmount = 0.0;
    double secondVATAmount = 0.0;
};
// The invoice's lines on its turnover side told apart by their accounts:
// those on a rate's VAT account are its VAT lines in the order booked, the
// one on no such account the net amount. Lines that do not tell so (two off
// the VAT accounts, or more than two on them) are ranked by amount: the
// largest is the net amount, the next two are the VAT lines. Amounts are in
// the invoice's own currency, as it was invoiced.
InvoiceReading readInvoice(BusinessDocument& document, CTrnSItem& invoice);

// Reverses the transaction in place: named after the cancelled number,
// dated today, from and to lines swapped, category amounts negated. False
// when a step was refused.
bool invert(CTrnSItem& transaction);

// What the invoice's credit notes cancel of it: the sum of the totals of the
// invoices of its kind that refer to it.
double amountCancelledByCreditNotes(BusinessDocument& document, CTrnSItem& invoice);
// Whether its credit notes cancel the whole invoice (to the half cent): it is
// owed no more, so no payment is registered on it.
bool isCancelledByCreditNotes(BusinessDocument& document, CTrnSItem& invoice);

// Books the credit note of the invoice: an inverted copy with a new number
// and structured reference, referring to the invoice, each line at the
// amount and home amount the invoice booked. Its id; none (and no
// copy left behind) when the copy could not be reversed or booked, and none
// for an invoice its credit notes already cancel.
std::optional<ObjectIdT> makeCreditNoteForInvoice(BusinessDocument& document, CTrnSItem& invoice);

} // namespace ch::business
