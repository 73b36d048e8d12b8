// File > Revert as a person uses it: a change booked on a page, File > Revert
// chosen by its title and the question answered with its button; then the
// window shows the books as they were saved, not edited, and every page,
// list and outline works on: rows are selected, pages switched, and a new
// booking goes into the reverted books and their journal. Once with the
// side bar's pages, once in the classic layout, and once with statement
// lines pending on the import page and a budget shown. The side bar's row
// shown stays when the books read have it. A warning about the file read
// comes over the window built anew; a file that can no longer be read
// leaves the window and its unsaved changes as they were.

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QTreeView>

#include <fstream>

#include "../ui/sheets/sheet_test_support.h"
#include "analysis/views/BudgetSheets.h"
#include "app_test_steps.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CTrnSItem.h"
#include "business/views/GXOwnerViewController.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/commands/CommandJournalReader.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ImportPage.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "platform/core/alerts.h"
#include "ui/MainToolbar.h"
#include "ui/QuickEntryPane.h"
#include "ui/SideBarRowPath.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/CBudgetPageController.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/ClassicTransactionLists.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch::test {
namespace {

using Tab = GXTransactionViewController::Tab;
using List = ClassicTransactionLists::List;

// One line paid to the corner shop from the checking account.
const std::string kStatement = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250910<TRNAMT>-42.50<FITID>1<NAME>FRESH MARKET</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

class RevertWindowTest : public ApplicationFixture {
protected:
    RevertWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        // Split views of windows closed by earlier tests free their names.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Saved books: a checking account, a shop, groceries and "Bread" bought.
    void makeBooks()
    {
        controller.makeNewDocument(false);
        settle();
        const long checking = makeAccount(books(), "Checking", 1, "111-2223334-55");
        const long shop = makeAccount(books(), "Corner Shop", 3);
        arguments::CategoryParameters groceries;
        groceries.name = "Groceries";
        groceries.mParentId = 1;
        groceries.mMasterTypeId = 1;
        const long groceriesId = books().commandExecutor().executeCommand(15, nullptr, groceries);
        bookTransaction(books(), checking, shop, groceriesId, 4.5, "Bread", 20250903);
        booksPath = folder.filePath("Revert.books");
        ASSERT_TRUE(controller.saveAs(window()));
        ASSERT_FALSE(books().isDocumentEdited());
        activate();
    }

    void activate()
    {
        frame().activateWindow();
        QApplication::setActiveWindow(&frame());
        settle();
    }

    // File > Revert by its title, answered with the question's Revert button.
    void revertByMenu()
    {
        choose(localizedText("REVERTDOCUMENTMENUITEM"));
        QMessageBox* question = controller.openQuestion();
        ASSERT_NE(question, nullptr);
        ASSERT_EQ(question->objectName(), "revertQuestion");
        auto* button = question->findChild<QPushButton*>("revert");
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text().toStdString(), localized("REVERTBUTTON"));
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
        ASSERT_EQ(controller.windows().size(), 1u);
        activate();
    }

    // The books as saved, neither edited nor with a journal of changes.
    void expectSavedBooks(const char* gone)
    {
        EXPECT_EQ(transactionsNamed(gone), 0);
        EXPECT_EQ(transactionsNamed("Bread"), 1);
        EXPECT_FALSE(books().isDocumentEdited());
        EXPECT_FALSE(frame().isWindowModified());
        EXPECT_TRUE(readCommandJournalFile(books().journalFileName()).items.empty());
    }

    // A change after the revert: in the books, edited, and in the journal.
    void expectBookedAfterRevert(const char* name)
    {
        EXPECT_EQ(transactionsNamed(name), 1);
        EXPECT_TRUE(books().isDocumentEdited());
        EXPECT_FALSE(readCommandJournalFile(books().journalFileName()).items.empty());
    }


    GXTransactionViewController* transactionsPage()
    {
        choose("TRANSBUTTON");
        auto* page = dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController());
        EXPECT_NE(page, nullptr);
        return page;
    }

    static std::vector<std::string> namesShown(CNonVisualDataItemArrayController& rows)
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i) names.push_back(rows.arrangedObjectAt(i)->getName());
        return names;
    }

    // A click on the row of the transaction named so.
    void clickRow(QTableView* table, CNonVisualDataItemArrayController& rows, const std::string& name,
                  bool twice = false)
    {
        activate();
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (rows.arrangedObjectAt(i)->getName() == name) {
                const QModelIndex cell = table->model()->index(int(i), 1);
                table->scrollTo(cell);
                const QPoint at = table->visualRect(cell).center();
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
                if (twice) QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
                settle();
                return;
            }
        ADD_FAILURE() << "no row " << name;
    }

    // Typed into the side bar's Quick Entry and booked with its button.
    void quickEntry(const char* name, const char* amount)
    {
        bookInQuickEntry(frame(), "12.09.2025", "Corner Shop", "Checking", amount, name);
    }

    // The sheet open now, renamed, then OK.
    void confirmSheet(const char* name)
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        typeInto(outlet(*sheet, "mNameField"), name);
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    }

    // Copy and paste by their keys on the row, the copy renamed.
    void pasteCopyOf(QTableView* table, CNonVisualDataItemArrayController& rows, const char* of, const char* name)
    {
        clickRow(table, rows, of);
        QTest::keySequence(table, QKeySequence::Copy);
        QTest::keySequence(table, QKeySequence::Paste);
        settle();
        confirmSheet(name);
    }

    // The outline's row of that name, opened down to it, clicked.
    void clickOutlineRow(QTreeView& outline, const std::string& name)
    {
        activate();
        const QModelIndex row = outlineRow(outline, name, {});
        ASSERT_TRUE(row.isValid()) << name;
        settle();
        QTest::mouseClick(outline.viewport(), Qt::LeftButton, {}, outline.visualRect(row).center());
        settle();
    }

    void toolbarItem(const char* identifier)
    {
        QAction* item = frame().toolbar().itemAction(identifier);
        ASSERT_NE(item, nullptr) << identifier;
        item->trigger();
        settle();
    }

    static QString counterAccountShown(ImportPage& page)
    {
        return page.model().data(page.model().index(0, CImportedTransactionArrayController::CounterAccount)).toString();
    }

    // The budget's category side, Groceries and its first month clicked.
    void lookAtGroceries(CBudgetPageController& page)
    {
        auto* sides = page.findChild<QTabWidget*>();
        ASSERT_NE(sides, nullptr);
        clickTab(*sides, localizedText("BUDGETCATEGORYSIDE"));
        clickOutlineRow(*page.outlineView(false), "Groceries");
        QTableWidget* table = page.budgetTable(false);
        ASSERT_GT(table->rowCount(), 0);
        ASSERT_GT(table->columnCount(), 1);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(0, 1)).center());
        settle();
        EXPECT_EQ(page.selectedMonth(false), 0);
    }

};

TEST_F(RevertWindowTest, SideBarPagesShowTheSavedBooksAndWorkOn)
{
    makeBooks();
    frame().resize(1100, 700);
    settle();
    GXTransactionViewController* page = transactionsPage();
    ASSERT_NE(page, nullptr);
    quickEntry("Lunch", "-12.50");
    ASSERT_EQ(transactionsNamed("Lunch"), 1);
    ASSERT_TRUE(books().isDocumentEdited());
    clickRow(page->table(Tab::Transactions), page->controller(Tab::Transactions), "Lunch");
    ASSERT_EQ(page->selectedTransaction()->getName(), "Lunch");
    // Pages of other kinds were seen too: each holds rows of the books.
    ASSERT_NE(showPage(localized("OwnProperty"), -1), nullptr);
    ASSERT_NE(showPage(localized("OWNERSTABCUSTOMERS"), 2), nullptr);
    transactionsPage();

    revertByMenu();
    expectSavedBooks("Lunch");
    EXPECT_EQ(frame().size(), QSize(1100, 700)) << "the window stays as it was";

    // The transactions page lists the saved books; rows are selected by clicks.
    page = transactionsPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(namesShown(page->controller(Tab::Transactions)), std::vector<std::string>{"Bread"});
    clickRow(page->table(Tab::Transactions), page->controller(Tab::Transactions), "Bread");
    ASSERT_NE(page->selectedTransaction(), nullptr);
    EXPECT_EQ(page->selectedTransaction()->getName(), "Bread");

    // Other pages, one after the other.
    auto* accounts = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(accounts, nullptr);
    clickUpperRow(*accounts, "Checking");
    ASSERT_NE(showPage(localized("expenseMxpTName"), -1), nullptr);
    ASSERT_NE(showPage<business::GXOwnerViewController>(localized("OWNERSTABCUSTOMERS"), 2), nullptr);
    ASSERT_NE(showPage("VAT Rates", 2), nullptr);
    ASSERT_NE(showPage(localized("CURRENCYBUTTON"), 1), nullptr);
    EXPECT_FALSE(books().isDocumentEdited()) << "looking changes nothing";

    // Booked again through Quick Entry: the page lists it.
    page = transactionsPage();
    quickEntry("Supper", "-20.00");
    expectBookedAfterRevert("Supper");
    EXPECT_EQ(namesShown(page->controller(Tab::Transactions)), (std::vector<std::string>{"Supper", "Bread"}));
    clickRow(page->table(Tab::Transactions), page->controller(Tab::Transactions), "Supper");
    EXPECT_EQ(page->selectedTransaction()->getName(), "Supper");
}

TEST_F(RevertWindowTest, TheSideBarRowShownStaysWhileTheBooksReadHaveIt)
{
    makeBooks();
    transactionsPage();
    quickEntry("Lunch", "-12.50");
    auto* accounts = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(accounts, nullptr);
    clickUpperRow(*accounts, "Checking");
    const std::vector<std::string> shown = selectedRowPath(frame().sideBarController());
    ASSERT_EQ(shown.size(), 3u) << "the header, its kind, the account type";

    revertByMenu();
    expectSavedBooks("Lunch");
    CSideBarController& sideBar = frame().sideBarController();
    EXPECT_EQ(selectedRowPath(sideBar), shown);
    accounts = dynamic_cast<AccountCategoryPage*>(sideBar.currentController());
    ASSERT_NE(accounts, nullptr);
    clickUpperRow(*accounts, "Checking");

    // A row the books read do not have: the window opens on the transactions.
    arguments::AccountTypeArguments banks;
    banks.accountTypeName = "Banks";
    banks.theMasterType = 1;
    banks.theAccountTypeId = 1;
    books().commandExecutor().executeCommand(11, nullptr, banks);
    ASSERT_NE(showPage("Banks", -1), nullptr);
    revertByMenu();
    EXPECT_NE(dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController()), nullptr);
}

TEST_F(RevertWindowTest, ClassicLayoutShowsTheSavedBooksAndWorksOn)
{
    makeBooks();
    choose(localizedText("CLASSICLAYOUTMENUITEM"));
    ASSERT_TRUE(frame().classicLayoutOn());
    ClassicTransactionLists* lists = &frame().classicLayout()->transactionLists();
    pasteCopyOf(lists->table(List::Transactions), lists->controller(List::Transactions), "Bread", "Cake");
    ASSERT_EQ(transactionsNamed("Cake"), 1);
    ASSERT_TRUE(books().isDocumentEdited());
    // The accounts tab's outline and its transactions show a row of the books.
    clickTab(*frame().classicLayout(), localizedText("CLASSICACNT"));
    clickOutlineRow(*frame().classicLayout()->propertyTable(), "Checking");
    clickTab(*frame().classicLayout(), localizedText("CLASSICTRNS"));

    revertByMenu();
    expectSavedBooks("Cake");
    ASSERT_TRUE(frame().classicLayoutOn()) << "the layout stays";
    EXPECT_EQ(frame().currentMainTab(), "trns");

    lists = &frame().classicLayout()->transactionLists();
    EXPECT_EQ(namesShown(lists->controller(List::Transactions)), std::vector<std::string>{"Bread"});
    clickRow(lists->table(List::Transactions), lists->controller(List::Transactions), "Bread");
    const auto selected = lists->table(List::Transactions)->selectedTransactions();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected.front()->getName(), "Bread");
    clickTab(*lists, localizedText("RECURRINGBUTTON"));
    clickTab(*lists, localizedText("TRANSBUTTON"));

    ClassicLayout& classic = *frame().classicLayout();
    clickTab(classic, localizedText("CLASSICACNT"));
    EXPECT_EQ(frame().currentMainTab(), "acnt");
    clickOutlineRow(*classic.propertyTable(), "Checking");
    clickTab(classic, localizedText("CLASSICEXPT"));
    QTest::mouseClick(classic.switchButton("mExptExpenseButton"), Qt::LeftButton);
    clickOutlineRow(*classic.incomeTable(), "Groceries");
    EXPECT_FALSE(books().isDocumentEdited()) << "looking changes nothing";

    // Booked again through the sheet: the list shows it.
    clickTab(classic, localizedText("CLASSICTRNS"));
    pasteCopyOf(lists->table(List::Transactions), lists->controller(List::Transactions), "Bread", "Tea");
    expectBookedAfterRevert("Tea");
    EXPECT_EQ(namesShown(lists->controller(List::Transactions)), (std::vector<std::string>{"Tea", "Bread"}));
}

TEST_F(RevertWindowTest, PendingStatementLinesAndAShownBudgetOutliveTheRevert)
{
    makeBooks();
    // A budget, saved with the books.
    toolbarItem("budgets");
    auto* budgets = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    ASSERT_NE(budgets, nullptr);
    choose(localizedText("NewBud"));
    auto* made = dynamic_cast<CNewBudgetController*>(budgets->openSheet());
    ASSERT_TRUE(made && made->isVisible());
    typeInto(made->budgetNameField, "Plan");
    click(*made, "OKButton");
    settle();
    ASSERT_NE(budgets->selectedBudget(), nullptr);
    ASSERT_TRUE(controller.save(window()));

    // The statement's line pays an account made after the save.
    statementPath = folder.filePath("september.ofx");
    std::ofstream(statementPath.toStdString(), std::ios::binary) << kStatement;
    makeAccount(books(), "Fresh Market", 3);
    choose("importOFX");
    auto* import = dynamic_cast<ImportPage*>(frame().mainTab("Import"));
    ASSERT_TRUE(import && import->isVisible());
    ASSERT_EQ(import->model().rowCount(), 1);
    ASSERT_EQ(counterAccountShown(*import), "Fresh Market");
    ASSERT_TRUE(import->model().lineAt(0)->isComplete());
    // Then the budget is shown: Groceries and a month of it clicked.
    toolbarItem("budgets");
    lookAtGroceries(*budgets);

    revertByMenu();
    EXPECT_FALSE(books().isDocumentEdited());
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_EQ(books().getAccountForName("Fresh Market"), nullptr);
    EXPECT_EQ(frame().currentMainTab(), "budg") << "the page shown stays";
    budgets = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    ASSERT_NE(budgets, nullptr);
    ASSERT_NE(budgets->selectedBudget(), nullptr);
    EXPECT_EQ(budgets->selectedBudget()->getName(), "Plan");
    lookAtGroceries(*budgets);

    // The line waits on, no longer paying an account the books lack, so it
    // cannot be booked on one.
    toolbarItem("import");
    import = dynamic_cast<ImportPage*>(frame().mainTab("Import"));
    ASSERT_TRUE(import && import->isVisible());
    ASSERT_EQ(import->model().rowCount(), 1);
    const auto line = import->model().lineAt(0);
    EXPECT_FALSE(line->isComplete());
    EXPECT_EQ(counterAccountShown(*import), "");
    QTest::mouseClick(import->table()->viewport(), Qt::LeftButton, {},
                      import->table()->visualRect(import->model().index(0, 1)).center());
    settle();
    EXPECT_EQ(import->currentImportedTransaction(), line);
    EXPECT_FALSE(books().isDocumentEdited());
}

TEST_F(RevertWindowTest, AFileThatCannotBeReadLeavesTheWindowAndItsChanges)
{
    makeBooks();
    GXTransactionViewController* page = transactionsPage();
    ASSERT_NE(page, nullptr);
    quickEntry("Lunch", "-12.50");
    std::ofstream(booksPath.toStdString(), std::ios::binary | std::ios::trunc) << "no books";
    const DocumentWindowFrame* before = &frame();

    environment.alerts().clear();
    revertByMenu();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{172});
    EXPECT_EQ(&frame(), before);
    EXPECT_EQ(transactionsNamed("Lunch"), 1);
    EXPECT_TRUE(books().isDocumentEdited());
    EXPECT_TRUE(frame().isWindowModified());
    clickRow(page->table(Tab::Transactions), page->controller(Tab::Transactions), "Bread");
    EXPECT_EQ(page->selectedTransaction()->getName(), "Bread");
}

// Notes, for each message, whether the window stood behind it.
class WindowBehindMessages final : public AlertPresenter {
public:
    explicit WindowBehindMessages(DocumentWindow& window) : mWindow(window) {}
    void showError(const Alert& alert) override { note(alert); }
    void showInfo(const Alert& alert) override { note(alert); }
    AlertAnswer askQuestion(const Alert& alert) override
    {
        note(alert);
        return AlertAnswer::Default;
    }
    std::vector<std::pair<long, bool>> told;

private:
    void note(const Alert& alert) { told.emplace_back(alert.number, mWindow.frame() && mWindow.frame()->isVisible()); }
    DocumentWindow& mWindow;
};

TEST_F(RevertWindowTest, AWarningAboutTheFileReadComesOverTheWindowBuiltAnew)
{
    makeBooks();
    // The business part of the file can no longer be read.
    std::vector<std::uint8_t> bytes = books().modelStreamBytes();
    const std::string noArchive = "not an archive at all";
    bytes.insert(bytes.end(), noArchive.begin(), noArchive.end());
    std::ofstream(booksPath.toStdString(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    transactionsPage();
    quickEntry("Lunch", "-12.50");

    WindowBehindMessages watch(window());
    ScopedAlertPresenter scope(watch);
    revertByMenu();
    EXPECT_EQ(watch.told, (std::vector<std::pair<long, bool>>{{281, true}}));
    EXPECT_EQ(transactionsNamed("Lunch"), 0);
    EXPECT_TRUE(books().mustSaveUnderNewName());
}

} // namespace
} // namespace ch::test
