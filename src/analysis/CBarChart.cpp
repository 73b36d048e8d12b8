#include "analysis/CBarChart.h"

#include <algorithm>
#include <cmath>

#include "bridge/CDebetItem.h"
#include "bridge/TextColours.h"
#include "platform/core/four_char_code.h"

namespace ch {

namespace {

constexpr FourCharCode kDebit = fourCC("DebT");
constexpr FourCharCode kCredit = fourCC("CreT");
constexpr FourCharCode kCategoryLine = fourCC("ExtD");
constexpr int kIncomeCategory = 1;
constexpr int kExpenseCategory = 0;

Colour withAlpha(Colour colour, double alpha)
{
    colour.alpha = alpha;
    return colour;
}

} // namespace

void CBarChart::instantiateScaleDrawers()
{
    auto dates = std::make_shared<CDateCategoryScaleDrawer>();
    setScaleDrawers(std::make_shared<CBarchartAxisScaleDrawer>(), std::make_shared<CBarchartAxisScaleDrawer>(), dates,
                    dates);
}

void CBarChart::initPlotseriesKeys()
{
    setKeys({"IN", "OUT", "POSITION"});
}

void CBarChart::calculateScalePropertiesForPlotSeries(const CPlotSerie& serie, const std::string& key)
{
    // Only one side widens: remember the other and put it back.
    const double minLeft = mMinAmountLeft(), maxLeft = mMaxAmountLeft();
    const double minRight = mMinAmountRight(), maxRight = mMaxAmountRight();
    CGraph::calculateScalePropertiesForPlotSeries(serie, key);
    if (key == "POSITION")
        restoreLimits(minLeft, maxLeft, mMinAmountRight(), mMaxAmountRight());
    else
        restoreLimits(mMinAmountLeft(), mMaxAmountLeft(), minRight, maxRight);
}

bool CBarChart::seriesTakes(const std::string& key, const ChartElement& element)
{
    const CDebetItem* item = asLineItem(element);
    if (!item) return false;
    // Amount and code count for category lines only.
    ChartLine line;
    line.type = item->getType();
    if (line.type == kCategoryLine) {
        line.amount = localAmountOf(*item);
        line.profitAndLoss = item->isOnPLAccount();
    }
    return seriesTakes(key, line);
}

bool CBarChart::seriesTakes(const std::string& key, const ChartLine& line)
{
    const FourCharCode type = line.type;
    if (type != kCategoryLine) {
        if (key == "IN") return type == kCredit;
        if (key == "OUT") return type == kDebit;
        return key == "POSITION";
    }
    const double amount = line.amount;
    const int code = line.profitAndLoss;
    if (key == "IN") return (code == kIncomeCategory && amount >= 0) || (code == kExpenseCategory && amount < 0);
    if (key == "OUT") return (code == kIncomeCategory && amount < 0) || (code == kExpenseCategory && amount >= 0);
    if (key == "POSITION") return code == kIncomeCategory || code == kExpenseCategory;
    return false;
}

void CBarChart::addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key)
{
    if (seriesTakes(key, element)) CGraph::addDetailToGraph(element, instantiate, key);
}

std::unique_ptr<CGraphPoint> CBarChart::makePointForCategory(const std::string& key, int green) const
{
    const bool profitAndLoss = green == 4;
    if (key == "IN")
        return profitAndLoss ? std::unique_ptr<CGraphPoint>(std::make_unique<CBarchartGraphPointRed>(this))
                             : std::make_unique<CBarchartGraphPointGreen>(this);
    if (key == "OUT")
        return profitAndLoss ? std::unique_ptr<CGraphPoint>(std::make_unique<CBarchartGraphPointGreen>(this))
                             : std::make_unique<CBarchartGraphPointRed>(this);
    if (key == "POSITION") return std::make_unique<CPointGraphPoint>(this);
    return nullptr;
}

std::vector<std::vector<ChartPoint>> CBarChart::smoothedSurface(const CPlotSerie& serie) const
{
    std::vector<std::vector<ChartPoint>> surface;
    const std::vector<CGraphPoint*> points = serie.sortedPoints();
    const float base = bottomScaleDrawer() ? bottomScaleDrawer()->mBottomMargin() : 0.0f;
    if (points.empty()) return surface;
    float previousHeight = points.front()->mYPosition();
    for (std::size_t i = 1; i < points.size(); ++i) {
        const CGraphPoint& previous = *points[i - 1];
        const CGraphPoint& point = *points[i];
        const CGraphPoint& next = i + 1 < points.size() ? *points[i + 1] : point;
        const float height = (point.mYPosition() + previous.mYPosition() + next.mYPosition()) / 3;
        surface.push_back({{previous.mXPosition(), previousHeight},
                           {point.mXPosition(), height},
                           {point.mXPosition(), base},
                           {previous.mXPosition(), base}});
        previousHeight = height;
    }
    return surface;
}

void CBarChart::drawSmoothedSurface(ChartCanvas& canvas, const CPlotSerie& serie)
{
    const Colour fill{170.0 / 255, 177.0 / 255, 229.0 / 255, 0.5};
    const Colour top{105.0 / 255, 108.0 / 255, 134.0 / 255, 1.0};
    const std::vector<std::vector<ChartPoint>> surface = smoothedSurface(serie);
    if (surface.empty()) return;
    // The quadrilaterals stand side by side on one base: filled as the one
    // polygon they make (along their tops, back along the base).
    std::vector<ChartPoint> outline;
    outline.reserve(surface.size() + 3);
    outline.push_back(surface.front()[0]);
    for (const std::vector<ChartPoint>& corners : surface) outline.push_back(corners[1]);
    outline.push_back(surface.back()[2]);
    outline.push_back(surface.front()[3]);
    for (const std::vector<ChartPoint>& corners : surface) canvas.drawLine(corners[0], corners[1], Colour::black());
    canvas.fillPolygon(outline, fill);
    for (const std::vector<ChartPoint>& corners : surface) canvas.drawLine(corners[0], corners[1], top);
}

// --- bars

void CBarchartGraphPoint::makeBezierCurveFromPoint(CGraphPoint*)
{
    // From the zero line (the origin's height when every value is 0 or more).
    const float zero = mGraph->leftScaleDrawer() ? mGraph->leftScaleDrawer()->getZeroMargin() : mGraphOrigin.y;
    ChartRect rect{mX, std::min(mY, zero), mHorizontalStepWidth / 3, std::fabs(mY - zero)};
    rect.x = wrapAroundVerticalGrid(rect);
    theRect = rect;
    mPath = ChartShape{ChartShape::Kind::Rectangle, rect, {}, 0, 0, 0};
}

ChartStroke CBarchartGraphPoint::getStrokeColor(int animation, int step, int steps, bool focus)
{
    return {withAlpha(getFillColor(animation, step, steps, focus), 1.0), 1.0f, 1.0f, false};
}

Colour CBarchartGraphPointGreen::getFillColor(int, int, int, bool)
{
    return withAlpha(getGreenColor(), 0.5);
}

Colour CBarchartGraphPointRed::getFillColor(int, int, int, bool)
{
    return withAlpha(getRedColor(), 0.5);
}

// --- position dots

void CPointGraphPoint::initialize()
{
    mLastDate = 0;
    mMaximumObjectId = 0;
    CGraphPoint::initialize();
}

bool CPointGraphPoint::addDetail(const ChartElement& element)
{
    const CDebetItem* item = asLineItem(element);
    if (!item) return false;
    ChartLine line;
    line.date = item->getTransactionDate();
    line.id = item->getId().value_or(0);
    line.type = item->getType();
    if (line.type == kCategoryLine) {
        line.amount = localAmountOf(*item);
        line.profitAndLoss = item->isOnPLAccount();
    } else if (isNewest(line)) {
        // The balance in the list drawn, not the one left on the shared line.
        std::optional<double> balance = mGraph ? mGraph->runningBalanceOf(*item) : std::nullopt;
        line.balance = balance ? *balance : item->getCumulativeAmount().value_or(0.0);
    }
    addValueOf(line);
    return true;
}

void CPointGraphPoint::addValueOf(const ChartLine& line)
{
    if (line.type != kCategoryLine) {
        if (isNewest(line)) {
            mValue = line.balance;
            mLastDate = line.date;
            mMaximumObjectId = line.id;
        }
        return;
    }
    mMaximumObjectId = line.id;
    if (line.profitAndLoss == kIncomeCategory) mValue += line.amount;
    if (line.profitAndLoss == kExpenseCategory) mValue -= line.amount;
}

void CPointGraphPoint::makeBezierCurveFromPoint(CGraphPoint*)
{
    const float size = std::clamp(mHorizontalStepWidth / 3, 5.0f, 12.0f);
    theRect = {mX - size / 2, mY - size / 2, size, size};
    mPath = ChartShape{ChartShape::Kind::Oval, theRect, {}, 0, 0, 0};
    pointShadow = ChartShadow{size / 2, -size / 2, 3.0f, {0.0, 0.0, 0.0, 0.3}};
}

Colour CPointGraphPoint::getFillColor(int, int, int, bool)
{
    return mValue < 0 ? Colour{1.0, 0.0, 0.0, 0.5} : Colour{0.0, 0.0, 1.0, 0.5};
}

ChartStroke CPointGraphPoint::getStrokeColor(int animation, int step, int steps, bool focus)
{
    return {withAlpha(getFillColor(animation, step, steps, focus), 1.0), 1.0f, 1.0f, false};
}

void CPointGraphPoint::drawPointConnector(ChartCanvas& canvas, CGraphPoint* previous, bool keepY)
{
    if (!previous) return;
    const Colour brown{0.6, 0.4, 0.2, 1.0};
    const ChartPoint from = previous->getCenter();
    if (keepY) {
        theRect.y = from.y - theRect.height / 2;
        canvas.drawLine(from, {getCenter().x, from.y}, brown);
        return;
    }
    canvas.drawLine(from, getCenter(), brown);
}

} // namespace ch
