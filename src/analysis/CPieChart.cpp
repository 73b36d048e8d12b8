#include "analysis/CPieChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bridge/AccountAncestor.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CategoryAncestor.h"
#include "bridge/DeveloperLog.h"
#include "bridge/TextColours.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/foundation/AmountRounding.h"
#include "platform/core/four_char_code.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

constexpr FourCharCode kDebit = fourCC("DebT");
constexpr FourCharCode kCredit = fourCC("CreT");
constexpr float kDegreesToRadians = 0.0174532925f;

Colour withAlpha(Colour colour, double alpha)
{
    colour.alpha = std::clamp(alpha, 0.0, 1.0);
    return colour;
}

// The line's account or category name; the item's name for anything else.
std::string wedgeName(const ChartElement& element)
{
    if (!element) return "????";
    if (const CDebetItem* line = asLineItem(element)) return line->getAccountName();
    return element->getName();
}

} // namespace

// --- the two-pie chart

void CPieChart::initPlotseriesKeys()
{
    setKeys({"DEBET", "CREDIT"});
    setReinstantiateUponArrayChange(true);
    setFrames(1, kFrames);
}

void CPieChart::addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key)
{
    const CDebetItem* line = asLineItem(element);
    const double amount = line ? localAmountOf(*line) : 0.0;
    const FourCharCode type = line ? line->getType() : 0;
    bool takes = true;
    if (key == "DEBET") takes = amount >= 0 ? type == kDebit : type == kCredit;
    if (key == "CREDIT") takes = amount < 0 ? type == kDebit : type == kCredit;
    if (takes) CGraph::addDetailToGraph(element, instantiate, key);
}

CGraphPoint* CPieChart::getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const
{
    const CDebetItem* line = asLineItem(element);
    if (!line) {
        developerLog("Must get a debetItem here! error. CPieChart, getPointForDetail");
        return nullptr;
    }
    return serie.objectForKey(line->getAccountName());
}

std::unique_ptr<CGraphPoint> CPieChart::makePointForCategory(const std::string& key, int green) const
{
    const bool red = key == "DEBET" ? green != 4 : green == 4;
    if (red) return std::make_unique<CPiechartGraphPointRed>(this);
    return std::make_unique<CPiechartGraphPoint>(this);
}

void CPieChart::setGrahpPointDescriptors(DateT start, DateT end, const ChartElement& element, CGraphPoint& point) const
{
    point.setStartDate(start, end, element);
}

ChartPoint CPieChart::getGraphOrigin(const CPlotSerie& serie) const
{
    const float n = static_cast<float>(std::max<std::size_t>(numberOfPlotSeries(), 1));
    const float i = static_cast<float>(std::max(indexOfSerie(serie), 0));
    const float column = viewWidth() / n;
    return {i * (column - 1) + column / 2, viewHeight() / 2};
}

ChartRect CPieChart::getGraphBounds(const CPlotSerie& serie) const
{
    const std::size_t n = numberOfPlotSeries();
    if (n <= 1) return {0, 0, viewWidth(), viewHeight()};
    const float column = viewWidth() / static_cast<float>(n);
    return {static_cast<float>(std::max(indexOfSerie(serie), 0)) * column, 0, column, viewHeight()};
}

float CPieChart::getXPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const
{
    // Shares of the amounts of the pie's sign: an amount of the other sign
    // (a negative balance among positive ones) has no wedge, nor has a pie
    // whose amounts are all 0 to the cent.
    double positive = 0.0, negative = 0.0;
    for (const CGraphPoint* each : serie.points()) {
        const double amount = shareOf(*each);
        (amount > 0 ? positive : negative) += std::fabs(amount);
    }
    const bool negativePie = negative > positive;
    const double base = negativePie ? negative : positive;
    const double amount = shareOf(point);
    if (roundedAmount(base, 2) == 0.0 || (negativePie ? amount >= 0 : amount <= 0)) return 0.0f;
    return static_cast<float>(std::fabs(amount) / base * 360.0);
}

double CPieChart::shareOf(const CGraphPoint& point) const
{
    return point.getAmount();
}

double CAccountTypePieChart::shareOf(const CGraphPoint& point) const
{
    // The balance with its sign.
    return point.value();
}

float CPieChart::getYPositionForPoint(const CGraphPoint&, const CPlotSerie&) const
{
    // Each pie fits its own column, with a line of label room above and
    // below it: a label finds a place off the pie however narrow the column.
    const float column = viewWidth() / static_cast<float>(std::max<std::size_t>(numberOfPlotSeries(), 1));
    TextAttributes label;
    label.font = {"Helvetica", false, 9.0f};
    const float labelRoom = measurer().sizeOfText("0", label).height + 8.0f;
    return std::max(0.0f, std::min(column / 2 - 10, viewHeight() / 2 - labelRoom));
}

void CPieChart::mouseMoved(ChartPoint location)
{
    CGraphPoint* wedge = getPointForLocation(location);
    if (wedge && wedge != currentHoverPoint()) {
        setHoverPoint(wedge);
        accentuatePie(wedge, chart_animation::kAccentuate);
    } else if (!wedge && currentHoverPoint()) {
        accentuatePie(currentHoverPoint(), chart_animation::kRelease);
        setHoverPoint(nullptr);
    }
}

void CPieChart::mouseExited()
{
    if (currentHoverPoint()) accentuatePie(currentHoverPoint(), chart_animation::kRelease);
    setHoverPoint(nullptr);
}

void CPieChart::accentuatePie(CGraphPoint*, int type)
{
    startAnimation(type);
}

// --- single pies

void CExpenseTypePieChart::initPlotseriesKeys()
{
    setKeys({"POSITION"});
    setReinstantiateUponArrayChange(true);
    setFrames(1, kFrames);
}

std::unique_ptr<CGraphPoint> CExpenseTypePieChart::makePointForCategory(const std::string&, int) const
{
    auto wedge = std::make_unique<CPositionPieChartGraphPoint>(this);
    wedge->setColor(mBaseColor);
    return wedge;
}

void CAccountTypePieChart::initPlotseriesKeys()
{
    setKeys({"ACNT"});
    setReinstantiateUponArrayChange(true);
    setFrames(1, kFrames);
}

CGraphPoint* CAccountTypePieChart::getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const
{
    if (!element) return nullptr;
    return serie.objectForKey(std::to_string(element->getId().value_or(0)));
}

std::unique_ptr<CGraphPoint> CAccountTypePieChart::makePointForCategory(const std::string&, int) const
{
    return std::make_unique<CAccountPiechartGraphPoint>(this);
}

// --- wedges

double CPiechartGraphPoint::getAmount() const
{
    return std::fabs(mValue);
}

bool CPiechartGraphPoint::addDetail(const ChartElement& element)
{
    mDetails.push_back(element);
    if (const CDebetItem* line = asLineItem(element)) mValue += std::fabs(localAmountOf(*line));
    return true;
}

bool CPiechartGraphPoint::isBefore(const CGraphPoint& other) const
{
    return getAmount() > other.getAmount();
}

std::string CPiechartGraphPoint::getKey() const
{
    return mCategoryObject ? wedgeName(mCategoryObject) : getSortKey();
}

std::string CPiechartGraphPoint::getCategoryAsString(bool) const
{
    return wedgeName(mCategoryObject);
}

void CPiechartGraphPoint::makeBezierCurveFromPoint(CGraphPoint* previous)
{
    mSweep = mX;
    const float start = previous ? previous->mXPosition() : 0.0f;
    mX = start + mSweep;
    mPos = previous ? previous->mPosition() + 1 : 1;
    // Without a share: neither a wedge nor a label.
    if (mSweep <= 0.0f) {
        mPath.reset();
        theRect = {};
        return;
    }
    ChartShape wedge;
    wedge.kind = ChartShape::Kind::Wedge;
    wedge.centre = mGraphOrigin;
    wedge.radius = mY;
    wedge.startAngle = start;
    wedge.endAngle = mX;
    wedge.rect = {mGraphOrigin.x - mY, mGraphOrigin.y - mY, 2 * mY, 2 * mY};
    theRect = wedge.rect;
    mPath = wedge;
}

ChartPoint CPiechartGraphPoint::getTouchPoint() const
{
    const float angle = getCentreAngle() * kDegreesToRadians;
    return {mGraphOrigin.x + mY * std::cos(angle), mGraphOrigin.y + mY * std::sin(angle)};
}

std::string CPiechartGraphPoint::getPointLegend() const
{
    return legendNamed(getCategoryAsString(true));
}

std::string CPiechartGraphPoint::legendNamed(const std::string& name) const
{
    const float percentage = mSweep / 360.0f * 100.0f;
    const std::string amount = CNSNumberAmountTBridge::NSNumberToNSString(mValue);
    if (percentage > 99.9f) return name + ",(" + amount + ")";
    char text[32];
    std::snprintf(text, sizeof text, "%2.2f", static_cast<double>(percentage));
    std::string number = text;
    const std::string separator = UserDefaults::standard().stringForKey("NSDecimalSeparator");
    if (!separator.empty()) number.replace(number.find('.'), 1, separator);
    return name + ", " + number + "%, (" + amount + ")";
}

ChartRect CPiechartGraphPoint::getTextRect(const ChartRect& bounds)
{
    if (mTextRect.width > 0 && mTextRect.height > 0) return mTextRect;
    const ChartRect inner = bounds.grownBy(-4.0f);
    const TextAttributes attributes = getStringAttributes(chart_animation::kNone, 0, 0, false);
    // A label wider than the chart loses the end of its name, never its figures.
    std::string name = getCategoryAsString(true);
    mLegend = legendNamed(name);
    ReportSize size = mGraph->measurer().sizeOfText(mLegend, attributes);
    while (size.width > inner.width && !name.empty()) {
        // One character off, however many bytes it takes.
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) name.pop_back();
        if (!name.empty()) name.pop_back();
        mLegend = legendNamed(name.empty() ? name : name + "\u2026");
        size = mGraph->measurer().sizeOfText(mLegend, attributes);
    }
    const float w = size.width, h = size.height, gap = 4.0f;
    const float angle = getCentreAngle() * kDegreesToRadians;
    const float c = std::cos(angle), s = std::sin(angle);
    const ChartPoint touch{mGraphOrigin.x + (mY + gap) * c, mGraphOrigin.y + (mY + gap) * s};
    float x = c >= 0 ? touch.x : touch.x - w;
    float y = s >= 0 ? touch.y : touch.y - h;
    const auto keepInside = [&] {
        x = std::clamp(x, inner.x, std::max(inner.x, inner.right() - w));
        y = std::clamp(y, inner.y, std::max(inner.y, inner.top() - h));
    };
    // Whether the rectangle covers part of the pie.
    const auto overPie = [&] {
        const float nx = std::clamp(mGraphOrigin.x, x, x + w) - mGraphOrigin.x;
        const float ny = std::clamp(mGraphOrigin.y, y, y + h) - mGraphOrigin.y;
        return nx * nx + ny * ny < mY * mY;
    };
    keepInside();
    if (overPie()) {
        // No room beside the pie: above or below it, centred on the wedge's side.
        x = touch.x - w / 2;
        y = s >= 0 ? mGraphOrigin.y + mY + gap : mGraphOrigin.y - mY - gap - h;
        keepInside();
    }
    mTextRect = {x, y, w, h};
    return mTextRect;
}

void CPiechartGraphPoint::drawLegendFromPreviousPoint(ChartCanvas& canvas, CGraphPoint* previous,
                                                      const ChartRect& bounds, int animation, int step, int steps,
                                                      bool focus, bool textOnly)
{
    if (!textOnly && !focus) {
        mTextRect = {};
        return;
    }
    const ChartRect rect = getTextRect(bounds);
    drawText(canvas, mLegend, rect, dynamic_cast<CPiechartGraphPoint*>(previous), bounds, animation, step, steps,
             focus);
}

bool CPiechartGraphPoint::drawText(ChartCanvas& canvas, const std::string& text, const ChartRect& rect,
                                   CPiechartGraphPoint* previous, const ChartRect& bounds, int animation, int step,
                                   int steps, bool focus)
{
    mPreviousPoint = previous;
    mTextDrawn = false;
    const TextAttributes attributes = getStringAttributes(animation, step, steps, focus);
    if (!(previous && previous->areTextRectsOverlapping(rect, bounds))) {
        canvas.drawText(text, rect, attributes);
        mTextDrawn = true;
    }
    if (animation != chart_animation::kNone && focus && mPath) {
        const ChartShadow shadow{8.0f, -8.0f, 3.0f, {0.0, 0.0, 0.0, 0.3}};
        canvas.fillShape(*mPath, getFillColor(animation, step, steps, focus), shadow);
        canvas.strokeShape(*mPath, getStrokeColor(animation, step, steps, focus));
        ChartShape box;
        box.rect = rect.grownBy(3.0f);
        canvas.fillShape(box, {1.0, 1.0, 0.75, 0.75}, shadow);
        // The label stays readable on its box.
        canvas.drawText(text, rect, attributes);
        mTextDrawn = true;
    }
    return mTextDrawn;
}

bool CPiechartGraphPoint::areTextRectsOverlapping(const ChartRect& rect, const ChartRect& bounds)
{
    for (CPiechartGraphPoint* wedge = this; wedge; wedge = wedge->mPreviousPoint) {
        if (!wedge->mTextDrawn) continue;
        const ChartRect mine = wedge->getTextRect(bounds);
        // Any overlap counts: a wider label can cover a narrower one without
        // a corner of either inside the other.
        if (rect.x < mine.right() && mine.x < rect.right() && rect.y < mine.top() && mine.y < rect.top())
            return true;
        if (wedge->mPreviousPoint == this) break;
    }
    return false;
}

float CPiechartGraphPoint::getAlphaValue() const
{
    const float s = startAngle() / 720.0f;
    if (mCount == 0) return 1.0f - s;
    const float share = 1.0f / static_cast<float>(mCount);
    return share > 0.2f ? 1.0f - (s - (share - 0.2f)) : 1.0f - s;
}

float CPiechartGraphPoint::getAlphaValueForCurrentValue(float v, int step, int steps, int animation, bool focus)
{
    if (animation == chart_animation::kNone || steps == 0) return v;
    const float t = static_cast<float>(step) / static_cast<float>(steps);
    const float last = lastAlphaValue;
    float result = v;
    if (animation == chart_animation::kAccentuate) {
        if (focus)
            result = v > last ? last + (v - last) * t : v;
        else {
            result = (v - t * v) + 0.1f;
            if (last != 0 && result > last) result = last;
        }
    } else if (!focus) {
        result = t * v;
        if (last != 0 && result < last) result = last;
    }
    lastAlphaValue = result;
    return result;
}

float CPiechartGraphPoint::getTextAlphaValueForCurrentValue(float, int step, int steps, int animation, bool focus)
{
    if (animation == chart_animation::kNone || steps == 0) return 1.0f;
    const float t = static_cast<float>(step) / static_cast<float>(steps);
    const float last = lastTextAlphaValue;
    const float result = animation == chart_animation::kAccentuate && !focus ? std::min(1.0f - t, last)
                                                                               : std::max(t, last);
    lastTextAlphaValue = result;
    return result;
}

float CPiechartGraphPoint::animatedOpacity(int animation, int step, int steps, bool focus)
{
    return getAlphaValueForCurrentValue(getAlphaValue(), step, steps, animation, focus);
}

Colour CPiechartGraphPoint::baseFillColour() const
{
    if (auto* category = dynamic_cast<const CategoryAncestor*>(mCategoryObject.get())) return category->chartColor();
    return getGreenColor();
}

Colour CPiechartGraphPoint::getFillColor(int animation, int step, int steps, bool focus)
{
    return withAlpha(baseFillColour(), animatedOpacity(animation, step, steps, focus));
}

ChartStroke CPiechartGraphPoint::getStrokeColor(int animation, int step, int steps, bool focus)
{
    const Colour darkGrey{1.0 / 3.0, 1.0 / 3.0, 1.0 / 3.0, 1.0};
    if (!focus) return {darkGrey, 1.0f, 1.0f, false};
    const float opacity = std::clamp(getAlphaValueForCurrentValue(1.0f, step, steps, animation, focus), 0.0f, 1.0f);
    return {darkGrey, 3.0f * opacity, 2.0f, true};
}

TextAttributes CPiechartGraphPoint::getStringAttributes(int animation, int step, int steps, bool focus)
{
    TextAttributes attributes;
    attributes.font = {"Helvetica", false, 9.0f};
    attributes.foreground.alpha =
        std::clamp(static_cast<double>(getTextAlphaValueForCurrentValue(1.0f, step, steps, animation, focus)), 0.0, 1.0);
    return attributes;
}

Colour CPiechartGraphPointRed::baseFillColour() const
{
    if (auto* category = dynamic_cast<const CategoryAncestor*>(mCategoryObject.get())) return category->chartColor();
    return getRedColor();
}

ChartStroke CPiechartGraphPointRed::getStrokeColor(int animation, int step, int steps, bool focus)
{
    const Colour colour{233.0 / 255 * 0.5, 24.0 / 255 * 0.5, 28.0 / 255 * 0.5, 1.0};
    if (!focus) return {colour, 1.0f, 1.0f, false};
    const float opacity = std::clamp(getAlphaValueForCurrentValue(1.0f, step, steps, animation, focus), 0.0f, 1.0f);
    return {colour, 5.0f * opacity, 2.0f, true};
}

bool CPositionPieChartGraphPoint::addDetail(const ChartElement& element)
{
    const CDebetItem* line = asLineItem(element);
    if (!line) return false;
    mDetails.push_back(element);
    mValue += localAmountOf(*line);
    return true;
}

Colour CPositionPieChartGraphPoint::getFillColor(int animation, int step, int steps, bool focus)
{
    // The colour of the category or group the lines book on; accounts have none.
    if (const CDebetItem* line = asLineItem(mCategoryObject)) {
        const Colour own = line->getAccountColor();
        if (!own.isWhite() && !(own.red == 0 && own.green == 0 && own.blue == 0)) return own;
    }
    const float opacity = animatedOpacity(animation, step, steps, focus);
    if (mBaseColor) return withAlpha(*mBaseColor, opacity);
    return withAlpha({0.0, 1.0, 0.0, 1.0}, opacity);   // hue 1/3, full saturation and brightness
}

bool CAccountPiechartGraphPoint::addDetail(const ChartElement& element)
{
    if (!element) return false;
    double balance = 0.0;
    if (auto* category = dynamic_cast<const CategoryAncestor*>(element.get()))
        balance = category->getBalance().value_or(0.0);
    else
        balance = element->getLocalBalance().value_or(0.0);
    mValue += balance;
    mDetails.push_back(element);
    if (const auto* account = dynamic_cast<const CAccount*>(element->getSourceItem())) {
        if (account->thisIsAProfitAndLossAccount())
            mIsGreen = balance >= 0;
        else if (account->thisIsAPropretyAccount())
            mIsGreen = true;
    } else if (const auto* type = dynamic_cast<const CAccType*>(element->getSourceItem())) {
        if (type->thisIsAProfitAndLossAccount())
            mIsGreen = balance >= 0;
        else if (type->thisIsAPropretyAccount())
            mIsGreen = true;
    }
    return true;
}

std::string CAccountPiechartGraphPoint::getKey() const
{
    return mCategoryObject ? std::to_string(mCategoryObject->getId().value_or(0)) : getSortKey();
}

Colour CAccountPiechartGraphPoint::baseFillColour() const
{
    if (auto* category = dynamic_cast<const CategoryAncestor*>(mCategoryObject.get())) return category->chartColor();
    return mIsGreen ? getGreenColor() : getRedColor();
}

void CAccountPiechartGraphPoint::showPointDetails()
{
    LineItemArray lines;
    if (mDetails.size() == 1) {
        const ChartElement& item = mDetails.front();
        if (auto* account = dynamic_cast<AccountAncestor*>(item.get()))
            lines = account->allTransactionDetails();
        else if (auto* category = dynamic_cast<CExpTItem*>(item.get()))
            lines = category->forTransactionDetails();
        else if (auto* group = dynamic_cast<CMxpTItem*>(item.get()))
            lines = group->forTransactionDetails();
    }
    openDetailWindow(ChartElements(lines.begin(), lines.end()));
}

} // namespace ch
