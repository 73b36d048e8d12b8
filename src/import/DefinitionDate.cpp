#include "import/DefinitionDate.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <vector>

#include "bridge/CNSStringDateTBridge.h"
#include "import/ImportText.h"
#include "model/foundation/CDate.h"
#include "platform/core/locale_settings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

enum class Field { Year, Month, Day };

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
}

// The pattern's three fields in order, when non-letters separate them.
std::optional<std::array<Field, 3>> separatedFields(std::string_view pattern)
{
    std::vector<Field> fields;
    bool separated = true;
    char last = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower == 'y' || lower == 'm' || lower == 'd') {
            if (lower == last) continue;
            if (last != 0) separated = false;   // two fields without a separator
            fields.push_back(lower == 'y' ? Field::Year : lower == 'm' ? Field::Month : Field::Day);
            last = lower;
        } else {
            last = 0;
        }
    }
    if (!separated || fields.size() != 3 || fields[0] == fields[1] || fields[1] == fields[2] || fields[0] == fields[2])
        return std::nullopt;
    return std::array<Field, 3>{fields[0], fields[1], fields[2]};
}

struct Run {
    long value = 0;
    std::size_t digits = 0;
};

struct Runs {
    std::vector<Run> runs;
    std::size_t end = 0;           // after the last run taken
    bool lettersBetween = false;   // a letter stands between two runs
};

Runs digitRuns(std::string_view text, std::size_t most)
{
    Runs found;
    for (std::size_t i = 0; i < text.size() && found.runs.size() < most;) {
        if (!isDigit(text[i])) {
            if (!found.runs.empty() && isLetter(text[i])) found.lettersBetween = true;
            ++i;
            continue;
        }
        Run run;
        for (; i < text.size() && isDigit(text[i]); ++i, ++run.digits)
            if (run.digits < 9) run.value = run.value * 10 + (text[i] - '0');
        found.runs.push_back(run);
        found.end = i;
    }
    return found;
}

// What may follow a date in its field: nothing, or a time of day ("00:00:00",
// "T10:30:00+01:00", "9:15 AM").
bool isTimeOfDay(std::string_view rest)
{
    if (rest.empty()) return true;
    if (rest.front() != ' ' && rest.front() != 'T' && rest.front() != 't') return false;
    rest.remove_prefix(1);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    auto endsWith = [&](std::string_view suffix) {
        if (rest.size() < suffix.size()) return false;
        for (std::size_t i = 0; i < suffix.size(); ++i)
            if ((rest[rest.size() - suffix.size() + i] | 0x20) != suffix[i]) return false;
        return true;
    };
    if (endsWith("am") || endsWith("pm")) rest.remove_suffix(2);
    else if (endsWith("z")) rest.remove_suffix(1);
    if (rest.empty() || !isDigit(rest.front())) return false;
    return std::all_of(rest.begin(), rest.end(), [](char c) {
        return isDigit(c) || c == ':' || c == '.' || c == ',' || c == ' ' || c == '+' || c == '-';
    });
}

// A date that ends in a period ("2019.04.19.", as Hungarian banks write it)
// may be followed by a time of day as any other.
bool isDateEnd(std::string_view rest)
{
    if (rest.starts_with('.')) rest.remove_prefix(1);
    return isTimeOfDay(rest);
}

// Whether the pattern names its month by name ("mmm", "MMMM").
bool namesMonth(std::string_view pattern)
{
    for (std::size_t i = 0; i + 2 < pattern.size(); ++i)
        if ((pattern[i] | 0x20) == 'm' && (pattern[i + 1] | 0x20) == 'm' && (pattern[i + 2] | 0x20) == 'm')
            return true;
    return false;
}

// The month (1 to 12) a name gives: an English name or one of the user's
// language, whole or abbreviated, in any case; a whole name's first three or
// more letters ("Sept") too. 0 for none.
int monthOfName(std::string_view name)
{
    while (!name.empty() && name.back() == '.') name.remove_suffix(1);
    if (characterCount(name) < 3) return 0;
    static const std::vector<std::vector<std::string>> english = {
        {"January", "Jan"},  {"February", "Feb"}, {"March", "Mar"},     {"April", "Apr"},
        {"May"},             {"June", "Jun"},     {"July", "Jul"},      {"August", "Aug"},
        {"September", "Sep"}, {"October", "Oct"}, {"November", "Nov"}, {"December", "Dec"}};
    static std::mutex guard;
    static std::map<std::string, std::vector<std::vector<std::string>>> byLocale;
    const std::string locale = currentLocaleSettings().localeId;
    const std::vector<std::vector<std::string>>* own = nullptr;
    {
        // Entries are never removed: the names stay where they are.
        const std::lock_guard<std::mutex> lock(guard);
        auto known = byLocale.find(locale);
        if (known == byLocale.end()) known = byLocale.emplace(locale, monthNamesIn(locale)).first;
        own = &known->second;
    }
    const std::vector<std::vector<std::string>>* lists[] = {&english, own};
    for (const auto* names : lists) {
        for (std::size_t month = 0; month < names->size() && month < 12; ++month) {
            for (const std::string& each : (*names)[month]) {
                if (equalsCaseInsensitive(each, name)) return static_cast<int>(month) + 1;
                if (characterCount(each) > characterCount(name) && startsWithCaseInsensitive(each, name))
                    return static_cast<int>(month) + 1;
            }
        }
    }
    return 0;
}

// A date whose month is a name: the day and the year are the text's two
// digit runs, in the pattern's order; the name is the run of letters.
DateT dateWithMonthName(std::string_view text, std::string_view pattern)
{
    const std::size_t day = pattern.find_first_of("dD");
    const std::size_t year = pattern.find_first_of("yY");
    if (day == std::string_view::npos || year == std::string_view::npos) return 0;
    const Runs found = digitRuns(text, 2);
    if (found.runs.size() != 2) return 0;
    const Run& dayRun = found.runs[day < year ? 0 : 1];
    const Run& yearRun = found.runs[day < year ? 1 : 0];
    if (dayRun.digits < 1 || dayRun.digits > 2 || (yearRun.digits != 2 && yearRun.digits != 4)) return 0;
    if (!isDateEnd(text.substr(found.end))) return 0;
    // The letters between the text's start and its last digit run.
    std::size_t first = 0;
    while (first < found.end && !isLetter(text[first])) ++first;
    std::size_t last = first;
    while (last < found.end && isLetter(text[last])) ++last;
    const int month = monthOfName(text.substr(first, last - first));
    if (month == 0) return 0;
    const long y = yearRun.digits == 2 ? (yearRun.value < 51 ? 2000 + yearRun.value : 1900 + yearRun.value)
                                       : yearRun.value;
    if (y < 1901 || y > 3999) return 0;
    const auto date = static_cast<DateT>(y * 10000 + month * 100 + dayRun.value);
    return CDate::IsValidDate(date) ? date : 0;
}

// Whether the text opens as the pattern does: a pattern that begins with a
// day, a month number or a year wants a digit first.
bool opensAsPattern(std::string_view text, std::string_view pattern)
{
    if (pattern.empty()) return true;
    const char first = static_cast<char>(pattern.front() | 0x20);
    if (first != 'd' && first != 'm' && first != 'y') return true;
    if (first == 'm' && pattern.size() >= 3 && (pattern[1] | 0x20) == 'm' && (pattern[2] | 0x20) == 'm')
        return true;   // a month name
    return !text.empty() && isDigit(text.front());
}

} // namespace

DateT definitionDate(std::string_view text, const std::optional<std::string>& pattern)
{
    if (!pattern) return CNSStringDateTBridge::NSStringToDateT(text);
    // The field is a date as a whole, or none: "Balance (15.01.2009):" holds one.
    text = trimmedText(text);
    if (!opensAsPattern(text, *pattern)) return 0;
    if (namesMonth(*pattern)) return dateWithMonthName(text, *pattern);
    if (const auto fields = separatedFields(*pattern)) {
        const Runs found = digitRuns(text, 3);
        const std::vector<Run>& runs = found.runs;
        bool fits = runs.size() == 3;
        long year = 0, month = 0, day = 0;
        for (std::size_t i = 0; fits && i < 3; ++i) {
            const Run& run = runs[i];
            switch ((*fields)[i]) {
            case Field::Year:
                fits = run.digits == 2 || run.digits == 4;
                year = run.digits == 2 ? (run.value < 51 ? 2000 + run.value : 1900 + run.value) : run.value;
                break;
            case Field::Month:
                fits = run.digits == 1 || run.digits == 2;
                month = run.value;
                break;
            case Field::Day:
                fits = run.digits == 1 || run.digits == 2;
                day = run.value;
                break;
            }
        }
        if (fits) {
            if (found.lettersBetween || !isDateEnd(text.substr(found.end))) return 0;
            if (year < 1901 || year > 3999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
            const auto date = static_cast<DateT>(year * 10000 + month * 100 + day);
            return CDate::IsValidDate(date) ? date : 0;
        }
    }
    if (const std::optional<DateT> date = CNSStringDateTBridge::NSStringToDateT(text, *pattern)) return *date;
    return CNSStringDateTBridge::NSStringToDateT(text);
}

} // namespace ch
