#pragma once
// Amount texts of statements read in the user's notation, telling a text that
// says 0 from one that does not read: a reader must never book the second as
// an amount of 0.

#include <optional>
#include <string_view>

namespace ch {

// The amount of the text (blanks around it and a leading "+" are no part of
// it); 0 for a text of zeros ("0", "0,00", "-0.00"); none for a text that is
// empty or does not read in the user's decimal and grouping separators.
std::optional<double> statementAmount(std::string_view text);

} // namespace ch
