#pragma once
// The user's short date format, number separators and currency: ICU's data
// for the environment's locale, each overridable in the user defaults
// ("NSShortDateFormatString" holds an ICU date pattern such as "dd.MM.yy";
// "NSDecimalSeparator", "NSThousandsSeparator", "NSCurrencySymbol" and
// "NSInternationalCurrencyString" hold texts).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/clock.h"

namespace ch {

class UserDefaults;

inline constexpr std::string_view kShortDateFormatKey = "NSShortDateFormatString";
inline constexpr std::string_view kDecimalSeparatorKey = "NSDecimalSeparator";
inline constexpr std::string_view kThousandsSeparatorKey = "NSThousandsSeparator";
inline constexpr std::string_view kCurrencySymbolKey = "NSCurrencySymbol";
inline constexpr std::string_view kCurrencyCodeKey = "NSInternationalCurrencyString";

struct LocaleSettings {
    std::string localeId;            // ICU locale id, e.g. "de_DE"
    std::string shortDatePattern;    // ICU pattern, e.g. "dd.MM.yy"
    std::string decimalSeparator;    // e.g. ","
    std::string groupingSeparator;   // e.g. "." (may be a no-break space)
    std::string currencyCode;        // ISO 4217, e.g. "EUR"; empty when the locale has none
    std::string currencySymbol;      // e.g. "€"; the code where the locale knows no symbol
};

// ICU's data for a locale ("" = the environment's locale).
LocaleSettings localeSettingsFor(const std::string& icuLocaleId);

// The environment's locale with the user defaults' overrides applied (read on
// every call, so changed defaults take effect at once).
LocaleSettings currentLocaleSettings(const UserDefaults& defaults);
LocaleSettings currentLocaleSettings();   // with UserDefaults::standard()

// The decimals a currency's amounts are written with (ISO 4217: 2 for EUR,
// 0 for JPY, 3 for KWD); 2 for a code ICU does not know.
int currencyFractionDigits(std::string_view isoCode);

// The names of the twelve months in a locale ("" = the environment's): for
// each month from January, its whole and abbreviated names as dates and as
// standing alone, without a closing period ("Dez." is "Dez"); empty lists
// when ICU knows the locale's names not.
std::vector<std::vector<std::string>> monthNamesIn(const std::string& icuLocaleId);

// A date in the short date pattern (Gregorian calendar).
std::string formatShortDate(const CalendarDate& date, const LocaleSettings& settings);

// Reads text written in the short date pattern; nullopt for empty or
// unreadable text, or a date that does not exist. Two-digit years fall within
// the 80 years before and 20 after today (from ch::today()).
std::optional<CalendarDate> parseShortDate(std::string_view text,
                                           const LocaleSettings& settings);

} // namespace ch
