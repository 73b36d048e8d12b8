#pragma once
// What the application tests share (the review program too): the defaults of
// a first start with euro books, the new-document assistant as a person goes
// through it, and books filled through the commands the sheets send.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "../ui/side_bar_rows.h"
#include "../document/sheet_transaction.h"
#include "../ui/sheets/sheet_test_support.h"
#include "../ui/ui_test_support.h"

#include "app/DocumentController.h"
#include "platform/core/contacts_provider.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "bridge/ArgumentRecords.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "document/MyDocument.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CTransactionArguments.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationShell.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/QuickEntryPane.h"
#include "ui/V2SplitLayout.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"

namespace ch::test {

// The outline's row of that name, opened down to it and scrolled to; none
// when no row has it.
inline QModelIndex outlineRow(QTreeView& outline, const std::string& name, const QModelIndex& parent = {})
{
    QAbstractItemModel& model = *outline.model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (model.data(index).toString().toStdString() == name) {
            outline.scrollTo(index);
            return index;
        }
        if (const QModelIndex inside = outlineRow(outline, name, index); inside.isValid()) {
            outline.expand(index);
            outline.scrollTo(inside);
            return inside;
        }
    }
    return {};
}

// A statement in the SGML form of the banks' files: their header, then the body.
inline std::string ofxStatement(std::string_view body)
{
    return "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:USASCII\nCHARSET:1252\n"
           "COMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n" +
           std::string(body);
}

inline void settleEvents()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Typed into the side bar's Quick Entry (the date, the other and our
// account, the amount, the name) and booked with its button.
inline void bookInQuickEntry(DocumentWindowFrame& frame, const QString& date, const QString& other,
                             const QString& our, const QString& amount, const QString& name)
{
    QuickEntryPane* pane = frame.v2Layout().sideBarView()->quickEntryPane();
    ASSERT_NE(pane, nullptr);
    typeInto(pane->findChild<QWidget*>("mTransactionDateField"), date);
    typeInto(pane->findChild<QWidget*>("mOtherAccountPopup"), other);
    typeInto(pane->findChild<QWidget*>("mOurAccountPopup"), our);
    typeInto(pane->findChild<QWidget*>("mTransactionAmountField"), amount);
    typeInto(pane->findChild<QWidget*>("mTransactionNameField"), name);
    QTest::mouseClick(pane->findChild<QPushButton*>("mFastTransactionButton"), Qt::LeftButton);
    settleEvents();
}

// Clicks the tab of that title.
inline void clickTab(QTabWidget& tabs, const QString& title)
{
    QTabBar* bar = tabs.tabBar();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabText(i) == title) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
            settleEvents();
            return;
        }
    ADD_FAILURE() << "no tab " << title.toStdString();
}

// Clicks the name of the page's upper-table row of the object named so.
inline void clickUpperRow(AccountCategoryPage& page, const std::string& name)
{
    ItemTableModel& model = *page.upperModel();
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.itemAt(row)->getName() == name) {
            const QRect cell = page.upperTable()->visualRect(model.index(row, model.columnOf("name")));
            QTest::mouseClick(page.upperTable()->viewport(), Qt::LeftButton, {}, cell.center());
            settleEvents();
            return;
        }
    ADD_FAILURE() << "no row " << name;
}

// A double click on the table's (first) selected row.
inline void doubleClickSelectedRow(QTableView* table)
{
    ASSERT_NE(table, nullptr);
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    ASSERT_FALSE(rows.isEmpty());
    table->scrollTo(rows.first());
    const QPoint at = table->visualRect(rows.first()).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    settleEvents();
}

// A new account made through the command the account sheet sends (13);
// answers its id. Without a special type the field stays absent.
inline long makeAccount(MyDocument& books, const char* name, long type, const char* bankNumber = nullptr,
                        std::optional<double> balance = std::nullopt, std::optional<int> specialType = std::nullopt)
{
    arguments::AccountArguments values(-1, std::string(name), std::string(), type, std::nullopt, std::nullopt,
                                       std::nullopt, std::nullopt,
                                       bankNumber ? std::optional<std::string>(bankNumber) : std::nullopt, 100.0,
                                       balance);
    values.specialType = specialType;
    return books.commandExecutor().executeCommand(13, nullptr, values);
}

// A new expense category made through the command the category sheet sends
// (15); answers its id.
inline long makeExpenseCategory(MyDocument& books, const char* name)
{
    arguments::CategoryParameters values;
    values.name = name;
    values.mParentId = 1;
    values.mMasterTypeId = 1;
    return books.commandExecutor().executeCommand(15, nullptr, values);
}

// Books the amount from one account to another for the category as the
// transaction sheet does: a temporary simple transaction whose dictionary
// goes with the new-transaction command (23).
inline void bookTransaction(MyDocument& books, long from, long to, long category, double amount,
                            const std::string& name, long date)
{
    arguments::CTransactionArguments command;
    command.mTransactionDictionary = sheetTransactionDictionary(books, from, to, category, amount, date, name);
    books.commandExecutor().executeCommand(23, nullptr, command);
}

// The registered defaults, euro as the home currency, the assistant on and
// neither the start-up choice nor the last document at start.
inline void setFirstStartDefaults(UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(true));
    defaults.set("GXShowStartupChoice", Value(false));
    defaults.set("GXShowLastDocumentAtStartup", Value(false));
}

// Every page taken as proposed, except that the first proposed property
// account is chosen, made the default and renamed. Clicks "Next" to the end; answers whether the account was renamed.
inline bool finishAssistantNamingTheFirstAccount(DocumentController& controller, const QString& name)
{
    NewDocumentAssistantDialog* assistant = controller.assistant();
    if (!assistant) return false;
    auto* next = assistant->findChild<QPushButton*>("nextButton");
    if (!next) return false;
    bool renamed = false;
    for (int page = 0; page < 20 && controller.assistant(); ++page) {
        if (assistant->assistant().view().lists == AssistantList::PropertyAccounts &&
            assistant->assistant().view().tab != 0 && !renamed) {
            QTableWidget* table = assistant->proposedTable();
            if (table->rowCount() == 0) return false;
            table->item(0, 0)->setCheckState(Qt::Checked);
            table->item(0, 4)->setCheckState(Qt::Checked);
            settleEvents();
            table->item(0, 1)->setText(name);
            settleEvents();
            renamed = true;
        }
        QTest::mouseClick(next, Qt::LeftButton);
        settleEvents();
    }
    return renamed;
}

// The application over a temporary folder, from the defaults of a first
// start: files asked for in panels are booksPath and statementPath, and
// XDG_DATA_HOME points into the folder while the test runs.
class ApplicationFixture : public ::testing::Test {
protected:
    ApplicationFixture()
    {
        if (const char* old = std::getenv("XDG_DATA_HOME")) mOldDataHome = old;
        setenv("XDG_DATA_HOME", folder.filePath("data").toLocal8Bit().constData(), 1);
        setFirstStartDefaults(environment.defaults());
        // As the program's start does: the journal reads the business commands' arguments.
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        controller.setUntitledJournalFolder(folder.path().toStdString());
        controller.setFileChooser([this](QWidget*, bool, const QString&) { return std::optional<QString>(booksPath); });
        controller.setStatementChooser(
            [this](QWidget*, const QString&, const QStringList&) { return std::optional<QString>(statementPath); });
        shell.setDocumentHost(&controller);
        QObject::connect(&controller, &DocumentController::documentsChanged, &shell,
                         &ApplicationShell::documentsChanged);
    }
    ~ApplicationFixture() override
    {
        if (mOldDataHome) setenv("XDG_DATA_HOME", mOldDataHome->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
    }

    static void settle() { settleEvents(); }

    DocumentWindow& window()
    {
        EXPECT_EQ(controller.windows().size(), 1u);
        return *controller.windows().front();
    }
    MyDocument& books() { return window().document(); }
    // How many posted transactions bear the name.
    int transactionsNamed(const std::string& name)
    {
        int count = 0;
        for (const auto& transaction : books().mTransactionArray()) count += transaction->getName() == name;
        return count;
    }
    DocumentWindowFrame& frame() { return *window().frame(); }

    // The item of the window's menus of that name (or title), validated as
    // when its menu opens, then chosen.
    void choose(const QString& name)
    {
        for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>()) emit menu->aboutToShow();
        QAction* found = nullptr;
        for (QMenu* menu : frame().menuBar()->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                if (action->objectName() == name || action->text() == name) found = action;
        ASSERT_NE(found, nullptr) << name.toStdString();
        ASSERT_TRUE(found->isEnabled()) << name.toStdString();
        found->trigger();
        settle();
    }
    void choose(const char* name) { choose(QString::fromUtf8(name)); }

    // The item of the side bar's action menu for a row of that kind.
    void chooseSideBarItem(NodeMenu kind, int tag)
    {
        QMenu* menu = frame().v2Layout().sideBarView()->menuFor(kind);
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
        for (QAction* action : menu->actions())
            if (action->property("tag").toInt() == tag) {
                ASSERT_TRUE(action->isEnabled()) << tag;
                action->trigger();
                settle();
                return;
            }
        ADD_FAILURE() << "no side bar item " << tag;
    }

    // Selects the side bar's row of that title (headers at `level`, any
    // row with 0), opening the tree as far as needed, and answers its page.
    template <class Page = GXSideBarControlledViewAncestor>
    Page* showPage(const std::string& title, int level = 0)
    {
        frame().showMainTab("V2");
        CSideBarController& sideBar = frame().sideBarController();
        const QModelIndex row = openAndFindSideBarRow(sideBar.outlineModel(), title, level);
        if (!row.isValid()) {
            ADD_FAILURE() << "no side bar row " << title;
            return nullptr;
        }
        sideBar.selectionModel().select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle();
        auto* page = dynamic_cast<Page*>(sideBar.currentController());
        EXPECT_NE(page, nullptr) << title;
        return page;
    }

    UiEnvironment environment;
    QTemporaryDir folder;
    std::optional<std::string> mOldDataHome;
    QtDispatcher dispatcher;
    // The desktop's contacts, as the program keeps them: a folder of cards.
    VCardFolderContacts desktopContacts{std::filesystem::path(folder.filePath("contacts").toStdString())};
    DocumentController controller{environment.defaults(), dispatcher, nullptr, &desktopContacts};
    ApplicationShell shell{environment.defaults(), dispatcher};
    QString booksPath;
    QString statementPath;
};

} // namespace ch::test
