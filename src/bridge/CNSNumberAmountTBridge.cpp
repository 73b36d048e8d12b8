#include "bridge/CNSNumberAmountTBridge.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/foundation/AmountRounding.h"
#include "model/foundation/CDecimal.h"
#include "platform/core/locale_settings.h"
#include "platform/core/user_defaults.h"

namespace ch {

std::string CNSNumberAmountTBridge::NSNumberToNSString(std::optional<double> amount)
{
    if (!amount) return {};
    // Outside 0..4 the settings never store a value; hold it to that range.
    const int decimals =
        static_cast<int>(std::clamp<std::int64_t>(UserDefaults::standard().integerForKey(kNumberOfDecimalsKey), 0, 4));
    double value = *amount;
    if (!std::isfinite(value)) value = 0.0;

    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(roundedAmount(value, decimals)));
    std::string text(digits);
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    // Zero has a format of its own, without a sign ("-0.00" never shows).
    const bool isZero = text.find_first_not_of("0.") == std::string::npos;

    const LocaleSettings locale = currentLocaleSettings();
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += locale.groupingSeparator;
        grouped += whole[i];
    }
    std::string result = (value < 0.0 && !isZero) ? "-" : "";
    result += grouped;
    if (decimals > 0) result += locale.decimalSeparator + fraction;
    return result;
}

namespace {

// Digits, a minus sign and the user's separators only.
bool onlyNumberCharacters(std::string_view text)
{
    const LocaleSettings settings = currentLocaleSettings();
    std::string rest(text);
    for (const std::string& separator : {settings.decimalSeparator, settings.groupingSeparator}) {
        if (separator.empty()) continue;
        for (std::size_t at = rest.find(separator); at != std::string::npos; at = rest.find(separator, at))
            rest.erase(at, separator.size());
    }
    return rest.find_first_not_of("0123456789-") == std::string::npos;
}

} // namespace

double CNSNumberAmountTBridge::NSStringToNSNumber(std::string_view text)
{
    // The length-prefixed text holds at most 255 bytes.
    text = text.substr(0, 255);
    const double value = CDecimal::StringToDouble(text, true);
    if (value != 0.0) return value;
    // The strict reading takes whole parts up to 2,147,483,647 only and reads
    // a larger number as 0: such a number is read whole instead, so that it is
    // taken as it is or refused as beyond the amount limit, never taken as 0.
    constexpr double kStrictWholeLimit = 2147483647.0;
    const double wide = CDecimal::StringToDouble(text, false);
    return std::fabs(wide) > kStrictWholeLimit && onlyNumberCharacters(text) ? wide : 0.0;
}

} // namespace ch
