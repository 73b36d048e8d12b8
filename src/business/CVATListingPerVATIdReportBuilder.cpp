#include "business/CVATListingPerVATIdReportBuilder.h"

#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"

namespace ch::business {

std::unique_ptr<CReportContents> CVATListingPerVATIdReportBuilder::buildContents()
{
    auto contents = std::make_unique<CReportContents>();
    listRates(*contents);
    addPageBreakToContents(*contents);
    return contents;
}

CLevelCounters CVATListingPerVATIdReportBuilder::makeSectionWithTitle(
    const std::string& title, const std::string& summaryTitle, const std::string&,
    const std::vector<std::shared_ptr<GXVATRate>>& rates, CReportContents& contents, const GXVATRate* keepingOnlyRate)
{
    CLevelCounters section;
    addSectionHeader(title, ReportSubject(title), contents, false);
    addSpaceToContents(contents, kNaturalHeight);
    for (const auto& rate : rates) {
        if (!isRetained(rate.get(), keepingOnlyRate)) continue;
        CLevelCounters counters;
        counterPartyDictionary.clear();
        addGroupHeaderForRate(*rate, 1, contents);
        mainLoopOver(*rate, kVATListingGroupTypeMixed, 1, counters, contents);
        for (const auto& [VATId, sums] : counterPartyDictionary) printDetailLineForVATId(VATId, sums, 1, contents);
        addSpaceToContents(contents, kNaturalHeight);
        addGroupFooterForRate(*rate, 1, counters, contents);
        section.addCounters(counters);
        addSpaceToContents(contents, kNaturalHeight);
    }
    addSectionFooter(section, summaryTitle, contents);
    return section;
}

std::optional<CLevelCounters> CVATListingPerVATIdReportBuilder::makeDetailLineForTransactionDetail(
    const CDebetItem& line, const GXVATRate& rate, int, CReportContents&)
{
    std::string VATId;
    const auto counters = classify(line, rate, VATId);
    if (counters) counterPartyDictionary[VATId].addCounters(*counters);
    return counters;
}

int CVATListingPerVATIdReportBuilder::printDetailLineForVATId(const std::string& VATId,
                                                              const CLevelCounters& counters, int level,
                                                              CReportContents& contents)
{
    const CPrintStyle* detail = style(GXCStyleDetail);
    CReportColumn title(style(GXCStyleDetailTitle), VATId);
    title.setLevel(level);
    title.setRelativeWidth(static_cast<int>(getLegendWeight(periodColumnCount())));
    CParagraph paragraph(detail, std::move(title));
    for (unsigned short i = 0; i < 4; ++i)
        paragraph.insertReportColumn(
            CReportColumn(detail, CNSNumberAmountTBridge::NSNumberToNSString(counters.resultAtIndex(i))), i + 1u);
    contents.addObject(std::move(paragraph));
    return 0;
}

} // namespace ch::business
