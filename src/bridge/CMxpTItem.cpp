#include "bridge/CMxpTItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/ItemsOfList.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

CMasterExpenseType* groupOf(const CNonVisualDataItem& item)
{
    return static_cast<CMasterExpenseType*>(item.getSourceItem());
}

std::size_t countOf(const CNamedListArray* list)
{
    return list ? list->GetCount() : 0;
}

} // namespace

// --- properties

std::optional<double> CMxpTItem::getBalance() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_mBalance() : 0.0;
}

void CMxpTItem::setMBalance(std::optional<double> balance)
{
    if (!isBound() && mStoredBalance != balance) mStoredBalance = balance;
    announceDisplayState("mBalance");
}

std::string CMxpTItem::outlineBalance() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(YTDThisYear());
}

std::string CMxpTItem::outlineCurrency() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(YTDLastYear());
}

int CMxpTItem::getMasterType() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_mMasterExpenseType() : 0;
}

std::optional<int> CMxpTItem::getMasterTypeAsObject() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? std::optional<int>(group->Get_mMasterExpenseType()) : mStoredMasterType;
}

void CMxpTItem::setMMasterType(std::optional<int> kind)
{
    CMasterExpenseType* group = groupOf(*this);
    if (group && kind) {
        const auto newKind = static_cast<MasterExpenseTypeT>(*kind);
        // Through the books, so that a top-level group moves to its new kind's list.
        if (CDocAccounting* books = getCPPDocument())
            books->setMasterExpenseType(newKind, group);
        else
            group->Put_mMasterExpenseType(newKind);
    }
    mStoredMasterType = kind;
    announce("mMasterType");
}

Colour CMxpTItem::getColor() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? colourOf(group->Get_Color()) : mStoredColor.value_or(Colour::white());
}

std::optional<Colour> CMxpTItem::mColor() const
{
    return isBound() ? std::optional<Colour>(getColor()) : mStoredColor;
}

void CMxpTItem::setMColor(std::optional<Colour> colour)
{
    CMasterExpenseType* group = groupOf(*this);
    if (group && colour) group->Put_Color(modelColour(*colour));
    mStoredColor = colour;
    announce("mColor");
}

std::optional<long> CMxpTItem::mParentId() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? std::optional<long>(group->Get_mParentId()) : mStoredParentId;
}

void CMxpTItem::setMParentId(std::optional<long> parentId)
{
    CMasterExpenseType* group = groupOf(*this);
    if (group && parentId) group->Put_mParentId(static_cast<ObjectIdT>(*parentId));
    if (parentId != mParentId()) mStoredParentId = parentId;
    announce("mParentId");
}

std::optional<double> CMxpTItem::YTDThisYear() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_thisYearsBalance() : 0.0;
}

std::optional<double> CMxpTItem::YTDLastYear() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_lastYearsBalanceYTD() : 0.0;
}

std::optional<double> CMxpTItem::AvgMonthThisYear() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_thisYearsAverageMonth() : 0.0;
}

std::optional<double> CMxpTItem::AvgMonthLastYear() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_PreviousYearsAverageMonth() : 0.0;
}

std::optional<double> CMxpTItem::TotalLastYear() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? group->Get_lastYearsBalance() : 0.0;
}

std::optional<bool> CMxpTItem::isExpense() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group && group->IsExpense(false) != 0;
}

std::optional<bool> CMxpTItem::isIncome() const
{
    const CMasterExpenseType* group = groupOf(*this);
    return group && group->IsIncome(false) != 0;
}

bool CMxpTItem::canSystemTypeBeModified() const
{
    CMasterExpenseType* group = groupOf(*this);
    if (!group || !group->IsRootItem()) return false;
    return countOf(group->Get_Details()) == 0 && countOf(group->Get_DetailFolders()) == 0;
}

// --- collections

CNonVisualDataItem::ItemArray CMxpTItem::children()
{
    const CMasterExpenseType* group = groupOf(*this);
    if (!keptChildren() && group) {
        const auto subGroups = itemsOfList(group->Get_DetailFolders(), registry(),
                                           &CNonVisualDataItemController::categoryTypeItemForCategoryType);
        keepChildren(ItemArray(subGroups.begin(), subGroups.end()));
    }
    return keptChildren().value_or(ItemArray());
}

std::vector<std::shared_ptr<CExpTItem>> CMxpTItem::categoryArray()
{
    const CMasterExpenseType* group = groupOf(*this);
    return itemsOfList(group ? group->Get_Details() : nullptr, registry(),
                       &CNonVisualDataItemController::categoryItemForCategory);
}

CNonVisualDataItem::ItemArray CMxpTItem::pieChartChildrenArray()
{
    ItemArray items = children();
    for (auto& category : categoryArray()) items.push_back(category);
    return items;
}

CNonVisualDataItem::ItemArray CMxpTItem::leafArray()
{
    const auto categories = categoryArray();
    return folderLeafArray(ItemArray(categories.begin(), categories.end()));
}

void CMxpTItem::appendModelLines(std::vector<CNonVisual*>& lines)
{
    for (const Ptr& element : pieChartChildrenArray()) {
        if (auto category = std::dynamic_pointer_cast<CExpTItem>(element))
            category->appendModelLines(lines);
        else if (auto group = std::dynamic_pointer_cast<CMxpTItem>(element))
            group->appendModelLines(lines);
    }
}

LineItemArray CMxpTItem::forTransactionDetails()
{
    LineItemArray lines;
    for (const Ptr& element : pieChartChildrenArray()) {
        LineItemArray below;
        if (auto category = std::dynamic_pointer_cast<CExpTItem>(element))
            below = category->forTransactionDetails();
        else if (auto group = std::dynamic_pointer_cast<CMxpTItem>(element))
            below = group->forTransactionDetails();
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

GXObjectDescriptionStrings CMxpTItem::getObjectDescription() const
{
    GXObjectDescriptionStrings strings;
    strings.objectTypeName = localized("MexpType");
    strings.childObjectTypeName = localized("ExpType");
    strings.childGroupTypeName = localized("MexpType");
    strings.canBeDeleted = true;
    return strings;
}

void CMxpTItem::synchronizeWithParameters(const CategoryGroupParameters& parameters)
{
    setGetName(parameters.name);
    if (parameters.mParentId && parameters.mParentId != mParentId()) setMParentId(parameters.mParentId);
    if (parameters.mColor) setMColor(parameters.mColor);
}

void CMxpTItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    CNonVisualDataItem::synchronizeWithObject(other);
    const auto* source = dynamic_cast<const CMxpTItem*>(&other);
    if (!source) return;
    setMBalance(source->mBalance());
    setMColor(source->mColor());
    setMMasterType(source->mMasterType());
    setMParentId(source->mParentId());
}

void CMxpTItem::ListenToMessage(MessageT message, void* param)
{
    if (message == msg::kBalanceChanged) {
        // A group relays its children's changes too; only its own counts here.
        if (isBound() && param == static_cast<void*>(groupOf(*this))) postNotification("FOLDERBALANCECHANGED");
    } else if (!relayFolderChange(message)) {
        CNonVisualDataItem::ListenToMessage(message, param);
    }
}

} // namespace ch
