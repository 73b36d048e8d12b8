// Every change to the books marks the document edited, whichever way the
// window makes it. One table of the window's actions that change the books
// (menus, context menus, drops, sheets and page buttons): each starts from the
// same saved, clean books, does the action as a user would, and then the
// document is edited, closing asks whether to save, and saving writes a file
// whose bytes differ from before and open to the same books; killed
// instead, its journal made again gives the same books. A second table holds
// what only changes the display (selection, pages, expanded rows, sort
// order): the document stays clean and closing asks nothing.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>

#include "../ui/sheets/sheet_test_support.h"
#include "../ui/side_bar_rows.h"
#include "../ui/ui_test_support.h"
#include "../document/commands/books_listing.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/RollForwardSheet.h"
#include "app_test_steps.h"
#include "analysis/views/BudgetSheets.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/pages/CBudgetPageController.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/views/CVATRateDialog.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/SearchInvoiceDialogController.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ImportPage.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationShell.h"
#include "ui/CSideBarController.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/CSideBarView.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/V2SplitLayout.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/MainToolbar.h"
#include "ui/sheets/CommandSink.h"
#include "ui/QuickEntryPane.h"
#include "ui/SideBarDragAndDrop.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/pages/GXTransactionViewController.h"

namespace ch {
namespace {

using namespace ch::test;
using Owners = business::GXOwnerViewController;

constexpr const char* kBankNumber = "111-2223334-55";

// One statement line: 30.00 paid to the shop, which has no default category.
const std::string kShopStatement = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250910<TRNAMT>-30.00<FITID>2509<NAME>Corner Shop<MEMO>Milk</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

class BooksEditedTest : public ApplicationFixture {
protected:
    BooksEditedTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }


    static QByteArray bytesOf(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // --- what a user does

    // The item of a table's context menu.
    void contextItem(QWidget* table, const char* name)
    {
        ASSERT_NE(table, nullptr);
        for (QAction* action : table->actions())
            if (action->objectName() == QLatin1String(name)) {
                action->trigger();
                settle();
                return;
            }
        ADD_FAILURE() << "no context menu item " << name;
    }

    CPopupWindowAncestor* openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    GXTransactionViewController* transactionsPage()
    {
        frame().showMainTab("V2");
        choose("TRANSBUTTON");
        auto* page = dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController());
        EXPECT_NE(page, nullptr);
        return page;
    }

    // The row of the transaction named so on the transactions page, selected.
    int selectTransaction(GXTransactionViewController& page, const std::string& name)
    {
        using Tab = GXTransactionViewController::Tab;
        CTransactionArrayController& rows = page.controller(Tab::Transactions);
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i) {
            auto item = std::dynamic_pointer_cast<CTrnSItem>(rows.arrangedObjectAt(i));
            if (item && item->getName() == name) {
                page.selectItem(Tab::Transactions, item.get());
                settle();
                return int(i);
            }
        }
        ADD_FAILURE() << "no transaction " << name;
        return -1;
    }

    Owners* customersPage()
    {
        auto* page = showPage<Owners>(localized("OWNERSTABCUSTOMERS"), 2);
        if (!page) return nullptr;
        page->selectOwner(Owners::Tab::Customers, books().customerArray().front().get());
        settle();
        return page;
    }

    // The row of the line whose transaction is named so.
    static int rowNamed(CNonVisualDataItemArrayController& rows, const std::string& name)
    {
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i) {
            auto line = std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i));
            if (line && line->parentTransaction() && line->parentTransaction()->getName() == name) return int(i);
        }
        ADD_FAILURE() << "no row " << name;
        return -1;
    }

    ImportPage* importPage() { return dynamic_cast<ImportPage*>(frame().mainTab("Import")); }

    // --- the books every row starts from

    long account(const char* name, long type, const char* bankNumber, int specialType = 0)
    {
        return makeAccount(books(), name, type, bankNumber, std::nullopt, specialType);
    }

    long category(const char* name) { return makeExpenseCategory(books(), name); }

    void book(long from, long to, long categoryId, double amount, const char* name)
    {
        bookTransaction(books(), from, to, categoryId, amount, name, 20250905);
    }

    void newInvoice(Owners& page, const char* name, const char* net)
    {
        contextItem(page.pair(true).leftTable(), "OWNERSNEWINVOICE");
        auto* sheet = page.invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        typeInto(outlet(*sheet, "invoiceNameField"), name);
        typeInto(outlet(*sheet, "invoiceDateField"), "01.09.2025");
        typeInto(outlet(*sheet, "invoiceAmountField"), net);
        auto* rate = outlet<QComboBox>(*sheet, "VATRate1Popup");
        rate->setCurrentIndex(rate->findText("Standard", Qt::MatchStartsWith));
        QTest::keyClick(outlet(*sheet, "invoiceAmountField"), Qt::Key_Tab);
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << name;
    }

    void newPayment(Owners& page, const std::string& name, const char* amount)
    {
        contextItem(page.pair(true).rightTable(), "OWNERSNEWPAYMENT");
        auto* sheet = page.paymentSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        typeInto(outlet(*sheet, "paymentNameField"), QString::fromStdString(name));
        typeInto(outlet(*sheet, "paymentDateField"), "10.09.2025");
        typeInto(outlet(*sheet, "paymentAmountField"), amount);
        auto* categories = outlet<QComboBox>(*sheet, "paymentCategoryPopup");
        categories->setCurrentIndex(categories->findText("Fees"));
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << name;
    }

    // Small books with one of everything the rows act on: a bank account, a
    // second account type for it, a credit card with a spending and a
    // payment, a loan, a shop and two categories,
    // a customer with a VAT rate, two invoices, a payment linked to the
    // second and one that names the first but is not linked yet. Saved and
    // closed; the path. What `more` adds is saved with them.
    QString savedBooks(const std::function<void()>& more = {})
    {
        booksPath = folder.filePath("Fixture.books");
        controller.makeNewDocument(false);
        settle();
        const long checking = account("Checking", 1, kBankNumber);
        const long visa = account("Visa", 2, nullptr, 1);
        const long shop = account("Corner Shop", 3, nullptr);
        account("Car Loan", 2, nullptr);
        arguments::AccountTypeArguments banks;
        banks.accountTypeName = "Banks";
        banks.theMasterType = 1;
        books().commandExecutor().executeCommand(11, nullptr, banks);
        const long groceries = category("Groceries");
        arguments::CategoryParameters fees;
        fees.name = "Fees";
        fees.mParentId = 0;
        fees.mMasterTypeId = 0;
        books().commandExecutor().executeCommand(15, nullptr, fees);
        book(checking, shop, groceries, 50.0, "Groceries run");
        book(checking, shop, groceries, 12.5, "Bread");
        book(visa, shop, groceries, 30.0, "Card dinner");
        book(checking, visa, books().get_mDefExpTUnspecifiedTransfer(), 30.0, "Card payment");

        auto* setup = showPage<business::GXBusinessSetupViewController>("VAT Rates", 2);
        EXPECT_NE(setup, nullptr);
        if (!setup) return {};
        choose("NEWOBJECTMENUITEM");
        EXPECT_TRUE(setup->VATRateSheet() && setup->VATRateSheet()->isVisible());
        if (!setup->VATRateSheet()) return {};
        QWidget& rateSheet = *setup->VATRateSheet();
        typeInto(outlet(rateSheet, "nameField"), "Standard");
        typeInto(outlet(rateSheet, "rateField"), "21");
        typeInto(outlet(rateSheet, "fiscalField"), "100");
        click(rateSheet, "OKButton");
        settle();

        showPage(localized("OWNERSTABCUSTOMERS"), 2);
        choose("NEWOBJECTMENUITEM");
        if (CPopupWindowAncestor* sheet = openSheet()) {
            typeInto(outlet(*sheet, "nameField"), "Brightwater");
            QTest::mouseClick(outlet<QCheckBox>(*sheet, "createCustomerAccountsCheck"), Qt::LeftButton);
            click(*sheet, "OKButton");
            settle();
        }
        EXPECT_EQ(books().customerArray().size(), 1u);
        if (books().customerArray().empty()) return {};
        Owners* page = customersPage();
        if (!page) return {};
        newInvoice(*page, "Workshop", "1000.00");
        newInvoice(*page, "Report", "500.00");
        auto& invoices = page->pair(true).leftTableArrayController();
        const int workshop = rowNamed(invoices, "Workshop");
        const auto workshopInvoice =
            std::dynamic_pointer_cast<CDebetItem>(invoices.arrangedObjectAt(std::size_t(workshop)))->parentTransaction();
        // The first payment names the workshop's invoice number, as a bank
        // transfer does, so that the search finds it.
        newPayment(*page, "Transfer " + workshopInvoice->mDocumentRef().value_or(std::string()), "1210.00");
        newPayment(*page, "Report paid", "605.00");
        auto& payments = page->pair(true).rightTableArrayController();
        std::unique_ptr<QMimeData> dragged(page->pair(true).mimeDataForPaymentRow(rowNamed(payments, "Report paid")));
        EXPECT_TRUE(dragged && page->pair(true).acceptDrop(dragged.get(), rowNamed(invoices, "Report")));
        settle();
        if (more) more();

        controller.saveAs(window());
        settle();
        EXPECT_FALSE(books().isDocumentEdited());
        window().fileAction("close")->trigger();
        settle();
        EXPECT_TRUE(controller.windows().empty());
        return booksPath;
    }

    // A fresh copy of the saved books, opened as the desktop does.
    bool openCopy(const QString& saved, const QString& name)
    {
        booksPath = folder.filePath(name);
        QFile::remove(booksPath);
        if (!QFile::copy(saved, booksPath)) return false;
        shell.launch({booksPath});
        settle();
        return controller.windows().size() == 1 && window().booksShown();
    }

};

// A window action: what brings the window to where the user acts (it must
// leave the books as they were), then the action itself.
class BooksEditedTable;
struct WindowAction {
    const char* name;
    std::function<void(BooksEditedTable&)> prepare;
    std::function<void(BooksEditedTable&)> act;
};

class BooksEditedTable : public BooksEditedTest {
public:
    // Runs each row on its own copy of the saved books.
    void runChanging(const std::vector<WindowAction>& rows);
    void runDisplayOnly(const std::vector<WindowAction>& rows);
    // Runs each row, then kills the window and opens the file again with its
    // journal made again: the books are those the row left.
    void runJournaled(const std::vector<WindowAction>& rows);

    // --- the steps the rows share, public for the table
    using BooksEditedTest::choose;
    using BooksEditedTest::chooseSideBarItem;
    using BooksEditedTest::contextItem;
    using BooksEditedTest::customersPage;
    using BooksEditedTest::newInvoice;
    using BooksEditedTest::importPage;
    using BooksEditedTest::openSheet;
    using BooksEditedTest::rowNamed;
    using BooksEditedTest::selectTransaction;
    using BooksEditedTest::settle;
    using BooksEditedTest::showPage;
    using BooksEditedTest::transactionsPage;
    using BooksEditedTest::books;
    using BooksEditedTest::frame;
    using BooksEditedTest::environment;
    using BooksEditedTest::statementPath;
    using BooksEditedTest::folder;

    QString saved;

    // File > Revert, and Revert in its question.
    void revertToSaved()
    {
        window().fileAction("revert")->trigger();
        settle();
        QMessageBox* question = controller.openQuestion();
        ASSERT_NE(question, nullptr);
        QTest::mouseClick(question->findChild<QPushButton*>("revert"), Qt::LeftButton);
        settle();
    }
};

void BooksEditedTable::runChanging(const std::vector<WindowAction>& rows)
{
    int copy = 0;
    for (const WindowAction& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QStringLiteral("Changed%1.books").arg(++copy);
        ASSERT_TRUE(openCopy(saved, name));
        ASSERT_FALSE(books().isDocumentEdited()) << "opens clean";
        if (row.prepare) row.prepare(*this);
        ASSERT_FALSE(books().isDocumentEdited()) << "the way to the action changed nothing";
        const QByteArray before = bytesOf(booksPath);
        row.act(*this);
        EXPECT_TRUE(books().isDocumentEdited());
        // Reading sorts the lists a new object was put at the front of.
        auto sortedListing = [this] {
            std::vector<std::string> lines = listBooks(*books().accounting());
            std::sort(lines.begin(), lines.end());
            return lines;
        };
        const std::vector<std::string> changed = sortedListing();
        environment.alerts().clear();
        window().fileAction("close")->trigger();
        settle();
        QMessageBox* question = controller.openQuestion();
        EXPECT_NE(question, nullptr) << "closing asks";
        if (question) {
            QTest::mouseClick(question->findChild<QPushButton*>("save"), Qt::LeftButton);
            settle();
        }
        if (!controller.windows().empty()) {
            ADD_FAILURE() << "the window stayed open";
            controller.discard(window());
            settle();
        }
        EXPECT_NE(bytesOf(booksPath), before) << "the saved file holds the change";
        // Opened again: the books are those the action left.
        shell.launch({booksPath});
        settle();
        ASSERT_EQ(controller.windows().size(), 1u);
        EXPECT_EQ(sortedListing(), changed);
        controller.discard(window());
        settle();
    }
}

void BooksEditedTable::runDisplayOnly(const std::vector<WindowAction>& rows)
{
    int copy = 0;
    for (const WindowAction& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(openCopy(saved, QStringLiteral("Shown%1.books").arg(++copy)));
        ASSERT_FALSE(books().isDocumentEdited()) << "opens clean";
        const std::vector<std::string> before = listBooks(*books().accounting());
        if (row.prepare) row.prepare(*this);
        row.act(*this);
        EXPECT_FALSE(books().isDocumentEdited());
        EXPECT_EQ(listBooks(*books().accounting()), before);
        window().fileAction("close")->trigger();
        settle();
        EXPECT_EQ(controller.openQuestion(), nullptr) << "nothing to ask";
        if (controller.openQuestion()) {
            QTest::mouseClick(controller.openQuestion()->findChild<QPushButton*>("dontSave"), Qt::LeftButton);
            settle();
        }
        if (!controller.windows().empty()) {
            controller.discard(window());
            settle();
        }
    }
}

// --- the rows' steps

GXTransactionViewController* transactionsWith(BooksEditedTable& t, const char* name)
{
    GXTransactionViewController* page = t.transactionsPage();
    if (page) t.selectTransaction(*page, name);
    return page;
}

void clickStatusColumn(BooksEditedTable& t, const char* name)
{
    GXTransactionViewController* page = t.transactionsPage();
    ASSERT_NE(page, nullptr);
    const int row = t.selectTransaction(*page, name);
    GXTableAncestor* table = page->table(GXTransactionViewController::Tab::Transactions);
    ASSERT_TRUE(table && row >= 0);
    const int column = table->horizontalHeader()->logicalIndex(0);
    const QModelIndex cell = table->model()->index(row, column);
    table->scrollTo(cell);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    t.settle();
}

void okSheet(BooksEditedTable& t)
{
    CPopupWindowAncestor* sheet = t.openSheet();
    ASSERT_NE(sheet, nullptr);
    click(*sheet, "OKButton");
    t.settle();
}

GXCreditCardViewController* cardPage(BooksEditedTable& t)
{
    auto* page = t.showPage<GXCreditCardViewController>(localized("CREDITCARDBUTTON"), 1);
    if (page) {
        page->topTableView()->selectRow(0);
        t.settle();
    }
    return page;
}

std::shared_ptr<CTrnSItem> selectLine(BooksEditedTable& t, Owners& page, bool invoices, const char* name)
{
    auto& pair = page.pair(true);
    auto& rows = invoices ? pair.leftTableArrayController() : pair.rightTableArrayController();
    const int row = t.rowNamed(rows, name);
    if (row < 0) return nullptr;
    (invoices ? pair.leftTable() : pair.rightTable())->selectRow(row);
    t.settle();
    return invoices ? pair.selectedLeftTableTransaction() : pair.selectedRightTableTransaction();
}

// The own-property page with the bank account's lines in its lower table.
AccountCategoryPage* checkingPage(BooksEditedTable& t)
{
    auto* page = t.showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    if (!page) return nullptr;
    page->selectUpperItem(t.books().getAccountItemForId(t.books().getAccountForName("Checking")->Get_Id()));
    t.settle();
    return page;
}

QWidget* settingsWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("FilePreferences") && widget->isVisible()) return widget;
    return nullptr;
}

// Drags over the side bar's row of that title and drops there, as the tree
// receives it; whether the tree took it.
bool dropOnSideBarRow(BooksEditedTable& t, const std::string& title, QMimeData* data)
{
    std::unique_ptr<QMimeData> owned(data);
    SideBarOutlineModel& model = t.frame().sideBarController().outlineModel();
    GXGradientOutlineView& outline = *t.frame().v2Layout().sideBarView()->outline();
    QPoint at;
    for (const QModelIndex& row : model.shownRows())
        if (model.itemAt(row)->getName() == title) {
            const QModelIndex shown = model.index(row.row(), 0, row.parent());
            outline.scrollTo(shown);
            at = outline.visualRect(shown).center();
        }
    if (at.isNull()) {
        ADD_FAILURE() << "no side bar row " << title;
        return false;
    }
    const bool dropped = dragAndDrop(outline.viewport(), at, data).second;
    t.settle();
    return dropped;
}

// What dragging the account out of this window carries.
QMimeData* accountDrag(BooksEditedTable& t, const char* name)
{
    auto* data = new QMimeData;
    const auto account = t.books().getAccountItemForId(t.books().getAccountForName(name)->Get_Id());
    data->setData(kNonvisualPboardType, QByteArray::fromStdString(account->calculateKey()));
    data->setText(QString::fromUtf8(name));
    data->setData(kDocumentPboardType, documentMarker(&t.frame().sideBarController().document()));
    return data;
}

void importShopStatement(BooksEditedTable& t)
{
    t.statementPath = t.folder.filePath("shop.ofx");
    std::ofstream(t.statementPath.toStdString(), std::ios::binary) << kShopStatement;
    t.choose("importOFX");
}

// What dragging the transaction out of this window carries.
QMimeData* transactionDrag(BooksEditedTable& t, const char* name)
{
    auto* data = new QMimeData;
    std::shared_ptr<CTrnSItem> found;
    for (const std::shared_ptr<CTrnSItem>& transaction : t.books().mTransactionArray())
        if (transaction->getName() == name) found = transaction;
    EXPECT_NE(found, nullptr) << name;
    if (found) data->setData(kNonvisualPboardType, QByteArray::fromStdString(found->calculateKey()));
    data->setText(QString::fromUtf8(name));
    data->setData(kDocumentPboardType, documentMarker(&t.frame().sideBarController().document()));
    return data;
}

// The window actions that change the books, one row each: each marks the
// books edited, and those the journal keeps are made again after a crash.
const std::vector<WindowAction>& changingActions()
{
    static const std::vector<WindowAction> rows = {
        // The transactions page.
        {"a click in the status column", nullptr, [](BooksEditedTable& t) { clickStatusColumn(t, "Bread"); }},
        {"Books > Flag", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) { t.choose("FLAGMENUITEM"); }},
        {"the toolbar's Flag", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             QAction* flag = t.frame().toolbar().itemAction("flagObject");
             ASSERT_NE(flag, nullptr);
             flag->trigger();
             t.settle();
         }},
        {"the toolbar's Delete", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             QAction* remove = t.frame().toolbar().itemAction("deleteObject");
             ASSERT_NE(remove, nullptr);
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
             remove->trigger();
             t.settle();
         }},
        {"Edit > Cut of a transaction", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
             t.choose("CUTMENUITEM");
         }},
        {"Edit > Delete of a transaction", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
             t.choose("DELETEMENUITEM");
         }},
        {"Books > Modify, a new name, OK", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             t.choose("MODIFYMENUITEM");
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "mNameField"), "Rye bread");
             click(*sheet, "OKButton");
             t.settle();
         }},
        {"Edit > Duplicate, OK", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             t.choose("DUPLICATEMENUITEM");
             okSheet(t);
         }},
        {"Edit > Copy, Edit > Paste, OK", [](BooksEditedTable& t) { transactionsWith(t, "Bread"); },
         [](BooksEditedTable& t) {
             t.choose("COPYMENUITEM");
             t.choose("PASTEMENUITEM");
             okSheet(t);
         }},
        // An account's page.
        {"a click in the status column of an account's line", [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             AccountCategoryPage* page = checkingPage(t);
             ASSERT_NE(page, nullptr);
             CV2TransactionTableView* lines = page->lowerTable();
             ASSERT_TRUE(lines && lines->model()->rowCount() > 0);
             const QModelIndex cell = lines->model()->index(0, lines->horizontalHeader()->logicalIndex(0));
             QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, lines->visualRect(cell).center());
             t.settle();
         }},
        {"the account sheet, a new name, OK", [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             AccountCategoryPage* page = checkingPage(t);
             ASSERT_NE(page, nullptr);
             doubleClickSelectedRow(page->upperTable());
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "nameField"), "Checking EU");
             click(*sheet, "OKButton");
             t.settle();
         }},
        {"Edit > Delete of an account with bookings, OK at both questions", [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // delete it
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // and its bookings
             t.choose("DELETEMENUITEM");
             EXPECT_EQ(t.books().getAccountForName("Checking"), nullptr);
         }},
        {"the side bar's New inside, a category sheet, OK",
         [](BooksEditedTable& t) { t.showPage(localized("expenseMxpTName"), -1); },
         [](BooksEditedTable& t) {
             t.chooseSideBarItem(NodeMenu::Category, 1105);
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "nameField"), "Garden");
             click(*sheet, "OKButton");
             t.settle();
         }},
        // The side bar.
        {"an account dropped on another account type in the side bar",
         [](BooksEditedTable& t) { t.showPage("Banks", -1); },
         [](BooksEditedTable& t) {
             EXPECT_TRUE(dropOnSideBarRow(t, "Banks", accountDrag(t, "Checking")));
             EXPECT_EQ(t.books().getAccountForName("Checking")->Get_mAccountTypeId(),
                       t.books().getAccountTypeForName("Banks")->Get_Id());
         }},
        {"a loan dropped on the side bar's credit cards",
         [](BooksEditedTable& t) { t.showPage("Banks", -1); },
         [](BooksEditedTable& t) {
             EXPECT_TRUE(dropOnSideBarRow(t, localized("CREDITCARDBUTTON"), accountDrag(t, "Car Loan")));
         }},
        // The side bar's Quick Entry.
        {"a transaction dropped on the side bar's VAT title",
         [](BooksEditedTable& t) { t.showPage("VAT Rates", 2); },
         [](BooksEditedTable& t) {
             EXPECT_TRUE(dropOnSideBarRow(t, localized("VATTROOTTITLE"), transactionDrag(t, "Card payment")));
         }},
        {"Quick Entry's Book button", nullptr,
         [](BooksEditedTable& t) {
             bookInQuickEntry(t.frame(), "12.09.2025", "Corner Shop", "Checking", "-12.50", "Lunch");
         }},
        // The currencies page.
        {"the currency sheet of the home currency, a new name, OK",
         [](BooksEditedTable& t) { t.showPage(localized("CURRENCYBUTTON"), 1); },
         [](BooksEditedTable& t) {
             auto* page = t.showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
             ASSERT_NE(page, nullptr);
             ASSERT_FALSE(t.books().mCurrencyArray().empty());
             page->selectItem(t.books().getHomeCurrency().get());
             t.settle();
             QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("modifyButton"), Qt::LeftButton);
             t.settle();
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "fullNameField"), "Euro of the EU");
             click(*sheet, "OKButton");
             t.settle();
         }},
        // The customers page.
        {"a new customer through its sheet", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             t.choose("NEWOBJECTMENUITEM");
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "nameField"), "Harbour Ltd");
             click(*sheet, "OKButton");
             t.settle();
         }},
        {"a new invoice through its sheet", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             t.newInvoice(*page, "Follow-up", "200.00");
         }},
        {"Delete payment", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             ASSERT_NE(selectLine(t, *page, false, "Report paid"), nullptr);
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
             t.contextItem(page->pair(true).rightTable(), "OWNERSDELETEPAYMENT");
         }},
        // The business set-up page.
        {"a new VAT rate through its sheet", [](BooksEditedTable& t) { t.showPage("VAT Rates", 2); },
         [](BooksEditedTable& t) {
             auto* setup = t.showPage<business::GXBusinessSetupViewController>("VAT Rates", 2);
             ASSERT_NE(setup, nullptr);
             t.choose("NEWOBJECTMENUITEM");
             ASSERT_TRUE(setup->VATRateSheet() && setup->VATRateSheet()->isVisible());
             QWidget& sheet = *setup->VATRateSheet();
             typeInto(outlet(sheet, "nameField"), "Reduced");
             typeInto(outlet(sheet, "rateField"), "6");
             typeInto(outlet(sheet, "fiscalField"), "100");
             click(sheet, "OKButton");
             t.settle();
         }},
        // The shares page.
        {"a new share through its sheet", [](BooksEditedTable& t) { t.showPage(localized("SHAREBUTTON"), 1); },
         [](BooksEditedTable& t) {
             auto* page = t.showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
             ASSERT_NE(page, nullptr);
             QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("addAccountButton"), Qt::LeftButton);
             t.settle();
             CPopupWindowAncestor* sheet = t.openSheet();
             ASSERT_NE(sheet, nullptr);
             typeInto(outlet(*sheet, "symbolField"), "ACME");
             typeInto(outlet(*sheet, "fullNameField"), "Acme Corporation");
             click(*sheet, "OKButton");
             t.settle();
         }},
        // The budget page.
        {"a new budget through the budget page's button", [](BooksEditedTable& t) { t.frame().showMainTab("budg"); },
         [](BooksEditedTable& t) {
             auto* page = dynamic_cast<CBudgetPageController*>(t.frame().mainTab("budg"));
             ASSERT_NE(page, nullptr);
             QPushButton* create = nullptr;
             for (QPushButton* button : page->findChildren<QPushButton*>())
                 if (button->text().toStdString() == localized("NewBud")) create = button;
             ASSERT_NE(create, nullptr);
             QTest::mouseClick(create, Qt::LeftButton);
             t.settle();
             auto* sheet = dynamic_cast<CNewBudgetController*>(page->openSheet());
             ASSERT_NE(sheet, nullptr);
             typeInto(sheet->budgetNameField, "Plan");
             sheet->ok();
             t.settle();
         }},
        // The document's settings.
        {"Books > Settings, another default expense category", nullptr,
         [](BooksEditedTable& t) {
             t.choose("SETTINGBUTTON");
             QWidget* settings = settingsWindow();
             ASSERT_NE(settings, nullptr);
             auto* popup = settings->findChild<QComboBox*>("mPrefDefExptUnspecifiedExpense");
             ASSERT_NE(popup, nullptr);
             const int groceries = popup->findText("Groceries");
             ASSERT_GE(groceries, 0);
             popup->setCurrentIndex(groceries);
             t.settle();
             settings->close();
             t.settle();
         }},
        // The credit-card page.
        {"a card spending dropped on its payment", [](BooksEditedTable& t) { cardPage(t); },
         [](BooksEditedTable& t) {
             GXCreditCardViewController* page = cardPage(t);
             ASSERT_NE(page, nullptr);
             ItemTableModel& spendings = *page->spendingModel();
             ItemTableModel& payments = *page->paymentModel();
             ASSERT_EQ(spendings.rowCount(), 1);
             ASSERT_EQ(payments.rowCount(), 1);
             std::unique_ptr<QMimeData> dragged(spendings.mimeData({spendings.index(0, 1)}));
             EXPECT_TRUE(payments.dropMimeData(dragged.get(), Qt::CopyAction, -1, -1, payments.index(0, 0)));
             t.settle();
         }},
        // The customers page: invoices and their payments.
        {"a payment dropped onto an invoice", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             auto& pair = page->pair(true);
             const int payment = t.rowNamed(pair.rightTableArrayController(), "Report paid") == 0 ? 1 : 0;
             std::unique_ptr<QMimeData> dragged(pair.mimeDataForPaymentRow(payment));
             ASSERT_TRUE(dragged);
             EXPECT_TRUE(pair.acceptDrop(dragged.get(), t.rowNamed(pair.leftTableArrayController(), "Workshop")));
             t.settle();
         }},
        {"Find invoices, the invoice chosen in the search sheet", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             auto& pair = page->pair(true);
             const int payment = t.rowNamed(pair.rightTableArrayController(), "Report paid") == 0 ? 1 : 0;
             pair.rightTable()->selectRow(payment);
             t.settle();
             t.contextItem(pair.rightTable(), "OWNERSFINDINVOICES");
             business::SearchInvoiceDialogController* sheet = page->searchSheet();
             ASSERT_TRUE(sheet && sheet->isVisible());
             auto* table = sheet->findChild<QTableWidget*>();
             ASSERT_TRUE(table && table->rowCount() == 1);
             table->selectRow(0);
             click(*sheet, "OKButton");
             t.settle();
         }},
        {"Unlink payment", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             ASSERT_NE(selectLine(t, *page, false, "Report paid"), nullptr);
             t.contextItem(page->pair(true).rightTable(), "OWNERSUNLINKPAYMENT");
         }},
        {"Unlink payments of an invoice", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             ASSERT_NE(selectLine(t, *page, true, "Report"), nullptr);
             t.contextItem(page->pair(true).leftTable(), "OWNERSUNLINKPAYMENTS");
         }},
        {"Credit note for an invoice", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             ASSERT_NE(selectLine(t, *page, true, "Workshop"), nullptr);
             t.contextItem(page->pair(true).leftTable(), "OWNERSCREDITNOTE");
         }},
        // The import page.
        {"the import page's Default Category button",
         [](BooksEditedTable& t) {
             importShopStatement(t);
             ImportPage* page = t.importPage();
             ASSERT_NE(page, nullptr);
             ASSERT_EQ(page->model().rowCount(), 1);
             const auto line = page->model().lineAt(0);
             // The user picks the line's category, which the shop has no
             // default for yet.
             ASSERT_GT(line->mOtherAccountId(), 0);
             line->setMExpenseTypeId(t.books().getExpenseTypeForName("Groceries")->Get_Id(), true);
             page->findChild<QTableView*>("mImportedTransactionTable")->selectRow(0);
             t.settle();
         },
         [](BooksEditedTable& t) {
             ImportPage* page = t.importPage();
             ASSERT_NE(page, nullptr);
             QTest::mouseClick(page->findChild<QPushButton*>("mDefaultCategoryButton"), Qt::LeftButton);
             t.settle();
             const CAccount* shop = t.books().getAccountForName("Corner Shop");
             ASSERT_NE(shop, nullptr);
             EXPECT_EQ(shop->Get_mDefaultExpenseType(), t.books().getExpenseTypeForName("Groceries"));
         }},
        {"the import page's Import button", [](BooksEditedTable& t) { importShopStatement(t); },
         [](BooksEditedTable& t) {
             ImportPage* page = t.importPage();
             ASSERT_NE(page, nullptr);
             QTest::mouseClick(page->findChild<QPushButton*>("mImportButton"), Qt::LeftButton);
             t.settle();
         }},
    };
    return rows;
}

TEST_F(BooksEditedTable, EveryWindowActionThatChangesTheBooksMarksTheDocumentSoClosingAsksAndSavingKeepsIt)
{
    saved = savedBooks();
    ASSERT_FALSE(saved.isEmpty());
    ASSERT_FALSE(HasFailure()) << "the saved books";

    runChanging(changingActions());
}

RollForwardSheet* rollForwardSheet()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* sheet = qobject_cast<RollForwardSheet*>(widget); sheet && sheet->isVisible()) return sheet;
    return nullptr;
}

void BooksEditedTable::runJournaled(const std::vector<WindowAction>& rows)
{
    int copy = 0;
    for (const WindowAction& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QStringLiteral("Crashed%1.books").arg(++copy);
        ASSERT_TRUE(openCopy(saved, name));
        if (row.prepare) row.prepare(*this);
        const std::vector<std::string> before = listBooks(*books().accounting());
        row.act(*this);
        ASSERT_TRUE(books().isDocumentEdited());
        const std::vector<std::string> changed = listBooks(*books().accounting());
        EXPECT_NE(changed, before);
        // Killed: the window goes without a question, nothing is saved.
        controller.discard(window());
        settle();
        ASSERT_TRUE(controller.windows().empty());

        ASSERT_TRUE(controller.openDocumentFile(booksPath.toStdString()));
        QTRY_VERIFY(rollForwardSheet() != nullptr);
        click(*rollForwardSheet(), "replayButton");
        settle();
        EXPECT_TRUE(books().commandExecutor().lastReplayReport().empty())
            << ::testing::PrintToString(books().commandExecutor().lastReplayReport());
        EXPECT_EQ(listBooks(*books().accounting()), changed);
        controller.discard(window());
        settle();
    }
}

// Every change the window makes since the last save is in the journal: a
// crash loses none of them, Make Again books them as they were.
TEST_F(BooksEditedTable, EveryWindowActionThatChangesTheBooksIsMadeAgainAfterACrash)
{
    saved = savedBooks();
    ASSERT_FALSE(saved.isEmpty());
    runJournaled(changingActions());
}

TEST_F(BooksEditedTable, WhatOnlyChangesTheDisplayLeavesTheDocumentClean)
{
    saved = savedBooks();
    ASSERT_FALSE(saved.isEmpty());
    ASSERT_FALSE(HasFailure()) << "the saved books";

    const std::vector<WindowAction> rows = {
        {"every page of the side bar shown", nullptr,
         [](BooksEditedTable& t) {
             t.transactionsPage();
             cardPage(t);
             t.customersPage();
             t.showPage(localized("OWNERSTABCUSTOMERS"), 2);
             t.showPage("VAT Rates", 2);
             t.showPage(localized("SHAREBUTTON"), 1);
             t.showPage(localized("CURRENCYBUTTON"), 1);
             checkingPage(t);
         }},
        {"Books > Settings opened and closed", nullptr,
         [](BooksEditedTable& t) {
             t.choose("SETTINGBUTTON");
             QWidget* settings = settingsWindow();
             ASSERT_NE(settings, nullptr);
             settings->close();
             t.settle();
         }},
        {"the budget page and the reports shown", nullptr,
         [](BooksEditedTable& t) {
             t.frame().showMainTab("budg");
             t.settle();
             t.frame().showMainTab("repo");
             t.settle();
             t.frame().showMainTab("Import");
             t.settle();
         }},
        {"a change reverted with File > Revert",
         [](BooksEditedTable& t) {
             transactionsWith(t, "Bread");
             t.choose("FLAGMENUITEM");
             ASSERT_TRUE(t.books().isDocumentEdited());
         },
         [](BooksEditedTable& t) {
             t.revertToSaved();
         }},
        {"Edit > Delete of an account with bookings, OK, then Cancel at the second question",
         [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             t.environment.alerts().clear();
             t.environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // delete it; not its bookings
             t.choose("DELETEMENUITEM");
             EXPECT_EQ(t.environment.alerts().numbers().size(), 2u);
             EXPECT_NE(t.books().getAccountForName("Checking"), nullptr);
         }},
        {"a transaction selected", nullptr, [](BooksEditedTable& t) { transactionsWith(t, "Bread"); }},
        {"side bar rows opened and closed",
         nullptr,
         [](BooksEditedTable& t) {
             CSideBarController& sideBar = t.frame().sideBarController();
             SideBarOutlineModel& model = sideBar.outlineModel();
             for (int row = 0; row < model.rowCount(); ++row) {
                 const QModelIndex index = model.index(row, 0);
                 t.frame().v2Layout().sideBarView()->outline()->expand(index);
                 t.settle();
                 t.frame().v2Layout().sideBarView()->outline()->collapse(index);
                 t.settle();
             }
         }},
        {"the credit cards sorted by their balance", [](BooksEditedTable& t) { cardPage(t); },
         [](BooksEditedTable& t) {
             GXCreditCardViewController* page = cardPage(t);
             ASSERT_NE(page, nullptr);
             QHeaderView* header = page->topTableView()->horizontalHeader();
             const int balance = page->cardModel()->columnOf("balance");
             QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                               QPoint(header->sectionViewportPosition(balance) + 5, header->height() / 2));
             t.settle();
         }},
        {"the transactions sorted by a column", nullptr,
         [](BooksEditedTable& t) {
             GXTransactionViewController* page = t.transactionsPage();
             ASSERT_NE(page, nullptr);
             QHeaderView* header = page->table(GXTransactionViewController::Tab::Transactions)->horizontalHeader();
             QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                               QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
             t.settle();
         }},
        {"letters typed into the toolbar's search, then erased", nullptr,
         [](BooksEditedTable& t) {
             ASSERT_NE(t.transactionsPage(), nullptr);
             QLineEdit* search = t.frame().toolbar().searchField();
             search->setFocus();
             QTest::keyClicks(search, "bre");
             t.settle();
             for (int i = 0; i < 3; ++i) QTest::keyClick(search, Qt::Key_Backspace);
             t.settle();
         }},
    };
    runDisplayOnly(rows);
}

// A sheet opened to modify and okayed as it came changes nothing in the
// books: no line, amount, account or name moves. (The modification is still
// announced, so the document counts as edited.)
TEST_F(BooksEditedTable, ASheetOkayedAsItCameChangesNothingInTheBooks)
{
    // An account in dollars with an opening balance, and the dollar's rate
    // changed on the day of that opening: what was booked stays as booked.
    saved = savedBooks([this] {
        arguments::CurrencyArguments dollar;
        dollar.actionToPerform = 1;
        dollar.symbol = "USD";
        dollar.description = "US dollar";
        dollar.baseCurrencyId = books().getHomeCurrency()->getId();
        dollar.conversionQuantity = 1;
        dollar.conversionFactor = 1.10;
        books().commandExecutor().executeCommand(command::kNewCurrency, nullptr, dollar);
        std::shared_ptr<CCurRItem> usd;
        for (const auto& currency : books().mCurrencyArray())
            if (currency->mShortName() == "USD") usd = currency;
        ASSERT_NE(usd, nullptr);
        arguments::AccountArguments dollars(-1, std::string("Dollars"), std::string(), 1, *usd->getId(), std::nullopt,
                                            std::nullopt, std::nullopt, std::nullopt, 100.0, 333.33);
        ASSERT_GT(books().commandExecutor().executeCommand(13, nullptr, dollars), 0);
        dollar.actionToPerform = 2;
        dollar.conversionFactor = 1.2345;
        books().commandExecutor().executeCommand(command::kModifyCurrency, usd, dollar);
    });
    ASSERT_FALSE(saved.isEmpty());
    const std::vector<WindowAction> rows = {
        {"Books > Modify of a transaction, OK unchanged", [](BooksEditedTable& t) { transactionsWith(t, "Card payment"); },
         [](BooksEditedTable& t) {
             t.choose("MODIFYMENUITEM");
             okSheet(t);
         }},
        {"the account sheet, OK unchanged", [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             AccountCategoryPage* page = checkingPage(t);
             ASSERT_NE(page, nullptr);
             doubleClickSelectedRow(page->upperTable());
             okSheet(t);
         }},
        {"a line of the account's page opened, OK unchanged", [](BooksEditedTable& t) { checkingPage(t); },
         [](BooksEditedTable& t) {
             AccountCategoryPage* page = checkingPage(t);
             ASSERT_NE(page, nullptr);
             CV2TransactionTableView* lines = page->lowerTable();
             ASSERT_TRUE(lines && lines->model()->rowCount() > 0);
             // On the line's description: a click on its status would flag it.
             const QModelIndex cell = lines->model()->index(0, lines->horizontalHeader()->logicalIndex(2));
             const QPoint at = lines->visualRect(cell).center();
             QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, at);
             t.settle();
             okSheet(t);
         }},
        {"the currency sheet of the home currency, OK unchanged",
         [](BooksEditedTable& t) { t.showPage(localized("CURRENCYBUTTON"), 1); },
         [](BooksEditedTable& t) {
             auto* page = t.showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
             ASSERT_NE(page, nullptr);
             page->selectItem(t.books().getHomeCurrency().get());
             t.settle();
             QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("modifyButton"), Qt::LeftButton);
             t.settle();
             okSheet(t);
         }},
        {"the opening balance of the dollar account, OK unchanged",
         [](BooksEditedTable& t) { transactionsWith(t, "Opening Balance"); },
         [](BooksEditedTable& t) {
             t.choose("MODIFYMENUITEM");
             okSheet(t);
         }},
        {"the dollar account's sheet, OK unchanged",
         [](BooksEditedTable& t) {
             auto* page = t.showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
             ASSERT_NE(page, nullptr);
             clickUpperRow(*page, "Dollars");
         },
         [](BooksEditedTable& t) {
             auto* page = t.showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
             ASSERT_NE(page, nullptr);
             doubleClickSelectedRow(page->upperTable());
             okSheet(t);
         }},
        {"the dollar's sheet, OK unchanged", [](BooksEditedTable& t) { t.showPage(localized("CURRENCYBUTTON"), 1); },
         [](BooksEditedTable& t) {
             auto* page = t.showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
             ASSERT_NE(page, nullptr);
             for (const auto& currency : t.books().mCurrencyArray())
                 if (currency->mShortName() == "USD") page->selectItem(currency.get());
             t.settle();
             QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("modifyButton"), Qt::LeftButton);
             t.settle();
             okSheet(t);
         }},
        {"the customer's sheet, OK unchanged", [](BooksEditedTable& t) { t.customersPage(); },
         [](BooksEditedTable& t) {
             Owners* page = t.customersPage();
             ASSERT_NE(page, nullptr);
             doubleClickSelectedRow(page->ownerTable(Owners::Tab::Customers));
             okSheet(t);
         }},
    };
    int copy = 0;
    for (const WindowAction& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(openCopy(saved, QStringLiteral("Okayed%1.books").arg(++copy)));
        const std::vector<std::string> before = listBooks(*books().accounting());
        if (row.prepare) row.prepare(*this);
        row.act(*this);
        EXPECT_TRUE(environment.alerts().numbers().empty()) << ::testing::PrintToString(environment.alerts().numbers());
        EXPECT_EQ(listBooks(*books().accounting()), before);
        controller.discard(window());
        settle();
    }
}

} // namespace
} // namespace ch
