// The import line end to end in the window's widgets: a delimited format is
// described with the assistant (columns dragged onto roles) and saved in the
// application-support folder, a statement is read with it, some lines are
// refused on the import page, and exactly the accepted ones are booked, each
// through one journaled command.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include "../../document/document_fixture.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "import/CImpTItem.h"
#include "import/DocumentImport.h"
#include "import/StatementImport.h"
#include "import/ImportDefinition.h"
#include "import/InstallStatementImport.h"
#include "import/views/CExportTransactionController.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ColumnDragging.h"
#include "import/views/ImportPage.h"
#include "import/views/fileImportAssistantWindowController.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "ui/controls/CDateEditField.h"

namespace ch::test {
namespace {

class ImportPageTest : public DocumentTest {
protected:
    ImportPageTest()
    {
        if (const char* old = std::getenv("XDG_DATA_HOME")) mOldDataHome = old;
        setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
        addAccount("Current Account", books::kOwnPropertyType, "111-1111111-11");
        const ObjectIdT shop = addAccount("Shop North", books::kProfitAndLossType, "222-2222222-22");
        root().GetAccountForID(shop)->Put_mDefaultExpenseType(books::kExpenseCategory);
        installStatementImport(*document);
    }
    ~ImportPageTest() override
    {
        if (mOldDataHome) setenv("XDG_DATA_HOME", mOldDataHome->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
    }

    ObjectIdT addAccount(const char* name, ObjectIdT typeId, const char* bankNumber)
    {
        CAccount* account = root().InsertAccount(-1, name, std::string_view(name), "", std::string_view(), typeId,
                                                 books::kEUR, root().GetAccountTypeForId(typeId));
        root().setBankAccountNumberT(bankNumber, account);
        return account->Get_Id();
    }

    std::string writeStatement() const
    {
        const std::string path = folder.file("march.csv");
        std::ofstream out(path, std::ios::binary);
        out << "Account;Date;Amount;Counterparty;Name;Text\r\n"
               "111-1111111-11;20090302;-12;222-2222222-22;Shop North;bread\r\n"
               "111-1111111-11;20090303;-30;222-2222222-22;Shop North;wine\r\n"
               "111-1111111-11;20090304;-7;222-2222222-22;Shop North;milk\r\n";
        return path;
    }

    // A column dropped onto a role field as the user would.
    static void dropColumn(columnDraggingTable& table, RoleTokenField& field, int column)
    {
        std::unique_ptr<QMimeData> data(table.mimeDataForColumn(column));
        ASSERT_TRUE(data);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&field, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QCoreApplication::sendEvent(&field, &drop);
    }

    // Lines as a reader leaves them, installed as the pending list.
    struct Given {
        const char* ourNumber;
        DateT date;
        double amount;
        bool accept = true;
    };
    void install(std::initializer_list<Given> given)
    {
        std::vector<CImpTItem::Ptr> lines;
        for (const Given& each : given) {
            auto line = std::make_shared<CImpTItem>();
            line->setMOurAccountNumber(each.ourNumber);
            line->setMBookingDate(each.date);
            line->setMValueDate(each.date);
            line->setMAmount(each.amount);
            line->setMForeignAccountNumber("222-2222222-22");
            line->setMPartnerName("Shop North");
            line->setMCurrency("EUR");
            line->setMTitle("Shop North");
            line->setMAccept(each.accept);
            line->setDocument(&importDocument);
            line->autoComplete();
            lines.push_back(line);
        }
        document->statementImport().setMImportedTransactionArray(statementLines(lines));
    }

    static void click(QWidget& page, const char* name)
    {
        auto* button = page.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    std::string lastInfo()
    {
        const auto& records = environment.alerts().records();
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->kind == RecordingAlertPresenter::Kind::Info) return it->alert.message;
        return {};
    }

    ScratchFolder dataHome;
    std::optional<std::string> mOldDataHome;
    DocumentImport importDocument{*document};
};

TEST_F(ImportPageTest, ADefinitionMadeWithTheAssistantImportsAndOnlyAcceptedLinesAreBooked)
{
    const std::string statement = writeStatement();

    // The assistant: example file, rules, columns onto roles, name.
    fileImportAssistantWindowController assistant;
    int ended = 0;
    assistant.begin(nullptr, [&](int code) { ended = code; });
    assistant.findChild<QLineEdit*>("exampleFileField")->setText(QString::fromStdString(statement));
    assistant.goNext();
    ASSERT_EQ(assistant.handler().currentPage(), 1);
    assistant.findChild<QSpinBox*>("numberOfLinesToSkipField")->setValue(1);
    assistant.findChild<QSpinBox*>("minNumberOfColumsField")->setValue(6);
    assistant.goNext();
    ASSERT_EQ(assistant.handler().currentPage(), 2);
    columnDraggingTable& columns = *assistant.columnizedTable();
    EXPECT_EQ(columns.columnCount(), 6);
    EXPECT_EQ(columns.rowCount(), 3);
    // Every line of the file shows whole, and every text of a column.
    QCoreApplication::processEvents();
    for (int row = 0; row < columns.rowCount(); ++row) {
        EXPECT_LE(columns.visualItemRect(columns.item(row, 0)).bottom(), columns.viewport()->rect().bottom())
            << "line " << row << " is cut off";
        for (int column = 0; column < columns.columnCount(); ++column)
            if (const QTableWidgetItem* cell = columns.item(row, column))
                EXPECT_GE(columns.columnWidth(column), columns.fontMetrics().horizontalAdvance(cell->text()))
                    << cell->text().toStdString();
    }
    const struct {
        AssistantRole role;
        int column;
    } roles[] = {{AssistantRole::OwnAccountNumber, 0}, {AssistantRole::ValueDate, 1},
                 {AssistantRole::BookingDate, 1},      {AssistantRole::Amount, 2},
                 {AssistantRole::CounterpartyAccountNumber, 3}, {AssistantRole::CounterpartyName, 4},
                 {AssistantRole::Communication, 5}};
    for (const auto& role : roles) dropColumn(columns, *assistant.roleField(role.role), role.column);
    assistant.findChild<QLineEdit*>("dateFormatField")->setText("yyyyMMdd");
    assistant.goNext();
    ASSERT_EQ(assistant.handler().currentPage(), 3);
    // The definition in words.
    const QString preview = assistant.findChild<QPlainTextEdit*>("plistPreviewTextField")->toPlainText();
    EXPECT_TRUE(preview.contains(QStringLiteral("Amount: COL2"))) << preview.toStdString();
    EXPECT_FALSE(preview.contains(QLatin1Char('<'))) << preview.toStdString();

    // A name that would leave the folder is refused, and the page stays.
    environment.alerts().clear();
    assistant.findChild<QLineEdit*>("fileNameField")->setText("../March");
    assistant.goNext();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{370});
    EXPECT_EQ(assistant.handler().currentPage(), 3);
    assistant.findChild<QLineEdit*>("fileNameField")->setText("March Bank");
    assistant.goNext();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(assistant.handler().currentPage(), 0);
    EXPECT_TRUE(std::filesystem::exists(importDefinitionFolder() / "March Bank.plist"));
    EXPECT_EQ(importDefinitionFolder(), std::filesystem::path(dataHome.path()) / "countinghouse" / "IOFile Descriptors");

    // The statement through the saved definition.
    ASSERT_TRUE(document->statementImport().importWithFileDesc("March Bank", statement));
    ImportPage page(*document);
    page.resize(900, 400);
    page.show();
    CImportedTransactionArrayController& model = page.model();
    ASSERT_EQ(model.rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(model.lineAt(row)->isComplete()) << model.lineAt(row)->mRemark();

    // Refuse the second line with its check box, then book.
    const QModelIndex accept = model.index(1, CImportedTransactionArrayController::Accept);
    ASSERT_TRUE(model.setData(accept, Qt::Unchecked, Qt::CheckStateRole));
    const std::string refused = model.lineAt(1)->mTitle();
    page.doActualImport();

    std::vector<int> journaled;
    for (const auto& item : readCommandJournalFile(document->journalFileName()).items)
        journaled.push_back(item.mCommand);
    EXPECT_EQ(journaled, (std::vector<int>{31, 31}));
    std::vector<double> booked;
    for (const auto& transaction : document->mTransactionArray()) booked.push_back(std::abs(transaction->mTotalAmount().value_or(0.0)));
    std::sort(booked.begin(), booked.end());
    EXPECT_EQ(booked, (std::vector<double>{7.0, 12.0}));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.lineAt(0)->mTitle(), refused);
    EXPECT_FALSE(model.lineAt(0)->mAccept());
}

TEST_F(ImportPageTest, OwnAccountOffersTheBooksOwnAccountsAndTheSelectedLinesTakeTheChosenOne)
{
    const ObjectIdT savings = addAccount("Savings", books::kOwnPropertyType, "");
    install({{"999-9999999-99", 20090302, -12.0}, {"999-9999999-99", 20090303, -30.0}});
    const std::size_t accounts = root().mAccountList->GetCount();
    ImportPage page(*document);
    page.resize(1200, 400);
    page.show();
    ASSERT_EQ(page.model().rowCount(), 2);
    EXPECT_FALSE(page.model().lineAt(0)->isComplete());

    // Both lines selected, as a person does it: a click, then a Ctrl-click.
    QTableView* table = page.table();
    for (int row = 0; row < 2; ++row)
        QTest::mouseClick(table->viewport(), Qt::LeftButton, row ? Qt::ControlModifier : Qt::NoModifier,
                          table->visualRect(page.model().index(row, CImportedTransactionArrayController::Title)).center());
    ASSERT_EQ(table->selectionModel()->selectedRows().size(), 2);
    click(page, "mOwnAccountFromImportButton");
    QMenu* menu = page.ownAccountMenu();
    ASSERT_TRUE(menu->isVisible());
    QStringList offered;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) offered << action->text();
    // Own accounts only, by name, then a new one named after the statement.
    ASSERT_GE(offered.size(), 3);
    EXPECT_TRUE(offered.contains("Current Account") && offered.contains("Savings"));
    EXPECT_FALSE(offered.contains("Shop North"));
    QStringList names = offered.mid(0, offered.size() - 1);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, offered.mid(0, offered.size() - 1));
    EXPECT_EQ(offered.back(), QString::fromStdString(formatMessage(localized("IMPNEWOWNACCOUNTITEM"),
                                                                    {"999-9999999-99"})));

    // Savings, and yes, the statement's number is its number from now on:
    // one question for the selection, and every selected line takes it.
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    QAction* chosen = menu->actions().at(int(offered.indexOf("Savings")));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{207});
    EXPECT_EQ(root().mAccountList->GetCount(), accounts) << "no account made";
    for (int row = 0; row < 2; ++row) {
        const auto line = page.model().lineAt(row);
        EXPECT_EQ(line->mOurAccountId(), savings);
        EXPECT_TRUE(line->isComplete()) << line->mRemark();
        EXPECT_EQ(
            page.model().data(page.model().index(row, CImportedTransactionArrayController::OwnAccount)).toString(),
            "Savings");
    }
    EXPECT_EQ(root().GetAccountForID(savings)->Get_StringRefBankAccountNumber(), "999-9999999-99");
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(ImportPageTest, BookingSaysWhyLinesStayAndALineGivenADateInTheTableBooks)
{
    install({{"111-1111111-11", 0, -12.0}, {"111-1111111-11", 20090303, -30.0, false},
             {"111-1111111-11", 20090304, -7.0}});
    ImportPage page(*document);
    page.resize(1200, 400);
    page.show();
    CImportedTransactionArrayController& model = page.model();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_NE(model.lineAt(0)->mRemark().find(localized("IMPDATA")), std::string::npos);
    EXPECT_EQ(model.data(model.index(0, CImportedTransactionArrayController::Date)).toString(), "");

    click(page, "mImportButton");
    EXPECT_EQ(lastInfo(), formatMessage(localized("302"), {1, 3}) + "\n" + formatMessage(localized("303"), {1}) +
                              "\n" + formatMessage(localized("305"), {1}));
    ASSERT_EQ(model.rowCount(), 2);

    // The undated line gets its date in the table, as a user types it.
    QTableView* table = page.table();
    const QModelIndex date = model.index(0, CImportedTransactionArrayController::Date);
    const QPoint at = table->visualRect(date).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    auto* editor = table->viewport()->findChild<QDateEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setDate(QDate(2009, 3, 5));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    const auto undated = model.lineAt(0);
    EXPECT_EQ(undated->mValueDate(), 20090305);
    EXPECT_EQ(undated->mBookingDate(), 20090305);
    EXPECT_TRUE(undated->isComplete()) << undated->mRemark();

    // Nothing accepted is nothing booked, and the page says so.
    ASSERT_TRUE(model.setData(model.index(0, CImportedTransactionArrayController::Accept), Qt::Unchecked,
                              Qt::CheckStateRole));
    click(page, "mImportButton");
    EXPECT_EQ(lastInfo(), localized("301") + "\n" + formatMessage(localized("303"), {2}));
    ASSERT_EQ(model.rowCount(), 2);

    for (int row = 0; row < 2; ++row)
        model.setData(model.index(row, CImportedTransactionArrayController::Accept), Qt::Checked, Qt::CheckStateRole);
    click(page, "mImportButton");
    EXPECT_EQ(lastInfo(), formatMessage(localized("302"), {2, 2}));
    EXPECT_EQ(model.rowCount(), 0);
    std::vector<DateT> dates;
    for (const auto& transaction : document->mTransactionArray()) dates.push_back(transaction->mDate().value_or(0));
    std::sort(dates.begin(), dates.end());
    EXPECT_EQ(dates, (std::vector<DateT>{20090303, 20090304, 20090305}));
}

// A line whose amount did not read shows the statement's text and waits; its
// amount is typed in the table (F2 or a double click) and then it books.
TEST_F(ImportPageTest, ALineWhoseAmountDidNotReadIsGivenItsAmountInTheTableAndBooks)
{
    install({{"111-1111111-11", 20090302, 0.0}, {"111-1111111-11", 20090303, -30.0}});
    const auto unread = std::dynamic_pointer_cast<CImpTItem>(document->statementImport().mImportedTransactionArray()[0]);
    unread->setAmountUnread("12,3O");
    unread->autoComplete();
    ImportPage page(*document);
    page.resize(1200, 400);
    page.show();
    CImportedTransactionArrayController& model = page.model();
    QTableView* table = page.table();
    const QModelIndex amount = model.index(0, CImportedTransactionArrayController::Amount);
    EXPECT_EQ(model.data(amount).toString(), "12,3O");
    EXPECT_FALSE(unread->isComplete());

    // F2 on the cell: text that is no amount is refused, and the line waits.
    table->setCurrentIndex(amount);
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(amount));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "twelve");
    environment.alerts().clear();
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Error);
    EXPECT_TRUE(unread->amountUnread());
    EXPECT_FALSE(unread->isComplete());

    // A double click, the amount as the user writes it, and the line is complete.
    const QPoint at = table->visualRect(amount).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    editor = qobject_cast<QLineEdit*>(table->indexWidget(amount));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "-12.30");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(unread->amountUnread());
    EXPECT_DOUBLE_EQ(unread->mAmount(), -12.30);
    EXPECT_TRUE(unread->isComplete()) << unread->mRemark();
    EXPECT_EQ(model.data(amount).toString(), "-12.30");

    click(page, "mImportButton");
    EXPECT_EQ(lastInfo(), formatMessage(localized("302"), {2, 2}));
    std::vector<double> booked;
    for (const auto& transaction : document->mTransactionArray())
        booked.push_back(std::abs(transaction->mTotalAmount().value_or(0.0)));
    std::sort(booked.begin(), booked.end());
    EXPECT_EQ(booked, (std::vector<double>{12.30, 30.0}));
}

// Default Category says what it did, and the lines of that counter account
// without a category of their own show the new default at once; a line that
// lacks a counter account is told what to choose.
TEST_F(ImportPageTest, DefaultCategorySaysWhatItSetAndTheOtherLinesShowIt)
{
    const ObjectIdT bakery = root().InsertExpenseType(-1, "Bakery", std::string_view("Bakery"), "",
                                                      std::string_view(), books::kExpenseCategory, std::nullopt,
                                                      nullptr, 100.0)->Get_Id();
    install({{"111-1111111-11", 20090302, -12.0}, {"111-1111111-11", 20090303, -30.0},
             {"111-1111111-11", 20090304, -7.0}});
    ImportPage page(*document);
    page.resize(1200, 400);
    page.show();
    CImportedTransactionArrayController& model = page.model();
    using Columns = CImportedTransactionArrayController;
    ASSERT_TRUE(model.setData(model.index(0, Columns::Category), qlonglong(bakery)));
    ASSERT_EQ(model.data(model.index(1, Columns::Category)).toString(), "Other Expenses");

    page.table()->selectRow(0);
    environment.alerts().clear();
    click(page, "mDefaultCategoryButton");
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_EQ(environment.alerts().records()[0].alert.message,
              formatMessage(localized("IMPDEFAULTCATEGORYSET"), {"Bakery", "Shop North"}) + "\n" +
                  formatMessage(localized("IMPDEFAULTCATEGORYTOOK"), {2}));
    EXPECT_EQ(root().GetAccountForID(model.lineAt(0)->mOtherAccountId())->Get_mDefaultExpenseTypeId(), bakery);
    for (int row = 1; row < 3; ++row) EXPECT_EQ(model.data(model.index(row, Columns::Category)).toString(), "Bakery");
    EXPECT_TRUE(document->isDocumentEdited());

    // Without a counter account there is nothing to set.
    auto lone = std::make_shared<CImpTItem>();
    lone->setMOurAccountNumber("111-1111111-11");
    lone->setMValueDate(20090305);
    lone->setMAmount(-1.0);
    lone->setDocument(&importDocument);
    lone->autoComplete();
    document->statementImport().setMImportedTransactionArray(statementLines({lone}));
    page.reload();
    page.table()->selectRow(0);
    environment.alerts().clear();
    click(page, "mDefaultCategoryButton");
    ASSERT_EQ(environment.alerts().records().size(), 1u);
    EXPECT_EQ(environment.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Error);
    EXPECT_EQ(environment.alerts().records()[0].alert.message, localized("IMPDEFAULTCATEGORYMISSING"));
}

// Lines in a currency code the books lack wait for it. A currency chosen for
// one of them, whose symbol the user keeps, goes to the lines of that code
// and changes nothing in the books; one made elsewhere is taken at once.
TEST_F(ImportPageTest, LinesWaitingForTheirCurrencyTakeOneChosenOrMade)
{
    std::vector<CImpTItem::Ptr> lines;
    for (const char* code : {"NOK", "nok", "SEK"}) {
        auto line = std::make_shared<CImpTItem>();
        line->setMOurAccountNumber("111-1111111-11");
        line->setMValueDate(20090302);
        line->setMAmount(-12.0);
        line->setMForeignAccountNumber("222-2222222-22");
        line->setMCurrency(code);
        line->setDocument(&importDocument);
        line->autoComplete();
        lines.push_back(line);
    }
    document->statementImport().setMImportedTransactionArray(statementLines(lines));
    ImportPage page(*document);
    page.show();
    CImportedTransactionArrayController& model = page.model();
    using Columns = CImportedTransactionArrayController;
    for (int row = 0; row < 3; ++row) {
        EXPECT_NE(lines[std::size_t(row)]->mRemark().find(localized("IMPCUR")), std::string::npos);
        EXPECT_TRUE(model.data(model.index(row, Columns::Currency), Qt::BackgroundRole).isValid()) << "marked";
    }
    EXPECT_EQ(model.data(model.index(0, Columns::Currency)).toString(), "NOK");

    // The euro for the krone lines; the books keep writing it EUR (question 390, Cancel).
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    ASSERT_TRUE(model.setData(model.index(0, Columns::Currency), qlonglong(books::kEUR)));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{390});
    EXPECT_EQ(root().GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "EUR");
    EXPECT_FALSE(document->isDocumentEdited());
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(lines[std::size_t(row)]->mCurrencyId(), books::kEUR);
        EXPECT_TRUE(lines[std::size_t(row)]->isComplete()) << lines[std::size_t(row)]->mRemark();
        EXPECT_EQ(model.data(model.index(row, Columns::Currency)).toString(), "EUR");
    }
    EXPECT_FALSE(lines[2]->isComplete());

    // Kronor made on the currency page.
    arguments::CurrencyArguments krona;
    krona.symbol = "SEK";
    krona.description = "Swedish Krona";
    krona.conversionQuantity = 1;
    krona.conversionFactor = 0.09;
    document->commandExecutor().executeCommand(6, nullptr, krona);
    EXPECT_TRUE(lines[2]->isComplete()) << lines[2]->mRemark();
    EXPECT_EQ(lines[2]->mCurrencyId(), root().GetCurrencyForSymbol("SEK")->Get_Id());
    EXPECT_FALSE(model.data(model.index(2, Columns::Currency), Qt::BackgroundRole).isValid());
}

TEST_F(ImportPageTest, TheExportSheetOpensOnTheLastCompleteMonth)
{
    const struct {
        CalendarDate today;
        DateT from, to;
    } cases[] = {{{2009, 3, 15}, 20090201, 20090228},
                 {{2008, 3, 15}, 20080201, 20080229},
                 {{2009, 1, 1}, 20081201, 20081231}};
    for (const auto& c : cases)
        EXPECT_EQ(CExportTransactionController::lastCompleteMonth(c.today), std::make_pair(c.from, c.to));

    std::vector<std::tuple<DateT, DateT, bool>> exported;
    CExportTransactionController sheet([&](const auto&, DateT from, DateT to, bool asQif) {
        exported.emplace_back(from, to, asQif);
    });
    SheetParameters parameters;
    parameters.set("DOCUMENT", 1L);
    parameters.set("ACNTNAME", std::string("Current Account"));
    sheet.initialize(parameters);
    EXPECT_EQ(sheet.exportFormatMatrix->checkedId(), 1);
    sheet.exportFormatMatrix->button(2)->setChecked(true);
    sheet.dateToField->clear();   // emptied
    sheet.dialogClosed(1, parameters);
    sheet.dialogClosed(-1, parameters);
    EXPECT_EQ(exported, (std::vector<std::tuple<DateT, DateT, bool>>{{20090201, 99999999, true}}));
}

} // namespace
} // namespace ch::test
