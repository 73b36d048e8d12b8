#pragma once
// CArrayEncapsulator presents a model list as a read-only array of plain
// items, made one at a time: it keeps only the item fetched last, so whoever
// wants an element beyond the next fetch holds on to it. Indexes count from 1,
// as the model's lists do. The wrapper has one iterator: one enumeration at a
// time, and every enumerator of a wrapper advances the same position.
//
// The wrapper holds the list without owning it. A list change or a fetch by
// enumeration forgets which index the kept item came from, so an index never
// answers another element's item; when the list dies the wrapper forgets it
// and answers as an empty array.

#include <cstdint>
#include <memory>

#include "bridge/CListenerBridge.h"
#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CArrayEnumerator;
class CNamedListArray;
class LArrayIterator;

class CArrayEncapsulator : public MessageReceiver,
                           public std::enable_shared_from_this<CArrayEncapsulator> {
public:
    // No list, no iterator, no item.
    CArrayEncapsulator();
    ~CArrayEncapsulator() override;
    CArrayEncapsulator(const CArrayEncapsulator&) = delete;
    CArrayEncapsulator& operator=(const CArrayEncapsulator&) = delete;

    // Wraps the list (null: none): the kept item and index are forgotten, the
    // iterator starts before the first element, and list messages come in.
    void setArray(CNamedListArray* list);

    // 0 without a list.
    std::uint32_t count() const;
    // The item of element `index` (1 = the first); null outside 1..count.
    CNonVisualDataItem::Ptr getObjectAtIndex(int index);
    CNonVisualDataItem::Ptr objectAtIndex(std::uint32_t index) { return getObjectAtIndex(static_cast<int>(index)); }
    // The kept item when it wraps the object, else a new plain item that
    // replaces it.
    CNonVisualDataItem::Ptr makeItemForObject(CNonVisual* object);

    void resetIterator();
    // The item of the next element; null past the end.
    CNonVisualDataItem::Ptr getNext();
    // Restarts the iterator and answers an enumerator over this wrapper.
    std::shared_ptr<CArrayEnumerator> objectEnumerator();
    // A new plain item over the object that owns the list (detached when none).
    CNonVisualDataItem::Ptr sourceItemAsDataItem() const;
    void toStart() {}

    // List changes forget the kept index; the list's death forgets the list.
    void ListenToMessage(MessageT message, void* param) override;

private:
    CNonVisual* mSourceItem = nullptr;
    CNamedListArray* mArray = nullptr;
    std::unique_ptr<LArrayIterator> mIterator;
    std::unique_ptr<CListenerBridge> theListenerBridge;
    CNonVisualDataItem::Ptr cachedDataItem;
    int cachedIndex = -1;
};

// Enumerates a CArrayEncapsulator through the wrapper's own iterator.
class CArrayEnumerator {
public:
    void setParentArray(std::shared_ptr<CArrayEncapsulator> parent) { parentArray = std::move(parent); }
    // The parent's next item; null at the end.
    CNonVisualDataItem::Ptr nextObject();

private:
    std::shared_ptr<CArrayEncapsulator> parentArray;
};

// The smallest wrapper of one model object: its name and id, until the object
// is destroyed.
class CNonVisualEncapsulator : public MessageReceiver {
public:
    CNonVisualEncapsulator();
    explicit CNonVisualEncapsulator(CNonVisual* object);
    ~CNonVisualEncapsulator() override;
    CNonVisualEncapsulator(const CNonVisualEncapsulator&) = delete;
    CNonVisualEncapsulator& operator=(const CNonVisualEncapsulator&) = delete;

    // The object's 8-bit name (at most 34 characters); "NoSourceItem" without one.
    std::string getName() const;
    // The object's id; -1 without one.
    long getId() const;

    // 2008 forgets the object.
    void ListenToMessage(MessageT message, void* param) override;

private:
    CNonVisual* mSourceItem = nullptr;
    std::unique_ptr<CListenerBridge> theListenerBridge;
};

} // namespace ch
