#include "ui/lists/NSTransactionArrayController.h"

namespace ch {

void NSTransactionArrayController::insertObject(const CNonVisualDataItem::Ptr& item)
{
    mNewSource = item ? item->getSourceItem() : nullptr;
    rearrangeObjects();
}

bool NSTransactionArrayController::accepts(const CNonVisualDataItem& item) const
{
    if (mNewSource && item.getSourceItem() == mNewSource) {
        mNewSource = nullptr;
        return true;
    }
    return CTransactionArrayController::accepts(item);
}

std::optional<bool> NSTransactionArrayController::acceptsObject(const CNonVisual& object) const
{
    if (mNewSource && &object == mNewSource) {
        mNewSource = nullptr;
        return true;
    }
    return CTransactionArrayController::acceptsObject(object);
}

} // namespace ch
