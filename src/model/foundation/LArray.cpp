#include "model/foundation/LArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "model/foundation/LArrayIterator.h"
#include "model/foundation/LComparator.h"
#include "model/foundation/LException.h"
#include "model/foundation/StPointerBlock.h"

namespace ch {

namespace {

constexpr std::uint64_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

// Holds the lock count up for the duration of a search, also when a comparator throws.
class StArrayLock {
public:
    explicit StArrayLock(std::uint32_t& count) : mCount(count) { ++mCount; }
    ~StArrayLock() { --mCount; }
    StArrayLock(const StArrayLock&) = delete;
    StArrayLock& operator=(const StArrayLock&) = delete;

private:
    std::uint32_t& mCount;
};

// The search of a sorted array: compare(index) orders the item at the 1-based
// index against what is sought. 0 when nothing matches.
template <typename Compare>
ArrayIndexT BinaryFind(std::uint32_t count, Compare compare)
{
    ArrayIndexT low = 1;
    ArrayIndexT high = static_cast<ArrayIndexT>(count);
    while (low <= high) {
        ArrayIndexT mid = low + (high - low) / 2;
        std::int32_t result = compare(mid);
        if (result == 0) return mid;
        if (result > 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return 0;
}

// The first 1-based index whose item matches; 0 when none does.
template <typename Matches>
ArrayIndexT LinearFind(std::uint32_t count, Matches matches)
{
    for (std::uint32_t index = 1; index <= count; ++index) {
        if (matches(static_cast<ArrayIndexT>(index))) return static_cast<ArrayIndexT>(index);
    }
    return 0;
}

// Word-sized items (ids, pointers) are copied as single words.
inline void CopyItemBytes(void* dest, const void* src, std::uint32_t itemSize)
{
    switch (itemSize) {
    case 4: std::memcpy(dest, src, 4); break;
    case 8: std::memcpy(dest, src, 8); break;
    default: std::memcpy(dest, src, itemSize); break;
    }
}

} // namespace

// --- construction

LArray::LArray()
{
    InitArray(4, nullptr, true, false);
}

LArray::LArray(std::uint32_t itemSize, LComparator* comparator, bool keepSorted)
{
    InitArray(itemSize, comparator, true, keepSorted);
}

LArray::LArray(std::uint32_t itemsToAllocate, std::uint32_t itemSize,
               LComparator* comparator, bool keepSorted)
{
    InitArray(itemSize, comparator, true, keepSorted);
    try {
        AdjustAllocation(itemsToAllocate, 0);
    } catch (...) {
        DestroyArray();
        throw;
    }
}

LArray::LArray(std::uint32_t itemSize, void* itemsBlock, std::uint32_t byteCount,
               LComparator* comparator, bool isSorted, bool keepSorted)
{
    InitArray(itemSize, comparator, isSorted, keepSorted);
    if (itemsBlock) {
        mItems = static_cast<unsigned char*>(itemsBlock);
        mDataAllocated = byteCount;
        mItemCount = mItemSize > 0 ? byteCount / mItemSize : 0;
        mDataStored = mItemCount * mItemSize;
    }
}

LArray::LArray(const LArray& source)
{
    CopyArray(source, false);
}

LArray& LArray::operator=(const LArray& source)
{
    if (this != &source && !IsLocked()) CopyArray(source, true);
    return *this;
}

LArray::~LArray()
{
    DestroyArray();
}

void LArray::InitArray(std::uint32_t itemSize, LComparator* comparator, bool isSorted,
                       bool keepSorted)
{
    mItemSize = itemSize;
    mItemCount = 0;
    mDataStored = 0;
    mDataAllocated = 0;
    mItems = nullptr;
    mLockCount = 0;
    mIteratorListHead = nullptr;
    if (comparator) {
        mComparator = comparator;
        mOwnsComparator = true;
    } else {
        mComparator = itemSize == 4 ? static_cast<LComparator*>(LLongComparator::GetComparator())
                                    : LComparator::GetComparator();
        mOwnsComparator = false;
    }
    mIsSorted = isSorted;
    mKeepSorted = keepSorted;
}

void LArray::CopyArray(const LArray& source, bool destroyOld)
{
    // Everything that can fail happens before the old contents go.
    StPointerBlock items;
    if (source.mDataStored > 0) {
        items.Adopt(std::malloc(source.mDataStored));
        if (!items.Get()) LException::Throw(err::kMemFullErr);
        std::memcpy(items.Get(), source.mItems, source.mDataStored);
    }
    LComparator* comparator = source.mOwnsComparator ? source.mComparator->Clone()
                                                     : source.mComparator;

    if (destroyOld) DestroyArray();

    mItemSize = source.mItemSize;
    mItemCount = source.mItemCount;
    mDataStored = source.mDataStored;
    mDataAllocated = source.mDataStored;
    mItems = static_cast<unsigned char*>(items.Release());
    mLockCount = 0;
    mIteratorListHead = nullptr;
    mComparator = comparator;
    mOwnsComparator = source.mOwnsComparator;
    mIsSorted = source.mIsSorted;
    mKeepSorted = source.mKeepSorted;
    ++mChangeCount;
}

void LArray::DestroyArray()
{
    if (mOwnsComparator) delete mComparator;
    mComparator = nullptr;
    mOwnsComparator = false;

    std::free(mItems);
    mItems = nullptr;
    mItemCount = 0;
    mDataStored = 0;
    mDataAllocated = 0;

    LArrayIterator* iterator = mIteratorListHead;
    mIteratorListHead = nullptr;
    while (iterator) {
        LArrayIterator* next = iterator->mNextIterator;
        iterator->ArrayDied();
        iterator = next;
    }
}

// --- reading

bool LArray::ValidIndex(ArrayIndexT& ioIndex) const
{
    if (ioIndex == kLastIndex) ioIndex = static_cast<ArrayIndexT>(mItemCount);
    return ioIndex >= 1 && static_cast<std::uint32_t>(ioIndex) <= mItemCount;
}

bool LArray::FetchItemAt(ArrayIndexT index, void* outBuffer) const
{
    if (!ValidIndex(index)) return false;
    PeekItem(index, outBuffer);
    return true;
}

bool LArray::FetchItemAt(ArrayIndexT index, void* outBuffer, std::uint32_t& ioSize) const
{
    if (!ValidIndex(index)) {
        ioSize = 0;
        return false;
    }
    std::uint32_t bytes = std::min(GrabItemSize(index), ioSize);
    if (bytes > 0) std::memcpy(outBuffer, GetItemPtr(index), bytes);
    ioSize = bytes;
    return true;
}

std::uint32_t LArray::GetItemSize(ArrayIndexT) const
{
    return mItemSize;
}

void* LArray::GetItemPtr(ArrayIndexT index) const
{
    return FixedItemPtr(index);
}

void* LArray::GetItemsHandle()
{
    AdjustAllocation(0, 0);
    return mItems;
}

std::uint32_t LArray::GrabItemSize(ArrayIndexT) const
{
    return mItemSize;
}

std::uint32_t LArray::GrabItemRangeSize(ArrayIndexT startIndex, ArrayIndexT endIndex) const
{
    return static_cast<std::uint32_t>(endIndex - startIndex + 1) * mItemSize;
}

void LArray::PeekItem(ArrayIndexT index, void* outBuffer) const
{
    if (const std::uint32_t size = GrabItemSize(index); size > 0)
        CopyItemBytes(outBuffer, GetItemPtr(index), size);
}

void LArray::PokeItem(ArrayIndexT index, const void* item, std::uint32_t size)
{
    ++mChangeCount;
    // Never more than the slot holds.
    std::uint32_t bytes = (size == 0 || size > mItemSize) ? mItemSize : size;
    if (bytes == mItemSize)
        CopyItemBytes(FixedItemPtr(index), item, mItemSize);
    else
        std::memcpy(FixedItemPtr(index), item, bytes);
}

// --- searching

ArrayIndexT LArray::FetchIndexOf(const void* item, std::uint32_t size) const
{
    if (mItemCount == 0) return 0;
    if (size == 0) size = mItemSize;
    return mIsSorted ? BinarySearch(item, size) : LinearSearch(item, size);
}

ArrayIndexT LArray::FetchIndexOfKey(const void* key) const
{
    if (mItemCount == 0) return 0;
    return mIsSorted ? BinarySearchByKey(key) : LinearSearchByKey(key);
}

ArrayIndexT LArray::BinarySearch(const void* item, std::uint32_t size) const
{
    StArrayLock lock(mLockCount);
    return BinaryFind(mItemCount, [&](ArrayIndexT index) {
        return mComparator->Compare(GetItemPtr(index), item, GrabItemSize(index), size);
    });
}

ArrayIndexT LArray::LinearSearch(const void* item, std::uint32_t size) const
{
    StArrayLock lock(mLockCount);
    return LinearFind(mItemCount, [&](ArrayIndexT index) {
        return mComparator->IsEqualTo(item, GetItemPtr(index), size, GrabItemSize(index));
    });
}

ArrayIndexT LArray::BinarySearchByKey(const void* key) const
{
    StArrayLock lock(mLockCount);
    return BinaryFind(mItemCount, [&](ArrayIndexT index) {
        return mComparator->CompareToKey(GetItemPtr(index), GrabItemSize(index), key);
    });
}

ArrayIndexT LArray::LinearSearchByKey(const void* key) const
{
    StArrayLock lock(mLockCount);
    return LinearFind(mItemCount, [&](ArrayIndexT index) {
        return mComparator->IsEqualToKey(GetItemPtr(index), GrabItemSize(index), key);
    });
}

ArrayIndexT LArray::FetchInsertIndexOf(const void* item, std::uint32_t size) const
{
    if (!mIsSorted || !item) return kLastIndex;
    if (mItemCount == 0) return 1;
    if (size == 0) size = mItemSize;

    // The binary search; an equal item takes the new one's place, otherwise the
    // last comparison tells which side of the final probe it goes.
    StArrayLock lock(mLockCount);
    ArrayIndexT low = 1;
    ArrayIndexT high = static_cast<ArrayIndexT>(mItemCount);
    ArrayIndexT mid = 1;
    std::int32_t result = 0;
    while (low <= high) {
        mid = low + (high - low) / 2;
        result = mComparator->Compare(GetItemPtr(mid), item, GrabItemSize(mid), size);
        if (result == 0) return mid;
        if (result > 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return result < 0 ? mid + 1 : mid;
}

ArrayIndexT LArray::FetchInsertIndexOfKey(const void* key) const
{
    if (!mIsSorted) return kLastIndex;
    if (mItemCount == 0) return 1;

    StArrayLock lock(mLockCount);
    ArrayIndexT low = 1;
    ArrayIndexT high = static_cast<ArrayIndexT>(mItemCount);
    ArrayIndexT mid = 1;
    std::int32_t result = 0;
    while (low <= high) {
        mid = low + (high - low) / 2;
        result = mComparator->CompareToKey(GetItemPtr(mid), GrabItemSize(mid), key);
        if (result == 0) return mid;
        if (result > 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return result < 0 ? mid + 1 : mid;
}

// --- changing

ArrayIndexT LArray::AddItem(const void* item, std::uint32_t size)
{
    if (mKeepSorted) return InsertItemsAt(1, 0, item, size);
    if (IsLocked()) return 0;

    if (size == 0) size = mItemSize;
    mIsSorted = false;
    AdjustStorage(1, size);
    ArrayIndexT index = static_cast<ArrayIndexT>(mItemCount);
    StoreNewItems(1, index, item, size);
    ItemsInserted(1, index);
    return index;
}

ArrayIndexT LArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                  const void* item, std::uint32_t size)
{
    if (count == 0 || IsLocked()) return 0;
    if (mKeepSorted && !item) return 0;
    if (size == 0) size = mItemSize;

    if (mKeepSorted) {
        if (!mIsSorted) Sort();
        atIndex = FetchInsertIndexOf(item, size);
    }

    // An unsigned comparison: negative indices append too.
    if (static_cast<std::uint32_t>(atIndex) > mItemCount)
        atIndex = static_cast<ArrayIndexT>(mItemCount + 1);
    else if (atIndex == 0)
        atIndex = 1;

    std::uint32_t oldCount = mItemCount;
    const std::int64_t bytes = std::int64_t(count) * size;
    AdjustStorage(static_cast<std::int32_t>(count), bytes);
    if (static_cast<std::uint32_t>(atIndex) <= oldCount)
        ShiftItems(atIndex, static_cast<ArrayIndexT>(oldCount), static_cast<std::int32_t>(count), bytes);

    mIsSorted = mKeepSorted;
    StoreNewItems(count, atIndex, item, size);
    ItemsInserted(count, atIndex);
    return atIndex;
}

void LArray::RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex)
{
    if (IsLocked() || count == 0 || !ValidIndex(atIndex)) return;

    std::uint32_t available = mItemCount - static_cast<std::uint32_t>(atIndex) + 1;
    if (count > available) count = available;

    ++mChangeCount;
    ArrayIndexT firstAfter = atIndex + static_cast<ArrayIndexT>(count);
    const std::int64_t bytes = GrabItemRangeSize(atIndex, firstAfter - 1);
    if (static_cast<std::uint32_t>(firstAfter) <= mItemCount)
        ShiftItems(firstAfter, static_cast<ArrayIndexT>(mItemCount), -static_cast<std::int32_t>(count),
                   -bytes);
    AdjustStorage(-static_cast<std::int32_t>(count), -bytes);
    ItemsRemoved(count, atIndex);
}

bool LArray::RemoveLastItem(void* outBuffer)
{
    if (mItemCount == 0 || IsLocked()) return false;
    ArrayIndexT last = static_cast<ArrayIndexT>(mItemCount);
    PeekItem(last, outBuffer);
    RemoveItemsAt(1, last);
    return true;
}

bool LArray::RemoveLastItem(void* outBuffer, std::uint32_t& ioSize)
{
    if (mItemCount == 0 || IsLocked()) return false;
    ArrayIndexT last = static_cast<ArrayIndexT>(mItemCount);
    FetchItemAt(last, outBuffer, ioSize);
    RemoveItemsAt(1, last);
    return true;
}

ArrayIndexT LArray::AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                  const void* item, std::uint32_t size)
{
    if (!ValidIndex(atIndex) || count == 0 || !item) return 0;

    if (mKeepSorted) {
        RemoveItemsAt(count, atIndex);
        return InsertItemsAt(count, atIndex, item, size);
    }

    std::uint64_t last = std::min<std::uint64_t>(std::uint64_t(atIndex) + count - 1, mItemCount);
    for (std::uint64_t index = static_cast<std::uint64_t>(atIndex); index <= last; ++index)
        PokeItem(static_cast<ArrayIndexT>(index), item, size);
    mIsSorted = false;
    return atIndex;
}

void LArray::SwapItems(ArrayIndexT index1, ArrayIndexT index2)
{
    if (mKeepSorted || !ValidIndex(index1) || !ValidIndex(index2)) return;

    ++mChangeCount;
    StPointerBlock buffer(std::max(GrabItemSize(index1), GrabItemSize(index2)));
    InternalSwapItems(index1, index2, buffer.Get());
    mIsSorted = false;
}

void LArray::MoveItem(ArrayIndexT fromIndex, ArrayIndexT toIndex)
{
    if (mKeepSorted || !ValidIndex(fromIndex) || !ValidIndex(toIndex) || fromIndex == toIndex)
        return;

    ++mChangeCount;
    StPointerBlock buffer(GrabItemSize(fromIndex));
    InternalMoveItem(fromIndex, toIndex, buffer.Get());
    mIsSorted = false;
}

void LArray::InternalSwapItems(ArrayIndexT index1, ArrayIndexT index2, void* buffer)
{
    if (index1 == index2) return;
    const std::uint32_t size = GrabItemSize(index1);
    if (size == GrabItemSize(index2)) {
        if (size == 0) return;
        CopyItemBytes(buffer, GetItemPtr(index1), size);
        CopyItemBytes(GetItemPtr(index1), GetItemPtr(index2), size);
        CopyItemBytes(GetItemPtr(index2), buffer, size);
        return;
    }
    // Items of different sizes trade places through two moves: the first
    // goes behind the second, then the second (now one place nearer) to the
    // first's place.
    const ArrayIndexT low = std::min(index1, index2);
    const ArrayIndexT high = std::max(index1, index2);
    InternalMoveItem(low, high, buffer);
    InternalMoveItem(high - 1, low, buffer);
}

void LArray::InternalMoveItem(ArrayIndexT fromIndex, ArrayIndexT toIndex, void* buffer)
{
    if (fromIndex == toIndex) return;
    const std::uint32_t size = GrabItemSize(fromIndex);
    if (size > 0) CopyItemBytes(buffer, GetItemPtr(fromIndex), size);
    if (fromIndex < toIndex)
        ShiftItems(fromIndex + 1, toIndex, -1, -std::int64_t(size));
    else
        ShiftItems(toIndex, fromIndex - 1, 1, size);
    StoreNewItems(1, toIndex, buffer, size);
}

void LArray::InternalCopyItem(ArrayIndexT sourceIndex, ArrayIndexT destIndex)
{
    if (sourceIndex == destIndex) return;
    CopyItemBytes(FixedItemPtr(destIndex), FixedItemPtr(sourceIndex), mItemSize);
}

void LArray::Remove(const void* item, std::uint32_t size)
{
    ArrayIndexT index = FetchIndexOf(item, size);
    if (index != 0) RemoveItemsAt(1, index);
}

void LArray::Sort()
{
    if (mIsSorted || mItemCount < 2) {
        mIsSorted = true;
        return;
    }
    ++mChangeCount;

    // Shell sort with the 3h + 1 gaps; the gap choice and the strict "<" decide
    // where equal items end up, and saved list order follows it. Its result
    // is reached faster where it is known beforehand (large lists grow
    // worse than n log n in the Shell sort).
    if (SortWithoutShellPasses()) {
        mIsSorted = true;
        return;
    }
    const ArrayIndexT count = static_cast<ArrayIndexT>(mItemCount);
    ArrayIndexT gap = 1;
    if (count >= 18) {
        while (gap < count / 9) gap = 3 * gap + 1;
    }

    StPointerBlock buffer(mItemSize);
    void* held = buffer.Get();
    const std::uint32_t size = mItemSize;
    for (; gap >= 1; gap /= 3) {
        for (ArrayIndexT k = 1; k + gap <= count; ++k) {
            CopyItemBytes(held, FixedItemPtr(k + gap), size);
            ArrayIndexT j = k;
            while (j >= 1 && mComparator->Compare(held, FixedItemPtr(j), size, size) < 0) {
                CopyItemBytes(FixedItemPtr(j + gap), FixedItemPtr(j), size);
                j -= gap;
            }
            CopyItemBytes(FixedItemPtr(j + gap), held, size);
        }
    }
    mIsSorted = true;
}

bool LArray::SortWithoutShellPasses()
{
    const std::uint32_t size = mItemSize;
    auto compare = [&](std::uint32_t a, std::uint32_t b) {
        return mComparator->Compare(FixedItemPtr(static_cast<ArrayIndexT>(a)),
                                    FixedItemPtr(static_cast<ArrayIndexT>(b)), size, size);
    };
    auto less = [&](std::uint32_t a, std::uint32_t b) { return compare(a, b) < 0; };
    // Items already in order: the Shell sort moves only an item that is
    // strictly smaller than one before it, so it would leave them as they are.
    bool inOrder = true;
    bool equalNeighbours = false;
    for (std::uint32_t i = 1; i < mItemCount && inOrder; ++i) {
        const std::int32_t r = compare(i + 1, i);
        inOrder = r >= 0;
        equalNeighbours = equalNeighbours || r == 0;
    }
    if (inOrder) {
        if (!equalNeighbours) mStrictAt = mChangeCount;
        return true;
    }
    // Without equal items there is only one sorted order: any sort reaches
    // the Shell sort's result. Equal items found: the Shell sort decides.
    if (equalNeighbours) return false;
    // An item just put at the front of items in strict order (a list that
    // grows one item at a time): its place is found by halving, so that
    // adding many items one by one does not sort the whole list each time.
    if (compare(2, 1) < 0) {
        bool restInOrder = true;
        for (std::uint32_t i = 2; i < mItemCount && restInOrder; ++i) restInOrder = compare(i + 1, i) > 0;
        if (restInOrder) {
            if (!PlaceFrontItem()) return false;
            mStrictAt = mChangeCount;
            return true;
        }
    }
    try {
        std::vector<std::uint32_t> order(mItemCount);
        for (std::uint32_t i = 0; i < mItemCount; ++i) order[i] = i + 1;
        // A merge sort: it stays within the array whatever the comparator answers.
        std::stable_sort(order.begin(), order.end(), less);
        for (std::uint32_t i = 1; i < mItemCount; ++i) {
            if (!less(order[i - 1], order[i])) return false;
        }
        std::vector<unsigned char> sorted(std::size_t(mItemCount) * size);
        for (std::uint32_t i = 0; i < mItemCount; ++i)
            CopyItemBytes(sorted.data() + std::size_t(i) * size, FixedItemPtr(static_cast<ArrayIndexT>(order[i])),
                          size);
        std::memcpy(mItems, sorted.data(), sorted.size());
        mStrictAt = mChangeCount;
        return true;
    } catch (const std::bad_alloc&) {
        return false;   // the Shell sort needs no more than one item of room
    }
}

bool LArray::PlaceFrontItem()
{
    const std::uint32_t size = mItemSize;
    auto compare = [&](std::uint32_t a, std::uint32_t b) {
        return mComparator->Compare(FixedItemPtr(static_cast<ArrayIndexT>(a)),
                                    FixedItemPtr(static_cast<ArrayIndexT>(b)), size, size);
    };
    if (mItemCount < 2) return true;
    const std::int32_t second = compare(2, 1);
    if (second == 0) return false;
    if (second > 0) return true;
    std::uint32_t low = 2;                   // item low - 1 ... is below the first item
    std::uint32_t high = mItemCount + 1;     // items from high on are above it
    while (high - low > 0) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (compare(middle, 1) < 0) low = middle + 1;
        else high = middle;
    }
    // low: the first item not below the first one; an equal one is the
    // Shell sort's to place.
    if (low <= mItemCount && compare(low, 1) == 0) return false;
    try {
        std::vector<unsigned char> first(size);
        CopyItemBytes(first.data(), FixedItemPtr(1), size);
        std::memmove(FixedItemPtr(1), FixedItemPtr(2), std::size_t(low - 2) * size);
        CopyItemBytes(FixedItemPtr(static_cast<ArrayIndexT>(low - 1)), first.data(), size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool LArray::SortFrontItem()
{
    if (mKeepSorted && !mIsSorted) return false;
    if (!PlaceFrontItem()) return false;
    ++mChangeCount;
    mIsSorted = true;
    mStrictAt = mChangeCount;
    return true;
}

void LArray::AdjustAllocation(std::uint32_t extraItems, std::uint32_t)
{
    std::uint64_t items = std::uint64_t(mItemCount) + extraItems;
    std::uint64_t bytes = items * mItemSize;
    if (items > std::uint64_t(std::numeric_limits<ArrayIndexT>::max()) || bytes > kMaxBytes)
        LException::Throw(err::kMemFullErr);
    InternalAdjustAllocation(static_cast<std::uint32_t>(items), static_cast<std::uint32_t>(bytes));
}

// --- order and state

void LArray::SetKeepSorted(bool keepSorted)
{
    mKeepSorted = keepSorted;
    if (keepSorted) Sort();
}

void LArray::SetComparator(LComparator* comparator, bool owns)
{
    if (!comparator) return;
    if (mOwnsComparator && mComparator != comparator) delete mComparator;
    mComparator = comparator;
    mOwnsComparator = owns;
    if (mItemCount >= 2) mIsSorted = false;
    if (mKeepSorted) Sort();
}

void LArray::AttachIterator(LArrayIterator* iterator)
{
    iterator->mNextIterator = mIteratorListHead;
    mIteratorListHead = iterator;
}

void LArray::DetachIterator(LArrayIterator* iterator)
{
    LArrayIterator** link = &mIteratorListHead;
    while (*link) {
        if (*link == iterator) {
            *link = iterator->mNextIterator;
            iterator->mNextIterator = nullptr;
            return;
        }
        link = &(*link)->mNextIterator;
    }
}

void LArray::ItemsInserted(std::uint32_t count, ArrayIndexT atIndex)
{
    for (LArrayIterator* it = mIteratorListHead; it; it = it->mNextIterator)
        it->ItemsInserted(count, atIndex);
}

void LArray::ItemsRemoved(std::uint32_t count, ArrayIndexT atIndex)
{
    for (LArrayIterator* it = mIteratorListHead; it; it = it->mNextIterator)
        it->ItemsRemoved(count, atIndex);
}

// --- storage

void LArray::InternalAdjustAllocation(std::uint32_t, std::uint32_t bytes)
{
    if (bytes == mDataAllocated) return;
    if (bytes == 0) {
        std::free(mItems);
        mItems = nullptr;
        mDataAllocated = 0;
        return;
    }
    void* block = std::realloc(mItems, bytes);
    if (!block) LException::Throw(err::kMemFullErr);
    mItems = static_cast<unsigned char*>(block);
    mDataAllocated = bytes;
}

void LArray::AdjustStorage(std::int32_t deltaItems, std::int64_t)
{
    std::int64_t newCount = std::int64_t(mItemCount) + deltaItems;
    std::uint64_t needed = std::uint64_t(newCount) * mItemSize;
    if (newCount > std::numeric_limits<ArrayIndexT>::max() || needed > kMaxBytes)
        LException::Throw(err::kMemFullErr);

    if (needed > mDataAllocated) {
        // At least double, so appending is amortised constant time; when that
        // much is not to be had, try the exact need once.
        std::uint64_t growth = std::max<std::uint64_t>(std::uint64_t(deltaItems) * mItemSize,
                                                       mDataAllocated);
        std::uint64_t request = std::min(std::uint64_t(mDataAllocated) + growth, kMaxBytes);
        void* block = std::realloc(mItems, request);
        if (!block) {
            request = needed;
            block = std::realloc(mItems, request);
        }
        if (!block) LException::Throw(err::kMemFullErr);
        mItems = static_cast<unsigned char*>(block);
        mDataAllocated = static_cast<std::uint32_t>(request);
    } else if (deltaItems < 0) {
        // Give back exactly what was removed, so the spare room stays as it was.
        std::uint32_t removed = mDataStored - static_cast<std::uint32_t>(needed);
        std::uint32_t bytes = mDataAllocated - removed;
        if (bytes == 0) {
            InternalAdjustAllocation(0, 0);
        } else if (void* block = std::realloc(mItems, bytes)) {
            mItems = static_cast<unsigned char*>(block);
            mDataAllocated = bytes;
        }
    }
    mItemCount = static_cast<std::uint32_t>(newCount);
    mDataStored = static_cast<std::uint32_t>(needed);
}

void LArray::ShiftItems(ArrayIndexT startIndex, ArrayIndexT endIndex, std::int32_t deltaItems,
                        std::int64_t)
{
    if (endIndex < startIndex) return;
    std::size_t bytes = std::size_t(endIndex - startIndex + 1) * mItemSize;
    if (bytes > 0) std::memmove(FixedItemPtr(startIndex + deltaItems), FixedItemPtr(startIndex), bytes);
}

void LArray::StoreNewItems(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                           std::uint32_t size)
{
    ++mChangeCount;
    unsigned char* slot = FixedItemPtr(atIndex);
    if (!item || (size != 0 && size < mItemSize)) {
        // No value, or a short one: the rest of each slot is zero rather than stale bytes.
        std::memset(slot, 0, std::size_t(count) * mItemSize);
        if (!item) return;
        for (std::uint32_t i = 0; i < count; ++i, slot += mItemSize)
            std::memcpy(slot, item, size);
        return;
    }
    for (std::uint32_t i = 0; i < count; ++i, slot += mItemSize)
        CopyItemBytes(slot, item, mItemSize);
}

} // namespace ch
