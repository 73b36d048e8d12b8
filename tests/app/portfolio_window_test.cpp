// The portfolio and currencies pages in the application's window, with a
// quote service that answers from memory (no network): prices fetched from
// the page's menu show with the spinner turning meanwhile and change no
// books; booking them, and fetched exchange rates, change the books and
// mark the document edited.

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

#include <mutex>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/QuoteService.h"
#include "document/MyDocument.h"
#include "model/CExpenseType.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/pages/CStockTableController.h"
#include "ui/pages/StockPriceGraph.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;

// Prices and rates from memory; called on the fetches' worker threads.
class MemoryQuotes : public QuoteService {
public:
    std::optional<double> getQuote(std::string_view symbol) override
    {
        std::lock_guard lock(mMutex);
        asked.emplace_back(symbol);
        return price;
    }
    std::optional<double> convertForeignQuantity(double quantity, std::string_view symbol,
                                                 std::string_view homeSymbol) override
    {
        std::lock_guard lock(mMutex);
        asked.push_back(std::string(symbol) + ">" + std::string(homeSymbol));
        return quantity * rate;
    }
    std::vector<std::string> askedSoFar()
    {
        std::lock_guard lock(mMutex);
        return asked;
    }

    double price = 0;
    double rate = 0;

private:
    std::mutex mMutex;
    std::vector<std::string> asked;
};

class PortfolioWindowTest : public ApplicationFixture {
protected:
    PortfolioWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        controller.setQuoteService(&quotes);
        booksPath = folder.filePath("portfolio.books");
    }

    // A new share or currency through the page's "+" and its sheet.
    void addThroughSheet(GXCurrencyTableViewController& page, std::vector<std::pair<const char*, const char*>> fields)
    {
        QTest::mouseClick(page.controlledView()->findChild<QPushButton*>("addAccountButton"), Qt::LeftButton);
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        for (const auto& [name, text] : fields) typeInto(outlet(*sheet, name), QString::fromUtf8(text));
        click(*sheet, "OKButton");
        settle();
    }
    // A click on the row of the symbol.
    static void clickRow(GXCurrencyTableViewController& page, const char* symbol)
    {
        ItemTableModel& model = *page.tableModel();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.data(model.index(row, model.columnOf("symbol"))).toString() == QLatin1String(symbol)) {
                const QRect cell = page.table()->visualRect(model.index(row, 0));
                QTest::mouseClick(page.table()->viewport(), Qt::LeftButton, {}, cell.center());
                settle();
                return;
            }
        ADD_FAILURE() << "no row " << symbol;
    }
    // Saved, so that what follows starts from clean books.
    void saveClean()
    {
        ASSERT_TRUE(controller.save(window()));
        settle();
        ASSERT_FALSE(books().isDocumentEdited());
    }

    MemoryQuotes quotes;
};

TEST_F(PortfolioWindowTest, PricesFetchedFromThePageShowWithTheSpinnerAndBookingThemMarksTheBooks)
{
    controller.newDocument();
    settle();
    auto* page = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    addThroughSheet(*page, {{"symbolField", "ACME"}, {"fullNameField", "Acme Corporation"}});
    ASSERT_EQ(page->tableModel()->rowCount(), 1);
    saveClean();
    clickRow(*page, "ACME");
    ASSERT_NE(page->selectedShare(), nullptr);

    // Fetch Prices (1273) from the page's menu.
    quotes.price = 12.5;
    QMenu& menu = *page->accountActionMenu();
    emit menu.aboutToShow();
    QAction* fetch = nullptr;
    for (QAction* item : menu.actions())
        if (item->property("tag").toInt() == 1273) fetch = item;
    ASSERT_TRUE(fetch && fetch->isEnabled());
    fetch->trigger();
    EXPECT_FALSE(page->quotationSpinner()->isHidden()) << "the spinner turns while the web is asked";
    QTRY_VERIFY(page->quotationSpinner()->isHidden());
    EXPECT_EQ(quotes.askedSoFar(), std::vector<std::string>{"ACME"});
    StockPriceTableModel& prices = page->stockTableController()->theStockArrayController();
    ASSERT_EQ(prices.rowCount(), 1);
    EXPECT_EQ(prices.prices().front().theRate, 12.5);
    EXPECT_EQ(page->stockTableController()->theGraph()->prices().size(), 1u);
    // The prices are read in the share's currency, one of the books' currencies.
    QComboBox& currencies = *page->stockTableController()->theBaseCurrencyList();
    EXPECT_EQ(currencies.count(), int(books().mCurrencyArray().size()));
    EXPECT_EQ(currencies.currentText().toStdString(), page->selectedShare()->mBaseShortName());
    EXPECT_FALSE(books().isDocumentEdited()) << "a fetched price is no booking";

    // Book Prices (1274): the fetched price becomes the share's rate.
    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("bookPricesButton"), Qt::LeftButton);
    settle();
    EXPECT_DOUBLE_EQ(page->selectedShare()->currencyRate().value_or(0.0), 12.5);
    EXPECT_TRUE(books().isDocumentEdited());
    EXPECT_TRUE(page->quotationSpinner()->isHidden());
}

TEST_F(PortfolioWindowTest, RatesFetchedFromTheCurrenciesPageAreBookedAndShowInTheRateHistory)
{
    controller.newDocument();
    settle();
    auto* page = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    books().getHomeCurrency()->setInternetSymbol("EUR");
    addThroughSheet(*page, {{"symbolField", "USD"},
                            {"fullNameField", "US dollar"},
                            {"conversionFactorField", "0.90"},
                            {"internetSymbol", "USD"}});
    saveClean();
    clickRow(*page, "USD");
    const std::shared_ptr<CCurRItem> dollar = page->selectedShare();
    ASSERT_NE(dollar, nullptr);

    quotes.rate = 0.95;
    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("fetchPricesButton"), Qt::LeftButton);
    QTRY_VERIFY(page->quotationSpinner()->isHidden());
    settle();
    EXPECT_EQ(quotes.askedSoFar(), std::vector<std::string>{"USD>EUR"});
    EXPECT_DOUBLE_EQ(dollar->mConversionFactor().value_or(0.0), 0.95);
    EXPECT_TRUE(books().isDocumentEdited());
    // The rate history shows the new rate first.
    QAbstractItemModel& rates = *page->rateHistoryTableView()->model();
    ASSERT_GE(rates.rowCount(), 1);
    EXPECT_EQ(rates.data(rates.index(0, 2)).toString().toStdString(), CNumericTransformer().stringForObjectValue(0.95));
}

// The account a share is held in is made with the share, so the sheet shows
// it without offering a choice; its dividends are proposed as income.
TEST_F(PortfolioWindowTest, ANewShareIsHeldInItsOwnAccountAndItsDividendIsIncome)
{
    controller.newDocument();
    settle();
    auto* page = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("addAccountButton"), Qt::LeftButton);
    settle();
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_FALSE(outlet(*sheet, "portfolioAccountPopup")->isEnabled());
    typeInto(outlet(*sheet, "symbolField"), "ACME");
    typeInto(outlet(*sheet, "fullNameField"), "Acme Corporation");
    click(*sheet, "OKButton");
    settle();
    clickRow(*page, "ACME");
    const std::shared_ptr<CCurRItem> acme = page->selectedShare();
    ASSERT_NE(acme, nullptr);
    ASSERT_NE(acme->portfolioAccount(), nullptr);
    EXPECT_NE(acme->portfolioAccount()->getName().find("ACME"), std::string::npos);

    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("dividendButton"), Qt::LeftButton);
    settle();
    sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    EXPECT_EQ(outlet<QComboBox>(*sheet, "mFromAccount")->currentText().toStdString(), localized("profitAnctName"));
    EXPECT_EQ(outlet<QComboBox>(*sheet, "mForExpenseType")->currentText().toStdString(), localized("incomeExpTName"));
    typeInto(outlet(*sheet, "mTotalDividend"), "75");
    click(*sheet, "OKButton");
    settle();
    EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_DOUBLE_EQ(books().getExpenseTypeForName(localized("incomeExpTName"))->Get_Amount(), 75.0);
}

} // namespace
} // namespace ch
