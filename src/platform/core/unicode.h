#pragma once
// Unicode helpers on UTF-8 text (through ICU): lengths and cuts in the units
// the model counts, case-insensitive comparison by case folding, and the
// localized name order.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/text_encoding.h"

namespace ch {

// UTF-8 <-> UTF-16; malformed input becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
bool isValidUtf8(std::string_view bytes);

// Length in UTF-16 code units (what the model calls characters).
std::size_t utf16Length(std::string_view utf8);

// The longest prefix of at most maxUnits UTF-16 units that ends at a code-point
// boundary (a surrogate pair is never split). Malformed UTF-8 is repaired with
// U+FFFD.
std::string truncateToUtf16Units(std::string_view utf8, std::size_t maxUnits);

// The longest prefix, ending at a code-point boundary, whose lossy encoding
// (see encodeLossy) holds at most maxBytes bytes. The prefix is of the
// composed (NFC) text. Unsupported encoding: the empty text.
std::string truncateToEncodedBytes(std::string_view utf8, TextEncoding enc,
                                   std::size_t maxBytes);

// Case-insensitive comparison by full Unicode case folding, then code-point
// order: negative, 0 or positive.
int compareCaseInsensitive(std::string_view a, std::string_view b);
bool equalsCaseInsensitive(std::string_view a, std::string_view b);
bool startsWithCaseInsensitive(std::string_view text, std::string_view prefix);
bool containsCaseInsensitive(std::string_view text, std::string_view needle);

// The text in capitals by the full Unicode rules of no particular language
// ("ß" becomes "SS").
std::string toUpperCase(std::string_view utf8);

// Localized order of names (ICU collation of the name-order locale): negative,
// 0 or positive. With ignoreCase, texts differing only in case are equal.
int compareLocalized(std::string_view a, std::string_view b, bool ignoreCase = false);

// The locale of compareLocalized: the environment's locale until set. Tests set
// a fixed one ("en_US") so that the order does not depend on the machine.
void setNameOrderLocale(const std::string& icuLocaleId);
std::string nameOrderLocale();

} // namespace ch
