#pragma once
// The key that names one budget line in the journal. A line's own id is the
// id of the account or category it budgets, the same in every budget, so the
// key holds its budget's id and the kind of object too: "BuDd7:ExpT3".
// A cross-reference has no id of its own that outlives a reading of the
// file, so its key names its budget, its account, its category and its
// month: "BuDx7:3:12:4".

#include <optional>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CBuDdItem;
class CBuDxItem;

struct BudgetLineRef {
    ObjectIdT budgetId = 0;
    FourCharCode budgetedType = 0;
    ObjectIdT budgetedId = 0;
};

struct BudgetXRefRef {
    ObjectIdT budgetId = 0;
    ObjectIdT accountId = 0;
    ObjectIdT categoryId = 0;
    int month = 0;
};

// Empty for a line that is detached.
std::string budgetLineKey(const CBuDdItem& line);
// None for a key of another form.
std::optional<BudgetLineRef> parseBudgetLineKey(std::string_view key);

// Empty for a cross-reference that is detached.
std::string budgetXRefKey(const CBuDxItem& xref);
// None for a key of another form.
std::optional<BudgetXRefRef> parseBudgetXRefKey(std::string_view key);

} // namespace ch
