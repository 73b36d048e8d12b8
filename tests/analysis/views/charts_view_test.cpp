// The chart widgets: painting every kind of chart for the report books (and
// writing review images), the pointer over bars while the selection changes,
// and the detail window of a clicked bar.

#include <gtest/gtest.h>

#include <cmath>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include "../report_test_support.h"
#include "analysis/CBarChart.h"
#include "analysis/CPieChart.h"
#include "analysis/views/CTransactionDetailPopupController.h"
#include "analysis/views/ChartView.h"
#include "analysis/views/QtChartCanvas.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/LineItemList.h"

namespace ch::test {
namespace {

struct ChartViewFixture : ::testing::Test {
    ReportEnvironment environment;
    ReportBooks books;

    std::shared_ptr<CAnalysisArrayEncaplusator> linesOf(CNonVisual* object)
    {
        return std::make_shared<CAnalysisArrayEncaplusator>(object);
    }
    QImage paint(ChartView& view)
    {
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view.render(painter, view.size());
        return image;
    }
    // Written for a person to look at: review/charts/*.png.
    void keep(const QImage& image, const char* name)
    {
        QDir().mkpath(QStringLiteral("review/charts"));
        image.save(QStringLiteral("review/charts/%1.png").arg(QLatin1String(name)));
    }
};

QPoint widgetPoint(const ChartView& view, ChartPoint p)
{
    return {static_cast<int>(p.x), static_cast<int>(view.height() - p.y)};
}

TEST_F(ChartViewFixture, BarChartPaintsBarsInTheirColours)
{
    ChartView view(CGraph::make<CBarChart>());
    view.resize(900, 340);
    view.synchronizeWithArray(linesOf(books.checking));
    view.setBorderAbove(true, true, true, true);
    const QImage image = paint(view);
    keep(image, "bar-chart");
    // A month's "OUT" bar is red right of the month's position, its "IN" bar green left of it.
    CGraph& chart = view.chart();
    for (const auto& [key, hue] : {std::pair{"OUT", 0}, std::pair{"IN", 120}}) {
        const CGraphPoint* bar = chart.plotSerie(key)->sortedPoints().back();
        const ChartRect r = bar->getRect();
        const QColor pixel = image.pixelColor(static_cast<int>(r.x + r.width / 2), static_cast<int>(340 - (r.y + 2)));
        EXPECT_NEAR(pixel.hslHue(), hue, 15) << key;
    }
}

TEST(ChartCanvas, TallTranslucentBarIsOneEvenFill)
{
    // A bar taller than the bands it is filled in, from and to parts of a
    // pixel: every row inside it is covered once, none twice and none left
    // out, so the colour down its middle is one and the same.
    QImage image(60, 340, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const ChartRect bar{20.3f, 7.6f, 9.4f, 301.7f};
    {
        QPainter painter(&image);
        QtChartCanvas canvas(painter, 340.0f);
        canvas.fillShape(ChartShape{ChartShape::Kind::Rectangle, bar, {}, 0, 0, 0}, Colour{1.0, 0.0, 0.0, 0.5},
                         std::nullopt);
    }
    const int top = static_cast<int>(std::ceil(340.0f - bar.top()));
    const int bottom = static_cast<int>(std::floor(340.0f - bar.y)) - 1;
    const QColor first = image.pixelColor(25, top);
    EXPECT_EQ(first.red(), 255);
    EXPECT_NEAR(first.green(), 128, 2);
    for (int row = top; row <= bottom; ++row) ASSERT_EQ(image.pixelColor(25, row), first) << "row " << row;
    EXPECT_EQ(image.pixelColor(25, top - 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(25, bottom + 2), QColor(Qt::white));
}

TEST_F(ChartViewFixture, PieChartsPaintTheirWedges)
{
    ChartView debitCredit(CGraph::make<CPieChart>());
    debitCredit.resize(900, 320);
    debitCredit.synchronizeWithArray(linesOf(books.banks));
    keep(paint(debitCredit), "pie-debit-credit");

    auto categories = std::make_shared<CExpTItem>(books.groceries);
    ChartElements items;
    for (CExpenseType* c : {books.groceries, books.restaurants, books.rent, books.salary, books.bonus})
        items.push_back(std::make_shared<CExpTItem>(c));
    ChartView accountTypes(CGraph::make<CAccountTypePieChart>());
    accountTypes.resize(520, 360);
    accountTypes.synchronizeWithElements(items);
    const QImage image = paint(accountTypes);
    keep(image, "pie-categories");
    // Each wedge is painted in its category's colour at half its radius.
    for (CGraphPoint* point : accountTypes.chart().plotSerie("ACNT")->points()) {
        auto* wedge = static_cast<CPiechartGraphPoint*>(point);
        if (wedge->mHoek() < 10) continue;
        const float angle = wedge->getCentreAngle() * 0.0174532925f;
        const ChartPoint centre = accountTypes.chart().getGraphOrigin(*accountTypes.chart().plotSerie("ACNT"));
        const QPoint at = widgetPoint(accountTypes, {centre.x + wedge->mYPosition() / 2 * std::cos(angle),
                                                     centre.y + wedge->mYPosition() / 2 * std::sin(angle)});
        const Colour expected = static_cast<const CategoryAncestor*>(wedge->categoryObject().get())->chartColor();
        const QColor pixel = image.pixelColor(at);
        EXPECT_NEAR(pixel.hueF(), QColor::fromRgbF(expected.red, expected.green, expected.blue).hueF(), 0.03)
            << wedge->getCategoryAsString(true);
    }

    ChartView lines(CGraph::make<CExpenseTypePieChart>());
    lines.resize(420, 300);
    static_cast<CExpenseTypePieChart&>(lines.chart()).setColor({0.2, 0.4, 0.8, 1.0});
    ChartElements rows;
    auto array = linesOf(books.food);
    for (int i = 1; i <= static_cast<int>(array->count()); ++i) rows.push_back(array->getObjectAtIndex(i));
    lines.synchronizeWithElements(rows);
    keep(paint(lines), "pie-lines");
}

// Hovering a bar, then selecting another object, then painting: the hover
// point is gone with the old points and nothing reads freed memory.
TEST_F(ChartViewFixture, HoverThenNewSelectionThenRedraw)
{
    for (bool pie : {false, true}) {
        ChartView view(pie ? std::unique_ptr<CGraph>(CGraph::make<CPieChart>()) : CGraph::make<CBarChart>());
        view.resize(900, 340);
        view.show();
        view.synchronizeWithObject(std::make_shared<CAcnTItem>(books.checking));
        paint(view);
        CGraph& chart = view.chart();
        CGraphPoint* target = chart.plotSerie(pie ? "DEBET" : "OUT")->sortedPoints().front();
        QTest::mouseMove(&view, widgetPoint(view, target->getCenter()));
        QMouseEvent move(QEvent::MouseMove, QPointF(widgetPoint(view, target->getCenter())),
                         QPointF(view.mapToGlobal(widgetPoint(view, target->getCenter()))), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &move);
        ASSERT_NE(chart.currentHoverPoint(), nullptr);
        view.synchronizeWithObject(std::make_shared<CAcnTItem>(books.joint));
        EXPECT_EQ(chart.currentHoverPoint(), nullptr);
        paint(view);
        view.repaint();
        QCoreApplication::processEvents();
    }
}

// A chart of model lines makes the items of a bar's lines when the bar is
// clicked, from the books as they are then.
TEST_F(ChartViewFixture, ClickingABarOfModelLinesOpensTheItemsOfItsLines)
{
    ChartView view(CGraph::make<CBarChart>());
    view.resize(900, 340);
    CAccount* checking = books.checking;
    view.synchronizeWithLines({[checking] {
                                   std::vector<CNonVisual*> lines;
                                   appendModelLines(lines, checking->Get_mDebitlist());
                                   appendModelLines(lines, checking->Get_mCreditList());
                                   return lines;
                               },
                               [](CNonVisual* line) -> ChartElement { return std::make_shared<CDebetItem>(line); }});
    paint(view);
    CGraphPoint* bar = view.chart().plotSerie("OUT")->sortedPoints().back();
    ASSERT_GT(bar->detailCount(), 0u);
    QTest::mouseClick(&view, Qt::LeftButton, {}, widgetPoint(view, bar->getCenter()));
    ASSERT_NE(bar->detailWindow(), nullptr);
    QPointer<CTransactionDetailPopupController> window = view.findChild<CTransactionDetailPopupController*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(window->mArray().size(), bar->detailCount());
    double sum = 0;
    for (const ChartElement& element : window->mArray()) {
        const auto* line = static_cast<const CDebit*>(element->getSourceItem());
        EXPECT_EQ(line->Get_ObjectType(), fourCC("DebT"));
        EXPECT_GE(line->Get_mDate(), bar->getStartDate());
        EXPECT_LE(line->Get_mDate(), bar->getEndDate());
        sum += line->Get_mLocalAmount();
    }
    EXPECT_NEAR(sum, bar->getAmount(), 0.005);
}

TEST_F(ChartViewFixture, ClickingABarOpensItsDetailWindowOnce)
{
    ChartView view(CGraph::make<CBarChart>());
    view.resize(900, 340);
    view.synchronizeWithArray(linesOf(books.checking));
    paint(view);
    CGraphPoint* bar = view.chart().plotSerie("OUT")->sortedPoints().back();
    QTest::mouseClick(&view, Qt::LeftButton, {}, widgetPoint(view, bar->getCenter()));
    PointDetailWindow* first = bar->detailWindow();
    ASSERT_NE(first, nullptr);
    QPointer<CTransactionDetailPopupController> window = view.findChild<CTransactionDetailPopupController*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->mArray().size(), bar->detailCount());
    window->pieChart()->chart().layout();
    EXPECT_NEAR(window->pieChart()->chart().plotSerie("POSITION")->mTotalAmount(), bar->getAmount(), 0.005);
    QTest::mouseClick(&view, Qt::LeftButton, {}, widgetPoint(view, bar->getCenter()));
    EXPECT_EQ(bar->detailWindow(), first);

    const TransactionDetailTableModel& model = *window->tableModel();
    EXPECT_FALSE(model.toolTipForRow(0).isEmpty());
    EXPECT_TRUE(model.toolTipForRow(model.rowCount()).isEmpty());
    EXPECT_TRUE(model.toolTipForRow(-1).isEmpty());

    QImage image(window->size(), QImage::Format_ARGB32);
    window->render(&image);
    keep(image, "detail-window");

    // The next array drops the points, and their windows close.
    view.synchronizeWithArray(linesOf(books.joint));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

} // namespace
} // namespace ch::test
