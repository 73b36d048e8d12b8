// Review pictures of the portfolio and currencies pages in the application's
// window: a share bought twice and sold once, its rates over the year and
// prices fetched from a quote service in memory (no network), each chart
// tab, the page's menu, the currencies page, and the card images.

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include <mutex>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "bridge/CCurRItem.h"
#include "bridge/QuoteService.h"
#include "business/BusinessDefaults.h"
#include "document/MyDocument.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/arguments/CurrencyArguments.h"
#include "platform/core/four_char_code.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/qt_dispatcher.h"
#include "review_support.h"
#include "ui/CSideBarController.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/NamedIcons.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/sheets/BookLists.h"

namespace {

using namespace ch;

class MemoryQuotes : public QuoteService {
public:
    std::optional<double> getQuote(std::string_view) override
    {
        std::lock_guard lock(mMutex);
        return price;
    }
    std::optional<double> convertForeignQuantity(double quantity, std::string_view, std::string_view) override
    {
        std::lock_guard lock(mMutex);
        return quantity * rate;
    }
    void setPrice(double value)
    {
        std::lock_guard lock(mMutex);
        price = value;
    }

private:
    std::mutex mMutex;
    double price = 0;
    double rate = 0.92;
};

using review::settle;

GXCurrencyTableViewController* showPage(DocumentWindowFrame& frame, FourCharCode type)
{
    frame.showMainTab("V2");
    frame.sideBarController().selectNodeWithType(type, 1);
    settle();
    return dynamic_cast<GXCurrencyTableViewController*>(frame.sideBarController().currentController());
}

// The card images side by side, as the card page's first column shows them.
QPixmap cardImages()
{
    const char* kinds[] = {"generic", "amex", "visa", "diners", "master", "delta", "discover", "jcb", "solo", "switch"};
    QPixmap sheet(10 * 72 + 8, 56);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int x = 8;
    for (const char* kind : kinds) {
        painter.drawPixmap(x, 8, makeNamedIcon(kind).pixmap(QSize(64, 40)));
        x += 72;
    }
    return sheet;
}

} // namespace

// Called from main.
int portfolioShots(const QString& output, UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(false));
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    MemoryQuotes quotes;
    DocumentController controller(defaults, dispatcher, &quotes);
    controller.setUntitledJournalFolder(folder.path().toStdString());
    int failures = 0;

    controller.newDocument();
    settle();
    if (controller.windows().empty()) return 1;
    DocumentWindow& window = *controller.windows().front();
    DocumentWindowFrame& frame = *window.frame();
    frame.resize(1280, 860);
    MyDocument& books = window.document();

    // A share: two purchases and a sale, and its rate through the year.
    arguments::CShareArguments share;
    share.actionToPerform = 1;
    share.symbol = "ACME";
    share.description = "Acme Corporation";
    share.conversionQuantity = 1;
    share.conversionFactor = 41.20;
    books.commandExecutor().executeCommand(8, nullptr, share);
    const long bank = book_defaults::ownPropertyAccount(books.accounting());
    const long commission = book_defaults::stockCommissionAccount(books.accounting());
    if (!books.mShareArray().empty() && bank > 0) {
        std::shared_ptr<CCurRItem> acme = books.mShareArray().front();
        acme->buyOrSellShares(41.20, 0, 50, 2060.0, bank, commission, "Purchase", false, 20250114, true);
        acme->buyOrSellShares(44.75, 0, 30, 1342.5, bank, commission, "Purchase", false, 20250512, true);
        acme->buyOrSellShares(47.10, 0, 20, 942.0, bank, commission, "Sale", false, 20250908, false);
        for (const auto& [date, price] : {std::pair{20250301L, 43.05}, {20250601L, 45.60}, {20250901L, 47.10}})
            acme->changeRateToQuantity(1, price, date);
    }
    arguments::CurrencyArguments dollar;
    dollar.actionToPerform = 1;
    dollar.symbol = "USD";
    dollar.description = "US dollar";
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.91;
    dollar.internetSymbol = "USD";
    books.commandExecutor().executeCommand(6, nullptr, dollar);
    settle();

    GXCurrencyTableViewController* page = showPage(frame, fourCC("ShaR"));
    if (!page || books.mShareArray().empty()) return failures + 1;
    page->selectItem(books.mShareArray().front().get());
    settle();
    // Prices fetched a few times, a second apart.
    for (double price : {46.80, 47.35, 46.95}) {
        quotes.setPrice(price);
        page->getPricesFromInternet(1273);
        for (int i = 0; i < 200 && !page->quotationSpinner()->isHidden(); ++i) {
            QThread::msleep(10);
            settle();
        }
        QThread::sleep(1);
    }
    settle();
    failures += !review::save(frame.grab(), output, "portfolio-bar.png");
    page->nextTab();
    settle();
    failures += !review::save(frame.grab(), output, "portfolio-hist.png");
    page->nextTab();
    settle();
    failures += !review::save(frame.grab(), output, "portfolio-real.png");
    QMenu* menu = page->accountActionMenu();
    menu->popup(frame.mapToGlobal(QPoint(900, 300)));
    settle();
    failures += !review::save(menu->grab(), output, "portfolio-menu.png");
    menu->hide();

    GXCurrencyTableViewController* currencies = showPage(frame, fourCC("CurR"));
    if (currencies) {
        for (int row = 0; row < currencies->tableModel()->rowCount(); ++row)
            if (currencies->tableModel()->itemAt(row)->getName() == "USD" ||
                currencies->tableModel()->data(currencies->tableModel()->index(row, 0)).toString() == "USD")
                currencies->table()->selectRow(row);
        currencies->nextTab();
        settle();
        failures += !review::save(frame.grab(), output, "currencies-hist.png");
    }
    failures += !review::save(cardImages(), output, "card-images.png");
    controller.discard(window);
    settle();
    return failures;
}
