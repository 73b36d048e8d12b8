// The portfolio and currencies pages in an open window: they list exactly
// the model's shares (currencies) with their figures, hand the selected one
// to the document's sheets and follow the document's notifications.

#include <QPushButton>
#include <QTest>

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
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

class MoneyPagesTest : public ::testing::Test {
protected:
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

} // namespace
} // namespace ch::test
