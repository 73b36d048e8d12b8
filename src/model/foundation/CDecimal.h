#pragma once
// Amount text: an amount (a double) to and from text with the application's
// number of decimals (0 to 4) and the user's decimal and thousands separators.

#include <string>
#include <string_view>

#include "model/foundation/LString.h"

namespace ch {

class CDecimal {
public:
    // Resets the number of decimals to 2.
    CDecimal();
    virtual ~CDecimal() = default;

    // The class-wide number of decimals, kept within 0..4.
    static void putNrOfDecimals(long n);
    static long getNrOfDecimals();

    // Takes the number of decimals from the user default "GXNumberOfDecimals",
    // then writes the value with that many decimals and the user's decimal
    // separator, no thousands separators, right-aligned in at least 8
    // characters ("    3.14"). Length-prefixed form (at most 255 bytes).
    static void DoubleToString(double value, Str255& out);
    static std::string DoubleToString(double value);

    // Reads typed amount text (UTF-8); 0 when the text is refused. Strict mode
    // refuses any character that is not a digit, a separator or a leading '-',
    // and any non-digit after the decimal position; lenient mode skips them.
    // The fraction is rounded half up on the first dropped digit.
    static double StringToDouble(const unsigned char* pascalText, bool strict);
    static double StringToDouble(std::string_view text, bool strict);

private:
    static long mNrOfDecimals;
};

} // namespace ch
