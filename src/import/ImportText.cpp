#include "import/ImportText.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <algorithm>

#include "model/foundation/CNSStringToCString.h"
#include "platform/core/text_encoding.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::size_t characterCount(std::string_view text)
{
    return isAscii(text) ? text.size() : utf16Length(text);
}

std::string firstCharacters(std::string_view text, std::size_t maxCharacters)
{
    if (isAscii(text)) return std::string(text.substr(0, maxCharacters));
    return truncateToUtf16Units(text, maxCharacters);
}

std::string_view trimmedText(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return withoutTrailingBlanks(text);
}

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string withPlainBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view rest = text.substr(i);
        if (rest.starts_with("\xC2\xA0")) {   // U+00A0
            out += ' ';
            i += 2;
        } else if (rest.starts_with("\xE2\x80\xAF")) {   // U+202F
            out += ' ';
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string composedText(std::string_view text)
{
    if (isAscii(text)) return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return std::string(text);
    const icu::UnicodeString composed =
        nfc->normalize(icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size()))),
                       status);
    if (U_FAILURE(status)) return std::string(text);
    std::string out;
    composed.toUTF8String(out);
    return out;
}

std::string capitalizedText(std::string_view text)
{
    if (isAscii(text)) {
        std::string out(text);
        bool wordStart = true;
        for (char& c : out) {
            if (isBlank(c)) {
                wordStart = true;
                continue;
            }
            if (wordStart) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            } else if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
            wordStart = false;
        }
        return out;
    }
    const std::u16string units = toUtf16(text);
    std::u16string out;
    out.reserve(units.size());
    bool wordStart = true;
    for (std::size_t i = 0; i < units.size();) {
        UChar32 c = 0;
        U16_NEXT(units.data(), i, units.size(), c);
        if (u_isWhitespace(c)) {
            wordStart = true;
        } else {
            c = wordStart ? u_totitle(c) : u_tolower(c);
            wordStart = false;
        }
        if (U_IS_BMP(c)) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(U16_LEAD(c));
            out += static_cast<char16_t>(U16_TRAIL(c));
        }
    }
    return toUtf8(out);
}

std::string modelText(std::string_view text, std::size_t maxCharacters)
{
    return CNSStringToCString::convertToDestination(text, maxCharacters, maxCharacters * 4);
}

std::string inDestinationEncoding(std::string_view text)
{
    if (isAscii(text)) return std::string(text);
    const auto number = UserDefaults::standard().integerForKey(kDestinationEncodingKey);
    const auto enc = static_cast<TextEncoding>(number);
    if (number == 0 || !isSupportedEncoding(enc) || canEncode(text, enc)) return std::string(text);
    return decode(encodeLossy(text, enc).value_or(std::string()), enc).value_or(std::string());
}

std::string lineNumberList(const std::vector<std::size_t>& lines)
{
    constexpr std::size_t kListed = 12;
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(lines[i]);
    }
    if (lines.size() > kListed) text += ", …";
    return text;
}

} // namespace ch
