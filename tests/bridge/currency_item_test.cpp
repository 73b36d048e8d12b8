// Currency, share and rate items: properties, the rule for rates from the
// web, quotes, and fetching on a worker thread with the results applied on
// the main thread.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bridge/CCcoNItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge/MarketDataFetcher.h"
#include "bridge/QuoteService.h"
#include "bridge_test_support.h"
#include "platform/core/dispatcher.h"

namespace ch::test {
namespace {

// Answers from tables, counts its calls and remembers the threads that asked.
class FakeQuoteService : public QuoteService {
public:
    std::optional<double> getQuote(std::string_view symbol) override
    {
        std::lock_guard lock(mMutex);
        ++quoteCalls;
        threads.push_back(std::this_thread::get_id());
        if (symbol == "BROKEN") throw FetchError("page unreadable");
        auto found = quotes.find(std::string(symbol));
        return found == quotes.end() ? std::nullopt : std::optional<double>(found->second);
    }
    std::optional<double> convertForeignQuantity(double quantity, std::string_view symbol,
                                                 std::string_view homeSymbol) override
    {
        std::lock_guard lock(mMutex);
        ++rateCalls;
        threads.push_back(std::this_thread::get_id());
        asked.push_back(std::string(symbol) + ">" + std::string(homeSymbol) + "x" + std::to_string(int(quantity)));
        auto found = rates.find(std::string(symbol));
        return found == rates.end() ? std::nullopt : std::optional<double>(found->second);
    }

    std::map<std::string, double> quotes;
    std::map<std::string, double> rates;
    int quoteCalls = 0;
    int rateCalls = 0;
    std::vector<std::string> asked;
    std::vector<std::thread::id> threads;

private:
    std::mutex mMutex;
};

class CurrencyItemTest : public BooksTest {
protected:
    std::shared_ptr<CCurRItem> currency(ObjectIdT id, const char* name, QtyT quantity, double factor,
                                        const char* symbol, CurrencyTypeT kind = currency_type::kCurrency)
    {
        CCurrency* model = document.addCurrency(id, name, quantity, factor, kind);
        model->Put_mCurrencySymbol(symbol);
        return registry.currencyItemForCurrency(model);
    }

    FakeQuoteService service;
};

TEST_F(CurrencyItemTest, AFetchedRateIsTakenUnlessItJumpsOrStaysTheSame)
{
    auto usd = currency(50, "USD", 1, 1.5, "USD");
    struct Case {
        double current;
        double fetched;
        double booked;
    };
    for (const Case& c : {Case{1.5, 2.1, -1.0}, Case{1.5, 1.9, 1.9}, Case{1.5, 1.5, -1.0}, Case{1.5, 1.0, 1.0},
                          Case{1.0, 40.0, 40.0}}) {
        usd->changeRateToQuantity(1, c.current, 0);
        service.rates["USD"] = c.fetched;
        // Exactly the fetched double: 1.9 is not booked as its nearest float.
        EXPECT_EQ(usd->getRateFromWebWithHomeSymbol(service, "EUR", true), c.booked)
            << c.current << " -> " << c.fetched;
    }
    service.rates.clear();
    EXPECT_EQ(usd->getRateFromWebWithHomeSymbol(service, "EUR", false), -1.0);

    // No request at all for a one-character symbol or the home symbol.
    const int calls = service.rateCalls;
    auto odd = currency(51, "X", 1, 1.0, "X");
    EXPECT_EQ(odd->getRateFromWebWithHomeSymbol(service, "EUR", true), -1.0);
    EXPECT_EQ(usd->getRateFromWebWithHomeSymbol(service, "USD", true), -1.0);
    EXPECT_EQ(service.rateCalls, calls);
}

TEST_F(CurrencyItemTest, RatesAndNamesOfTheCurrency)
{
    auto yen = currency(52, "JPY", 100, 2.5, "JPY");
    EXPECT_DOUBLE_EQ(*yen->currencyRate(), 0.025);
    EXPECT_EQ(yen->mConversionQuantity(), 100);
    EXPECT_EQ(yen->mShortName(), "JPY");
    EXPECT_EQ(yen->mBaseShortName(), "EUR");
    EXPECT_TRUE(yen->isCurrencyType());
    EXPECT_FALSE(yen->isHomeCurrency());
    EXPECT_EQ(document.getHomeCurrency()->fluctuationsAccountName(), "-");
    EXPECT_EQ(document.getHomeCurrency()->fluctuationsReasonCodeName(), "-");

    // Rates of the history, newest first.
    yen->changeRateToQuantity(100, 2.75, 20240301);
    const auto history = yen->mHistoryList();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0]->mValidFrom(), 20240315);
    EXPECT_EQ(history[1]->mValidFrom(), 20240301);
    EXPECT_EQ(history[1]->mConversionFactor(), 2.75);
    EXPECT_EQ(history[1]->mConversionQuantity(), 100);
    EXPECT_EQ(history[1]->mValidFromAsString(), "01.03.2024");

    CCurRItem detached;
    EXPECT_EQ(detached.mShortName(), "");
    EXPECT_EQ(detached.currencyRate(), std::nullopt);
    EXPECT_FALSE(detached.rateRequest("EUR"));
}

TEST_F(CurrencyItemTest, AQuoteIsRecordedWithItsDifferences)
{
    auto share = currency(60, "ACME", 1, 12.0, "ACME", currency_type::kShare);
    CCurRItem::QuoteRequest request = *share->quoteRequest();
    request.shares = 10.0;   // as a portfolio of ten shares would give

    EXPECT_EQ(share->applyQuote(request, 0.0), 0.0);
    EXPECT_EQ(share->applyQuote(request, std::nullopt), 0.0);
    share->bookRealTimeRate();   // nothing recorded: nothing booked
    EXPECT_EQ(share->mConversionFactor(), 12.0);

    EXPECT_DOUBLE_EQ(share->applyQuote(request, 12.5), 5.0);
    ASSERT_EQ(share->mRealTimeRateHistory().size(), 1u);
    const CStockPrice& price = share->mRealTimeRateHistory().front();
    EXPECT_EQ(price.theRate, 12.5);
    EXPECT_DOUBLE_EQ(*price.theDifferenceRate, 0.5);
    EXPECT_DOUBLE_EQ(*price.theDifferenceValue, 5.0);
    EXPECT_EQ(share->mRealTimeSharePrice(), 12.5);

    share->bookRealTimeRate();
    EXPECT_EQ(share->mConversionFactor(), 12.5);

    // A failed fetch is logged and counts as no quote.
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });
    auto broken = currency(61, "BROKEN", 1, 3.0, "BROKEN", currency_type::kShare);
    EXPECT_EQ(broken->updateRealTimeCurrencyList(service, true), 0.0);
    EXPECT_TRUE(broken->mRealTimeRateHistory().empty());
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(CurrencyItemTest, ShareFiguresComeFromItsPortfolio)
{
    auto share = currency(60, "ACME", 1, 12.0, "ACME", currency_type::kShare);
    EXPECT_EQ(share->portfolioAccount(), nullptr);
    EXPECT_EQ(share->numberOfShares(), 0.0);
    EXPECT_EQ(share->bruttoResultaat(), 0.0);

    document.addAccount(10, 1, "Bank");
    document.addAccount(30, 1, "ACME shares")->Put_mCurrency(60);
    document.root().GetCurrencyForId(60)->Validate();   // rate changes now revalue the portfolio
    share->buyOrSellShares(12.0, 1.0, 10.0, 121.0, 10, 10, "ten shares", false, 20240301, true);
    std::shared_ptr<CAcnTItem> portfolio = share->portfolioAccount();
    ASSERT_TRUE(portfolio);
    EXPECT_EQ(share->numberOfShares(), 10.0);
    ASSERT_FALSE(share->mStockTransactionList().empty());
    EXPECT_EQ(std::abs(share->mStockTransactionList().front()->investmentQuantity().value_or(0)), 10);

    // Bought for 120 plus 1 of costs; now worth 150.
    share->changeRateToQuantity(1, 15.0, 0);
    EXPECT_DOUBLE_EQ(share->bruttoResultaat(), 30.0);
    EXPECT_DOUBLE_EQ(share->nettoResultaat(), 29.0);
    EXPECT_DOUBLE_EQ(share->bruttoPercentage(), 25.0);
}

TEST_F(CurrencyItemTest, FetchesRunOnAWorkerAndLandOnTheMainThread)
{
    ManualDispatcher dispatcher;
    document.root().GetCurrencyForId(1)->Put_mCurrencySymbol("EUR");
    auto usd = currency(50, "USD", 1, 1.5, "USD");
    auto gbp = currency(53, "GBP", 1, 1.2, "GBP");
    auto share = currency(60, "ACME", 1, 12.0, "ACME", currency_type::kShare);
    service.rates = {{"USD", 1.6}, {"GBP", 3.0}};
    service.quotes = {{"ACME", 13.0}};

    std::vector<std::pair<CCurRItem*, double>> applied;
    std::vector<std::thread::id> applyThreads;
    NotificationLog announced(document.notificationCenter(), {"REALTIMESHAREPRICEMODIFIEDNOTIFICATION"});
    {
        MarketDataFetcher fetcher(service, dispatcher);
        fetcher.fetchRates({usd, gbp, document.getHomeCurrency()}, "EUR",
                           [&](const std::shared_ptr<CCurRItem>& currency, long quantity, double factor, DateT date) {
                               applied.emplace_back(currency.get(), factor);
                               applyThreads.push_back(std::this_thread::get_id());
                               EXPECT_EQ(quantity, 1);
                               EXPECT_EQ(date, 20240315);
                               currency->changeRateToQuantity(quantity, factor, date);
                           });
        double total = -1.0;
        ASSERT_TRUE(fetcher.fetchQuotes({share}, [&](double sum, const auto&) { total = sum; }));
        std::vector<std::string> log;
        {
            ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });
            EXPECT_FALSE(fetcher.fetchQuotes({share}, {}));
        }
        EXPECT_EQ(log, std::vector<std::string>{"Not calculating. Procedure still running"});

        fetcher.waitForWorkers();
        // Fetched, but nothing applied while the main thread has not run.
        EXPECT_TRUE(applied.empty());
        EXPECT_EQ(usd->mConversionFactor(), 1.5);
        EXPECT_TRUE(share->mRealTimeRateHistory().empty());
        EXPECT_TRUE(announced.posted.empty());
        EXPECT_TRUE(fetcher.isFetchingQuotes());

        dispatcher.runDue();
        EXPECT_EQ(total, 0.0);   // no shares held
        EXPECT_FALSE(fetcher.isFetchingQuotes());
    }
    // USD moved a little and is booked; GBP jumped and is not; the home
    // currency was never asked.
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0], std::make_pair(usd.get(), 1.6));
    EXPECT_EQ(usd->mConversionFactor(), 1.6);
    EXPECT_EQ(service.asked, (std::vector<std::string>{"USD>EURx1", "GBP>EURx1"}));
    EXPECT_EQ(share->mRealTimeRateHistory().front().theRate, 13.0);
    ASSERT_EQ(announced.posted.size(), 1u);
    EXPECT_EQ(announced.posted[0].objectAs<CCurRItem>(), share);
    for (std::thread::id id : service.threads) EXPECT_NE(id, std::this_thread::get_id());
    for (std::thread::id id : applyThreads) EXPECT_EQ(id, std::this_thread::get_id());
}

} // namespace
} // namespace ch::test
