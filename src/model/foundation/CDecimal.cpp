#include "model/foundation/CDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/foundation/AmountRounding.h"
#include "platform/core/locale_settings.h"
#include "platform/core/user_defaults.h"

namespace ch {

long CDecimal::mNrOfDecimals = 2;

namespace {

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// Code points of UTF-8 text; a byte that does not start a well-formed sequence
// stands for itself (it is no digit and no separator).
std::vector<char32_t> codePoints(std::string_view text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
        if (lead >= 0xF5 || (lead >= 0x80 && lead < 0xC2)) extra = 0;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool wellFormed = i + extra < text.size() || extra == 0;
        for (std::size_t k = 1; wellFormed && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) wellFormed = false;
            c = (c << 6) | (next & 0x3F);
        }
        if (!wellFormed) {
            out.push_back(lead);
            ++i;
        } else {
            out.push_back(c);
            i += extra + 1;
        }
    }
    return out;
}

char32_t firstCharacter(const std::string& separator)
{
    const auto chars = codePoints(separator);
    return chars.empty() ? kNoCharacter : chars.front();
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

long clampDecimals(long n)
{
    return std::clamp<long>(n, 0, 4);
}

} // namespace

CDecimal::CDecimal()
{
    mNrOfDecimals = 2;
}

void CDecimal::putNrOfDecimals(long n)
{
    mNrOfDecimals = clampDecimals(n);
}

long CDecimal::getNrOfDecimals()
{
    return mNrOfDecimals;
}

std::string CDecimal::DoubleToString(double value)
{
    putNrOfDecimals(static_cast<long>(
        std::clamp<std::int64_t>(UserDefaults::standard().integerForKey(kNumberOfDecimalsKey), 0, 4)));

    // Our own formatting, independent of the process's C locale.
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, roundedAmount(value, static_cast<int>(mNrOfDecimals)),
                                      std::chars_format::fixed, static_cast<int>(mNrOfDecimals));
    std::string text = result.ec == std::errc() ? std::string(digits, result.ptr) : std::string("0");
    if (text.size() < 8) text.insert(0, 8 - text.size(), ' ');

    const std::string separator = currentLocaleSettings().decimalSeparator;
    if (const auto point = text.find('.'); point != std::string::npos && separator != ".")
        text.replace(point, 1, separator);
    return text;
}

void CDecimal::DoubleToString(double value, Str255& out)
{
    const std::string text = DoubleToString(value);
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(length);
    std::copy_n(text.data(), length, out + 1);
}

double CDecimal::StringToDouble(std::string_view text, bool strict)
{
    const std::vector<char32_t> chars = codePoints(text);
    const std::size_t length = chars.size();
    if (length == 0) return 0;

    const LocaleSettings settings = currentLocaleSettings();
    const char32_t decimalChar = firstCharacter(settings.decimalSeparator);
    const char32_t thousandsChar = firstCharacter(settings.groupingSeparator);
    const long decimals = clampDecimals(mNrOfDecimals);

    // Positions are 1-based, as in the text's own counting.
    std::size_t decimalCount = 0, thousandsCount = 0, lastDecimal = 0, lastThousands = 0;
    for (std::size_t i = 1; i <= length; ++i) {
        const char32_t c = chars[i - 1];
        if (isDigit(c)) continue;
        if (c == decimalChar) {
            ++decimalCount;
            lastDecimal = i;
        } else if (c == thousandsChar) {
            ++thousandsCount;
            lastThousands = i;
        } else if (c == U'-') {
            if (i != 1) return 0;
        } else if (strict) {
            return 0;
        }
    }

    // The decimal position: where the fraction starts (length + 1: none).
    std::size_t point = 0;
    bool refused = false;
    if (decimalCount >= 2 && thousandsCount >= 2) {
        refused = true;
    } else if (decimalCount == 1) {
        point = lastDecimal;
    } else if (thousandsCount == 0) {
        if (decimalCount == 0)
            point = length + 1;
        else
            refused = true;
    } else if (thousandsCount == 1) {
        // "1.234" is a thousand; "1.5" and "12.3456" have a decimal point.
        if (length >= 5 && length <= 7 && length - lastThousands == 3)
            point = length + 1;
        else
            point = lastThousands;
    } else {
        refused = true;
    }
    if (refused) {
        if (strict) return 0;
        point = lastDecimal;
    }

    // Fraction in units of the last decimal, rounded half up on the first
    // dropped digit. Only digits count.
    std::int64_t fraction = 0;
    long digitsRead = 0;
    for (std::size_t i = point + 1; i <= length; ++i) {
        const char32_t c = chars[i - 1];
        if (!isDigit(c)) {
            if (strict) return 0;
            continue;
        }
        ++digitsRead;
        const int digit = static_cast<int>(c - U'0');
        if (digitsRead <= decimals) {
            std::int64_t scale = 1;
            for (long k = digitsRead; k < decimals; ++k) scale *= 10;
            fraction += digit * scale;
        } else if (digitsRead == decimals + 1 && digit >= 5) {
            fraction += 1;
        }
    }

    // Integer part: every digit before the decimal position. It must fit in a
    // signed 32-bit number; lenient mode takes what 64 bits hold.
    constexpr std::int64_t kStrictLimit = 2147483647;
    constexpr std::int64_t kLenientLimit = (std::numeric_limits<std::int64_t>::max() - 9) / 10;
    std::int64_t integer = 0;
    for (std::size_t i = 1; i < point && i <= length; ++i) {
        const char32_t c = chars[i - 1];
        if (!isDigit(c)) continue;
        if (integer > kLenientLimit) return 0;
        integer = integer * 10 + static_cast<int>(c - U'0');
        if (strict && integer > kStrictLimit) return 0;
    }

    const bool negative = chars.front() == U'-' || chars.back() == U'-';
    double scale = 1;
    for (long k = 0; k < decimals; ++k) scale *= 10;
    const double value = static_cast<double>(integer) + static_cast<double>(fraction) / scale;
    if (value == 0) return 0;
    return negative ? -value : value;
}

double CDecimal::StringToDouble(const unsigned char* pascalText, bool strict)
{
    if (!pascalText) return 0;
    return StringToDouble(
        std::string_view(reinterpret_cast<const char*>(pascalText + 1), pascalText[0]), strict);
}

} // namespace ch
