#include "model/DefaultBooks.h"

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CLocalize.h"

namespace ch {

namespace {

struct Entry {
    ObjectIdT id;
    const char* nameKey;
    const char* descriptionKey;   // null: no description
    ObjectIdT parent;             // master type, account type or category group
    bool open;
};

// The keys are the string tables' own, misspellings included.
constexpr Entry kAccountTypes[] = {
    {1, "OwnProperty", nullptr, 1, true},
    {2, "Debt", "Debt", 2, false},
    {3, "PLAcctName", "PLAcctDesc", 3, false},
    {6, "Assets", "AssetDesc", 6, false},
};

constexpr Entry kAccounts[] = {
    {1, "correctionAnctName", "correctionAnctDesc", 3, false},
    {2, "profitAnctName", "profitAnctDesc", 3, false},
    {3, "lossesAnctName", "lossesAnctDesc", 3, false},
    {4, "defaultAnctName", "defaultAnctDesc", 1, false},
};

constexpr Entry kGroups[] = {
    {0, "incomeMxpTName", nullptr, 0, true},
    {1, "expenseMxpTName", nullptr, 0, true},
    {2, "transferMxpTName", nullptr, 0, true},
    {3, "openingMxpTName", nullptr, 0, false},
    {4, "correcionMxpTName", nullptr, 0, false},
};

constexpr Entry kCategories[] = {
    {1, "expenseExpTName", "expenseExpTDesc", 1, false},
    {2, "incomeExpTName", "incomeExpTDesc", 0, false},
    {3, "transferExpTName", "transferExpTDesc", 2, false},
    {4, "openingExpTName", "openingExpTDesc", 3, false},
    {5, "currencyExpTName", "currencyExpTDesc", 4, false},
    {6, "correctionsExpTName", "correctionsExpTDesc", 4, false},
};

// The localized name (and open flag) of an entry onto the object.
void Name(CNonVisual* object, const Entry& entry)
{
    char name[kNameSize] = {};
    CLocalize::LocalizedName(entry.nameKey, name);
    object->Put_Name(name);
    if (entry.open) object->Put_mb_IsOpen(true);
}

// The localized description of an entry, when it has one, onto the object.
template <typename T>
void Describe(T* object, const Entry& entry)
{
    if (!entry.descriptionKey) return;
    char description[kDescriptionSize] = {};
    CLocalize::LocalizedDesc(entry.descriptionKey, description);
    object->Put_mDescription(description);
}

} // namespace

void BuildDefaultBooks(CDocAccounting& root, const char* homeCurrencySymbol)
{
    delete root.mPreference;
    root.mPreference = new CPreference(&root, 1);
    root.mPreference->Put_mNrOfDecimals(static_cast<std::int32_t>(CDecimal::getNrOfDecimals()));

    auto* me = new CAccountOwner(1, &root);
    me->Put_Document(&root);
    me->Put_Name("Me");
    root.mAccountOwnerList->InsertObjectAt(me, 1);

    auto* home = new CCurrency(1, &root);
    home->Put_Name(homeCurrencySymbol);
    home->Put_mDescription(homeCurrencySymbol);
    // Validated, as reading would make it: rate changes then revalue balances.
    home->Validate();
    root.mCurrencyList->InsertObjectAt(home, 1);

    for (const Entry& entry : kAccountTypes) {
        auto* accountType = new CAccType(entry.id, &root);
        accountType->Put_mMasterType(entry.parent);
        Name(accountType, entry);
        Describe(accountType, entry);
        root.mAccountTypeList->AppendObject(accountType);
    }
    root.mAccountTypeList->Sort();

    for (const Entry& entry : kAccounts) {
        auto* account = new CAccount(entry.id, &root);
        account->Put_mAccountTypeId(entry.parent, nullptr, true);
        Name(account, entry);
        Describe(account, entry);
        root.mAccountList->AppendObject(account);
    }
    root.mAccountList->Sort();

    for (const Entry& entry : kGroups) {
        auto* group = new CMasterExpenseType(entry.id, &root);
        Name(group, entry);
        root.mMasterExpenseTypeList->InsertObjectAt(group, 1);
    }

    for (const Entry& entry : kCategories) {
        auto* category = new CExpenseType(entry.id, &root);
        category->Put_mMasterType(entry.parent);
        Name(category, entry);
        Describe(category, entry);
        root.mExpenseTypeList->AppendObject(category);
    }
    root.mExpenseTypeList->Sort();
}

} // namespace ch
