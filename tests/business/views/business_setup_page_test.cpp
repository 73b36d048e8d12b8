// The business-setup page on a real document, offscreen: a VAT rate made
// through its sheet (refused values keep the sheet open with their numbered
// error), shown and modified on the page, and the VAT listing of the period
// that holds an invoice, which agrees with the rate's accounts. Pictures of
// the page and its listing go to review/business/ for looking at.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QScrollBar>
#include <QScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTest>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "../../document/document_fixture.h"
#include "../../platform/gui/qt_test_application.h"
#include "analysis/CReportContents.h"
#include "analysis/views/CReportView.h"
#include "analysis/views/QtReportCanvas.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceArguments.h"
#include "business/VATPeriods.h"
#include "business/views/AccountsReceivableInvoiceDialogController.h"
#include "business/views/AccountsReceivablePaymentDialogController.h"
#include "business/views/CVATRateDialog.h"
#include "business/views/SearchInvoiceDialogController.h"
#include "business/views/SplitPaymentDialogController.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/CAccount.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "ui/controls/CPopupList.h"

namespace ch::test {
namespace {

using business::GXBusinessSetupViewController;

class BusinessSetupPageTest : public DocumentTest {
protected:
    BusinessSetupPageTest() : scope(strings)
    {
        strings.loadFile(LocalizedStrings::defaultPath());
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        document = std::make_unique<MyDocument>(dispatcher);
        document->setUntitledJournalFolder(folder.path());
        business::installBusiness(*document);
        document->setUpNewDocument("EUR");
        document->mPreference()->setMCustomerInvoiceCategory(document->get_mDefExpTUnspecifiedIncome());

        page = std::make_unique<GXBusinessSetupViewController>(*document);
        window.resize(1000, 700);
        page->controlledView()->setParent(&window);
        page->controlledView()->resize(window.size());
        window.show();
    }

    business::BusinessOfDocument& business() { return *dynamic_cast<business::BusinessOfDocument*>(document->business()); }
    business::CVATRateDialog& sheet() { return *page->VATRateSheet(); }

    // A 21 % rate named "Standard", made as its sheet makes it.
    std::shared_ptr<business::GXVATRate> addStandardRate()
    {
        arguments::VATRateArguments standard;
        standard.name = "Standard";
        standard.rate = 21.0;
        EXPECT_EQ(document->commandExecutor().executeCommand(33, nullptr, standard), 1);
        return business().businessArrays().VATRateArray.front();
    }
    // A customer with its open-invoice account; its id.
    long addCustomer()
    {
        arguments::CAcoWArguments customer;
        customer.name = "Customer";
        customer.createCustomerOpenInvoices = true;
        return document->commandExecutor().executeCommand(26, nullptr, customer);
    }
    // An invoice for work of that net amount at the rate, due on its date; its id.
    long addInvoice(long customerId, const business::GXVATRate& rate, DateT date, double net)
    {
        arguments::InvoiceArguments invoice;
        invoice.invoiceName = "Work";
        invoice.thirdPartyId = customerId;
        invoice.invoiceDate = date;
        invoice.dueDate = date;
        invoice.amountWithoutVAT = net;
        invoice.firstVATRateId = long(*rate.idKey());
        return document->commandExecutor().executeCommand(38, nullptr, invoice);
    }
    template <class Field>
    Field* field(const char* name) { return sheet().findChild<Field*>(name); }

    // The period table's row that shows the period's dates; -1 for none.
    int periodRow(const business::GXVATPeriod& period)
    {
        QTableWidget* table = page->VATPeriodTable();
        const QString start = QString::fromStdString(CDate::DateTToString(static_cast<DateT>(*period.startDate())));
        const QString end = QString::fromStdString(CDate::DateTToString(static_cast<DateT>(*period.endDate())));
        for (int row = 0; row < table->rowCount(); ++row)
            if (table->item(row, 2)->text() == start && table->item(row, 3)->text() == end) return row;
        return -1;
    }

    void picture(QWidget* widget, const char* name)
    {
        const QString path = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../review/business"));
        QDir().mkpath(path);
        QApplication::processEvents();
        EXPECT_TRUE(widget->grab().save(path + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png")));
    }

    LocalizedStrings strings;
    ScopedLocalizedStrings scope;
    QWidget window;
    std::unique_ptr<GXBusinessSetupViewController> page;
};

TEST_F(BusinessSetupPageTest, RateMadeThroughTheSheetAfterRefusedValuesShowsOnThePage)
{
    page->selectSubPage(fourCC("VatR"));
    EXPECT_FALSE(page->validateMenuItem(1104).enabled);
    EXPECT_TRUE(page->validateMenuItem(1100).enabled);
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    ASSERT_TRUE(page->VATRateSheet() && sheet().isVisible());
    // A new rate may make its accounts and its category; its account choosers
    // are closed while they are being made.
    EXPECT_TRUE(field<QCheckBox>("createAccounts")->isEnabled());
    EXPECT_TRUE(field<QCheckBox>("createAccounts")->isChecked());
    EXPECT_FALSE(field<QWidget>("VATPaidAccountId")->isEnabled());

    struct Refused {
        const char* name;
        const char* rate;
        const char* fiscal;
        long error;
        const char* focus;
        const char* named = nullptr;   // the field the message names
    };
    const Refused refused[] = {
        {"", "21", "100", 202, "nameField"},
        {"Standard", "21", "", 129, "fiscalField", "Recoverable (%)"},
        {"Standard", "21", "100.01", 272, "fiscalField", "Recoverable (%)"},
        {"Standard", "", "100", 129, "rateField", "Rate (%)"},
        {"Standard", "-0.01", "100", 272, "rateField", "Rate (%)"},
        {"Standard", "abc", "100", 129, "rateField", "Rate (%)"},
    };
    for (const Refused& r : refused) {
        field<QLineEdit>("nameField")->setText(r.name);
        field<QLineEdit>("rateField")->setText(r.rate);
        field<QLineEdit>("fiscalField")->setText(r.fiscal);
        const std::size_t before = environment.alerts().numbers().size();
        sheet().okClicked();
        EXPECT_TRUE(sheet().isVisible()) << r.name << "/" << r.rate << "/" << r.fiscal;
        ASSERT_EQ(environment.alerts().numbers().size(), before + 1) << r.rate << "/" << r.fiscal;
        EXPECT_EQ(environment.alerts().numbers().back(), r.error) << r.rate << "/" << r.fiscal;
        EXPECT_EQ(sheet().focusWidget() ? sheet().focusWidget()->objectName() : QString(), QString::fromLatin1(r.focus))
            << r.rate << "/" << r.fiscal;
        if (r.named) {
            EXPECT_NE(environment.alerts().records().back().alert.message.find(std::string("“") + r.named + "”"),
                      std::string::npos)
                << environment.alerts().records().back().alert.message;
        }
    }
    EXPECT_TRUE(business().businessArrays().VATRateArray.empty());

    field<QLineEdit>("nameField")->setText("Standard");
    field<QLineEdit>("rateField")->setText("21");
    field<QLineEdit>("fiscalField")->setText("100");
    picture(&sheet(), "vat-rate-sheet");
    sheet().okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(sheet().isVisible());
    ASSERT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    const auto rate = business().businessArrays().VATRateArray.front();
    EXPECT_EQ(rate->rate(), 21.0);
    ASSERT_TRUE(rate->accountIdPaid() && rate->accountIdReceived());
    ASSERT_EQ(page->VATRateTable()->rowCount(), 1);
    EXPECT_EQ(page->VATRateTable()->item(0, 0)->text(), "Standard");
    EXPECT_EQ(page->VATRateTable()->item(0, 3)->text().toStdString(), rate->accountPaidName().value_or("?"));

    // Modified: the existing rate chooses its accounts; OK changes that rate.
    page->selectVATRate(rate.get());
    EXPECT_TRUE(page->validateMenuItem(1114).enabled);
    page->modifyVATRate();
    ASSERT_TRUE(sheet().isVisible());
    EXPECT_FALSE(field<QCheckBox>("createAccounts")->isEnabled());
    EXPECT_TRUE(field<QWidget>("VATPaidAccountId")->isEnabled());
    EXPECT_EQ(field<QLineEdit>("nameField")->text(), "Standard");
    field<QLineEdit>("nameField")->setText("Standard rate");
    sheet().okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(sheet().isVisible());
    EXPECT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    EXPECT_EQ(rate->name(), "Standard rate");
    EXPECT_EQ(page->VATRateTable()->item(0, 0)->text(), "Standard rate");

    // Another tab: the rate actions are off.
    page->selectSubPage(fourCC("VatP"));
    EXPECT_FALSE(page->validateMenuItem(1104).enabled);
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    EXPECT_FALSE(sheet().isVisible());
    page->selectSubPage(fourCC("VatR"));
    picture(&window, "setup-rates");
}

TEST_F(BusinessSetupPageTest, ListingOfThePeriodAgreesWithTheRatesAccounts)
{
    const auto rate = addStandardRate();
    const long customerId = addCustomer();

    const DateT today = CDate::GetNowAsDateT();
    const auto period = business::VATPeriodAtDate(business(), today);
    ASSERT_TRUE(period);
    for (double amount : {1000.0, 123456.78}) {
        ASSERT_GT(addInvoice(customerId, *rate, today, amount), 0);
    }
    // What the rate's received account holds: the VAT of both invoices.
    const CAccount* received = document->getAccountForId(static_cast<ObjectIdT>(*rate->accountIdReceived()));
    ASSERT_TRUE(received);
    const double VATReceived = std::abs(received->Get_mLocalBalance());
    ASSERT_NEAR(VATReceived, (1000.0 + 123456.78) * 0.21, 0.005);

    page->selectSubPage(fourCC("VatP"));
    page->selectVATPeriod(period.get());
    const auto shown = page->VATReportView()->mReportContents();
    ASSERT_TRUE(shown);
    const std::string total = CNSNumberAmountTBridge::NSNumberToNSString(VATReceived);
    auto grandTotalLine = [](const CReportContents& contents) -> const CParagraph* {
        for (std::size_t i = 0; i < contents.count(); ++i)
            if (contents.objectAtIndex(i).reportColumnAtIndex(0).mValue() == localized("GRANDTOTALTITLE"))
                return &contents.objectAtIndex(i);
        return nullptr;
    };
    const CParagraph* grand = grandTotalLine(*shown);
    ASSERT_TRUE(grand);
    EXPECT_EQ(grand->reportColumnAtIndex(4).mValue(), total) << "VAT received";
    picture(&window, "setup-listing");

    // Another listing type rebuilds; choosing it again does not.
    page->setListing(GXBusinessSetupViewController::Listing::PerRate);
    const auto perRate = page->VATReportView()->mReportContents();
    EXPECT_NE(perRate, shown);
    page->setListing(GXBusinessSetupViewController::Listing::PerRate);
    EXPECT_EQ(page->VATReportView()->mReportContents(), perRate);
    grand = grandTotalLine(*perRate);
    ASSERT_TRUE(grand);
    EXPECT_EQ(grand->reportColumnAtIndex(4).mValue(), total);
    picture(&window, "setup-listing-per-rate");
}

// A period of many invoices: the listing shows whole on one sheet as tall as
// it, scrolled in its room, its net total right after the rates (no page
// to turn), every column as wide as its texts with room to the sheet's edge.
TEST_F(BusinessSetupPageTest, AListingOfManyLinesShowsWholeOnOneSheetThatScrolls)
{
    const auto rate = addStandardRate();
    const long customerId = addCustomer();
    const DateT today = CDate::GetNowAsDateT();
    for (int i = 0; i < 40; ++i) ASSERT_GT(addInvoice(customerId, *rate, today, 100.0 + i), 0);
    const auto period = business::VATPeriodAtDate(business(), today);
    ASSERT_TRUE(period);
    page->selectSubPage(fourCC("VatP"));
    page->selectVATPeriod(period.get());
    // The sheet's new size reaches its scroll area a step later.
    QApplication::processEvents();
    QApplication::processEvents();

    CReportView& listing = *page->VATReportView();
    ASSERT_TRUE(listing.mReportContents());
    CReportContents& contents = *listing.mReportContents();
    EXPECT_EQ(listing.numberOfPages(), 1u);
    // As tall as the report laid out on one endless page, net total included.
    QtReportCanvas measurer(&listing);
    const ReportLayout laidOut = contents.layout(true, float(listing.width()), 0.0f, measurer);
    EXPECT_GE(listing.height(), laidOut.size.height);
    bool netTotal = false;
    for (std::size_t i = 0; i < contents.count(); ++i)
        netTotal = netTotal || contents.objectAtIndex(i).reportColumnAtIndex(0).mValue() == localized("GRANDTOTALTITLE");
    EXPECT_TRUE(netTotal);
    // Wide enough for every text, however narrow the page becomes: the room
    // scrolls instead.
    EXPECT_GE(listing.width(), int(contents.neededWidth(true, measurer, 0.0f)));
    auto* room = page->controlledView()->findChild<QScrollArea*>("VATListingScrollArea");
    ASSERT_NE(room, nullptr);
    EXPECT_GT(room->verticalScrollBar()->maximum(), 0);
    window.resize(520, 700);
    page->controlledView()->resize(window.size());
    QApplication::processEvents();
    EXPECT_GE(listing.width(), listing.minimumSizeHint().width());
    EXPECT_GT(room->horizontalScrollBar()->maximum(), 0);
    window.resize(1000, 700);
    page->controlledView()->resize(window.size());
    QApplication::processEvents();
    room->verticalScrollBar()->setValue(room->verticalScrollBar()->maximum());
    picture(&window, "setup-listing-end");
}

// A period's table row gives its figures as the listing does: an invoice's
// VAT of 21 % of 1,928.57 taken back by a credit note shows as 405.00
// received and 405.00 received cancelled, not as nothing at all.
TEST_F(BusinessSetupPageTest, RecalculatedPeriodShowsItsVATAsTheListingDoes)
{
    const auto rate = addStandardRate();
    const DateT today = CDate::GetNowAsDateT();
    const long invoiceId = addInvoice(addCustomer(), *rate, today, 1928.57);
    ASSERT_GT(invoiceId, 0);
    const auto invoice = document->getTransactionForId(static_cast<ObjectIdT>(invoiceId));
    ASSERT_TRUE(invoice && business::makeCreditNoteForInvoice(business(), *invoice));
    const auto period = business::VATPeriodAtDate(business(), today);
    ASSERT_TRUE(period);
    page->selectSubPage(fourCC("VatP"));
    QApplication::processEvents();
    QTableWidget* table = page->VATPeriodTable();
    const int row = periodRow(*period);
    ASSERT_GE(row, 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, 2)).center());
    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("calculateVATPeriodButton"), Qt::LeftButton);
    QApplication::processEvents();
    std::vector<std::string> shown;
    for (int column = 4; column < table->columnCount(); ++column)
        shown.push_back(table->item(row, column)->text().toStdString());
    // Paid, paid cancelled, received, received cancelled, balance.
    EXPECT_EQ(shown, (std::vector<std::string>{"0.00", "0.00", "405.00", "405.00", "0.00"}));
}

// The VAT rate sheet in modify mode shows every stored value and OK
// unchanged stores the same; a rate typed as "6 %" is a percentage.
TEST_F(BusinessSetupPageTest, ModifyingARateAndPressingOKUnchangedKeepsEveryField)
{
    page->selectSubPage(fourCC("VatR"));
    page->newVATRate();
    field<QLineEdit>("nameField")->setText("Reduced");
    field<QLineEdit>("rateField")->setText("6 %");
    field<QLineEdit>("fiscalField")->setText("50%");
    if (auto* reconciled = field<QCheckBox>("createAccountReconciled"); reconciled && reconciled->isEnabled())
        QTest::mouseClick(reconciled, Qt::LeftButton, {}, QPoint(8, reconciled->height() / 2));
    QTest::mouseClick(field<QPushButton>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_FALSE(sheet().isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    ASSERT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    const auto rate = business().businessArrays().VATRateArray.front();
    EXPECT_EQ(rate->rate(), 6.0);
    const Dictionary before = rate->dictionaryRepresentation();

    page->selectVATRate(rate.get());
    page->executeMenuCommand(1114, CommandSender::menuItem(1114));
    ASSERT_TRUE(sheet().isVisible());
    QTest::mouseClick(field<QPushButton>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_FALSE(sheet().isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_TRUE(rate->dictionaryRepresentation() == before);
}

TEST_F(BusinessSetupPageTest, ARateWhoseCategoryACreditNoteTurnedKeepsItWhenOkayedUnchanged)
{
    const auto rate = addStandardRate();
    ASSERT_TRUE(rate->categoryInvoicedNotYetReceived());
    ASSERT_GT(addInvoice(addCustomer(), *rate, 20090301, -100.0), 0);
    const Dictionary before = rate->dictionaryRepresentation();

    page->selectSubPage(fourCC("VatR"));
    page->selectVATRate(rate.get());
    page->modifyVATRate();
    ASSERT_TRUE(sheet().isVisible());
    QTest::mouseClick(field<QPushButton>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_FALSE(sheet().isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_EQ(rate->categoryInvoicedNotYetReceived(), before["CategoryInvoicedNotReceived"].toLong());
    EXPECT_TRUE(rate->dictionaryRepresentation() == before);
}

// Deleting a rate whose accounts carry an invoice and a supplier bill asks
// once, naming what goes; Cancel changes nothing, OK takes the rate, its
// accounts and their transactions, asking nothing more.
TEST_F(BusinessSetupPageTest, DeletingARateWithBookingsAsksOnceAndCancelChangesNothing)
{
    const auto rate = addStandardRate();
    const long invoiceId = addInvoice(addCustomer(), *rate, CDate::GetNowAsDateT(), 840.65);
    arguments::CAcoWArguments supplierValues;
    supplierValues.name = "Supplier";
    supplierValues.createSupplierOpenInvoices = true;
    arguments::InvoiceArguments bill;
    bill.invoiceName = "Paper";
    bill.thirdPartyId = document->commandExecutor().executeCommand(26, nullptr, supplierValues);
    bill.invoiceDate = CDate::GetNowAsDateT();
    bill.dueDate = bill.invoiceDate;
    bill.amountWithoutVAT = 100.0;
    bill.firstVATRateId = long(*rate->idKey());
    const long billId = document->commandExecutor().executeCommand(41, nullptr, bill);
    ASSERT_GT(invoiceId, 0);
    ASSERT_GT(billId, 0);
    const std::vector<long> accounts = {*rate->accountIdPaid(), *rate->accountIdReceived()};
    page->selectSubPage(fourCC("VatR"));
    page->selectVATRate(rate.get());

    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Default); // Cancel
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{562});
    const std::string& asked = environment.alerts().records().back().alert.message;
    EXPECT_NE(asked.find("Standard"), std::string::npos) << asked;
    EXPECT_NE(asked.find("2 transactions"), std::string::npos) << asked;
    // The accounts' names in their quotes, as the window writes them.
    for (long id : accounts) {
        const std::string quoted = "\u201C" + document->getAccountItemForId(static_cast<ObjectIdT>(id))->getName() + "\u201D";
        EXPECT_NE(asked.find(quoted), std::string::npos) << asked;
    }
    EXPECT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    for (long id : {invoiceId, billId}) EXPECT_NE(document->getTransactionForId(static_cast<ObjectIdT>(id)), nullptr);
    for (long id : accounts) EXPECT_NE(document->getAccountForId(static_cast<ObjectIdT>(id)), nullptr);

    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate); // OK
    page->selectVATRate(rate.get());
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{562}) << "one question for the whole";
    EXPECT_TRUE(business().businessArrays().VATRateArray.empty());
    // The books hold them no more (an item may outlive its transaction).
    for (long id : {invoiceId, billId}) {
        const auto gone = document->getTransactionForId(static_cast<ObjectIdT>(id));
        EXPECT_TRUE(!gone || !gone->getSourceItem()) << id;
    }
    for (long id : accounts) EXPECT_EQ(document->getAccountForId(static_cast<ObjectIdT>(id)), nullptr);
}

// Invoices booked out of date order list by date in the period's listing,
// whatever order their lines came into the accounts in.
TEST_F(BusinessSetupPageTest, TheListingsLinesGoByDate)
{
    const auto rate = addStandardRate();
    arguments::CAcoWArguments customer;
    customer.name = "Customer";
    customer.VATNr = "BE0123456749";
    customer.createCustomerOpenInvoices = true;
    const long customerId = document->commandExecutor().executeCommand(26, nullptr, customer);
    const auto period = business::VATPeriodAtDate(business(), CDate::GetNowAsDateT());
    ASSERT_TRUE(period);
    // Days of the period's first month: the 20th, 5th, 26th and 12th.
    const DateT first = static_cast<DateT>(*period->startDate());
    for (DateT day : {19, 4, 25, 11}) ASSERT_GT(addInvoice(customerId, *rate, first + day, 100.0), 0);
    page->selectSubPage(fourCC("VatP"));
    page->selectVATPeriod(period.get());
    const auto shown = page->VATReportView()->mReportContents();
    ASSERT_TRUE(shown);
    // The day of each line's date ("1/20/09" in the test's locale).
    std::vector<std::string> days;
    for (std::size_t i = 0; i < shown->count(); ++i) {
        const CParagraph& line = shown->objectAtIndex(i);
        if (line.countOfReportColumns() < 2 || line.reportColumnAtIndex(0).mValue() != "BE0123456749") continue;
        const std::string& date = line.reportColumnAtIndex(1).mValue();
        const std::size_t slash = date.find('/');
        days.push_back(date.substr(slash + 1, date.find('/', slash + 1) - slash - 1));
    }
    EXPECT_EQ(days, (std::vector<std::string>{"5", "12", "20", "26"}));
}

// The period table shows each period's figures when the page shows, and a
// later booking in the period is in them without Recalculate.
TEST_F(BusinessSetupPageTest, PeriodFiguresShowAtFirstShowAndFollowBookings)
{
    const auto rate = addStandardRate();
    const long customer = addCustomer();
    const DateT today = CDate::GetNowAsDateT();
    ASSERT_GT(addInvoice(customer, *rate, today, 1000.0), 0);
    page->selectSubPage(fourCC("VatP"));
    page->synchronizeWithItemFromSuperview(nullptr);
    QApplication::processEvents();
    const auto period = business::VATPeriodAtDate(business(), today);
    ASSERT_TRUE(period);
    auto received = [&] {
        const int row = periodRow(*period);
        return row < 0 ? std::string("no row") : page->VATPeriodTable()->item(row, 6)->text().toStdString();
    };
    EXPECT_EQ(received(), "210.00");
    ASSERT_GT(addInvoice(customer, *rate, today, 500.0), 0);
    QApplication::processEvents();
    EXPECT_EQ(received(), "315.00");
    for (int row = 0; row < page->VATPeriodTable()->rowCount(); ++row)
        EXPECT_FALSE(page->VATPeriodTable()->item(row, 1)->text().isEmpty()) << "every period has its name";
}

// The declaration written from the page covers the period chosen in its
// table: each chosen quarter's file carries that quarter's dates and the VAT
// of the invoices dated within it, summed from their booked lines.
TEST_F(BusinessSetupPageTest, DeclarationCoversTheChosenQuarter)
{
    const auto rate = addStandardRate();
    const long received = *rate->accountIdReceived();
    const long customerId = addCustomer();

    // Invoices on the days around each quarter's edges, of odd cents.
    std::vector<std::pair<DateT, double>> VATLines;
    double net = 10.07;
    for (DateT date : {20241231L, 20250101L, 20250215L, 20250331L, 20250401L, 20250630L, 20250701L, 20250930L,
                       20251001L, 20251231L, 20260101L}) {
        const long id = addInvoice(customerId, *rate, date, net);
        ASSERT_GT(id, 0);
        for (const auto& line : document->getTransactionForId(static_cast<ObjectIdT>(id))->mFromList())
            if (line->account() == received) VATLines.emplace_back(date, line->getLocalAmount().value_or(0));
        net = net * 3 + 0.33;
    }
    struct Quarter {
        DateT start, end;
    };
    const Quarter quarters[] = {{20250101, 20250331}, {20250401, 20250630}, {20250701, 20250930}, {20251001, 20251231}};
    for (const Quarter& q : quarters) business::createVATPeriodWithStartDate(business(), q.start, q.end);
    page->selectSubPage(fourCC("VatP"));

    const QString folderPath = QString::fromStdString(folder.path());
    // The extension typed in any case is kept, and not added again.
    const char* extensions[] = {"XML", "xml", "Xml"};
    int typed = 0;
    for (const Quarter& q : {quarters[2], quarters[0], quarters[3]}) {
        const QString extension = QString::fromLatin1(extensions[typed++]);
        const auto period = business::VATPeriodAtDate(business(), q.start);
        ASSERT_TRUE(period);
        ASSERT_EQ(period->endDate(), q.end);
        page->selectVATPeriod(period.get());
        auto* button = page->controlledView()->findChild<QAbstractButton*>("createInterVATFileButton");
        ASSERT_TRUE(button);
        button->click();
        QApplication::processEvents();
        auto* panel = window.findChild<QFileDialog*>();
        ASSERT_TRUE(panel);
        const QString path = folderPath + QStringLiteral("/declaration-%1.%2").arg(q.start).arg(extension);
        // Typed into the panel's name field, as the user would.
        auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        name->clear();
        QTest::keyClicks(name, path);
        static_cast<QDialog*>(panel)->accept();
        QApplication::processEvents();

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << q.start;
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".XML"))) << path.toStdString();
        const std::string written = file.readAll().toStdString();
        double sum = 0;
        for (const auto& [date, amount] : VATLines)
            if (date >= q.start && date <= q.end) sum += amount;
        auto day = [](DateT date) {
            char text[16];
            std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld", long(date / 10000), long(date / 100 % 100),
                          long(date % 100));
            return std::string(text);
        };
        char total[64];
        std::snprintf(total, sizeof total, "<VATRECEIVED>%.2f</VATRECEIVED>", sum);
        EXPECT_NE(written.find("<STARTDATE>" + day(q.start) + "</STARTDATE>"), std::string::npos) << written;
        EXPECT_NE(written.find("<ENDDATE>" + day(q.end) + "</ENDDATE>"), std::string::npos) << written;
        EXPECT_NE(written.find(total), std::string::npos) << total << " in " << written;
        // The panel deletes itself once closed.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(window.findChild<QFileDialog*>()) << q.start;
    }
}

TEST_F(BusinessSetupPageTest, SecondRateOffersTheFirstsCategoryAndDeletingAsksFirst)
{
    page->selectSubPage(fourCC("VatR"));
    // The settings still name no category: the first rate makes one.
    page->newVATRate();
    EXPECT_TRUE(field<QCheckBox>("createCategoryInvoicedNotReceived")->isChecked());
    field<QLineEdit>("nameField")->setText("Standard");
    field<QLineEdit>("rateField")->setText("21");
    sheet().okClicked();
    ASSERT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    const auto first = business().businessArrays().VATRateArray.front();
    ASSERT_TRUE(first->categoryInvoicedNotYetReceived());

    // The second offers that category instead; Cancel changes nothing.
    page->newVATRate();
    EXPECT_FALSE(field<QCheckBox>("createCategoryInvoicedNotReceived")->isChecked());
    EXPECT_EQ(field<CPopupList>("VATInvoicedNotYetReceivedCategory")->objectValue(),
              first->categoryInvoicedNotYetReceived());
    field<QLineEdit>("nameField")->setText("Reduced");
    sheet().cancelClicked();
    QApplication::processEvents();
    EXPECT_EQ(business().businessArrays().VATRateArray.size(), 1u);

    // Deleting asks question 226; declined, the rate stays; accepted, it goes.
    page->selectVATRate(first.get());
    environment.alerts().scriptAnswer(AlertAnswer::Default); // Cancel
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(environment.alerts().numbers().back(), 226);
    EXPECT_EQ(page->VATRateTable()->rowCount(), 1);
    page->selectVATRate(first.get());
    environment.alerts().scriptAnswer(AlertAnswer::Alternate); // OK
    page->deleteVATRate();
    EXPECT_TRUE(business().businessArrays().VATRateArray.empty());
    EXPECT_EQ(page->VATRateTable()->rowCount(), 0);
    EXPECT_FALSE(page->validateMenuItem(1104).enabled);
}

// The texts a person reads on a widget: window title, labels, buttons, tabs
// and table headings.
QStringList visibleTexts(QWidget& widget)
{
    QStringList texts{widget.windowTitle()};
    for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : widget.findChildren<QAbstractButton*>()) texts << button->text();
    for (const QTabBar* tabs : widget.findChildren<QTabBar*>())
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    for (const QTableWidget* table : widget.findChildren<QTableWidget*>())
        for (int i = 0; i < table->columnCount(); ++i)
            if (table->horizontalHeaderItem(i)) texts << table->horizontalHeaderItem(i)->text();
    return texts;
}

TEST_F(BusinessSetupPageTest, SheetsAndPageShowTextsRatherThanTheirKeys)
{
    const QRegularExpression key(QStringLiteral("^[A-Z][A-Z0-9_]{3,}:?$"));
    business::AccountsReceivableInvoiceDialogController invoice;
    business::AccountsReceivablePaymentDialogController payment;
    business::SplitPaymentDialogController split;
    business::SearchInvoiceDialogController search;
    business::CVATRateDialog rate;
    QWidget* widgets[] = {&invoice, &payment, &split, &search, &rate, page->controlledView()};
    for (QWidget* widget : widgets)
        for (const QString& text : visibleTexts(*widget))
            EXPECT_FALSE(key.match(text).hasMatch()) << widget->objectName().toStdString() << ": " << text.toStdString();
}

} // namespace
} // namespace ch::test
