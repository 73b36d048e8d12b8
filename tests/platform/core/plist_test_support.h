#pragma once
// How a value written in a property-list form must read back.

#include "platform/core/plist.h"
#include "value_test_support.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace ch {

// Reals are compared bit for bit (0.0 and -0.0 differ), everything else by value.
inline bool identical(const Value& a, const Value& b)
{
    return sameStructure(a, b, [](const Value& x, const Value& y) {
        if (x.isReal() && y.isReal())
            return std::bit_cast<std::uint64_t>(*x.asReal()) == std::bit_cast<std::uint64_t>(*y.asReal());
        return x == y;
    });
}

// The binary form keeps everything bit for bit, dates included. The XML form
// keeps a date to the whole second (toward the past), a NaN as some NaN, and
// a {"CF$UID" = n} dictionary as the UID it stands for there.
inline bool sameAfterPlistForm(const Value& written, const Value& read, PlistFormat format)
{
    return sameStructure(written, read, [format](const Value& x, const Value& y) {
        if (x.isDate() && y.isDate()) {
            if (format == PlistFormat::Xml)
                return std::floor(x.asDate()->seconds) == y.asDate()->seconds;
            return std::bit_cast<std::uint64_t>(x.asDate()->seconds) == std::bit_cast<std::uint64_t>(y.asDate()->seconds);
        }
        if (format == PlistFormat::Xml) {
            if (x.isReal() && y.isReal() && std::isnan(*x.asReal()))
                return std::isnan(*y.asReal());
            if (x.isDictionary() && y.isUid())
                return x == Value(Dictionary{{"CF$UID", Value(static_cast<long long>(y.asUid()->index))}});
        }
        return identical(x, y);
    });
}

} // namespace ch
