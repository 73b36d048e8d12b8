#include "analysis/ReportChoices.h"

#include "analysis/CBalanceSheetReportBuilder.h"
#include "analysis/CExpenseOverviewReportBuilder.h"
#include "analysis/CPLStatementReportBuilder.h"
#include "analysis/CReportContents.h"
#include "model/CDocAccounting.h"
#include "model/CPreference.h"

namespace ch {

std::unique_ptr<CMORVIKReportBuilder> makeReportBuilder(int reportTag)
{
    switch (reportTag) {
    case report_tag::kBalanceSheet: return std::make_unique<CBalanceSheetReportBuilder>();
    case report_tag::kProfitAndLoss: return std::make_unique<CPLStatementReportBuilder>();
    case report_tag::kExpenseOverview: return std::make_unique<CExpenseOverviewReportBuilder>();
    default: return std::make_unique<CMORVIKReportBuilder>();
    }
}

unsigned char periodicityOfChoice(int periodicityTag)
{
    switch (periodicityTag) {
    case 0: return periodicity::kMonth;
    case 1: return periodicity::kQuarter;
    case 2: return periodicity::kYear;
    default: return 0;
    }
}

long firstMonthOfYear(const CDocAccounting* books)
{
    return books && books->mPreference ? books->mPreference->Get_mCurrentYearStart() : -1;
}

std::unique_ptr<CReportContents> buildReport(CDocAccounting* books, const ReportChoices& choices)
{
    auto builder = makeReportBuilder(choices.report);
    builder->setDocument(books);
    // A first-period choice outside 0..2 makes no periods.
    const bool knownRelative = choices.relativePeriod >= 0 && choices.relativePeriod <= relative_period::kPeriodsAgo;
    const auto relative = static_cast<unsigned char>(knownRelative ? choices.relativePeriod : 0xFF);
    builder->setPerdiodicityParms(periodicityOfChoice(choices.periodicity), relative, choices.periodsAgo,
                                  kReportPagePeriods, firstMonthOfYear(books));
    return builder->buildContents();
}

} // namespace ch
