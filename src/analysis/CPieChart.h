#pragma once
// The pie charts: one wedge per account or category, sized by its share of
// the total, labelled with name, percentage and amount. Hovering a wedge
// accentuates it in a short animation while the others fade.
// CPieChart draws two pies side by side ("DEBET" and "CREDIT" lines of the
// followed object), each fitted to its own column; CExpenseTypePieChart one
// pie of the lines of a detail window, by account or category;
// CAccountTypePieChart one pie of accounts, categories or account types,
// sized by their balances and told apart by id.

#include "analysis/CGraph.h"

namespace ch {

class CPiechartGraphPoint;

class CPieChart : public CGraph {
public:
    static constexpr int kFrames = 6;

    ChartPoint getGraphOrigin(const CPlotSerie& serie) const override;
    ChartRect getGraphBounds(const CPlotSerie& serie) const override;
    // The sweep in degrees.
    float getXPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const override;
    // The radius.
    float getYPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const override;
    bool isSecondDrawLoopForTextNeeded() const override { return true; }

    void mouseMoved(ChartPoint location) override;
    void mouseExited() override;
    // Starts the animation of the wedge: 0 accentuate, 1 release.
    void accentuatePie(CGraphPoint* wedge, int type);

protected:
    // What a wedge's share is taken of: its amount.
    virtual double shareOf(const CGraphPoint& point) const;
    void initPlotseriesKeys() override;
    void addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key) override;
    CGraphPoint* getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const override;
    std::unique_ptr<CGraphPoint> makePointForCategory(const std::string& key, int green) const override;
    void setGrahpPointDescriptors(DateT start, DateT end, const ChartElement& element,
                                  CGraphPoint& point) const override;
};

class CExpenseTypePieChart : public CPieChart {
public:
    void setColor(const Colour& colour) { mBaseColor = colour; }
    const std::optional<Colour>& baseColor() const { return mBaseColor; }

protected:
    void initPlotseriesKeys() override;
    std::unique_ptr<CGraphPoint> makePointForCategory(const std::string& key, int green) const override;

private:
    std::optional<Colour> mBaseColor;
};

class CAccountTypePieChart : public CPieChart {
protected:
    // The balance with its sign: balances of the pie's minority sign have no wedge.
    double shareOf(const CGraphPoint& point) const override;
    void initPlotseriesKeys() override;
    CGraphPoint* getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const override;
    std::unique_ptr<CGraphPoint> makePointForCategory(const std::string& key, int green) const override;
};

// A wedge. After layout mXPosition is its end angle (degrees, counter-
// clockwise, cumulative over the pie) and mYPosition its radius.
class CPiechartGraphPoint : public CGraphPoint {
public:
    using CGraphPoint::CGraphPoint;

    double getAmount() const override;
    bool addDetail(const ChartElement& element) override;
    // Larger amounts first.
    bool isBefore(const CGraphPoint& other) const override;
    std::string getKey() const override;
    std::string getCategoryAsString(bool oneLine) const override;

    float mHoek() const { return mSweep; }
    float startAngle() const { return mX - mSweep; }
    float getCentreAngle() const { return mX - mSweep / 2; }
    ChartPoint getTouchPoint() const;
    std::string getPointLegend() const;
    // The legend as drawn, with the name shortened to fit the chart.
    const std::string& shownLegend() const { return mLegend; }
    bool textDrawn() const { return mTextDrawn; }

    ChartRect getTextRect(const ChartRect& bounds) override;
    void drawLegendFromPreviousPoint(ChartCanvas& canvas, CGraphPoint* previous, const ChartRect& bounds,
                                     int animation, int step, int steps, bool focus, bool textOnly) override;
    // Whether a label drawn earlier in the pie, from this wedge back, overlaps the rectangle.
    bool areTextRectsOverlapping(const ChartRect& rect, const ChartRect& bounds);

    // Opacity at rest: later (smaller) wedges are paler.
    float getAlphaValue() const;
    float getAlphaValueForCurrentValue(float value, int step, int steps, int animation, bool focus) override;
    float getTextAlphaValueForCurrentValue(float value, int step, int steps, int animation, bool focus) override;
    Colour getFillColor(int animation, int step, int steps, bool focus) override;
    ChartStroke getStrokeColor(int animation, int step, int steps, bool focus) override;
    TextAttributes getStringAttributes(int animation, int step, int steps, bool focus) override;

protected:
    void makeBezierCurveFromPoint(CGraphPoint* previous) override;
    // The colour before the animated opacity.
    virtual Colour baseFillColour() const;
    float animatedOpacity(int animation, int step, int steps, bool focus);

private:
    bool drawText(ChartCanvas& canvas, const std::string& text, const ChartRect& rect, CPiechartGraphPoint* previous,
                  const ChartRect& bounds, int animation, int step, int steps, bool focus);

    std::string legendNamed(const std::string& name) const;

    float mSweep = 0.0f;
    bool mTextDrawn = false;
    std::string mLegend;
    CPiechartGraphPoint* mPreviousPoint = nullptr;
};

class CPiechartGraphPointRed : public CPiechartGraphPoint {
public:
    using CPiechartGraphPoint::CPiechartGraphPoint;
    ChartStroke getStrokeColor(int animation, int step, int steps, bool focus) override;

protected:
    Colour baseFillColour() const override;
};

// A wedge of the lines of one account or category, in that object's colour.
class CPositionPieChartGraphPoint : public CPiechartGraphPoint {
public:
    using CPiechartGraphPoint::CPiechartGraphPoint;
    bool addDetail(const ChartElement& element) override;
    Colour getFillColor(int animation, int step, int steps, bool focus) override;
    void setColor(std::optional<Colour> colour) { mBaseColor = colour; }

private:
    std::optional<Colour> mBaseColor;
};

// A wedge of one account, category or account type, sized by its balance.
class CAccountPiechartGraphPoint : public CPiechartGraphPoint {
public:
    using CPiechartGraphPoint::CPiechartGraphPoint;
    bool addDetail(const ChartElement& element) override;
    // The item's id: two items of one name are two wedges.
    std::string getKey() const override;
    bool isGreen() const { return mIsGreen; }
    void showPointDetails() override;

protected:
    Colour baseFillColour() const override;

private:
    bool mIsGreen = false;
};

} // namespace ch
