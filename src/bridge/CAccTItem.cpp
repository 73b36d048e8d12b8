#include "bridge/CAccTItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "model/CAccType.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

constexpr std::size_t kDescriptionCharacters = 254;
// Top-level types below this id are the fixed types of every set of books.
constexpr ObjectIdT kFirstMovableRootId = 6;

CAccType* accountTypeOf(const CNonVisualDataItem& item)
{
    return static_cast<CAccType*>(item.getSourceItem());
}

} // namespace

// --- properties

std::string CAccTItem::getNameOnly() const
{
    const CAccType* type = accountTypeOf(*this);
    if (!type) return getName();
    const std::string& name = type->Get_StringRefNameOnly();
    if (!name.empty()) return name;
    char cName[kNameSize] = {};
    type->Get_NameOnly(cName);
    return MacRomanToUnicode(cName);
}

std::string CAccTItem::getDescription() const
{
    const CAccType* type = accountTypeOf(*this);
    if (!type) return mDescription.value_or(std::string());
    const std::string& text = type->Get_StringrefDesc();
    if (!text.empty()) return text;
    char description[kDescriptionSize] = {};
    type->Get_mDescription(description);
    return MacRomanToUnicode(description);
}

void CAccTItem::setGetDescription(std::optional<std::string_view> text)
{
    std::optional<std::string> cut;
    if (text) cut = truncateToUtf16Units(*text, kDescriptionCharacters);
    if (CAccType* type = accountTypeOf(*this)) {
        if (cut) {
            char description[kDescriptionSize] = {};
            CNSStringToCString::convertStringToDescriptionT(*cut, description);
            type->Put_mDescription(description);
            type->Put_StringrefDesc(*cut);
        } else {
            type->Put_mDescription(nullptr);
            type->Put_StringrefDesc(std::nullopt);
        }
    }
    if (mDescription != cut) mDescription = std::move(cut);
    announce("getDescription");
}

std::optional<double> CAccTItem::getBalance() const
{
    const CAccType* type = accountTypeOf(*this);
    return type ? std::optional<double>(type->Get_mBalance()) : mBalance;
}

void CAccTItem::setGetBalance(std::optional<double> balance)
{
    if (!isBound() && mBalance != balance) mBalance = balance;
    announce("getBalance");
}

std::string CAccTItem::getAccountNumber() const
{
    const CAccType* type = accountTypeOf(*this);
    if (!type) return mAccountNumber.value_or(std::string());
    const std::string& text = type->Get_StringRefAccountingNumber();
    if (!text.empty()) return text;
    char number[CAccType::kAccountNumberSize] = {};
    type->Get_mAccountNumber(number);
    return MacRomanToUnicode(number);
}

void CAccTItem::setGetAccountNumber(std::optional<std::string_view> text)
{
    if (CAccType* type = accountTypeOf(*this)) {
        if (text) {
            char number[kNameSize] = {};
            CNSStringToCString::convertStringToNameT(*text, number);
            type->Put_mAccountNumber(number);
            type->Put_StringRefAccountingNumber(*text);
        } else {
            type->Put_mAccountNumber(nullptr);
            type->Put_StringRefAccountingNumber(std::nullopt);
        }
    }
    std::optional<std::string> kept;
    if (text) kept = std::string(*text);
    if (mAccountNumber != kept) mAccountNumber = std::move(kept);
    announce("getAccountNumber");
}

std::optional<long> CAccTItem::getMasterType() const
{
    const CAccType* type = accountTypeOf(*this);
    return type ? std::optional<long>(type->Get_mMasterType()) : mMasterType;
}

void CAccTItem::setGetMasterType(std::optional<long> masterType)
{
    CAccType* type = accountTypeOf(*this);
    if (type && masterType) type->Put_mMasterType(*masterType);
    if (mMasterType != masterType) mMasterType = masterType;
    announce("getMasterType");
}

std::optional<long> CAccTItem::getParentType() const
{
    const CAccType* type = accountTypeOf(*this);
    return type ? std::optional<long>(type->Get_mParentType()) : mParentType;
}

void CAccTItem::setGetParentType(std::optional<long> parentId)
{
    CAccType* type = accountTypeOf(*this);
    if (type && parentId) type->Put_mParentType(static_cast<ObjectIdT>(*parentId));
    if (mParentType != parentId) mParentType = parentId;
    announce("getParentType");
}

std::string CAccTItem::outlineBalance() const
{
    return CNSNumberAmountTBridge::NSNumberToNSString(getBalance());
}

std::string CAccTItem::currencySymbol() const
{
    BridgeDocument* document = parentDocument();
    if (!document) return {};
    std::shared_ptr<CCurRItem> home = document->getHomeCurrency();
    return home ? home->mShortName() : std::string();
}

std::string CAccTItem::accountTypeName() const
{
    BridgeDocument* document = parentDocument();
    const std::optional<long> parentId = getParentType();
    if (!document || !parentId) return {};
    std::shared_ptr<CAccTItem> parent = document->getAccountTypeItemForId(static_cast<ObjectIdT>(*parentId));
    return parent ? parent->getName() : std::string();
}

bool CAccTItem::isRootItem() const
{
    CAccType* type = accountTypeOf(*this);
    return type && type->IsRootItem();
}

bool CAccTItem::canItemBeRelocated() const
{
    CAccType* type = accountTypeOf(*this);
    if (!type) return false;
    return !type->IsRootItem() || type->Get_Id() >= kFirstMovableRootId;
}

// --- collections

CNonVisualDataItem::ItemArray CAccTItem::children()
{
    if (keptChildren()) return *keptChildren();
    CAccType* type = accountTypeOf(*this);
    if (!type) return {};
    ItemArray items;
    const CNamedListArray* childTypes = type->Get_DetailFolders();
    CNonVisualDataItemController* itemRegistry = registry();
    for (ArrayIndexT i = 1; childTypes && i <= static_cast<ArrayIndexT>(childTypes->GetCount()); ++i) {
        CNonVisual* child = childTypes->ObjectAt(i);
        if (!child) continue;
        if (itemRegistry) items.push_back(itemRegistry->accountTypeItemForAccountType(child));
        else items.push_back(std::make_shared<CAccTItem>(child));
    }
    keepChildren(items);
    return items;
}

std::size_t CAccTItem::childrenCount()
{
    const CAccType* type = accountTypeOf(*this);
    const CNamedListArray* childTypes = type ? type->Get_DetailFolders() : nullptr;
    return childTypes ? childTypes->GetCount() : 0;
}

std::vector<std::shared_ptr<CAcnTItem>> CAccTItem::accountArray()
{
    std::vector<std::shared_ptr<CAcnTItem>> accounts;
    const CAccType* type = accountTypeOf(*this);
    const CNamedListArray* list = type ? type->Get_Details() : nullptr;
    if (!list) return accounts;
    CNonVisualDataItemController* itemRegistry = registry();
    accounts.reserve(list->GetCount());
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
        CNonVisual* account = list->ObjectAt(i);
        if (!account) continue;
        if (itemRegistry) accounts.push_back(itemRegistry->accountItemForAccount(account));
        else accounts.push_back(std::make_shared<CAcnTItem>(account));
    }
    return accounts;
}

CNonVisualDataItem::ItemArray CAccTItem::pieChartChildrenArray()
{
    ItemArray items = children();
    for (auto& account : accountArray()) items.push_back(account);
    return items;
}

CNonVisualDataItem::ItemArray CAccTItem::leafArray()
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
    for (auto& account : accountArray()) leaves.push_back(account);
    return leaves;
}

LineItemArray CAccTItem::allTransactionDetails()
{
    LineItemArray lines;
    if (!isBound()) return lines;
    for (auto& account : accountArray()) {
        LineItemArray own = account->allTransactionDetailsWithoutFinalizing();
        lines.insert(lines.end(), own.begin(), own.end());
    }
    for (const Ptr& child : children()) {
        auto childType = std::dynamic_pointer_cast<CAccTItem>(child);
        if (!childType) continue;
        LineItemArray below = childType->allTransactionDetails();
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

GXObjectDescriptionStrings CAccTItem::getObjectDescription() const
{
    GXObjectDescriptionStrings strings;
    strings.objectTypeName = localized("AccountType");
    strings.childObjectTypeName = localized("Account");
    strings.childGroupTypeName = localized("AccountType");
    strings.canBeDeleted = true;
    return strings;
}

void CAccTItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    CNonVisualDataItem::synchronizeWithObject(other);
    const auto* source = dynamic_cast<const CAccTItem*>(&other);
    if (!source) return;
    setGetName(source->getNameOnly());
    setGetAccountNumber(source->getAccountNumber());
    setGetDescription(source->getDescription());
    setGetBalance(source->getBalance());
    setGetMasterType(source->getMasterType());
    setGetParentType(source->getParentType());
}

void CAccTItem::synchronizeWithParameters(const AccountTypeArguments& arguments)
{
    setGetName(arguments.accountTypeName);
    setGetAccountNumber(arguments.accountingNumber);
    setGetDescription(arguments.accountTypeDescription);
    setGetMasterType(arguments.theMasterType);
    setGetParentType(arguments.theAccountTypeId);
}

void CAccTItem::ListenToMessage(MessageT message, void* param)
{
    switch (message) {
    case msg::kBalanceChanged:
        postNotification("FOLDERBALANCECHANGED");
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
