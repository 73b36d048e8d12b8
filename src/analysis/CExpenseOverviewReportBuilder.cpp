#include "analysis/CExpenseOverviewReportBuilder.h"

#include "analysis/CReportContents.h"
#include "analysis/ReportHierarchyWalk.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseType.h"
#include "model/ModelCodes.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

constexpr int kIncome = 0;
constexpr int kExpense = 1;
constexpr int kTransfer = 2;
constexpr int kOpening = 3;
constexpr int kCorrection = 4;

const HierarchyKinds& categoryKinds()
{
    static const HierarchyKinds kinds{
        type::kExpenseType, type::kMasterExpenseType,
        [](CNonVisual* category) { return std::make_shared<CExpTItem>(category); },
        [](CNonVisual* group) { return std::make_shared<CMxpTItem>(group); }};
    return kinds;
}

} // namespace

CNamedListArray* CExpenseOverviewReportBuilder::getMasterExpenseTypeList() const
{
    if (!mParentDocument || !mParentDocument->mMasterExpenseTypeList) return nullptr;
    CNamedListArray* groups = mParentDocument->mMasterExpenseTypeList.get();
    groups->SetNotSorted();
    groups->Sort();
    return groups;
}

std::unique_ptr<CReportContents> CExpenseOverviewReportBuilder::buildContents()
{
    CLevelCounters grand;
    auto contents = std::make_unique<CReportContents>();
    const std::string title = localized("EXPENSEREPORTTITLE");
    contents->setTitle(title);
    addReportHeader(title, *contents);
    addSpaceToContents(*contents, kNaturalHeight);

    auto section = [&](std::string_view titleKey, std::string_view footerKey, int kind) {
        const CLevelCounters totals = makeSectionWithTitle(localized(titleKey), localized(footerKey), kind,
                                                           getMasterExpenseTypeList(), *contents);
        addPageBreakToContents(*contents);
        return totals;
    };
    grand.addCounters(section("INCOMESECTIONTITLE", "INCOMESECTIONFOOTER", kIncome));
    grand.subtractCounters(section("EXPENSESECTIONTITLE", "EXPENSESECTIONFOOTER", kExpense));
    grand.addCounters(section("CORRECTIONSECTIONTITLE", "CORRECTIONSECTIONFOOTER", kCorrection));
    grand.addCounters(section("OPENINGSECTIONTITLE", "OPENINGSECTIONFOOTER", kOpening));
    section("TRANSFERSECTIONTITLE", "TRANSFERSECTIONFOOTER", kTransfer);
    addGrandTotals(grand, *contents);
    return contents;
}

CLevelCounters CExpenseOverviewReportBuilder::makeSectionWithTitle(const std::string& title,
                                                                   const std::string& summaryTitle,
                                                                   int systemType, CNamedListArray* sourceList,
                                                                   CReportContents& contents)
{
    CLevelCounters section;
    addSectionHeader(title, ReportSubject(title), contents, false);
    addSpaceToContents(contents, kNaturalHeight);
    mainLoopOver(buildTempArrayforsystemType(systemType, sourceList), 1, 0, section, contents);
    addSpaceToContents(contents, kNaturalHeight);
    addSectionFooter(section, summaryTitle, contents);
    return section;
}

std::vector<CNonVisual*> CExpenseOverviewReportBuilder::buildTempArrayforsystemType(int systemType,
                                                                                    CNamedListArray* sourceList)
{
    return topLevelObjects(sourceList, [systemType](CNonVisual& object) {
        return object.Get_ObjectType() == type::kMasterExpenseType &&
               static_cast<int>(static_cast<CMasterExpenseType&>(object).Get_mMasterExpenseType()) == systemType;
    });
}

int CExpenseOverviewReportBuilder::mainLoopOver(const std::vector<CNonVisual*>& list, int level, int xPoint,
                                                CLevelCounters& rollingResults, CReportContents& contents)
{
    return walkHierarchy(*this, list, level, xPoint, rollingResults, contents, categoryKinds());
}

} // namespace ch
