#include <QComboBox>

#include <tuple>

#include "sheet_test_support.h"
#include "bridge/CDebetItem.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"
#include "platform/core/message_format.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CTransactionDetailTableView.h"
#include "ui/sheets/TransactionLinesModel.h"

namespace ch::test {
namespace {

namespace key = transaction_sheet_key;

class TransactionSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    CCreateTransactionPopupController sheet;

    void SetUp() override
    {
        doc.addAccount(20, 1, "Bank");
        doc.addAccount(21, 3, "Market stall");
        doc.addCategory(40, 1, "Food");
        doc.addCategory(41, 1, "Drinks");
    }
    void open(SheetParameters parameters)
    {
        parameters.set(key::kDocument, static_cast<SheetDocument*>(&doc));
        sheet.openSheet(nullptr, parameters);
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(sheet.isVisible());
    }
    SheetParameters newFromBankToStall()
    {
        return {{std::string(key::kAction), 1L},
                {std::string(key::kTransactionType), 3L},
                {std::string(key::kFromAccount), doc.getAccountItemForId(20)},
                {std::string(key::kToAccount), doc.getAccountItemForId(21)}};
    }
    CTransactionDetailTableView* table(const char* name) { return outlet<CTransactionDetailTableView>(sheet, name); }
    // The name and the total, then Tab on.
    void typeNameAndTotal(const QString& name, const QString& total)
    {
        typeInto(outlet(sheet, "mNameField"), name);
        typeInto(outlet(sheet, "mAmountField"), total);
        QTest::keyClick(outlet(sheet, "mAmountField"), Qt::Key_Tab);
    }
    // A click into the cell's text (clear of a pop-up's arrow).
    static void clickCell(CTransactionDetailTableView* view, int row, int column)
    {
        const QRect cell = view->visualRect(view->linesModel()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Types into the cell being edited, then ends it with the key.
    void typeCell(CTransactionDetailTableView* view, const QString& text, Qt::Key key = Qt::Key_Tab,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* editor = view->editor();
        ASSERT_NE(editor, nullptr) << "no cell of " << view->objectName().toStdString() << " is edited";
        if (auto* popup = qobject_cast<QComboBox*>(editor))
            editor = popup->lineEdit();
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key, modifiers);
    }
    std::shared_ptr<CTrnSItem> lastBooked()
    {
        return doc.transactionItem(static_cast<CTransaction*>(doc.root().mTransactionList->ObjectAt(1)));
    }
    static std::vector<std::pair<std::string, double>> linesOf(const LineItemArray& lines)
    {
        std::vector<std::pair<std::string, double>> out;
        for (const auto& line : lines)
            out.push_back({line->getAccountName(), line->getForeignAmount().value_or(0.0)});
        return out;
    }
};

TEST_F(TransactionSheetTest, SplitTransactionTypedWithTheKeyboardIsBookedWithCommand23)
{
    open(newFromBankToStall());
    typeNameAndTotal("Saturday market", "75+25");
    // The category line: Food for 60, then Tab out of the table adds the rest.
    auto* forTable = table("mForTable");
    forTable->setFocus(Qt::TabFocusReason);
    typeCell(forTable, "Food");
    typeCell(forTable, "60");
    typeCell(forTable, "EUR");
    ASSERT_EQ(forTable->linesModel()->rowCount(), 2) << "a line for the rest is added";
    typeCell(forTable, "Drinks");   // the new line's category, Tab moves on to its amount
    EXPECT_EQ(forTable->editedRow(), 1);
    EXPECT_EQ(forTable->editedColumn(), 1);
    click(sheet, "OKButton");

    EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(env.alerts().numbers());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewTransaction});
    EXPECT_EQ(doc.sent()[0].target, nullptr);
    auto booked = lastBooked();
    EXPECT_EQ(booked->getName(), "Saturday market");
    EXPECT_EQ(booked->mTotalAmount(), 100.0);
    EXPECT_EQ(linesOf(booked->mFromList()), (std::vector<std::pair<std::string, double>>{{"Bank", 100.0}}));
    EXPECT_EQ(linesOf(booked->mToList()), (std::vector<std::pair<std::string, double>>{{"Market stall", 100.0}}));
    EXPECT_EQ(linesOf(booked->mForList()),
              (std::vector<std::pair<std::string, double>>{{"Food", 60.0}, {"Drinks", 40.0}}));
    EXPECT_EQ(doc.refreshes, 1);
}

// "+" while a line is being typed: the line keeps what was typed, and the
// keys that follow go into the new line, which proposes what is left.
TEST_F(TransactionSheetTest, PlusWhileTypingALineAddsTheRestAndTypingGoesThere)
{
    open(newFromBankToStall());
    typeNameAndTotal("Furniture shop", "120");
    auto* forTable = table("mForTable");
    clickCell(forTable, 0, TransactionLinesModel::kAccountColumn);
    typeCell(forTable, "Food");
    ASSERT_EQ(forTable->editedColumn(), TransactionLinesModel::kAmountColumn);
    QTest::keyClicks(forTable->editor(), "70");
    click(sheet, "mForTableInsert");

    ASSERT_EQ(forTable->linesModel()->rowCount(), 2);
    EXPECT_EQ(forTable->editedRow(), 1);
    EXPECT_EQ(forTable->editedColumn(), TransactionLinesModel::kAccountColumn);
    EXPECT_EQ(forTable->linesModel()->lineAt(1)->getForeignAmount(), std::optional<double>(50.0));
    // Proposed as the completion proposes it, not as income.
    EXPECT_EQ(forTable->linesModel()->lineAt(1)->account(),
              std::optional<long>(doc.root().mPreference->Get_mDefExpTUnspecifiedExpense()));
    typeCell(forTable, "Drinks");
    typeCell(forTable, "50");
    click(sheet, "OKButton");

    EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(env.alerts().numbers());
    EXPECT_EQ(linesOf(lastBooked()->mForList()),
              (std::vector<std::pair<std::string, double>>{{"Food", 70.0}, {"Drinks", 50.0}}));
}

// Asked for with nothing to start from (the menu's New Transaction), the
// sheet starts from the books' own account, as Quick Entry does, and books
// from there: never Income to Income.
TEST_F(TransactionSheetTest, PlainNewTransactionStartsFromTheBooksOwnAccount)
{
    const long own = doc.root().mPreference->Get_mDefAccntOwnProperty();
    ASSERT_GT(own, 0);
    open({{std::string(key::kAction), 1L}, {std::string(key::kTransactionType), 3L}});
    EXPECT_EQ(table("mFromTable")->linesModel()->lineAt(0)->account(), std::optional<long>(own));
    typeInto(outlet(sheet, "mNameField"), "Bakery");
    typeInto(outlet(sheet, "mAmountField"), "12");
    QTest::keyClick(outlet(sheet, "mAmountField"), Qt::Key_Tab);
    click(sheet, "OKButton");

    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewTransaction});
    auto booked = lastBooked();
    ASSERT_EQ(booked->mFromList().size(), 1u);
    ASSERT_EQ(booked->mToList().size(), 1u);
    EXPECT_EQ(booked->mFromList()[0]->account(), std::optional<long>(own));
    EXPECT_NE(booked->mToList()[0]->account(), std::optional<long>(own));
}

TEST_F(TransactionSheetTest, FromTableAddsTheRestAndStaysThenMovesOn)
{
    open({{std::string(key::kAction), 1L}, {std::string(key::kTransactionType), 3L}});
    typeNameAndTotal("Transfer", "100");
    auto* from = table("mFromTable");
    from->setFocus(Qt::TabFocusReason);
    typeCell(from, "Bank");
    typeCell(from, "30");
    typeCell(from, "EUR");
    ASSERT_EQ(from->linesModel()->rowCount(), 2);
    EXPECT_EQ(from->linesModel()->lineAt(1)->getForeignAmount(), 70.0);
    EXPECT_EQ(from->editedRow(), 1);
    EXPECT_EQ(from->editedColumn(), 0);
    typeCell(from, "Bank");
    typeCell(from, "70");
    typeCell(from, "EUR");
    // Balanced: the to table's first cell is edited.
    EXPECT_EQ(table("mToTable")->editedRow(), 0);
    EXPECT_EQ(table("mToTable")->editedColumn(), 0);
    // Shift-Tab in the first cell of the to table goes back to the last cell of the from table.
    typeCell(table("mToTable"), "Bank", Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(from->editedRow(), 1);
    EXPECT_EQ(from->editedColumn(), 2);
}

TEST_F(TransactionSheetTest, CellsAndFieldsRefuseBadInputKeepingTheText)
{
    open(newFromBankToStall());
    typeInto(outlet(sheet, "mNameField"), "Market");
    auto* from = table("mFromTable");
    from->setFocus(Qt::TabFocusReason);
    typeCell(from, "Nowhere");
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{224});
    EXPECT_EQ(from->editedColumn(), 0);
    env.alerts().clear();
    typeCell(from, "Bank");
    typeCell(from, "5/0");
    ASSERT_EQ(env.alerts().records().size(), 1u);
    EXPECT_EQ(env.alerts().records()[0].alert.message, localized("CONVFL"));
    EXPECT_EQ(from->editedColumn(), 1);
    env.alerts().clear();
    typeCell(from, "1000000000000.01");   // beyond the amount limit
    ASSERT_EQ(env.alerts().records().size(), 1u);
    EXPECT_EQ(env.alerts().records()[0].alert.message,
              formatMessage(localized("AMOUNTLIMIT"), {"1,000,000,000,000.00"}));
    EXPECT_EQ(from->editedColumn(), 1);
    QTest::keyClick(from->editor(), Qt::Key_Escape);

    struct Case {
        const char* field;
        const char* text;
        long error;
    };
    const Case cases[] = {
        {"mDateField", "30.02.2024", 151},   // no such day
        {"mDateField", "someday", 151},
        {"mNameField", "", 202},
        {"mCurrencyField", "777", 253},      // no currency has this id
    };
    for (const Case& c : cases) {
        typeInto(outlet(sheet, "mNameField"), "Market");
        typeInto(outlet(sheet, "mDateField"), "15.03.2024");
        typeInto(outlet(sheet, "mCurrencyField"), "EUR");
        typeInto(outlet(sheet, c.field), c.text);
        env.alerts().clear();
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.field << " " << c.text;
        EXPECT_TRUE(sheet.isVisible());
        QWidget* field = outlet(sheet, c.field);
        const QString shown = qobject_cast<QLineEdit*>(field) ? qobject_cast<QLineEdit*>(field)->text()
                                                             : field->findChild<QLineEdit*>()->text();
        EXPECT_EQ(shown, c.text);
    }
    EXPECT_TRUE(doc.sent().empty());
}

// A double click on a cell edits it as F2 does: its whole text selected, so
// that what is typed replaces it. The clicks reach the sheet's window, as a
// person's do: the second one lands on the editor the first one opened.
TEST_F(TransactionSheetTest, ADoubleClickOnACellEditsItWithItsWholeTextSelected)
{
    open({{std::string(key::kAction), 1L},
          {std::string(key::kTransactionType), 3L},
          {std::string(key::kExpenseType),
           doc.dataItemController().categoryItemForCategory(doc.root().GetExpenseTypeForID(40))}});
    auto* forTable = table("mForTable");
    struct Case {
        int column;
        const char* typed;
        std::string kept;
    };
    for (const Case& c : {Case{TransactionLinesModel::kAmountColumn, "12.50", "12.50"},
                          Case{TransactionLinesModel::kAccountColumn, "Drinks", "Drinks"}}) {
        const QModelIndex cell = forTable->linesModel()->index(0, c.column);
        const QString before = cell.data().toString();
        const QRect shown = forTable->visualRect(cell);
        const QPoint at = forTable->viewport()->mapTo(&sheet, shown.center());
        QTest::mouseDClick(sheet.windowHandle(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
        ASSERT_EQ(forTable->editedColumn(), c.column);
        QWidget* focus = QApplication::focusWidget();
        auto* field = qobject_cast<QComboBox*>(focus) ? qobject_cast<QComboBox*>(focus)->lineEdit()
                                                      : qobject_cast<QLineEdit*>(focus);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->selectedText(), before) << c.column;
        QTest::keyClicks(field, c.typed);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(forTable->linesModel()->index(0, c.column).data().toString().toStdString(), c.kept);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
}

// An unknown category is told once: the cell keeps its text selected for
// correction, and OK with the same text goes back to it without telling
// again.
TEST_F(TransactionSheetTest, AnUnknownCategoryIsToldOnceAndLeftSelectedForCorrection)
{
    open(newFromBankToStall());
    typeNameAndTotal("Market", "20");
    auto* forTable = table("mForTable");
    clickCell(forTable, 0, TransactionLinesModel::kAccountColumn);
    env.alerts().clear();
    typeCell(forTable, "Furnishing");
    auto selectedInCell = [&] {
        auto* popup = qobject_cast<QComboBox*>(forTable->editor());
        return popup && popup->lineEdit() ? popup->lineEdit()->selectedText() : QString();
    };
    auto cellHasFocus = [&] {
        return forTable->editor() && forTable->editor()->isAncestorOf(QApplication::focusWidget());
    };
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{224});
    EXPECT_EQ(forTable->editedColumn(), TransactionLinesModel::kAccountColumn);
    EXPECT_EQ(selectedInCell(), "Furnishing");
    EXPECT_TRUE(cellHasFocus());

    click(sheet, "OKButton");
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{224}) << "told once";
    EXPECT_EQ(selectedInCell(), "Furnishing");
    EXPECT_TRUE(cellHasFocus());

    // Typing replaces the selected text.
    QTest::keyClicks(QApplication::focusWidget(), "Drinks");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    click(sheet, "OKButton");
    ASSERT_FALSE(sheet.isVisible()) << ::testing::PrintToString(env.alerts().numbers());
    EXPECT_EQ(linesOf(lastBooked()->mForList()), (std::vector<std::pair<std::string, double>>{{"Drinks", 20.0}}));
}

TEST_F(TransactionSheetTest, ModifyKeepsTheDateAndCopyGetsToday)
{
    CTransaction* model = doc.addTransaction(20240101, 20, 21, 40, 12.5);
    auto existing = doc.transactionItem(model);
    existing->setGetName("Old name");
    for (long action : {2L, 1L}) {
        open({{std::string(key::kAction), action}, {std::string(key::kTransaction), existing}});
        EXPECT_EQ(outlet<QLineEdit>(sheet, "mNameField")->text().toStdString(), existing->getName());
        typeInto(outlet(sheet, "mNameField"), action == 2 ? "New name" : "Copy");
        click(sheet, "OKButton");
    }
    ASSERT_EQ(doc.sentNumbers(), (std::vector<int>{command::kModifyTransaction, command::kNewTransaction}));
    EXPECT_EQ(doc.sent()[0].target, existing);
    EXPECT_EQ(existing->getName(), "New name");
    EXPECT_EQ(existing->mDate(), 20240101);
    auto copy = lastBooked();
    EXPECT_EQ(copy->getName(), "Copy");
    EXPECT_EQ(copy->mDate(), CDate::GetNowAsDateT());
}

// A copy is booked today, its dollar line at today's rate. A transfer that
// balanced at the rate of its old day (8.00 for 10 dollars) no longer
// balances at today's (10.00): the sheet shows the line so and refuses, rather
// than booking the copy unbalanced. The same for a transaction of today whose
// line was booked before today's rate changed.
TEST_F(TransactionSheetTest, CopyOfAForeignLineIsCheckedAtTodaysRate)
{
    constexpr ObjectIdT kUSD = 8;
    doc.addCurrency(kUSD, "USD", 1, 1.0);
    doc.addAccount(22, 1, "Dollar bank")->Put_mCurrency(kUSD);
    for (const DateT booked : {DateT(20240301), CDate::GetNowAsDateT()}) {
        SCOPED_TRACE(booked);
        CTransaction* model = doc.addTransaction(booked, 20, 22, 40, 8.0);
        model->Put_Status(status::kBalancing);
        auto* dollars = static_cast<CDebit*>(model->GetCreditList()->ObjectAt(1));
        dollars->Put_mCurrency(kUSD, nullptr);
        dollars->Put_mAmounts(8.0, 10.0);

        env.alerts().clear();
        open({{std::string(key::kAction), 1L}, {std::string(key::kTransaction), doc.transactionItem(model)}});
        const auto* copied = static_cast<CTransaction*>(sheet.logic().temporaryTransaction()->getSourceItem());
        EXPECT_DOUBLE_EQ(static_cast<const CDebit*>(copied->GetCreditList()->ObjectAt(1))->Get_mLocalAmount(), 10.0);
        click(sheet, "OKButton");
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{128});
        EXPECT_TRUE(doc.sent().empty());
        click(sheet, "CancelButton");
    }
}

TEST_F(TransactionSheetTest, APaymentModifiedStaysLinkedToWhatItPays)
{
    CTransaction* model = doc.addTransaction(20240101, 20, 21, 40, 12.5);
    model->Put_mReferenceObjectId(77);
    auto payment = doc.transactionItem(model);
    open({{std::string(key::kAction), 2L}, {std::string(key::kTransaction), payment}});
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kModifyTransaction});
    EXPECT_EQ(payment->mReferenceObjectId(), 77);
}

// A payment's category line says what it settles (the income or expense
// paid, the VAT it releases), not what its two own accounts gain or lose:
// between a bank and an open-invoice account that holds property, or a debt,
// it is no balance to correct. Okayed as it came, it stays as booked.
TEST_F(TransactionSheetTest, APaymentBetweenOwnAccountsOkayedUnchangedKeepsItsCategoryLines)
{
    doc.addAccount(22, 1, "Customer:Receivable");
    doc.addAccount(23, 2, "Supplier:Payable");
    const struct {
        const char* what;
        TransactionTypeT type;
        ObjectIdT from, to;
    } cases[] = {{"a customer's payment", 6, 22, 20}, {"a supplier's payment", 7, 20, 23}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CTransaction* model = doc.addTransaction(20240301, c.from, c.to, 40, 1271.88);
        model->Put_mTransactionType(c.type);
        const auto* category = static_cast<const CDebit*>(model->GetExpenseTypeList()->ObjectAt(1));
        ASSERT_DOUBLE_EQ(category->Get_mLocalAmount(), 1271.88);
        open({{std::string(key::kAction), 2L}, {std::string(key::kTransaction), doc.transactionItem(model)}});
        click(sheet, "OKButton");
        EXPECT_TRUE(env.alerts().numbers().empty()) << ::testing::PrintToString(env.alerts().numbers());
        EXPECT_EQ(doc.sentNumbers().back(), command::kModifyTransaction);
        category = static_cast<const CDebit*>(model->GetExpenseTypeList()->ObjectAt(1));
        EXPECT_EQ(category->Get_mAccountId(), 40);
        EXPECT_DOUBLE_EQ(category->Get_mLocalAmount(), 1271.88);
    }
}

TEST_F(TransactionSheetTest, CancelBooksNothing)
{
    const auto before = doc.root().mTransactionList->GetCount();
    open(newFromBankToStall());
    typeInto(outlet(sheet, "mNameField"), "Not booked");
    typeInto(outlet(sheet, "mAmountField"), "10");
    click(sheet, "CancelButton");
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(doc.sent().empty());
    EXPECT_EQ(doc.root().mTransactionList->GetCount(), before);
}

TEST_F(TransactionSheetTest, AccountMadeFromACellLandsInThatRow)
{
    CNewAccountController accountSheet;
    sheet.newObjectRequested = [&](bool account, const SheetParameters& parameters) {
        ASSERT_TRUE(account);
        accountSheet.openSheet(&sheet, parameters);
    };
    open(newFromBankToStall());
    auto* to = table("mToTable");
    to->setFocus(Qt::TabFocusReason);
    to->newObject();
    ASSERT_TRUE(accountSheet.isVisible());
    typeInto(outlet(accountSheet, "nameField"), "Cash");
    typeInto(outlet(accountSheet, "accountTypePopup"), "1");
    click(accountSheet, "OKButton");
    EXPECT_FALSE(accountSheet.isVisible());
    const long cash = doc.root().GetAccountForName(std::string_view("Cash"))->Get_Id();
    EXPECT_EQ(to->linesModel()->lineAt(0)->account(), cash);
    EXPECT_EQ(to->editedRow(), 0);
    EXPECT_TRUE(sheet.isVisible());
}

TEST_F(TransactionSheetTest, OkAndNextBooksAndOffersANewEntry)
{
    open(newFromBankToStall());
    typeInto(outlet(sheet, "mNameField"), "First");
    typeInto(outlet(sheet, "mAmountField"), "10");
    click(sheet, "controlOkButton");
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewTransaction});
    EXPECT_EQ(lastBooked()->getName(), "First");
    EXPECT_NE(outlet<QLineEdit>(sheet, "mNameField")->text(), "First");
    EXPECT_NE(sheet.logic().temporaryTransaction()->getSourceItem(), lastBooked()->getSourceItem());
    EXPECT_EQ(sheet.logic().temporaryTransaction()->mTransactionType(), 3);
}

// Lines hold the home amounts they were booked at, which need not be what
// their amounts convert to today: a rate given since for the day, a cent an
// earlier home currency left, a home-currency remainder that moves no money
// of the account's own. Okayed as it came, the transaction keeps them all.
TEST_F(TransactionSheetTest, OkayedUnchangedKeepsTheHomeAmountsItsLinesWereBookedAt)
{
    constexpr ObjectIdT kEUR = 1, kUSD = 8, kCorrectionAccount = 1, kOpening = 4, kCorrections = 6;
    doc.addCurrency(kUSD, "USD", 1, 1.0);
    doc.addAccount(22, 1, "Dollar bank")->Put_mCurrency(kUSD);
    struct Line {
        ObjectIdT account, currency;
        double amount, local;
    };
    struct Case {
        const char* what;
        ObjectIdT currency;
        double total, local;
        Line from, to, category;
    };
    const Case cases[] = {
        {"an opening in dollars, its category line a cent off the total, at an earlier rate of its day", kUSD,
         156.90, 67.77, {21, kUSD, 156.90, 67.77}, {22, kUSD, 156.90, 67.77}, {kOpening, kUSD, 156.89, 67.77}},
        {"lines in the home currency a cent off their amounts, as an earlier home currency left them", kEUR,
         284.66, 284.65, {21, kEUR, 284.66, 284.65}, {20, kEUR, 284.66, 284.65}, {kOpening, kEUR, 284.65, 284.65}},
        {"a home-currency remainder: home amounts only", kEUR, 0.0, 4.57, {22, kUSD, 0.0, 4.57},
         {kCorrectionAccount, kEUR, 0.0, 4.57}, {kCorrections, kEUR, 0.0, -4.57}},
    };
    auto linesOf = [](const CTransaction& t) {
        std::vector<std::tuple<ObjectIdT, ObjectIdT, double, double>> out;
        for (const CNamedListArray* list : {t.GetDebitList(), t.GetCreditList(), t.GetExpenseTypeList()})
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
                const auto* line = static_cast<const CDebit*>(list->ObjectAt(i));
                out.emplace_back(line->Get_mAccountId(), line->Get_mCurrency(), line->Get_mAmount(),
                                 line->Get_mLocalAmount());
            }
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTransaction* model = doc.addTransaction(20240301, c.from.account, c.to.account, c.category.account, c.total);
        model->Put_Status(status::kBalancing);
        model->Put_mCurrencyId(c.currency, nullptr);
        model->Put_mTotalAmount(c.total);
        model->Put_mLocalAmount(c.local);
        for (auto [list, line] : {std::pair{model->GetDebitList(), c.from}, std::pair{model->GetCreditList(), c.to},
                                  std::pair{model->GetExpenseTypeList(), c.category}}) {
            auto* booked = static_cast<CDebit*>(list->ObjectAt(1));
            booked->Put_mCurrency(line.currency, nullptr);
            booked->Put_mAmounts(line.local, line.amount);
        }
        const auto before = linesOf(*model);
        const std::size_t sent = doc.sent().size();
        open({{std::string(key::kAction), 2L}, {std::string(key::kTransaction), doc.transactionItem(model)}});
        click(sheet, "OKButton");
        EXPECT_TRUE(env.alerts().numbers().empty()) << ::testing::PrintToString(env.alerts().numbers());
        env.alerts().clear();
        ASSERT_EQ(doc.sent().size(), sent + 1);
        EXPECT_EQ(doc.sent().back().command, command::kModifyTransaction);
        EXPECT_EQ(linesOf(*model), before);
        EXPECT_DOUBLE_EQ(model->Get_mLocalAmount(), c.local);
    }
}

} // namespace
} // namespace ch::test
