#pragma once
// The binary property-list form ("bplist00"), read and written here rather
// than through libplist: libplist passes dates through whole seconds and
// microseconds (losing bits, the sign within the last second before 2001, and
// every year outside about 1933-2069) and cannot read or write UIDs wider than
// four bytes.
//
// Reals and dates keep every bit; UIDs take one to eight bytes. A dictionary
// {"CF$UID" = n} stays a dictionary: this form has a UID object of its own.

#include "platform/core/plist.h"

#include <string_view>

namespace ch {

// Reads bytes that begin with "bplist00". Offsets, lengths, references,
// dictionary keys, cycles and the expanded depth and value count are checked
// before any value is built.
ParseResult readBinaryPlist(std::string_view bytes, const PlistLimits& limits);

// Refuses an absent value, a string or key holding a NUL character, a date
// outside the years 1 to 9999 and nesting beyond the depth limit.
PlistOutput writeBinaryPlist(const Value& value, const PlistLimits& limits);

} // namespace ch
