#include "business/StoredValues.h"

namespace ch::business::stored {

Value toValue(const std::optional<std::string>& text)
{
    return text ? Value(*text) : Value();
}

Value toValue(const std::optional<long>& number)
{
    return number ? Value(*number) : Value();
}

Value toValue(const std::optional<double>& number)
{
    return number ? Value(*number) : Value();
}

Value toValue(const std::optional<bool>& flag)
{
    return flag ? Value(*flag) : Value();
}

Value toValue(const std::vector<long>& numbers)
{
    Array array;
    array.reserve(numbers.size());
    for (long number : numbers)
        array.emplace_back(number);
    return Value(std::move(array));
}

Value toValue(const std::optional<std::vector<long>>& numbers)
{
    return numbers ? toValue(*numbers) : Value();
}

std::optional<std::string> text(const Value& value)
{
    if (const std::string* s = value.asString())
        return *s;
    return std::nullopt;
}

std::optional<long> integer(const Value& value)
{
    if (value.isNumber() || value.isString())
        return value.toInt();
    return std::nullopt;
}

std::optional<double> real(const Value& value)
{
    if (value.isNumber() || value.isString())
        return value.toDouble();
    return std::nullopt;
}

std::optional<bool> flag(const Value& value)
{
    if (value.isNumber() || value.isString())
        return value.toBool();
    return std::nullopt;
}

std::optional<std::vector<long>> integers(const Value& value)
{
    const Array* array = value.asArray();
    if (!array)
        return std::nullopt;
    std::vector<long> numbers;
    numbers.reserve(array->size());
    for (const Value& element : *array)
        if (element.isNumber())
            numbers.push_back(element.toInt());
    return numbers;
}

} // namespace ch::business::stored
