// Share prices still being fetched when their document closes: closing calls
// the fetches off and waits for the worker (a server that never answers costs
// no time limit), whatever was fetched is dropped, and nothing is touched
// after the document is gone.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>

#include "../document/document_test_support.h"
#include "bridge/CCurRItem.h"
#include "document/DocumentBackgroundWork.h"
#include "document/MyDocument.h"
#include "import/StockQuoteService.h"
#include "import_test_support.h"
#include "local_http_server.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "platform/core/dispatcher.h"

namespace ch::test {
namespace {

// A port on 127.0.0.1 that takes connections (the system's backlog does)
// and never answers, like a dead quote server.
class SilentServer {
public:
    SilentServer() { mSocket = listenOnLoopback(mPort); }
    ~SilentServer() { ::close(mSocket); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string address() const { return "http://127.0.0.1:" + std::to_string(mPort); }
    // True once a caller has connected and waits for its page.
    bool called(std::chrono::milliseconds within) const
    {
        pollfd waiting{mSocket, POLLIN, 0};
        return ::poll(&waiting, 1, int(within.count())) > 0;
    }

private:
    int mSocket = -1;
    int mPort = 0;
};

std::shared_ptr<CCurRItem> addShare(MyDocument& document, const char* symbol)
{
    CCurrency* share = document.accounting()->InsertCurrency(-1, symbol, std::string_view(symbol), symbol,
                                                             std::nullopt, 0, currency_type::kShare, 1, 5.0,
                                                             20090101, 1, -1, -1);
    if (!share) return nullptr;
    share->Put_mCurrencySymbol(symbol);
    std::shared_ptr<CCurRItem> item = document.dataItemController().currencyItemForCurrency(share);
    document.mShareArray().push_back(item);
    return item;
}

TEST(ClosingDuringFetch, ClosingCallsOffFetchesFromADeadServer)
{
    ImportEnvironment environment;
    SilentServer server;
    UserDefaults defaults;
    defaults.set(std::string(StockQuoteService::kQuoteAddressKey), server.address());
    StockQuoteService quotes(defaults);   // the usual limits: 15 s a page

    ManualDispatcher dispatcher;
    ScratchFolder folder;
    auto document = std::make_unique<MyDocument>(dispatcher);
    document->setUntitledJournalFolder(folder.path());
    document->setUpNewDocument("EUR");
    document->getHomeCurrency()->setInternetSymbol("EUR");
    // Two dead symbols: waited out one after the other they cost 30 s.
    std::shared_ptr<CCurRItem> first = addShare(*document, "DEAD1");
    std::shared_ptr<CCurRItem> second = addShare(*document, "DEAD2");
    ASSERT_TRUE(first && second);

    auto work = std::make_unique<DocumentBackgroundWork>(*document, quotes);
    bool pricesArrived = false;
    work->setPricesFetchedHandler([&] { pricesArrived = true; });
    ASSERT_TRUE(work->fetchStockPrices());
    // The first page is being waited for when the window closes.
    ASSERT_TRUE(server.called(std::chrono::seconds(10)));

    const auto closing = std::chrono::steady_clock::now();
    work.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(8));

    // Nothing that was called off is recorded.
    dispatcher.runDue();
    EXPECT_FALSE(pricesArrived);
    EXPECT_TRUE(first->mRealTimeRateHistory().empty());
    EXPECT_TRUE(second->mRealTimeRateHistory().empty());
    first.reset();
    second.reset();
    document.reset();
}

TEST(ClosingDuringFetch, ADocumentClosedWhileAPriceIsFetchedEndsCleanly)
{
    ImportEnvironment environment;
    LocalHttpServer server({{"/q?s=SLOW", {"<html><table><tr><th>Last Trade:</th><td>9.99</td></tr></table>",
                                           std::chrono::milliseconds(1500)}}});
    UserDefaults defaults;
    defaults.set(std::string(StockQuoteService::kQuoteAddressKey), server.address());
    StockQuoteService quotes(defaults);

    ManualDispatcher dispatcher;
    ScratchFolder folder;
    auto document = std::make_unique<MyDocument>(dispatcher);
    document->setUntitledJournalFolder(folder.path());
    document->setUpNewDocument("EUR");
    document->getHomeCurrency()->setInternetSymbol("EUR");
    CCurrency* share = document->accounting()->InsertCurrency(-1, "SLOW", std::string_view("SLOW"), "SLOW",
                                                              std::nullopt, 0, currency_type::kShare, 1, 5.0,
                                                              20090101, 1, -1, -1);
    ASSERT_NE(share, nullptr);
    share->Put_mCurrencySymbol("SLOW");
    document->mShareArray().push_back(document->dataItemController().currencyItemForCurrency(share));

    auto work = std::make_unique<DocumentBackgroundWork>(*document, quotes);
    work->calculateStockPrices(DocumentBackgroundWork::kFetchPricesTag);

    // Closing: the background work goes first, then the document, as the
    // window does; the fetch is still waiting for the server.
    const auto closing = std::chrono::steady_clock::now();
    work.reset();
    document.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(10));

    // Whatever the worker handed back arrives now and finds nothing to change.
    dispatcher.runDue();
}

} // namespace
} // namespace ch::test
