#include "model/LineList.h"

#include <cstdlib>
#include <cstring>

#include "model/foundation/LException.h"

namespace ch {

LineList::~LineList()
{
    // The storage in place is no block to free.
    if (InPlace()) {
        mItems = nullptr;
        mDataAllocated = 0;
    }
}

void LineList::MoveOutOfPlace(std::uint32_t bytes)
{
    void* block = std::malloc(bytes);
    if (!block) LException::Throw(err::kMemFullErr);
    std::memcpy(block, InPlaceItems(), mDataStored);
    mItems = static_cast<unsigned char*>(block);
    mDataAllocated = bytes;
}

void LineList::InternalAdjustAllocation(std::uint32_t items, std::uint32_t bytes)
{
    if (InPlace()) {
        // Room enough in place, or none wanted: the items stay.
        if (bytes <= sizeof mInPlace) return;
        MoveOutOfPlace(bytes);
        return;
    }
    LArray::InternalAdjustAllocation(items, bytes);
}

void LineList::AdjustStorage(std::int32_t deltaItems, std::int64_t deltaBytes)
{
    const std::int64_t newCount = std::int64_t(mItemCount) + deltaItems;
    const std::int64_t needed = newCount * mItemSize;
    if ((InPlace() || !mItems) && needed >= 0 && needed <= std::int64_t(sizeof mInPlace)) {
        mItems = InPlaceItems();
        mDataAllocated = sizeof mInPlace;
        mItemCount = static_cast<std::uint32_t>(newCount);
        mDataStored = static_cast<std::uint32_t>(needed);
        return;
    }
    // Growing out of place: from then on the array's own growth applies.
    if (InPlace()) MoveOutOfPlace(2 * sizeof mInPlace);
    LArray::AdjustStorage(deltaItems, deltaBytes);
}

} // namespace ch
