#pragma once
// CAccountTypeArray: the document's list of account types, with sub-lists of
// the top-level types by kind and of every debt and profit-and-loss type.
// A type's kind and level are read when it is inserted; later changes reach
// the sub-lists through SwitchList (master type) and RemoveFromTopLevel (a
// top-level type moved below another).

#include "model/CSubListArray.h"

namespace ch {

class CAccType;

class CAccountTypeArray : public CSubListArray {
public:
    enum SubListIndex : std::size_t {
        kTopLevelOwnProperty,   // top level, master type 1 or 4
        kTopLevelDebt,          // top level, master type 2 or 5
        kTopLevelOther,         // top level, master type 6
        kTopLevelProfitAndLoss, // top level, master type 3
        kAllDebt,               // master type 2 or 5, any level
        kAllProfitAndLoss,      // master type 3, any level
        kSubListCount
    };

    // The root makes it with the name comparator and keep-sorted off.
    CAccountTypeArray(LComparator* comparator, bool keepSorted);

    // The full list's insertion (a type whose id is listed is refused), then
    // the sub-lists the type belongs to; the full list's result.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    // After a type's master type changed: it leaves the sub-lists of the old
    // master type and joins those of the new one (the top-level one only when
    // it is top level).
    void SwitchList(CAccType* accountType, long oldMasterType, long newMasterType);
    // The leaving part of SwitchList.
    void RemoveFromSubList(CAccType* accountType, long oldMasterType, long newMasterType);
    // A top-level type moved below another leaves its top-level sub-list.
    void RemoveFromTopLevel(CAccType* accountType);

    CNamedListArray* Get_SubList(SubListIndex index) const { return SubList(index); }

private:
    // The top-level sub-list of a master type; kSubListCount for none (0, above 6).
    static std::size_t TopLevelListOf(long masterType);
    // The any-level sub-list of a master type; kSubListCount for none.
    static std::size_t AnyLevelListOf(long masterType);
};

} // namespace ch
