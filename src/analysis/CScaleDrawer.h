#pragma once
// The scale drawers of a chart: each side of a chart has one; it reserves the
// margin on its side, turns values and period steps into positions, and draws
// its labels and grid lines. CScaleDrawer is the plain drawer (draws nothing);
// CDateCategoryScaleDrawer labels the periods along the bottom;
// CBarchartAxisScaleDrawer labels the amounts on the left and the right.
// All positions are y-up, in the chart's units. Drawing with no canvas only
// stores the margins and steps, which is what the layout needs.

#include "analysis/ChartCanvas.h"
#include "analysis/CPrintStyle.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CGraph;

class CScaleDrawer {
public:
    virtual ~CScaleDrawer() = default;

    void setGraph(const CGraph* graph) { theGraphToDraw = graph; }

    virtual void drawLeftScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom, CScaleDrawer* top,
                                   ChartCanvas* canvas);
    virtual void drawRightScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom, CScaleDrawer* top,
                                    ChartCanvas* canvas);
    virtual void drawDateScaleFrom(DateT from, DateT to, bool grid, CScaleDrawer* left, CScaleDrawer* right,
                                   ChartCanvas* canvas);
    virtual void drawTopScaleFrom(DateT from, DateT to, bool grid, CScaleDrawer* left, CScaleDrawer* right,
                                  ChartCanvas* canvas);

    // The room for amount labels up to `to`; 10 when six such labels do not
    // fit across the chart.
    virtual int getLeftMarginForRangeFrom(double from, double to) const;
    int getRightMarginOffsetForRangeFrom(double from, double to) const { return getLeftMarginForRangeFrom(from, to); }
    virtual int getDateMarginForRangeFrom(DateT, DateT) const { return 0; }
    virtual int getTopMarginForRangeFrom(DateT, DateT) const { return 0; }

    // The width between the side margins, per period.
    float getHorizontalStepwidth() const;
    // The x of the period: the middle of its slot on a date scale, so that
    // the bars beside it stay within the plot at both ends.
    float getXPositionForStep(int step) const;
    // The height of the value; above the scale's top it is held at the top.
    float getYPositionForValue(double value, bool left) const;
    float getZeroMargin() const { return mZeroMargin; }

    // Dark green "Helvetica" 9.
    virtual TextAttributes getStringAttributes(bool atTheLeft) const;

    // The nearest half coordinate beyond x, where one-pixel lines are sharp.
    static float nextHalf(float x);
    // The magnitude raised to the next multiple of its leading power of ten;
    // 0 for magnitudes below 1.
    static double normalizeValue(double value);

    float mTopMargin() const { return mTop; }
    float mBottomMargin() const { return mBottom; }
    float mLeftMargin() const { return mLeft; }
    float mRightMargin() const { return mRight; }
    float mStepWidthY() const { return mStepY; }
    double mMaxValue() const { return mMax; }
    double mMinValue() const { return mMin; }
    float mNumberOfPeriods() const { return mPeriods; }
    void setMTopMargin(float v) { mTop = v; }
    void setMBottomMargin(float v) { mBottom = v; }
    void setMLeftMargin(float v) { mLeft = v; }
    void setMRightMargin(float v) { mRight = v; }
    void setMZeroMargin(float v) { mZeroMargin = v; }
    void setMNumberOfPeriods(float v) { mPeriods = v; }
    // Stores the normalised value.
    void setMMaxValue(double value);
    void setMMinValue(double value) { mMin = value; }

protected:
    float viewWidth() const;
    float viewHeight() const;
    const ReportTextMeasurer& measurer() const;

    const CGraph* theGraphToDraw = nullptr;
    float mZeroMargin = 0.0f;
    float mTop = 0.0f;
    float mBottom = 0.0f;
    float mLeft = 0.0f;
    float mRight = 0.0f;
    float mStepX = 0.0f;
    float mStepY = 0.0f;
    float mPeriods = 0.0f;
    // Where in its slot a period's position lies, in slot widths.
    float mStepOffset = 0.0f;
    double mMax = 0.0;
    double mMin = 0.0;
};

class CDateCategoryScaleDrawer : public CScaleDrawer {
public:
    void drawDateScaleFrom(DateT from, DateT to, bool grid, CScaleDrawer* left, CScaleDrawer* right,
                           ChartCanvas* canvas) override;
    void drawTopScaleFrom(DateT, DateT, bool, CScaleDrawer*, CScaleDrawer*, ChartCanvas*) override {}
    // Twice the height of a date label.
    int getDateMarginForRangeFrom(DateT from, DateT to) const override;
};

class CBarchartAxisScaleDrawer : public CScaleDrawer {
public:
    // The number of intervals for a room of n label heights (two per label).
    static int intervalsForLabelRows(int n);
    // The smallest of 1, 2, 2.5 and 5 times a power of ten that is at least
    // the amount (1 for none).
    static double readableStep(double atLeast);

    void drawLeftScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom, CScaleDrawer* top,
                           ChartCanvas* canvas) override;
    void drawRightScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom, CScaleDrawer* top,
                            ChartCanvas* canvas) override;
    // Right-aligned; the right scale's labels are blue.
    TextAttributes getStringAttributes(bool atTheLeft) const override;

private:
    void drawScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom, CScaleDrawer* top, bool atTheLeft,
                       ChartCanvas* canvas);
};

} // namespace ch
