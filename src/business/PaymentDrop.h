#pragma once
// A payment dropped onto an invoice of the owners page. The dragged data
// names the payment by its object key, which holds no document, so the drag
// also names the document it came from: a key of another document would
// name an unrelated transaction of this one. Only a payment of this
// document whose type matches the invoice table (customer payments onto
// customer invoices, supplier payments onto supplier invoices) is linked.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ch {
class CTrnSItem;
class MyDocument;
} // namespace ch

namespace ch::business {

// The payment the drop names when it may be linked to an invoice of the
// kind (customer or supplier); none otherwise.
std::shared_ptr<CTrnSItem> paymentForDrop(MyDocument& document, bool fromThisDocument, std::string_view key,
                                          bool customerInvoices);

class BusinessOfDocument;
// Why the payment dropped on the invoice is not linked to it, for the
// person: the invoice is paid already, or the payment's categories already
// carry another invoice's VAT (or are several), so that its share of this
// invoice's VAT cannot be worked out; none when it may be linked.
std::optional<std::string> whyPaymentCannotSettle(BusinessOfDocument& business, CTrnSItem& invoice,
                                                  CTrnSItem& payment);

// Links the payment to the invoice through the document's command 52, so
// that the link is journaled. Whether the payment was linked.
bool linkDroppedPayment(MyDocument& document, CTrnSItem& invoice, CTrnSItem& payment);

class BusinessOfDocument;
// What command 52 does: the payment's reference becomes the invoice, the
// cached open amounts of the invoice and of the invoice the payment referred
// to before are recalculated on next use. Whether the payment was linked.
bool bookPaymentLink(BusinessOfDocument& business, CTrnSItem& invoice, CTrnSItem& payment);

} // namespace ch::business
