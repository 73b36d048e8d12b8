#pragma once
// Argument object of the invoice commands: new customer invoice (38), modify
// customer invoice (39), new supplier invoice (41), modify supplier invoice
// (42). The owner id, invoice number, invoice date and net amount are always
// written (stand-ins -1, "", 0 and 0 when unset); the rest only when set.
// A VAT rate id of -1 means no rate.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class InvoiceArguments : public CArgumentAncestor {
public:
    std::optional<std::string> invoiceName;
    // The customer or supplier.
    std::optional<long> thirdPartyId;
    std::optional<std::string> invoiceNumber;
    std::optional<std::string> invoiceDescription;
    std::optional<std::string> paymentReference;
    std::optional<long> invoiceDate;
    std::optional<long> dueDate;
    std::optional<double> amountWithoutVAT;
    std::optional<long> firstVATRateId;
    std::optional<long> secondVATRateId;
    // Book a payment of the invoice as well.
    std::optional<bool> generatePayment;
    std::optional<long> paymentCategoryId;

    // The invoice date when no payment date was set.
    std::optional<long> paymentDate() const { return mPaymentDate ? mPaymentDate : invoiceDate; }
    void setPaymentDate(std::optional<long> date) { mPaymentDate = date; }

    std::string argumentClass() const override { return "InvoiceArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;

private:
    std::optional<long> mPaymentDate;
};

} // namespace ch::arguments
