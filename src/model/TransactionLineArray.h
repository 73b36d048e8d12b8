#pragma once
// The booking lines that the import of a statement and the update of an
// imported transaction hand to a transaction: one entry per line, with the
// account (or, for category lines, the category), the currency (0 for the
// transaction's currency) and the amount in that currency.

#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

struct TransactionLineItem {
    ObjectIdT accountId = 0;
    ObjectIdT currencyId = 0;
    double amount = 0.0;
};

using TransactionLineArray = std::vector<TransactionLineItem>;

} // namespace ch
