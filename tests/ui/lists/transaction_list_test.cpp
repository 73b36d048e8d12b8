// The transaction lists: the model's own list shown lazily, the flag,
// period and search filters, sorting by a column, the status and amount
// texts.

#include <QElapsedTimer>

#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "model/CDocAccounting.h"
#include "ui/lists/CTransactionArrayController.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/lists/ValueTransformers.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

std::vector<ItemColumn> transactionColumns()
{
    return {
        {"date", "Date",
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role != Qt::DisplayRole) return {};
             return dateTTransformer(static_cast<const CTrnSItem&>(item).mDate().value_or(0));
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             return double(static_cast<const CTrnSItem&>(item).mDate().value_or(0));
         }},
        {"amount", "Amount",
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role != Qt::DisplayRole) return {};
             return amountTTransformer(static_cast<const CTrnSItem&>(item).mTotalAmount());
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             return static_cast<const CTrnSItem&>(item).mTotalAmount().value_or(0);
         }},
    };
}

class TransactionListTest : public ::testing::Test {
protected:
    UiEnvironment environment;   // today: 15.09.2025
    TestDocument books;
};

TEST_F(TransactionListTest, FiltersKeepTheRightRows)
{
    // 24 transactions from January 2023 on (10 a month); a few of them
    // flagged or checked, one dated this year.
    buildFixtureBooks(books, 24);
    books.addTransaction(20250910, FixtureBooks::kIncomeAccount, 0, 0, 10.0);
    books.addTransaction(20250701, FixtureBooks::kIncomeAccount, 0, 0, 20.0);
    CTransactionArrayController controller;
    auto source = std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController());
    controller.setContent(source);
    ASSERT_EQ(controller.arrangedCount(), 26u);
    auto at = [&](std::size_t i) { return std::static_pointer_cast<CTrnSItem>(source->itemAt(i)); };
    auto dated = [&](long date) {
        for (std::size_t i = 0; i < source->count(); ++i)
            if (at(i)->mDate() == date) return at(i);
        ADD_FAILURE() << date;
        return std::shared_ptr<CTrnSItem>();
    };
    const auto flaggedLater = dated(20230303);
    dated(20250910)->toggleFlag();          // flagged
    dated(20230101)->toggleStatus();        // checked
    flaggedLater->toggleFlag();             // flagged
    flaggedLater->setMDescription("Holiday in Rome");
    dated(20230305)->setMDescription("Flights to rome");
    // What each filter keeps, by the transactions' dates and statuses.
    auto expected = [&](std::uint8_t flag, std::uint8_t period, const std::string& search) {
        std::vector<CNonVisualDataItem::Ptr> kept;
        for (std::size_t i = 0; i < source->count(); ++i) {
            const auto item = at(i);
            const int status = item->objectStatus() & 0xFF;
            const long date = item->mDate().value_or(0);
            const bool flagOk = flag == 0 || (flag == 1 && status == 7) || (flag == 2 && status != 7) ||
                                (flag == 3 && status == 9) || (flag == 4 && status != 9);
            const bool periodOk = period == 0 || (period == 2 && date >= 20250908) ||
                                  (period == 3 && date / 100 == 202509) || (period == 4 && date / 10000 == 2025);
            if (flagOk && periodOk && (search.empty() || item->matches(search))) kept.push_back(item);
        }
        return kept;
    };
    struct Case {
        std::uint8_t flag, period;
        std::string search;
        std::size_t count;
    } cases[] = {
        {0, 0, "", 26}, {1, 0, "", 2}, {2, 0, "", 24}, {3, 0, "", 1}, {4, 0, "", 25},
        {0, 2, "", 1},  {0, 3, "", 1}, {0, 4, "", 2},  {1, 4, "", 1}, {2, 4, "", 1},
        {0, 0, "ROME", 2}, {0, 1, "", 0},
    };
    for (const Case& c : cases) {
        controller.setSearchString(c.search);
        controller.setFlagSelectionType(c.flag, c.period);
        const auto kept = expected(c.flag, c.period, c.search);
        SCOPED_TRACE(testing::Message() << "flag " << int(c.flag) << " period " << int(c.period) << " '"
                                        << c.search << "'");
        EXPECT_EQ(controller.arrangedObjects(), kept);
        EXPECT_EQ(kept.size(), c.count);
    }
    // The search narrows a filter further: of the flagged ones, the one of
    // the amount searched.
    controller.setFlagSelectionType(1, 0);
    controller.setSearchString("rome");
    EXPECT_EQ(controller.arrangedObjects(), CNonVisualDataItem::ItemArray{flaggedLater});
}

// Typed key by key, each text keeps what a search of it from scratch keeps,
// in the same order: a longer text judges only the rows kept before, unless
// it reads as a number (an amount of 75 holds no "7" in its texts).
TEST_F(TransactionListTest, TypingKeyByKeyKeepsWhatASearchFromScratchKeeps)
{
    buildFixtureBooks(books, 24);
    books.addTransaction(20250910, FixtureBooks::kIncomeAccount, 0, 0, 7.0);
    books.addTransaction(20250701, FixtureBooks::kIncomeAccount, 0, 0, 75.0);
    auto source = std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController());
    for (std::size_t i = 0; i < source->count(); i += 5)
        std::static_pointer_cast<CTrnSItem>(source->itemAt(i))->setMDescription(i % 2 ? "Flights to Rome" : "Rome 7");
    const std::vector<ItemColumn> columns = transactionColumns();
    CTransactionArrayController typed;
    typed.setContent(source);
    typed.setSortDescriptors({{"amount", false, columns[1].sortValue, {}}});
    for (const char* text : {"r", "ro", "rom", "rome", "rome 7", "rome", "ro", "", "7", "75", "7", "x"}) {
        typed.setSearchString(text);
        CTransactionArrayController fresh;
        fresh.setContent(source);
        fresh.setSortDescriptors({{"amount", false, columns[1].sortValue, {}}});
        fresh.setSearchString(text);
        EXPECT_EQ(typed.arrangedObjects(), fresh.arrangedObjects()) << "'" << text << "'";
    }
}

TEST_F(TransactionListTest, ALastSevenDaysFilterReachesBackIntoTheLastMonth)
{
    struct Case {
        long today, date;
        bool kept;
    } cases[] = {
        {20240103, 20231231, true},  {20240103, 20231227, true}, {20240103, 20231226, false},
        {20250915, 20250908, true},  {20250915, 20250907, false}, {20250305, 20250226, true},
        {20250305, 20250225, false}, {20250305, 20250305, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTransactionArrayController::passesPeriodFilter(2, c.date, false, c.today), c.kept)
            << c.today << " " << c.date;
    EXPECT_TRUE(CTransactionArrayController::passesPeriodFilter(3, 20250901, false, 20250915));
    EXPECT_FALSE(CTransactionArrayController::passesPeriodFilter(3, 20240915, false, 20250915));
    EXPECT_TRUE(CTransactionArrayController::passesPeriodFilter(1, 0, true, 20250915));
    // Only the low byte of the status counts; blocked (4) is neither.
    EXPECT_TRUE(CTransactionArrayController::passesFlagFilter(1, 0x107));
    EXPECT_FALSE(CTransactionArrayController::passesFlagFilter(3, 4));
}

TEST_F(TransactionListTest, ARowThatIsNoLiveTransactionLeavesAFilteredList)
{
    buildFixtureBooks(books, 4);
    auto transaction = std::static_pointer_cast<CTrnSItem>(
        ModelListSource(books.root().Get_TransactionArray(), books.dataItemController()).itemAt(0));
    CNonVisualDataItem::ItemArray mixed{transaction, std::make_shared<CTrnSItem>(), books.getHomeCurrency()};
    CTransactionArrayController controller;
    controller.setContent(std::make_shared<VectorListSource>(mixed));
    EXPECT_EQ(controller.arrangedCount(), 3u);
    controller.setFlagSelectionType(2, 0);
    EXPECT_EQ(controller.arrangedObjects(), CNonVisualDataItem::ItemArray{transaction});
}

TEST_F(TransactionListTest, SortingByAColumnOrdersTheRows)
{
    buildFixtureBooks(books, 30);
    CTransactionArrayController controller;
    controller.setContent(
        std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController()));
    ItemTableModel model(controller, transactionColumns());
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        model.sort(1, order);
        ASSERT_EQ(model.rowCount(), 30);
        double previous = order == Qt::AscendingOrder ? -1e18 : 1e18;
        for (int row = 0; row < model.rowCount(); ++row) {
            const double amount = std::static_pointer_cast<CTrnSItem>(model.itemAt(row))->mTotalAmount().value_or(0);
            EXPECT_TRUE(order == Qt::AscendingOrder ? amount >= previous : amount <= previous) << row;
            previous = amount;
            EXPECT_EQ(model.data(model.index(row, 1)).toString(), amountTTransformer(amount));
        }
    }
    // By date, oldest first; a filter keeps the order.
    model.sort(0, Qt::AscendingOrder);
    auto dateAt = [&](int row) { return std::static_pointer_cast<CTrnSItem>(model.itemAt(row))->mDate(); };
    EXPECT_EQ(dateAt(0), 20230101);
    EXPECT_EQ(dateAt(29), 20230319);
    std::static_pointer_cast<CTrnSItem>(model.itemAt(3))->toggleStatus();
    std::static_pointer_cast<CTrnSItem>(model.itemAt(20))->toggleStatus();
    const auto third = dateAt(20);
    const auto first = dateAt(3);
    controller.setFlagSelectionType(3, 0);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(dateAt(0), first);
    EXPECT_EQ(dateAt(1), third);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), dateTTransformer(*third));
}

// Long lists sort by keys read from the model transaction, short ones by
// keys read from the item: every column must give the same key both ways.
TEST_F(TransactionListTest, ColumnsSortByTheSameKeysFromTheModelAsFromTheItems)
{
    buildFixtureBooks(books, 12);
    auto source = std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController());
    auto at = [&](std::size_t i) { return std::static_pointer_cast<CTrnSItem>(source->itemAt(i)); };
    // Descriptions of every kind: broken lines, the name repeated, none at
    // all (the category shows); a total never set (the lines' sum shows).
    at(0)->setMDescription("Rent\nMarch");
    at(1)->setMDescription(at(1)->getName());
    at(2)->setGetName("");
    at(2)->setMDescription("");
    at(3)->setMTotalAmount(0.0);
    at(4)->setGetName("\u00c9picerie Fine");
    int compared = 0;
    for (const ItemColumn& column : transactionListColumns()) {
        if (!column.objectSortValue) continue;
        for (std::size_t i = 0; i < source->count(); ++i) {
            EXPECT_EQ(column.sortValue(*source->itemAt(i)), column.objectSortValue(*source->objectAt(i)))
                << column.identifier.toStdString() << " row " << i;
            ++compared;
        }
    }
    EXPECT_GT(compared, 0);
}

// The keys a sort read from the model are kept for the next sort, search or
// filter, and read again after a change of the list; keys read through the
// items (the status) are read at every sort.
TEST_F(TransactionListTest, KeptSortKeysFollowChangesOfTheRows)
{
    buildFixtureBooks(books, 12);
    CTransactionArrayController controller;
    controller.setContent(
        std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController()));
    ItemTableModel model(controller, transactionListColumns());
    auto itemAt = [&](int row) { return std::static_pointer_cast<CTrnSItem>(model.itemAt(row)); };
    model.sort(model.columnOf("description"), Qt::AscendingOrder);
    const auto last = itemAt(model.rowCount() - 1);
    last->setMDescription("");
    last->setGetName("Aaa");
    // As the pages do after "TRANSACTIONMODIFIED".
    controller.rearrangeObjects();
    EXPECT_EQ(itemAt(0), last);
    model.sort(model.columnOf("status"), Qt::DescendingOrder);
    const auto flagged = itemAt(model.rowCount() - 1);
    flagged->toggleFlag();
    model.sort(model.columnOf("status"), Qt::AscendingOrder);
    model.sort(model.columnOf("status"), Qt::DescendingOrder);
    EXPECT_EQ(itemAt(0), flagged);
}

TEST_F(TransactionListTest, AHundredThousandTransactionsAreShownWithoutMakingEveryRow)
{
    buildFixtureBooks(books, 100000);
    const auto* transactions = books.dataItemController().tableForObjectType(fourCC("TrnS"));
    ASSERT_NE(transactions, nullptr);
    const std::size_t before = transactions->size();
    CTransactionArrayController controller;
    controller.setContent(
        std::make_shared<ModelListSource>(books.root().Get_TransactionArray(), books.dataItemController()));
    // Newest first, as the pages show it: sorted from the model objects.
    controller.setSortDescriptors({sortByTransactionDate(false)});
    ItemTableModel model(controller, transactionColumns());
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(model.rowCount(), 100000);
    for (int row : {0, 1, 50000, 99999}) EXPECT_FALSE(model.data(model.index(row, 0)).toString().isEmpty());
    controller.rearrangeObjects();
    EXPECT_EQ(model.rowCount(), 100000);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_GE(std::static_pointer_cast<CTrnSItem>(model.itemAt(0))->mDate(),
              std::static_pointer_cast<CTrnSItem>(model.itemAt(99999))->mDate());
    EXPECT_LE(transactions->size() - before, 4u);
}

TEST_F(TransactionListTest, CellTextsOfDatesAmountsAndStatus)
{
    EXPECT_EQ(dateTTransformer(20250915), "15.09.2025");
    EXPECT_EQ(amountTTransformer(1234.5), "1,234.50");
    EXPECT_EQ(amountTTransformer(kNoLinkedTransactionAmount), "");
    EXPECT_EQ(amountTTransformer(kLinkedCreditNoteAmount), "");
    EXPECT_FALSE(statusTTransformer(9).isNull());
    EXPECT_FALSE(statusTTransformer(7).isNull());
    EXPECT_FALSE(statusTTransformer(0x207).isNull());
    EXPECT_TRUE(statusTTransformer(4).isNull());
    EXPECT_TRUE(statusTTransformer(0).isNull());
    EXPECT_NE(statusTTransformer(9).cacheKey(), statusTTransformer(7).cacheKey());
}

} // namespace
} // namespace ch::test
