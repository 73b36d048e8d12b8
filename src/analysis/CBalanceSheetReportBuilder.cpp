#include "analysis/CBalanceSheetReportBuilder.h"

#include "analysis/CReportContents.h"
#include "analysis/ReportHierarchyWalk.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "model/CAccType.h"
#include "model/CDocAccounting.h"
#include "model/ModelCodes.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

constexpr int kAssets = 6;
constexpr int kProperty = 1;
constexpr int kDebts = 2;

const HierarchyKinds& accountKinds()
{
    static const HierarchyKinds kinds{
        type::kAccount, type::kAccountType,
        [](CNonVisual* account) { return std::make_shared<CAcnTItem>(account); },
        [](CNonVisual* accountType) { return std::make_shared<CAccTItem>(accountType); }};
    return kinds;
}

} // namespace

int CBalanceSheetReportBuilder::systemTypeOfMasterType(long masterType)
{
    if (masterType == 5) return 2;
    if (masterType == 4) return 1;
    return static_cast<int>(masterType);
}

CNamedListArray* CBalanceSheetReportBuilder::getAccTList() const
{
    return mParentDocument ? mParentDocument->mAccountTypeList.get() : nullptr;
}

std::unique_ptr<CReportContents> CBalanceSheetReportBuilder::buildContents()
{
    CLevelCounters grand;
    auto contents = std::make_unique<CReportContents>();
    const std::string title = localized("BALANCESHEET");
    contents->setTitle(title);
    addReportHeader(title, *contents);
    addSpaceToContents(*contents, kNaturalHeight);

    grand.addCounters(makeSectionWithTitle(localized("ASSETSECTIONTITLE"), localized("ASSETSECTIONFOOTER"),
                                           kAssets, getAccTList(), *contents));
    addPageBreakToContents(*contents);
    grand.addCounters(makeSectionWithTitle(localized("PROPERTYSECTIONTITLE"),
                                           localized("PROPERTYSECTIONFOOTER"), kProperty, getAccTList(),
                                           *contents));
    addPageBreakToContents(*contents);
    grand.subtractCounters(makeSectionWithTitle(localized("DEBTSECTIONTITLE"), localized("DEBTSECTIONFOOTER"),
                                                kDebts, getAccTList(), *contents));
    addPageBreakToContents(*contents);
    addGrandTotals(grand, *contents);
    return contents;
}

CLevelCounters CBalanceSheetReportBuilder::makeSectionWithTitle(const std::string& title,
                                                                const std::string& summaryTitle, int systemType,
                                                                CNamedListArray* sourceList,
                                                                CReportContents& contents)
{
    return makeSection(title, summaryTitle, systemType, sourceList, contents, true);
}

CLevelCounters CBalanceSheetReportBuilder::makeSection(const std::string& title, const std::string& summaryTitle,
                                                       int systemType, CNamedListArray* sourceList,
                                                       CReportContents& contents, bool positionTitles)
{
    CLevelCounters section;
    addSectionHeader(title, ReportSubject(title), contents, positionTitles);
    addSpaceToContents(contents, kNaturalHeight);
    mainLoopOver(buildTempArrayforsystemType(systemType, sourceList), 1, 0, section, contents);
    addSpaceToContents(contents, kNaturalHeight);
    addSectionFooter(section, summaryTitle, contents);
    return section;
}

std::vector<CNonVisual*> CBalanceSheetReportBuilder::buildTempArrayforsystemType(int systemType,
                                                                                 CNamedListArray* sourceList)
{
    return topLevelObjects(sourceList, [systemType](CNonVisual& object) {
        return object.Get_ObjectType() == type::kAccountType &&
               systemTypeOfMasterType(static_cast<CAccType&>(object).Get_mMasterType()) == systemType;
    });
}

int CBalanceSheetReportBuilder::mainLoopOver(const std::vector<CNonVisual*>& list, int level, int xPoint,
                                             CLevelCounters& rollingResults, CReportContents& contents)
{
    return walkHierarchy(*this, list, level, xPoint, rollingResults, contents, accountKinds());
}

} // namespace ch
