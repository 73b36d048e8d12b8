#include "platform/core/value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace ch {

namespace {

// Dictionaries up to this size are searched linearly; larger ones get a hash index.
constexpr std::size_t kIndexThreshold = 8;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view skipBlanks(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.substr(i);
}

// Leading decimal integer of a text, clamped to [lo, hi]; 0 when there is none.
std::int64_t leadingInteger(std::string_view text, std::int64_t lo, std::int64_t hi)
{
    text = skipBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate as a negative number so that the smallest value fits.
    std::int64_t value = 0;
    bool clamped = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (clamped)
            continue;
        const int digit = text[i] - '0';
        if (value < (std::numeric_limits<std::int64_t>::min() + digit) / 10) {
            clamped = true;
            value = std::numeric_limits<std::int64_t>::min();
            continue;
        }
        value = value * 10 - digit;
    }
    if (negative)
        return value < lo ? lo : value;
    // -value may overflow for the smallest int64: compare before negating.
    if (value < -hi)
        return hi;
    return -value;
}

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return locale;
}

// Leading decimal number of a text (sign, digits, fraction, exponent); 0.0 when none.
double leadingReal(std::string_view text)
{
    text = skipBlanks(text);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    // Only the scanned decimal prefix reaches strtod, so hex and "inf" never do.
    const std::string number(text.substr(0, i));
    return strtod_l(number.c_str(), nullptr, cLocale());
}

template <typename Int>
Int truncateReal(double d)
{
    if (std::isnan(d))
        return 0;
    if (d <= double(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (d >= double(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return Int(d);
}

std::string integerText(std::int64_t i)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, i);
    return std::string(buffer, result.ptr);
}

std::string realText(double d)
{
    char buffer[64];
    // Shortest form that reads back to the same double.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, result.ptr);
}

} // namespace

// ---------------------------------------------------------------- Dictionary

Dictionary::Dictionary() = default;

Dictionary::Dictionary(std::initializer_list<std::pair<std::string, Value>> entries)
{
    reserve(entries.size());
    for (const auto& [key, value] : entries)
        set(key, value);
}

Dictionary::Dictionary(const Dictionary& other) : mKeys(other.mKeys), mValues(other.mValues) {}

Dictionary::Dictionary(Dictionary&& other) noexcept
    : mKeys(std::move(other.mKeys)), mValues(std::move(other.mValues)), mIndex(std::move(other.mIndex))
{
    other.mKeys.clear();
    other.mValues.clear();
}

Dictionary& Dictionary::operator=(const Dictionary& other)
{
    if (this != &other) {
        mKeys = other.mKeys;
        mValues = other.mValues;
        mIndex.reset();
    }
    return *this;
}

Dictionary& Dictionary::operator=(Dictionary&& other) noexcept
{
    if (this != &other) {
        mKeys = std::move(other.mKeys);
        mValues = std::move(other.mValues);
        mIndex = std::move(other.mIndex);
        other.mKeys.clear();
        other.mValues.clear();
    }
    return *this;
}

Dictionary::~Dictionary() = default;

const Value& Dictionary::valueAt(std::size_t i) const
{
    return mValues[i];
}

Value& Dictionary::valueAt(std::size_t i)
{
    return mValues[i];
}

void Dictionary::rebuildIndex() const
{
    mIndex = std::make_unique<std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>>>();
    mIndex->reserve(mKeys.size());
    for (std::size_t i = 0; i < mKeys.size(); ++i)
        mIndex->emplace(mKeys[i], i);
}

std::ptrdiff_t Dictionary::indexOf(std::string_view key) const
{
    if (mKeys.size() <= kIndexThreshold) {
        for (std::size_t i = 0; i < mKeys.size(); ++i)
            if (mKeys[i] == key)
                return std::ptrdiff_t(i);
        return -1;
    }
    if (!mIndex)
        rebuildIndex();
    const auto it = mIndex->find(key);
    return it == mIndex->end() ? -1 : std::ptrdiff_t(it->second);
}

bool Dictionary::contains(std::string_view key) const
{
    return indexOf(key) >= 0;
}

const Value* Dictionary::find(std::string_view key) const
{
    const auto i = indexOf(key);
    return i < 0 ? nullptr : &mValues[std::size_t(i)];
}

Value* Dictionary::find(std::string_view key)
{
    const auto i = indexOf(key);
    return i < 0 ? nullptr : &mValues[std::size_t(i)];
}

const Value& Dictionary::operator[](std::string_view key) const
{
    const Value* value = find(key);
    return value ? *value : absentValue();
}

void Dictionary::set(std::string key, Value value)
{
    const auto i = indexOf(key);
    if (i >= 0) {
        mValues[std::size_t(i)] = std::move(value);
        return;
    }
    if (mIndex)
        mIndex->emplace(key, mKeys.size());
    mKeys.push_back(std::move(key));
    mValues.push_back(std::move(value));
}

bool Dictionary::remove(std::string_view key)
{
    const auto i = indexOf(key);
    if (i < 0)
        return false;
    mKeys.erase(mKeys.begin() + i);
    mValues.erase(mValues.begin() + i);
    mIndex.reset();
    return true;
}

void Dictionary::clear()
{
    mKeys.clear();
    mValues.clear();
    mIndex.reset();
}

void Dictionary::reserve(std::size_t count)
{
    mKeys.reserve(count);
    mValues.reserve(count);
}

bool operator==(const Dictionary& a, const Dictionary& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Value* other = b.find(a.keyAt(i));
        if (!other || !(*other == a.valueAt(i)))
            return false;
    }
    return true;
}

// --------------------------------------------------------------------- Value

int Value::toInt() const
{
    switch (type()) {
    case Type::Bool: return *asBool() ? 1 : 0;
    case Type::Integer: {
        const std::int64_t i = *asInteger();
        if (i > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
        if (i < std::numeric_limits<int>::min())
            return std::numeric_limits<int>::min();
        return int(i);
    }
    case Type::Real: return truncateReal<int>(*asReal());
    case Type::String:
        return int(leadingInteger(*asString(), std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
    default: return 0;
    }
}

std::int64_t Value::toLong() const
{
    switch (type()) {
    case Type::Bool: return *asBool() ? 1 : 0;
    case Type::Integer: return *asInteger();
    case Type::Real: return truncateReal<std::int64_t>(*asReal());
    case Type::String:
        return leadingInteger(*asString(), std::numeric_limits<std::int64_t>::min(),
                              std::numeric_limits<std::int64_t>::max());
    default: return 0;
    }
}

double Value::toDouble() const
{
    switch (type()) {
    case Type::Bool: return *asBool() ? 1.0 : 0.0;
    case Type::Integer: return double(*asInteger());
    case Type::Real: return *asReal();
    case Type::String: return leadingReal(*asString());
    default: return 0.0;
    }
}

bool Value::toBool() const
{
    switch (type()) {
    case Type::Bool: return *asBool();
    case Type::Integer: return *asInteger() != 0;
    case Type::Real: return *asReal() != 0.0;
    case Type::String: {
        const std::string_view text = skipBlanks(*asString());
        if (text.empty())
            return false;
        const char c = text.front();
        return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
    }
    default: return false;
    }
}

std::string Value::toString() const
{
    switch (type()) {
    case Type::Bool: return *asBool() ? "1" : "0";
    case Type::Integer: return integerText(*asInteger());
    case Type::Real: return realText(*asReal());
    case Type::String: return *asString();
    default: return std::string();
    }
}

const Value& Value::operator[](std::string_view key) const
{
    const Dictionary* dict = asDictionary();
    return dict ? (*dict)[key] : absentValue();
}

bool operator==(const Value& a, const Value& b)
{
    if (a.type() != b.type())
        return false;
    if (a.isReal()) {
        const double x = *a.asReal(), y = *b.asReal();
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    return a.mData == b.mData;
}

const Value& absentValue()
{
    static const Value absent;
    return absent;
}

const char* typeName(Value::Type type)
{
    switch (type) {
    case Value::Type::Absent: return "absent";
    case Value::Type::Bool: return "Boolean";
    case Value::Type::Integer: return "integer";
    case Value::Type::Real: return "real";
    case Value::Type::String: return "string";
    case Value::Type::Data: return "data";
    case Value::Type::Date: return "date";
    case Value::Type::Array: return "array";
    case Value::Type::Dictionary: return "dictionary";
    case Value::Type::Uid: return "UID";
    }
    return "unknown";
}

} // namespace ch
