#include "document/DocumentBackgroundWork.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bridge/CCurRItem.h"
#include "bridge/DeveloperLog.h"
#include "document/DocumentFile.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/app/ApplicationDefaults.h"
#include "document/app/TimerIntervals.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/dispatcher.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {

constexpr int kCommandChangeRate = 18;
constexpr std::size_t kShortestSymbol = 2;

} // namespace

DocumentBackgroundWork::DocumentBackgroundWork(MyDocument& document, QuoteService& quotes)
    : mDocument(document), mQuotes(quotes), mFetcher(quotes, document.dispatcher()),
      mAlive(std::make_shared<DocumentBackgroundWork*>(this))
{
}

DocumentBackgroundWork::~DocumentBackgroundWork()
{
    mDefaultsFollowed.clear();
    destroyTimer();
    destroyAutosaveTimer();
    mAlive.reset();
    // Closing must not wait for a dead server's time limit.
    mFetcher.cancelWorkers();
}

bool DocumentBackgroundWork::addressKnown(MarketData kind)
{
    if (mQuotes.knowsWhereToAsk(kind)) return true;
    const bool prices = kind == MarketData::SharePrices;
    developerLog(prices ? "Not fetching share prices: no quote address is set"
                        : "Not fetching exchange rates: no converter address is set");
    // Once is enough: the refresh timer would say it every few minutes.
    if (mQuotes.firstFetchWithoutAddress(kind)) CErrorManager::RaiseInfo(prices ? 321 : 322);
    return false;
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
    // Books of the home currency alone ask nothing, so there is nothing to tell.
    const auto& currencies = mDocument.mCurrencyArray();
    const bool foreign = std::any_of(currencies.begin(), currencies.end(), [&](const std::shared_ptr<CCurRItem>& c) {
        const std::string symbol = c ? c->internetSymbol() : std::string();
        return utf16Length(symbol) >= kShortestSymbol && symbol != homeSymbol;
    });
    if (foreign && !addressKnown(MarketData::ExchangeRates)) {
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

bool DocumentBackgroundWork::calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished)
{
    if (stockActionForTag(senderTag) == StockAction::Book) {
        bookRealTimeRate();
        if (finished) finished();
        return true;
    }
    // A page waiting on a fetch that never starts would spin for ever.
    if (!mDocument.mShareArray().empty() && !addressKnown(MarketData::SharePrices)) {
        if (finished) finished();
        return false;
    }
    if (finished) mFetchWaiters.push_back(std::move(finished));
    return fetchStockPrices();
}

bool DocumentBackgroundWork::fetchStockPrices()
{
    if (!mDocument.mShareArray().empty() && !addressKnown(MarketData::SharePrices)) return false;
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
    UserDefaults& defaults = UserDefaults::standard();
    if (defaults.boolForKey(kOnLineSharepriceCheckKey)) startTimer();
    if (defaults.boolForKey(kAutoSaveKey)) startAutosaveTimer();
    mDefaultsFollowed.clear();
    for (const std::string_view key :
         {kOnLineSharepriceCheckKey, kStockRefreshRateKey, kAutoSaveKey, kAutoSaveIntervalKey})
        mDefaultsFollowed.push_back(
            defaults.observe(std::string(key), [this](const std::string& changed) { followDefault(changed); }));
}

void DocumentBackgroundWork::followDefault(const std::string& key)
{
    const UserDefaults& defaults = UserDefaults::standard();
    if (key == kOnLineSharepriceCheckKey || key == kStockRefreshRateKey) {
        // Started again, the timer counts the new interval from now.
        if (defaults.boolForKey(kOnLineSharepriceCheckKey)) startTimer();
        else destroyTimer();
    } else {
        if (defaults.boolForKey(kAutoSaveKey)) startAutosaveTimer();
        else destroyAutosaveTimer();
    }
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
