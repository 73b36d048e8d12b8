#pragma once
// CMasterExpenseTypeArray: the document's list of category groups, with three
// sub-lists of the top-level groups by kind: income, opening balance and
// correction; expense; transfer. Sub-groups are in the full list only.

#include "model/CMasterExpenseType.h"
#include "model/CSubListArray.h"

namespace ch {

class CMasterExpenseTypeArray : public CSubListArray {
public:
    enum SubListIndex : std::size_t {
        kIncomeLike,   // kinds 0 income, 3 opening balance, 4 correction
        kExpense,      // kind 1
        kTransfer,     // kind 2
        kSubListCount
    };

    // The sub-lists share the full list's comparator and keep-sorted setting.
    CMasterExpenseTypeArray(LComparator* comparator, bool keepSorted);

    // The full list's insertion (a group whose id is listed is refused), then
    // a top-level group of kind 0 to 4 joins the sub-list of its kind.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    // After a group's kind changed: it leaves the sub-list of oldKind and, at
    // the top level, joins that of newKind.
    void SwitchList(CMasterExpenseType* group, MasterExpenseTypeT newKind, MasterExpenseTypeT oldKind);
    // Leaves the sub-list of kind (kinds above 4 have none).
    void RemoveFromSubList(CMasterExpenseType* group, MasterExpenseTypeT, MasterExpenseTypeT kind);

    CNamedListArray* Get_SubList(SubListIndex index) const { return SubList(index); }

private:
    // The sub-list of a kind; kSubListCount for kinds above 4.
    static std::size_t ListOf(MasterExpenseTypeT kind);
};

} // namespace ch
