// A share price still being fetched from a slow server when its document
// closes: closing waits for the worker, the late answer is dropped, and
// nothing is touched after the document is gone.

#include <gtest/gtest.h>

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
