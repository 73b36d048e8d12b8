// The page protocol's defaults, the rules the accounts and categories pages
// share for their booking lines, and the lines the bar-chart page charts.

#include "document/arguments/BooksLinkArguments.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/DeveloperLog.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "ui/CBarchartSubviewController.h"
#include "ui/GXAccountCategorySubviewControllerAncestor.h"
#include "ui/SideBarTree.h"
#include "fixture_books.h"
#include "ui_test_support.h"

namespace ch::test {
namespace {

class PlainPage : public GXSideBarControlledViewAncestor {
public:
    using GXSideBarControlledViewAncestor::setMSelectedItem;

protected:
    QWidget* makeControlledView() override { return new QWidget; }
};

// An accounts-or-categories page whose lower table is a field.
class LinesPage : public GXAccountCategorySubviewControllerAncestor {
public:
    using GXAccountCategorySubviewControllerAncestor::setMSelectedItem;

    std::shared_ptr<CDebetItem> line;
    bool focus = false;
    int created = 0;
    int balances = 0;

protected:
    std::shared_ptr<CDebetItem> lowerTableSelection() const override { return line; }
    bool lowerTableHasFocus() const override { return focus; }
    QWidget* makeControlledView() override { return new QWidget; }
    void transactionCreated(const Notification&) override { ++created; }
    void folderBalanceChanged(const Notification&) override { ++balances; }
};

class RecordingChart : public LineChartSink {
public:
    void synchronizeWithArray(const LineItemArray& lines) override
    {
        ++calls;
        shown = lines;
    }
    int calls = 0;
    LineItemArray shown;
};

class PageTest : public ::testing::Test {
protected:
    PageTest()
    {
        page.setDocument(&document);
        CNonVisual* transaction = books.root().mTransactionList->ObjectAt(1);
        CNonVisual* debit = static_cast<CTransaction*>(transaction)->GetDebitList()->ObjectAt(1);
        firstLine = books.dataItemController().debetItemForTransactionDetail(debit);
    }

    UiEnvironment environment;
    TestDocument books;
    FixtureBooks ids = buildFixtureBooks(books, 40);
    RecordingWindowDocument document{books};
    LinesPage page;
    std::shared_ptr<CDebetItem> firstLine;
};

TEST_F(PageTest, APageThatOverridesNothingEnablesAllButDeleteModifyFlagAndTheClipboard)
{
    PlainPage plain;
    plain.setDocument(&document);
    const std::pair<CommandSender, bool> cases[] = {
        {CommandSender::toolbarItem("V2Search", 0), true},      {CommandSender::toolbarItem("newTrans", 1110), true},
        {CommandSender::toolbarItem("budgets", 0), true},       {CommandSender::toolbarItem("deleteObject", 1104), false},
        {CommandSender::toolbarItem("modifyObject", 1114), false}, {CommandSender::toolbarItem("flagObject", 1121), false}};
    for (const auto& [item, enabled] : cases) EXPECT_EQ(plain.validateToolbarItem(item), enabled) << item.identifier;
    for (int tag : {1100, 1104, 1211, 4242}) EXPECT_TRUE(plain.validateMenuItem(tag).enabled) << tag;
    // Cut, copy and paste have nothing to act on in a page that does not take them.
    for (int tag : {12, 13, 14}) EXPECT_FALSE(plain.validateMenuItem(tag).enabled) << tag;
    EXPECT_FALSE(plain.hasSubPages());
    EXPECT_TRUE(plain.doesPageShowTransaction(nullptr));

    // An item whose object is gone is no selection.
    CExpenseType* category = books.root().InsertExpenseType(-1, "Spare", "Spare", "", std::nullopt, ids.household,
                                                            std::nullopt, nullptr, 0.0);
    plain.setMSelectedItem(books.dataItemController().categoryItemForCategory(category));
    EXPECT_NE(plain.mSelectedItem(), nullptr);
    ASSERT_TRUE(books.root().DeleteObject(category));
    EXPECT_EQ(plain.mSelectedItem(), nullptr);
}

TEST_F(PageTest, StatusClickCyclesWhileTheFlagCommandOnlyFlags)
{
    using Sender = GXAccountCategorySubviewControllerAncestor::FlagSender;
    page.line = firstLine;
    struct Case {
        Sender sender;
        int before, after;
    };
    const Case cases[] = {{Sender::StatusColumnClick, 9, 7}, {Sender::StatusColumnClick, 7, 0},
                          {Sender::StatusColumnClick, 0, 9}, {Sender::StatusColumnClick, 4, 9},
                          {Sender::FlagCommand, 7, 0},       {Sender::FlagCommand, 0, 7},
                          {Sender::FlagCommand, 9, 7}};
    // The status goes to the document as its command, so that the journal keeps it.
    auto& sent = document.booking.sent;
    for (const Case& c : cases) {
        SCOPED_TRACE((c.sender == Sender::StatusColumnClick ? "click " : "flag ") + std::to_string(c.before));
        firstLine->setObjectStatus(c.before);
        sent.clear();
        page.flagTransaction(c.sender);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].number, kTransactionStatusCommand);
        EXPECT_EQ(sent[0].target, firstLine->parentTransaction());
        const auto* state = dynamic_cast<const arguments::ObjectStateArguments*>(sent[0].arguments.get());
        ASSERT_NE(state, nullptr);
        EXPECT_EQ(state->status, c.after);
    }
    // Without a selected line nothing changes.
    page.line = nullptr;
    firstLine->setObjectStatus(9);
    sent.clear();
    page.flagTransaction(Sender::FlagCommand);
    EXPECT_EQ(firstLine->objectStatus(), 9);
    EXPECT_TRUE(sent.empty());
}

TEST_F(PageTest, ADoubleClickInTheStatusColumnOpensNoSheet)
{
    using Sender = GXAccountCategorySubviewControllerAncestor::FlagSender;
    page.line = firstLine;
    page.flagTransaction(Sender::StatusColumnClick);
    page.modifyTransaction(true);
    EXPECT_TRUE(books.modified.empty());
    // The modify command still works, and so does a double click elsewhere.
    page.modifyTransaction(false);
    page.clickedInOtherColumn();
    page.modifyTransaction(true);
    ASSERT_EQ(books.modified.size(), 2u);
    EXPECT_EQ(books.modified.front(), firstLine->parentTransaction());
    page.deleteTransaction();
    ASSERT_EQ(document.calls.size(), 1u);
    EXPECT_EQ(document.calls.front().item, firstLine->parentTransaction());
}

TEST_F(PageTest, AccountPageToolbarFollowsTheSelection)
{
    const auto account = books.dataItemController().accountItemForAccount(books.root().GetAccountForID(ids.checking));
    struct Case {
        bool node, line, focus, account;
        bool search, flag, modify, remove, other;
    };
    const Case cases[] = {
        {false, false, false, false, false, false, false, false, true},
        {true, false, false, false, true, false, false, false, true},
        {true, true, false, false, true, true, false, false, true},
        {true, true, true, false, true, true, true, true, true},
        {true, false, true, true, true, false, true, true, true},
        {true, false, false, true, true, false, true, true, true},
    };
    SideBarTree tree = makeSideBarTree(books);
    for (const Case& c : cases) {
        page.synchronizeWithItemFromSuperview(c.node ? tree.headerOf(SideBarRootKind::Debt) : nullptr);
        page.line = c.line ? firstLine : nullptr;
        page.focus = c.focus;
        page.setMSelectedItem(c.account ? account : nullptr);
        SCOPED_TRACE(::testing::Message() << c.node << c.line << c.focus << c.account);
        EXPECT_EQ(page.validateToolbarItem(CommandSender::toolbarItem("V2Search", 0)), c.search);
        EXPECT_EQ(page.validateToolbarItem(CommandSender::toolbarItem("flagObject", 1121)), c.flag);
        EXPECT_EQ(page.validateToolbarItem(CommandSender::toolbarItem("modifyObject", 1114)), c.modify);
        EXPECT_EQ(page.validateToolbarItem(CommandSender::toolbarItem("deleteObject", 1104)), c.remove);
        EXPECT_EQ(page.validateToolbarItem(CommandSender::toolbarItem("newTrans", 1110)), c.other);
    }
}

TEST_F(PageTest, PagesHearOnlyTheirOwnDocument)
{
    TestDocument other;
    buildFixtureBooks(other, 2);
    const auto ownTransaction =
        books.dataItemController().transactionItemForTrnS(books.root().mTransactionList->ObjectAt(1));
    const auto otherTransaction =
        other.dataItemController().transactionItemForTrnS(other.root().mTransactionList->ObjectAt(1));
    const auto otherFolder =
        other.dataItemController().accountTypeItemForAccountType(other.root().GetAccountTypeForId(1));

    NotificationCenter& centre = books.notificationCenter();
    centre.post("TRANSACTIONCREATED", otherTransaction);
    centre.post("FOLDERBALANCECHANGED", otherFolder);
    EXPECT_EQ(page.created, 0);
    EXPECT_EQ(page.balances, 0);
    centre.post("TRANSACTIONCREATED", ownTransaction);
    centre.post("FOLDERBALANCECHANGED",
                books.dataItemController().accountTypeItemForAccountType(books.root().GetAccountTypeForId(1)));
    EXPECT_EQ(page.created, 1);
    EXPECT_EQ(page.balances, 1);
    // The other document's centre never reaches this page at all.
    other.notificationCenter().post("TRANSACTIONCREATED", otherTransaction);
    EXPECT_EQ(page.created, 1);

    // A deletion carries the key, which names no document: it gets through.
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&log](const std::string& line) { log.push_back(line); });
    centre.post("TRANSACTIONDELETED", std::string("TrnS1"));
    EXPECT_EQ(log, (std::vector<std::string>{"Notifiaction in Ancestor"}));
}

TEST_F(PageTest, BarChartGetsProfitAndLossLinesForAccountsAndIncomeAndExpensesForCategories)
{
    CBarchartSubviewController chartPage;
    chartPage.setDocument(&document);
    RecordingChart chart;
    chartPage.setBarChart(&chart);
    SideBarTree tree = makeSideBarTree(books);
    const auto accountsRoot = tree.roots[1];
    const auto categoriesRoot = tree.roots[2];

    chartPage.synchronizeWithItemFromSuperview(accountsRoot);
    ASSERT_EQ(chart.calls, 1);
    ASSERT_FALSE(chart.shown.empty());
    for (std::size_t i = 0; i < chart.shown.size(); ++i) {
        const ObjectIdT account = static_cast<ObjectIdT>(chart.shown[i]->account().value_or(-1));
        EXPECT_TRUE(account == FixtureBooks::kIncomeAccount || account == FixtureBooks::kExpenseAccount) << account;
        if (i > 0) {
            EXPECT_LE(chart.shown[i - 1]->getTransactionDate(), chart.shown[i]->getTransactionDate());
        }
    }

    chartPage.synchronizeWithItemFromSuperview(categoriesRoot);
    ASSERT_EQ(chart.calls, 2);
    ASSERT_FALSE(chart.shown.empty());
    std::size_t bookedOnCategories = 0;
    for (const auto& line : chart.shown) {
        const auto* category = dynamic_cast<CExpenseType*>(line->accountObject());
        ASSERT_NE(category, nullptr);
        EXPECT_FALSE(category->Get_mMasterExpensetypePtr()->IsTransfer());
        ++bookedOnCategories;
    }
    // Every fixture transaction but the transfers books on such a category.
    EXPECT_EQ(bookedOnCategories, 40u - 8u);

    // Other nodes, and an accounts root whose profit-and-loss header holds
    // no type, leave the chart as it was.
    chartPage.synchronizeWithItemFromSuperview(tree.headerOf(SideBarRootKind::Debt));
    auto bareRoot = makeHeaderNode("ACCOUNTBUTTON", 1, fourCC("AccT"), "accounts");
    bareRoot->setChildren(CNonVisualDataItem::ItemArray{makeHeaderNode("PLAcctName", 2, fourCC("AccT"), "acntP&L")});
    chartPage.synchronizeWithItemFromSuperview(bareRoot);
    EXPECT_EQ(chart.calls, 2);
}

} // namespace
} // namespace ch::test
