#include "business/ArchivedFields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "platform/core/keyed_archive.h"
#include "platform/core/value.h"

namespace ch::business {

namespace {

constexpr std::int64_t kSmallest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();

// The whole text as a number, or none.
template <class T>
std::optional<T> parsed(const std::string& text)
{
    T number{};
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || at != end || text.empty())
        return std::nullopt;
    return number;
}

std::optional<long> wholeNumber(const Value& value)
{
    std::optional<std::int64_t> number;
    if (const std::int64_t* integer = value.asInteger())
        number = *integer;
    else if (const bool* flag = value.asBool())
        number = *flag ? 1 : 0;
    else if (const double* real = value.asReal()) {
        if (std::isfinite(*real) && std::trunc(*real) == *real && std::fabs(*real) < 1e15)
            number = static_cast<std::int64_t>(*real);
    } else if (const std::string* text = value.asString())
        number = parsed<std::int64_t>(*text);
    if (!number || *number < kSmallest || *number > kLargest)
        return std::nullopt;
    return static_cast<long>(*number);
}

} // namespace

ArchivedFields::ArchivedFields(KeyedUnarchiver& coder, std::string_view className)
    : mCoder(coder), mClassName(className)
{
}

void ArchivedFields::damaged(std::string_view field, std::string_view what)
{
    mCoder.noteDamage(mClassName + " " + std::string(field) + ": " + std::string(what));
}

std::optional<std::string> ArchivedFields::text(std::string_view field)
{
    const Value value = mCoder.decodeValue();
    if (value.isAbsent())
        return std::nullopt;
    if (const std::string* text = value.asString())
        return *text;
    damaged(field, "not a text");
    return std::nullopt;
}

std::optional<long> ArchivedFields::integer(std::string_view field)
{
    const Value value = mCoder.decodeValue();
    if (value.isAbsent())
        return std::nullopt;
    if (std::optional<long> number = wholeNumber(value))
        return number;
    damaged(field, "not a whole number within range");
    return std::nullopt;
}

std::optional<double> ArchivedFields::real(std::string_view field)
{
    const Value value = mCoder.decodeValue();
    if (value.isAbsent())
        return std::nullopt;
    std::optional<double> number;
    if (value.isInteger() || value.isReal())
        number = value.toDouble();
    else if (const std::string* text = value.asString())
        number = parsed<double>(*text);
    if (number && std::isfinite(*number))
        return number;
    damaged(field, "not a finite number");
    return std::nullopt;
}

std::optional<bool> ArchivedFields::flag(std::string_view field)
{
    const Value value = mCoder.decodeValue();
    if (value.isAbsent())
        return std::nullopt;
    if (const bool* flag = value.asBool())
        return *flag;
    if (const std::int64_t* number = value.asInteger(); number && (*number == 0 || *number == 1))
        return *number == 1;
    damaged(field, "not a flag");
    return std::nullopt;
}

std::optional<std::vector<long>> ArchivedFields::integers(std::string_view field)
{
    const Value value = mCoder.decodeValue();
    if (value.isAbsent())
        return std::nullopt;
    const Array* array = value.asArray();
    if (!array) {
        damaged(field, "not an array");
        return std::nullopt;
    }
    std::vector<long> numbers;
    numbers.reserve(array->size());
    for (const Value& element : *array) {
        std::optional<long> number = element.isString() ? std::nullopt : wholeNumber(element);
        if (!number) {
            damaged(field, "holds something other than a whole number");
            return std::nullopt;
        }
        numbers.push_back(*number);
    }
    return numbers;
}

void ArchivedFields::finish()
{
    std::set<long> positions;
    for (const std::string& key : mCoder.keys()) {
        if (key == "$class")
            continue;
        std::optional<long> position = key.size() > 1 && key[0] == '$' && key[1] != '-' && key[1] != '+'
                                            ? parsed<long>(key.substr(1))
                                            : std::nullopt;
        if (!position || (key.size() > 2 && key[1] == '0')) {
            damaged("\"" + key + "\"", "a field no archiver writes");
            return;
        }
        positions.insert(*position);
    }
    if (!positions.empty() && *positions.rbegin() + 1 != static_cast<long>(positions.size()))
        damaged("values", "a value is missing in the sequence");
}

} // namespace ch::business
