// The accounts and categories pages' tables and the transaction sheet's
// cells in the application's window, as a person uses them: the action
// buttons book from the selected account and for the selected category, a
// click on a heading sorts, the split views keep their positions under their
// names, an account dragged onto the cards' root becomes a card, and an
// account made from a cell's add image is booked in that row. Every change
// marks the books edited; looking and sorting do not.

#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

#include "app_test_steps.h"
#include "../ui/sheets/sheet_test_support.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "platform/core/localized_strings.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/GXSplitView.h"
#include "ui/MainToolbar.h"
#include "ui/SplitViewPosition.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemDragSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXAccountTableViewController.h"
#include "ui/pages/GXCategoryTableViewController.h"
#include "ui/pages/TableActionButton.h"
#include "ui/controls/CPopupListDataSource.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CTransactionDetailTableView.h"
#include "ui/sheets/TransactionLinesModel.h"

namespace ch {
namespace {

using namespace ch::test;

class TablesWindowTest : public ApplicationFixture {
protected:
    TablesWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        // Windows closed by earlier tests go now: while one lives, its split
        // views hold their autosave names and a new window's cannot take them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        booksPath = folder.filePath("Tables.books");
        controller.makeNewDocument(false);
        settle();
        checking = account("Checking", 1, 250.0);
        savings = account("Savings", 1, 900.0);
        loan = account("Car Loan", 2, 0.0);
        shop = account("Corner Shop", 3, 0.0);
        arguments::CategoryParameters groceries;
        groceries.name = "Groceries";
        groceries.mParentId = 1;
        groceries.mMasterTypeId = 1;
        groceriesId = books().commandExecutor().executeCommand(15, nullptr, groceries);
        book("Bakery", 8.40);
        controller.saveAs(window());
        settle();
        EXPECT_FALSE(books().isDocumentEdited());
    }

    long account(const char* name, long type, double balance)
    {
        return makeAccount(books(), name, type, nullptr, balance);
    }

    // From the checking account to the shop, for groceries.
    void book(const char* name, double amount)
    {
        bookTransaction(books(), checking, shop, groceriesId, amount, name, 20250905);
    }

    std::shared_ptr<CTrnSItem> booked(const std::string& name)
    {
        CTransactionArray* list = books().accounting()->Get_TransactionArray();
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto item = books().dataItemController().transactionItemForTrnS(list->ObjectAt(i));
            if (item && item->getName() == name) return item;
        }
        return nullptr;
    }

    // Opens the action button's menu and chooses the item of the title key.
    void chooseAction(TableActionButton* button, const char* titleKey)
    {
        ASSERT_NE(button, nullptr);
        emit button->actionMenu()->aboutToShow();
        for (QAction* item : button->actionMenu()->actions())
            if (item->objectName() == QLatin1String(titleKey)) {
                ASSERT_TRUE(item->isEnabled()) << titleKey;
                item->trigger();
                settle();
                return;
            }
        ADD_FAILURE() << "no action " << titleKey;
    }

    CCreateTransactionPopupController* transactionSheet()
    {
        auto* sheet = dynamic_cast<CCreateTransactionPopupController*>(window().books().lastSheet());
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    static QString cellText(CCreateTransactionPopupController& sheet, const char* table, int row)
    {
        auto* view = outlet<CTransactionDetailTableView>(sheet, table);
        return view ? view->linesModel()->index(row, TransactionLinesModel::kAccountColumn).data().toString()
                    : QString();
    }

    // Name and amount, then OK.
    void finish(CCreateTransactionPopupController& sheet, const char* name, const char* amount)
    {
        typeInto(outlet(sheet, "mNameField"), name);
        typeInto(outlet(sheet, "mAmountField"), amount);
        QTest::keyClick(outlet(sheet, "mAmountField"), Qt::Key_Tab);
        click(sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    }

    long checking = 0, savings = 0, loan = 0, shop = 0, groceriesId = 0;
};

TEST_F(TablesWindowTest, AccountsPageSortsByHeadingKeepsItsSplitsAndBooksFromTheSelectedAccount)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->mainSplitView()->positionAutosaveName(), "mainAccountSplitView");
    EXPECT_EQ(page->tableGraphSplitView()->positionAutosaveName(), "AccountTransactionGraphSplitView");
    EXPECT_FALSE(environment.defaults().object(splitPositionKey("mainAccountSplitView")).isAbsent());

    // A click on the balance heading sorts up, a second one down; the
    // selected account stays selected.
    clickUpperRow(*page, "Checking");
    ItemTableModel& model = *page->upperModel();
    QHeaderView* heading = page->upperTable()->horizontalHeader();
    const int balance = model.columnOf("lbal");
    ASSERT_GE(balance, 0);
    auto names = [&] {
        std::vector<std::string> shown;
        for (int row = 0; row < model.rowCount(); ++row) shown.push_back(model.itemAt(row)->getName());
        return shown;
    };
    auto clickHeading = [&] {
        QTest::mouseClick(heading->viewport(), Qt::LeftButton, {},
                          QPoint(heading->sectionViewportPosition(balance) + 8, heading->height() / 2));
        settle();
    };
    clickHeading();
    const std::vector<std::string> up = names();
    ASSERT_GE(up.size(), 2u);
    EXPECT_LT(std::find(up.begin(), up.end(), "Checking"), std::find(up.begin(), up.end(), "Savings"));
    clickHeading();
    const std::vector<std::string> down = names();
    EXPECT_GT(std::find(down.begin(), down.end(), "Checking"), std::find(down.begin(), down.end(), "Savings"));
    const QModelIndexList selected = page->upperTable()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(model.itemAt(selected.first().row())->getName(), "Checking");
    EXPECT_FALSE(books().isDocumentEdited()) << "sorting is no change to the books";

    // From the selected account.
    chooseAction(page->accountActionButton(), "350");
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(cellText(*sheet, "mFromTable", 0), "Checking");
    finish(*sheet, "Lunch", "12.50");
    const auto lunch = booked("Lunch");
    ASSERT_NE(lunch, nullptr);
    ASSERT_FALSE(lunch->mFromList().empty());
    EXPECT_EQ(lunch->mFromList()[0]->account(), std::optional<long>(checking));
    EXPECT_TRUE(books().isDocumentEdited());
}

// New Account from the toolbar while a page of accounts shows their type
// proposes that type; elsewhere it proposes none.
TEST_F(TablesWindowTest, NewAccountFromAnAccountTypesPageProposesThatType)
{
    struct Case {
        std::string page;
        int level;
        QString proposed;
    };
    const Case cases[] = {{localized("OwnProperty"), 2, QString::fromStdString(localized("OwnProperty"))},
                          {localized("Debt"), 2, QString::fromStdString(localized("Debt"))},
                          {"Transactions", 0, QString()}};
    for (const Case& c : cases) {
        ASSERT_NE(showPage(c.page, c.level), nullptr);
        frame().toolbar().itemAction("newAccount")->trigger();
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible()) << c.page;
        auto* type = outlet<QComboBox>(*sheet, "accountTypePopup");
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->currentText().toStdString(), c.proposed.toStdString()) << c.page;
        click(*sheet, "CancelButton");
        settle();
    }
}

TEST_F(TablesWindowTest, CategoriesPageBooksATransactionForTheSelectedCategory)
{
    auto* page = showPage<GXCategoryTableViewController>(localized("expenseMxpTName"), 2);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->mainSplitView()->positionAutosaveName(), "mainCategorySplitView");
    EXPECT_EQ(page->tableGraphSplitView()->positionAutosaveName(), "CategoryTransactionGraphSplitView");
    // Without a category, nothing to book for.
    emit page->accountActionButton()->actionMenu()->aboutToShow();
    for (QAction* item : page->accountActionButton()->actionMenu()->actions()) {
        if (item->objectName() == QLatin1String("352")) {
            EXPECT_FALSE(item->isEnabled());
        }
    }

    clickUpperRow(*page, "Groceries");
    chooseAction(page->accountActionButton(), "352");
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(cellText(*sheet, "mForTable", 0), "Groceries");
    finish(*sheet, "Weekly shop", "45.00");
    const auto shopping = booked("Weekly shop");
    ASSERT_NE(shopping, nullptr);
    ASSERT_FALSE(shopping->mForList().empty());
    EXPECT_EQ(shopping->mForList()[0]->getAccountName(), "Groceries");
    EXPECT_TRUE(books().isDocumentEdited());
    // The page shows the new line under the category, beside the older one.
    EXPECT_EQ(page->lowerModel()->rowCount(), 2);
}

TEST_F(TablesWindowTest, AnAccountDraggedFromItsPageOntoTheCardsRootBecomesACard)
{
    auto* page = showPage<GXAccountTableViewController>(localized("Debt"), 2);
    ASSERT_NE(page, nullptr);
    auto* source = page->upperTable()->findChild<ItemDragSource*>();
    ASSERT_NE(source, nullptr);
    clickUpperRow(*page, "Car Loan");
    std::unique_ptr<QMimeData> dragged(source->dragData());
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->text(), "Car Loan");

    GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
    const QModelIndex cards =
        openAndFindSideBarRow(frame().sideBarController().outlineModel(), localized("CREDITCARDBUTTON"), 1);
    ASSERT_TRUE(cards.isValid());
    outline.scrollTo(cards);
    settle();
    const auto [moved, dropped] = dragAndDrop(outline.viewport(), outline.visualRect(cards).center(), dragged.get());
    EXPECT_TRUE(moved);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(books().accounting()->GetAccountForID(static_cast<ObjectIdT>(loan))->Get_mAccountSpecialType(), 1);
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(TablesWindowTest, AnAccountMadeFromACellsAddImageIsBookedInThatRowAndALineBalances)
{
    frame().toolbar().itemAction("newTrans")->trigger();
    settle();
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    auto* to = outlet<CTransactionDetailTableView>(*sheet, "mToTable");
    ASSERT_NE(to, nullptr);
    EXPECT_TRUE(to->objectSource().supportsCreation());
    const QRect image = to->addImageRect(to->linesModel()->index(0, TransactionLinesModel::kAccountColumn));
    ASSERT_FALSE(image.isEmpty());
    QTest::mouseClick(to->viewport(), Qt::LeftButton, {}, image.center());
    settle();
    CPopupWindowAncestor* accountSheet = window().books().lastSheet();
    ASSERT_TRUE(accountSheet && accountSheet != sheet && accountSheet->isVisible());
    EXPECT_EQ(to->editedRow(), -1) << "the add image starts no editing";
    typeInto(outlet(*accountSheet, "nameField"), "Cash Box");
    typeInto(outlet(*accountSheet, "accountTypePopup"), "1");
    click(*accountSheet, "OKButton");
    settle();
    ASSERT_FALSE(accountSheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    CAccount* cash = books().accounting()->GetAccountForName(std::string_view("Cash Box"));
    ASSERT_NE(cash, nullptr);
    EXPECT_EQ(cellText(*sheet, "mToTable", 0), "Cash Box");

    // A from line of 10 against a total of 40, balanced from its context menu.
    QApplication::setActiveWindow(sheet);
    typeInto(outlet(*sheet, "mNameField"), "Float");
    typeInto(outlet(*sheet, "mAmountField"), "40");
    QTest::keyClick(outlet(*sheet, "mAmountField"), Qt::Key_Tab);
    auto* from = outlet<CTransactionDetailTableView>(*sheet, "mFromTable");
    from->editCell(0, TransactionLinesModel::kAmountColumn);
    ASSERT_NE(from->editor(), nullptr);
    auto* field = qobject_cast<QLineEdit*>(from->editor());
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, "10");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(from->linesModel()->lineAt(0)->getForeignAmount().value_or(0.0), 10.0);
    QAction* balance = nullptr;
    for (QAction* action : from->actions())
        if (action->objectName() == QLatin1String("balanceAction")) balance = action;
    ASSERT_NE(balance, nullptr);
    balance->trigger();
    settle();
    EXPECT_EQ(from->linesModel()->lineAt(0)->getForeignAmount().value_or(0.0), 40.0);

    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    const auto made = booked("Float");
    ASSERT_NE(made, nullptr);
    ASSERT_FALSE(made->mToList().empty());
    EXPECT_EQ(made->mToList()[0]->account(), std::optional<long>(cash->Get_Id()));
    EXPECT_EQ(made->mTotalAmount(), 40.0);
    EXPECT_TRUE(books().isDocumentEdited());
}

// Escape closes the sheet while a cell's editor is still open with an amount
// typed (the focus went to the name field): asked whether to drop it, the
// person says yes. The next New Transaction starts clean: the amount typed
// is gone, its lines follow the amount and OK books it.
TEST_F(TablesWindowTest, ASheetEscapedWithACellOpenStartsCleanTheNextTime)
{
    QAction* newTransaction = frame().toolbar().itemAction("newTrans");
    newTransaction->trigger();
    settle();
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    QApplication::setActiveWindow(sheet);
    auto* forTable = outlet<CTransactionDetailTableView>(*sheet, "mForTable");
    const QModelIndex amount = forTable->linesModel()->index(0, TransactionLinesModel::kAmountColumn);
    QTest::mouseClick(forTable->viewport(), Qt::LeftButton, {}, forTable->visualRect(amount).center());
    settle();
    ASSERT_NE(forTable->editor(), nullptr);
    QTest::keyClicks(forTable->editor(), "75");
    QWidget* name = outlet(*sheet, "mNameField");
    QTest::mouseClick(name, Qt::LeftButton);
    settle();
    ASSERT_EQ(QApplication::focusWidget(), name);
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // Yes: close without keeping them
    QTest::keyClick(name, Qt::Key_Escape);
    settle();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{375}) << "an amount typed: it asks first";
    ASSERT_FALSE(sheet->isVisible());

    newTransaction->trigger();
    settle();
    sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    QApplication::setActiveWindow(sheet);
    EXPECT_FALSE(forTable->linesModel()->index(0, TransactionLinesModel::kAmountColumn).data().toString().startsWith("75"))
        << "the amount dropped stays dropped";
    // The name is typed as the sheet opens: it replaces the proposed one.
    QTest::keyClicks(QApplication::focusWidget(), "Rent");
    EXPECT_EQ(outlet<QLineEdit>(*sheet, "mNameField")->text().toStdString(), "Rent");
    typeInto(outlet(*sheet, "mAmountField"), "120");
    QTest::keyClick(outlet(*sheet, "mAmountField"), Qt::Key_Tab);
    // What the application's event loop deletes later is gone by now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settle();
    EXPECT_EQ(forTable->editor(), nullptr);
    EXPECT_EQ(forTable->linesModel()->index(0, TransactionLinesModel::kAmountColumn).data().toString(), "120.00");
    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    const auto rent = booked("Rent");
    ASSERT_NE(rent, nullptr);
    ASSERT_EQ(rent->mForList().size(), 1u);
    EXPECT_EQ(rent->mForList()[0]->getForeignAmount(), std::optional<double>(120.0));
    EXPECT_TRUE(books().isDocumentEdited());
}

// Once a sheet has ended, the document window has the keys again: Ctrl+S
// saves right away, after OK as after Cancel.
TEST_F(TablesWindowTest, TheWindowTakesItsKeysBackWhenASheetEnds)
{
    for (const char* button : {"OKButton", "CancelButton"}) {
        frame().toolbar().itemAction("newTrans")->trigger();
        settle();
        CCreateTransactionPopupController* sheet = transactionSheet();
        ASSERT_NE(sheet, nullptr);
        QApplication::setActiveWindow(sheet);
        typeInto(outlet(*sheet, "mNameField"), "Bus ticket");
        typeInto(outlet(*sheet, "mAmountField"), "3");
        click(*sheet, button);
        settle();
        ASSERT_FALSE(sheet->isVisible());
        if (!books().isDocumentEdited()) book("Tram ticket", 2.80);
        ASSERT_TRUE(books().isDocumentEdited());
        EXPECT_EQ(QApplication::activeWindow(), &frame()) << button;
        QWidget* keys = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(keys, nullptr) << button;
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        settle();
        EXPECT_FALSE(books().isDocumentEdited()) << "Ctrl+S after " << button;
    }
}

TEST_F(TablesWindowTest, TheLinesActionButtonFlagsAndDeletesTheSelectedLine)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    clickUpperRow(*page, "Checking");
    ItemTableModel& lines = *page->lowerModel();
    int bakery = -1;
    for (int row = 0; row < lines.rowCount(); ++row)
        if (auto line = std::dynamic_pointer_cast<CDebetItem>(lines.itemAt(row));
            line && line->parentTransaction() && line->parentTransaction()->getName() == "Bakery")
            bakery = row;
    ASSERT_GE(bakery, 0);
    const QRect cell = page->lowerTable()->visualRect(lines.index(bakery, lines.columnOf("description")));
    QTest::mouseClick(page->lowerTable()->viewport(), Qt::LeftButton, {}, cell.center());
    settle();

    chooseAction(page->transactionActionButton(), "FLAGMENUITEM");
    ASSERT_NE(booked("Bakery"), nullptr);
    EXPECT_EQ(booked("Bakery")->objectStatus() & 0xFF, 7);
    EXPECT_TRUE(books().isDocumentEdited());

    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    chooseAction(page->transactionActionButton(), "DELETEMENUITEM");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{226});
    EXPECT_EQ(booked("Bakery"), nullptr);
    for (int row = 0; row < lines.rowCount(); ++row) {
        const auto line = std::dynamic_pointer_cast<CDebetItem>(lines.itemAt(row));
        EXPECT_TRUE(line && line->parentTransaction() && line->parentTransaction()->getName() != "Bakery");
    }
}

TEST_F(TablesWindowTest, ACategoryMadeFromTheCellsMenuLandsInItsRow)
{
    frame().toolbar().itemAction("newTrans")->trigger();
    settle();
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    auto* forTable = outlet<CTransactionDetailTableView>(*sheet, "mForTable");
    ASSERT_NE(forTable, nullptr);
    forTable->selectRow(0);
    QAction* create = nullptr;
    for (QAction* action : forTable->actions())
        if (action->objectName() == QLatin1String("newObjectAction")) create = action;
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->text().toStdString(), localized("356"));
    create->trigger();
    settle();
    CPopupWindowAncestor* categorySheet = window().books().lastSheet();
    ASSERT_TRUE(categorySheet && categorySheet != sheet && categorySheet->isVisible());
    typeInto(outlet(*categorySheet, "nameField"), "Pet Food");
    typeInto(outlet(*categorySheet, "masterTypeField"), "1");
    click(*categorySheet, "OKButton");
    settle();
    ASSERT_FALSE(categorySheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_EQ(cellText(*sheet, "mForTable", 0), "Pet Food");
    finish(*sheet, "Kibble", "19.99");
    const auto kibble = booked("Kibble");
    ASSERT_NE(kibble, nullptr);
    ASSERT_FALSE(kibble->mForList().empty());
    EXPECT_EQ(kibble->mForList()[0]->getAccountName(), "Pet Food");
    EXPECT_TRUE(books().isDocumentEdited());
}

} // namespace
} // namespace ch
