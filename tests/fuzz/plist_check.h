#pragma once
// What the property-list reader must do with any bytes: refuse them, or read a
// value that both forms write and read back as the form keeps it: the binary
// form unchanged, the XML form with dates to the whole second.

#include "platform/core/plist.h"
#include "../platform/core/plist_test_support.h"

#include <string>
#include <string_view>

namespace ch::fuzz {

// Equal values as the binary form keeps them: bit for bit, dates included.
inline bool sameValue(const Value& a, const Value& b)
{
    return sameAfterPlistForm(a, b, PlistFormat::Binary);
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
    if (!sameValue(read.value, again.value))
        return "the binary form written read back differently";
    const PlistOutput xml = writePlist(read.value, PlistFormat::Xml, limits);
    if (!xml.ok())
        return "a value read could not be written as XML: " + xml.error;
    const ParseResult fromXml = readPlist(xml.bytes, limits);
    if (!fromXml.ok())
        return "the XML form written did not read back: " + fromXml.error;
    if (!sameAfterPlistForm(read.value, fromXml.value, PlistFormat::Xml))
        return "the XML form written read back differently";
    return {};
}

} // namespace ch::fuzz
