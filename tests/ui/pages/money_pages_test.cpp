// The portfolio and currencies pages in an open window: they list exactly
// the model's shares (currencies) with their figures, hand the selected one
// to the document's sheets and follow the document's notifications; below,
// the selected one's booking lines, rates and fetched prices in tabs the
// arrows step through; every table has the table base's corner menu.

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <map>

#include "bridge/CCurRItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "document/DocumentNotifications.h"
#include "model/CCurrency.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/notification_center.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/ChartSinkViews.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/CStockTableController.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

class MoneyPagesTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    OpenDocument open;
    CCurrency* acme = nullptr;

    void SetUp() override
    {
        acme = open.books.addCurrency(60, "ACME", 1, 12.5, currency_type::kShare);
        open.books.addAccount(70, 1, "ACME shares")->Put_mCurrency(60);
        acme->Put_mPortfolioAccountId(70);
        // 125.00 paid into the portfolio account buys 10 shares at 12.50.
        open.books.addTransaction(20250110, 4, 70, 1, 125.0);
        open.books.addCurrency(61, "WIDG", 1, 3.0, currency_type::kShare);
        open.open();
    }
    GXCurrencyTableViewController* show(const char* title)
    {
        open.select(localized(title), 1);
        processEvents();
        auto* page = dynamic_cast<GXCurrencyTableViewController*>(open.sideBar().currentController());
        EXPECT_NE(page, nullptr) << title;
        return page;
    }
    static std::vector<CNonVisual*> modelList(const CDocAccounting& books, CCurrencyArray::SubListIndex kind)
    {
        std::vector<CNonVisual*> objects;
        const CNamedListArray* list = books.mCurrencyList->Get_SubList(kind);
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) objects.push_back(list->ObjectAt(i));
        std::sort(objects.begin(), objects.end());
        return objects;
    }
    static std::vector<CNonVisual*> shown(GXCurrencyTableViewController& page)
    {
        std::vector<CNonVisual*> objects;
        for (int row = 0; row < page.tableModel()->rowCount(); ++row)
            objects.push_back(page.tableModel()->itemAt(row)->getSourceItem());
        std::sort(objects.begin(), objects.end());
        return objects;
    }
    std::shared_ptr<CCurRItem> item(CNonVisual* currency)
    {
        return open.books.dataItemController().currencyItemForCurrency(currency);
    }
    // A click on the row of the share, as a user selects it.
    static void clickRow(GXCurrencyTableViewController& page, const CNonVisualDataItem* share)
    {
        const std::optional<std::size_t> row = page.controller().arrangedRowOf(share);
        ASSERT_TRUE(row.has_value());
        const QModelIndex index = page.tableModel()->index(int(*row), 0);
        page.table()->scrollTo(index);
        QTest::mouseClick(page.table()->viewport(), Qt::LeftButton, {}, page.table()->visualRect(index).center());
        processEvents();
    }
    static QAction* menuItem(QMenu& menu, int tag)
    {
        emit menu.aboutToShow();
        for (QAction* action : menu.actions())
            if (action->property("tag").toInt() == tag) return action;
        ADD_FAILURE() << "no item " << tag;
        return nullptr;
    }
    static QString cell(GXCurrencyTableViewController& page, int row, const char* column)
    {
        ItemTableModel& model = *page.tableModel();
        return model.data(model.index(row, model.columnOf(QString::fromLatin1(column)))).toString();
    }
};

TEST_F(MoneyPagesTest, EachPageListsExactlyTheModelsSharesOrCurrencies)
{
    struct Case {
        const char* title;
        CCurrencyArray::SubListIndex kind;
        bool portfolio;
    };
    for (const Case& c : {Case{"SHAREBUTTON", CCurrencyArray::kShares, true},
                          Case{"CURRENCYBUTTON", CCurrencyArray::kCurrencies, false}}) {
        GXCurrencyTableViewController* page = show(c.title);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->isPortfolio(), c.portfolio);
        EXPECT_EQ(shown(*page), modelList(open.books.root(), c.kind)) << c.title;
        EXPECT_FALSE(shown(*page).empty());
    }
}

TEST_F(MoneyPagesTest, TheSharesShowTheirHoldingAndItsValue)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    auto item = open.books.dataItemController().currencyItemForCurrency(acme);
    page->selectItem(item.get());
    const int row = page->table()->selectionModel()->selectedRows().first().row();
    const double held = item->numberOfShares();
    EXPECT_DOUBLE_EQ(held, 10.0);
    EXPECT_EQ(cell(*page, row, "symbol"), "ACME");
    EXPECT_EQ(cell(*page, row, "held").toStdString(), CNumericTransformer().stringForObjectValue(10.0));
    EXPECT_EQ(cell(*page, row, "value").toStdString(), CNumericTransformer().stringForObjectValue(125.0));
}

TEST_F(MoneyPagesTest, TheButtonsHandTheSelectedShareToTheDocumentsSheets)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    auto item = open.books.dataItemController().currencyItemForCurrency(acme);
    page->selectItem(item.get());
    open.document.calls.clear();
    for (const char* button : {"buyButton", "sellButton", "dividendButton", "rateButton", "modifyButton"})
        QTest::mouseClick(page->controlledView()->findChild<QPushButton*>(button), Qt::LeftButton);
    EXPECT_EQ(open.document.operations(), (std::vector<std::string>{"buyShare", "sellShare", "registerDividend",
                                                                   "changeCurrencyRate", "modifyCurrency"}));
    for (const auto& call : open.document.calls) EXPECT_EQ(call.item, item) << call.operation;
}

TEST_F(MoneyPagesTest, DeletingAShareLeavesThePortfolioWithoutSelection)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    page->selectItem(open.books.dataItemController().currencyItemForCurrency(acme).get());
    ASSERT_NE(page->selectedShare(), nullptr);
    // What deleting a share announces is the deletion of a currency.
    ASSERT_TRUE(open.books.deleteAndAnnounce(open.books.root().mCurrencyList->GetValueForId(61),
                                             *open.books.root().mCurrencyList, GXCCurrencyDeletedNotification));
    processEvents();
    EXPECT_EQ(page->mSelectedItem(), nullptr);
    EXPECT_EQ(shown(*page), modelList(open.books.root(), CCurrencyArray::kShares));
    open.document.calls.clear();
    QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("buyButton"), Qt::LeftButton);
    EXPECT_TRUE(open.document.calls.empty());
}

TEST_F(MoneyPagesTest, ModifyWithoutASelectedShareSaysWhyNoSheetOpens)
{
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scope(alerts);
    CErrorManager::SetMode(false);
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    page->table()->clearSelection();
    processEvents();
    open.document.calls.clear();
    page->modifyObject();
    EXPECT_TRUE(open.document.calls.empty());
    EXPECT_EQ(alerts.numbers(), std::vector<long>{250});

    // With one share chosen the sheet opens and nothing is said.
    alerts.clear();
    page->selectItem(open.books.dataItemController().currencyItemForCurrency(acme).get());
    page->modifyObject();
    EXPECT_EQ(open.document.operations(), std::vector<std::string>{"modifyCurrency"});
    EXPECT_TRUE(alerts.numbers().empty());
}

TEST_F(MoneyPagesTest, TheArrowsStepThroughTheChartTabsBothWaysAndTheLabelNamesTheTab)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    QWidget& view = *page->controlledView();
    auto* right = view.findChild<QToolButton*>("arrowRightButton");
    auto* left = view.findChild<QToolButton*>("arrowLeftButton");
    ASSERT_TRUE(right && left);
    struct Step {
        QToolButton* arrow;
        const char* tab;
        const char* label;
    };
    EXPECT_EQ(page->chartTabIdentifier(), "bar");
    EXPECT_EQ(page->explainingLabel()->text().toStdString(), localized("BAR"));
    for (const Step& step : {Step{right, "hist", "HIST"}, Step{right, "real", "REAL"}, Step{right, "bar", "BAR"},
                             Step{left, "real", "REAL"}, Step{left, "hist", "HIST"}, Step{left, "bar", "BAR"}}) {
        QTest::mouseClick(step.arrow, Qt::LeftButton);
        EXPECT_EQ(page->chartTabIdentifier(), step.tab);
        EXPECT_EQ(page->explainingLabel()->text().toStdString(), localized(step.label)) << step.tab;
        EXPECT_EQ(page->chartTab()->currentWidget()->objectName(), step.tab);
    }
}

TEST_F(MoneyPagesTest, AClickedShareShowsItsBookingLinesWithBalancesItsRatesAndItsChart)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    clickRow(*page, item(acme).get());
    ASSERT_EQ(page->selectedShare(), item(acme));
    ItemTableModel& lines = *static_cast<ItemTableModel*>(page->transactionTableView()->model());
    ASSERT_EQ(lines.rowCount(), 1);
    EXPECT_EQ(lines.data(lines.index(0, lines.columnOf("balance"))).toString().toStdString(),
              CNumericTransformer().stringForObjectValue(125.0));
    EXPECT_EQ(page->barChart()->lineCount(), 1u);
    EXPECT_EQ(page->rateHistoryTableView()->model()->rowCount(), int(item(acme)->mHistoryList().size()));

    // A share without a portfolio account has no lines; no selection leaves
    // the chart as it was.
    clickRow(*page, item(open.books.root().mCurrencyList->GetValueForId(61)).get());
    EXPECT_EQ(lines.rowCount(), 0);
    EXPECT_EQ(page->barChart()->lineCount(), 0u);
    clickRow(*page, item(acme).get());
    page->table()->clearSelection();
    processEvents();
    EXPECT_EQ(page->barChart()->lineCount(), 1u);
    EXPECT_EQ(lines.rowCount(), 0);
}

TEST_F(MoneyPagesTest, ASharesResultShowsAsPercentagesAndEachDealWithTheSharesItBought)
{
    // Ten shares bought for 125.00, now worth 15.00 each.
    acme->Validate();
    item(acme)->changeRateToQuantity(1, 15.0, 0);
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    clickRow(*page, item(acme).get());
    const int row = page->table()->selectionModel()->selectedRows().first().row();
    const auto shown = [](double value) { return QString::fromStdString(CNumericTransformer().stringForObjectValue(value)); };
    EXPECT_EQ(cell(*page, row, "result"), shown(25.0));
    EXPECT_EQ(cell(*page, row, "resultPercentage"), shown(20.0) + " %");
    EXPECT_EQ(cell(*page, row, "netResultPercentage"), shown(20.0) + " %");

    // Below, each deal says how many shares it bought or sold; the
    // revaluation of the rate change moved none.
    item(acme)->buyOrSellShares(15.0, 0.0, 4.0, 60.0, 4, 4, "four more", false, 20250301, true);
    item(acme)->buyOrSellShares(15.0, 0.0, 2.0, 30.0, 4, 4, "two sold", false, 20250302, false);
    open.books.notificationCenter().post(GXCSharePriceModifiedNotification);
    processEvents();
    ItemTableModel& lines = *static_cast<ItemTableModel*>(page->transactionTableView()->model());
    std::map<QString, QString> quantities;
    for (int line = 0; line < lines.rowCount(); ++line)
        quantities[lines.data(lines.index(line, lines.columnOf("description"))).toString()] =
            lines.data(lines.index(line, lines.columnOf("quantity"))).toString();
    EXPECT_EQ(quantities["four more"], "4");
    EXPECT_EQ(quantities["two sold"], "-2");
    EXPECT_EQ(std::count_if(quantities.begin(), quantities.end(), [](const auto& q) { return q.second.isEmpty(); }), 1)
        << "the revaluation";
}

// With a dollar whose exchange differences go to an account of their own.
class MoneyPagesWithDollarTest : public MoneyPagesTest {
protected:
    void SetUp() override
    {
        open.books.addAccount(71, 3, "Exchange results");
        open.books.addCurrency(50, "USD", 1, 0.9)->Put_mDiffAccount(71);
        MoneyPagesTest::SetUp();
    }
};

TEST_F(MoneyPagesWithDollarTest, EachCurrencyNamesTheAccountItsExchangeDifferencesGoTo)
{
    GXCurrencyTableViewController* page = show("CURRENCYBUTTON");
    ASSERT_NE(page, nullptr);
    std::map<QString, QString> differences;
    for (int row = 0; row < page->tableModel()->rowCount(); ++row)
        differences[cell(*page, row, "symbol")] = cell(*page, row, "fluctuationsAccount");
    EXPECT_EQ(differences["USD"], "Exchange results");
    EXPECT_EQ(differences["EUR"], "-") << "the home currency has none";
}

TEST_F(MoneyPagesTest, APriceChangeRefreshesTheLinesOfTheSelectedShareOnly)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    clickRow(*page, item(acme).get());
    const QAbstractItemModel& lines = *page->transactionTableView()->model();
    ASSERT_EQ(lines.rowCount(), 1);
    // A second purchase the page has not been told of yet.
    open.books.addTransaction(20250210, 4, 70, 1, 25.0);
    NotificationCenter& centre = open.books.notificationCenter();
    struct Case {
        const char* name;
        std::shared_ptr<CCurRItem> object;
        int rows;
    };
    const auto other = item(open.books.root().mCurrencyList->GetValueForId(61));
    for (const Case& c : {Case{GXCSharePriceModifiedNotification, other, 1},
                          Case{GXCRealTimeSharePriceModifiedNotification, other, 1},
                          Case{GXCRealTimeSharePriceModifiedNotification, item(acme), 2}}) {
        centre.post(c.name, std::shared_ptr<Observable>(c.object));
        processEvents();
        EXPECT_EQ(lines.rowCount(), c.rows) << c.name;
    }
    open.books.addTransaction(20250211, 4, 70, 1, 25.0);
    centre.post(GXCSharePriceModifiedNotification);
    processEvents();
    EXPECT_EQ(lines.rowCount(), 3) << "no object: the selected share is shown again";
    EXPECT_EQ(page->selectedShare(), item(acme));
}

TEST_F(MoneyPagesTest, ToolbarAndPageMenuActOnTheClickedShare)
{
    GXCurrencyTableViewController* page = show("SHAREBUTTON");
    ASSERT_NE(page, nullptr);
    QMenu& menu = *page->accountActionMenu();
    // Nothing selected: the share's commands are off, the web's are on.
    page->table()->clearSelection();
    processEvents();
    EXPECT_FALSE(menuItem(menu, 1270)->isEnabled());
    EXPECT_TRUE(menuItem(menu, 1273)->isEnabled());
    EXPECT_TRUE(menuItem(menu, 1274)->isEnabled());
    page->table()->setFocus();
    processEvents();
    EXPECT_FALSE(page->validateToolbarItem(CommandSender::toolbarItem("deleteObject", 1104)));

    clickRow(*page, item(acme).get());
    open.window->validateToolbar();
    QAction* remove = open.toolbarItem("deleteObject");
    QAction* edit = open.toolbarItem("modifyObject");
    ASSERT_TRUE(remove && edit);
    EXPECT_TRUE(remove->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_FALSE(open.toolbarItem("flagObject")->isEnabled());
    open.document.calls.clear();
    remove->trigger();
    edit->trigger();
    menuItem(menu, 1270)->trigger();
    menuItem(menu, 1272)->trigger();
    processEvents();
    EXPECT_EQ(open.document.operations(),
              (std::vector<std::string>{"deleteObject", "modifyCurrency", "buyShare", "registerDividend"}));
    for (const auto& call : open.document.calls) EXPECT_EQ(call.item, item(acme)) << call.operation;

    // A clicked booking line: "New" is not for a new share then.
    EXPECT_TRUE(page->validateMenuItem(1100).enabled);
    QTableView& lines = *page->transactionTableView();
    QTest::mouseClick(lines.viewport(), Qt::LeftButton, {}, lines.visualRect(lines.model()->index(0, 1)).center());
    processEvents();
    ASSERT_TRUE(lines.hasFocus());
    EXPECT_FALSE(page->validateMenuItem(1100).enabled);
}

TEST_F(MoneyPagesTest, EveryTableOfBothPagesHasTheCornerMenuAndKeepsItsColumns)
{
    for (const char* title : {"SHAREBUTTON", "CURRENCYBUTTON"}) {
        GXCurrencyTableViewController* page = show(title);
        ASSERT_NE(page, nullptr);
        const QList<GXTableAncestor*> tables = page->controlledView()->findChildren<GXTableAncestor*>();
        ASSERT_EQ(tables.size(), 4) << "shares or currencies, lines, rates, web prices";
        for (GXTableAncestor* table : tables) {
            const std::string name = table->autosaveName();
            ASSERT_FALSE(name.empty()) << table->objectName().toStdString();
            ASSERT_TRUE(table->cornerButton() && table->tableMenu()) << name;
            const QList<QAction*> items = table->tableMenu()->actions();
            ASSERT_GT(items.size(), 3) << name;
            EXPECT_EQ(items[0]->text(), "Print");
            EXPECT_EQ(items[1]->text(), "Export");
            // The last column's item hides it, and the choice is kept.
            QAction* last = items.back();
            const QString heading = last->text();
            ASSERT_TRUE(table->isColumnShown(heading)) << name;
            last->trigger();
            EXPECT_FALSE(table->isColumnShown(heading)) << name;
            const Value stored = environment.defaults().object("GXCTableColumns");
            const Value* entry = stored.asDictionary() ? stored.asDictionary()->find(name) : nullptr;
            ASSERT_TRUE(entry && entry->asDictionary()) << name;
            const Value* visible = entry->asDictionary()->find(heading.toStdString());
            ASSERT_TRUE(visible && visible->asBool()) << name;
            EXPECT_FALSE(*visible->asBool()) << name;
        }
    }
}

} // namespace
} // namespace ch::test
