#pragma once
// The amount formatter of entry fields: amounts shown with the application's
// number of decimals and the user's separators; typed text read back, with
// the arithmetic of AmountExpression when it holds an operator. Text that
// does not read (or divides by zero) is a conversion failure, described by
// the localized "CONVFL"; an amount beyond kAmountLimit either way is one
// too, described by "AMOUNTLIMIT".

#include <optional>
#include <string>
#include <string_view>

#include "bridge/AmountExpression.h"

namespace ch {

class CNumericTransformer {
public:
    // The separators of the user's settings at this moment.
    CNumericTransformer();
    explicit CNumericTransformer(AmountSeparators separators) : mSeparators(std::move(separators)) {}

    struct Conversion {
        bool ok = false;
        std::optional<double> value;   // none for empty text
        std::string errorDescription;  // on failure
    };
    Conversion getObjectValue(std::string_view text) const;

    // With the current number of decimals and thousands grouping.
    std::string stringForObjectValue(double value) const;

    const AmountSeparators& separators() const { return mSeparators; }

private:
    AmountSeparators mSeparators;
};

} // namespace ch
