#pragma once
// What the charts need of a drawing toolkit. Chart coordinates run upwards
// from the bottom-left corner of the view (y up), as all chart arithmetic
// does; the toolkit side turns them round when it paints. Text rectangles
// are given by their bottom-left corner.

#include <optional>
#include <string_view>
#include <vector>

#include "analysis/ReportCanvas.h"
#include "bridge/Colour.h"

namespace ch {

struct ChartPoint {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// y is the bottom edge, measured upwards.
struct ChartRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float right() const { return x + width; }
    float top() const { return y + height; }
    bool contains(ChartPoint p) const { return p.x >= x && p.x <= right() && p.y >= y && p.y <= top(); }
    ChartRect grownBy(float d) const { return {x - d, y - d, width + 2 * d, height + 2 * d}; }
    friend bool operator==(const ChartRect&, const ChartRect&) = default;
};

// The outline of a point: a rectangle (bars), an oval in its rectangle
// (position dots) or a wedge of a circle (pies; degrees, counter-clockwise
// from the positive x axis).
struct ChartShape {
    enum class Kind { Rectangle, Oval, Wedge };
    Kind kind = Kind::Rectangle;
    ChartRect rect;
    ChartPoint centre;
    float radius = 0.0f;
    float startAngle = 0.0f;
    float endAngle = 0.0f;

    bool contains(ChartPoint p) const;
};

// An offset copy of a shape drawn under it.
struct ChartShadow {
    float dx = 0.0f;
    float dy = 0.0f;
    float blur = 3.0f;
    Colour colour{0.0, 0.0, 0.0, 0.3};
};

struct ChartStroke {
    Colour colour = Colour::black();
    float width = 1.0f;
    float miterLimit = 1.0f;
    bool roundJoins = false;
};

class ChartCanvas : public ReportTextMeasurer {
public:
    virtual void fillShape(const ChartShape& shape, const Colour& colour, const std::optional<ChartShadow>& shadow) = 0;
    virtual void strokeShape(const ChartShape& shape, const ChartStroke& stroke) = 0;
    virtual void fillPolygon(const std::vector<ChartPoint>& corners, const Colour& colour) = 0;
    virtual void drawLine(ChartPoint from, ChartPoint to, const Colour& colour) = 0;
    // Left-aligned from the rectangle's top, unless the attributes align right.
    virtual void drawText(std::string_view text, const ChartRect& rect, const TextAttributes& attributes) = 0;
};

} // namespace ch
