#include "model/budget/BudgetLookups.h"

#include <cmath>

#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/budget/CBudgetHeader.h"

namespace ch {

namespace {

CNonVisual* Find(const CNamedListArray* list, ObjectIdT id, FourCharCode typeCode)
{
    CNonVisual* object = list ? list->GetValueForId(id) : nullptr;
    return object && object->Get_ObjectType() == typeCode ? object : nullptr;
}

} // namespace

CAccount* BudgetAccount(const CDocAccounting* document, ObjectIdT id)
{
    if (!document) return nullptr;
    return static_cast<CAccount*>(Find(document->mAccountList.get(), id, type::kAccount));
}

CExpenseType* BudgetCategory(const CDocAccounting* document, ObjectIdT id)
{
    if (!document) return nullptr;
    return static_cast<CExpenseType*>(Find(document->mExpenseTypeList.get(), id, type::kExpenseType));
}

CBudgetHeader* BudgetForId(const CDocAccounting* document, ObjectIdT id)
{
    if (!document) return nullptr;
    return static_cast<CBudgetHeader*>(Find(document->mBudgetList.get(), id, type::kBudgetHeader));
}

bool IsNegligibleAmount(double amount)
{
    return std::fabs(amount) < 0.005;
}

} // namespace ch
