#pragma once
// LineList: the list of one side of a transaction (its debit, credit or
// category lines). It is a CNamedListArray in every respect; it only keeps
// its first line in place, since most sides have one line, and moves to a
// block of its own from the second on. A transaction holds its three lists
// in place, so that a transaction with a line on each side takes no memory
// beyond itself and its lines.

#include <cstdint>

#include "model/CNamedListArray.h"

namespace ch {

class LineList : public CNamedListArray {
public:
    LineList() = default;
    ~LineList() override;

    LineList(const LineList&) = delete;
    LineList& operator=(const LineList&) = delete;

protected:
    void InternalAdjustAllocation(std::uint32_t items, std::uint32_t bytes) override;
    void AdjustStorage(std::int32_t deltaItems, std::int64_t deltaBytes) override;

private:
    bool InPlace() const { return mItems == InPlaceItems(); }
    unsigned char* InPlaceItems() const { return reinterpret_cast<unsigned char*>(&mInPlace); }
    // Moves the items held in place to a block of bytes bytes.
    void MoveOutOfPlace(std::uint32_t bytes);

    mutable CNonVisual* mInPlace = nullptr;
};

} // namespace ch
