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
// empty or does not read in the user's decimal and grouping separators. A
// blank, no-break or narrow no-break space may group the digits in place of
// the grouping separator ("1 234,56").
std::optional<double> statementAmount(std::string_view text);

struct AmountNotation {
    std::string decimal;    // "." or ","
    std::string grouping;   // "," or "."
};

// The amount as the notation writes it, strictly: an optional sign, digits
// grouped by threes (by the notation's grouping separator, or by blanks as
// above) or not grouped, and a decimal part; blanks around it are no part of
// it. None for anything else.
std::optional<double> amountInNotation(std::string_view text, const AmountNotation& notation);

// The other notation of the file's amount texts (empty ones left aside), when
// it reads more of them than the user's does; none otherwise. One damaged
// amount ("-2,3x") does not keep a file from its notation.
std::optional<AmountNotation> otherNotationForMost(const std::vector<std::string>& texts);

// An amount text with the sign or code of a currency before or after its
// digits ("-$7,971.39", "£12.00", "12,00 €", "EUR 12.00", "$-5"): the amount
// without it, and the currency it names (the sign as written; a few signs
// are named by their code: € EUR, £ GBP, ¥ JPY; "$" is the user's dollar,
// else USD). A text without one is itself with an empty currency. A run of
// letters counts only as three capitals ("CR" and "DR" say which way the
// money goes, not in which currency).
struct AmountWithCurrency {
    std::string amount;
    std::string currency;   // the code ("USD" for "$")
    std::string mark;       // as written ("$")
};
AmountWithCurrency amountWithoutCurrency(std::string_view text);

// The first character of an amount text that no notation writes (not a
// digit, a sign, a separator, a blank or a parenthesis); empty when there
// is none.
std::string characterStoppingAmount(std::string_view text);

} // namespace ch
