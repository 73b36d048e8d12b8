#pragma once
// The invoices of one document as its transaction items see them: the
// extension of an invoice transaction, its due date and payment reference,
// and linking and unlinking payments.

#include "bridge/InvoiceHooks.h"

namespace ch::business {

class BusinessDocument;

class InvoiceHooksOfDocument final : public ch::InvoiceHooks {
public:
    explicit InvoiceHooksOfDocument(BusinessDocument& document) : mDocument(document) {}

    std::shared_ptr<ch::GXInvoice> invoiceExtension(CTrnSItem& transaction) override;
    void unlinkPayment(CTrnSItem& invoice, CTrnSItem& payment) override;
    // Linked unless the payment's categories could not be rebooked.
    bool linkPaymentToInvoice(CTrnSItem& invoice, CTrnSItem& payment) override;
    std::optional<DateT> dueDate(CTrnSItem& invoice) override;
    std::optional<std::string> paymentReference(CTrnSItem& invoice) override;

private:
    BusinessDocument& mDocument;
};

} // namespace ch::business
