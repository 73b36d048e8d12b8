#pragma once
// The chart canvas on Qt: chart coordinates (y up) are turned round to the
// painter's (y down) point by point, so that texts stay upright and arcs keep
// their direction. Texts are measured on the device that is painted on.
//
// A chart draws hundreds of bars, dots, surfaces and lines in a few styles.
// Shapes, polygons and lines of one style that follow each other are
// gathered into one path and painted at once (a fill, its shadow, a
// stroke), in the order their first element came; a text, or the end of
// the canvas, paints what is gathered first, so that texts stay on top.

#include <QColor>
#include <QPainterPath>
#include <QRectF>

#include <vector>

#include "analysis/ChartCanvas.h"
#include "analysis/views/QtReportCanvas.h"

class QPainter;

namespace ch {

class QtChartCanvas : public ChartCanvas {
public:
    // Paints on the painter's device, whose height is `height` chart units.
    QtChartCanvas(QPainter& painter, float height);
    ~QtChartCanvas() override;
    QtChartCanvas(const QtChartCanvas&) = delete;
    QtChartCanvas& operator=(const QtChartCanvas&) = delete;

    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override;
    void fillShape(const ChartShape& shape, const Colour& colour, const std::optional<ChartShadow>& shadow) override;
    void strokeShape(const ChartShape& shape, const ChartStroke& stroke) override;
    void fillPolygon(const std::vector<ChartPoint>& corners, const Colour& colour) override;
    void drawLine(ChartPoint from, ChartPoint to, const Colour& colour) override;
    void drawText(std::string_view text, const ChartRect& rect, const TextAttributes& attributes) override;

    static QColor colourOf(const Colour& colour);

    // Paints what is gathered.
    void flush();

private:
    // One style of element: filled (with or without a shadow), stroked, or
    // lines of one pixel (smoothed or not).
    struct Batch {
        enum class Kind { Fill, Stroke, Line } kind;
        QColor colour;
        float width = 1.0f;
        float miterLimit = 1.0f;
        bool roundJoins = false;
        bool smooth = true;
        bool shadowed = false;
        QColor shadowColour = {};
        float shadowDx = 0.0f;
        float shadowDy = 0.0f;
        QPainterPath path = {};
        // Filled rectangles (bars) apart: Qt fills them one by one far faster
        // than as parts of one path, each in bands of a few whole rows.
        std::vector<QRectF> rects = {};
    };
    QPainterPath pathOf(const ChartShape& shape) const;
    // The open batch of the style, a new one when the last of its kind differs.
    Batch& batchFor(const Batch& style);

    QPainter& mPainter;
    float mHeight;
    QtReportCanvas mMeasurer;
    std::vector<Batch> mBatches;
    int mOpen[3] = {-1, -1, -1};   // the open batch of each kind
};

} // namespace ch
