// What a transaction means for one share: the money invested or returned, the
// costs and the number of shares moved (the share performance and the
// investment column of the transaction item read it).

#include <cmath>

#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"

namespace ch {

namespace {

CAccount* AccountOf(const CDebit* line)
{
    CNonVisual* object = line->Get_mAccountPtr();
    return object && object->Get_ObjectType() == type::kAccount ? static_cast<CAccount*>(object) : nullptr;
}

double LocalOf(const CDebit* line)
{
    return line ? line->Get_mLocalAmount() : 0.0;
}

} // namespace

long CTransaction::Get_Investment(CCurrency* share, double& invested, double& costs,
                                  std::int32_t& shares, double& zeroLinesBalance, long, long) const
{
    invested = 0.0;
    costs = 0.0;
    shares = 0;
    zeroLinesBalance = 0.0;
    if (!share) return 0;
    const ObjectIdT portfolio = share->Get_mPortfolioAccountId();
    const ObjectIdT commission = share->Get_mComissionAccountId();

    // The debit lines by class; a later line replaces an earlier one of its class.
    const CDebit* portfolioDebit = nullptr;
    const CDebit* zeroPortfolioDebit = nullptr;
    const CDebit* propertyDebit = nullptr;
    const CDebit* profitAndLossDebit = nullptr;
    for (ArrayIndexT i = 1; i <= CountOf(&mDebitList); ++i) {
        const CDebit* line = LineAt(&mDebitList, i);
        if (line->Get_mAccountId() == portfolio) {
            bool zeroSharesWithValue = line->Get_mAmount() == 0.0 && line->Get_mLocalAmount() != 0.0;
            (zeroSharesWithValue ? zeroPortfolioDebit : portfolioDebit) = line;
            continue;
        }
        CAccount* account = AccountOf(line);
        if (!account) continue;
        if (account->thisIsAnOwnPropretyAccount()) propertyDebit = line;
        else if (account->thisIsAProfitAndLossAccount()) profitAndLossDebit = line;
    }

    // A dividend booked against the portfolio account: its cash and its income.
    if (mSpecialTypeT == special_type::kDividend && mReferenceObjectId == portfolio) {
        invested = LocalOf(propertyDebit);
        costs = LocalOf(profitAndLossDebit);
        return 1;
    }

    const CDebit* portfolioCredit = nullptr;
    const CDebit* zeroPortfolioCredit = nullptr;
    const CDebit* commissionCredit = nullptr;
    const CDebit* profitAndLossCredit = nullptr;
    for (ArrayIndexT i = 1; i <= CountOf(&mCreditList); ++i) {
        const CDebit* line = LineAt(&mCreditList, i);
        if (line->Get_mAccountId() == portfolio) {
            (line->Get_mAmount() == 0.0 ? zeroPortfolioCredit : portfolioCredit) = line;
            continue;
        }
        if (line->Get_mAccountId() == commission) {
            commissionCredit = line;
            continue;
        }
        CAccount* account = AccountOf(line);
        if (!account || account->thisIsAnOwnPropretyAccount()) continue;
        if (account->thisIsAProfitAndLossAccount()) profitAndLossCredit = line;
    }
    const CDebit* fee = commissionCredit ? commissionCredit : profitAndLossCredit;
    const CDebit* extra = commissionCredit ? profitAndLossCredit : nullptr;

    // No shares moved: only the value booked on the portfolio without shares.
    if (!portfolioDebit && !portfolioCredit) {
        zeroLinesBalance = LocalOf(zeroPortfolioCredit) - LocalOf(zeroPortfolioDebit);
        return 0;
    }

    costs = LocalOf(fee);
    double count = 0.0;
    if (portfolioDebit) {
        invested += portfolioDebit->Get_mLocalAmount();
        count = std::trunc(count + portfolioDebit->Get_mAmount());
    }
    if (portfolioCredit) {
        invested -= portfolioCredit->Get_mLocalAmount();
        count = std::trunc(count - portfolioCredit->Get_mAmount());
    }
    // The difference lines make the share value into the cash that moved: a
    // difference debit is money gained (less paid on a purchase, more received
    // on a sale), a difference credit money lost, whichever way the shares went.
    if (profitAndLossDebit) invested += LocalOf(profitAndLossDebit);
    if (extra) invested -= LocalOf(extra);
    shares = static_cast<std::int32_t>(count);
    return 1;
}

} // namespace ch
