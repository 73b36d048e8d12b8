#pragma once
// CPlotSerie: the points of one chart series, stored under their keys in the
// order they were made, with the series' date and amount range and total.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "analysis/CGraphPoint.h"

namespace ch {

class CGraph;

class CPlotSerie {
public:
    // Asks every point to forget itself, then drops them all.
    void initialize();
    void removeAllObjects();

    CGraphPoint* objectForKey(const std::string& key) const;
    void setObjectForKey(std::unique_ptr<CGraphPoint> point, const std::string& key);
    std::size_t count() const { return mPoints.size(); }
    bool containsPoint(const CGraphPoint* point) const;
    // In the order they were made.
    std::vector<CGraphPoint*> points() const;
    // In drawing order (CGraphPoint::isBefore).
    std::vector<CGraphPoint*> sortedPoints() const;

    // Total of all points; dates and amounts of the non-empty ones (with 0).
    void calculateMinMaxForPlotseries();
    // The last point, in key order, whose shape holds the location.
    CGraphPoint* getPointAtCoordinates(ChartPoint location) const;
    void plotOnGraph(const CGraph& graph, ChartCanvas& canvas, bool textOnly = false) const;
    // Positions every point as plotOnGraph does, drawing nothing.
    void layOutOnGraph(const CGraph& graph) const;

    DateT mMinDate() const { return mMin; }
    DateT mMaxDate() const { return mMax; }
    double mMaxAmount() const { return mMaxAmt; }
    double mMinAmount() const { return mMinAmt; }
    double mTotalAmount() const { return mTotal; }
    void setMMaxAmount(double value) { mMaxAmt = value; }

private:
    std::vector<std::unique_ptr<CGraphPoint>> mPoints;
    std::unordered_map<std::string, std::size_t> mIndex;
    DateT mMin = 0;
    DateT mMax = 0;
    double mMaxAmt = 0.0;
    double mMinAmt = 0.0;
    double mTotal = 0.0;
};

} // namespace ch
