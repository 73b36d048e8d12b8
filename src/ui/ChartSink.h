#pragma once
// Where the pages and the side bar hand the lists a chart shows. The charts
// themselves draw elsewhere; these are the hooks they attach to.

#include "analysis/CGraph.h"
#include "bridge/CNonVisualDataItem.h"
#include "bridge/LineItemList.h"

namespace ch {

// A chart of booking lines (the bar chart).
class LineChartSink {
public:
    virtual ~LineChartSink() = default;
    virtual void synchronizeWithArray(const LineItemArray& lines) = 0;
    // Model lines, with the way to their items; a chart that cannot read
    // model lines is given their items.
    virtual void synchronizeWithLines(ChartLineSource source);
};

// A chart of objects (the side bar's pie chart of accounts or categories).
class ItemChartSink {
public:
    virtual ~ItemChartSink() = default;
    virtual void synchronizeWithArray(const CNonVisualDataItem::ItemArray& items) = 0;
};

} // namespace ch
