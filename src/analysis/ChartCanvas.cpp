#include "analysis/ChartCanvas.h"

#include <cmath>

namespace ch {

bool ChartShape::contains(ChartPoint p) const
{
    switch (kind) {
    case Kind::Rectangle:
        return rect.contains(p);
    case Kind::Oval: {
        if (rect.width <= 0.0f || rect.height <= 0.0f) return false;
        const float rx = rect.width / 2, ry = rect.height / 2;
        const float dx = (p.x - (rect.x + rx)) / rx, dy = (p.y - (rect.y + ry)) / ry;
        return dx * dx + dy * dy <= 1.0f;
    }
    case Kind::Wedge: {
        const float dx = p.x - centre.x, dy = p.y - centre.y;
        if (dx * dx + dy * dy > radius * radius) return false;
        if (endAngle - startAngle >= 360.0f) return true;
        float angle = std::atan2(dy, dx) * 57.29578f;
        while (angle < startAngle) angle += 360.0f;
        while (angle >= startAngle + 360.0f) angle -= 360.0f;
        return angle <= endAngle;
    }
    }
    return false;
}

} // namespace ch
