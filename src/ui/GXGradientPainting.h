#pragma once
// Painting with a GXGradient and the vertical two-colour shadings, on a
// QPainter. Linear gradients map onto Qt's gradients stop for stop (hard
// edges included); the chromatic ones are sampled densely, so every mode
// paints the colours GXGradient::colorAtPosition answers.

#include <QColor>
#include <QGradientStops>

class QPainter;
class QPainterPath;
class QRectF;

namespace ch {

class GXGradient;
struct Colour;

QColor toQColor(const Colour& colour);

// Qt stops that reproduce the gradient from 0 to 1.
QGradientStops gradientStops(const GXGradient& gradient);

// Fills the rectangle along a line at the angle (degrees, counter-clockwise
// as the eye sees it; 90 runs from the bottom edge up), clipped to the
// rectangle and not extended beyond the line's ends.
void fillRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect, double angleDegrees);
// The same at 45 degrees.
void drawSwatchInRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect);
// Radially from a circle of radius 1 at the centre to one of half the
// longer side, extended at both ends, clipped to the rectangle.
void radialFillRect(QPainter& painter, const GXGradient& gradient, const QRectF& rect);

// Fills the path with a vertical shading from the start colour at its top
// edge to the end colour at its bottom edge.
void linearGradientFill(QPainter& painter, const QPainterPath& path, const QColor& start, const QColor& end);
// The inner colour at the top and bottom edges, the outer one in the middle.
void bilinearGradientFill(QPainter& painter, const QPainterPath& path, const QColor& outer, const QColor& inner);

} // namespace ch
