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
class BarChartSinkView;

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
    BarChartSinkView* mOwnChart = nullptr;
};

} // namespace ch
