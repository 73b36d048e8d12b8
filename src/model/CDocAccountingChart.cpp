// The model root's look-ups and insertions for the chart of accounts: account
// types, category groups, categories and currencies.

#include <memory>

#include "model/CAccType.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

// The ids of the fixed default objects, which the insertions reuse.
constexpr ObjectIdT kHighestDefaultId = 6;

// The currency list is re-sorted before every look-up by text: currencies
// change names and symbols in place, and the look-ups search the sorted order.
using CurrencyLookup = ObjectIdT (CCurrencyArray::*)(TextRef, CCurrency*&, ArrayIndexT&) const;

CCurrency* LookUpCurrency(CCurrencyArray& list, CurrencyLookup lookup, TextRef text)
{
    list.SetNotSorted();
    list.Sort();
    CCurrency* found = nullptr;
    ArrayIndexT position = 0;
    (list.*lookup)(text, found, position);
    return found;
}

template <typename T>
T* Typed(CNonVisual* object, FourCharCode typeCode)
{
    return object && object->Get_ObjectType() == typeCode ? static_cast<T*>(object) : nullptr;
}

template <typename T>
T* ByName(CNamedListArray& list, TextRef name, FourCharCode typeCode)
{
    CNonVisual* found = nullptr;
    ArrayIndexT position = 0;
    if (list.GetIdForValue(name, found, position) == -1) return nullptr;
    return Typed<T>(found, typeCode);
}

bool Given(TextRef text)
{
    return text && !text->empty();
}

// An empty C name is no name: it must not rename what the insertion finds.
bool Given(const char* text)
{
    return text && *text;
}

} // namespace

// --- look-ups

CAccType* CDocAccounting::GetAccountTypeForId(ObjectIdT id) const
{
    return Typed<CAccType>(mAccountTypeList->GetValueForId(id), type::kAccountType);
}

CAccType* CDocAccounting::GetAccountTypeForName(TextRef name) const
{
    mAccountTypeList->SetNotSorted();
    mAccountTypeList->Sort();
    return ByName<CAccType>(*mAccountTypeList, name, type::kAccountType);
}

CAccType* CDocAccounting::SearchAccountType(TextRef text) const
{
    ArrayIndexT position = 0;
    return Typed<CAccType>(mAccountTypeList->SearchObject(text, position), type::kAccountType);
}

long CDocAccounting::getNumberOfRoots(FourCharCode typeCode, long masterType) const
{
    if (typeCode != type::kAccountType) return 0;
    long roots = 0;
    auto count = static_cast<ArrayIndexT>(mAccountTypeList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        auto* accountType = static_cast<CAccType*>(mAccountTypeList->ObjectAt(i));
        if (accountType->IsRootItem() && accountType->Get_mMasterType() == masterType) ++roots;
    }
    return roots;
}

CMasterExpenseType* CDocAccounting::GetMasterExpenseTypeForId(ObjectIdT id) const
{
    return Typed<CMasterExpenseType>(mMasterExpenseTypeList->GetValueForId(id), type::kMasterExpenseType);
}

CMasterExpenseType* CDocAccounting::GetMasterExpenseTypeForName(TextRef name) const
{
    return ByName<CMasterExpenseType>(*mMasterExpenseTypeList, name, type::kMasterExpenseType);
}

CExpenseType* CDocAccounting::GetExpenseTypeForID(ObjectIdT id) const
{
    return Typed<CExpenseType>(mExpenseTypeList->GetValueForId(id), type::kExpenseType);
}

CExpenseType* CDocAccounting::GetExpenseTypeForName(TextRef name) const
{
    return ByName<CExpenseType>(*mExpenseTypeList, name, type::kExpenseType);
}

CExpenseType* CDocAccounting::GetUnspecifiedTransfer() const
{
    return mPreference ? GetExpenseTypeForID(mPreference->Get_mDefExpTUnspecifiedTransfer()) : nullptr;
}

CExpenseType* CDocAccounting::SearchExpenseType(TextRef text) const
{
    if (CExpenseType* category = GetExpenseTypeForName(text)) return category;
    return GetExpenseTypeForID(CNamedListArray::TextToId(text));
}

CCurrency* CDocAccounting::GetCurrencyForId(ObjectIdT id) const
{
    return Typed<CCurrency>(mCurrencyList->GetValueForId(id), type::kCurrency);
}

CCurrency* CDocAccounting::GetCurrencyForSymbol(TextRef symbol) const
{
    return LookUpCurrency(*mCurrencyList, &CCurrencyArray::GetCurrencyForSymbol, symbol);
}

CCurrency* CDocAccounting::GetCurrencyForName(TextRef name) const
{
    return LookUpCurrency(*mCurrencyList, &CCurrencyArray::GetCurrencyForName, name);
}

CCurrency* CDocAccounting::GetCurrencyForDisplayName(TextRef displayName) const
{
    return LookUpCurrency(*mCurrencyList, &CCurrencyArray::GetCurrencyForDisplayName, displayName);
}

CCurrency* CDocAccounting::SearchCurrency(TextRef text) const
{
    if (CCurrency* currency = GetCurrencyForSymbol(text)) return currency;
    if (CCurrency* currency = GetCurrencyForId(CNamedListArray::TextToId(text))) return currency;
    return GetCurrencyForName(text);
}

TextRef CDocAccounting::Get_HomeCurrencySymbol() const
{
    CNonVisual* home = nullptr;
    Get_HomeCurrency(home);
    if (auto* currency = Typed<CCurrency>(home, type::kCurrency)) return currency->Get_ShortStringRefName();
    return std::nullopt;
}

// --- insertion

CAccType* CDocAccounting::InsertAccountType(ObjectIdT id, const char* name, TextRef cfName,
                                            const char* description, TextRef cfDescription,
                                            long masterType, ObjectIdT parentId)
{
    CAccType* accountType = Given(cfName) ? GetAccountTypeForName(cfName) : nullptr;
    if (!accountType && id <= kHighestDefaultId) accountType = GetAccountTypeForId(id);
    if (!accountType) {
        // A taken id would make a type the list refuses: it gets a new one.
        const bool idIsFree = id >= 0 && !GetAccountTypeForId(id);
        auto made = std::make_unique<CAccType>(idIsFree ? id : -1, this);
        made->Put_mMasterType(masterType);
        if (parentId > 0) made->Put_mParentType(parentId);
        accountType = made.get();
        if (mAccountTypeList->InsertObjectAt(accountType, 1) <= 0) return nullptr;
        made.release();
    }
    if (Given(name)) {
        accountType->Put_Name(name);
        accountType->Put_mDescription(description);
    }
    if (Given(cfName)) accountType->Put_StringrefName(cfName);
    // A call that names no type only looks one up; it leaves its description alone.
    if (cfDescription || Given(name) || Given(cfName))
        accountType->Put_StringrefDesc(cfDescription ? cfDescription : TextRef(std::string_view()));
    mAccountTypeList->SetNotSorted();
    mAccountTypeList->Sort();
    return accountType;
}

CMasterExpenseType* CDocAccounting::InsertMasterExpenseType(ObjectIdT id, const char* name, TextRef cfName,
                                                            const char*, TextRef, MasterExpenseTypeT kind,
                                                            ObjectIdT parentId)
{
    CMasterExpenseType* group = name && Given(cfName) ? GetMasterExpenseTypeForName(cfName) : nullptr;
    if (!group && id <= kHighestDefaultId) group = GetMasterExpenseTypeForId(id);
    if (!group) {
        // A taken id would make a group the list refuses: it gets a new one.
        const bool idIsFree = id >= 0 && !GetMasterExpenseTypeForId(id);
        auto made = std::make_unique<CMasterExpenseType>(idIsFree ? id : -1, this);
        // A category stores its group id in one byte: it could never name this group.
        if (made->Get_Id() > CMasterExpenseType::kMaxCategoryGroupId) {
            CErrorManager::RaiseError(CMasterExpenseType::kErrorGroupIdTooLarge);
            return nullptr;
        }
        made->Put_mMasterExpenseType(kind);
        if (parentId != -1) made->Put_mParentId(parentId);
        group = made.get();
        if (mMasterExpenseTypeList->InsertObjectAt(group, 1) <= 0) return nullptr;
        made.release();
    }
    if (Given(name)) group->Put_Name(name);
    if (Given(cfName)) group->Put_StringrefName(cfName);
    group->Validate();
    SetModified(true);
    mMasterExpenseTypeList->SetNotSorted();
    mMasterExpenseTypeList->Sort();
    return group;
}

CExpenseType* CDocAccounting::InsertExpenseType(ObjectIdT id, const char* name, TextRef cfName,
                                                const char* description, TextRef cfDescription,
                                                ObjectIdT groupId, TextRef groupName,
                                                CMasterExpenseType* group, double taxDeductiblePct)
{
    CExpenseType* category = Given(name) && Given(cfName) ? GetExpenseTypeForName(cfName) : nullptr;
    if (!category && id <= kHighestDefaultId) category = GetExpenseTypeForID(id);
    bool madeWithItsId = false;
    if (!category) {
        madeWithItsId = id >= 0 && !GetExpenseTypeForID(id);
        auto made = std::make_unique<CExpenseType>(madeWithItsId ? id : -1, this);
        category = made.get();
        if (mExpenseTypeList->InsertObjectAt(category, 1) <= 0) return nullptr;
        made.release();
    }
    // Without a name the category found keeps its name, group and percentage.
    if (Given(name)) {
        category->Put_Name(name);
        if (description) category->Put_mDescription(description);
        // The group id travels at full width: a group above 255 is refused, never mistaken.
        ObjectIdT target = groupId;
        if (group) {
            target = group->Get_Id();
        } else if (Given(groupName)) {
            if (CMasterExpenseType* named = GetMasterExpenseTypeForName(groupName)) target = named->Get_Id();
        }
        category->Put_mMasterType(target);
        category->Put_mTaxDeductiblePct(taxDeductiblePct);
    }
    if (Given(cfName)) category->Put_StringrefName(cfName);
    if (cfDescription) category->Put_StringrefDesc(cfDescription);
    if (madeWithItsId) mExpenseTypeList->SwitchList(category, true, false);
    mExpenseTypeList->SetNotSorted();
    mExpenseTypeList->Sort();
    SetModified(true);
    return category;
}

CCurrency* CDocAccounting::InsertCurrency(ObjectIdT id, const char* name, TextRef cfName,
                                          const char* description, TextRef cfDescription,
                                          unsigned char flag, CurrencyTypeT currencyType, QtyT quantity,
                                          double factor, DateT date, ObjectIdT baseId,
                                          ObjectIdT diffAccount, ObjectIdT diffCategory)
{
    CCurrency* currency = id != -1 ? GetCurrencyForId(id) : nullptr;
    if (cfName) currency = SearchCurrency(cfName);
    if (!currency && id == 1) currency = GetCurrencyForId(1);
    if (!currency) {
        const bool idIsFree = id >= 0 && !GetCurrencyForId(id);
        auto made = std::make_unique<CCurrency>(idIsFree ? id : -1, this);
        made->Put_mCurrencyType(currencyType);
        currency = made.get();
        if (mCurrencyList->InsertObjectAt(currency, 1) <= 0) return nullptr;
        made.release();
    }
    currency->ImportCurrency(name, description, flag, currencyType, date, quantity, factor, baseId,
                             diffAccount, diffCategory);
    if (cfName) currency->Put_StringrefName(cfName);
    if (cfDescription) currency->Put_StringrefDesc(cfDescription);
    currency->Validate();
    return currency;
}

} // namespace ch
