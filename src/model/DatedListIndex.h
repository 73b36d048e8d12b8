#pragma once
// DatedListIndex: a look-up by date kept beside one list of dated model
// objects (the transaction list, an account's booking lines). It holds the
// list's positions ordered by the objects' sort dates, so that the objects of
// a date range are found without walking the whole list.
//
// The index is made on first use and made again whenever the list has changed
// (LArray::GetChangeCount) or any sort date has changed since
// (CNonVisual::SortDateChanges), so its answers are always those of a walk
// over the list as it stands. Main thread only, like the lists.

#include <cstdint>
#include <vector>

#include "model/foundation/LArray.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CNamedListArray;
class CNonVisual;

class DatedListIndex {
public:
    // The 1-based positions of the list's objects dated from..to (both
    // inclusive), ordered by date and, within a date, by position.
    struct Range {
        const ArrayIndexT* first = nullptr;
        const ArrayIndexT* last = nullptr;
        const ArrayIndexT* begin() const { return first; }
        const ArrayIndexT* end() const { return last; }
        bool empty() const { return first == last; }
    };
    Range Within(const CNamedListArray& list, DateT from, DateT to);

private:
    void Refresh(const CNamedListArray& list);

    const CNamedListArray* mList = nullptr;
    std::uint64_t mListChanges = 0;
    std::uint64_t mDateChanges = 0;
    std::vector<DateT> mDates;            // ascending
    std::vector<ArrayIndexT> mPositions;  // the position of each date's object
};

} // namespace ch
