#pragma once
// Dates as the property-list forms hold them: seconds since 2001-01-01
// 00:00:00 UTC, from the first second of the year 1 up to the end of the year
// 9999 in the proleptic Gregorian calendar (what the XML form's four-digit
// year can name), and their XML text.

#include <string>

namespace ch {

// True for 0001-01-01T00:00:00Z <= date < 10000-01-01T00:00:00Z; false for NaN.
bool plistDateInRange(double seconds);

// "YYYY-MM-DDTHH:MM:SSZ" of the whole second the date falls in, so a date
// before 2001 with a fraction names the second that began before it.
// The date must be in range.
std::string plistDateText(double seconds);

} // namespace ch
