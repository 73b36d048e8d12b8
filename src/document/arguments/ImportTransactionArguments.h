#pragma once
// Argument object of importing one statement line as a transaction (31),
// filled by the document's import entry from the line's values.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class ImportTransactionArguments : public CArgumentAncestor {
public:
    std::optional<std::string> name;
    std::optional<std::string> transactionDescription;
    std::optional<long> valueDate;       // DateT
    std::optional<double> amount;
    std::optional<long> currencyId;
    std::optional<long> fromAccountId;   // where the money comes from
    std::optional<long> toAccountId;     // where it goes
    std::optional<long> expenseTypeId;   // the category
    bool unbalanced = false;             // the line does not balance
    std::optional<int> transactionType;

    std::string argumentClass() const override { return "ImportTransactionArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
