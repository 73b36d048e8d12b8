#pragma once
// Market data from the web as the currency items use it: the last price of a
// share and the value of a quantity of a currency in the home currency. The
// import subsystem supplies the implementation that reads the web pages; tests
// use a fake. Implementations are called on worker threads and must be safe
// to call from any thread.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace ch {

// A fetch that failed in a way worth a log line (the page could not be read,
// its text made no sense). The callers log it and carry on without a value.
class FetchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a fetch asks for.
enum class MarketData { SharePrices, ExchangeRates };

class QuoteService {
public:
    virtual ~QuoteService() = default;

    // Whether the service knows where to ask for that kind (its address is
    // set): a fetch without one is not started. Main thread.
    virtual bool knowsWhereToAsk(MarketData) const { return true; }
    // True the first time it is asked for the kind, false after: the user is
    // told once per run that nothing is fetched without an address, not at
    // every refresh. Main thread.
    bool firstFetchWithoutAddress(MarketData kind)
    {
        bool& told = mToldWithoutAddress[kind == MarketData::SharePrices ? 0 : 1];
        return !std::exchange(told, true);
    }

    // The last trade price of the share; none when the page holds no price.
    virtual std::optional<double> getQuote(std::string_view symbol) = 0;
    // The value of the quantity of the currency in the home currency; none
    // when the page gives no result.
    virtual std::optional<double> convertForeignQuantity(double quantity, std::string_view symbol,
                                                         std::string_view homeSymbol) = 0;

private:
    bool mToldWithoutAddress[2] = {false, false};
};

// One quote fetched for a share.
struct CStockPrice {
    std::int64_t theDate = 0;                    // seconds since 1970 (UTC)
    std::optional<double> theRate;               // price of the conversion quantity
    std::optional<double> theDifferenceRate;     // quote minus the booked rate
    std::optional<double> theDifferenceValue;    // change in value of the shares held
};

} // namespace ch
