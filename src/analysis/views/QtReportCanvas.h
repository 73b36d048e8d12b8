#pragma once
// The report canvas on Qt: texts measured with the font metrics of the device
// that is drawn on, and drawn, filled and stroked with a QPainter. Report
// fonts map to QFonts by family, weight and point size.

#include <QFont>
#include <QString>

#include "analysis/ReportCanvas.h"

class QPainter;
class QPaintDevice;

namespace ch {

class QtReportCanvas : public ReportCanvas {
public:
    // Measures on the device; draws with the painter (none: measuring only).
    explicit QtReportCanvas(QPaintDevice* device, QPainter* painter = nullptr);

    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override;
    void fillRect(const ReportRect& rect, const Colour& colour) override;
    void strokeRect(const ReportRect& rect, const Colour& colour) override;
    void drawLine(ReportPoint from, ReportPoint to, const Colour& colour) override;
    void drawText(std::string_view text, const ReportRect& rect, const TextAttributes& attributes) override;

    static QFont fontOf(const ReportFont& font);
    // The text with "\r\n" line breaks as "\n".
    static QString textOf(std::string_view text);

private:
    QPaintDevice* mDevice;
    QPainter* mPainter;
};

} // namespace ch
