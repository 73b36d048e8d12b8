#pragma once
// What the property-list reader must do with any bytes: refuse them, or read a
// value that both forms write, and that the binary form reads back unchanged.

#include "platform/core/plist.h"

#include <cmath>
#include <string>
#include <string_view>

namespace ch::fuzz {

// Equal values, except that libplist keeps dates to the microsecond and
// truncates when it reads them, so each pass may lose one microsecond.
inline bool sameValue(const Value& a, const Value& b)
{
    if (a.isDate() && b.isDate())
        return std::fabs(a.asDate()->seconds - b.asDate()->seconds) <= 2e-6;
    if (a.isArray() && b.isArray()) {
        const Array &x = *a.asArray(), &y = *b.asArray();
        if (x.size() != y.size())
            return false;
        for (std::size_t i = 0; i < x.size(); ++i)
            if (!sameValue(x[i], y[i]))
                return false;
        return true;
    }
    if (a.isDictionary() && b.isDictionary()) {
        const Dictionary &x = *a.asDictionary(), &y = *b.asDictionary();
        if (x.size() != y.size())
            return false;
        for (const auto entry : x) {
            const Value* other = y.find(entry.key);
            if (!other || !sameValue(entry.value, *other))
                return false;
        }
        return true;
    }
    return a == b;
}

// Small limits keep each input fast; the checks are the same as with the defaults.
inline PlistLimits fuzzPlistLimits()
{
    PlistLimits limits;
    limits.maxInputBytes = 1 << 20;
    limits.maxDepth = 64;
    limits.maxValues = 100000;
    return limits;
}

inline std::string checkPlist(std::string_view input)
{
    const PlistLimits limits = fuzzPlistLimits();
    const ParseResult read = readPlist(input, limits);
    if (!read.ok())
        return read.value.isAbsent() ? std::string() : "a refused property list still gave a value";
    const PlistOutput binary = writePlist(read.value, PlistFormat::Binary, limits);
    if (!binary.ok()) {
        // Strings with a NUL character read from the binary form cannot go back through libplist.
        if (binary.error.find("NUL") != std::string::npos)
            return {};
        return "a value read could not be written: " + binary.error;
    }
    const ParseResult again = readPlist(binary.bytes, limits);
    if (!again.ok())
        return "the binary form written did not read back: " + again.error;
    if (!sameValue(again.value, read.value))
        return "the binary form written read back differently";
    const PlistOutput xml = writePlist(read.value, PlistFormat::Xml, limits);
    if (!xml.ok())
        return "a value read could not be written as XML: " + xml.error;
    const ParseResult fromXml = readPlist(xml.bytes, limits);
    if (!fromXml.ok())
        return "the XML form written did not read back: " + fromXml.error;
    return {};
}

} // namespace ch::fuzz
