#include "business/PaymentDrop.h"

#include "bridge/CTrnSItem.h"
#include "business/BookingLines.h"
#include "business/BusinessOfDocument.h"
#include "business/Payments.h"
#include "document/MyDocument.h"

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

bool linkDroppedPayment(MyDocument& document, CTrnSItem& invoice, CTrnSItem& payment)
{
    auto* business = dynamic_cast<BusinessOfDocument*>(document.business());
    if (!business) return false;
    std::shared_ptr<CTrnSItem> former;
    if (const auto reference = payment.mReferenceObjectId(); reference && *reference > 0)
        former = document.getTransactionForId(static_cast<ObjectIdT>(*reference));
    for (CTrnSItem* invoiceItem : {&invoice, former.get()}) {
        if (!invoiceItem) continue;
        invoiceItem->setUnaccountedForAmount();
        invoiceItem->setAmountOfDebtNotYetReplenishedByUs();
    }
    return linkPaymentToInvoice(*business, invoice, payment) >= 0;
}

} // namespace ch::business
