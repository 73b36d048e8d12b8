#include "model/BookingLookups.h"

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"

namespace ch::booking {

namespace {

// The object with the id in the list, when it is of the expected kind.
template <typename T>
T* FindIn(const CNamedListArray* list, ObjectIdT id, FourCharCode typeCode)
{
    if (!list) return nullptr;
    CNonVisual* object = list->GetValueForId(id);
    return object && object->Get_ObjectType() == typeCode ? static_cast<T*>(object) : nullptr;
}

} // namespace

CAccount* FindAccount(const CDocAccounting* document, ObjectIdT id)
{
    return document ? FindIn<CAccount>(document->mAccountList.get(), id, type::kAccount) : nullptr;
}

CExpenseType* FindCategory(const CDocAccounting* document, ObjectIdT id)
{
    return document ? FindIn<CExpenseType>(document->mExpenseTypeList.get(), id, type::kExpenseType)
                    : nullptr;
}

CCurrency* FindCurrency(const CDocAccounting* document, ObjectIdT id)
{
    return document ? FindIn<CCurrency>(document->mCurrencyList.get(), id, type::kCurrency) : nullptr;
}

CAccType* FindAccountType(const CDocAccounting* document, ObjectIdT id)
{
    return document ? FindIn<CAccType>(document->mAccountTypeList.get(), id, type::kAccountType)
                    : nullptr;
}

namespace {

// The first currency of the document of which `uses` says yes.
template <typename Uses>
const CCurrency* FirstCurrency(const CDocAccounting* document, Uses uses)
{
    const CNamedListArray* currencies = document ? document->mCurrencyList.get() : nullptr;
    for (ArrayIndexT i = 1; currencies && i <= static_cast<ArrayIndexT>(currencies->GetCount()); ++i) {
        const CNonVisual* object = currencies->ObjectAt(i);
        if (!object || object->Get_ObjectType() != type::kCurrency) continue;
        const auto* currency = static_cast<const CCurrency*>(object);
        if (uses(*currency, currency->Get_mCurrencyType() == currency_type::kShare)) return currency;
    }
    return nullptr;
}

} // namespace

const CCurrency* CurrencyBookingOnAccount(const CDocAccounting* document, ObjectIdT id)
{
    return FirstCurrency(document, [id](const CCurrency& currency, bool share) {
        return currency.Get_mDiffAccount() == id ||
               (share && (currency.Get_mComissionAccountId() == id || currency.Get_mDividentAccountIdFrom() == id ||
                          currency.Get_mDividentAccountIdTo() == id));
    });
}

const CCurrency* ShareHeldInAccount(const CDocAccounting* document, ObjectIdT id)
{
    return FirstCurrency(document, [id](const CCurrency& currency, bool share) {
        return share && id > 0 && currency.Get_mPortfolioAccountId() == id;
    });
}

const CCurrency* ShareCountedInAccount(const CDocAccounting* document, ObjectIdT id)
{
    const CAccount* account = FindAccount(document, id);
    return FirstCurrency(document, [account](const CCurrency& currency, bool share) {
        return share && account && currency.Get_mPortfolioAccountId() == account->Get_Id() &&
               account->Get_mCurrency() == currency.Get_Id();
    });
}

const CCurrency* CurrencyBookingOnCategory(const CDocAccounting* document, ObjectIdT id)
{
    return FirstCurrency(document, [id](const CCurrency& currency, bool share) {
        return currency.Get_mDiffExpType() == id ||
               (share && (currency.Get_mComissionExpenseTypeId() == id || currency.Get_mDividentExpenseTypeId() == id));
    });
}

ObjectIdT HomeCurrencyId(const CDocAccounting* document)
{
    return document && document->mPreference ? document->mPreference->Get_mHomeCurrency() : 1;
}

CCurrency* HomeCurrency(const CDocAccounting* document)
{
    return FindCurrency(document, HomeCurrencyId(document));
}

Defaults DefaultsOf(const CDocAccounting* document)
{
    Defaults defaults;
    const CPreference* settings = document ? document->mPreference : nullptr;
    if (!settings) return defaults;
    defaults.ownPropertyAccount = settings->Get_mDefAccntOwnProperty();
    defaults.unspecifiedExpenseAccount = settings->Get_mDefAccntUnspecifiedExpense();
    defaults.unspecifiedIncomeAccount = settings->Get_mDefAccntUnspecifiedIncome();
    defaults.openingBalanceAccount = settings->Get_mDefAccntOpeningBalance();
    defaults.unspecifiedExpenseCategory = settings->Get_mDefExpTUnspecifiedExpense();
    defaults.unspecifiedIncomeCategory = settings->Get_mDefExpTUnspecifiedIncome();
    defaults.unspecifiedTransferCategory = settings->Get_mDefExpTUnspecifiedTransfer();
    defaults.openingBalanceCategory = settings->Get_mDefExpTUnspecifiedOpeningBalance();
    defaults.correctionCategory = settings->Get_mDefExpTUnspecifiedCorrection();
    defaults.portfolioAccountType = settings->Get_mDefPortfolioAccountType();
    defaults.portfolioResultAccountType = settings->Get_mDefPortfolioPLAccountType();
    defaults.portfolioCategory = settings->Get_mDefPortfolioExpenseType();
    return defaults;
}

} // namespace ch::booking
