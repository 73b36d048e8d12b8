#pragma once
// LVariableArray: an LArray whose items have their own sizes. The items lie
// back to back in one data block; a second block of count + 1 offsets tells
// where each ends (offset 0 is 0, offset i is the byte just past item i).
// Every LArray operation works on it with the item's own size: a size
// argument is the size of the item given (0 makes an empty item), fetching
// without a size copies the whole item, so the buffer must hold it (the
// ioSize forms copy no more than asked). Assigning or sorting may change the
// size of a slot; the items after it move. Storage grows by exactly what is
// needed.
//
// Without a comparator the shared LComparator orders the items by their bytes
// and then by length. Main thread only.

#include <cstdint>

#include "model/foundation/LArray.h"

namespace ch {

class LVariableArray : public LArray {
public:
    explicit LVariableArray(LComparator* comparator = nullptr, bool keepSorted = false);
    // Adopts two blocks from std::malloc: the offsets (offsetsByteCount bytes,
    // count + 1 of them) and the data, which holds at least the bytes the last
    // offset names. Offsets that do not start at 0 or that decrease are refused
    // with LException(err::kParamErr); the blocks then stay the caller's.
    LVariableArray(void* itemsBlock, void* offsetsBlock, std::uint32_t offsetsByteCount,
                   LComparator* comparator, bool isSorted, bool keepSorted);

    // Both blocks are copied; see LArray for the comparator.
    LVariableArray(const LVariableArray& source);
    // Does nothing on itself or while this array is locked.
    LVariableArray& operator=(const LVariableArray& source);
    ~LVariableArray() override;

    using LArray::GetItemSize;
    // The size of item index; 0 when index names no item.
    std::uint32_t GetItemSize(ArrayIndexT index) const override;
    void* GetItemPtr(ArrayIndexT index) const override;

    // Removes count items from atIndex and inserts count copies of item (size
    // bytes) there; the index of the first, 0 for a count of 0, an index that
    // names no item or no item given.
    ArrayIndexT AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;
    // Exactly room for count + extraItems items and stored + extraBytes bytes.
    void AdjustAllocation(std::uint32_t extraItems, std::uint32_t extraBytes = 0) override;
    // The Shell sort of LArray, moving items of any size.
    void Sort() override;

    // Trims both allocations and returns the offsets block (count + 1 offsets).
    void* GetOffsetsHandle();

protected:
    std::uint32_t GrabItemSize(ArrayIndexT index) const override;
    std::uint32_t GrabItemRangeSize(ArrayIndexT startIndex, ArrayIndexT endIndex) const override;
    void PokeItem(ArrayIndexT index, const void* item, std::uint32_t size) override;
    void InternalAdjustAllocation(std::uint32_t items, std::uint32_t bytes) override;
    void AdjustStorage(std::int32_t deltaItems, std::int64_t deltaBytes) override;
    void ShiftItems(ArrayIndexT startIndex, ArrayIndexT endIndex, std::int32_t deltaItems,
                    std::int64_t deltaBytes) override;
    void StoreNewItems(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                       std::uint32_t size) override;
    void InternalCopyItem(ArrayIndexT sourceIndex, ArrayIndexT destIndex) override;

private:
    void CopyVariableArray(const LVariableArray& source);
    void DestroyVariableArray();
    // Gives the slot of item index newSize bytes, moving the items after it.
    void ResizeSlot(ArrayIndexT index, std::uint32_t newSize);
    void ReallocateOffsets(std::uint32_t items);

    std::uint32_t* mOffsets = nullptr;     // mOffsetsAllocated + 1 entries, never null
    std::uint32_t mOffsetsAllocated = 0;   // items the offsets have room for
};

} // namespace ch
