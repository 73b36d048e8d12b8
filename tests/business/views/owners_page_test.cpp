// The owners page on a real document, offscreen: a customer linked to a
// person of a vCard folder, an invoice written and modified through its
// sheet, payments dragged onto it, split, unlinked, found by the search
// sheet and deleted, a credit note, the menu items each tab and selection
// allows, and the person's later change reaching the owner; a payment of
// another document's window is refused.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest/QTest>

#include <array>
#include <tuple>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "../../document/document_fixture.h"
#include "../../document/sheet_transaction.h"
#include "../../platform/gui/qt_test_application.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSStringDateTBridge.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/GXInvoice.h"
#include "business/InstallBusiness.h"
#include "business/InvoiceNumbers.h"
#include "business/PaymentArguments.h"
#include "business/Payments.h"
#include "business/GXVATRate.h"
#include "business/VATRateArguments.h"
#include "business/views/AccountsReceivableInvoiceDialogController.h"
#include "document/arguments/CurrencyArguments.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/DocumentSheets.h"
#include "model/CAccount.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/WindowDocument.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/pages/TableActionButton.h"
#include "ui/sheets/BookLists.h"

namespace ch::test {
namespace {

using business::GXOwnerViewController;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The window's owner sheets, recorded: which operation, with what.
class OwnerSheetsWindow : public WindowDocument {
public:
    using WindowDocument::WindowDocument;
    std::vector<std::pair<std::string, CNonVisualDataItem::Ptr>> calls;
    int newOwnerTag = 0;

    void newAccountOwner(int senderTag) override
    {
        newOwnerTag = senderTag;
        calls.emplace_back("newAccountOwner", nullptr);
    }
    void modifyObject(const CNonVisualDataItem::Ptr& item) override { calls.emplace_back("modifyObject", item); }
    void deleteObject(const CNonVisualDataItem::Ptr& item) override { calls.emplace_back("deleteObject", item); }

    void createNewAccountTypeAsked(const ObjectSheetParameters&) override {}
    void createNewMasterExpenseTypeAsked(const ObjectSheetParameters&) override {}
    void initiateAccountCreationWithMasterType(ObjectIdT) override {}
    void initiateExpenseTypeCreationWithParentType(ObjectIdT) override {}
    void newPLAccount() override {}
    void newExpenseType() override {}
    void showDocumentSettings() override {}
    void initiateCreditCardAccountCreation() override {}
    void exportTransactions(const CNonVisualDataItem::Ptr&) override {}
    void newCurrencyAsked(bool) override {}
    void modifyCurrency(const std::shared_ptr<CCurRItem>&) override {}
    void changeCurrencyRate(const std::shared_ptr<CCurRItem>&) override {}
    void registerShareTransaction(bool, const std::shared_ptr<CCurRItem>&) override {}
    void registerDividend(const std::shared_ptr<CCurRItem>&) override {}
    void askTransactionInput(const TransactionSheetRequest&) override {}
    bool deleteObjectWithAsking(const CNonVisualDataItem::Ptr&, bool) override { return false; }
    void copyTransaction(const std::shared_ptr<CTrnSItem>&) override {}
    std::shared_ptr<CTrnSItem> transactionToPaste() const override { return nullptr; }
    void cutTransaction(const std::shared_ptr<CTrnSItem>&) override {}
    void linkUnlinkedTransaction(const std::shared_ptr<CTrnSItem>&) override {}
    bool tryToSetTransactionAsVATBalancePaymentTransaction(const std::shared_ptr<CTrnSItem>&) override { return false; }
    // The owners page books nothing through the quick-entry side.
    SheetDocument& sheetDocument() override { throw std::logic_error("not used by the owners page"); }
};

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

    // An invoice of the customer booked by command 38 (without VAT unless a
    // rate is given), shown on the page.
    std::shared_ptr<CTrnSItem> invoiceCustomer(double net, const char* number, long rateId = -1)
    {
        arguments::InvoiceArguments values;
        values.invoiceName = "Work";
        values.thirdPartyId = customerId;
        values.invoiceNumber = number;
        values.invoiceDate = 20090310;
        values.dueDate = 20090409;
        values.amountWithoutVAT = net;
        values.firstVATRateId = rateId;
        const long id = document->commandExecutor().executeCommand(38, nullptr, values);
        page->synchronizeWithItemFromSuperview(nullptr);
        return document->getTransactionForId(static_cast<ObjectIdT>(id));
    }

    // The row of the transaction's line in the customer's invoice (left) or
    // payment table; -1 when it is not shown.
    int rowOf(const std::shared_ptr<CTrnSItem>& transaction, bool invoices)
    {
        auto& rows = invoices ? page->pair(true).leftTableArrayController() : page->pair(true).rightTableArrayController();
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i) {
            auto line = std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i));
            if (line && line->parentTransaction() == transaction) return int(i);
        }
        return -1;
    }

    void selectLine(const std::shared_ptr<CTrnSItem>& transaction, bool invoices)
    {
        auto& pairOf = page->pair(true);
        (invoices ? pairOf.leftTable() : pairOf.rightTable())->selectRow(rowOf(transaction, invoices));
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

    // The item of the invoice (payment) table's action menu with that title,
    // chosen as a person does; false when it is absent or disabled.
    bool chooseLineAction(bool invoices, const char* titleKey)
    {
        TableActionButton* action = page->lineActionButton(true, invoices);
        if (!action || !action->isVisible()) return false;
        emit action->actionMenu()->aboutToShow();
        for (QAction* item : action->actionMenu()->actions())
            if (item->text() == QString::fromStdString(localized(titleKey))) {
                if (!item->isEnabled()) return false;
                item->trigger();
                QApplication::processEvents();
                return true;
            }
        return false;
    }

    // Clicks the transaction's row in the invoice (payment) table.
    void clickLine(const std::shared_ptr<CTrnSItem>& transaction, bool invoices)
    {
        QTableView* table = invoices ? page->pair(true).leftTable() : page->pair(true).rightTable();
        const int row = rowOf(transaction, invoices);
        ASSERT_GE(row, 0);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, 1)).center());
    }

    // A rate of that percentage, made as the sheet makes it; its id.
    long addRate(const char* name, double percentage)
    {
        arguments::VATRateArguments values;
        values.name = name;
        values.rate = percentage;
        EXPECT_EQ(document->commandExecutor().executeCommand(33, nullptr, values), 1);
        return long(*businessOf().businessArrays().VATRateArray.front()->idKey());
    }
    business::BusinessOfDocument& businessOf() { return *dynamic_cast<business::BusinessOfDocument*>(document->business()); }

    // The payment's category lines, summed per category.
    std::map<long, double> categoriesOf(const std::shared_ptr<CTrnSItem>& transaction)
    {
        std::map<long, double> sums;
        for (const auto& line : transaction->mForList())
            sums[line->account().value_or(0)] += std::round(line->getLocalAmount().value_or(0) * 100) / 100;
        return sums;
    }

    // Types the amount kept into the split sheet as a person does and clicks OK.
    template <class Sheet>
    void typeSplitAmountAndOk(Sheet* split, const char* typed)
    {
        auto* amount = split->template findChild<CAmountField*>("splitAmountField");
        amount->setFocus();
        amount->selectAll();
        QTest::keyClicks(amount, typed);
        QTest::mouseClick(split->template findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        QApplication::processEvents();
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
    EXPECT_EQ(sheet->findChild<QLineEdit*>("TotalAmountField")->text(), "1,210.00");
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
    for (const auto& [refused, error] : {std::pair{0.0, 278L}, std::pair{1200.0, 561L}, std::pair{-400.0, 278L}}) {
        const std::size_t before = environment.alerts().records().size();
        splitAmount->setValue(refused);
        split->okClicked();
        EXPECT_TRUE(split->isVisible()) << refused;
        ASSERT_EQ(environment.alerts().numbers().size(), before + 1);
        EXPECT_EQ(environment.alerts().numbers().back(), error) << refused;
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

// Written on 15 March 2009 for 28 December 2008, a new invoice's proposed
// number follows its date into 2008's series; a number typed by hand stays.
TEST_F(OwnersPageTest, ANewInvoicesProposedNumberFollowsItsDateIntoThatYear)
{
    page->selectSubPage(fourCC("CusT"));
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    page->createInvoiceAsked(true);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    QApplication::setActiveWindow(sheet);
    auto* number = sheet->findChild<QLineEdit*>("invoiceNumberField");
    auto* reference = sheet->findChild<QLineEdit*>("paymentReferenceField");
    auto* date = sheet->findChild<CDateEditField*>("invoiceDateField");
    ASSERT_TRUE(number && reference && date);
    EXPECT_EQ(number->text(), "2009000001");
    auto typeDate = [&](DateT day) {
        const QString shown = [&] { CDateEditField formatter; formatter.setDateT(day); return formatter.text(); }();
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, shown);
        QTest::keyClick(date, Qt::Key_Tab);
        ASSERT_EQ(date->getDateT(), day);
    };
    typeDate(20081228);
    EXPECT_EQ(number->text(), "2008000001");
    EXPECT_EQ(reference->text().toStdString(), business::structuredReferenceForNumber("2008000001"));

    number->setText("2008-17");
    typeDate(20090315);
    EXPECT_EQ(number->text(), "2008-17");
    sheet->cancelClicked();
}

TEST_F(OwnersPageTest, PaymentOfAnotherDocumentOrOfTheWrongKindIsRefused)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    ASSERT_TRUE(invoiceCustomer(100.0, "2009000001"));
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

TEST_F(OwnersPageTest, ModifiedInvoiceCreditNoteUnlinkSearchAndDeleteAgreeWithTheBooks)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(1000, "2009000001");
    ASSERT_TRUE(invoice);
    EXPECT_DOUBLE_EQ(owed(), 1000.0);

    // Modified through its sheet: the invoice it was opened on is rebooked.
    selectLine(invoice, true);
    page->modifyInvoiceAsked(true);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_EQ(sheet->findChild<QLineEdit*>("invoiceNameField")->text(), "Work");
    sheet->findChild<QLineEdit*>("invoiceNameField")->setText("More work");
    sheet->findChild<CAmountField*>("invoiceAmountField")->setValue(1500.0);
    page->pair(true).leftTable()->clearSelection();
    sheet->okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(invoice->getName(), "More work");
    EXPECT_DOUBLE_EQ(owed(), 1500.0);
    ASSERT_EQ(page->pair(true).leftTableArrayController().arrangedCount(), std::size_t(1));

    // A payment naming the invoice number is found by the search sheet and linked.
    const auto payment = payCustomer(600, "Payment 2009000001");
    selectLine(payment, false);
    page->searchInvoiceForPayment(true);
    auto* search = page->searchSheet();
    ASSERT_TRUE(search && search->isVisible());
    // The invoice's date as the user writes dates, and its amount whole.
    auto* candidates = search->findChild<QTableWidget*>();
    QApplication::processEvents();
    EXPECT_EQ(candidates->item(0, 0)->text().toStdString(),
              CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(*invoice->mDate())));
    const QString amount = candidates->item(0, 2)->text();
    const int amountRight = candidates->horizontalHeader()->sectionViewportPosition(2) +
                            candidates->horizontalHeader()->sectionSize(2);
    EXPECT_LE(amountRight, candidates->viewport()->width()) << "the Amount column is cut";
    EXPECT_GE(candidates->horizontalHeader()->sectionSize(2), candidates->fontMetrics().horizontalAdvance(amount));
    candidates->selectRow(0);
    ASSERT_EQ(search->selectedInvoiceTransactions().size(), std::size_t(1));
    search->okClicked();
    QApplication::processEvents();
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(payment->mReferenceObjectId(), invoice->getId());
    EXPECT_NEAR(invoice->unaccountedForAmount().value_or(0), 900.0, 0.005);
    EXPECT_TRUE(search->selectedInvoiceTransactions().empty()) << "the candidates are let go";

    // Unlinked from the payment's side, relinked, then unlinked from the invoice's side.
    selectLine(payment, false);
    page->unlinkPaymentAsked(true);
    EXPECT_NE(payment->mReferenceObjectId().value_or(-1), invoice->getId());
    EXPECT_FALSE(invoice->hasPayments());
    auto* business = dynamic_cast<business::BusinessOfDocument*>(document->business());
    ASSERT_GE(business::linkPaymentToInvoice(*business, *invoice, *payment), 0);
    page->synchronizeWithItemFromSuperview(nullptr);
    selectLine(invoice, true);
    page->unlinkPaymentsAsked();
    EXPECT_NE(payment->mReferenceObjectId().value_or(-1), invoice->getId());
    EXPECT_FALSE(invoice->hasPayments());
    EXPECT_DOUBLE_EQ(owed(), 900.0) << "unlinking moves no money";

    // The deletion question's default button declines.
    constexpr AlertAnswer kDecline = AlertAnswer::Default;
    constexpr AlertAnswer kAccept = AlertAnswer::Alternate;

    // The payment is deleted only once the question is answered yes.
    const ObjectIdT paymentId = payment->getId().value_or(-1);
    for (auto answer : {kDecline, kAccept}) {
        environment.alerts().scriptAnswer(answer);
        const std::size_t asked = environment.alerts().numbers().size();
        selectLine(payment, false);
        page->deletePaymentAsked(true);
        ASSERT_EQ(environment.alerts().numbers().size(), asked + 1);
        EXPECT_EQ(environment.alerts().numbers().back(), 226);
        EXPECT_EQ(document->getTransactionForId(paymentId) != nullptr, answer == kDecline);
    }
    EXPECT_DOUBLE_EQ(owed(), 1500.0);

    // The credit note cancels the invoice and refers to it.
    selectLine(invoice, true);
    page->makeCreditnoteAsked();
    EXPECT_DOUBLE_EQ(owed(), 0.0);
    std::shared_ptr<CTrnSItem> note;
    for (bool invoices : {true, false}) {
        auto& rows = invoices ? page->pair(true).leftTableArrayController() : page->pair(true).rightTableArrayController();
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (auto line = std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i));
                line && line->parentTransaction() != invoice)
                note = line->parentTransaction();
    }
    ASSERT_TRUE(note);
    EXPECT_EQ(note->mReferenceObjectId(), invoice->getId());

    // The invoice is deleted after the question; declining keeps it.
    const ObjectIdT invoiceId = invoice->getId().value_or(-1);
    for (auto answer : {kDecline, kAccept}) {
        environment.alerts().scriptAnswer(answer);
        const std::size_t asked = environment.alerts().numbers().size();
        selectLine(invoice, true);
        page->deleteInvoiceAsked(true);
        ASSERT_EQ(environment.alerts().numbers().size(), asked + 1);
        EXPECT_EQ(environment.alerts().numbers().back(), 226);
        EXPECT_EQ(document->getTransactionForId(invoiceId) != nullptr, answer == kDecline);
    }
    EXPECT_EQ(rowOf(invoice, true), -1);
    EXPECT_DOUBLE_EQ(owed(), -1500.0) << "the credit note stays";
}

// Registering the payment from the invoice sheet: the category popup
// proposes the settings' supplier-payments category for a supplier and the
// customer's own for a customer, and the payment is booked on the category
// chosen. An invoice that its credit note cancels offers no payment. The
// invoice and payment tables show dates in the user's date format.
TEST_F(OwnersPageTest, InvoiceSheetPaymentCategoryCancelledInvoiceAndDates)
{
    const long transfer = document->get_mDefExpTUnspecifiedTransfer();
    const long income = document->get_mDefExpTUnspecifiedIncome();
    document->mPreference()->setMSupplierPaymentsCategory(transfer);
    owner->setCustomerPaymentCategory(income);
    arguments::CAcoWArguments supplierValues;
    supplierValues.name = "Supplier";
    supplierValues.createSupplierOpenInvoices = true;
    const long supplierId = document->commandExecutor().executeCommand(26, nullptr, supplierValues);
    const auto supplier = document->getAccountOwnerItemForId(static_cast<ObjectIdT>(supplierId));
    ASSERT_TRUE(supplier);
    page->synchronizeWithItemFromSuperview(nullptr);

    struct Case {
        bool customer;
        std::shared_ptr<CAcoWItem> owner;
        long proposed;
    };
    for (const Case& c : {Case{false, supplier, transfer}, Case{true, owner, income}}) {
        page->selectOwner(c.customer ? GXOwnerViewController::Tab::Customers : GXOwnerViewController::Tab::Suppliers,
                          c.owner.get());
        page->createInvoiceAsked(c.customer);
        auto* sheet = page->invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible()) << c.customer;
        auto* category = sheet->findChild<QComboBox*>("paymentCategoryPopup");
        ASSERT_TRUE(category);
        EXPECT_TRUE(category->isEnabled());
        EXPECT_EQ(category->currentData().toLongLong(), c.proposed) << c.customer;
        sheet->findChild<QLineEdit*>("invoiceNameField")->setText("Goods");
        sheet->findChild<CAmountField*>("invoiceAmountField")->setValue(200.0);
        sheet->findChild<QCheckBox*>("registerPaymentCheckbox")->setChecked(true);
        sheet->okClicked();
        QApplication::processEvents();
        EXPECT_FALSE(sheet->isVisible()) << c.customer;

        // The payment the sheet registered, booked on the proposed category.
        const auto& invoices = c.customer ? page->pair(true).leftTableArrayController()
                                          : page->pair(false).leftTableArrayController();
        std::shared_ptr<business::GXInvoice> extension;
        for (std::size_t i = 0; i < invoices.arrangedCount() && !extension; ++i)
            if (auto line = std::dynamic_pointer_cast<CDebetItem>(invoices.arrangedObjectAt(i)))
                if (auto transaction = line->parentTransaction(); transaction && transaction->getName() == "Goods")
                    extension = std::dynamic_pointer_cast<business::GXInvoice>(transaction->invoiceExtension());
        ASSERT_TRUE(extension) << c.customer;
        ASSERT_EQ(extension->paymentTransactionIdArray().size(), 1u) << c.customer;
        const auto payment = document->getTransactionForId(static_cast<ObjectIdT>(extension->paymentTransactionIdArray()[0]));
        ASSERT_TRUE(payment);
        bool onProposed = false;
        for (const auto& line : payment->mForList()) onProposed = onProposed || line->account() == c.proposed;
        EXPECT_TRUE(onProposed) << c.customer;
    }

    // An invoice its credit note cancels is owed no more: no payment offered.
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(300, "2009000007");
    ASSERT_TRUE(invoice);
    for (const bool cancelled : {false, true}) {
        if (cancelled) {
            selectLine(invoice, true);
            page->makeCreditnoteAsked();
        }
        selectLine(invoice, true);
        page->modifyInvoiceAsked(true);
        auto* sheet = page->invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        EXPECT_EQ(sheet->findChild<QCheckBox*>("registerPaymentCheckbox")->isEnabled(), !cancelled);
        EXPECT_EQ(sheet->findChild<QComboBox*>("paymentCategoryPopup")->isEnabled(), !cancelled);
        sheet->cancelClicked();
        QApplication::processEvents();
    }

    // Dates as the user writes them, not as stored numbers.
    const auto payment = payCustomer(50, "Payment");
    for (const auto& [transaction, invoices] : {std::pair{invoice, true}, std::pair{payment, false}}) {
        const int row = rowOf(transaction, invoices);
        ASSERT_GE(row, 0);
        QTableView* table = invoices ? page->pair(true).leftTable() : page->pair(true).rightTable();
        const QString shown = table->model()->index(row, 0).data().toString();
        EXPECT_EQ(shown.toStdString(), CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(*transaction->mDate())));
        EXPECT_NE(shown, QString::number(*transaction->mDate()));
    }
}

// Under the customer's invoices and payments a "+" and an action button, as
// on the other pages: the "+" makes an invoice or a payment for the customer
// clicked, and the items that act on a line wait for one to be selected.
TEST_F(OwnersPageTest, InvoiceAndPaymentTablesHaveTheirPlusAndActionButton)
{
    auto* invoices = page->pair(true).leftTable();
    auto* payments = page->pair(true).rightTable();
    auto enabled = [](QTableView* table) {
        std::vector<std::string> names;
        for (QAction* item : table->actions())
            if (item->isEnabled()) names.push_back(item->objectName().toStdString());
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(enabled(invoices), Names{}) << "no customer chosen";
    EXPECT_FALSE(page->addLineButton(true, true)->isEnabled());

    QTableView* customers = page->ownerTable(GXOwnerViewController::Tab::Customers);
    const auto row = page->ownerController(GXOwnerViewController::Tab::Customers).arrangedRowOf(owner.get());
    ASSERT_TRUE(row);
    QTest::mouseClick(customers->viewport(), Qt::LeftButton, {},
                      customers->visualRect(customers->model()->index(int(*row), 0)).center());
    EXPECT_EQ(enabled(invoices), Names{"OWNERSNEWINVOICE"});
    EXPECT_EQ(enabled(payments), Names{"OWNERSNEWPAYMENT"});

    QPushButton* addInvoice = page->addLineButton(true, true);
    ASSERT_TRUE(addInvoice && addInvoice->isVisible() && addInvoice->isEnabled());
    QTest::mouseClick(addInvoice, Qt::LeftButton);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    sheet->findChild<QLineEdit*>("invoiceNameField")->setText("Windows");
    sheet->findChild<CAmountField*>("invoiceAmountField")->setValue(400.0);
    QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    ASSERT_EQ(page->pair(true).leftTableArrayController().arrangedCount(), std::size_t(1));
    EXPECT_EQ(enabled(invoices), Names{"OWNERSNEWINVOICE"}) << "the new invoice is not selected yet";

    QTest::mouseClick(invoices->viewport(), Qt::LeftButton, {},
                      invoices->visualRect(invoices->model()->index(0, 1)).center());
    EXPECT_EQ(enabled(invoices), (Names{"OWNERSNEWINVOICE", "OWNERSMODIFYINVOICE", "OWNERSDELETEINVOICE",
                                        "OWNERSCREDITNOTE", "OWNERSUNLINKPAYMENTS"}));
    TableActionButton* action = page->lineActionButton(true, true);
    ASSERT_TRUE(action && action->isVisible());
    emit action->actionMenu()->aboutToShow();
    QAction* modify = nullptr;
    for (QAction* item : action->actionMenu()->actions())
        if (item->objectName() == QLatin1String("OWNERSMODIFYINVOICE")) modify = item;
    ASSERT_TRUE(modify && modify->isEnabled());
    modify->trigger();
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->findChild<QLineEdit*>("invoiceNameField")->text(), "Windows");
    sheet->cancelClicked();

    QPushButton* addPayment = page->addLineButton(true, false);
    ASSERT_TRUE(addPayment && addPayment->isVisible() && page->lineActionButton(true, false)->isVisible());
    QTest::mouseClick(addPayment, Qt::LeftButton);
    ASSERT_TRUE(page->paymentSheet() && page->paymentSheet()->isVisible());
    page->paymentSheet()->cancelClicked();
}

// "Find Its Invoices…" on a payment that names no invoice says so: the
// item never seems to do nothing.
TEST_F(OwnersPageTest, FindingInvoicesForAPaymentThatNamesNoneSaysSo)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    ASSERT_TRUE(invoiceCustomer(1000, "2009000001"));
    const auto payment = payCustomer(600, "Cash at the counter");
    selectLine(payment, false);
    TableActionButton* action = page->lineActionButton(true, false);
    ASSERT_TRUE(action && action->isVisible());
    emit action->actionMenu()->aboutToShow();
    QAction* find = nullptr;
    for (QAction* item : action->actionMenu()->actions())
        if (item->objectName() == QLatin1String("OWNERSFINDINVOICES")) find = item;
    ASSERT_TRUE(find && find->isEnabled());
    const std::size_t before = environment.alerts().records().size();
    find->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(page->searchSheet() && page->searchSheet()->isVisible());
    ASSERT_EQ(environment.alerts().records().size(), before + 1);
    const auto& told = environment.alerts().records().back();
    EXPECT_EQ(told.kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(told.alert.message.find("“Cash at the counter”"), std::string::npos) << told.alert.message;
    EXPECT_EQ(payment->mReferenceObjectId().value_or(-1) > 0, false);
}

// Make Credit Note on an invoice its credit note already cancels is refused
// with a message: a second one would cancel its VAT twice.
TEST_F(OwnersPageTest, ASecondCreditNoteForTheSameInvoiceIsRefused)
{
    const long rate = addRate("Twenty", 20.0);
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    arguments::InvoiceArguments values;
    values.invoiceName = "Work";
    values.thirdPartyId = customerId;
    values.invoiceNumber = "2009000001";
    values.invoiceDate = 20090310;
    values.dueDate = 20090409;
    values.amountWithoutVAT = 100.0;
    values.firstVATRateId = rate;
    const auto invoice = document->getTransactionForId(
        static_cast<ObjectIdT>(document->commandExecutor().executeCommand(38, nullptr, values)));
    ASSERT_TRUE(invoice);
    page->synchronizeWithItemFromSuperview(nullptr);
    const long VATCategory = *businessOf().businessArrays().VATRateArray.front()->categoryInvoicedNotYetReceived();
    auto VATInvoiced = [&] {
        double sum = 0;
        for (const auto& transaction : document->mTransactionArray())
            for (const auto& line : transaction->mForList())
                if (line->account() == VATCategory) sum += line->getLocalAmount().value_or(0);
        return std::round(sum * 100) / 100;
    };
    EXPECT_DOUBLE_EQ(VATInvoiced(), 20.0);
    const std::size_t transactions = document->mTransactionArray().size();

    clickLine(invoice, true);
    ASSERT_TRUE(chooseLineAction(true, "OWNERSCREDITNOTE"));
    EXPECT_DOUBLE_EQ(VATInvoiced(), 0.0) << "the credit note cancels the invoice's VAT";
    ASSERT_EQ(document->mTransactionArray().size(), transactions + 1);

    environment.alerts().clear();
    clickLine(invoice, true);
    ASSERT_TRUE(chooseLineAction(true, "OWNERSCREDITNOTE"));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{563});
    EXPECT_EQ(document->mTransactionArray().size(), transactions + 1) << "no second credit note";
    EXPECT_DOUBLE_EQ(VATInvoiced(), 0.0);
    EXPECT_DOUBLE_EQ(owed(), 0.0);
}

// An invoice of 2,500 + 20 % VAT = 3,000 paid with 3,500. Worked by hand:
// linked, the payment settles 3,000 of it: it releases the invoice's whole
// 500 of VAT and no more, and keeps 2,500 + the 500 paid beyond = 3,000 on
// its own category; the person is told that it is larger than the invoice.
// Split 3,000 / 500, the linked 3,000 carries 2,500 and -500 of VAT, the
// unlinked 500 only 500 on the payment's category, no VAT.
TEST_F(OwnersPageTest, AnOverpaymentReleasesOnlyTheInvoicesVATAndItsSplitCarriesNone)
{
    const long rate = addRate("Twenty", 20.0);
    const long VATCategory = *businessOf().businessArrays().VATRateArray.front()->categoryInvoicedNotYetReceived();
    const long income = document->get_mDefExpTUnspecifiedIncome();
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    arguments::InvoiceArguments values;
    values.invoiceName = "Kitchen";
    values.thirdPartyId = customerId;
    values.invoiceNumber = "2009000001";
    values.invoiceDate = 20090310;
    values.dueDate = 20090409;
    values.amountWithoutVAT = 2500.0;
    values.firstVATRateId = rate;
    const auto invoice = document->getTransactionForId(
        static_cast<ObjectIdT>(document->commandExecutor().executeCommand(38, nullptr, values)));
    ASSERT_TRUE(invoice);
    EXPECT_NEAR(invoice->mTotalAmount().value_or(0), 3000.0, 0.005);
    const auto payment = payCustomer(3500, "Kitchen paid");
    ASSERT_TRUE(payment);

    environment.alerts().clear();
    std::unique_ptr<QMimeData> drag(page->pair(true).mimeDataForPaymentRow(paymentRow(payment)));
    ASSERT_TRUE(drag);
    ASSERT_TRUE(page->pair(true).acceptDrop(drag.get(), rowOf(invoice, true)));
    EXPECT_EQ(payment->mReferenceObjectId(), invoice->getId());
    EXPECT_EQ(categoriesOf(payment), (std::map<long, double>{{income, 3000.0}, {VATCategory, -500.0}}));
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(environment.alerts().records()[0].alert.message.find("500.00"), std::string::npos)
        << environment.alerts().records()[0].alert.message;

    selectLine(payment, false);
    ASSERT_TRUE(chooseLineAction(false, "OWNERSSPLITPAYMENT"));
    auto* split = page->splitSheet();
    ASSERT_TRUE(split && split->isVisible());
    typeSplitAmountAndOk(split, "3000");
    ASSERT_FALSE(split->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_NEAR(payment->mTotalAmount().value_or(0), 3000.0, 0.005);
    EXPECT_EQ(categoriesOf(payment), (std::map<long, double>{{income, 2500.0}, {VATCategory, -500.0}}));
    std::shared_ptr<CTrnSItem> leftover;
    for (const auto& transaction : document->mTransactionArray())
        if (transaction != payment && transaction->mTransactionType() == 6) leftover = transaction;
    ASSERT_TRUE(leftover);
    EXPECT_NEAR(leftover->mTotalAmount().value_or(0), 500.0, 0.005);
    EXPECT_FALSE(leftover->mReferenceObjectId().value_or(-1) > 0);
    EXPECT_EQ(categoriesOf(leftover), (std::map<long, double>{{income, 500.0}}));
}

// A negative net amount is refused in the sheet, naming the field: a credit
// note is the way to reduce an invoice. Nothing is booked.
TEST_F(OwnersPageTest, ANegativeInvoiceIsRefused)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    QTest::mouseClick(page->addLineButton(true, true), Qt::LeftButton);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    QTest::keyClicks(sheet->findChild<QLineEdit*>("invoiceNameField"), "Refund");
    auto* amount = sheet->findChild<CAmountField*>("invoiceAmountField");
    amount->setFocus();
    amount->selectAll();
    QTest::keyClicks(amount, "-100");
    environment.alerts().clear();
    const std::size_t transactions = document->mTransactionArray().size();
    QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{560});
    EXPECT_NE(environment.alerts().records().back().alert.message.find("amount without VAT"), std::string::npos);
    EXPECT_EQ(document->mTransactionArray().size(), transactions);
    sheet->cancelClicked();
}

// Find Its Invoices > OK with no invoice chosen says so and keeps the sheet
// open; nothing is linked.
TEST_F(OwnersPageTest, FindItsInvoicesWithNothingChosenSaysSo)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(1000, "2009000001");
    const auto payment = payCustomer(600, "Payment 2009000001");
    clickLine(payment, false);
    ASSERT_TRUE(chooseLineAction(false, "OWNERSFINDINVOICES"));
    auto* search = page->searchSheet();
    ASSERT_TRUE(search && search->isVisible());
    environment.alerts().clear();
    QTest::mouseClick(search->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{564});
    EXPECT_FALSE(payment->mReferenceObjectId().value_or(-1) > 0);
    search->cancelClicked();
}

// Every field the invoice sheet shows in modify mode is what is stored, and
// OK unchanged stores the same: the payment reference a later payment
// quotes among them.
TEST_F(OwnersPageTest, ModifyingAnInvoiceAndPressingOKUnchangedKeepsEveryField)
{
    const long twenty = addRate("Twenty", 20.0);
    const long six = addRate("Six", 6.0);
    struct Snapshot {
        std::string name, number, description, reference;
        long date = 0, due = 0;
        double total = 0;
        std::vector<std::pair<long, double>> lines;
        bool operator==(const Snapshot&) const = default;
    };
    auto snapshot = [&](const std::shared_ptr<CTrnSItem>& invoice) {
        Snapshot taken{invoice->getName(), invoice->mDocumentRef().value_or(""), invoice->mDescription(),
                       invoice->paymentReference().value_or(""), invoice->mDate().value_or(0), 0,
                       invoice->mTotalAmount().value_or(0), {}};
        if (auto extension = std::dynamic_pointer_cast<business::GXInvoice>(invoice->invoiceExtension()))
            taken.due = extension->dueDate().value_or(0);
        for (const LineItemArray& lines : {invoice->mFromList(), invoice->mToList(), invoice->mForList()})
            for (const auto& line : lines)
                taken.lines.emplace_back(line->account().value_or(0), line->getLocalAmount().value_or(0));
        std::sort(taken.lines.begin(), taken.lines.end());
        return taken;
    };
    arguments::CAcoWArguments supplierValues;
    supplierValues.name = "Supplier";
    supplierValues.createSupplierOpenInvoices = true;
    const long supplierId = document->commandExecutor().executeCommand(26, nullptr, supplierValues);
    page->synchronizeWithItemFromSuperview(nullptr);
    for (const bool customer : {true, false}) {
        arguments::InvoiceArguments values;
        values.invoiceName = "Full invoice";
        values.thirdPartyId = customer ? long(customerId) : supplierId;
        values.invoiceNumber = "2009000042";
        values.invoiceDescription = "Every field set";
        values.paymentReference = business::structuredReferenceForNumber("2009000042");
        values.invoiceDate = 20090310;
        values.dueDate = 20090425;
        values.amountWithoutVAT = 1234.56;
        values.firstVATRateId = twenty;
        values.secondVATRateId = six;
        const auto invoice = document->getTransactionForId(
            static_cast<ObjectIdT>(document->commandExecutor().executeCommand(customer ? 38 : 41, nullptr, values)));
        ASSERT_TRUE(invoice);
        const Snapshot before = snapshot(invoice);
        ASSERT_FALSE(before.reference.empty());
        const auto owner = document->getAccountOwnerItemForId(static_cast<ObjectIdT>(*values.thirdPartyId));
        page->selectOwner(customer ? GXOwnerViewController::Tab::Customers : GXOwnerViewController::Tab::Suppliers,
                          owner.get());
        page->synchronizeWithItemFromSuperview(nullptr);
        auto& rows = page->pair(customer).leftTableArrayController();
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i))->parentTransaction() == invoice)
                page->pair(customer).leftTable()->selectRow(int(i));
        page->modifyInvoiceAsked(customer);
        auto* sheet = page->invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        EXPECT_EQ(sheet->findChild<QLineEdit*>("paymentReferenceField")->text().toStdString(), before.reference);
        QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
        EXPECT_EQ(snapshot(invoice), before) << (customer ? "customer" : "supplier");
    }
}

// A booking made by hand onto the customer's open-invoice account shows
// among its invoices; opened from there it goes to the transaction sheet,
// and the invoice sheet never books it again as an invoice.
TEST_F(OwnersPageTest, ABookingAmongTheInvoicesOpensInTheTransactionSheet)
{
    struct AskedSheets : DocumentSheets {
        std::shared_ptr<CTrnSItem> asked;
        void askTransactionInput(const std::shared_ptr<CTrnSItem>& transaction, CNonVisual*, CNonVisual*, CNonVisual*,
                                 int, int, bool) override
        {
            asked = transaction;
        }
    } sheets;
    document->setSheets(&sheets);
    const auto own = static_cast<ObjectIdT>(book_defaults::ownPropertyAccount(document->accounting()));
    const auto receivable = static_cast<ObjectIdT>(owner->openDebitInvoiceAccount().value_or(0));
    arguments::CTransactionArguments values;
    values.mTransactionDictionary = sheetTransactionDictionary(
        *document, own, receivable, static_cast<ObjectIdT>(document->get_mDefExpTUnspecifiedExpense()), 120.0,
        20090301, "By hand");
    document->commandExecutor().executeCommand(23, nullptr, values);
    std::shared_ptr<CTrnSItem> booking;
    for (const auto& transaction : document->mTransactionArray())
        if (transaction->getName() == "By hand") booking = transaction;
    ASSERT_TRUE(booking);
    const int type = booking->mTransactionType();

    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    page->synchronizeWithItemFromSuperview(nullptr);
    auto& rows = page->pair(true).leftTableArrayController();
    for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
        if (std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i))->parentTransaction() == booking)
            page->pair(true).leftTable()->selectRow(int(i));
    ASSERT_EQ(page->selectedInvoiceTransaction(true), booking);
    page->modifyInvoiceAsked(true);

    EXPECT_EQ(sheets.asked, booking);
    EXPECT_FALSE(page->invoiceSheet() && page->invoiceSheet()->isVisible());
    EXPECT_EQ(booking->mTransactionType(), type);
    document->setSheets(nullptr);
}

TEST_F(OwnersPageTest, MenuAndToolbarItemsFollowTheFocusedTableAndItsSelection)
{
    using Tab = GXOwnerViewController::Tab;
    ASSERT_EQ(document->commandExecutor().executeCommand(
                  27, owner, [] { arguments::CAcoWArguments a; a.UID = "PEETERS-0001-CONTACT"; return a; }()),
              1);
    arguments::CAcoWArguments plain;
    plain.name = "Unlinked supplier";
    plain.createSupplierOpenInvoices = true;
    const auto supplier = document->getAccountOwnerItemForId(document->commandExecutor().executeCommand(26, nullptr, plain));
    page->synchronizeWithItemFromSuperview(nullptr);
    auto* elsewhere = page->pair(true).leftTable();

    struct Case {
        const char* name;
        Tab tab;
        bool focusOwnerTable;
        std::shared_ptr<CAcoWItem> selected;
        bool invoiced;
        // 1100, 1104, 1114, 1119, 1120; toolbar 1104 and 1114
        std::array<bool, 5> menu;
        bool toolbarEdit;
    };
    const Case cases[] = {
        {"linked customer selected", Tab::Customers, true, owner, false, {true, true, true, true, true}, true},
        {"invoiced customer cannot go", Tab::Customers, true, owner, true, {true, false, true, true, true}, true},
        {"unlinked supplier", Tab::Suppliers, true, supplier, true, {true, true, true, true, false}, true},
        {"nothing selected", Tab::Customers, true, nullptr, true, {true, false, false, false, false}, true},
        {"owners, nothing selected", Tab::Owners, true, nullptr, true, {true, false, false, false, false}, false},
        {"owners, linked owner", Tab::Owners, true, owner, true, {true, false, true, true, true}, true},
        {"focus elsewhere", Tab::Customers, false, nullptr, true, {true, false, true, true, true}, true},
    };
    const int tags[5] = {1100, 1104, 1114, 1119, 1120};
    bool invoiced = false;
    for (const Case& c : cases) {
        if (c.invoiced && !invoiced) {
            page->selectOwner(Tab::Customers, owner.get());
            ASSERT_TRUE(invoiceCustomer(100, "2009000001"));
            invoiced = true;
        }
        page->selectSubPage(fourCC(c.tab == Tab::Owners ? "AcoW" : c.tab == Tab::Customers ? "CusT" : "SupL"));
        page->selectOwner(c.tab, c.selected.get());
        QWidget* focus = c.focusOwnerTable ? page->ownerTable(c.tab) : elsewhere;
        focus->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(focus->hasFocus()) << c.name;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(page->validateMenuItem(tags[i]).enabled, c.menu[i]) << c.name << " " << tags[i];
        EXPECT_TRUE(page->validateMenuItem(1207).enabled) << c.name;
        for (int tag : {1104, 1114})
            EXPECT_EQ(page->validateToolbarItem(CommandSender::toolbarItem("", tag)), c.toolbarEdit) << c.name << " " << tag;
        EXPECT_FALSE(page->validateToolbarItem(CommandSender::toolbarItem("", 1121))) << c.name;
        EXPECT_TRUE(page->validateToolbarItem(CommandSender::toolbarItem("V2Search", 0))) << c.name;
    }
}

TEST_F(OwnersPageTest, MenuCommandsReachTheOwnerOfTheSelectedTab)
{
    OwnerSheetsWindow sheets(*document);
    page->setDocument(&sheets);
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    page->executeMenuCommand(1114, CommandSender::menuItem(1114));
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    ASSERT_EQ(sheets.calls.size(), std::size_t(2));
    EXPECT_EQ(sheets.calls[0].first, "modifyObject");
    EXPECT_EQ(sheets.calls[0].second, owner);
    EXPECT_EQ(sheets.calls[1].first, "newAccountOwner");
    EXPECT_EQ(sheets.newOwnerTag, 1101) << "the menu's New opens the plain owner sheet";

    // On the owner table a linked owner's card opens; an owner of no person gets the sheet.
    ASSERT_EQ(document->commandExecutor().executeCommand(
                  27, owner, [] { arguments::CAcoWArguments a; a.UID = "PEETERS-0001-CONTACT"; return a; }()),
              1);
    std::vector<std::filesystem::path> opened;
    page->setCardOpener([&](const std::filesystem::path& file) { opened.push_back(file); return true; });
    page->selectSubPage(fourCC("AcoW"));
    page->synchronizeWithItemFromSuperview(nullptr);
    page->selectOwner(GXOwnerViewController::Tab::Owners, owner.get());
    page->modifyOwnerInContactsAsked();
    ASSERT_EQ(opened.size(), std::size_t(1));
    EXPECT_EQ(opened[0], contactsFolder() / "peeters.vcf");
    std::shared_ptr<CAcoWItem> me;
    for (const auto& other : document->mOwnerArray())
        if (other != owner) me = other;
    ASSERT_TRUE(me && me != owner);
    page->selectOwner(GXOwnerViewController::Tab::Owners, me.get());
    page->modifyOwnerInContactsAsked();
    EXPECT_EQ(opened.size(), std::size_t(1));
    ASSERT_EQ(sheets.calls.size(), std::size_t(3));
    EXPECT_EQ(sheets.calls[2].first, "modifyObject");
    EXPECT_EQ(sheets.calls[2].second, me);
    page->selectSubPage(fourCC("CusT"));
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());

    // Delete goes through the document's deletion of the owner, which asks
    // first and takes the owner's invoice accounts with it.
    const std::vector<std::optional<long>> accounts = {owner->openDebitInvoiceAccount(), owner->debitorAccount()};
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{226});
    EXPECT_EQ(document->getAccountOwnerItemForId(customerId), nullptr);
    for (const std::optional<long>& account : accounts) {
        ASSERT_TRUE(account && *account > 0);
        EXPECT_EQ(document->getAccountItemForId(static_cast<ObjectIdT>(*account)), nullptr) << *account;
    }
    EXPECT_EQ(page->ownerController(GXOwnerViewController::Tab::Customers).arrangedCount(), std::size_t(0));
    page->setDocument(nullptr);
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

// The invoice sheet takes the net amount shown: its total follows a click
// into another field, OK books what was typed last without a Tab, and a net
// amount beyond the limit is refused.
TEST_F(OwnersPageTest, TheInvoiceSheetTakesTheAmountShown)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    page->createInvoiceAsked(true);
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    QApplication::setActiveWindow(sheet);
    auto* name = sheet->findChild<QLineEdit*>("invoiceNameField");
    auto* amount = sheet->findChild<CAmountField*>("invoiceAmountField");
    ASSERT_TRUE(name && amount);
    auto type = [](QLineEdit* field, const char* text) {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    };
    type(name, "Renovation");
    type(amount, "1000");
    QTest::mouseClick(name, Qt::LeftButton);
    EXPECT_EQ(sheet->findChild<QLineEdit*>("TotalAmountField")->text(), "1,210.00");

    environment.alerts().clear();
    type(amount, "1000000000000.01");
    QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].alert.message,
              formatMessage(localized("AMOUNTLIMIT"), {"1,000,000,000,000.00"}));
    EXPECT_TRUE(sheet->isVisible());

    type(amount, "2000");
    QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_DOUBLE_EQ(owed(), 2420.0);
}

// A payment dropped with the mouse on an invoice's row of the table.
bool dropPaymentOnInvoice(GXOwnerViewController& page, int paymentRow, int invoiceRow)
{
    auto& pair = page.pair(true);
    std::unique_ptr<QMimeData> drag(pair.mimeDataForPaymentRow(paymentRow));
    if (!drag) return false;
    QTableView* invoices = pair.leftTable();
    const QPoint at = invoices->visualRect(invoices->model()->index(invoiceRow, 1)).center();
    // Entering, moving over and dropped, as Qt delivers a drag.
    QDragEnterEvent enter(at, Qt::MoveAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(invoices->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(invoices->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, drag.get(), Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(invoices->viewport(), &drop);
    const bool dropped = drop.isAccepted();
    QApplication::processEvents();
    return dropped;
}

// An invoice of 100 + 20 % VAT, paid in full by a payment dropped on it.
// A second payment dropped on the paid invoice, and the first dropped on
// another invoice (its categories carry the first one's VAT), are refused
// and the person is told why; nothing changes.
TEST_F(OwnersPageTest, APaymentDroppedWhereItCannotSettleSaysWhy)
{
    const long rate = addRate("Twenty", 20.0);
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    auto invoice = [&](const char* number) {
        arguments::InvoiceArguments values;
        values.invoiceName = "Work";
        values.thirdPartyId = customerId;
        values.invoiceNumber = number;
        values.invoiceDate = 20090310;
        values.dueDate = 20090409;
        values.amountWithoutVAT = 100.0;
        values.firstVATRateId = rate;
        const long id = document->commandExecutor().executeCommand(38, nullptr, values);
        page->synchronizeWithItemFromSuperview(nullptr);
        return document->getTransactionForId(static_cast<ObjectIdT>(id));
    };
    const auto first = invoice("2009000001");
    const auto second = invoice("2009000002");
    const auto payment = payCustomer(120, "Paid in full");
    ASSERT_TRUE(first && second && payment);
    EXPECT_TRUE(dropPaymentOnInvoice(*page, paymentRow(payment), rowOf(first, true)));
    ASSERT_EQ(payment->mReferenceObjectId(), first->getId());
    ASSERT_TRUE(first->isPaid());
    const auto categories = categoriesOf(payment);

    const auto more = payCustomer(50, "Paid again");
    struct Case {
        std::shared_ptr<CTrnSItem> payment, invoice;
        const char* key;
        std::optional<long> reference;
    };
    const Case cases[] = {{more, first, "PAYMENTDROPINVOICEPAID", std::nullopt},
                          {payment, second, "PAYMENTDROPSETTLESOTHER", first->getId()}};
    for (const Case& c : cases) {
        environment.alerts().clear();
        document->clearChangeCount();
        EXPECT_FALSE(dropPaymentOnInvoice(*page, paymentRow(c.payment), rowOf(c.invoice, true))) << c.key;
        ASSERT_EQ(environment.alerts().records().size(), 1u) << c.key;
        const auto& told = environment.alerts().records()[0];
        EXPECT_EQ(told.kind, RecordingAlertPresenter::Kind::Info);
        const std::string start = localized(c.key).substr(0, 12);
        EXPECT_EQ(told.alert.message.substr(0, 12), start) << told.alert.message;
        EXPECT_NE(told.alert.message.find(c.payment->getName()), std::string::npos) << told.alert.message;
        EXPECT_EQ(c.payment->mReferenceObjectId().value_or(-1) > 0 ? c.payment->mReferenceObjectId() : std::nullopt,
                  c.reference) << c.key;
        EXPECT_FALSE(document->isDocumentEdited()) << c.key;
    }
    EXPECT_EQ(categoriesOf(payment), categories) << "its lines still release the first invoice's VAT";
    EXPECT_TRUE(first->isPaid());
}

// Delete Invoice on an invoice that a payment settles asks a question of
// its own, naming the invoice and what becomes of the payment; Cancel keeps
// both, OK deletes the invoice and leaves the payment booked, unlinked.
TEST_F(OwnersPageTest, DeletingAnInvoiceWithPaymentsSaysWhatBecomesOfThem)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(100, "2009000001");
    const auto payment = payCustomer(100, "Paid in full");
    ASSERT_TRUE(dropPaymentOnInvoice(*page, paymentRow(payment), rowOf(invoice, true)));
    const std::size_t transactions = document->mTransactionArray().size();
    for (const AlertAnswer answer : {AlertAnswer::Default, AlertAnswer::Alternate}) {
        environment.alerts().clear();
        environment.alerts().scriptAnswer(answer);
        clickLine(invoice, true);
        ASSERT_TRUE(chooseLineAction(true, "OWNERSDELETEINVOICE"));
        ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{565});
        const Alert& asked = environment.alerts().records()[0].alert;
        EXPECT_EQ(asked.message, formatMessage(localized("565"), {"Work"}));
        EXPECT_EQ(asked.defaultButton, localized("CANCEL"));
    }
    EXPECT_EQ(document->mTransactionArray().size(), transactions - 1);
    EXPECT_EQ(rowOf(invoice, true), -1);
    ASSERT_GE(paymentRow(payment), 0) << "the payment stays booked";
    EXPECT_FALSE(payment->mReferenceObjectId().value_or(-1) > 0);
}

// Without a VAT rate, the question before an invoice's sheet goes on to the
// sheet as its default: a double click on the invoice and Return open it.
TEST_F(OwnersPageTest, WithoutVATRatesADoubleClickAndReturnOpenTheInvoice)
{
    for (const auto& rate : std::vector(businessOf().businessArrays().VATRateArray))
        ASSERT_TRUE(document->deleteVATRate(rate, false));
    ASSERT_TRUE(businessOf().businessArrays().VATRateArray.empty());
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(100, "2009000001");
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // Return
    QTableView* invoices = page->pair(true).leftTable();
    const QPoint at = invoices->visualRect(invoices->model()->index(rowOf(invoice, true), 1)).center();
    QTest::mouseClick(invoices->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(invoices->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{276});
    EXPECT_EQ(environment.alerts().records()[0].alert.defaultButton, localized("OK"));
    auto* sheet = page->invoiceSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    sheet->cancelClicked();
}

// The split sheet says which amount stays with the payment (and its
// invoice) and which goes to the new payment, as the split books them.
TEST_F(OwnersPageTest, TheSplitSheetSaysWhichPartThePaymentKeeps)
{
    page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
    const auto invoice = invoiceCustomer(1000, "2009000001");
    const auto payment = payCustomer(1000, "Paid");
    ASSERT_TRUE(dropPaymentOnInvoice(*page, paymentRow(payment), rowOf(invoice, true)));
    clickLine(payment, false);
    ASSERT_TRUE(chooseLineAction(false, "OWNERSSPLITPAYMENT"));
    auto* split = page->splitSheet();
    ASSERT_TRUE(split && split->isVisible());
    auto labelOf = [&](const char* field) {
        auto* form = split->findChild<QFormLayout*>();
        auto* label = form ? qobject_cast<QLabel*>(form->labelForField(split->findChild<QWidget*>(field))) : nullptr;
        return label ? label->text().toStdString() : std::string();
    };
    EXPECT_EQ(labelOf("splitAmountField"), localized("FIELDSPLITAMOUNT"));
    EXPECT_NE(labelOf("splitAmountField").find("keeps"), std::string::npos);
    EXPECT_NE(labelOf("leftoverAmountField").find("new payment"), std::string::npos);
    auto* hint = split->findChild<QLabel*>("splitHint");
    ASSERT_TRUE(hint && hint->isVisible());
    typeSplitAmountAndOk(split, "400");
    ASSERT_FALSE(split->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_NEAR(payment->mTotalAmount().value_or(0), 400.0, 0.005) << "the payment keeps what was typed";
    EXPECT_EQ(payment->mReferenceObjectId(), invoice->getId()) << "and its invoice";
}

// An invoice of a former home currency, double-clicked on the invoices page
// and okayed as it opens, stays as invoiced: the sheet shows its own amounts,
// and it keeps its currency, lines and home amounts; so again after the
// return to the first home currency.
TEST_F(OwnersPageTest, AnInvoiceOfAFormerHomeCurrencyOkayedUnchangedStaysAsInvoiced)
{
    const long euro = *document->getHomeCurrency()->getId();
    arguments::CurrencyArguments dollar;
    dollar.symbol = "USD";
    dollar.baseCurrencyId = euro;
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.68;
    ASSERT_EQ(document->commandExecutor().executeCommand(6, nullptr, dollar), 1);
    const long usd = *document->mCurrencyArray().front()->getId();
    const auto invoice =
        invoiceCustomer(1798.93, "2009000001", long(*businessOf().businessArrays().VATRateArray.front()->idKey()));
    ASSERT_TRUE(invoice);
    auto booked = [&] {
        std::vector<std::tuple<long, long, double, double>> lines;
        for (const LineItemArray& side : {invoice->mFromList(), invoice->mToList(), invoice->mForList()})
            for (const auto& line : side)
                lines.emplace_back(line->account().value_or(0), line->currencyId().value_or(0),
                                   line->getForeignAmount().value_or(0), line->getLocalAmount().value_or(0));
        return std::tuple(invoice->mCurrencyId().value_or(0), invoice->mTotalAmount().value_or(0),
                          invoice->mLocalAmount().value_or(0), lines);
    };

    for (const long home : {usd, euro}) {
        document->mPreference()->setMHomeCurrency(home);
        page->selectOwner(GXOwnerViewController::Tab::Customers, owner.get());
        page->synchronizeWithItemFromSuperview(nullptr);
        const auto before = booked();
        QTableView* table = page->pair(true).leftTable();
        const int row = rowOf(invoice, true);
        ASSERT_GE(row, 0);
        const QPoint at = table->visualRect(table->model()->index(row, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
        auto* sheet = page->invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        EXPECT_EQ(sheet->findChild<CAmountField*>("invoiceAmountField")->text().toStdString(), "1,798.93");
        EXPECT_EQ(sheet->findChild<QLineEdit*>("TotalAmountField")->text().toStdString(), "2,176.71");
        QTest::mouseClick(sheet->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
        EXPECT_EQ(booked(), before) << "home currency " << home;
    }
    EXPECT_EQ(invoice->mCurrencyId(), euro);
}

} // namespace
} // namespace ch::test
