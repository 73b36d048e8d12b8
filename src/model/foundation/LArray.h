#pragma once
// LArray: a growable array of equally sized items in one contiguous block,
// indexed from 1, with a comparator that can keep it sorted and attached
// iterators (LArrayIterator) that stay valid while items come and go.
// Items are copied as raw bytes and are never owned: a list of object pointers
// holds the pointers (item size sizeof(T*)), not the objects.
// TArray<T> is the typed face for trivially copyable T; LVariableArray holds
// items of their own sizes.
//
// Index rules: items are 1..count; 0 and negative indices name no item.
// kLastIndex (0x7FFFFFFF) names the last item when reading, removing, assigning,
// swapping or moving, and "after the last" when inserting. Index results are 0
// when nothing was found. A size argument of 0 means the item size.
//
// While the array is locked (Lock, or during a search) structural changes are
// refused. Memory exhaustion raises LException (err::kMemFullErr).
// Main thread only.

#include <cstdint>
#include <type_traits>

namespace ch {

class LComparator;
class LArrayIterator;

using ArrayIndexT = std::int32_t;

class LArray {
public:
    static constexpr ArrayIndexT kLastIndex = 0x7FFFFFFF;

    // Item size 4, the shared comparator, sorted, keep-sorted off.
    LArray();
    // The comparator (may be null) becomes owned by the array. With a null
    // comparator the array uses the shared LLongComparator for 4-byte items and
    // the shared LComparator otherwise, and does not own it.
    explicit LArray(std::uint32_t itemSize, LComparator* comparator = nullptr,
                    bool keepSorted = false);
    // As above, then room for itemsToAllocate items.
    LArray(std::uint32_t itemsToAllocate, std::uint32_t itemSize,
           LComparator* comparator, bool keepSorted);
    // Adopts a block from std::malloc holding byteCount bytes of items.
    LArray(std::uint32_t itemSize, void* itemsBlock, std::uint32_t byteCount,
           LComparator* comparator, bool isSorted, bool keepSorted);

    // Copies items, item size and flags; takes the source's comparator, or a
    // clone of it when the source owns its comparator. No lock, no iterators.
    LArray(const LArray& source);
    // Does nothing on itself or while this array is locked.
    LArray& operator=(const LArray& source);

    // Releases the storage and an owned comparator; attached iterators learn
    // that the array is gone.
    virtual ~LArray();

    // --- reading
    std::uint32_t GetCount() const { return mItemCount; }
    // The size every item has; 0 when items have their own sizes (LVariableArray).
    std::uint32_t GetItemSize() const { return mItemSize; }
    // The size of item index (here the item size, whatever the index).
    virtual std::uint32_t GetItemSize(ArrayIndexT index) const;

    // Turns kLastIndex into the count (written back); true for 1..count.
    bool ValidIndex(ArrayIndexT& ioIndex) const;

    // Copies item index (all of its bytes) into buffer; false (buffer
    // untouched) when index names no item.
    virtual bool FetchItemAt(ArrayIndexT index, void* outBuffer) const;
    // As above, copying at most ioSize bytes and setting ioSize to the bytes
    // copied; ioSize becomes 0 when index names no item.
    virtual bool FetchItemAt(ArrayIndexT index, void* outBuffer, std::uint32_t& ioSize) const;

    // Address of item index inside the storage; no check; valid until the
    // storage next changes size.
    virtual void* GetItemPtr(ArrayIndexT index) const;

    // Trims the allocation to the items stored and returns the storage (null when empty).
    void* GetItemsHandle();

    // --- searching
    // Binary search while sorted, otherwise linear (first match); 0 when absent.
    virtual ArrayIndexT FetchIndexOf(const void* item, std::uint32_t size = 0) const;
    virtual ArrayIndexT FetchIndexOfKey(const void* key) const;
    // Where a new item goes to keep the order: kLastIndex when not sorted or
    // item is null; before the equal item the binary search meets.
    virtual ArrayIndexT FetchInsertIndexOf(const void* item, std::uint32_t size = 0) const;
    virtual ArrayIndexT FetchInsertIndexOfKey(const void* key) const;

    // --- changing
    // Appends (or, with keep-sorted on, inserts at its sorted place); returns
    // the new item's index, 0 when refused.
    virtual ArrayIndexT AddItem(const void* item, std::uint32_t size = 0);
    // Stores count copies of item from atIndex on (clamped: 0 -> 1, beyond the
    // end or negative -> append; keep-sorted picks its own place); returns the
    // index of the first new item, 0 when refused. A null item leaves the new
    // slots zeroed.
    virtual ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                      const void* item, std::uint32_t size = 0);
    // Removes up to count items from atIndex; nothing when locked or atIndex names no item.
    virtual void RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex);
    virtual bool RemoveLastItem(void* outBuffer);
    virtual bool RemoveLastItem(void* outBuffer, std::uint32_t& ioSize);
    // Overwrites items atIndex..atIndex+count-1 (cut at the end) with item;
    // returns the first index assigned, 0 when refused.
    virtual ArrayIndexT AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                      const void* item, std::uint32_t size = 0);
    // Do nothing with keep-sorted on; clear the sorted flag; iterators are not informed.
    virtual void SwapItems(ArrayIndexT index1, ArrayIndexT index2);
    virtual void MoveItem(ArrayIndexT fromIndex, ArrayIndexT toIndex);
    // Removes the one item FetchIndexOf finds.
    virtual void Remove(const void* item, std::uint32_t size = 0);

    // Shell sort by the comparator (not stable from 18 items on); sets the sorted flag.
    virtual void Sort();
    // Sets the allocation to exactly (count + extraItems) items; extraBytes
    // counts only where items have their own sizes.
    virtual void AdjustAllocation(std::uint32_t extraItems, std::uint32_t extraBytes = 0);

    // For an array whose items from the second on stand in strict order (no
    // two equal) and whose first item was just put in front: moves that item
    // to its place by halving and marks the array sorted, so that a list
    // growing one item at a time is not walked whole for each. False, and
    // nothing changed, when an item equals it: the Shell sort places it.
    bool SortFrontItem();

    // --- order and state
    bool IsSorted() const { return mIsSorted; }
    // Whether the last sort found no two items equal and nothing has changed
    // the array since. Keys changed from outside (a renamed object) are the
    // caller's to know of.
    bool IsStrictlyOrdered() const { return mIsSorted && mStrictAt == mChangeCount; }
    // Grows with every change of the items or of their order (insertions,
    // removals, assignments, moves, sorts, copies), so that a look-up kept
    // beside the array can tell that it went stale.
    std::uint64_t GetChangeCount() const { return mChangeCount; }
    bool IsKeepSorted() const { return mKeepSorted; }
    // Stores the flag; turning it on sorts.
    void SetKeepSorted(bool keepSorted);
    LComparator* GetComparator() const { return mComparator; }
    // Null changes nothing. Otherwise replaces (and deletes an owned) comparator;
    // clears the sorted flag for 2 or more items and sorts when keep-sorted is on.
    void SetComparator(LComparator* comparator, bool owns);

    void Lock() { ++mLockCount; }
    void Unlock() { if (mLockCount > 0) --mLockCount; }
    bool IsLocked() const { return mLockCount > 0; }

    void AttachIterator(LArrayIterator* iterator);
    void DetachIterator(LArrayIterator* iterator);

protected:
    // For lists whose order goes stale outside the array's knowledge: a cleared
    // flag makes the next keep-sorted insertion sort again.
    void SetSortedFlag(bool isSorted)
    {
        mIsSorted = isSorted;
        mStrictAt = kNoProof;
    }

    // Iterator bookkeeping after count items were inserted or removed at atIndex.
    void ItemsInserted(std::uint32_t count, ArrayIndexT atIndex);
    void ItemsRemoved(std::uint32_t count, ArrayIndexT atIndex);

    ArrayIndexT BinarySearch(const void* item, std::uint32_t size) const;
    ArrayIndexT LinearSearch(const void* item, std::uint32_t size) const;
    ArrayIndexT BinarySearchByKey(const void* key) const;
    ArrayIndexT LinearSearchByKey(const void* key) const;

    // --- the storage, in the terms of items that may have their own sizes.
    // The operations above are written in these; a subclass whose items
    // differ in size replaces them. Indices are not checked. Byte counts and
    // deltas are for the items concerned; arrays of one item size derive
    // them from the item counts and ignore them.

    // Size of item index; of items startIndex..endIndex together.
    virtual std::uint32_t GrabItemSize(ArrayIndexT index) const;
    virtual std::uint32_t GrabItemRangeSize(ArrayIndexT startIndex, ArrayIndexT endIndex) const;
    // Copy item index out whole; copy size bytes into its slot (never more
    // than the slot holds).
    virtual void PeekItem(ArrayIndexT index, void* outBuffer) const;
    virtual void PokeItem(ArrayIndexT index, const void* item, std::uint32_t size);
    // Exactly this much room: items in all, bytes in all.
    virtual void InternalAdjustAllocation(std::uint32_t items, std::uint32_t bytes);
    // Count and stored bytes change by the deltas; room grows when needed and
    // shrinks by what was removed. Exhaustion: LException, nothing changed.
    virtual void AdjustStorage(std::int32_t deltaItems, std::int64_t deltaBytes);
    // Moves items startIndex..endIndex by deltaItems places (deltaBytes bytes).
    virtual void ShiftItems(ArrayIndexT startIndex, ArrayIndexT endIndex, std::int32_t deltaItems,
                            std::int64_t deltaBytes);
    // Fills count slots from atIndex, each with size bytes of item (zero
    // bytes when item is null); the room is there already.
    virtual void StoreNewItems(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                               std::uint32_t size);
    // buffer holds the larger of the items concerned.
    virtual void InternalSwapItems(ArrayIndexT index1, ArrayIndexT index2, void* buffer);
    virtual void InternalMoveItem(ArrayIndexT fromIndex, ArrayIndexT toIndex, void* buffer);
    // Item sourceIndex overwrites item destIndex.
    virtual void InternalCopyItem(ArrayIndexT sourceIndex, ArrayIndexT destIndex);

    std::uint32_t mItemSize = 4;
    std::uint32_t mItemCount = 0;
    std::uint32_t mDataStored = 0;
    std::uint32_t mDataAllocated = 0;
    unsigned char* mItems = nullptr;

private:
    // The lock count and the flags share a word (every list of the model is one of these).
    mutable std::uint32_t mLockCount = 0;  // searches lock a const array too
    bool mOwnsComparator = false;
    bool mIsSorted = true;
    bool mKeepSorted = false;

    void InitArray(std::uint32_t itemSize, LComparator* comparator, bool isSorted, bool keepSorted);
    void CopyArray(const LArray& source, bool destroyOld);
    void DestroyArray();

    // The slot of item index in an array of one item size.
    unsigned char* FixedItemPtr(ArrayIndexT index) const
    {
        return mItems + static_cast<std::uint32_t>(index - 1) * mItemSize;
    }
    // Sorts when the Shell sort's result is known without its passes (items
    // in order, or no two items equal); false leaves the items untouched.
    bool SortWithoutShellPasses();
    // Items from the second on in strict order: the first moved to its place;
    // false (untouched) when an item equals it.
    bool PlaceFrontItem();

    LArrayIterator* mIteratorListHead = nullptr;
    LComparator* mComparator = nullptr;
    std::uint64_t mChangeCount = 0;
    // The change count at which a sort found the items in strict order.
    static constexpr std::uint64_t kNoProof = ~std::uint64_t(0);
    std::uint64_t mStrictAt = kNoProof;
};

// The typed face of LArray for trivially copyable items (values, pointers).
template <typename T>
class TArray : public LArray {
    static_assert(std::is_trivially_copyable_v<T>, "TArray holds items as raw bytes");

public:
    TArray() : LArray(sizeof(T)) {}
    explicit TArray(LComparator* comparator, bool keepSorted = false)
        : LArray(sizeof(T), comparator, keepSorted) {}
    ~TArray() override = default;

    using LArray::AddItem;
    using LArray::FetchIndexOf;
    using LArray::FetchItemAt;
    using LArray::InsertItemsAt;
    using LArray::Remove;

    ArrayIndexT AddItem(const T& item) { return LArray::AddItem(&item, sizeof(T)); }
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const T& item)
    {
        return LArray::InsertItemsAt(count, atIndex, &item, sizeof(T));
    }
    bool FetchItemAt(ArrayIndexT index, T& outItem) const { return LArray::FetchItemAt(index, &outItem); }
    ArrayIndexT FetchIndexOf(const T& item) const { return LArray::FetchIndexOf(&item, sizeof(T)); }
    void Remove(const T& item) { LArray::Remove(&item, sizeof(T)); }
};

} // namespace ch
