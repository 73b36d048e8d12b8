#include "analysis/views/CReportPrintView.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "analysis/CParagraph.h"
#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportPages.h"
#include "analysis/views/QtReportCanvas.h"

namespace ch {

namespace {

constexpr int kPointsPerInch = 72;
constexpr qreal kBorderFontSize = 10.0;
// The room the title and the page number need above and below the report:
// a printer's layout without margins would put them, and the report's
// first line, on the paper's edge.
constexpr qreal kMinimumBorderMargin = 36.0;

QMarginsF withRoomForTheBorder(QMarginsF margins)
{
    margins.setTop(std::max(margins.top(), kMinimumBorderMargin));
    margins.setBottom(std::max(margins.bottom(), kMinimumBorderMargin));
    return margins;
}

// Whether the report's first line is its own header holding the title: on
// page 1 the title is then not repeated above it.
bool opensWithItsTitle(const CReportContents& contents)
{
    if (contents.count() == 0) return false;
    const CParagraph& first = contents.objectAtIndex(0);
    return first.styleToUse() == CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(GXCStyleReportHeader) &&
           first.countOfReportColumns() > 0 && first.reportColumnAtIndex(0).mValue() == contents.title();
}

QFont borderFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kBorderFontSize);
    return font;
}

// The layout as the print run uses it: origin at the paper's corner.
QPageLayout fullPage(QPageLayout layout)
{
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

} // namespace

CReportPrintView::CReportPrintView(std::shared_ptr<CReportContents> contents, const QPageLayout& printInfo,
                                   QPaintDevice& measuringDevice)
    : mContents(std::move(contents)), mDevice(measuringDevice),
      mPaper(printInfo.fullRect(QPageLayout::Point).size()),
      mMargins(withRoomForTheBorder(printInfo.margins(QPageLayout::Point)))
{
    mPageSize = QSizeF(std::max<qreal>(0.0, mPaper.width() - mMargins.left() - mMargins.right()),
                       std::max<qreal>(0.0, mPaper.height() - mMargins.top() - mMargins.bottom()));
    if (mContents) {
        mTitle = QString::fromStdString(mContents->title());
        mTitleOnFirstPage = !opensWithItsTitle(*mContents);
        QtReportCanvas measurer(&mDevice);
        const ReportSize size = mContents->reportSizeForScreenDisplay(
            false, static_cast<float>(mPageSize.width()), static_cast<float>(mPageSize.height()), measurer);
        mNumberOfPages =
            std::max(1u, CReportContents::pageCountForHeight(size.height, static_cast<float>(mPageSize.height())));
    }
}

void CReportPrintView::drawPage(QPainter& painter, unsigned page) const
{
    if (mContents) {
        painter.save();
        painter.translate(mMargins.left(), mMargins.top());
        painter.setClipRect(QRectF(QPointF(0, 0), mPageSize));
        QtReportCanvas canvas(&mDevice, &painter);
        printPage(*mContents, page,
                  ReportSize{static_cast<float>(mPageSize.width()), static_cast<float>(mPageSize.height())}, false,
                  canvas);
        painter.restore();
    }
    drawPageBorder(painter, page);
}

void CReportPrintView::drawPageBorder(QPainter& painter, unsigned page) const
{
    painter.save();
    const QFont font(borderFont(), &mDevice);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &mDevice);
    const qreal width = mPaper.width();
    // The title in the middle of the top margin, the page number in the
    // middle of the bottom margin.
    const QSizeF titleSize = metrics.size(Qt::TextSingleLine, mTitle);
    if (page > 1 || mTitleOnFirstPage)
        painter.drawText(QRectF(QPointF((width - titleSize.width()) * 0.5, (mMargins.top() - titleSize.height()) * 0.5),
                            titleSize),
                     Qt::AlignCenter, mTitle);
    const QString number = QStringLiteral("- %1 -").arg(page);
    const QSizeF numberSize = metrics.size(Qt::TextSingleLine, number);
    painter.drawText(QRectF(QPointF((width - numberSize.width()) * 0.5,
                                    mPaper.height() - mMargins.bottom() + (mMargins.bottom() - numberSize.height()) * 0.5),
                            numberSize),
                     Qt::AlignCenter, number);
    painter.restore();
}

bool CReportPrintView::printOn(QPagedPaintDevice& device) const
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (unsigned page = 1; page <= mNumberOfPages; ++page) {
        if (page > 1 && !device.newPage()) return false;
        drawPage(painter, page);
    }
    return painter.end();
}

bool printReport(const std::shared_ptr<CReportContents>& contents, QPrinter& printer)
{
    // One unit a point, whatever the printer's own resolution.
    printer.setResolution(kPointsPerInch);
    const QPageLayout layout = fullPage(printer.pageLayout());
    printer.setPageLayout(layout);
    if (contents) printer.setDocName(QString::fromStdString(contents->title()));
    const CReportPrintView view(contents, layout, printer);
    return view.printOn(printer);
}

bool printReportToPdf(const std::shared_ptr<CReportContents>& contents, const QString& path,
                      const QPageLayout& printInfo)
{
    QPdfWriter writer(path);
    writer.setResolution(kPointsPerInch);
    writer.setCreator(QStringLiteral("Countinghouse"));
    if (contents) writer.setTitle(QString::fromStdString(contents->title()));
    const QPageLayout layout = fullPage(printInfo);
    if (!writer.setPageLayout(layout)) return false;
    const CReportPrintView view(contents, layout, writer);
    return view.printOn(writer);
}

QImage renderReportPage(const std::shared_ptr<CReportContents>& contents, const QPageLayout& printInfo,
                        unsigned page, qreal scale)
{
    const QSizeF paper = printInfo.fullRect(QPageLayout::Point).size();
    QImage image((paper * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    // 72 dots per inch in the image's own units: one unit a point.
    const int dotsPerMeter = qRound(kPointsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    const CReportPrintView view(contents, printInfo, image);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    view.drawPage(painter, page);
    painter.end();
    return image;
}

} // namespace ch
