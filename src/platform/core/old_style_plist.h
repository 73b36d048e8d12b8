#pragma once
// The old-style (OpenStep) text form of property lists, as argument objects
// are stored in the command journal, and the strings files of localized texts.
//
// Writing: dictionaries as "{key = value; ...}" with keys in ascending order
// of their UTF-16 units, arrays as "(a, b)", texts bare when they hold only
// [A-Za-z0-9_$/:.-], are not empty and do not begin like a comment ("//" or
// "/*"), otherwise quoted with escapes (non-ASCII characters stay as UTF-8);
// numbers as their decimal text (reals in the shortest form that reads back
// the same, Booleans as 1 and 0); data as <hex>.
//
// Reading gives dictionaries, arrays, strings and data: every scalar comes back
// as text, and consumers convert it with Value::toInt and friends. Nesting depth
// and input size are bounded; malformed text is an error, never a crash.

#include "platform/core/value.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace ch {

struct OldStylePlistLimits {
    std::size_t maxInputBytes = std::size_t(64) << 20;
    std::size_t maxDepth = 256;
};

// The text form of a value. Fails (empty text and a message) for absent values,
// dates and UIDs, which the form cannot hold, and beyond the depth limit.
struct OldStyleOutput {
    std::string text;
    std::string error;

    bool ok() const { return error.empty(); }
    explicit operator bool() const { return ok(); }
};
OldStyleOutput writeOldStylePlist(const Value& value, const OldStylePlistLimits& limits = {});

// Reads one value; only white space and comments may follow it.
ParseResult readOldStylePlist(std::string_view text, const OldStylePlistLimits& limits = {});

// Reads a strings file: a sequence of "KEY" = "Text"; entries (a bare entry
// "KEY"; maps the key to itself) with /* */ and // comments, into a dictionary
// of strings. A later duplicate key replaces the earlier text.
ParseResult parseStringsFile(std::string_view text, const OldStylePlistLimits& limits = {});

} // namespace ch
