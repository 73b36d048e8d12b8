// The chart engine without a window: scales, date ranges, the bar chart's
// bars and dots, the pies' wedges, the pointer and the animation, on the
// books of the report tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "analysis/CBarChart.h"
#include "analysis/CPieChart.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/GXDebetItemArrayFinalizer.h"
#include "bridge/LineItemList.h"
#include "report_test_support.h"

namespace ch::test {
namespace {

class FakeHost : public ChartHost {
public:
    void setNeedsDisplay() override { ++redraws; }
    void startAnimationTimer(int interval) override
    {
        running = true;
        lastInterval = interval;
    }
    void stopAnimationTimer() override { running = false; }
    int redraws = 0;
    bool running = false;
    int lastInterval = 0;
};

// A booking of two lines that the model's checks would refuse (a negative
// or zero amount), as imported books can hold.
CTransaction* rawBooking(ReportBooks& books, DateT date, CAccount* from, CAccount* to, double amount)
{
    auto* t = new CTransaction(-1, &books.root, false, transaction_type::kOther, false);
    t->Put_mDate(date);
    t->Put_Name("Booking");
    t->Put_mCurrencyId(1, nullptr);
    t->Set_Debit_Account(t->Add_Debit(-1, true, amount), from->Get_Id());
    t->Set_Credit_Account(t->Add_Credit(-1, true, amount), to->Get_Id());
    t->Put_mTotalAmount(amount);
    books.root.mTransactionList->AppendObject(t);
    return t;
}

// A canvas that keeps the texts drawn.
class TextRecordingCanvas : public ChartCanvas {
public:
    void fillShape(const ChartShape&, const Colour&, const std::optional<ChartShadow>&) override {}
    void strokeShape(const ChartShape&, const ChartStroke&) override {}
    void fillPolygon(const std::vector<ChartPoint>&, const Colour&) override {}
    void drawLine(ChartPoint, ChartPoint, const Colour&) override {}
    void drawText(std::string_view text, const ChartRect&, const TextAttributes&) override { texts.emplace_back(text); }
    ReportSize sizeOfText(std::string_view text, const TextAttributes& attributes) const override
    {
        return FixedMeasurer().sizeOfText(text, attributes);
    }
    std::vector<std::string> texts;
};

struct ChartFixture : ::testing::Test {
    ReportEnvironment environment;
    ReportBooks books;
    FixedMeasurer measurer;
    FakeHost host;

    template <class Chart>
    std::unique_ptr<Chart> chart(float width = 800, float height = 400)
    {
        auto made = CGraph::make<Chart>();
        made->setViewSize(width, height);
        made->setMeasurer(&measurer);
        made->setHost(&host);
        return made;
    }
    std::shared_ptr<CAnalysisArrayEncaplusator> linesOf(CNonVisual* object)
    {
        return std::make_shared<CAnalysisArrayEncaplusator>(object);
    }
};

TEST(ScaleDrawer, NormalisedValuesRiseToTheNextLeadingDigit)
{
    const std::vector<std::pair<double, double>> cases{
        {1234, 2000}, {-1234, -2000}, {100, 200},   {0.5, 0},     {1000, 2000},        {10, 20},
        {1, 2},       {9.5, 10},      {-0.7, 0},    {0, 0},       {5000, 6000},        {0.01, 0},
        {37.25, 40},  {999.99, 1000}, {1e6, 2e6},   {4.2e6, 5e6}, {-1234567.89, -2e6}, {123456789, 2e8}};
    for (const auto& [value, expected] : cases) EXPECT_DOUBLE_EQ(CScaleDrawer::normalizeValue(value), expected) << value;
}

TEST(ScaleDrawer, HalfCoordinatesAndIntervalsByRoom)
{
    EXPECT_FLOAT_EQ(CScaleDrawer::nextHalf(10.2f), 10.5f);
    EXPECT_FLOAT_EQ(CScaleDrawer::nextHalf(10.0f), 9.5f);
    EXPECT_FLOAT_EQ(CScaleDrawer::nextHalf(9.8f), 9.5f);
    for (const auto& [rows, intervals] : std::vector<std::pair<int, int>>{{0, 5}, {5, 5}, {6, 10}, {10, 10},
                                                                          {11, 15}, {15, 15}, {16, 20}, {40, 20}})
        EXPECT_EQ(CBarchartAxisScaleDrawer::intervalsForLabelRows(rows), intervals) << rows;
}

// The amount scale over ranges from cents to millions, and below zero: the
// ends are the rounded range, the zero line sits at its share of the room,
// and every step between labels is a readable amount.
TEST_F(ChartFixture, AmountScalesPickReadableSteps)
{
    struct Case {
        double from, to, bottom, top;
    };
    const std::vector<Case> cases{{0, 0.75, 0, 0},          {0, 100, 0, 200},           {0, 1234.56, 0, 2000},
                                  {-300, 1200, -400, 2000}, {-5400, 0, -6000, 0},       {-0.4, 0.4, 0, 0},
                                  {0, 2.5e6, 0, 3e6},       {-1.2e6, 3.4e6, -2e6, 4e6}, {0, 87.3, 0, 90},
                                  // Widened to whole readable steps.
                                  {-9400, 200, -10000, 1000}, {-840, 1880, -1000, 2000}, {-35, 7200, -500, 8000}};
    auto bar = chart<CBarChart>(800, 400);
    CScaleDrawer& left = *bar->leftScaleDrawer();
    for (const Case& c : cases) {
        left.drawLeftScaleFrom(c.from, c.to, true, bar->bottomScaleDrawer(), nullptr, nullptr);
        EXPECT_DOUBLE_EQ(left.mMinValue(), c.bottom) << c.from << ".." << c.to;
        EXPECT_DOUBLE_EQ(left.mMaxValue(), c.top) << c.from << ".." << c.to;
        const float d = left.mBottomMargin(), room = 400 - d;
        if (c.top - c.bottom > 0) {
            EXPECT_NEAR(left.getZeroMargin(), d + (-c.bottom / (c.top - c.bottom)) * room, 1e-3);
            const double step = (c.top - c.bottom) / (room / left.mStepWidthY());
            const double lead = std::pow(10.0, std::floor(std::log10(step)));
            const double digits = step / lead;
            // 1, 2, 2.5 or 5 times a power of ten, and 0 on a grid line.
            bool readable = false;
            for (double factor : {1.0, 2.0, 2.5, 5.0}) readable = readable || std::fabs(digits - factor) < 1e-9;
            EXPECT_TRUE(readable) << "step " << step << " for " << c.from << ".." << c.to;
            const double zeroSteps = -c.bottom / step;
            EXPECT_NEAR(zeroSteps, std::round(zeroSteps), 1e-9) << c.from << ".." << c.to;
            // The ends sit at the ends of the room.
            EXPECT_NEAR(left.getYPositionForValue(c.top, true), 400, 1e-2);
            EXPECT_NEAR(left.getYPositionForValue(c.bottom, true), d, 1e-2);
        }
    }
}

TEST_F(ChartFixture, ANarrowChartHasNoLabelRoomAndShowsOneYear)
{
    environment.defaults().set("GXGraphStartDateAutomaticFlag", true);
    environment.defaults().set("GXGraphDateFrom", std::int64_t{20200101});
    auto narrow = chart<CBarChart>(60, 200);
    narrow->synchronizeWithArray(linesOf(books.checking));
    EXPECT_EQ(narrow->leftScaleDrawer()->getLeftMarginForRangeFrom(0, 100), 10);
    EXPECT_EQ(narrow->mMaxDate(), 20240314);   // the latest booking
    EXPECT_EQ(narrow->mMinDate(), 20230314);

    auto wide = chart<CBarChart>(900, 300);
    wide->synchronizeWithArray(linesOf(books.checking));
    EXPECT_EQ(wide->mMinDate(), 20200101);     // the user's start
    EXPECT_EQ(wide->mMaxDate(), 20240315);     // today

    auto empty = chart<CBarChart>(60, 200);
    empty->synchronizeWithArray(linesOf(books.empty));
    EXPECT_EQ(empty->mMaxDate(), 20240315);
}

// A wide chart shows the two years up to today unless the user chose dates,
// also when the account's bookings begin later (here in April 2023): its
// first year is then empty by design, not taken from the bookings.
TEST_F(ChartFixture, AWideChartShowsTheTwoYearsUpToTodayWithoutChosenDates)
{
    auto wide = chart<CBarChart>(900, 300);
    wide->synchronizeWithArray(linesOf(books.checking));
    EXPECT_EQ(wide->mMinDate(), 20220315);
    EXPECT_EQ(wide->mMaxDate(), 20240315);
    wide->layout();
    EXPECT_EQ(wide->mMinDate(), 20220301);   // whole months on the axis
    EXPECT_EQ(wide->mMaxDate(), 20240331);
}

// The bars are the month's sums of the lines, and stand on the zero line
// with the height the left scale gives those sums; the dots are the running
// balance after the month's last line.
TEST_F(ChartFixture, BarsAndDotsShowTheMonthsOfTheAccount)
{
    auto bar = chart<CBarChart>(900, 360);
    bar->synchronizeWithArray(linesOf(books.checking));
    bar->layout();

    std::map<DateT, double> in, out;
    books.forEachLine([&](const CDebit& line, FourCharCode kind, DateT date) {
        if (line.Get_mAccountId() != books.checking->Get_Id() || date < bar->mMinDate()) return;
        const DateT month = date / 100 * 100 + 1;
        if (kind == fourCC("CreT")) in[month] += line.Get_mLocalAmount();
        if (kind == fourCC("DebT")) out[month] += line.Get_mLocalAmount();
    });
    const CScaleDrawer& left = *bar->leftScaleDrawer();
    const float perUnit = static_cast<float>((360 - left.mBottomMargin()) / (left.mMaxValue() - left.mMinValue()));
    for (const auto& [key, sums] : {std::pair{"IN", &in}, std::pair{"OUT", &out}}) {
        const CPlotSerie& serie = *bar->plotSerie(key);
        ASSERT_EQ(serie.count(), sums->size()) << key;
        for (CGraphPoint* point : serie.points()) {
            const double expected = sums->at(point->getStartDate());
            EXPECT_NEAR(point->value(), expected, 0.005) << key << " " << point->getStartDate();
            const ChartRect& r = point->getRect();
            EXPECT_NEAR(r.height, expected * perUnit, 0.05) << key;
            EXPECT_NEAR(r.y, left.getZeroMargin(), 0.01);
            EXPECT_NEAR(r.width, bar->getHorizontalStepwidth() / 3, 1e-3);
            // Every bar, the newest month's too, stands within the plot.
            const CScaleDrawer& dates = *bar->bottomScaleDrawer();
            EXPECT_GE(r.x, dates.mLeftMargin() - 0.01f) << key << " " << point->getStartDate();
            EXPECT_LE(r.right(), 900 - dates.mRightMargin() + 0.01f) << key << " " << point->getStartDate();
            // Money in left of the month's position, money out right of it.
            const float x = bar->getXPositionForDate(point->getStartDate());
            EXPECT_FLOAT_EQ(std::string(key) == "IN" ? r.right() : r.x, x) << key;
        }
    }
    for (CGraphPoint* dot : bar->plotSerie("POSITION")->points()) {
        const DateT end = dot->getEndDate();
        EXPECT_NEAR(dot->value(), books.accountSum(books.checking, std::nullopt, end), 0.005) << end;
    }
}

// The dots of a kept list refilled after another list was built over the
// same lines (which writes its own running balances onto them): each dot is
// still the balance, summed from the booking lines, of what the chart draws.
TEST_F(ChartFixture, DotsAfterRefillingFromAKeptListAreTheBalancesOfThatList)
{
    struct Case {
        const char* what;
        std::vector<CAccount*> drawn;
        CNonVisual* keptOver;
        CNonVisual* builtAfter;
    };
    const std::vector<Case> cases{
        {"account, then its type", {books.checking}, books.checking, books.current},
        {"account, then the type above its type", {books.checking}, books.checking, books.banks},
        {"joint account, then its type", {books.joint}, books.joint, books.current},
        {"type, then one of its accounts", {books.checking, books.joint}, books.current, books.checking},
    };
    for (const Case& c : cases) {
        const std::shared_ptr<CAnalysisArrayEncaplusator> kept = linesOf(c.keptOver);
        auto bar = chart<CBarChart>(900, 360);
        bar->synchronizeWithArray(kept);
        const std::shared_ptr<CAnalysisArrayEncaplusator> other = linesOf(c.builtAfter);
        ASSERT_GT(other->count(), 0u);
        for (int refill = 0; refill < 2; ++refill) {
            if (refill == 1) bar->synchronizeWithArray(kept);
            bar->layout();
            const CPlotSerie& dots = *bar->plotSerie("POSITION");
            ASSERT_GT(dots.count(), 10u) << c.what;
            for (CGraphPoint* dot : dots.points()) {
                double expected = 0;
                for (CAccount* account : c.drawn) expected += books.accountSum(account, std::nullopt, dot->getEndDate());
                EXPECT_NEAR(dot->value(), expected, 0.005) << c.what << ", " << dot->getEndDate();
            }
        }
    }
}

TEST_F(ChartFixture, SurfaceUnderThePositionLine)
{
    auto bar = chart<CBarChart>(900, 360);
    bar->synchronizeWithArray(linesOf(books.checking));
    bar->layout();
    const CPlotSerie& position = *bar->plotSerie("POSITION");
    const auto surface = bar->smoothedSurface(position);
    ASSERT_EQ(surface.size(), position.count() - 1);
    const auto dots = position.sortedPoints();
    EXPECT_FLOAT_EQ(surface[0][0].y, dots[0]->mYPosition());
    EXPECT_FLOAT_EQ(surface[0][1].y, (dots[0]->mYPosition() + dots[1]->mYPosition() + dots[2]->mYPosition()) / 3);
    EXPECT_FLOAT_EQ(surface[0][2].y, bar->bottomScaleDrawer()->mBottomMargin());
}

// A chart fed with model lines (the side bar's roots) draws what a chart of
// their items draws, bar for bar and dot for dot, and a bar's window gets
// the items of that bar's lines.
TEST_F(ChartFixture, ModelLinesDrawWhatTheirItemsDraw)
{
    struct Case {
        const char* what;
        std::vector<const CNamedListArray*> lists;
        bool byDate;
    };
    const auto accountLists = [](std::initializer_list<CAccount*> accounts) {
        std::vector<const CNamedListArray*> lists;
        for (CAccount* account : accounts) {
            lists.push_back(account->Get_mDebitlist());
            lists.push_back(account->Get_mCreditList());
        }
        return lists;
    };
    const std::vector<Case> cases{
        {"a property account", accountLists({books.checking}), true},
        {"profit-and-loss accounts", accountLists({books.supermarket, books.employer}), true},
        {"income and expense categories",
         {books.groceries->Get_mBookings(), books.rent->Get_mBookings(), books.salary->Get_mBookings(),
          books.bonus->Get_mBookings(), books.restaurants->Get_mBookings()},
         false},
    };
    for (const Case& c : cases) {
        std::vector<CNonVisual*> lines;
        for (const CNamedListArray* list : c.lists) appendModelLines(lines, list);
        if (c.byDate) GXDebetItemArrayFinalizer::sortModelLines(lines);
        ASSERT_GT(lines.size(), 20u) << c.what;
        ChartElements items;
        for (CNonVisual* line : lines) items.push_back(std::make_shared<CDebetItem>(line));

        auto fromItems = chart<CBarChart>(900, 360);
        fromItems->synchronizeWithElements(items);
        fromItems->layout();
        auto fromLines = chart<CBarChart>(900, 360);
        int asked = 0;
        fromLines->synchronizeWithLines({[&] {
                                             ++asked;
                                             return lines;
                                         },
                                         [](CNonVisual* line) -> ChartElement { return std::make_shared<CDebetItem>(line); }});
        fromLines->layout();
        EXPECT_EQ(asked, 1) << c.what;
        EXPECT_EQ(fromLines->linesRead(), lines.size());
        EXPECT_EQ(fromLines->mMinDate(), fromItems->mMinDate()) << c.what;
        EXPECT_EQ(fromLines->mMaxDate(), fromItems->mMaxDate()) << c.what;
        for (const char* key : {"IN", "OUT", "POSITION"}) {
            const CPlotSerie& expected = *fromItems->plotSerie(key);
            const CPlotSerie& drawn = *fromLines->plotSerie(key);
            ASSERT_EQ(drawn.count(), expected.count()) << c.what << " " << key;
            EXPECT_GT(drawn.count(), 0u) << c.what << " " << key;
            for (CGraphPoint* point : expected.points()) {
                const CGraphPoint* same = drawn.objectForKey(point->getKey());
                ASSERT_NE(same, nullptr) << c.what << " " << key << " " << point->getKey();
                EXPECT_EQ(same->value(), point->value()) << c.what << " " << key << " " << point->getKey();
                EXPECT_EQ(same->getEndDate(), point->getEndDate());
                EXPECT_EQ(same->isEmpty(), point->isEmpty());
                EXPECT_EQ(same->getRect().y, point->getRect().y);
                EXPECT_EQ(same->getRect().height, point->getRect().height);
                if (std::string(key) == "POSITION") continue;
                EXPECT_EQ(same->detailCount(), point->detailCount()) << c.what << " " << key;
                std::vector<const CNonVisual*> windowLines, pointLines;
                for (const ChartElement& item : fromLines->lineItemsOf(*same)) windowLines.push_back(item->getSourceItem());
                for (const ChartElement& item : point->details()) pointLines.push_back(item->getSourceItem());
                EXPECT_EQ(windowLines, pointLines) << c.what << " " << key << " " << point->getKey();
            }
        }
        EXPECT_EQ(fromLines->mMaxAmountLeft(), fromItems->mMaxAmountLeft()) << c.what;
        EXPECT_EQ(fromLines->mMinAmountRight(), fromItems->mMinAmountRight()) << c.what;
    }
}

// A negative month hangs below the zero line.
TEST_F(ChartFixture, NegativeSumsHangBelowTheZeroLine)
{
    rawBooking(books, 20240311, books.supermarket, books.checking, -90000.0);
    books.root.mTransactionList->SetNotSorted();
    books.root.mTransactionList->Sort();
    auto bar = chart<CBarChart>(900, 360);
    bar->synchronizeWithArray(linesOf(books.checking));
    bar->layout();
    const CGraphPoint* march = bar->plotSerie("IN")->objectForKey("20240301");
    ASSERT_NE(march, nullptr);
    ASSERT_LT(march->value(), 0);
    const CScaleDrawer& left = *bar->leftScaleDrawer();
    EXPECT_LT(left.getZeroMargin(), 360.0f);
    EXPECT_GT(left.getZeroMargin(), left.mBottomMargin());
    EXPECT_NEAR(march->getRect().top(), left.getZeroMargin(), 0.01);
    EXPECT_NEAR(march->getRect().y, march->mYPosition(), 0.01);
}

TEST_F(ChartFixture, PieWedgesAreTheSharesOfTheLines)
{
    auto pie = chart<CPieChart>(800, 300);
    pie->synchronizeWithArray(linesOf(books.supermarket));
    pie->layout();
    double total = 0;
    std::map<std::string, double> byName;
    for (CGraphPoint* wedge : pie->plotSerie("CREDIT")->points()) {
        byName[wedge->getKey()] += wedge->getAmount();
        total += wedge->getAmount();
    }
    ASSERT_FALSE(byName.empty());
    float end = 0;
    for (CGraphPoint* point : pie->plotSerie("CREDIT")->sortedPoints()) {
        auto* wedge = static_cast<CPiechartGraphPoint*>(point);
        EXPECT_NEAR(wedge->mHoek(), wedge->getAmount() / total * 360.0, 1e-3);
        EXPECT_FLOAT_EQ(wedge->startAngle(), end);
        end = wedge->mXPosition();
        // Each pie fits its own column, with a line of label room (9-point
        // text of the fixed measurer, and a margin) above and below it.
        EXPECT_FLOAT_EQ(wedge->mYPosition(), 150.0f - (9.0f * 1.25f + 8.0f));
    }
    EXPECT_NEAR(end, 360.0f, 1e-2);
    // The two pies do not overlap.
    const ChartPoint left = pie->getGraphOrigin(*pie->plotSerie("DEBET"));
    const ChartPoint right = pie->getGraphOrigin(*pie->plotSerie("CREDIT"));
    EXPECT_GE(right.x - left.x, 2 * 140.0f);
}

TEST_F(ChartFixture, PieSweepsAndLabels)
{
    struct Case {
        std::vector<double> amounts;
        std::vector<float> sweeps;
    };
    const std::vector<Case> cases{{{50, 30, 20}, {180, 108, 72}},
                                  // Nothing to share: no wedges.
                                  {{0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
                                  {{-40, -10}, {288, 72}},
                                  {{75}, {360}}};
    for (const Case& c : cases) {
        ReportBooks local;
        ChartElements lines;
        CAccount* to[] = {local.checking, local.joint, local.savingsBook, local.fund, local.mortgage, local.car, local.employer};
        for (std::size_t i = 0; i < c.amounts.size(); ++i) {
            CTransaction* t = rawBooking(local, 20240301, local.supermarket, to[i], c.amounts[i]);
            lines.push_back(std::make_shared<CDebetItem>(t->GetCreditList()->ObjectAt(1)));
        }
        auto pie = chart<CExpenseTypePieChart>(400, 300);
        pie->synchronizeWithElements(lines);
        pie->layout();
        const auto wedges = pie->plotSerie("POSITION")->sortedPoints();
        ASSERT_EQ(wedges.size(), c.sweeps.size());
        for (std::size_t i = 0; i < wedges.size(); ++i)
            EXPECT_NEAR(static_cast<CPiechartGraphPoint*>(wedges[i])->mHoek(), c.sweeps[i], 1e-3);
        const std::string label = static_cast<CPiechartGraphPoint*>(wedges[0])->getPointLegend();
        EXPECT_EQ(label.find('%') == std::string::npos, c.amounts.size() == 1) << label;
    }
}

TEST_F(ChartFixture, TwoAccountsOfOneNameAreTwoWedges)
{
    books.joint->Put_Name("Current Account");
    ChartElements items{std::make_shared<CAcnTItem>(books.checking), std::make_shared<CAcnTItem>(books.joint)};
    auto pie = chart<CAccountTypePieChart>(400, 300);
    pie->synchronizeWithElements(items);
    pie->layout();
    const CPlotSerie& serie = *pie->plotSerie("ACNT");
    ASSERT_EQ(serie.count(), 2u);
    const double expected = std::fabs(items[0]->getLocalBalance().value_or(0)) + std::fabs(items[1]->getLocalBalance().value_or(0));
    EXPECT_NEAR(serie.mTotalAmount(), expected, 0.005);
}

// The side-bar pie of balances: shares of the balances of the pie's sign,
// no wedge for a balance of the other sign or for a pie of zeros, and
// labels beside the pie, inside the chart, even in a narrow column.
TEST_F(ChartFixture, BalancePieSharesOnlyBalancesOfItsSignAndKeepsLabelsOffThePie)
{
    struct Case {
        std::vector<double> balances;
        std::vector<float> sweeps;   // in the order of the balances
    };
    const std::vector<Case> cases{
        {{100, 50, -20}, {240, 120, 0}},
        {{0, 0, 0}, {0, 0, 0}},
        {{0.1 + 0.2 - 0.3, 0, 0}, {0, 0, 0}},
        {{-30, -10, 5}, {270, 90, 0}},
        {{12.5}, {360}},
    };
    int labels = 0;
    for (const auto& [width, height] : {std::pair{400.0f, 300.0f}, std::pair{150.0f, 320.0f}}) {
        for (const Case& c : cases) {
            ReportBooks local(false);
            CAccount* accounts[] = {local.checking, local.joint, local.savingsBook};
            ChartElements items;
            for (std::size_t i = 0; i < c.balances.size(); ++i) {
                if (c.balances[i] != 0)
                    rawBooking(local, 20240301, local.supermarket, accounts[i], c.balances[i]);
                items.push_back(std::make_shared<CAcnTItem>(accounts[i]));
            }
            local.root.mTransactionList->SetNotSorted();
            local.root.mTransactionList->Sort();
            auto pie = chart<CAccountTypePieChart>(width, height);
            pie->synchronizeWithElements(items);
            TextRecordingCanvas canvas;
            pie->drawRect(canvas);
            const CPlotSerie& serie = *pie->plotSerie("ACNT");
            ASSERT_EQ(serie.count(), c.balances.size());
            const ChartRect bounds = pie->getGraphBounds(serie);
            for (std::size_t i = 0; i < c.balances.size(); ++i) {
                const auto* wedge = static_cast<CPiechartGraphPoint*>(serie.objectForKey(std::to_string(accounts[i]->Get_Id())));
                ASSERT_NE(wedge, nullptr);
                EXPECT_NEAR(items[i]->getLocalBalance().value_or(0), c.balances[i], 1e-9);
                EXPECT_NEAR(wedge->mHoek(), c.sweeps[i], 1e-3) << c.balances[i] << " in a pie " << width << " wide";
                EXPECT_EQ(wedge->shape().has_value(), c.sweeps[i] > 0) << c.balances[i];
                if (!wedge->textDrawn()) continue;
                ++labels;
                EXPECT_GT(c.sweeps[i], 0.0f);
                // The label lies within the chart and off the pie's disc.
                const ChartRect label = const_cast<CPiechartGraphPoint*>(wedge)->getTextRect(bounds);
                EXPECT_GE(label.x, bounds.x) << wedge->shownLegend();
                EXPECT_LE(label.right(), bounds.right() + 0.01f) << wedge->shownLegend();
                EXPECT_GE(label.y, bounds.y);
                EXPECT_LE(label.top(), bounds.top() + 0.01f);
                const ChartPoint centre = pie->getGraphOrigin(serie);
                const float nx = std::clamp(centre.x, label.x, label.right()) - centre.x;
                const float ny = std::clamp(centre.y, label.y, label.top()) - centre.y;
                EXPECT_GE(nx * nx + ny * ny, wedge->mYPosition() * wedge->mYPosition() - 0.5f) << wedge->shownLegend();
            }
        }
    }
    EXPECT_GE(labels, 8);
}

// Two small slices beside a large one: their labels would fall on one
// another, whatever their widths; a label is drawn only where no other one
// is.
TEST_F(ChartFixture, TheLabelsOfSmallSlicesDoNotCoverEachOther)
{
    for (const auto& balances : {std::vector<double>{1000, 6, 5}, std::vector<double>{1000, 5, 6},
                                 std::vector<double>{500, 2, 3}}) {
        ReportBooks local(false);
        CAccount* accounts[] = {local.checking, local.joint, local.savingsBook};
        ChartElements items;
        for (std::size_t i = 0; i < balances.size(); ++i) {
            rawBooking(local, 20240301, local.supermarket, accounts[i], balances[i]);
            items.push_back(std::make_shared<CAcnTItem>(accounts[i]));
        }
        local.root.mTransactionList->SetNotSorted();
        local.root.mTransactionList->Sort();
        auto pie = chart<CAccountTypePieChart>(400.0f, 300.0f);
        pie->synchronizeWithElements(items);
        TextRecordingCanvas canvas;
        pie->drawRect(canvas);
        const CPlotSerie& serie = *pie->plotSerie("ACNT");
        const ChartRect bounds = pie->getGraphBounds(serie);
        std::vector<ChartRect> drawn;
        for (CAccount* account : accounts) {
            auto* wedge = static_cast<CPiechartGraphPoint*>(serie.objectForKey(std::to_string(account->Get_Id())));
            ASSERT_NE(wedge, nullptr);
            if (wedge->textDrawn()) drawn.push_back(wedge->getTextRect(bounds));
        }
        ASSERT_FALSE(drawn.empty());
        for (std::size_t a = 0; a < drawn.size(); ++a)
            for (std::size_t b = a + 1; b < drawn.size(); ++b) {
                const ChartRect& one = drawn[a];
                const ChartRect& other = drawn[b];
                const bool apart = one.right() <= other.x || other.right() <= one.x || one.top() <= other.y ||
                                   other.top() <= one.y;
                EXPECT_TRUE(apart) << balances[1] << "/" << balances[2] << ": labels " << a << " and " << b;
            }
    }
}

TEST_F(ChartFixture, HoverThrottleCountsTicks)
{
    std::uint32_t now = 1000;
    auto bar = chart<CBarChart>(900, 360);
    bar->setTickSource([&] { return now; });
    bar->synchronizeWithArray(linesOf(books.checking));
    bar->layout();
    const auto bars = bar->plotSerie("OUT")->sortedPoints();
    const auto centre = [](CGraphPoint* p) { return p->getCenter(); };
    host.redraws = 0;
    bar->mouseMoved(centre(bars[3]));
    EXPECT_EQ(bar->currentHoverPoint(), bars[3]);
    EXPECT_EQ(host.redraws, 1);
    now += 30;
    bar->mouseMoved(centre(bars[4]));   // another bar within 30 ticks: no redraw
    EXPECT_EQ(bar->currentHoverPoint(), bars[4]);
    EXPECT_EQ(host.redraws, 1);
    bar->mouseMoved(centre(bars[4]));   // the same bar after 30 ticks: redraw
    EXPECT_EQ(host.redraws, 2);
    bar->mouseMoved({2, 350});          // off every bar
    EXPECT_EQ(bar->currentHoverPoint(), nullptr);
    EXPECT_EQ(host.redraws, 3);
}

// A refill while a wedge is accentuated drops the hover wedge and stops the
// animation before the wedges go.
TEST_F(ChartFixture, RefillForgetsTheHoverPointAndStopsTheAnimation)
{
    auto pie = chart<CPieChart>(800, 300);
    pie->synchronizeWithArray(linesOf(books.supermarket));
    pie->layout();
    CGraphPoint* wedge = pie->plotSerie("CREDIT")->sortedPoints().front();
    pie->mouseMoved(static_cast<CPiechartGraphPoint*>(wedge)->getTouchPoint());
    pie->mouseMoved({pie->getGraphOrigin(*pie->plotSerie("CREDIT")).x + 1, 150});
    ASSERT_TRUE(pie->isAnimationTimerRunning());
    ASSERT_NE(pie->currentHoverPoint(), nullptr);
    EXPECT_EQ(host.lastInterval, 41);

    pie->synchronizeWithArray(linesOf(books.checking));
    EXPECT_EQ(pie->currentHoverPoint(), nullptr);
    EXPECT_FALSE(pie->isAnimationTimerRunning());
    EXPECT_FALSE(host.running);
    EXPECT_FALSE(pie->isAnimating());
    pie->graphPointAccentuationHandler();   // a late tick is harmless
    pie->layout();
}

TEST_F(ChartFixture, AccentuationRedrawsFiveTimesThenStops)
{
    auto pie = chart<CPieChart>(800, 300);
    pie->synchronizeWithArray(linesOf(books.supermarket));
    pie->layout();
    pie->accentuatePie(pie->plotSerie("CREDIT")->points().front(), chart_animation::kAccentuate);
    host.redraws = 0;
    std::vector<int> frames;
    while (pie->isAnimationTimerRunning()) {
        pie->graphPointAccentuationHandler();
        frames.push_back(pie->currentFrame());
    }
    EXPECT_EQ(host.redraws, 5);
    EXPECT_EQ(frames, (std::vector<int>{2, 3, 4, 5, 6, 6}));
    EXPECT_EQ(pie->mCurrentAnimation(), chart_animation::kNone);
}

TEST(PieOpacity, AnimatedOpacityFollowsTheFrame)
{
    struct Case {
        int animation;
        bool focus;
        int step;
        float expected;
    };
    const std::vector<Case> cases{{chart_animation::kNone, true, 0, 0.8f},   {chart_animation::kAccentuate, true, 3, 0.4f},
                                  {chart_animation::kAccentuate, false, 3, 0.5f}, {chart_animation::kRelease, true, 3, 0.8f},
                                  {chart_animation::kRelease, false, 3, 0.4f}};
    CGraph graph;
    for (const Case& c : cases) {
        CPiechartGraphPoint wedge(&graph);
        EXPECT_NEAR(wedge.getAlphaValueForCurrentValue(0.8f, c.step, 6, c.animation, c.focus), c.expected, 1e-5)
            << c.animation << c.focus;
    }
}

} // namespace
} // namespace ch::test
