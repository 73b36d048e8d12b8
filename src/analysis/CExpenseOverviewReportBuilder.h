#pragma once
// CExpenseOverviewReportBuilder: the expense overview. Category totals within
// each period in five sections by the kind of their top-level category
// group: income, expenses, corrections, opening balances and transfers, each
// followed by a page break, and a grand total of income − expenses +
// corrections + opening balances (transfers are shown, not counted).

#include <vector>

#include "analysis/CMORVIKReportBuilder.h"

namespace ch {

class CExpenseOverviewReportBuilder : public CMORVIKReportBuilder {
public:
    std::unique_ptr<CReportContents> buildContents() override;
    // As the profit-and-loss section (no position titles), over category groups.
    CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                        int systemType, CNamedListArray* sourceList,
                                        CReportContents& contents) override;
    int mainLoopOver(const std::vector<CNonVisual*>& list, int level, int xPoint,
                     CLevelCounters& rollingResults, CReportContents& contents) override;
    // The top-level category groups of the source of the kind, in the reverse
    // of the source's order.
    virtual std::vector<CNonVisual*> buildTempArrayforsystemType(int systemType, CNamedListArray* sourceList);

protected:
    // The books' category groups, sorted in place; null without books.
    CNamedListArray* getMasterExpenseTypeList() const;
};

} // namespace ch
