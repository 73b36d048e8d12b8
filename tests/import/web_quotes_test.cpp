// Share quotes and exchange rates read from pages served on this machine:
// the right numbers arrive, grouping commas included; missing markers,
// unclosed elements, slow and absent servers give no value and never hang.

#include <gtest/gtest.h>

#include <chrono>

#include "import/StockQuoteService.h"
#include "local_http_server.h"
#include "platform/core/user_defaults.h"

namespace ch::test {
namespace {

std::string quotePage(const std::string& cell)
{
    return "<html><body><table><tr><th>Last Trade:</th><td class=\"yfnc\">" + cell +
           "</td></tr></table>" + std::string(200, ' ') + "</body></html>";
}

std::string converterPage(const std::string& value)
{
    return "<html><div id=currency_converter_result>3 USD = <span class=bld>" + value +
           "</span></div></html>";
}

TEST(WebQuotes, PagesGiveTheirNumbers)
{
    struct Case {
        std::string page;
        std::optional<double> quote;
    };
    const Case cases[] = {
        {quotePage("12.34"), 12.34},
        {quotePage("<big><b>12.34</b></big>"), 12.34},
        {quotePage("12.3456"), 12.34},
        {quotePage("1,234.56"), 1234.56},
        {quotePage("<b>12.34"), std::nullopt},                   // unclosed element
        {quotePage("N/A"), std::nullopt},
        {"<td>12.34</td>", std::nullopt},                        // no "Last Trade"
        {"Last Trade: <td>12.34</td>", std::nullopt},            // the window runs past the end
        // Not prices: an exponent never reads as its first digits, nor a
        // number with two points.
        {quotePage("1e308"), std::nullopt},
        {quotePage("1.5E+3"), std::nullopt},
        {quotePage("12.345e3"), std::nullopt},
        {quotePage("12.3.4"), std::nullopt},
        {quotePage("12.34EUR"), 12.34},                          // a code after it is no exponent
        {quotePage("12.34 e"), 12.34},
    };
    for (const Case& c : cases) EXPECT_EQ(StockQuoteService::quoteFromPage(c.page), c.quote) << c.page;

    EXPECT_EQ(StockQuoteService::conversionFromPage(converterPage("3.3000 EUR")), 3.3);
    EXPECT_EQ(StockQuoteService::conversionFromPage(converterPage("1,234.5 EUR")), 1234.5);
    EXPECT_EQ(StockQuoteService::conversionFromPage(converterPage("1e308 EUR")), std::nullopt);
    EXPECT_EQ(StockQuoteService::conversionFromPage("<html>no result</html>"), std::nullopt);
    EXPECT_THROW(StockQuoteService::conversionFromPage("<div id=currency_converter_result><b>3</b>"), FetchError);
}

TEST(WebQuotes, FetchedFromTheAddressesInTheDefaults)
{
    LocalHttpServer server({
        {"/q?s=ACME", {quotePage("1,234.56")}},
        {"/q?s=BRK%20A", {quotePage("<b>410.5</b>")}},
        {"/q?s=SLOW", {quotePage("9.99"), std::chrono::milliseconds(3000)}},
        {"/q?s=BAD", {"<html>Last Trade"}},
        {"/finance/converter?a=3&from=USD&to=EUR", {converterPage("2.7645 EUR")}},
    });
    UserDefaults defaults;
    defaults.set(std::string(StockQuoteService::kQuoteAddressKey), server.address());
    defaults.set(std::string(StockQuoteService::kConverterAddressKey), server.address());
    HttpLimits limits;
    limits.timeout = std::chrono::milliseconds(500);
    StockQuoteService service(defaults, limits);

    EXPECT_EQ(service.getQuote("ACME"), 1234.56);
    EXPECT_EQ(service.getQuote("BRK A"), 410.5);
    EXPECT_EQ(service.getQuote("BAD"), std::nullopt);
    EXPECT_EQ(service.convertForeignQuantity(3, "USD", "EUR"), 2.7645);
    EXPECT_THROW(service.getQuote("MISSING"), FetchError);   // 404

    const auto started = std::chrono::steady_clock::now();
    EXPECT_THROW(service.getQuote("SLOW"), FetchError);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));

    // Without addresses, or with nobody listening, nothing is fetched.
    UserDefaults empty;
    EXPECT_THROW(StockQuoteService(empty).getQuote("ACME"), FetchError);
    UserDefaults closed;
    closed.set(std::string(StockQuoteService::kConverterAddressKey), std::string("http://127.0.0.1:1"));
    EXPECT_THROW(StockQuoteService(closed, limits).convertForeignQuantity(1, "USD", "EUR"), FetchError);
}

} // namespace
} // namespace ch::test
