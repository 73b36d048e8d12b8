#pragma once
// Argument object of new transaction (23), modify transaction (24) and new
// recurring transaction (25): the transaction dictionary, the form in which a
// transaction travels (made and read by the transaction item). Read back from
// the journal, its scalars are texts, which the transaction item accepts.

#include <optional>
#include <string>
#include <string_view>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class CTransactionArguments : public CArgumentAncestor {
public:
    std::optional<Dictionary> mTransactionDictionary;

    std::string argumentClass() const override { return "CTransactionArguments"; }
    // False, without a log line and keeping the dictionary, when the text
    // does not parse or holds no "TransactionDetails" dictionary.
    bool recoverFromString(std::string_view text) override;
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
