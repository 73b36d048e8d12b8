#include "analysis/CPlotSerie.h"

#include <algorithm>

#include "analysis/CGraph.h"
#include "model/foundation/CDate.h"

namespace ch {

void CPlotSerie::initialize()
{
    mMaxAmt = 0.0;
    for (auto& point : mPoints) point->initialize();
    removeAllObjects();
}

void CPlotSerie::removeAllObjects()
{
    mPoints.clear();
    mIndex.clear();
}

CGraphPoint* CPlotSerie::objectForKey(const std::string& key) const
{
    const auto found = mIndex.find(key);
    return found == mIndex.end() ? nullptr : mPoints[found->second].get();
}

void CPlotSerie::setObjectForKey(std::unique_ptr<CGraphPoint> point, const std::string& key)
{
    const auto found = mIndex.find(key);
    if (found != mIndex.end()) {
        mPoints[found->second] = std::move(point);
        return;
    }
    mIndex.emplace(key, mPoints.size());
    mPoints.push_back(std::move(point));
}

bool CPlotSerie::containsPoint(const CGraphPoint* point) const
{
    return std::any_of(mPoints.begin(), mPoints.end(), [&](const auto& p) { return p.get() == point; });
}

std::vector<CGraphPoint*> CPlotSerie::points() const
{
    std::vector<CGraphPoint*> out;
    out.reserve(mPoints.size());
    for (const auto& point : mPoints) out.push_back(point.get());
    return out;
}

std::vector<CGraphPoint*> CPlotSerie::sortedPoints() const
{
    std::vector<CGraphPoint*> out = points();
    std::stable_sort(out.begin(), out.end(), [](const CGraphPoint* a, const CGraphPoint* b) { return a->isBefore(*b); });
    return out;
}

void CPlotSerie::calculateMinMaxForPlotseries()
{
    DateT earliest = CDate::GetNowAsDateT(), latest = 0;
    double maximum = 0.0, minimum = 0.0, total = 0.0;
    for (const auto& point : mPoints) {
        total += point->getAmount();
        if (point->isEmpty()) continue;
        earliest = std::min(earliest, point->getStartDate());
        latest = std::max(latest, point->getStartDate());
        maximum = std::max(maximum, point->getAmount());
        minimum = std::min(minimum, point->getAmount());
    }
    mMin = earliest;
    mMax = latest;
    mMaxAmt = maximum;
    mMinAmt = minimum;
    mTotal = total;
}

CGraphPoint* CPlotSerie::getPointAtCoordinates(ChartPoint location) const
{
    CGraphPoint* found = nullptr;
    for (const auto& point : mPoints)
        if (point->isPointInPath(location)) found = point.get();
    return found;
}

void CPlotSerie::layOutOnGraph(const CGraph& graph) const
{
    const ChartPoint origin = graph.getGraphOrigin(*this);
    const float step = graph.getHorizontalStepwidth();
    const auto count = static_cast<unsigned>(mPoints.size());
    CGraphPoint* previous = nullptr;
    for (CGraphPoint* point : sortedPoints()) {
        point->setPosition(graph.getXPositionForPoint(*point, *this), graph.getYPositionForPoint(*point, *this), origin,
                           step, -1.0f, previous);
        point->setMAantal(count);
        previous = point;
    }
}

void CPlotSerie::plotOnGraph(const CGraph& graph, ChartCanvas& canvas, bool textOnly) const
{
    const ChartRect bounds = graph.getGraphBounds(*this);
    const ChartPoint origin = graph.getGraphOrigin(*this);
    const float step = graph.getHorizontalStepwidth();
    const auto count = static_cast<unsigned>(mPoints.size());
    CGraphPoint* hover = graph.currentHoverPoint();
    const bool holdsHover = containsPoint(hover);
    CGraphPoint* previous = nullptr;
    for (CGraphPoint* point : sortedPoints()) {
        point->setPosition(graph.getXPositionForPoint(*point, *this), graph.getYPositionForPoint(*point, *this), origin,
                           step, -1.0f, previous);
        point->setMAantal(count);
        const bool focus = graph.isFocusPoint(point);
        // No animation passes step 0 of 0: nothing may divide by it.
        if (!graph.isAnimating())
            point->plotFromPreviousPoint(canvas, previous, bounds, chart_animation::kNone, 0, 0, focus, textOnly);
        else if (graph.numberOfPlotSeries() < 2 || holdsHover)
            point->plotFromPreviousPoint(canvas, previous, bounds, graph.mCurrentAnimation(), graph.currentFrame(),
                                         graph.numberOfFrames(), focus, textOnly);
        else
            point->plotFromPreviousPoint(canvas, previous, bounds, chart_animation::kNone, 0, 0, false, textOnly);
        previous = point;
    }
    if (graph.isAnimating() && hover)
        hover->drawFinalFocusAdornments(canvas, bounds, graph.mCurrentAnimation(), graph.currentFrame(),
                                        graph.numberOfFrames());
    if (!textOnly && graph.isSecondDrawLoopForTextNeeded()) plotOnGraph(graph, canvas, true);
}

} // namespace ch
