#pragma once
// Argument object of importing one statement line as a transaction (31),
// filled by the document's import entry from the line's values.

#include <optional>
#include <string>
#include <vector>

#include "document/arguments/CArgumentAncestor.h"
#include "model/TransactionLineArray.h"

namespace ch::arguments {

// One booking line of an imported transaction with split lines: the
// account (or, on the category side, the category), its currency (0 for the
// transaction's) and its amount.
struct ImportedLine {
    long objectId = 0;
    long currencyId = 0;
    double amount = 0.0;
    bool operator==(const ImportedLine&) const = default;
};

// The lines as the model's import takes them.
inline TransactionLineArray lineArrayOf(const std::vector<ImportedLine>& lines)
{
    TransactionLineArray array;
    for (const ImportedLine& line : lines)
        array.AddLine({static_cast<ObjectIdT>(line.objectId), static_cast<ObjectIdT>(line.currencyId), line.amount});
    return array;
}

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
    // A split statement line's lines on each side; empty for a line of one
    // from, one to and one category (the ids above).
    std::vector<ImportedLine> debitLines;
    std::vector<ImportedLine> creditLines;
    std::vector<ImportedLine> categoryLines;

    std::string argumentClass() const override { return "ImportTransactionArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
