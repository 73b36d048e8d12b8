#include "bridge/CMxpTItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "platform/core/localized_strings.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// Top-level groups below this id are the fixed groups of every set of books.
constexpr ObjectIdT kFirstMovableRootId = 6;

CMasterExpenseType* groupOf(const CNonVisualDataItem& item)
{
    return static_cast<CMasterExpenseType*>(item.getSourceItem());
}

Colour colourOf(const RGBColor& colour)
{
    return Colour::fromComponents16(colour.red, colour.green, colour.blue);
}

RGBColor modelColour(const Colour& colour)
{
    const auto components = colour.components16();
    return {components[0], components[1], components[2]};
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
    announce("mBalance");
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
    if (group && kind) group->Put_mMasterExpenseType(static_cast<MasterExpenseTypeT>(*kind));
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

bool CMxpTItem::isRootItem() const
{
    CMasterExpenseType* group = groupOf(*this);
    return group && group->IsRootItem();
}

bool CMxpTItem::canItemBeRelocated() const
{
    CMasterExpenseType* group = groupOf(*this);
    if (!group) return false;
    return !group->IsRootItem() || group->Get_Id() >= kFirstMovableRootId;
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
    if (keptChildren()) return *keptChildren();
    const CMasterExpenseType* group = groupOf(*this);
    if (!group) return {};
    ItemArray items;
    const CNamedListArray* subGroups = group->Get_DetailFolders();
    CNonVisualDataItemController* itemRegistry = registry();
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(countOf(subGroups)); ++i) {
        CNonVisual* child = subGroups->ObjectAt(i);
        if (!child) continue;
        if (itemRegistry) items.push_back(itemRegistry->categoryTypeItemForCategoryType(child));
        else items.push_back(std::make_shared<CMxpTItem>(child));
    }
    keepChildren(items);
    return items;
}

std::size_t CMxpTItem::childrenCount()
{
    const CMasterExpenseType* group = groupOf(*this);
    return group ? countOf(group->Get_DetailFolders()) : 0;
}

std::vector<std::shared_ptr<CExpTItem>> CMxpTItem::categoryArray()
{
    std::vector<std::shared_ptr<CExpTItem>> categories;
    const CMasterExpenseType* group = groupOf(*this);
    const CNamedListArray* list = group ? group->Get_Details() : nullptr;
    CNonVisualDataItemController* itemRegistry = registry();
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(countOf(list)); ++i) {
        CNonVisual* category = list->ObjectAt(i);
        if (!category) continue;
        if (itemRegistry) categories.push_back(itemRegistry->categoryItemForCategory(category));
        else categories.push_back(std::make_shared<CExpTItem>(category));
    }
    return categories;
}

CNonVisualDataItem::ItemArray CMxpTItem::pieChartChildrenArray()
{
    ItemArray items = children();
    for (auto& category : categoryArray()) items.push_back(category);
    return items;
}

CNonVisualDataItem::ItemArray CMxpTItem::leafArray()
{
    ItemArray leaves;
    if (UserDefaults::standard().boolForKey("GXCShowFoldersInSequentialObjectList"))
        if (Ptr self = weak_from_this().lock()) leaves.push_back(self);
    if (keptChildren() && childrenCount() != keptChildren()->size()) dropKeptChildren();
    for (const Ptr& child : children()) {
        if (!child) continue;
        ItemArray below = child->leafArray();
        leaves.insert(leaves.end(), below.begin(), below.end());
    }
    for (auto& category : categoryArray()) leaves.push_back(category);
    return leaves;
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
    switch (message) {
    case msg::kBalanceChanged:
        // A group relays its children's changes too; only its own counts here.
        if (isBound() && param == static_cast<void*>(groupOf(*this))) postNotification("FOLDERBALANCECHANGED");
        break;
    case msg::kChildTypesChanged:
        dropKeptChildren();
        postNotification("CHILDFOLDERSCHANGEDNOTIFICATION");
        break;
    case msg::kChildObjectsChanged:
        postNotification("CHILDOBJECTSCHANGEDNOTIFICATION");
        break;
    default:
        CNonVisualDataItem::ListenToMessage(message, param);
        break;
    }
}

} // namespace ch
