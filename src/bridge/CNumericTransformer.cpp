#include "bridge/CNumericTransformer.h"

#include <cmath>
#include <cstdio>

#include "model/foundation/AmountLimit.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CDecimal.h"
#include "platform/core/locale_settings.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

namespace {

AmountSeparators currentSeparators()
{
    const LocaleSettings settings = currentLocaleSettings();
    return {settings.decimalSeparator.empty() ? "." : settings.decimalSeparator, settings.groupingSeparator};
}

bool onlyBlanks(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

CNumericTransformer::CNumericTransformer() : mSeparators(currentSeparators()) {}

CNumericTransformer::Conversion CNumericTransformer::getObjectValue(std::string_view text) const
{
    if (onlyBlanks(text))
        return {true, std::nullopt, {}};
    const std::optional<double> value = containsAmountOperator(text)
                                            ? evaluateAmountExpression(text, mSeparators)
                                            : readAmountOperand(text, mSeparators);
    if (!value)
        return {false, std::nullopt, localized("CONVFL")};
    if (!amountWithinLimit(*value))
        return {false, std::nullopt, formatMessage(localized("AMOUNTLIMIT"), {stringForObjectValue(kAmountLimit)})};
    return {true, value, {}};
}

std::string CNumericTransformer::stringForObjectValue(double value) const
{
    const int decimals = static_cast<int>(CDecimal::getNrOfDecimals());
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, std::fabs(roundedAmount(value, decimals)));
    std::string number(digits);
    const std::size_t point = number.find('.');
    std::string whole = number.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : number.substr(point + 1);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += mSeparators.thousands;
        grouped += whole[i];
    }
    const bool negative = value < 0 && std::stod(number) != 0.0;
    std::string out = negative ? "-" + grouped : grouped;
    if (!fraction.empty())
        out += mSeparators.decimal + fraction;
    return out;
}

} // namespace ch
