#include "bridge/CArrayEncapsulator.h"

#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "model/foundation/LArrayIterator.h"

namespace ch {

// --- CArrayEncapsulator

CArrayEncapsulator::CArrayEncapsulator() = default;

CArrayEncapsulator::~CArrayEncapsulator()
{
    theListenerBridge.reset();
    mIterator.reset();
}

void CArrayEncapsulator::setArray(CNamedListArray* list)
{
    theListenerBridge.reset();
    mIterator.reset();
    mSourceItem = nullptr;
    cachedDataItem.reset();
    cachedIndex = -1;
    mArray = list;
    if (!list) return;
    mIterator = std::make_unique<LArrayIterator>(*list);
    theListenerBridge = std::make_unique<CListenerBridge>();
    theListenerBridge->LinkObjectiveCObjectToBroadcaster(this, list);
}

std::uint32_t CArrayEncapsulator::count() const
{
    return mArray ? mArray->GetCount() : 0;
}

CNonVisualDataItem::Ptr CArrayEncapsulator::getObjectAtIndex(int index)
{
    if (!mArray) return nullptr;
    CNonVisual* object = nullptr;
    if (index < 1 || !mArray->FetchItemAt(index, &object) || !object) return nullptr;
    // The kept item answers only while its element still stands at the index
    // (a sort does not tell us that it moved the elements).
    if (index == cachedIndex && cachedDataItem && cachedDataItem->getSourceItem() == object)
        return cachedDataItem;
    CNonVisualDataItem::Ptr item = makeItemForObject(object);
    cachedIndex = index;
    return item;
}

CNonVisualDataItem::Ptr CArrayEncapsulator::makeItemForObject(CNonVisual* object)
{
    if (!object) return nullptr;
    if (cachedDataItem && cachedDataItem->getSourceItem() == object &&
        cachedDataItem->getId() == object->Get_Id())
        return cachedDataItem;
    cachedDataItem = std::make_shared<CNonVisualDataItem>(object);
    // The kept index named the element of the item just replaced.
    cachedIndex = -1;
    return cachedDataItem;
}

void CArrayEncapsulator::resetIterator()
{
    mIterator.reset();
    if (mArray) mIterator = std::make_unique<LArrayIterator>(*mArray);
}

CNonVisualDataItem::Ptr CArrayEncapsulator::getNext()
{
    if (!mIterator) return nullptr;
    CNonVisual* object = nullptr;
    if (!mIterator->Next(&object)) return nullptr;
    return makeItemForObject(object);
}

std::shared_ptr<CArrayEnumerator> CArrayEncapsulator::objectEnumerator()
{
    resetIterator();
    auto enumerator = std::make_shared<CArrayEnumerator>();
    enumerator->setParentArray(shared_from_this());
    return enumerator;
}

CNonVisualDataItem::Ptr CArrayEncapsulator::sourceItemAsDataItem() const
{
    return std::make_shared<CNonVisualDataItem>(mSourceItem);
}

void CArrayEncapsulator::ListenToMessage(MessageT message, void*)
{
    switch (message) {
    case msg::kListChanged:
    case msg::kItemInserted:
    case msg::kItemsRemoved:
        // Elements moved: the kept index may now name another element.
        cachedIndex = -1;
        break;
    case msg::kBroadcasterDied:
        // The list goes with the model; the iterator is detached while the
        // array part still lives.
        mIterator.reset();
        mArray = nullptr;
        cachedIndex = -1;
        break;
    default:
        break;
    }
}

// --- CArrayEnumerator

CNonVisualDataItem::Ptr CArrayEnumerator::nextObject()
{
    return parentArray ? parentArray->getNext() : nullptr;
}

// --- CNonVisualEncapsulator

CNonVisualEncapsulator::CNonVisualEncapsulator() = default;

CNonVisualEncapsulator::CNonVisualEncapsulator(CNonVisual* object) : mSourceItem(object)
{
    if (!object) return;
    theListenerBridge = std::make_unique<CListenerBridge>();
    theListenerBridge->LinkObjectiveCObjectToBroadcaster(this, object);
}

CNonVisualEncapsulator::~CNonVisualEncapsulator() = default;

std::string CNonVisualEncapsulator::getName() const
{
    if (!mSourceItem) return "NoSourceItem";
    char name[kNameSize] = {};
    mSourceItem->Get_Name(name);
    return MacRomanToUnicode(name);
}

long CNonVisualEncapsulator::getId() const
{
    return mSourceItem ? mSourceItem->Get_Id() : -1;
}

void CNonVisualEncapsulator::ListenToMessage(MessageT message, void*)
{
    if (message != msg::kObjectDestroyed) return;
    mSourceItem = nullptr;
    theListenerBridge.reset();
}

} // namespace ch
