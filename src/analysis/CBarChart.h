#pragma once
// CBarChart: month by month, the money into and out of the followed account
// or category as two bars ("IN" and "OUT", left scale) and the balance as a
// line of dots ("POSITION", right scale) over a shaded, smoothed surface.
// Bars stand on the zero line, so negative sums hang below it.

#include "analysis/CGraph.h"

namespace ch {

class CBarChart : public CGraph {
public:
    bool isKeyAtTheRight(const std::string& key) const override { return key == "POSITION"; }
    // Whether the series takes the element, or the line.
    static bool seriesTakes(const std::string& key, const ChartElement& element);
    static bool seriesTakes(const std::string& key, const ChartLine& line);

    // The quadrilaterals under the position line, in drawing order: each is
    // (previous x, previous height), (x, height), (x, base), (previous x, base).
    std::vector<std::vector<ChartPoint>> smoothedSurface(const CPlotSerie& serie) const;

protected:
    void instantiateScaleDrawers() override;
    void initPlotseriesKeys() override;
    bool usesRunningBalances() const override { return true; }
    bool spreadsModelLines() const override { return true; }
    void calculateScalePropertiesForPlotSeries(const CPlotSerie& serie, const std::string& key) override;
    void addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key) override;
    bool takesLine(const std::string& key, const ChartLine& line) const override { return seriesTakes(key, line); }
    std::unique_ptr<CGraphPoint> makePointForCategory(const std::string& key, int green) const override;
    void drawSmoothedSurface(ChartCanvas& canvas, const CPlotSerie& serie) override;
};

// A bar: a third of a period wide, from the zero line to its value.
class CBarchartGraphPoint : public CGraphPoint {
public:
    using CGraphPoint::CGraphPoint;
    ChartStroke getStrokeColor(int animation, int step, int steps, bool focus) override;

protected:
    void makeBezierCurveFromPoint(CGraphPoint* previous) override;
    // The bar's left edge: right of the period's position.
    virtual float wrapAroundVerticalGrid(const ChartRect& rect) const { return rect.x; }
};

// Money in the favourable direction: left of the period's position.
class CBarchartGraphPointGreen : public CBarchartGraphPoint {
public:
    using CBarchartGraphPoint::CBarchartGraphPoint;
    Colour getFillColor(int animation, int step, int steps, bool focus) override;

protected:
    float wrapAroundVerticalGrid(const ChartRect& rect) const override { return rect.x - rect.width; }
};

class CBarchartGraphPointRed : public CBarchartGraphPoint {
public:
    using CBarchartGraphPoint::CBarchartGraphPoint;
    Colour getFillColor(int animation, int step, int steps, bool focus) override;
};

// A dot of the position line: the running balance after the latest line of its period.
class CPointGraphPoint : public CGraphPoint {
public:
    using CGraphPoint::CGraphPoint;
    void initialize() override;
    // Keeps no element: a dot stands for one balance.
    bool addDetail(const ChartElement& element) override;
    bool isEmpty() const override { return mMaximumObjectId == 0; }
    Colour getFillColor(int animation, int step, int steps, bool focus) override;
    ChartStroke getStrokeColor(int animation, int step, int steps, bool focus) override;
    void drawPointConnector(ChartCanvas& canvas, CGraphPoint* previous, bool keepY) override;
    // Clicking a dot opens nothing.
    void showPointDetails() override {}

protected:
    // A line newer than any before sets the balance; a category line adds
    // its amount (income) or takes it off (expense).
    void addValueOf(const ChartLine& line) override;
    void makeBezierCurveFromPoint(CGraphPoint* previous) override;

private:
    bool isNewest(const ChartLine& line) const
    {
        return line.date > mLastDate || (line.date == mLastDate && line.id > mMaximumObjectId);
    }

    DateT mLastDate = 0;
    ObjectIdT mMaximumObjectId = 0;
};

} // namespace ch
