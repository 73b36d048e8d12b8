#include "ui/lists/ItemListSource.h"

#include "bridge/CNonVisualDataItemController.h"
#include "model/CNamedListArray.h"

namespace ch {

std::size_t ModelListSource::count() const
{
    return mList ? mList->GetCount() : 0;
}

CNonVisual* ModelListSource::objectAt(std::size_t index) const
{
    if (!mList || index >= mList->GetCount()) return nullptr;
    CNonVisual* object = nullptr;
    if (!mList->FetchItemAt(static_cast<ArrayIndexT>(index + 1), &object)) return nullptr;
    return object;
}

CNonVisualDataItem::Ptr ModelListSource::itemAt(std::size_t index) const
{
    CNonVisual* object = objectAt(index);
    return object ? mRegistry.dataItemForObject(object) : nullptr;
}

} // namespace ch
