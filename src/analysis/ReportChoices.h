#pragma once
// What the reports page asks for, turned into a built report: the report
// (0 balance sheet, 1 profit and loss, 2 expense overview, anything else an
// empty report), the period length (0 month, 1 quarter, 2 year), the first
// period (0 current, 1 last complete, 2 N periods ago) and N. Every report
// of the page has four period columns; the accounting year starts in the
// month of the books' settings.

#include <memory>

namespace ch {

class CDocAccounting;
class CMORVIKReportBuilder;
class CReportContents;

namespace report_tag {
inline constexpr int kBalanceSheet = 0;
inline constexpr int kProfitAndLoss = 1;
inline constexpr int kExpenseOverview = 2;
} // namespace report_tag

inline constexpr long kReportPagePeriods = 4;

struct ReportChoices {
    int report = report_tag::kBalanceSheet;
    int periodicity = 0;
    int relativePeriod = 0;
    long periodsAgo = 0;
};

// A new builder of the report's class.
std::unique_ptr<CMORVIKReportBuilder> makeReportBuilder(int reportTag);
// The period length code of the choice: 2, 4 or 5; 0 (no periods) otherwise.
unsigned char periodicityOfChoice(int periodicityTag);
// The first month of the accounting year of the books; -1 without settings.
long firstMonthOfYear(const CDocAccounting* books);
// A fresh builder, set up from the choices, builds the report.
std::unique_ptr<CReportContents> buildReport(CDocAccounting* books, const ReportChoices& choices);

} // namespace ch
