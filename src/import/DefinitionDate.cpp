#include "import/DefinitionDate.h"

#include <array>
#include <vector>

#include "bridge/CNSStringDateTBridge.h"
#include "model/foundation/CDate.h"

namespace ch {

namespace {

enum class Field { Year, Month, Day };

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
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

std::vector<Run> digitRuns(std::string_view text, std::size_t most)
{
    std::vector<Run> runs;
    for (std::size_t i = 0; i < text.size() && runs.size() < most;) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        Run run;
        for (; i < text.size() && isDigit(text[i]); ++i, ++run.digits)
            if (run.digits < 9) run.value = run.value * 10 + (text[i] - '0');
        runs.push_back(run);
    }
    return runs;
}

} // namespace

DateT definitionDate(std::string_view text, const std::optional<std::string>& pattern)
{
    if (!pattern) return CNSStringDateTBridge::NSStringToDateT(text);
    if (const auto fields = separatedFields(*pattern)) {
        const std::vector<Run> runs = digitRuns(text, 3);
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
            if (year < 1901 || year > 3999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
            const auto date = static_cast<DateT>(year * 10000 + month * 100 + day);
            return CDate::IsValidDate(date) ? date : 0;
        }
    }
    if (const std::optional<DateT> date = CNSStringDateTBridge::NSStringToDateT(text, *pattern)) return *date;
    return CNSStringDateTBridge::NSStringToDateT(text);
}

} // namespace ch
