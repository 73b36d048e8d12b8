// The share operations of a currency of type 1: a purchase, a sale or a
// dividend booked as one balanced transaction, the portfolio account that
// holds the share, and the share's performance.

#include <algorithm>
#include <cmath>
#include <string>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CNonvisualExaminator.h"
#include "model/CTransaction.h"
#include "model/ModelComparators.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CLocalize.h"

namespace ch {

namespace {

// The error that refuses a trade of a share without a portfolio account.
constexpr long kErrorNoPortfolioAccount = 138;

// Trades below this difference between cash and share value book no difference lines.
constexpr double kDifferenceThreshold = 0.005;

std::string Localized(const char* key)
{
    char buffer[kNameSize] = {};
    return CLocalize::LocalizedName(key, buffer);
}

} // namespace

// --- the portfolio account

// A portfolio account holds the share: an account in another currency (a new
// share names the default bank account) would take the shares as money.
CAccount* CCurrency::GetPortfolioAccount() const
{
    if (mPortfolioAccountId < 0) return nullptr;
    CAccount* account = booking::FindAccount(mDocument, mPortfolioAccountId);
    return account && account->Get_mCurrency() == Get_Id() ? account : nullptr;
}

CAccount* CCurrency::searchPortfolioAccount()
{
    if (CAccount* known = GetPortfolioAccount()) return known;
    if (!mDocument || !mDocument->mAccountList) return nullptr;
    CNamedListArray* property = mDocument->mAccountList->Get_SubList(CAccountArray::kProperty);
    CAccount* holding = nullptr;   // the last one that holds shares
    CAccount* other = nullptr;     // the last one that holds none
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(property->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(property->ObjectAt(i));
        if (account->Get_mCurrency() != Get_Id()) continue;
        (account->Get_mBalance() > 0.0 ? holding : other) = account;
    }
    CAccount* found = holding ? holding : other;
    if (found) mPortfolioAccountId = found->Get_Id();
    return found;
}

// --- trades

long CCurrency::BuyStock(double price, double commission, double quantity, double value, ObjectIdT account,
                         ObjectIdT commissionAccount, TextRef description, bool updateRate, DateT date)
{
    return MakeStockTransaction(price, commission, quantity, value, account, commissionAccount, description,
                                updateRate, date, true);
}

long CCurrency::SellStock(double price, double commission, double quantity, double value, ObjectIdT account,
                          ObjectIdT commissionAccount, TextRef description, bool updateRate, DateT date)
{
    return MakeStockTransaction(price, commission, quantity, value, account, commissionAccount, description,
                                updateRate, date, false);
}

long CCurrency::MakeStockTransaction(double price, double commission, double quantity, double value,
                                     ObjectIdT account, ObjectIdT commissionAccount, TextRef description,
                                     bool updateRate, DateT date, bool isBuy)
{
    if (!mDocument) return 0;
    // Money moves in whole cents: a price times a quantity can leave a
    // fraction that no line of the other side matches.
    value = RoundAmount(value);
    commission = RoundAmount(commission);
    // Without an account that holds the shares the cash would move alone.
    CAccount* portfolioAccount = searchPortfolioAccount();
    if (!portfolioAccount) {
        CErrorManager::RaiseError(kErrorNoPortfolioAccount);
        return 0;
    }
    const ObjectIdT portfolio = portfolioAccount->Get_Id();
    const std::string text = Localized(isBuy ? "BUY" : "SELL");
    if (date == 0) date = CDate::GetNowAsDateT();
    mDocument->SetModified(1);
    const ObjectIdT home = booking::HomeCurrencyId(mDocument);
    const CCurrency* base = Search_Basecurrency();

    // A share with no recorded price yet has only the one it was made with,
    // which nobody typed: its first trade's price becomes its price.
    if (updateRate || CountOf(mHistoryList.get()) == 0) Put_mConversionFactorAndAmount(1, price, date);

    if (commissionAccount != mComissionAccountId) mComissionAccountId = commissionAccount;

    CTransaction* trade = mDocument->InsertTransaction(0, 0, transaction_type::kOther);
    if (!trade) return 0;
    trade->Put_mReferenceObjectId(Get_Id());
    trade->Put_mDate(date);
    trade->Put_mCurrencyId(home, nullptr);
    trade->Put_Name("Use StringRefName");
    trade->Put_StringrefName(text + " " + Get_ShortStringRefName());
    trade->Put_StringrefDesc(description);
    trade->Put_mSpecialTypeT(special_type::kShareTrade);

    double total = value;
    if (!isBuy) {
        const double byShare = ConvertToLocal(quantity, 0, true);
        const double byBase = base ? base->ConvertToLocal(quantity * price, 0, true) : quantity * price;
        total = std::max(byShare, byBase);
    }
    // The price times the quantity can carry fractions of a cent.
    trade->Put_mTotalAmount(RoundAmount(total));

    // The share line moves the shares themselves: its amount is in the share,
    // worth the price on the trade's date (not today's, which a later price
    // may have set): a trade entered after the fact is worth what was paid.
    const double shareValue = ConvertToLocal(quantity, date, true);
    if (isBuy) {
        trade->Set_Debit_Account(trade->Add_Debit(1, false, value), account);
        CCredit* shares = trade->Add_Credit(1, false, 0.0);
        trade->Set_Credit_Curreny(shares, Get_Id(), this);
        shares->Put_mAmounts(shareValue, quantity);
        trade->Set_Credit_Account(shares, portfolio);
    } else {
        CDebit* shares = trade->Add_Debit(1, false, 0.0);
        trade->Set_Debit_Curreny(shares, Get_Id(), this);
        shares->Put_mAmounts(shareValue, quantity);
        trade->Set_Debit_Account(shares, portfolio);
        trade->Set_Credit_Account(trade->Add_Credit(1, false, value), account);
    }
    trade->Set_Credit_Account(trade->Add_Credit(1, false, commission), commissionAccount);
    const bool incomeCategory = CNonvisualExaminator::isIncomeReasonCodeId(mDocument, mComissionExpenseTypeId);
    trade->Set_ExpenseType_Account(trade->Add_ExpenseType(1, false, incomeCategory ? -commission : commission),
                                   mComissionExpenseTypeId);

    // The difference between the cash and the value of the shares goes to the
    // share's own result account and category, on whichever side is short:
    // a buy below the shares' value is short on the debit side, one above it
    // on the credit side, and a sale the other way round. It is measured on
    // the lines, so that both sides come out equal.
    double fluctuation = 0.0;
    const double creditShort = trade->Get_DebitAmount(fluctuation) - trade->Get_CreditAmount(fluctuation);
    if (std::fabs(creditShort) > kDifferenceThreshold) {
        if (creditShort > 0.0) {
            CCredit* line = trade->Add_Credit(1, false, creditShort);
            trade->Set_Credit_Account(line, mDiffAccount);
            trade->Set_ExpenseType_Account(trade->Add_ExpenseType(1, false, -line->Get_mLocalAmount()),
                                           mDiffExpType);
        } else {
            CDebit* line = trade->Add_Debit(1, false, -creditShort);
            trade->Set_Debit_Account(line, mDiffAccount);
            trade->Set_ExpenseType_Account(trade->Add_ExpenseType(1, false, line->Get_mLocalAmount()),
                                           mDiffExpType);
        }
    }
    // Budgets made from past months leave the trade out.
    trade->Put_mb_budgetOneOff(true);
    return 1;
}

// --- dividends

long CCurrency::RegisterDividend(DateT date, double amount, double tax, ObjectIdT fromAccount,
                                 ObjectIdT toAccount, ObjectIdT category, ObjectIdT taxAccount,
                                 ObjectIdT taxCategory, const char* description)
{
    if (!mDocument) return 0;
    CTransaction* dividend = mDocument->InsertTransaction(0, 0, transaction_type::kOther);
    if (!dividend) return 0;
    dividend->Put_mReferenceObjectId(Get_Id());
    dividend->Put_mDate(date);
    dividend->Put_mCurrencyId(booking::HomeCurrencyId(mDocument), nullptr);
    char shortName[kNameSize] = {};
    Get_ShortName(shortName);
    dividend->Put_Name((std::string("Dividend ") + shortName).c_str());
    dividend->Put_mDescription(description);
    dividend->Put_mSpecialTypeT(special_type::kDividend);
    dividend->Put_mTotalAmount(amount);

    dividend->Set_Debit_Account(dividend->Add_Debit(1, true, amount), fromAccount);
    // A debit of no shares ties the dividend to the portfolio.
    if (CAccount* portfolio = GetPortfolioAccount()) {
        CDebit* line = dividend->Add_Debit(1, false, 0.0);
        dividend->Set_Debit_Curreny(line, Get_Id(), this);
        dividend->Set_Debit_Account(line, portfolio->Get_Id());
    }
    dividend->Set_Credit_Account(dividend->Add_Credit(1, true, amount - tax), toAccount);
    if (tax != 0.0) {
        dividend->Set_Credit_Account(dividend->Add_Credit(1, true, tax), taxAccount);
        dividend->Set_ExpenseType_Account(dividend->Add_ExpenseType(1, true, amount), category);
        dividend->Set_ExpenseType_Account(dividend->Add_ExpenseType(1, true, tax), taxCategory);
    } else {
        dividend->Set_ExpenseType_Account(dividend->Add_ExpenseType(1, true, amount), category);
    }
    return 1;
}

// --- performance

long CCurrency::getStockPerformance(double& invested, double& returned, double& costs, double& result,
                                    double& netResult, double& resultPercent, double& netResultPercent,
                                    DateT from, DateT to)
{
    invested = returned = costs = result = netResult = resultPercent = netResultPercent = 0.0;
    if (mCurrencyType != currency_type::kShare) return 0;
    CAccount* portfolio = searchPortfolioAccount();
    if (!portfolio) return 0;
    double value = 0.0;
    portfolio->getStockPerformance(invested, returned, costs, value, from, to);
    result = returned + value - invested;
    netResult = result - costs;
    if (invested != 0.0) {
        resultPercent = result / (invested / 100.0);
        netResultPercent = netResult / (invested / 100.0);
    }
    return 1;
}

std::unique_ptr<CNamedListArray> CCurrency::getStockTransactionList()
{
    CAccount* portfolio = mCurrencyType == currency_type::kShare ? searchPortfolioAccount() : nullptr;
    if (!portfolio) return std::make_unique<CNamedListArray>(new CTransactionComparator, false);
    return portfolio->getStockTransactionList();
}

} // namespace ch
