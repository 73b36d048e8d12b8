#include "bridge/CNSStringDateTBridge.h"

#include <string>

#include "model/foundation/CDate.h"
#include "platform/core/locale_settings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr DateT kNoDateShownAs = 99991231;
constexpr DateT kFirstPlainNumberDate = 19960102;
constexpr DateT kFirstAmericanDate = 19000101;
constexpr DateT kDateLimit = 30000101;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The text as a plain yyyymmdd number, when it is nothing else.
std::optional<DateT> plainNumber(std::string_view text)
{
    if (text.empty() || text.size() > 8) return std::nullopt;
    DateT value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The first place of the token in the pattern, the lower-case form first.
std::optional<std::size_t> tokenPlace(std::u16string_view pattern, std::u16string_view lower,
                                      std::u16string_view upper)
{
    if (const std::size_t at = pattern.find(lower); at != std::u16string_view::npos) return at;
    if (const std::size_t at = pattern.find(upper); at != std::u16string_view::npos) return at;
    return std::nullopt;
}

// The integer at the place: leading blanks, an optional sign, digits; 0 when
// there are no digits. None when the text does not reach that far.
std::optional<long> integerAt(std::u16string_view text, std::size_t place, std::size_t length)
{
    if (place + length > text.size()) return std::nullopt;
    std::u16string_view piece = text.substr(place, length);
    std::size_t i = 0;
    while (i < piece.size() && piece[i] == u' ') ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == u'-' || piece[i] == u'+')) negative = piece[i++] == u'-';
    long value = 0;
    for (; i < piece.size() && piece[i] >= u'0' && piece[i] <= u'9'; ++i) value = value * 10 + (piece[i] - u'0');
    return negative ? -value : value;
}

} // namespace

std::optional<DateT> CNSStringDateTBridge::NSStringToDateT(std::string_view text, std::string_view pattern)
{
    const std::u16string units = toUtf16(text);
    const std::u16string format = toUtf16(pattern);

    long year = 0;
    if (const auto place = tokenPlace(format, u"yyyy", u"YYYY")) {
        const auto value = integerAt(units, *place, 4);
        if (!value) return std::nullopt;
        year = *value;
    } else if (const auto shortPlace = tokenPlace(format, u"yy", u"YY")) {
        const auto value = integerAt(units, *shortPlace, 2);
        if (!value) return std::nullopt;
        year = *value < 51 ? 2000 + *value : 1900 + *value;
    }
    long month = 0;
    if (const auto place = tokenPlace(format, u"mm", u"MM")) {
        const auto value = integerAt(units, *place, 2);
        if (!value) return std::nullopt;
        month = *value;
    }
    long day = 0;
    if (const auto place = tokenPlace(format, u"dd", u"DD")) {
        const auto value = integerAt(units, *place, 2);
        if (!value) return std::nullopt;
        day = *value;
    }
    if (year < 1901 || year > 3999 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const auto date = static_cast<DateT>(year * 10000 + month * 100 + day);
    // 30 February names no day; taken as it is it would move silently in day arithmetic.
    if (!CDate::IsValidDate(date)) return std::nullopt;
    return date;
}

DateT CNSStringDateTBridge::NSStringToDateTUsingOsxFormatString(std::string_view text)
{
    const std::optional<CalendarDate> date = parseShortDate(trimmed(text), currentLocaleSettings());
    if (!date) return 0;
    return date->year * 10000 + date->month * 100 + date->day;
}

std::string CNSStringDateTBridge::dateTToNSString(DateT date)
{
    if (date < 10101) date = kNoDateShownAs;
    const CalendarDate calendar{static_cast<int>(CDate::GetYearFromDateT(date)),
                                static_cast<int>(CDate::GetMonthFromDateT(date)),
                                static_cast<int>(CDate::GetDayFromDateT(date))};
    return formatShortDate(calendar, currentLocaleSettings());
}

DateT CNSStringDateTBridge::NSStringToDateT(std::string_view text)
{
    text = trimmed(text);
    if (text.empty()) return 0;
    // A number such as 20230231 looks like a date but names none: it must not
    // enter the books; the readers below refuse it too.
    if (const std::optional<DateT> number = plainNumber(text);
        number && *number >= kFirstPlainNumberDate && *number < kDateLimit && CDate::IsValidDate(*number))
        return *number;
    if (const DateT date = CDate::StringToDateT(text); date != 0 && CDate::IsValidDate(date)) return date;
    if (const DateT date = CDate::AmericanStringToDateT(text);
        date >= kFirstAmericanDate && date < kDateLimit && CDate::IsValidDate(date))
        return date;
    return NSStringToDateTUsingOsxFormatString(text);
}

} // namespace ch
