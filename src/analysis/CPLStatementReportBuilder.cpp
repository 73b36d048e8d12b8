#include "analysis/CPLStatementReportBuilder.h"

#include "analysis/CReportContents.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {
constexpr int kProfitAndLoss = 3;
}

std::unique_ptr<CReportContents> CPLStatementReportBuilder::buildContents()
{
    auto contents = std::make_unique<CReportContents>();
    const std::string title = localized("PLSTATEMENTREPORTTITLE");
    contents->setTitle(title);
    addReportHeader(title, *contents);
    addSpaceToContents(*contents, kNaturalHeight);
    makeSectionWithTitle(localized("PLSECTIONTITLE"), localized("PLSECTIONFOOTER"), kProfitAndLoss,
                         getAccTList(), *contents);
    return contents;
}

CLevelCounters CPLStatementReportBuilder::makeSectionWithTitle(const std::string& title,
                                                               const std::string& summaryTitle, int systemType,
                                                               CNamedListArray* sourceList,
                                                               CReportContents& contents)
{
    return makeSection(title, summaryTitle, systemType, sourceList, contents, false);
}

} // namespace ch
