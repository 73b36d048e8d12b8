#pragma once
// What a document does in the background: it fetches the exchange rates of
// its currencies and the prices of its shares from the web, books them,
// refreshes the prices at an interval and saves itself at another.
//
// The fetches run on the worker threads of a MarketDataFetcher, which hands
// every result back to the main thread: a fetched rate is booked there with
// command 18 (journaled like any change), a fetched price is recorded in its
// share item. Rates, prices and the portfolio total stay in double precision
// throughout, so that large holdings are valued to the cent.
//
// Without a quote or converter address nothing of that kind is fetched, and
// the user is told so once (message 321 or 322).
//
// The timers run on the document's dispatcher (the application's event
// loop, or a test's manual clock). The application starts them once the
// document shows its books (after its password question) and destroys this
// object before the document; the destructor stops the timers, calls off the
// fetches still running and waits for their workers (about a second at most),
// and results that arrive later are dropped.
//
// Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/MarketDataFetcher.h"
#include "bridge/QuoteService.h"
#include "platform/core/observable.h"

namespace ch {

class MyDocument;

class DocumentBackgroundWork {
public:
    // The tag of the menu item and button that fetch share prices.
    static constexpr int kFetchPricesTag = 1273;

    enum class StockAction { Fetch, Book };
    enum class AutosaveResult {
        Saved,
        Unchanged,            // nothing to save
        Untitled,             // no file yet: left to the user's Save
        Waiting,              // the password question or the replay offer is open
        MustSaveUnderNewName, // the file holds data the document could not read
        Failed,               // the save failed (error 290 shown)
    };

    DocumentBackgroundWork(MyDocument& document, QuoteService& quotes);
    ~DocumentBackgroundWork();
    DocumentBackgroundWork(const DocumentBackgroundWork&) = delete;
    DocumentBackgroundWork& operator=(const DocumentBackgroundWork&) = delete;

    // --- exchange rates
    // Fetches the rate of every currency of the currency array whose symbol
    // has 2 or more characters and is not the home currency's; every rate
    // the currency accepts is booked with command 18 (its quantity, the
    // factor, today). False when nothing is fetched: the home currency has
    // no symbol of 2 or more characters, or no converter address is set.
    // `finished` runs once the fetched rates are booked, at once when
    // nothing is fetched.
    bool getCurrencyConversionFromWeb(std::function<void()> finished = {});

    // --- share prices
    // What a sender asks for: the refresh timer (no tag), tag 1273, or a tag
    // of 0 or below fetch prices; any other positive tag books them.
    static StockAction stockActionForTag(std::optional<int> senderTag);
    // A page that shows the work passes `finished`: it runs once fetched
    // prices are recorded or booked ones announced (at once for booking).
    // False when a fetch still running made this one do nothing; `finished`
    // then comes with the running one's end. Without a quote address nothing
    // is fetched and `finished` runs at once.
    bool calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished = {});
    // Fetches a price for every share of the share array; when they are
    // recorded, the portfolio difference is their total change in value and
    // the handler runs. False (and a developer log line, nothing else) while
    // the previous fetch is still running; false when no quote address is set.
    bool fetchStockPrices();
    // Books the newest fetched price of every share as its rate today,
    // announcing each share with "SHAREPRICEMODIFIEDNOTIFICATION"; the
    // document is marked changed when any rate was booked.
    void bookRealTimeRate();
    double portfolioDifference() const { return mPortfolioDifference; }
    // The portfolio difference as "%8.2f" prints it.
    std::string portfolioDifferenceText() const;
    void setPricesFetchedHandler(std::function<void()> handler) { mPricesFetched = std::move(handler); }

    // Waits for the fetches started so far; their results still arrive
    // through the dispatcher.
    void waitForFetches() { mFetcher.waitForWorkers(); }

    // --- timers
    // Every "GXStockRefreshRate" minutes (10 when not above 0): a price fetch.
    void startTimer();
    void destroyTimer() { mRefreshTimer.cancel(); }
    bool timerRunning() const { return mRefreshTimer.active(); }
    // Every "GXAutoSaveInterval" minutes (5 when not above 0): autosave().
    void startAutosaveTimer();
    void destroyAutosaveTimer() { mAutosaveTimer.cancel(); }
    bool autosaveTimerRunning() const { return mAutosaveTimer.active(); }
    // The timers the user defaults ask for: the refresh timer with
    // "GXOnLineSharepriceCheck", the autosave timer with "GXAutoSave". From
    // then on the timers follow the defaults: a change of those two or of
    // "GXStockRefreshRate" / "GXAutoSaveInterval" starts, stops or restarts
    // them with the new interval.
    void startTimersAsDefaultsAsk();

    // The autosave tick: saves the document over its file when it has one,
    // holds unsaved changes, may be saved there, and neither the password
    // question nor the replay offer is open (a save then would show books
    // not yet unlocked, or rotate away the journal still on offer).
    AutosaveResult autosave();

private:
    // Whether the service can fetch the kind; tells the user the first time
    // it cannot.
    bool addressKnown(MarketData kind);
    void followDefault(const std::string& key);

    MyDocument& mDocument;
    QuoteService& mQuotes;
    MarketDataFetcher mFetcher;
    std::vector<Subscription> mDefaultsFollowed;
    Subscription mRefreshTimer;
    Subscription mAutosaveTimer;
    std::function<void()> mPricesFetched;
    // The pages waiting for the running price fetch.
    std::vector<std::function<void()>> mFetchWaiters;
    double mPortfolioDifference = 0.0;
    // Expires with this object: results that arrive later are dropped.
    std::shared_ptr<DocumentBackgroundWork*> mAlive;
};

} // namespace ch
