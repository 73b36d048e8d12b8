// Which toolbar items and menu items a document window enables, in each
// state of the window, and where their commands go.

#include <QLineEdit>

#include "window_fixture.h"

namespace ch::test {
namespace {

class CommandRoutingTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    OpenDocument open;
};

// What an item's state is expected to be: off, on, or what the selected
// folder itself answers.
enum Expect { Off, On, Folder };

TEST_F(CommandRoutingTest, ItemsEnableAsTheRoutingTableSays)
{
    struct State {
        const char* name;
        std::function<void(OpenDocument&)> enter;
    };
    const State states[] = {
        {"no page yet", [](OpenDocument&) {}},
        {"transactions page", [](OpenDocument& o) { o.select("Transactions", 2); }},
        {"folder on the focused tree",
         [](OpenDocument& o) {
             o.select("Bank Accounts");
             o.outline().setFocus();
         }},
        {"header on the focused tree",
         [](OpenDocument& o) {
             o.select("Debts", 2);
             o.outline().setFocus();
         }},
        {"folder, tree not focused",
         [](OpenDocument& o) {
             o.select("Bank Accounts");
             o.window->toolbar().searchField()->setFocus();
         }},
        {"reports tab", [](OpenDocument& o) { o.window->showMainTab("repo"); }},
        {"budget tab",
         [](OpenDocument& o) {
             o.window->router().setBudgetValidation([](int tag) -> std::optional<MenuItemValidation> {
                 if (tag == 1100) return MenuItemValidation{true, std::nullopt};
                 if (tag == 1104) return MenuItemValidation{};
                 return std::nullopt;
             });
             o.window->showMainTab("budg");
         }},
    };
    const std::vector<std::string> toolbar = {"main",         "settings",     "newTrans", "newAccount",
                                              "newCategory",  "deleteObject", "modifyObject", "flagObject",
                                              "budgets",      "reports",      "import",   "V2Search"};
    // Rows: toolbar items, one column per state.
    const std::vector<std::vector<Expect>> toolbarExpected = {
        /* main */ {Off, On, On, On, On, On, On},
        /* settings */ {Off, On, On, On, On, On, On},
        /* newTrans */ {Off, On, On, On, On, On, On},
        /* newAccount */ {Off, On, On, On, On, On, On},
        /* newCategory */ {Off, On, On, On, On, On, On},
        // The transactions page has no row chosen.
        /* deleteObject */ {Off, Off, Off, Off, Off, Off, Off},
        /* modifyObject */ {Off, Off, Off, Off, Off, Off, Off},
        /* flagObject */ {Off, Off, Off, Off, Off, Off, Off},
        /* budgets */ {Off, On, On, On, On, On, On},
        /* reports */ {Off, On, On, On, On, On, On},
        /* import */ {Off, On, On, On, On, On, On},
        /* V2Search */ {Off, On, On, On, On, On, On},
    };
    const std::vector<std::pair<QString, int>> menus = {
        {"CUTMENUITEM", 12},        {"COPYMENUITEM", 13},          {"DELETEMENUITEM", 1104},
        {"DUPLICATEMENUITEM", 1109}, {"DUPLICATEFIRSTMENUITEM", 1115}, {"NEWOBJECTMENUITEM", 1100},
        {"MODIFYMENUITEM", 1114},   {"TransFrom", 1111},            {"FLAGMENUITEM", 1121},
        {"LINKMENUITEM", 1207},     {"NEWACCOUNTBUTTON", 0},        {"MAINBUTTON", 0}};
    // With the tree not focused the accounts page decides: with no line and
    // no account selected, copy, delete, duplicate, modify and a transfer
    // from an account have nothing to act on.
    const std::vector<std::vector<Expect>> menuExpected = {
        // Cut moves a chosen transaction: none is chosen, and a side-bar row
        // is moved by dragging it.
        /* cut 12 */ {Off, Off, Off, Off, Off, Off, Off},
        /* copy 13 */ {Off, Off, Folder, Off, Off, Off, Off},
        /* delete 1104 */ {Off, Off, Folder, Off, Off, Off, Off},
        /* duplicate 1109 */ {Off, Off, Folder, Off, Off, Off, Off},
        /* duplicate first 1115 */ {Off, On, Folder, Off, On, Off, Off},
        /* new 1100 */ {Off, On, Folder, Off, On, Off, On},
        /* modify 1114 */ {Off, Off, Folder, Off, Off, Off, Off},
        // The transactions page names no account to make it from.
        /* new outgoing 1111 */ {Off, Off, Folder, Off, Off, Off, Off},
        /* flag 1121 */ {Off, Off, Folder, Off, On, Off, Off},
        /* link 1207 */ {Off, Off, Folder, Off, On, Off, Off},
        /* new account, no tag */ {On, On, On, On, On, On, On},
        /* overview, no tag */ {On, On, On, On, On, On, On},
    };

    for (std::size_t s = 0; s < std::size(states); ++s) {
        SCOPED_TRACE(states[s].name);
        OpenDocument o;
        o.window = std::make_unique<DocumentWindowFrame>(o.document);
        o.window->resize(1280, 800);
        o.window->show();
        if (s > 0) processEvents();   // the window opens on the transactions page on the next turn
        states[s].enter(o);
        o.window->validateToolbar();
        o.showMenus();
        const auto folder = o.sideBar().currentItem();
        for (std::size_t i = 0; i < toolbar.size(); ++i)
            EXPECT_EQ(o.toolbarItem(toolbar[i])->isEnabled(), toolbarExpected[i][s] == On) << toolbar[i];
        for (std::size_t i = 0; i < menus.size(); ++i) {
            QAction* item = o.menuItem(menus[i].first);
            const Expect expected = menuExpected[i][s];
            if (expected == Folder) {
                const MenuItemValidation answer = folder->validateMenuItem(menus[i].second);
                EXPECT_EQ(item->isEnabled(), answer.enabled) << menus[i].first.toStdString();
                if (answer.title) {
                    EXPECT_EQ(item->text().toStdString(), *answer.title);
                }
            } else {
                EXPECT_EQ(item->isEnabled(), expected == On) << menus[i].first.toStdString();
            }
        }
        if (s == 2) {
            EXPECT_EQ(o.menuItem("NEWOBJECTMENUITEM")->text(), QString::fromUtf8("New Account Type\u2026"));
            EXPECT_EQ(o.menuItem("MODIFYMENUITEM")->text(), QStringLiteral("Modify 'Bank Accounts'"));
        }
        if (s == 1) {
            EXPECT_EQ(o.menuItem("NEWOBJECTMENUITEM")->text(), QString::fromUtf8("New\u2026"));
        }
    }
}

TEST_F(CommandRoutingTest, CommandsReachTheirDocumentOperationsAndPages)
{
    open.open();
    // The window opened on the transactions page.
    EXPECT_EQ(open.sideBar().currentPageKind(), SideBarPageKind::Transactions);

    open.toolbarItem("newTrans")->trigger();
    ASSERT_EQ(open.books.transactionInputs.size(), 1u);
    open.toolbarItem("settings")->trigger();
    open.toolbarItem("newAccount")->trigger();
    open.toolbarItem("newCategory")->trigger();
    EXPECT_EQ(open.document.operations(),
              (std::vector<std::string>{"showDocumentSettings", "newPLAccount", "newExpenseType"}));

    // Page items switch the main tab and select their toolbar item.
    open.toolbarItem("reports")->trigger();
    EXPECT_EQ(open.window->currentMainTab(), "repo");
    EXPECT_EQ(open.window->toolbar().selectedItemIdentifier(), "reports");
    // There New Transaction, enabled, asks for a transaction too.
    open.toolbarItem("newTrans")->trigger();
    EXPECT_EQ(open.books.transactionInputs.size(), 2u);
    // A page of the side bar brings the side-bar layout back.
    open.menuItem("ACCOUNTBUTTON")->trigger();
    EXPECT_EQ(open.window->currentMainTab(), "V2");
    EXPECT_EQ(open.window->toolbar().selectedItemIdentifier(), "main");
    EXPECT_EQ(open.sideBar().currentPageKind(), SideBarPageKind::BarChart);

    // Delete on the focused tree deletes the folder.
    open.select("Bank Accounts");
    open.outline().setFocus();
    open.document.calls.clear();
    open.menuItem("DELETEMENUITEM")->trigger();
    ASSERT_EQ(open.document.calls.size(), 1u);
    EXPECT_EQ(open.document.calls.front().item->getName(), "Bank Accounts");

    // An item left enabled from an earlier state is checked again before it runs.
    open.showMenus();
    ASSERT_TRUE(open.menuItem("DELETEMENUITEM")->isEnabled());
    open.select("Debts", 2);
    open.document.calls.clear();
    open.menuItem("DELETEMENUITEM")->trigger();
    EXPECT_TRUE(open.document.calls.empty());
}

} // namespace
} // namespace ch::test
