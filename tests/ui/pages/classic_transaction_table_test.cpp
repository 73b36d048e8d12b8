// The classic layout's transaction table: its commands are enabled by the
// selection, the clipboard and the table's own tag, and each goes to the
// document for the selected transactions; deleting several asks once.

#include <QItemSelectionModel>
#include <QTest>

#include "bridge/CTrnSItem.h"
#include "model/CDocAccounting.h"
#include "ui/lists/CTransactionTableView.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/ClassicLayout.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

TEST(ClassicTransactionTableRules, EnablingFollowsSelectionClipboardAndTableTag)
{
    struct Case {
        int tag;
        ClassicTableState state;
        bool enabled;
    };
    const ClassicTableState one{1, false, false, true, 0};
    const ClassicTableState blocked{1, true, false, true, 0};
    const ClassicTableState two{2, false, false, true, 0};
    const ClassicTableState none{0, false, false, true, 0};
    const ClassicTableState linking{2, false, false, true, 1207};
    const ClassicTableState pasteable{0, false, true, false, 1};
    const Case cases[] = {
        {13, one, true},     {13, blocked, false}, {13, two, false},      {12, one, true},
        {1104, one, true},   {1104, two, false},   {1109, blocked, false}, {1114, one, true},
        {1114, none, false}, {14, none, false},    {14, pasteable, true}, {16, one, true},
        {16, pasteable, false}, {1031, pasteable, true}, {1031, one, false}, {1100, one, true},
        {1110, linking, false}, {1207, linking, true}, {1207, two, false}, {1244, two, true},
        {1244, one, false},  {1121, one, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(validateClassicTransactionTableItem(c.tag, c.state).enabled, c.enabled)
            << c.tag << " with " << c.state.selected << " selected, table " << c.state.tableTag;
    EXPECT_EQ(validateClassicTransactionTableItem(1114, one).title, localized("ModifyTrans"));
    EXPECT_EQ(validateClassicTransactionTableItem(1100, one).title, localized("NewTrans"));
}

class ClassicTransactionTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildFixtureBooks(books, 12);
        layout = std::make_unique<ClassicLayout>(
            books, [this](CNonVisual* parent, CNonVisual* child) { return books.root().Put_mParentId(parent, child); });
        layout->setWindowDocument(&document);
        layout->resize(1100, 760);
        layout->show();
        layout->showTab("trns");
        QApplication::processEvents();
        table = layout->transactionTable();
        ASSERT_NE(table, nullptr);
    }
    std::shared_ptr<CNonVisualDataItem> select(std::initializer_list<int> rows)
    {
        auto* model = static_cast<ItemTableModel*>(table->model());
        table->selectionModel()->clearSelection();
        for (int row : rows)
            table->selectionModel()->select(model->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        return model->itemAt(*rows.begin());
    }
    void run(int tag)
    {
        table->validateCommands();
        QAction* action = table->commandAction(tag);
        ASSERT_NE(action, nullptr) << tag;
        action->trigger();
        QApplication::processEvents();
    }

    UiEnvironment environment;
    TestDocument books;
    RecordingWindowDocument document{books};
    std::unique_ptr<ClassicLayout> layout;
    CTransactionTableView* table = nullptr;
};

TEST_F(ClassicTransactionTableTest, DeletingSeveralAsksOnceAndDeclinedDeletesNone)
{
    select({0, 2, 3});
    const auto chosen = table->selectedTransactions();
    ASSERT_EQ(chosen.size(), 3u);
    // Deleting several is not offered by the menu (one row only) ...
    table->validateCommands();
    EXPECT_FALSE(table->commandAction(1104)->isEnabled());
    // ... but the command itself takes the whole selection, asking once.
    table->deleteTransaction();
    EXPECT_EQ(document.questions, 1);
    ASSERT_EQ(document.operations(), (std::vector<std::string>(3, "deleteObjectWithAsking")));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(document.calls[i].item, chosen[i]);

    document.calls.clear();
    document.deleteAnswer = false;
    select({1});
    run(1104);
    EXPECT_EQ(document.operations(), std::vector<std::string>{"deletionDeclined"});
}

TEST_F(ClassicTransactionTableTest, CopyPasteCutModifyAndDuplicateReachTheDocument)
{
    const auto first = select({1});
    run(13);
    EXPECT_EQ(document.copied, first);
    select({4});
    run(14);
    ASSERT_FALSE(document.sheets.empty());
    EXPECT_EQ(document.sheets.back().model, first);
    EXPECT_EQ(document.sheets.back().action, 1);

    const auto modified = select({2});
    run(1114);
    EXPECT_EQ(document.sheets.back().model, modified);
    EXPECT_EQ(document.sheets.back().action, 2);
    run(1109);
    EXPECT_EQ(document.sheets.back().model, modified);
    EXPECT_EQ(document.sheets.back().action, 1);

    const auto cut = select({3});
    document.calls.clear();
    run(12);
    EXPECT_EQ(document.operations(), (std::vector<std::string>{"cutTransaction"}));
    EXPECT_EQ(document.copied, cut);

    // A double click opens the row's modify sheet.
    const auto clicked = select({5});
    const QRect cell = table->visualRect(table->model()->index(5, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QApplication::processEvents();
    EXPECT_EQ(document.sheets.back().model, clicked);
    EXPECT_EQ(document.sheets.back().action, 2);

    // Linking belongs to a table of transactions to link.
    table->validateCommands();
    EXPECT_FALSE(table->commandAction(1207)->isEnabled());
}

} // namespace
} // namespace ch::test
