#include "ui/lists/TablePrintout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace ch {

namespace {

constexpr double kColumnGap = 12.0;   // in points, between two columns
constexpr int kHeadingLines = 2;      // the heading and a rule below it
constexpr int kFootLines = 2;         // a blank line and the page number

QFont printFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8.5);
    return font;
}

} // namespace

TablePageLayout layoutTablePages(const TableText& table, const QFontMetricsF& metrics, double pageWidth,
                                 double pageHeight)
{
    TablePageLayout layout;
    const std::size_t columns = static_cast<std::size_t>(table.headings.size());
    layout.columnWidths.assign(columns, 0.0);
    const double gap = kColumnGap * metrics.height() / 12.0;
    for (std::size_t c = 0; c < columns; ++c) {
        double widest = metrics.horizontalAdvance(table.headings[int(c)]);
        for (const QStringList& row : table.rows)
            if (int(c) < row.size()) widest = std::max(widest, metrics.horizontalAdvance(row[int(c)]));
        layout.columnWidths[c] = std::ceil(widest);
    }
    const double gaps = columns > 1 ? gap * double(columns - 1) : 0.0;
    const double natural = std::accumulate(layout.columnWidths.begin(), layout.columnWidths.end(), 0.0);
    if (natural > 0 && natural + gaps > pageWidth) {
        const double scale = std::max(0.0, pageWidth - gaps) / natural;
        for (double& width : layout.columnWidths) width = std::floor(width * scale);
    }
    const double line = metrics.lineSpacing();
    layout.rowsPerPage = std::max(1, int(pageHeight / line) - kHeadingLines - kFootLines);
    const int rows = int(table.rows.size());
    for (int start = 0; start < std::max(rows, 1); start += layout.rowsPerPage) layout.pageStarts.push_back(start);
    return layout;
}

int printTableText(const TableText& table, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    painter.setFont(QFont(printFont(), &device));
    const QFontMetricsF metrics(painter.font());
    const QRectF page(0, 0, device.width(), device.height());
    const TablePageLayout layout = layoutTablePages(table, metrics, page.width(), page.height());
    const double line = metrics.lineSpacing();
    const double gap = kColumnGap * metrics.height() / 12.0;

    auto drawLine = [&](const QStringList& fields, double y) {
        double x = page.left();
        for (std::size_t c = 0; c < layout.columnWidths.size(); ++c) {
            const double width = layout.columnWidths[c];
            const QString field = int(c) < fields.size() ? fields[int(c)] : QString();
            const bool right = c < table.rightAligned.size() && table.rightAligned[c];
            painter.drawText(QRectF(x, y, width, line), (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                             metrics.elidedText(field, Qt::ElideRight, width));
            x += width + gap;
        }
    };

    const int pages = int(layout.pageStarts.size());
    for (int p = 0; p < pages; ++p) {
        if (p > 0) device.newPage();
        double y = page.top();
        QFont bold = painter.font();
        bold.setBold(true);
        painter.save();
        painter.setFont(bold);
        drawLine(table.headings, y);
        painter.restore();
        y += line;
        painter.drawLine(QPointF(page.left(), y + line / 2), QPointF(page.right(), y + line / 2));
        y += line;
        const int end = std::min(int(table.rows.size()), layout.pageStarts[std::size_t(p)] + layout.rowsPerPage);
        for (int row = layout.pageStarts[std::size_t(p)]; row < end; ++row, y += line)
            drawLine(table.rows[std::size_t(row)], y);
        painter.drawText(QRectF(page.left(), page.bottom() - line, page.width(), line), Qt::AlignCenter,
                         QStringLiteral("%1 / %2").arg(p + 1).arg(pages));
    }
    painter.end();
    return pages;
}

} // namespace ch
