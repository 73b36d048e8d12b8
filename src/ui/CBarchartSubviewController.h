#pragma once
// CBarchartSubviewController: the page the side bar shows for the accounts
// and the categories roots. It hands its bar chart the booking lines to
// show: for the accounts root, the lines of the first profit-and-loss
// account type, in date order with running balances; for the categories
// root, the lines of every income and expense group (transfers left out).

#include "ui/ChartSink.h"
#include "ui/GXSideBarControlledViewAncestor.h"

namespace ch {

class PageHeading;
class PlaceholderLineChart;

class CBarchartSubviewController : public GXSideBarControlledViewAncestor {
    Q_OBJECT

public:
    explicit CBarchartSubviewController(QObject* parent = nullptr);

    // The chart the lines go to; by default the page's own chart area.
    void setBarChart(LineChartSink* chart) { mBarChart = chart; }
    LineChartSink* barChart() const { return mBarChart; }

    void synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node) override;

protected:
    QWidget* makeControlledView() override;

private:
    void updateHeading();

    LineChartSink* mBarChart = nullptr;
    PageHeading* mHeading = nullptr;
    PlaceholderLineChart* mOwnChart = nullptr;
};

// The chart area until the charts are drawn: it names what it holds (how
// many booking lines, from when to when) and says that the drawing is not
// there yet.
class PlaceholderLineChart : public QWidget, public LineChartSink {
    Q_OBJECT

public:
    explicit PlaceholderLineChart(QWidget* parent = nullptr);
    void synchronizeWithArray(const LineItemArray& lines) override;
    std::size_t lineCount() const { return mCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::size_t mCount = 0;
    QString mSpan;
};

} // namespace ch
