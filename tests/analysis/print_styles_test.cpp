#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportColumn.h"
#include "report_test_support.h"

namespace ch::test {
namespace {

TEST(PrintStylesTest, RegistersTheNamedStyles)
{
    enum Edges { none, outline, above, below };
    struct Row {
        std::string_view name;
        const char* family;
        bool bold;
        float size;
        TextAlignment alignment;
        float pctAbove;
        float pctBelow;
        bool grey;
        Edges edges;
        bool textStroke;
    };
    const auto L = TextAlignment::Left, R = TextAlignment::Right, C = TextAlignment::Centre;
    const std::vector<Row> rows{
        {GXCStyleReportHeader, "Verdana", false, 16, C, 20, 20, false, outline, true},
        {GXCStyleLevel1Header, "Verdana", true, 9, R, 0, 0, false, none, true},
        {GXCStyleLevel1HeaderTitle, "Verdana", true, 9, L, 0, 0, false, none, true},
        {GXCStyleDetail, "Verdana", false, 9, R, 0, 0, false, none, true},
        {GXCStyleDetailTitle, "Verdana", false, 9, L, 0, 0, false, none, true},
        {GXCStyleLevel1Footer, "Verdana", true, 9, R, 0, 50, false, above, true},
        {GXCStyleLevel1FooterTitle, "Verdana", true, 9, L, 0, 50, false, above, true},
        {GXCStyleSectionHeader, "Verdana", true, 9, R, 0, 10, true, below, true},
        {GXCStyleSectionHeaderTitle, "Verdana", true, 14, L, 0, 10, true, below, true},
        {GXCStyleSectionFooter, "Verdana", true, 9, R, 10, 10, true, none, true},
        {GXCStyleSectionFooterTitle, "Verdana", true, 9, L, 10, 10, true, none, true},
        {GXCStyleGrandTotal, "Verdana", true, 9, R, 0, 10, true, none, true},
        {GXCStyleGrandTotalTitle, "Verdana", true, 9, L, 0, 10, true, none, true},
        {GXCStyleLevel2Header, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel3Header, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel2HeaderTitle, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel3HeaderTitle, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel2Footer, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel3Footer, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel2FooterTitle, "Helvetica", false, 9, R, 0, 0, false, none, false},
        {GXCStyleLevel3FooterTitle, "Helvetica", false, 9, R, 0, 0, false, none, false},
    };
    ReportEnvironment env;
    const CPrintStyleManager& manager = CPrintStyleManager::sharedPrintStyleManager();
    EXPECT_EQ(&manager, &CPrintStyleManager::sharedPrintStyleManager());
    for (const Row& row : rows) {
        const CPrintStyle* style = manager.getStyleNamed(row.name);
        ASSERT_NE(style, nullptr) << row.name;
        const TextAttributes& screen = style->styleAttributesScreen();
        EXPECT_EQ(screen.font, (ReportFont{row.family, row.bold, row.size})) << row.name;
        EXPECT_EQ(screen.alignment, row.alignment) << row.name;
        EXPECT_EQ(screen.foreground, Colour::black()) << row.name;
        EXPECT_EQ(screen.strokeColour.has_value(), row.textStroke) << row.name;
        EXPECT_EQ(style->pctAbove(), row.pctAbove) << row.name;
        EXPECT_EQ(style->pctBelow(), row.pctBelow) << row.name;
        EXPECT_EQ(style->fillColor().has_value(), row.grey) << row.name;
        EXPECT_EQ(style->strokeAll(), row.edges == outline) << row.name;
        EXPECT_EQ(style->strokeAbove(), row.edges == above) << row.name;
        EXPECT_EQ(style->strokeBelow(), row.edges == below) << row.name;
        EXPECT_FALSE(style->strokeLeft() || style->strokeRight()) << row.name;
        EXPECT_EQ(style->strokeColor(), Colour::black()) << row.name;
        // Paper: the same font at 70 % of its size.
        const TextAttributes& print = style->styleAttributesPrint();
        EXPECT_EQ(print.font.family, row.family) << row.name;
        EXPECT_FLOAT_EQ(print.font.size, row.size * 0.7f) << row.name;
        EXPECT_EQ(print.alignment, row.alignment) << row.name;
    }
    EXPECT_EQ(manager.getStyleNamed("GRANDTOTALTITLE"), nullptr);
    EXPECT_FLOAT_EQ(manager.getStyleNamed(GXCStyleSectionHeaderTitle)->styleAttributesPrint().font.size, 9.8f);
}

TEST(PrintStylesTest, CellsMeasureInScreenOrPaperAttributes)
{
    FixedMeasurer measurer;
    const CPrintStyle* title = CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(GXCStyleSectionHeaderTitle);
    CReportColumn column(title, "Assets");
    EXPECT_EQ(column.getStyleAttributes(true).font.size, 14.0f);
    EXPECT_FLOAT_EQ(column.getStyleAttributes(false).font.size, 9.8f);
    EXPECT_FLOAT_EQ(column.columnSizeForScreenDisplay(false, 0, measurer).height, 9.8f * 1.25f);
    // No style: the default attributes.
    CReportColumn plain(nullptr, "x");
    EXPECT_EQ(plain.getStyleAttributes(true), defaultTextAttributes());

    // Any percentage of 1 or more but 100 scales the font; the caller's stays.
    CPrintStyle style;
    TextAttributes attributes = defaultTextAttributes();
    for (const auto& [percentage, size] : std::vector<std::pair<int, float>>{{70, 8.4f}, {100, 12}, {0, 12}, {150, 18}}) {
        style.setStyleAttributesPrint(attributes, percentage);
        EXPECT_FLOAT_EQ(style.styleAttributesPrint().font.size, size) << percentage;
    }
    EXPECT_EQ(attributes.font.size, 12.0f);
}

} // namespace
} // namespace ch::test
