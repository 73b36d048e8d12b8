#include "business/InvoiceHooksOfDocument.h"

#include "business/GXInvoice.h"
#include "business/InvoiceNumbers.h"
#include "business/Payments.h"

namespace ch::business {

std::shared_ptr<ch::GXInvoice> InvoiceHooksOfDocument::invoiceExtension(CTrnSItem& transaction)
{
    return invoiceForTransaction(mDocument, transaction);
}

void InvoiceHooksOfDocument::unlinkPayment(CTrnSItem& invoice, CTrnSItem& payment)
{
    business::unlinkPayment(mDocument, invoice, payment);
}

bool InvoiceHooksOfDocument::linkPaymentToInvoice(CTrnSItem& invoice, CTrnSItem& payment)
{
    return business::linkPaymentToInvoice(mDocument, invoice, payment) >= 0;
}

std::optional<DateT> InvoiceHooksOfDocument::dueDate(CTrnSItem& invoice)
{
    std::shared_ptr<GXInvoice> extension = invoiceForTransaction(mDocument, invoice);
    if (!extension || !extension->dueDate()) return std::nullopt;
    return static_cast<DateT>(*extension->dueDate());
}

std::optional<std::string> InvoiceHooksOfDocument::paymentReference(CTrnSItem& invoice)
{
    std::shared_ptr<GXInvoice> extension = invoiceForTransaction(mDocument, invoice);
    return extension ? extension->paymentReference() : std::nullopt;
}

} // namespace ch::business
