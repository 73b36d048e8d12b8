#pragma once
// CVATListingPerRateReportBuilder: the VAT listing with one total and saldo
// per rate and the grand total as the section's footer; no booking lines.

#include "business/CVATListingReportBuilder.h"

namespace ch::business {

class CVATListingPerRateReportBuilder : public CVATListingReportBuilder {
public:
    std::unique_ptr<CReportContents> buildContents() override;
    CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                        const std::string& VATType,
                                        const std::vector<std::shared_ptr<GXVATRate>>& rates,
                                        CReportContents& contents, const GXVATRate* keepingOnlyRate) override;
    // Classifies without printing.
    std::optional<CLevelCounters> makeDetailLineForTransactionDetail(const CDebetItem& line, const GXVATRate& rate,
                                                                     int level, CReportContents& contents) override;
};

} // namespace ch::business
