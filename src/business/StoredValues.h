#pragma once
// The values business objects keep, to and from the property-list values of
// their archive and dictionary forms. Absent fields are nil. Reading takes
// what a stored file may hold and no more: a number from a number or from
// its text, ids and dates clamped to 32 bits; a value of another kind reads
// as absent, so that one odd field never costs the whole object.

#include <optional>
#include <string>
#include <vector>

#include "platform/core/value.h"

namespace ch::business::stored {

Value toValue(const std::optional<std::string>& text);
Value toValue(const std::optional<long>& number);
Value toValue(const std::optional<double>& number);
Value toValue(const std::optional<bool>& flag);
// An array of numbers.
Value toValue(const std::vector<long>& numbers);
Value toValue(const std::optional<std::vector<long>>& numbers);

std::optional<std::string> text(const Value& value);
// 32-bit integers: ids and dates.
std::optional<long> integer(const Value& value);
std::optional<double> real(const Value& value);
std::optional<bool> flag(const Value& value);
// The numbers of an array (other elements are left out); absent for no array.
std::optional<std::vector<long>> integers(const Value& value);

// Puts the value under the key only when it is present.
template <typename T>
void putPresent(Dictionary& dictionary, std::string key, const T& field)
{
    if (field)
        dictionary.set(std::move(key), toValue(field));
}

} // namespace ch::business::stored
