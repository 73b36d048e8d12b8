#pragma once
// The QIF text of an export: one register per account ("!Account" naming it,
// then "!Type:Bank"), each transaction a record of its date (month/day/year),
// amount (signed as the money goes for that account, with a decimal point),
// payee (the transaction's name), memo (its description) and category, or
// "[Account]" when the other side is an own or debt account, ended by "^".
// Lines end in CR LF. A file this writes reads back through the QIF import
// to the same lines and sums.

#include <map>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccount;
class CTrnSItem;

class QifExport {
public:
    // Adds the transaction's record to the register of each own or debt
    // account it moves money on (only the given account's, when one is
    // given); a transaction between two other accounts goes into the register
    // of the account it comes from.
    void add(const CTrnSItem& transaction, const CAccount* only = nullptr);
    // The registers in the order their accounts first showed.
    std::string text() const;

private:
    struct Register {
        std::string header;
        std::string records;
    };
    Register& registerOf(const CAccount& account);

    std::vector<Register> mRegisters;
    std::map<ObjectIdT, std::size_t> mRegisterOfAccount;
};

} // namespace ch
