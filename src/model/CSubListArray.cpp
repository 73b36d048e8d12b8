#include "model/CSubListArray.h"

#include <algorithm>

namespace ch {

CSubListArray::CSubListArray(LComparator* comparator, bool keepSorted, std::size_t subListCount,
                             LComparator* subListComparator)
    : CNamedListArray(comparator, keepSorted)
{
    LComparator* shared = subListComparator ? subListComparator : GetComparator();
    for (std::size_t i = 0; i < subListCount; ++i) {
        auto list = std::make_unique<CNamedListArray>();
        list->SetComparator(shared, subListComparator != nullptr && i == 0);
        list->SetKeepSorted(keepSorted);
        mSubLists.push_back(std::move(list));
    }
}

// The sub-lists go first: the first may own the comparator the others use.
CSubListArray::~CSubListArray()
{
    while (!mSubLists.empty()) mSubLists.pop_back();
}

ArrayIndexT CSubListArray::AddItem(const void* item, std::uint32_t size)
{
    return InsertItemsAt(1, kLastIndex, item, size);
}

void CSubListArray::RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex)
{
    ArrayIndexT first = atIndex;
    if (count == 0 || !ValidIndex(first)) {
        CNamedListArray::RemoveItemsAt(count, atIndex);
        return;
    }
    if (first == 1 && count >= GetCount()) {
        // Everything goes (the root empties its lists this way).
        for (auto& list : mSubLists) {
            list->StopBroadcasting();
            list->RemoveItemsAt(list->GetCount(), 1);
            list->StartBroadcasting();
        }
        CNamedListArray::RemoveItemsAt(count, atIndex);
        return;
    }
    std::vector<CNonVisual*> leaving;
    std::uint32_t last = std::min<std::uint32_t>(std::uint32_t(first) + count - 1, GetCount());
    for (std::uint32_t i = std::uint32_t(first); i <= last; ++i)
        leaving.push_back(ObjectAt(static_cast<ArrayIndexT>(i)));
    CNamedListArray::RemoveItemsAt(count, atIndex);
    for (CNonVisual* object : leaving) {
        if (InFullList(object)) continue;   // listed twice: it stays filed
        for (std::size_t i = 0; i < mSubLists.size(); ++i) Leave(i, object);
    }
}

void CSubListArray::Sort()
{
    CNamedListArray::Sort();
    for (auto& list : mSubLists) list->Sort();
}

bool CSubListArray::AllInStrictNameOrder() const
{
    return InStrictNameOrder() &&
           std::all_of(mSubLists.begin(), mSubLists.end(), [](const auto& list) {
               return list->GetCount() < 2 || list->InStrictNameOrder();
           });
}

bool CSubListArray::SortFrontObject(const CNonVisual* object)
{
    bool placed = CNamedListArray::SortFrontObject(object);
    for (auto& list : mSubLists) placed = list->SortFrontObject(object) && placed;
    return placed;
}

void CSubListArray::SetNotSorted()
{
    CNamedListArray::SetNotSorted();
    for (auto& list : mSubLists) list->SetNotSorted();
}

bool CSubListArray::RemoveObject(CNonVisual* object)
{
    CNamedListArray::RemoveObject(object);
    for (std::size_t i = 0; i < mSubLists.size(); ++i) Leave(i, object);
    return true;
}

void CSubListArray::FileInto(std::size_t index, std::uint32_t count, ArrayIndexT atIndex,
                             const void* item, std::uint32_t size)
{
    mSubLists.at(index)->InsertItemsAt(count, atIndex, item, size);
}

void CSubListArray::JoinBeforeLast(std::size_t index, CNonVisual* object)
{
    CNamedListArray& list = *mSubLists.at(index);
    if (!object || list.FetchIndexOfObject(object) > 0) return;
    auto count = static_cast<ArrayIndexT>(list.GetCount());
    list.InsertObjectAt(object, count > 0 ? count : 1);
}

void CSubListArray::Leave(std::size_t index, CNonVisual* object)
{
    if (object) mSubLists.at(index)->RemoveObject(object);
}

bool CSubListArray::Holds(std::size_t index, const CNonVisual* object) const
{
    return mSubLists.at(index)->FetchIndexOfObject(object) > 0;
}

} // namespace ch
