// The VAT listings of a quarter: their figures against sums taken straight
// from the model's booking lines, the lines they leave out, the line per VAT
// id, the totals per rate and the saldo under the last heading.

#include <gtest/gtest.h>

#include <map>

#include "analysis/CReportContents.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "business/CVATListingPerRateReportBuilder.h"
#include "business/CVATListingPerVATIdReportBuilder.h"
#include "business_test_support.h"
#include "model/CDebit.h"

namespace ch::business {
namespace {

using test::TwoVATRatesTest;
using namespace test::vat_books;

constexpr DateT kFrom = 20061001;
constexpr DateT kTo = 20061231;

std::string money(double value)
{
    return CNSNumberAmountTBridge::NSNumberToNSString(value);
}

// The texts of a paragraph's columns.
std::vector<std::string> textsOf(const CParagraph& paragraph)
{
    std::vector<std::string> texts;
    for (const CReportColumn& column : paragraph.reportColumns()) texts.push_back(column.mValue());
    return texts;
}

// Index of the first paragraph whose first column reads so, from `from` on.
std::optional<std::size_t> find(const CReportContents& contents, const std::string& title, std::size_t from = 0)
{
    for (std::size_t i = from; i < contents.count(); ++i) {
        const CParagraph& paragraph = contents.objectAtIndex(i);
        if (paragraph.countOfReportColumns() > 0 && paragraph.reportColumnAtIndex(0).mValue() == title) return i;
    }
    return std::nullopt;
}

// A quarter of bookings on two rates (21 % fully, 6 % half recoverable):
// a supplier's and a customer's VAT, cancellations, the own owner's
// transfers (left out), a VAT number shared by two bookings, large amounts,
// and bookings on the days around the quarter.
class VATListingTest : public TwoVATRatesTest {
protected:
    void SetUp() override
    {
        LocalizedStrings& texts = LocalizedStrings::shared();
        for (const char* key : {"TOTALFOR", "GRANDTOTALTITLE", "VATSALDOFOOTER", "VATLISTING", "DATE"})
            texts.set(key, key);
        environment.setToday({2007, 1, 15});
        TwoVATRatesTest::SetUp();

        // Bookings with a counterparty carry its VAT number; the own owner's
        // transfers between its own accounts carry none.
        const char* supplier = "BE0444555666";
        const char* customer = "BE0111222333";
        const char* other = "NL123456789B01";
        document.addTransfer(kFrom, kSupplierAccount, kPaid, 21.00, supplier);            // paid, first day
        document.addTransfer(20061012, kPaid, kSupplierAccount, 4.20, supplier);          // paid cancelled
        document.addTransfer(20061020, kPaid, kBank, 100.00);                             // own owner: left out
        document.addTransfer(20061102, kReceived, kCustomerAccount, 123456.78, customer); // received
        document.addTransfer(20061103, kReceived, kCustomerAccount, 234567.89, customer); // same id
        document.addTransfer(20061104, kReceived, kCustomerAccount, 1000.01, other);
        document.addTransfer(20061109, kCustomerAccount, kReceived, 8.40, customer);      // received cancelled
        document.addTransfer(20061115, kBank, kReceived, 50.00);                          // own owner: left out
        document.addTransfer(20061201, kSupplierAccount, kReducedPaid, 12.00, supplier);  // paid 6.00
        document.addTransfer(20061202, kReducedReceived, kCustomerAccount, 0.07, customer);
        document.addTransfer(kTo, kSupplierAccount, kReducedPaid, 3.33, supplier);        // last day
        document.addTransfer(20060930, kSupplierAccount, kPaid, 99.00, supplier);         // the day before
        document.addTransfer(20070101, kSupplierAccount, kPaid, 77.00, supplier);         // the day after
    }

    template <class Builder>
    std::unique_ptr<CReportContents> build(const GXVATRate* only = nullptr)
    {
        Builder builder;
        builder.setDocument(&document.books.root());
        builder.setBusinessDocument(&document);
        builder.setPerdiodicityParms(4, 1, 1, 1, 1);
        builder.setStartDate(kFrom);
        builder.setEndDate(kTo);
        builder.setRateToRetain(only);
        return builder.buildContents();
    }
};

// The four figures per rate (and per counterparty VAT id) of the quarter,
// summed from the model's transactions: the counterparty is the
// transaction's VAT number; the own owner's transfers (none) count nowhere.
struct Sums {
    std::map<const GXVATRate*, std::array<double, 4>> perRate;
    std::map<std::pair<const GXVATRate*, std::string>, std::array<double, 4>> perVATId;
    std::array<double, 4> total{};
};

Sums sumsFromTheLines(CDocAccounting& root, const std::vector<std::shared_ptr<GXVATRate>>& rates)
{
    Sums sums;
    const CNamedListArray* transactions = root.mTransactionList.get();
    for (ArrayIndexT t = 1; t <= static_cast<ArrayIndexT>(transactions->GetCount()); ++t) {
        const auto* transaction = static_cast<const CTransaction*>(transactions->ObjectAt(t));
        if (transaction->Get_mDate() < kFrom || transaction->Get_mDate() > kTo) continue;
        const std::string VATId = transaction->Get_CFVATNr();
        if (VATId.size() < 6) continue;
        for (const bool credit : {false, true}) {
            const CNamedListArray* lines = credit ? transaction->GetCreditList() : transaction->GetDebitList();
            for (ArrayIndexT l = 1; l <= static_cast<ArrayIndexT>(lines->GetCount()); ++l) {
                const auto* line = static_cast<const CDebit*>(lines->ObjectAt(l));
                for (const auto& rate : rates) {
                    const bool paidSide = line->Get_mAccountId() == *rate->accountIdPaid();
                    if (!paidSide && line->Get_mAccountId() != *rate->accountIdReceived()) continue;
                    const double share = rate->fiscalRecoverablePercentage().value_or(100.0) / 100.0;
                    const int index = paidSide ? (credit ? 0 : 1) : (credit ? 3 : 2);
                    const double amount = line->Get_mLocalAmount() * share;
                    sums.perRate[rate.get()][index] += amount;
                    sums.perVATId[{rate.get(), VATId}][index] += amount;
                    sums.total[index] += amount;
                }
            }
        }
    }
    return sums;
}

std::vector<std::string> figureTexts(const std::array<double, 4>& figures)
{
    return {money(figures[0]), money(figures[1]), money(figures[2]), money(figures[3])};
}

double saldo(const std::array<double, 4>& f)
{
    return (f[0] - f[1]) - (f[2] - f[3]);
}

TEST_F(VATListingTest, DetailListingFiguresEqualTheBookingLinesAndTheGrandTotalFollowsAPageBreak)
{
    const Sums sums = sumsFromTheLines(document.books.root(), document.arrays.VATRateArray);
    ASSERT_NEAR(sums.total[2], 123456.78 + 234567.89 + 1000.01 + 0.035, 1e-6) << "the independent sums see the bookings";
    const auto contents = build<CVATListingReportBuilder>();
    EXPECT_EQ(contents->title(), "VATLISTING");

    // Header: title over the date and the four VAT columns.
    const CParagraph& heading = contents->objectAtIndex(2);
    ASSERT_EQ(heading.countOfReportColumns(), 6u);
    EXPECT_EQ(heading.reportColumnAtIndex(1).mValue(), "DATE");
    EXPECT_EQ(heading.reportColumnAtIndex(0).relativeWidth(), 2.0);

    // One detail line per kept booking: 6 on the standard rate's accounts
    // (own owner and out-of-range bookings left out), 3 on the reduced.
    std::size_t details = 0;
    for (std::size_t i = 0; i < contents->count(); ++i) {
        const CParagraph& paragraph = contents->objectAtIndex(i);
        if (paragraph.countOfReportColumns() == 6 && paragraph.reportColumnAtIndex(1).mValue().size() > 4 &&
            paragraph.reportColumnAtIndex(0).mValue() != "DATE")
            ++details;
    }
    EXPECT_EQ(details, 9u);

    for (const auto& rate : {standard, reduced}) {
        const auto total = find(*contents, "TOTALFOR " + *rate->name());
        ASSERT_TRUE(total) << *rate->name();
        std::vector<std::string> texts = textsOf(contents->objectAtIndex(*total));
        const std::vector<std::string> expected = figureTexts(sums.perRate.at(rate.get()));
        EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.end()), expected) << *rate->name();
        const std::vector<std::string> saldoLine = textsOf(contents->objectAtIndex(*total + 1));
        ASSERT_EQ(saldoLine.size(), 6u);
        EXPECT_EQ(saldoLine[0], "VATSALDOFOOTER");
        EXPECT_EQ(saldoLine[5], money(saldo(sums.perRate.at(rate.get()))));
    }

    const auto grand = find(*contents, "GRANDTOTALTITLE");
    ASSERT_TRUE(grand);
    EXPECT_TRUE(contents->objectAtIndex(*grand - 1).isPageBreak());
    const std::vector<std::string> texts = textsOf(contents->objectAtIndex(*grand));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.end()), figureTexts(sums.total));
    EXPECT_EQ(textsOf(contents->objectAtIndex(*grand + 1)).back(), money(saldo(sums.total)));
}

TEST_F(VATListingTest, SectionCountersKeepTheCentsOfLargeAmounts)
{
    CVATListingReportBuilder builder;
    builder.setBusinessDocument(&document);
    builder.setStartDate(kFrom);
    builder.setEndDate(kTo);
    CReportContents contents;
    const CLevelCounters totals =
        builder.makeSectionWithTitle("Q4", "Q4", kVATListingGroupTypeMixed, document.arrays.VATRateArray, contents,
                                     nullptr);
    const Sums sums = sumsFromTheLines(document.books.root(), document.arrays.VATRateArray);
    for (unsigned short i = 0; i < 4; ++i) EXPECT_NEAR(totals.resultAtIndex(i), sums.total[i], 1e-8) << i;
}

TEST_F(VATListingTest, PerVATIdListingSumsEachIdPerRateWithoutADateColumn)
{
    const Sums sums = sumsFromTheLines(document.books.root(), document.arrays.VATRateArray);
    const auto contents = build<CVATListingPerVATIdReportBuilder>();
    EXPECT_EQ(contents->objectAtIndex(2).countOfReportColumns(), 5u) << "no date column";
    EXPECT_TRUE(contents->objectAtIndex(contents->count() - 1).isPageBreak());

    // Under each rate one line per id, with the id's sums; the shared VAT
    // number has a line under both rates.
    for (const auto& rate : {standard, reduced}) {
        const auto start = find(*contents, *rate->name());
        ASSERT_TRUE(start);
        for (const auto& [key, figures] : sums.perVATId) {
            if (key.first != rate.get()) continue;
            const auto line = find(*contents, key.second, *start);
            ASSERT_TRUE(line) << key.second;
            const std::vector<std::string> texts = textsOf(contents->objectAtIndex(*line));
            EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end()), figureTexts(figures)) << key.second;
        }
    }
    const auto grand = find(*contents, "GRANDTOTALTITLE");
    ASSERT_TRUE(grand);
    const std::vector<std::string> texts = textsOf(contents->objectAtIndex(*grand));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end()), figureTexts(sums.total));
    EXPECT_EQ(textsOf(contents->objectAtIndex(*grand + 1)).size(), 5u) << "the saldo stands under the last heading";
}

TEST_F(VATListingTest, PerRateListingPrintsOnlyTotalsAndARetainedRateStandsAlone)
{
    const Sums sums = sumsFromTheLines(document.books.root(), document.arrays.VATRateArray);
    const auto contents = build<CVATListingPerRateReportBuilder>();
    for (std::size_t i = 0; i < contents->count(); ++i)
        EXPECT_NE(contents->objectAtIndex(i).reportColumnAtIndex(0).mValue(), "BE0444555666") << "no booking lines";
    const auto grand = find(*contents, "GRANDTOTALTITLE");
    ASSERT_TRUE(grand);
    const std::vector<std::string> texts = textsOf(contents->objectAtIndex(*grand));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.end()), figureTexts(sums.total));

    // Only the reduced rate: its group alone, and the grand total is its total.
    const auto only = build<CVATListingReportBuilder>(reduced.get());
    EXPECT_FALSE(find(*only, "TOTALFOR Standard"));
    const auto grandOnly = find(*only, "GRANDTOTALTITLE");
    ASSERT_TRUE(grandOnly);
    const std::vector<std::string> onlyTexts = textsOf(only->objectAtIndex(*grandOnly));
    EXPECT_EQ(std::vector<std::string>(onlyTexts.begin() + 2, onlyTexts.end()),
              figureTexts(sums.perRate.at(reduced.get())));
}

TEST_F(VATListingTest, OneAccountServingAsPaidAndReceivedListsItsLinesOnce)
{
    reduced->setAccountIdReceived(kReducedPaid);
    CVATListingReportBuilder builder;
    builder.setBusinessDocument(&document);
    builder.setStartDate(kFrom);
    builder.setEndDate(kTo);
    CReportContents contents;
    const CLevelCounters totals = builder.makeSectionWithTitle("Q4", "Q4", kVATListingGroupTypeMixed,
                                                               {reduced}, contents, nullptr);
    EXPECT_NEAR(totals.resultAtIndex(kVATPaid), (12.00 + 3.33) / 2, 1e-9);
    EXPECT_EQ(totals.resultAtIndex(kVATReceived), 0.0);
}

TEST_F(VATListingTest, WithoutRatesTheListingHasItsHeaderAndZeroTotals)
{
    document.arrays.VATRateArray.clear();
    const auto contents = build<CVATListingReportBuilder>();
    const auto grand = find(*contents, "GRANDTOTALTITLE");
    ASSERT_TRUE(grand);
    const std::vector<std::string> texts = textsOf(contents->objectAtIndex(*grand));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.end()), figureTexts({0, 0, 0, 0}));
}

} // namespace
} // namespace ch::business
