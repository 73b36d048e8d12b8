// VAT periods and the VAT balance: the layout of the current and previous
// period, the five figures of booking lines, a quarter's balance against the
// figures summed straight from its lines, and the VAT balancing transaction.

#include <gtest/gtest.h>

#include <cmath>

#include "business/VATPeriods.h"
#include "business_test_support.h"
#include "document/DocumentNotifications.h"
#include "model/CDebit.h"
#include "platform/core/unicode.h"

namespace ch::business {
namespace {

using test::TwoVATRatesTest;
using test::NotificationLog;

using namespace test::vat_books;

void expectFigures(const VATFigures& actual, const VATFigures& expected)
{
    EXPECT_NEAR(actual.paid, expected.paid, 1e-9);
    EXPECT_NEAR(actual.paidCancelled, expected.paidCancelled, 1e-9);
    EXPECT_NEAR(actual.received, expected.received, 1e-9);
    EXPECT_NEAR(actual.receivedCancelled, expected.receivedCancelled, 1e-9);
    EXPECT_NEAR(actual.prepaid, expected.prepaid, 1e-9);
}

class VATBooksTest : public TwoVATRatesTest {
protected:
    // The periodicity and the first month of the accounting year.
    void useLayout(long periodicity, long yearStart)
    {
        environment.defaults().set(kVATPeriodicityKey, Value(periodicity));
        document.books.root().mPreference->Put_mCurrentYearStart(static_cast<std::int32_t>(yearStart));
    }
};

// The five figures of the lines on the rates' accounts, summed straight from
// the model's transactions: the counterparty is the transaction's VAT number
// when it has one of six characters or more, else the owner of the account
// of its largest credit line.
VATFigures figuresFromTheLines(CDocAccounting& root, const std::vector<std::shared_ptr<GXVATRate>>& rates,
                               DateT from, DateT to)
{
    VATFigures sums;
    const CNamedListArray* transactions = root.mTransactionList.get();
    for (ArrayIndexT t = 1; t <= static_cast<ArrayIndexT>(transactions->GetCount()); ++t) {
        const auto* transaction = static_cast<const CTransaction*>(transactions->ObjectAt(t));
        if (transaction->Get_mDate() < from || transaction->Get_mDate() > to)
            continue;
        const CAccount* other = transaction->giveOtherAccount(false);
        const bool own = utf16Length(transaction->Get_CFVATNr()) < 6 && other &&
                         other->Get_mAccountOwnerId() == kMe;
        const bool balancing = transaction->isVATBalancingTransaction();
        for (const bool credit : {false, true}) {
            const CNamedListArray* lines = credit ? transaction->GetCreditList() : transaction->GetDebitList();
            for (ArrayIndexT l = 1; l <= static_cast<ArrayIndexT>(lines->GetCount()); ++l) {
                const auto* line = static_cast<const CDebit*>(lines->ObjectAt(l));
                const double local = line->Get_mLocalAmount();
                for (const auto& rate : rates) {
                    const double share = rate->fiscalRecoverablePercentage().value_or(100.0) / 100.0;
                    const bool paidSide = line->Get_mAccountId() == *rate->accountIdPaid();
                    if (!paidSide && line->Get_mAccountId() != *rate->accountIdReceived())
                        continue;
                    if (paidSide && credit)
                        sums.paid += local * share;
                    else if (!paidSide && !credit)
                        sums.received += local * share;
                    else if (!own)
                        (paidSide ? sums.paidCancelled : sums.receivedCancelled) += local * share;
                    else if (!balancing)
                        sums.prepaid += paidSide ? -local : local;
                }
            }
        }
    }
    return sums;
}

TEST_F(VATBooksTest, AQuartersBalanceIsTheSumOfItsLinesFiguresAndGivesTheAdvancePayment)
{
    environment.setToday({2007, 1, 15});
    useLayout(1, 1);
    initializeVATPeriods(document);
    createVATPeriodWithStartDate(document, 20060701, 20060930);

    document.addTransfer(20061005, kSupplierAccount, kPaid, 21.00);           // paid
    document.addTransfer(20061012, kPaid, kSupplierAccount, 4.20);            // paid cancelled
    document.addTransfer(20061020, kPaid, kBank, 100.00);                     // prepaid -100
    document.addTransfer(20061102, kReceived, kCustomerAccount, 42.00);       // received
    document.addTransfer(20061109, kCustomerAccount, kReceived, 8.40, "BE0111222333"); // received cancelled
    document.addTransfer(20061115, kBank, kReceived, 50.00);                  // prepaid +50
    CTransaction* balancing = document.addTransfer(20061120, kBank, kReceived, 300.00);
    document.addTransfer(20061201, kSupplierAccount, kReducedPaid, 12.00);    // paid 6.00 (half recoverable)
    document.addTransfer(20061231, kReducedPaid, kBank, 4.00);                // prepaid -4, on the last day
    document.addTransfer(20060930, kSupplierAccount, kPaid, 99.00);           // the day before
    document.addTransfer(20070101, kSupplierAccount, kPaid, 77.00);           // the day after
    ASSERT_TRUE(tryToSetTransactionAsVATBalancePaymentTransaction(
        document, *document.books.transactionItem(balancing)));

    const VATFigures fromLines = figuresFromTheLines(document.books.root(), document.arrays.VATRateArray,
                                                     20061001, 20061231);
    expectFigures(fromLines, VATFigures{27.00, 4.20, 42.00, 8.40, -54.00});

    ASSERT_EQ(document.arrays.VATPeriodArray.size(), 3u);
    const std::shared_ptr<GXVATPeriod> quarter = document.arrays.VATPeriodArray[1];
    ASSERT_TRUE(quarter->hasStartDate(20061001, 20061231));
    expectFigures(calculateVATBalanceForPeriod(document, *quarter), fromLines);

    const int changes = document.books.changes;
    quarter->calculatePeriod();
    expectFigures(VATFigures{*quarter->amountPaid(), *quarter->amountPaidCancelled(), *quarter->amountReceived(),
                             *quarter->amountReceivedCancelled(), *quarter->amountPrepaid()},
                  fromLines);
    EXPECT_NEAR(*quarter->paymentAmountNextPeriod(), (42.00 - 27.00) / 3.0, 1e-9);
    EXPECT_FALSE(quarter->balanceAmount());
    EXPECT_EQ(quarter->status(), "open");
    EXPECT_EQ(document.books.changes, changes);
}

TEST_F(VATBooksTest, EachLineSetsOneFigure)
{
    struct Case {
        const char* what;
        std::optional<double> recoverable;
        ObjectIdT from;
        ObjectIdT to;
        double amount;
        const char* vatNumber;
        bool markBalancing;
        VATFigures figures;
    };
    const Case cases[] = {
        {"credit line on the paid account, half recoverable", 50.0, kSupplierAccount, kPaid, 21.00, nullptr,
         false, {10.50, 0, 0, 0, 0}},
        {"the same, fully recoverable", 100.0, kSupplierAccount, kPaid, 21.00, nullptr, false, {21.00, 0, 0, 0, 0}},
        {"the same, without a percentage", std::nullopt, kSupplierAccount, kPaid, 21.00, nullptr, false,
         {21.00, 0, 0, 0, 0}},
        {"debit line on the received account to a customer", 50.0, kReceived, kCustomerAccount, 42.00, nullptr,
         false, {0, 0, 21.00, 0, 0}},
        {"credit line on the received account from a customer", std::nullopt, kCustomerAccount, kReceived, 42.00,
         "BE0111222333", false, {0, 0, 0, 42.00, 0}},
        {"debit line on the paid account to a supplier", std::nullopt, kPaid, kSupplierAccount, 4.20, nullptr,
         false, {0, 4.20, 0, 0, 0}},
        {"own owner on the paid account, whatever the percentage", 50.0, kPaid, kBank, 30.00, nullptr, false,
         {0, 0, 0, 0, -30.00}},
        {"own owner on the received account", 50.0, kBank, kReceived, 30.00, nullptr, false, {0, 0, 0, 0, 30.00}},
        {"own owner in the VAT balancing transaction", std::nullopt, kPaid, kBank, 30.00, nullptr, true,
         {0, 0, 0, 0, 0}},
    };
    environment.setToday({2007, 1, 15});
    useLayout(1, 1);
    initializeVATPeriods(document); // Q4 2006 and Q1 2007
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        standard->setFiscalRecoverablePercentage(c.recoverable);
        CTransaction* transaction = document.addTransfer(20070205, c.from, c.to, c.amount, c.vatNumber);
        if (c.markBalancing) {
            ASSERT_TRUE(tryToSetTransactionAsVATBalancePaymentTransaction(
                document, *document.books.transactionItem(transaction)));
        }
        expectFigures(standard->getBalanceInPeriod(20070205, 20070205), c.figures);
        ASSERT_TRUE(document.books.root().DeleteObject(transaction));
    }
}

TEST_F(VATBooksTest, OneAccountServingAsPaidAndReceivedCountsItsLinesOnce)
{
    auto both = addRate("Both", 21.0, std::nullopt, kPaid, kPaid);
    document.arrays.VATRateArray = {both};
    document.addTransfer(20070205, kSupplierAccount, kPaid, 21.00);
    document.addTransfer(20070206, kPaid, kSupplierAccount, 5.00);
    expectFigures(calculateVATBalanceInPeriod(document, 20070201, 20070228), VATFigures{21.00, 5.00, 0, 0, 0});
}

TEST_F(VATBooksTest, TheCurrentAndPreviousPeriodsFollowThePeriodicityAndTheAccountingYear)
{
    struct Case {
        long periodicity;
        long yearStart;
        CalendarDate today;
        DateT previousStart, previousEnd, currentStart, currentEnd;
    };
    const Case cases[] = {
        {1, 1, {2006, 11, 15}, 20060701, 20060930, 20061001, 20061231},
        {1, 1, {2007, 2, 15}, 20061001, 20061231, 20070101, 20070331},
        {1, 4, {2007, 1, 10}, 20061001, 20061231, 20070101, 20070331},
        {1, 4, {2007, 5, 10}, 20070101, 20070331, 20070401, 20070630},
        {0, 1, {2007, 1, 10}, 20061201, 20061231, 20070101, 20070131},
        {0, 1, {2008, 3, 31}, 20080201, 20080229, 20080301, 20080331},
        {2, 4, {2007, 1, 10}, 20050401, 20060331, 20060401, 20070331},
        {2, 1, {2007, 6, 30}, 20060101, 20061231, 20070101, 20071231},
        {7, 1, {2006, 11, 15}, 20060701, 20060930, 20061001, 20061231}, // unknown: quarters
        {1, 0, {2006, 11, 15}, 20060701, 20060930, 20061001, 20061231}, // no settings: from January
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.periodicity << " from month " << c.yearStart << " on "
                                        << c.today.year << "-" << c.today.month << "-" << c.today.day);
        document.arrays = BusinessArrays();
        environment.setToday(c.today);
        useLayout(c.periodicity, c.yearStart == 0 ? 7 : c.yearStart);
        document.withoutSettings = c.yearStart == 0;
        initializeVATPeriods(document);
        const auto& periods = document.arrays.VATPeriodArray;
        ASSERT_EQ(periods.size(), 2u);
        EXPECT_TRUE(periods[0]->hasStartDate(c.currentStart, c.currentEnd))
            << *periods[0]->startDate() << "-" << *periods[0]->endDate();
        EXPECT_TRUE(periods[1]->hasStartDate(c.previousStart, c.previousEnd))
            << *periods[1]->startDate() << "-" << *periods[1]->endDate();
    }
}

TEST_F(VATBooksTest, PeriodsAreMadeOnceWithTheNextIdAndWithoutMarkingTheDocument)
{
    environment.setToday({2007, 1, 10});
    NotificationLog log(document.books.notificationCenter(), {GXCVATPeriodCreatedNotification});
    initializeBusinessObjectsOfNewDocument(document);
    EXPECT_TRUE(document.arrays.VATRateArray.empty());
    const auto periods = document.arrays.VATPeriodArray;
    ASSERT_EQ(periods.size(), 2u);
    EXPECT_EQ(*periods[1]->idKey(), *periods[0]->idKey() + 1);
    EXPECT_EQ(periods[0]->parentDocument(), &document);
    ASSERT_EQ(log.posted.size(), 2u);
    EXPECT_EQ(log.posted[0].objectAs<GXVATPeriod>(), periods[0]);

    initializeVATPeriods(document); // opened again the same day
    EXPECT_EQ(document.arrays.VATPeriodArray, periods);
    EXPECT_EQ(log.posted.size(), 2u);
    EXPECT_EQ(document.books.changes, 0);

    // Overlapping periods: the first in the array holds the date.
    createVATPeriodWithStartDate(document, 20061101, 20061130);
    EXPECT_EQ(VATPeriodAtDate(document, 20061115), periods[1]);
    EXPECT_EQ(VATPeriodAtDate(document, 20050101), nullptr);
}

TEST_F(VATBooksTest, MarkingTheBalancingTransactionClosesThePreviousPeriodAndMarksTheDocument)
{
    environment.setToday({2007, 1, 10});
    useLayout(1, 1);
    initializeVATPeriods(document);
    const std::shared_ptr<GXVATPeriod> quarter = document.arrays.VATPeriodArray[1]; // Q4 2006

    CTransaction* payment = document.addTransfer(20070125, kBank, kReceived, 15.00);
    payment->Put_Name("VAT Q4");
    std::shared_ptr<CTrnSItem> item = document.books.transactionItem(payment);
    ASSERT_TRUE(tryToSetTransactionAsVATBalancePaymentTransaction(document, *item));
    EXPECT_EQ(quarter->closingTransactionId(), payment->Get_Id());
    EXPECT_EQ(quarter->storedClosingDate(), 20070125);
    EXPECT_TRUE(payment->isVATBalancingTransaction());
    EXPECT_EQ(document.books.changes, 1);
    EXPECT_EQ(quarter->closingTransactionDescription(), "VAT Q4");

    // Without a stored date the closing transaction's own date stands in.
    quarter->setClosingDate(std::nullopt);
    EXPECT_EQ(quarter->closingDate(), 20070125);

    // No period before the one of the date: nothing changes.
    CTransaction* early = document.addTransfer(20050310, kBank, kReceived, 15.00);
    EXPECT_FALSE(tryToSetTransactionAsVATBalancePaymentTransaction(document, *document.books.transactionItem(early)));
    EXPECT_FALSE(early->isVATBalancingTransaction());
    EXPECT_EQ(document.books.changes, 1);
}

} // namespace
} // namespace ch::business
