#include "model/CMasterExpenseTypeArray.h"

namespace ch {

CMasterExpenseTypeArray::CMasterExpenseTypeArray(LComparator* comparator, bool keepSorted)
    : CSubListArray(comparator, keepSorted, kSubListCount)
{
}

std::size_t CMasterExpenseTypeArray::ListOf(MasterExpenseTypeT kind)
{
    switch (kind) {
    case group_kind::kIncome:
    case group_kind::kOpeningBalance:
    case group_kind::kCorrection:
        return kIncomeLike;
    case group_kind::kExpense:
        return kExpense;
    case group_kind::kTransfer:
        return kTransfer;
    default:
        return kSubListCount;
    }
}

ArrayIndexT CMasterExpenseTypeArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                                   const void* item, std::uint32_t size)
{
    ArrayIndexT result = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    CNonVisual* object = ObjectFromItem(item);
    // A refused group lives in no list at all.
    auto* group = dynamic_cast<CMasterExpenseType*>(object);
    if (result <= 0 || !group) return result;
    std::size_t list = ListOf(group->Get_mMasterExpenseType());
    if (list != kSubListCount && group->IsRootItem()) FileInto(list, count, atIndex, item, size);
    return result;
}

void CMasterExpenseTypeArray::SwitchList(CMasterExpenseType* group, MasterExpenseTypeT newKind,
                                         MasterExpenseTypeT oldKind)
{
    if (!group || newKind == oldKind) return;
    RemoveFromSubList(group, newKind, oldKind);
    std::size_t list = ListOf(newKind);
    if (list != kSubListCount && InFullList(group) && group->IsRootItem()) JoinBeforeLast(list, group);
}

void CMasterExpenseTypeArray::RemoveFromSubList(CMasterExpenseType* group, MasterExpenseTypeT,
                                                MasterExpenseTypeT kind)
{
    std::size_t list = ListOf(kind);
    if (group && list != kSubListCount) Leave(list, group);
}

} // namespace ch
