#include "bridge/CNSStringDateTBridge.h"

#include <string>

#include "model/foundation/CDate.h"
#include "platform/core/locale_settings.h"

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

} // namespace

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
    const std::optional<CalendarDate> date = parseShortDate(text, currentLocaleSettings());
    if (!date) return 0;
    return date->year * 10000 + date->month * 100 + date->day;
}

} // namespace ch
