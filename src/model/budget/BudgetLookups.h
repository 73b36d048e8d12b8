#pragma once
// Look-ups of the objects a budget refers to by id, in the document's lists.
// Each answers null without a document, for an unknown id, or when the id
// names an object of another kind.

#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccount;
class CBudgetHeader;
class CDocAccounting;
class CExpenseType;

CAccount* BudgetAccount(const CDocAccounting* document, ObjectIdT id);
CExpenseType* BudgetCategory(const CDocAccounting* document, ObjectIdT id);
CBudgetHeader* BudgetForId(const CDocAccounting* document, ObjectIdT id);

// An amount below half a cent counts as nothing left to book.
bool IsNegligibleAmount(double amount);

} // namespace ch
