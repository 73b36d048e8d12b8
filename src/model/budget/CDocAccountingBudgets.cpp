// The model root's budget operations: look-up and making of budgets.

#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/budget/BudgetLookups.h"
#include "model/budget/CBudgetHeader.h"

namespace ch {

CBudgetHeader* CDocAccounting::GetBudgetForId(ObjectIdT id) const
{
    return BudgetForId(this, id);
}

CBudgetHeader* CDocAccounting::MakeNewBudget(BudgetBaseT base, DateT baseMonth,
                                             BudgetPeriodT period, long nrOfYears, long nrOfMonths,
                                             ObjectIdT baseBudgetId, const char* comment,
                                             const char* name)
{
    auto* budget = new CBudgetHeader(-1, this);
    budget->Initialize(base, baseMonth, period, nrOfYears, nrOfMonths, GetBudgetForId(baseBudgetId));
    budget->Put_mComment(comment);
    budget->Put_Name(name);
    mBudgetList->AppendObject(budget);
    return budget;
}

} // namespace ch
