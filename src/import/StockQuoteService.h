#pragma once
// Share quotes and exchange rates read from two finance web pages, searched
// for fixed markers. The quote page is the quote address followed by
// "/q?s=" and the symbol; the converter page is the converter address
// followed by "/finance/converter?a=<quantity>&from=<symbol>&to=<home>".
// Both addresses are user defaults ("GXQuoteServiceAddress",
// "GXCurrencyConverterAddress"), read at every fetch, so that an address set
// in the preferences serves the next fetch; without one nothing is fetched.
//
// Pages are read on the worker thread that asks (never the main thread) and
// parsed there; an unreadable page is a FetchError, which the currency items
// log and treat as no new value. Numbers may carry grouping commas
// ("1,234.56"); query values are percent-encoded.

#include <optional>
#include <string>
#include <string_view>

#include "bridge/QuoteService.h"
#include "platform/core/http_get.h"

namespace ch {

class UserDefaults;

class StockQuoteService : public QuoteService {
public:
    static constexpr std::string_view kQuoteAddressKey = "GXQuoteServiceAddress";
    static constexpr std::string_view kConverterAddressKey = "GXCurrencyConverterAddress";

    // The defaults (safe to read from any thread) must outlive the service.
    explicit StockQuoteService(const UserDefaults& defaults, HttpLimits limits = {});

    bool knowsWhereToAsk(MarketData kind) const override;
    std::optional<double> getQuote(std::string_view symbol) override;
    std::optional<double> convertForeignQuantity(double quantity, std::string_view symbol,
                                                 std::string_view homeSymbol) override;

    // --- the page readers
    // The last trade price on a quote page; none when a marker is missing.
    static std::optional<double> quoteFromPage(std::string_view page);
    // The converted amount on a converter page; none when the result marker
    // is missing; a FetchError when the result is there but its parts are not.
    static std::optional<double> conversionFromPage(std::string_view page);
    // The content of the text's outermost element; none without a ">" or
    // without the element's closing tag.
    static std::optional<std::string> stripTag(std::string_view text);
    // stripTag repeated while it answers; none when a closing tag is missing.
    static std::optional<std::string> stripTags(std::string_view text);
    // The number a text starts with after leading blanks, grouping commas
    // ignored; 0 when it starts with none or with one that does not read as
    // a price (an exponent as in "1e308", a second point as in "1.2.3").
    static double leadingNumber(std::string_view text);

    static std::string quoteAddress(std::string_view base, std::string_view symbol);
    static std::string converterAddress(std::string_view base, double quantity, std::string_view symbol,
                                        std::string_view homeSymbol);

private:
    std::string fetchPage(const std::string& url);

    const UserDefaults& mDefaults;
    const HttpLimits mLimits;
};

} // namespace ch
