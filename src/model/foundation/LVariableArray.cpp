#include "model/foundation/LVariableArray.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "model/foundation/LComparator.h"
#include "model/foundation/LException.h"
#include "model/foundation/StPointerBlock.h"

namespace ch {

namespace {

constexpr std::int64_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();
// The offsets of this many items still fit in a block whose size is 32-bit.
constexpr std::int64_t kMaxItems = kMaxBytes / sizeof(std::uint32_t) - 1;

} // namespace

// --- construction

LVariableArray::LVariableArray(LComparator* comparator, bool keepSorted)
    : LArray(0, comparator, keepSorted)
{
    ReallocateOffsets(0);
}

LVariableArray::LVariableArray(void* itemsBlock, void* offsetsBlock, std::uint32_t offsetsByteCount,
                               LComparator* comparator, bool isSorted, bool keepSorted)
    : LArray(0, comparator, keepSorted)
{
    const auto* offsets = static_cast<const std::uint32_t*>(offsetsBlock);
    if (!offsets || offsetsByteCount < sizeof(std::uint32_t)) LException::Throw(err::kParamErr);
    const std::uint32_t count = offsetsByteCount / sizeof(std::uint32_t) - 1;
    if (offsets[0] != 0) LException::Throw(err::kParamErr);
    for (std::uint32_t i = 1; i <= count; ++i) {
        if (offsets[i] < offsets[i - 1]) LException::Throw(err::kParamErr);
    }
    if (offsets[count] > 0 && !itemsBlock) LException::Throw(err::kParamErr);

    mOffsets = static_cast<std::uint32_t*>(offsetsBlock);
    mOffsetsAllocated = count;
    mItems = static_cast<unsigned char*>(itemsBlock);
    mItemCount = count;
    mDataStored = offsets[count];
    mDataAllocated = offsets[count];
    SetSortedFlag(isSorted);
}

LVariableArray::LVariableArray(const LVariableArray& source) : LArray(source)
{
    CopyVariableArray(source);
}

LVariableArray& LVariableArray::operator=(const LVariableArray& source)
{
    if (this == &source || IsLocked()) return *this;
    // The new offsets are taken before anything of the old contents goes.
    StPointerBlock offsets((std::size_t(source.mItemCount) + 1) * sizeof(std::uint32_t));
    std::memcpy(offsets.Get(), source.mOffsets, (std::size_t(source.mItemCount) + 1) * sizeof(std::uint32_t));
    LArray::operator=(source);
    DestroyVariableArray();
    mOffsets = static_cast<std::uint32_t*>(offsets.Release());
    mOffsetsAllocated = source.mItemCount;
    return *this;
}

LVariableArray::~LVariableArray()
{
    DestroyVariableArray();
}

void LVariableArray::CopyVariableArray(const LVariableArray& source)
{
    ReallocateOffsets(source.mItemCount);
    std::memcpy(mOffsets, source.mOffsets, (std::size_t(source.mItemCount) + 1) * sizeof(std::uint32_t));
}

void LVariableArray::DestroyVariableArray()
{
    std::free(mOffsets);
    mOffsets = nullptr;
    mOffsetsAllocated = 0;
}

// --- reading

std::uint32_t LVariableArray::GetItemSize(ArrayIndexT index) const
{
    return ValidIndex(index) ? GrabItemSize(index) : 0;
}

void* LVariableArray::GetItemPtr(ArrayIndexT index) const
{
    return mItems + mOffsets[index - 1];
}

void* LVariableArray::GetOffsetsHandle()
{
    AdjustAllocation(0, 0);
    return mOffsets;
}

std::uint32_t LVariableArray::GrabItemSize(ArrayIndexT index) const
{
    return mOffsets[index] - mOffsets[index - 1];
}

std::uint32_t LVariableArray::GrabItemRangeSize(ArrayIndexT startIndex, ArrayIndexT endIndex) const
{
    return endIndex < startIndex ? 0 : mOffsets[endIndex] - mOffsets[startIndex - 1];
}

// --- changing

ArrayIndexT LVariableArray::AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                                          std::uint32_t size)
{
    if (count == 0 || !item || IsLocked() || !ValidIndex(atIndex)) return 0;
    RemoveItemsAt(count, atIndex);
    return InsertItemsAt(count, atIndex, item, size);
}

void LVariableArray::Sort()
{
    if (IsSorted() || mItemCount < 2) {
        SetSortedFlag(true);
        return;
    }

    // The Shell sort of LArray, gaps and strict "<" alike, so equal items end
    // up where they would in an array of one item size.
    const auto count = static_cast<ArrayIndexT>(mItemCount);
    ArrayIndexT gap = 1;
    if (count >= 18) {
        while (gap < count / 9) gap = 3 * gap + 1;
    }
    const LComparator* comparator = GetComparator();
    for (; gap >= 1; gap /= 3) {
        for (ArrayIndexT k = 1; k + gap <= count; ++k) {
            const std::uint32_t size = GrabItemSize(k + gap);
            StPointerBlock held(size);
            if (size > 0) std::memcpy(held.Get(), GetItemPtr(k + gap), size);
            ArrayIndexT j = k;
            while (j >= 1 && comparator->Compare(held.Get(), GetItemPtr(j), size, GrabItemSize(j)) < 0) {
                InternalCopyItem(j, j + gap);
                j -= gap;
            }
            PokeItem(j + gap, held.Get(), size);
        }
    }
    SetSortedFlag(true);
}

void LVariableArray::PokeItem(ArrayIndexT index, const void* item, std::uint32_t size)
{
    ResizeSlot(index, size);
    if (size > 0 && item) std::memcpy(GetItemPtr(index), item, size);
}

void LVariableArray::InternalCopyItem(ArrayIndexT sourceIndex, ArrayIndexT destIndex)
{
    if (sourceIndex == destIndex) return;
    const std::uint32_t size = GrabItemSize(sourceIndex);
    // The resize may move the source; its address is taken afterwards.
    ResizeSlot(destIndex, size);
    if (size > 0) std::memmove(GetItemPtr(destIndex), GetItemPtr(sourceIndex), size);
}

void LVariableArray::ResizeSlot(ArrayIndexT index, std::uint32_t newSize)
{
    const std::uint32_t oldSize = GrabItemSize(index);
    if (newSize == oldSize) return;
    const std::uint32_t end = mOffsets[index];
    const std::int64_t delta = std::int64_t(newSize) - oldSize;
    if (delta > 0) {
        const std::uint32_t tail = mDataStored - end;
        AdjustStorage(0, delta);
        if (tail > 0) std::memmove(mItems + end + delta, mItems + end, tail);
    } else {
        const std::uint32_t tail = mDataStored - end;
        if (tail > 0) std::memmove(mItems + end + delta, mItems + end, tail);
        AdjustStorage(0, delta);
    }
    for (std::uint32_t i = static_cast<std::uint32_t>(index); i <= mItemCount; ++i)
        mOffsets[i] = static_cast<std::uint32_t>(mOffsets[i] + delta);
}

// --- storage

void LVariableArray::AdjustAllocation(std::uint32_t extraItems, std::uint32_t extraBytes)
{
    const std::int64_t items = std::int64_t(mItemCount) + extraItems;
    const std::int64_t bytes = std::int64_t(mDataStored) + extraBytes;
    if (items > kMaxItems || bytes > kMaxBytes) LException::Throw(err::kMemFullErr);
    InternalAdjustAllocation(static_cast<std::uint32_t>(items), static_cast<std::uint32_t>(bytes));
}

void LVariableArray::InternalAdjustAllocation(std::uint32_t items, std::uint32_t bytes)
{
    if (bytes != mDataAllocated) {
        if (bytes == 0) {
            std::free(mItems);
            mItems = nullptr;
        } else {
            void* block = std::realloc(mItems, bytes);
            if (!block) LException::Throw(err::kMemFullErr);
            mItems = static_cast<unsigned char*>(block);
        }
        mDataAllocated = bytes;
    }
    if (items != mOffsetsAllocated) ReallocateOffsets(items);
}

void LVariableArray::ReallocateOffsets(std::uint32_t items)
{
    const bool fresh = mOffsets == nullptr;
    void* block = std::realloc(mOffsets, (std::size_t(items) + 1) * sizeof(std::uint32_t));
    if (!block) LException::Throw(err::kMemFullErr);
    mOffsets = static_cast<std::uint32_t*>(block);
    if (fresh) mOffsets[0] = 0;
    mOffsetsAllocated = items;
}

void LVariableArray::AdjustStorage(std::int32_t deltaItems, std::int64_t deltaBytes)
{
    const std::int64_t newCount = std::int64_t(mItemCount) + deltaItems;
    const std::int64_t newStored = std::int64_t(mDataStored) + deltaBytes;
    if (newCount < 0 || newStored < 0) LException::Throw(err::kParamErr);
    if (newCount > kMaxItems || newStored > kMaxBytes) LException::Throw(err::kMemFullErr);

    // Exactly what is needed; what is removed is given back, so spare room
    // stays what it was.
    if (newStored > mDataAllocated) {
        InternalAdjustAllocation(mOffsetsAllocated, static_cast<std::uint32_t>(newStored));
    } else if (deltaBytes < 0) {
        const std::int64_t bytes = std::int64_t(mDataAllocated) + deltaBytes;
        if (bytes == 0) {
            InternalAdjustAllocation(mOffsetsAllocated, 0);
        } else if (void* block = std::realloc(mItems, static_cast<std::size_t>(bytes))) {
            mItems = static_cast<unsigned char*>(block);
            mDataAllocated = static_cast<std::uint32_t>(bytes);
        }
    }
    if (newCount > mOffsetsAllocated) {
        ReallocateOffsets(static_cast<std::uint32_t>(newCount));
    } else if (deltaItems < 0) {
        const std::uint32_t items = mOffsetsAllocated - static_cast<std::uint32_t>(-deltaItems);
        if (void* block = std::realloc(mOffsets, (std::size_t(items) + 1) * sizeof(std::uint32_t))) {
            mOffsets = static_cast<std::uint32_t*>(block);
            mOffsetsAllocated = items;
        }
    }
    mItemCount = static_cast<std::uint32_t>(newCount);
    mDataStored = static_cast<std::uint32_t>(newStored);
}

void LVariableArray::ShiftItems(ArrayIndexT startIndex, ArrayIndexT endIndex, std::int32_t deltaItems,
                                std::int64_t deltaBytes)
{
    if (endIndex < startIndex) return;
    const std::uint32_t from = mOffsets[startIndex - 1];
    const std::uint32_t to = mOffsets[endIndex];
    if (to > from) std::memmove(mItems + from + deltaBytes, mItems + from, to - from);
    const auto entries = static_cast<std::size_t>(endIndex - startIndex + 1);
    std::memmove(mOffsets + startIndex + deltaItems, mOffsets + startIndex, entries * sizeof(std::uint32_t));
    for (ArrayIndexT i = startIndex + deltaItems; i <= endIndex + deltaItems; ++i)
        mOffsets[i] = static_cast<std::uint32_t>(mOffsets[i] + deltaBytes);
}

void LVariableArray::StoreNewItems(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                                   std::uint32_t size)
{
    std::uint32_t offset = mOffsets[atIndex - 1];
    for (std::uint32_t j = 0; j < count; ++j) {
        if (size > 0) {
            if (item)
                std::memcpy(mItems + offset, item, size);
            else
                std::memset(mItems + offset, 0, size);
        }
        offset += size;
        mOffsets[atIndex + static_cast<ArrayIndexT>(j)] = offset;
    }
}

} // namespace ch
