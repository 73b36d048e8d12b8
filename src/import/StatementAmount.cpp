#include "import/StatementAmount.h"

#include <algorithm>
#include <charconv>

#include "bridge/CNSNumberAmountTBridge.h"
#include "import/ImportText.h"
#include "platform/core/locale_settings.h"

namespace ch {

namespace {

// Zero written out: zeros, at most one sign in front, and the separators of
// either notation between them.
bool isZeroText(std::string_view text)
{
    if (text.starts_with('-')) text.remove_prefix(1);
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '.' || c == ','; });
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits at the place; how many.
std::size_t digitsAt(std::string_view text, std::size_t at)
{
    std::size_t count = 0;
    while (at + count < text.size() && isDigit(text[at + count])) ++count;
    return count;
}

} // namespace

std::optional<double> statementAmount(std::string_view text)
{
    text = trimmedText(text);
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    const double amount = CNSNumberAmountTBridge::NSStringToNSNumber(text);
    if (amount != 0.0) return amount;
    if (isZeroText(text)) return 0.0;
    return std::nullopt;
}

std::optional<double> amountInNotation(std::string_view text, const AmountNotation& notation)
{
    text = trimmedText(text);
    std::string plain;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '-') plain += '-';
        text.remove_prefix(1);
    }
    // The whole part: digits, or groups of three after the first one to three.
    std::size_t run = digitsAt(text, 0);
    plain.append(text.substr(0, run));
    std::size_t at = run;
    const std::string& grouping = notation.grouping;
    if (!grouping.empty() && text.compare(at, grouping.size(), grouping) == 0) {
        if (run == 0 || run > 3) return std::nullopt;
        while (text.compare(at, grouping.size(), grouping) == 0) {
            at += grouping.size();
            run = digitsAt(text, at);
            if (run != 3) return std::nullopt;
            plain.append(text.substr(at, run));
            at += run;
        }
    }
    std::size_t digits = plain.size() - (plain.starts_with('-') ? 1 : 0);
    if (!notation.decimal.empty() && text.compare(at, notation.decimal.size(), notation.decimal) == 0) {
        at += notation.decimal.size();
        run = digitsAt(text, at);
        if (run == 0) return std::nullopt;
        plain += '.';
        plain.append(text.substr(at, run));
        at += run;
        digits += run;
    }
    if (at != text.size() || digits == 0) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::optional<AmountNotation> otherNotationForAll(const std::vector<std::string>& texts)
{
    const LocaleSettings settings = currentLocaleSettings();
    const AmountNotation user{settings.decimalSeparator, settings.groupingSeparator};
    const AmountNotation other = user.decimal == "," ? AmountNotation{".", ","} : AmountNotation{",", "."};
    auto readsAll = [&](const AmountNotation& notation) {
        return std::all_of(texts.begin(), texts.end(), [&](const std::string& text) {
            return trimmedText(text).empty() || amountInNotation(text, notation).has_value();
        });
    };
    if (readsAll(user) || !readsAll(other)) return std::nullopt;
    return other;
}

} // namespace ch
