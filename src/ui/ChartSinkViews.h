#pragma once
// The drawn charts behind the chart hooks: a bar chart of booking lines and
// a pie chart of accounts or categories (one wedge per object, sized by its
// balance). Both are chart views of the analysis library.

#include "analysis/views/ChartView.h"
#include "ui/ChartSink.h"

namespace ch {

class BarChartSinkView : public ChartView, public LineChartSink {
public:
    explicit BarChartSinkView(QWidget* parent = nullptr);
    void synchronizeWithArray(const LineItemArray& lines) override;
    void synchronizeWithLines(ChartLineSource source) override;
    // The lines last given.
    std::size_t lineCount() const { return mCount; }

private:
    std::size_t mCount = 0;
};

class PieChartSinkView : public ChartView, public ItemChartSink {
public:
    explicit PieChartSinkView(QWidget* parent = nullptr);
    void synchronizeWithArray(const CNonVisualDataItem::ItemArray& items) override;
    // The objects the wedges stand for, as last given.
    const CNonVisualDataItem::ItemArray& items() const { return mItems; }

private:
    CNonVisualDataItem::ItemArray mItems;
};

} // namespace ch
