#include "ui/GXGradientPainting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <set>

#include "ui/GXGradient.h"

namespace ch {

namespace {

// Samples per gradient for the chromatic modes; a stop's own position and a
// point just after it are always sampled, so steps stay sharp.
constexpr int kSamples = 64;
constexpr float kStepOffset = 1.0e-4f;

} // namespace

QColor toQColor(const Colour& colour)
{
    return QColor::fromRgbF(static_cast<float>(std::clamp(colour.red, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.green, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.blue, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.alpha, 0.0, 1.0)));
}

QGradientStops gradientStops(const GXGradient& gradient)
{
    std::set<float> positions;
    if (gradient.blendingMode() != GXGradient::kLinear)
        for (int i = 0; i <= kSamples; ++i) positions.insert(static_cast<float>(i) / kSamples);
    positions.insert(0.0f);
    positions.insert(1.0f);
    for (const GXGradientElement& element : gradient.elements()) {
        if (element.position >= 0.0f && element.position <= 1.0f) positions.insert(element.position);
        const float after = element.position + kStepOffset;
        if (after >= 0.0f && after <= 1.0f) positions.insert(after);
    }
    QGradientStops stops;
    for (float position : positions) stops.append({position, toQColor(gradient.colorAtPosition(position))});
    return stops;
}

void fillRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect, double angleDegrees)
{
    // The line is computed with y growing upwards, then mirrored into the
    // painter's downward y.
    const GXGradient::FillLine line =
        GXGradient::fillLine(rect.x(), rect.y(), rect.width(), rect.height(), angleDegrees);
    const double mirror = rect.top() + rect.bottom();
    QLinearGradient shading(QPointF(line.x0, mirror - line.y0), QPointF(line.x1, mirror - line.y1));
    shading.setStops(gradientStops(gradient));
    shading.setSpread(QGradient::PadSpread);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    // Not extended: beyond the line's ends nothing is painted, which only
    // matters where the line does not reach the rectangle's corners.
    painter.fillRect(rect, shading);
    painter.restore();
}

void drawSwatchInRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect)
{
    fillRect(painter, gradient, rect, 45.0);
}

void radialFillRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect)
{
    const QPointF centre = rect.center();
    QRadialGradient shading(centre, std::max(rect.width(), rect.height()) / 2.0, centre, 1.0);
    shading.setStops(gradientStops(gradient));
    shading.setSpread(QGradient::PadSpread);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.fillRect(rect, shading);
    painter.restore();
}

void linearGradientFill(QPainter& painter, const QPainterPath& path, const QColor& start, const QColor& end)
{
    const QRectF bounds = path.boundingRect();
    QLinearGradient shading(QPointF(0.0, bounds.top()), QPointF(0.0, bounds.bottom()));
    shading.setColorAt(0.0, start);
    shading.setColorAt(1.0, end);
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.fillPath(path, shading);
    painter.restore();
}

void bilinearGradientFill(QPainter& painter, const QPainterPath& path, const QColor& outer, const QColor& inner)
{
    const QRectF bounds = path.boundingRect();
    QLinearGradient shading(QPointF(0.0, bounds.top()), QPointF(0.0, bounds.bottom()));
    shading.setColorAt(0.0, inner);
    shading.setColorAt(0.5, outer);
    shading.setColorAt(1.0, inner);
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.fillPath(path, shading);
    painter.restore();
}

} // namespace ch
