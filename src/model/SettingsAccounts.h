#pragma once
// The accounts the settings name: where corrections, opening balances,
// commissions, stock taxes, unspecified income and expenses, the VAT balance
// and card spendings book. They must stay where the settings expect them.

#include "model/CPreference.h"

namespace ch {

inline bool SettingsNameAccount(const CPreference& settings, ObjectIdT id)
{
    const ObjectIdT named[] = {
        settings.Get_mDefAccntCurrencyFluctuations(), settings.Get_mDefAccntOpeningBalance(),
        settings.Get_mDefAccntOwnProperty(),          settings.Get_mDefAccntStockCommission(),
        settings.Get_mDefAccntStockTax(),             settings.Get_mDefAccntUnspecifiedExpense(),
        settings.Get_mDefAccntUnspecifiedIncome(),    settings.Get_mVatBalanceAcnt(),
        settings.Get_mDefaultCreditCardAccount()};
    for (ObjectIdT each : named)
        if (each == id) return true;
    return false;
}

} // namespace ch
