#include "analysis/CGraph.h"

#include <algorithm>
#include <chrono>
#include <typeinfo>

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/DeveloperLog.h"
#include "model/CAnalysisArray.h"
#include "model/CDebit.h"
#include "model/foundation/CDate.h"
#include "platform/core/four_char_code.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// Sizes estimated from the text alone, for a chart that has no device yet.
class EstimatingMeasurer : public ReportTextMeasurer {
public:
    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override
    {
        return {static_cast<float>(text.size()) * attributes.font.size * 0.55f, attributes.font.size * 1.2f};
    }
};

// The object as a booking line; null for anything else. Read for every line
// of a chart: the exact classes are checked before a cast through the hierarchy.
const CDebit* modelLineOf(const CNonVisual* object)
{
    if (!object) return nullptr;
    const std::type_info& type = typeid(*object);
    if (type == typeid(CDebit) || type == typeid(CCredit) || type == typeid(CExptypeDetail))
        return static_cast<const CDebit*>(object);
    return dynamic_cast<const CDebit*>(object);
}

// What a chart reads of a model line; the code of the line's account or
// category is read again only when it differs from the line before's.
class ChartLineReader {
public:
    ChartLine read(const CDebit& line)
    {
        ChartLine read;
        read.date = line.Get_mDate();
        read.id = line.Get_Id();
        read.type = line.Get_ObjectType();
        read.amount = line.Get_mLocalAmount();
        const CNonVisual* account = line.Get_mAccountPtr();
        if (!mKnown || account != mAccount) {
            mAccount = account;
            mCode = CDebetItem::profitAndLossCodeOf(account);
            mKnown = true;
        }
        read.profitAndLoss = mCode;
        return read;
    }

private:
    const CNonVisual* mAccount = nullptr;
    int mCode = 3;
    bool mKnown = false;
};

} // namespace

CGraph::~CGraph()
{
    // Points may hold windows that report back; drop them before the rest.
    mHoverPoint = nullptr;
    mPlotSeries.clear();
}

void CGraph::initialize()
{
    mPeriodicity = kMonth;
    mHoverPoint = nullptr;
    mCurrentFrame = mNumberOfFrames = 1;
    mAnimation = chart_animation::kNone;
    mFramesPerSecond = 24;
    mTimerRunning = false;
    mPlotSeries.clear();
    mReinstantiate = false;
    resetLimits();
    mPlotSeriesKeys.clear();
    instantiateScaleDrawers();
    initPlotseriesKeys();
    getInitialPeriodToGraph();
    mLeftLine = mRightLine = mTopLine = mBottomLine = false;
    mPointChangedAt = 0;
}

void CGraph::instantiateScaleDrawers()
{
    auto drawer = std::make_shared<CScaleDrawer>();
    setScaleDrawers(drawer, drawer, drawer, drawer);
}

void CGraph::initPlotseriesKeys()
{
    setKeys({"MAIN"});
}

void CGraph::setScaleDrawers(std::shared_ptr<CScaleDrawer> left, std::shared_ptr<CScaleDrawer> right,
                             std::shared_ptr<CScaleDrawer> bottom, std::shared_ptr<CScaleDrawer> top)
{
    for (const auto* drawer : {&left, &right, &bottom, &top})
        if (*drawer) (*drawer)->setGraph(this);
    mLeftScaleDrawer = std::move(left);
    mRightScaleDrawer = std::move(right);
    mBottomScaleDrawer = std::move(bottom);
    mTopScaleDrawer = std::move(top);
}

void CGraph::setFrames(int current, int count)
{
    mCurrentFrame = current;
    mNumberOfFrames = count;
}

void CGraph::setViewSize(float width, float height)
{
    mWidth = width;
    mHeight = height;
}

const ReportTextMeasurer& CGraph::measurer() const
{
    static const EstimatingMeasurer estimate;
    return mMeasurer ? *mMeasurer : estimate;
}

std::uint32_t CGraph::ticksNow() const
{
    if (mTicks) return mTicks();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count() * 60 / 1000);
}

// --- following an array

void CGraph::follow(std::shared_ptr<CAnalysisArrayEncaplusator> array, std::optional<ChartElements> elements,
                    std::optional<ChartLineSource> lines)
{
    mAnalysisArray = std::move(array);
    mHasElements = elements.has_value();
    mElements = mHasElements ? std::move(*elements) : ChartElements{};
    mElementDates.clear();
    mHasLines = lines.has_value();
    mLineSource = mHasLines ? std::move(*lines) : linesOfArray();
    analysisArrayChanged();
}

bool CGraph::synchronizeWithArray(std::shared_ptr<CAnalysisArrayEncaplusator> array)
{
    if (array) mDataItem = array->sourceItemAsDataItem();
    follow(std::move(array), std::nullopt, std::nullopt);
    requestRedraw();
    return true;
}

bool CGraph::synchronizeWithElements(ChartElements elements)
{
    follow(nullptr, std::move(elements), std::nullopt);
    requestRedraw();
    return true;
}

bool CGraph::synchronizeWithLines(ChartLineSource source)
{
    follow(nullptr, std::nullopt, std::move(source));
    requestRedraw();
    return true;
}

bool CGraph::syncronizeWithObject(const CNonVisualDataItem::Ptr& item)
{
    // The same item may come with a list rebuilt after a booking: the chart
    // must not go on showing the lines it read before.
    std::shared_ptr<CAnalysisArrayEncaplusator> array = item ? item->getAnalysisArray() : nullptr;
    if (item == mDataItem && array == mAnalysisArray) return true;
    mDataItem = item;
    follow(std::move(array), std::nullopt, std::nullopt);
    return true;
}

void CGraph::resetLimits()
{
    mMaxLeft = mMaxRight = kResetMaximum;
    mMinLeft = mMinRight = 0.0;
}

void CGraph::analysisArrayChanged()
{
    // Nothing may point into the points about to go: the hover point, and a
    // running animation whose ticks would redraw them.
    mHoverPoint = nullptr;
    stopAnimationTimer();
    mAnimation = chart_animation::kNone;
    mCurrentFrame = 1;

    for (CScaleDrawer* drawer : {mLeftScaleDrawer.get(), mRightScaleDrawer.get()})
        if (drawer) drawer->setMMaxValue(0.0);
    resetLimits();
    // Each line's date is read once per refill: reaching it goes through the
    // line to its transaction, and the passes below ask it again and again.
    mElementDates.clear();
    if (mHasElements) {
        mElementDates.reserve(mElements.size());
        for (const ChartElement& element : mElements) {
            const CDebetItem* line = asLineItem(element);
            mElementDates.push_back(line ? line->getTransactionDate() : 0);
        }
    }
    // An array's lines are read as model lines too (when the chart spreads
    // them), within the period shown rather than over their own range.
    const bool readsLines = static_cast<bool>(mLineSource.lines);
    std::vector<ChartLine> lines;
    if (readsLines) lines = readLines();
    getInitialPeriodToGraph();
    mLastKey.reset();
    if (mPlotSeries.empty()) instantiatePlotSeries();
    for (auto& [key, serie] : mPlotSeries) {
        if (mReinstantiate)
            serie->removeAllObjects();
        else
            serie->initialize();
    }
    if (readsLines)
        spreadLines(lines);
    else
        calculatePoints();
}

ChartLineSource CGraph::linesOfArray() const
{
    if (!mAnalysisArray || !spreadsModelLines()) return {};
    const std::shared_ptr<CAnalysisArrayEncaplusator> array = mAnalysisArray;
    return {[array] {
                std::vector<CNonVisual*> lines;
                lines.reserve(array->count());
                array->forEachLine([&lines](CNonVisual* line) { lines.push_back(line); });
                return lines;
            },
            [array](CNonVisual* line) -> ChartElement { return array->makeDebetItemForDebT(line); }};
}

std::vector<ChartLine> CGraph::readLines()
{
    std::vector<ChartLine> read;
    mFirstLineDate = mLastLineDate = 0;
    mLinesRead = 0;
    if (!mLineSource.lines) return read;
    const std::vector<CNonVisual*> lines = mLineSource.lines();
    mLinesRead = lines.size();
    const bool balances = usesRunningBalances();
    std::vector<double> changes;
    read.reserve(lines.size());
    if (balances) changes.reserve(lines.size());
    ChartLineReader reader;
    for (CNonVisual* object : lines) {
        const CDebit* line = modelLineOf(object);
        if (!line) continue;
        read.push_back(reader.read(*line));
        const DateT date = read.back().date;
        mFirstLineDate = mFirstLineDate == 0 ? date : std::min(mFirstLineDate, date);
        mLastLineDate = std::max(mLastLineDate, date);
        if (balances) changes.push_back(CAnalysisArray::BalanceChangeOf(*line));
    }
    if (!balances) return read;
    // Oldest first, then by line id, as a list of the lines' items keeps them.
    std::vector<std::size_t> order(read.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto before = [&read](std::size_t a, std::size_t b) {
        return read[a].date != read[b].date ? read[a].date < read[b].date : read[a].id < read[b].id;
    };
    if (!std::is_sorted(order.begin(), order.end(), before)) std::stable_sort(order.begin(), order.end(), before);
    double balance = 0.0;
    for (std::size_t i : order) {
        balance += changes[i];
        read[i].balance = balance;
    }
    return read;
}

void CGraph::spreadLines(const std::vector<ChartLine>& lines)
{
    // Nothing asks for balances: the lines carry theirs.
    mRunningBalances.clear();
    mRunningBalancesKnown = true;
    // Each series' points by the start of their period; lines of one date
    // come together, so the period of the date before is asked again and again.
    std::vector<std::unordered_map<DateT, CGraphPoint*>> points(mPlotSeries.size());
    std::optional<DateT> lastDate;
    DateT start = 0;
    for (const ChartLine& line : lines) {
        if (line.date < mMinDateValue || line.date > mMaxDateValue) continue;
        if (line.date != lastDate) {
            lastDate = line.date;
            start = getStartdateForTransactiondate(line.date);
        }
        for (std::size_t s = 0; s < mPlotSeries.size(); ++s) {
            const auto& [key, serie] = mPlotSeries[s];
            if (!takesLine(key, line)) continue;
            CGraphPoint*& point = points[s][start];
            if (!point) {
                std::unique_ptr<CGraphPoint> made = makePointForCategory(key, greenCodeOf(line));
                if (!made) continue;
                setGrahpPointDescriptors(start, getEnddateForStartDate(start), nullptr, *made);
                point = made.get();
                const std::string pointKey = made->getKey();
                serie->setObjectForKey(std::move(made), pointKey);
            }
            point->addLine(line);
        }
    }
}

ChartElements CGraph::lineItemsOf(const CGraphPoint& point) const
{
    ChartElements items;
    if (!mLineSource.lines || !mLineSource.itemOf) return items;
    const std::string* key = nullptr;
    for (const auto& [name, serie] : mPlotSeries)
        if (serie->containsPoint(&point)) key = &name;
    if (!key) return items;
    ChartLineReader reader;
    for (CNonVisual* object : mLineSource.lines()) {
        const CDebit* line = modelLineOf(object);
        if (!line) continue;
        const ChartLine read = reader.read(*line);
        if (read.date < point.getStartDate() || read.date > point.getEndDate() || !takesLine(*key, read)) continue;
        if (ChartElement item = mLineSource.itemOf(object)) items.push_back(std::move(item));
    }
    return items;
}

void CGraph::instantiatePlotSeries()
{
    for (const std::string& key : mPlotSeriesKeys) mPlotSeries.emplace_back(key, std::make_unique<CPlotSerie>());
}

void CGraph::calculateRunningBalances() const
{
    mRunningBalances.clear();
    mRunningBalancesKnown = true;
    if (!usesRunningBalances()) return;
    struct Step {
        DateT date;
        ObjectIdT id;
        const CNonVisual* line;
        double change;
    };
    std::vector<Step> steps;
    const auto add = [&](const ChartElement& element, std::optional<DateT> date) {
        const CDebetItem* item = asLineItem(element);
        const CDebit* line = item ? modelLineOf(item->getSourceItem()) : nullptr;
        if (!line) return;
        steps.push_back({date ? *date : item->getTransactionDate(), item->getId().value_or(0), line,
                         CAnalysisArray::BalanceChangeOf(*line)});
    };
    // A chart of model lines (an array's too) carries its balances on the
    // lines it reads: only a plain list of items is left to ask here.
    if (!mHasElements) return;
    steps.reserve(mElements.size());
    for (std::size_t i = 0; i < mElements.size(); ++i)
        add(mElements[i], i < mElementDates.size() ? std::optional<DateT>(mElementDates[i]) : std::nullopt);
    mRunningBalances.reserve(steps.size());
    std::stable_sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) {
        return a.date != b.date ? a.date < b.date : a.id < b.id;
    });
    double balance = 0.0;
    for (const Step& step : steps) {
        balance += step.change;
        mRunningBalances[step.line] = balance;
    }
}

std::optional<double> CGraph::runningBalanceOf(const CDebetItem& line) const
{
    if (!mRunningBalancesKnown) calculateRunningBalances();
    const auto found = mRunningBalances.find(line.getSourceItem());
    if (found == mRunningBalances.end()) return std::nullopt;
    return found->second;
}

void CGraph::calculatePoints()
{
    mRunningBalances.clear();
    mRunningBalancesKnown = false;
    const auto take = [&](const ChartElement& element, std::optional<DateT> knownDate) {
        if (const CDebetItem* line = asLineItem(element)) {
            const DateT date = knownDate ? *knownDate : line->getTransactionDate();
            if (date < mMinDateValue || date > mMaxDateValue) return;
            mCurrentLine = {line, date};
        }
        for (const auto& [key, serie] : mPlotSeries) addDetailToGraph(element, true, key);
        mCurrentLine = {};
    };
    if (mHasElements) {
        for (std::size_t i = 0; i < mElements.size(); ++i)
            take(mElements[i], i < mElementDates.size() ? std::optional<DateT>(mElementDates[i]) : std::nullopt);
        return;
    }
    if (!mAnalysisArray) return;
    const auto enumerator = mAnalysisArray->objectEnumerator();
    enumerator->setPeriodAware(true, mMinDateValue, mMaxDateValue);
    while (auto line = enumerator->nextObject()) take(line, std::nullopt);
}

void CGraph::getInitialPeriodToGraph()
{
    const DateT today = CDate::GetNowAsDateT();
    if (mHasLines && mLastLineDate > 0) {
        // Model lines show all of their own, as a plain list does.
        mMinDateValue = mFirstLineDate;
        mMaxDateValue = mLastLineDate;
        return;
    }
    if (mHasElements) {
        // A plain list shows all of its own lines.
        DateT first = 0, last = 0;
        for (std::size_t i = 0; i < mElements.size(); ++i)
            if (const CDebetItem* line = asLineItem(mElements[i])) {
                const DateT date = i < mElementDates.size() ? mElementDates[i] : line->getTransactionDate();
                first = first == 0 ? date : std::min(first, date);
                last = std::max(last, date);
            }
        if (last > 0) {
            mMinDateValue = first;
            mMaxDateValue = last;
            return;
        }
    }
    const int margin = mLeftScaleDrawer ? mLeftScaleDrawer->getLeftMarginForRangeFrom(mMinLeft, mMaxLeft) : 10;
    if (margin <= 10) {
        // Only a narrow chart needs the latest booking: finding it reads every line.
        DateT latest = today;
        if (mAnalysisArray) {
            DateT minDate = 0, maxDate = 0;
            mAnalysisArray->getMinDate(minDate, maxDate);
            if (maxDate != 0) latest = maxDate;
        }
        mMaxDateValue = latest;
        mMinDateValue = latest - 10000;
        return;
    }
    const UserDefaults& defaults = UserDefaults::standard();
    mMinDateValue = today - 20000;
    if (defaults.boolForKey("GXGraphStartDateAutomaticFlag") && defaults.contains("GXGraphDateFrom"))
        mMinDateValue = static_cast<DateT>(defaults.integerForKey("GXGraphDateFrom"));
    mMaxDateValue = today;
    if (defaults.boolForKey("GXGraphEndDateAutomaticFlag") && defaults.contains("GXGraphDateTo"))
        mMaxDateValue = static_cast<DateT>(defaults.integerForKey("GXGraphDateTo"));
}

int CGraph::greenCodeOf(const ChartElement& element)
{
    const CDebetItem* item = asLineItem(element);
    if (!item) return 3;
    ChartLine line;
    line.profitAndLoss = item->isOnPLAccount();
    line.type = item->getType();
    if (line.type == fourCC("ExtD")) line.amount = localAmountOf(*item);
    return greenCodeOf(line);
}

int CGraph::greenCodeOf(const ChartLine& line)
{
    int code = line.profitAndLoss;
    if (line.type == fourCC("ExtD") && line.amount < 0) {
        if (code == 1)
            code = 0;
        else if (code == 0)
            code = 1;
    }
    return code;
}

void CGraph::addDetailToGraph(const ChartElement& element, bool instantiate, const std::string& key)
{
    CPlotSerie* serie = plotSerie(key);
    if (!serie) return;
    if (CGraphPoint* point = getPointForDetail(element, *serie)) {
        point->addDetail(element);
        return;
    }
    if (!instantiate) return;
    DateT start = 0, end = kObjectPointEndDate;
    if (const CDebetItem* line = asLineItem(element)) {
        start = getStartdateForTransactiondate(line->getTransactionDate());
        end = getEnddateForStartDate(start);
    }
    std::unique_ptr<CGraphPoint> point = makePointForCategory(key, greenCodeOf(element));
    if (!point) return;
    setGrahpPointDescriptors(start, end, element, *point);
    point->addDetail(element);
    const std::string pointKey = point->getKey();
    serie->setObjectForKey(std::move(point), pointKey);
}

CGraphPoint* CGraph::getPointForDetail(const ChartElement& element, const CPlotSerie& serie) const
{
    const CDebetItem* line = asLineItem(element);
    if (!line) {
        developerLog("Must get a debetItem here! error. CGraph, getPointForDetail");
        return nullptr;
    }
    // Lines come in date order: the key of the last date is asked again and again.
    const DateT date = mCurrentLine.line == line ? mCurrentLine.date : line->getTransactionDate();
    if (!mLastKey || mLastKey->date != date || mLastKey->periodicity != mPeriodicity)
        mLastKey = KeyOfDate{date, mPeriodicity, std::to_string(getStartdateForTransactiondate(date))};
    return serie.objectForKey(mLastKey->key);
}

std::unique_ptr<CGraphPoint> CGraph::makePointForCategory(const std::string&, int) const
{
    return std::make_unique<CGraphPoint>(this);
}

void CGraph::setGrahpPointDescriptors(DateT start, DateT end, const ChartElement&, CGraphPoint& point) const
{
    point.setStartDate(start, end, nullptr);
}

CPlotSerie* CGraph::plotSerie(const std::string& key) const
{
    for (const auto& [name, serie] : mPlotSeries)
        if (name == key) return serie.get();
    return nullptr;
}

int CGraph::indexOfSerie(const CPlotSerie& serie) const
{
    for (std::size_t i = 0; i < mPlotSeries.size(); ++i)
        if (mPlotSeries[i].second.get() == &serie) return static_cast<int>(i);
    return -1;
}

// --- periods

DateT CGraph::getStartdateForTransactiondate(DateT date) const
{
    switch (mPeriodicity & 0xff) {
    case kDay: return date;
    case kWeek: return CDate::AddDaysTo(CDate::GetNextxDay(date, 0), -7);
    default: return CDate::GetFirstDayOfMonth(date);
    }
}

DateT CGraph::getEnddateForStartDate(DateT start) const
{
    switch (mPeriodicity & 0xff) {
    case kDay: return start;
    case kWeek: return CDate::AddDaysTo(start, 6);
    default: return CDate::GetLastDayOfMonth(start);
    }
}

int CGraph::getNumberOfStepsInGraph() const
{
    switch (mPeriodicity & 0xff) {
    case kDay: return static_cast<int>(CDate::DaysBetween(mMinDateValue, mMaxDateValue));
    case kWeek: return static_cast<int>(CDate::WeeksBetween(mMinDateValue, mMaxDateValue, false));
    case kMonth: return static_cast<int>(CDate::MonthsBetween(mMinDateValue, mMaxDateValue, false));
    case kQuarter: return static_cast<int>(CDate::QuartersBetween(mMinDateValue, mMaxDateValue, false));
    default: return static_cast<int>(CDate::YearsBetween(mMinDateValue, mMaxDateValue, false));
    }
}

DateT CGraph::getDateValueForStep(int step) const
{
    switch (mPeriodicity & 0xff) {
    case kDay: return CDate::AddDaysTo(mMinDateValue, step);
    case kWeek: return CDate::AddDaysTo(mMinDateValue, 7L * step);
    case kQuarter: return CDate::AddMonthsToDateT(mMinDateValue, 3L * step);
    case kYear: return CDate::AddYearsTo(mMinDateValue, step);
    default: return CDate::AddMonthsToDateT(mMinDateValue, step);
    }
}

int CGraph::getStepValueForDate(DateT date) const
{
    switch (mPeriodicity & 0xff) {
    case kDay: return static_cast<int>(CDate::DaysBetween(mMinDateValue, date));
    case kWeek: return static_cast<int>(CDate::DaysBetween(mMinDateValue, date) / 7);
    case kQuarter: return static_cast<int>(CDate::MonthsBetween(mMinDateValue, date, false) / 3);
    default: return static_cast<int>(CDate::MonthsBetween(mMinDateValue, date, false));
    }
}

void CGraph::calculateNumberOfPoints()
{
    switch (mPeriodicity & 0xff) {
    case kDay: mPoints = static_cast<int>(CDate::DaysBetween(mMinDateValue, mMaxDateValue)) + 1; break;
    case kWeek: mPoints = static_cast<int>(CDate::WeeksBetween(mMinDateValue, mMaxDateValue, false)) + 1; break;
    case kMonth: mPoints = static_cast<int>(CDate::MonthsBetween(mMinDateValue, mMaxDateValue, true)); break;
    default: break;
    }
}

// --- geometry

void CGraph::calculateScalePropertiesForPlotSeries(const CPlotSerie& serie, const std::string&)
{
    mMinLeft = std::min(mMinLeft, serie.mMinAmount());
    mMinRight = std::min(mMinRight, serie.mMinAmount());
    mMaxLeft = std::max(mMaxLeft, serie.mMaxAmount());
    mMaxRight = std::max(mMaxRight, serie.mMaxAmount());
    mMinDateValue = std::min(mMinDateValue, serie.mMinDate());
    mMaxDateValue = std::max(mMaxDateValue, serie.mMaxDate());
}

void CGraph::calculateGeometryOfAllCategories()
{
    for (auto& [key, serie] : mPlotSeries) {
        serie->calculateMinMaxForPlotseries();
        calculateScalePropertiesForPlotSeries(*serie, key);
    }
    if (mLeftScaleDrawer) {
        mLeftScaleDrawer->setMMinValue(mMinLeft);
        mLeftScaleDrawer->setMMaxValue(mMaxLeft);
    }
    if (mRightScaleDrawer && mRightScaleDrawer != mLeftScaleDrawer) {
        mRightScaleDrawer->setMMinValue(mMinRight);
        mRightScaleDrawer->setMMaxValue(mMaxRight);
    }
    mMinDateValue = getStartdateForTransactiondate(mMinDateValue);
    mMaxDateValue = getEnddateForStartDate(mMaxDateValue);
    calculateNumberOfPoints();
}

float CGraph::getXPositionForDate(DateT date) const
{
    return mBottomScaleDrawer ? mBottomScaleDrawer->getXPositionForStep(getStepValueForDate(date)) : 0.0f;
}

float CGraph::getXPositionForPoint(const CGraphPoint& point, const CPlotSerie&) const
{
    return getXPositionForDate(point.getStartDate());
}

float CGraph::getYPositionForPoint(const CGraphPoint& point, const CPlotSerie& serie) const
{
    bool right = false;
    for (const auto& [key, s] : mPlotSeries)
        if (s.get() == &serie) right = isKeyAtTheRight(key);
    return getYPositionForValue(point.getAmount(), !right);
}

float CGraph::getYPositionForValue(double value, bool leftScale) const
{
    CScaleDrawer* drawer = leftScale ? mLeftScaleDrawer.get() : mRightScaleDrawer.get();
    return drawer ? drawer->getYPositionForValue(value, leftScale) : 0.0f;
}

ChartPoint CGraph::getGraphOrigin(const CPlotSerie&) const
{
    return {mLeftScaleDrawer ? mLeftScaleDrawer->mLeftMargin() : 0.0f,
            mBottomScaleDrawer ? mBottomScaleDrawer->mBottomMargin() : 0.0f};
}

ChartRect CGraph::getGraphBounds(const CPlotSerie& serie) const
{
    const ChartPoint origin = getGraphOrigin(serie);
    return {origin.x, origin.y, mWidth - (mRightScaleDrawer ? mRightScaleDrawer->mRightMargin() : 0.0f) - origin.x,
            mHeight - (mTopScaleDrawer ? mTopScaleDrawer->mTopMargin() : 0.0f) - origin.y};
}

float CGraph::getHorizontalStepwidth() const
{
    return mBottomScaleDrawer ? mBottomScaleDrawer->getHorizontalStepwidth() : 0.0f;
}

void CGraph::placeScales(ChartCanvas* canvas)
{
    calculateGeometryOfAllCategories();
    if (mLeftScaleDrawer)
        mLeftScaleDrawer->drawLeftScaleFrom(mMinLeft, mMaxLeft, true, mBottomScaleDrawer.get(), nullptr, canvas);
    if (mRightScaleDrawer)
        mRightScaleDrawer->drawRightScaleFrom(mMinRight, mMaxRight, true, mBottomScaleDrawer.get(), nullptr, canvas);
    const bool grid = mLeftScaleDrawer && mLeftScaleDrawer->mLeftMargin() > 10.0f;
    if (mBottomScaleDrawer)
        mBottomScaleDrawer->drawDateScaleFrom(mMinDateValue, mMaxDateValue, grid, mLeftScaleDrawer.get(),
                                              mRightScaleDrawer.get(), canvas);
    if (mTopScaleDrawer)
        mTopScaleDrawer->drawTopScaleFrom(mMinDateValue, mMaxDateValue, grid, mLeftScaleDrawer.get(),
                                          mRightScaleDrawer.get(), canvas);
}

void CGraph::layout()
{
    placeScales(nullptr);
    for (auto& [key, serie] : mPlotSeries) serie->layOutOnGraph(*this);
}

// --- drawing

void CGraph::drawRect(ChartCanvas& canvas)
{
    placeScales(&canvas);
    if (CPlotSerie* position = plotSerie("POSITION")) {
        position->plotOnGraph(*this, canvas);
        drawSmoothedSurface(canvas, *position);
    }
    const CPlotSerie* last = nullptr;
    for (auto& [key, serie] : mPlotSeries) {
        serie->plotOnGraph(*this, canvas);
        last = serie.get();
    }
    if (mHoverPoint && last)
        mHoverPoint->drawLegendFromPreviousPoint(canvas, nullptr, getGraphBounds(*last), chart_animation::kNone, 1, 1,
                                                 true, true);
    drawBorder(canvas);
}

void CGraph::setBorderAbove(bool top, bool bottom, bool left, bool right)
{
    mTopLine = top;
    mBottomLine = bottom;
    mLeftLine = left;
    mRightLine = right;
}

void CGraph::drawBorder(ChartCanvas& canvas)
{
    const Colour grey{2.0 / 3.0, 2.0 / 3.0, 2.0 / 3.0, 1.0};
    if (mLeftLine) canvas.drawLine({0.5f, 0}, {0.5f, mHeight}, grey);
    if (mRightLine) canvas.drawLine({mWidth - 0.5f, 0}, {mWidth - 0.5f, mHeight}, grey);
    if (mTopLine) canvas.drawLine({0, mHeight - 0.5f}, {mWidth, mHeight - 0.5f}, grey);
    if (mBottomLine) canvas.drawLine({0, 0.5f}, {mWidth, 0.5f}, grey);
}

// --- pointer

CGraphPoint* CGraph::getPointForLocation(ChartPoint location) const
{
    if (location.x < 0 || location.y < 0 || location.x > mWidth || location.y > mHeight) return nullptr;
    for (const auto& [key, serie] : mPlotSeries)
        if (CGraphPoint* point = serie->getPointAtCoordinates(location)) return point;
    return nullptr;
}

void CGraph::mouseDown(ChartPoint location)
{
    if (CGraphPoint* point = getPointForLocation(location)) point->showPointDetails();
}

void CGraph::mouseMoved(ChartPoint location)
{
    CGraphPoint* point = getPointForLocation(location);
    const std::uint32_t now = ticksNow();
    if (point && point != mHoverPoint) {
        mHoverPoint = point;
        if (now - mPointChangedAt < kNewPointTicks) return;
        mPointChangedAt = now;
        requestRedraw();
    } else if (point) {
        if (now - mPointChangedAt >= kSamePointTicks) requestRedraw();
    } else if (mHoverPoint) {
        requestRedraw();
        mHoverPoint = nullptr;
    }
}

void CGraph::mouseExited()
{
    if (mHoverPoint) requestRedraw();
    mHoverPoint = nullptr;
}

void CGraph::requestRedraw()
{
    if (mHost) mHost->setNeedsDisplay();
}

// --- animation

void CGraph::startAnimation(int type)
{
    mCurrentFrame = 1;
    mAnimation = type;
    stopAnimationTimer();
    mTimerRunning = true;
    if (mHost) mHost->startAnimationTimer(1000 / mFramesPerSecond);
}

void CGraph::stopAnimationTimer()
{
    if (!mTimerRunning) return;
    mTimerRunning = false;
    if (mHost) mHost->stopAnimationTimer();
}

void CGraph::graphPointAccentuationHandler()
{
    if (mCurrentFrame < mNumberOfFrames) {
        ++mCurrentFrame;
        requestRedraw();
        return;
    }
    stopAnimationTimer();
    mAnimation = chart_animation::kNone;
}

} // namespace ch
