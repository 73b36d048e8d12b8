#pragma once
// CVATListingReportBuilder: the detail VAT listing of a date range. For each
// VAT rate (or only the rate to retain) its booking lines on the VAT-paid and
// VAT-received accounts that fall in the range, one line each under the rate's
// header, then the rate's total and saldo; after a page break the grand total
// and its saldo. Four value columns: VAT paid, paid cancelled, received,
// received cancelled; saldo = (paid − paid cancelled) − (received − received
// cancelled). Lines without a counterparty VAT id, and lines of the document's
// own owner, are left out.
//
// Use: setDocument (the books, for the base), setBusinessDocument,
// setPerdiodicityParms, then setStartDate and setEndDate (so that period 0's
// title shows the range), buildContents once. Amounts are kept in double.

#include <memory>
#include <string>
#include <vector>

#include "analysis/CMORVIKReportBuilder.h"
#include "bridge/LineItemList.h"

namespace ch {
class CDebetItem;
}

namespace ch::business {

class BusinessDocument;
class GXVATRate;

// Which accounts of a rate a section reads.
inline constexpr char kVATListingGroupTypePaid[] = "GXVATTypePaid";
inline constexpr char kVATListingGroupTypeReceived[] = "GXVATTypeReceived";
inline constexpr char kVATListingGroupTypeMixed[] = "GXVATTypeMixed";

// The four counters of a line or total.
enum VATListingCounter : unsigned short { kVATPaid = 0, kVATPaidCancelled = 1, kVATReceived = 2, kVATReceivedCancelled = 3 };

class CVATListingReportBuilder : public CMORVIKReportBuilder {
public:
    void setBusinessDocument(BusinessDocument* document) { mBusiness = document; }

    // Each also writes the date into period 0 when there is one.
    void setStartDate(DateT date);
    DateT startDate() const { return mStartDate; }
    void setEndDate(DateT date);
    DateT endDate() const { return mEndDate; }
    // None: every rate. Not owned; compared by identity.
    void setRateToRetain(const GXVATRate* rate) { mRateToRetain = rate; }
    const GXVATRate* rateToRetain() const { return mRateToRetain; }

    std::unique_ptr<CReportContents> buildContents() override;

    // The base's forms over lists of objects stay callable beside the forms over rates.
    using CMORVIKReportBuilder::mainLoopOver;
    using CMORVIKReportBuilder::makeSectionWithTitle;
    // One section over the rates; answers its counters.
    virtual CLevelCounters makeSectionWithTitle(const std::string& title, const std::string& summaryTitle,
                                                const std::string& VATType,
                                                const std::vector<std::shared_ptr<GXVATRate>>& rates,
                                                CReportContents& contents, const GXVATRate* keepingOnlyRate);
    // The rate's lines in the range into the rolling results; 0.
    virtual int mainLoopOver(const GXVATRate& rate, const std::string& VATType, int level,
                             CLevelCounters& rollingResults, CReportContents& contents);
    // The line's counters (printed as a detail line here); none when it is
    // left out.
    virtual std::optional<CLevelCounters> makeDetailLineForTransactionDetail(const CDebetItem& line,
                                                                             const GXVATRate& rate, int level,
                                                                             CReportContents& contents);

    int addSectionHeader(const std::string& title, const ReportSubject& object, CReportContents& contents,
                         bool positionTitles) override;
    // Two paragraphs: the title and the four counters, then the saldo under
    // the last heading.
    int constructTotalLine(const CLevelCounters& counters, const ReportSubject& object, int level,
                           CReportContents& contents, const CPrintStyle* style, const CPrintStyle* titleStyle,
                           std::optional<std::string_view> formatString) override;
    // The counters titled "GRANDTOTALTITLE".
    int addSectionFooter(const CLevelCounters& totals, const std::string& summaryTitle,
                         CReportContents& contents) override;
    int addGrandTotals(const CLevelCounters& totals, CReportContents& contents) override;

protected:
    // Whether the listing has a date column after the title.
    virtual bool hasDateColumn() const { return true; }
    // The rate's title: its description, else its name.
    static std::string titleOf(const GXVATRate& rate);
    int addGroupHeaderForRate(const GXVATRate& rate, int level, CReportContents& contents);
    int addGroupFooterForRate(const GXVATRate& rate, int level, const CLevelCounters& totals,
                              CReportContents& contents);
    // The paid item's lines then the received item's, as the flags ask; an
    // account that is both gives its lines once.
    LineItemArray linesOf(const GXVATRate& rate, bool paid, bool received) const;
    // The line's counters by the rules of the listings; none when left out.
    std::optional<CLevelCounters> classify(const CDebetItem& line, const GXVATRate& rate,
                                           std::string& VATId) const;
    // The section's opening: title, header, space.
    void startContents(CReportContents& contents, std::string& sectionTitle);
    // The opening, then one section over the business's rates (or only the
    // rate to retain); answers the section's counters.
    CLevelCounters listRates(CReportContents& contents);
    // Whether a section keeping only `keepingOnlyRate` (none: every rate)
    // lists the rate.
    static bool isRetained(const GXVATRate* rate, const GXVATRate* keepingOnlyRate)
    {
        return rate && (!keepingOnlyRate || rate == keepingOnlyRate);
    }

    BusinessDocument* mBusiness = nullptr;
    DateT mStartDate = 0;
    DateT mEndDate = 0;
    const GXVATRate* mRateToRetain = nullptr;
};

} // namespace ch::business
