#pragma once
// Readable failure messages for Value in tests.

#include "platform/core/value.h"

#include <cstdio>
#include <ostream>

namespace ch {

// Arrays element by element, dictionaries key by key (in any order), and
// every other value through leafEqual.
template <class LeafEqual>
bool sameStructure(const Value& a, const Value& b, const LeafEqual& leafEqual)
{
    if (a.isArray() && b.isArray()) {
        const Array &x = *a.asArray(), &y = *b.asArray();
        if (x.size() != y.size())
            return false;
        for (std::size_t i = 0; i < x.size(); ++i)
            if (!sameStructure(x[i], y[i], leafEqual))
                return false;
        return true;
    }
    if (a.isDictionary() && b.isDictionary()) {
        const Dictionary &x = *a.asDictionary(), &y = *b.asDictionary();
        if (x.size() != y.size())
            return false;
        for (const auto entry : x) {
            const Value* other = y.find(entry.key);
            if (!other || !sameStructure(entry.value, *other, leafEqual))
                return false;
        }
        return true;
    }
    return leafEqual(a, b);
}

inline void describeValue(const Value& v, std::ostream& os)
{
    switch (v.type()) {
    case Value::Type::Absent: os << "<absent>"; return;
    case Value::Type::Bool: os << (*v.asBool() ? "true" : "false"); return;
    case Value::Type::Integer: os << *v.asInteger(); return;
    case Value::Type::Real: os << v.toString() << 'r'; return;
    case Value::Type::String: os << '"' << *v.asString() << '"'; return;
    case Value::Type::Data: {
        os << '<';
        for (const std::uint8_t b : *v.asData()) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", b);
            os << hex;
        }
        os << '>';
        return;
    }
    case Value::Type::Date: os << "date(" << Value(v.asDate()->seconds).toString() << ')'; return;
    case Value::Type::Uid: os << "uid(" << v.asUid()->index << ')'; return;
    case Value::Type::Array: {
        os << '[';
        const char* separator = "";
        for (const Value& e : *v.asArray()) {
            os << separator;
            describeValue(e, os);
            separator = ", ";
        }
        os << ']';
        return;
    }
    case Value::Type::Dictionary: {
        os << '{';
        const char* separator = "";
        for (const auto entry : *v.asDictionary()) {
            os << separator << '"' << entry.key << "\": ";
            describeValue(entry.value, os);
            separator = ", ";
        }
        os << '}';
        return;
    }
    }
}

inline void PrintTo(const Value& v, std::ostream* os)
{
    describeValue(v, *os);
}

} // namespace ch
