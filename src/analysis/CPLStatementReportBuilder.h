#pragma once
// CPLStatementReportBuilder: the profit-and-loss statement. The movement of
// the profit-and-loss accounts (master type 3) within each period, in one
// section walked as the balance sheet walks its sections, period headings
// with first and last day. No page break and no grand total follow.

#include "analysis/CBalanceSheetReportBuilder.h"

namespace ch {

class CPLStatementReportBuilder : public CBalanceSheetReportBuilder {
public:
    std::unique_ptr<CReportContents> buildContents() override;
    CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                        int systemType, CNamedListArray* sourceList,
                                        CReportContents& contents) override;
};

} // namespace ch
