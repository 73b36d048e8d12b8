#pragma once
// Argument objects of buying or selling the target share (20, 21) and of
// registering its dividend (22).

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class BuySellSharesParameters : public CArgumentAncestor {
public:
    std::optional<double> price;              // unit price
    std::optional<double> commission;
    std::optional<double> quantity;           // number of shares
    std::optional<double> totalValue;
    std::optional<long> fromAccountId;        // the asset account that pays or receives
    std::optional<long> commissionAccountId;
    std::optional<std::string> description;
    std::optional<bool> updateRateInd;        // also record the price as the share's rate
    std::optional<long> transactionDate;      // DateT
    std::optional<bool> isBuyInd;             // true buy, false sell

    std::string argumentClass() const override { return "BuySellSharesParameters"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

class RegisterDividendParameters : public CArgumentAncestor {
public:
    std::optional<long> transactionDate;   // DateT
    std::optional<double> dividend;
    std::optional<double> tax;             // withheld
    std::optional<long> fromAccountId;     // where the dividend comes from
    std::optional<long> toAccountId;       // where it is paid into
    std::optional<long> forAccountId;      // the dividend's category ("forCategoryId")
    std::optional<long> taxesAccountId;
    std::optional<long> taxesCategoryId;
    std::optional<std::string> description;

    std::string argumentClass() const override { return "RegisterDividendParameters"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
