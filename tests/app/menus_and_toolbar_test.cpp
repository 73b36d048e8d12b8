// The window's menus and toolbar follow what the user selects: keys act on
// the row just clicked without a menu ever opened, the toolbar's Delete,
// Edit and Flag light up with the selection, the toolbar can be arranged
// and keeps its arrangement, Ctrl+Q quits from a document window, and the
// Books menu makes transactions from and to the selected account.

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <regex>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/CAccount.h"
#include "platform/core/user_defaults.h"
#include "ui/MainToolbar.h"
#include "ui/MainToolbarItems.h"
#include "ui/ToolbarCustomizationSheet.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;

class MenusAndToolbarTest : public ApplicationFixture {
protected:
    MenusAndToolbarTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }

    // New books with a checking account, a shop, a category and two
    // transactions, "Bread" and "Milk", saved unless asked otherwise (so
    // that what the test does is what marks them edited); the window active.
    void makeBooks(bool saved = true)
    {
        controller.makeNewDocument(false);
        settle();
        checking = account("Checking", 1);
        shop = account("Corner Shop", 3);
        arguments::CategoryParameters values;
        values.name = "Groceries";
        values.mParentId = 1;
        values.mMasterTypeId = 1;
        const long groceries = books().commandExecutor().executeCommand(15, nullptr, values);
        book(checking, shop, groceries, 4.5, "Bread");
        book(checking, shop, groceries, 1.2, "Milk");
        if (saved) {
            booksPath = folder.filePath("Menus.books");
            EXPECT_TRUE(controller.saveAs(window()));
            EXPECT_FALSE(books().isDocumentEdited());
        }
        frame().activateWindow();
        QApplication::setActiveWindow(&frame());
        settle();
    }

    long account(const char* name, long type) { return makeAccount(books(), name, type); }

    void book(long from, long to, long category, double amount, const char* name)
    {
        bookTransaction(books(), from, to, category, amount, name, 20250905);
    }


    // A click on the row's second cell (the first is the flag column).
    static void clickRow(QTableView* table, int row)
    {
        ASSERT_NE(table, nullptr);
        ASSERT_LT(row, table->model()->rowCount());
        const QModelIndex cell = table->model()->index(row, table->horizontalHeader()->logicalIndex(1));
        table->scrollTo(cell);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        settleEvents();
    }

    // The transactions page with the row of the transaction clicked.
    QTableView* clickTransaction(const std::string& name)
    {
        // View > Transactions, without opening the menu.
        frame().showMainTab("V2");
        menuItem("TRANSBUTTON")->trigger();
        settle();
        auto* page = dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController());
        if (!page) {
            ADD_FAILURE() << "no transactions page";
            return nullptr;
        }
        using Tab = GXTransactionViewController::Tab;
        CTransactionArrayController& rows = page->controller(Tab::Transactions);
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (rows.arrangedObjectAt(i)->getName() == name) {
                clickRow(page->table(Tab::Transactions), int(i));
                return page->table(Tab::Transactions);
            }
        ADD_FAILURE() << "no transaction " << name;
        return nullptr;
    }

    // The own-property accounts with the row of the account clicked.
    AccountCategoryPage* clickAccount(const std::string& name)
    {
        auto* page = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
        if (!page) return nullptr;
        for (int row = 0; row < page->upperModel()->rowCount(); ++row)
            if (page->upperModel()->itemAt(row)->getName() == name) {
                clickRow(page->upperTable(), row);
                return page;
            }
        ADD_FAILURE() << "no account " << name;
        return nullptr;
    }

    QAction* menuItem(const char* name)
    {
        for (QAction* action : frame().menuActions())
            if (action->objectName() == QLatin1String(name)) return action;
        return nullptr;
    }

    // The menu bar's item of that title, validated as when its menu opens.
    QAction* titled(const char* key)
    {
        for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
        for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                if (action->text() == localizedText(key)) return action;
        ADD_FAILURE() << "no menu item " << key;
        return nullptr;
    }

    bool toolbarEnabled(const char* identifier)
    {
        QAction* item = frame().toolbar().itemAction(identifier);
        return item && item->isEnabled();
    }

    long checking = 0;
    long shop = 0;
};

// Every menu path the help names ("File > Import > ...") leads through the
// window's menus, each opened in turn, to an item; the import definitions'
// assistant is named by its whole path.
TEST_F(MenusAndToolbarTest, EveryMenuPathTheHelpNamesLeadsToAnItem)
{
    makeBooks();
    std::vector<std::vector<QString>> paths;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(COUNTINGHOUSE_RESOURCES) / "help")) {
        if (entry.path().extension() != ".html") continue;
        std::ifstream file(entry.path());
        const std::string page =
            std::regex_replace(std::string((std::istreambuf_iterator<char>(file)), {}), std::regex("\\s+"), " ");
        const std::regex named("<strong>([^<]*&gt;[^<]*)</strong>");
        for (auto match = std::sregex_iterator(page.begin(), page.end(), named); match != std::sregex_iterator(); ++match) {
            std::vector<QString> steps;
            for (const QString& step : QString::fromStdString((*match)[1]).split(QStringLiteral("&gt;")))
                steps.push_back(step.trimmed());
            paths.push_back(steps);
        }
    }
    bool assistantNamed = false;
    for (const std::vector<QString>& path : paths) {
        QList<QAction*> items = frame().menuBar()->actions();
        for (std::size_t i = 0; i < path.size(); ++i) {
            QAction* found = nullptr;
            for (QAction* item : items)
                if (QString(item->text()).remove(QLatin1Char('&')) == path[i]) found = item;
            ASSERT_NE(found, nullptr) << "no " << path[i].toStdString() << " on the way to " << path.back().toStdString();
            if (i + 1 == path.size()) break;
            ASSERT_NE(found->menu(), nullptr) << path[i].toStdString();
            emit found->menu()->aboutToShow();
            items = found->menu()->actions();
        }
        assistantNamed = assistantNamed || path.back().toStdString() == localized("DEFINEIMPORTFILE");
    }
    EXPECT_TRUE(assistantNamed);
}

TEST_F(MenusAndToolbarTest, KeysActOnTheRowJustClickedWithoutAMenuOpened)
{
    makeBooks();
    // The menus looked at over the accounts, none chosen: nothing to
    // delete, copy or paste there.
    ASSERT_NE(showPage<AccountCategoryPage>(localized("OwnProperty"), -1), nullptr);
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    ASSERT_FALSE(menuItem("DELETEMENUITEM")->isEnabled());
    ASSERT_FALSE(menuItem("COPYMENUITEM")->isEnabled());
    // From here on no menu opens.
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>())
        QObject::connect(menu, &QMenu::aboutToShow, [] { ADD_FAILURE() << "a menu opened"; });

    // Delete: the question answered OK, the transaction is gone.
    QTableView* table = clickTransaction("Bread");
    ASSERT_NE(table, nullptr);
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    QTest::keyClick(table, Qt::Key_Delete);
    settle();
    EXPECT_EQ(transactionsNamed("Bread"), 0);
    EXPECT_EQ(transactionsNamed("Milk"), 1);
    EXPECT_TRUE(books().isDocumentEdited());

    // Copy and paste: the sheet of a new transaction from the copy, OK.
    table = clickTransaction("Milk");
    ASSERT_NE(table, nullptr);
    QTest::keySequence(table, QKeySequence::Copy);
    settle();
    QTest::keySequence(table, QKeySequence::Paste);
    settle();
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible()) << "paste opens the sheet of the copy";
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(transactionsNamed("Milk"), 2);
}

TEST_F(MenusAndToolbarTest, ToolbarLightsUpWithTheSelection)
{
    makeBooks();
    AccountCategoryPage* page = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(toolbarEnabled("deleteObject")) << "no account chosen yet";
    EXPECT_FALSE(toolbarEnabled("flagObject"));

    ASSERT_EQ(clickAccount("Checking"), page);
    EXPECT_TRUE(toolbarEnabled("deleteObject"));
    EXPECT_TRUE(toolbarEnabled("modifyObject"));
    EXPECT_FALSE(toolbarEnabled("flagObject")) << "no booking line chosen yet";

    ASSERT_GT(page->lowerTable()->model()->rowCount(), 0);
    clickRow(page->lowerTable(), 0);
    EXPECT_TRUE(toolbarEnabled("flagObject"));
    // The toolbar's Flag flags the line's transaction.
    auto statuses = [this] {
        std::vector<long> all;
        for (const auto& transaction : books().mTransactionArray()) all.push_back(long(transaction->objectStatus()));
        return all;
    };
    const std::vector<long> before = statuses();
    frame().toolbar().itemAction("flagObject")->trigger();
    settle();
    EXPECT_NE(statuses(), before);
    EXPECT_TRUE(books().isDocumentEdited());
}

TEST_F(MenusAndToolbarTest, ArrangedToolbarIsStoredAndEveryWindowShowsIt)
{
    makeBooks();
    // A second window open meanwhile.
    DocumentWindow& other = controller.makeNewDocument(false);
    settle();
    DocumentWindow& first = *controller.windows().front();
    first.frame()->activateWindow();
    QApplication::setActiveWindow(first.frame());
    MainToolbar& toolbar = first.frame()->toolbar();
    EXPECT_EQ(toolbar.itemAction("calculator"), nullptr) << "not in the default set";

    // Reached from the toolbar's context menu.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), toolbar.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&toolbar, &event);
    ASSERT_TRUE(toolbar.contextMenu()->isVisible());
    QMenu& menu = *toolbar.contextMenu();
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(toolbar.customizeAction()).center());
    settle();
    ToolbarCustomizationSheet* sheet = toolbar.customizationSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());

    auto rowOf = [](QListWidget* list, const char* identifier) {
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->data(Qt::UserRole).toString() == QLatin1String(identifier)) return row;
        return -1;
    };
    auto choose = [&](QListWidget* list, const char* identifier) {
        const int row = rowOf(list, identifier);
        ASSERT_GE(row, 0) << identifier;
        QListWidgetItem* item = list->item(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    };
    // The calculator and page setup in after "main", the flag out, "main"
    // added again changes nothing, and "settings" moved up before "main".
    choose(sheet->shownList(), "main");
    choose(sheet->allowedList(), "calculator");
    click(*sheet, "addItem");
    choose(sheet->allowedList(), "pageLayOut");
    click(*sheet, "addItem");
    choose(sheet->allowedList(), "main");
    click(*sheet, "addItem");
    choose(sheet->shownList(), "flagObject");
    click(*sheet, "removeItem");
    choose(sheet->shownList(), "settings");
    click(*sheet, "moveUp");
    click(*sheet, "moveUp");
    click(*sheet, "moveUp");
    click(*sheet, "OKButton");
    settle();

    const std::vector<std::string> expected = {
        "settings",     "main",       "calculator",   "pageLayOut", "separator", "newTrans",  "newAccount",
        "newCategory",  "separator",  "deleteObject", "modifyObject", "separator", "budgets", "reports",
        "import",       "flexibleSpace", "V2Search",  "customize"};
    EXPECT_EQ(toolbar.arrangement(), expected);
    ASSERT_NE(toolbar.itemAction("calculator"), nullptr);
    EXPECT_EQ(toolbar.itemAction("flagObject"), nullptr);
    EXPECT_EQ(toolbar.actions().indexOf(toolbar.itemAction("calculator")),
              toolbar.actions().indexOf(toolbar.itemAction("main")) + 1);
    EXPECT_EQ(toolbarArrangementFrom(environment.defaults().object(kToolbarConfigurationKey)), expected);
    EXPECT_EQ(toolbar.selectedItemIdentifier(), "main");
    EXPECT_EQ(other.frame()->toolbar().arrangement(), expected);
    EXPECT_NE(other.frame()->toolbar().itemAction("calculator"), nullptr);

    // The page-setup item runs Page Setup.
    toolbar.itemAction("pageLayOut")->trigger();
    settle();
    QWidget* pageSetup = first.frame()->findChild<QWidget*>("pageSetupDialog");
    ASSERT_TRUE(pageSetup && pageSetup->isVisible());
    pageSetup->close();
    controller.discard(other);
    settle();

    // A window opened later, as after the next start, shows the arrangement;
    // View > Customize Toolbar… reaches the sheet too, and Cancel keeps all.
    window().fileAction("close")->trigger();
    settle();
    if (QMessageBox* question = controller.openQuestion()) question->findChild<QAbstractButton*>("dontSave")->click();
    settle();
    ASSERT_TRUE(controller.windows().empty());
    controller.makeNewDocument(false);
    settle();
    EXPECT_EQ(frame().toolbar().arrangement(), expected);
    ASSERT_NE(frame().toolbar().itemAction("calculator"), nullptr);
    QMenu* view = frame().menuBar()->findChild<QMenu*>("VIEWMENU");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->actions().contains(frame().toolbar().customizeAction()));
    frame().toolbar().customizeAction()->trigger();
    settle();
    ASSERT_NE(frame().toolbar().customizationSheet(), nullptr);
    click(*frame().toolbar().customizationSheet(), "defaultSet");
    click(*frame().toolbar().customizationSheet(), "CancelButton");
    settle();
    EXPECT_EQ(frame().toolbar().arrangement(), expected);
}

TEST_F(MenusAndToolbarTest, StoredArrangementsAreReadSafely)
{
    auto stored = [](std::vector<Value> identifiers) {
        Array list(identifiers.begin(), identifiers.end());
        Dictionary configuration;
        configuration.set(std::string(kToolbarItemIdentifiersKey), Value(std::move(list)));
        return Value(std::move(configuration));
    };
    std::vector<std::string> defaults;
    for (std::string_view identifier : toolbarDefaultItemIdentifiers()) defaults.emplace_back(identifier);
    const struct {
        const char* name;
        Value stored;
        std::vector<std::string> shown;
    } cases[] = {
        {"nothing stored", Value(), defaults},
        {"not a dictionary", Value(std::string("main")), defaults},
        {"unknown, preview and non-text entries left out",
         stored({Value(std::string("frobnicate")), Value(std::string("V2Preview")), Value(3.0),
                 Value(std::string("reports"))}),
         {"reports"}},
        {"an item once, separators as often as stored",
         stored({Value(std::string("main")), Value(std::string("separator")), Value(std::string("main")),
                 Value(std::string("separator"))}),
         {"main", "separator", "separator"}},
        {"an empty toolbar stays empty", stored({}), {}},
    };
    for (const auto& each : cases) EXPECT_EQ(toolbarArrangementFrom(each.stored), each.shown) << each.name;
}

TEST_F(MenusAndToolbarTest, CtrlQInADocumentWindowClosesEveryWindowAskingForUnsavedOnes)
{
    const struct {
        const char* answer;
        bool quits;
    } cases[] = {{"dontSave", true}, {"cancel", false}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.answer);
        makeBooks(false);   // edited
        DocumentWindow& edited = window();
        controller.makeNewDocument(false);   // clean
        settle();
        DocumentWindow& clean = *controller.windows().back();
        ASSERT_NE(&clean, &edited);
        QSignalSpy quit(&controller, &DocumentController::quitAccepted);
        QAction* item = clean.fileAction("quit");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        clean.frame()->activateWindow();
        QApplication::setActiveWindow(clean.frame());
        QTest::keyClick(clean.frame(), Qt::Key_Q, Qt::ControlModifier);
        settle();
        QMessageBox* question = controller.openQuestion();
        ASSERT_NE(question, nullptr) << "the edited books ask";
        EXPECT_EQ(controller.windows().size(), 1u) << "the clean window closed without a word";
        question->findChild<QAbstractButton*>(each.answer)->click();
        settle();
        EXPECT_EQ(quit.count(), each.quits ? 1 : 0);
        EXPECT_EQ(controller.windows().empty(), each.quits);
        for (const auto& left : controller.windows()) controller.discard(*left);
        settle();
    }
}

TEST_F(MenusAndToolbarTest, NewTransactionFromAndToTheChosenAccount)
{
    makeBooks();
    // Nothing to make it from on the transactions page.
    ASSERT_NE(clickTransaction("Milk"), nullptr);
    for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
    EXPECT_FALSE(menuItem("TransFrom")->isEnabled());
    EXPECT_FALSE(menuItem("TransTo")->isEnabled());

    const struct {
        const char* item;
        const char* title;
        bool from;
    } cases[] = {{"TransFrom", "New Transaction from Checking", true}, {"TransTo", "New Transaction to Checking", false}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.item);
        ASSERT_NE(clickAccount("Checking"), nullptr);
        for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
        QAction* item = menuItem(each.item);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isEnabled());
        EXPECT_EQ(item->text().toStdString(), each.title);
        item->trigger();
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        const std::string name = std::string("Made ") + each.item;
        typeInto(outlet(*sheet, "mNameField"), QString::fromStdString(name));
        typeInto(outlet(*sheet, "mAmountField"), "20");
        QTest::keyClick(outlet(*sheet, "mAmountField"), Qt::Key_Tab);
        click(*sheet, "OKButton");
        settle();
        std::shared_ptr<CTrnSItem> made;
        for (const auto& transaction : books().mTransactionArray())
            if (transaction->getName() == name) made = transaction;
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(books().isDocumentEdited());
        const auto lines = each.from ? made->mFromList() : made->mToList();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front()->account(), std::optional<long>(checking));
    }
}

// On an account's page Copy and Paste act on the lines table only when it
// has the focus: there they are open, with the upper table focused they are
// not (they would do nothing). Paste there opens the sheet of the copy.
TEST_F(MenusAndToolbarTest, CopyAndPasteOnAnAccountPageAreOpenOnlyWhereTheyAct)
{
    makeBooks();
    AccountCategoryPage* page = clickAccount("Checking");
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->lowerModel()->rowCount(), 2);
    clickRow(page->lowerTable(), 0);
    const std::string copied = page->lowerModel()->itemAt(0)->getName();
    ASSERT_TRUE(titled("COPYMENUITEM")->isEnabled());
    titled("COPYMENUITEM")->trigger();
    settle();
    ASSERT_NE(books().transactionToPaste(), nullptr);
    EXPECT_TRUE(titled("PASTEMENUITEM")->isEnabled());

    // The upper table focused (its selected account clicked again), a line
    // still selected below and a transaction copied: neither would act.
    int checkingRow = -1;
    for (int row = 0; row < page->upperModel()->rowCount(); ++row)
        if (page->upperModel()->itemAt(row)->getName() == "Checking") checkingRow = row;
    clickRow(page->upperTable(), checkingRow);
    ASSERT_TRUE(page->upperTable()->hasFocus());
    ASSERT_NE(page->selectedTransaction(), nullptr);
    EXPECT_FALSE(titled("COPYMENUITEM")->isEnabled());
    EXPECT_FALSE(titled("PASTEMENUITEM")->isEnabled());

    clickRow(page->lowerTable(), 1);
    QAction* paste = titled("PASTEMENUITEM");
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    settle();
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    click(*sheet, "OKButton");
    settle();
    int named = 0;
    for (const auto& transaction : books().mTransactionArray()) named += transaction->getName() == copied;
    EXPECT_EQ(named, 2);
    EXPECT_TRUE(books().isDocumentEdited());
}

// The toolbar's search narrows the transactions list, typed as a person does.
TEST_F(MenusAndToolbarTest, ToolbarSearchNarrowsTheTransactionsList)
{
    makeBooks();
    ASSERT_NE(clickTransaction("Bread"), nullptr);
    auto* page = dynamic_cast<GXTransactionViewController*>(frame().sideBarController().currentController());
    ASSERT_NE(page, nullptr);
    CTransactionArrayController& rows = page->controller(GXTransactionViewController::Tab::Transactions);
    const std::size_t all = rows.arrangedCount();
    ASSERT_GE(all, 2u);
    QLineEdit* field = frame().toolbar().searchField();
    ASSERT_TRUE(field->isEnabled());
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, "milk");
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    ASSERT_EQ(rows.arrangedCount(), 1u);
    EXPECT_EQ(rows.arrangedObjectAt(0)->getName(), "Milk");
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    EXPECT_EQ(rows.arrangedCount(), all);

    // Typing filters as it goes, without Return.
    QTest::keyClicks(field, "bre");
    settle();
    ASSERT_EQ(rows.arrangedCount(), 1u);
    EXPECT_EQ(rows.arrangedObjectAt(0)->getName(), "Bread");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Backspace);
    settle();
    EXPECT_EQ(rows.arrangedCount(), all) << "erased, everything shows again";

    // The field's clear button shows everything again.
    QTest::keyClicks(field, "milk");
    settle();
    ASSERT_EQ(rows.arrangedCount(), 1u);
    QToolButton* clear = nullptr;
    for (QToolButton* button : field->findChildren<QToolButton*>())
        if (button->isVisible()) clear = button;
    ASSERT_NE(clear, nullptr) << "the clear button shows over typed text";
    QTest::mouseClick(clear, Qt::LeftButton);
    settle();
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(rows.arrangedCount(), all);
}

} // namespace
} // namespace ch
