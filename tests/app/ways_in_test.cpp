// Actions a person reaches the way a desktop offers them: File > Export
// Transactions… and the side bar's Export, Edit > Find and Ctrl+F, Books >
// New… on the budget page, a new owner picked among the contacts, a vCard
// file dropped from a file manager, the length of the VAT periods, and the
// drags between the tables of the owners and credit-card pages. Each test
// starts from saved books, so that what it does is what marks them edited.

#include <QAbstractItemView>
#include <QComboBox>
#include <QDrag>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "analysis/views/BudgetSheets.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/GXVATPeriod.h"
#include "business/VATPeriods.h"
#include "business/VATRateArguments.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "document/MyDocument.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "business/InvoiceArguments.h"
#include "business/views/AccountsReceivableInvoiceDialogController.h"
#include "document/arguments/BooksLinkArguments.h"
#include "business/InvoiceNumbers.h"
#include "business/PaymentArguments.h"
#include "import/views/CExportTransactionController.h"
#include "model/CAccount.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/CBalanceBar.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/MainToolbar.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/CBudgetPageController.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "ui/pages/CCreditCardTransactionTableView.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "bridge/CBuDhItem.h"

namespace ch {
namespace {

using namespace ch::test;
using Owners = business::GXOwnerViewController;

constexpr const char* kPeetersCard = COUNTINGHOUSE_TEST_DATA "/contacts/peeters.vcf";

std::string readFile(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Presses on the row and moves the mouse as a person starting a drag does;
// a copy of what the drag the table started carries (none: no drag).
std::unique_ptr<QMimeData> dragRow(QAbstractItemView& table, int row)
{
    struct Catcher : QObject {
        QPointer<QObject> child;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::ChildAdded) child = static_cast<QChildEvent*>(event)->child();
            return false;
        }
    } catcher;
    table.installEventFilter(&catcher);
    const QModelIndex cell = table.model()->index(row, 1);
    table.scrollTo(cell);
    const QPoint at = table.visualRect(cell).center();
    QTest::mousePress(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseMove(table.viewport(), at + QPoint(4, 0));
    QTest::mouseMove(table.viewport(), at + QPoint(40, 12));
    table.removeEventFilter(&catcher);
    std::unique_ptr<QMimeData> carried;
    if (auto* drag = qobject_cast<QDrag*>(catcher.child.data()); drag && drag->mimeData()) {
        carried = std::make_unique<QMimeData>();
        for (const QString& format : drag->mimeData()->formats())
            carried->setData(format, drag->mimeData()->data(format));
    }
    QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, at + QPoint(40, 12));
    settleEvents();
    return carried;
}

// Drops the data on the row of the table, as the table receives it.
bool dropOnRow(QAbstractItemView& table, int row, const QMimeData& data)
{
    const QModelIndex cell = table.model()->index(row, 1);
    table.scrollTo(cell);
    const bool dropped = dragAndDrop(table.viewport(), table.visualRect(cell).center(), &data).second;
    settleEvents();
    return dropped;
}

// Opens the combo box's list and clicks the entry with the mouse.
void chooseInPopup(QComboBox* box, const QString& entry)
{
    ASSERT_NE(box, nullptr);
    const int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->showPopup();
    settleEvents();
    QAbstractItemView* list = box->view();
    const QModelIndex item = list->model()->index(index, box->modelColumn(), list->rootIndex());
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
    settleEvents();
}

// The file panel open over the window, the name typed into it, Save.
void saveInPanel(QWidget& window, const QString& path)
{
    QFileDialog* panel = nullptr;
    for (QFileDialog* dialog : window.findChildren<QFileDialog*>())
        if (dialog->isVisible()) panel = dialog;
    ASSERT_NE(panel, nullptr) << "no save panel";
    QApplication::setActiveWindow(panel);   // as the desktop makes it when it opens
    panel->setDirectory(QFileInfo(path).absolutePath());
    typeInto(panel->findChild<QLineEdit*>("fileNameEdit"), QFileInfo(path).completeBaseName());
    QMetaObject::invokeMethod(panel, "accept");
    settleEvents();
}

class WaysInTest : public ApplicationFixture {
protected:
    WaysInTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }

    // A checking account, a visa card, a shop, groceries; in August bread
    // and milk from checking, a dinner by card and the card's payment.
    static void bookAugust(MyDocument& books)
    {
        const long checking = makeAccount(books, "Checking", 1);
        const long visa = makeAccount(books, "Visa", 2, nullptr, std::nullopt, 1);
        const long shop = makeAccount(books, "Corner Shop", 3);
        arguments::CategoryParameters values;
        values.name = "Groceries";
        values.mParentId = 1;
        values.mMasterTypeId = 1;
        const long groceries = books.commandExecutor().executeCommand(15, nullptr, values);
        bookTransaction(books, checking, shop, groceries, 4.5, "Bread", 20250805);
        bookTransaction(books, checking, shop, groceries, 1.2, "Milk", 20250806);
        bookTransaction(books, visa, shop, groceries, 30.0, "Card dinner", 20250807);
        bookTransaction(books, checking, visa, books.get_mDefExpTUnspecifiedTransfer(), 30.0, "Card payment", 20250820);
    }

    // August's books, a VAT rate and the customer Brightwater with an
    // invoice and a payment not linked to it. Saved, so clean.
    void makeBooks()
    {
        controller.makeNewDocument(false);
        settle();
        contacts = std::make_unique<VCardFolderContacts>(contactsFolder());
        books().setContacts(contacts.get());
        bookAugust(books());

        arguments::VATRateArguments standard;
        standard.name = "Standard";
        standard.rate = 21.0;
        books().commandExecutor().executeCommand(33, nullptr, standard);
        arguments::CAcoWArguments customer;
        customer.name = "Brightwater";
        customer.createCustomerOpenInvoices = true;
        const long customerId = books().commandExecutor().executeCommand(26, nullptr, customer);
        arguments::InvoiceArguments invoice;
        invoice.invoiceName = "Workshop";
        invoice.thirdPartyId = customerId;
        invoice.invoiceNumber = "2025-001";
        invoice.invoiceDate = 20250810;
        invoice.dueDate = 20250909;
        invoice.amountWithoutVAT = 1000.0;
        invoice.firstVATRateId = -1;
        books().commandExecutor().executeCommand(38, nullptr, invoice);
        arguments::PaymentArguments payment;
        payment.paymentName = "Workshop paid";
        payment.thirdPartyId = customerId;
        payment.paymentAmount = 1000.0;
        payment.paymentDate = 20250825;
        payment.paymentCategoryId = books().get_mDefExpTUnspecifiedIncome();
        payment.paymentOwnerType = arguments::kOwnerTypeCustomer;
        books().commandExecutor().executeCommand(44, nullptr, payment);

        booksPath = folder.filePath("Ways.books");
        EXPECT_TRUE(controller.saveAs(window()));
        EXPECT_FALSE(books().isDocumentEdited());
        frame().activateWindow();
        QApplication::setActiveWindow(&frame());
        settle();
    }

    std::filesystem::path contactsFolder() const
    {
        return std::filesystem::path(folder.filePath("contacts").toStdString());
    }

    // Books with an owner made from Jan Peeters' card ("Peeters"), the
    // window following the contacts without delay; null when it is not made.
    auto ownerFromPeetersCardFollowed()
    {
        std::filesystem::create_directories(contactsFolder());
        std::filesystem::copy_file(kPeetersCard, contactsFolder() / "peeters.vcf");
        EXPECT_TRUE(desktopContacts.reload());
        makeBooks();
        books().setContacts(&desktopContacts);
        arguments::CAcoWArguments fromCard;
        fromCard.UID = "PEETERS-0001-CONTACT";
        books().commandExecutor().executeCommand(26, nullptr, fromCard);
        auto owner = books().getAccountOwnerForUID("PEETERS-0001-CONTACT");
        const auto followers = frame().sideBarController().findChildren<business::OwnerContactsSynchronizer*>();
        EXPECT_EQ(followers.size(), 1);
        if (!followers.empty()) followers.front()->setDelay(0);
        return owner;
    }

    CPopupWindowAncestor* openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    CExportTransactionController* exportSheet()
    {
        return dynamic_cast<CExportTransactionController*>(openSheet());
    }

    // The item of the side bar's menu of the row (its context menu, and the
    // action button's).
    void chooseInSideBarMenu(const std::string& row, int level, int tag)
    {
        showPage(row, level);
        GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
        outline.setFocus();
        chooseSideBarItem(CSideBarController::menuForNode(frame().sideBarController().currentItem().get()), tag);
    }

    // The credit-card page of the window with its card chosen.
    GXCreditCardViewController* cardPage(DocumentWindowFrame& window)
    {
        window.showMainTab("V2");
        CSideBarController& sideBar = window.sideBarController();
        sideBar.selectionModel().select(openAndFindSideBarRow(sideBar.outlineModel(), localized("CREDITCARDBUTTON"), 1),
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle();
        auto* page = dynamic_cast<GXCreditCardViewController*>(sideBar.currentController());
        if (!page) return nullptr;
        page->topTableView()->selectRow(0);
        settle();
        return page;
    }

    static std::shared_ptr<CTrnSItem> transactionOfRow(ItemTableModel& rows, int row)
    {
        const auto line = std::dynamic_pointer_cast<CDebetItem>(rows.itemAt(row));
        return line ? line->parentTransaction() : nullptr;
    }

    std::unique_ptr<VCardFolderContacts> contacts;
};

TEST_F(WaysInTest, FileExportWritesTheBooksAsQifAndTheSideBarsExportAnAccountsLinesAsText)
{
    makeBooks();
    // File > Export Transactions… over the transactions page: the whole books.
    showPage(localized("TRANSBUTTON"), 2);
    choose(QString::fromStdString(localized("EXPORTMENUITEM")));
    CExportTransactionController* sheet = exportSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->limitingAccountText->text().isEmpty());
    EXPECT_FALSE(sheet->exportFormatMatrix->button(1)->isEnabled()) << "no account to name";
    // QIF, clicked on its circle.
    QAbstractButton* qif = sheet->exportFormatMatrix->button(2);
    QTest::mouseClick(qif, Qt::LeftButton, {}, QPoint(8, qif->height() / 2));
    ASSERT_EQ(sheet->exportFormatMatrix->checkedId(), 2);
    // The period typed as dates are typed everywhere, both days included.
    typeInto(sheet->findChild<QWidget*>("dateFromField"), "06.08.2025");
    typeInto(sheet->findChild<QWidget*>("dateToField"), "20.08.2025");
    click(*sheet, "OKButton");
    settle();
    const QString books = folder.filePath("august.qif");
    saveInPanel(frame(), books);
    EXPECT_EQ(QApplication::activeWindow(), &frame()) << "the window has its keys again";
    const std::string written = readFile(books);
    // The list of the own accounts that have lines, then each register
    // under its account (the card as a card's): the card payment once, in
    // Checking's, naming Visa.
    EXPECT_TRUE(written.starts_with("!Option:AutoSwitch\r\n!Account\r\nNChecking\r\nTBank\r\n^\r\n"
                                    "NVisa\r\nTCCard\r\n^\r\n!Clear:AutoSwitch\r\n"))
        << written;
    const std::size_t checking = written.find("!Account\r\nNChecking\r\nTBank\r\n^\r\n!Type:Bank\r\n", 40);
    const std::size_t visa = written.find("!Account\r\nNVisa\r\nTCCard\r\n^\r\n!Type:CCard\r\n", 40);
    ASSERT_NE(checking, std::string::npos) << written;
    ASSERT_NE(visa, std::string::npos) << written;
    for (const char* expected : {"T-30.00\r\nPCard payment\r\nL[Visa]\r\n^", "T-1.20\r\nPMilk\r\nLGroceries\r\n^"}) {
        const std::size_t at = written.find(expected);
        EXPECT_TRUE(at > checking && at < visa) << expected << "\n" << written;
    }
    EXPECT_GT(written.find("T-30.00\r\nPCard dinner\r\nLGroceries\r\n^"), visa) << written;
    EXPECT_EQ(written.find("PCard payment", visa), std::string::npos) << "the transfer once\n" << written;
    EXPECT_EQ(written.find("PBread"), std::string::npos) << "booked before the period\n" << written;
    EXPECT_EQ(written.find("Workshop"), std::string::npos) << "an open invoice moves no money of the books\n" << written;

    // The side bar's Export of the own accounts, with Checking chosen on the
    // page: only Checking's lines, as text.
    auto* page = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(page, nullptr);
    page->selectUpperItem(this->books().getAccountItemForId(this->books().getAccountForName("Checking")->Get_Id()));
    settle();
    chooseInSideBarMenu(localized("OwnProperty"), -1, 1236);
    sheet = exportSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->limitingAccountText->text(), QStringLiteral("Checking"));
    EXPECT_TRUE(sheet->exportFormatMatrix->button(1)->isChecked());
    click(*sheet, "OKButton");
    settle();
    const QString lines = folder.filePath("checking.tsv");
    saveInPanel(frame(), lines);
    const std::string text = readFile(lines);
    EXPECT_NE(text.find("Bread"), std::string::npos) << text;
    EXPECT_NE(text.find("Card payment"), std::string::npos) << text;
    EXPECT_EQ(text.find("Card dinner"), std::string::npos) << "the card's own spending\n" << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3) << text;
    EXPECT_FALSE(this->books().isDocumentEdited()) << "exporting changes nothing";
}

TEST_F(WaysInTest, FindAndCtrlFPutTheFocusInTheSearchField)
{
    makeBooks();
    showPage(localized("TRANSBUTTON"), 2);
    QLineEdit* search = frame().toolbar().searchField();
    ASSERT_TRUE(search && search->isVisible());
    frame().v2Layout().sideBarView()->outline()->setFocus();
    QTest::keySequence(&frame(), QKeySequence::Find);
    settle();
    EXPECT_TRUE(search->hasFocus());

    frame().v2Layout().sideBarView()->outline()->setFocus();
    choose(QString::fromStdString(localized("FINDMENUITEM")));
    EXPECT_TRUE(search->hasFocus());
    // The budget page has no search.
    frame().showMainTab("budg");
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    for (QAction* action : frame().menuActions()) {
        if (action->objectName() == QLatin1String("FINDMENUITEM")) {
            EXPECT_FALSE(action->isEnabled());
        }
    }
}

TEST_F(WaysInTest, BooksNewOnTheBudgetPageMakesABudget)
{
    makeBooks();
    frame().showMainTab("budg");
    auto* page = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    ASSERT_NE(page, nullptr);
    choose(QString::fromStdString(localized("NewBud")));   // Books > New Budget…
    auto* sheet = dynamic_cast<CNewBudgetController*>(page->openSheet());
    ASSERT_TRUE(sheet && sheet->isVisible());
    typeInto(sheet->budgetNameField, "Plan");
    sheet->ok();
    settle();
    ASSERT_EQ(books().mBudgetArray().size(), 1u);
    EXPECT_EQ(books().mBudgetArray().front()->getName(), "Plan");
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(WaysInTest, ANewOwnerPickedAmongTheContactsTakesTheContactsNameAndAddress)
{
    std::filesystem::create_directories(contactsFolder());
    std::filesystem::copy_file(kPeetersCard, contactsFolder() / "peeters.vcf");
    // A person with a first name only would make a nameless owner: not offered.
    std::ofstream(contactsFolder() / "anna.vcf", std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ANNA-0003\r\nN:;Anna;;;\r\nFN:Anna\r\nEND:VCARD\r\n";
    makeBooks();
    chooseInSideBarMenu(localized("OWNERBUTTON"), 1, 1118);
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    auto* picker = sheet->findChild<QTableWidget*>("peoplePicker");
    ASSERT_TRUE(picker && picker->isVisible());
    ASSERT_EQ(picker->rowCount(), 1);
    EXPECT_EQ(picker->item(0, 0)->text(), QStringLiteral("Jan Peeters"));

    // OK with nobody picked: asked to pick one, the sheet stays.
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{232});
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_FALSE(books().isDocumentEdited());

    QTest::mouseClick(picker->viewport(), Qt::LeftButton, {}, picker->visualItemRect(picker->item(0, 0)).center());
    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible());
    const auto owner = books().getAccountOwnerForUID("PEETERS-0001-CONTACT");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->getName(), "Peeters");
    EXPECT_EQ(owner->firstName(), "Jan");
    EXPECT_EQ(owner->officialAddress(), "Meir 1\n2000 Antwerpen\nBelgium");
    EXPECT_TRUE(books().isDocumentEdited());
}

// A company's card as many programs write it (an empty N, the company in FN
// and ORG, no fax) is offered in the picker and names its owner; the owner
// has no fax rather than a placeholder.
TEST_F(WaysInTest, ACompanyCardIsOfferedAndNamesItsOwner)
{
    std::filesystem::create_directories(contactsFolder());
    std::ofstream(contactsFolder() / "bolt.vcf", std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:BOLT-0004-SUPPLIES\r\nN:;;;;\r\nFN:Bolt Supplies Ltd\r\n"
           "ORG:Bolt Supplies Ltd\r\nTEL;TYPE=work:+44 20 7946 0000\r\nEND:VCARD\r\n";
    makeBooks();
    chooseInSideBarMenu(localized("OWNERBUTTON"), 1, 1118);
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    auto* picker = sheet->findChild<QTableWidget*>("peoplePicker");
    ASSERT_TRUE(picker && picker->isVisible());
    ASSERT_EQ(picker->rowCount(), 1);
    EXPECT_EQ(picker->item(0, 0)->text(), QStringLiteral("Bolt Supplies Ltd"));
    QTest::mouseClick(picker->viewport(), Qt::LeftButton, {}, picker->visualItemRect(picker->item(0, 0)).center());
    click(*sheet, "OKButton");
    settle();
    const auto owner = books().getAccountOwnerForUID("BOLT-0004-SUPPLIES");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->getName(), "Bolt Supplies Ltd");
    EXPECT_EQ(owner->phone(), "+44 20 7946 0000");
    EXPECT_EQ(owner->fax().value_or(""), "") << "no fax on the card";
}

// A contact changed on disk reaches its owner once the program comes to the
// front again: the folder is read anew and the owner follows.
TEST_F(WaysInTest, AContactChangedOnDiskReachesItsOwnerWhenTheProgramIsActiveAgain)
{
    // The window follows the contacts, its owners page shown or not.
    const auto owner = ownerFromPeetersCardFollowed();
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(owner->getName(), "Peeters");

    std::string card = readFile(QString::fromStdString((contactsFolder() / "peeters.vcf").string()));
    card.replace(card.find("N:Peeters;Jan"), 13, "N:Peeters-Smet;Jan");
    std::ofstream(contactsFolder() / "peeters.vcf", std::ios::trunc | std::ios::binary) << card << "\r\n";
    QApplication::setActiveWindow(nullptr);
    settle();
    frame().activateWindow();
    QApplication::setActiveWindow(&frame());
    settle();
    QTRY_COMPARE(QString::fromStdString(owner->getName()), QStringLiteral("Peeters-Smet"));
}

// The picker reads the contacts folder as it opens, with the program in
// front all along: a card added since is offered, and a contact changed on
// disk reaches its owner (through the books' command, so they are edited).
// Opened again after a search, it shows every person and an empty search.
TEST_F(WaysInTest, TheContactsPickerReadsTheFolderAgainAsItOpens)
{
    const auto owner = ownerFromPeetersCardFollowed();
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(owner->getName(), "Peeters");
    ASSERT_TRUE(controller.save(window()));
    ASSERT_FALSE(books().isDocumentEdited());

    std::string card = readFile(QString::fromStdString((contactsFolder() / "peeters.vcf").string()));
    card.replace(card.find("N:Peeters;Jan"), 13, "N:Peeters-Smet;Jan");
    card.replace(card.find("FN:Jan Peeters"), 14, "FN:Jan Peeters-Smet");
    std::ofstream(contactsFolder() / "peeters.vcf", std::ios::trunc | std::ios::binary) << card;
    std::ofstream(contactsFolder() / "bolt.vcf", std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:BOLT-0004-SUPPLIES\r\nN:;;;;\r\nFN:Bolt Supplies Ltd\r\n"
           "ORG:Bolt Supplies Ltd\r\nEND:VCARD\r\n";

    chooseInSideBarMenu(localized("OWNERBUTTON"), 1, 1118);
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    auto* picker = sheet->findChild<QTableWidget*>("peoplePicker");
    auto* search = sheet->findChild<QLineEdit*>("contactsSearchField");
    ASSERT_TRUE(picker && search && picker->isVisible());
    auto shownRows = [&] {
        std::vector<std::string> names;
        for (int row = 0; row < picker->rowCount(); ++row)
            if (!picker->isRowHidden(row)) names.push_back(picker->item(row, 0)->text().toStdString());
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(shownRows(), (Names{"Bolt Supplies Ltd", "Jan Peeters-Smet"}));
    settle();
    EXPECT_EQ(owner->getName(), "Peeters-Smet");
    EXPECT_TRUE(books().isDocumentEdited());

    QTest::keyClicks(search, "bolt");
    EXPECT_EQ(shownRows(), (Names{"Bolt Supplies Ltd"}));
    click(*sheet, "CancelButton");
    settle();
    ASSERT_EQ(openSheet(), nullptr);
    chooseInSideBarMenu(localized("OWNERBUTTON"), 1, 1118);
    sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    picker = sheet->findChild<QTableWidget*>("peoplePicker");
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(sheet->findChild<QLineEdit*>("contactsSearchField")->text().isEmpty());
    EXPECT_EQ(shownRows(), (Names{"Bolt Supplies Ltd", "Jan Peeters-Smet"}));
    click(*sheet, "CancelButton");
    settle();
}

// The owner sheet on an owner with every field set: it shows what is stored,
// and OK unchanged stores the same.
TEST_F(WaysInTest, ModifyingAnOwnerAndPressingOKUnchangedKeepsEveryField)
{
    makeBooks();
    arguments::CAcoWArguments values;
    values.name = "Hollis";
    values.firstName = "Mara";
    values.address = "Quay 4\n8000 Brugge";
    values.phone = "+32 50 11 22 33";
    values.fax = "+32 50 11 22 34";
    values.eMail = "mara@hollis.example";
    values.VATNr = "BE0987654321";
    values.createCustomerOpenInvoices = true;
    values.createSupplierOpenInvoices = true;
    const long id = books().commandExecutor().executeCommand(26, nullptr, values);
    const auto owner = books().getAccountOwnerItemForId(static_cast<ObjectIdT>(id));
    ASSERT_NE(owner, nullptr);
    owner->setCustomerPaymentCategory(books().get_mDefExpTUnspecifiedIncome());
    owner->setSupplierInvoiceCategory(books().get_mDefExpTUnspecifiedExpense());
    auto stored = [&] {
        return std::tuple(owner->getName(), owner->firstName(), owner->officialAddress(), owner->phone(), owner->fax(),
                          owner->eMail(), owner->VATNr(), owner->openDebitInvoiceAccount(), owner->debitorAccount(),
                          owner->openCreditInvoiceAccount(), owner->creditorAccount(),
                          owner->customerPaymentCategory(), owner->supplierInvoiceCategory(), owner->UID());
    };
    const auto before = stored();
    window().books().modifyObject(owner);
    settle();
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->findChild<QLineEdit*>("VATField")->text(), QStringLiteral("BE0987654321"));
    EXPECT_FALSE(sheet->findChild<QLabel*>("fromContactNote")->isVisible()) << "an owner of no contact";
    click(*sheet, "OKButton");
    settle();
    ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_TRUE(stored() == before);
}

TEST_F(WaysInTest, AVCardFileDroppedFromAFileManagerBecomesAnOwner)
{
    makeBooks();
    // A card from elsewhere, not in the contacts.
    const QString card = folder.filePath("lemaire.vcf");
    std::ofstream(card.toStdString(), std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:LEMAIRE-0002\r\nN:Lemaire;Sophie;;;\r\n"
           "ADR;TYPE=work:;;Rue Haute 5;Namur;;5000;Belgium\r\nEND:VCARD\r\n";
    auto* page = showPage<Owners>(localized("OWNERBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    QTableView* owners = page->ownerTable(Owners::Tab::Owners);
    QMimeData dragged;
    dragged.setUrls({QUrl::fromLocalFile(card)});
    // Dropped below the rows: a new owner.
    const QPoint below(owners->viewport()->width() / 2, owners->viewport()->height() - 4);
    EXPECT_TRUE(dragAndDrop(owners->viewport(), below, &dragged).second);
    settle();
    const auto owner = books().getAccountOwnerForUID("LEMAIRE-0002");
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->getName(), "Lemaire");
    EXPECT_EQ(owner->officialAddress(), "Rue Haute 5\n5000 Namur\nBelgium");
    EXPECT_TRUE(books().isDocumentEdited());

    // Other files are not taken.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(booksPath)});
    EXPECT_FALSE(dragAndDrop(owners->viewport(), below, &other).first);
}

TEST_F(WaysInTest, TheVATPeriodLengthChosenOnThePageLaysOutItsPeriodsAndTheDeclarationFollows)
{
    makeBooks();
    auto* setup = showPage<business::GXBusinessSetupViewController>(localized("VATPERIODTITLE"), 2);
    ASSERT_NE(setup, nullptr);
    auto* length = setup->controlledView()->findChild<QComboBox*>("VATPeriodicityButton");
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length->currentText().toStdString(), localized("SETUPPERIODQUARTER"));
    chooseInPopup(length, QString::fromStdString(localized("SETUPPERIODMONTH")));
    EXPECT_EQ(UserDefaults::standard().integerForKey(business::kVATPeriodicityKey), 0);
    // Today is 15 September 2025: August is the month to declare, and chosen.
    const auto chosen = setup->selectedVATPeriod();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->startDate(), 20250801);
    EXPECT_EQ(chosen->endDate(), 20250831);
    bool september = false;
    for (int row = 0; row < setup->VATPeriodTable()->rowCount(); ++row)
        september = september || setup->VATPeriodTable()->item(row, 2)->text() == QStringLiteral("01.09.2025");
    EXPECT_TRUE(september) << "the current month is laid out too";

    QTest::mouseClick(setup->controlledView()->findChild<QPushButton*>("createInterVATFileButton"), Qt::LeftButton);
    settle();
    const QString path = folder.filePath("august.XML");
    saveInPanel(frame(), path);
    const std::string declaration = readFile(path);
    EXPECT_NE(declaration.find("<STARTDATE>2025-08-01</STARTDATE>"), std::string::npos) << declaration;
    EXPECT_NE(declaration.find("<ENDDATE>2025-08-31</ENDDATE>"), std::string::npos) << declaration;
}

// An owner made from a contact, modified in the owner sheet: the fields the
// contact holds are shown, not typed, and say so; the VAT number typed is
// kept at OK.
TEST_F(WaysInTest, AnOwnerFromTheContactsKeepsWhatIsTypedInItsSheet)
{
    std::filesystem::create_directories(contactsFolder());
    std::filesystem::copy_file(kPeetersCard, contactsFolder() / "peeters.vcf");
    makeBooks();
    arguments::CAcoWArguments fromCard;
    fromCard.UID = "PEETERS-0001-CONTACT";
    books().commandExecutor().executeCommand(26, nullptr, fromCard);
    const auto owner = books().getAccountOwnerForUID("PEETERS-0001-CONTACT");
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(owner->firstName(), "Jan");

    window().books().modifyObject(owner);
    settle();
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    auto* first = sheet->findChild<QLineEdit*>("firstNameField");
    auto* note = sheet->findChild<QLabel*>("fromContactNote");
    ASSERT_TRUE(first && note);
    EXPECT_TRUE(first->isReadOnly()) << "the contact's field is not typed here";
    EXPECT_TRUE(note->isVisible());
    EXPECT_NE(note->text().toStdString().find("Jan Peeters"), std::string::npos) << note->text().toStdString();
    typeInto(sheet->findChild<QWidget*>("VATField"), "BE0123456749");
    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(owner->VATNr(), "BE0123456749");
    EXPECT_EQ(owner->firstName(), "Jan");
    EXPECT_TRUE(books().isDocumentEdited());
}

// The length switched twice, month then quarter: the periods of the length
// left that hold nothing go, a closed one stays, shown as of an earlier
// length; the table is in date order and every period has its name.
TEST_F(WaysInTest, ALengthSwitchedTwiceLeavesNoOverlappingPeriods)
{
    makeBooks();
    auto* setup = showPage<business::GXBusinessSetupViewController>(localized("VATPERIODTITLE"), 2);
    ASSERT_NE(setup, nullptr);
    auto* length = setup->controlledView()->findChild<QComboBox*>("VATPeriodicityButton");
    ASSERT_NE(length, nullptr);
    chooseInPopup(length, QString::fromStdString(localized("SETUPPERIODMONTH")));
    settle();
    // August is closed by its VAT payment, booked in September.
    auto& business = *dynamic_cast<business::BusinessOfDocument*>(books().business());
    std::shared_ptr<CTrnSItem> september;
    for (const auto& transaction : books().mTransactionArray())
        if (transaction->mDate() == 20250825) september = transaction;
    ASSERT_NE(september, nullptr);
    september->setMDate(20250910);
    ASSERT_TRUE(business::tryToSetTransactionAsVATBalancePaymentTransaction(business, *september));
    chooseInPopup(length, QString::fromStdString(localized("SETUPPERIODQUARTER")));
    settle();

    QTableWidget* table = setup->VATPeriodTable();
    std::vector<std::pair<QString, QString>> shown;
    for (int row = 0; row < table->rowCount(); ++row) {
        shown.emplace_back(table->item(row, 2)->text(), table->item(row, 3)->text());
        EXPECT_FALSE(table->item(row, 1)->text().isEmpty()) << row;
        EXPECT_EQ(table->item(row, 1)->font().italic(), table->item(row, 2)->text() == QStringLiteral("01.08.2025"))
            << table->item(row, 1)->text().toStdString();
    }
    using Rows = std::vector<std::pair<QString, QString>>;
    EXPECT_EQ(shown, (Rows{{"01.04.2025", "30.06.2025"}, {"01.07.2025", "30.09.2025"}, {"01.08.2025", "31.08.2025"}}));
}

// A payment linked to an invoice with VAT, opened to modify from the
// customers page by a double click on its row and okayed unchanged, keeps
// what it had: name, amount, reference, link and lines (the VAT it releases
// among them); its invoice, opened likewise, keeps its payment reference,
// figures and payments.
TEST_F(WaysInTest, APaymentAndItsInvoiceOkayedUnchangedFromTheWindowChangeNothing)
{
    makeBooks();
    auto* business = dynamic_cast<business::BusinessOfDocument*>(books().business());
    ASSERT_NE(business, nullptr);
    const auto customer = books().customerArray().front();
    arguments::InvoiceArguments invoiceValues;
    invoiceValues.invoiceName = "Design";
    invoiceValues.thirdPartyId = *customer->getId();
    invoiceValues.invoiceNumber = "2025-002";
    invoiceValues.invoiceDescription = "Logo and letterhead";
    invoiceValues.paymentReference = business::structuredReferenceForNumber("2025002");
    invoiceValues.invoiceDate = 20250812;
    invoiceValues.dueDate = 20250911;
    invoiceValues.amountWithoutVAT = 1000.0;
    invoiceValues.firstVATRateId = *business->businessArrays().VATRateArray.front()->idKey();
    const auto invoice = books().getTransactionForId(
        static_cast<ObjectIdT>(books().commandExecutor().executeCommand(38, nullptr, invoiceValues)));
    ASSERT_NE(invoice, nullptr);
    arguments::PaymentArguments paymentValues;
    paymentValues.paymentName = "Design, first half";
    paymentValues.thirdPartyId = *customer->getId();
    paymentValues.paymentReference = invoiceValues.paymentReference;
    paymentValues.paymentAmount = 605.0;
    paymentValues.paymentDate = 20250828;
    paymentValues.paymentCategoryId = books().get_mDefExpTUnspecifiedIncome();
    paymentValues.paymentOwnerType = arguments::kOwnerTypeCustomer;
    const auto payment = books().getTransactionForId(
        static_cast<ObjectIdT>(books().commandExecutor().executeCommand(44, nullptr, paymentValues)));
    ASSERT_NE(payment, nullptr);
    arguments::TransactionLinkArguments link;
    link.name = payment->getName();
    link.linkedId = invoice->getId();
    ASSERT_EQ(books().commandExecutor().executeCommand(kLinkPaymentToInvoiceCommand, payment, link), 1);
    ASSERT_EQ(payment->mForList().size(), 2u) << "the payment releases half the invoice's VAT";

    using Lines = std::vector<std::pair<long, double>>;
    auto stored = [](const std::shared_ptr<CTrnSItem>& transaction) {
        Lines lines;
        for (const LineItemArray& list : {transaction->mFromList(), transaction->mToList(), transaction->mForList()})
            for (const auto& line : list)
                lines.emplace_back(line->account().value_or(0), std::round(line->getLocalAmount().value_or(0) * 100));
        std::sort(lines.begin(), lines.end());
        std::vector<long> payments;
        if (auto extension = transaction->invoiceExtension()) payments = extension->paymentTransactionIdArray();
        return std::tuple(transaction->getName(), transaction->mDate(), transaction->mTotalAmount(),
                          transaction->mDocumentRef(), transaction->mDescription(), transaction->paymentReference(),
                          transaction->mReferenceObjectId(), lines, payments);
    };
    const auto paymentBefore = stored(payment);
    const auto invoiceBefore = stored(invoice);
    ASSERT_FALSE(std::get<5>(invoiceBefore).value_or("").empty());

    auto* page = showPage<Owners>(localized("OWNERSTABCUSTOMERS"), 2);
    ASSERT_NE(page, nullptr);
    page->selectOwner(Owners::Tab::Customers, customer.get());
    settle();
    auto& pair = page->pair(true);
    // A double click on the row of the transaction in the table.
    auto openRow = [&](QTableView* table, CNonVisualDataItemArrayController& rows,
                       const std::shared_ptr<CTrnSItem>& transaction) {
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i))->parentTransaction() == transaction) {
                const QPoint at = table->visualRect(table->model()->index(int(i), 0)).center();
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
                settle();
                return true;
            }
        return false;
    };

    ASSERT_TRUE(openRow(pair.rightTable(), pair.rightTableArrayController(), payment));
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr) << "the payment's sheet";
    click(*sheet, "OKButton");
    settle();
    ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_TRUE(stored(payment) == paymentBefore) << "payment";
    EXPECT_TRUE(stored(invoice) == invoiceBefore) << "its invoice";

    ASSERT_TRUE(openRow(pair.leftTable(), pair.leftTableArrayController(), invoice));
    QWidget* invoiceSheet = page->invoiceSheet();
    ASSERT_TRUE(invoiceSheet && invoiceSheet->isVisible()) << "the invoice's sheet";
    click(*invoiceSheet, "OKButton");
    settle();
    ASSERT_FALSE(invoiceSheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_TRUE(stored(invoice) == invoiceBefore) << "invoice";
    EXPECT_TRUE(stored(payment) == paymentBefore) << "its payment";
}

TEST_F(WaysInTest, APaymentDraggedOntoAnInvoiceIsLinkedToIt)
{
    makeBooks();
    auto* page = showPage<Owners>(localized("OWNERSTABCUSTOMERS"), 2);
    ASSERT_NE(page, nullptr);
    page->selectOwner(Owners::Tab::Customers, books().customerArray().front().get());
    settle();
    auto& pair = page->pair(true);
    ASSERT_EQ(pair.leftTableArrayController().arrangedCount(), 1u);
    ASSERT_EQ(pair.rightTableArrayController().arrangedCount(), 1u);
    const auto line = [](CNonVisualDataItemArrayController& rows) {
        return std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(0))->parentTransaction();
    };
    const auto invoice = line(pair.leftTableArrayController());
    const auto payment = line(pair.rightTableArrayController());
    EXPECT_FALSE(payment->mReferenceObjectId().value_or(-1) > 0);

    // The invoices' rows start no drag; the payments' rows do.
    EXPECT_EQ(dragRow(*pair.leftTable(), 0), nullptr);
    std::unique_ptr<QMimeData> dragged = dragRow(*pair.rightTable(), 0);
    ASSERT_NE(dragged, nullptr) << "the payments' rows start drags";
    EXPECT_TRUE(dropOnRow(*pair.leftTable(), 0, *dragged));
    EXPECT_EQ(payment->mReferenceObjectId(), invoice->getId());
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(WaysInTest, ACardSpendingDraggedOntoAPaymentOfItsOwnBooksIsLinked)
{
    makeBooks();
    GXCreditCardViewController* page = cardPage(frame());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->spendingModel()->rowCount(), 1);
    ASSERT_EQ(page->paymentModel()->rowCount(), 1);
    const auto dinner = transactionOfRow(*page->spendingModel(), 0);
    MyDocument& ownBooks = books();

    // Other books with the same transactions, in a window of their own: their
    // dinner's drag names a transaction by the same key, and is refused here.
    MyDocument& otherBooks = controller.makeNewDocument(false).document();
    settle();
    bookAugust(otherBooks);
    GXCreditCardViewController* otherPage = cardPage(*controller.windows().back()->frame());
    ASSERT_NE(otherPage, nullptr);
    std::unique_ptr<QMimeData> foreign = dragRow(*otherPage->spendingsTableView(), 0);
    ASSERT_NE(foreign, nullptr);
    ASSERT_EQ(foreign->data(kNonvisualPboardType).toStdString(), dinner->calculateKey());
    EXPECT_FALSE(dropOnRow(*page->paymentTableView(), 0, *foreign));
    EXPECT_FALSE(dinner->mReferenceObjectId().value_or(0) > 0);
    EXPECT_FALSE(ownBooks.isDocumentEdited());
    controller.discard(*controller.windows().back());
    settle();

    std::unique_ptr<QMimeData> spending = dragRow(*page->spendingsTableView(), 0);
    ASSERT_NE(spending, nullptr) << "the spendings' rows start drags";
    EXPECT_TRUE(dropOnRow(*page->paymentTableView(), 0, *spending));
    EXPECT_EQ(dinner->mReferenceObjectId(), transactionOfRow(*page->paymentModel(), 0)->getId());
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(WaysInTest, ACardSpendingDroppedOnTheVATPeriodsTitlePaysTheVATOfThePeriodBefore)
{
    makeBooks();
    GXCreditCardViewController* page = cardPage(frame());
    ASSERT_NE(page, nullptr);
    std::unique_ptr<QMimeData> spending = dragRow(*page->spendingsTableView(), 0);
    ASSERT_NE(spending, nullptr);
    const auto dinner = transactionOfRow(*page->spendingModel(), 0);

    SideBarOutlineModel& model = frame().sideBarController().outlineModel();
    GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
    const QModelIndex row = openAndFindSideBarRow(model, localized("VATPERIODTITLE"), 2);
    ASSERT_TRUE(row.isValid());
    const QModelIndex shown = model.index(row.row(), 0, row.parent());
    outline.scrollTo(shown);
    EXPECT_TRUE(dragAndDrop(outline.viewport(), outline.visualRect(shown).center(), spending.get()).second);
    settle();
    // Paid on 7 August: the VAT of the second quarter.
    auto* business = dynamic_cast<business::BusinessOfDocument*>(books().business());
    ASSERT_NE(business, nullptr);
    std::shared_ptr<business::GXVATPeriod> second;
    for (const auto& period : business->businessArrays().VATPeriodArray)
        if (period->hasStartDate(20250401, 20250630)) second = period;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->closingTransactionId(), std::optional<long>(*dinner->getId()));
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(WaysInTest, TheAccountsFiguresStandOnTheBalanceBar)
{
    makeBooks();
    auto* page = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(page, nullptr);
    auto* bar = page->controlledView()->findChild<CBalanceBar*>("balanceBar");
    ASSERT_TRUE(bar && bar->isVisible());
    const auto figures = bar->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(figures.begin(), figures.end(), [](const QLabel* label) {
        return label->text().toStdString() == localized("KPIBALANCE");
    }));
}

} // namespace
// The settings' income account dragged from the Profit and Loss page onto
// Own Property in the side bar: a type of another kind takes no account (the
// drop is not accepted, as the pointer shows), so it stays where it was and
// the books are not edited.
TEST_F(WaysInTest, AnAccountDraggedOntoATypeOfAnotherKindStaysWhereItWas)
{
    makeBooks();
    ASSERT_TRUE(controller.save(window()));
    auto* page = showPage<AccountCategoryPage>("Profit and Loss");
    ASSERT_NE(page, nullptr);
    QAbstractItemView& accounts = *page->upperTable();
    int row = -1;
    for (int r = 0; r < accounts.model()->rowCount(); ++r)
        if (accounts.model()->index(r, 0).data().toString() == QStringLiteral("Income")) row = r;
    ASSERT_GE(row, 0);
    std::unique_ptr<QMimeData> dragged = dragRow(accounts, row);
    ASSERT_NE(dragged, nullptr);

    GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
    const QModelIndex own = openAndFindSideBarRow(frame().sideBarController().outlineModel(), "Own Property");
    ASSERT_TRUE(own.isValid());
    environment.alerts().clear();
    EXPECT_FALSE(dragAndDrop(outline.viewport(), outline.visualRect(own).center(), dragged.get()).second);
    settle();

    EXPECT_TRUE(environment.alerts().numbers().empty());
    const CAccount* income = books().accounting()->GetAccountForName(std::string_view("Income"));
    ASSERT_NE(income, nullptr);
    EXPECT_TRUE(income->thisIsAProfitAndLossAccount());
    EXPECT_FALSE(books().isDocumentEdited());
}

} // namespace ch
