// The document's queries of its model: lists, objects by id, name or key, the
// registry's items of objects, and the default ids of the settings.

#include <charconv>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/GXNonVisual.h"
#include "document/MyDocument.h"

#include "document/BudgetLineKey.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNonvisualExaminator.h"
#include "model/CPreference.h"
#include "model/ModelCodes.h"
#include "platform/core/unicode.h"

namespace ch {
namespace {

// The decimal integer at the start of the text (after blanks), keeping the
// low 32 bits of a 64-bit reading; 0 when there is none.
ObjectIdT scanId(std::string_view text)
{
    std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return 0;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) value = text.front() == '-' ? INT64_MIN : INT64_MAX;
    else if (error != std::errc()) return 0;
    (void)end;
    return static_cast<ObjectIdT>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

std::string withoutBlanks(std::string text)
{
    std::erase(text, ' ');
    return text;
}

bool hasWhiteSpace(std::string_view text)
{
    return text.find_first_of(" \t\r\n\f\v") != std::string_view::npos;
}

} // namespace

// --- lists

CNamedListArray* MyDocument::getAccTList() const
{
    return theDocument->mAccountTypeList.get();
}

CNamedListArray* MyDocument::getAccountList() const
{
    return theDocument->mAccountList.get();
}

CNamedListArray* MyDocument::getPropertyAcnTList() const
{
    return theDocument->mAccountList->Get_SubList(CAccountArray::kProperty);
}

CNamedListArray* MyDocument::getPLAccountList() const
{
    return theDocument->mAccountList->Get_SubList(CAccountArray::kProfitAndLoss);
}

CNamedListArray* MyDocument::getDebtAccountList() const
{
    return theDocument->mAccountList->Get_SubList(CAccountArray::kDebt);
}

CNamedListArray* MyDocument::getExpenseTypeList() const
{
    return theDocument->mExpenseTypeList.get();
}

CNamedListArray* MyDocument::getIncomeCategoryList() const
{
    CExpenseTypeArray* list = theDocument->mExpenseTypeList.get();
    return list ? list->Get_SubList(CExpenseTypeArray::kIncome) : nullptr;
}

CNamedListArray* MyDocument::getExpenseCategoryList() const
{
    CExpenseTypeArray* list = theDocument->mExpenseTypeList.get();
    return list ? list->Get_SubList(CExpenseTypeArray::kExpense) : nullptr;
}

CNamedListArray* MyDocument::getMasterExpenseTypeList() const
{
    CNamedListArray* list = theDocument->mMasterExpenseTypeList.get();
    list->SetNotSorted();
    list->Sort();
    return list;
}

CNamedListArray* MyDocument::getCurrencyList() const
{
    return theDocument->mCurrencyList.get();
}

CNamedListArray* MyDocument::getOwnerList() const
{
    return theDocument->mAccountOwnerList.get();
}

// --- single objects

CAccType* MyDocument::getAccountTypeForId(ObjectIdT id) const
{
    return theDocument->GetAccountTypeForId(id);
}

CAccount* MyDocument::getAccountForId(ObjectIdT id) const
{
    return theDocument->GetAccountForID(id);
}

CExpenseType* MyDocument::getExpenseTypeForId(ObjectIdT id) const
{
    return theDocument->GetExpenseTypeForID(id);
}

CMasterExpenseType* MyDocument::getMasterExpenseTypeForId(ObjectIdT id) const
{
    return theDocument->GetMasterExpenseTypeForId(id);
}

CAccountOwner* MyDocument::getAccountOwnerForId(ObjectIdT id) const
{
    return theDocument->GetAccountOwnerForId(id);
}

CCurrency* MyDocument::getCurrencyForId(ObjectIdT id) const
{
    return theDocument->GetCurrencyForId(id);
}

CAccType* MyDocument::getAccountTypeForName(std::string_view name) const
{
    return theDocument->GetAccountTypeForName(name);
}

CAccount* MyDocument::getAccountForName(std::string_view name) const
{
    return theDocument->GetAccountForName(name);
}

CExpenseType* MyDocument::getExpenseTypeForName(std::string_view name) const
{
    return theDocument->GetExpenseTypeForName(name);
}

CMasterExpenseType* MyDocument::getMasterExpenseTypeForName(std::string_view name) const
{
    return theDocument->GetMasterExpenseTypeForName(name);
}

CAccountOwner* MyDocument::getAccountOwnerForName(std::string_view name) const
{
    return theDocument->GetAccountOwnerForName(name);
}

CAccount* MyDocument::getAccountForAccountNr(std::string_view number) const
{
    return theDocument->GetAccountForAccountNr(number);
}

CCurrency* MyDocument::getCurrencyForSymbol(std::string_view symbol) const
{
    return theDocument->GetCurrencyForSymbol(symbol);
}

CAccountOwner* MyDocument::getMe() const
{
    return theDocument->Get_Me();
}

CNonVisual* MyDocument::getObjectWithType(FourCharCode type, ObjectIdT id) const
{
    switch (type) {
    case type::kAccountType: return getAccountTypeForId(id);
    case type::kAccount: return getAccountForId(id);
    case type::kExpenseType: return getExpenseTypeForId(id);
    case type::kMasterExpenseType: return getMasterExpenseTypeForId(id);
    default: return nullptr;
    }
}

CNonVisual* MyDocument::objectWithType(std::string_view type, ObjectIdT id) const
{
    if (type == "AcnT") return getAccountForId(id);
    if (type == "AccT") return getAccountTypeForId(id);
    if (type == "ExpT") return getExpenseTypeForId(id);
    if (type == "MxpT") return getMasterExpenseTypeForId(id);
    if (type == "TrnS") {
        std::shared_ptr<CTrnSItem> item = const_cast<MyDocument*>(this)->getTransactionForId(id);
        return item ? item->getSourceItem() : nullptr;
    }
    return nullptr;
}

CNonVisual* MyDocument::objectWithKey(std::string_view key) const
{
    if (key.size() < 4) return nullptr;
    return objectWithType(key.substr(0, 4), scanId(key.substr(4)));
}

CNonVisual* MyDocument::modelObjectForKey(std::string_view key) const
{
    if (key.size() < 5) return nullptr;
    std::string_view type = key.substr(0, 4);
    ObjectIdT id = scanId(key.substr(4));
    if (type == "CurR") return getCurrencyForId(id);
    if (type == "aCoW") return getAccountOwnerForId(id);
    if (type == "RctR") return theDocument->mRecurringList->GetValueForId(id);
    if (type == "TrnS") {
        if (CNonVisual* posted = theDocument->mTransactionList->GetValueForId(id)) return posted;
        return theDocument->mUnlinkedList->GetValueForId(id);
    }
    return objectWithType(type, id);
}

// --- items

std::shared_ptr<CCurRItem> MyDocument::getHomeCurrency()
{
    CNonVisual* home = nullptr;
    theDocument->Get_HomeCurrency(home);
    return home ? mDataItemController.currencyItemForCurrency(home) : nullptr;
}

std::shared_ptr<CAcnTItem> MyDocument::getAccountItemForId(ObjectIdT id)
{
    CAccount* account = getAccountForId(id);
    return account ? mDataItemController.accountItemForAccount(account) : nullptr;
}

std::shared_ptr<CAccTItem> MyDocument::getAccountTypeItemForId(ObjectIdT id)
{
    CAccType* type = getAccountTypeForId(id);
    return type ? mDataItemController.accountTypeItemForAccountType(type) : nullptr;
}

std::shared_ptr<CAcoWItem> MyDocument::getAccountOwnerItemForId(ObjectIdT id)
{
    CAccountOwner* owner = getAccountOwnerForId(id);
    return owner ? mDataItemController.accountOwnerItemForAccountOwner(owner) : nullptr;
}

std::shared_ptr<CExpTItem> MyDocument::getExpenseTypeItemForId(ObjectIdT id)
{
    CExpenseType* category = getExpenseTypeForId(id);
    return category ? mDataItemController.categoryItemForCategory(category) : nullptr;
}

std::shared_ptr<CAcoWItem> MyDocument::getAccountOwnerItemForName(std::string_view name)
{
    CAccountOwner* owner = getAccountOwnerForName(name);
    return owner ? mDataItemController.accountOwnerItemForAccountOwner(owner) : nullptr;
}

std::shared_ptr<CTrnSItem> MyDocument::getTransactionForId(ObjectIdT id)
{
    auto item = std::dynamic_pointer_cast<CTrnSItem>(mDataItemController.objectForKey("TrnS" + std::to_string(id)));
    // The items of transactions that went with their account stay behind,
    // bound to nothing: such a transaction is no longer found.
    return item && item->getSourceItem() ? item : nullptr;
}

std::shared_ptr<CAcoWItem> MyDocument::getAccountOwnerForUID(std::string_view uid) const
{
    std::shared_ptr<CAcoWItem> found;
    for (const std::shared_ptr<CAcoWItem>& owner : mOwners)
        if (owner && owner->UID() == uid) found = owner;
    return found;
}

std::shared_ptr<CAcoWItem> MyDocument::getMeAsAcoWItem()
{
    CAccountOwner* me = getMe();
    return me ? mDataItemController.accountOwnerItemForAccountOwner(me) : nullptr;
}

std::shared_ptr<Observable> MyDocument::dataItemWithKey(std::string_view key)
{
    if (std::shared_ptr<CNonVisualDataItem> item = mDataItemController.objectForKey(key)) return item;
    if (key.substr(0, 4) == "VatR") return VATRateWithId(scanId(key.substr(4)), false);
    // Budgets are items of their own array, not of the registry.
    if (key.substr(0, 4) == "BuDh")
        for (const std::shared_ptr<CBuDhItem>& budget : mBudgetArray())
            if (budget->calculateKey() == key) return budget;
    if (const std::optional<BudgetLineRef> line = parseBudgetLineKey(key)) {
        for (const std::shared_ptr<CBuDhItem>& budget : mBudgetArray())
            if (budget->getId() == line->budgetId)
                return std::static_pointer_cast<CNonVisualDataItem>(
                    budget->getDetailForType(line->budgetedType, line->budgetedId));
        return nullptr;
    }
    // A cross-reference is the one its account line lists for the month
    // with its category, as the model edits it.
    if (const std::optional<BudgetXRefRef> ref = parseBudgetXRefKey(key)) {
        for (const std::shared_ptr<CBuDhItem>& budget : mBudgetArray()) {
            if (budget->getId() != ref->budgetId) continue;
            std::shared_ptr<CBuDdItem> line = budget->getDetailForType(type::kAccount, ref->accountId);
            if (!line) return nullptr;
            for (const std::shared_ptr<CBuDxItem>& xref : line->xRefForPeriod(ref->month))
                if (xref && xref->reasonId() == static_cast<long>(ref->categoryId)) return xref;
            return nullptr;
        }
        return nullptr;
    }
    if (CNonVisual* object = modelObjectForKey(key)) return mDataItemController.dataItemForObject(object);
    return nullptr;
}

std::shared_ptr<CAcnTItem> MyDocument::getAccountForTransactionDescription(std::string_view description)
{
    const bool ignoreBlanks = hasWhiteSpace(description);
    const std::string text = ignoreBlanks ? withoutBlanks(std::string(description)) : std::string(description);
    std::shared_ptr<CAcnTItem> found;
    int matches = 0;
    for (const std::shared_ptr<CAcnTItem>& account : allAccounts()) {
        if (!account) continue;
        std::string name = account->getNameOnly();
        if (utf16Length(name) < 7) continue;
        if (ignoreBlanks) name = withoutBlanks(std::move(name));
        if (containsCaseInsensitive(text, name)) {
            ++matches;
            found = account;
        }
    }
    return matches == 1 ? found : nullptr;
}

bool MyDocument::isTransferableAccountId(ObjectIdT id) const
{
    return CNonvisualExaminator::isTransferableAccountId(theDocument.get(), id);
}

bool MyDocument::isTransferReasonCodeId(ObjectIdT id) const
{
    return CNonvisualExaminator::isTransferReasonCodeId(theDocument.get(), id);
}

// --- default ids of the settings

namespace {
template <class Getter>
long settingOf(const CDocAccounting& root, Getter getter)
{
    return root.mPreference ? static_cast<long>((root.mPreference->*getter)()) : 0;
}
} // namespace

long MyDocument::get_mDefExpTUnspecifiedIncome() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExpTUnspecifiedIncome);
}
long MyDocument::get_mDefExpTUnspecifiedExpense() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExpTUnspecifiedExpense);
}
long MyDocument::get_mDefExpTUnspecifiedTransfer() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExpTUnspecifiedTransfer);
}
long MyDocument::getDefaultOwnPropertyAccount() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntOwnProperty);
}
long MyDocument::get_mDefAcnTUnspecifiedLosses() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntUnspecifiedExpense);
}
long MyDocument::get_mDefAcnTUnspecifiedProfits() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntUnspecifiedIncome);
}
long MyDocument::Get_mDefAccntStockTax() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntStockTax);
}
long MyDocument::Get_mDefExptStockTax() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExptStockTax);
}
long MyDocument::get_mDefAccntStockCommission() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntStockCommission);
}
long MyDocument::get_mDefExpTStockCommission() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExpTStockCommission);
}
long MyDocument::get_mDefAccntCurrencyFluctuations() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefAccntCurrencyFluctuations);
}
long MyDocument::get_mDefExpTUnspecifiedCurrencyFluctuation() const
{
    return settingOf(*theDocument, &CPreference::Get_mDefExpTUnspecifiedCurrencyFluctuation);
}

} // namespace ch
