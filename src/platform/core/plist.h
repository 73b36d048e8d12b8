#pragma once
// The XML and binary ("bplist00") property-list forms, converted to and from
// Value: XML through libplist, binary by our own reader and writer.
//
// Readers treat every byte as hostile: input size, nesting depth and the
// total number of values are bounded, and any failure is an error message,
// never a crash. Reals round-trip bit for bit in both forms, -0.0 included.
// Dates lie in the years 1 to 9999: the binary form keeps every bit of them,
// the XML form the whole second (rounded toward the past). UIDs survive both
// forms: in XML as the usual {"CF$UID" = n} dictionary, which the XML reader
// therefore takes for a UID; in binary such a dictionary stays one.

#include "platform/core/value.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace ch {

enum class PlistFormat { Xml, Binary };

struct PlistLimits {
    std::size_t maxInputBytes = std::size_t(256) << 20;
    std::size_t maxDepth = 512;
    std::size_t maxValues = std::size_t(16) << 20;
    // The bytes of text and data the list may expand to: a binary list can
    // reference one large object many times.
    std::size_t maxExpandedBytes = std::size_t(256) << 20;
};

// Reads either form; the format is recognised from the bytes.
ParseResult readPlist(std::string_view bytes, const PlistLimits& limits = {});

// True when the bytes begin with the binary form's signature "bplist00".
bool looksLikeBinaryPlist(std::string_view bytes);

struct PlistOutput {
    std::string bytes; // the document; empty on failure
    std::string error; // empty on success

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
};

// Writes a value in the given form. Fails for an absent value anywhere in the
// tree (no property-list form can hold it) and beyond the depth limit.
PlistOutput writePlist(const Value& value, PlistFormat format, const PlistLimits& limits = {});

} // namespace ch
