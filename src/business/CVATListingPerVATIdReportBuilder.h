#pragma once
// CVATListingPerVATIdReportBuilder: the VAT listing with, under each rate,
// one line per counterparty VAT id holding the sums of that id's lines, in
// the order of the ids; the grand total is the section's footer, and a page
// break ends the report. No date column.

#include <map>

#include "business/CVATListingReportBuilder.h"

namespace ch::business {

class CVATListingPerVATIdReportBuilder : public CVATListingReportBuilder {
public:
    std::unique_ptr<CReportContents> buildContents() override;
    CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                        const std::string& VATType,
                                        const std::vector<std::shared_ptr<GXVATRate>>& rates,
                                        CReportContents& contents, const GXVATRate* keepingOnlyRate) override;
    // Classifies and adds the counters to the line's VAT id; prints nothing.
    std::optional<CLevelCounters> makeDetailLineForTransactionDetail(const CDebetItem& line, const GXVATRate& rate,
                                                                     int level, CReportContents& contents) override;
    int printDetailLineForVATId(const std::string& VATId, const CLevelCounters& counters, int level,
                                CReportContents& contents);

protected:
    bool hasDateColumn() const override { return false; }

private:
    // The sums per VAT id of the rate being listed.
    std::map<std::string, CLevelCounters> counterPartyDictionary;
};

} // namespace ch::business
