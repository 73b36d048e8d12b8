#include "business/PaymentDrop.h"

#include "bridge/CTrnSItem.h"
#include "business/BookingLines.h"
#include "business/BusinessOfDocument.h"
#include "business/Payments.h"
#include "document/MyDocument.h"
#include "document/arguments/BooksLinkArguments.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch::business {

std::shared_ptr<CTrnSItem> paymentForDrop(MyDocument& document, bool fromThisDocument, std::string_view key,
                                          bool customerInvoices)
{
    if (!fromThisDocument || key.empty()) return nullptr;
    CNonVisual* object = document.objectWithKey(key);
    if (!object) return nullptr;
    std::shared_ptr<CTrnSItem> payment = document.dataItemController().transactionItemForTrnS(object);
    if (!payment) return nullptr;
    const int wanted = customerInvoices ? transaction_types::kCustomerPayment : transaction_types::kSupplierPayment;
    if (payment->mTransactionType() != wanted) return nullptr;
    return payment;
}

std::optional<std::string> whyPaymentCannotSettle(BusinessOfDocument& business, CTrnSItem& invoice,
                                                  CTrnSItem& payment)
{
    const long reference = payment.mReferenceObjectId().value_or(-1);
    if (reference > 0 && reference == invoice.getId().value_or(-1)) return std::nullopt;
    const std::optional<std::string> number = invoice.mDocumentRef();
    const std::string invoiceName = number && !number->empty() ? *number : invoice.getName();
    if (invoice.isPaid())
        return formatMessage(localized("PAYMENTDROPINVOICEPAID"), {invoiceName, payment.getName()});
    if (!invoiceCarriesVAT(invoice) || payment.mForList().size() == 1) return std::nullopt;
    std::shared_ptr<CTrnSItem> former;
    if (reference > 0) former = business.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(reference));
    if (former) {
        const std::optional<std::string> formerNumber = former->mDocumentRef();
        return formatMessage(localized("PAYMENTDROPSETTLESOTHER"),
                             {payment.getName(), formerNumber && !formerNumber->empty() ? *formerNumber
                                                                                         : former->getName(),
                              invoiceName});
    }
    return formatMessage(localized("PAYMENTDROPSEVERALCATEGORIES"), {payment.getName(), invoiceName});
}

bool linkDroppedPayment(MyDocument& document, CTrnSItem& invoice, CTrnSItem& payment)
{
    if (!dynamic_cast<BusinessOfDocument*>(document.business())) return false;
    std::shared_ptr<CTrnSItem> paymentItem = document.getTransactionForId(payment.getId().value_or(0));
    if (!paymentItem || paymentItem.get() != &payment) return false;
    arguments::TransactionLinkArguments link;
    link.name = payment.getName();
    link.linkedId = invoice.getId().value_or(0);
    link.linkedName = invoice.getName();
    return document.commandExecutor().executeCommand(kLinkPaymentToInvoiceCommand, paymentItem, link) >= 0;
}

bool bookPaymentLink(BusinessOfDocument& business, CTrnSItem& invoice, CTrnSItem& payment)
{
    std::shared_ptr<CTrnSItem> former;
    if (const auto reference = payment.mReferenceObjectId(); reference && *reference > 0)
        former = business.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(*reference));
    for (CTrnSItem* invoiceItem : {&invoice, former.get()}) {
        if (!invoiceItem) continue;
        invoiceItem->setUnaccountedForAmount();
        invoiceItem->setAmountOfDebtNotYetReplenishedByUs();
    }
    return linkPaymentToInvoice(business, invoice, payment) >= 0;
}

} // namespace ch::business
