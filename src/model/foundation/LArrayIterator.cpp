#include "model/foundation/LArrayIterator.h"

namespace ch {

LArrayIterator::LArrayIterator(LArray& array, ArrayIndexT position)
    : mArray(&array)
{
    array.AttachIterator(this);
    ResetTo(position);
}

LArrayIterator::~LArrayIterator()
{
    if (mArray) mArray->DetachIterator(this);
}

ArrayIndexT LArrayIterator::IndexAfter(ArrayIndexT index) const
{
    return static_cast<std::uint32_t>(index) + 1 > mArray->GetCount() ? kAtEnd : index + 1;
}

void LArrayIterator::ResetTo(ArrayIndexT position)
{
    if (!mArray) return;
    if (position == kFromStart) {
        mCurrentIndex = kBeforeFirst;
        mNextIndex = IndexAfter(0);
    } else if (position >= 1 && static_cast<std::uint32_t>(position) <= mArray->GetCount()) {
        mCurrentIndex = position;
        mNextIndex = IndexAfter(position);
    } else {
        mCurrentIndex = kAtEnd;
        mNextIndex = kAtEnd;
    }
}

void LArrayIterator::StepForward()
{
    if (!mArray) return;
    mCurrentIndex = mNextIndex;
    mNextIndex = mCurrentIndex == kAtEnd ? kAtEnd : IndexAfter(mCurrentIndex);
}

void LArrayIterator::StepBack()
{
    if (!mArray) return;
    const ArrayIndexT count = static_cast<ArrayIndexT>(mArray->GetCount());
    if (mCurrentIndex == kAtEnd)
        mCurrentIndex = count;
    else if (mCurrentIndex == kRemoved)
        mCurrentIndex = mNextIndex == kAtEnd ? count : mNextIndex - 1;
    else if (mCurrentIndex > 0)
        mCurrentIndex -= 1;
    mNextIndex = IndexAfter(mCurrentIndex);
}

bool LArrayIterator::Next(void* outBuffer)
{
    StepForward();
    return Current(outBuffer);
}

bool LArrayIterator::Next(void* outBuffer, std::uint32_t& ioSize)
{
    StepForward();
    return Current(outBuffer, ioSize);
}

bool LArrayIterator::Previous(void* outBuffer)
{
    StepBack();
    return Current(outBuffer);
}

bool LArrayIterator::Previous(void* outBuffer, std::uint32_t& ioSize)
{
    StepBack();
    return Current(outBuffer, ioSize);
}

bool LArrayIterator::Current(void* outBuffer) const
{
    // Index states (0, at end, removed) are no item index, so the fetch fails for them.
    return mArray && mCurrentIndex > 0 && mArray->FetchItemAt(mCurrentIndex, outBuffer);
}

bool LArrayIterator::Current(void* outBuffer, std::uint32_t& ioSize) const
{
    if (!mArray || mCurrentIndex <= 0) {
        ioSize = 0;
        return false;
    }
    return mArray->FetchItemAt(mCurrentIndex, outBuffer, ioSize);
}

void* LArrayIterator::PtrToCurrent() const
{
    std::uint32_t size;
    return PtrToCurrent(size);
}

void* LArrayIterator::PtrToCurrent(std::uint32_t& outSize) const
{
    ArrayIndexT index = mCurrentIndex;
    if (!mArray || index <= 0 || !mArray->ValidIndex(index)) {
        outSize = 0;
        return nullptr;
    }
    outSize = mArray->GetItemSize(index);
    return mArray->GetItemPtr(index);
}

void* LArrayIterator::PtrToNext()
{
    StepForward();
    return PtrToCurrent();
}

void* LArrayIterator::PtrToNext(std::uint32_t& outSize)
{
    StepForward();
    return PtrToCurrent(outSize);
}

void* LArrayIterator::PtrToPrevious()
{
    StepBack();
    return PtrToCurrent();
}

void* LArrayIterator::PtrToPrevious(std::uint32_t& outSize)
{
    StepBack();
    return PtrToCurrent(outSize);
}

void LArrayIterator::ItemsInserted(std::uint32_t count, ArrayIndexT atIndex)
{
    const std::int64_t delta = count;
    if (mCurrentIndex == kRemoved) {
        if (mNextIndex >= atIndex) mNextIndex = static_cast<ArrayIndexT>(mNextIndex + delta);
        return;
    }
    // Items inserted at or before the current one are not visited; those after it are.
    if (mCurrentIndex >= atIndex) mCurrentIndex = static_cast<ArrayIndexT>(mCurrentIndex + delta);
    if (mCurrentIndex == kAtEnd)
        mNextIndex = kAtEnd;
    else if (mCurrentIndex != kArrayGone)
        mNextIndex = IndexAfter(mCurrentIndex);
}

void LArrayIterator::ItemsRemoved(std::uint32_t count, ArrayIndexT atIndex)
{
    const std::int64_t rangeEnd = std::int64_t(atIndex) + count;  // first index after the range
    const std::uint32_t arrayCount = mArray->GetCount();

    if (mCurrentIndex == kRemoved) {
        // The removed item's follower moves down too when items before it go,
        // or becomes whatever now follows the range when it went with them.
        if (mNextIndex > 0 && atIndex < mNextIndex) {
            if (rangeEnd <= mNextIndex)
                mNextIndex = static_cast<ArrayIndexT>(mNextIndex - std::int64_t(count));
            else
                mNextIndex = static_cast<std::uint32_t>(atIndex) > arrayCount ? kAtEnd : atIndex;
        }
        return;
    }
    if (mCurrentIndex < atIndex) return;

    if (rangeEnd > mCurrentIndex) {
        // The current item went: the next step yields the item that followed the range.
        mNextIndex = static_cast<std::uint32_t>(atIndex) > arrayCount ? kAtEnd : atIndex;
        mCurrentIndex = kRemoved;
    } else {
        mCurrentIndex = static_cast<ArrayIndexT>(mCurrentIndex - std::int64_t(count));
        mNextIndex = IndexAfter(mCurrentIndex);
    }
}

void LArrayIterator::ArrayDied()
{
    mArray = nullptr;
    mNextIterator = nullptr;
    mCurrentIndex = kArrayGone;
    mNextIndex = kArrayGone;
}

} // namespace ch
