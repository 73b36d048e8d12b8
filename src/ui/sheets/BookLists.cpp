#include "ui/sheets/BookLists.h"

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"

namespace ch {

namespace book_lists {

CNamedListArray* accountTypes(CDocAccounting* books)
{
    return books ? books->mAccountTypeList.get() : nullptr;
}

CNamedListArray* accounts(CDocAccounting* books)
{
    return books ? books->mAccountList.get() : nullptr;
}

CNamedListArray* propertyAccounts(CDocAccounting* books)
{
    return books && books->mAccountList ? books->mAccountList->Get_SubList(CAccountArray::kProperty) : nullptr;
}

CNamedListArray* profitAndLossAccounts(CDocAccounting* books)
{
    return books && books->mAccountList ? books->mAccountList->Get_SubList(CAccountArray::kProfitAndLoss) : nullptr;
}

CNamedListArray* debtAccounts(CDocAccounting* books)
{
    return books && books->mAccountList ? books->mAccountList->Get_SubList(CAccountArray::kDebt) : nullptr;
}

CNamedListArray* categories(CDocAccounting* books)
{
    return books ? books->mExpenseTypeList.get() : nullptr;
}

CNamedListArray* incomeCategories(CDocAccounting* books)
{
    return books && books->mExpenseTypeList ? books->mExpenseTypeList->Get_SubList(CExpenseTypeArray::kIncome)
                                            : nullptr;
}

CNamedListArray* expenseCategories(CDocAccounting* books)
{
    return books && books->mExpenseTypeList ? books->mExpenseTypeList->Get_SubList(CExpenseTypeArray::kExpense)
                                            : nullptr;
}

CNamedListArray* categoryGroups(CDocAccounting* books)
{
    CNamedListArray* list = books ? books->mMasterExpenseTypeList.get() : nullptr;
    if (list) {
        list->SetNotSorted();
        list->Sort();
    }
    return list;
}

CNamedListArray* currencies(CDocAccounting* books)
{
    return books ? books->mCurrencyList.get() : nullptr;
}

CNamedListArray* moneyCurrencies(CDocAccounting* books)
{
    return books && books->mCurrencyList ? books->mCurrencyList->Get_SubList(CCurrencyArray::kCurrencies) : nullptr;
}

CNamedListArray* owners(CDocAccounting* books)
{
    return books ? books->mAccountOwnerList.get() : nullptr;
}

} // namespace book_lists

namespace book_defaults {

namespace {
const CPreference* settings(CDocAccounting* books)
{
    return books ? books->mPreference : nullptr;
}
} // namespace

long homeCurrencyId(CDocAccounting* books)
{
    CNonVisual* home = nullptr;
    return books ? books->Get_HomeCurrency(home) : 0;
}

long meOwnerId(CDocAccounting* books)
{
    const CAccountOwner* me = books ? books->Get_Me() : nullptr;
    return me ? me->Get_Id() : 0;
}

long ownPropertyAccount(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefAccntOwnProperty() : 0;
}

long unspecifiedExpenseCategory(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefExpTUnspecifiedExpense() : 0;
}

long stockCommissionAccount(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefAccntStockCommission() : 0;
}

long stockCommissionCategory(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefExpTStockCommission() : 0;
}

long unspecifiedIncomeAccount(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefAccntUnspecifiedIncome() : 0;
}

long unspecifiedIncomeCategory(CDocAccounting* books)
{
    return settings(books) ? settings(books)->Get_mDefExpTUnspecifiedIncome() : 0;
}

} // namespace book_defaults

bool nameInUse(CDocAccounting* books, NamedKind kind, std::string_view name, const CNonVisualDataItem* modified)
{
    if (!books)
        return false;
    const TextRef text(name);
    CNonVisual* found = nullptr;
    switch (kind) {
    case NamedKind::Account: found = books->GetAccountForName(text); break;
    case NamedKind::AccountType: found = books->GetAccountTypeForName(text); break;
    case NamedKind::Category: found = books->GetExpenseTypeForName(text); break;
    case NamedKind::CategoryGroup: found = books->GetMasterExpenseTypeForName(text); break;
    }
    if (!found)
        return false;
    if (!modified)
        return true;
    std::string ownName = modified->getName();
    if (auto* account = dynamic_cast<const CAcnTItem*>(modified))
        ownName = account->getNameOnly();
    else if (auto* type = dynamic_cast<const CAccTItem*>(modified))
        ownName = type->getNameOnly();
    if (ownName == name)
        return false;
    return !(modified->getId() && *modified->getId() == found->Get_Id());
}

} // namespace ch
