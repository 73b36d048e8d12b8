#pragma once
// Amount texts of statements read in the user's notation, telling a text that
// says 0 from one that does not read: a reader must never book the second as
// an amount of 0.
//
// A file written in the other notation (a decimal comma where the user has a
// decimal point, or the reverse) is told by its amounts as a whole: when the
// user's notation cannot read every one of them strictly and the other reads
// them all, the file is read in the other.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ch {

// The amount of the text (blanks around it and a leading "+" are no part of
// it); 0 for a text of zeros ("0", "0,00", "-0.00"); none for a text that is
// empty or does not read in the user's decimal and grouping separators.
std::optional<double> statementAmount(std::string_view text);

struct AmountNotation {
    std::string decimal;    // "." or ","
    std::string grouping;   // "," or "."
};

// The amount as the notation writes it, strictly: an optional sign, digits
// grouped by threes or not grouped, and a decimal part; blanks around it are
// no part of it. None for anything else.
std::optional<double> amountInNotation(std::string_view text, const AmountNotation& notation);

// The other notation of the file's amount texts (empty ones left aside), when
// the user's cannot read them all and it reads them all; none otherwise.
std::optional<AmountNotation> otherNotationForAll(const std::vector<std::string>& texts);

} // namespace ch
