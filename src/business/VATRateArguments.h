#pragma once
// Argument object of the VAT-rate commands: new VAT rate (33) and modify VAT
// rate (34). Its dictionary keys differ from those of the rate's own
// dictionary form ("accountIdPaidVAT" here, "AccountIdPaid" there); the
// journal depends on both.
//
// Without an id "idKey" is written as -1, which gives a new rate the next id
// when the command is replayed; "name" is always written.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class VATRateArguments : public CArgumentAncestor {
public:
    std::optional<long> idKey;
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<std::string> type = std::string("VatR");
    std::optional<double> rate = 0.0;
    std::optional<double> fiscalPCT = 100.0;
    std::optional<long> accountIdPaid;
    std::optional<long> accountIdReceived;
    std::optional<long> accountIdReconciled;
    // Make the paid and received accounts instead of taking the ids above.
    std::optional<bool> createAccounts = true;
    std::optional<bool> createAccountReconciled = false;
    std::optional<bool> createCategoryInvoicedNotReceived = true;
    std::optional<long> categoryInvoicedNotReceivedId;
    std::optional<std::string> keyPaid;
    std::optional<std::string> keyPaidCancelled;
    std::optional<std::string> keyReceived;
    std::optional<std::string> keyReceivedCancelled;

    std::string argumentClass() const override { return "VATRateArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
