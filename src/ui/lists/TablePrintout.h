#pragma once
// A table printed as text: the columns as shown (image columns left out),
// each as wide as its widest text, narrowed in proportion when the page is
// too narrow (longer texts then end in an ellipsis); the heading line at the
// top of every page, as many rows below it as fit, and the page number at
// the foot. Every row is printed once, in the table's order.

#include <QString>
#include <QStringList>

#include <vector>

class QFontMetricsF;
class QPagedPaintDevice;
class QPainter;

namespace ch {

struct TableText {
    QStringList headings;
    std::vector<bool> rightAligned;     // per column
    std::vector<QStringList> rows;
};

struct TablePageLayout {
    std::vector<double> columnWidths;   // in device units
    int rowsPerPage = 1;
    // The first row of each page; one page for a table without rows.
    std::vector<int> pageStarts;
};

// How the text falls onto pages of the given size, measured with `metrics`.
TablePageLayout layoutTablePages(const TableText& table, const QFontMetricsF& metrics, double pageWidth,
                                 double pageHeight);

// Prints the table on the device, a page after another; the number of
// pages printed (0 when the device could not be painted on).
int printTableText(const TableText& table, QPagedPaintDevice& device);

} // namespace ch
