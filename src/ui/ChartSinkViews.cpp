#include "ui/ChartSinkViews.h"

#include "analysis/CBarChart.h"
#include "analysis/CPieChart.h"
#include "bridge/CDebetItem.h"

namespace ch {

BarChartSinkView::BarChartSinkView(QWidget* parent) : ChartView(CGraph::make<CBarChart>(), parent) {}

void BarChartSinkView::synchronizeWithArray(const LineItemArray& lines)
{
    mCount = lines.size();
    synchronizeWithElements(ChartElements(lines.begin(), lines.end()));
    update();
}

void BarChartSinkView::synchronizeWithLines(ChartLineSource source)
{
    ChartView::synchronizeWithLines(std::move(source));
    mCount = chart().linesRead();
    update();
}

PieChartSinkView::PieChartSinkView(QWidget* parent) : ChartView(CGraph::make<CAccountTypePieChart>(), parent) {}

void PieChartSinkView::synchronizeWithArray(const CNonVisualDataItem::ItemArray& items)
{
    mItems = items;
    synchronizeWithElements(ChartElements(items.begin(), items.end()));
    update();
}

} // namespace ch
