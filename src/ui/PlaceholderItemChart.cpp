#include "ui/PlaceholderItemChart.h"

#include <QPainter>

#include "platform/core/localized_strings.h"

namespace ch {

PlaceholderItemChart::PlaceholderItemChart(QWidget* parent) : QWidget(parent) {}

void PlaceholderItemChart::synchronizeWithArray(const CNonVisualDataItem::ItemArray& items)
{
    mCount = items.size();
    update();
}

void PlaceholderItemChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(12, 10, -12, -10);
    const double diameter = std::min(area.width(), area.height() - 30.0);
    if (diameter > 20.0) {
        const QRectF disc(area.center().x() - diameter / 2.0, area.top(), diameter, diameter);
        painter.setPen(QPen(QColor(0xC8, 0xCD, 0xD5), 1.0, Qt::DashLine));
        painter.setBrush(QColor(0xF3, 0xF5, 0xF8));
        painter.drawEllipse(disc);
    }
    painter.setPen(QColor(0x8A, 0x90, 0x99));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap,
                     QString::fromStdString(localized("PIECHARTITEMS")).replace(QStringLiteral("%@"), QString::number(mCount)));
}

} // namespace ch
