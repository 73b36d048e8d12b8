#pragma once
// What the old-style text readers must do with any bytes: refuse them, or read
// a value that writes and reads back to the same value.

#include "platform/core/old_style_plist.h"

#include <string>
#include <string_view>

namespace ch::fuzz {

inline std::string checkOldStylePlist(std::string_view input)
{
    const ParseResult read = readOldStylePlist(input);
    if (!read.ok()) {
        if (!read.value.isAbsent())
            return "a refused text still gave a value";
    } else {
        const OldStyleOutput written = writeOldStylePlist(read.value);
        if (!written.ok())
            return "a value read could not be written: " + written.error;
        const ParseResult again = readOldStylePlist(written.text);
        if (!again.ok())
            return "written text did not read back: " + again.error;
        if (!(again.value == read.value))
            return "written text read back differently";
    }
    const ParseResult strings = parseStringsFile(input);
    if (strings.ok()) {
        const Dictionary* table = strings.value.asDictionary();
        if (!table)
            return "a strings file gave no dictionary";
        for (const auto entry : *table)
            if (!entry.value.isString())
                return "a strings file gave a text that is no string";
    } else if (!strings.value.isAbsent()) {
        return "a refused strings file still gave a value";
    }
    return {};
}

} // namespace ch::fuzz
