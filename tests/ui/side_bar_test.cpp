// The side bar without a window: its tree, the page of each node, finding
// nodes by kind, the routing of commands to the tree's own commands or the
// page, and how notifications keep the tree current.

#include <QAbstractItemModelTester>

#include "bridge/DeveloperLog.h"
#include "side_bar_fixture.h"
#include "ui/ChartSink.h"

namespace ch::test {
namespace {

using SideBarTest = SideBarFixture;

TEST_F(SideBarTest, TreeShowsEveryBranchOverTheDocumentsFolders)
{
    QAbstractItemModelTester tester(&model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    openAll();
    const std::vector<std::string> expected = {
        "Transactions", "  Transactions", "  Recurring", "  Generated",
        "Accounts", "  Own Property", "    Own Property", "      Bank Accounts", "      Savings",
        "  Debts", "    Debts", "      Credit Cards",
        "  Profit and Loss", "    Profit and Loss", "  Assets", "    Assets",
        "Categories", "  Income", "    Corrections", "    Income", "    Opening Balances",
        "  Expenses", "    Expenses", "      Household", "      Leisure", "      Transport",
        "  Transfers", "    Transfers",
        "Shares", "Owners", "  Customers", "  Suppliers", "Currencies", "Credit Cards",
        "VAT", "  VAT Periods", "  VAT Rates"};
    EXPECT_EQ(shownTitles(), expected);

    struct Header {
        const char* title;
        int level;
        const char (&type)[5];
        const char* icon;
    };
    const Header headers[] = {
        {"Transactions", 1, "TrnS", "transactions"}, {"Recurring", 2, "RcrT", "recurringTrans"},
        {"Generated", 2, "UnlT", "generatedTrans"},  {"Accounts", 1, "AccT", "accounts"},
        {"Own Property", 2, "AccT", "acntProperty"}, {"Debts", 2, "AccT", "acntDebt"},
        {"Profit and Loss", 2, "AccT", "acntP&L"},   {"Assets", 2, "AccT", "acntAsset"},
        {"Categories", 1, "MxpT", "categories"},     {"Income", 2, "MxpT", "exptIncome"},
        {"Expenses", 2, "MxpT", "exptExpense"},      {"Transfers", 2, "MxpT", "exptTransfer"},
        {"Shares", 1, "ShaR", "stocks"},             {"Owners", 1, "AcoW", "accountowners"},
        {"Customers", 2, "CusT", "customers"},       {"Suppliers", 2, "SupL", "suppliers"},
        {"Currencies", 1, "CurR", "currencies"},     {"Credit Cards", 1, "CcrD", "creditcards"},
        {"VAT", 1, "VatP", "vatIcon32"},             {"VAT Periods", 2, "VatP", "transactions"},
        {"VAT Rates", 2, "VatR", "recurringTrans"}};
    for (const Header& header : headers) {
        const auto item = model().itemAt(row(header.title, header.level));
        ASSERT_TRUE(item) << header.title;
        EXPECT_EQ(item->objectType(), fourCC(header.type)) << header.title;
        EXPECT_EQ(item->getIconName(), header.icon) << header.title;
        EXPECT_EQ(item->getSourceItem(), nullptr) << header.title;
    }
    // Folders are the registry's own items.
    const auto bank = model().itemAt(row("Bank Accounts"));
    EXPECT_EQ(bank, books.dataItemController().accountTypeItemForAccountType(
                        books.root().GetAccountTypeForId(ids.bankTypes)));
}

TEST_F(SideBarTest, RootsOpenThemselvesAndFoldersKeepTheirOpenFlag)
{
    // Every root but the transactions root opens when shown; second-level
    // headers stay closed.
    EXPECT_FALSE(model().isExpanded(row("Transactions", 1)));
    for (const char* root : {"Accounts", "Categories", "Owners", "VAT"})
        EXPECT_TRUE(model().isExpanded(row(root, 1))) << root;
    EXPECT_FALSE(model().isExpanded(row("Own Property", 2)));

    // The default "Own Property" type is stored open: it opens with its header.
    model().setExpanded(row("Own Property", 2), true);
    const QModelIndex type = row("Own Property", -1);
    EXPECT_TRUE(model().isExpanded(type));
    CNonVisual* typeObject = books.root().GetAccountTypeForId(FixtureBooks::kOwnProperty);
    model().setExpanded(type, false);
    EXPECT_FALSE(typeObject->Get_mb_IsOpen());

    // Reopening the header leaves the type as it was left; setting its flag
    // brings it back open the next time it is shown.
    model().setExpanded(row("Own Property", 2), false);
    model().setExpanded(row("Own Property", 2), true);
    EXPECT_FALSE(model().isExpanded(row("Own Property", -1)));
    typeObject->Put_mb_IsOpen(true);
    model().setExpanded(row("Own Property", 2), false);
    model().setExpanded(row("Own Property", 2), true);
    EXPECT_TRUE(model().isExpanded(row("Own Property", -1)));
}

TEST_F(SideBarTest, SelectingEachNodeShowsItsPage)
{
    recordPages();
    openAll();
    struct Case {
        const char* title;
        int level;
        SideBarPageKind page;
        bool showsNode;          // the page is synchronized with the node (else with none)
        const char* subPage;     // "" when the page gets none
        const char* lowerTab;
    };
    const Case cases[] = {
        {"Transactions", 2, SideBarPageKind::Transactions, false, "TrnS", "trns"},
        {"Recurring", 2, SideBarPageKind::Transactions, false, "RcrT", "trns"},
        {"Generated", 2, SideBarPageKind::Transactions, false, "UnlT", "trns"},
        {"Accounts", 1, SideBarPageKind::BarChart, true, "", "trns"},
        {"Debts", 2, SideBarPageKind::Accounts, true, "", "acct"},
        {"Bank Accounts", -1, SideBarPageKind::Accounts, true, "", "acct"},
        {"Categories", 1, SideBarPageKind::BarChart, true, "", "trns"},
        {"Household", -1, SideBarPageKind::Categories, true, "", "acct"},
        {"Shares", 1, SideBarPageKind::Portfolio, false, "", "trns"},
        {"Owners", 1, SideBarPageKind::Owners, false, "AcoW", "trns"},
        {"Suppliers", 2, SideBarPageKind::Owners, false, "SupL", "trns"},
        {"Currencies", 1, SideBarPageKind::Currencies, false, "", "trns"},
        {"Credit Cards", 1, SideBarPageKind::CreditCards, false, "", "trns"},
        {"VAT Rates", 2, SideBarPageKind::BusinessSetup, false, "VatR", "trns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        select(c.title, c.level);
        ASSERT_TRUE(sideBar.currentPageKind());
        EXPECT_EQ(*sideBar.currentPageKind(), c.page);
        RecordingPage* page = pages.at(c.page);
        EXPECT_EQ(sideBar.currentController(), page);
        const auto node = model().itemAt(row(c.title, c.level));
        EXPECT_EQ(sideBar.currentItem(), node);
        ASSERT_FALSE(page->shownNodes.empty());
        EXPECT_EQ(page->shownNodes.back(), c.showsNode ? node : nullptr);
        if (*c.subPage) {
            ASSERT_FALSE(page->subPages.empty());
            EXPECT_EQ(page->subPages.back(), fourCCFromString(c.subPage));
        }
        EXPECT_EQ(sideBar.lowerPaneTab(), c.lowerTab);
    }
    // One controller per kind, made once.
    select("Transactions", 2);
    EXPECT_EQ(sideBar.currentController(), pages.at(SideBarPageKind::Transactions));
    EXPECT_EQ(pages.at(SideBarPageKind::Transactions)->shownNodes.size(), 4u);
}

TEST_F(SideBarTest, ButtonsFollowTheNodesMenu)
{
    openAll();
    struct Case {
        const char* title;
        int level;
        NodeMenu menu;
        bool newButton;
    };
    const Case cases[] = {
        {"Bank Accounts", -1, NodeMenu::Account, true},   {"Accounts", 1, NodeMenu::Empty, false},
        {"Household", -1, NodeMenu::Category, true},      {"Expenses", 2, NodeMenu::Empty, false},
        {"Transactions", 2, NodeMenu::Transaction, true}, {"Recurring", 2, NodeMenu::RecurringTransaction, true},
        {"Shares", 1, NodeMenu::Share, true},             {"Currencies", 1, NodeMenu::Currency, true},
        {"Owners", 1, NodeMenu::Owner, true},             {"Customers", 2, NodeMenu::Empty, false},
        {"VAT", 1, NodeMenu::Empty, false}};
    for (const Case& c : cases) {
        select(c.title, c.level);
        EXPECT_EQ(sideBar.actionMenu(), c.menu) << c.title;
        EXPECT_EQ(sideBar.newButtonEnabled(), c.newButton) << c.title;
        EXPECT_EQ(sideBar.actionButtonEnabled(), c.newButton) << c.title;
    }
    // The credit cards have no menu: "+" goes off, the action button keeps
    // its state and offers the empty menu.
    select("Shares", 1);
    select("Credit Cards", 1);
    EXPECT_FALSE(sideBar.newButtonEnabled());
    EXPECT_TRUE(sideBar.actionButtonEnabled());
    EXPECT_EQ(sideBar.actionMenu(), NodeMenu::Empty);
}

class RecordingPie : public ItemChartSink {
public:
    void synchronizeWithArray(const CNonVisualDataItem::ItemArray& items) override
    {
        names.clear();
        for (const auto& item : items) names.push_back(item->getName());
    }
    std::vector<std::string> names;
};

TEST_F(SideBarTest, PieChartShowsTheChildrenOfALoneChild)
{
    RecordingPie pie;
    sideBar.setAccountPie(&pie);
    openAll();
    // The header holds one type: the pie shows that type's children.
    select("Own Property", 2);
    EXPECT_EQ(pie.names, (std::vector<std::string>{"Bank Accounts", "Savings", "Cash"}));
    select("Bank Accounts");
    EXPECT_EQ(pie.names, (std::vector<std::string>{"Dollar Account", "Checking Account"}));

    // A new account of the folder shown joins the pie at once, and leaves it
    // when deleted.
    CDocAccounting& root = books.root();
    CAccount* joint = root.InsertAccount(-1, "Joint Account", "Joint Account", nullptr, std::nullopt, ids.bankTypes, 1,
                                         root.GetAccountTypeForId(ids.bankTypes));
    ASSERT_TRUE(joint);
    books.notificationCenter().post("ACCOUNTCREATED", books.dataItemController().accountItemForAccount(joint));
    EXPECT_EQ(pie.names, (std::vector<std::string>{"Dollar Account", "Joint Account", "Checking Account"}));
    const std::string key = joint->CalculateKey();
    ASSERT_TRUE(root.DeleteObject(joint));
    books.notificationCenter().post("ACCOUNTDELETED", key);
    EXPECT_EQ(pie.names, (std::vector<std::string>{"Dollar Account", "Checking Account"}));
}

TEST_F(SideBarTest, SelectsTheNodeOfAnObjectKind)
{
    struct Case {
        const char (&type)[5];
        int level;
        const char* title;   // "" when nothing is selected
        int headerLevel;
    };
    const Case cases[] = {
        {"TrnS", 2, "Transactions", 2}, {"RcrT", 2, "Recurring", 2},  {"UnlT", 2, "Generated", 2},
        {"AccT", 1, "Accounts", 1},     {"MxpT", 1, "Categories", 1}, {"ShaR", 1, "Shares", 1},
        {"CurR", 1, "Currencies", 1},   {"AcoW", 1, "Owners", 1},     {"CcrD", 1, "Credit Cards", 1},
        {"VatP", 1, "", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        sideBar.selectionModel().clearSelection();
        model().setExpanded(row("Transactions", 1), false);
        sideBar.selectNodeWithType(fourCC(c.type), c.level);
        EXPECT_EQ(selectedTitle(), c.title);
        if (*c.title) {
            EXPECT_EQ(model().itemAt(sideBar.selectionModel().selectedRows().first())->headerLevel(), c.headerLevel);
        }
    }
    // The transactions root was opened to reach its children.
    sideBar.selectNodeWithType(fourCC("RcrT"), 2);
    EXPECT_TRUE(model().isExpanded(row("Transactions", 1)));
}

TEST_F(SideBarTest, AFolderNamedLikeAHeaderDoesNotTakeItsPlace)
{
    // A user's expense group called "Recurring", shown in the tree.
    books.root().InsertMasterExpenseType(-1, "Recurring", "Recurring", nullptr, std::nullopt, 1,
                                         FixtureBooks::kExpenseGroup);
    sideBar.makeTreeRoot();
    openAll();
    ASSERT_TRUE(row("Recurring", -1).isValid());
    sideBar.selectNodeWithType(fourCC("RcrT"), 2);
    EXPECT_EQ(model().itemAt(sideBar.selectionModel().selectedRows().first())->headerLevel(), 2);
    EXPECT_EQ(sideBar.currentPageKind(), SideBarPageKind::Transactions);
    EXPECT_EQ(sideBar.indexOfItemNamed("Recurring", 2), -1);
}

TEST_F(SideBarTest, CommandsGoToTheTreeOrToThePage)
{
    recordPages();
    openAll();
    struct Case {
        const char* node;
        int level;
        bool outlineFocus;
        int code;
        bool fromToolbar;
        std::vector<std::string> operations;   // of the document
        std::vector<int> pageCommands;         // of the current page
    };
    const Case cases[] = {
        {"Bank Accounts", -1, true, 1100, false, {"createNewAccountTypeAsked"}, {}},
        {"Bank Accounts", -1, true, 1104, false, {"deleteObject"}, {}},
        {"Bank Accounts", -1, true, 1106, false, {"createNewAccountTypeAsked"}, {}},
        {"Bank Accounts", -1, true, 1114, false, {"createNewAccountTypeAsked"}, {}},
        {"Bank Accounts", -1, true, 1121, false, {}, {}},
        {"Household", -1, true, 1100, false, {"createNewMasterExpenseTypeAsked"}, {}},
        {"Household", -1, true, 1104, false, {"deleteObject"}, {}},
        {"Bank Accounts", -1, false, 1104, false, {}, {1104}},
        {"Debts", 2, true, 1104, false, {}, {1104}},
        {"Transactions", 2, true, 1121, false, {}, {1121}},
        {"Transactions", 2, false, 13, false, {}, {13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + std::to_string(c.code));
        select(c.node, c.level);
        RecordingPage* page = pages.at(*sideBar.currentPageKind());
        page->commands.clear();
        document.calls.clear();
        outlineHasFocus = c.outlineFocus;
        sideBar.passMenuCommand(c.code, c.fromToolbar ? CommandSender::toolbarItem("x", c.code)
                                                      : CommandSender::menuItem(c.code));
        EXPECT_EQ(document.operations(), c.operations);
        EXPECT_EQ(page->commands, c.pageCommands);
    }
    // The toolbar's new transaction asks for a new transaction whatever is shown.
    select("Household");
    outlineHasFocus = true;
    sideBar.passMenuCommand(1100, CommandSender::toolbarItem("newTrans", 1110));
    ASSERT_EQ(books.transactionInputs.size(), 1u);
    const auto& input = books.transactionInputs.front();
    EXPECT_EQ(input.from, nullptr);
    EXPECT_EQ(input.type, 3);
    EXPECT_EQ(input.action, 1);
    EXPECT_FALSE(input.recurring);
}

TEST_F(SideBarTest, TreeCommandsOpenTheirSheetsWithTheirParameters)
{
    openAll();
    using Command = void (CSideBarController::*)();
    struct Case {
        const char* node;
        Command command;
        const char* operation;
        int action;
        std::optional<long> accountType, masterAccountType, masterExpenseType;
        std::optional<int> systemExpenseType;
        bool toModify;
        bool named;
    };
    const long bank = ids.bankTypes;
    const long household = ids.household;
    const Case cases[] = {
        {"Bank Accounts", &CSideBarController::newPressed, "createNewAccountTypeAsked", 1, 1L, 1L, {}, {}, false, false},
        {"Bank Accounts", &CSideBarController::newBelowPressed, "createNewAccountTypeAsked", 1, bank, 1L, {}, {}, false,
         false},
        {"Bank Accounts", &CSideBarController::modifyPressed, "createNewAccountTypeAsked", 2, {}, {}, {}, {}, true,
         false},
        {"Household", &CSideBarController::newPressed, "createNewMasterExpenseTypeAsked", 1, {}, {},
         FixtureBooks::kExpenseGroup, 1, false, true},
        {"Household", &CSideBarController::newBelowPressed, "createNewMasterExpenseTypeAsked", 1, {}, {}, household,
         1, false, true},
        {"Household", &CSideBarController::modifyPressed, "createNewMasterExpenseTypeAsked", 2, {}, {}, {}, {}, true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + c.operation + " " + std::to_string(c.action));
        select(c.node);
        document.calls.clear();
        (sideBar.*c.command)();
        ASSERT_EQ(document.calls.size(), 1u);
        const ObjectSheetParameters& p = document.calls.front().parameters;
        EXPECT_EQ(document.calls.front().operation, c.operation);
        EXPECT_EQ(p.document, &books);
        EXPECT_EQ(p.dialogAction, c.action);
        EXPECT_EQ(p.accountType, c.accountType);
        EXPECT_EQ(p.masterAccountType, c.masterAccountType);
        EXPECT_EQ(p.masterExpenseType, c.masterExpenseType);
        EXPECT_EQ(p.systemExpenseType, c.systemExpenseType);
        EXPECT_EQ(p.name, c.named ? std::optional<std::string>("??") : std::nullopt);
        const auto toModify = p.accountTypeToModify ? p.accountTypeToModify : p.masterExpenseTypeToModify;
        EXPECT_EQ(toModify, c.toModify ? sideBar.currentItem() : nullptr);
    }

    // New inside: an account of the type, a category of the group.
    document.calls.clear();
    select("Bank Accounts");
    sideBar.newObjectBelowPressed();
    select("Household");
    sideBar.newObjectBelowPressed();
    sideBar.removePressed();
    ASSERT_EQ(document.calls.size(), 3u);
    EXPECT_EQ(document.calls[0].operation, "initiateAccountCreationWithMasterType");
    EXPECT_EQ(document.calls[0].id, ids.bankTypes);
    EXPECT_EQ(document.calls[1].operation, "initiateExpenseTypeCreationWithParentType");
    EXPECT_EQ(document.calls[1].id, ids.household);
    EXPECT_EQ(document.calls[2].operation, "deleteObject");
    EXPECT_EQ(document.calls[2].item, sideBar.currentItem());
}

TEST_F(SideBarTest, ModifyingAHeaderDoesNothing)
{
    // A double click on a header of the accounts or categories branch.
    openAll();
    for (auto [title, level] : {std::pair{"Accounts", 1}, {"Debts", 2}, {"Categories", 1}, {"Expenses", 2}}) {
        select(title, level);
        sideBar.modifyPressed();
    }
    EXPECT_TRUE(document.calls.empty());
}

TEST_F(SideBarTest, MenuItemsValidateByPageFocusAndNode)
{
    recordPages();
    openAll();
    const auto bank = model().itemAt(row("Bank Accounts"));
    struct Case {
        const char* node;
        int level;
        bool outlineFocus;
        int tag;
        bool enabled;
        std::optional<std::string> title;
    };
    const MenuItemValidation bankNew = bank->validateMenuItem(1100);
    const MenuItemValidation bankDelete = bank->validateMenuItem(1104);
    const Case cases[] = {
        // The transactions page answers for itself, focus or not.
        {"Transactions", 2, true, 1104, true, std::nullopt},
        {"Transactions", 2, true, 555, false, std::nullopt},
        // On the tree, an account type answers for its own commands.
        {"Bank Accounts", -1, true, 1100, bankNew.enabled, bankNew.title},
        {"Bank Accounts", -1, true, 1104, bankDelete.enabled, bankDelete.title},
        // A header on the focused tree: nothing.
        {"Debts", 2, true, 1100, false, std::nullopt},
        // The page's own tag and the unfocused tree: the page.
        {"Debts", 2, true, 1211, true, std::nullopt},
        {"Bank Accounts", -1, false, 1100, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + std::to_string(c.tag));
        select(c.node, c.level);
        pages.at(*sideBar.currentPageKind())->disabledTag = 555;
        outlineHasFocus = c.outlineFocus;
        const MenuItemValidation validation = sideBar.validateMenuItem(c.tag);
        EXPECT_EQ(validation.enabled, c.enabled);
        EXPECT_EQ(validation.title, c.title);
    }
    EXPECT_EQ(bankNew.title, "New Account Type\u2026");

    // Without a page every item and toolbar item is off.
    CSideBarController bare(document);
    EXPECT_FALSE(bare.validateMenuItem(1100).enabled);
    EXPECT_FALSE(bare.validateToolbarItem(CommandSender::toolbarItem("newTrans", 1110)));
}

TEST_F(SideBarTest, NotificationsKeepTheTreeCurrent)
{
    QAbstractItemModelTester tester(&model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    openAll();
    CDocAccounting& root = books.root();
    auto& registry = books.dataItemController();
    NotificationCenter& centre = books.notificationCenter();

    // A type made below another appears below it (the model tells its parent).
    root.InsertAccountType(-1, "Joint Accounts", "Joint Accounts", "", std::nullopt, 1, ids.bankTypes);
    openAll();
    EXPECT_TRUE(row("Joint Accounts").isValid());
    EXPECT_EQ(model().itemAt(row("Joint Accounts").parent())->getName(), "Bank Accounts");

    // A new top-level type joins its header and is selected.
    CAccType* business = root.InsertAccountType(-1, "Business", "Business", "", std::nullopt, 1, -1);
    const auto businessItem = registry.accountTypeItemForAccountType(business);
    centre.post("ACCOUNTTYPECREATED", businessItem);
    EXPECT_EQ(model().itemAt(row("Business").parent())->getName(), "Own Property");
    EXPECT_EQ(selectedTitle(), "Business");

    // Moved below another type, it leaves the header.
    root.Put_mParentId(root.GetAccountTypeForId(ids.savingsTypes), business);
    centre.post("OBJECTREMOVEDFROMROOTNOTIFICATION", businessItem);
    openAll();
    const std::vector<QModelIndex> businessRows = model().indexesOfItem(businessItem.get());
    ASSERT_EQ(businessRows.size(), 1u);
    EXPECT_EQ(model().itemAt(businessRows.front().parent())->getName(), "Savings");

    // Anything but a folder there is a mistake that is logged.
    std::vector<std::string> log;
    {
        ScopedDeveloperLogCapture capture([&log](const std::string& line) { log.push_back(line); });
        centre.post("OBJECTREMOVEDFROMROOTNOTIFICATION",
                    registry.accountItemForAccount(root.GetAccountForID(ids.checking)));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"Unforseen Object Type. Only account types or category types are "
                                             "supposed to be root items. CSideBarController 1380"}));

    // A deleted type leaves the tree; the side bar forgets it as its node.
    select("Joint Accounts");
    CAccType* joint = root.GetAccountTypeForName("Joint Accounts");
    const auto jointItem = registry.accountTypeItemForAccountType(joint);
    centre.post("ACCOUNTTYPEWILLBEDELETED", jointItem);
    EXPECT_EQ(sideBar.currentItem(), nullptr);
    const std::string key = joint->CalculateKey();
    ASSERT_TRUE(root.DeleteObject(joint));
    centre.post("ACCOUNTTYPEDELETED", key);
    EXPECT_TRUE(model().indexesOfItem(jointItem.get()).empty());
    for (const std::string& title : shownTitles()) EXPECT_EQ(title.find("Joint"), std::string::npos);
}

TEST_F(SideBarTest, IgnoresTheObjectsOfAnotherDocument)
{
    recordPages();
    openAll();
    TestDocument other;
    CAccType* foreign = other.root().InsertAccountType(-1, "Foreign", "Foreign", "", std::nullopt, 1, -1);
    const auto foreignItem = other.dataItemController().accountTypeItemForAccountType(foreign);
    const auto foreignChecking = other.dataItemController().accountItemForAccount(other.root().GetAccountForID(4));

    select("Bank Accounts");
    const auto current = sideBar.currentItem();
    const std::vector<std::string> before = shownTitles();
    NotificationCenter& centre = books.notificationCenter();
    for (const char* name : {"ACCOUNTTYPECREATED", "CATEGORYTYPECREATED", "ACCOUNTTYPEMODIFIED",
                             "CHILDFOLDERSCHANGEDNOTIFICATION", "ACCOUNTTYPEWILLBEDELETED",
                             "CATEGORYTYPEWILLBEDELETED"})
        centre.post(name, foreignItem);
    std::vector<std::string> log;
    {
        ScopedDeveloperLogCapture capture([&log](const std::string& line) { log.push_back(line); });
        centre.post("OBJECTREMOVEDFROMROOTNOTIFICATION", foreignChecking);
    }
    EXPECT_EQ(sideBar.currentItem(), current);
    EXPECT_EQ(selectedTitle(), "Bank Accounts");
    EXPECT_EQ(shownTitles(), before);
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace ch::test
