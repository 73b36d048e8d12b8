#pragma once
// The document's operations of commands 18 and 20 to 22: a rate, a share
// trade or a dividend is booked by the currency's item; a rate change is
// announced for currencies and shares alike.

#include "document/DocumentOperations.h"

namespace ch {

class MyDocument;

class RateOperationsOfDocument : public RateOperations {
public:
    explicit RateOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    CommandOutcome changeRateForCurrency(CCurRItem& currency, long quantity, double factor, DateT date) override;
    // 1, whether or not the model accepted the trade.
    CommandOutcome buyOrSellShares(CCurRItem& share, const arguments::BuySellSharesParameters& args) override;
    // 1, whether or not the model booked the dividend.
    CommandOutcome registerDividendForShare(CCurRItem& share,
                                            const arguments::RegisterDividendParameters& args) override;

private:
    MyDocument& mDocument;
};

} // namespace ch
