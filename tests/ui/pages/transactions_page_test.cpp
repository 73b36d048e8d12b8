// The transactions page in an open window: it lists exactly the model's
// transactions, filters the transactions tab only, runs the commands of the
// shown tab and follows the document's notifications.

#include <functional>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "ui/lists/CV2TransactionTableView.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/LRFilterBar.h"
#include "ui/pages/GXTransactionViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

using Tab = GXTransactionViewController::Tab;

class TransactionsPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        open.open();
        open.select("Transactions", 2);
        processEvents();
        page = dynamic_cast<GXTransactionViewController*>(open.sideBar().currentController());
        ASSERT_NE(page, nullptr);
    }
    std::vector<CNonVisual*> modelTransactions()
    {
        std::vector<CNonVisual*> objects;
        const CNamedListArray* list = open.books.root().Get_TransactionArray();
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) objects.push_back(list->ObjectAt(i));
        // Newest first.
        std::stable_sort(objects.begin(), objects.end(), [](CNonVisual* a, CNonVisual* b) {
            return static_cast<CTransaction*>(a)->Get_mDate() > static_cast<CTransaction*>(b)->Get_mDate();
        });
        return objects;
    }
    std::vector<CNonVisual*> shownTransactions(Tab tab = Tab::Transactions)
    {
        std::vector<CNonVisual*> objects;
        ItemTableModel* model = page->tableModel(tab);
        for (int row = 0; row < model->rowCount(); ++row) objects.push_back(model->itemAt(row)->getSourceItem());
        return objects;
    }
    void selectRows(std::initializer_list<int> rows, Tab tab = Tab::Transactions)
    {
        auto* table = page->table(tab);
        table->selectionModel()->clearSelection();
        for (int row : rows)
            table->selectionModel()->select(page->tableModel(tab)->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    UiEnvironment environment;
    OpenDocument open;
    GXTransactionViewController* page = nullptr;
};

TEST_F(TransactionsPageTest, ListsExactlyTheModelsTransactionsNewestFirst)
{
    EXPECT_EQ(page->selectedTab(), Tab::Transactions);
    EXPECT_EQ(shownTransactions(), modelTransactions());
    EXPECT_EQ(shownTransactions().size(), 40u);
    ItemTableModel* model = page->tableModel(Tab::Transactions);
    for (int row = 1; row < model->rowCount(); ++row)
        EXPECT_GE(std::static_pointer_cast<CTrnSItem>(model->itemAt(row - 1))->mDate(),
                  std::static_pointer_cast<CTrnSItem>(model->itemAt(row))->mDate());
    EXPECT_EQ(page->tableModel(Tab::Recurring)->rowCount(), 0);
    // The side bar's recurring node shows the recurring tab.
    open.sideBar().selectNodeWithType(fourCC("RcrT"), 2);
    EXPECT_EQ(page->selectedTab(), Tab::Recurring);
}

TEST_F(TransactionsPageTest, TheDescriptionColumnShowsNameAndDescriptionEachOnce)
{
    ItemTableModel* model = page->tableModel(Tab::Transactions);
    const int column = model->columnOf("description");
    ASSERT_GE(column, 0);
    auto transaction = std::static_pointer_cast<CTrnSItem>(model->itemAt(0));
    struct Case {
        const char* name;
        const char* description;
        const char* shown;
    };
    for (const Case& c : {Case{"Deposit", "Deposit", "Deposit"}, Case{"Deposit", "", "Deposit"},
                          Case{"Rent", "March", "Rent March"}, Case{"", "March", "March"}}) {
        transaction->setGetName(std::string_view(c.name));
        transaction->setMDescription(std::string_view(c.description));
        EXPECT_EQ(model->data(model->index(0, column), Qt::DisplayRole).toString().toStdString(), c.shown)
            << c.name << " / " << c.description;
    }
}

TEST_F(TransactionsPageTest, TheFilterBarFiltersTheTransactionsTabOnly)
{
    ItemTableModel* model = page->tableModel(Tab::Transactions);
    std::static_pointer_cast<CTrnSItem>(model->itemAt(2))->toggleFlag();
    std::static_pointer_cast<CTrnSItem>(model->itemAt(5))->toggleFlag();
    LRFilterBar* bar = page->filterBar();
    ASSERT_EQ(bar->segmentCount(), 2);
    EXPECT_EQ(bar->getSelectedTitleInSegment(0), "All");
    bar->pressIndex(1, 0);   // flagged
    EXPECT_EQ(model->rowCount(), 2);
    bar->pressIndex(4, 1);   // this year (2025): the fixture's books end in 2026
    EXPECT_EQ(page->controller(Tab::Transactions).flagSelectionType(), 1);
    EXPECT_EQ(page->controller(Tab::Transactions).periodSelectionType(), 4);
    EXPECT_EQ(page->controller(Tab::Recurring).flagSelectionType(), 0);
    bar->pressIndex(0, 0);
    bar->pressIndex(0, 1);
    EXPECT_EQ(model->rowCount(), 40);
}

// A transaction just booked is shown and selected even where the search or
// a filter would leave it out, in the arrangement that follows the booking
// only; the next one leaves it to the filters again.
TEST_F(TransactionsPageTest, AJustBookedTransactionStaysShownOnceWhateverTheFilters)
{
    ItemTableModel* model = page->tableModel(Tab::Transactions);
    std::static_pointer_cast<CTrnSItem>(model->itemAt(3))->setMDescription("Holiday flat");
    std::static_pointer_cast<CTrnSItem>(model->itemAt(3))->toggleFlag();
    struct Case {
        const char* name;
        std::function<void()> filter;
    } cases[] = {
        {"search", [&] { open.sideBar().searchContents("holiday"); }},
        {"flagged", [&] { page->filterBar()->pressIndex(1, 0); }},
    };
    for (const Case& c : cases) {
        c.filter();
        ASSERT_EQ(model->rowCount(), 1) << c.name;
        CTransaction* made = open.books.addTransaction(20260301, 2, 0, 0, 99.0);
        auto item = open.books.dataItemController().transactionItemForTrnS(made);
        open.books.notificationCenter().post("TRANSACTIONCREATED", item);
        EXPECT_EQ(model->rowCount(), 2) << c.name;
        EXPECT_EQ(page->selectedTransaction(), item) << c.name;
        // Any new arrangement that meets it leaves it to the filters.
        page->controller(Tab::Transactions).rearrangeObjects();
        EXPECT_EQ(model->rowCount(), 1) << c.name;
        open.sideBar().searchContents("");
        page->filterBar()->pressIndex(0, 0);
        EXPECT_EQ(model->rowCount(), static_cast<int>(modelTransactions().size())) << c.name;
    }

    // Booked while nothing filters, the exception is spent: the first filter
    // pressed afterwards leaves a flagged booking out of "Not Flagged".
    CTransaction* made = open.books.addTransaction(20260302, 2, 0, 0, 12.0);
    auto item = open.books.dataItemController().transactionItemForTrnS(made);
    item->toggleFlag();
    open.books.notificationCenter().post("TRANSACTIONCREATED", item);
    EXPECT_EQ(page->selectedTransaction(), item);
    QAction* notFlagged = nullptr;
    for (QAction* action : page->filterBar()->actions())
        if (action->text().toStdString() == localized("NOTFLAGGED")) notFlagged = action;
    ASSERT_NE(notFlagged, nullptr);
    QTest::mouseClick(page->filterBar()->widgetForAction(notFlagged), Qt::LeftButton);
    ASSERT_EQ(page->filterBar()->getSelectedIndexInSegment(0), 2);
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_NE(model->itemAt(row)->getSourceItem(), made) << "row " << row;
}

TEST_F(TransactionsPageTest, DeletingSeveralAsksOnceAndADeclineDeletesNone)
{
    selectRows({1, 4, 6});
    const auto chosen = shownTransactions();
    open.document.deleteAnswer = false;
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(open.document.questions, 1);
    EXPECT_EQ(open.document.operations(), std::vector<std::string>{"deletionDeclined"});
    open.document.calls.clear();
    open.document.deleteAnswer = true;
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    EXPECT_EQ(open.document.questions, 2);
    ASSERT_EQ(open.document.calls.size(), 3u);
    const std::size_t rows[] = {1, 4, 6};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(open.document.calls[i].item->getSourceItem(), chosen[rows[i]]);
        EXPECT_EQ(open.document.calls[i].id, i == 0 ? 1 : 0);   // asked for the first only
    }
}

TEST_F(TransactionsPageTest, CommandsOfEachTab)
{
    selectRows({3});
    const auto third = page->selectedTransaction();
    // Paste is disabled until something was copied; then it fills the sheet.
    EXPECT_FALSE(page->validateMenuItem(14).enabled);
    page->executeMenuCommand(13, CommandSender::menuItem(13));
    EXPECT_TRUE(page->validateMenuItem(14).enabled);
    selectRows({0});
    page->executeMenuCommand(14, CommandSender::menuItem(14));
    page->executeMenuCommand(1109, CommandSender::menuItem(1109));
    page->executeMenuCommand(1115, CommandSender::menuItem(1115));
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    ASSERT_EQ(open.document.sheets.size(), 4u);
    EXPECT_EQ(open.document.sheets[0].model, third);
    EXPECT_EQ(open.document.sheets[1].model, page->selectedTransaction());
    EXPECT_EQ(open.document.sheets[2].model->getSourceItem(), modelTransactions().front());
    EXPECT_EQ(open.document.sheets[3].model, nullptr);
    for (const auto& sheet : open.document.sheets) EXPECT_FALSE(sheet.recurring);
    // The flag command flags; new on the recurring tab opens a recurring sheet;
    // the unlinked tab has no new command.
    page->executeMenuCommand(1121, CommandSender::menuItem(1121));
    EXPECT_EQ(page->selectedTransaction()->objectStatus() & 0xFF, 7);
    page->selectSubPage(fourCC("RcrT"));
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    EXPECT_TRUE(open.document.sheets.back().recurring);
    page->selectSubPage(fourCC("UnlT"));
    const std::size_t before = open.document.sheets.size();
    page->executeMenuCommand(1100, CommandSender::menuItem(1100));
    EXPECT_EQ(open.document.sheets.size(), before);
}

TEST_F(TransactionsPageTest, ButtonsAndCommandsThatActOnARowWaitForOneChosenInTheShownList)
{
    auto button = [&](Tab tab, const char* key) -> QPushButton* {
        for (QPushButton* found : page->table(tab)->parentWidget()->findChildren<QPushButton*>())
            if (found->text() == QString::fromStdString(localized(key))) return found;
        ADD_FAILURE() << "no button " << key;
        return nullptr;
    };
    struct Case {
        Tab tab;
        FourCharCode type;
        const char* act;     // the button that acts on the chosen row besides Modify and Delete
    };
    for (const Case& shown : {Case{Tab::Transactions, fourCC("TrnS"), nullptr},
                              Case{Tab::Recurring, fourCC("RcrT"), nullptr},
                              Case{Tab::Unlinked, fourCC("UnlT"), "PAGELINK"}}) {
        page->selectSubPage(shown.type);
        page->table(shown.tab)->clearSelection();
        processEvents();
        for (const char* key : {"PAGEMODIFY", "PAGEDELETE"})
            EXPECT_FALSE(button(shown.tab, key)->isEnabled()) << key << " with no row chosen";
        if (shown.act) EXPECT_FALSE(button(shown.tab, shown.act)->isEnabled());
        for (int tag : {13, 1104, 1109, 1114, 1121, 1207})
            EXPECT_FALSE(page->validateMenuItem(tag).enabled) << tag << " with no row chosen";
        EXPECT_EQ(page->validateMenuItem(1100).enabled, shown.tab != Tab::Unlinked);
    }
    // A row clicked on the transactions tab opens what acts on it there.
    page->selectSubPage(fourCC("TrnS"));
    auto* table = page->table(Tab::Transactions);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      table->visualRect(page->tableModel(Tab::Transactions)->index(1, 2)).center());
    processEvents();
    for (const char* key : {"PAGEMODIFY", "PAGEDELETE"}) EXPECT_TRUE(button(Tab::Transactions, key)->isEnabled()) << key;
    for (int tag : {13, 1104, 1109, 1114, 1121}) EXPECT_TRUE(page->validateMenuItem(tag).enabled) << tag;
    EXPECT_FALSE(page->validateMenuItem(1207).enabled) << "only generated transactions are booked";
}

TEST_F(TransactionsPageTest, AStatusClickCyclesTheStatusAndOpensNoSheet)
{
    auto* table = static_cast<CV2TransactionTableView*>(page->table(Tab::Transactions));
    const QModelIndex cell = page->tableModel(Tab::Transactions)->index(2, 0);
    const QPoint point = table->visualRect(cell).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, point);
    const auto clicked = page->selectedTransaction();
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->objectStatus() & 0xFF, 9);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, point);
    EXPECT_EQ(open.books.modified.size(), 0u);
    // A double click in another column opens the sheet.
    const QPoint other = table->visualRect(page->tableModel(Tab::Transactions)->index(2, 2)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, other);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, other);
    EXPECT_EQ(open.books.modified.size(), 1u);
}

TEST_F(TransactionsPageTest, FollowsCreatedAndDeletedTransactions)
{
    CTransaction* made = open.books.addTransaction(20260301, 2, 0, 0, 99.0);
    auto item = open.books.dataItemController().transactionItemForTrnS(made);
    open.books.notificationCenter().post("TRANSACTIONCREATED", item);
    EXPECT_EQ(shownTransactions(), modelTransactions());
    EXPECT_EQ(page->selectedTransaction(), item);
    // Another document's transaction is not this page's business.
    TestDocument other;
    buildFixtureBooks(other, 2);
    const auto foreign = other.dataItemController().transactionItemForTrnS(
        other.root().Get_TransactionArray()->ObjectAt(1));
    open.books.notificationCenter().post("TRANSACTIONCREATED", foreign);
    EXPECT_EQ(page->selectedTransaction(), item);
    open.books.root().Get_TransactionArray()->RemoveObject(made);
    delete made;
    open.books.notificationCenter().post("TRANSACTIONDELETED");
    EXPECT_EQ(shownTransactions(), modelTransactions());
}

} // namespace
} // namespace ch::test
