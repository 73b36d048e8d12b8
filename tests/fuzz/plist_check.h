#pragma once
// What the property-list reader must do with any bytes: refuse them, or read a
// value that both forms write, and that the binary form reads back unchanged.

#include "platform/core/plist.h"
#include "../platform/core/value_test_support.h"

#include <cmath>
#include <string>
#include <string_view>

namespace ch::fuzz {

// Equal values, except that libplist keeps dates to the microsecond and
// truncates when it reads them, so each pass may lose one microsecond.
inline bool sameValue(const Value& a, const Value& b)
{
    return sameStructure(a, b, [](const Value& x, const Value& y) {
        if (x.isDate() && y.isDate())
            return std::fabs(x.asDate()->seconds - y.asDate()->seconds) <= 2e-6;
        return x == y;
    });
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
