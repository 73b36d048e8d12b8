#pragma once
// CBalanceSheetReportBuilder: the balance sheet. Account balances at the end
// of each period in three sections, assets (master type 6), property (1, and
// 4 counted with it) and debts (2, and 5 counted with it), each followed by a
// page break, and the net worth as grand total: assets + property − debts.
// Each section lists its top-level account types, each with its sub-types,
// then its accounts, one level deeper, and a total per type.

#include <vector>

#include "analysis/CMORVIKReportBuilder.h"

namespace ch {

class CBalanceSheetReportBuilder : public CMORVIKReportBuilder {
public:
    // The section an account type's master type files it in.
    static int systemTypeOfMasterType(long masterType);

    std::unique_ptr<CReportContents> buildContents() override;
    // Header (with position titles), blank line, the walk of the top-level
    // types of the system type, blank line, footer; answers the totals.
    CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                        int systemType, CNamedListArray* sourceList,
                                        CReportContents& contents) override;
    int mainLoopOver(const std::vector<CNonVisual*>& list, int level, int xPoint,
                     CLevelCounters& rollingResults, CReportContents& contents) override;
    // The top-level account types of the source whose master type files them
    // under the system type, in the reverse of the source's order.
    virtual std::vector<CNonVisual*> buildTempArrayforsystemType(int systemType, CNamedListArray* sourceList);

protected:
    // The section over the top-level list, with or without position titles.
    CLevelCounters makeSection(const std::string& title, const std::string& summaryTitle, int systemType,
                               CNamedListArray* sourceList, CReportContents& contents, bool positionTitles);
    // The books' account types; null without books.
    CNamedListArray* getAccTList() const;
};

} // namespace ch
