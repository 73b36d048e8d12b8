#pragma once
// Interface text (UTF-8) into the model's fixed 8-bit text fields, in the
// encoding numbered by the user default "GXDestinationEncoding" (read on every
// call). Texts are first brought into Mac Roman (characters it lacks are lost
// as '?'), then cut to the field's number of characters; the field is never
// overflowed and a multi-byte character is never split.

#include <cstddef>
#include <string>
#include <string_view>

namespace ch {

class CNSStringToCString {
public:
    // The text unchanged when Mac Roman holds it, else its lossy Mac Roman
    // form. With "GXDestinationEncoding" 0 the text is returned unchanged.
    static std::string convertToStandardEncodedString(std::string_view text);

    // At most 34 characters into a 35-byte name.
    static void convertStringToNameT(std::string_view text, char (&outName)[35]);
    // At most 254 characters into a 256-byte description.
    static void convertStringToDescriptionT(std::string_view text, char (&outDescription)[256]);
    // At most 19 characters into a 20-byte account number.
    static void convertStringToAccountNumberT(std::string_view text, char (&outAccountNumber)[20]);

    // The C form of the text in the destination encoding, at most maxChars
    // characters and maxBytes bytes (an unsupported encoding number gives Mac
    // Roman).
    static std::string convertToDestination(std::string_view text, std::size_t maxChars,
                                            std::size_t maxBytes);
    // The way back: 8-bit model text in the destination encoding as UTF-8 (an
    // unsupported encoding number reads Mac Roman).
    static std::string convertFromDestination(std::string_view bytes);
};

} // namespace ch
