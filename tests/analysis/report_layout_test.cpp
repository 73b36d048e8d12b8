#include <gtest/gtest.h>

#include <vector>

#include "analysis/CParagraph.h"
#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportPages.h"
#include "report_test_support.h"

namespace ch::test {
namespace {

constexpr float kBreak = -1.0f;   // a page-break line in a list of heights

const CPrintStyle* styleNamed(std::string_view name)
{
    return CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(name);
}

// Lines of the given heights (kBreak: a page break), in the detail style.
CReportContents contentsOf(const std::vector<float>& heights)
{
    CReportContents contents;
    for (float height : heights) {
        CParagraph paragraph(styleNamed(GXCStyleDetail), CReportColumn(styleNamed(GXCStyleDetail), "x"));
        if (height == kBreak)
            paragraph.setIsPageBreak(true);
        else
            paragraph.setForcedHeight(height);
        contents.addObject(std::move(paragraph));
    }
    return contents;
}

TEST(ReportLayoutTest, PlacesLinesOnPagesWithoutSplittingThem)
{
    struct Case {
        const char* what;
        std::vector<float> heights;
        std::vector<float> starts;
        float total;
        unsigned pages;
    };
    const std::vector<Case> cases{
        {"empty", {}, {}, 0, 0},
        {"a line that would cross the bottom moves down", {60, 60, 60, 30}, {0, 100, 200, 260}, 290, 3},
        {"a line ending on the bottom stays", {60, 40, 30}, {0, 60, 100}, 130, 2},
        {"exactly two pages make two pages", {50, 50, 100}, {0, 50, 100}, 200, 2},
        {"a line taller than a page leaves the page above empty", {150}, {100}, 250, 3},
        {"a break moves to the next page", {60, kBreak, 30}, {0, 100, 100}, 130, 2},
        {"a break at the top of the report changes nothing", {kBreak, 30}, {0, 0}, 30, 1},
        {"a break at the top of a page leaves no empty page", {50, 50, kBreak, 30}, {0, 50, 100, 100}, 130, 2},
        {"a break after a line that moved to a page's top", {90, 100, kBreak, 10}, {0, 100, 200, 200}, 210, 3},
        {"a break at the end ends the report on its page", {60, kBreak}, {0, 100}, 100, 1},
    };
    FixedMeasurer measurer;
    for (const Case& c : cases) {
        CReportContents contents = contentsOf(c.heights);
        const ReportLayout layout = contents.layout(true, 500, 100, measurer);
        std::vector<float> starts;
        for (const ParagraphPlacement& placement : layout.placements) starts.push_back(placement.start);
        EXPECT_EQ(starts, c.starts) << c.what;
        EXPECT_EQ(layout.size.height, c.total) << c.what;
        EXPECT_EQ(CReportContents::pageCountForHeight(layout.size.height, 100), c.pages) << c.what;
        EXPECT_EQ(contents.reportSizeForScreenDisplay(true, 500, 100, measurer).height, c.total) << c.what;
    }
}

TEST(ReportLayoutTest, PageOfAPositionAndCountOfAHeight)
{
    struct Case {
        float position;
        unsigned page;
        float nextBottom;
        unsigned pagesForHeight;
    };
    const std::vector<Case> cases{
        {0, 1, 100, 0}, {0.5f, 1, 100, 1}, {99.9f, 1, 100, 1}, {100, 2, 200, 1}, {250, 3, 300, 3}, {300, 4, 400, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CReportContents::getPageForPosition(c.position, 100), c.page) << c.position;
        EXPECT_EQ(CReportContents::getNextPageBottomAfter(c.position, 100), c.nextBottom) << c.position;
        EXPECT_EQ(CReportContents::pageCountForHeight(c.position, 100), c.pagesForHeight) << c.position;
    }
    // A page of no height (a view before its first layout) holds everything.
    EXPECT_EQ(CReportContents::pageCountForHeight(500, 0), 1u);
    FixedMeasurer measurer;
    CReportContents contents = contentsOf({60, 60, kBreak, 60});
    EXPECT_EQ(contents.layout(true, 500, 0, measurer).size.height, 180);
}

TEST(ReportLayoutTest, PaperFontsNeedFewerPages)
{
    FixedMeasurer measurer;
    CReportContents contents;
    for (int i = 0; i < 60; ++i)
        contents.addObject(CParagraph(styleNamed(GXCStyleDetail), CReportColumn(styleNamed(GXCStyleDetail), "x")));
    // Lines 11.25 high on screen (8 a page), 7.875 on paper (12 a page).
    EXPECT_EQ(CReportContents::pageCountForHeight(contents.layout(true, 500, 100, measurer).size.height, 100), 8u);
    EXPECT_EQ(CReportContents::pageCountForHeight(contents.layout(false, 500, 100, measurer).size.height, 100), 5u);
}

TEST(ReportLayoutTest, ColumnsShareTheWidthByWeight)
{
    FixedMeasurer measurer;
    const CPrintStyle* detail = styleNamed(GXCStyleDetail);
    CParagraph paragraph(styleNamed(GXCStyleSectionFooter), CReportColumn(detail, "Title"));
    paragraph.reportColumnAtIndex(0).setRelativeWidth(2);
    for (std::size_t i = 1; i <= 4; ++i) paragraph.insertReportColumn(CReportColumn(detail, "1,000.00"), i);
    // A weight of 0 counts 1 in the total but keeps the measured width.
    CReportColumn unweighted(detail, "abcd");
    unweighted.setRelativeWidth(0);
    paragraph.insertReportColumn(unweighted, 5);
    ASSERT_EQ(paragraph.getTotalColumWeight(), 7.0f);

    const ReportSize size = paragraph.paragraphSizeForScreenDisplay(true, 700, measurer);
    std::vector<float> widths;
    for (const CReportColumn& column : paragraph.reportColumns())
        widths.push_back(column.columnSizeForScreenDisplay(true, 700, measurer).width);
    EXPECT_EQ(widths, (std::vector<float>{200, 100, 100, 100, 100, 4 * 9 * 0.5f}));
    EXPECT_EQ(size.width, 618);
    // Ten percent of the tallest cell above and below it.
    const float line = 9 * 1.25f;
    EXPECT_FLOAT_EQ(paragraph.topMargin(), line * 0.1f);
    EXPECT_FLOAT_EQ(paragraph.bottomMargin(), line * 0.1f);
    EXPECT_FLOAT_EQ(size.height, line * 1.2f);

    // A forced height wins over text and margins, and a page break is 15 high.
    paragraph.setForcedHeight(5);
    EXPECT_EQ(paragraph.paragraphSizeForScreenDisplay(true, 700, measurer).height, 5);
    CParagraph pageBreak;
    pageBreak.setIsPageBreak(true);
    EXPECT_EQ(pageBreak.paragraphSizeForScreenDisplay(true, 700, measurer), (ReportSize{700, 15}));
}

// The width a report needs to show every text whole: each cell's share of
// its line, at the line's weights, holds its text (indented by its level) and
// a gap after it; the line that needs most decides, a page break needs none.
TEST(ReportLayoutTest, TheNeededWidthGivesEveryCellRoomForItsText)
{
    FixedMeasurer measurer;   // 4.5 a character in the detail style
    const CPrintStyle* detail = styleNamed(GXCStyleDetail);
    constexpr float gap = 10;
    CParagraph heading(detail, CReportColumn(detail, "Period"));
    heading.reportColumnAtIndex(0).setRelativeWidth(2);
    for (const char* text : {"VAT paid", "Paid cancelled", "VAT received", "Received cancelled"})
        heading.insertReportColumn(CReportColumn(detail, text), heading.countOfReportColumns());
    CReportColumn indented(detail, "Total Standard");
    indented.setLevel(3);
    CParagraph total(detail, indented);
    CParagraph pageBreak;
    pageBreak.setIsPageBreak(true);

    // (18 × 4.5 + 10) × 6 for the last heading; (6 × 4.5 + 10) × 6 / 2 for
    // the period; (14 × 4.5 + 2 × 10 + 10) for the indented total.
    EXPECT_FLOAT_EQ(heading.neededWidth(true, measurer, gap), 546);
    EXPECT_FLOAT_EQ(total.neededWidth(true, measurer, gap), 93);
    EXPECT_EQ(pageBreak.neededWidth(true, measurer, gap), 0);
    EXPECT_EQ(CReportContents().neededWidth(true, measurer, gap), 0);

    CReportContents contents;
    for (CParagraph* paragraph : {&total, &pageBreak, &heading}) contents.addObject(*paragraph);
    const float needed = contents.neededWidth(true, measurer, gap);
    ASSERT_FLOAT_EQ(needed, 546);
    contents.layout(true, needed, 0, measurer);
    for (std::size_t i = 0; i < contents.count(); ++i)
        for (const CReportColumn& column : contents.objectAtIndex(i).reportColumns())
            if (!contents.objectAtIndex(i).isPageBreak())
                EXPECT_GE(column.columnSizeForScreenDisplay(true, needed, measurer).width + 0.01f,
                          column.neededWidth(true, measurer) + gap)
                    << column.mValue();
}

TEST(ReportLayoutTest, DrawsBackgroundThenIndentedCells)
{
    RecordingCanvas canvas;
    const ReportRect rect{0, 0, 300, 400};
    auto draw = [&](CParagraph paragraph, float bottom) {
        canvas.ops.clear();
        paragraph.paragraphSizeForScreenDisplay(true, rect.width, canvas);
        paragraph.printAtBottomLine(bottom, rect, true, canvas);
        return canvas.ops;
    };

    // A level-3 title is drawn 20 points in; the next cell still starts at
    // the title's own start plus its width.
    CParagraph footer(styleNamed(GXCStyleLevel1Footer), CReportColumn(styleNamed(GXCStyleLevel1FooterTitle), "Total"));
    footer.reportColumnAtIndex(0).setLevel(3);
    footer.reportColumnAtIndex(0).setRelativeWidth(2);
    footer.insertReportColumn(CReportColumn(styleNamed(GXCStyleLevel1Footer), "12.50"), 1);
    // Text 11.25 high, 5.625 below it: the line is 16.875 high.
    EXPECT_EQ(draw(footer, 100), (std::vector<std::string>{
                                     "line 0,83.125 300,83.125",
                                     "text 'Total' 20,83.125 200x11.25",
                                     "text '12.50' 200,83.125 100x11.25",
                                 }));

    // Fill, then outline; header cells centred by their attributes.
    CParagraph header(styleNamed(GXCStyleReportHeader), CReportColumn(styleNamed(GXCStyleReportHeader), "Report"));
    EXPECT_EQ(draw(header, 40), (std::vector<std::string>{
                                    "outline 0,12 300x28",
                                    "text 'Report' 0,16 300x20",
                                }));
    EXPECT_EQ(canvas.texts.back().attributes.alignment, TextAlignment::Centre);

    CParagraph section(styleNamed(GXCStyleSectionHeader), CReportColumn(styleNamed(GXCStyleSectionHeaderTitle), "A"));
    const std::vector<std::string> sectionOps = draw(section, 20);
    ASSERT_EQ(sectionOps.size(), 3u);
    EXPECT_EQ(sectionOps[0].rfind("fill 0,", 0), 0u);
    EXPECT_EQ(sectionOps[1].rfind("line 0,20 300,20", 0), 0u);   // the edge below

    CParagraph pageBreak(styleNamed(GXCStyleLevel1Header), CReportColumn(styleNamed(GXCStyleDetail), ""));
    pageBreak.setIsPageBreak(true);
    EXPECT_TRUE(draw(pageBreak, 50).empty());
}

TEST(ReportLayoutTest, DrawsEachPageWithTheLinesThatStartOnIt)
{
    CReportContents contents = contentsOf({60, 60, 60, 30});
    for (std::size_t i = 0; i < contents.count(); ++i)
        contents.objectAtIndex(i).reportColumnAtIndex(0).setMValue("line " + std::to_string(i + 1));
    const std::vector<std::vector<std::string>> expected{
        {"line 1"}, {"line 2"}, {"line 3", "line 4"}, {}};
    for (unsigned page = 1; page <= 4; ++page) {
        RecordingCanvas canvas;
        EXPECT_EQ(printPage(contents, page, {500, 100}, true, canvas), 290);
        std::vector<std::string> texts;
        for (const auto& text : canvas.texts) texts.push_back(text.text);
        EXPECT_EQ(texts, expected[page - 1]) << page;
        // Each sits with its bottom at its end, counted from the page's top.
        if (page == 3) {
            EXPECT_EQ(canvas.texts[0].rect.bottom(), 60);
            EXPECT_EQ(canvas.texts[1].rect.bottom(), 90);
        }
    }
}

TEST(ReportLayoutTest, PagingStaysWithinTheReport)
{
    struct Case {
        const char* what;
        unsigned pages;
        std::vector<char> moves;   // f first, l last, n next, p previous
        std::vector<unsigned> shown;
        std::string description;
    };
    const std::vector<Case> cases{
        {"no pages", 0, {'l', 'p', 'n', 'p', 'f'}, {1, 1, 1, 1, 1}, "1/0"},
        {"one page", 1, {'n', 'p', 'l'}, {1, 1, 1}, "1/1"},
        {"three pages", 3, {'n', 'n', 'n', 'p', 'l', 'f', 'p'}, {2, 3, 3, 2, 3, 1, 1}, "1/3"},
    };
    for (const Case& c : cases) {
        ReportPaging paging;
        paging.setNumberOfPages(c.pages);
        std::vector<unsigned> shown;
        for (char move : c.moves) {
            switch (move) {
            case 'f': shown.push_back(paging.firstPage()); break;
            case 'l': shown.push_back(paging.lastPage()); break;
            case 'n': shown.push_back(paging.nextPage()); break;
            default: shown.push_back(paging.previousPage()); break;
            }
        }
        EXPECT_EQ(shown, c.shown) << c.what;
        EXPECT_EQ(paging.pageDescription(), c.description) << c.what;
    }
    // A report that shrinks takes the page shown along.
    ReportPaging paging;
    paging.setNumberOfPages(5);
    paging.lastPage();
    paging.setNumberOfPages(2);
    EXPECT_EQ(paging.currentPage(), 2u);
    paging.setNumberOfPages(0);
    EXPECT_EQ(paging.pageDescription(), "1/0");
}

} // namespace
} // namespace ch::test
