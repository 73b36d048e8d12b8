#pragma once
// What the transaction item uses of the invoices of the business bookkeeping:
// the invoice that extends an invoice transaction, and linking payments to it.
// The business subsystem implements InvoiceHooks; until a document supplies
// one, NullInvoiceHooks stands in (no transaction is an invoice).

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/foundation/ModelTypes.h"
#include "platform/core/observable.h"

namespace ch {

class CTrnSItem;

// Names of the invoice notifications (object: the invoice).
inline constexpr std::string_view kCustomerInvoiceDeletedNotification = "GXCCustomerInvoiceDeletedNotification";
inline constexpr std::string_view kSupplierInvoiceDeletedNotification = "GXCSupplierInvoiceDeletedNotification";
inline constexpr std::string_view kCustomerInvoiceModifiedNotification = "GXCCustomerInvoiceModifiedNotification";
inline constexpr std::string_view kSupplierInvoiceModifiedNotification = "GXCSupplierInvoiceModifiedNotification";

// The invoice that extends a customer or supplier invoice transaction.
class GXInvoice : public virtual Observable {
public:
    // The ids of the payment transactions linked to the invoice.
    virtual std::vector<long>& paymentTransactionIdArray() = 0;
};

class InvoiceHooks {
public:
    virtual ~InvoiceHooks() = default;

    // The invoice of an invoice transaction (types 4 and 5); none otherwise.
    virtual std::shared_ptr<GXInvoice> invoiceExtension(CTrnSItem& transaction) = 0;
    // Takes the payment off the invoice: its id leaves the invoice, its
    // reference is cleared, the invoice's figures are told.
    virtual void unlinkPayment(CTrnSItem& invoice, CTrnSItem& payment) = 0;
    // Links the payment to the invoice; whether it was linked.
    virtual bool linkPaymentToInvoice(CTrnSItem& invoice, CTrnSItem& payment) = 0;
    virtual std::optional<DateT> dueDate(CTrnSItem& invoice) = 0;
    virtual std::optional<std::string> paymentReference(CTrnSItem& invoice) = 0;
};

// No invoices: nothing is an invoice, nothing links.
class NullInvoiceHooks final : public InvoiceHooks {
public:
    static NullInvoiceHooks& shared();

    std::shared_ptr<GXInvoice> invoiceExtension(CTrnSItem&) override { return nullptr; }
    void unlinkPayment(CTrnSItem&, CTrnSItem&) override {}
    bool linkPaymentToInvoice(CTrnSItem&, CTrnSItem&) override { return false; }
    std::optional<DateT> dueDate(CTrnSItem&) override { return std::nullopt; }
    std::optional<std::string> paymentReference(CTrnSItem&) override { return std::nullopt; }
};

} // namespace ch
