#pragma once
// Dates typed into a date field: read in the user's date order, else in any
// form the statement readers accept; shown in the user's short date format.

#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

// Numbers from this one up are dates (yyyymmdd); smaller ones are shown as
// plain digits.
inline constexpr long kFirstDateNumber = 19641210;

// The date of the text; 0 when nothing reads it.
DateT dateFromText(std::string_view text);
// The date in the user's short date format.
std::string textForDate(DateT date);
// What a date field shows for a number: a date from kFirstDateNumber up,
// else the digits.
std::string textForNumber(long number);

} // namespace ch
