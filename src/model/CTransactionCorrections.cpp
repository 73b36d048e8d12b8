// The correction transactions that accounts book for themselves: a currency
// fluctuation after a rate change, a balance adjustment to a wanted balance,
// and the clearing of a home-currency remainder.

#include <cmath>
#include <string>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/foundation/CLocalize.h"

namespace ch {

namespace {

// Sets a line's amounts outside any balance, then puts it on the object with
// the id; with post the amounts are booked there, else only the line moves
// (its owner books the amount itself).
void PlaceLine(CDebit* line, double local, double amount, ObjectIdT objectId, bool post)
{
    line->RemoveFromParent();
    line->Put_mAmounts(local, amount);
    line->Put_mAccountId(objectId, post, nullptr);
}

} // namespace

CTransaction* CTransaction::NewCorrection(CDocAccounting* document)
{
    auto* transaction = new CTransaction(-1, document, false, transaction_type::kOther, false);
    if (document && document->mTransactionList) document->insertTransaction(transaction);
    return transaction;
}

CTransaction* CTransaction::makeCurrencyAdjustmentTransaction(CAccount* account, double delta,
                                                              CDocAccounting* document,
                                                              bool property, TextRef description,
                                                              CCurrency* currency, DateT date)
{
    if (!account || !currency) return nullptr;
    double m = std::fabs(delta);
    CTransaction* transaction = NewCorrection(document);
    transaction->Put_Status(status::kBlocked);
    transaction->mCurrencyId = booking::HomeCurrencyId(document);
    transaction->Put_mTotalAmount(m);
    transaction->Put_StringrefDesc(description);
    char heading[kNameSize] = {};
    std::string name = CLocalize::LocalizedName("currencyFluctuations", heading);
    name += currency->Get_ShortStringRefName();
    transaction->Put_StringrefName(name);
    transaction->Put_mb_budgetOneOff(true);
    if (date != 0) transaction->Put_mDate(date);

    CDebit* debit = transaction->Add_Debit(1, false, 0.0);
    CDebit* credit = transaction->Add_Credit(1, false, 0.0);
    double categoryAmount = property ? delta : -delta;
    CDebit* category = transaction->Add_ExpenseType(1, false, categoryAmount);

    // The rate change moves home-currency value only: no amount in the currency.
    debit->RemoveFromParent();
    credit->RemoveFromParent();
    debit->Put_mCurrency(currency->Get_Id(), currency);
    credit->Put_mCurrency(currency->Get_Id(), currency);
    ObjectIdT differenceAccount = currency->Get_mDiffAccount();
    // The account's own line is not booked (the account has taken delta
    // already); its side is the one that books delta on the account when the
    // document is read again, for every sign and kind of account.
    if (property == (delta >= 0.0)) {
        PlaceLine(debit, m, 0.0, differenceAccount, true);
        PlaceLine(credit, m, 0.0, account->Get_Id(), false);
    } else {
        PlaceLine(debit, m, 0.0, account->Get_Id(), false);
        PlaceLine(credit, m, 0.0, differenceAccount, true);
    }
    category->Put_mAccountId(currency->Get_mDiffExpType(), true, nullptr);
    return transaction;
}

CTransaction* CTransaction::AdjustBlance(CAccount* account, CCurrency* currency, double delta,
                                         CDocAccounting* document, bool property, bool opening,
                                         bool rounding)
{
    if (!account) return nullptr;
    double m = std::fabs(delta);
    CTransaction* transaction = NewCorrection(document);
    CDebit* debit = transaction->Add_Debit(1, true, 0.0);
    CDebit* credit = transaction->Add_Credit(1, true, 0.0);
    CDebit* category = transaction->Add_ExpenseType(1, true, 0.0);
    transaction->Put_Status(status::kBalancing);
    if (currency) transaction->Put_mCurrencyId(currency->Get_Id(), currency);
    transaction->Put_mTotalAmount(m);

    const char* text = rounding ? "Rounding errors after the home currency was changed"
                       : opening ? "Opening Balance"
                                 : "Balance Adjustment";
    transaction->Put_mDescription(text);
    transaction->Put_Name(rounding ? "Rounding Errors" : text);

    booking::Defaults defaults = booking::DefaultsOf(document);
    if ((delta >= 0.0) == property) {
        debit->Put_mAccountId(defaults.openingBalanceAccount, true, nullptr);
        credit->Put_mAccountId(account->Get_Id(), true, nullptr);
    } else {
        debit->Put_mAccountId(account->Get_Id(), true, nullptr);
        credit->Put_mAccountId(defaults.openingBalanceAccount, true, nullptr);
    }
    category->Put_mAccountId(opening ? defaults.openingBalanceCategory : defaults.correctionCategory,
                             true, nullptr);
    // Setting the total again spreads it over the single lines.
    transaction->Put_mTotalAmount(0.0);
    transaction->Put_mTotalAmount(m);
    return transaction;
}

CTransaction* CTransaction::ForceLocalBalanceToZero(CAccount* account, CDocAccounting* document)
{
    if (!account) return nullptr;
    double balance = account->Get_mLocalBalance();
    double m = std::fabs(balance);
    CTransaction* transaction = NewCorrection(document);
    CDebit* debit = transaction->Add_Debit(1, true, 0.0);
    CDebit* credit = transaction->Add_Credit(1, true, 0.0);
    CDebit* category = transaction->Add_ExpenseType(1, true, 0.0);
    transaction->Put_Status(status::kBalancing);
    transaction->Put_mCurrencyId(booking::HomeCurrencyId(document), nullptr);
    transaction->Put_mTotalAmount(0.0);
    transaction->Put_mDescription("After foreign balance was set to 0, local balance was not zero.");
    transaction->Put_Name("Local Balance Adustment");

    booking::Defaults defaults = booking::DefaultsOf(document);
    bool accountOnDebit = account->thisIsAPropretyAccount() ? balance > 0.0 : balance <= 0.0;
    ObjectIdT debitAccount = accountOnDebit ? account->Get_Id() : defaults.openingBalanceAccount;
    ObjectIdT creditAccount = accountOnDebit ? defaults.openingBalanceAccount : account->Get_Id();
    // Every line is booked, the account's own line too: it takes exactly the
    // remainder off the account (no amount in the account's currency), and
    // the opening-balance account and the correction category receive it, so
    // the balances are the same before and after the document is read again.
    transaction->Put_mLocalAmount(m);
    PlaceLine(debit, m, 0.0, debitAccount, true);
    PlaceLine(credit, m, 0.0, creditAccount, true);
    // What is taken off property is a loss, what is taken off a debt a gain,
    // shown as the correction category's kind counts it.
    const double moved = account->thisIsAPropretyAccount() ? -balance : balance;
    PlaceLine(category,
              CExptypeDetail::AmountShowing(booking::FindCategory(document, defaults.correctionCategory), moved, moved),
              0.0, defaults.correctionCategory, true);
    return transaction;
}

} // namespace ch
