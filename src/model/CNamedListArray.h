#pragma once
// CNamedListArray: the list of model objects that every collection of the
// document uses. It holds object pointers (never the objects: the document
// owns them), tells its listeners of insertions (2005, then 2015 with the
// object) and removals (2005, then 2016 with the first removed object), and
// finds objects by id, by name and by the beginning of a name. Positions are
// 1-based; kNoPosition (-1) means none.
//
// Accounts, account types, categories and category groups are unique by id
// in a list: inserting one whose id is taken is refused with kRefused.
//
// Look-up by id goes through an index that is built on first use and kept up
// to date by every change of the list and by every change of a listed
// object's id, so it answers in constant time whatever the list's order.

#include <cstdint>
#include <memory>
#include <unordered_set>

#include "model/CNonVisual.h"
#include "model/foundation/LArray.h"
#include "model/foundation/LBroadcaster.h"

namespace ch {

class LComparator;

namespace detail {
// The id index of a list. A base of its own, declared before the array and
// broadcaster parts, so that it outlives the list's last message (202).
class NamedListIdIndex {
protected:
    struct Index;
    NamedListIdIndex();
    ~NamedListIdIndex();
    NamedListIdIndex(const NamedListIdIndex&) = delete;
    NamedListIdIndex& operator=(const NamedListIdIndex&) = delete;

    mutable std::unique_ptr<Index> mIdIndex;   // null until a look-up by id needs it
};
} // namespace detail

class CNamedListArray : private detail::NamedListIdIndex, public LArray, public LBroadcaster {
public:
    static constexpr ArrayIndexT kNoPosition = -1;
    static constexpr ArrayIndexT kRefused = -1;

    // No comparator of its own (the shared one), sorted, keep-sorted off.
    CNamedListArray();
    // The list owns the comparator.
    explicit CNamedListArray(LComparator* comparator, bool keepSorted = false);
    // Copies the items and flags; no listeners.
    CNamedListArray(const CNamedListArray& source);
    CNamedListArray& operator=(const CNamedListArray& source);
    // Sends 202, then the array goes; the objects are not touched.
    ~CNamedListArray() override;

    // --- changing
    // Refuses (kRefused, no broadcast) an account, account type, category or
    // category group whose id is already listed; else inserts, broadcasts 2005
    // and, for a single item, 2015 with the object.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;
    // Removes, then broadcasts 2005 and 2016 with the object that stood at
    // atIndex (null when atIndex named no item).
    void RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex) override;
    ArrayIndexT AddItem(const void* item, std::uint32_t size = 0) override;
    ArrayIndexT AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    // Typed forms of InsertItemsAt for one object.
    ArrayIndexT InsertObjectAt(CNonVisual* object, ArrayIndexT atIndex);
    ArrayIndexT AppendObject(CNonVisual* object) { return InsertObjectAt(object, kLastIndex); }
    // Inserts the objects in their order from atIndex on (clamped as
    // InsertItemsAt) with one 2005 for all; a keep-sorted list, or one of
    // the objects unique by id, takes them one by one through
    // InsertObjectAt. Returns the index of the first, 0 when none went in.
    // A caller that knows every object to be of one type (none null) names
    // it, and the objects are not looked at for it.
    ArrayIndexT InsertObjectsAt(CNonVisual* const* objects, std::uint32_t count, ArrayIndexT atIndex,
                                FourCharCode allOfType = 0);

    // Clears the sorted flag, so that the next sort or keep-sorted insertion
    // orders the list again.
    virtual void SetNotSorted();
    // Sorts, and notes the renames made so far (see InStrictNameOrder).
    void Sort() override;
    // Lets InStrictNameOrder answer: for a list whose objects count every
    // change of their display name (CNonVisual::NoteNameChanged), such as
    // the accounts' (name and accounting number).
    void TrackNameOrder() { mTracksNameOrder = true; }
    // Whether the list tracks its name order and is ordered by name
    // (LNamedlistArrayComparator), no two names equal, as its last sort left
    // it: neither the list nor any object's name has changed since. Names
    // are then found by halving.
    bool InStrictNameOrder() const;
    // After the object was inserted at the front of a list in strict name
    // order (asked before the object got its name): the object moved to its
    // place by halving. False, and the list unsorted, when an object of the
    // same name is listed. A list with sub-lists does the same in each
    // sub-list the object went to the front of.
    virtual bool SortFrontObject(const CNonVisual* object);
    // Removes the object's first occurrence (with the broadcasts of
    // RemoveItemsAt); false when it is not listed. The object is not deleted.
    virtual bool RemoveObject(CNonVisual* object);
    // Removes every listed occurrence of the objects in one pass (keeping the
    // order of the rest), then broadcasts 2005 and 2016 once, with the first
    // object removed; nothing is broadcast when none was listed. Returns the
    // number of items removed. Iterators see the items go from the end.
    std::uint32_t RemoveObjects(const std::unordered_set<const CNonVisual*>& objects);
    // A batch removal whose owner hears of each object later: the objects are
    // removed as RemoveObjects does and remembered, until ForgetTakenOut
    // (true once for each remembered object) or ClearTakenOut.
    std::uint32_t TakeOut(const std::unordered_set<const CNonVisual*>& objects);
    bool ForgetTakenOut(const CNonVisual* object);
    void ClearTakenOut() { mTakenOut.reset(); }

    // --- look-ups
    // The object at a position (kLastIndex = the last); null when none.
    CNonVisual* ObjectAt(ArrayIndexT index) const;

    // The first object with the id: sets outObject and outPosition and returns
    // its display name. None: null object, kNoPosition, no name.
    TextRef GetValueForId(ObjectIdT id, CNonVisual*& outObject, ArrayIndexT& outPosition) const;
    CNonVisual* GetValueForId(ObjectIdT id) const;
    // The first object whose display name equals the name, ignoring case:
    // sets outObject and outPosition and returns its id. outPosition is 1
    // first; none: -1 and outObject untouched.
    ObjectIdT GetIdForValue(TextRef name, CNonVisual*& outObject, ArrayIndexT& outPosition) const;
    // The last position of the object; 0 when absent.
    ArrayIndexT FetchIndexOfObject(const CNonVisual* object) const;
    // True when another object has the object's id: sets outOther, its name
    // and its position. Else outOther null, position kNoPosition.
    bool CheckIdIsUnique(const CNonVisual* object, CNonVisual*& outOther,
                         char (&outName)[kNameSize], ArrayIndexT& outPosition) const;

    // Start after ioPosition (0: from the first), counting each object
    // visited into ioPosition; the first object whose display name begins
    // with the name (or equals it), ignoring case. Calling again with the
    // returned position finds the next match. The two behave alike.
    virtual CNonVisual* FindObjectByName(TextRef name, ArrayIndexT& ioPosition) const;
    virtual CNonVisual* FindObjectStartingWithName(TextRef name, ArrayIndexT& ioPosition) const;
    // Sorts, then the object named text; else the object whose id the text
    // reads as (see TextToId); else null.
    virtual CNonVisual* SearchObject(TextRef text, ArrayIndexT& ioPosition);

    // The sum of the objects' amounts.
    double Get_Amount() const;

    // A text read as an id: its leading integer; a value of 0 counts as id 0
    // only for the text "0", otherwise as kNoSuchId.
    static constexpr ObjectIdT kNoSuchId = -999;
    static ObjectIdT TextToId(TextRef text);

    // Called by CNonVisual whenever an object's id changes.
    static void NoteIdChanged(const CNonVisual* object);

    // The object an item holds (items are object pointers); null for no item.
    static CNonVisual* ObjectFromItem(const void* item);

private:
    // The first object with the id and its position (when asked for).
    CNonVisual* FirstWithId(ObjectIdT id, ArrayIndexT* outPosition) const;
    // RemoveObjects, collecting the objects removed when asked.
    std::uint32_t RemoveListed(const std::unordered_set<const CNonVisual*>& objects,
                               std::unordered_set<const CNonVisual*>* outRemoved);
    // The first position of an object known to be listed.
    ArrayIndexT FirstPositionOf(const CNonVisual* object) const;
    void EnsureIndex() const;
    void IndexAdd(CNonVisual* object, std::uint32_t times = 1) const;
    void IndexRemove(const CNonVisual* object) const;
    void DropIndex() const;
    // Occurrences of the object according to the index (built on demand).
    std::uint32_t Occurrences(const CNonVisual* object) const;

    bool mInsertRouted = false;   // set by InsertItemsAt, read by AddItem
    std::uint64_t mNameChangesAtSort = ~std::uint64_t(0);   // CNonVisual::NameChanges() at the last sort
    bool mTracksNameOrder = false;
    std::unique_ptr<std::unordered_set<const CNonVisual*>> mTakenOut;   // see TakeOut
};

// The number of objects of a list; 0 for no list.
inline ArrayIndexT CountOf(const CNamedListArray* list)
{
    return list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
}

} // namespace ch
