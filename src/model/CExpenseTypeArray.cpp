#include "model/CExpenseTypeArray.h"

#include "model/CExpenseType.h"
#include "model/ModelComparators.h"

namespace ch {

CExpenseTypeArray::CExpenseTypeArray(LComparator* comparator, bool keepSorted)
    : CSubListArray(comparator, keepSorted, kSubListCount, new LNamedlistArrayComparator)
{
}

ArrayIndexT CExpenseTypeArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                             const void* item, std::uint32_t size)
{
    ArrayIndexT result = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    CNonVisual* object = ObjectFromItem(item);
    // A refused category lives in no list at all.
    auto* category = dynamic_cast<CExpenseType*>(object);
    if (result <= 0 || !category) return result;
    // A category without a group is in the full list only; the answer still
    // says where, since callers take a non-positive answer for a refusal.
    if (category->Get_mMasterExpensetypePtr()) File(category, count, atIndex, item, size);
    return result;
}

void CExpenseTypeArray::File(CExpenseType* category, std::uint32_t count, ArrayIndexT atIndex,
                             const void* item, std::uint32_t size)
{
    const bool expense = category->IsExpense(false) != 0;
    const bool income = category->IsIncome(false);
    const bool neverNegative = !category->CanBeNegative();
    if (expense) {
        FileInto(kExpense, count, atIndex, item, size);
        if (neverNegative) FileInto(kExpenseNeverNegative, count, atIndex, item, size);
    }
    if (income) {
        FileInto(kIncome, count, atIndex, item, size);
        if (neverNegative) FileInto(kIncomeNeverNegative, count, atIndex, item, size);
    }
    if (expense || income) FileInto(kIncomeOrExpense, count, atIndex, item, size);
    if (category->IsTransfer()) FileInto(kTransfers, count, atIndex, item, size);
}

void CExpenseTypeArray::SwitchList(CExpenseType* category, bool wasExpense, bool wasIncome)
{
    // Only a category of this list is filed in its sub-lists.
    if (!category || !InFullList(category)) return;
    const bool expense = category->IsExpense(false) != 0;
    const bool income = category->IsIncome(false);
    const bool neverNegative = !category->CanBeNegative();

    if (expense && !wasExpense) {
        Leave(kIncome, category);
        JoinBeforeLast(kExpense, category);
        if (neverNegative) {
            Leave(kIncomeNeverNegative, category);
            JoinBeforeLast(kExpenseNeverNegative, category);
        }
    } else if (income && !wasIncome) {
        Leave(kExpense, category);
        JoinBeforeLast(kIncome, category);
        if (neverNegative) {
            Leave(kExpenseNeverNegative, category);
            JoinBeforeLast(kIncomeNeverNegative, category);
        }
    }
    const bool now = expense || income;
    const bool before = wasExpense || wasIncome;
    if (!now && before) Leave(kIncomeOrExpense, category);
    if (now && !before) JoinBeforeLast(kIncomeOrExpense, category);
    if (category->IsTransfer())
        JoinBeforeLast(kTransfers, category);
    else
        Leave(kTransfers, category);
}

void CExpenseTypeArray::RemoveFromSubList(CExpenseType* category, CNamedListArray* subList)
{
    if (category && subList) subList->RemoveObject(category);
}

void CExpenseTypeArray::Refile(CExpenseType* category)
{
    if (!category || !InFullList(category)) return;
    for (std::size_t list = 0; list < kSubListCount; ++list) Leave(list, category);
    if (!category->Get_mMasterExpensetypePtr()) return;
    CNonVisual* object = category;
    File(category, 1, kLastIndex, &object, sizeof object);
}

} // namespace ch
