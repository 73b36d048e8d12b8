#include "import/StockQuoteService.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "import/StatementText.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

constexpr std::size_t kWindow = 100;

char lowered(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// The position of the marker, ignoring case, at or after `from`; npos when
// absent.
std::size_t findNoCase(std::string_view text, std::string_view marker, std::size_t from)
{
    if (from > text.size()) return std::string_view::npos;
    const auto it = std::search(text.begin() + std::ptrdiff_t(from), text.end(), marker.begin(), marker.end(),
                                [](char a, char b) { return lowered(a) == lowered(b); });
    return it == text.end() ? std::string_view::npos : std::size_t(it - text.begin());
}

// The marker within the hundred characters from `from`; npos when absent or
// when that window runs past the end of the page.
std::size_t findInWindow(std::string_view page, std::string_view marker, std::size_t from)
{
    if (from + kWindow > page.size()) return std::string_view::npos;
    const std::size_t at = findNoCase(page.substr(from, kWindow), marker, 0);
    return at == std::string_view::npos ? at : from + at;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

enum class Strip { Peeled, NoElement, Unclosed };

Strip stripOnce(std::string_view text, std::string& content)
{
    const std::size_t gt = text.find('>');
    if (gt == std::string_view::npos || text.empty()) return Strip::NoElement;
    std::string_view name = text.substr(1, gt - 1);
    if (const std::size_t blank = name.find(' '); blank != std::string_view::npos) name = name.substr(0, blank);
    const std::string closing = "</" + std::string(name) + ">";
    const std::size_t end = text.find(closing, gt + 1);
    if (end == std::string_view::npos) return Strip::Unclosed;
    content = std::string(text.substr(gt + 1, end - gt - 1));
    return Strip::Peeled;
}

std::string formatQuantity(double quantity)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", quantity);
    return buffer;
}

} // namespace

StockQuoteService::StockQuoteService(const UserDefaults& defaults, HttpLimits limits)
    : mDefaults(defaults), mLimits(limits)
{
}

bool StockQuoteService::knowsWhereToAsk(MarketData kind) const
{
    return !mDefaults.stringForKey(kind == MarketData::SharePrices ? kQuoteAddressKey : kConverterAddressKey).empty();
}

std::optional<std::string> StockQuoteService::stripTag(std::string_view text)
{
    std::string content;
    return stripOnce(trimmed(text), content) == Strip::Peeled ? std::optional<std::string>(content) : std::nullopt;
}

std::optional<std::string> StockQuoteService::stripTags(std::string_view text)
{
    std::string current(trimmed(text));
    for (;;) {
        std::string content;
        switch (stripOnce(current, content)) {
        case Strip::Peeled: current = std::string(trimmed(content)); break;
        case Strip::NoElement: return current;
        case Strip::Unclosed: return std::nullopt;
        }
    }
}

double StockQuoteService::leadingNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    std::string digits;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',') {
            // A grouping comma stands between digits; anything else ends the number.
            if (!digits.empty() && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') continue;
            break;
        }
        if ((c >= '0' && c <= '9') || c == '.' || ((c == '-' || c == '+') && digits.empty())) digits.push_back(c);
        else break;
    }
    // An exponent ("1e308") is no way to write a price: read as its first
    // digits it would be a plausible wrong one. A currency code after the
    // number ("12.34EUR") is no exponent.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t next = i + 1;
        if (next < text.size() && (text[next] == '+' || text[next] == '-')) ++next;
        if (next < text.size() && text[next] >= '0' && text[next] <= '9') return 0.0;
    }
    if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    // All of it must read: "1.2.3" is no number.
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return 0.0;
    return value;
}

std::optional<double> StockQuoteService::quoteFromPage(std::string_view page)
{
    const std::size_t label = page.find("Last Trade");
    if (label == std::string_view::npos) return std::nullopt;
    const std::size_t cell = findInWindow(page, "<td", label + 1);
    if (cell == std::string_view::npos) return std::nullopt;
    const std::size_t open = findInWindow(page, ">", cell + 1);
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = findInWindow(page, "</td>", open);
    if (close == std::string_view::npos) return std::nullopt;
    std::optional<std::string> text = stripTags(page.substr(open + 1, close - open - 1));
    if (!text) return std::nullopt;
    // Judged whole first: cut to two decimals, "12.345e3" would pass as 12.34.
    if (!(leadingNumber(*text) > 0.0)) return std::nullopt;
    // Prices are kept to two decimals.
    if (const std::size_t point = text->find('.'); point != std::string::npos && point + 3 < text->size())
        text->erase(point + 3);
    const double price = leadingNumber(*text);
    return price > 0.0 ? std::optional<double>(price) : std::nullopt;
}

std::optional<double> StockQuoteService::conversionFromPage(std::string_view page)
{
    static constexpr std::string_view kResult = "<div id=currency_converter_result>";
    const std::size_t result = page.find(kResult);
    if (result == std::string_view::npos) return std::nullopt;
    const std::size_t tag = findNoCase(page, "<", result + kResult.size());
    const std::size_t span = tag == std::string_view::npos ? tag : findNoCase(page, "<span class=bld>", tag);
    const std::size_t spanEnd = span == std::string_view::npos ? span : findNoCase(page, "</span>", span);
    if (spanEnd == std::string_view::npos) throw FetchError("the converter's result has no value");
    const std::size_t from = span + std::string_view("<span class=bld>").size();
    std::string_view value = page.substr(from, spanEnd - from);
    // The value ends in the currency's code.
    value = value.substr(0, value.size() > 3 ? value.size() - 3 : 0);
    const double amount = leadingNumber(value);
    return amount > 0.0 ? std::optional<double>(amount) : std::nullopt;
}

std::string StockQuoteService::quoteAddress(std::string_view base, std::string_view symbol)
{
    return std::string(base) + "/q?s=" + percentEncode(symbol);
}

std::string StockQuoteService::converterAddress(std::string_view base, double quantity, std::string_view symbol,
                                                std::string_view homeSymbol)
{
    return std::string(base) + "/finance/converter?a=" + percentEncode(formatQuantity(quantity)) +
           "&from=" + percentEncode(symbol) + "&to=" + percentEncode(homeSymbol);
}

std::string StockQuoteService::fetchPage(const std::string& url)
{
    const HttpResponse response = httpGet(url, mLimits);
    if (!response.ok()) throw FetchError(url + ": " + response.error);
    return statementText(response.body);
}

std::optional<double> StockQuoteService::getQuote(std::string_view symbol)
{
    const std::string base = mDefaults.stringForKey(kQuoteAddressKey);
    if (base.empty()) throw FetchError("no quote address is set");
    if (symbol.empty()) return std::nullopt;
    return quoteFromPage(fetchPage(quoteAddress(base, symbol)));
}

std::optional<double> StockQuoteService::convertForeignQuantity(double quantity, std::string_view symbol,
                                                                std::string_view homeSymbol)
{
    const std::string base = mDefaults.stringForKey(kConverterAddressKey);
    if (base.empty()) throw FetchError("no converter address is set");
    if (symbol.empty() || homeSymbol.empty()) return std::nullopt;
    return conversionFromPage(fetchPage(converterAddress(base, quantity, symbol, homeSymbol)));
}

} // namespace ch
