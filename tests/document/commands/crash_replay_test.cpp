// A crash after a save: the books are saved, work goes on, the program dies
// without saving, and the saved file is opened again with its journal
// replayed. The replayed books must be the books before the crash, object by
// object: the same ids, names, and accounts of every line.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../document_fixture.h"
#include "books_listing.h"
#include "document/DocumentFile.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CRcrTItem.h"
#include "model/CRecurringTransaction.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"

namespace ch::test {
namespace {

class CrashReplayTest : public DocumentTest {
protected:
    std::string bookPath() const { return folder.file("Books.books"); }

    // A new account of the name in euros: its id.
    int newAccount(MyDocument& books, const std::string& name, std::optional<double> balance = std::nullopt)
    {
        arguments::AccountArguments account(std::nullopt, name, std::nullopt, books::kOwnPropertyType, books::kEUR,
                                            std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                            balance);
        return books.commandExecutor().executeCommand(13, nullptr, account);
    }

    void book(MyDocument& books, ObjectIdT from, double amount, const std::string& name)
    {
        arguments::CTransactionArguments spent;
        spent.mTransactionDictionary = transactionDictionary(books, from, books::kExpenseAccount,
                                                             books::kExpenseCategory, amount, 20090310, name);
        books.commandExecutor().executeCommand(23, nullptr, spent);
    }

    // The saved file opened again, its journal's offer answered with Replay.
    std::unique_ptr<MyDocument> reopenAndReplay()
    {
        auto reopened = std::make_unique<MyDocument>(dispatcher);
        EXPECT_TRUE(readFromFile(*reopened, bookPath()).ok());
        EXPECT_TRUE(reopened->commandExecutor().rollForwardPending());
        environment.alerts().scriptAnswer(AlertAnswer::Default);
        dispatcher.advance(std::chrono::milliseconds(100));
        return reopened;
    }
};

// The books that ran the commands were made in this run, not read: reading
// their file must give the id counters they had when saved, so that the
// replayed accounts and transactions take the ids their entries name.
TEST_F(CrashReplayTest, WorkAfterASaveIsReplayedOntoTheSavedFileObjectByObject)
{
    newAccount(*document, "Wallet");
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    for (const auto& [name, booking] : {std::pair{"Holiday", "Holiday trip"}, std::pair{"Car", "Car repair"},
                                        std::pair{"Boat", "Boat fuel"}}) {
        const int id = newAccount(*document, name, 200.0);
        ASSERT_GT(id, 0);
        book(*document, id, 50.0, booking);
    }
    const std::vector<std::string> beforeCrash = listBooks(root());
    const IdCounters countersBeforeCrash = root().Ids();
    document.reset();   // killed: nothing saved, nothing closed

    std::unique_ptr<MyDocument> replayed = reopenAndReplay();
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(listBooks(*replayed->accounting()), beforeCrash);
    EXPECT_EQ(replayed->accounting()->Ids(), countersBeforeCrash);
}

// A copy a template left waiting, booked with the Link button after the
// save: the replay books it again (it was left out when the window sent no
// argument object).
TEST_F(CrashReplayTest, AWaitingCopyBookedAfterASaveIsBookedAgainAfterACrash)
{
    const int wallet = newAccount(*document, "Wallet");
    arguments::CTransactionArguments monthly;
    monthly.mTransactionDictionary = transactionDictionary(*document, wallet, books::kExpenseAccount,
                                                           books::kExpenseCategory, 30.0, 20090110, "Rent");
    Dictionary& schedule = *monthly.mTransactionDictionary;
    schedule.set(std::string(recurring_key::kRecurringType), static_cast<long>(recurring_type::kMonthly));
    schedule.set(std::string(recurring_key::kDayOfMonth), 10);
    schedule.set(std::string(recurring_key::kLastGeneratedOn), 20090110L);
    document->commandExecutor().executeCommand(25, nullptr, monthly);
    ASSERT_EQ(document->mUnlinkedTransactionArray().size(), 2u);   // 10 February and 10 March
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    const std::shared_ptr<CTrnSItem> waiting = document->mUnlinkedTransactionArray().front();
    arguments::TransactionLinkArguments link;
    link.name = waiting->getName();
    document->commandExecutor().executeCommand(29, waiting, link);
    ASSERT_EQ(document->mUnlinkedTransactionArray().size(), 1u);
    const std::vector<std::string> beforeCrash = listBooks(root());
    document.reset();   // killed: nothing saved, nothing closed

    std::unique_ptr<MyDocument> replayed = reopenAndReplay();
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(listBooks(*replayed->accounting()), beforeCrash);
    EXPECT_EQ(replayed->mUnlinkedTransactionArray().size(), 1u);
}

// A home currency changed after a save books a remainder for each own
// account whose cents convert to more than its balance does. Replayed on the
// books read again, whose account list stands by name while the books made
// kept a renamed account where it stood, each remainder must come back on
// its account with its id.
TEST_F(CrashReplayTest, TheRemaindersOfAHomeCurrencyChangedAfterASaveComeBackWithTheirIds)
{
    arguments::CurrencyArguments dollar;
    dollar.symbol = "USD";
    dollar.baseCurrencyId = books::kEUR;
    dollar.conversionQuantity = 7;   // a euro is 1.75 dollars
    dollar.conversionFactor = 4.0;
    ASSERT_EQ(document->commandExecutor().executeCommand(6, nullptr, dollar), 1);
    const std::optional<ObjectIdT> dollarId = document->mCurrencyArray().front()->getId();
    ASSERT_TRUE(dollarId);
    // Three cents spent one by one convert to six, their balance to five.
    std::vector<int> ids;
    for (const char* name : {"Alpha", "Beta"}) {
        ids.push_back(newAccount(*document, name));
        for (int i = 0; i < 3; ++i) book(*document, static_cast<ObjectIdT>(ids.back()), 0.01, std::string("Cent ") + name);
    }
    arguments::AccountArguments renamed(ids.front(), "Zeta", std::nullopt, books::kOwnPropertyType, books::kEUR,
                                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                        std::nullopt);
    document->commandExecutor().executeCommand(12, document->getAccountItemForId(static_cast<ObjectIdT>(ids.front())),
                                               renamed);
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    arguments::BookSettingArguments home;
    home.name = "HomeCurrency";
    home.value = static_cast<long>(*dollarId);
    ASSERT_EQ(document->commandExecutor().executeCommand(kBookSettingCommand, nullptr, home), 1);
    // The transactions with their lines; the lists' order is not compared.
    auto transactions = [](const CDocAccounting& books) {
        std::vector<std::string> listed;
        for (const std::string& line : listBooks(books)) {
            if (line.rfind("  ", 0) != 0) listed.push_back(line.rfind("TrnS", 0) == 0 ? line : std::string());
            else if (!listed.back().empty()) listed.back() += "\n" + line;
        }
        std::erase(listed, std::string());
        return listed;
    };
    const std::vector<std::string> beforeCrash = transactions(root());
    ASSERT_EQ(std::count_if(beforeCrash.begin(), beforeCrash.end(),
                            [](const std::string& t) { return t.find("Rounding Errors") != std::string::npos; }),
              2);
    document.reset();   // killed: nothing saved, nothing closed

    std::unique_ptr<MyDocument> replayed = reopenAndReplay();
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(transactions(*replayed->accounting()), beforeCrash);
}

// Books > Settings sends each choice as the setting command: the settings
// changed after the save come back with the replay, and a choice the books
// refuse (a thirteenth month) or that changes nothing is no change.
TEST_F(CrashReplayTest, SettingsChangedAfterASaveAreMadeAgainAfterACrash)
{
    const int wallet = newAccount(*document, "Wallet");
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    const std::vector<std::string> atSave = listBooks(root());
    auto setting = [&](const char* name, long value) {
        arguments::BookSettingArguments values;
        values.name = name;
        values.value = value;
        return document->commandExecutor().executeCommand(kBookSettingCommand, nullptr, values);
    };
    EXPECT_EQ(setting("CurrentYearStart", 4), 1);
    EXPECT_EQ(setting("DefExpTUnspecifiedExpense", books::kIncomeCategory), 1);
    EXPECT_EQ(setting("DefAccntOwnProperty", wallet), 1);
    EXPECT_EQ(setting("DefaultCreditCardAccount", wallet), 1);
    document->clearChangeCount();
    EXPECT_EQ(setting("CurrentYearStart", 13), -1);
    EXPECT_EQ(setting("CurrentYearStart", 4), -1);
    EXPECT_EQ(setting("NoSuchSetting", 4), -1);
    EXPECT_FALSE(document->isDocumentEdited());
    const std::vector<std::string> beforeCrash = listBooks(root());
    ASSERT_NE(beforeCrash, atSave);
    const long periodStart = document->mPreference()->mCurrentPeriodStart();
    document.reset();   // killed: nothing saved, nothing closed

    std::unique_ptr<MyDocument> replayed = reopenAndReplay();
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(listBooks(*replayed->accounting()), beforeCrash);
    EXPECT_EQ(replayed->mPreference()->mCurrentYearStart(), 4);
    EXPECT_EQ(replayed->mPreference()->mCurrentPeriodStart(), periodStart);
}

// A deletion the model refuses (the home currency is in use: error 180)
// changed nothing: it leaves no journal, and the books open again with
// nothing to offer.
TEST_F(CrashReplayTest, ARefusedDeletionLeavesNoJournalBehind)
{
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    std::shared_ptr<CCurRItem> euro = document->dataItemController().currencyItemForCurrency(
        document->getCurrencyForId(books::kEUR));
    ASSERT_NE(euro, nullptr);
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    EXPECT_FALSE(document->deleteObject(euro, true));
    EXPECT_EQ(environment.alerts().numbers().back(), 180);
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_FALSE(fileExists(bookPath() + ".log"));

    // A command that changed the books, then one that did not: the first
    // entry stays, alone.
    newAccount(*document, "Wallet");
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    document->deleteObject(euro, true);
    EXPECT_EQ(readCommandJournalFile(bookPath() + ".log").items.size(), 1u);

    // Unedited books close with no journal.
    ASSERT_TRUE(saveDocument(*document).ok());
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    document->deleteObject(euro, true);
    document->commandExecutor().documentClosing(document->isDocumentEdited());
    document.reset();
    EXPECT_FALSE(fileExists(bookPath() + ".log"));
    MyDocument reopened(dispatcher);
    ASSERT_TRUE(readFromFile(reopened, bookPath()).ok());
    EXPECT_TRUE(reopened.commandExecutor().commandsToRecover().empty());
    EXPECT_FALSE(reopened.commandExecutor().rollForwardPending());
}

// A journal write that fails (a full disk) is told once, with the reason;
// the books are marked edited so that closing asks to save them, and the
// save starts a journal that is written again.
TEST_F(CrashReplayTest, AFailedJournalWriteIsToldOnceAndTheBooksAskToBeSaved)
{
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    const std::string journal = bookPath() + ".log";
    newAccount(*document, "Wallet");
    document->commandExecutor().getCommandLogger().setWrite([](int, const void*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    environment.alerts().clear();
    document->clearChangeCount();
    arguments::CategoryGroupParameters group;
    group.name = "Garden";
    document->commandExecutor().executeCommand(17, nullptr, group);
    newAccount(*document, "Purse");
    dispatcher.advance(std::chrono::milliseconds(100));
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{397});
    EXPECT_NE(environment.alerts().records()[0].alert.message.find(std::strerror(ENOSPC)), std::string::npos);
    EXPECT_NE(environment.alerts().records()[0].alert.message.find(journal), std::string::npos);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(readCommandJournalFile(journal).items.size(), 1u);

    ASSERT_TRUE(saveDocument(*document).ok());
    newAccount(*document, "Drawer");
    EXPECT_EQ(readCommandJournalFile(journal).items.size(), 1u);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{397});
}

// What takes the journal's name and is no journal (a folder, a pipe, a link
// that leads round in circles) is told when the books open (message 299),
// is never written to, and stays where it is through the saves.
TEST_F(CrashReplayTest, WhatIsNoJournalAtTheJournalsNameIsToldAndLeftWhereItIs)
{
    ASSERT_TRUE(saveDocumentAs(*document, bookPath()).ok());
    const std::string journal = bookPath() + ".log";
    struct Case {
        const char* what;
        std::function<void()> make;
        std::function<bool(const std::filesystem::path&)> stillThere;
    };
    namespace fs = std::filesystem;
    const std::vector<Case> cases = {
        {"a folder", [&] { fs::create_directory(journal); },
         [](const fs::path& path) { return fs::is_directory(fs::symlink_status(path)); }},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(journal.c_str(), 0600), 0); },
         [](const fs::path& path) { return fs::is_fifo(fs::symlink_status(path)); }},
        {"a link to itself", [&] { fs::create_symlink(journal, journal); },
         [](const fs::path& path) { return fs::is_symlink(fs::symlink_status(path)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        environment.alerts().clear();
        MyDocument opened(dispatcher);
        ASSERT_TRUE(readFromFile(opened, bookPath()).ok());
        dispatcher.advance(std::chrono::milliseconds(100));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{299});
        newAccount(opened, "Wallet");
        ASSERT_TRUE(saveDocument(opened).ok());
        newAccount(opened, "Purse");
        ASSERT_TRUE(saveDocument(opened).ok());
        EXPECT_TRUE(c.stillThere(journal));
        EXPECT_FALSE(fs::exists(fs::symlink_status(bookPath() + ".~log")));
        dispatcher.advance(std::chrono::milliseconds(100));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{299});
        fs::remove_all(journal);
    }
}

} // namespace
} // namespace ch::test
