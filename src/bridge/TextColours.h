#pragma once
// The application's text colours for amounts and kinds: green (positive,
// income), red (negative, expense) and blue (anything else). Each is a user
// default ("GreenTextColor", "RedTextColor", "BlueTextColor") holding an
// array of three or four reals (red, green, blue, alpha; 0 to 1); a missing
// or unreadable value gives plain green, red or blue. Alpha is always 1.

#include <string_view>

#include "bridge/Colour.h"

namespace ch {

inline constexpr std::string_view kGreenTextColorKey = "GreenTextColor";
inline constexpr std::string_view kRedTextColorKey = "RedTextColor";
inline constexpr std::string_view kBlueTextColorKey = "BlueTextColor";

Colour getGreenColor();
Colour getRedColor();
Colour getBlueColor();

// The colour stored under the key, or the fallback.
Colour colourFromUserDefaults(std::string_view key, Colour fallback);

} // namespace ch
