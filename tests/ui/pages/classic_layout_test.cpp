// The classic layout's overview and detail tables: after a refresh the bar
// chart holds the profit-and-loss bookings and the pies the account types of
// their groups; the booking lines beside each outline follow its selected
// row, its switches and their colouring; a new object's row is shown open.

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QPushButton>
#include <QTableView>

#include <cmath>
#include <set>

#include "analysis/CGraphPoint.h"
#include "analysis/CPlotSerie.h"
#include "analysis/views/ChartView.h"
#include "bridge/CDebetItem.h"
#include "bridge/TextColours.h"
#include "model/CAccType.h"
#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "platform/core/localized_strings.h"
#include "ui/GXGradientPainting.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/NamedListOutlineModel.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/ClassicTransactionLists.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

class ClassicLayoutTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    TestDocument books;
    FixtureBooks ids = buildFixtureBooks(books, 0);

    std::unique_ptr<ClassicLayout> makeLayout()
    {
        return std::make_unique<ClassicLayout>(
            books, [this](CNonVisual* parent, CNonVisual* child) { return books.root().Put_mParentId(parent, child); });
    }
    static std::vector<CGraphPoint*> points(CGraph& chart)
    {
        std::vector<CGraphPoint*> all;
        for (const std::string& key : chart.plotSeriesKeys())
            if (CPlotSerie* serie = chart.plotSerie(key))
                for (CGraphPoint* point : serie->points()) all.push_back(point);
        return all;
    }
    static std::set<ObjectIdT> transactionsIn(CGraph& chart)
    {
        std::set<ObjectIdT> shown;
        for (CGraphPoint* point : points(chart))
            for (const ChartElement& element : point->details())
                if (const auto* line = dynamic_cast<const CDebetItem*>(element.get()))
                    shown.insert(line->getTransactionId());
        return shown;
    }
    static QModelIndex find(const QAbstractItemModel& model, const std::string& name, const QModelIndex& parent = {})
    {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            if (model.data(index).toString().toStdString() == name) return index;
            if (QModelIndex inside = find(model, name, index); inside.isValid()) return inside;
        }
        return {};
    }
    static void select(QAbstractItemView* view, const std::string& name)
    {
        const QModelIndex row = find(*view->model(), name);
        ASSERT_TRUE(row.isValid()) << name;
        view->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCoreApplication::processEvents();
    }
    static QString cell(QTableView* table, int row, const char* column)
    {
        QAbstractItemModel* model = table->model();
        for (int section = 0; section < model->columnCount(); ++section)
            if (model->headerData(section, Qt::Horizontal).toString() == QString::fromStdString(localized(column)))
                return model->data(model->index(row, section)).toString();
        return {};
    }
    static QVariant colour(QTableView* table, int row)
    {
        return table->model()->data(table->model()->index(row, 3), Qt::ForegroundRole);
    }
};

TEST_F(ClassicLayoutTest, OverviewChartsShowTheBooksAsTheyAreWhenShown)
{
    const ObjectIdT groceries =
        books.addTransaction(20250901, ids.checking, FixtureBooks::kExpenseAccount, ids.groceries, 80.0)->Get_Id();
    const ObjectIdT salary =
        books.addTransaction(20250905, FixtureBooks::kIncomeAccount, ids.checking, ids.salary, 3000.0)->Get_Id();
    // Between two own accounts: no profit or loss.
    books.addTransaction(20250906, ids.checking, ids.savings, FixtureBooks::kTransferCategory, 500.0);
    books.addTransaction(20250907, ids.checking, ids.visa, FixtureBooks::kTransferCategory, 120.0);
    const std::unique_ptr<ClassicLayout> layout = makeLayout();
    EXPECT_EQ(transactionsIn(layout->overviewChart()->chart()), (std::set<ObjectIdT>{groceries, salary}));

    // One wedge per top-level account type of the group, as large as its balance.
    struct Pie {
        ChartView* chart;
        CAccountTypeArray::SubListIndex group;
    };
    for (const Pie& pie : {Pie{layout->propertyOverviewPieChart(), CAccountTypeArray::kTopLevelOwnProperty},
                           Pie{layout->liabilityOverviewPieChart(), CAccountTypeArray::kTopLevelDebt},
                           Pie{layout->assetOverviewPieChart(), CAccountTypeArray::kTopLevelOther}}) {
        const CNamedListArray* types = books.root().mAccountTypeList->Get_SubList(pie.group);
        std::map<ObjectIdT, double> expected;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(types->GetCount()); ++i) {
            const auto* type = static_cast<const CAccType*>(types->ObjectAt(i));
            expected[type->Get_Id()] = std::fabs(type->Get_mBalance());
        }
        std::map<ObjectIdT, double> wedges;
        for (CGraphPoint* wedge : points(pie.chart->chart()))
            for (const ChartElement& element : wedge->details()) wedges[*element->getId()] = wedge->getAmount();
        EXPECT_EQ(wedges, expected) << pie.chart->objectName().toStdString();
    }
    EXPECT_GT(std::fabs(static_cast<const CAccType*>(
                            books.root().mAccountTypeList->GetValueForId(FixtureBooks::kOwnProperty))
                            ->Get_mBalance()),
              0.0);

    // A booking made meanwhile is there when the overview is shown again.
    const ObjectIdT rent =
        books.addTransaction(20250910, ids.checking, FixtureBooks::kExpenseAccount, ids.rent, 900.0)->Get_Id();
    layout->showTab("acnt");
    EXPECT_EQ(transactionsIn(layout->overviewChart()->chart()).count(rent), 0u);
    layout->showTab("trns");
    EXPECT_EQ(transactionsIn(layout->overviewChart()->chart()), (std::set<ObjectIdT>{groceries, salary, rent}));
}

// Transactions made many at once (a statement's lines, a schedule's copies)
// are announced without an object: the list shows every one of them.
TEST_F(ClassicLayoutTest, TheTransactionListShowsTransactionsAnnouncedManyAtOnce)
{
    auto layout = makeLayout();
    CTransactionTableView* list = layout->transactionLists().table(ClassicTransactionLists::List::Transactions);
    // A search narrows the list, so that it keeps rows of its own.
    layout->transactionLists().search("Bakery");
    ASSERT_EQ(list->model()->rowCount(), 0);
    for (const DateT date : {20260301, 20260302})
        books.addTransaction(date, ids.checking, FixtureBooks::kExpenseAccount, ids.groceries, 9.0)
            ->Put_StringrefName("Bakery");
    books.notificationCenter().post("TRANSACTIONCREATED");
    EXPECT_EQ(list->model()->rowCount(), 2);
}

TEST_F(ClassicLayoutTest, BookingLinesBesideEachOutlineFollowItsRowAndSwitch)
{
    books.addTransaction(20250901, ids.checking, FixtureBooks::kExpenseAccount, ids.groceries, 80.0);
    books.addTransaction(20250905, FixtureBooks::kIncomeAccount, ids.checking, ids.salary, 3000.0);
    books.addTransaction(20250903, ids.checking, FixtureBooks::kExpenseAccount, ids.rent, 900.0);
    books.addTransaction(20250902, ids.savings, ids.visa, FixtureBooks::kTransferCategory, 200.0);
    const std::unique_ptr<ClassicLayout> layout = makeLayout();
    CNonVisualTable* accounts = layout->propertyTable();
    CNonVisualTable* categories = layout->incomeTable();
    QTableView* accountLines = layout->detailTable(accounts);
    QTableView* categoryLines = layout->detailTable(categories);
    QAbstractItemModelTester tester(accountLines->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(accountLines->model()->rowCount(), 0);
    const QVariant green = toQColor(getGreenColor());
    const QVariant red = toQColor(getRedColor());

    // The account's lines, newest first: money in green, money out red.
    select(accounts, "Checking Account");
    ASSERT_EQ(accountLines->model()->rowCount(), 3);
    EXPECT_EQ(cell(accountLines, 0, "LISTCOLAMOUNT"), "3,000.00");
    EXPECT_EQ(cell(accountLines, 2, "LISTCOLAMOUNT"), "80.00");
    EXPECT_EQ(colour(accountLines, 0), green);
    EXPECT_EQ(colour(accountLines, 1), red);

    // Another group: its outline starts unselected, so no lines.
    layout->switchButton("mAcntDebtButton")->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(accountLines->model()->rowCount(), 0);

    // Categories: expenses are shown in the reverse colours, transfers in none.
    struct Case {
        const char* button;
        const char* row;
        QVariant colour;
    };
    for (const Case& c : {Case{"mExptExpenseButton", "Rent", red}, Case{"mExptIncomeButton", "Salary", green},
                          Case{"mExptTransferButton", "Transfer", QVariant()}}) {
        layout->switchButton(c.button)->click();
        select(categories, c.row);
        ASSERT_EQ(categoryLines->model()->rowCount(), 1) << c.row;
        EXPECT_EQ(colour(categoryLines, 0), c.colour) << c.row;
    }

    // After an object was made inside a row, or beside one, the row it went
    // into is shown open; other views are not the layout's.
    layout->switchButton("mAcntPropertyButton")->click();
    NamedListOutlineModel& outline = *layout->propertyModel();
    for (const char* row : {"Own Property", "Savings", "Bank Accounts"}) accounts->collapse(find(outline, row));
    layout->synchronizeTableCallback(outline.itemAt(find(outline, "Savings")), true, accounts);
    EXPECT_TRUE(accounts->isExpanded(find(outline, "Savings")));
    EXPECT_TRUE(accounts->isExpanded(find(outline, "Own Property")));
    layout->synchronizeTableCallback(outline.itemAt(find(outline, "Checking Account")), false, accounts);
    EXPECT_TRUE(accounts->isExpanded(find(outline, "Bank Accounts")));
    CNonVisualOutlineView elsewhere;
    layout->synchronizeTableCallback(outline.itemAt(find(outline, "Savings")), true, &elsewhere);
}

} // namespace
} // namespace ch::test
