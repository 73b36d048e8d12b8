#pragma once
// CReportPrintView: a report laid out for one print run on paper of the
// given page layout (one unit is one point): the report area is the paper
// less its margins (at least half an inch above and below, the room of the
// border texts), texts use the styles' paper attributes, and each page
// carries the report's title centred in its top margin and "- n -" centred in
// its bottom margin; page 1 of a report whose own header shows the title
// does not show it twice. A report exactly k pages long prints k pages; an
// empty one prints one page with its title only.

#include <memory>

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

class QImage;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace ch {

class CReportContents;

class CReportPrintView {
public:
    // Lays the contents out with the measures of the device (72 dots per inch).
    CReportPrintView(std::shared_ptr<CReportContents> contents, const QPageLayout& printInfo,
                     QPaintDevice& measuringDevice);

    unsigned numberOfPages() const { return mNumberOfPages; }
    // The report area of a page, in points.
    QSizeF pageSize() const { return mPageSize; }
    QSizeF paperSize() const { return mPaper; }
    const QString& title() const { return mTitle; }

    // Draws page n (from 1) in paper coordinates: the report's lines that
    // start on it, then its border texts.
    void drawPage(QPainter& painter, unsigned page) const;
    void drawPageBorder(QPainter& painter, unsigned page) const;

    // Prints every page on the device, which must use 72 dots per inch and
    // the print view's page layout in full-page mode. False when the device
    // cannot be painted on.
    bool printOn(QPagedPaintDevice& device) const;

private:
    std::shared_ptr<CReportContents> mContents;
    QPaintDevice& mDevice;
    QSizeF mPaper;
    QMarginsF mMargins;
    QSizeF mPageSize;
    QString mTitle;
    bool mTitleOnFirstPage = true;
    unsigned mNumberOfPages = 1;
};

// Prints the contents on the printer with its page layout. False when the
// printer cannot be painted on.
bool printReport(const std::shared_ptr<CReportContents>& contents, QPrinter& printer);
// Writes the contents as a PDF file of the page layout.
bool printReportToPdf(const std::shared_ptr<CReportContents>& contents, const QString& path,
                      const QPageLayout& printInfo);
// Page n of the contents printed on paper of the page layout, as an image of
// `scale` pixels per point (for a person to look at).
QImage renderReportPage(const std::shared_ptr<CReportContents>& contents, const QPageLayout& printInfo,
                        unsigned page, qreal scale);

} // namespace ch
