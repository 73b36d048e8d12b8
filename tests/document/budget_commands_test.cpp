// The budget commands 0 to 5 through the document's executor: what each
// does to the budget model, what a refused one leaves, and the journal.

#include <gtest/gtest.h>

#include "budget_fixture.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/BudgetArguments.h"

namespace ch::test {
namespace {

using namespace budget_item;
using Bytes = std::vector<std::uint8_t>;

class BudgetCommandsTest : public BudgetBooksTest {
protected:
    BudgetCommandsTest() : budget(makeBudget()) { document->clearChangeCount(); }

    double figure(ObjectIdT accountId, BudgetItemTypeT kind, int month)
    {
        return accountLine(*budget, accountId)->getBudgettedAmountWithType(kind, month).value_or(-1e9);
    }

    std::shared_ptr<CBuDhItem> budget;
};

TEST_F(BudgetCommandsTest, BudgetIsMadeFromLastYearsBookingsAndListedByTheDocument)
{
    ASSERT_NE(budget, nullptr);
    EXPECT_EQ(document->mBudgetArray().size(), 1u);
    EXPECT_EQ(budget->mStartDate(), 20090101);
    EXPECT_EQ(budget->mComment(), "");
    // January planned what January 2008 booked.
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetIn, 0), 500.0);
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 1), 120.0);
    std::shared_ptr<CBuDdItem> food = categoryLine(*budget, books::kExpenseCategory);
    ASSERT_NE(food, nullptr);
    std::shared_ptr<CBuDxItem> january = xrefOf(*food, 0, books::kDefaultAccount);
    ASSERT_NE(january, nullptr);
    EXPECT_DOUBLE_EQ(january->mBudgetFrom().value_or(0), 100.0);

    // A reopened document lists the budgets of its file.
    std::unique_ptr<MyDocument> reopened = openDocument(document->modelStreamBytes(), folder.file("B.books"));
    ASSERT_EQ(reopened->mBudgetArray().size(), 1u);
    EXPECT_EQ(reopened->mBudgetArray()[0]->getName(), "Household");
}

TEST_F(BudgetCommandsTest, EachCommandChangesTheBudgetAndMarksTheDocument)
{
    CCommandExecutor& run = executor();

    // 5: name, comment and blocked flag.
    EXPECT_EQ(run.executeCommand(5, budget, arguments::ModifyBudgetHeaderArguments("Home", "Tight year", false)), 1);
    EXPECT_EQ(budget->getName(), "Home");
    EXPECT_EQ(budget->mComment(), "Tight year");
    EXPECT_TRUE(document->isDocumentEdited());

    // 2: the default account pays the income category nothing yet; spread 40 out over April to June.
    arguments::NewBudgetXRefArguments create(40.0, 0.0, 0.0, 0.0, "Gym", false, 3, 3, 5, books::kDefaultAccount,
                                             books::kExpenseCategory);
    EXPECT_EQ(run.executeCommand(2, budget, create), 1);
    for (int month : {3, 4, 5}) {
        SCOPED_TRACE(month);
        std::shared_ptr<CBuDxItem> onAccount =
            xrefOf(*accountLine(*budget, books::kDefaultAccount), month, books::kExpenseCategory);
        ASSERT_NE(onAccount, nullptr);
        EXPECT_DOUBLE_EQ(onAccount->mBudgetFrom().value_or(0), 40.0);
        EXPECT_NE(xrefOf(*categoryLine(*budget, books::kExpenseCategory), month, books::kDefaultAccount), nullptr);
        EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, month), 40.0);
    }
    EXPECT_EQ(xrefOf(*accountLine(*budget, books::kDefaultAccount), 6, books::kExpenseCategory), nullptr);

    // 1: April and May to 60, June stays.
    std::shared_ptr<CBuDxItem> april =
        xrefOf(*accountLine(*budget, books::kDefaultAccount), 3, books::kExpenseCategory);
    EXPECT_EQ(run.executeCommand(1, april, arguments::ModifyBudgetXRefArguments(60.0, 0.0, 0.0, 0.0, "", false, 3, 3, 4)),
              1);
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 3), 60.0);
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 4), 60.0);
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 5), 40.0);

    // 0: the account's planned outgoings of April, spread over its cross-references.
    std::shared_ptr<CBuDdItem> line = accountLine(*budget, books::kDefaultAccount);
    EXPECT_EQ(run.executeCommand(0, line, arguments::ModifyBudgetDetailArguments(90.0, 0.0, 0.0, 0.0, "", false, 3)),
              1);
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 3), 90.0);

    // 4: a transfer of 250 in March to the savings account.
    const double savingsInBefore = figure(savingsId, kBudgetIn, 2);
    EXPECT_EQ(run.executeCommand(4, budget,
                                 arguments::TransferBudgetXRefArguments(250.0, 2, books::kDefaultAccount,
                                                                        kTransferCategory, savingsId)),
              1);
    EXPECT_DOUBLE_EQ(figure(savingsId, kBudgetIn, 2) - savingsInBefore, 250.0);

    // 3: June's cross-reference goes from both lines; an item of it shown on
    // the other side is detached and reads what it last showed.
    std::shared_ptr<CBuDxItem> juneOnCategory =
        xrefOf(*categoryLine(*budget, books::kExpenseCategory), 5, books::kDefaultAccount);
    std::shared_ptr<CBuDxItem> juneOnAccount =
        xrefOf(*accountLine(*budget, books::kDefaultAccount), 5, books::kExpenseCategory);
    ASSERT_NE(juneOnCategory, nullptr);
    EXPECT_EQ(run.executeCommand(3, juneOnAccount, CommandArgument(std::shared_ptr<Observable>(budget))), 1);
    EXPECT_EQ(xrefOf(*accountLine(*budget, books::kDefaultAccount), 5, books::kExpenseCategory), nullptr);
    EXPECT_EQ(xrefOf(*categoryLine(*budget, books::kExpenseCategory), 5, books::kDefaultAccount), nullptr);
    EXPECT_EQ(juneOnCategory->getSourceItem(), nullptr);
    EXPECT_DOUBLE_EQ(juneOnCategory->mBudgetFrom().value_or(0), 40.0);
    EXPECT_EQ(juneOnCategory->accountName(), juneOnAccount->accountName());
    EXPECT_DOUBLE_EQ(figure(books::kDefaultAccount, kBudgetOut, 5), 0.0);
}

TEST_F(BudgetCommandsTest, NamesOfCrossReferencesAreUnicode)
{
    std::shared_ptr<CBuDdItem> savings = accountLine(*budget, savingsId);
    ASSERT_NE(savings, nullptr);
    std::shared_ptr<CBuDxItem> january = xrefOf(*savings, 0, kTransferCategory);
    ASSERT_NE(january, nullptr);
    EXPECT_EQ(january->accountName(), "Épargne");
}

TEST_F(BudgetCommandsTest, RefusedCommandsAnswerMinusOneAndLeaveTheBooks)
{
    std::shared_ptr<CBuDdItem> line = accountLine(*budget, books::kDefaultAccount);
    std::shared_ptr<CBuDxItem> xref = xrefOf(*categoryLine(*budget, books::kExpenseCategory), 0, books::kDefaultAccount);
    ASSERT_NE(xref, nullptr);
    // A budget without lines: a cross-reference of the other budget finds none there.
    std::shared_ptr<CBuDhItem> empty =
        document->makeNewBudget(budget_base::kEmpty, 0, budget_period::kNextYear, 0, 0, std::nullopt, "", "Empty");
    const arguments::ModifyBudgetDetailArguments detailValues(1, 2, 3, 4, "", false, 0);
    const arguments::ModifyBudgetXRefArguments xrefValues(1, 2, 3, 4, "", false, 0, 0, 0);
    const arguments::NewBudgetXRefArguments newValues(1, 2, 3, 4, "", false, 0, 0, 0, books::kDefaultAccount,
                                                      books::kExpenseCategory);
    const arguments::TransferBudgetXRefArguments transfer(10, 0, books::kDefaultAccount, kTransferCategory,
                                                          savingsId);
    const arguments::ModifyBudgetHeaderArguments header("X", "Y", true);
    struct Case {
        int command;
        CommandTarget target;
        CommandArgument argument;
    };
    const std::vector<Case> cases = {
        {0, line, nullptr}, {0, line, xrefValues}, {0, budget, detailValues},
        {1, xref, nullptr}, {1, xref, detailValues}, {1, line, xrefValues},
        {2, budget, nullptr}, {2, budget, xrefValues}, {2, nullptr, newValues},
        {3, xref, nullptr}, {3, xref, CommandArgument(std::shared_ptr<Observable>(line))},
        {3, xref, CommandArgument(std::shared_ptr<Observable>(empty))},
        {4, budget, nullptr}, {4, budget, header}, {4, xref, transfer},
        {5, budget, nullptr}, {5, line, header}, {5, budget, transfer},
    };
    const Bytes before = document->modelStreamBytes();
    document->clearChangeCount();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(executor().executeCommand(cases[i].command, cases[i].target, cases[i].argument), -1);
    }
    EXPECT_EQ(firstDifference(document->modelStreamBytes(), before), "");
    EXPECT_FALSE(document->isDocumentEdited());
}

// The budget page's changes since the save are in the journal with their
// values: a crash loses none of them, and the replay makes them again on the
// budget the entries name. An entry of an earlier run, which holds the class
// name alone, is listed and not made again.
TEST_F(BudgetCommandsTest, JournaledBudgetCommandsAreMadeAgainAfterACrash)
{
    const std::string path = folder.file("Books.books");
    const Bytes saved = document->modelStreamBytes();
    Bytes crashedBytes;
    {
        std::unique_ptr<MyDocument> crashed = openDocument(saved, path);
        std::shared_ptr<CBuDhItem> shown = crashed->mBudgetArray().at(0);
        CCommandExecutor& run = crashed->commandExecutor();
        EXPECT_EQ(run.executeCommand(2, shown,
                                     arguments::NewBudgetXRefArguments(40, 0, 0, 0, "", false, 3, 3, 5,
                                                                       books::kDefaultAccount,
                                                                       books::kExpenseCategory)),
                  1);
        EXPECT_EQ(run.executeCommand(4, shown,
                                     arguments::TransferBudgetXRefArguments(25, 2, books::kDefaultAccount,
                                                                            kTransferCategory, savingsId)),
                  1);
        EXPECT_EQ(run.executeCommand(5, shown, arguments::ModifyBudgetHeaderArguments("Home", "Plan", true)), 1);
        crashedBytes = crashed->modelStreamBytes();
        EXPECT_NE(crashedBytes, saved);
    }

    std::unique_ptr<MyDocument> replayed = openDocument(saved, path);
    std::vector<int> commands;
    std::vector<std::string> names;
    for (const GXCommandHistoryItem& item : replayed->commandExecutor().commandsToRecover()) {
        commands.push_back(item.mCommand);
        names.push_back(item.listedName().value_or(""));
    }
    // Listed under the budget's name; the new name where the values hold one.
    EXPECT_EQ(commands, (std::vector<int>{2, 4, 5}));
    EXPECT_EQ(names, (std::vector<std::string>{"Household", "Household", "Home"}));
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), crashedBytes), "");
    EXPECT_EQ(replayed->mBudgetArray().at(0)->getName(), "Home");

    // Journaled by an earlier run: the class name alone.
    GXCommandHistoryItem old;
    old.mCommand = 5;
    old.mParameters = "{ArgumentClass = ModifyBudgetHeaderArguments; }";
    old.mObject = replayed->mBudgetArray().at(0)->calculateKey();
    old.mObjectName = "Home";
    EXPECT_TRUE(replayed->commandExecutor().recoverCommandItem(old).has_value());
    EXPECT_EQ(replayed->mBudgetArray().at(0)->getName(), "Home");
}

// A cross-reference has no id that outlives a reading of the file: the
// journal names it by its budget, account, category and month, and a
// deletion names the budget it was handed, so both replay after a crash.
TEST_F(BudgetCommandsTest, CrossReferencesChangedAndDeletedAfterTheSaveAreSoAgainAfterACrash)
{
    const std::string path = folder.file("Books.books");
    const Bytes saved = document->modelStreamBytes();
    Bytes crashedBytes;
    {
        std::unique_ptr<MyDocument> crashed = openDocument(saved, path);
        std::shared_ptr<CBuDhItem> shown = crashed->mBudgetArray().at(0);
        CCommandExecutor& run = crashed->commandExecutor();
        // One of the file's, shown on the category's side.
        std::shared_ptr<CBuDxItem> january =
            xrefOf(*categoryLine(*shown, books::kExpenseCategory), 0, books::kDefaultAccount);
        ASSERT_NE(january, nullptr);
        EXPECT_EQ(run.executeCommand(1, january,
                                     arguments::ModifyBudgetXRefArguments(75, 0, 0, 0, "More", false, 0, 0, 1)),
                  1);
        // One made after the save, deleted from the account's side.
        EXPECT_EQ(run.executeCommand(2, shown,
                                     arguments::NewBudgetXRefArguments(40, 0, 0, 0, "", false, 3, 3, 5,
                                                                       books::kDefaultAccount,
                                                                       books::kExpenseCategory)),
                  1);
        std::shared_ptr<CBuDxItem> june =
            xrefOf(*accountLine(*shown, books::kDefaultAccount), 5, books::kExpenseCategory);
        ASSERT_NE(june, nullptr);
        EXPECT_EQ(run.executeCommand(3, june, CommandArgument(std::shared_ptr<Observable>(shown))), 1);
        // And one of the file's.
        std::shared_ptr<CBuDxItem> february =
            xrefOf(*categoryLine(*shown, books::kExpenseCategory), 1, books::kDefaultAccount);
        ASSERT_NE(february, nullptr);
        EXPECT_EQ(run.executeCommand(3, february, CommandArgument(std::shared_ptr<Observable>(shown))), 1);
        crashedBytes = crashed->modelStreamBytes();
    }

    std::unique_ptr<MyDocument> replayed = openDocument(saved, path);
    std::vector<int> commands;
    for (const GXCommandHistoryItem& item : replayed->commandExecutor().commandsToRecover())
        commands.push_back(item.mCommand);
    EXPECT_EQ(commands, (std::vector<int>{1, 2, 3, 3}));
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), crashedBytes), "");
    std::shared_ptr<CBuDhItem> budgetAgain = replayed->mBudgetArray().at(0);
    EXPECT_EQ(xrefOf(*accountLine(*budgetAgain, books::kDefaultAccount), 5, books::kExpenseCategory), nullptr);
    EXPECT_EQ(xrefOf(*accountLine(*budgetAgain, books::kDefaultAccount), 1, books::kExpenseCategory), nullptr);
}

// A budget made after the save and one of its lines changed: after a crash
// both are made again, the line listed under the name of the category it
// budgets.
TEST_F(BudgetCommandsTest, ALineOfABudgetMadeAfterTheSaveIsChangedAgainAfterACrash)
{
    const std::string path = folder.file("Books.books");
    const Bytes saved = document->modelStreamBytes();
    Bytes crashedBytes;
    std::string lineName;
    {
        std::unique_ptr<MyDocument> crashed = openDocument(saved, path);
        CCommandExecutor& run = crashed->commandExecutor();
        arguments::NewBudgetArguments made;
        made.name = "Plan";
        made.base = budget_base::kLastYear;
        made.period = budget_period::kCurrentYear;
        const long id = run.executeCommand(kNewBudgetCommand, nullptr, made);
        ASSERT_GT(id, 0);
        std::shared_ptr<CBuDhItem> plan = crashed->mBudgetArray().back();
        ASSERT_EQ(plan->getName(), "Plan");
        std::shared_ptr<CBuDdItem> food = categoryLine(*plan, books::kExpenseCategory);
        ASSERT_NE(food, nullptr);
        lineName = crashed->getExpenseTypeForId(books::kExpenseCategory)->Get_StringrefName();
        // December's planned movement of the category to 1200.
        EXPECT_EQ(run.executeCommand(0, food, arguments::ModifyBudgetDetailArguments(1200.0, 0, 0, 0, "", false, 11)),
                  1);
        crashedBytes = crashed->modelStreamBytes();
    }

    std::unique_ptr<MyDocument> replayed = openDocument(saved, path);
    std::vector<std::string> names;
    for (const GXCommandHistoryItem& item : replayed->commandExecutor().commandsToRecover())
        names.push_back(item.listedName().value_or(""));
    EXPECT_EQ(names, (std::vector<std::string>{"Plan", lineName}));
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), crashedBytes), "");
}

} // namespace
} // namespace ch::test
