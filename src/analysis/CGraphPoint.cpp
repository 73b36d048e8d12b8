#include "analysis/CGraphPoint.h"

#include <cmath>
#include <typeinfo>

#include "analysis/CGraph.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/TextColours.h"
#include "platform/core/four_char_code.h"

namespace ch {

const CDebetItem* asLineItem(const ChartElement& element)
{
    // Asked several times for every line of a chart: the exact type is
    // checked first, far cheaper than a cast through the hierarchy.
    const CNonVisualDataItem* item = element.get();
    if (!item) return nullptr;
    if (typeid(*item) == typeid(CDebetItem)) return static_cast<const CDebetItem*>(item);
    return dynamic_cast<const CDebetItem*>(item);
}

double localAmountOf(const CDebetItem& line)
{
    return line.getLocalAmount().value_or(0.0);
}

CGraphPoint::~CGraphPoint() = default;

void CGraphPoint::initialize()
{
    mCategoryObject.reset();
    mValue = 0.0;
    mX = mY = 0.0f;
    mHorizontalStepWidth = mVerticalStepWidth = 0.0f;
    mGraphOrigin = {};
    mLaidOut = false;
    mDetails.clear();
    mLineCount = 0;
    mLineItemsMade = false;
}

void CGraphPoint::setStartDate(DateT start, DateT end, ChartElement object)
{
    if (start > 0) mStartDate = start;
    if (end > 0) mEndDate = end;
    if (object) mCategoryObject = std::move(object);
}

bool CGraphPoint::addDetail(const ChartElement& element)
{
    mDetails.push_back(element);
    if (const CDebetItem* line = asLineItem(element)) {
        ChartLine read;
        read.type = line->getType();
        read.amount = localAmountOf(*line);
        addValueOf(read);
    }
    return true;
}

void CGraphPoint::addLine(const ChartLine& line)
{
    ++mLineCount;
    addValueOf(line);
}

void CGraphPoint::addValueOf(const ChartLine& line)
{
    mValue += line.type == fourCC("ExtD") && line.amount < 0 ? -line.amount : line.amount;
}

std::string CGraphPoint::getKey() const
{
    return mCategoryObject ? mCategoryObject->getName() : getSortKey();
}

std::string CGraphPoint::getSortKey() const
{
    return std::to_string(mStartDate);
}

bool CGraphPoint::isBefore(const CGraphPoint& other) const
{
    // Eight-digit dates: their decimal texts sort as the numbers do.
    return mStartDate < other.mStartDate;
}

std::string CGraphPoint::getCategoryAsString(bool oneLine) const
{
    if (mCategoryObject) return mCategoryObject->getName();
    return CNSStringDateTBridge::dateTToNSString(mStartDate) + "<->" + CNSStringDateTBridge::dateTToNSString(mEndDate) +
           (oneLine ? " : " : " \n") + CNSNumberAmountTBridge::NSNumberToNSString(mValue);
}

void CGraphPoint::setPosition(float x, float y, ChartPoint origin, float horizontalStep, float verticalStep,
                              CGraphPoint* previous)
{
    if (mLaidOut && x == mX && y == mY && origin == mGraphOrigin) return;
    mX = x;
    mY = y;
    mGraphOrigin = origin;
    mHorizontalStepWidth = horizontalStep;
    mVerticalStepWidth = verticalStep;
    mLaidOut = true;
    mTextRect = {};
    makeBezierCurveFromPoint(previous);
}

void CGraphPoint::makeBezierCurveFromPoint(CGraphPoint*)
{
    theRect = {mGraphOrigin.x, mGraphOrigin.y, 12.0f, 12.0f};
    mPath.reset();
}

bool CGraphPoint::isPointInPath(ChartPoint location)
{
    if (!mPath || !mPath->contains(location)) return false;
    lastTestedPoint = location;
    return true;
}

void CGraphPoint::plotFromPreviousPoint(ChartCanvas& canvas, CGraphPoint* previous, const ChartRect& bounds,
                                        int animation, int step, int steps, bool focus, bool textOnly)
{
    if (isEmpty()) {
        drawPointConnector(canvas, previous, true);
        return;
    }
    if (mPath) {
        const Colour fill = getFillColor(animation, step, steps, focus);
        const ChartStroke stroke = getStrokeColor(animation, step, steps, focus);
        if (!textOnly) {
            canvas.fillShape(*mPath, fill, pointShadow);
            canvas.strokeShape(*mPath, stroke);
        }
        drawLegendFromPreviousPoint(canvas, previous, bounds, animation, step, steps, focus, textOnly);
    }
    if (previous) drawPointConnector(canvas, previous, false);
}

void CGraphPoint::drawLegendFromPreviousPoint(ChartCanvas& canvas, CGraphPoint*, const ChartRect& bounds,
                                              int animation, int step, int steps, bool focus, bool)
{
    if (!focus || step != steps || !mPath) return;
    const float w = theRect.width;
    const ChartShadow shadow{w / 2, -w / 2, 3.0f, {0.0, 0.0, 0.0, 0.3}};
    canvas.fillShape(*mPath, getFillColor(animation, step, steps, focus), shadow);
    canvas.strokeShape(*mPath, getStrokeColor(animation, step, steps, focus));
    const ChartRect label = getTextRect(bounds);
    ChartShape box;
    box.rect = label.grownBy(3.0f);
    canvas.fillShape(box, {1.0, 1.0, 0.75, 0.9}, shadow);
    canvas.drawText(description(), label, getStringAttributes(animation, step, steps, focus));
}

void CGraphPoint::drawFinalFocusAdornments(ChartCanvas& canvas, const ChartRect& bounds, int animation, int, int)
{
    drawLegendFromPreviousPoint(canvas, nullptr, bounds, animation, 1, 1, true, true);
}

Colour CGraphPoint::getFillColor(int, int, int, bool)
{
    Colour colour = getGreenColor();
    colour.alpha = 0.5;
    return colour;
}

ChartStroke CGraphPoint::getStrokeColor(int, int, int, bool)
{
    return {{0.0, 1.0, 0.0, 1.0}, 1.0f, 1.0f, false};
}

TextAttributes CGraphPoint::getStringAttributes(int, int, int, bool)
{
    TextAttributes attributes;
    attributes.font = {"Helvetica", false, 9.0f};
    return attributes;
}

ChartRect CGraphPoint::getTextRect(const ChartRect& bounds)
{
    if (mTextRect.width > 0 && mTextRect.height > 0) return mTextRect;
    mTextRect = getTextRectForText(description(), lastTestedPoint, 1, bounds);
    return mTextRect;
}

ChartRect CGraphPoint::getTextRectForText(const std::string& text, ChartPoint touch, int quadrant,
                                          const ChartRect& bounds)
{
    const ChartRect inner = bounds.grownBy(-10.0f);
    const ReportSize size = mGraph->measurer().sizeOfText(text, getStringAttributes(chart_animation::kNone, 0, 0, false));
    float x = quadrant == 1 || quadrant == 4 ? touch.x : touch.x - size.width;
    if (x < inner.x) x = inner.x;
    if (x + size.width > inner.right()) x -= x + size.width - inner.right();
    float y = touch.y;
    if (mPath && (mPath->contains({x, y}) || mPath->contains({x + size.width, y}))) y += size.height / 2;
    if (y + size.height > inner.height) y = inner.height - size.height;
    if (y < 0) y = 0;
    return {x, y, size.width, size.height};
}

const ChartElements& CGraphPoint::details() const
{
    if (mLineCount > 0 && !mLineItemsMade && mGraph) {
        mDetails = mGraph->lineItemsOf(*this);
        mLineItemsMade = true;
    }
    return mDetails;
}

void CGraphPoint::showPointDetails()
{
    openDetailWindow(details());
}

void CGraphPoint::openDetailWindow(const ChartElements& lines)
{
    if (!mWindowController && mGraph->detailWindowFactory()) {
        Colour colour = getFillColor(chart_animation::kNone, 1, 100, true);
        colour.alpha = 1.0;
        mWindowController = mGraph->detailWindowFactory()(lines, getCategoryAsString(true), colour);
    }
    if (mWindowController) mWindowController->show();
}

} // namespace ch
