#pragma once
// Fetches exchange rates and share quotes from the web for the currency items
// of a document without letting a worker thread near the model: what a fetch
// needs is read on the main thread, the worker only asks the quote service,
// and the answers come back through the dispatcher to be applied on the main
// thread (rates through the document's rate change, quotes into the items).
//
// The quote service and the dispatcher must outlive the fetcher; destroying
// the fetcher calls off its fetches and waits for its workers, which then
// takes about a second at most, whatever the servers do. Main thread only,
// except the workers.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CCurRItem;
class Dispatcher;
class QuoteService;

class MarketDataFetcher {
public:
    // Applies one accepted rate: the document changes the currency's rate
    // (the quantity and factor valid from the date).
    using RateHandler =
        std::function<void(const std::shared_ptr<CCurRItem>& currency, long quantity, double factor, DateT date)>;
    // Called once the quotes are recorded: the sum of the changes in value
    // and the shares that were asked for.
    using QuotesHandler =
        std::function<void(double totalChange, const std::vector<std::shared_ptr<CCurRItem>>& shares)>;

    MarketDataFetcher(QuoteService& service, Dispatcher& dispatcher);
    ~MarketDataFetcher();
    MarketDataFetcher(const MarketDataFetcher&) = delete;
    MarketDataFetcher& operator=(const MarketDataFetcher&) = delete;

    // For every currency with a usable symbol other than the home symbol:
    // fetches its rate; each rate the currency accepts (see
    // CCurRItem::acceptFetchedRate) goes to `apply` with today's date, then
    // `finished` runs. False (and neither runs) when no currency is due.
    bool fetchRates(const std::vector<std::shared_ptr<CCurRItem>>& currencies, const std::string& homeSymbol,
                    RateHandler apply, std::function<void()> finished = {});

    // Fetches a quote for every share and records it in its item, announces
    // each share with "REALTIMESHAREPRICEMODIFIEDNOTIFICATION" on its
    // document's centre, then calls `done`. False (and a log line) while an
    // earlier quote fetch has not been applied yet.
    bool fetchQuotes(const std::vector<std::shared_ptr<CCurRItem>>& shares, QuotesHandler done);
    bool isFetchingQuotes() const;

    // Waits for the workers started so far (their results still arrive
    // through the dispatcher).
    void waitForWorkers();
    // Calls off the fetches started so far (a page being read stops within
    // about a second; no further page is asked for) and waits for their
    // workers. What they had fetched is dropped: no rate is applied, no
    // quote recorded, no `done` called. Later fetches run as usual.
    void cancelWorkers();

private:
    struct State;
    struct Worker;

    // Runs the job on a new worker thread, with the flag that calls it off
    // (its web fetches watch it too); finished workers are joined first.
    void startWorker(std::function<void(const std::atomic<bool>& cancelled)> job);

    QuoteService& mService;
    Dispatcher& mDispatcher;
    std::shared_ptr<State> mState;
    std::vector<Worker> mWorkers;
};

} // namespace ch
