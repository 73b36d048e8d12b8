#pragma once
// Arithmetic typed into an amount field: numbers joined by "+", "-", "*",
// "/" or ":" (divide), applied strictly from left to right without
// precedence (2+3*4 is 20). An empty operand counts as 0 (-5 is 0 - 5), an
// operator at the very end is ignored (5+ is 5), thousands separators inside
// an operand are dropped. Operands are read with the user's decimal
// separator.

#include <optional>
#include <string>
#include <string_view>

namespace ch {

struct AmountSeparators {
    std::string decimal = ".";
    std::string thousands = ",";
};

// The operator characters.
inline constexpr std::string_view kAmountOperators = "+:/-*";

bool containsAmountOperator(std::string_view text);

// A plain decimal number (digits with at most one decimal separator;
// thousands separators dropped); none for anything else. Empty text is 0.
std::optional<double> readAmountOperand(std::string_view text, const AmountSeparators& separators);

// The value of the expression; none when an operand is not a number or a
// division by zero occurs, so that the field can refuse the text.
std::optional<double> evaluateAmountExpression(std::string_view text, const AmountSeparators& separators);

} // namespace ch
