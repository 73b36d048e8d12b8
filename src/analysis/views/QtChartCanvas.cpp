#include "analysis/views/QtChartCanvas.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace ch {

namespace {

// Qt hands the fill of a shape of many rows to its drawing threads and waits
// for them; for the tall thin bars of a chart over many months that hand-over
// costs some ten times the fill itself. A rectangle is filled in bands few
// enough rows for the painter to fill at once, cut at whole pixel rows so that
// no row is covered twice.
constexpr double kRowsPerBand = 16.0;

void fillInBands(QPainter& painter, const QRectF& rect, const QColor& colour)
{
    const double bottom = rect.bottom();
    double top = rect.top();
    for (double cut = std::floor(top) + kRowsPerBand; cut < bottom; cut += kRowsPerBand) {
        painter.fillRect(QRectF(rect.left(), top, rect.width(), cut - top), colour);
        top = cut;
    }
    painter.fillRect(QRectF(rect.left(), top, rect.width(), bottom - top), colour);
}

} // namespace

QtChartCanvas::QtChartCanvas(QPainter& painter, float height)
    : mPainter(painter), mHeight(height), mMeasurer(painter.device())
{
}

QtChartCanvas::~QtChartCanvas()
{
    flush();
}

QtChartCanvas::Batch& QtChartCanvas::batchFor(const Batch& style)
{
    int& open = mOpen[static_cast<int>(style.kind)];
    if (open >= 0) {
        const Batch& last = mBatches[static_cast<std::size_t>(open)];
        if (last.colour == style.colour && last.width == style.width && last.miterLimit == style.miterLimit &&
            last.roundJoins == style.roundJoins && last.smooth == style.smooth && last.shadowed == style.shadowed &&
            (!style.shadowed || (last.shadowColour == style.shadowColour && last.shadowDx == style.shadowDx &&
                                 last.shadowDy == style.shadowDy)))
            return mBatches[static_cast<std::size_t>(open)];
    }
    mBatches.push_back(style);
    // Overlapping elements of one batch cover each other, as when painted one by one.
    mBatches.back().path.setFillRule(Qt::WindingFill);
    open = static_cast<int>(mBatches.size()) - 1;
    return mBatches.back();
}

void QtChartCanvas::flush()
{
    for (const Batch& batch : mBatches) {
        mPainter.save();
        switch (batch.kind) {
        case Batch::Kind::Fill:
            mPainter.setRenderHint(QPainter::Antialiasing, true);
            mPainter.setPen(Qt::NoPen);
            if (batch.shadowed) {
                const QPointF offset(batch.shadowDx, -batch.shadowDy);
                if (!batch.path.isEmpty()) mPainter.fillPath(batch.path.translated(offset), batch.shadowColour);
                for (const QRectF& rect : batch.rects) fillInBands(mPainter, rect.translated(offset), batch.shadowColour);
            }
            if (!batch.path.isEmpty()) mPainter.fillPath(batch.path, batch.colour);
            for (const QRectF& rect : batch.rects) fillInBands(mPainter, rect, batch.colour);
            break;
        case Batch::Kind::Stroke: {
            mPainter.setRenderHint(QPainter::Antialiasing, true);
            QPen pen(batch.colour, batch.width);
            pen.setMiterLimit(batch.miterLimit);
            pen.setJoinStyle(batch.roundJoins ? Qt::RoundJoin : Qt::MiterJoin);
            mPainter.setPen(pen);
            mPainter.setBrush(Qt::NoBrush);
            mPainter.drawPath(batch.path);
            break;
        }
        case Batch::Kind::Line:
            // Grid lines lie on half coordinates and stay sharp without smoothing.
            mPainter.setRenderHint(QPainter::Antialiasing, batch.smooth);
            mPainter.setPen(QPen(batch.colour, batch.width));
            mPainter.setBrush(Qt::NoBrush);
            mPainter.drawPath(batch.path);
            break;
        }
        mPainter.restore();
    }
    mBatches.clear();
    for (int& open : mOpen) open = -1;
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
    Batch style{Batch::Kind::Fill, colourOf(colour)};
    if (shadow) {
        style.shadowed = true;
        style.shadowColour = colourOf(shadow->colour);
        style.shadowDx = shadow->dx;
        style.shadowDy = shadow->dy;
    }
    Batch& batch = batchFor(style);
    if (shape.kind == ChartShape::Kind::Rectangle)
        batch.rects.emplace_back(shape.rect.x, mHeight - shape.rect.top(), shape.rect.width, shape.rect.height);
    else
        batch.path.addPath(pathOf(shape));
}

void QtChartCanvas::strokeShape(const ChartShape& shape, const ChartStroke& stroke)
{
    if (stroke.width <= 0.0f) return;
    Batch style{Batch::Kind::Stroke, colourOf(stroke.colour)};
    style.width = stroke.width;
    style.miterLimit = stroke.miterLimit;
    style.roundJoins = stroke.roundJoins;
    batchFor(style).path.addPath(pathOf(shape));
}

void QtChartCanvas::fillPolygon(const std::vector<ChartPoint>& corners, const Colour& colour)
{
    QPolygonF polygon;
    for (const ChartPoint& p : corners) polygon << QPointF(p.x, mHeight - p.y);
    batchFor(Batch{Batch::Kind::Fill, colourOf(colour)}).path.addPolygon(polygon);
}

void QtChartCanvas::drawLine(ChartPoint from, ChartPoint to, const Colour& colour)
{
    Batch style{Batch::Kind::Line, colourOf(colour)};
    style.smooth = !(from.x == to.x || from.y == to.y);
    QPainterPath& path = batchFor(style).path;
    path.moveTo(QPointF(from.x, mHeight - from.y));
    path.lineTo(QPointF(to.x, mHeight - to.y));
}

void QtChartCanvas::drawText(std::string_view text, const ChartRect& rect, const TextAttributes& attributes)
{
    flush();
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
