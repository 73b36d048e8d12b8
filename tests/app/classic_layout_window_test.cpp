// The classic layout as a person uses it: chosen in the View menu, it
// replaces the side bar in the open window at once (the books, their
// unsaved changes and the selected transaction stay), every window follows,
// and the choice is there again in a new window and after a restart. Then
// each of its tabs worked from the window: keys, menu items by their
// titles, double clicks, the context menu, the toolbar and drags between
// the outline's rows; each change marks the books edited.

#include <functional>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QTreeView>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CRecurringTransaction.h"
#include "model/CMasterExpenseType.h"
#include "platform/core/user_defaults_store.h"
#include "ui/MainToolbar.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/ClassicTransactionLists.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch::test {
namespace {

using List = ClassicTransactionLists::List;

class ClassicLayoutWindowTest : public ApplicationFixture {
protected:
    ClassicLayoutWindowTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }

    // Saved books: a checking account, a savings account, a shop, groceries,
    // "Bread" and "Milk" bought, a statement line not yet booked, an own
    // sub-type "Banks" and an expense sub-group "Household".
    void makeBooks()
    {
        controller.makeNewDocument(false);
        settle();
        checking = makeAccount(books(), "Checking", 1);
        savings = makeAccount(books(), "Savings", 1);
        shop = makeAccount(books(), "Corner Shop", 3);
        arguments::CategoryParameters groceries;
        groceries.name = "Groceries";
        groceries.mParentId = 1;
        groceries.mMasterTypeId = 1;
        groceriesId = books().commandExecutor().executeCommand(15, nullptr, groceries);
        arguments::AccountTypeArguments banks;
        banks.accountTypeName = "Banks";
        banks.theMasterType = 1;
        banks.theAccountTypeId = 1;
        books().commandExecutor().executeCommand(11, nullptr, banks);
        arguments::CategoryGroupParameters household;
        household.name = "Household";
        household.mParentId = 1;
        household.mMasterType = 1;
        books().commandExecutor().executeCommand(17, nullptr, household);
        bookTransaction(books(), checking, shop, groceriesId, 4.5, "Bread", 20250903);
        bookTransaction(books(), checking, shop, groceriesId, 1.2, "Milk", 20250905);
        arguments::ImportTransactionArguments line;
        line.name = "Statement line";
        line.valueDate = 20250906;
        line.amount = 30.0;
        line.fromAccountId = checking;
        books().commandExecutor().executeCommand(31, nullptr, line);
        ASSERT_EQ(books().accounting()->mUnlinkedList->GetCount(), 1u) << "a line the statement could not book";
        booksPath = folder.filePath("Classic.books");
        ASSERT_TRUE(controller.saveAs(window()));
        ASSERT_FALSE(books().isDocumentEdited());
        frame().activateWindow();
        QApplication::setActiveWindow(&frame());
        settle();
    }

    ClassicLayout& classic()
    {
        ClassicLayout* layout = frame().classicLayout();
        EXPECT_NE(layout, nullptr);
        return *layout;
    }

    void chooseTitled(const char* key) { choose(QString::fromStdString(localized(key))); }

    QAction* viewItem(const char* name)
    {
        return frame().menuBar()->findChild<QMenu*>("VIEWMENU")->findChild<QAction*>(name);
    }

    void clickTab(QTabWidget& tabs, const char* key) { test::clickTab(tabs, localizedText(key)); }

    // The list's row of the transaction named so, clicked; its index.
    QModelIndex clickTransaction(List list, const std::string& name, bool twice = false)
    {
        activate();
        CTransactionTableView* table = classic().transactionLists().table(list);
        CNonVisualDataItemArrayController& rows = classic().transactionLists().controller(list);
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (rows.arrangedObjectAt(i)->getName() == name) {
                const QModelIndex cell = table->model()->index(int(i), table->mRows->columnOf("description"));
                table->scrollTo(cell);
                const QPoint at = table->visualRect(cell).center();
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
                if (twice) QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
                settle();
                return cell;
            }
        ADD_FAILURE() << "no transaction " << name;
        return {};
    }

    QPoint rowCentre(QTreeView& outline, const std::string& name)
    {
        const QModelIndex row = outlineRow(outline, name);
        EXPECT_TRUE(row.isValid()) << name;
        settle();
        return outline.visualRect(row).center();
    }
    // A click into the window makes it the active one again (a sheet was over it).
    void activate()
    {
        QApplication::setActiveWindow(&frame());
        settle();
    }
    void clickOutlineRow(QTreeView& outline, const std::string& name, Qt::MouseButton button = Qt::LeftButton)
    {
        activate();
        QTest::mouseClick(outline.viewport(), button, {}, rowCentre(outline, name));
        settle();
    }
    // The right button on the row, then the context menu's item of the title.
    // The item of the command is titled by the row's object.
    void chooseFromContextMenu(CNonVisualTable& outline, const std::string& row, int tag)
    {
        const QPoint at = rowCentre(outline, row);
        QTest::mouseClick(outline.viewport(), Qt::RightButton, {}, at);
        ASSERT_NE(outline.getCurrentItem(), nullptr);
        const QString title = QString::fromStdString(outline.getCurrentItem()->validateMenuItem(tag).title.value());
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, outline.viewport()->mapToGlobal(at));
        QApplication::sendEvent(outline.viewport(), &event);
        settle();
        QMenu* menu = classic().contextMenu(&outline);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(menu->isVisible());
        for (QAction* item : menu->actions())
            if (item->text() == title) {
                ASSERT_TRUE(item->isEnabled()) << title.toStdString();
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                settle();
                return;
            }
        ADD_FAILURE() << "no context menu item " << title.toStdString();
    }

    CPopupWindowAncestor* openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }
    // The sheet open now, the field typed into when given, then OK; whether it closed.
    bool confirmSheet(const char* field = nullptr, const char* text = nullptr)
    {
        CPopupWindowAncestor* sheet = openSheet();
        if (!sheet) return false;
        if (field) typeInto(outlet(*sheet, field), QString::fromUtf8(text));
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
        return !sheet->isVisible();
    }


    // The change is on disk as the books say: saved, then marked edited again.
    void expectEditedThenSave(const char* what)
    {
        EXPECT_TRUE(books().isDocumentEdited()) << what;
        ASSERT_TRUE(controller.save(window()));
        settle();
    }

    long checking = 0, savings = 0, shop = 0, groceriesId = 0;
};

TEST_F(ClassicLayoutWindowTest, ChosenInTheViewMenuTheWindowSwitchesAtOnceKeepingBooksAndSelection)
{
    makeBooks();
    // On the side bar's transactions page "Milk" is selected, and an unsaved
    // change waits.
    frame().showMainTab("V2");
    choose("TRANSBUTTON");
    auto* page = dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController());
    ASSERT_NE(page, nullptr);
    using Tab = GXTransactionViewController::Tab;
    for (std::size_t i = 0; i < page->controller(Tab::Transactions).arrangedCount(); ++i)
        if (page->controller(Tab::Transactions).arrangedObjectAt(i)->getName() == "Milk")
            page->selectItem(Tab::Transactions, page->controller(Tab::Transactions).arrangedObjectAt(i).get());
    makeAccount(books(), "Cash", 1);
    ASSERT_TRUE(books().isDocumentEdited());
    const MyDocument* before = &books();
    EXPECT_TRUE(viewItem("sideBarLayout")->isChecked());

    chooseTitled("CLASSICLAYOUTMENUITEM");
    EXPECT_TRUE(frame().classicLayoutOn());
    EXPECT_TRUE(viewItem("classicLayout")->isChecked());
    EXPECT_FALSE(viewItem("sideBarLayout")->isChecked());
    auto* stack = frame().findChild<QStackedWidget*>("mMainTab");
    EXPECT_EQ(stack->currentWidget(), frame().classicLayout());
    EXPECT_TRUE(classic().isVisible());
    EXPECT_EQ(frame().currentMainTab(), "trns");
    EXPECT_EQ(&books(), before);
    EXPECT_TRUE(books().isDocumentEdited()) << "the unsaved change is still there";
    EXPECT_TRUE(environment.defaults().boolForKey("GXClassicLayout"));
    const auto selected = classic().transactionTable()->selectedTransactions();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected.front()->getName(), "Milk");

    // The pages the classic layout has none of still open on the side bar;
    // View > Overview brings the classic layout back.
    choose("SHAREBUTTON");
    EXPECT_EQ(frame().currentMainTab(), "V2");
    EXPECT_TRUE(frame().classicLayoutOn());
    choose("MAINBUTTON");
    EXPECT_EQ(frame().currentMainTab(), "trns");
    choose("ACCOUNTBUTTON");
    EXPECT_EQ(frame().currentMainTab(), "acnt");

    // A second window follows the choice; back to the side bar, both go back.
    DocumentWindowFrame& first = frame();
    DocumentWindowFrame& second = *controller.makeNewDocument(false).frame();
    settle();
    EXPECT_TRUE(second.classicLayoutOn());
    EXPECT_EQ(second.currentMainTab(), "trns");
    QAction* sideBar = first.menuBar()->findChild<QMenu*>("VIEWMENU")->findChild<QAction*>("sideBarLayout");
    EXPECT_EQ(sideBar->text().toStdString(), localized("SIDEBARLAYOUTMENUITEM"));
    sideBar->trigger();
    settle();
    EXPECT_FALSE(first.classicLayoutOn());
    EXPECT_FALSE(second.classicLayoutOn());
    EXPECT_EQ(first.currentMainTab(), "V2");
    EXPECT_EQ(page->selectedTransaction()->getName(), "Milk");
    EXPECT_TRUE(before->isDocumentEdited());
    controller.discard(*controller.windows().back());
    settle();

    // Chosen again, it is the layout of every window from now on, also
    // when the application starts anew and opens the books.
    chooseTitled("CLASSICLAYOUTMENUITEM");
    UserDefaultsStore store(folder.filePath("preferences.plist").toStdString());
    ASSERT_TRUE(store.save(environment.defaults()));
    UserDefaults restarted;
    setFirstStartDefaults(restarted);
    ASSERT_EQ(store.load(restarted), UserDefaultsStore::LoadOutcome::Loaded);
    ScopedUserDefaults scope(restarted);
    DocumentController application(restarted, dispatcher);
    application.setUntitledJournalFolder(folder.path().toStdString());
    ApplicationShell restartedShell(restarted, dispatcher, &store);
    restartedShell.setDocumentHost(&application);
    ASSERT_TRUE(application.openDocumentFile(booksPath.toStdString()));
    settle();
    ASSERT_EQ(application.windows().size(), 1u);
    DocumentWindow& reopened = *application.windows().front();
    EXPECT_TRUE(reopened.frame()->classicLayoutOn());
    EXPECT_EQ(reopened.frame()->currentMainTab(), "trns");
    auto* reopenedStack = reopened.frame()->findChild<QStackedWidget*>("mMainTab");
    EXPECT_EQ(reopenedStack->currentWidget(), reopened.frame()->classicLayout());
    application.discard(reopened);
    settle();
}

TEST_F(ClassicLayoutWindowTest, TransactionsTabWorksByKeysMenusDoubleClicksButtonsAndToolbar)
{
    makeBooks();
    chooseTitled("CLASSICLAYOUTMENUITEM");
    ClassicTransactionLists& lists = classic().transactionLists();

    // Delete: the question answered OK, the transaction is gone.
    clickTransaction(List::Transactions, "Bread");
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    QTest::keyClick(lists.table(List::Transactions), Qt::Key_Delete);
    settle();
    EXPECT_EQ(transactionsNamed("Bread"), 0);
    EXPECT_EQ(lists.controller(List::Transactions).arrangedCount(), 1u) << "the row left the list";
    expectEditedThenSave("deleted by the Delete key");

    // Copy and paste by their keys: the sheet of a new transaction from the copy.
    clickTransaction(List::Transactions, "Milk");
    QTest::keySequence(lists.table(List::Transactions), QKeySequence::Copy);
    QTest::keySequence(lists.table(List::Transactions), QKeySequence::Paste);
    settle();
    ASSERT_TRUE(confirmSheet());
    EXPECT_EQ(transactionsNamed("Milk"), 2);
    const auto made = lists.table(List::Transactions)->selectedTransactions();
    ASSERT_EQ(made.size(), 1u) << "the new transaction is selected";
    expectEditedThenSave("pasted");

    // A double click opens the transaction to change it.
    clickTransaction(List::Transactions, "Milk", true);
    ASSERT_TRUE(confirmSheet("mNameField", "Oat milk"));
    EXPECT_EQ(transactionsNamed("Oat milk"), 1);
    expectEditedThenSave("changed after a double click");

    // Edit > Duplicate First Transaction, chosen by its title: the newest one.
    chooseTitled("DUPLICATEFIRSTMENUITEM");
    ASSERT_TRUE(confirmSheet());
    EXPECT_EQ(lists.controller(List::Transactions).arrangedCount(), 3u);
    expectEditedThenSave("duplicated");

    // The unlinked statement line: its tab, the row, Books > Link Transaction.
    clickTab(lists, "GENERATEDBUTTON");
    clickTransaction(List::Unlinked, "Statement line");
    chooseTitled("LINKMENUITEM");
    EXPECT_EQ(books().accounting()->mUnlinkedList->GetCount(), 0u);
    EXPECT_EQ(transactionsNamed("Statement line"), 1);
    EXPECT_EQ(lists.controller(List::Unlinked).arrangedCount(), 0u);
    expectEditedThenSave("booked");

    // The toolbar's Delete, with a row of the posted list selected.
    clickTab(lists, "TRANSBUTTON");
    clickTransaction(List::Transactions, "Statement line");
    ASSERT_TRUE(frame().toolbar().itemAction("deleteObject")->isEnabled());
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    frame().toolbar().itemAction("deleteObject")->trigger();
    settle();
    EXPECT_EQ(transactionsNamed("Statement line"), 0);
    expectEditedThenSave("deleted from the toolbar");

    // The recurring list's Add button opens the recurring sheet.
    clickTab(lists, "RECURRINGBUTTON");
    QTest::mouseClick(lists.button("mAddRecurringTrnsButton"), Qt::LeftButton);
    settle();
    CPopupWindowAncestor* sheet = openSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_NE(dynamic_cast<CCreateRecurringTrnsPopupController*>(sheet), nullptr);
    click(*sheet, "CancelButton");
    settle();

    // The toolbar's search narrows the lists.
    clickTab(lists, "TRANSBUTTON");
    activate();
    QLineEdit* search = frame().toolbar().searchField();
    search->setFocus();
    QTest::keyClicks(search, "oat");
    QTest::keyClick(search, Qt::Key_Return);
    settle();
    CNonVisualDataItemArrayController& shown = lists.controller(List::Transactions);
    ASSERT_GT(shown.arrangedCount(), 0u);
    for (std::size_t i = 0; i < shown.arrangedCount(); ++i)
        EXPECT_EQ(shown.arrangedObjectAt(i)->getName(), "Oat milk");
    EXPECT_EQ(shown.arrangedCount(), std::size_t(transactionsNamed("Oat milk")));
    EXPECT_FALSE(books().isDocumentEdited()) << "looking changes nothing";
}

// Cut is a move: the transaction leaves the books (after the question) and
// Paste books it again, with its amount and accounts; in the classic layout
// by the keys, in the side-bar layout by the Edit menu's items. Where
// nothing can be cut, Cut is disabled.
TEST_F(ClassicLayoutWindowTest, CutThenPasteMovesTheTransactionInBothLayouts)
{
    makeBooks();
    auto balance = [&](long id) { return books().getAccountForId(static_cast<ObjectIdT>(id))->Get_mBalance(); };
    const double checkingBefore = balance(checking), shopBefore = balance(shop);
    chooseTitled("CLASSICLAYOUTMENUITEM");
    ClassicTransactionLists& lists = classic().transactionLists();

    clickTransaction(List::Transactions, "Bread");
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK to the question
    QTest::keySequence(lists.table(List::Transactions), QKeySequence::Cut);
    settle();
    // Asked as a cut, not as a deletion that "cannot be undone".
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{399});
    EXPECT_EQ(transactionsNamed("Bread"), 0);
    EXPECT_DOUBLE_EQ(balance(checking), checkingBefore + 4.5);
    expectEditedThenSave("cut");
    QTest::keySequence(lists.table(List::Transactions), QKeySequence::Paste);
    settle();
    ASSERT_TRUE(confirmSheet());
    EXPECT_EQ(transactionsNamed("Bread"), 1);
    EXPECT_DOUBLE_EQ(balance(checking), checkingBefore);
    EXPECT_DOUBLE_EQ(balance(shop), shopBefore);
    expectEditedThenSave("pasted after the cut");

    // Declined, nothing moves and the clipboard keeps what it held.
    clickTransaction(List::Transactions, "Milk");
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // Cancel
    QTest::keySequence(lists.table(List::Transactions), QKeySequence::Cut);
    settle();
    EXPECT_EQ(transactionsNamed("Milk"), 1);
    ASSERT_NE(books().transactionToPaste(), nullptr);
    EXPECT_EQ(books().transactionToPaste()->getName(), "Bread");

    // The side-bar layout: Edit > Cut, then Edit > Paste.
    chooseTitled("CLASSICLAYOUTMENUITEM");
    auto* page = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(page, nullptr);
    GXTableAncestor* table = page->table(GXTransactionViewController::Tab::Transactions);
    ASSERT_NE(table, nullptr);
    auto* model = static_cast<ItemTableModel*>(table->model());
    int milk = -1;
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->itemAt(row)->getName() == "Milk") milk = row;
    ASSERT_GE(milk, 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(model->index(milk, 1)).center());
    settle();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    chooseTitled("CUTMENUITEM");
    EXPECT_EQ(transactionsNamed("Milk"), 0);
    EXPECT_DOUBLE_EQ(balance(checking), checkingBefore + 1.2);
    expectEditedThenSave("cut in the side-bar layout");
    chooseTitled("PASTEMENUITEM");
    ASSERT_TRUE(confirmSheet());
    EXPECT_EQ(transactionsNamed("Milk"), 1);
    EXPECT_DOUBLE_EQ(balance(checking), checkingBefore);
    expectEditedThenSave("pasted in the side-bar layout");

    // A page with nothing to cut: Cut is disabled.
    showPage(localized("ACCOUNTBUTTON"), 1);
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    QAction* cut = nullptr;
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            if (action->text() == localizedText("CUTMENUITEM")) cut = action;
    ASSERT_NE(cut, nullptr);
    EXPECT_FALSE(cut->isEnabled());
}

// A recurring transaction cut and pasted comes back with its schedule, as a
// copied one does; Edit > Cut and Edit > Paste chosen by their titles.
// Generated lines offer no Cut: pasted, the line would be booked, not moved.
TEST_F(ClassicLayoutWindowTest, CutThenPasteKeepsARecurringScheduleAndGeneratedLinesHaveNoCut)
{
    makeBooks();
    Dictionary monthly = sheetTransactionDictionary(books(), checking, shop, groceriesId, 25.0, 20251001, "Paper");
    monthly.set(std::string(recurring_key::kRecurringType), int(recurring_type::kMonthly));
    monthly.set(std::string(recurring_key::kMonthlyType), int(monthly_type::kDayOfMonth));
    monthly.set(std::string(recurring_key::kDayOfMonth), 12);
    arguments::CTransactionArguments command;
    command.mTransactionDictionary = monthly;
    books().commandExecutor().executeCommand(25, nullptr, command);
    ASSERT_EQ(books().mRecurringTransactionArray().size(), 1u);
    chooseTitled("CLASSICLAYOUTMENUITEM");
    ClassicTransactionLists& lists = classic().transactionLists();

    clickTab(lists, "RECURRINGBUTTON");
    clickTransaction(List::Recurring, "Paper");
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK to the question
    chooseTitled("CUTMENUITEM");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{399});
    EXPECT_TRUE(books().mRecurringTransactionArray().empty());
    activate();
    QTest::mouseClick(lists.table(List::Recurring)->viewport(), Qt::LeftButton);   // into the emptied list
    settle();
    chooseTitled("PASTEMENUITEM");
    auto* sheet = dynamic_cast<CCreateRecurringTrnsPopupController*>(openSheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(outlet<QComboBox>(*sheet, "periodicityPopup")->currentText().toStdString(), localized("TypeMonthly"));
    ASSERT_TRUE(confirmSheet());
    ASSERT_EQ(books().mRecurringTransactionArray().size(), 1u);
    const auto pasted = std::dynamic_pointer_cast<CRcrTItem>(books().mRecurringTransactionArray().front());
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->getName(), "Paper");
    EXPECT_EQ(pasted->mRecurringType(), std::optional<int>(recurring_type::kMonthly));
    EXPECT_EQ(pasted->mDayOfMonth(), std::optional<long>(12));
    EXPECT_EQ(pasted->mTotalAmount(), 25.0);
    expectEditedThenSave("recurring transaction pasted after the cut");

    // The generated statement line: Cut is closed in the Edit menu and in
    // the table's own menu; Copy stays open.
    clickTab(lists, "GENERATEDBUTTON");
    clickTransaction(List::Unlinked, "Statement line");
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions()) {
            if (action->text() == localizedText("CUTMENUITEM")) cut = action;
            if (action->text() == localizedText("COPYMENUITEM")) copy = action;
        }
    ASSERT_NE(cut, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(cut->isEnabled());
    EXPECT_TRUE(copy->isEnabled());
    CTransactionTableView* generated = lists.table(List::Unlinked);
    generated->validateCommands();
    EXPECT_FALSE(generated->commandAction(12)->isEnabled());
    QTest::keySequence(generated, QKeySequence::Cut);
    settle();
    EXPECT_EQ(books().accounting()->mUnlinkedList->GetCount(), 1u);
    EXPECT_FALSE(books().isDocumentEdited());
}

TEST_F(ClassicLayoutWindowTest, AccountsTabWorksByMenusContextMenuDoubleClickAndDrags)
{
    makeBooks();
    chooseTitled("CLASSICLAYOUTMENUITEM");
    clickTab(classic(), "CLASSICACNT");
    EXPECT_EQ(frame().currentMainTab(), "acnt");
    CNonVisualTable& accounts = *classic().propertyTable();

    // Savings dragged onto the "Banks" type moves there.
    clickOutlineRow(accounts, "Savings");
    auto& outline = *classic().propertyModel();
    std::unique_ptr<QMimeData> dragged(outline.mimeData({outlineRow(accounts, "Savings")}));
    ASSERT_NE(dragged, nullptr);
    const auto [moved, dropped] = dragAndDrop(accounts.viewport(), rowCentre(accounts, "Banks"), dragged.get());
    EXPECT_TRUE(moved);
    EXPECT_TRUE(dropped);
    settle();
    CAccount* savingsAccount = books().getAccountForName("Savings");
    ASSERT_NE(savingsAccount, nullptr);
    EXPECT_EQ(books().getAccountTypeForId(savingsAccount->Get_mAccountTypeId())->Get_StringrefName(), "Banks");
    const QModelIndex movedRow = outlineRow(accounts, "Savings");
    ASSERT_TRUE(movedRow.isValid());
    EXPECT_EQ(outline.data(movedRow.parent()).toString(), "Banks");
    EXPECT_EQ(accounts.getCurrentItem()->getName(), "Savings") << "the moved row stays selected";
    // Journaled like every change, so that it is not lost with the program.
    const CommandJournal journal = readCommandJournalFile(books().journalFileName());
    ASSERT_FALSE(journal.items.empty());
    EXPECT_EQ(journal.items.back().mCommand, 30);
    expectEditedThenSave("moved by a drag");

    // Books > New Transaction to Checking, by its title.
    clickOutlineRow(accounts, "Checking");
    choose(QString::fromStdString(localized("TransTo") + " Checking"));
    auto* transaction = dynamic_cast<CCreateTransactionPopupController*>(openSheet());
    ASSERT_NE(transaction, nullptr);
    typeInto(outlet(*transaction, "mNameField"), "Wages");
    typeInto(outlet(*transaction, "mAmountField"), "100");
    QTest::keyClick(outlet(*transaction, "mAmountField"), Qt::Key_Tab);
    click(*transaction, "OKButton");
    settle();
    EXPECT_EQ(transactionsNamed("Wages"), 1);
    expectEditedThenSave("booked to the selected account");

    // The context menu's new account beside "Checking": the sheet has its type.
    chooseFromContextMenu(accounts, "Checking", 1100);
    ASSERT_TRUE(confirmSheet("nameField", "Pocket Money"));
    CAccount* pocket = books().getAccountForName("Pocket Money");
    ASSERT_NE(pocket, nullptr);
    EXPECT_EQ(pocket->Get_mAccountTypeId(), 1);
    EXPECT_EQ(accounts.getCurrentItem()->getName(), "Pocket Money") << "the new row is shown and selected";
    expectEditedThenSave("made from the context menu");

    // A double click opens the account's sheet; Delete by the menu's title.
    clickOutlineRow(accounts, "Pocket Money");
    QTest::mouseDClick(accounts.viewport(), Qt::LeftButton, {}, rowCentre(accounts, "Pocket Money"));
    settle();
    ASSERT_TRUE(confirmSheet("nameField", "Piggy Bank"));
    EXPECT_NE(books().getAccountForName("Piggy Bank"), nullptr);
    EXPECT_TRUE(outlineRow(accounts, "Piggy Bank").isValid()) << "the outline shows the new name";
    expectEditedThenSave("changed after a double click");
    clickOutlineRow(accounts, "Piggy Bank");
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    choose(QString::fromStdString(accounts.getCurrentItem()->validateMenuItem(1104).title.value()));
    EXPECT_EQ(books().getAccountForName("Piggy Bank"), nullptr);
    EXPECT_FALSE(outlineRow(accounts, "Piggy Bank").isValid());
    expectEditedThenSave("deleted by the menu");

    // The debts switch shows the debt types.
    QTest::mouseClick(classic().switchButton("mAcntDebtButton"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(outlineRow(accounts, localized("Debt")).isValid());
    EXPECT_FALSE(outlineRow(accounts, "Checking").isValid());

    // The same row dragged from other books' window names another account
    // here: refused, nothing moves.
    QTest::mouseClick(classic().switchButton("mAcntPropertyButton"), Qt::LeftButton);
    settle();
    const std::string cashName = localized("defaultAnctName");
    CAccount* cash = books().getAccountForName(cashName);
    ASSERT_NE(cash, nullptr);
    ClassicLayout* other = controller.makeNewDocument(false).frame()->classicLayout();
    settle();
    ASSERT_NE(other, nullptr);
    other->showTab("acnt");
    std::unique_ptr<QMimeData> fromOther(
        other->propertyModel()->mimeData({outlineRow(*other->propertyTable(), cashName)}));
    ASSERT_NE(fromOther, nullptr);
    EXPECT_FALSE(dragAndDrop(accounts.viewport(), rowCentre(accounts, "Banks"), fromOther.get()).second);
    EXPECT_EQ(cash->Get_mAccountTypeId(), 1) << "still an own-property account";
}

// A drop onto a type just made on the accounts tab: the folders that were
// open stay open and the moved row is shown and chosen. Back in the side-bar
// layout, the new type's page lists the account it now holds.
TEST_F(ClassicLayoutWindowTest, AMoveOntoANewTypeStaysInSightAndItsSideBarPageFollows)
{
    makeBooks();
    chooseTitled("CLASSICLAYOUTMENUITEM");
    clickTab(classic(), "CLASSICACNT");
    CNonVisualTable& accounts = *classic().propertyTable();
    auto& outline = *classic().propertyModel();
    arguments::AccountTypeArguments vaults;
    vaults.accountTypeName = "Vaults";
    vaults.theMasterType = 1;
    vaults.theAccountTypeId = 1;
    books().commandExecutor().executeCommand(11, nullptr, vaults);
    settle();

    clickOutlineRow(accounts, "Savings");
    const QModelIndex savingsRow = outlineRow(accounts, "Savings");
    ASSERT_TRUE(savingsRow.isValid());
    const QModelIndex ownProperty = savingsRow.parent();
    ASSERT_TRUE(ownProperty.isValid());
    const std::string ownPropertyName = outline.data(ownProperty).toString().toStdString();
    std::unique_ptr<QMimeData> dragged(outline.mimeData({savingsRow}));
    ASSERT_NE(dragged, nullptr);
    EXPECT_TRUE(dragAndDrop(accounts.viewport(), rowCentre(accounts, "Vaults"), dragged.get()).second);
    settle();
    CAccount* savingsAccount = books().getAccountForName("Savings");
    ASSERT_EQ(books().getAccountTypeForId(savingsAccount->Get_mAccountTypeId())->Get_StringrefName(), "Vaults");

    // Found without opening anything: what the person sees.
    std::function<QModelIndex(const QModelIndex&, const std::string&)> find =
        [&](const QModelIndex& parent, const std::string& name) -> QModelIndex {
        for (int row = 0; row < outline.rowCount(parent); ++row) {
            const QModelIndex index = outline.index(row, 0, parent);
            if (outline.data(index).toString().toStdString() == name) return index;
            if (const QModelIndex inside = find(index, name); inside.isValid()) return inside;
        }
        return {};
    };
    const QModelIndex moved = find({}, "Savings");
    ASSERT_TRUE(moved.isValid());
    for (QModelIndex folder = moved.parent(); folder.isValid(); folder = folder.parent())
        EXPECT_TRUE(accounts.isExpanded(folder)) << outline.data(folder).toString().toStdString();
    EXPECT_TRUE(accounts.isExpanded(find({}, ownPropertyName))) << "the folder open before stays open";
    EXPECT_EQ(accounts.currentIndex().siblingAtColumn(0), moved);
    EXPECT_TRUE(accounts.selectionModel()->isRowSelected(moved.row(), moved.parent()));
    EXPECT_TRUE(accounts.viewport()->rect().intersects(accounts.visualRect(moved)));

    // The side-bar layout: the type's page lists the account and its lines.
    chooseTitled("SIDEBARLAYOUTMENUITEM");
    auto* page = showPage<AccountCategoryPage>("Vaults");
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->upperModel()->rowCount(), 1);
    EXPECT_EQ(page->upperModel()->itemAt(0)->getName(), "Savings");
}

TEST_F(ClassicLayoutWindowTest, CategoriesTabWorksByKeysMenusAndDrags)
{
    makeBooks();
    chooseTitled("CLASSICLAYOUTMENUITEM");
    // View > Categories shows the classic tab of categories.
    choose("REASONBUTTON");
    EXPECT_EQ(frame().currentMainTab(), "expt");
    QTest::mouseClick(classic().switchButton("mExptExpenseButton"), Qt::LeftButton);
    settle();
    CNonVisualTable& categories = *classic().incomeTable();

    // Groceries dragged onto "Household" goes into that group.
    clickOutlineRow(categories, "Groceries");
    std::unique_ptr<QMimeData> dragged(classic().incomeModel()->mimeData({outlineRow(categories, "Groceries")}));
    ASSERT_NE(dragged, nullptr);
    EXPECT_TRUE(dragAndDrop(categories.viewport(), rowCentre(categories, "Household"), dragged.get()).second);
    settle();
    CExpenseType* groceries = books().getExpenseTypeForId(static_cast<ObjectIdT>(groceriesId));
    ASSERT_NE(groceries, nullptr);
    ASSERT_NE(groceries->Get_mMasterExpensetypePtr(), nullptr);
    EXPECT_EQ(groceries->Get_mMasterExpensetypePtr()->Get_StringrefName(), "Household");
    expectEditedThenSave("moved by a drag");

    // The context menu's new inside the group: a category in it.
    clickOutlineRow(categories, "Household");
    chooseFromContextMenu(categories, "Household", 1105);
    ASSERT_TRUE(confirmSheet("nameField", "Cleaning"));
    CExpenseType* cleaning = books().getExpenseTypeForName("Cleaning");
    ASSERT_NE(cleaning, nullptr);
    EXPECT_EQ(cleaning->Get_mMasterExpensetypePtr()->Get_StringrefName(), "Household");
    EXPECT_EQ(categories.getCurrentItem()->getName(), "Cleaning");
    expectEditedThenSave("made inside the group");

    // The Delete key on the new category.
    clickOutlineRow(categories, "Cleaning");
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    QTest::keyClick(&categories, Qt::Key_Delete);
    settle();
    EXPECT_EQ(books().getExpenseTypeForName("Cleaning"), nullptr);
    EXPECT_FALSE(outlineRow(categories, "Cleaning").isValid());
    expectEditedThenSave("deleted by the Delete key");

    // The booking lines of Groceries: a double click opens the transaction.
    clickOutlineRow(categories, "Groceries");
    QTableView* lines = classic().detailTable(&categories);
    ASSERT_EQ(lines->model()->rowCount(), 2);
    lines->selectRow(0);
    doubleClickSelectedRow(lines);
    ASSERT_TRUE(confirmSheet("mNameField", "Rye bread"));
    EXPECT_EQ(transactionsNamed("Rye bread"), 1);
    expectEditedThenSave("changed from the booking lines");

    // Without a row a new category cannot be placed: nothing is enabled to make it.
    categories.selectionModel()->clear();
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    bool newEnabled = false;
    for (QAction* action : frame().menuActions())
        if (action->objectName() == "NEWOBJECTMENUITEM") newEnabled = action->isEnabled();
    EXPECT_FALSE(newEnabled);
    EXPECT_FALSE(books().isDocumentEdited());
}

// New Account and New Category from an outline's context menu: each is
// placed by the chosen row, and a row that cannot hold one says so. The
// Delete key with no row chosen asks for one.
TEST_F(ClassicLayoutWindowTest, NewAccountAndNewCategoryArePlacedByTheChosenRow)
{
    makeBooks();
    chooseTitled("CLASSICLAYOUTMENUITEM");
    clickTab(classic(), "CLASSICACNT");
    CNonVisualTable& accounts = *classic().propertyTable();
    // The right button on the row, then the item of the title.
    auto chooseNew = [&](CNonVisualTable& outline, const std::string& row, const char* titleKey) {
        activate();
        const QPoint at = rowCentre(outline, row);
        QTest::mouseClick(outline.viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, outline.viewport()->mapToGlobal(at));
        QApplication::sendEvent(outline.viewport(), &event);
        settle();
        QMenu* menu = classic().contextMenu(&outline);
        ASSERT_TRUE(menu && menu->isVisible());
        // Each title once, as the row's menu names it.
        QStringList titles;
        for (QAction* item : menu->actions())
            if (item->isVisible() && !item->isSeparator()) titles << item->text();
        EXPECT_EQ(titles.count(localizedText("355")), 1) << titles.join(u'|').toStdString();
        EXPECT_EQ(titles.count(localizedText("356")), 1) << titles.join(u'|').toStdString();
        EXPECT_FALSE(titles.contains(localizedText("NEWACCOUNTBUTTON")));
        for (QAction* item : menu->actions())
            if (item->isVisible() && item->text() == localizedText(titleKey)) {
                ASSERT_TRUE(item->isEnabled());
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                settle();
                return;
            }
        ADD_FAILURE() << "no context menu item " << titleKey;
    };

    // Inside the chosen type.
    chooseNew(accounts, "Banks", "355");
    ASSERT_TRUE(confirmSheet("nameField", "Broker"));
    CAccount* broker = books().getAccountForName("Broker");
    ASSERT_NE(broker, nullptr);
    EXPECT_EQ(books().getAccountTypeForId(broker->Get_mAccountTypeId())->Get_StringrefName(), "Banks");
    expectEditedThenSave("an account made inside its type");
    // Beside the chosen account.
    chooseNew(accounts, "Checking", "355");
    ASSERT_TRUE(confirmSheet("nameField", "Cash Box"));
    ASSERT_NE(books().getAccountForName("Cash Box"), nullptr);
    EXPECT_EQ(books().getAccountForName("Cash Box")->Get_mAccountTypeId(),
              books().getAccountForName("Checking")->Get_mAccountTypeId());
    expectEditedThenSave("an account made beside another");
    // An account cannot go beside a category, nor a category inside an account type.
    environment.alerts().clear();
    chooseNew(accounts, "Checking", "356");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{251});
    EXPECT_FALSE(window().books().lastSheet() && window().books().lastSheet()->isVisible());

    choose("REASONBUTTON");
    QTest::mouseClick(classic().switchButton("mExptExpenseButton"), Qt::LeftButton);
    settle();
    CNonVisualTable& categories = *classic().incomeTable();
    environment.alerts().clear();
    chooseNew(categories, "Groceries", "355");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{251});
    EXPECT_FALSE(books().isDocumentEdited());
    chooseNew(categories, "Groceries", "356");
    ASSERT_TRUE(confirmSheet("nameField", "Snacks"));
    CExpenseType* snacks = books().getExpenseTypeForName("Snacks");
    ASSERT_NE(snacks, nullptr);
    EXPECT_EQ(snacks->Get_mMasterExpensetypePtr(),
              books().getExpenseTypeForId(static_cast<ObjectIdT>(groceriesId))->Get_mMasterExpensetypePtr());
    expectEditedThenSave("a category made beside another");
    chooseNew(categories, "Household", "356");
    ASSERT_TRUE(confirmSheet("nameField", "Cleaning"));
    ASSERT_NE(books().getExpenseTypeForName("Cleaning"), nullptr);
    EXPECT_EQ(books().getExpenseTypeForName("Cleaning")->Get_mMasterExpensetypePtr()->Get_StringrefName(), "Household");
    expectEditedThenSave("a category made inside its group");

    // A control click takes the choice back; the Delete key then asks for a row.
    clickOutlineRow(categories, "Groceries");
    QTest::mouseClick(categories.viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(categories, "Groceries"));
    settle();
    ASSERT_EQ(categories.getCurrentItem(), nullptr);
    environment.alerts().clear();
    categories.setFocus();
    QTest::keyClick(&categories, Qt::Key_Delete);
    settle();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{252});
    EXPECT_NE(books().getExpenseTypeForId(static_cast<ObjectIdT>(groceriesId)), nullptr);
    EXPECT_FALSE(books().isDocumentEdited());
}

} // namespace
} // namespace ch::test
