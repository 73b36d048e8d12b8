#pragma once
// Argument objects of the account-type and account commands. Each is the
// bridge's record of the same name (what the items apply) plus the ids the
// command needs besides, so it goes to the item as it is.

#include <optional>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// Modify account type (10) and new account type (11). The record's
// theMasterType is the system type, theAccountTypeId the parent type.
class AccountTypeArguments : public CArgumentAncestor, public ch::AccountTypeArguments {
public:
    std::optional<long> accountTypeId;   // the account type's own id

    std::string argumentClass() const override { return "AccountTypeArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Modify account (12) and new account (13). Without an id (a new account)
// "idKey" is written as -1.
class AccountArguments : public CArgumentAncestor, public ch::AccountArguments {
public:
    std::optional<long> idKey;
    std::optional<long> accountTypeId;

    AccountArguments() = default;
    // Every field but the special type and subtype, which stay absent.
    AccountArguments(std::optional<long> idKey, std::optional<std::string> name,
                     std::optional<std::string> description, std::optional<long> accountTypeId,
                     std::optional<long> currencyId, std::optional<std::string> accountingNumber,
                     std::optional<long> ownerId, std::optional<long> defaultCategory,
                     std::optional<std::string> bankAccountNumber, std::optional<double> allowableExpenses,
                     std::optional<double> newBalance);

    std::string argumentClass() const override { return "AccountArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
