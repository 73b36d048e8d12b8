#include "model/foundation/CNSStringToCString.h"

#include <algorithm>
#include <cstring>

#include "platform/core/text_encoding.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

std::int64_t destinationEncodingNumber()
{
    return UserDefaults::standard().integerForKey(kDestinationEncodingKey);
}

template <std::size_t N>
void copyField(const std::string& bytes, char (&out)[N])
{
    const std::size_t length = std::min(bytes.size(), N - 1);
    std::memcpy(out, bytes.data(), length);
    out[length] = '\0';
}

} // namespace

std::string CNSStringToCString::convertToStandardEncodedString(std::string_view text)
{
    // Encoding number 0 names no encoding: nothing to bring the text into.
    if (destinationEncodingNumber() == 0 || canEncode(text, encoding::macRoman))
        return std::string(text);
    const auto bytes = encodeLossy(text, encoding::macRoman);
    return decode(bytes.value_or(std::string()), encoding::macRoman).value_or(std::string());
}

std::string CNSStringToCString::convertToDestination(std::string_view text, std::size_t maxChars,
                                                     std::size_t maxBytes)
{
    // ASCII is Mac Roman already, and every encoding offered (Mac Roman
    // standing in for any other number) holds it as it is, one byte a
    // character: most texts need neither the setting nor a conversion.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text.substr(0, std::min(maxChars, maxBytes)));

    std::string normalised = convertToStandardEncodedString(text);
    if (utf16Length(normalised) > maxChars) normalised = truncateToUtf16Units(normalised, maxChars);

    auto enc = static_cast<TextEncoding>(destinationEncodingNumber());
    if (!isSupportedEncoding(enc)) enc = encoding::macRoman;
    // Cut at a character boundary: in a multi-byte encoding the characters
    // kept may need more bytes than the field holds.
    return encodeLossy(normalised, enc, maxBytes).value_or(std::string());
}

std::string CNSStringToCString::convertFromDestination(std::string_view bytes)
{
    auto enc = static_cast<TextEncoding>(destinationEncodingNumber());
    if (!isSupportedEncoding(enc)) enc = encoding::macRoman;
    return decode(bytes, enc).value_or(std::string());
}

void CNSStringToCString::convertStringToNameT(std::string_view text, char (&outName)[35])
{
    copyField(convertToDestination(text, 34, 34), outName);
}

void CNSStringToCString::convertStringToDescriptionT(std::string_view text,
                                                     char (&outDescription)[256])
{
    copyField(convertToDestination(text, 254, 255), outDescription);
}

void CNSStringToCString::convertStringToAccountNumberT(std::string_view text,
                                                       char (&outAccountNumber)[20])
{
    copyField(convertToDestination(text, 19, 19), outAccountNumber);
}

} // namespace ch
