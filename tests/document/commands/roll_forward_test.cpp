// Roll-forward end to end: books are saved, a series of commands runs with
// journaling on, the document is dropped without saving, and the saved books
// are opened again and their journal replayed. The replayed books must save
// to the very bytes of the books that ran the commands, although other books
// open at the same time made objects of every kind meanwhile.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "../document_fixture.h"
#include "bridge/CAccTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "document/commands/JournalNames.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/ModelCodes.h"
#include "platform/core/message_format.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class RollForwardTest : public DocumentTest {
protected:
    RollForwardTest()
    {
        // A share with its portfolio to trade.
        CDocAccounting& books = root();
        auto* share = new CCurrency(-1, &books);
        share->Put_Name("ACME");
        share->Put_mCurrencyType(currency_type::kShare);
        share->Put_mConversionFactor(12.0, 0);
        share->Validate();
        books.mCurrencyList->InsertObjectAt(share, 1);
        CAccount* portfolio = books.InsertAccount(-1, "ACME portfolio", std::nullopt, nullptr, std::nullopt,
                                                  books::kOwnPropertyType, share->Get_Id(), nullptr);
        share->Put_mPortfolioAccountId(portfolio->Get_Id());
        share->Put_mDiffAccount(books::kIncomeAccount);
        share->Put_mDiffExpType(books::kIncomeCategory);
        share->Put_mComissionAccountId(books::kExpenseAccount);
        share->Put_mComissionExpenseTypeId(books::kExpenseCategory);
        shareId = share->Get_Id();
        saved = document->modelStreamBytes();
    }

    std::string bookPath() const { return folder.file("Books.books"); }

    // Opens the saved books as the file bookPath().
    std::unique_ptr<MyDocument> reopen()
    {
        return openDocument(saved, bookPath());
    }

    // Other books open at the same time make an account, a category group,
    // a category and a transaction with its lines.
    void busyElsewhere(MyDocument& other)
    {
        CCommandExecutor& run = other.commandExecutor();
        arguments::AccountArguments cash(std::nullopt, "Cash elsewhere", std::nullopt, books::kOwnPropertyType,
                                         books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                         std::nullopt, 10.0);
        const int cashId = run.executeCommand(13, nullptr, cash);
        arguments::CategoryGroupParameters group;
        group.name = "Elsewhere";
        group.mMasterType = group_kind::kExpense;
        const int groupId = run.executeCommand(17, nullptr, group);
        arguments::CategoryParameters category;
        category.name = "Spent elsewhere";
        category.mParentId = groupId;
        category.mMasterTypeId = group_kind::kExpense;
        const int categoryId = run.executeCommand(15, nullptr, category);
        arguments::CTransactionArguments spent;
        spent.mTransactionDictionary =
            transactionDictionary(cashId, books::kExpenseAccount, categoryId, 3.0, 20090302, "Elsewhere");
        run.executeCommand(23, nullptr, spent);
    }

    // A transaction sheet opened, given a split line, and cancelled: its
    // temporary transaction takes a line id that no journal entry tells of.
    static void sheetCancelled(MyDocument& books)
    {
        std::shared_ptr<CTrnSItem> temporary = books.makeEmptyTransactionOfType(transaction_type::kOther);
        ASSERT_NE(temporary->addDetailWithType(type::kExpenseTypeDetail), nullptr);
    }

    // The series: creations, modifications, postings, a rate, a share trade,
    // a move and a deletion, each through the executor, with transactions
    // made as the sheet makes them and a sheet cancelled between; with other
    // books, those make objects of every kind between the steps.
    void runSeries(MyDocument& books, MyDocument* elsewhere = nullptr)
    {
        CCommandExecutor& run = books.commandExecutor();
        auto interleave = [&] {
            if (elsewhere) busyElsewhere(*elsewhere);
        };
        interleave();

        arguments::AccountArguments savings(std::nullopt, "Savings", "Rainy days", books::kOwnPropertyType,
                                            books::kEUR, "1200", std::nullopt, std::nullopt, "123-4567890-12",
                                            std::nullopt, 250.0);
        const int savingsId = run.executeCommand(13, nullptr, savings);
        ASSERT_GT(savingsId, 0);
        interleave();

        arguments::AccountArguments renamed;
        renamed.name = "Savings & more";
        renamed.description = "Rainy days <and sunny ones>";
        run.executeCommand(12, books.getAccountItemForId(savingsId), renamed);

        arguments::AccountTypeArguments banks;
        banks.accountTypeName = "Banks";
        banks.theMasterType = 1;
        run.executeCommand(11, nullptr, banks);

        arguments::CategoryGroupParameters house;
        house.name = "House";
        house.mMasterType = group_kind::kExpense;
        const int houseId = run.executeCommand(17, nullptr, house);
        arguments::CategoryParameters rent;
        rent.name = "Rent";
        rent.mParentId = houseId;
        rent.mMasterTypeId = group_kind::kExpense;
        rent.mColor = Colour{0.5, 0.25, 1.0, 1.0};
        const int rentId = run.executeCommand(15, nullptr, rent);
        interleave();
        arguments::CategoryParameters rentRenamed;
        rentRenamed.name = "Rent and charges";
        rentRenamed.mColor = Colour{0.5, 0.25, 1.0, 1.0};   // the sheet always sends the colour
        run.executeCommand(14, books.getExpenseTypeItemForId(rentId), rentRenamed);

        arguments::CurrencyArguments dollar;
        dollar.symbol = "USD";
        dollar.description = "US Dollar";
        dollar.baseCurrencyId = books::kEUR;
        dollar.conversionQuantity = 1;
        dollar.conversionFactor = 0.9;
        ASSERT_EQ(run.executeCommand(6, nullptr, dollar), 1);
        std::shared_ptr<CCurRItem> usd = books.mCurrencyArray().front();
        arguments::CurrencyRateParameters rate;
        rate.quantity = 1;
        rate.factor = 0.95;
        rate.dateStart = 20090301;
        run.executeCommand(18, usd, rate);

        arguments::CTransactionArguments rentPaid;
        rentPaid.mTransactionDictionary =
            transactionDictionary(books, savingsId, books::kExpenseAccount, rentId, 80.0, 20090305, "March rent");
        run.executeCommand(23, nullptr, rentPaid);
        std::shared_ptr<CTrnSItem> posted = books.mTransactionArray().front();
        interleave();
        sheetCancelled(books);
        arguments::CTransactionArguments rentCorrected;
        rentCorrected.mTransactionDictionary =
            transactionDictionary(books, savingsId, books::kExpenseAccount, rentId, 90.0, 20090305, "March rent");
        run.executeCommand(24, posted, rentCorrected);

        arguments::CTransactionArguments mistake;
        mistake.mTransactionDictionary = transactionDictionary(books, books::kIncomeAccount, savingsId,
                                                               books::kIncomeCategory, 5.0, 20090306, "Mistake");
        run.executeCommand(23, nullptr, mistake);
        environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
        ASSERT_TRUE(books.deleteObject(books.mTransactionArray().front(), true));

        arguments::BuySellSharesParameters buy;
        buy.price = 12.5;
        buy.commission = 5.0;
        buy.quantity = 10;
        buy.totalValue = 130.0;
        buy.fromAccountId = savingsId;
        buy.commissionAccountId = books::kExpenseAccount;
        buy.description = "First lot";
        buy.updateRateInd = true;
        buy.transactionDate = 20090310;
        buy.isBuyInd = true;
        run.executeCommand(20, books.dataItemController().currencyItemForCurrency(books.getCurrencyForId(shareId)),
                           buy);

        arguments::CDragAndDropRelocationArgument move;
        move.idDroppedObject = books::kDefaultAccount;
        move.droppedObjectType = type::kAccount;
        move.idReceivingObject = books.getAccountTypeForName("Banks")->Get_Id();
        move.receivingObjectType = type::kAccountType;
        run.executeCommand(30, nullptr, move);

        // Every command did its work.
        EXPECT_EQ(books.getAccountForId(savingsId)->Get_StringrefName(), "Savings & more");
        EXPECT_NE(books.getAccountTypeForName("Banks"), nullptr);
        EXPECT_EQ(books.getExpenseTypeForId(rentId)->Get_StringrefName(), "Rent and charges");
        EXPECT_EQ(usd->mHistoryList().size(), 2u);
        EXPECT_EQ(books.mTransactionArray().size(), 3u);   // opening balance, rent, share purchase
        EXPECT_EQ(books.getTransactionForId(posted->getId().value_or(0))->mTotalAmount(), 90.0);
        EXPECT_DOUBLE_EQ(books.dataItemController().currencyItemForCurrency(books.getCurrencyForId(shareId))
                             ->numberOfShares(),
                         10.0);
        EXPECT_EQ(books.getAccountForId(books::kDefaultAccount)->Get_mAccountTypeId(),
                  books.getAccountTypeForName("Banks")->Get_Id());
    }

    // A group "Before", then the transaction "Paid" (80 from the default
    // account to the expense account), each journaled.
    void makeBeforeAndPaid(MyDocument& target)
    {
        CCommandExecutor& run = target.commandExecutor();
        arguments::CategoryGroupParameters before;
        before.name = "Before";
        run.executeCommand(17, nullptr, before);
        arguments::CTransactionArguments paid;
        paid.mTransactionDictionary = transactionDictionary(target, books::kDefaultAccount, books::kExpenseAccount,
                                                            books::kExpenseCategory, 80.0, 20090305, "Paid");
        run.executeCommand(23, nullptr, paid);
    }

    // Opens the journal's replay offer and answers it.
    void answerOffer(AlertAnswer answer)
    {
        environment.alerts().scriptAnswer(answer);
        dispatcher.advance(std::chrono::milliseconds(100));
    }

    ObjectIdT shareId = 0;
    Bytes saved;
};

TEST_F(RollForwardTest, ReplayedBooksSaveToTheBytesOfTheBooksThatRanTheCommands)
{
    Bytes direct;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        // The fixture's books stay open beside them and are busy meanwhile.
        const IdCounters elsewhereBefore = root().Ids();
        runSeries(*crashed, document.get());
        EXPECT_TRUE(crashed->isDocumentEdited());
        EXPECT_NE(root().Ids().mi_MaxId, elsewhereBefore.mi_MaxId);
        EXPECT_NE(root().Ids().mi_TrnsNr, elsewhereBefore.mi_TrnsNr);
        EXPECT_NE(root().Ids().mi_DebetNr, elsewhereBefore.mi_DebetNr);
        EXPECT_NE(root().Ids().mi_MxptNr, elsewhereBefore.mi_MxptNr);
        EXPECT_NE(root().Ids().mi_ExptNr, elsewhereBefore.mi_ExptNr);
        direct = crashed->modelStreamBytes();
    }
    ASSERT_NE(direct, saved);

    std::unique_ptr<MyDocument> replayed = reopen();
    EXPECT_GE(replayed->commandExecutor().commandsToRecover().size(), 14u);
    EXPECT_FALSE(replayed->isDocumentEdited());
    environment.alerts().clear();
    answerOffer(AlertAnswer::Default);
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), direct), "");
    EXPECT_TRUE(replayed->isDocumentEdited());
    // One question (the offer), no other: the replayed deletion does not ask.
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Question);

    // The journal keeps its entries until the save, which rotates it.
    EXPECT_TRUE(fileExists(bookPath() + ".log"));
    replayed->fileSaved();
    EXPECT_FALSE(fileExists(bookPath() + ".log"));
    EXPECT_TRUE(fileExists(bookPath() + ".~log"));
}

TEST_F(RollForwardTest, DamagedJournalReplaysTheWholeEntriesBeforeTheCutAndSaysSo)
{
    Bytes firstTwo;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        CCommandExecutor& run = crashed->commandExecutor();
        arguments::CategoryGroupParameters garden;
        garden.name = "Garden";
        run.executeCommand(17, nullptr, garden);
        arguments::AccountArguments cash(std::nullopt, "Cash", std::nullopt, books::kOwnPropertyType, books::kEUR,
                                         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                         20.0);
        run.executeCommand(13, nullptr, cash);
        firstTwo = crashed->modelStreamBytes();
        arguments::AccountArguments lost(std::nullopt, "Lost", std::nullopt, books::kOwnPropertyType,
                                         books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                         std::nullopt, std::nullopt);
        run.executeCommand(13, nullptr, lost);
    }
    // The third entry is cut in the middle of its parameters.
    const std::string journal = bookPath() + ".log";
    std::string text = readFile(journal);
    std::size_t third = text.rfind("<LogEntry");
    writeFile(journal, text.substr(0, text.find("Lost", third)));

    std::unique_ptr<MyDocument> replayed = reopen();
    ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 2u);
    answerOffer(AlertAnswer::Default);
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), firstTwo), "");
    // The damage, and where the journal as found is kept.
    ASSERT_EQ(replayed->commandExecutor().lastReplayReport().size(), 2u);
    const auto& records = environment.alerts().records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(records.back().alert.message.find(localized("ROLLFORWARDDAMAGED")), std::string::npos);
}

// After a replay of a journal cut short, the work that follows is journaled
// where it can be read back: a second crash offers the entries made again
// and the new work, and the journal as found is kept aside.
TEST_F(RollForwardTest, WorkAfterRecoveringFromACutJournalSurvivesASecondCrash)
{
    const std::string journal = bookPath() + ".log";
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        for (const char* name : {"One", "Two", "Lost"}) {
            arguments::CategoryGroupParameters group;
            group.name = name;
            crashed->commandExecutor().executeCommand(17, nullptr, group);
        }
    }
    const std::string text = readFile(journal);
    const std::string cut = text.substr(0, text.find("Lost", text.rfind("<LogEntry")));
    writeFile(journal, cut);

    Bytes beforeSecondCrash;
    const std::string aside = setAsidePathForJournal(journal);
    {
        std::unique_ptr<MyDocument> recovered = reopen();
        answerOffer(AlertAnswer::Default);
        EXPECT_EQ(readFile(aside), cut);
        arguments::CategoryGroupParameters three;
        three.name = "Three";
        recovered->commandExecutor().executeCommand(17, nullptr, three);
        beforeSecondCrash = recovered->modelStreamBytes();
    }
    std::unique_ptr<MyDocument> replayed = reopen();
    ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 3u);
    answerOffer(AlertAnswer::Default);
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), beforeSecondCrash), "");
}

TEST_F(RollForwardTest, EntriesWhoseObjectIsGoneOrOfAnotherKindAreSkippedAndReported)
{
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        CCommandExecutor& run = crashed->commandExecutor();
        arguments::AccountArguments renamed;
        renamed.name = "Renamed";
        run.executeCommand(12, crashed->getAccountItemForId(books::kDefaultAccount), renamed);
        arguments::CategoryGroupParameters garden;
        garden.name = "Garden";
        run.executeCommand(17, nullptr, garden);
    }
    // One entry names an account that does not exist, one a currency where
    // the command takes an account.
    const std::string journal = bookPath() + ".log";
    std::string text = readFile(journal);
    const std::string renameEntry = text.substr(text.find("<LogEntry"), text.find("</LogEntry>") + 13 - text.find("<LogEntry"));
    std::string missing = renameEntry;
    missing.replace(missing.find("AcnT4"), 5, "AcnT999");
    std::string wrongKind = renameEntry;
    wrongKind.replace(wrongKind.find("AcnT4"), 5, "CurR1");
    writeFile(journal, text + missing + wrongKind);

    std::unique_ptr<MyDocument> replayed = reopen();
    ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 4u);
    answerOffer(AlertAnswer::Default);
    EXPECT_EQ(replayed->getAccountForId(books::kDefaultAccount)->Get_StringrefName(), "Renamed");
    EXPECT_NE(replayed->getMasterExpenseTypeForName("Garden"), nullptr);
    const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
    ASSERT_EQ(report.size(), 2u);
    EXPECT_NE(report[0].find(localized("ROLLFORWARDNOOBJECT")), std::string::npos) << report[0];
    EXPECT_NE(report[1].find(localized("ROLLFORWARDWRONGOBJECT")), std::string::npos) << report[1];
    EXPECT_EQ(environment.alerts().records().back().kind, RecordingAlertPresenter::Kind::Info);
}

TEST_F(RollForwardTest, CancelRotatesTheJournalAndExcludedEntriesStayOut)
{
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        for (const char* name : {"One", "Two", "Three", "Four", "Five"}) {
            arguments::CategoryGroupParameters group;
            group.name = name;
            crashed->commandExecutor().executeCommand(17, nullptr, group);
        }
    }
    {
        std::unique_ptr<MyDocument> declined = reopen();
        answerOffer(AlertAnswer::Alternate);
        EXPECT_EQ(declined->getMasterExpenseTypeForName("One"), nullptr);
    }
    EXPECT_FALSE(fileExists(bookPath() + ".log"));
    std::unique_ptr<MyDocument> nothingOffered = reopen();
    EXPECT_TRUE(nothingOffered->commandExecutor().commandsToRecover().empty());

    // Back into place, two of the five excluded.
    std::rename((bookPath() + ".~log").c_str(), (bookPath() + ".log").c_str());
    std::unique_ptr<MyDocument> partly = reopen();
    auto& items = partly->commandExecutor().commandsToRecover();
    ASSERT_EQ(items.size(), 5u);
    items[1].mExclude = true;
    items[3].mExclude = true;
    partly->commandExecutor().dialogClosed(1);
    for (const char* name : {"One", "Three", "Five"}) EXPECT_NE(partly->getMasterExpenseTypeForName(name), nullptr) << name;
    for (const char* name : {"Two", "Four"}) EXPECT_EQ(partly->getMasterExpenseTypeForName(name), nullptr) << name;
    EXPECT_EQ(readCommandJournalFile(bookPath() + ".log").items.size(), 5u);
}

// One entry of the journal, from "<LogEntry" to the line end after "</LogEntry>".
std::string journalEntry(const std::string& journal, std::size_t index)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= index; ++i) start = journal.find("<LogEntry", i == 0 ? 0 : start + 1);
    return journal.substr(start, journal.find("</LogEntry>", start) + 13 - start);
}

// Entries whose arguments name what these books do not hold, or that would
// book what the transaction sheet refuses, are skipped and listed; the entries
// around them are made again.
TEST_F(RollForwardTest, EntriesNamingMissingObjectsOrBookingWhatDoesNotBalanceAreSkippedAndReported)
{
    struct Case {
        const char* what;
        // Alters the journal; the altered entry is the second of three.
        std::function<std::string(const std::string&)> alter;
        const char* reason;
    };
    auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        std::size_t second = text.find("<LogEntry", text.find("<LogEntry") + 1);
        std::size_t at = text.find(from, second);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return text;
    };
    const std::vector<Case> cases = {
        {"a transaction's line names a missing account",
         [&](const std::string& text) { return replaced(text, "AccountId = 4;", "AccountId = 999;"); },
         "ROLLFORWARDMISSINGID"},
        {"a transaction's line names a missing category",
         [&](const std::string& text) { return replaced(text, "AccountId = 1;", "AccountId = 998;"); },
         "ROLLFORWARDMISSINGID"},
        {"a transaction's sides do not balance",
         [&](std::string text) {
             // The amount of the from line, not the transaction's total.
             const std::size_t from = text.find("FromList", text.find("<LogEntry", text.find("<LogEntry") + 1));
             const std::size_t at = text.find("80", from);
             EXPECT_NE(at, std::string::npos);
             if (at != std::string::npos) text.replace(at, 2, "81");
             return text;
         },
         "ROLLFORWARDUNBALANCED"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::unique_ptr<MyDocument> crashed = reopen();
            CCommandExecutor& run = crashed->commandExecutor();
            makeBeforeAndPaid(*crashed);
            arguments::CategoryGroupParameters after;
            after.name = "After";
            run.executeCommand(17, nullptr, after);
        }
        const std::string journal = bookPath() + ".log";
        writeFile(journal, c.alter(readFile(journal)));

        std::unique_ptr<MyDocument> replayed = reopen();
        const std::size_t transactions = replayed->mTransactionArray().size();
        ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 3u);
        answerOffer(AlertAnswer::Default);
        EXPECT_EQ(replayed->mTransactionArray().size(), transactions);
        EXPECT_NE(replayed->getMasterExpenseTypeForName("Before"), nullptr);
        EXPECT_NE(replayed->getMasterExpenseTypeForName("After"), nullptr);
        const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
        ASSERT_EQ(report.size(), 1u);
        EXPECT_EQ(report[0], localized("ROLLFORWARDCOMMAND23") + " Paid: " + localized(c.reason));
        EXPECT_EQ(environment.alerts().records().back().kind, RecordingAlertPresenter::Kind::Info);
        replayed->fileSaved();
    }
}

TEST_F(RollForwardTest, AShareTradeNamingAMissingAccountIsSkippedAndReported)
{
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        arguments::BuySellSharesParameters buy;
        buy.price = 12.5;
        buy.quantity = 10;
        buy.totalValue = 125.0;
        buy.fromAccountId = books::kDefaultAccount;
        buy.description = "First lot";
        buy.transactionDate = 20090310;
        buy.isBuyInd = true;
        crashed->commandExecutor().executeCommand(
            20, crashed->dataItemController().currencyItemForCurrency(crashed->getCurrencyForId(shareId)), buy);
    }
    const std::string journal = bookPath() + ".log";
    std::string text = readFile(journal);
    const std::size_t at = text.find("fromAccountId = 4;");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 18, "fromAccountId = 77;");
    writeFile(journal, text);

    std::unique_ptr<MyDocument> replayed = reopen();
    const Bytes before = replayed->modelStreamBytes();
    answerOffer(AlertAnswer::Default);
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), before), "");
    const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find(localized("ROLLFORWARDMISSINGID")), std::string::npos) << report[0];
}

// The dividend sheet names the dividend's category where the other trades
// name an account: the dividend is made again like them.
TEST_F(RollForwardTest, ADividendIsMadeAgain)
{
    Bytes direct;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        arguments::CategoryParameters dividends;
        dividends.name = "Dividends";
        dividends.mParentId = group_kind::kIncome;
        dividends.mMasterTypeId = group_kind::kIncome;
        const int categoryId = crashed->commandExecutor().executeCommand(15, nullptr, dividends);
        ASSERT_GT(categoryId, 0);
        // A category id that is no account's: read as an account it names nothing.
        ASSERT_EQ(crashed->getAccountForId(categoryId), nullptr);
        arguments::RegisterDividendParameters dividend;
        dividend.transactionDate = 20090312;
        dividend.dividend = 24.0;
        dividend.tax = 0.0;
        dividend.fromAccountId = books::kIncomeAccount;
        dividend.toAccountId = books::kDefaultAccount;
        dividend.forAccountId = categoryId;
        dividend.description = "ACME dividend";
        const std::size_t before = crashed->mTransactionArray().size();
        crashed->commandExecutor().executeCommand(
            22, crashed->dataItemController().currencyItemForCurrency(crashed->getCurrencyForId(shareId)), dividend);
        ASSERT_EQ(crashed->mTransactionArray().size(), before + 1);
        direct = crashed->modelStreamBytes();
    }
    std::unique_ptr<MyDocument> replayed = reopen();
    answerOffer(AlertAnswer::Default);
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), direct), "");
}

// Every entry is made again or listed: numbers no command has, command
// numbers that are no number, entries the journal does not keep whole.
TEST_F(RollForwardTest, EntriesThatCannotBeMadeAgainAreAllListed)
{
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        arguments::CategoryGroupParameters garden;
        garden.name = "Garden";
        crashed->commandExecutor().executeCommand(17, nullptr, garden);
    }
    const std::string journal = bookPath() + ".log";
    const std::string text = readFile(journal);
    const std::string entry = journalEntry(text, 0);
    auto withNumber = [&](const std::string& number) {
        std::string changed = entry;
        changed.replace(changed.find("<CommandNumber>17<"), 18, "<CommandNumber>" + number + "<");
        return changed;
    };
    std::string parameters = entry;
    parameters.replace(parameters.find("Garden"), 6, "Pond");
    parameters.replace(parameters.find("; }"), 3, "; ");   // the argument text is cut
    writeFile(journal, text + withNumber("200") + withNumber("19") + withNumber("seventeen") + parameters);

    const std::string aside = setAsidePathForJournal(journal);
    std::unique_ptr<MyDocument> replayed = reopen();
    ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 4u);
    answerOffer(AlertAnswer::Default);
    EXPECT_NE(replayed->getMasterExpenseTypeForName("Garden"), nullptr);
    EXPECT_EQ(replayed->getMasterExpenseTypeForName("Pond"), nullptr);
    const std::vector<std::string> expected = {
        "200 Garden: " + localized("ROLLFORWARDUNKNOWN"),
        localized("ROLLFORWARDCOMMAND19") + " Garden: " + localized("ROLLFORWARDUNKNOWN"),
        localized("ROLLFORWARDCOMMAND17") + " Pond: " + localized("ROLLFORWARDNOTRUN"),
        localized("ROLLFORWARDUNREADABLE"),
        formatMessage(localized("ROLLFORWARDDAMAGEDKEPT"), {aside}),
    };
    EXPECT_EQ(replayed->commandExecutor().lastReplayReport(), expected);
}

// An entry whose text does not read whole is not made again: each is listed
// with what is wrong, the entries around it are made, nothing else is booked.
TEST_F(RollForwardTest, DamagedEntryTextIsListedWithItsReasonAndNotMadeAgain)
{
    struct Case {
        const char* what;
        std::size_t entry;   // the entry altered: 1 the transaction, 2 the account
        const char* from;
        const char* to;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"a date that is no day", 1, "TransactionDate = 20090305;", "TransactionDate = 200S0401;",
         formatMessage(localized("ROLLFORWARDNOTADATE"), {"TransactionDate", "200S0401"})},
        {"a key of the transaction misspelt", 1, "TransactionDate =", "TransactyonDate =",
         formatMessage(localized("ROLLFORWARDUNKNOWNKEY"), {"TransactyonDate"})},
        {"a key of the arguments misspelt", 2, "currencyId =", "currencyld =",
         formatMessage(localized("ROLLFORWARDUNKNOWNKEY"), {"currencyld"})},
        {"a number that does not read whole", 2, "balance = 20;", "balance = 2O;",
         formatMessage(localized("ROLLFORWARDNOTANUMBER"), {"balance", "2O"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::unique_ptr<MyDocument> crashed = reopen();
            makeBeforeAndPaid(*crashed);
            arguments::AccountArguments pocket(std::nullopt, "Pocket money", std::nullopt, books::kOwnPropertyType,
                                             books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                             std::nullopt, 20.0);
            crashed->commandExecutor().executeCommand(13, nullptr, pocket);
        }
        const std::string journal = bookPath() + ".log";
        std::string text = readFile(journal);
        const std::string entry = journalEntry(text, c.entry);
        std::string altered = entry;
        ASSERT_NE(altered.find(c.from), std::string::npos) << altered;
        altered.replace(altered.find(c.from), std::strlen(c.from), c.to);
        text.replace(text.find(entry), entry.size(), altered);
        writeFile(journal, text);

        std::unique_ptr<MyDocument> replayed = reopen();
        const std::size_t transactions = replayed->mTransactionArray().size();
        environment.alerts().clear();
        answerOffer(AlertAnswer::Default);
        EXPECT_NE(replayed->getMasterExpenseTypeForName("Before"), nullptr);
        // Of the two bookings (Paid, and Pocket money's opening balance) the one of the altered entry is not made.
        EXPECT_EQ(replayed->mTransactionArray().size(), transactions + 1);
        EXPECT_EQ(replayed->getAccountForName("Pocket money") != nullptr, c.entry != 2);
        const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
        ASSERT_EQ(report.size(), 1u);
        EXPECT_NE(report[0].find(c.reason), std::string::npos) << report[0];
        ASSERT_EQ(environment.alerts().records().size(), 2u);   // the offer and the summary
        replayed->fileSaved();
    }
}

// A replayed deletion acts without a question; one whose target is not the
// object it named (its key changed to another's) is listed and deletes nothing.
TEST_F(RollForwardTest, ReplayedDeletionsAskNothingAndOneOfAnotherObjectIsListed)
{
    for (const bool retargeted : {false, true}) {
        SCOPED_TRACE(retargeted ? "retargeted" : "as journaled");
        ObjectIdT carId = 0;
        {
            std::unique_ptr<MyDocument> crashed = reopen();
            arguments::AccountArguments car(std::nullopt, "Old car", std::nullopt, books::kOwnPropertyType,
                                            books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                            std::nullopt, std::nullopt);
            carId = crashed->commandExecutor().executeCommand(13, nullptr, car);
            environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
            ASSERT_TRUE(crashed->deleteObject(crashed->getAccountItemForId(carId), true));
        }
        const std::string journal = bookPath() + ".log";
        std::string text = readFile(journal);
        if (retargeted) {
            const std::string key = "AcnT" + std::to_string(carId);
            text.replace(text.find(key), key.size(), "AcnT" + std::to_string(books::kDefaultAccount));
        }
        writeFile(journal, text);

        std::unique_ptr<MyDocument> replayed = reopen();
        const std::string other = replayed->getAccountForId(books::kDefaultAccount)->Get_StringrefName();
        environment.alerts().clear();
        answerOffer(AlertAnswer::Default);
        EXPECT_NE(replayed->getAccountForId(books::kDefaultAccount), nullptr);
        EXPECT_EQ(replayed->getAccountForName("Old car") != nullptr, retargeted);
        const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
        if (retargeted) {
            ASSERT_EQ(report.size(), 1u);
            EXPECT_EQ(report[0], localized("ROLLFORWARDCOMMAND28") + " Old car: " +
                                     formatMessage(localized("ROLLFORWARDRETARGETED"), {other}));
        } else {
            EXPECT_TRUE(report.empty()) << ::testing::PrintToString(report);
        }
        // The offer, the summary when there is one: no question about the deletion.
        for (const auto& record : environment.alerts().records())
            EXPECT_TRUE(record.kind != RecordingAlertPresenter::Kind::Question || record.alert.number == 0);
        EXPECT_EQ(environment.alerts().records().size(), retargeted ? 2u : 1u);
        replayed->fileSaved();
    }
}

std::shared_ptr<CTrnSItem> transactionNamed(MyDocument& books, const std::string& name)
{
    for (const std::shared_ptr<CTrnSItem>& transaction : books.mTransactionArray())
        if (transaction->getName() == name) return transaction;
    ADD_FAILURE() << "no transaction " << name;
    return std::make_shared<CTrnSItem>();
}

// A modification names its target by key and by the name the target had: a
// key changed to another object's (of the same kind) changes nothing and is
// listed, as a deletion's is.
TEST_F(RollForwardTest, AModificationWhoseTargetIsNotTheObjectItChangedIsListed)
{
    for (const int command : {12, 24}) {
        SCOPED_TRACE(command);
        std::string key, otherKey;
        {
            std::unique_ptr<MyDocument> crashed = reopen();
            CCommandExecutor& run = crashed->commandExecutor();
            if (command == 12) {
                arguments::AccountArguments car(std::nullopt, "Old car", std::nullopt, books::kOwnPropertyType,
                                                books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                                std::nullopt, std::nullopt);
                const int carId = run.executeCommand(13, nullptr, car);
                arguments::AccountArguments renamed;
                renamed.name = "New car";
                run.executeCommand(12, crashed->getAccountItemForId(carId), renamed);
                key = "AcnT" + std::to_string(carId);
                otherKey = "AcnT" + std::to_string(books::kDefaultAccount);
            } else {
                makeBeforeAndPaid(*crashed);
                std::shared_ptr<CTrnSItem> paid = crashed->mTransactionArray().front();
                arguments::CTransactionArguments other;
                other.mTransactionDictionary = transactionDictionary(
                    *crashed, books::kDefaultAccount, books::kExpenseAccount, books::kExpenseCategory, 7.0, 20090306,
                    "Other");
                run.executeCommand(23, nullptr, other);
                arguments::CTransactionArguments corrected;
                corrected.mTransactionDictionary = transactionDictionary(
                    *crashed, books::kDefaultAccount, books::kExpenseAccount, books::kExpenseCategory, 90.0, 20090305,
                    "Paid");
                run.executeCommand(24, paid, corrected);
                key = paid->calculateKey();
                otherKey = transactionNamed(*crashed, "Other")->calculateKey();
            }
        }
        const std::string journal = bookPath() + ".log";
        std::string text = readFile(journal);
        const std::size_t last = text.rfind("<LogEntry");
        const std::size_t at = text.find("<Object>" + key + "<", last);
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at + 8, key.size(), otherKey);
        writeFile(journal, text);

        std::unique_ptr<MyDocument> replayed = reopen();
        const std::vector<std::uint8_t> before = replayed->modelStreamBytes();
        answerOffer(AlertAnswer::Default);
        const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
        ASSERT_EQ(report.size(), 1u) << ::testing::PrintToString(report);
        EXPECT_NE(report[0].find(formatMessage(localized("ROLLFORWARDRETARGETED"), {""}).substr(0, 20)),
                  std::string::npos)
            << report[0];
        if (command == 12) {
            EXPECT_EQ(replayed->getAccountForName("New car"), nullptr);
            EXPECT_NE(replayed->getAccountForName("Old car"), nullptr);
            EXPECT_NE(replayed->getAccountForId(books::kDefaultAccount)->Get_StringrefName(), "New car");
        } else {
            EXPECT_EQ(transactionNamed(*replayed, "Other")->mTotalAmount(), 7.0);
            EXPECT_EQ(transactionNamed(*replayed, "Paid")->mTotalAmount(), 80.0);
        }
        replayed->fileSaved();
    }
}

// Unreadable bytes at the journal's place are told and set aside: the work
// that follows is journaled in a fresh journal, which a crash then offers.
TEST_F(RollForwardTest, WorkAfterAJournalOfJunkSurvivesACrash)
{
    const std::string journal = bookPath() + ".log";
    static const char bytes[] = "\x89\x01\xff\xfe junk \x00\x13 no journal at all \x7f\x80";
    const std::string junk(bytes, sizeof bytes - 1);
    writeFile(journal, junk);
    const std::string aside = setAsidePathForJournal(journal);
    {
        std::unique_ptr<MyDocument> opened = reopen();
        EXPECT_TRUE(opened->commandExecutor().commandsToRecover().empty());
        dispatcher.advance(std::chrono::milliseconds(100));
        EXPECT_EQ(environment.alerts().records().size(), 1u) << "the damage is told";
        EXPECT_EQ(readFile(aside), junk) << "kept aside as found";
        arguments::CategoryGroupParameters garden;
        garden.name = "Garden";
        opened->commandExecutor().executeCommand(17, nullptr, garden);
    }
    environment.alerts().clear();
    std::unique_ptr<MyDocument> replayed = reopen();
    ASSERT_EQ(replayed->commandExecutor().commandsToRecover().size(), 1u);
    answerOffer(AlertAnswer::Default);
    EXPECT_NE(replayed->getMasterExpenseTypeForName("Garden"), nullptr);
    std::remove(aside.c_str());
}

// A journal of which nothing can be read is told when the books open, not
// passed over; a FIFO in its place is not waited on; an empty one is no news.
TEST_F(RollForwardTest, AJournalOfWhichNothingCanBeReadIsTold)
{
    const std::string journal = bookPath() + ".log";
    struct Case {
        const char* what;
        std::function<void()> make;
        bool told;
    };
    const std::vector<Case> cases = {
        {"cut in its first entry",
         [&] { writeFile(journal, "<LogFile created=\"2009-03-15 14:22:05 +0000\">\r\n<LogEntry>\r\n\t<CommandNu"); },
         true},
        // What is no regular file is no journal of ours: passed by, never
        // waited on, and the person learns that nothing is journaled.
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(journal.c_str(), 0600), 0); }, true},
        {"an entry without a number",
         [&] {
             writeFile(journal, "<LogFile created=\"2009-03-15 14:22:05 +0000\">\r\n<LogEntry>\r\n\t<CommandNumber>x"
                                "</CommandNumber>\r\n</LogEntry>\r\n");
         },
         true},
        {"empty", [&] { writeFile(journal, "\r\n"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(journal.c_str());
        c.make();
        environment.alerts().clear();
        std::unique_ptr<MyDocument> opened = reopen();
        EXPECT_TRUE(opened->commandExecutor().commandsToRecover().empty());
        dispatcher.advance(std::chrono::milliseconds(100));
        const auto& records = environment.alerts().records();
        ASSERT_EQ(records.size(), c.told ? 1u : 0u);
        if (c.told) {
            EXPECT_EQ(records[0].kind, RecordingAlertPresenter::Kind::Info);
        }
    }
    std::remove(journal.c_str());
}

} // namespace
} // namespace ch::test
