#pragma once
// A cursor over an LArray that the array keeps valid while items are inserted
// or removed: a loop may remove the item it is on (the next step yields the
// item that followed) or other items, and the walk neither repeats nor skips.
// When the array is destroyed the iterator stops: every step and fetch returns
// false.

#include "model/foundation/LArray.h"

namespace ch {

class LArrayIterator {
public:
    // Positions for the constructor and ResetTo.
    static constexpr ArrayIndexT kFromStart = 0;
    static constexpr ArrayIndexT kFromEnd = -1;

    // Index states besides item indices.
    static constexpr ArrayIndexT kBeforeFirst = 0;  // current: before the first item
    static constexpr ArrayIndexT kAtEnd = -2;       // current or next: past the last item
    static constexpr ArrayIndexT kRemoved = -4;     // current: its item was removed
    static constexpr ArrayIndexT kArrayGone = -6;   // both: the array was destroyed

    explicit LArrayIterator(LArray& array, ArrayIndexT position = kFromStart);
    ~LArrayIterator();
    LArrayIterator(const LArrayIterator&) = delete;
    LArrayIterator& operator=(const LArrayIterator&) = delete;

    // 0: before the first item; 1..count: on that item; anything else: at end.
    void ResetTo(ArrayIndexT position);

    // Step forward (or back) and fetch the item now current; false when there is none.
    bool Next(void* outBuffer);
    bool Next(void* outBuffer, std::uint32_t& ioSize);
    bool Previous(void* outBuffer);
    bool Previous(void* outBuffer, std::uint32_t& ioSize);
    bool Current(void* outBuffer) const;
    bool Current(void* outBuffer, std::uint32_t& ioSize) const;

    // As above, returning the item's address (null when none); valid until the array changes size.
    void* PtrToCurrent() const;
    void* PtrToCurrent(std::uint32_t& outSize) const;
    void* PtrToNext();
    void* PtrToNext(std::uint32_t& outSize);
    void* PtrToPrevious();
    void* PtrToPrevious(std::uint32_t& outSize);

    ArrayIndexT GetCurrentIndex() const { return mCurrentIndex; }
    ArrayIndexT GetNextIndex() const { return mNextIndex; }

private:
    friend class LArray;

    void StepForward();
    void StepBack();
    ArrayIndexT IndexAfter(ArrayIndexT index) const;

    // Called by the array.
    void ItemsInserted(std::uint32_t count, ArrayIndexT atIndex);
    void ItemsRemoved(std::uint32_t count, ArrayIndexT atIndex);
    void ArrayDied();

    LArrayIterator* mNextIterator = nullptr;
    LArray* mArray;
    ArrayIndexT mCurrentIndex = 0;
    ArrayIndexT mNextIndex = 0;
};

} // namespace ch
