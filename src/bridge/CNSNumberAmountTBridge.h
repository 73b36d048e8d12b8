#pragma once
// Amounts as display text: grouped thousands and the number of decimals of
// the user default "GXNumberOfDecimals" (0 to 4), with the user's separators;
// zero has no sign. And typed text back to an amount.

#include <optional>
#include <string>
#include <string_view>

namespace ch {

class CNSNumberAmountTBridge {
public:
    // Empty text for none.
    static std::string NSNumberToNSString(std::optional<double> amount);
    // Read strictly (CDecimal::StringToDouble): 0 for text it cannot read.
    // A number of digits and separators whose whole part is beyond what the
    // strict reading holds (2,147,483,647) is read whole, not as 0.
    static double NSStringToNSNumber(std::string_view text);
};

} // namespace ch
