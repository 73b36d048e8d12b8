#include "analysis/CPrintStyleManager.h"

#include <array>
#include <optional>

namespace ch {

namespace {

// The light grey of section and total lines.
constexpr Colour kLightGrey{2.0 / 3.0, 2.0 / 3.0, 2.0 / 3.0, 1.0};

enum Edges { kNoEdges, kOutline, kLineAbove, kLineBelow };

struct StyleRow {
    std::string_view name;
    std::string_view family;
    bool bold;
    float size;
    TextAlignment alignment;
    float above;
    float below;
    bool grey;
    Edges edges;
};

constexpr auto L = TextAlignment::Left;
constexpr auto R = TextAlignment::Right;
constexpr auto C = TextAlignment::Centre;

constexpr std::array<StyleRow, 13> kStyleTable{{
    {GXCStyleReportHeader, "Verdana", false, 16, C, 20, 20, false, kOutline},
    {GXCStyleLevel1Header, "Verdana", true, 9, R, 0, 0, false, kNoEdges},
    {GXCStyleLevel1HeaderTitle, "Verdana", true, 9, L, 0, 0, false, kNoEdges},
    {GXCStyleDetail, "Verdana", false, 9, R, 0, 0, false, kNoEdges},
    {GXCStyleDetailTitle, "Verdana", false, 9, L, 0, 0, false, kNoEdges},
    {GXCStyleLevel1Footer, "Verdana", true, 9, R, 0, 50, false, kLineAbove},
    {GXCStyleLevel1FooterTitle, "Verdana", true, 9, L, 0, 50, false, kLineAbove},
    {GXCStyleSectionHeader, "Verdana", true, 9, R, 0, 10, true, kLineBelow},
    {GXCStyleSectionHeaderTitle, "Verdana", true, 14, L, 0, 10, true, kLineBelow},
    {GXCStyleSectionFooter, "Verdana", true, 9, R, 10, 10, true, kNoEdges},
    {GXCStyleSectionFooterTitle, "Verdana", true, 9, L, 10, 10, true, kNoEdges},
    {GXCStyleGrandTotal, "Verdana", true, 9, R, 0, 10, true, kNoEdges},
    {GXCStyleGrandTotalTitle, "Verdana", true, 9, L, 0, 10, true, kNoEdges},
}};

constexpr std::array<std::string_view, 21> kRegistrationOrder{
    GXCStyleReportHeader,       GXCStyleLevel1Header,       GXCStyleLevel2Header,
    GXCStyleLevel3Header,       GXCStyleLevel1HeaderTitle,  GXCStyleLevel2HeaderTitle,
    GXCStyleLevel3HeaderTitle,  GXCStyleDetail,             GXCStyleDetailTitle,
    GXCStyleLevel1Footer,       GXCStyleLevel2Footer,       GXCStyleLevel3Footer,
    GXCStyleLevel1FooterTitle,  GXCStyleLevel2FooterTitle,  GXCStyleLevel3FooterTitle,
    GXCStyleGrandTotalTitle,    GXCStyleSectionHeader,      GXCStyleSectionFooter,
    GXCStyleSectionHeaderTitle, GXCStyleSectionFooterTitle, GXCStyleGrandTotal,
};

std::optional<StyleRow> rowNamed(std::string_view name)
{
    for (const StyleRow& row : kStyleTable)
        if (row.name == name) return row;
    return std::nullopt;
}

} // namespace

CPrintStyleManager& CPrintStyleManager::sharedPrintStyleManager()
{
    // Lives as long as the process: reports keep pointers to its styles.
    static CPrintStyleManager* manager = new CPrintStyleManager;
    return *manager;
}

CPrintStyleManager::CPrintStyleManager()
{
    for (std::string_view name : kRegistrationOrder) addStyleToDictionary(name);
}

const CPrintStyle* CPrintStyleManager::getStyleNamed(std::string_view name) const
{
    const auto found = printStyleDictionary.find(name);
    return found == printStyleDictionary.end() ? nullptr : &found->second;
}

void CPrintStyleManager::addStyleToDictionary(std::string_view name)
{
    CPrintStyle style;
    TextAttributes attributes{ReportFont{"Helvetica", false, 9.0f}, Colour::black(), std::nullopt,
                              TextAlignment::Right};
    if (const std::optional<StyleRow> row = rowNamed(name)) {
        attributes.font = ReportFont{std::string(row->family), row->bold, row->size};
        attributes.alignment = row->alignment;
        // The styles of the table carry a black text stroke colour; the
        // base-only ones (levels 2 and 3) do not.
        attributes.strokeColour = Colour::black();
        style.setPctAbove(row->above);
        style.setPctBelow(row->below);
        if (row->grey) style.setFillColor(kLightGrey);
        style.setStrokeAll(row->edges == kOutline);
        style.setStrokeAbove(row->edges == kLineAbove);
        style.setStrokeBelow(row->edges == kLineBelow);
    }
    style.setStyleAttributesScreen(attributes);
    style.setStyleAttributesPrint(attributes, kPrintFontPercentage);
    printStyleDictionary.insert_or_assign(std::string(name), std::move(style));
}

} // namespace ch
