#include "model/CNonvisualExaminator.h"

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"

namespace ch {

namespace {

bool Is(const CNonVisual* object, FourCharCode typeCode)
{
    return object && object->Get_ObjectType() == typeCode;
}

// An account's kind is its type's; an account without a type has none.
const CAccType* AccountKindOf(const CNonVisual* object)
{
    if (Is(object, type::kAccountType)) return static_cast<const CAccType*>(object);
    if (Is(object, type::kAccount)) return static_cast<const CAccount*>(object)->Get_mAccountTypePtr();
    return nullptr;
}

const CNonVisual* FindIn(const CNamedListArray* list, ObjectIdT id)
{
    return list ? list->GetValueForId(id) : nullptr;
}

} // namespace

bool CNonvisualExaminator::isTransaction(const CNonVisual* object)
{
    return Is(object, type::kTransaction);
}

bool CNonvisualExaminator::isAccount(const CNonVisual* object)
{
    return Is(object, type::kAccount);
}

bool CNonvisualExaminator::isAccountType(const CNonVisual* object)
{
    return Is(object, type::kAccountType);
}

bool CNonvisualExaminator::isExpenseType(const CNonVisual* object)
{
    return Is(object, type::kExpenseType);
}

bool CNonvisualExaminator::isMasterExpenseType(const CNonVisual* object)
{
    return Is(object, type::kMasterExpenseType);
}

bool CNonvisualExaminator::isPropertyAccount(const CNonVisual* object)
{
    const CAccType* kind = AccountKindOf(object);
    return kind && kind->thisIsAPropretyAccount();
}

bool CNonvisualExaminator::isDebtAccount(const CNonVisual* object)
{
    const CAccType* kind = AccountKindOf(object);
    return kind && kind->thisIsADebtAccount();
}

bool CNonvisualExaminator::isProfitAndLossAccount(const CNonVisual* object)
{
    const CAccType* kind = AccountKindOf(object);
    return kind && kind->thisIsAProfitAndLossAccount();
}

bool CNonvisualExaminator::isIncome(const CNonVisual* object)
{
    if (Is(object, type::kExpenseType)) return static_cast<const CExpenseType*>(object)->IsIncome(true);
    if (Is(object, type::kMasterExpenseType))
        return static_cast<const CMasterExpenseType*>(object)->IsIncome(true) != 0;
    return false;
}

bool CNonvisualExaminator::isExpense(const CNonVisual* object)
{
    if (Is(object, type::kExpenseType))
        return static_cast<const CExpenseType*>(object)->IsExpense(true) != 0;
    if (Is(object, type::kMasterExpenseType))
        return static_cast<const CMasterExpenseType*>(object)->IsExpense(true) != 0;
    return false;
}

bool CNonvisualExaminator::isTransfer(const CNonVisual* object)
{
    if (Is(object, type::kExpenseType)) return static_cast<const CExpenseType*>(object)->IsTransfer();
    if (Is(object, type::kMasterExpenseType))
        return static_cast<const CMasterExpenseType*>(object)->IsTransfer();
    return false;
}

bool CNonvisualExaminator::isTransferableAccountId(const CDocAccounting* document, ObjectIdT id)
{
    const CNonVisual* account = document ? FindIn(document->mAccountList.get(), id) : nullptr;
    return isAccount(account) && (isPropertyAccount(account) || isDebtAccount(account));
}

bool CNonvisualExaminator::isTransferReasonCodeId(const CDocAccounting* document, ObjectIdT id)
{
    const CNonVisual* category = document ? FindIn(document->mExpenseTypeList.get(), id) : nullptr;
    return isExpenseType(category) && isTransfer(category);
}

bool CNonvisualExaminator::isIncomeReasonCodeId(const CDocAccounting* document, ObjectIdT id)
{
    const CNonVisual* category = document ? FindIn(document->mExpenseTypeList.get(), id) : nullptr;
    return isExpenseType(category) && isIncome(category);
}

bool CNonvisualExaminator::isExpenseReasonCodeId(const CDocAccounting* document, ObjectIdT id)
{
    const CNonVisual* category = document ? FindIn(document->mExpenseTypeList.get(), id) : nullptr;
    return isExpenseType(category) && isExpense(category);
}

} // namespace ch
