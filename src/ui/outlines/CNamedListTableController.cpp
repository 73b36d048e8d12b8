#include "ui/outlines/CNamedListTableController.h"

#include <cstdio>

#include "bridge/BridgeDocument.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CategoryAncestor.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "platform/core/four_char_code.h"

namespace ch {

namespace {

std::size_t countOf(const CNamedListArray* list)
{
    return list ? list->GetCount() : 0;
}

std::string amountText(std::optional<double> value)
{
    return CNSNumberAmountTBridge::NSNumberToNSString(value);
}

} // namespace

CNamedListTableController::CNamedListTableController(BridgeDocument* document, const CNamedListArray* array,
                                                     bool hierarchic)
    : mDocument(document), mArray(array), mIsHierarchic(hierarchic)
{
}

CNamedListTableController::~CNamedListTableController() = default;

void CNamedListTableController::setArray(const CNamedListArray* array)
{
    mNodesAndLeafs.clear();
    theCurrentItem.reset();
    mArray = array;
}

void CNamedListTableController::bind(BridgeDocument* document, const CNamedListArray* array, bool hierarchic)
{
    mDocument = document;
    mIsHierarchic = hierarchic;
    setArray(array);
}

std::size_t CNamedListTableController::numberOfChildrenOfItem(const CNonVisualDataItem* item) const
{
    if (!item) return countOf(mArray);
    const CNonVisual* object = item->getSourceItem();
    return object ? countOf(object->Get_DetailFolders()) + countOf(object->Get_Details()) : 0;
}

bool CNamedListTableController::isItemExpandable(const CNonVisualDataItem* item) const
{
    return numberOfChildrenOfItem(item) > 0;
}

CNonVisualDataItem::Ptr CNamedListTableController::child(std::size_t index, const CNonVisualDataItem::Ptr& item)
{
    CNonVisual* element = nullptr;
    if (!item) {
        if (index < countOf(mArray)) element = mArray->ObjectAt(static_cast<ArrayIndexT>(index + 1));
    } else if (const CNonVisual* object = item->getSourceItem()) {
        // Folders first, then details.
        const CNamedListArray* folders = object->Get_DetailFolders();
        const CNamedListArray* details = object->Get_Details();
        const std::size_t folderCount = countOf(folders);
        if (index < folderCount)
            element = folders->ObjectAt(static_cast<ArrayIndexT>(index + 1));
        else if (index - folderCount < countOf(details))
            element = details->ObjectAt(static_cast<ArrayIndexT>(index - folderCount + 1));
    }
    return element ? getDataItemForSourceItem(element, item) : nullptr;
}

std::string CNamedListTableController::homeCurrencySymbol() const
{
    const std::shared_ptr<CCurRItem> home = mDocument ? mDocument->getHomeCurrency() : nullptr;
    return home ? home->mShortName() : std::string();
}

CNamedListTableController::CellValue CNamedListTableController::objectValueForTableColumn(std::string_view column,
                                                                                          const CNonVisualDataItem& item)
{
    const auto* account = dynamic_cast<const CAcnTItem*>(&item);
    const auto* accountType = dynamic_cast<const CAccTItem*>(&item);
    const auto* category = dynamic_cast<const CExpTItem*>(&item);
    const auto* group = dynamic_cast<const CMxpTItem*>(&item);

    if (column == "name") return item.getName();
    if (column == "id") return item.getId() ? CellValue(static_cast<long>(*item.getId())) : CellValue();
    if (column == "lbal" || column == "fbal") {
        if (account) return amountText(column == "lbal" ? account->getLocalBalance() : account->getBalance());
        if (accountType) return amountText(accountType->getBalance());
        return {};
    }
    if (column == "lcur") return homeCurrencySymbol();
    if (column == "fcur") return account ? account->currencySymbol() : homeCurrencySymbol();

    // The figures belong to categories and groups; other rows show none.
    const CategoryAncestor* periods = category ? static_cast<const CategoryAncestor*>(category) : group;
    if (!periods) return {};
    std::optional<double> figure;
    if (column == "yths") figure = periods->YTDThisYear();
    else if (column == "yprv") figure = periods->YTDLastYear();
    else if (column == "avgt") figure = periods->AvgMonthThisYear();
    else if (column == "avgp") figure = periods->AvgMonthLastYear();
    else if (column == "totp") figure = periods->TotalLastYear();
    else if (column == "bala") figure = category ? category->getBalance() : group->getBalance();
    else return {};
    return amountText(figure);
}

bool CNamedListTableController::canItemBeDragged(const CNonVisualDataItem* item) const
{
    CNonVisual* object = item ? item->getSourceItem() : nullptr;
    if (!object) return false;
    return !object->IsRootItem() || object->Get_Id() > 6;
}

bool CNamedListTableController::validateDrop(const std::optional<std::string>& draggedKey,
                                             const CNonVisualDataItem::Ptr& parent) const
{
    if (!parent || !draggedKey || !parent->getSourceItem()) return false;
    const CNonVisualDataItem::Ptr dragged = getDataItemForObjectIdAsString(*draggedKey);
    CNonVisual* object = dragged ? dragged->getSourceItem() : nullptr;
    return object && parent->getSourceItem()->IsSubItemAcceptable(object->Get_ObjectType(), object);
}

CNonVisualDataItem::Ptr CNamedListTableController::acceptDrop(const std::optional<std::string>& draggedKey,
                                                               const CNonVisualDataItem::Ptr& parent)
{
    if (!validateDrop(draggedKey, parent) || !mSetSuperitem) return nullptr;
    const CNonVisualDataItem::Ptr dragged = getDataItemForObjectIdAsString(*draggedKey);
    if (!mSetSuperitem(parent->getSourceItem(), dragged->getSourceItem())) return nullptr;
    dragged->setMParent(parent);
    return dragged;
}

CNonVisualDataItem::Ptr CNamedListTableController::getDataItemForObjectIdAsString(const std::string& key) const
{
    const auto found = mNodesAndLeafs.find(key);
    return found == mNodesAndLeafs.end() ? nullptr : found->second;
}

std::string CNamedListTableController::calculateKeyForObject(const CNonVisual& object)
{
    char key[48];
    std::snprintf(key, sizeof key, "%ld%x", static_cast<long>(object.Get_Id()),
                  static_cast<unsigned>(object.Get_ObjectType()));
    return key;
}

CNonVisualDataItem::Ptr CNamedListTableController::getDataItemForSourceItem(CNonVisual* object,
                                                                            const CNonVisualDataItem::Ptr& parent)
{
    if (!object) return nullptr;
    const std::string key = calculateKeyForObject(*object);
    if (CNonVisualDataItem::Ptr cached = getDataItemForObjectIdAsString(key)) return cached;
    CNonVisualDataItem::Ptr item = createNodeForSourceItem(object, parent);
    if (item) mNodesAndLeafs.emplace(key, item);
    return item;
}

CNonVisualDataItem::Ptr CNamedListTableController::createNodeForSourceItem(CNonVisual* object,
                                                                           const CNonVisualDataItem::Ptr& parent)
{
    auto item = std::make_shared<CNonVisualDataItem>(object, parent);
    item->setParentDocument(mDocument);
    return item;
}

CNonVisualDataItem::Ptr CPropertyTableController::createNodeForSourceItem(CNonVisual* object,
                                                                          const CNonVisualDataItem::Ptr& parent)
{
    CNonVisualDataItem::Ptr item;
    switch (object->Get_ObjectType()) {
    case fourCC("AccT"): item = std::make_shared<CAccTItem>(object, parent); break;
    case fourCC("AcnT"): item = std::make_shared<CAcnTItem>(object, parent); break;
    case fourCC("ExpT"): item = std::make_shared<CExpTItem>(object, parent); break;
    case fourCC("MxpT"): item = std::make_shared<CMxpTItem>(object, parent); break;
    default: return nullptr;
    }
    item->setParentDocument(document());
    return item;
}

} // namespace ch
