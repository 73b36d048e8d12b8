#pragma once
// CGraph: the time-series chart every chart is built on. It follows one item
// and the analysis array of that item's booking lines (or a plain list of
// elements, or of model lines), chooses the date range to show, cuts it into periods, spreads
// the elements over plot series of points, derives the value range of its
// scales, lays the points out, draws them through a ChartCanvas and tracks
// the pointer over them. It runs without a window: the widget that hosts it
// passes its size, pointer positions (y-up) and timer ticks, and is asked
// back through ChartHost to redraw and to run the animation timer.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "analysis/CGraphPoint.h"
#include "analysis/CPlotSerie.h"
#include "analysis/CScaleDrawer.h"

namespace ch {

class CAnalysisArrayEncaplusator;
class CDebetItem;
class CNonVisual;

class ChartHost {
public:
    virtual ~ChartHost() = default;
    virtual void setNeedsDisplay() = 0;
    virtual void startAnimationTimer(int intervalMilliseconds) = 0;
    virtual void stopAnimationTimer() = 0;
};

// Model booking lines for a chart, read without making their items.
struct ChartLineSource {
    // The lines, in the order the chart adds them. Asked again when a
    // point's detail window opens, so the chart keeps no pointer to a line.
    std::function<std::vector<CNonVisual*>()> lines;
    // The item of a line, for the detail window.
    std::function<ChartElement(CNonVisual*)> itemOf;
};

// Makes the detail window of a point: its lines, title and colour.
using PointDetailWindowFactory =
    std::function<std::unique_ptr<PointDetailWindow>(const ChartElements& lines, const std::string& title,
                                                     const Colour& colour)>;

class CGraph {
public:
    // Period codes.
    static constexpr int kDay = 0, kWeek = 1, kMonth = 2, kQuarter = 4, kYear = 5;
    // Amount limits after a reset.
    static constexpr double kResetMaximum = 100.0;
    // Hover throttle, in ticks of 1/60 s.
    static constexpr std::uint32_t kNewPointTicks = 31, kSamePointTicks = 21;

    // A chart of the class, initialised (the set-up calls the class's own steps).
    template <class Chart>
    static std::unique_ptr<Chart> make()
    {
        auto chart = std::make_unique<Chart>();
        chart->initialize();
        return chart;
    }

    CGraph() = default;
    virtual ~CGraph();
    CGraph(const CGraph&) = delete;
    CGraph& operator=(const CGraph&) = delete;

    void initialize();

    // --- what the chart shows
    // Follows the array's object and refills; also with the array already shown.
    bool synchronizeWithArray(std::shared_ptr<CAnalysisArrayEncaplusator> array);
    // A plain list of elements; its range spans its own lines.
    bool synchronizeWithElements(ChartElements elements);
    // A plain list of model lines, as a list of their items would be shown:
    // points hold sums, and a point's items are made for its window only.
    bool synchronizeWithLines(ChartLineSource source);
    // The items of the point's lines as the source gives them now: those
    // dated within the point's period that its series takes.
    ChartElements lineItemsOf(const CGraphPoint& point) const;
    // How many model lines the last refill read.
    std::size_t linesRead() const { return mLinesRead; }
    // Follows the item and its analysis array; an unchanged item whose list
    // is the one followed does nothing.
    bool syncronizeWithObject(const CNonVisualDataItem::Ptr& item);
    const CNonVisualDataItem::Ptr& dataItem() const { return mDataItem; }
    // Refills the series from the array.
    virtual void analysisArrayChanged();

    // --- environment
    void setHost(ChartHost* host) { mHost = host; }
    void setViewSize(float width, float height);
    float viewWidth() const { return mWidth; }
    float viewHeight() const { return mHeight; }
    // Text sizes (none set: an estimate from the text length).
    void setMeasurer(const ReportTextMeasurer* measurer) { mMeasurer = measurer; }
    const ReportTextMeasurer& measurer() const;
    // Ticks of 1/60 s (default: a steady clock).
    void setTickSource(std::function<std::uint32_t()> ticks) { mTicks = std::move(ticks); }
    void setDetailWindowFactory(PointDetailWindowFactory factory) { mWindowFactory = std::move(factory); }
    const PointDetailWindowFactory& detailWindowFactory() const { return mWindowFactory; }

    // --- periods and range
    int getPeriodicity() const { return mPeriodicity; }
    DateT mMinDate() const { return mMinDateValue; }
    DateT mMaxDate() const { return mMaxDateValue; }
    int mNumberOfPoints() const { return mPoints; }
    DateT getStartdateForTransactiondate(DateT date) const;
    DateT getEnddateForStartDate(DateT start) const;
    int getNumberOfStepsInGraph() const;
    DateT getDateValueForStep(int step) const;
    int getStepValueForDate(DateT date) const;
    void getInitialPeriodToGraph();

    // The balance after the line in the plain list of items drawn, oldest
    // line first (by date, then line id); none for a line not in it, when the
    // chart keeps no balances or when it reads model lines (they carry their
    // balances). Computed when first asked after each refill (a chart of
    // category lines never asks): the balance a line carries belongs to
    // whichever list was built over it last.
    std::optional<double> runningBalanceOf(const CDebetItem& line) const;

    // --- series
    const std::vector<std::string>& plotSeriesKeys() const { return mPlotSeriesKeys; }
    CPlotSerie* plotSerie(const std::string& key) const;
    std::size_t numberOfPlotSeries() const { return mPlotSeries.size(); }
    // The series' position in key order; -1 when it is not the chart's.
    int indexOfSerie(const CPlotSerie& serie) const;
    bool getReinstantiateUponArrayChange() const { return mReinstantiate; }

    // --- geometry (y-up)
    double mMaxAmountLeft() const { return mMaxLeft; }
    double mMinAmountLeft() const { return mMinLeft; }
    double mMaxAmountRight() const { return mMaxRight; }
    double mMinAmountRight() const { return mMinRight; }
    CScaleDrawer* leftScaleDrawer() const { return mLeftScaleDrawer.get(); }
    CScaleDrawer* rightScaleDrawer() const { return mRightScaleDrawer.get(); }
    CScaleDrawer* bottomScaleDrawer() const { return mBottomScaleDrawer.get(); }
    void calculateGeometryOfAllCategories();
    // Ranges, scales and point positions as a redraw makes them, without drawing.
    void layout();
    virtual float getXPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const;
    virtual float getYPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const;
    float getXPositionForDate(DateT date) const;
    float getYPositionForValue(double value, bool leftScale) const;
    virtual bool isKeyAtTheRight(const std::string&) const { return false; }
    virtual ChartPoint getGraphOrigin(const CPlotSerie& serie) const;
    virtual ChartRect getGraphBounds(const CPlotSerie& serie) const;
    float getHorizontalStepwidth() const;

    // --- drawing
    void drawRect(ChartCanvas& canvas);
    void setBorderAbove(bool top, bool bottom, bool left, bool right);
    virtual bool isSecondDrawLoopForTextNeeded() const { return false; }

    // --- pointer and animation (locations y-up)
    CGraphPoint* getPointForLocation(ChartPoint location) const;
    void mouseDown(ChartPoint location);
    virtual void mouseMoved(ChartPoint location);
    virtual void mouseExited();
    // One frame of a running animation.
    void graphPointAccentuationHandler();
    int currentFrame() const { return mCurrentFrame; }
    int numberOfFrames() const { return mNumberOfFrames; }
    int mCurrentAnimation() const { return mAnimation; }
    bool isAnimating() const { return mAnimation != chart_animation::kNone; }
    bool isAnimationTimerRunning() const { return mTimerRunning; }
    bool isFocusPoint(const CGraphPoint* point) const { return point && point == mHoverPoint; }
    CGraphPoint* currentHoverPoint() const { return mHoverPoint; }

protected:
    virtual void instantiateScaleDrawers();
    virtual void initPlotseriesKeys();
    virtual void calculateScalePropertiesForPlotSeries(const CPlotSerie& serie, const std::string& key);
    virtual void addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key);
    // Whether the series takes the model line (all do by default).
    virtual bool takesLine(const std::string&, const ChartLine&) const { return true; }
    virtual CGraphPoint* getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const;
    // None: the series leaves the element out.
    virtual std::unique_ptr<CGraphPoint> makePointForCategory(const std::string& key, int green) const;
    virtual void setGrahpPointDescriptors(DateT start, DateT end, const ChartElement& element,
                                          CGraphPoint& point) const;
    virtual void drawSmoothedSurface(ChartCanvas&, const CPlotSerie&) {}
    // Whether points read running balances (runningBalanceOf).
    virtual bool usesRunningBalances() const { return false; }
    // Whether the series take model lines (takesLine, CGraphPoint::addLine):
    // then an analysis array's lines are read without making their items.
    virtual bool spreadsModelLines() const { return false; }
    // The kind of booking of a point's first element, or line.
    static int greenCodeOf(const ChartElement& element);
    static int greenCodeOf(const ChartLine& line);

    void setReinstantiateUponArrayChange(bool on) { mReinstantiate = on; }
    void setKeys(std::vector<std::string> keys) { mPlotSeriesKeys = std::move(keys); }
    void setScaleDrawers(std::shared_ptr<CScaleDrawer> left, std::shared_ptr<CScaleDrawer> right,
                         std::shared_ptr<CScaleDrawer> bottom, std::shared_ptr<CScaleDrawer> top);
    void setFrames(int current, int count);
    void setHoverPoint(CGraphPoint* point) { mHoverPoint = point; }
    void restoreLimits(double minLeft, double maxLeft, double minRight, double maxRight)
    {
        mMinLeft = minLeft;
        mMaxLeft = maxLeft;
        mMinRight = minRight;
        mMaxRight = maxRight;
    }
    void requestRedraw();
    void startAnimation(int type);
    void stopAnimationTimer();
    std::uint32_t ticksNow() const;

private:
    // What the chart shows from now on (one of the three), then a refill.
    void follow(std::shared_ptr<CAnalysisArrayEncaplusator> array, std::optional<ChartElements> elements,
                std::optional<ChartLineSource> lines);
    void instantiatePlotSeries();
    void calculatePoints();
    void calculateRunningBalances() const;
    // Reads the source's lines with their running balances (when the chart
    // keeps balances) and their first and last date.
    std::vector<ChartLine> readLines();
    // The followed array's lines, when the chart spreads model lines.
    ChartLineSource linesOfArray() const;
    void spreadLines(const std::vector<ChartLine>& lines);
    void calculateNumberOfPoints();
    void resetLimits();
    void placeScales(ChartCanvas* canvas);
    void drawBorder(ChartCanvas& canvas);

    CNonVisualDataItem::Ptr mDataItem;
    std::shared_ptr<CAnalysisArrayEncaplusator> mAnalysisArray;
    ChartElements mElements;
    bool mHasElements = false;
    ChartLineSource mLineSource;
    bool mHasLines = false;
    // The first and last date of the source's lines when last read.
    DateT mFirstLineDate = 0, mLastLineDate = 0;
    std::size_t mLinesRead = 0;
    mutable std::unordered_map<const CNonVisual*, double> mRunningBalances;
    mutable bool mRunningBalancesKnown = false;
    // The point key of the transaction date last asked (getPointForDetail).
    // The elements' transaction dates, read once per list.
    std::vector<DateT> mElementDates;
    // The line being spread over the series, and its date.
    struct CurrentLine {
        const CDebetItem* line = nullptr;
        DateT date = 0;
    } mCurrentLine;
    struct KeyOfDate {
        DateT date;
        int periodicity;
        std::string key;
    };
    mutable std::optional<KeyOfDate> mLastKey;

    double mMaxLeft = kResetMaximum, mMinLeft = 0.0, mMaxRight = kResetMaximum, mMinRight = 0.0;
    int mPeriodicity = kMonth;
    DateT mMinDateValue = 0;
    DateT mMaxDateValue = 0;
    int mPoints = 0;
    std::shared_ptr<CScaleDrawer> mLeftScaleDrawer, mRightScaleDrawer, mBottomScaleDrawer, mTopScaleDrawer;
    std::vector<std::pair<std::string, std::unique_ptr<CPlotSerie>>> mPlotSeries;
    std::vector<std::string> mPlotSeriesKeys;
    bool mReinstantiate = false;
    CGraphPoint* mHoverPoint = nullptr;
    int mCurrentFrame = 1;
    int mNumberOfFrames = 1;
    int mAnimation = chart_animation::kNone;
    int mFramesPerSecond = 24;
    bool mTimerRunning = false;
    std::uint32_t mPointChangedAt = 0;
    bool mLeftLine = false, mRightLine = false, mTopLine = false, mBottomLine = false;

    ChartHost* mHost = nullptr;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
    const ReportTextMeasurer* mMeasurer = nullptr;
    std::function<std::uint32_t()> mTicks;
    PointDetailWindowFactory mWindowFactory;
};

} // namespace ch
