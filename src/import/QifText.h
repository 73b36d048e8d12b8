#pragma once
// How QIF files write dates and amounts, read whatever the user's own
// notation: programs write dates month first, day first or year first, with
// one- or two-digit days and months, two- or four-digit years, blanks as
// padding and "'" before the year of this century (1/ 5'19); amounts use a
// decimal point or, in some files, a decimal comma, with or without grouping.

#include <optional>
#include <string_view>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

enum class QifDateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The date in that order; none when the text is no date in it.
std::optional<DateT> qifDate(std::string_view text, QifDateOrder order);

// The one order, other than a configured reading that fails on some date
// (readsAll false), that reads every date text; none when the configured
// reading reads them all, when no order does, or when more than one does.
std::optional<QifDateOrder> qifDateOrderForAll(const std::vector<std::string_view>& dates, bool configuredReadsAll,
                                               std::optional<QifDateOrder> configured);

// Whether the file's amounts use a decimal comma: some amount shows one
// (",5", ",50", or "." grouping before ",") and none shows a decimal point.
bool qifUsesDecimalComma(const std::vector<std::string_view>& amounts);

// The amount in the file's notation; none when the text is no number.
std::optional<double> qifAmount(std::string_view text, bool decimalComma);

} // namespace ch
