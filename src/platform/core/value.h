#pragma once
// One property-list value: what the XML, binary and old-style text forms, the
// keyed archive and the user defaults all read and write.
//
// A Value is absent (the default), a Boolean, a 64-bit integer, a real, a UTF-8
// string, bytes, a date, an array, a dictionary or a UID (an object reference
// inside a keyed archive). Values copy deeply; containers own their elements.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace ch {

class Value;

using Bytes = std::vector<std::uint8_t>;
using Array = std::vector<Value>;

// A point in time as seconds since 1 January 2001 00:00:00 UTC, the
// platform's absolute time.
struct Date {
    double seconds = 0.0;
    friend bool operator==(const Date&, const Date&) = default;
};

// An object reference of a keyed archive: an index into its "$objects".
struct Uid {
    std::uint64_t index = 0;
    friend bool operator==(const Uid&, const Uid&) = default;
};

// A dictionary from text keys to values. Keeps the order in which keys were
// first inserted (writers that need another order sort on their own); lookup
// by key is constant time on average.
class Dictionary {
public:
    Dictionary();
    Dictionary(std::initializer_list<std::pair<std::string, Value>> entries);
    Dictionary(const Dictionary& other);
    Dictionary(Dictionary&& other) noexcept;
    Dictionary& operator=(const Dictionary& other);
    Dictionary& operator=(Dictionary&& other) noexcept;
    ~Dictionary();

    std::size_t size() const { return mKeys.size(); }
    bool empty() const { return mKeys.empty(); }

    // Entry i in insertion order; i < size().
    const std::string& keyAt(std::size_t i) const { return mKeys[i]; }
    const Value& valueAt(std::size_t i) const;
    Value& valueAt(std::size_t i);

    bool contains(std::string_view key) const;
    // The value under the key, or nullptr.
    const Value* find(std::string_view key) const;
    Value* find(std::string_view key);
    // The value under the key, or an absent value.
    const Value& operator[](std::string_view key) const;

    // Replaces the value of an existing key in place, or appends a new entry.
    void set(std::string key, Value value);
    // Removes the entry; later entries keep their relative order.
    bool remove(std::string_view key);
    void clear();
    void reserve(std::size_t count);

    // Iteration in insertion order yields {key, value} references.
    struct Entry {
        const std::string& key;
        const Value& value;
    };
    class const_iterator {
    public:
        const_iterator(const Dictionary* dict, std::size_t i) : mDict(dict), mIndex(i) {}
        Entry operator*() const { return {mDict->keyAt(mIndex), mDict->valueAt(mIndex)}; }
        const_iterator& operator++() { ++mIndex; return *this; }
        bool operator==(const const_iterator& other) const { return mIndex == other.mIndex; }
    private:
        const Dictionary* mDict;
        std::size_t mIndex;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Same keys with equal values; the order of insertion does not matter.
    friend bool operator==(const Dictionary& a, const Dictionary& b);

private:
    std::ptrdiff_t indexOf(std::string_view key) const;
    void rebuildIndex() const;

    std::vector<std::string> mKeys;
    std::vector<Value> mValues;
    // Built only once a dictionary grows past a few entries; small ones scan.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    mutable std::unique_ptr<std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>>> mIndex;
};

class Value {
public:
    enum class Type { Absent, Bool, Integer, Real, String, Data, Date, Array, Dictionary, Uid };

    Value() = default;
    Value(bool b) : mData(b) {}
    Value(int i) : mData(std::int64_t(i)) {}
    Value(long i) : mData(std::int64_t(i)) {}
    Value(long long i) : mData(std::int64_t(i)) {}
    Value(unsigned u) : mData(std::int64_t(u)) {}
    Value(double d) : mData(d) {}
    Value(const char* s) : mData(std::string(s ? s : "")) {}
    Value(std::string s) : mData(std::move(s)) {}
    Value(std::string_view s) : mData(std::string(s)) {}
    Value(Bytes bytes) : mData(std::move(bytes)) {}
    Value(Date date) : mData(date) {}
    Value(ch::Array array) : mData(std::move(array)) {}
    Value(ch::Dictionary dict) : mData(std::move(dict)) {}
    Value(Uid uid) : mData(uid) {}

    Type type() const { return Type(mData.index()); }
    bool isAbsent() const { return type() == Type::Absent; }
    bool isBool() const { return type() == Type::Bool; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isUid() const { return type() == Type::Uid; }

    // Exact access: nullptr unless the value has that type.
    const bool* asBool() const { return std::get_if<bool>(&mData); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&mData); }
    const double* asReal() const { return std::get_if<double>(&mData); }
    const std::string* asString() const { return std::get_if<std::string>(&mData); }
    const Bytes* asData() const { return std::get_if<Bytes>(&mData); }
    const Date* asDate() const { return std::get_if<Date>(&mData); }
    const ch::Array* asArray() const { return std::get_if<ch::Array>(&mData); }
    ch::Array* asArray() { return std::get_if<ch::Array>(&mData); }
    const ch::Dictionary* asDictionary() const { return std::get_if<ch::Dictionary>(&mData); }
    ch::Dictionary* asDictionary() { return std::get_if<ch::Dictionary>(&mData); }
    const Uid* asUid() const { return std::get_if<Uid>(&mData); }

    // Lenient conversions, as the readers of replayed commands need them: numbers
    // convert directly, text by its leading number (C locale), anything else is
    // 0 / false / "". Reals convert to integers by truncation toward zero.
    //
    // toInt: a text's leading decimal integer after blanks, clamped to the 32-bit
    // range (an overflowing text reads as 2147483647 or -2147483648).
    int toInt() const;
    // toLong: the same, clamped to the 64-bit range.
    std::int64_t toLong() const;
    // toDouble: a text's leading decimal number after blanks, 0.0 when none.
    double toDouble() const;
    // toBool: a number is true when non-zero; a text is true when, after blanks,
    // it begins with "Y", "y", "T", "t" or a digit 1 to 9.
    bool toBool() const;
    // toString: a string as it is; integers in decimal; reals in the shortest
    // form that reads back to the same value; Booleans as "1" and "0".
    std::string toString() const;

    // Dictionary lookup that tolerates a non-dictionary: an absent value then.
    const Value& operator[](std::string_view key) const;

    // Same type and equal contents (reals by value, NaN equal to NaN;
    // dictionaries regardless of insertion order).
    friend bool operator==(const Value& a, const Value& b);

private:
    // Order matches Type.
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Bytes, Date,
                 ch::Array, ch::Dictionary, Uid>
        mData;
};

// What a reader answers: the value read, or a message saying why there is none.
struct ParseResult {
    Value value;       // absent on failure
    std::string error; // empty on success

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
    static ParseResult failure(std::string message) { return {Value(), std::move(message)}; }
};

// An absent value to return by reference.
const Value& absentValue();

// Name of a type for messages ("dictionary", "integer", ...).
const char* typeName(Value::Type type);

} // namespace ch
