#pragma once
// What report layout and drawing need of a drawing toolkit: the size of a
// text in given attributes, and filling, outlining, lines and text in a
// rectangle. Coordinates run from the top down, in the units the layout uses
// (points on paper). Measure on the same device that is drawn on.

#include <string_view>

#include "analysis/CPrintStyle.h"
#include "analysis/ReportGeometry.h"

namespace ch {

class ReportTextMeasurer {
public:
    virtual ~ReportTextMeasurer() = default;
    // The size of the text; "\r\n" and "\n" break lines. An empty text is
    // 0 wide and one line high.
    virtual ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const = 0;
};

class ReportCanvas : public ReportTextMeasurer {
public:
    virtual void fillRect(const ReportRect& rect, const Colour& colour) = 0;
    virtual void strokeRect(const ReportRect& rect, const Colour& colour) = 0;
    virtual void drawLine(ReportPoint from, ReportPoint to, const Colour& colour) = 0;
    // The text, aligned across the rectangle as the attributes say, from its top.
    virtual void drawText(std::string_view text, const ReportRect& rect, const TextAttributes& attributes) = 0;
};

} // namespace ch
