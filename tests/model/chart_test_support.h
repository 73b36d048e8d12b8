#pragma once
// A small set of books for the chart-of-accounts tests: a model root with
// settings (home currency 1, accounting year = the calendar year of the fixed
// today, 15 March 2024), the typed lists of account types, accounts, category
// groups, categories and currencies, and helpers that make objects in it. The
// root owns (and deletes) everything the helpers make.

#include <memory>
#include <vector>

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CAccountTypeArray.h"
#include "model/CCurrency.h"
#include "model/CCurrencyArray.h"
#include "model/CCurrencyRate.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CExpenseTypeArray.h"
#include "model/CMasterExpenseType.h"
#include "model/CMasterExpenseTypeArray.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/ModelComparators.h"
#include "model_test_support.h"

namespace ch::test {

class ChartBooks {
public:
    // Without settings the books are empty, ready to be read from a stream.
    explicit ChartBooks(bool withSettings = true)
    {
        if (withSettings) doc.mPreference = new CPreference(&doc);
    }

    CAccountTypeArray& types() { return *doc.mAccountTypeList; }
    CAccountArray& accounts() { return *doc.mAccountList; }
    CMasterExpenseTypeArray& groups() { return *doc.mMasterExpenseTypeList; }
    CExpenseTypeArray& categories() { return *doc.mExpenseTypeList; }
    CCurrencyArray& currencies() { return *doc.mCurrencyList; }

    // A type of the master type, below the parent when one is given.
    CAccType* Type(long masterType, const char* name, CAccType* parent = nullptr)
    {
        auto* accountType = new CAccType(&doc);
        accountType->Put_Name(name);
        accountType->Put_mMasterType(masterType);
        if (parent) accountType->Put_mParentType(parent->Get_Id());
        types().AppendObject(accountType);
        return accountType;
    }

    // An account of the type (none: without a type) holding a home-currency balance.
    CAccount* Account(const char* name, CAccType* accountType, double localBalance = 0.0)
    {
        auto* account = new CAccount(&doc);
        account->Put_Name(name);
        account->Put_mLocalBalance(localBalance);
        account->Put_mBalance(localBalance);
        if (accountType) account->Put_mAccountTypeId(accountType->Get_Id(), accountType, true);
        accounts().AppendObject(account);
        return account;
    }

    // The five predefined groups (ids 0 to 4 are their kinds).
    void PredefinedGroups()
    {
        for (ObjectIdT id = 0; id <= 4; ++id) Group(id, "Group");
    }

    CMasterExpenseType* Group(ObjectIdT id, const char* name, CMasterExpenseType* parent = nullptr)
    {
        auto* group = new CMasterExpenseType(id, &doc);
        group->Put_Name(name);
        if (parent) {
            group->Put_mMasterExpenseType(parent->Get_mMasterExpenseType());
            group->Put_mParentId(parent->Get_Id());
        }
        groups().AppendObject(group);
        return group;
    }

    CExpenseType* Category(const char* name, ObjectIdT groupId)
    {
        auto* category = new CExpenseType(&doc);
        category->Put_Name(name);
        category->Put_mMasterType(groupId);
        categories().AppendObject(category);
        return category;
    }

    // A validated currency with its rate against its base (the home currency unless given).
    CCurrency* Currency(ObjectIdT id, const char* code, QtyT quantity = 1, double factor = 1.0,
                        CurrencyTypeT currencyType = currency_type::kCurrency, CCurrency* base = nullptr)
    {
        auto* currency = new CCurrency(id, &doc);
        currency->Put_Name(code);
        currency->Put_mCurrencyType(currencyType);
        currency->Put_mConversionQuantity(quantity, 0);
        currency->Put_mConversionFactor(factor, 0);
        if (base) currency->Put_mBaseCurrency(base->Get_Id(), base, 0);
        currency->Validate();
        currencies().AppendObject(currency);
        return currency;
    }

    // The numbers of the alerts raised since the last call.
    std::vector<long> TakeAlerts()
    {
        std::vector<long> numbers = env.alerts().numbers();
        env.alerts().clear();
        return numbers;
    }

    ModelEnvironment env;
    CDocAccounting doc;
};

// The names of a list's objects, in list order.
inline std::vector<std::string> NamesOf(const CNamedListArray* list)
{
    std::vector<std::string> names;
    auto count = static_cast<ArrayIndexT>(list->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        char name[kNameSize];
        list->ObjectAt(i)->Get_NameOnly(name);
        names.emplace_back(name);
    }
    return names;
}

// Where two byte strings first differ (the shorter length when one is a
// prefix of the other): tells a failing comparison where to look.
inline std::size_t FirstDifference(const ByteVector& a, const ByteVector& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i == a.size() && i == b.size() ? i : std::min(i, std::max(a.size(), b.size()));
}

inline bool Holds(const CNamedListArray* list, const CNonVisual* object)
{
    return list->FetchIndexOfObject(object) > 0;
}

} // namespace ch::test
