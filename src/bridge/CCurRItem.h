#pragma once
// CCurRItem: the item of a currency or share ('CurR'). It reads the model in
// every property (no kept values), keeps the quotes fetched for a share since
// the item was made, decides whether a rate fetched from the web may replace
// the current one, and is the entry point for share deals, dividends and rate
// changes. Without a model object every property gives none, 0 or "".
//
// Web fetches are split in three steps so that only the fetch runs on a
// worker thread: a request made on the main thread holds what the fetch
// needs, the fetch asks the quote service, and the answer is applied on the
// main thread (MarketDataFetcher drives this).

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "bridge/LineItemList.h"
#include "bridge/QuoteService.h"
#include "model/CAnalysisArray.h"

namespace ch {

class CAcnTItem;
class CCcoNItem;
class CCurrency;
class CTrnSItem;
class QuoteService;

class CCurRItem : public CNonVisualDataItem {
public:
    CCurRItem();
    explicit CCurRItem(CNonVisual* currency, const Ptr& parent = nullptr);
    ~CCurRItem() override;

    bool isShareType() const;
    bool isCurrencyType() const;
    bool isHomeCurrency() const;
    std::string mShortName() const;
    void setMShortName(std::optional<std::string_view> name);
    std::string mBaseShortName() const;
    std::string mDescription() const;
    void setMDescription(std::optional<std::string_view> description);
    std::optional<int> mConversionQuantity() const;
    std::optional<double> mConversionFactor() const;
    std::optional<double> currencyRate() const;
    std::optional<int> mCurrencyType() const;
    std::optional<int> mBaseCurrency() const;
    void setMBaseCurrency(std::optional<int> currencyId);
    std::shared_ptr<CCurRItem> mCurrencyPtr() const;
    std::optional<int> mDiffAccount() const;
    void setMDiffAccount(std::optional<long> accountId);
    std::optional<int> mDiffExpType() const;
    void setMDiffExpType(std::optional<long> categoryId);
    std::optional<bool> mAllowDecimals() const;
    std::optional<std::string> fluctuationsAccountName() const;
    std::optional<std::string> fluctuationsReasonCodeName() const;
    std::optional<int> mPortfolioAccountId() const;
    std::optional<int> mComissionAccountId() const;
    void setMComissionAccountId(std::optional<long> accountId);
    std::optional<int> mComissionExpenseTypeId() const;
    void setMComissionExpenseTypeId(std::optional<long> categoryId);
    std::optional<int> mDividentAccountIdFrom() const;
    void setMDividentAccountIdFrom(std::optional<long> accountId);
    std::optional<int> mDividentAccountIdTo() const;
    void setMDividentAccountIdTo(std::optional<long> accountId);
    std::optional<int> mDividentExpenseTypeId() const;
    void setMDividentExpenseTypeId(std::optional<long> categoryId);
    // The symbol for web look-ups.
    std::string internetSymbol() const;
    void setInternetSymbol(std::optional<std::string_view> symbol);
    // The share's portfolio account; none without one.
    std::shared_ptr<CAcnTItem> portfolioAccount() const;
    // The portfolio account's balance in its own currency; 0 without one.
    double numberOfShares() const;
    // The shares held at the end of the day: the holding account's lines up
    // to that date, each in shares.
    double numberOfSharesOn(DateT date) const;
    // The booking lines of the share or currency, newest first, and their
    // running balances in this list (into the map given; none given: a
    // share's lines keep those of their portfolio account): a share's are
    // its portfolio account's, a currency's those of every account kept in
    // it, with balances in the currency. None for the home currency, in
    // which nearly all the books are kept (its lines are the account pages').
    LineItemArray bookingLines(RunningBalanceMap* balances = nullptr) const;
    // Gross and net result, and both as a percentage of the amount invested,
    // over all dates; 0 for a currency or a share without portfolio account.
    double bruttoResultaat() const;
    double nettoResultaat() const;
    double bruttoPercentage() const;
    double nettoPercentage() const;
    // A new item per rate of the history (newest first), not registered.
    std::vector<std::shared_ptr<CCcoNItem>> mHistoryList() const;
    // The items of the share's transactions, each told its share.
    std::vector<std::shared_ptr<CTrnSItem>> mStockTransactionList() const;

    // Quotes fetched since the item was made, newest first.
    const std::vector<CStockPrice>& mRealTimeRateHistory() const;
    std::optional<double> mRealTimeSharePrice() const { return mSharePrice; }
    void setMRealTimeSharePrice(std::optional<double> price);
    std::optional<double> mRateDifference() const { return mDifference; }
    void setMRateDifference(std::optional<double> difference);

    // --- exchange rate from the web
    struct RateRequest {
        std::string symbol;
        std::string homeSymbol;
        int quantity = 1;
    };
    // What the fetch needs; none when no request is due (a symbol shorter
    // than 2 characters, or the home currency's symbol).
    std::optional<RateRequest> rateRequest(std::string_view homeSymbol) const;
    // Any thread: the value of the quantity in the home currency; none when
    // the service gave nothing usable.
    static std::optional<double> fetchRate(QuoteService& service, const RateRequest& request);
    // The factor to book for a fetched value, or -1: nothing came, it equals
    // the current factor, or it differs from it by more than a third (allowed
    // while the current factor is still exactly 1).
    double acceptFetchedRate(std::optional<double> fetched) const;
    // The three steps at once (main thread); the flag changes nothing.
    double getRateFromWebWithHomeSymbol(QuoteService& service, std::string_view homeSymbol, bool book);

    // --- share quotes from the web
    struct QuoteRequest {
        std::string symbol;
        int quantity = 1;
        double shares = 0.0;   // whole shares held
        double rate = 0.0;     // the booked price of one share
    };
    std::optional<QuoteRequest> quoteRequest() const;
    // Any thread: the quote; none when none came (a failed fetch is logged).
    static std::optional<double> fetchQuote(QuoteService& service, const QuoteRequest& request);
    // Main thread: records a quote above 0 at the front of the history and
    // answers the change in value of the shares held; 0 without a quote.
    double applyQuote(const QuoteRequest& request, std::optional<double> quote);
    // The three steps at once (main thread); the flag changes nothing.
    double updateRealTimeCurrencyList(QuoteService& service, bool flag);

    // --- operations
    void changeRateToQuantity(long quantity, double factor, DateT date);
    void buyOrSellShares(double price, double commission, double quantity, double transactionValue,
                         long fromAccountId, long commissionAccountId, std::string_view description,
                         bool updateRate, DateT date, bool isBuy);
    bool registerDividend(DateT date, double amount, double tax, long fromId, long toId, long forId,
                          long taxesAccountId, long taxesExpenseTypeId, std::string_view description);
    double convertAmountToLocal(double amount, DateT date) const;
    // Books the newest quote (when above 0) as today's rate.
    void bookRealTimeRate();

private:
    CCurrency* currency() const;
    // The seven figures of the share's performance over all dates.
    std::vector<double> performance() const;

    std::vector<CStockPrice> mHistory;
    std::optional<double> mSharePrice;
    std::optional<double> mDifference;
};

} // namespace ch
