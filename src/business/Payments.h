#pragma once
// Payments and their links to invoices. A customer payment moves money from
// the customer's open-invoice account to the document's own-property
// account; a supplier payment from the own-property account to the
// supplier's open-invoice account. A payment is linked to an invoice by its
// reference id and by its id in the invoice extension's payment list;
// linking rebooks its category lines so that the share of the VAT invoiced
// on a customer invoice is released.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"
#include "platform/core/value.h"

namespace ch {
class CAcoWItem;
class CTrnSItem;
namespace arguments {
class SplitPaymentArguments;
}
} // namespace ch

namespace ch::business {

class BusinessDocument;

// What a payment is booked with; anything absent is taken from the invoice.
struct PaymentValues {
    std::optional<long> date;
    std::optional<long> categoryId;
    std::optional<std::string> name;
    std::optional<std::string> documentReference;
    std::optional<double> amount;
    std::optional<long> ownerId;
};

// A new payment (customer when receivable, else supplier), booked for the
// invoice (or none) and linked to it; its id, or -1 when no owner was found
// (nothing is left behind).
long createPaymentForInvoice(BusinessDocument& document, CTrnSItem* invoice, const PaymentValues& values,
                             bool asReceivable);

// Books the item as a payment of the owner, for the invoice when given.
bool bookPaymentFromOwner(BusinessDocument& document, CTrnSItem& payment, CAcoWItem& owner, CTrnSItem* invoice,
                          const PaymentValues& values, bool asReceivable);

// 1 linked, 0 linked with nothing to rebook (the invoice has no VAT), -1
// when the payment's categories cannot be rebooked (then nothing changes).
// A payment that was linked to another invoice leaves that invoice's
// payment list first.
int linkPaymentToInvoice(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment);
// What is still open on the invoice for this payment: its amount less every
// other payment and credit note that refers to it; never below 0.
double openAmountBeforePayment(BusinessDocument& document, CTrnSItem& invoice, const CTrnSItem& payment);
// Whether the invoice's total holds VAT beside its main line.
bool invoiceCarriesVAT(CTrnSItem& invoice);
// The notice for a payment larger than what is open on the invoice it is
// linked to: how much the invoice takes and how much stays beyond; none
// when the payment fits.
std::optional<std::string> overpaymentNotice(BusinessDocument& document, CTrnSItem& invoice, const CTrnSItem& payment);
// Rebooks the linked payment's category lines on its own category: the share
// of the invoice it settles (at most what is open) with that share of the
// invoice's VAT released, and what it pays beyond on the own category.
void rebookLinkedPayment(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment, long categoryId);
// The category lines of a payment of the invoice on the category, for the
// share `factor` of the invoice; none for a supplier invoice.
Array paymentCategoryBookings(BusinessDocument& document, CTrnSItem& invoice, long categoryId, double factor);
// Takes the payment off the invoice; 1.
int unlinkPayment(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment);
// Unlinks the payment from the invoice it refers to; false when it refers
// to none or the invoice does not exist.
bool unlinkThisPaymentFromInvoice(BusinessDocument& document, CTrnSItem& payment);

// Splits off the leftover of the payment as a new unlinked payment; the
// payment keeps the split amount and its link. The new payment's id; -1
// when the original amount is 0 or absent.
long splitPayment(BusinessDocument& document, CTrnSItem& payment, const arguments::SplitPaymentArguments& arguments);

// The invoices whose payment reference or number the payment names.
std::vector<std::shared_ptr<CTrnSItem>> searchInvoiceForPayment(BusinessDocument& document, CTrnSItem& payment);

} // namespace ch::business
