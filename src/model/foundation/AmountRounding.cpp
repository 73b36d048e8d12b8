#include "model/foundation/AmountRounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace ch {

namespace {

constexpr int kSignificantDigits = 15;

std::uint64_t powerOfTen(int n)
{
    std::uint64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

} // namespace

double roundedAmount(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0) return value;
    decimals = std::clamp(decimals, 0, 8);
    // d.dddddddddddddde±x: the decimal value to 15 significant digits.
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::scientific,
                                       kSignificantDigits - 1);
    if (written.ec != std::errc()) return value;
    const std::string scientific(text, written.ptr);
    const std::size_t e = scientific.find('e');
    std::uint64_t digits = 0;
    for (std::size_t i = 0; i < e; ++i)
        if (scientific[i] != '.') digits = digits * 10 + static_cast<std::uint64_t>(scientific[i] - '0');
    int exponent = 0;
    std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+' ? 1 : 0), scientific.data() + scientific.size(),
                    exponent);
    // value = digits x 10^(exponent - 14); the places beyond `decimals` are dropped.
    const int dropped = (kSignificantDigits - 1) - exponent - decimals;
    if (dropped <= 0) return value;
    std::uint64_t kept = 0;
    if (dropped <= kSignificantDigits) {
        const std::uint64_t unit = powerOfTen(dropped);
        kept = digits / unit;
        if ((digits % unit) * 2 >= unit) ++kept;
    }
    const std::string decimal = std::to_string(kept) + "e-" + std::to_string(decimals);
    double result = 0.0;
    std::from_chars(decimal.data(), decimal.data() + decimal.size(), result);
    return value < 0.0 && result != 0.0 ? -result : result;
}

bool sameAmount(double a, double b, int decimals)
{
    return roundedAmount(a, decimals) == roundedAmount(b, decimals);
}

} // namespace ch
