#pragma once
// Text with simple styling for outline rows and list cells: runs that may
// carry a colour and a font size, and paragraph settings. The interface maps
// it onto its own fonts; a run without a size uses the view's font.

#include <optional>
#include <string>
#include <vector>

#include "bridge/Colour.h"

namespace ch {

struct StyledRun {
    std::string text;
    std::optional<Colour> colour;   // none: the view's text colour
    double fontSize = 0.0;          // points of the system font; 0: the view's font
};

struct StyledText {
    enum class Alignment { Natural, Left, Right, Center };

    std::vector<StyledRun> runs;
    Alignment alignment = Alignment::Natural;
    double paragraphSpacingBefore = 0.0;   // points

    // The runs' texts joined.
    std::string plainText() const;
};

} // namespace ch
