// A statement whose counter accounts the books do not know is finished on
// the import page as a person does it: each line's counter account chosen in
// its table cell by typing its name, one account made with "New Account…"
// from its line, an owner made with "New Owner…" from a line, a category
// chosen; then every line is booked, the balances follow, and the books are
// marked edited. Another statement, of an account and in a currency code the
// books do not know, is finished by clicking entries of the cells' lists
// with the mouse.

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ImportPage.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;
using Columns = CImportedTransactionArrayController;

constexpr long kOwnType = 1;
constexpr long kProfitAndLossType = 3;

// Three lines on the checking account, none naming an account of the books.
const std::string kStatement = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250910<TRNAMT>-42.50<FITID>1<NAME>FM STORE 0412<MEMO>Food</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250912<TRNAMT>-800.00<FITID>2<NAME>RENT SEPTEMBER</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20250915<TRNAMT>2500.00<FITID>3<NAME>ACME PAYROLL</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

class ImportPageWindowTest : public ApplicationFixture {
protected:
    ImportPageWindowTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }

    long account(const char* name, long type, const char* bankNumber = nullptr)
    {
        return makeAccount(books(), name, type, bankNumber);
    }

    const CAccount* accountNamed(const char* name) { return books().getAccountForName(name); }

    // An expense category, made as the category sheet makes it; its id.
    long category(const char* name) { return makeExpenseCategory(books(), name); }

    ImportPage* importPage() { return dynamic_cast<ImportPage*>(frame().mainTab("Import")); }

    // The statement written under the name and imported through File > Import > OFX.
    ImportPage* importStatement(const char* name, const std::string& text)
    {
        statementPath = folder.filePath(name);
        std::ofstream(statementPath.toStdString(), std::ios::binary) << text;
        choose("importOFX");
        return importPage();
    }

    // The row of the line paying or paid by that partner.
    static int rowOf(const Columns& model, const std::string& partner)
    {
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.lineAt(row)->mPartnerName() == partner) return row;
        ADD_FAILURE() << "no line of " << partner;
        return -1;
    }

    static void selectRow(QTableView* table, int row)
    {
        const QModelIndex index = table->model()->index(row, Columns::Title);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
        settle();
    }

    // The cell's list, opened for editing by a double click on the cell.
    static QComboBox* openChoice(QTableView* table, int row, int column)
    {
        const QModelIndex index = table->model()->index(row, column);
        table->scrollTo(index);
        const QPoint at = table->visualRect(index).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
        settle();
        auto* box = qobject_cast<QComboBox*>(table->indexWidget(index));
        return box && box->isVisible() ? box : nullptr;
    }

    // The name is typed into the cell's list and Return sets it.
    static void chooseInCell(QTableView* table, int row, int column, const QString& name)
    {
        QComboBox* box = openChoice(table, row, column);
        ASSERT_NE(box, nullptr) << name.toStdString();
        QTest::keyClicks(box, name);
        EXPECT_EQ(box->currentText(), name);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }

    // As a person does it with the mouse: a click on the cell's editor opens
    // its list, the pointer goes to the entry and clicks it.
    static void clickInCell(QTableView* table, int row, int column, const QString& entry)
    {
        QComboBox* box = openChoice(table, row, column);
        ASSERT_NE(box, nullptr) << entry.toStdString();
        QTest::mouseClick(box, Qt::LeftButton);
        settle();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(list->isVisible()) << entry.toStdString();
        const int found = box->findText(entry);
        ASSERT_GE(found, 0) << entry.toStdString();
        const QModelIndex item = box->model()->index(found, 0);
        list->scrollTo(item);
        const QPoint on = list->visualRect(item).center();
        QTest::mouseMove(list->viewport(), on);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, on);
        settle();
        EXPECT_FALSE(list->isVisible()) << entry.toStdString();
    }

    static void clickButton(ImportPage& page, const char* name)
    {
        auto* button = page.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }

    CPopupWindowAncestor* openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    const RecordingAlertPresenter::Record* lastInfo()
    {
        const auto& records = environment.alerts().records();
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->kind == RecordingAlertPresenter::Kind::Info) return &*it;
        return nullptr;
    }
};

TEST_F(ImportPageWindowTest, UnknownCounterAccountsAreChosenInTheTableAndEveryLineIsBooked)
{
    // Saved books with the checking account, two shops' accounts and a category.
    booksPath = folder.filePath("Import.books");
    controller.makeNewDocument(false);
    settle();
    account("Checking", kOwnType, "111-2223334-55");
    account("Fresh Market", kProfitAndLossType);
    account("Landlord", kProfitAndLossType);
    category("Groceries");
    ASSERT_TRUE(controller.saveAs(window()));
    settle();
    ASSERT_FALSE(books().isDocumentEdited());

    ImportPage* page = importStatement("september.ofx", kStatement);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->isVisible());
    Columns& model = page->model();
    QTableView* table = page->table();
    ASSERT_EQ(model.rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_FALSE(model.lineAt(row)->isComplete());
        EXPECT_NE(model.lineAt(row)->mRemark().find(localized("IMPOTHACC")), std::string::npos);
        EXPECT_EQ(model.data(model.index(row, Columns::OwnAccount)).toString(), "Checking");
        EXPECT_EQ(model.data(model.index(row, Columns::CounterAccount)).toString(), "");
    }

    // Nothing can be booked yet, and the page says so.
    environment.alerts().clear();
    clickButton(*page, "mImportButton");
    ASSERT_NE(lastInfo(), nullptr);
    EXPECT_EQ(lastInfo()->alert.number, 301);
    EXPECT_NE(lastInfo()->alert.message.find(formatMessage(localized("305"), {3})), std::string::npos)
        << lastInfo()->alert.message;
    EXPECT_EQ(model.rowCount(), 3);

    // Two counter accounts typed into their cells; the statement's names are
    // not taken over as the accounts' names (question 206: Return chooses
    // its default button, No, since a renamed account changes the books).
    environment.alerts().clear();
    for (int i = 0; i < 2; ++i) environment.alerts().scriptAnswer(AlertAnswer::Default);
    chooseInCell(table, rowOf(model, "FM STORE 0412"), Columns::CounterAccount, "Fresh Market");
    chooseInCell(table, rowOf(model, "RENT SEPTEMBER"), Columns::CounterAccount, "Landlord");
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{206, 206}));
    for (const auto& asked : environment.alerts().records())
        EXPECT_EQ(asked.alert.defaultButton, localized("NO")) << asked.alert.message;
    EXPECT_NE(accountNamed("Landlord"), nullptr);
    EXPECT_NE(accountNamed("Fresh Market"), nullptr);
    chooseInCell(table, rowOf(model, "FM STORE 0412"), Columns::Category, "Groceries");
    const int food = rowOf(model, "FM STORE 0412");
    EXPECT_EQ(model.data(model.index(food, Columns::CounterAccount)).toString(), "Fresh Market");
    EXPECT_EQ(model.data(model.index(food, Columns::Category)).toString(), "Groceries");
    EXPECT_TRUE(model.lineAt(food)->isComplete()) << model.lineAt(food)->mRemark();
    EXPECT_TRUE(model.lineAt(rowOf(model, "RENT SEPTEMBER"))->isComplete());

    // The rent's landlord: a new owner made from the line owns its account.
    selectRow(table, rowOf(model, "RENT SEPTEMBER"));
    clickButton(*page, "mNewOwnerFromImportButton");
    CPopupWindowAncestor* ownerSheet = openSheet();
    ASSERT_NE(ownerSheet, nullptr);
    auto* ownerName = outlet<QLineEdit>(*ownerSheet, "nameField");
    ASSERT_NE(ownerName, nullptr);
    EXPECT_EQ(ownerName->text(), "RENT SEPTEMBER");
    typeInto(ownerName, "Mr Fenwick");
    click(*ownerSheet, "OKButton");
    settle();
    const CAccountOwner* fenwick = nullptr;
    for (const auto& owner : books().mOwnerArray())
        if (owner && owner->getSourceItem() &&
            static_cast<const CAccountOwner*>(owner->getSourceItem())->Get_StringrefName() == "Mr Fenwick")
            fenwick = static_cast<const CAccountOwner*>(owner->getSourceItem());
    ASSERT_NE(fenwick, nullptr);
    EXPECT_EQ(accountNamed("Landlord")->Get_mAccountOwnerId(), fenwick->Get_Id());
    EXPECT_EQ(model.data(model.index(rowOf(model, "RENT SEPTEMBER"), Columns::Counterparty)).toString(), "Mr Fenwick");

    // The pay's account is new: made from its line, it completes the line.
    selectRow(table, rowOf(model, "ACME PAYROLL"));
    clickButton(*page, "mNewAccountFromImportButton");
    CPopupWindowAncestor* accountSheet = openSheet();
    ASSERT_NE(accountSheet, nullptr);
    auto* accountName = outlet<QLineEdit>(*accountSheet, "nameField");
    ASSERT_NE(accountName, nullptr);
    EXPECT_EQ(accountName->text(), "ACME PAYROLL");
    const CAccType* incomeType = books().accounting()->GetAccountTypeForId(kProfitAndLossType);
    ASSERT_NE(incomeType, nullptr);
    typeInto(outlet(*accountSheet, "accountTypePopup"), QString::fromStdString(incomeType->Get_StringrefName()));
    QSignalSpy redrawn(&model, &QAbstractItemModel::dataChanged);
    click(*accountSheet, "OKButton");
    settle();
    const CAccount* acme = accountNamed("ACME PAYROLL");
    ASSERT_NE(acme, nullptr);
    const int pay = rowOf(model, "ACME PAYROLL");
    EXPECT_EQ(model.lineAt(pay)->mOtherAccountId(), acme->Get_Id());
    EXPECT_TRUE(model.lineAt(pay)->isComplete()) << model.lineAt(pay)->mRemark();
    EXPECT_FALSE(redrawn.isEmpty()) << "the completed line is drawn again";

    // Every line books; the page says how many.
    environment.alerts().clear();
    clickButton(*page, "mImportButton");
    ASSERT_NE(lastInfo(), nullptr);
    EXPECT_EQ(lastInfo()->alert.number, 302);
    EXPECT_EQ(lastInfo()->alert.message, formatMessage(localized("302"), {3, 3}));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(books().mTransactionArray().size(), 3u);
    EXPECT_DOUBLE_EQ(accountNamed("Checking")->Get_mBalance(), 2500.00 - 800.00 - 42.50);
    EXPECT_DOUBLE_EQ(std::abs(accountNamed("Fresh Market")->Get_mBalance()), 42.50);
    EXPECT_DOUBLE_EQ(std::abs(accountNamed("Landlord")->Get_mBalance()), 800.00);
    EXPECT_DOUBLE_EQ(std::abs(acme->Get_mBalance()), 2500.00);
    EXPECT_TRUE(books().isDocumentEdited());
}

// The bank writes "SFR" for Swiss francs and names an account number the
// books do not know: every choice is a click on an entry of a cell's list.
const std::string kFrancStatement = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>SFR\n"
    "<BANKACCTFROM><BANKID>222<ACCTID>999-8887776-66<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250910<TRNAMT>-42.50<FITID>1<NAME>FM STORE 0412</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250912<TRNAMT>-800.00<FITID>2<NAME>RENT SEPTEMBER</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

TEST_F(ImportPageWindowTest, LinesAreFinishedByClickingEntriesOfTheCellsLists)
{
    controller.makeNewDocument(false);
    settle();
    const long checking = account("Checking", kOwnType);
    account("Savings", kOwnType);
    account("Fresh Market", kProfitAndLossType);
    account("Landlord", kProfitAndLossType);
    const long groceries = category("Groceries");
    // Francs at par, so that the balances read as the statement's amounts.
    arguments::CurrencyArguments franc;
    franc.symbol = "CHF";
    franc.description = "Swiss Franc";
    franc.conversionQuantity = 1;
    franc.conversionFactor = 1.0;
    books().commandExecutor().executeCommand(6, nullptr, franc);
    const CCurrency* francs = books().accounting()->GetCurrencyForSymbol("CHF");
    ASSERT_NE(francs, nullptr);

    ImportPage* page = importStatement("francs.ofx", kFrancStatement);
    ASSERT_NE(page, nullptr);
    Columns& model = page->model();
    QTableView* table = page->table();
    ASSERT_EQ(model.rowCount(), 2);
    const int food = rowOf(model, "FM STORE 0412"), rent = rowOf(model, "RENT SEPTEMBER");
    for (const char* remark : {"IMPOWNACC", "IMPOTHACC", "IMPCUR"})
        EXPECT_NE(model.lineAt(food)->mRemark().find(localized(remark)), std::string::npos) << remark;
    EXPECT_EQ(model.data(model.index(food, Columns::Currency)).toString(), "SFR");

    // The own account: the statement's number becomes Checking's (question
    // 207, OK), so the rent's line finds it too. The shops' names are not
    // taken over (question 206, No).
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    for (int i = 0; i < 2; ++i) environment.alerts().scriptAnswer(AlertAnswer::Default);   // No
    clickInCell(table, food, Columns::OwnAccount, "Checking");
    EXPECT_EQ(model.lineAt(food)->mOurAccountId(), checking);
    EXPECT_EQ(model.lineAt(rent)->mOurAccountId(), checking);
    clickInCell(table, food, Columns::CounterAccount, "Fresh Market");
    clickInCell(table, rent, Columns::CounterAccount, "Landlord");
    clickInCell(table, food, Columns::Category, "Groceries");
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{207, 206, 206}));
    EXPECT_EQ(model.data(model.index(food, Columns::CounterAccount)).toString(), "Fresh Market");
    EXPECT_EQ(model.data(model.index(rent, Columns::CounterAccount)).toString(), "Landlord");
    EXPECT_EQ(model.lineAt(food)->mExpenseTypeId(), groceries);
    EXPECT_FALSE(model.lineAt(food)->isComplete()) << "still no currency";

    // The currency: asked, the franc learns the bank's code (question 390,
    // OK), and both lines take it.
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    clickInCell(table, food, Columns::Currency, QString::fromStdString(francs->Get_StringrefName()));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{390});
    EXPECT_EQ(francs->Get_ShortStringRefName(), "SFR");
    for (int row : {food, rent}) {
        EXPECT_EQ(model.lineAt(row)->mCurrencyId(), francs->Get_Id());
        EXPECT_TRUE(model.lineAt(row)->isComplete()) << model.lineAt(row)->mRemark();
        EXPECT_EQ(model.data(model.index(row, Columns::Currency)).toString(), "SFR");
    }

    environment.alerts().clear();
    clickButton(*page, "mImportButton");
    ASSERT_NE(lastInfo(), nullptr);
    EXPECT_EQ(lastInfo()->alert.message, formatMessage(localized("302"), {2, 2}));
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_DOUBLE_EQ(accountNamed("Checking")->Get_mBalance(), -842.50);
    EXPECT_DOUBLE_EQ(std::abs(accountNamed("Fresh Market")->Get_mBalance()), 42.50);
    EXPECT_DOUBLE_EQ(std::abs(accountNamed("Landlord")->Get_mBalance()), 800.00);
    EXPECT_EQ(accountNamed("Savings")->Get_mBalance(), 0.0);
    for (const auto& booked : books().mTransactionArray()) EXPECT_EQ(booked->mCurrencyId(), francs->Get_Id());
}

// Two card payments at the coffee bar, the first already booked by hand.
const std::string kCoffeeStatement = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>POS<DTPOSTED>20250910<TRNAMT>-3.80<FITID>1<NAME>Coffee Bar<MEMO>Coffee</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>POS<DTPOSTED>20250912<TRNAMT>-2.50<FITID>2<NAME>Coffee Bar<MEMO>Coffee</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

TEST_F(ImportPageWindowTest, ALineAlreadyBookedIsUntickedAndNamesAreBookedOnce)
{
    controller.makeNewDocument(false);
    settle();
    const long checking = account("Checking", kOwnType, "111-2223334-55");
    const long bar = account("Coffee Bar", kProfitAndLossType);
    const long groceries = category("Groceries");
    bookTransaction(books(), checking, bar, groceries, 3.80, "Coffee Bar", 20250909);
    ASSERT_EQ(books().mTransactionArray().size(), 1u);

    ImportPage* page = importStatement("coffee.ofx", kCoffeeStatement);
    ASSERT_NE(page, nullptr);
    Columns& model = page->model();
    QTableView* table = page->table();
    ASSERT_EQ(model.rowCount(), 2);
    auto rowDated = [&](DateT date) {
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.lineAt(row)->mValueDate() == date) return row;
        ADD_FAILURE() << "no line of " << date;
        return -1;
    };
    for (int row = 0; row < 2; ++row)
        if (model.data(model.index(row, Columns::Category)).toString().isEmpty())
            chooseInCell(table, row, Columns::Category, "Groceries");
    const int booked = rowDated(20250910), fresh = rowDated(20250912);
    ASSERT_TRUE(model.lineAt(booked)->hasDuplicate()) << model.lineAt(booked)->mRemark();
    ASSERT_TRUE(model.lineAt(fresh)->isComplete()) << model.lineAt(fresh)->mRemark();
    // Ticked is what books: the line matching the booked payment is not.
    auto ticked = [&](int row) { return model.data(model.index(row, Columns::Accept), Qt::CheckStateRole).toInt(); };
    EXPECT_EQ(ticked(booked), Qt::Unchecked);
    EXPECT_EQ(ticked(fresh), Qt::Checked);

    clickButton(*page, "mImportButton");
    ASSERT_EQ(books().mTransactionArray().size(), 2u);
    ASSERT_EQ(model.rowCount(), 1);
    // The title already says "Coffee": the memo is not booked again after it.
    for (const auto& transaction : books().mTransactionArray())
        if (std::abs(transaction->mTotalAmount().value_or(0.0) - 2.50) < 0.001) {
            EXPECT_EQ(transaction->getName(), localized("OFXPOS") + " : Coffee Bar");
            EXPECT_EQ(transaction->mDescription(), "");
        }

    // The person ticks the remaining line (a click on it, then the space
    // bar): it is no duplicate after all, and books.
    selectRow(table, 0);
    const QModelIndex box = model.index(0, Columns::Accept);
    table->setCurrentIndex(box);
    QTest::keyClick(table, Qt::Key_Space);
    settle();
    EXPECT_EQ(ticked(0), Qt::Checked);
    EXPECT_FALSE(model.lineAt(0)->hasDuplicate());
    clickButton(*page, "mImportButton");
    EXPECT_EQ(books().mTransactionArray().size(), 3u);
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
} // namespace ch
