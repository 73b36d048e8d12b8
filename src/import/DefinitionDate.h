#pragma once
// The dates of a delimited statement, read by its import definition's
// pattern ("dd.mm.yyyy", "mm/dd/yy", "yyyy-mm-dd").
//
// Banks seldom pad: "2/8/19" under "mm/dd/yy" is 8 February. Where the
// pattern separates its three fields, a text whose first three digit runs
// fit them (1 or 2 digits for day and month, 2 or 4 for the year) is read
// in the pattern's order alone: a run that names no date so gives none,
// never a reading in the user's own order, which may swap day and month.
// Any other text is read at the pattern's places, then as the user types
// dates; without a pattern, as the user types dates.
//
// With a pattern the field must be a date as a whole: a text that opens
// otherwise than the pattern (a letter where it begins with a number), or
// whose date is followed by anything but a period or a time of day, gives
// none.
//
// A pattern with "mmm" (or more m's) names the month: "12-Dec-2019" under
// "dd-mmm-yyyy". English names are read, and those of the user's language,
// whole or abbreviated, in any case.

#include <optional>
#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

// 0 when the text names no date.
DateT definitionDate(std::string_view text, const std::optional<std::string>& pattern);

} // namespace ch
