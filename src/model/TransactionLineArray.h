#pragma once
// The line array that the import of a statement and the update of an
// imported transaction hand to a transaction: an LVariableArray whose items
// come in groups of three, one group per booking line, in this order: the
// account (or, for category lines, the category) id as a 32-bit integer, the
// currency id as a 32-bit integer (0 for the transaction's currency) and the
// amount in that currency as a double. The item count is three times the
// number of lines; an incomplete last group is no line.
//
// TransactionLineArray builds such an array from typed lines; LineCountOf and
// FetchLineAt read the lines of any array.

#include <cstdint>
#include <initializer_list>

#include "model/foundation/LVariableArray.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

struct TransactionLineItem {
    ObjectIdT accountId = 0;
    ObjectIdT currencyId = 0;
    double amount = 0.0;
};

class TransactionLineArray : public LVariableArray {
public:
    TransactionLineArray() = default;
    TransactionLineArray(std::initializer_list<TransactionLineItem> lines);

    // Appends the line's three items.
    void AddLine(const TransactionLineItem& line);
};

// The number of complete groups; 0 for no array.
std::uint32_t LineCountOf(const LVariableArray* array);

// The k-th group (from 1). False when there is no complete k-th group, or
// when its items are not the sizes of a line's (4, 4 and 8 bytes): such a
// group is read as no line rather than as bytes of something else.
bool FetchLineAt(const LVariableArray& array, std::uint32_t k, TransactionLineItem& outLine);

} // namespace ch
