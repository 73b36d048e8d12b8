#include "import/QifText.h"

#include <charconv>
#include <string>

#include "model/foundation/CDate.h"

namespace ch {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct DateFields {
    long value[3] = {0, 0, 0};
    std::size_t digits[3] = {0, 0, 0};
    bool apostropheYear = false;   // "'" before the last field
};

// Three runs of digits apart by separators; blanks pad anywhere.
std::optional<DateFields> dateFields(std::string_view text)
{
    DateFields fields;
    int field = -1;
    bool inDigits = false;
    char lastSeparator = 0;
    for (const char c : text) {
        if (isDigit(c)) {
            if (!inDigits) {
                if (++field > 2) return std::nullopt;
                if (field == 2) fields.apostropheYear = lastSeparator == '\'';
                inDigits = true;
            }
            if (++fields.digits[field] > 4) return std::nullopt;
            fields.value[field] = fields.value[field] * 10 + (c - '0');
        } else if (c == ' ' || c == '\t') {
            inDigits = false;
        } else if (c == '/' || c == '.' || c == '-' || c == '\'') {
            if (field < 0) return std::nullopt;   // a separator before any digit
            inDigits = false;
            lastSeparator = c;
        } else {
            return std::nullopt;
        }
    }
    if (field != 2) return std::nullopt;
    return fields;
}

std::optional<DateT> dateOf(long year, std::size_t yearDigits, bool apostrophe, long month, long day)
{
    if (yearDigits == 2) year += apostrophe || year < 30 ? 2000 : 1900;
    else if (yearDigits != 4) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const DateT date = static_cast<DateT>(year * 10000 + month * 100 + day);
    if (!CDate::IsValidDate(date)) return std::nullopt;
    return date;
}

// Where the decimal separator of one amount shows: '.', ',' or none.
char decimalSign(std::string_view text)
{
    const std::size_t last = text.find_last_of(".,");
    if (last == std::string_view::npos) return 0;
    const std::size_t firstOther = text.find(text[last] == '.' ? ',' : '.');
    if (firstOther != std::string_view::npos && firstOther < last) return text[last];   // "1.234,56", "1,234.56"
    std::size_t after = 0;
    for (std::size_t i = last + 1; i < text.size() && isDigit(text[i]); ++i) ++after;
    // Three digits after a single separator read as grouping in either notation.
    if (after == 1 || after == 2) return text[last];
    if (text.find(text[last]) != last) return 0;   // "1,234,567": grouping
    return after == 3 ? 0 : text[last];
}

} // namespace

std::optional<DateT> qifDate(std::string_view text, QifDateOrder order)
{
    const std::optional<DateFields> f = dateFields(text);
    if (!f) return std::nullopt;
    switch (order) {
    case QifDateOrder::MonthDayYear:
        if (f->digits[0] > 2 || f->digits[1] > 2) return std::nullopt;
        return dateOf(f->value[2], f->digits[2], f->apostropheYear, f->value[0], f->value[1]);
    case QifDateOrder::DayMonthYear:
        if (f->digits[0] > 2 || f->digits[1] > 2) return std::nullopt;
        return dateOf(f->value[2], f->digits[2], f->apostropheYear, f->value[1], f->value[0]);
    case QifDateOrder::YearMonthDay:
        if (f->digits[0] != 4 || f->digits[1] > 2 || f->digits[2] > 2) return std::nullopt;
        return dateOf(f->value[0], 4, false, f->value[1], f->value[2]);
    }
    return std::nullopt;
}

std::optional<QifDateOrder> qifDateOrderForAll(const std::vector<std::string_view>& dates, bool configuredReadsAll,
                                               std::optional<QifDateOrder> configured)
{
    if (configuredReadsAll || dates.empty()) return std::nullopt;
    std::optional<QifDateOrder> found;
    for (const QifDateOrder order :
         {QifDateOrder::MonthDayYear, QifDateOrder::DayMonthYear, QifDateOrder::YearMonthDay}) {
        if (order == configured) continue;
        bool all = true;
        for (const std::string_view date : dates) {
            if (!qifDate(date, order)) {
                all = false;
                break;
            }
        }
        if (!all) continue;
        if (found) return std::nullopt;   // two orders fit: the file does not say which
        found = order;
    }
    return found;
}

bool qifUsesDecimalComma(const std::vector<std::string_view>& amounts)
{
    bool comma = false;
    for (const std::string_view amount : amounts) {
        const char sign = decimalSign(amount);
        if (sign == '.') return false;
        if (sign == ',') comma = true;
    }
    return comma;
}

std::optional<double> qifAmount(std::string_view text, bool decimalComma)
{
    const char decimal = decimalComma ? ',' : '.';
    const char grouping = decimalComma ? '.' : ',';
    std::string plain;
    bool decimalSeen = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == grouping || c == '\'') continue;
        if (c == decimal) {
            if (decimalSeen) return std::nullopt;
            decimalSeen = true;
            plain += '.';
        } else if (c == '+' && plain.empty()) {
            continue;
        } else if (isDigit(c) || (c == '-' && plain.empty())) {
            plain += c;
        } else {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const char* begin = plain.data();
    const char* end = begin + plain.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || plain.empty()) return std::nullopt;
    return value;
}

} // namespace ch
