// The portfolio and currencies pages in the application's window, with a
// quote service that answers from memory (no network): prices fetched from
// the page's menu show with the spinner turning meanwhile and change no
// books; booking them, and fetched exchange rates, change the books and
// mark the document edited.

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QProgressBar>

#include <mutex>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/QuoteService.h"
#include "document/MyDocument.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/ValueTransformers.h"
#include "ui/pages/AccountCategoryPage.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/pages/CStockTableController.h"
#include "ui/pages/StockPriceGraph.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/BookLists.h"
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
    // New books, their shares page shown and the share ACME added through it;
    // null when the page does not show.
    GXCurrencyTableViewController* newBooksWithAcme()
    {
        controller.newDocument();
        settle();
        auto* page = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
        if (page) addThroughSheet(*page, {{"symbolField", "ACME"}, {"fullNameField", "Acme Corporation"}});
        return page;
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
    auto* page = newBooksWithAcme();
    ASSERT_NE(page, nullptr);
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

    // The transactions list says where the dividend came from: the main line
    // of its from side, not the shares' line of no amount.
    auto* transactions = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(transactions, nullptr);
    ItemTableModel& rows = *transactions->tableModel(GXTransactionViewController::Tab::Transactions);
    int dividend = -1;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.itemAt(row)->getName().find("ACME") != std::string::npos) dividend = row;
    ASSERT_GE(dividend, 0);
    const QString from = rows.data(rows.index(dividend, rows.columnOf("from"))).toString();
    EXPECT_TRUE(from.startsWith(QString::fromStdString(localized("profitAnctName")))) << from.toStdString();
}

// A sale of more shares than are held is refused with the holding on the
// sale's date; the sheet stays open and nothing is booked. A sale within the
// holding is booked.
TEST_F(PortfolioWindowTest, ASaleOfMoreSharesThanAreHeldIsRefusedWithTheHolding)
{
    auto* page = newBooksWithAcme();
    ASSERT_NE(page, nullptr);
    clickRow(*page, "ACME");
    const std::shared_ptr<CCurRItem> acme = page->selectedShare();
    ASSERT_NE(acme, nullptr);
    auto deal = [&](const char* button, const char* shares, const char* date) {
        QTest::mouseClick(page->controlledView()->findChild<QPushButton*>(button), Qt::LeftButton);
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        if (!sheet) return sheet;
        typeInto(outlet(*sheet, "mDate"), QString::fromLatin1(date));
        typeInto(outlet(*sheet, "nrOfShares"), QString::fromLatin1(shares));
        typeInto(outlet(*sheet, "pricePaid"), "50");
        click(*sheet, "OKButton");
        settle();
        return sheet;
    };
    deal("buyButton", "150", "02.03.2025");
    ASSERT_DOUBLE_EQ(acme->numberOfShares(), 150.0) << ::testing::PrintToString(environment.alerts().numbers());
    const std::size_t transactions = books().mTransactionArray().size();
    const double cash = books().getAccountForId(book_defaults::ownPropertyAccount(books().accounting()))->Get_mBalance();
    environment.alerts().clear();

    CPopupWindowAncestor* sheet = deal("sellButton", "1000", "10.03.2025");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{360});
    ASSERT_FALSE(environment.alerts().records().empty());
    EXPECT_NE(environment.alerts().records().back().alert.message.find("150"), std::string::npos);
    EXPECT_TRUE(sheet->isVisible()) << "the sheet stays open to take a smaller number";
    EXPECT_EQ(books().mTransactionArray().size(), transactions);
    EXPECT_DOUBLE_EQ(acme->numberOfShares(), 150.0);
    EXPECT_DOUBLE_EQ(
        books().getAccountForId(book_defaults::ownPropertyAccount(books().accounting()))->Get_mBalance(), cash);
    // Before the purchase none are held.
    environment.alerts().clear();
    typeInto(outlet(*sheet, "mDate"), "01.03.2025");
    typeInto(outlet(*sheet, "nrOfShares"), "10");
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{360});
    EXPECT_TRUE(sheet->isVisible());

    environment.alerts().clear();
    typeInto(outlet(*sheet, "mDate"), "10.03.2025");
    typeInto(outlet(*sheet, "nrOfShares"), "150");
    click(*sheet, "OKButton");
    settle();
    EXPECT_TRUE(environment.alerts().numbers().empty()) << ::testing::PrintToString(environment.alerts().numbers());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_DOUBLE_EQ(acme->numberOfShares(), 0.0);
}

// The price the sheet proposes for a new share is no price of its: a first
// purchase dated before the share was added, with its price ticked as the
// share's, sets the price, and the page's price, value and result then agree
// with each other and with the account that holds the shares; so after a sale.
TEST_F(PortfolioWindowTest, ASharesPriceValueAndResultAgreeWithItsHoldingAfterAnEarlierTickedPurchase)
{
    auto* page = newBooksWithAcme();
    ASSERT_NE(page, nullptr);
    clickRow(*page, "ACME");
    const std::shared_ptr<CCurRItem> acme = page->selectedShare();
    ASSERT_NE(acme, nullptr);
    const QString monthAgo = QDate::currentDate().addMonths(-1).toString(QStringLiteral("dd.MM.yyyy"));
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    auto deal = [&](const char* button, const QString& date, const char* shares, const char* price,
                    const char* commission, bool tick) {
        QTest::mouseClick(page->controlledView()->findChild<QPushButton*>(button), Qt::LeftButton);
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        typeInto(outlet(*sheet, "mDate"), date);
        typeInto(outlet(*sheet, "nrOfShares"), QString::fromLatin1(shares));
        typeInto(outlet(*sheet, "pricePaid"), QString::fromLatin1(price));
        typeInto(outlet(*sheet, "commissionPayed"), QString::fromLatin1(commission));
        auto* ticked = outlet<QCheckBox>(*sheet, "changeRate");
        if (ticked->isChecked() != tick) QTest::mouseClick(ticked, Qt::LeftButton, {}, QPoint(4, ticked->height() / 2));
        ASSERT_EQ(ticked->isChecked(), tick);
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    };
    auto shown = [&](const char* column) {
        ItemTableModel& model = *page->tableModel();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.data(model.index(row, model.columnOf("symbol"))).toString() == QLatin1String("ACME"))
                return model.data(model.index(row, model.columnOf(column))).toString();
        ADD_FAILURE() << "no row ACME";
        return QString();
    };
    auto amountText = [](double value) { return QString::fromStdString(CNumericTransformer().stringForObjectValue(value)); };
    auto holding = [&] { return acme->portfolioAccount()->getLocalBalance().value_or(0.0); };

    deal("buyButton", monthAgo, "100", "50", "10", true);
    ASSERT_DOUBLE_EQ(acme->numberOfShares(), 100.0);
    EXPECT_DOUBLE_EQ(holding(), 5000.0);
    EXPECT_TRUE(shown("rate").contains(amountText(50.0))) << shown("rate").toStdString();
    EXPECT_EQ(shown("value"), amountText(5000.0));
    EXPECT_EQ(shown("result"), amountText(0.0));

    deal("sellButton", today, "60", "70", "0", false);
    ASSERT_DOUBLE_EQ(acme->numberOfShares(), 40.0);
    EXPECT_DOUBLE_EQ(holding(), 2000.0);
    EXPECT_TRUE(shown("rate").contains(amountText(50.0))) << shown("rate").toStdString();
    EXPECT_EQ(shown("value"), amountText(2000.0));
    EXPECT_EQ(shown("result"), amountText(1200.0));
}

// Delete in the page's menu and in the Edit menu names the share it deletes.
TEST_F(PortfolioWindowTest, DeleteNamesTheShareItDeletes)
{
    auto* page = newBooksWithAcme();
    ASSERT_NE(page, nullptr);
    addThroughSheet(*page, {{"symbolField", "BOLT"}, {"fullNameField", "Bolt Industries"}});
    clickRow(*page, "BOLT");
    const std::string name = page->selectedShare()->getName();
    const QString title = QString::fromStdString(localized("Delete") + name + "'");
    QMenu& menu = *page->accountActionMenu();
    emit menu.aboutToShow();
    QAction* pageDelete = nullptr;
    for (QAction* item : menu.actions())
        if (item->property("tag").toInt() == 1104) pageDelete = item;
    ASSERT_NE(pageDelete, nullptr);
    EXPECT_EQ(pageDelete->text(), title);
    for (QMenu* edit : frame().menuBar()->findChildren<QMenu*>()) emit edit->aboutToShow();
    bool inEditMenu = false;
    for (QMenu* edit : frame().menuBar()->findChildren<QMenu*>())
        for (QAction* action : edit->actions()) inEditMenu = inEditMenu || (action->text() == title && action->isEnabled());
    EXPECT_TRUE(inEditMenu);
}

// Books with many foreign currencies of long names, saved and opened again:
// deleting one from the currencies page takes it out and leaves the others.
TEST_F(PortfolioWindowTest, ACurrencyOfManyWithLongNamesIsDeletedFromTheCurrenciesPageOfReopenedBooks)
{
    controller.newDocument();
    settle();
    std::vector<std::string> symbols;
    for (int i = 0; i < 18; ++i) {
        arguments::CurrencyArguments currency;
        currency.symbol = std::string("C") + char('A' + i) + "X";
        currency.description = "Currency of a far country " + std::to_string(i);
        currency.conversionQuantity = 1;
        currency.conversionFactor = 0.5 + i;
        ASSERT_GT(books().commandExecutor().executeCommand(6, nullptr, currency), 0);
        symbols.push_back(*currency.symbol);
    }
    ASSERT_TRUE(controller.saveAs(window()));
    controller.close(window());
    settle();
    ASSERT_TRUE(controller.openDocumentFile(booksPath.toStdString()));
    settle();

    auto* page = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(books().mCurrencyArray().size(), 19u);
    clickRow(*page, "CJX");
    ASSERT_NE(page->selectedShare(), nullptr);
    ASSERT_GT(page->selectedShare()->getName().size(), 15u);
    QMenu& menu = *page->accountActionMenu();
    emit menu.aboutToShow();
    QAction* pageDelete = nullptr;
    for (QAction* item : menu.actions())
        if (item->property("tag").toInt() == 1104) pageDelete = item;
    ASSERT_TRUE(pageDelete && pageDelete->isEnabled());
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // delete it
    pageDelete->trigger();
    settle();

    EXPECT_EQ(books().mCurrencyArray().size(), 18u);
    EXPECT_EQ(page->tableModel()->rowCount(), 18);
    for (const std::string& symbol : symbols) {
        CCurrency* found = nullptr;
        ArrayIndexT position = 0;
        const bool held =
            books().accounting()->mCurrencyList->GetCurrencyForSymbol(std::string_view(symbol), found, position) > 0;
        EXPECT_EQ(held, symbol != "CJX") << symbol;
    }
    EXPECT_TRUE(books().isDocumentEdited());
}

// A line is in several lists (its account's, its account type's, its
// currency's, its share's), each with running balances of its own: the
// Own Property list runs over all its accounts, the currencies page's list
// of dollar lines runs in dollars, whichever list was seen before.
TEST_F(PortfolioWindowTest, EachListShowsItsOwnRunningBalances)
{
    controller.newDocument();
    settle();
    MyDocument& b = books();
    arguments::CurrencyArguments dollar;
    dollar.symbol = "USD";
    dollar.description = "US Dollar";
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.8;
    ASSERT_GT(b.commandExecutor().executeCommand(6, nullptr, dollar), 0);
    std::shared_ptr<CCurRItem> usd;
    for (const auto& currency : b.mCurrencyArray())
        if (currency->mShortName() == "USD") usd = currency;
    ASSERT_NE(usd, nullptr);
    const arguments::AccountArguments account(-1, std::string("Dollars"), std::string(), 1, *usd->getId(), std::nullopt,
                                           std::nullopt, std::nullopt, std::nullopt, 100.0, std::nullopt);
    const long dollars = b.commandExecutor().executeCommand(13, nullptr, account);
    ASSERT_GT(dollars, 0);
    const long cash = 4;
    bookTransaction(b, cash, dollars, 3, 80.0, "To dollars", 20250901);     // 100.00 dollars
    bookTransaction(b, cash, dollars, 3, 40.0, "More dollars", 20250902);   // 50.00 dollars
    bookTransaction(b, 2, cash, 2, 1000.0, "Salary", 20250903);

    auto* shares = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    ASSERT_NE(shares, nullptr);
    addThroughSheet(*shares, {{"symbolField", "ACME"}, {"fullNameField", "Acme Corporation"}});
    ASSERT_EQ(b.mShareArray().size(), 1u);
    arguments::BuySellSharesParameters buy;
    buy.price = 10.0;
    buy.commission = 0.0;
    buy.quantity = 5.0;
    buy.totalValue = 50.0;
    buy.fromAccountId = cash;
    buy.updateRateInd = true;
    buy.transactionDate = 20250910;
    buy.isBuyInd = true;
    b.commandExecutor().executeCommand(20, b.mShareArray().front(), buy);
    settle();
    const std::shared_ptr<CAcnTItem> portfolio = b.mShareArray().front()->portfolioAccount();
    ASSERT_NE(portfolio, nullptr);

    // The balance column's text in the row of the line on the account.
    auto balanceShown = [](QTableView& table, const CNonVisualDataItem& account, const std::string& name) {
        auto& model = dynamic_cast<ItemTableModel&>(*table.model());
        for (int row = 0; row < model.rowCount(); ++row) {
            const auto line = std::dynamic_pointer_cast<CDebetItem>(model.itemAt(row));
            if (line && line->accountObject() == account.getSourceItem() && line->getName() == name)
                return model.data(model.index(row, model.columnOf("balance"))).toString();
        }
        ADD_FAILURE() << "no line " << name;
        return QString();
    };
    const std::string bought = b.mTransactionArray().front()->getName();

    auto* property = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(balanceShown(*property->lowerTable(), *portfolio, bought), amountTTransformer(1000.0));
    // The share's list, then Own Property again.
    shares = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    clickRow(*shares, "ACME");
    EXPECT_EQ(balanceShown(*shares->transactionTableView(), *portfolio, bought), amountTTransformer(50.0));
    property = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    EXPECT_EQ(balanceShown(*property->lowerTable(), *portfolio, bought), amountTTransformer(1000.0));

    // The dollar lines run in dollars, and say so.
    auto* currencies = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(currencies, nullptr);
    clickRow(*currencies, "USD");
    const auto held = b.getAccountItemForId(dollars);
    EXPECT_EQ(balanceShown(*currencies->transactionTableView(), *held, "To dollars"),
              amountTTransformer(100.0) + QStringLiteral(" USD"));
    EXPECT_EQ(balanceShown(*currencies->transactionTableView(), *held, "More dollars"),
              amountTTransformer(150.0) + QStringLiteral(" USD"));
}

} // namespace
} // namespace ch
