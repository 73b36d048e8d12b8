// The owners page on a real document, offscreen: a customer linked to a
// person of a vCard folder, an invoice written through its sheet, a payment
// dragged onto it, another payment split, and the person's later change
// reaching the owner; a payment of another document's window is refused.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTableView>
#include <QtTest/QTest>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "../../document/document_fixture.h"
#include "../../platform/gui/qt_test_application.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
#include "business/PaymentArguments.h"
#include "business/VATRateArguments.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/CAccount.h"
#include "platform/core/contacts_provider.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/PasteboardTypes.h"
#include "ui/lists/GXTableAncestor.h"

namespace ch::test {
namespace {

using business::GXOwnerViewController;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class OwnersPageTest : public DocumentTest {
protected:
    OwnersPageTest()
    {
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        document = makeBusinessDocument();
        std::filesystem::create_directories(contactsFolder());
        std::filesystem::copy_file(std::filesystem::path(COUNTINGHOUSE_TEST_DATA) / "contacts" / "peeters.vcf",
                                   contactsFolder() / "peeters.vcf");
        contacts = std::make_unique<VCardFolderContacts>(contactsFolder());
        document->setContacts(contacts.get());

        arguments::VATRateArguments standard;
        standard.name = "Standard";
        standard.rate = 21.0;
        EXPECT_EQ(document->commandExecutor().executeCommand(33, nullptr, standard), 1);
        arguments::CAcoWArguments customer;
        customer.name = "New customer";
        customer.createCustomerOpenInvoices = true;
        customerId = document->commandExecutor().executeCommand(26, nullptr, customer);
        owner = document->getAccountOwnerItemForId(customerId);

        page = std::make_unique<GXOwnerViewController>(*document);
        page->setDocument(nullptr);
        window.resize(900, 600);
        page->controlledView()->setParent(&window);
        window.show();
        page->selectSubPage(fourCC("CusT"));
        page->synchronizeWithItemFromSuperview(nullptr);
    }

    std::unique_ptr<MyDocument> makeBusinessDocument()
    {
        auto made = std::make_unique<MyDocument>(dispatcher);
        made->setUntitledJournalFolder(folder.path());
        business::installBusiness(*made);
        made->setUpNewDocument("EUR");
        made->mPreference()->setMCustomerInvoiceCategory(made->get_mDefExpTUnspecifiedIncome());
        return made;
    }

    std::filesystem::path contactsFolder() { return std::filesystem::path(folder.path()) / "contacts"; }

    // What the customer still owes on the open-invoice account.
    double owed()
    {
        CAccount* account = document->getAccountForId(static_cast<ObjectIdT>(owner->openDebitInvoiceAccount().value_or(0)));
        return account ? -std::round(account->Get_mLocalBalance() * 100) / 100 : NAN;
    }

    std::shared_ptr<CTrnSItem> payCustomer(double amount, const char* name)
    {
        arguments::PaymentArguments values;
        values.paymentName = name;
        values.thirdPartyId = customerId;
        values.paymentAmount = amount;
        values.paymentDate = 20090320;
        values.paymentCategoryId = document->get_mDefExpTUnspecifiedIncome();
        values.paymentOwnerType = arguments::kOwnerTypeCustomer;
        const long id = document->commandExecutor().executeCommand(44, nullptr, values);
        page->synchronizeWithItemFromSuperview(nullptr);
        return document->getTransactionForId(static_cast<ObjectIdT>(id));
    }

    int paymentRow(const std::shared_ptr<CTrnSItem>& payment)
    {
        auto& rows = page->pair(true).rightTableArrayController();
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i) {
            auto line = std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i));
            if (line && line->parentTransaction() == payment) return int(i);
        }
        return -1;
    }

    std::unique_ptr<VCardFolderContacts> contacts;
    ObjectIdT customerId = -1;
    std::shared_ptr<CAcoWItem> owner;
    QWidget window;
    std::unique_ptr<GXOwnerViewController> page;
};

TEST_F(OwnersPageTest, LinkInvoicePayAndSplitAgreeWithTheBooks)
{
    // A person of the contacts dropped onto the customer's row links it.
    page->selectSubPage(fourCC("AcoW"));
    const auto ownerRow = page->ownerController(GXOwnerViewController::Tab::Owners).arrangedRowOf(owner.get());
    ASSERT_TRUE(ownerRow);
    QMimeData people;
    people.setData("text/vcard", QByteArray::fromStdString(readFile(contactsFolder() / "peeters.vcf")));
    EXPECT_TRUE(page->dropPeople(&people, int(*ownerRow)));
    EXPECT_EQ(owner->UID(), "PEETERS-0001-CONTACT");
    EXPECT_EQ(owner->getName(), "Peeters");
    EXPECT_EQ(document->mOwnerArray().size(), std::size_t(2)) << "linking makes no second owner";

    // An invoice of 1000 net at 21% through the sheet.
    page->selectSubPage(fourCC("CusT"));
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    page->createInvoiceAsked(true);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    sheet->findChild<QLineEdit*>("invoiceNameField")->setText("Renovation");
    sheet->findChild<CAmountField*>("invoiceAmountField")->setValue(1000.0);
    sheet->calculateTotalAmount();
    EXPECT_EQ(sheet->findChild<QLineEdit*>("TotalAmountField")->text(), "1210.00");
    sheet->okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_DOUBLE_EQ(owed(), 1210.0);
    ASSERT_EQ(page->pair(true).leftTableArrayController().arrangedCount(), std::size_t(1));

    // A payment of 500 dragged onto the invoice row pays part of it.
    const auto payment = payCustomer(500, "First instalment");
    ASSERT_TRUE(payment);
    EXPECT_DOUBLE_EQ(owed(), 710.0);
    std::unique_ptr<QMimeData> drag(page->pair(true).mimeDataForPaymentRow(paymentRow(payment)));
    ASSERT_TRUE(drag);
    EXPECT_TRUE(page->pair(true).acceptDrop(drag.get(), 0));
    const auto invoice = std::dynamic_pointer_cast<CDebetItem>(
        page->pair(true).leftTableArrayController().arrangedObjectAt(0))->parentTransaction();
    EXPECT_EQ(payment->mReferenceObjectId(), invoice->getId());
    EXPECT_NEAR(invoice->unaccountedForAmount().value_or(0), 710.0, 0.005);

    // Another payment split: 0 and more than the whole are refused, 400 of 1000 is taken.
    const auto second = payCustomer(1000, "Second instalment");
    page->pair(true).rightTable()->selectRow(paymentRow(second));
    page->splitPaymentAsked(true);
    auto* split = page->splitSheet();
    ASSERT_TRUE(split && split->isVisible());
    auto* splitAmount = split->findChild<CAmountField*>("splitAmountField");
    for (double refused : {0.0, 1200.0, -400.0}) {
        const std::size_t before = environment.alerts().records().size();
        splitAmount->setValue(refused);
        split->okClicked();
        EXPECT_TRUE(split->isVisible()) << refused;
        ASSERT_EQ(environment.alerts().numbers().size(), before + 1);
        EXPECT_EQ(environment.alerts().numbers().back(), 278);
    }
    splitAmount->setValue(400.0);
    split->splitAmountEdited();
    EXPECT_EQ(split->findChild<QLineEdit*>("leftoverAmountField")->text(), "600.00");
    split->okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(split->isVisible());
    EXPECT_NEAR(second->mTotalAmount().value_or(0), 400.0, 0.005);
    EXPECT_EQ(page->pair(true).rightTableArrayController().arrangedCount(), std::size_t(3));
    EXPECT_DOUBLE_EQ(owed(), -290.0) << "the books still hold the whole 1000 received";
}

TEST_F(OwnersPageTest, PaymentOfAnotherDocumentOrOfTheWrongKindIsRefused)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    arguments::InvoiceArguments invoiceValues;
    invoiceValues.invoiceName = "Work";
    invoiceValues.thirdPartyId = customerId;
    invoiceValues.invoiceNumber = "2009000001";
    invoiceValues.invoiceDate = 20090310;
    invoiceValues.dueDate = 20090409;
    invoiceValues.amountWithoutVAT = 100.0;
    invoiceValues.firstVATRateId = -1;
    ASSERT_GT(document->commandExecutor().executeCommand(38, nullptr, invoiceValues), 0);
    const auto payment = payCustomer(50, "Part");
    std::unique_ptr<QMimeData> drag(page->pair(true).mimeDataForPaymentRow(paymentRow(payment)));
    ASSERT_TRUE(drag);

    QMimeData foreign;
    foreign.setData(kNonvisualPboardType, drag->data(kNonvisualPboardType));
    foreign.setData(business::kDocumentPboardType, "12345");
    EXPECT_FALSE(page->pair(true).validateDrop(&foreign, 0));
    EXPECT_FALSE(page->pair(true).acceptDrop(&foreign, 0));
    EXPECT_FALSE(page->pair(false).validateDrop(drag.get(), 0)) << "no supplier invoice row";
    QMimeData invoiceKey;
    invoiceKey.setData(kNonvisualPboardType,
                       QByteArray::fromStdString(page->pair(true).selectedLeftTableTransaction()
                                                     ? std::string()
                                                     : std::dynamic_pointer_cast<CDebetItem>(
                                                           page->pair(true).leftTableArrayController().arrangedObjectAt(0))
                                                           ->parentTransaction()
                                                           ->calculateKey()));
    invoiceKey.setData(business::kDocumentPboardType, drag->data(business::kDocumentPboardType));
    EXPECT_FALSE(page->pair(true).validateDrop(&invoiceKey, 0)) << "an invoice is no payment";
    EXPECT_FALSE(payment->mReferenceObjectId().value_or(-1) > 0);
    EXPECT_TRUE(page->pair(true).acceptDrop(drag.get(), 0));
}

TEST_F(OwnersPageTest, ChangedCardReachesTheLinkedOwnerAfterTheDelay)
{
    ASSERT_EQ(document->commandExecutor().executeCommand(
                  27, owner, [] { arguments::CAcoWArguments a; a.UID = "PEETERS-0001-CONTACT"; return a; }()),
              1);
    ASSERT_EQ(owner->getName(), "Peeters");
    business::OwnerContactsSynchronizer follower(*document, *contacts);
    follower.setDelay(50);
    std::string card = readFile(contactsFolder() / "peeters.vcf");
    card.replace(card.find("N:Peeters;Jan"), 13, "N:Peeters-Smet;Jan");
    std::ofstream(contactsFolder() / "peeters.vcf", std::ios::trunc) << card << "\n";
    ASSERT_TRUE(contacts->reload());
    EXPECT_EQ(owner->getName(), "Peeters") << "not before the delay";
    QTRY_COMPARE(QString::fromStdString(owner->getName()), QStringLiteral("Peeters-Smet"));
}

} // namespace
} // namespace ch::test
