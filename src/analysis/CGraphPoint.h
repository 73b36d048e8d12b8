#pragma once
// CGraphPoint: one point of a chart series: a period of a time chart or an
// account or category of a pie. It collects the elements (normally booking
// line items) that fall into it, or counts the model lines that do, and their
// total, keeps its place once the
// chart has laid it out, draws its shape, connector and label, answers hit
// tests and opens a detail window of its lines. Bars, dots and wedges are
// subclasses. Positions are y-up in the chart's units.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ChartCanvas.h"
#include "analysis/CPrintStyle.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CDebetItem;
class CGraph;

using ChartElement = std::shared_ptr<CNonVisualDataItem>;
using ChartElements = std::vector<ChartElement>;

// Animation codes of every drawing operation.
namespace chart_animation {
inline constexpr int kAccentuate = 0;
inline constexpr int kRelease = 1;
inline constexpr int kNone = 2;
} // namespace chart_animation

// The dates of a point that stands for an object rather than a period.
inline constexpr DateT kObjectPointEndDate = 50001212;

// The window a point opens on click; closed when it is destroyed.
class PointDetailWindow {
public:
    virtual ~PointDetailWindow() = default;
    virtual void show() = 0;
};

// The element as a booking line item; null for anything else.
const CDebetItem* asLineItem(const ChartElement& element);
// The line's local amount; 0 without one.
double localAmountOf(const CDebetItem& line);

// What a chart reads of one booking line, read once for all its series.
// A chart fed with model lines fills every field; one fed with line items
// fills what its rules ask for (amount and code of category lines, the
// balance of the line that is newest so far).
struct ChartLine {
    DateT date = 0;
    ObjectIdT id = 0;
    FourCharCode type = 0;
    double amount = 0.0;
    // CDebetItem::profitAndLossCodeOf the line's account or category.
    int profitAndLoss = 3;
    // The running balance after the line in the list drawn.
    double balance = 0.0;
};

class CGraphPoint {
public:
    explicit CGraphPoint(const CGraph* graph) : mGraph(graph) {}
    virtual ~CGraphPoint();
    CGraphPoint(const CGraphPoint&) = delete;
    CGraphPoint& operator=(const CGraphPoint&) = delete;

    // Forgets object, value, details and layout; the dates stay.
    virtual void initialize();
    // A 0 date or no object leaves the old value.
    void setStartDate(DateT start, DateT end, ChartElement object);
    // Appends the element; a line adds its local amount, a category line with
    // a negative amount its magnitude.
    virtual bool addDetail(const ChartElement& element);
    // Counts a model line in and adds its value as addDetail does; the chart
    // makes the lines' items only when the point's detail window opens.
    virtual void addLine(const ChartLine& line);

    DateT getStartDate() const { return mStartDate; }
    DateT getEndDate() const { return mEndDate; }
    const ChartElement& categoryObject() const { return mCategoryObject; }
    virtual double getAmount() const { return mValue; }
    double value() const { return mValue; }
    // The elements; for model lines, their items, made when first asked.
    const ChartElements& details() const;
    // The elements or model lines the point holds.
    std::size_t detailCount() const { return mLineCount > 0 ? mLineCount : mDetails.size(); }
    virtual bool isEmpty() const { return mDetails.empty() && mLineCount == 0; }

    // The key the series stores the point under: the object's, else the start date.
    virtual std::string getKey() const;
    std::string getSortKey() const;
    // Whether this point is drawn before the other (dates ascending).
    virtual bool isBefore(const CGraphPoint& other) const;
    // The object's name; else "start<->end : amount" (one line) or with a break.
    virtual std::string getCategoryAsString(bool oneLine) const;
    std::string description() const { return getCategoryAsString(false); }

    // --- layout
    float mXPosition() const { return mX; }
    float mYPosition() const { return mY; }
    unsigned mPosition() const { return mPos; }
    unsigned mNumberOf() const { return mCount; }
    void setMAantal(unsigned count) { mCount = count; }
    const ChartRect& getRect() const { return theRect; }
    ChartPoint getCenter() const { return {theRect.x + theRect.width / 2, theRect.y + theRect.height / 2}; }
    const std::optional<ChartShape>& shape() const { return mPath; }
    // Rebuilds the shape only when the position or the origin changed.
    void setPosition(float x, float y, ChartPoint origin, float horizontalStep, float verticalStep,
                     CGraphPoint* previous);
    bool isPointInPath(ChartPoint location);

    // --- drawing
    void plotFromPreviousPoint(ChartCanvas& canvas, CGraphPoint* previous, const ChartRect& bounds, int animation,
                               int step, int steps, bool focus, bool textOnly);
    virtual void drawPointConnector(ChartCanvas&, CGraphPoint*, bool /*keepY*/) {}
    virtual void drawLegendFromPreviousPoint(ChartCanvas& canvas, CGraphPoint* previous, const ChartRect& bounds,
                                             int animation, int step, int steps, bool focus, bool textOnly);
    void drawFinalFocusAdornments(ChartCanvas& canvas, const ChartRect& bounds, int animation, int step, int steps);

    virtual Colour getFillColor(int animation, int step, int steps, bool focus);
    virtual ChartStroke getStrokeColor(int animation, int step, int steps, bool focus);
    virtual float getAlphaValueForCurrentValue(float value, int, int, int, bool) { return value; }
    virtual float getTextAlphaValueForCurrentValue(float value, int, int, int, bool) { return value; }
    virtual TextAttributes getStringAttributes(int animation, int step, int steps, bool focus);

    // The cached label rectangle, or the label placed at the last hit location.
    virtual ChartRect getTextRect(const ChartRect& bounds);
    // The label of the text touching the point in the quadrant (1 to 4), kept
    // inside the bounds less 10.
    ChartRect getTextRectForText(const std::string& text, ChartPoint touch, int quadrant, const ChartRect& bounds);

    // Opens the detail window, made on first use.
    virtual void showPointDetails();
    PointDetailWindow* detailWindow() const { return mWindowController.get(); }

protected:
    // What a line adds to the value.
    virtual void addValueOf(const ChartLine& line);
    virtual void makeBezierCurveFromPoint(CGraphPoint* previous);
    void openDetailWindow(const ChartElements& lines);

    const CGraph* mGraph;
    DateT mStartDate = 0;
    DateT mEndDate = 0;
    ChartElement mCategoryObject;
    double mValue = 0.0;
    mutable ChartElements mDetails;
    std::size_t mLineCount = 0;
    mutable bool mLineItemsMade = false;
    float mX = 0.0f;
    float mY = 0.0f;
    float mHorizontalStepWidth = 0.0f;
    float mVerticalStepWidth = 0.0f;
    ChartPoint mGraphOrigin;
    bool mLaidOut = false;
    std::optional<ChartShape> mPath;
    ChartRect theRect;
    std::unique_ptr<PointDetailWindow> mWindowController;
    unsigned mPos = 0;
    unsigned mCount = 0;
    float lastAlphaValue = 0.0f;
    float lastTextAlphaValue = 1.0f;
    ChartRect mTextRect;
    ChartPoint lastTestedPoint;
    std::optional<ChartShadow> pointShadow;
};

} // namespace ch
