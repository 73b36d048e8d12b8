#pragma once
// Dates as the user reads and types them: a DateT in the user's short date
// format, and typed or imported text back to a DateT.

#include <optional>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CNSStringDateTBridge {
public:
    // The date in the user's short date format; a value below 10101 (no date)
    // shows as 31 December 9999.
    static std::string dateTToNSString(DateT date);

    // A plain number yyyymmdd from 19960102 up to (not including) 30000101
    // that is a real calendar date is taken as it is; otherwise the text is
    // read in the user's date order, then as month/day/year (kept when it
    // lies from 19000101 up to 30000101), then in the short date format.
    // 0 when nothing reads it.
    static DateT NSStringToDateT(std::string_view text);

    // Text read at the places a pattern gives: the first "yyyy" (else
    // "YYYY"), else the first "yy" (else "YY": below 51 is 20yy, otherwise
    // 19yy), the first "mm" (else "MM") and "dd" (else "DD"), each read as an
    // integer (leading blanks, an optional sign, digits). None unless the year
    // lies in 1901..3999 and the three make a real calendar date, and none for
    // a text too short for a token's place.
    static std::optional<DateT> NSStringToDateT(std::string_view text, std::string_view pattern);

    // Text in the user's short date format alone; 0 when it does not read.
    static DateT NSStringToDateTUsingOsxFormatString(std::string_view text);
};

} // namespace ch
