#include "bridge/CAccTItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/ItemsOfList.h"
#include "bridge/ModelText.h"
#include "model/CAccType.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr std::size_t kDescriptionCharacters = 254;

CAccType* accountTypeOf(const CNonVisualDataItem& item)
{
    return static_cast<CAccType*>(item.getSourceItem());
}

} // namespace

// --- properties

std::string CAccTItem::getNameOnly() const
{
    const CAccType* type = accountTypeOf(*this);
    return type ? unicodeOrMacRoman(*type, &CAccType::Get_StringRefNameOnly, &CAccType::Get_NameOnly) : getName();
}

std::string CAccTItem::getDescription() const
{
    const CAccType* type = accountTypeOf(*this);
    if (!type) return mDescription.value_or(std::string());
    return unicodeOrMacRoman(*type, &CAccType::Get_StringrefDesc, &CAccType::Get_mDescription);
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
    announceDisplayState("getBalance");
}

std::string CAccTItem::getAccountNumber() const
{
    const CAccType* type = accountTypeOf(*this);
    if (!type) return mAccountNumber.value_or(std::string());
    return unicodeOrMacRoman(*type, &CAccType::Get_StringRefAccountingNumber, &CAccType::Get_mAccountNumber);
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

// --- collections

CNonVisualDataItem::ItemArray CAccTItem::children()
{
    const CAccType* type = accountTypeOf(*this);
    if (!keptChildren() && type) {
        const auto childTypes = itemsOfList(type->Get_DetailFolders(), registry(),
                                            &CNonVisualDataItemController::accountTypeItemForAccountType);
        keepChildren(ItemArray(childTypes.begin(), childTypes.end()));
    }
    return keptChildren().value_or(ItemArray());
}

std::vector<std::shared_ptr<CAcnTItem>> CAccTItem::accountArray()
{
    const CAccType* type = accountTypeOf(*this);
    return itemsOfList(type ? type->Get_Details() : nullptr, registry(),
                       &CNonVisualDataItemController::accountItemForAccount);
}

CNonVisualDataItem::ItemArray CAccTItem::pieChartChildrenArray()
{
    ItemArray items = children();
    for (auto& account : accountArray()) items.push_back(account);
    return items;
}

CNonVisualDataItem::ItemArray CAccTItem::leafArray()
{
    const auto accounts = accountArray();
    return folderLeafArray(ItemArray(accounts.begin(), accounts.end()));
}

void CAccTItem::appendModelLines(std::vector<CNonVisual*>& lines)
{
    if (!isBound()) return;
    for (const auto& account : accountArray()) account->appendModelLines(lines);
    for (const Ptr& child : children())
        if (auto childType = std::dynamic_pointer_cast<CAccTItem>(child)) childType->appendModelLines(lines);
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
    if (message == msg::kBalanceChanged) postNotification("FOLDERBALANCECHANGED");
    else if (!relayFolderChange(message)) CNonVisualDataItem::ListenToMessage(message, param);
}

} // namespace ch
