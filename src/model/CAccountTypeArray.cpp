#include "model/CAccountTypeArray.h"

#include "model/CAccType.h"

namespace ch {

CAccountTypeArray::CAccountTypeArray(LComparator* comparator, bool keepSorted)
    : CSubListArray(comparator, keepSorted, kSubListCount)
{
}

std::size_t CAccountTypeArray::TopLevelListOf(long masterType)
{
    switch (masterType) {
    case 1:
    case 4:
        return kTopLevelOwnProperty;
    case 2:
    case 5:
        return kTopLevelDebt;
    case 6:
        return kTopLevelOther;
    case 3:
        return kTopLevelProfitAndLoss;
    default:
        return kSubListCount;
    }
}

std::size_t CAccountTypeArray::AnyLevelListOf(long masterType)
{
    if (masterType == 2 || masterType == 5) return kAllDebt;
    if (masterType == 3) return kAllProfitAndLoss;
    return kSubListCount;
}

ArrayIndexT CAccountTypeArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                             const void* item, std::uint32_t size)
{
    ArrayIndexT result = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    CNonVisual* object = ObjectFromItem(item);
    // A refused type lives in no list at all.
    auto* accountType = dynamic_cast<CAccType*>(object);
    if (result <= 0 || !accountType) return result;

    const long masterType = accountType->Get_mMasterType();
    std::size_t top = TopLevelListOf(masterType);
    if (top != kSubListCount && accountType->IsRootItem()) FileInto(top, count, atIndex, item, size);
    std::size_t any = AnyLevelListOf(masterType);
    if (any != kSubListCount) FileInto(any, count, atIndex, item, size);
    return result;
}

void CAccountTypeArray::RemoveFromSubList(CAccType* accountType, long oldMasterType, long)
{
    if (!accountType) return;
    std::size_t top = TopLevelListOf(oldMasterType);
    if (top != kSubListCount) Leave(top, accountType);
    std::size_t any = AnyLevelListOf(oldMasterType);
    if (any != kSubListCount) Leave(any, accountType);
}

void CAccountTypeArray::SwitchList(CAccType* accountType, long oldMasterType, long newMasterType)
{
    if (!accountType || oldMasterType == newMasterType) return;
    RemoveFromSubList(accountType, oldMasterType, newMasterType);
    if (!InFullList(accountType)) return;
    std::size_t top = TopLevelListOf(newMasterType);
    if (top != kSubListCount && accountType->IsRootItem()) JoinBeforeLast(top, accountType);
    std::size_t any = AnyLevelListOf(newMasterType);
    if (any != kSubListCount) JoinBeforeLast(any, accountType);
}

void CAccountTypeArray::RemoveFromTopLevel(CAccType* accountType)
{
    if (!accountType) return;
    for (std::size_t list : {kTopLevelOwnProperty, kTopLevelDebt, kTopLevelOther, kTopLevelProfitAndLoss})
        Leave(list, accountType);
}

} // namespace ch
