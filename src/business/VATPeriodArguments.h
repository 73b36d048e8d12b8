#pragma once
// Argument object of a VAT period: what a period hands out and takes back
// (no command carries it). Without an id "idKey" is written as -1; "name" is
// always written.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class VATPeriodArguments : public CArgumentAncestor {
public:
    std::optional<long> idKey;
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<std::string> type = std::string("VatP");
    std::optional<long> startDate;
    std::optional<long> endDate;
    std::optional<double> amountPaid;
    std::optional<double> amountPaidCancelled;
    std::optional<double> amountReceived;
    std::optional<double> amountReceivedCancelled;
    std::optional<double> amountPrepaid;
    std::optional<double> balanceAmount;
    std::optional<double> paymentAmountNextPeriod;
    std::optional<long> closingTransactionId;
    std::optional<long> closingDate;
    std::optional<std::string> status;

    std::string argumentClass() const override { return "VATPeriodArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
