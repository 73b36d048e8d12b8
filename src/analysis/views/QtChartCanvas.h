#pragma once
// The chart canvas on Qt: chart coordinates (y up) are turned round to the
// painter's (y down) point by point, so that texts stay upright and arcs keep
// their direction. Texts are measured on the device that is painted on.

#include "analysis/ChartCanvas.h"
#include "analysis/views/QtReportCanvas.h"

class QPainter;
class QPainterPath;

namespace ch {

class QtChartCanvas : public ChartCanvas {
public:
    // Paints on the painter's device, whose height is `height` chart units.
    QtChartCanvas(QPainter& painter, float height);

    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override;
    void fillShape(const ChartShape& shape, const Colour& colour, const std::optional<ChartShadow>& shadow) override;
    void strokeShape(const ChartShape& shape, const ChartStroke& stroke) override;
    void fillPolygon(const std::vector<ChartPoint>& corners, const Colour& colour) override;
    void drawLine(ChartPoint from, ChartPoint to, const Colour& colour) override;
    void drawText(std::string_view text, const ChartRect& rect, const TextAttributes& attributes) override;

    static QColor colourOf(const Colour& colour);

private:
    QPainterPath pathOf(const ChartShape& shape) const;

    QPainter& mPainter;
    float mHeight;
    QtReportCanvas mMeasurer;
};

} // namespace ch
