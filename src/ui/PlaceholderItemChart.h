#pragma once
// The side bar's pie-chart area until the charts are drawn: it names how
// many objects the chart holds and says that the drawing is not there yet.

#include <QWidget>

#include "ui/ChartSink.h"

namespace ch {

class PlaceholderItemChart : public QWidget, public ItemChartSink {
    Q_OBJECT

public:
    explicit PlaceholderItemChart(QWidget* parent = nullptr);
    void synchronizeWithArray(const CNonVisualDataItem::ItemArray& items) override;
    std::size_t itemCount() const { return mCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::size_t mCount = 0;
};

} // namespace ch
