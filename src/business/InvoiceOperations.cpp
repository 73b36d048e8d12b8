#include "business/InvoiceOperations.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CTrnSItem.h"
#include "business/BookingLines.h"
#include "business/BusinessDocument.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceBooking.h"
#include "business/PaymentArguments.h"
#include "business/Payments.h"
#include "document/DocumentNotifications.h"
#include "platform/core/notification_center.h"

namespace ch::business {

namespace {

void payInvoice(BusinessDocument& document, CTrnSItem& invoice, const arguments::InvoiceArguments& arguments,
                bool asReceivable)
{
    PaymentValues values;
    values.date = arguments.paymentDate();
    values.categoryId = arguments.paymentCategoryId;
    createPaymentForInvoice(document, &invoice, values, asReceivable);
}

} // namespace

long createInvoiceWithArguments(BusinessDocument& document, const arguments::InvoiceArguments& arguments,
                                bool asReceivable)
{
    std::shared_ptr<CTrnSItem> invoice = insertTransactionOfType(
        document, asReceivable ? transaction_types::kCustomerInvoice : transaction_types::kSupplierInvoice);
    if (!invoice) return -1;
    if (!bookInvoice(document, *invoice, arguments, asReceivable, homeCurrencyId(document))) {
        document.bridgeDocument().deleteObject(invoice);
        return -1;
    }
    invoice->setNewThisSession(true);
    NotificationCenter& centre = document.bridgeDocument().notificationCenter();
    centre.post(GXCTransactionCreatedNotification, invoice);
    centre.post(GXCCustomerInvoiceCreatedNotification, invoice);
    if (arguments.generatePayment.value_or(false)) payInvoice(document, *invoice, arguments, asReceivable);
    return invoice->getId().value_or(-1);
}

long modifyInvoiceWithArguments(BusinessDocument& document, CTrnSItem& invoice,
                                const arguments::InvoiceArguments& arguments, bool asReceivable)
{
    if (!bookInvoice(document, invoice, arguments, asReceivable, invoiceCurrencyId(document, invoice))) return -1;
    invoice.setModifiedThisSession(true);
    NotificationCenter& centre = document.bridgeDocument().notificationCenter();
    centre.post(GXCTransactionModifiedNotification, invoice.shared_from_this());
    centre.post(asReceivable ? GXCCustomerInvoiceModifiedNotification : GXCSupplierInvoiceModifiedNotification,
                invoice.shared_from_this());
    invoice.setUnaccountedForAmount();
    if (arguments.generatePayment.value_or(false) && !invoice.isPaid() &&
        !isCancelledByCreditNotes(document, invoice))
        payInvoice(document, invoice, arguments, asReceivable);
    return invoice.getId().value_or(-1);
}

long createPaymentWithArguments(BusinessDocument& document, const arguments::PaymentArguments& arguments)
{
    PaymentValues values;
    values.date = arguments.paymentDate;
    values.categoryId = arguments.paymentCategoryId;
    values.name = arguments.paymentName;
    values.documentReference = arguments.paymentReference;
    values.amount = arguments.paymentAmount;
    values.ownerId = arguments.thirdPartyId;
    const bool customer = arguments.paymentOwnerType == std::string(arguments::kOwnerTypeCustomer);
    return createPaymentForInvoice(document, nullptr, values, customer);
}

} // namespace ch::business
