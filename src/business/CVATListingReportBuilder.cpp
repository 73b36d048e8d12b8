#include "business/CVATListingReportBuilder.h"

#include <algorithm>
#include <tuple>

#include "analysis/CPrintStyleManager.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportNumberFormat.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"
#include "platform/core/localized_strings.h"

namespace ch::business {

namespace {

constexpr float kSpaceAfterRate = 12.0f;

std::string amountText(double value, std::optional<std::string_view> format)
{
    return format ? formatReportNumber(*format, value) : CNSNumberAmountTBridge::NSNumberToNSString(value);
}

} // namespace

void CVATListingReportBuilder::setStartDate(DateT date)
{
    mStartDate = date;
    if (mReportingPeriods.countOfPeriods() == 0) return;
    CPeriod first = mReportingPeriods.getPeriodNumber(0);
    first.setDateFrom(date);
    mReportingPeriods.replaceObjectInPeriodsAtIndex(0, first);
}

void CVATListingReportBuilder::setEndDate(DateT date)
{
    mEndDate = date;
    if (mReportingPeriods.countOfPeriods() == 0) return;
    CPeriod first = mReportingPeriods.getPeriodNumber(0);
    first.setDateTo(date);
    mReportingPeriods.replaceObjectInPeriodsAtIndex(0, first);
}

std::string CVATListingReportBuilder::titleOf(const GXVATRate& rate)
{
    const std::string description = rate.description().value_or("");
    return description.empty() ? rate.name().value_or("") : description;
}

void CVATListingReportBuilder::startContents(CReportContents& contents, std::string& sectionTitle)
{
    contents.setTitle(localized("VATLISTING"));
    addReportHeader(contents.title(), contents);
    addSpaceToContents(contents, kNaturalHeight);
    sectionTitle = mReportingPeriods.countOfPeriods() > 0 ? mReportingPeriods.getPeriodTitleAtIndex(0, false)
                                                           : std::string();
}

CLevelCounters CVATListingReportBuilder::listRates(CReportContents& contents)
{
    std::string title;
    startContents(contents, title);
    static const std::vector<std::shared_ptr<GXVATRate>> none;
    return makeSectionWithTitle(title, title, kVATListingGroupTypeMixed,
                                mBusiness ? mBusiness->businessArrays().VATRateArray : none, contents, mRateToRetain);
}

std::unique_ptr<CReportContents> CVATListingReportBuilder::buildContents()
{
    auto contents = std::make_unique<CReportContents>();
    const CLevelCounters totals = listRates(*contents);
    addPageBreakToContents(*contents);
    addGrandTotals(totals, *contents);
    return contents;
}

CLevelCounters CVATListingReportBuilder::makeSectionWithTitle(const std::string& title, const std::string&,
                                                              const std::string& VATType,
                                                              const std::vector<std::shared_ptr<GXVATRate>>& rates,
                                                              CReportContents& contents,
                                                              const GXVATRate* keepingOnlyRate)
{
    CLevelCounters section;
    addSectionHeader(title, ReportSubject(title), contents, false);
    addSpaceToContents(contents, kNaturalHeight);
    for (const auto& rate : rates) {
        if (!isRetained(rate.get(), keepingOnlyRate)) continue;
        CLevelCounters counters;
        addGroupHeaderForRate(*rate, 1, contents);
        mainLoopOver(*rate, VATType, 1, counters, contents);
        addSpaceToContents(contents, kNaturalHeight);
        addGroupFooterForRate(*rate, 1, counters, contents);
        addSpaceToContents(contents, kSpaceAfterRate);
        section.addCounters(counters);
    }
    return section;
}

LineItemArray CVATListingReportBuilder::linesOf(const GXVATRate& rate, bool paid, bool received) const
{
    LineItemArray lines;
    if (!mBusiness) return lines;
    auto append = [&](const std::optional<long>& accountId) {
        if (!accountId) return;
        const auto account = mBusiness->bridgeDocument().getAccountItemForId(static_cast<ObjectIdT>(*accountId));
        if (!account) return;
        LineItemArray own;
        for (auto& line : account->allTransactionDetailsWithoutFinalizing())
            if (line) own.push_back(std::move(line));
        // An account's own list order is that of its bookings' arrival, which
        // differs each time the books are read: the listing goes by date,
        // then by transaction and line, the same every time.
        std::stable_sort(own.begin(), own.end(), [](const auto& a, const auto& b) {
            return std::tuple(a->getTransactionDate(), a->getTransactionId(), a->getId().value_or(0)) <
                   std::tuple(b->getTransactionDate(), b->getTransactionId(), b->getId().value_or(0));
        });
        lines.insert(lines.end(), own.begin(), own.end());
    };
    if (paid) append(rate.accountIdPaid());
    // One account serving as both would otherwise list each of its lines
    // twice, and the listing would disagree with the period's balance.
    if (received && !(paid && rate.accountIdReceived() == rate.accountIdPaid())) append(rate.accountIdReceived());
    return lines;
}

int CVATListingReportBuilder::mainLoopOver(const GXVATRate& rate, const std::string& VATType, int level,
                                           CLevelCounters& rollingResults, CReportContents& contents)
{
    const bool mixed = VATType == kVATListingGroupTypeMixed;
    const bool paid = mixed || VATType == kVATListingGroupTypePaid;
    const bool received = mixed || VATType == kVATListingGroupTypeReceived;
    for (const auto& line : linesOf(rate, paid, received)) {
        const DateT date = line->getTransactionDate();
        if (date < mStartDate || date > mEndDate) continue;
        if (const auto counters = makeDetailLineForTransactionDetail(*line, rate, level, contents))
            rollingResults.addCounters(*counters);
    }
    return 0;
}

std::optional<CLevelCounters> CVATListingReportBuilder::classify(const CDebetItem& line, const GXVATRate& rate,
                                                                 std::string& VATId) const
{
    bool ownOwner = false;
    VATId = line.counterPartyVATId(ownOwner);
    if (VATId.empty() || ownOwner) return std::nullopt;
    double amount = line.getLocalAmount().value_or(0.0);
    if (const auto& percentage = rate.fiscalRecoverablePercentage(); percentage && *percentage != 100.0)
        amount = amount * *percentage / 100.0;
    const FourCharCode kind = line.getType();
    unsigned short index = 0;
    if (rate.accountIdPaid() && line.account() == rate.accountIdPaid())
        index = kind == fourCC("CreT") ? kVATPaid : kVATPaidCancelled;
    else
        index = kind == fourCC("DebT") ? kVATReceived : kVATReceivedCancelled;
    CLevelCounters counters;
    counters.setResultAtIndex(index, amount);
    return counters;
}

std::optional<CLevelCounters> CVATListingReportBuilder::makeDetailLineForTransactionDetail(const CDebetItem& line,
                                                                                           const GXVATRate& rate,
                                                                                           int level,
                                                                                           CReportContents& contents)
{
    std::string VATId;
    const auto counters = classify(line, rate, VATId);
    if (!counters) return std::nullopt;
    const CPrintStyle* detail = style(GXCStyleDetail);
    CReportColumn title(style(GXCStyleDetailTitle), VATId);
    title.setLevel(level);
    title.setRelativeWidth(static_cast<int>(getLegendWeight(periodColumnCount())));
    CParagraph paragraph(detail, std::move(title));
    paragraph.insertReportColumn(CReportColumn(detail, line.transactionDateAsString()), 1);
    for (unsigned short i = 0; i < 4; ++i)
        paragraph.insertReportColumn(
            CReportColumn(detail, CNSNumberAmountTBridge::NSNumberToNSString(counters->resultAtIndex(i))), i + 2u);
    contents.addObject(std::move(paragraph));
    return counters;
}

int CVATListingReportBuilder::addSectionHeader(const std::string& title, const ReportSubject&,
                                               CReportContents& contents, bool)
{
    const CPrintStyle* header = style(GXCStyleSectionHeader);
    CReportColumn titleColumn(style(GXCStyleSectionHeaderTitle), title);
    titleColumn.setRelativeWidth(static_cast<int>(getLegendWeight(periodColumnCount())));
    CParagraph paragraph(header, std::move(titleColumn));
    std::vector<const char*> headings = {"VATPAIDHEADER", "VATPAIDANNHEADER", "VATRECEIVEDHEADER",
                                         "VATRECEIVEDANNHEADER"};
    if (hasDateColumn()) headings.insert(headings.begin(), "DATE");
    for (std::size_t i = 0; i < headings.size(); ++i)
        paragraph.insertReportColumn(CReportColumn(header, localized(headings[i])), i + 1);
    contents.addObject(std::move(paragraph));
    return 0;
}

int CVATListingReportBuilder::constructTotalLine(const CLevelCounters& counters, const ReportSubject& object,
                                                 int level, CReportContents& contents, const CPrintStyle*,
                                                 const CPrintStyle*, std::optional<std::string_view> formatString)
{
    const CPrintStyle* line = style(GXCStyleLevel1Header);
    const int weight = static_cast<int>(getLegendWeight(periodColumnCount()));
    auto titled = [&](std::string text) {
        CReportColumn title(style(GXCStyleLevel1HeaderTitle), std::move(text));
        title.setLevel(level);
        title.setRelativeWidth(weight);
        return CParagraph(line, std::move(title));
    };
    const std::size_t first = hasDateColumn() ? 2 : 1;

    CParagraph totals = titled(object.description());
    if (hasDateColumn()) totals.insertReportColumn(CReportColumn(line, std::string()), 1);
    for (unsigned short i = 0; i < 4; ++i)
        totals.insertReportColumn(CReportColumn(line, amountText(counters.resultAtIndex(i), formatString)), first + i);
    contents.addObject(std::move(totals));

    CParagraph saldo = titled(localized("VATSALDOFOOTER"));
    for (std::size_t i = 1; i < first + 3; ++i) saldo.insertReportColumn(CReportColumn(line, std::string()), i);
    CReportColumn value(line, amountText(counters.zeroMinOneMinTussenHaakjesTwoMinTree(), formatString));
    value.setLevel(level);
    saldo.insertReportColumn(std::move(value), first + 3);
    contents.addObject(std::move(saldo));
    return 0;
}

int CVATListingReportBuilder::addGroupHeaderForRate(const GXVATRate& rate, int level, CReportContents& contents)
{
    CReportColumn column(style(GXCStyleLevel1HeaderTitle), titleOf(rate));
    column.setLevel(level);
    contents.addObject(CParagraph(style(GXCStyleLevel1Header), std::move(column)));
    return 0;
}

int CVATListingReportBuilder::addGroupFooterForRate(const GXVATRate& rate, int level, const CLevelCounters& totals,
                                                    CReportContents& contents)
{
    addSpaceToContents(contents, kGroupFooterSpace);
    return constructTotalLine(totals, ReportSubject(localized("TOTALFOR") + " " + titleOf(rate)), level, contents,
                              nullptr, nullptr, std::nullopt);
}

int CVATListingReportBuilder::addSectionFooter(const CLevelCounters& totals, const std::string&,
                                               CReportContents& contents)
{
    return constructTotalLine(totals, ReportSubject(localized("GRANDTOTALTITLE")), 1, contents, nullptr, nullptr,
                              std::nullopt);
}

int CVATListingReportBuilder::addGrandTotals(const CLevelCounters& totals, CReportContents& contents)
{
    return constructTotalLine(totals, ReportSubject(localized("GRANDTOTALTITLE")), 1, contents, nullptr, nullptr,
                              std::nullopt);
}

} // namespace ch::business
