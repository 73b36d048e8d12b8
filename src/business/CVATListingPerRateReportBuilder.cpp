#include "business/CVATListingPerRateReportBuilder.h"

#include "analysis/CReportContents.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"

namespace ch::business {

std::unique_ptr<CReportContents> CVATListingPerRateReportBuilder::buildContents()
{
    auto contents = std::make_unique<CReportContents>();
    listRates(*contents);
    return contents;
}

CLevelCounters CVATListingPerRateReportBuilder::makeSectionWithTitle(
    const std::string& title, const std::string& summaryTitle, const std::string&,
    const std::vector<std::shared_ptr<GXVATRate>>& rates, CReportContents& contents, const GXVATRate* keepingOnlyRate)
{
    CLevelCounters section;
    addSectionHeader(title, ReportSubject(title), contents, false);
    addSpaceToContents(contents, kNaturalHeight);
    for (const auto& rate : rates) {
        if (!isRetained(rate.get(), keepingOnlyRate)) continue;
        CLevelCounters counters;
        mainLoopOver(*rate, kVATListingGroupTypeMixed, 1, counters, contents);
        addGroupFooterForRate(*rate, 1, counters, contents);
        section.addCounters(counters);
        addSpaceToContents(contents, kNaturalHeight);
    }
    addSectionFooter(section, summaryTitle, contents);
    return section;
}

std::optional<CLevelCounters> CVATListingPerRateReportBuilder::makeDetailLineForTransactionDetail(
    const CDebetItem& line, const GXVATRate& rate, int, CReportContents&)
{
    std::string VATId;
    return classify(line, rate, VATId);
}

} // namespace ch::business
