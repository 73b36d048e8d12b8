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

bool hasBlankBetweenDigits(std::string_view text)
{
    for (std::size_t blank = text.find(' '); blank != std::string_view::npos; blank = text.find(' ', blank + 1))
        if (blank > 0 && isDigit(text[blank - 1]) && blank + 1 < text.size() && isDigit(text[blank + 1])) return true;
    return false;
}

} // namespace

std::optional<double> statementAmount(std::string_view text)
{
    const std::string plain = withPlainBlanks(trimmedText(text));
    text = trimmedText(plain);
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    // Blanks between digits group them ("1 234,56"): read strictly, never
    // as the digits before the first blank.
    if (hasBlankBetweenDigits(text)) {
        const LocaleSettings settings = currentLocaleSettings();
        return amountInNotation(text, {settings.decimalSeparator, settings.groupingSeparator});
    }
    const double amount = CNSNumberAmountTBridge::NSStringToNSNumber(text);
    if (amount != 0.0) return amount;
    if (isZeroText(text)) return 0.0;
    return std::nullopt;
}

std::optional<double> amountInNotation(std::string_view text, const AmountNotation& notation)
{
    const std::string blanks = withPlainBlanks(text);
    text = trimmedText(blanks);
    std::string plain;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        if (text.front() == '-') plain += '-';
        text.remove_prefix(1);
    }
    // The whole part: digits, or groups of three after the first one to
    // three, apart by the notation's grouping or by blanks (one or the other).
    std::size_t run = digitsAt(text, 0);
    plain.append(text.substr(0, run));
    std::size_t at = run;
    std::string_view grouping = notation.grouping;
    if (grouping.empty() || text.compare(at, grouping.size(), grouping) != 0) grouping = " ";
    if (text.compare(at, grouping.size(), grouping) == 0) {
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

std::optional<AmountNotation> otherNotationForMost(const std::vector<std::string>& texts)
{
    const LocaleSettings settings = currentLocaleSettings();
    const AmountNotation user{settings.decimalSeparator, settings.groupingSeparator};
    const AmountNotation other = user.decimal == "," ? AmountNotation{".", ","} : AmountNotation{",", "."};
    auto reads = [&](const AmountNotation& notation) {
        return std::count_if(texts.begin(), texts.end(), [&](const std::string& text) {
            return !trimmedText(text).empty() && amountInNotation(text, notation).has_value();
        });
    };
    if (reads(other) <= reads(user)) return std::nullopt;
    return other;
}

namespace {

// Characters of the amount itself, in either notation.
bool isAmountCharacter(char c)
{
    return isDigit(c) || c == '-' || c == '+' || c == '.' || c == ',' || c == ' ' || c == '(' || c == ')' ||
           c == '\'';
}

// The length in bytes of the UTF-8 character that begins with the byte.
std::size_t characterLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Whether a run of characters is a currency's sign or code: three capitals
// ("EUR"), or a sign with at most two letters before it ("$", "US$", "€").
bool isCurrencyMark(std::string_view mark)
{
    if (mark.size() == 3 && std::all_of(mark.begin(), mark.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        return true;
    std::size_t letters = 0;
    for (std::size_t i = 0; i < mark.size();) {
        const auto c = static_cast<unsigned char>(mark[i]);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            ++letters;
            ++i;
            continue;
        }
        // The sign ends the mark.
        const std::size_t length = c == '$' ? 1 : c >= 0xC0 ? characterLength(c) : 0;
        if (length == 0 || i + length != mark.size() || letters > 2) return false;
        if (c >= 0xC0) {
            // A currency sign (U+00A2..U+00A5, U+20A0..U+20CF), not a letter of some language.
            const std::string_view sign = mark.substr(i);
            return sign == "\xC2\xA2" || sign == "\xC2\xA3" || sign == "\xC2\xA5" ||
                   (sign.size() == 3 && sign[0] == '\xE2' && sign[1] == '\x82');
        }
        return true;
    }
    return false;
}

std::string currencyOfMark(std::string_view mark)
{
    if (mark == "\xE2\x82\xAC") return "EUR";
    if (mark == "\xC2\xA3") return "GBP";
    if (mark == "\xC2\xA5") return "JPY";
    if (mark == "$") {
        const LocaleSettings settings = currentLocaleSettings();
        return settings.currencySymbol == "$" && !settings.currencyCode.empty() ? settings.currencyCode : "USD";
    }
    return std::string(mark);
}

std::string_view trimmedBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

} // namespace

AmountWithCurrency amountWithoutCurrency(std::string_view text)
{
    const std::string blanks = withPlainBlanks(text);
    const std::string_view whole = trimmedText(blanks);
    std::string_view rest = whole;
    std::string sign;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        sign = rest.front();
        rest = trimmedBlanks(rest.substr(1));
    }
    std::size_t markEnd = 0;
    while (markEnd < rest.size() && !isAmountCharacter(rest[markEnd])) ++markEnd;
    std::string_view mark = rest.substr(0, markEnd);
    if (!mark.empty()) {
        rest = trimmedBlanks(rest.substr(markEnd));
    } else {
        std::size_t markStart = rest.size();
        while (markStart > 0 && !isAmountCharacter(rest[markStart - 1])) --markStart;
        mark = rest.substr(markStart);
        rest = trimmedBlanks(rest.substr(0, markStart));
    }
    if (mark.empty() || rest.empty() || !isCurrencyMark(mark) || (!isDigit(rest.back()) && rest.back() != '-'))
        return {std::string(whole), {}, {}};
    // A sign of the amount may stand after the currency's ("$-5").
    if (!sign.empty() && (rest.front() == '-' || rest.front() == '+')) return {std::string(whole), {}, {}};
    return {sign + std::string(rest), currencyOfMark(mark), std::string(mark)};
}

std::string characterStoppingAmount(std::string_view text)
{
    text = trimmedText(text);
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = std::min(characterLength(c), text.size() - i);
        if (!isAmountCharacter(text[i])) return std::string(text.substr(i, length));
        i += length;
    }
    return {};
}

} // namespace ch
