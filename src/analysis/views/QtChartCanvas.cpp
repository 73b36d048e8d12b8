#include "analysis/views/QtChartCanvas.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace ch {

QtChartCanvas::QtChartCanvas(QPainter& painter, float height)
    : mPainter(painter), mHeight(height), mMeasurer(painter.device())
{
}

QColor QtChartCanvas::colourOf(const Colour& colour)
{
    return QColor::fromRgbF(static_cast<float>(std::clamp(colour.red, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.green, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.blue, 0.0, 1.0)),
                            static_cast<float>(std::clamp(colour.alpha, 0.0, 1.0)));
}

ReportSize QtChartCanvas::sizeOfText(std::string_view text, const TextAttributes& attributes) const
{
    return mMeasurer.sizeOfText(text, attributes);
}

QPainterPath QtChartCanvas::pathOf(const ChartShape& shape) const
{
    QPainterPath path;
    const QRectF rect(shape.rect.x, mHeight - shape.rect.top(), shape.rect.width, shape.rect.height);
    switch (shape.kind) {
    case ChartShape::Kind::Rectangle: path.addRect(rect); break;
    case ChartShape::Kind::Oval: path.addEllipse(rect); break;
    case ChartShape::Kind::Wedge: {
        const QPointF centre(shape.centre.x, mHeight - shape.centre.y);
        const QRectF circle(centre.x() - shape.radius, centre.y() - shape.radius, 2 * shape.radius, 2 * shape.radius);
        // Qt's angles run counter-clockwise on screen, as the chart's do.
        path.moveTo(centre);
        path.arcTo(circle, shape.startAngle, shape.endAngle - shape.startAngle);
        path.closeSubpath();
        break;
    }
    }
    return path;
}

void QtChartCanvas::fillShape(const ChartShape& shape, const Colour& colour, const std::optional<ChartShadow>& shadow)
{
    const QPainterPath path = pathOf(shape);
    mPainter.save();
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    mPainter.setPen(Qt::NoPen);
    if (shadow) mPainter.fillPath(path.translated(shadow->dx, -shadow->dy), colourOf(shadow->colour));
    mPainter.fillPath(path, colourOf(colour));
    mPainter.restore();
}

void QtChartCanvas::strokeShape(const ChartShape& shape, const ChartStroke& stroke)
{
    if (stroke.width <= 0.0f) return;
    mPainter.save();
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(colourOf(stroke.colour), stroke.width);
    pen.setMiterLimit(stroke.miterLimit);
    pen.setJoinStyle(stroke.roundJoins ? Qt::RoundJoin : Qt::MiterJoin);
    mPainter.setPen(pen);
    mPainter.setBrush(Qt::NoBrush);
    mPainter.drawPath(pathOf(shape));
    mPainter.restore();
}

void QtChartCanvas::fillPolygon(const std::vector<ChartPoint>& corners, const Colour& colour)
{
    QPolygonF polygon;
    for (const ChartPoint& p : corners) polygon << QPointF(p.x, mHeight - p.y);
    mPainter.save();
    mPainter.setRenderHint(QPainter::Antialiasing, true);
    mPainter.setPen(Qt::NoPen);
    mPainter.setBrush(colourOf(colour));
    mPainter.drawPolygon(polygon);
    mPainter.restore();
}

void QtChartCanvas::drawLine(ChartPoint from, ChartPoint to, const Colour& colour)
{
    mPainter.save();
    // Grid lines lie on half coordinates and stay sharp without smoothing.
    const bool straight = from.x == to.x || from.y == to.y;
    mPainter.setRenderHint(QPainter::Antialiasing, !straight);
    mPainter.setPen(QPen(colourOf(colour), 1.0));
    mPainter.drawLine(QPointF(from.x, mHeight - from.y), QPointF(to.x, mHeight - to.y));
    mPainter.restore();
}

void QtChartCanvas::drawText(std::string_view text, const ChartRect& rect, const TextAttributes& attributes)
{
    mPainter.save();
    mPainter.setFont(QtReportCanvas::fontOf(attributes.font));
    mPainter.setPen(colourOf(attributes.foreground));
    const QRectF box(rect.x, mHeight - rect.top(), rect.width, rect.height);
    const int align = (attributes.alignment == TextAlignment::Right ? Qt::AlignRight
                       : attributes.alignment == TextAlignment::Centre ? Qt::AlignHCenter
                                                                       : Qt::AlignLeft) |
                      Qt::AlignTop;
    mPainter.drawText(box, align | Qt::TextDontClip, QtReportCanvas::textOf(text));
    mPainter.restore();
}

} // namespace ch
