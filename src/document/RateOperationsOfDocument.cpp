#include "document/RateOperationsOfDocument.h"

#include "bridge/CCurRItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/ShareTradeArguments.h"
#include "model/CDocAccounting.h"
#include "model/CTransactionArray.h"

namespace ch {
namespace {

// The trades and dividends book transactions: whether one was booked shows
// in the size of the transaction list.
std::size_t transactionCount(MyDocument& document)
{
    return document.accounting()->mTransactionList->GetCount();
}

} // namespace

CommandOutcome RateOperationsOfDocument::changeRateForCurrency(CCurRItem& currency, long quantity, double factor,
                                                               DateT date)
{
    currency.changeRateToQuantity(quantity, factor, date);
    mDocument.notificationCenter().post(GXCSharePriceModifiedNotification, currency.shared_from_this());
    return CommandOutcome::changed(1);
}

CommandOutcome RateOperationsOfDocument::buyOrSellShares(CCurRItem& share,
                                                         const arguments::BuySellSharesParameters& args)
{
    std::size_t before = transactionCount(mDocument);
    bool updateRate = args.updateRateInd.value_or(false);
    share.buyOrSellShares(args.price.value_or(0.0), args.commission.value_or(0.0), args.quantity.value_or(0.0),
                          args.totalValue.value_or(0.0), args.fromAccountId.value_or(0),
                          args.commissionAccountId.value_or(0), args.description.value_or(""), updateRate,
                          static_cast<DateT>(args.transactionDate.value_or(0)), args.isBuyInd.value_or(false));
    bool booked = transactionCount(mDocument) != before;
    return {1, booked || updateRate};
}

CommandOutcome RateOperationsOfDocument::registerDividendForShare(CCurRItem& share,
                                                                  const arguments::RegisterDividendParameters& args)
{
    bool booked = share.registerDividend(static_cast<DateT>(args.transactionDate.value_or(0)),
                                         args.dividend.value_or(0.0), args.tax.value_or(0.0),
                                         args.fromAccountId.value_or(0), args.toAccountId.value_or(0),
                                         args.forAccountId.value_or(0), args.taxesAccountId.value_or(0),
                                         args.taxesCategoryId.value_or(0), args.description.value_or(""));
    return {1, booked};
}

} // namespace ch
