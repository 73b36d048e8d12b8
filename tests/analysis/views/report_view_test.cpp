#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QImage>
#include <QSignalSpy>

#include "../report_test_support.h"
#include "analysis/CPrintStyleManager.h"
#include "analysis/views/CReportView.h"

namespace ch::test {
namespace {

// Lines of the given heights in the detail style, titled "line 1", ...
std::shared_ptr<CReportContents> contentsOf(const std::vector<float>& heights)
{
    const CPrintStyle* detail = CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(GXCStyleDetail);
    auto contents = std::make_shared<CReportContents>();
    contents->setTitle("Heights");
    for (std::size_t i = 0; i < heights.size(); ++i) {
        CParagraph paragraph(detail, CReportColumn(detail, "line " + std::to_string(i + 1)));
        paragraph.setForcedHeight(heights[i]);
        contents->addObject(std::move(paragraph));
    }
    return contents;
}

bool isWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != Qt::white) return false;
    return true;
}

TEST(ReportViewTest, AnEmptyViewShowsAWhitePageAndStaysOnPageOne)
{
    CReportView view;
    view.resize(300, 200);
    EXPECT_EQ(view.pageDescription(), "1/0");
    EXPECT_EQ(view.lastPage(), 1u);
    EXPECT_EQ(view.previousPage(), 1u);
    EXPECT_EQ(view.nextPage(), 1u);
    EXPECT_EQ(view.pageDescription(), "1/0");
    EXPECT_TRUE(isWhite(view.grab().toImage()));
    view.setMReportContents(std::make_shared<CReportContents>());
    EXPECT_EQ(view.pageDescription(), "1/0");
    EXPECT_TRUE(isWhite(view.grab().toImage()));
}

TEST(ReportViewTest, PagesThroughTheReportAndFollowsItsSize)
{
    CReportView view;
    view.resize(400, 100);
    view.show();
    QSignalSpy counts(&view, &CReportView::numberOfPagesChanged);
    view.setMReportContents(contentsOf({60, 60, 60, 30}));
    EXPECT_EQ(view.title(), "Heights");
    EXPECT_EQ(view.numberOfPages(), 3u);
    EXPECT_EQ(counts.count(), 1);
    EXPECT_EQ(view.nextPage(), 2u);
    EXPECT_EQ(view.nextPage(), 3u);
    EXPECT_EQ(view.nextPage(), 3u);
    EXPECT_EQ(view.pageDescription(), "3/3");
    EXPECT_FALSE(isWhite(view.grab().toImage()));

    // Taller, the report fits one page, and the page shown follows.
    view.resize(400, 300);
    EXPECT_EQ(view.pageDescription(), "1/1");
    EXPECT_EQ(counts.count(), 2);
    EXPECT_EQ(view.previousPage(), 1u);
    view.resize(400, 100);
    EXPECT_EQ(view.lastPage(), 3u);
    EXPECT_EQ(view.firstPage(), 1u);
}

} // namespace
} // namespace ch::test
