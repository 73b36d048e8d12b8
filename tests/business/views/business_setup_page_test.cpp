// The business-setup page on a real document, offscreen: a VAT rate made
// through its sheet (refused values keep the sheet open with their numbered
// error), shown and modified on the page, and the VAT listing of the period
// that holds an invoice, which agrees with the rate's accounts. Pictures of
// the page and its listing go to review/business/ for looking at.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>

#include <cmath>

#include "../../document/document_fixture.h"
#include "../../platform/gui/qt_test_application.h"
#include "analysis/CReportContents.h"
#include "analysis/views/CReportView.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
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
    template <class Field>
    Field* field(const char* name) { return sheet().findChild<Field*>(name); }

    void picture(QWidget* widget, const char* name)
    {
        const QString path = QDir::current().absoluteFilePath(QStringLiteral("../review/business"));
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
    };
    const Refused refused[] = {
        {"", "21", "100", 202, "nameField"},
        {"Standard", "21", "", 129, "fiscalField"},
        {"Standard", "21", "100.01", 272, "fiscalField"},
        {"Standard", "", "100", 129, "rateField"},
        {"Standard", "-0.01", "100", 272, "rateField"},
        {"Standard", "abc", "100", 129, "rateField"},
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
    arguments::VATRateArguments standard;
    standard.name = "Standard";
    standard.rate = 21.0;
    ASSERT_EQ(document->commandExecutor().executeCommand(33, nullptr, standard), 1);
    const auto rate = business().businessArrays().VATRateArray.front();
    arguments::CAcoWArguments customer;
    customer.name = "Customer";
    customer.createCustomerOpenInvoices = true;
    const long customerId = document->commandExecutor().executeCommand(26, nullptr, customer);

    const DateT today = CDate::GetNowAsDateT();
    const auto period = business::VATPeriodAtDate(business(), today);
    ASSERT_TRUE(period);
    for (double amount : {1000.0, 123456.78}) {
        arguments::InvoiceArguments invoice;
        invoice.invoiceName = "Work";
        invoice.thirdPartyId = customerId;
        invoice.invoiceDate = today;
        invoice.dueDate = today;
        invoice.amountWithoutVAT = amount;
        invoice.firstVATRateId = long(*rate->idKey());
        ASSERT_GT(document->commandExecutor().executeCommand(38, nullptr, invoice), 0);
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
