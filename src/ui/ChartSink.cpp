#include "ui/ChartSink.h"

#include "bridge/CDebetItem.h"

namespace ch {

void LineChartSink::synchronizeWithLines(ChartLineSource source)
{
    LineItemArray items;
    if (source.lines && source.itemOf)
        for (CNonVisual* line : source.lines())
            if (auto item = std::dynamic_pointer_cast<CDebetItem>(source.itemOf(line))) items.push_back(std::move(item));
    synchronizeWithArray(items);
}

} // namespace ch
