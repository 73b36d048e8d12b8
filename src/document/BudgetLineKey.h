#pragma once
// The key that names one budget line in the journal. A line's own id is the
// id of the account or category it budgets, the same in every budget, so the
// key holds its budget's id and the kind of object too: "BuDd7:ExpT3".

#include <optional>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CBuDdItem;

struct BudgetLineRef {
    ObjectIdT budgetId = 0;
    FourCharCode budgetedType = 0;
    ObjectIdT budgetedId = 0;
};

// Empty for a line that is detached.
std::string budgetLineKey(const CBuDdItem& line);
// None for a key of another form.
std::optional<BudgetLineRef> parseBudgetLineKey(std::string_view key);

} // namespace ch
