#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include <QDir>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

#include "../report_test_support.h"
#include "analysis/CBalanceSheetReportBuilder.h"
#include "analysis/CExpenseOverviewReportBuilder.h"
#include "analysis/CPLStatementReportBuilder.h"
#include "analysis/views/CReportPrintView.h"
#include "views_test_support.h"

namespace ch::test {
namespace {

QPageLayout a4(QMarginsF margins = QMarginsF(72, 90, 72, 90))
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins, QPageLayout::Point);
}

class ReportPrintingTest : public ::testing::Test {
protected:
    template <class Builder>
    std::shared_ptr<CReportContents> build(unsigned char periodicity = periodicity::kMonth)
    {
        Builder builder;
        builder.setDocument(&books.root);
        builder.setPerdiodicityParms(periodicity, relative_period::kLastComplete, 0, 4, 1);
        return std::shared_ptr<CReportContents>(builder.buildContents());
    }

    // Pages the print view counts for the contents on A4 (measured as a PDF writer does).
    unsigned pagesOnA4(const std::shared_ptr<CReportContents>& contents, const QPageLayout& layout = a4())
    {
        QPdfWriter measure(dir.filePath(QStringLiteral("measure.pdf")));
        measure.setResolution(72);
        return CReportPrintView(contents, layout, measure).numberOfPages();
    }

    ReportEnvironment env;
    ReportBooks books;
    QTemporaryDir dir;
};

TEST_F(ReportPrintingTest, PdfHoldsTitleRowsAndTotalsOnTheExpectedPages)
{
    const auto contents = build<CBalanceSheetReportBuilder>();
    // Three sections and the grand total, each after a page break.
    const unsigned pages = pagesOnA4(contents);
    EXPECT_EQ(pages, 4u);
    const QString path = dir.filePath(QStringLiteral("balance.pdf"));
    ASSERT_TRUE(printReportToPdf(contents, path, a4()));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::optional<std::string> text = pdfText(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(pagesOf(*text), pages);
    for (const std::string& expected :
         {localized("BALANCESHEET"), localized("PROPERTYSECTIONTITLE"), std::string("Millionaire Fund"),
          std::string("1,234,567.89"), std::string("Current Accounts"), localized("TOTALFOR") + " Banks",
          localized("PROPERTYSECTIONFOOTER"), localized("DEBTSECTIONFOOTER"), localized("GRANDTOTALTITLE")})
        EXPECT_NE(text->find(expected), std::string::npos) << expected;
    for (const char* number : {"-1-", "-4-"}) EXPECT_NE(withoutBlanks(*text).find(number), std::string::npos);
    // Each page carries the title once: in its top margin, and on page 1 in
    // the report's own header instead.
    std::size_t titles = 0;
    for (std::size_t at = text->find(localized("BALANCESHEET")); at != std::string::npos;
         at = text->find(localized("BALANCESHEET"), at + 1))
        ++titles;
    EXPECT_EQ(titles, pages);
}

TEST_F(ReportPrintingTest, PrinterPrintsTheSamePagesAsTheWriter)
{
    const auto contents = build<CExpenseOverviewReportBuilder>();
    const unsigned pages = pagesOnA4(contents);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath(QStringLiteral("overview.pdf"));
    printer.setOutputFileName(path);
    printer.setPageLayout(a4());
    ASSERT_TRUE(printReport(contents, printer));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::optional<std::string> text = pdfText(path);
    ASSERT_TRUE(text);
    // Five sections and the grand total.
    EXPECT_EQ(pages, 6u);
    EXPECT_EQ(pagesOf(*text), pages);
    EXPECT_NE(text->find("Groceries"), std::string::npos);
    EXPECT_NE(text->find(localized("TRANSFERSECTIONFOOTER")), std::string::npos);
}

TEST_F(ReportPrintingTest, LongReportsRunOverPagesWithoutBlankOnes)
{
    // A report of many lines, and the same report exactly filling pages.
    auto contents = std::make_shared<CReportContents>();
    contents->setTitle("Lines");
    const CPrintStyle* detail = CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(GXCStyleDetail);
    // A report area 750 points high.
    const QPageLayout layout(QPageSize(QSizeF(600, 850), QPageSize::Point), QPageLayout::Portrait,
                             QMarginsF(50, 50, 50, 50), QPageLayout::Point);
    for (int i = 0; i < 150; ++i) {
        CParagraph line(detail, CReportColumn(detail, "Line " + std::to_string(i + 1)));
        line.setForcedHeight(15);
        contents->addObject(std::move(line));
    }
    // 150 lines of 15 points: 2,250 points, exactly three pages of 750.
    EXPECT_EQ(pagesOnA4(contents, layout), 3u);
    const QString path = dir.filePath(QStringLiteral("lines.pdf"));
    ASSERT_TRUE(printReportToPdf(contents, path, layout));
    if (!havePdfToText()) GTEST_SKIP() << "pdftotext is not installed";
    const std::optional<std::string> text = pdfText(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(pagesOf(*text), 3u);
    EXPECT_NE(text->find("Line 150"), std::string::npos);
    EXPECT_NE(withoutBlanks(*text).find("-3-"), std::string::npos);
    EXPECT_EQ(withoutBlanks(*text).find("-4-"), std::string::npos);
}

// The rows of the image that hold any ink.
std::pair<int, int> inkRows(const QImage& image, int from, int to)
{
    int first = -1, last = -1;
    for (int y = from; y < to; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

TEST_F(ReportPrintingTest, TitleSitsInTheTopMarginAndNumberInTheBottomMargin)
{
    auto contents = std::make_shared<CReportContents>();
    contents->setTitle("Review");
    // A top margin smaller than the bottom one.
    const QImage page = renderReportPage(contents, a4(QMarginsF(40, 40, 40, 80)), 1, 2.0).convertToFormat(QImage::Format_RGB32);
    const int paperHeight = page.height();   // pixels: 2 per point
    const auto [titleTop, titleBottom] = inkRows(page, 0, paperHeight / 2);
    ASSERT_GE(titleTop, 0);
    EXPECT_LT(titleBottom, 2 * 40);
    const auto [numberTop, numberBottom] = inkRows(page, paperHeight / 2, paperHeight);
    ASSERT_GE(numberTop, 0);
    EXPECT_GE(numberTop, paperHeight - 2 * 80);
    // Centred across the paper.
    int left = page.width(), right = 0;
    for (int y = titleTop; y <= titleBottom; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_NEAR((left + right) / 2.0, page.width() / 2.0, 4.0);
}

// A printer's layout without margins: the title, the page number and the
// report keep off the paper's edges, on every page.
TEST_F(ReportPrintingTest, WithoutMarginsNothingTouchesThePapersEdge)
{
    const auto contents = build<CBalanceSheetReportBuilder>();
    const QPageLayout bare = a4(QMarginsF(0, 0, 0, 0));
    ASSERT_GE(pagesOnA4(contents, bare), 2u);
    for (unsigned pageNumber : {1u, 2u}) {
        const QImage page = renderReportPage(contents, bare, pageNumber, 2.0).convertToFormat(QImage::Format_RGB32);
        const auto [top, topEnd] = inkRows(page, 0, page.height() / 2);
        const auto [bottomStart, bottom] = inkRows(page, page.height() / 2, page.height());
        ASSERT_GE(top, 0) << pageNumber;
        EXPECT_GE(top, 2 * 8) << "page " << pageNumber << " starts at the top edge";
        EXPECT_LE(bottom, page.height() - 2 * 8) << "page " << pageNumber << " ends at the bottom edge";
    }
}

// Pages of the three reports as images in the build folder, for a person to
// look at: review/reports/*.png.
TEST_F(ReportPrintingTest, WritesReviewImages)
{
    QDir().mkpath(QStringLiteral("review/reports"));
    const std::vector<std::pair<QString, std::shared_ptr<CReportContents>>> reports{
        {QStringLiteral("balance-sheet"), build<CBalanceSheetReportBuilder>()},
        {QStringLiteral("profit-and-loss"), build<CPLStatementReportBuilder>(periodicity::kQuarter)},
        {QStringLiteral("expense-overview"), build<CExpenseOverviewReportBuilder>()},
    };
    for (const auto& [name, contents] : reports) {
        const unsigned pages = std::min(2u, pagesOnA4(contents));
        for (unsigned page = 1; page <= pages; ++page) {
            const QImage image = renderReportPage(contents, a4(), page, 2.0);
            const QString file = QStringLiteral("review/reports/%1-page%2.png").arg(name).arg(page);
            EXPECT_TRUE(image.save(file)) << file.toStdString();
        }
    }
}

} // namespace
} // namespace ch::test
