#pragma once
// CSubListArray: a named object list that also keeps ready-made sub-lists of
// its objects by kind (the account, account-type, category, category-group
// and currency lists), so that pages and pop-up menus take a kind without
// filtering. The sub-lists are owned; the objects are not. Each subclass
// decides which sub-lists an object enters on insertion and moves it when its
// kind changes; sorting, unsorting and removal reach every sub-list here.

#include <cstddef>
#include <memory>
#include <vector>

#include "model/CNamedListArray.h"

namespace ch {

class CSubListArray : public CNamedListArray {
public:
    ~CSubListArray() override;

    // Routed through InsertItemsAt, so that sub-lists are filed on every insertion.
    ArrayIndexT AddItem(const void* item, std::uint32_t size = 0) override;
    // Objects that leave the full list leave every sub-list too.
    void RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex) override;
    // The full list and every sub-list.
    void Sort() override;
    void SetNotSorted() override;
    // Removes the object from the full list and from every sub-list; true.
    bool RemoveObject(CNonVisual* object) override;
    // Whether the full list and every sub-list are in strict name order.
    bool AllInStrictNameOrder() const;
    // The full list and each sub-list the object went to the front of.
    bool SortFrontObject(const CNonVisual* object) override;

    std::size_t SubListCount() const { return mSubLists.size(); }
    CNamedListArray* SubList(std::size_t index) const { return mSubLists.at(index).get(); }

protected:
    // subListCount sub-lists ordered by the full list's comparator (not owned)
    // or, when subListComparator is given, by that one (owned by the first
    // sub-list); all with the full list's keep-sorted setting.
    CSubListArray(LComparator* comparator, bool keepSorted, std::size_t subListCount,
                  LComparator* subListComparator = nullptr);

    // Inserts the object into a sub-list the way the full list got it.
    void FileInto(std::size_t index, std::uint32_t count, ArrayIndexT atIndex, const void* item,
                  std::uint32_t size);
    // Joins a sub-list before its last entry (a keep-sorted list places it itself).
    void JoinBeforeLast(std::size_t index, CNonVisual* object);
    // Leaves a sub-list; nothing when absent.
    void Leave(std::size_t index, CNonVisual* object);
    bool Holds(std::size_t index, const CNonVisual* object) const;
    bool InFullList(const CNonVisual* object) const { return FetchIndexOfObject(object) > 0; }

private:
    std::vector<std::unique_ptr<CNamedListArray>> mSubLists;
};

} // namespace ch
