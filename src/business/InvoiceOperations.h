#pragma once
// The document's invoice and payment operations behind the business
// commands: new and modified customer and supplier invoices (38, 39, 41,
// 42), a payment without invoice (44, 46) and a split payment (45).

#include <optional>

#include "model/foundation/ModelTypes.h"

namespace ch {
class CTrnSItem;
namespace arguments {
class InvoiceArguments;
class PaymentArguments;
} // namespace arguments
} // namespace ch

namespace ch::business {

class BusinessDocument;

// A new invoice transaction (type 4 when receivable, else 5), booked,
// announced ("TRANSACTIONCREATED", then "GXCCustomerInvoiceCreatedNotification"
// for both kinds) and, when asked, paid; its id, or -1 when nothing was booked.
long createInvoiceWithArguments(BusinessDocument& document, const arguments::InvoiceArguments& arguments,
                                bool asReceivable);
// Books the invoice again from the arguments and announces it; when asked,
// a payment of the whole invoice follows while it is not paid. Its id, or
// -1 when it could not be booked.
long modifyInvoiceWithArguments(BusinessDocument& document, CTrnSItem& invoice,
                                const arguments::InvoiceArguments& arguments, bool asReceivable);
// A payment without invoice: a customer payment for the customer owner
// type, else a supplier payment. Its id, or -1.
long createPaymentWithArguments(BusinessDocument& document, const arguments::PaymentArguments& arguments);

} // namespace ch::business
