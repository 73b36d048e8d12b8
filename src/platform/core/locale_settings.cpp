#include "platform/core/locale_settings.h"

#include <unicode/uchar.h>
#include <unicode/ucurr.h>
#include <unicode/udat.h>
#include <unicode/uloc.h>
#include <unicode/unum.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <mutex>
#include <vector>

#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

std::string environmentLocale()
{
    return uloc_getDefault();
}

std::string currencyCodeOf(const std::string& localeId)
{
    UChar buf[4] = {};
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = ucurr_forLocale(localeId.c_str(), buf, 4, &err);
    if (U_FAILURE(err) || n <= 0 || n > 3)
        return {};
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf), std::size_t(n)));
}

// The currency's symbol in the locale ("€" for EUR in de_DE); the code itself
// when ICU knows no symbol for it.
std::string currencySymbolOf(const std::string& code, const std::string& localeId)
{
    if (code.size() != 3)
        return code;
    const std::u16string iso = toUtf16(code);
    UBool isChoiceFormat = false;
    int32_t n = 0;
    UErrorCode err = U_ZERO_ERROR;
    const UChar* name = ucurr_getName(reinterpret_cast<const UChar*>(iso.c_str()), localeId.c_str(),
                                      UCURR_SYMBOL_NAME, &isChoiceFormat, &n, &err);
    if (U_FAILURE(err) || !name || n <= 0)
        return code;
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name), std::size_t(n)));
}

std::string symbol(UNumberFormat* fmt, UNumberFormatSymbol which)
{
    UChar buf[32];
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = unum_getSymbol(fmt, which, buf, 32, &err);
    if (U_FAILURE(err) || n <= 0 || n > 32)
        return {};
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf), std::size_t(n)));
}

LocaleSettings readIcuData(const std::string& localeId)
{
    LocaleSettings s;
    s.localeId = localeId;
    UErrorCode err = U_ZERO_ERROR;
    if (UDateFormat* df =
            udat_open(UDAT_NONE, UDAT_SHORT, localeId.c_str(), u"UTC", -1, nullptr, -1, &err);
        U_SUCCESS(err)) {
        UChar buf[128];
        UErrorCode perr = U_ZERO_ERROR;
        int32_t n = udat_toPattern(df, false, buf, 128, &perr);
        if (U_SUCCESS(perr) && n > 0 && n <= 128)
            s.shortDatePattern =
                toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf), std::size_t(n)));
        udat_close(df);
    }
    err = U_ZERO_ERROR;
    if (UNumberFormat* nf = unum_open(UNUM_DECIMAL, nullptr, 0, localeId.c_str(), nullptr, &err);
        U_SUCCESS(err)) {
        s.decimalSeparator = symbol(nf, UNUM_DECIMAL_SEPARATOR_SYMBOL);
        s.groupingSeparator = symbol(nf, UNUM_GROUPING_SEPARATOR_SYMBOL);
        unum_close(nf);
    }
    if (s.shortDatePattern.empty())
        s.shortDatePattern = "M/d/yy";
    // Built, not assigned from a literal: GCC 12 warns falsely (-Wrestrict) about the latter.
    if (s.decimalSeparator.empty())
        s.decimalSeparator = std::string(1, '.');
    s.currencyCode = currencyCodeOf(localeId);
    s.currencySymbol = currencySymbolOf(s.currencyCode, localeId);
    return s;
}

std::int64_t daysFromCivil(int y, int m, int d)
{
    const std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{unsigned(m)},
                                          std::chrono::day{unsigned(d)}};
    return std::chrono::sys_days{ymd}.time_since_epoch().count();
}

bool isCalendarDate(int y, int m, int d)
{
    return std::chrono::year_month_day{std::chrono::year{y}, std::chrono::month{unsigned(m)},
                                       std::chrono::day{unsigned(d)}}
        .ok();
}

// The order of the numeric year, month and day fields of a pattern, e.g.
// "dd.MM.yy" -> "dMy". Empty when the pattern writes a field in letters (a
// month name) or lacks one.
std::string numericFieldOrder(const std::string& pattern)
{
    std::string order;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        if (c == '\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (!quoted) {
            if (c == 'y' || c == 'Y' || c == 'u' || c == 'd' || (c == 'M' && run <= 2) ||
                (c == 'L' && run <= 2)) {
                char field = (c == 'd') ? 'd' : (c == 'M' || c == 'L') ? 'M' : 'y';
                if (order.find(field) != std::string::npos)
                    return {};
                order.push_back(field);
            } else if (c == 'M' || c == 'L' || c == 'E' || c == 'G' || c == 'c' || c == 'a') {
                return {};
            }
        }
        i += run;
    }
    return order.size() == 3 ? order : std::string();
}

// A formatter per thread for the last locale and pattern used: opening one
// is slow, and exports format a date per line.
class FormatterCache {
public:
    ~FormatterCache()
    {
        if (mFormat)
            udat_close(mFormat);
    }
    UDateFormat* get(const LocaleSettings& s)
    {
        if (mFormat && mLocale == s.localeId && mPattern == s.shortDatePattern)
            return mFormat;
        if (mFormat)
            udat_close(mFormat);
        mFormat = nullptr;
        std::u16string pattern = toUtf16(s.shortDatePattern);
        // Gregorian whatever calendar the locale prefers.
        std::string locale = s.localeId;
        if (locale.find('@') == std::string::npos)
            locale += "@calendar=gregorian";
        UErrorCode err = U_ZERO_ERROR;
        UDateFormat* f = udat_open(UDAT_PATTERN, UDAT_PATTERN, locale.c_str(), u"UTC", -1,
                                   reinterpret_cast<const UChar*>(pattern.data()),
                                   int32_t(pattern.size()), &err);
        if (U_FAILURE(err))
            return nullptr;
        mFormat = f;
        mLocale = s.localeId;
        mPattern = s.shortDatePattern;
        return mFormat;
    }

private:
    UDateFormat* mFormat = nullptr;
    std::string mLocale;
    std::string mPattern;
};

UDateFormat* formatterFor(const LocaleSettings& s)
{
    thread_local FormatterCache cache;
    return cache.get(s);
}

// Reads up to three runs of decimal digits (any script) separated by other
// characters; letters make the text unreadable.
bool readNumbers(std::string_view text, std::vector<std::pair<long, int>>& numbers)
{
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = int32_t(text.size());
    int32_t i = 0;
    bool inNumber = false;
    while (i < length) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0)
            return false;
        int digit = u_charDigitValue(c);
        if (u_isdigit(c) && digit >= 0) {
            if (!inNumber) {
                if (numbers.size() == 3)
                    return false;
                numbers.push_back({0, 0});
                inNumber = true;
            }
            auto& [value, digits] = numbers.back();
            if (digits >= 9)
                return false;   // no field of a date has that many digits
            value = value * 10 + digit;
            ++digits;
        } else {
            if (u_isalpha(c))
                return false;
            inNumber = false;
        }
    }
    return numbers.size() == 3;
}

// A year written with one or two digits lies within the 80 years before and
// the 20 years after today.
int expandYear(long year, int digits)
{
    if (digits > 2)
        return int(year);
    int base = today().year - 80;
    int century = base - base % 100;
    int y = century + int(year);
    if (y < base)
        y += 100;
    return y;
}

} // namespace

LocaleSettings localeSettingsFor(const std::string& icuLocaleId)
{
    static std::mutex mutex;
    static std::map<std::string, LocaleSettings> cache;
    std::string id = icuLocaleId.empty() ? environmentLocale() : icuLocaleId;
    std::lock_guard lock(mutex);
    auto it = cache.find(id);
    if (it == cache.end())
        it = cache.emplace(id, readIcuData(id)).first;
    return it->second;
}

LocaleSettings currentLocaleSettings(const UserDefaults& defaults)
{
    LocaleSettings s = localeSettingsFor("");
    auto overrideWith = [&](std::string_view key, std::string& field) {
        std::string v = defaults.stringForKey(key);
        if (!v.empty())
            field = std::move(v);
    };
    overrideWith(kShortDateFormatKey, s.shortDatePattern);
    overrideWith(kDecimalSeparatorKey, s.decimalSeparator);
    overrideWith(kThousandsSeparatorKey, s.groupingSeparator);
    // A code of the user's own brings its symbol along, unless a symbol of
    // their own is set too.
    if (std::string code = defaults.stringForKey(kCurrencyCodeKey); !code.empty() && code != s.currencyCode) {
        s.currencySymbol = currencySymbolOf(code, s.localeId);
        s.currencyCode = std::move(code);
    }
    overrideWith(kCurrencySymbolKey, s.currencySymbol);
    return s;
}

LocaleSettings currentLocaleSettings()
{
    return currentLocaleSettings(UserDefaults::standard());
}

std::vector<std::vector<std::string>> monthNamesIn(const std::string& icuLocaleId)
{
    std::vector<std::vector<std::string>> names(12);
    UErrorCode err = U_ZERO_ERROR;
    UDateFormat* format = udat_open(UDAT_NONE, UDAT_SHORT, icuLocaleId.empty() ? nullptr : icuLocaleId.c_str(),
                                    u"UTC", -1, nullptr, -1, &err);
    if (U_FAILURE(err) || !format) return names;
    for (const UDateFormatSymbolType kind :
         {UDAT_MONTHS, UDAT_SHORT_MONTHS, UDAT_STANDALONE_MONTHS, UDAT_STANDALONE_SHORT_MONTHS}) {
        for (int32_t month = 0; month < 12; ++month) {
            UChar buf[64] = {};
            UErrorCode symbolErr = U_ZERO_ERROR;
            const int32_t n = udat_getSymbols(format, kind, month, buf, 64, &symbolErr);
            if (U_FAILURE(symbolErr) || n <= 0 || n > 64) continue;
            std::string name = toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf), std::size_t(n)));
            while (!name.empty() && name.back() == '.') name.pop_back();
            std::vector<std::string>& known = names[static_cast<std::size_t>(month)];
            if (!name.empty() && std::find(known.begin(), known.end(), name) == known.end()) known.push_back(name);
        }
    }
    udat_close(format);
    return names;
}

std::string formatShortDate(const CalendarDate& date, const LocaleSettings& settings)
{
    UDateFormat* fmt = formatterFor(settings);
    if (!fmt || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31)
        return {};
    UDate millis = double(daysFromCivil(date.year, date.month, date.day)) * 86400000.0;
    UChar buf[128];
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = udat_format(fmt, millis, buf, 128, nullptr, &err);
    if (U_FAILURE(err) || n <= 0 || n > 128)
        return {};
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf), std::size_t(n)));
}

std::optional<CalendarDate> parseShortDate(std::string_view text, const LocaleSettings& settings)
{
    std::string order = numericFieldOrder(settings.shortDatePattern);
    if (!order.empty()) {
        // Numeric patterns: the three numbers in the pattern's order, with any
        // separators, so "5-1-2024" reads in a "d.M.yy" locale as well.
        std::vector<std::pair<long, int>> numbers;
        if (!readNumbers(text, numbers))
            return std::nullopt;
        CalendarDate d;
        for (std::size_t k = 0; k < 3; ++k) {
            auto [value, digits] = numbers[k];
            switch (order[k]) {
            case 'y': d.year = expandYear(value, digits); break;
            case 'M': d.month = int(value); break;
            default: d.day = int(value); break;
            }
        }
        if (!isCalendarDate(d.year, d.month, d.day))
            return std::nullopt;
        return d;
    }
    // Patterns with month names: ICU's strict parser.
    UDateFormat* fmt = formatterFor(settings);
    if (!fmt || text.empty())
        return std::nullopt;
    std::u16string units = toUtf16(text);
    udat_setLenient(fmt, false);
    UErrorCode err = U_ZERO_ERROR;
    int32_t pos = 0;
    UDate millis = udat_parse(fmt, reinterpret_cast<const UChar*>(units.data()),
                              int32_t(units.size()), &pos, &err);
    if (U_FAILURE(err) || pos != int32_t(units.size()))
        return std::nullopt;
    auto days = std::chrono::sys_days{std::chrono::days{std::int64_t(std::floor(millis / 86400000.0))}};
    std::chrono::year_month_day ymd{days};
    return CalendarDate{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

int currencyFractionDigits(std::string_view isoCode)
{
    constexpr int kUsual = 2;
    if (isoCode.size() != 3) return kUsual;
    UChar code[4] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = isoCode[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return kUsual;
        code[i] = static_cast<UChar>(c >= 'a' ? c - 'a' + 'A' : c);
    }
    UErrorCode status = U_ZERO_ERROR;
    const int32_t digits = ucurr_getDefaultFractionDigits(code, &status);
    return U_SUCCESS(status) && digits >= 0 && digits <= 4 ? digits : kUsual;
}

} // namespace ch
