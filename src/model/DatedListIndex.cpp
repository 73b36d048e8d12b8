#include "model/DatedListIndex.h"

#include <algorithm>
#include <numeric>

#include "model/CNamedListArray.h"

namespace ch {

void DatedListIndex::Refresh(const CNamedListArray& list)
{
    if (mList == &list && mListChanges == list.GetChangeCount() &&
        mDateChanges == CNonVisual::SortDateChanges())
        return;
    const auto count = static_cast<ArrayIndexT>(list.GetCount());
    std::vector<DateT> dates(static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i) {
        const CNonVisual* object = list.ObjectAt(i);
        dates[static_cast<std::size_t>(i - 1)] = object ? object->Get_SortDate() : 0;
    }
    std::vector<ArrayIndexT> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 1);
    // Stable: equal dates keep list order, so a range reads in list order within a date.
    std::stable_sort(order.begin(), order.end(), [&](ArrayIndexT a, ArrayIndexT b) {
        return dates[static_cast<std::size_t>(a - 1)] < dates[static_cast<std::size_t>(b - 1)];
    });
    mDates.resize(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) mDates[i] = dates[static_cast<std::size_t>(order[i] - 1)];
    mPositions = std::move(order);
    mList = &list;
    mListChanges = list.GetChangeCount();
    mDateChanges = CNonVisual::SortDateChanges();
}

DatedListIndex::Range DatedListIndex::Within(const CNamedListArray& list, DateT from, DateT to)
{
    Refresh(list);
    if (from > to) return {};
    const auto low = std::lower_bound(mDates.begin(), mDates.end(), from);
    const auto high = std::upper_bound(low, mDates.end(), to);
    const ArrayIndexT* base = mPositions.data();
    return {base + (low - mDates.begin()), base + (high - mDates.begin())};
}

} // namespace ch
