#pragma once
// A number written by a printf-style format of a report ("%8.2f%%"), with
// the user's decimal separator. Only %f conversions (flags, width and
// precision) and %% are understood; everything else is copied as it stands,
// so a format never reads an argument it does not have.

#include <string>
#include <string_view>

namespace ch {

std::string formatReportNumber(std::string_view format, double value);

} // namespace ch
