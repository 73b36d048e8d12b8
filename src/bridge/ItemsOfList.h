#pragma once
// The items of model objects that an item hands out: the registry's items
// when the item has a document, else new items of their own.

#include <memory>
#include <vector>

#include "bridge/CNonVisualDataItemController.h"
#include "model/CNamedListArray.h"

namespace ch {

// A registry look-up, e.g. &CNonVisualDataItemController::accountItemForAccount.
template <class Item>
using RegisteredItem = std::shared_ptr<Item> (CNonVisualDataItemController::*)(CNonVisual*);

// Null for no object.
template <class Item>
std::shared_ptr<Item> itemOf(CNonVisual* object, CNonVisualDataItemController* registry,
                             RegisteredItem<Item> registered)
{
    if (!object) return nullptr;
    return registry ? (registry->*registered)(object) : std::make_shared<Item>(object);
}

// In list order; objects without an item are left out.
template <class Item>
std::vector<std::shared_ptr<Item>> itemsOfList(const CNamedListArray* list, CNonVisualDataItemController* registry,
                                               RegisteredItem<Item> registered)
{
    std::vector<std::shared_ptr<Item>> items;
    if (!list) return items;
    items.reserve(list->GetCount());
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
        if (std::shared_ptr<Item> item = itemOf(list->ObjectAt(i), registry, registered))
            items.push_back(std::move(item));
    return items;
}

} // namespace ch
