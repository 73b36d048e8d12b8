#pragma once
// Argument objects of the payment commands: a payment without invoice (44
// for customers, 46 for suppliers; the owner type decides which) and the
// split of a payment (45). The owner id and the amount of a payment are
// always written (stand-ins -1 and 0); everything else only when set.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// The owner types of the payment and split sheets.
inline constexpr char kOwnerTypeCustomer[] = "OWNERTYPECUSTOMER";
inline constexpr char kOwnerTypeSupplier[] = "OWNERTYPESUPPLIER";

class PaymentArguments : public CArgumentAncestor {
public:
    std::optional<std::string> paymentName;
    std::optional<long> thirdPartyId;
    std::optional<std::string> paymentReference;
    std::optional<double> paymentAmount;
    std::optional<long> paymentCategoryId;
    // None: the payment is dated today.
    std::optional<long> paymentDate;
    std::optional<std::string> paymentOwnerType;

    std::string argumentClass() const override { return "PaymentArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

class SplitPaymentArguments : public CArgumentAncestor {
public:
    std::optional<std::string> paymentName;
    std::optional<double> originalAmount;
    std::optional<double> splitAmount;
    std::optional<double> leftOverAmount;
    std::optional<std::string> ownerType;

    std::string argumentClass() const override { return "SplitPaymentArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
