#pragma once
// CMORVIKReportBuilder: the base of every report builder. It holds the books
// and the reporting periods (one value column each) and offers the building
// blocks the concrete builders combine into a page model: report header,
// section header with period titles, group header and footer, detail line,
// total line, section footer with evolution lines, grand totals, spacer and
// page break. The blocks call each other through the object, so a subclass
// that overrides one (the VAT listings override the total line) changes
// every block built on it.
//
// A builder serves one build: make it, setDocument, setPerdiodicityParms,
// buildContents once. The base builds an empty report. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/CPeriods.h"
#include "bridge/CLevelCounters.h"

namespace ch {

class CDocAccounting;
class CNamedListArray;
class CNonVisual;
class CNonVisualDataItem;
class CPrintStyle;
class CReportContents;

// What a line is about: a model item (titled by its name) or a text.
class ReportSubject {
public:
    ReportSubject(const CNonVisualDataItem& item) : mItem(&item) {}
    ReportSubject(std::string text) : mText(std::move(text)) {}
    ReportSubject(const char* text) : mText(text ? text : "") {}

    const CNonVisualDataItem* item() const { return mItem; }
    // The item's name, or the text.
    std::string name() const;
    // The item's description, or the text.
    std::string description() const;

private:
    const CNonVisualDataItem* mItem = nullptr;
    std::string mText;
};

class CMORVIKReportBuilder {
public:
    // The height that asks a spacer for the natural height of a blank line.
    static constexpr float kNaturalHeight = -1.0f;
    static constexpr float kGroupFooterSpace = 5.0f;

    CMORVIKReportBuilder() = default;
    virtual ~CMORVIKReportBuilder() = default;
    CMORVIKReportBuilder(const CMORVIKReportBuilder&) = delete;
    CMORVIKReportBuilder& operator=(const CMORVIKReportBuilder&) = delete;

    // The books reported on; not owned.
    void setDocument(CDocAccounting* document) { mParentDocument = document; }
    CDocAccounting* document() const { return mParentDocument; }

    // Stores the choices and makes the periods anew (CPeriods). Always true.
    bool setPerdiodicityParms(unsigned char periodicity, unsigned char relativePeriod,
                              long numberOfPastPeriods, long numberOfPeriodsToPrint,
                              long firstMonthOfYear);
    const CPeriods& reportingPeriods() const { return mReportingPeriods; }
    unsigned char periodicity() const { return mPeriodicity; }
    unsigned char relativePeriod() const { return mRelativePeriod; }
    long numberOfPeriodsInThePast() const { return mNumberOfPeriodsInThePast; }
    long numberOfPeriodsToPrint() const { return mNumberOfPeriodsToPrint; }

    // A new report; here an empty one.
    virtual std::unique_ptr<CReportContents> buildContents();

    // --- overridden by the concrete builders (here: nothing is added)
    // One section over the objects of the system type in the source list;
    // answers its totals.
    virtual CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                                int systemType, CNamedListArray* sourceList,
                                                CReportContents& contents);
    // Walks a list at a level into the running totals. The x-point is not used.
    virtual int mainLoopOver(const std::vector<CNonVisual*>& list, int level, int xPoint,
                             CLevelCounters& rollingResults, CReportContents& contents);

    // --- building blocks; each appends to the contents and answers 0 unless said
    virtual int addReportHeader(const std::string& text, CReportContents& contents);
    // The title over the period headings (with position titles: "POSITION"
    // over each period's last day; otherwise its first and last day).
    virtual int addSectionHeader(const std::string& title, const ReportSubject& object,
                                 CReportContents& contents, bool positionTitles);
    virtual int addGroupHeaderForItem(const CNonVisualDataItem& item, int level, CReportContents& contents);
    // A spacer, then the totals titled "TOTALFOR" and the item; the total
    // line's answer.
    virtual int addGroupFooterForItem(const CNonVisualDataItem& item, int level,
                                      const CLevelCounters& totals, CReportContents& contents);
    // The item's balances in periods 0 to 3 as a detail line; answers them.
    virtual CLevelCounters makeDetailLineForNonVisual(CNonVisualDataItem& item, int level,
                                                      CReportContents& contents);
    // A title cell (weight 2, at the level) and one value cell per period:
    // the amount text of each result, or the format applied to it.
    virtual int constructTotalLine(const CLevelCounters& counters, const ReportSubject& object, int level,
                                   CReportContents& contents, const CPrintStyle* style,
                                   const CPrintStyle* titleStyle,
                                   std::optional<std::string_view> formatString);
    // The totals, their evolution and its percentage.
    virtual int addSectionFooter(const CLevelCounters& totals, const std::string& summaryTitle,
                                 CReportContents& contents);
    virtual int addGrandTotals(const CLevelCounters& totals, CReportContents& contents);
    virtual int addPageBreakToContents(CReportContents& contents);
    // A blank line of the height (kNaturalHeight: the height of an empty line).
    virtual int addSpaceToContents(CReportContents& contents, float height);

    // The weight of a line's title cell: 2.
    float getLegendWeight(int numberOfPeriods) const;
    std::string makeDateStringFromStartDate(DateT start, DateT end) const;

protected:
    // The period at the index, or an empty one (no days) when there is none.
    CPeriod periodOrNone(std::size_t index) const;
    int periodColumnCount() const;
    static const CPrintStyle* style(std::string_view name);

    CDocAccounting* mParentDocument = nullptr;
    unsigned char mPeriodicity = 0;
    unsigned char mRelativePeriod = 0;
    long mNumberOfPeriodsInThePast = 0;
    long mNumberOfPeriodsToPrint = 0;
    CPeriods mReportingPeriods;
};

// The objects of a model list, in its order; empty for none.
std::vector<CNonVisual*> objectsOf(const CNamedListArray* list);

} // namespace ch
