#include "bridge/MarketDataFetcher.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "bridge/BridgeDocument.h"
#include "bridge/CCurRItem.h"
#include "bridge/DeveloperLog.h"
#include "model/foundation/CDate.h"
#include "platform/core/dispatcher.h"
#include "platform/core/http_get.h"
#include "platform/core/notification_center.h"

namespace ch {

// Shared with the calls queued on the main thread, which may run after the
// fetcher is gone.
struct MarketDataFetcher::State {
    std::atomic<bool> fetchingQuotes{false};
};

struct MarketDataFetcher::Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
    std::shared_ptr<std::atomic<bool>> cancelled;
};

MarketDataFetcher::MarketDataFetcher(QuoteService& service, Dispatcher& dispatcher)
    : mService(service), mDispatcher(dispatcher), mState(std::make_shared<State>())
{
}

MarketDataFetcher::~MarketDataFetcher()
{
    cancelWorkers();
}

void MarketDataFetcher::waitForWorkers()
{
    for (Worker& worker : mWorkers)
        if (worker.thread.joinable()) worker.thread.join();
    mWorkers.clear();
}

void MarketDataFetcher::cancelWorkers()
{
    for (Worker& worker : mWorkers) worker.cancelled->store(true);
    waitForWorkers();
}

void MarketDataFetcher::startWorker(std::function<void(const std::atomic<bool>&)> job)
{
    // A repeating refresh must not pile up finished threads.
    std::erase_if(mWorkers, [](Worker& worker) {
        if (!worker.finished->load()) return false;
        worker.thread.join();
        return true;
    });
    auto finished = std::make_shared<std::atomic<bool>>(false);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([job = std::move(job), finished, cancelled]() mutable {
        {
            const HttpCancelScope scope(*cancelled);
            job(*cancelled);
        }
        job = nullptr;
        finished->store(true);
    });
    mWorkers.push_back({std::move(thread), std::move(finished), std::move(cancelled)});
}

bool MarketDataFetcher::isFetchingQuotes() const
{
    return mState->fetchingQuotes.load();
}

bool MarketDataFetcher::fetchRates(const std::vector<std::shared_ptr<CCurRItem>>& currencies,
                                   const std::string& homeSymbol, RateHandler apply, std::function<void()> finished)
{
    struct Job {
        std::weak_ptr<CCurRItem> currency;
        CCurRItem::RateRequest request;
        std::optional<double> fetched;
    };
    // Main thread: everything the fetch needs, read now.
    auto jobs = std::make_shared<std::vector<Job>>();
    for (const std::shared_ptr<CCurRItem>& currency : currencies)
        if (currency)
            if (std::optional<CCurRItem::RateRequest> request = currency->rateRequest(homeSymbol))
                jobs->push_back({currency, std::move(*request), std::nullopt});
    if (jobs->empty()) return false;

    QuoteService& service = mService;
    Dispatcher& dispatcher = mDispatcher;
    startWorker([jobs, &service, &dispatcher, apply = std::move(apply),
                 finished = std::move(finished)](const std::atomic<bool>& cancelled) mutable {
        // Worker: the network only.
        for (Job& job : *jobs) {
            if (cancelled.load()) break;
            job.fetched = CCurRItem::fetchRate(service, job.request);
        }
        // Everything moves to the main thread, so nothing is released here.
        dispatcher.post([jobs = std::move(jobs), apply = std::move(apply), finished = std::move(finished),
                         wasCancelled = cancelled.load()] {
            if (wasCancelled) return;
            // Main thread: judged against the rate as it stands now.
            const DateT today = CDate::GetNowAsDateT();
            for (const Job& job : *jobs) {
                std::shared_ptr<CCurRItem> currency = job.currency.lock();
                if (!currency || !currency->getSourceItem()) continue;
                const double factor = currency->acceptFetchedRate(job.fetched);
                if (factor > 0.0 && apply) apply(currency, job.request.quantity, factor, today);
            }
            if (finished) finished();
        });
    });
    return true;
}

bool MarketDataFetcher::fetchQuotes(const std::vector<std::shared_ptr<CCurRItem>>& shares, QuotesHandler done)
{
    if (mState->fetchingQuotes.exchange(true)) {
        developerLog("Not calculating. Procedure still running");
        return false;
    }
    struct Job {
        std::shared_ptr<CCurRItem> share;
        CCurRItem::QuoteRequest request;
        std::optional<double> quote;
    };
    auto jobs = std::make_shared<std::vector<Job>>();
    for (const std::shared_ptr<CCurRItem>& share : shares)
        if (share)
            if (std::optional<CCurRItem::QuoteRequest> request = share->quoteRequest())
                jobs->push_back({share, std::move(*request), std::nullopt});

    QuoteService& service = mService;
    Dispatcher& dispatcher = mDispatcher;
    std::shared_ptr<State> state = mState;
    startWorker([jobs, &service, &dispatcher, state, done = std::move(done)](const std::atomic<bool>& cancelled) mutable {
        // Worker: only the quote service is touched; the items wait.
        for (Job& job : *jobs) {
            if (cancelled.load()) break;
            job.quote = CCurRItem::fetchQuote(service, job.request);
        }
        // The items move back to the main thread: their last release must
        // happen there.
        dispatcher.post([jobs = std::move(jobs), state = std::move(state), done = std::move(done),
                         wasCancelled = cancelled.load()] {
            if (wasCancelled) {
                state->fetchingQuotes = false;
                return;
            }
            double total = 0.0;
            std::vector<std::shared_ptr<CCurRItem>> asked;
            asked.reserve(jobs->size());
            for (Job& job : *jobs) {
                if (job.share->getSourceItem()) total += job.share->applyQuote(job.request, job.quote);
                asked.push_back(job.share);
            }
            state->fetchingQuotes = false;
            for (const std::shared_ptr<CCurRItem>& share : asked)
                if (BridgeDocument* document = share->parentDocument())
                    document->notificationCenter().post("REALTIMESHAREPRICEMODIFIEDNOTIFICATION",
                                                        std::shared_ptr<Observable>(share));
            if (done) done(total, asked);
        });
    });
    return true;
}

} // namespace ch
