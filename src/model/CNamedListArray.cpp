#include "model/CNamedListArray.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <typeinfo>
#include <utility>
#include <vector>

#include "model/ModelComparators.h"
#include "model/foundation/LComparator.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// How many id-index entries (over all lists) name each object, and a counter
// that moves whenever one of those objects changes its id: an index built
// before the last move is rebuilt before it answers.
std::unordered_map<const CNonVisual*, std::uint32_t>& IndexedObjects()
{
    // Never destroyed: lists held in static storage may go after it at exit.
    static auto* objects = new std::unordered_map<const CNonVisual*, std::uint32_t>;
    return *objects;
}
std::uint64_t gIdEpoch = 0;

bool IsUniqueById(FourCharCode typeCode)
{
    return typeCode == type::kMasterExpenseType || typeCode == type::kExpenseType ||
           typeCode == type::kAccount || typeCode == type::kAccountType;
}

} // namespace

CNonVisual* CNamedListArray::ObjectFromItem(const void* item)
{
    CNonVisual* object = nullptr;
    if (item) std::memcpy(&object, item, sizeof object);
    return object;
}

struct detail::NamedListIdIndex::Index {
    struct Entry {
        ObjectIdT id;           // the id the object had when it was indexed
        std::uint32_t count;    // its occurrences in the list
    };
    std::unordered_multimap<ObjectIdT, CNonVisual*> byId;
    std::unordered_map<const CNonVisual*, Entry> byObject;
    std::uint64_t epoch = 0;

    // While every listed id is small (below a few times the count), the
    // object of each id at its place, so that a look-up reads one slot:
    // null for none, kSeveral where several objects (or one listed twice)
    // have it and the maps must answer. An id that does not fit turns it off.
    std::vector<CNonVisual*> dense;
    bool denseOn = true;

    static CNonVisual* Several()
    {
        static char tag;
        return reinterpret_cast<CNonVisual*>(&tag);
    }

    void DenseAdd(CNonVisual* object, ObjectIdT id, bool isNew, std::uint32_t times, std::uint32_t listCount)
    {
        if (!denseOn) return;
        if (id < 0 || static_cast<std::uint64_t>(id) >= 1024 + 4 * std::uint64_t(listCount)) {
            denseOn = false;
            dense = {};
            return;
        }
        auto at = static_cast<std::size_t>(id);
        if (at >= dense.size()) dense.resize(std::max<std::size_t>(at + 1, dense.size() * 2), nullptr);
        CNonVisual*& slot = dense[at];
        slot = isNew && times == 1 && slot == nullptr ? object : Several();
    }

    void DenseRemove(const CNonVisual* object, ObjectIdT id)
    {
        if (!denseOn || id < 0 || static_cast<std::size_t>(id) >= dense.size()) return;
        if (dense[static_cast<std::size_t>(id)] == object) dense[static_cast<std::size_t>(id)] = nullptr;
    }

    ~Index()
    {
        auto& indexed = IndexedObjects();
        for (const auto& [object, entry] : byObject) {
            auto found = indexed.find(object);
            if (found != indexed.end() && --found->second == 0) indexed.erase(found);
        }
    }
};

detail::NamedListIdIndex::NamedListIdIndex() = default;
detail::NamedListIdIndex::~NamedListIdIndex() = default;

// --- construction

CNamedListArray::CNamedListArray()
    : LArray(sizeof(CNonVisual*), nullptr, false)
{
}

CNamedListArray::CNamedListArray(LComparator* comparator, bool keepSorted)
    : LArray(sizeof(CNonVisual*), comparator, keepSorted)
{
}

CNamedListArray::CNamedListArray(const CNamedListArray& source)
    : detail::NamedListIdIndex(), LArray(source), LBroadcaster(source)
{
}

CNamedListArray& CNamedListArray::operator=(const CNamedListArray& source)
{
    if (this != &source && !IsLocked()) {
        DropIndex();
        LArray::operator=(source);
        LBroadcaster::operator=(source);
    }
    return *this;
}

CNamedListArray::~CNamedListArray() = default;

// --- the id index

void CNamedListArray::NoteIdChanged(const CNonVisual* object)
{
    if (IndexedObjects().count(object)) ++gIdEpoch;
}

void CNamedListArray::DropIndex() const
{
    mIdIndex.reset();
}

void CNamedListArray::EnsureIndex() const
{
    if (mIdIndex && mIdIndex->epoch == gIdEpoch) return;
    DropIndex();
    mIdIndex = std::make_unique<Index>();
    mIdIndex->epoch = gIdEpoch;
    std::uint32_t count = GetCount();
    mIdIndex->byObject.reserve(count);
    mIdIndex->byId.reserve(count);
    for (std::uint32_t i = 1; i <= count; ++i) {
        if (CNonVisual* object = ObjectAt(static_cast<ArrayIndexT>(i))) IndexAdd(object);
    }
}

void CNamedListArray::IndexAdd(CNonVisual* object, std::uint32_t times) const
{
    if (!mIdIndex || !object || times == 0) return;
    auto [slot, isNew] = mIdIndex->byObject.try_emplace(object, Index::Entry{0, 0});
    if (isNew) {
        object->mInIdIndex = true;
        slot->second.id = object->Get_Id();
        mIdIndex->byId.emplace(slot->second.id, object);
        ++IndexedObjects()[object];
    }
    mIdIndex->DenseAdd(object, slot->second.id, isNew, times, GetCount());
    slot->second.count += times;
}

void CNamedListArray::IndexRemove(const CNonVisual* object) const
{
    if (!mIdIndex || !object) return;
    auto slot = mIdIndex->byObject.find(object);
    if (slot == mIdIndex->byObject.end()) return;
    if (--slot->second.count > 0) return;

    auto [first, last] = mIdIndex->byId.equal_range(slot->second.id);
    for (auto it = first; it != last; ++it) {
        if (it->second == object) {
            mIdIndex->byId.erase(it);
            break;
        }
    }
    mIdIndex->DenseRemove(object, slot->second.id);
    mIdIndex->byObject.erase(slot);
    auto& indexed = IndexedObjects();
    auto found = indexed.find(object);
    if (found != indexed.end() && --found->second == 0) indexed.erase(found);
}

std::uint32_t CNamedListArray::Occurrences(const CNonVisual* object) const
{
    EnsureIndex();
    auto slot = mIdIndex->byObject.find(object);
    return slot == mIdIndex->byObject.end() ? 0 : slot->second.count;
}

ArrayIndexT CNamedListArray::FirstPositionOf(const CNonVisual* object) const
{
    auto count = static_cast<ArrayIndexT>(GetCount());
    if (count == 0) return 0;
    // The items are one block of object pointers.
    CNonVisual* const* block = static_cast<CNonVisual* const*>(GetItemPtr(1));
    auto at = [block](ArrayIndexT i) { return block + (i - 1); };
    if (object && Occurrences(object) == 1) {
        // Its only position. In a sorted list it stands among the items that
        // compare equal to it, unless its key (a date, a name) changed since
        // the sort: then the scans below find it all the same.
        if (IsSorted() && count > 16) {
            const ArrayIndexT near = FetchIndexOf(&object, sizeof object);
            const LComparator* comparator = GetComparator();
            auto equal = [&](ArrayIndexT i) {
                return comparator->Compare(at(i), &object, sizeof object, sizeof object) == 0;
            };
            for (ArrayIndexT i = near; near > 0 && i >= 1 && equal(i); --i)
                if (*at(i) == object) return i;
            for (ArrayIndexT i = near + 1; near > 0 && i <= count && equal(i); ++i)
                if (*at(i) == object) return i;
        }
        // Search from both ends, where lists grow.
        for (ArrayIndexT low = 1, high = count; low <= high; ++low, --high) {
            if (*at(low) == object) return low;
            if (*at(high) == object) return high;
        }
        return 0;
    }
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (*at(i) == object) return i;
    }
    return 0;
}

CNonVisual* CNamedListArray::FirstWithId(ObjectIdT id, ArrayIndexT* outPosition) const
{
    if (outPosition) *outPosition = kNoPosition;
    if (GetCount() == 0) return nullptr;
    EnsureIndex();

    if (mIdIndex->denseOn) {
        const std::vector<CNonVisual*>& dense = mIdIndex->dense;
        if (id < 0 || static_cast<std::size_t>(id) >= dense.size()) return nullptr;
        CNonVisual* object = dense[static_cast<std::size_t>(id)];
        if (!object) return nullptr;
        if (object != Index::Several()) {
            if (outPosition) *outPosition = FirstPositionOf(object);
            return object;
        }
    }

    auto [first, last] = mIdIndex->byId.equal_range(id);
    if (first == last) return nullptr;
    CNonVisual* object = first->second;
    if (std::next(first) == last && mIdIndex->byObject.at(object).count == 1) {
        if (outPosition) *outPosition = FirstPositionOf(object);
        return object;
    }
    // Several objects share the id: the first in list order answers.
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* candidate = ObjectAt(i);
        if (candidate && candidate->Get_Id() == id) {
            if (outPosition) *outPosition = i;
            return candidate;
        }
    }
    return nullptr;
}

// --- changing

ArrayIndexT CNamedListArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                           const void* item, std::uint32_t size)
{
    mInsertRouted = true;
    CNonVisual* object = ObjectFromItem(item);
    if (object && IsUniqueById(object->Get_ObjectType()) && FirstWithId(object->Get_Id(), nullptr))
        return kRefused;

    ArrayIndexT index = LArray::InsertItemsAt(count, atIndex, item, size);
    if (index == 0) return 0;
    IndexAdd(object, count);

    BroadcastMessage(msg::kListChanged);
    if (count == 1) BroadcastMessage(msg::kItemInserted, object);
    return index;
}

ArrayIndexT CNamedListArray::AddItem(const void* item, std::uint32_t size)
{
    mInsertRouted = false;
    std::uint32_t before = GetCount();
    ArrayIndexT index = LArray::AddItem(item, size);
    // Without keep-sorted the array stores the item itself, past InsertItemsAt.
    if (!mInsertRouted && GetCount() > before) IndexAdd(ObjectFromItem(item));
    return index;
}

ArrayIndexT CNamedListArray::AssignItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                           const void* item, std::uint32_t size)
{
    ArrayIndexT index = LArray::AssignItemsAt(count, atIndex, item, size);
    if (index != 0) DropIndex();
    return index;
}

ArrayIndexT CNamedListArray::InsertObjectAt(CNonVisual* object, ArrayIndexT atIndex)
{
    return InsertItemsAt(1, atIndex, &object, sizeof object);
}

ArrayIndexT CNamedListArray::InsertObjectsAt(CNonVisual* const* objects, std::uint32_t count,
                                             ArrayIndexT atIndex, FourCharCode allOfType)
{
    if (count == 0 || !objects) return 0;
    bool oneByOne = IsKeepSorted() || count == 1 || (allOfType != 0 && IsUniqueById(allOfType));
    for (std::uint32_t i = 0; i < count && !oneByOne && allOfType == 0; ++i)
        oneByOne = !objects[i] || IsUniqueById(objects[i]->Get_ObjectType());
    if (oneByOne) {
        ArrayIndexT first = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            ArrayIndexT at = InsertObjectAt(objects[i], atIndex);
            if (at > 0 && first == 0) first = at;
            if (at > 0 && atIndex != kLastIndex) atIndex = at + 1;
        }
        return first;
    }
    // Room for all, then the pointers copied in at once.
    ArrayIndexT index = LArray::InsertItemsAt(count, atIndex, nullptr, sizeof(CNonVisual*));
    if (index == 0) return 0;
    std::memcpy(GetItemPtr(index), objects, std::size_t(count) * sizeof(CNonVisual*));
    if (mIdIndex) {
        for (std::uint32_t i = 0; i < count; ++i) IndexAdd(objects[i]);
    }
    BroadcastMessage(msg::kListChanged);
    return index;
}

void CNamedListArray::RemoveItemsAt(std::uint32_t count, ArrayIndexT atIndex)
{
    ArrayIndexT first = atIndex;
    CNonVisual* firstRemoved = ValidIndex(first) ? ObjectAt(first) : nullptr;

    std::vector<CNonVisual*> removed;
    std::uint32_t before = GetCount();
    if (mIdIndex && firstRemoved != nullptr && count > 0) {
        std::uint64_t last = std::min<std::uint64_t>(std::uint64_t(first) + count - 1, before);
        if ((last - first + 1) * 2 > before) {
            DropIndex();   // cheaper to rebuild when asked
        } else {
            for (std::uint64_t i = first; i <= last; ++i)
                removed.push_back(ObjectAt(static_cast<ArrayIndexT>(i)));
        }
    }

    LArray::RemoveItemsAt(count, atIndex);
    if (GetCount() < before) {
        for (CNonVisual* object : removed) IndexRemove(object);
    }

    BroadcastMessage(msg::kListChanged);
    BroadcastMessage(msg::kItemsRemoved, firstRemoved);
}

bool CNamedListArray::RemoveObject(CNonVisual* object)
{
    if (GetCount() == 0 || Occurrences(object) == 0) return false;
    ArrayIndexT position = FirstPositionOf(object);
    if (position == 0) return false;
    RemoveItemsAt(1, position);
    return true;
}

std::uint32_t CNamedListArray::RemoveObjects(const std::unordered_set<const CNonVisual*>& objects)
{
    return RemoveListed(objects, nullptr);
}

std::uint32_t CNamedListArray::RemoveListed(const std::unordered_set<const CNonVisual*>& objects,
                                            std::unordered_set<const CNonVisual*>* outRemoved)
{
    const std::uint32_t count = GetCount();
    if (count == 0 || objects.empty() || IsLocked()) return 0;
    // Survivors move forward in place, so a long list is moved once, not once per object.
    auto* block = static_cast<CNonVisual**>(GetItemPtr(1));
    CNonVisual* firstRemoved = nullptr;
    std::vector<CNonVisual*> removed;
    std::uint32_t kept = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        CNonVisual* object = block[i];
        if (objects.count(object)) {
            if (!firstRemoved) firstRemoved = object;
            if (outRemoved) outRemoved->insert(object);
            if (mIdIndex) removed.push_back(object);
        } else {
            block[kept++] = object;
        }
    }
    if (kept == count) return 0;
    const std::uint32_t gone = count - kept;
    if (mIdIndex && gone * 2 > count) {
        DropIndex();   // cheaper to rebuild when asked
        removed.clear();
    }
    LArray::RemoveItemsAt(gone, static_cast<ArrayIndexT>(kept + 1));
    for (CNonVisual* object : removed) IndexRemove(object);

    BroadcastMessage(msg::kListChanged);
    BroadcastMessage(msg::kItemsRemoved, firstRemoved);
    return gone;
}

std::uint32_t CNamedListArray::TakeOut(const std::unordered_set<const CNonVisual*>& objects)
{
    if (!mTakenOut) mTakenOut = std::make_unique<std::unordered_set<const CNonVisual*>>();
    // Only what was listed (and so removed) is remembered.
    return RemoveListed(objects, mTakenOut.get());
}

bool CNamedListArray::ForgetTakenOut(const CNonVisual* object)
{
    return mTakenOut && mTakenOut->erase(object) > 0;
}

void CNamedListArray::SetNotSorted()
{
    if (GetCount() < 2) return;
    if (IsKeepSorted()) {
        // The array keeps the flag itself; turning keep-sorted on sorts anew.
        SetKeepSorted(false);
        SwapItems(1, 1);
        SetKeepSorted(true);
    } else {
        SwapItems(1, 1);   // an exchange in place that clears the sorted flag
    }
}

// --- look-ups

CNonVisual* CNamedListArray::ObjectAt(ArrayIndexT index) const
{
    CNonVisual* object = nullptr;
    if (!FetchItemAt(index, &object)) return nullptr;
    return object;
}

TextRef CNamedListArray::GetValueForId(ObjectIdT id, CNonVisual*& outObject,
                                       ArrayIndexT& outPosition) const
{
    outObject = FirstWithId(id, &outPosition);
    if (!outObject) return std::nullopt;
    return std::string_view(outObject->Get_StringrefName());
}

CNonVisual* CNamedListArray::GetValueForId(ObjectIdT id) const
{
    return FirstWithId(id, nullptr);
}

void CNamedListArray::Sort()
{
    LArray::Sort();
    mNameChangesAtSort = CNonVisual::NameChanges();
}

bool CNamedListArray::InStrictNameOrder() const
{
    const LComparator* comparator = GetComparator();
    return mTracksNameOrder && comparator && typeid(*comparator) == typeid(LNamedlistArrayComparator) && IsStrictlyOrdered() &&
           mNameChangesAtSort == CNonVisual::NameChanges();
}

bool CNamedListArray::SortFrontObject(const CNonVisual* object)
{
    if (ObjectAt(1) != object) {
        // Not this list's object: its order, known before the object was
        // named, holds.
        if (IsStrictlyOrdered()) mNameChangesAtSort = CNonVisual::NameChanges();
        return true;
    }
    if (!SortFrontItem()) return false;
    mNameChangesAtSort = CNonVisual::NameChanges();
    return true;
}

ObjectIdT CNamedListArray::GetIdForValue(TextRef name, CNonVisual*& outObject,
                                         ArrayIndexT& outPosition) const
{
    outPosition = 1;
    if (!name) return -1;
    if (InStrictNameOrder()) {
        // One object at most has the name: found by halving.
        ArrayIndexT low = 1;
        ArrayIndexT high = static_cast<ArrayIndexT>(GetCount());
        while (low <= high) {
            const ArrayIndexT middle = low + (high - low) / 2;
            CNonVisual* object = ObjectAt(middle);
            const int order = object ? compareCaseInsensitive(object->Get_StringrefName(), *name) : -1;
            if (order == 0) {
                outObject = object;
                outPosition = middle;
                return object->Get_Id();
            }
            if (order < 0) low = middle + 1;
            else high = middle - 1;
        }
        return -1;
    }
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = ObjectAt(i);
        if (object && equalsCaseInsensitive(object->Get_StringrefName(), *name)) {
            outObject = object;
            outPosition = i;
            return object->Get_Id();
        }
    }
    return -1;
}

ArrayIndexT CNamedListArray::FetchIndexOfObject(const CNonVisual* object) const
{
    auto count = static_cast<ArrayIndexT>(GetCount());
    if (count == 0) return 0;
    std::uint32_t occurrences = Occurrences(object);
    if (object && occurrences == 0) return 0;
    if (object && occurrences == 1) return FirstPositionOf(object);
    for (ArrayIndexT i = count; i >= 1; --i) {
        if (ObjectAt(i) == object) return i;
    }
    return 0;
}

bool CNamedListArray::CheckIdIsUnique(const CNonVisual* object, CNonVisual*& outOther,
                                      char (&outName)[kNameSize], ArrayIndexT& outPosition) const
{
    outPosition = kNoPosition;
    outOther = nullptr;
    if (!object || GetCount() == 0) return false;
    ObjectIdT id = object->Get_Id();
    EnsureIndex();
    auto [first, last] = mIdIndex->byId.equal_range(id);
    bool another = false;
    for (auto it = first; it != last && !another; ++it) another = it->second != object;
    if (!another) return false;

    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* candidate = ObjectAt(i);
        if (candidate && candidate != object && candidate->Get_Id() == id) {
            outOther = candidate;
            outPosition = i;
            candidate->Get_Name(outName);
            return true;
        }
    }
    return false;
}

CNonVisual* CNamedListArray::FindObjectByName(TextRef name, ArrayIndexT& ioPosition) const
{
    auto count = static_cast<ArrayIndexT>(GetCount());
    if (count == 0 || !name || ioPosition < 0 || ioPosition >= count) return nullptr;
    for (ArrayIndexT i = ioPosition + 1; i <= count; ++i) {
        ioPosition = i;
        CNonVisual* object = ObjectAt(i);
        if (object && startsWithCaseInsensitive(object->Get_StringrefName(), *name)) return object;
    }
    return nullptr;
}

CNonVisual* CNamedListArray::FindObjectStartingWithName(TextRef name, ArrayIndexT& ioPosition) const
{
    return CNamedListArray::FindObjectByName(name, ioPosition);
}

CNonVisual* CNamedListArray::SearchObject(TextRef text, ArrayIndexT& ioPosition)
{
    SetNotSorted();
    Sort();
    CNonVisual* object = nullptr;
    if (GetIdForValue(text, object, ioPosition) != -1 && object) return object;
    object = nullptr;
    GetValueForId(TextToId(text), object, ioPosition);
    return object;
}

double CNamedListArray::Get_Amount() const
{
    double sum = 0.0;
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (CNonVisual* object = ObjectAt(i)) sum += object->Get_Amount();
    }
    return sum;
}

ObjectIdT CNamedListArray::TextToId(TextRef text)
{
    if (!text) return kNoSuchId;
    std::string_view t = *text;
    std::size_t i = 0;
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    std::int64_t value = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        value = value * 10 + (t[i] - '0');
        if (value > std::numeric_limits<ObjectIdT>::max()) {
            value = std::int64_t(std::numeric_limits<ObjectIdT>::max()) + (negative ? 1 : 0);
            break;
        }
    }
    if (negative) value = -value;
    if (value == 0) return t == "0" ? 0 : kNoSuchId;
    return static_cast<ObjectIdT>(value);
}

} // namespace ch
