#include "ui/pages/StockPriceGraph.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "platform/core/localized_strings.h"
#include "ui/controls/CNumericTransformer.h"

namespace ch {

StockPriceGraph::StockPriceGraph(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 80);
}

void StockPriceGraph::setPrices(std::vector<std::pair<double, double>> prices)
{
    std::stable_sort(prices.begin(), prices.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    mPrices = std::move(prices);
    update();
}

void StockPriceGraph::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (mPrices.empty()) return;

    const auto [low, high] = std::minmax_element(mPrices.begin(), mPrices.end(),
                                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    const double lowest = low->second;
    const double highest = high->second;
    const QFontMetrics metrics(font());
    const auto label = [](double value) { return QString::fromStdString(CNumericTransformer().stringForObjectValue(value)); };
    const int margin = std::max(metrics.horizontalAdvance(label(highest)), metrics.horizontalAdvance(label(lowest))) + 10;
    const QRectF area = QRectF(rect()).adjusted(margin, metrics.height(), -10, -metrics.height());
    const double first = mPrices.front().first;
    const double span = std::max(1.0, mPrices.back().first - first);
    const double range = highest - lowest;
    // Prices fetched at one moment stand side by side in their order.
    const bool sameMoment = mPrices.back().first == first;
    std::size_t index = 0;
    auto point = [&](const std::pair<double, double>& price) {
        const double step = mPrices.size() > 1 ? double(index++ % mPrices.size()) / double(mPrices.size() - 1) : 0.5;
        const double x = sameMoment || mPrices.size() == 1 ? area.left() + step * area.width()
                                                           : area.left() + (price.first - first) / span * area.width();
        const double y = range > 0 ? area.bottom() - (price.second - lowest) / range * area.height() : area.center().y();
        return QPointF(x, y);
    };

    painter.setPen(palette().text().color());
    painter.drawText(QRectF(0, area.top() - metrics.height() / 2.0, margin - 5, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label(highest));
    painter.drawText(QRectF(0, area.bottom() - metrics.height() / 2.0, margin - 5, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, label(lowest));

    const QColor ink(43, 123, 185);
    QPainterPath line;
    std::vector<QPointF> points;
    for (const auto& price : mPrices) points.push_back(point(price));
    line.moveTo(points.front());
    for (const QPointF& at : points) line.lineTo(at);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    painter.setBrush(ink);
    for (const QPointF& at : points) painter.drawEllipse(at, 2.5, 2.5);
}

} // namespace ch
