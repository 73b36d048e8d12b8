// The pages follow the books after every booking, in the application's
// window and as a person books: the accounts table's balances after a
// transfer through the transaction sheet and after Quick Entry; the
// transactions list and the portfolio after a share purchase on the
// portfolio page; a share's result after its trades; the currencies page's
// lines of a currency whose rate changed; and an account seen earlier after
// one of its bookings moved to another date; and the owners page's
// customers after an owner got customer accounts. What is checked is what the
// tables show: the rows their views know of, and cells drawn again.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <cmath>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "analysis/CGraphPoint.h"
#include "analysis/CPlotSerie.h"
#include "analysis/views/ChartView.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CTrnSItem.h"
#include "business/views/GXOwnerViewController.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CTransactionArray.h"
#include "platform/core/localized_strings.h"
#include "ui/ChartSinkViews.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/QuickEntryPane.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXAccountTableViewController.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/pages/TableActionButton.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CTransactionDetailTableView.h"
#include "ui/sheets/TransactionLinesModel.h"

namespace ch {
namespace {

using namespace ch::test;

// Counts the times a widget is drawn: a table whose cells are not drawn
// again shows the figures it showed before.
class DrawCounter : public QObject {
public:
    explicit DrawCounter(QWidget* watched) : mWatched(watched) { watched->installEventFilter(this); }
    ~DrawCounter() override
    {
        if (mWatched) mWatched->removeEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }

private:
    QPointer<QWidget> mWatched;
};

std::string amountText(double amount)
{
    return CNSNumberAmountTBridge::NSNumberToNSString(amount);
}

// The text a column of an item table shows in the row of the item named so.
std::string cell(ItemTableModel& model, const char* column, const std::string& name)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.itemAt(row) && model.itemAt(row)->getName() == name)
            return model.data(model.index(row, model.columnOf(QString::fromLatin1(column)))).toString().toStdString();
    ADD_FAILURE() << "no row " << name;
    return {};
}

// The rows the view of a table knows of (its model may know of more).
int rowsShown(QTableView* table)
{
    return table->verticalHeader()->count();
}

class PagesFollowBookingsTest : public ApplicationFixture {
protected:
    PagesFollowBookingsTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        booksPath = folder.filePath("Follow.books");
        controller.makeNewDocument(false);
        settle();
        checking = makeAccount(books(), "Checking", 1, nullptr, 4294.60);
        savings = makeAccount(books(), "Savings", 1, nullptr, 10000.00);
        shop = makeAccount(books(), "Corner Shop", 3, nullptr, 0.0);
        arguments::CategoryParameters groceries;
        groceries.name = "Groceries";
        groceries.mParentId = 1;
        groceries.mMasterTypeId = 1;
        groceriesId = books().commandExecutor().executeCommand(15, nullptr, groceries);
        bookTransaction(books(), checking, shop, groceriesId, 8.40, "Bakery", 20250905);
        bookTransaction(books(), checking, shop, groceriesId, 12.50, "Lunch", 20250910);
        settle();
    }

    CPopupWindowAncestor& openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return *sheet;
    }
    // A click on the page's button of that name; the sheet it opened.
    CPopupWindowAncestor& sheetOfButton(GXSideBarControlledViewAncestor& page, const char* button)
    {
        QTest::mouseClick(page.controlledView()->findChild<QPushButton*>(button), Qt::LeftButton);
        settle();
        return openSheet();
    }
    CCreateTransactionPopupController* transactionSheet()
    {
        auto* sheet = dynamic_cast<CCreateTransactionPopupController*>(window().books().lastSheet());
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }
    void finishSheet(QWidget& sheet)
    {
        click(sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    }
    // Picks the entry of that name in a pop-up list, as typing it does.
    static void choosePopup(QWidget* popup, const char* name)
    {
        ASSERT_NE(popup, nullptr);
        typeInto(popup, name);
        QTest::keyClick(popup, Qt::Key_Tab);
    }
    // A click on the row of the item named so in an item table.
    void clickRow(QTableView* table, ItemTableModel& model, const char* column, const std::string& name)
    {
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.itemAt(row) && model.itemAt(row)->getName() == name) {
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                                  table->visualRect(model.index(row, model.columnOf(QString::fromLatin1(column))))
                                      .center());
                settle();
                return;
            }
        ADD_FAILURE() << "no row " << name;
    }
    GXCurrencyTableViewController* sharesPage()
    {
        return showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    }
    // The share ACME, made through the page's "+" and its sheet, and chosen.
    std::shared_ptr<CCurRItem> addAcme(GXCurrencyTableViewController& page)
    {
        CPopupWindowAncestor& sheet = sheetOfButton(page, "addAccountButton");
        typeInto(outlet(sheet, "symbolField"), "ACME");
        typeInto(outlet(sheet, "fullNameField"), "Acme Corporation");
        finishSheet(sheet);
        if (books().mShareArray().empty()) return nullptr;
        clickRow(page.table(), *page.tableModel(), "symbol", books().mShareArray().front()->getName());
        return page.selectedShare();
    }
    // A purchase (or sale) through the page's button and its sheet.
    void trade(GXCurrencyTableViewController& page, bool buy, const char* date, const char* shares,
               const char* price, const char* commission)
    {
        CPopupWindowAncestor& sheet = sheetOfButton(page, buy ? "buyButton" : "sellButton");
        typeInto(outlet(sheet, "mDate"), date);
        typeInto(outlet(sheet, "nrOfShares"), shares);
        typeInto(outlet(sheet, "pricePaid"), price);
        typeInto(outlet(sheet, "commissionPayed"), commission);
        QTest::keyClick(outlet(sheet, "commissionPayed"), Qt::Key_Tab);
        finishSheet(sheet);
    }
    std::size_t transactionsInTheBooks() { return books().accounting()->Get_TransactionArray()->GetCount(); }

    long checking = 0, savings = 0, shop = 0, groceriesId = 0;
};

// The upper table reads each account's balance from the books; after a
// booking its cells must be drawn again, or the person goes on seeing the
// old balances while the pie and the group's figure are new.
TEST_F(PagesFollowBookingsTest, TheAccountsTableShowsTheBalancesAfterATransferAndAQuickEntryBooking)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    ItemTableModel& accounts = *page->upperModel();
    const double before = 4294.60 - 8.40 - 12.50;
    ASSERT_EQ(cell(accounts, "lbal", "Checking"), amountText(before));
    clickRow(page->upperTable(), accounts, "name", "Checking");

    // 500 from the checking account to the savings account.
    DrawCounter drawn(page->upperTable()->viewport());
    emit page->accountActionButton()->actionMenu()->aboutToShow();
    for (QAction* item : page->accountActionButton()->actionMenu()->actions())
        if (item->objectName() == QLatin1String("350")) item->trigger();
    settle();
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    typeInto(outlet(*sheet, "mNameField"), "To savings");
    typeInto(outlet(*sheet, "mAmountField"), "500.00");
    QTest::keyClick(outlet(*sheet, "mAmountField"), Qt::Key_Tab);
    auto* to = outlet<CTransactionDetailTableView>(*sheet, "mToTable");
    ASSERT_NE(to, nullptr);
    const QRect account = to->visualRect(to->linesModel()->index(0, TransactionLinesModel::kAccountColumn));
    QTest::mouseClick(to->viewport(), Qt::LeftButton, {}, account.center() + QPoint(account.width() / 4, 0));
    settle();
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && to->isAncestorOf(editor)) << "the cell is being edited";
    typeInto(editor, "Savings");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    finishSheet(*sheet);
    EXPECT_EQ(books().getAccountForName("Savings")->Get_mLocalBalance(), 10500.00);
    EXPECT_GT(drawn.count, 0) << "the accounts table was not drawn again";
    EXPECT_EQ(cell(accounts, "lbal", "Checking"), amountText(before - 500.00));
    EXPECT_EQ(cell(accounts, "lbal", "Savings"), amountText(10500.00));

    // Quick Entry in the side bar: 12.50 more out of the checking account.
    drawn.count = 0;
    bookInQuickEntry(frame(), "12.09.2025", "Corner Shop", "Checking", "-12.50", "Coffee");
    EXPECT_NEAR(books().getAccountForName("Checking")->Get_mLocalBalance(), before - 512.50, 1e-9);
    EXPECT_GT(drawn.count, 0) << "the accounts table was not drawn again";
    EXPECT_EQ(cell(accounts, "lbal", "Checking"), amountText(before - 512.50));
}

// The chart beside the lines is drawn from the chosen account's lines: a
// booking shows in its bars without the account being chosen again.
TEST_F(PagesFollowBookingsTest, TheChosenAccountsChartFollowsABooking)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    clickRow(page->upperTable(), *page->upperModel(), "name", "Checking");
    ASSERT_EQ(page->chartTabIdentifier(), QStringLiteral("bar"));
    auto paidOut = [&] {
        double total = 0.0;
        if (CPlotSerie* bars = page->barChart()->chart().plotSerie("OUT"))
            for (CGraphPoint* bar : bars->points()) total += bar->getAmount();
        return total;
    };
    ASSERT_NEAR(paidOut(), 8.40 + 12.50, 1e-9);

    bookInQuickEntry(frame(), "12.09.2025", "Corner Shop", "Checking", "-12.50", "Coffee");
    EXPECT_NEAR(paidOut(), 8.40 + 12.50 + 12.50, 1e-9);
}

// A purchase booked on the portfolio page joins the transactions list (all
// its rows shown, the new one chosen) and the portfolio: the shares held and
// the share's booking lines, without the page being entered again.
TEST_F(PagesFollowBookingsTest, ASharePurchaseShowsInTheTransactionsListAndOnThePortfolioPage)
{
    auto* transactions = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(transactions, nullptr);
    QTableView* list = transactions->table(GXTransactionViewController::Tab::Transactions);
    ASSERT_EQ(std::size_t(rowsShown(list)), transactionsInTheBooks());

    auto* page = sharesPage();
    ASSERT_NE(page, nullptr);
    const auto acme = addAcme(*page);
    ASSERT_NE(acme, nullptr);
    ASSERT_EQ(rowsShown(page->transactionTableView()), 0);
    DrawCounter drawn(page->table()->viewport());
    trade(*page, true, "02.06.2025", "100", "50.00", "10.00");
    ASSERT_DOUBLE_EQ(acme->numberOfShares(), 100.0);
    EXPECT_GT(drawn.count, 0) << "the share table was not drawn again";
    EXPECT_EQ(cell(*page->tableModel(), "held", acme->getName()), CNumericTransformer().stringForObjectValue(100.0));
    EXPECT_GE(rowsShown(page->transactionTableView()), 1) << "the purchase is among the share's lines";

    transactions = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(transactions, nullptr);
    EXPECT_EQ(std::size_t(rowsShown(list)), transactionsInTheBooks()) << "every transaction of the books is shown";
    const auto chosen = transactions->selectedTransaction();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->mReferenceObjectId(), acme->getId());
}

// Two lots bought at 50 and 60 while the price stays 50, a dividend of 75
// with 15 tax, 60 shares sold at 70, then the price set to 80. By hand:
// invested 5,000 + 3,000, returned 4,200 + 75, held 90 x 80 = 7,200: the
// result is 3,475, and 3,433 less the costs 10 + 8 + 15 + 9. Bought above
// the price, the second lot first makes a loss of 500.
TEST_F(PagesFollowBookingsTest, AShareShowsTheResultWorkedOutByHand)
{
    environment.clock().set(CalendarDate{2025, 6, 1}, 0);
    const long income = makeAccount(books(), "Acme Corporation", 3, nullptr, 0.0);
    const long taxOffice = makeAccount(books(), "Tax Office", 3, nullptr, 0.0);
    ASSERT_GT(income, 0);
    ASSERT_GT(taxOffice, 0);
    auto* page = sharesPage();
    ASSERT_NE(page, nullptr);
    const auto acme = addAcme(*page);
    ASSERT_NE(acme, nullptr);
    auto result = [&] { return cell(*page->tableModel(), "result", acme->getName()); };
    auto text = [](double amount) { return CNumericTransformer().stringForObjectValue(amount); };

    auto newPrice = [&](const char* price) {
        CPopupWindowAncestor& sheet = sheetOfButton(*page, "rateButton");
        typeInto(outlet(sheet, "amountField"), price);
        finishSheet(sheet);
    };
    newPrice("50.00");
    trade(*page, true, "02.06.2025", "100", "50.00", "10.00");
    trade(*page, true, "03.06.2025", "50", "60.00", "8.00");
    EXPECT_EQ(result(), text(-500.00));

    {
        CPopupWindowAncestor& sheet = sheetOfButton(*page, "dividendButton");
        typeInto(outlet(sheet, "mTransactionDate"), "04.06.2025");
        typeInto(outlet(sheet, "mTotalDividend"), "75.00");
        typeInto(outlet(sheet, "mTaxes"), "15.00");
        choosePopup(outlet(sheet, "mFromAccount"), "Acme Corporation");
        choosePopup(outlet(sheet, "mToAccount"), "Checking");
        choosePopup(outlet(sheet, "mForExpenseType"), localized("incomeExpTName").c_str());
        choosePopup(outlet(sheet, "mTaxesToAccount"), "Tax Office");
        choosePopup(outlet(sheet, "mTaxesForExpenseType"), "Groceries");
        finishSheet(sheet);
    }
    trade(*page, false, "05.06.2025", "60", "70.00", "9.00");
    environment.clock().set(CalendarDate{2025, 6, 6}, 0);
    newPrice("80.00");
    ASSERT_DOUBLE_EQ(acme->numberOfShares(), 90.0);
    EXPECT_EQ(cell(*page->tableModel(), "value", acme->getName()), text(7200.00));
    EXPECT_EQ(result(), text(3475.00));

    // The share's sheet says the same, gross and net.
    CPopupWindowAncestor& sheet = sheetOfButton(*page, "modifyButton");
    EXPECT_EQ(outlet<QLabel>(sheet, "bruttoResultField")->text().toStdString(), amountText(3475.00));
    EXPECT_EQ(outlet<QLabel>(sheet, "nettoResultField")->text().toStdString(), amountText(3433.00));
    click(sheet, "CancelButton");
    settle();
}

// A currency's lines are those of the accounts kept in it: the opening
// balance of a dollar account and the revaluation a new rate books.
TEST_F(PagesFollowBookingsTest, TheCurrenciesPageShowsTheLinesOfTheAccountsInTheCurrency)
{
    auto* page = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    {
        CPopupWindowAncestor& sheet = sheetOfButton(*page, "addAccountButton");
        typeInto(outlet(sheet, "symbolField"), "USD");
        typeInto(outlet(sheet, "fullNameField"), "US dollar");
        typeInto(outlet(sheet, "conversionFactorField"), "0.90");
        finishSheet(sheet);
    }
    CCurrency* dollar = books().getCurrencyForSymbol("USD");
    ASSERT_NE(dollar, nullptr);
    arguments::AccountArguments account(-1, std::string("Dollar Account"), std::string(), 1, dollar->Get_Id(),
                                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, 100.0, 1000.0);
    ASSERT_GT(books().commandExecutor().executeCommand(13, nullptr, account), 0);
    settle();
    const std::string usd = books().dataItemController().currencyItemForCurrency(dollar)->getName();
    clickRow(page->table(), *page->tableModel(), "symbol", usd);
    ASSERT_NE(page->selectedShare(), nullptr);
    EXPECT_EQ(rowsShown(page->transactionTableView()), 1) << "the opening balance";

    {
        CPopupWindowAncestor& sheet = sheetOfButton(*page, "rateButton");
        typeInto(outlet(sheet, "amountField"), "0.95");
        finishSheet(sheet);
    }
    EXPECT_EQ(rowsShown(page->transactionTableView()), 2) << "the opening balance and the revaluation";

    // Entered again after a booking made elsewhere, the page shows it too.
    showPage(localized("OwnProperty"), 2);
    bookInQuickEntry(frame(), "12.09.2025", "Corner Shop", "Dollar Account", "-12.50", "Coffee");
    page = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    clickRow(page->table(), *page->tableModel(), "symbol", usd);
    EXPECT_EQ(rowsShown(page->transactionTableView()), 3);
}

// An account seen earlier, whose booking then moved to another date, shows
// its lines in the new order with the running balances of the books.
TEST_F(PagesFollowBookingsTest, AnAccountSeenEarlierShowsItsLinesAfterABookingsDateMoved)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    ItemTableModel& accounts = *page->upperModel();
    ItemTableModel& lines = *page->lowerModel();
    auto shown = [&] {
        std::vector<std::pair<std::string, double>> rows;
        for (int row = 0; row < lines.rowCount(); ++row) {
            auto line = std::dynamic_pointer_cast<CDebetItem>(lines.itemAt(row));
            rows.emplace_back(line->getName(), line->getLocalBalance().value_or(NAN));
        }
        return rows;
    };
    clickRow(page->upperTable(), accounts, "name", "Checking");
    ASSERT_EQ(lines.rowCount(), 3) << ::testing::PrintToString(shown());
    clickRow(page->upperTable(), accounts, "name", "Savings");

    // The bakery moves from the 5th to the 14th, on the transactions page.
    auto* transactions = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(transactions, nullptr);
    ItemTableModel& all = *transactions->tableModel(GXTransactionViewController::Tab::Transactions);
    QTableView* list = transactions->table(GXTransactionViewController::Tab::Transactions);
    for (int row = 0; row < all.rowCount(); ++row)
        if (all.itemAt(row)->getName() == "Bakery") {
            const QPoint at = list->visualRect(all.index(row, all.columnOf("description"))).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            settle();
        }
    CCreateTransactionPopupController* sheet = transactionSheet();
    ASSERT_NE(sheet, nullptr);
    typeInto(outlet(*sheet, "mDateField"), "14.09.2025");
    QTest::keyClick(outlet(*sheet, "mDateField"), Qt::Key_Tab);
    finishSheet(*sheet);

    page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    clickRow(page->upperTable(), *page->upperModel(), "name", "Checking");
    CAnalysisArrayEncaplusator fresh(books().getAccountForName("Checking"));
    std::vector<std::pair<std::string, double>> expected;
    for (std::uint32_t i = 1; i <= fresh.count(); ++i) {
        auto line = fresh.getObjectAtIndex(int(i));
        expected.emplace_back(line->getName(), line->getLocalBalance().value_or(NAN));
    }
    EXPECT_EQ(shown(), expected) << ::testing::PrintToString(shown()) << "\n" << ::testing::PrintToString(expected);
}

// An owner that gets its customer accounts later joins the customers at
// once, without the page being entered again.
TEST_F(PagesFollowBookingsTest, AnOwnerGivenCustomerAccountsJoinsTheCustomersTab)
{
    using Tab = business::GXOwnerViewController::Tab;
    auto* owners = showPage<business::GXOwnerViewController>(localized("OWNERBUTTON"), 1);
    ASSERT_NE(owners, nullptr);
    owners->selectSubPage(fourCC("AcoW"));
    choose("NEWOBJECTMENUITEM");
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "nameField"), "Brightwater");
        finishSheet(sheet);
    }
    const auto brightwater = books().getAccountOwnerItemForName("Brightwater");
    ASSERT_NE(brightwater, nullptr);
    QTableView* customers = owners->ownerTable(Tab::Customers);
    ASSERT_EQ(rowsShown(customers), 0);

    owners->selectOwner(Tab::Owners, brightwater.get());
    doubleClickSelectedRow(owners->ownerTable(Tab::Owners));
    {
        CPopupWindowAncestor& sheet = openSheet();
        QTest::mouseClick(outlet<QCheckBox>(sheet, "createCustomerAccountsCheck"), Qt::LeftButton);
        finishSheet(sheet);
    }
    ASSERT_EQ(books().customerArray().size(), 1u);
    owners->selectSubPage(fourCC("CusT"));
    settle();
    ASSERT_EQ(rowsShown(customers), 1);
    auto* shown = dynamic_cast<ItemTableModel*>(customers->model());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->itemAt(0), brightwater);
}

} // namespace
} // namespace ch
