#include "analysis/CScaleDrawer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/CGraph.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/DeveloperLog.h"

namespace ch {

namespace {

constexpr Colour kLabelGreen{0.003922, 0.396078, 0.003922, 1.0};
constexpr double kMarginRangeTop = 1000000.0;
// Grid lines stay in the background of the bars and dots.
constexpr Colour kGridColour{0.82, 0.82, 0.82, 1.0};

} // namespace

void CScaleDrawer::drawLeftScaleFrom(double, double, bool, CScaleDrawer*, CScaleDrawer*, ChartCanvas*) {}
void CScaleDrawer::drawRightScaleFrom(double, double, bool, CScaleDrawer*, CScaleDrawer*, ChartCanvas*) {}
void CScaleDrawer::drawDateScaleFrom(DateT, DateT, bool, CScaleDrawer*, CScaleDrawer*, ChartCanvas*) {}
void CScaleDrawer::drawTopScaleFrom(DateT, DateT, bool, CScaleDrawer*, CScaleDrawer*, ChartCanvas*) {}

float CScaleDrawer::viewWidth() const
{
    return theGraphToDraw ? theGraphToDraw->viewWidth() : 0.0f;
}

float CScaleDrawer::viewHeight() const
{
    return theGraphToDraw ? theGraphToDraw->viewHeight() : 0.0f;
}

const ReportTextMeasurer& CScaleDrawer::measurer() const
{
    static const CGraph none;
    return theGraphToDraw ? theGraphToDraw->measurer() : none.measurer();
}

int CScaleDrawer::getLeftMarginForRangeFrom(double, double to) const
{
    char text[32];
    const double top = std::clamp(to, -2.0e9, 2.0e9);
    std::snprintf(text, sizeof text, "%d.00", static_cast<int>(top));
    const TextAttributes attributes = CScaleDrawer::getStringAttributes(true);
    const float m = measurer().sizeOfText(text, attributes).width + 2 * measurer().sizeOfText("0", attributes).width;
    const int margin = static_cast<int>(m);
    return 6.0f * static_cast<float>(margin) < viewWidth() ? margin : 10;
}

float CScaleDrawer::getHorizontalStepwidth() const
{
    const float available = viewWidth() - mLeft - mRight;
    return mPeriods >= 1.0f ? available / mPeriods : available;
}

float CScaleDrawer::getXPositionForStep(int step) const
{
    return (static_cast<float>(step) + mStepOffset) * getHorizontalStepwidth() + mLeft;
}

float CScaleDrawer::getYPositionForValue(double value, bool) const
{
    const float height = viewHeight();
    if (value > mMax) {
        developerLog("Max value > current value. Should not happen. See CSCaleDrawer getYPositionForValue");
        return height - mTop;
    }
    if (mMax > 0.0) return mZeroMargin + static_cast<float>((height - mTop - mZeroMargin) * value / mMax);
    // A scale whose top is 0: the values run down from the zero line over the
    // room below it.
    if (mMax - mMin > 0.0) return mZeroMargin + static_cast<float>((height - mTop - mBottom) * value / (mMax - mMin));
    return mZeroMargin;
}

TextAttributes CScaleDrawer::getStringAttributes(bool) const
{
    TextAttributes attributes;
    attributes.font = {"Helvetica", false, 9.0f};
    attributes.foreground = kLabelGreen;
    return attributes;
}

float CScaleDrawer::nextHalf(float x)
{
    const float r = std::round(x);
    return x > r ? r + 0.5f : r - 0.5f;
}

double CScaleDrawer::normalizeValue(double value)
{
    const double sign = value < 0 ? -1.0 : 1.0;
    const double magnitude = value * sign;
    if (!(magnitude >= 1.0)) return 0.0;
    // log10 of an exact power of ten may land just below the whole number.
    double power = std::pow(10.0, std::floor(std::log10(magnitude)));
    if (power * 10.0 <= magnitude) power *= 10.0;
    if (power > magnitude) power /= 10.0;
    return (std::floor(magnitude / power) + 1.0) * power * sign;
}

void CScaleDrawer::setMMaxValue(double value)
{
    if (value != mMax) mMax = normalizeValue(value);
}

// --- dates along the bottom

int CDateCategoryScaleDrawer::getDateMarginForRangeFrom(DateT, DateT) const
{
    return static_cast<int>(2 * measurer().sizeOfText("01-01-2000", getStringAttributes(true)).height);
}

void CDateCategoryScaleDrawer::drawDateScaleFrom(DateT from, DateT to, bool grid, CScaleDrawer* left,
                                                 CScaleDrawer* right, ChartCanvas* canvas)
{
    if (!theGraphToDraw) return;
    const int l = left ? left->getLeftMarginForRangeFrom(0, kMarginRangeTop) : 0;
    const int r = right ? right->getRightMarginOffsetForRangeFrom(0, kMarginRangeTop) : 0;
    const int d = getDateMarginForRangeFrom(from, to);
    const TextAttributes attributes = getStringAttributes(true);
    const ReportSize label = measurer().sizeOfText("10-10-2002", attributes);
    const int steps = theGraphToDraw->getNumberOfStepsInGraph();

    mZeroMargin = mBottom = static_cast<float>(d);
    mTop = 0.0f;
    mLeft = static_cast<float>(l);
    mRight = static_cast<float>(r);
    // One slot per period, the newest included, each position in its middle.
    mPeriods = static_cast<float>(steps + 1);
    mStepOffset = 0.5f;
    mStepX = -1.0f;
    mStepY = getHorizontalStepwidth();
    if (!canvas) return;

    const float width = viewWidth(), height = viewHeight();
    float lastX = -1000.0f;
    for (int step = 0; step <= steps; ++step) {
        const float x = getXPositionForStep(step);
        if (!(x - lastX - 5.0f > label.width)) continue;
        const float textX = std::clamp(x - label.width / 2, 0.0f, std::max(0.0f, width - label.width));
        const std::string text = CNSStringDateTBridge::dateTToNSString(theGraphToDraw->getDateValueForStep(step));
        canvas->drawText(text, {textX, label.height / 2, label.width, label.height}, attributes);
        if (grid) canvas->drawLine({nextHalf(x), nextHalf(height)}, {nextHalf(x), nextHalf(static_cast<float>(d))}, kGridColour);
        lastX = x;
    }
}

// --- amounts on the left and right

double CBarchartAxisScaleDrawer::readableStep(double atLeast)
{
    if (!(atLeast > 0)) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(atLeast)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (factor * power >= atLeast * (1 - 1e-12)) return factor * power;
    return 10.0 * power;
}

int CBarchartAxisScaleDrawer::intervalsForLabelRows(int n)
{
    return n < 6 ? 5 : n < 11 ? 10 : n < 16 ? 15 : 20;
}

TextAttributes CBarchartAxisScaleDrawer::getStringAttributes(bool atTheLeft) const
{
    TextAttributes attributes = CScaleDrawer::getStringAttributes(atTheLeft);
    attributes.alignment = TextAlignment::Right;
    if (!atTheLeft) attributes.foreground = {0.0, 0.0, 1.0, 1.0};
    return attributes;
}

void CBarchartAxisScaleDrawer::drawLeftScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom,
                                                 CScaleDrawer* top, ChartCanvas* canvas)
{
    drawScaleFrom(from, to, grid, bottom, top, true, canvas);
}

void CBarchartAxisScaleDrawer::drawRightScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom,
                                                  CScaleDrawer* top, ChartCanvas* canvas)
{
    drawScaleFrom(from, to, grid, bottom, top, false, canvas);
}

void CBarchartAxisScaleDrawer::drawScaleFrom(double from, double to, bool grid, CScaleDrawer* bottom,
                                             CScaleDrawer* top, bool atTheLeft, ChartCanvas* canvas)
{
    const float d = bottom ? static_cast<float>(bottom->getDateMarginForRangeFrom(0, 0)) : 0.0f;
    const int l = getLeftMarginForRangeFrom(0, kMarginRangeTop);
    const int r = getRightMarginOffsetForRangeFrom(0, kMarginRangeTop);
    const TextAttributes attributes = getStringAttributes(atTheLeft);
    const ReportSize label = measurer().sizeOfText("1000.000.00", attributes);
    const float t = top ? static_cast<float>(top->getTopMarginForRangeFrom(0, 0)) : 0.0f;
    const float width = viewWidth(), height = viewHeight();
    const float room = height - d - t;

    const int n = label.height > 0 ? static_cast<int>(room / (2 * label.height)) : 0;
    int intervals = intervalsForLabelRows(n);
    double low = from < 0 ? normalizeValue(from) : 0.0;
    double high = to > 0 ? normalizeValue(to) : 0.0;
    // A readable step (1, 2, 2.5 or 5 times a power of ten) with 0 on a
    // grid line; the ends widen to whole steps, and fewer steps may do.
    if (high - low > 0) {
        const double step = readableStep((high - low) / intervals);
        low = std::floor(low / step + 1e-9) * step;
        high = std::ceil(high / step - 1e-9) * step;
        intervals = std::max(1, static_cast<int>(std::lround((high - low) / step)));
    }
    const float pixelStep = room / static_cast<float>(intervals);
    const double valueStep = (high - low) / intervals;

    mZeroMargin = low >= 0 || high - low <= 0 ? d : d + static_cast<float>(-low / (high - low)) * room;
    mTop = t;
    mBottom = d;
    mLeft = static_cast<float>(l);
    mRight = static_cast<float>(r);
    mStepX = -1.0f;
    mStepY = pixelStep;
    mMin = low;
    mMax = high;
    if (!canvas) return;

    const bool gridLines = grid && l > 10 && r > 10;
    const bool labels = atTheLeft ? l > 10 : r > 10;
    for (int i = 0; i <= intervals; ++i) {
        const double value = low + i * valueStep;
        const float y = d + static_cast<float>(i) * pixelStep;
        const float labelY = std::min(y - label.height / 2, height - label.height);
        if (labels) {
            const float x = atTheLeft ? 0.0f : width - static_cast<float>(l);
            canvas->drawText(CNSNumberAmountTBridge::NSNumberToNSString(value), {x, labelY, label.width, label.height},
                             attributes);
        }
        if (gridLines) {
            const float lineY = nextHalf(std::min(y, height));
            canvas->drawLine({nextHalf(static_cast<float>(l)), lineY}, {nextHalf(width - static_cast<float>(r)), lineY},
                             kGridColour);
        }
    }
}

} // namespace ch
