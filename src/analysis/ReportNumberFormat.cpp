#include "analysis/ReportNumberFormat.h"

#include <cmath>
#include <cstdio>

#include "model/foundation/AmountRounding.h"
#include "platform/core/locale_settings.h"

namespace ch {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads at most two digits: widths and precisions stay small.
int readSmallNumber(std::string_view format, std::size_t& i)
{
    int number = 0;
    for (int digits = 0; i < format.size() && isDigit(format[i]) && digits < 2; ++i, ++digits)
        number = number * 10 + (format[i] - '0');
    return number;
}

} // namespace

std::string formatReportNumber(std::string_view format, double value)
{
    if (!std::isfinite(value)) value = 0.0;
    const std::string decimal = currentLocaleSettings().decimalSeparator;
    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            out += format[i++];
            continue;
        }
        std::size_t j = i + 1;
        if (j < format.size() && format[j] == '%') {
            out += '%';
            i = j + 1;
            continue;
        }
        std::string flags;
        while (j < format.size() && (format[j] == '-' || format[j] == '+' || format[j] == ' ' || format[j] == '0'))
            flags += format[j++];
        const int width = readSmallNumber(format, j);
        int precision = 6;
        if (j < format.size() && format[j] == '.') {
            ++j;
            precision = readSmallNumber(format, j);
        }
        if (j >= format.size() || format[j] != 'f') {
            // Not a conversion of ours: copied as it stands.
            out += format[i++];
            continue;
        }
        const std::string format = "%" + flags + std::to_string(width) + "." + std::to_string(precision) + "f";
        char buffer[384];
        std::snprintf(buffer, sizeof buffer, format.c_str(), roundedAmount(value, precision));
        std::string number(buffer);
        if (const std::size_t point = number.find('.'); point != std::string::npos)
            number.replace(point, 1, decimal);
        out += number;
        i = j + 1;
    }
    return out;
}

} // namespace ch
