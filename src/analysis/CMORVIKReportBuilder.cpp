#include "analysis/CMORVIKReportBuilder.h"

#include <algorithm>

#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportNumberFormat.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/CNamedListArray.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

constexpr std::string_view kPercentFormatSection = "%8.2f%%";
constexpr std::string_view kPercentFormatGrandTotal = "%8.2f%%";

} // namespace

std::string ReportSubject::name() const
{
    return mItem ? mItem->getName() : mText;
}

std::string ReportSubject::description() const
{
    return mItem ? mItem->description() : mText;
}

std::vector<CNonVisual*> objectsOf(const CNamedListArray* list)
{
    std::vector<CNonVisual*> objects;
    if (!list) return objects;
    const auto count = static_cast<ArrayIndexT>(list->GetCount());
    objects.reserve(static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i)
        if (CNonVisual* object = list->ObjectAt(i)) objects.push_back(object);
    return objects;
}

bool CMORVIKReportBuilder::setPerdiodicityParms(unsigned char periodicityCode, unsigned char relativePeriod,
                                                long numberOfPastPeriods, long numberOfPeriodsToPrint,
                                                long firstMonthOfYear)
{
    mPeriodicity = periodicityCode;
    mRelativePeriod = relativePeriod;
    mNumberOfPeriodsInThePast = numberOfPastPeriods;
    mNumberOfPeriodsToPrint = numberOfPeriodsToPrint;
    mReportingPeriods.reset();
    return mReportingPeriods.createPeriodsWithPeriodicity(periodicityCode, relativePeriod, numberOfPastPeriods,
                                                          numberOfPeriodsToPrint, firstMonthOfYear);
}

std::unique_ptr<CReportContents> CMORVIKReportBuilder::buildContents()
{
    return std::make_unique<CReportContents>();
}

CLevelCounters CMORVIKReportBuilder::makeSectionWithTitle(const std::string&, const std::string&, int,
                                                          CNamedListArray*, CReportContents&)
{
    return CLevelCounters();
}

int CMORVIKReportBuilder::mainLoopOver(const std::vector<CNonVisual*>&, int, int, CLevelCounters&,
                                       CReportContents&)
{
    return 0;
}

const CPrintStyle* CMORVIKReportBuilder::style(std::string_view name)
{
    return CPrintStyleManager::sharedPrintStyleManager().getStyleNamed(name);
}

int CMORVIKReportBuilder::periodColumnCount() const
{
    return static_cast<int>(std::clamp(mNumberOfPeriodsToPrint, 0L, kMaxPeriodsToPrint));
}

CPeriod CMORVIKReportBuilder::periodOrNone(std::size_t index) const
{
    return index < mReportingPeriods.countOfPeriods() ? mReportingPeriods.getPeriodNumber(index) : CPeriod();
}

float CMORVIKReportBuilder::getLegendWeight(int) const
{
    return 2.0f;
}

std::string CMORVIKReportBuilder::makeDateStringFromStartDate(DateT start, DateT end) const
{
    const CPeriod period(start, end);
    return period.startAsString() + " \r\n " + period.endAsString();
}

int CMORVIKReportBuilder::addReportHeader(const std::string& text, CReportContents& contents)
{
    const CPrintStyle* header = style(GXCStyleReportHeader);
    contents.addObject(CParagraph(header, CReportColumn(header, text)));
    return 0;
}

int CMORVIKReportBuilder::addSectionHeader(const std::string& title, const ReportSubject&,
                                           CReportContents& contents, bool positionTitles)
{
    CReportColumn titleColumn(style(GXCStyleSectionHeaderTitle), title);
    titleColumn.setRelativeWidth(static_cast<int>(getLegendWeight(periodColumnCount())));
    CParagraph paragraph(style(GXCStyleSectionHeader), std::move(titleColumn));
    for (int k = 1; k <= periodColumnCount(); ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        std::string heading = index < mReportingPeriods.countOfPeriods()
                                  ? mReportingPeriods.getPeriodTitleAtIndex(index, positionTitles)
                                  : std::string();
        paragraph.insertReportColumn(CReportColumn(style(GXCStyleSectionHeader), std::move(heading)),
                                     static_cast<std::size_t>(k));
    }
    contents.addObject(std::move(paragraph));
    return 0;
}

int CMORVIKReportBuilder::addGroupHeaderForItem(const CNonVisualDataItem& item, int level,
                                                CReportContents& contents)
{
    CReportColumn column(style(GXCStyleLevel1HeaderTitle), item.description());
    column.setLevel(level);
    contents.addObject(CParagraph(style(GXCStyleLevel1Header), std::move(column)));
    return 0;
}

int CMORVIKReportBuilder::addGroupFooterForItem(const CNonVisualDataItem& item, int level,
                                                const CLevelCounters& totals, CReportContents& contents)
{
    addSpaceToContents(contents, kGroupFooterSpace);
    const std::string title = localized("TOTALFOR") + " " + item.description();
    return constructTotalLine(totals, ReportSubject(title), level, contents, style(GXCStyleLevel1Footer),
                              style(GXCStyleLevel1FooterTitle), std::nullopt);
}

CLevelCounters CMORVIKReportBuilder::makeDetailLineForNonVisual(CNonVisualDataItem& item, int level,
                                                                CReportContents& contents)
{
    const CPeriod p1 = periodOrNone(0), p2 = periodOrNone(1), p3 = periodOrNone(2), p4 = periodOrNone(3);
    const CLevelCounters counters =
        item.getBalanceInPeriod(p1.dateFrom(), p1.dateTo(), p2.dateFrom(), p2.dateTo(), p3.dateFrom(),
                                p3.dateTo(), p4.dateFrom(), p4.dateTo())
            .value_or(CLevelCounters());
    constructTotalLine(counters, ReportSubject(item), level, contents, style(GXCStyleDetail),
                       style(GXCStyleDetailTitle), std::nullopt);
    return counters;
}

int CMORVIKReportBuilder::constructTotalLine(const CLevelCounters& counters, const ReportSubject& object,
                                             int level, CReportContents& contents, const CPrintStyle* lineStyle,
                                             const CPrintStyle* titleStyle,
                                             std::optional<std::string_view> formatString)
{
    CReportColumn title(titleStyle, object.name());
    title.setLevel(level);
    title.setRelativeWidth(static_cast<int>(getLegendWeight(periodColumnCount())));
    CParagraph paragraph(lineStyle, std::move(title));
    for (int i = 0; i < periodColumnCount(); ++i) {
        const double value = counters.resultAtIndex(static_cast<unsigned short>(i));
        std::string text = formatString ? formatReportNumber(*formatString, value)
                                        : CNSNumberAmountTBridge::NSNumberToNSString(value);
        paragraph.insertReportColumn(CReportColumn(lineStyle, std::move(text)), static_cast<std::size_t>(i + 1));
    }
    contents.addObject(std::move(paragraph));
    return 0;
}

int CMORVIKReportBuilder::addSectionFooter(const CLevelCounters& totals, const std::string& summaryTitle,
                                           CReportContents& contents)
{
    const CPrintStyle* values = style(GXCStyleSectionFooter);
    const CPrintStyle* titles = style(GXCStyleSectionFooterTitle);
    constructTotalLine(totals, ReportSubject(summaryTitle), 1, contents, values, titles, std::nullopt);
    constructTotalLine(totals.differenceCounters(1, periodColumnCount()), ReportSubject(localized("EVOLUTION")), 1, contents, values,
                       titles, std::nullopt);
    constructTotalLine(totals.pctDifferenceCounters(1, periodColumnCount()), ReportSubject(localized("PCTEVOLUTION")), 1, contents,
                       values, titles, kPercentFormatSection);
    return 0;
}

int CMORVIKReportBuilder::addGrandTotals(const CLevelCounters& totals, CReportContents& contents)
{
    const CPrintStyle* values = style(GXCStyleGrandTotal);
    const CPrintStyle* titles = style(GXCStyleGrandTotalTitle);
    constructTotalLine(totals, ReportSubject(localized("GRANDTOTALTITLE")), 1, contents, values, titles,
                       std::nullopt);
    constructTotalLine(totals.differenceCounters(1, periodColumnCount()), ReportSubject(localized("EVOLUTION")), 1, contents, values,
                       titles, std::nullopt);
    constructTotalLine(totals.pctDifferenceCounters(1, periodColumnCount()), ReportSubject(localized("PCTEVOLUTION")), 1, contents,
                       values, titles, kPercentFormatGrandTotal);
    return 0;
}

int CMORVIKReportBuilder::addPageBreakToContents(CReportContents& contents)
{
    CParagraph paragraph(style(GXCStyleLevel1Header), CReportColumn(style(GXCStyleDetail), std::string()));
    paragraph.setIsPageBreak(true);
    contents.addObject(std::move(paragraph));
    return 0;
}

int CMORVIKReportBuilder::addSpaceToContents(CReportContents& contents, float height)
{
    CParagraph paragraph(style(GXCStyleLevel1Header), CReportColumn(style(GXCStyleDetail), std::string()));
    paragraph.setForcedHeight(height);
    contents.addObject(std::move(paragraph));
    return 0;
}

} // namespace ch
