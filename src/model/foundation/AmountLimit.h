#pragma once
// The largest amount the books take, either way. A double keeps the cents of
// amounts up to some 3e13; totals over many accounts must stay well inside
// that, so one amount is at most a million million (1,000,000,000,000.00
// itself is taken). Entry fields and imported statement lines refuse what
// lies beyond.

namespace ch {

inline constexpr double kAmountLimit = 1e12;

// False for what is no number (NaN, infinities) too.
constexpr bool amountWithinLimit(double amount)
{
    return amount >= -kAmountLimit && amount <= kAmountLimit;
}

} // namespace ch
