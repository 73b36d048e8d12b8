// Roll-forward end to end: books are saved, a series of commands runs with
// journaling on, the document is dropped without saving, and the saved books
// are opened again and their journal replayed. The replayed books must save
// to the very bytes of the books that ran the commands.

#include <gtest/gtest.h>

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
        counters = IdCounters();
    }

    std::string bookPath() const { return folder.file("Books.books"); }

    // Opens the saved books as the file bookPath(), with the counters as
    // they stood when they were saved.
    std::unique_ptr<MyDocument> reopen()
    {
        counters.restore();
        return openDocument(saved, bookPath());
    }

    // The series: creations, modifications, postings, a rate, a share trade,
    // a move and a deletion, each through the executor.
    void runSeries(MyDocument& books)
    {
        CCommandExecutor& run = books.commandExecutor();

        arguments::AccountArguments savings(std::nullopt, "Savings", "Rainy days", books::kOwnPropertyType,
                                            books::kEUR, "1200", std::nullopt, std::nullopt, "123-4567890-12",
                                            std::nullopt, 250.0);
        const int savingsId = run.executeCommand(13, nullptr, savings);
        ASSERT_GT(savingsId, 0);

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
            transactionDictionary(savingsId, books::kExpenseAccount, rentId, 80.0, 20090305, "March rent");
        run.executeCommand(23, nullptr, rentPaid);
        std::shared_ptr<CTrnSItem> posted = books.mTransactionArray().front();
        arguments::CTransactionArguments rentCorrected;
        rentCorrected.mTransactionDictionary =
            transactionDictionary(savingsId, books::kExpenseAccount, rentId, 90.0, 20090305, "March rent");
        run.executeCommand(24, posted, rentCorrected);

        arguments::CTransactionArguments mistake;
        mistake.mTransactionDictionary = transactionDictionary(books::kIncomeAccount, savingsId,
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

    // Opens the journal's replay offer and answers it.
    void answerOffer(AlertAnswer answer)
    {
        environment.alerts().scriptAnswer(answer);
        dispatcher.advance(std::chrono::milliseconds(100));
    }

    ObjectIdT shareId = 0;
    Bytes saved;
    IdCounters counters;
};

TEST_F(RollForwardTest, ReplayedBooksSaveToTheBytesOfTheBooksThatRanTheCommands)
{
    Bytes direct;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        runSeries(*crashed);
        EXPECT_TRUE(crashed->isDocumentEdited());
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
    ASSERT_EQ(replayed->commandExecutor().lastReplayReport().size(), 1u);
    const auto& records = environment.alerts().records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_NE(records.back().alert.message.find(localized("ROLLFORWARDDAMAGED")), std::string::npos);
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

} // namespace
} // namespace ch::test
