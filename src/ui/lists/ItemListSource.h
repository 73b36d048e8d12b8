#pragma once
// What a list table shows, read one element at a time: the document's own
// model lists (tens of thousands of transactions) are never copied into a
// vector of items; an element's item is made (or taken from the registry)
// only when a row is drawn, sorted or filtered.
//
// A source reads its list live: a count or element asked after a change
// answers the changed list. Indexes count from 0; an index past the end
// answers no item.

#include <cstddef>
#include <memory>
#include <vector>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CNamedListArray;
class CNonVisualDataItemController;

class ItemListSource {
public:
    virtual ~ItemListSource() = default;
    virtual std::size_t count() const = 0;
    virtual CNonVisualDataItem::Ptr itemAt(std::size_t index) const = 0;
    // The model object of an element, without making its item.
    virtual CNonVisual* objectAt(std::size_t index) const
    {
        const auto item = itemAt(index);
        return item ? item->getSourceItem() : nullptr;
    }
};

// A small list the page already holds (the accounts of a node, the lines of
// an account).
class VectorListSource : public ItemListSource {
public:
    VectorListSource() = default;
    explicit VectorListSource(CNonVisualDataItem::ItemArray items) : mItems(std::move(items)) {}
    template <class Item>
    explicit VectorListSource(const std::vector<std::shared_ptr<Item>>& items) : mItems(items.begin(), items.end())
    {
    }
    std::size_t count() const override { return mItems.size(); }
    CNonVisualDataItem::Ptr itemAt(std::size_t index) const override
    {
        return index < mItems.size() ? mItems[index] : nullptr;
    }

private:
    CNonVisualDataItem::ItemArray mItems;
};

// A list of the model, its elements' items taken from the document's
// registry (one item per object, made on first need).
class ModelListSource : public ItemListSource {
public:
    // Neither is owned; both live as long as the document.
    ModelListSource(const CNamedListArray* list, CNonVisualDataItemController& registry)
        : mList(list), mRegistry(registry)
    {
    }
    std::size_t count() const override;
    CNonVisualDataItem::Ptr itemAt(std::size_t index) const override;
    CNonVisual* objectAt(std::size_t index) const override;

private:
    const CNamedListArray* mList;
    CNonVisualDataItemController& mRegistry;
};

} // namespace ch
