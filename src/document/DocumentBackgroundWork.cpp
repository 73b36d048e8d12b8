#include "document/DocumentBackgroundWork.h"

#include <chrono>
#include <cstdio>

#include "bridge/CCurRItem.h"
#include "document/DocumentFile.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/app/ApplicationDefaults.h"
#include "document/app/TimerIntervals.h"
#include "document/arguments/CurrencyArguments.h"
#include "platform/core/dispatcher.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {

constexpr int kCommandChangeRate = 18;
constexpr std::size_t kShortestSymbol = 2;

} // namespace

DocumentBackgroundWork::DocumentBackgroundWork(MyDocument& document, QuoteService& quotes)
    : mDocument(document), mFetcher(quotes, document.dispatcher()),
      mAlive(std::make_shared<DocumentBackgroundWork*>(this))
{
}

DocumentBackgroundWork::~DocumentBackgroundWork()
{
    destroyTimer();
    destroyAutosaveTimer();
    mAlive.reset();
    // Closing must not wait for a dead server's time limit.
    mFetcher.cancelWorkers();
}

// --- exchange rates

bool DocumentBackgroundWork::getCurrencyConversionFromWeb(std::function<void()> finished)
{
    std::shared_ptr<CCurRItem> home = mDocument.getHomeCurrency();
    const std::string homeSymbol = home ? home->internetSymbol() : std::string();
    if (utf16Length(homeSymbol) < kShortestSymbol) {
        if (finished) finished();
        return false;
    }
    std::weak_ptr<DocumentBackgroundWork*> alive = mAlive;
    auto whenDone = [alive, finished] {
        if (alive.lock() && finished) finished();
    };
    const bool started = mFetcher.fetchRates(mDocument.mCurrencyArray(), homeSymbol,
                        [alive](const std::shared_ptr<CCurRItem>& currency, long quantity, double factor, DateT date) {
                            std::shared_ptr<DocumentBackgroundWork*> self = alive.lock();
                            if (!self) return;
                            arguments::CurrencyRateParameters rate;
                            rate.quantity = quantity;
                            rate.factor = factor;
                            rate.dateStart = date;
                            (*self)->mDocument.commandExecutor().executeCommand(kCommandChangeRate, currency, rate);
                        },
                        whenDone);
    if (!started && finished) finished();
    return true;
}

// --- share prices

DocumentBackgroundWork::StockAction DocumentBackgroundWork::stockActionForTag(std::optional<int> senderTag)
{
    if (!senderTag || *senderTag == kFetchPricesTag || *senderTag <= 0) return StockAction::Fetch;
    return StockAction::Book;
}

void DocumentBackgroundWork::calculateStockPrices(std::optional<int> senderTag)
{
    if (stockActionForTag(senderTag) == StockAction::Book) bookRealTimeRate();
    else fetchStockPrices();
}

bool DocumentBackgroundWork::calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished)
{
    if (stockActionForTag(senderTag) == StockAction::Book) {
        bookRealTimeRate();
        if (finished) finished();
        return true;
    }
    if (finished) mFetchWaiters.push_back(std::move(finished));
    return fetchStockPrices();
}

bool DocumentBackgroundWork::fetchStockPrices()
{
    std::weak_ptr<DocumentBackgroundWork*> alive = mAlive;
    return mFetcher.fetchQuotes(mDocument.mShareArray(),
                                [alive](double total, const std::vector<std::shared_ptr<CCurRItem>>&) {
                                    std::shared_ptr<DocumentBackgroundWork*> self = alive.lock();
                                    if (!self) return;
                                    (*self)->mPortfolioDifference = total;
                                    if ((*self)->mPricesFetched) (*self)->mPricesFetched();
                                    std::vector<std::function<void()>> waiters;
                                    waiters.swap((*self)->mFetchWaiters);
                                    for (const std::function<void()>& waiter : waiters) waiter();
                                });
}

void DocumentBackgroundWork::bookRealTimeRate()
{
    bool booked = false;
    for (const std::shared_ptr<CCurRItem>& share : mDocument.mShareArray()) {
        const std::vector<CStockPrice>& fetched = share->mRealTimeRateHistory();
        booked = booked || (share->getSourceItem() && !fetched.empty() && fetched.front().theRate.value_or(0.0) > 0.0);
        share->bookRealTimeRate();
        mDocument.notificationCenter().post(GXCSharePriceModifiedNotification, share);
    }
    // The books changed without a command: the document says so itself.
    if (booked) mDocument.updateChangeCount();
}

std::string DocumentBackgroundWork::portfolioDifferenceText() const
{
    char text[64];
    std::snprintf(text, sizeof text, "%8.2f", mPortfolioDifference);
    return text;
}

// --- timers

void DocumentBackgroundWork::startTimer()
{
    const std::chrono::milliseconds interval = stockRefreshInterval(UserDefaults::standard());
    mRefreshTimer = mDocument.dispatcher().startRepeating(interval, [this] { calculateStockPrices(std::nullopt); });
}

void DocumentBackgroundWork::startAutosaveTimer()
{
    const std::chrono::milliseconds interval = autosaveInterval(UserDefaults::standard());
    mAutosaveTimer = mDocument.dispatcher().startRepeating(interval, [this] { autosave(); });
}

void DocumentBackgroundWork::startTimersAsDefaultsAsk()
{
    const UserDefaults& defaults = UserDefaults::standard();
    if (defaults.boolForKey(kOnLineSharepriceCheckKey)) startTimer();
    if (defaults.boolForKey(kAutoSaveKey)) startAutosaveTimer();
}

DocumentBackgroundWork::AutosaveResult DocumentBackgroundWork::autosave()
{
    if (mDocument.fileName().empty()) return AutosaveResult::Untitled;
    if (mDocument.passwordQuestionOpen() || mDocument.commandExecutor().rollForwardPending())
        return AutosaveResult::Waiting;
    if (mDocument.mustSaveUnderNewName()) return AutosaveResult::MustSaveUnderNewName;
    if (!mDocument.isDocumentEdited()) return AutosaveResult::Unchanged;
    return saveDocument(mDocument).ok() ? AutosaveResult::Saved : AutosaveResult::Failed;
}

} // namespace ch
