// What a document does in the background: fetched rates booked through
// command 18, share prices fetched or booked by the sender's tag, the
// portfolio total in double precision, the two timers, and autosave that
// saves only an edited document with a file while nothing holds it back.

#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "bridge/CCurRItem.h"
#include "bridge/QuoteService.h"
#include "document/DocumentBackgroundWork.h"
#include "document/DocumentFile.h"
#include "document/arguments/CategoryParameters.h"
#include "document/commands/CommandJournalReader.h"
#include "document_fixture.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"

namespace ch::test {
namespace {

class FakeQuotes final : public QuoteService {
public:
    bool knowsWhereToAsk(MarketData kind) const override
    {
        return kind == MarketData::SharePrices ? quoteAddressSet : converterAddressSet;
    }
    std::optional<double> getQuote(std::string_view symbol) override
    {
        std::lock_guard lock(mMutex);
        asked.push_back(std::string(symbol));
        auto found = quotes.find(std::string(symbol));
        return found == quotes.end() ? std::nullopt : std::optional<double>(found->second);
    }
    std::optional<double> convertForeignQuantity(double quantity, std::string_view symbol,
                                                 std::string_view homeSymbol) override
    {
        std::lock_guard lock(mMutex);
        asked.push_back(std::string(symbol) + ">" + std::string(homeSymbol) + "x" + std::to_string(int(quantity)));
        auto found = rates.find(std::string(symbol));
        return found == rates.end() ? std::nullopt : std::optional<double>(found->second);
    }

    std::map<std::string, double> rates;
    std::map<std::string, double> quotes;
    std::vector<std::string> asked;
    bool quoteAddressSet = true;
    bool converterAddressSet = true;

private:
    std::mutex mMutex;
};

class BackgroundWorkTest : public DocumentTest {
protected:
    BackgroundWorkTest() { document->getHomeCurrency()->setInternetSymbol("EUR"); }

    // A currency (or share) of the books, in its item array.
    std::shared_ptr<CCurRItem> addCurrency(const char* symbol, CurrencyTypeT kind, double factor)
    {
        CCurrency* currency = root().InsertCurrency(-1, symbol, std::string_view(symbol), symbol, std::nullopt, 0,
                                                    kind, 1, factor, 20090101, books::kEUR, -1, -1);
        currency->Put_mCurrencySymbol(symbol);
        auto item = document->dataItemController().currencyItemForCurrency(currency);
        (kind == currency_type::kShare ? document->mShareArray() : document->mCurrencyArray()).push_back(item);
        return item;
    }

    // Lets the fetches end and their results arrive.
    void finishFetches()
    {
        work.waitForFetches();
        dispatcher.runDue();
    }

    FakeQuotes quotes;
    DocumentBackgroundWork work{*document, quotes};
};

TEST_F(BackgroundWorkTest, FetchedRatesAreBookedAsTheyCameThroughTheJournaledCommand)
{
    std::shared_ptr<CCurRItem> usd = addCurrency("USD", currency_type::kCurrency, 1.1);
    addCurrency("X", currency_type::kCurrency, 2.0);
    addCurrency("JPY", currency_type::kCurrency, 0.008);
    quotes.rates["USD"] = 1.2345678901234;
    document->clearChangeCount();

    ASSERT_TRUE(work.getCurrencyConversionFromWeb());
    finishFetches();
    EXPECT_EQ(quotes.asked, (std::vector<std::string>{"USD>EURx1", "JPY>EURx1"}));
    EXPECT_EQ(usd->mConversionFactor(), 1.2345678901234);
    EXPECT_TRUE(document->isDocumentEdited());
    const CommandJournal journal = readCommandJournalFile(document->journalFileName());
    ASSERT_EQ(journal.items.size(), 1u);
    EXPECT_EQ(journal.items[0].mCommand, 18);
    EXPECT_EQ(journal.items[0].mObject, usd->calculateKey());

    // Without a home symbol of two characters nothing is asked.
    quotes.asked.clear();
    document->getHomeCurrency()->setInternetSymbol("E");
    EXPECT_FALSE(work.getCurrencyConversionFromWeb());
    finishFetches();
    EXPECT_TRUE(quotes.asked.empty());
}

// What a page's spinner waits for: every page that asked is told once the
// fetch it joined is over, also one that asked while another's was running;
// a page asking for rates when none is due is told at once.
TEST_F(BackgroundWorkTest, EveryPageThatAskedIsToldWhenItsFetchIsOver)
{
    addCurrency("ACME", currency_type::kShare, 1.0);
    quotes.quotes["ACME"] = 1.1;
    int first = 0, second = 0, booked = 0, rates = 0;
    EXPECT_TRUE(work.calculateStockPrices(1273, [&] { ++first; }));
    EXPECT_FALSE(work.calculateStockPrices(1273, [&] { ++second; })) << "joins the running fetch";
    EXPECT_EQ(first + second, 0);
    finishFetches();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(quotes.asked.size(), 1u);

    work.calculateStockPrices(1274, [&] { ++booked; });
    EXPECT_EQ(booked, 1) << "booking is over at once";
    work.getCurrencyConversionFromWeb([&] { ++rates; });
    EXPECT_EQ(rates, 1) << "no currency is due";
    finishFetches();
    EXPECT_EQ(first + second + booked + rates, 4) << "nobody is told twice";
}

TEST_F(BackgroundWorkTest, PricesAreFetchedOrBookedByTheSenderAndTheTotalStaysExact)
{
    using Action = DocumentBackgroundWork::StockAction;
    const std::pair<std::optional<int>, Action> tags[] = {
        {std::nullopt, Action::Fetch}, {1273, Action::Fetch}, {0, Action::Fetch},
        {-4, Action::Fetch},           {1274, Action::Book},  {5, Action::Book},
    };
    for (const auto& [tag, action] : tags)
        EXPECT_EQ(DocumentBackgroundWork::stockActionForTag(tag), action) << tag.value_or(-99);

    // A million shares at 1.00, quoted at 1.10: single precision would be
    // cents off.
    std::shared_ptr<CCurRItem> share = addCurrency("ACME", currency_type::kShare, 1.0);
    CAccount* portfolio = root().InsertAccount(-1, "Depot", std::string_view("Depot"), "", std::nullopt,
                                               books::kOwnPropertyType, *share->getId(), nullptr);
    portfolio->Put_mBalance(1000000.0);
    static_cast<CCurrency*>(share->getSourceItem())->Put_mPortfolioAccountId(portfolio->Get_Id());
    quotes.quotes["ACME"] = 1.1;
    int fetched = 0;
    work.setPricesFetchedHandler([&] { ++fetched; });
    NotificationLog log(document->notificationCenter(),
                        {"REALTIMESHAREPRICEMODIFIEDNOTIFICATION", "SHAREPRICEMODIFIEDNOTIFICATION"});

    work.calculateStockPrices(std::nullopt);
    EXPECT_FALSE(work.fetchStockPrices()); // still running
    finishFetches();
    EXPECT_EQ(quotes.asked, std::vector<std::string>{"ACME"});
    EXPECT_EQ(fetched, 1);
    EXPECT_EQ(work.portfolioDifference(), 100000.0);
    EXPECT_EQ(work.portfolioDifferenceText(), "100000.00");
    EXPECT_EQ(share->mConversionFactor(), 1.0);

    document->clearChangeCount();
    work.calculateStockPrices(1274);
    EXPECT_EQ(share->mConversionFactor(), 1.1);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(log.names(), (std::vector<std::string>{"REALTIMESHAREPRICEMODIFIEDNOTIFICATION",
                                                     "SHAREPRICEMODIFIEDNOTIFICATION"}));
    EXPECT_EQ(quotes.asked.size(), 1u);
}

TEST_F(BackgroundWorkTest, TimersTickAtTheIntervalsOfTheUserDefaults)
{
    addCurrency("ACME", currency_type::kShare, 1.0);
    const std::string path = folder.file("Timed.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    environment.defaults().set("GXOnLineSharepriceCheck", true);
    environment.defaults().set("GXAutoSave", true);
    environment.defaults().set("GXAutoSaveInterval", 0);
    work.startTimersAsDefaultsAsk();
    ASSERT_TRUE(work.timerRunning());
    ASSERT_TRUE(work.autosaveTimerRunning());

    // Saved over the file: the first version became the backup.
    document->updateChangeCount();
    dispatcher.advance(std::chrono::seconds(299));
    EXPECT_FALSE(fileExists(backupPathForDocument(path)));
    dispatcher.advance(std::chrono::seconds(1));
    EXPECT_TRUE(fileExists(backupPathForDocument(path)));
    EXPECT_FALSE(document->isDocumentEdited());

    dispatcher.advance(std::chrono::seconds(299));
    work.waitForFetches();
    EXPECT_TRUE(quotes.asked.empty());
    dispatcher.advance(std::chrono::seconds(1));
    finishFetches();
    EXPECT_EQ(quotes.asked, std::vector<std::string>{"ACME"});

    work.destroyTimer();
    work.destroyAutosaveTimer();
    document->updateChangeCount();
    dispatcher.advance(std::chrono::seconds(1200));
    finishFetches();
    EXPECT_EQ(quotes.asked.size(), 1u);
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(BackgroundWorkTest, AutosaveSavesAnEditedDocumentWithAFileWhileNothingHoldsItBack)
{
    using Result = DocumentBackgroundWork::AutosaveResult;
    document->updateChangeCount();
    EXPECT_EQ(work.autosave(), Result::Untitled);

    const std::string path = folder.file("Auto.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    EXPECT_EQ(work.autosave(), Result::Unchanged);

    document->updateChangeCount();
    document->setPasswordQuestionOpen(true);
    EXPECT_EQ(work.autosave(), Result::Waiting);
    document->setPasswordQuestionOpen(false);
    document->setMustSaveUnderNewName(true);
    environment.alerts().clear();
    EXPECT_EQ(work.autosave(), Result::MustSaveUnderNewName);
    EXPECT_TRUE(environment.alerts().numbers().empty());
    document->setMustSaveUnderNewName(false);
    EXPECT_EQ(work.autosave(), Result::Saved);
    EXPECT_FALSE(document->isDocumentEdited());

    // A journal on offer is not rotated away by an autosave.
    {
        arguments::CategoryGroupParameters group;
        group.name = "Offered";
        executor().executeCommand(17, nullptr, group);
    }
    const std::string journal = readFile(path + ".log");
    MyDocument reopened(dispatcher);
    ASSERT_TRUE(readFromFile(reopened, path).ok());
    ASSERT_TRUE(reopened.commandExecutor().rollForwardPending());
    DocumentBackgroundWork reopenedWork(reopened, quotes);
    reopened.updateChangeCount();
    EXPECT_EQ(reopenedWork.autosave(), Result::Waiting);
    EXPECT_EQ(readFile(path + ".log"), journal);

    reopened.setFileName(folder.file("gone/Auto.books"));
    reopened.commandExecutor().dropCommandsToRecover();
    EXPECT_EQ(reopenedWork.autosave(), Result::Failed);
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{290});
}

TEST_F(BackgroundWorkTest, TimersFollowTheDefaultsWhenTheyChange)
{
    addCurrency("ACME", currency_type::kShare, 1.0);
    const std::string path = folder.file("Followed.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    UserDefaults& defaults = environment.defaults();
    defaults.set("GXAutoSave", true);
    defaults.set("GXAutoSaveInterval", 5);
    work.startTimersAsDefaultsAsk();
    ASSERT_TRUE(work.autosaveTimerRunning());
    ASSERT_FALSE(work.timerRunning());

    // A minute into the five, the interval becomes two minutes, counted anew.
    dispatcher.advance(std::chrono::seconds(60));
    defaults.set("GXAutoSaveInterval", 2);
    document->updateChangeCount();
    dispatcher.advance(std::chrono::seconds(119));
    EXPECT_TRUE(document->isDocumentEdited());
    dispatcher.advance(std::chrono::seconds(1));
    EXPECT_FALSE(document->isDocumentEdited());

    // Autosave off: nothing is saved any more.
    defaults.set("GXAutoSave", false);
    EXPECT_FALSE(work.autosaveTimerRunning());
    document->updateChangeCount();
    dispatcher.advance(std::chrono::seconds(600));
    EXPECT_TRUE(document->isDocumentEdited());

    // Prices: turned on, then fetched every minute once the rate says so.
    defaults.set("GXOnLineSharepriceCheck", true);
    EXPECT_TRUE(work.timerRunning());
    defaults.set("GXStockRefreshRate", 1);
    dispatcher.advance(std::chrono::seconds(60));
    finishFetches();
    EXPECT_EQ(quotes.asked, std::vector<std::string>{"ACME"});
    defaults.set("GXOnLineSharepriceCheck", false);
    EXPECT_FALSE(work.timerRunning());
}

TEST_F(BackgroundWorkTest, WithoutAnAddressNothingIsFetchedAndTheUserIsToldOnce)
{
    quotes.quoteAddressSet = false;
    quotes.converterAddressSet = false;
    // Books without shares or other currencies ask for nothing: nothing to tell.
    work.fetchStockPrices();
    work.getCurrencyConversionFromWeb();
    finishFetches();
    EXPECT_TRUE(environment.alerts().numbers().empty());

    addCurrency("USD", currency_type::kCurrency, 1.1);
    addCurrency("ACME", currency_type::kShare, 1.0);

    for (int run = 0; run < 3; ++run) {
        EXPECT_FALSE(work.fetchStockPrices());
        EXPECT_FALSE(work.getCurrencyConversionFromWeb());
    }
    finishFetches();
    EXPECT_TRUE(quotes.asked.empty());
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{321, 322}));

    // A second document of the same run says nothing again; with an address
    // set the fetch runs.
    DocumentBackgroundWork other{*document, quotes};
    EXPECT_FALSE(other.fetchStockPrices());
    EXPECT_EQ(environment.alerts().numbers().size(), 2u);
    quotes.quoteAddressSet = true;
    EXPECT_TRUE(other.fetchStockPrices());
    other.waitForFetches();
    dispatcher.runDue();
    EXPECT_EQ(quotes.asked, std::vector<std::string>{"ACME"});
}

} // namespace
} // namespace ch::test
