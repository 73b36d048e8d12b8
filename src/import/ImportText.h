#pragma once
// Text helpers shared by the statement readers and the import line: lengths
// and cuts in characters (never splitting one), blanks trimmed, the title
// form of a text, and the model's 8-bit form of a text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ch {

// Length in characters (UTF-16 units, as the model counts them).
std::size_t characterCount(std::string_view text);
// The first maxCharacters characters.
std::string firstCharacters(std::string_view text, std::size_t maxCharacters);
// Without blanks, tabs and line breaks at either end.
std::string_view trimmedText(std::string_view text);
// Without blanks, tabs and line breaks at the end.
std::string_view withoutTrailingBlanks(std::string_view text);
// The text with its no-break and narrow no-break spaces as plain blanks
// (the grouping of "1 234,56" in French and Scandinavian notation).
std::string withPlainBlanks(std::string_view text);
// The text in its composed form (NFC), so that texts typed and texts read
// from a file compare equal whichever way their accents are written.
std::string composedText(std::string_view text);
// Every word (a run between blanks, tabs and line breaks) with its first
// letter in upper case and the rest in lower case: "SHOP NORTH" -> "Shop North".
std::string capitalizedText(std::string_view text);
// The text as the model's 8-bit text fields hold it (the encoding of
// "GXDestinationEncoding"), at most maxCharacters characters.
std::string modelText(std::string_view text, std::size_t maxCharacters = 255);
// The text after the lossy round trip through the encoding of
// "GXDestinationEncoding" (none for 0), when that encoding cannot hold it.
std::string inDestinationEncoding(std::string_view text);
// Line numbers of a file for a message: "4, 17, 30", the first dozen and
// an ellipsis after them.
std::string lineNumberList(const std::vector<std::size_t>& lines);

} // namespace ch
