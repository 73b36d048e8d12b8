#pragma once
// The document's operations of the business commands, run by the business
// bookkeeping: VAT rates (33, 34, 37), invoices (38, 39, 41, 42) and
// payments (44 to 46). The executor has checked the target's type and the
// argument class. An invoice or payment command that booked nothing answers
// -1 and leaves the books unchanged.

#include "document/DocumentOperations.h"

namespace ch::business {

class BusinessOfDocument;

class BusinessOperationsOfDocument final : public BusinessOperations {
public:
    explicit BusinessOperationsOfDocument(BusinessOfDocument& business) : mBusiness(business) {}

    CommandOutcome createVATRate(const CArgumentAncestor& args) override;
    // A rate that is not one of the document's changes nothing (-1).
    CommandOutcome updateVATRate(ch::GXNonVisual& rate, const CArgumentAncestor& args) override;
    // -1; the books changed when the rate left the document.
    CommandOutcome performDeleteVATRate(ch::GXNonVisual& rate, bool withAsking) override;
    CommandOutcome createCustomerInvoice(const CArgumentAncestor& args) override;
    CommandOutcome modifyCustomerInvoice(CTrnSItem& invoice, const CArgumentAncestor& args) override;
    CommandOutcome createSupplierInvoice(const CArgumentAncestor& args) override;
    CommandOutcome modifySupplierInvoice(CTrnSItem& invoice, const CArgumentAncestor& args) override;
    CommandOutcome createCustomerPayment(const CArgumentAncestor& args) override;
    CommandOutcome splitPayment(CTrnSItem& payment, const CArgumentAncestor& args) override;
    bool namesOnlyExistingObjects(int command, const CArgumentAncestor& args) override;
    CommandOutcome linkPaymentToInvoice(CTrnSItem& payment, CTrnSItem& invoice) override;
    CommandOutcome setVATBalancePayment(CTrnSItem& transaction,
                                        const arguments::TransactionLinkArguments* values) override;
    CommandOutcome unlinkPayment(CTrnSItem& payment) override;
    CommandOutcome unlinkPaymentsOfInvoice(CTrnSItem& invoice) override;
    CommandOutcome makeCreditNote(CTrnSItem& invoice) override;

private:
    // Runs the command; the books changed when it answered an id.
    CommandOutcome booked(int number, CTrnSItem* target, const CArgumentAncestor& args);

    BusinessOfDocument& mBusiness;
};

} // namespace ch::business
