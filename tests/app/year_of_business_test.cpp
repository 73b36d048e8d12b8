// A whole year of a small consultancy, kept as its owner keeps it: through
// the window's menus, pages, sheets and buttons, offscreen. New books through
// the assistant; accounts, categories, a customer and a supplier through
// their sheets; bank statements from OFX and from delimited text (the same
// statement twice books nothing twice); a share bought and its dividend; a
// budget compared with what happened; invoices, a partial payment and a
// credit note; the VAT of a quarter and its declaration file; the balance
// sheet printed to PDF; and at the end saved, closed and opened again from
// the command line with every figure the same.
//
// Only where a desktop file dialog would appear is the chosen path handed in,
// as the application's tests do. Today moves through the year as the owner
// works.

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "../ui/sheets/sheet_test_support.h"
#include "../ui/ui_test_support.h"
#include "../ui/side_bar_rows.h"
#include "app_test_steps.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "app/StatementImportMenu.h"
#include "analysis/CReportContents.h"
#include "analysis/ReportChoices.h"
#include "business/views/CVATRateDialog.h"
#include "model/CAccountOwner.h"
#include "ui/pages/CBudgetPageController.h"
#include "analysis/views/CReportView.h"
#include "analysis/views/CReportingController.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/GXInvoice.h"
#include "business/GXVATPeriod.h"
#include "business/VATPeriods.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "model/CExpenseTypeArray.h"
#include "model/ModelCodes.h"
#include "platform/core/localized_strings.h"
#include "ui/controls/CAmountField.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "document/MyDocument.h"
#include "document/StatementImport.h"
#include "document/app/GXApplicationDelegate.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ColumnDragging.h"
#include "import/views/ImportPage.h"
#include "import/views/fileImportAssistantWindowController.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationShell.h"
#include "ui/CSideBarController.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/CSideBarView.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/V2SplitLayout.h"
#include "ui/controls/CPopupList.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/pages/AccountCategoryPage.h"

namespace ch {
namespace {

using namespace ch::test;

// The books' own bank account, as the bank's statements name it.
constexpr const char* kBankNumber = "111-2223334-55";

// First quarter at the bank, as the bank sends it.
const std::string kFirstQuarterOfx = ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250101<DTEND>20250331\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250106<TRNAMT>-800.00<FITID>2501<NAME>Landlord<MEMO>Rent January</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250120<TRNAMT>-45.90<FITID>2502<NAME>Stationery Shop<MEMO>Paper</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250205<TRNAMT>-800.00<FITID>2503<NAME>Landlord<MEMO>Rent February</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

// The second quarter from the bank's web site, as semicolon-separated text.
constexpr const char* kSecondQuarterText = "Account;Date;Amount;Counterparty;Name;Text\r\n"
                                           "111-2223334-55;20250505;-800.00;;Landlord;Rent May\r\n"
                                           "111-2223334-55;20250512;-120.50;;Stationery Shop;Toner\r\n";

class YearOfBusinessTest : public ApplicationFixture {
protected:
    YearOfBusinessTest()
    {
        controller.setStatementChooser([this](QWidget*, const QString&, const QStringList& suffixes) {
            statementSuffixes = suffixes;
            return std::optional<QString>(statementPath);
        });
    }

    void today(int year, int month, int day) { environment.clock().set(CalendarDate{year, month, day}, 0); }

    // A file written for the owner to pick in a dialog.
    QString writeFile(const char* name, const char* contents)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        std::ofstream(path.toStdString(), std::ios::binary) << contents;
        return path;
    }

    // Picks the entry of that name in a pop-up list, as typing it does.
    static void choosePopup(CPopupList* popup, const char* name)
    {
        ASSERT_NE(popup, nullptr);
        typeInto(popup, name);
        QTest::keyClick(popup, Qt::Key_Tab);
    }

    CPopupWindowAncestor& openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return *sheet;
    }

    double balance(const char* account)
    {
        const CAccount* found = books().getAccountForName(account);
        EXPECT_NE(found, nullptr) << account;
        return found ? std::round(found->Get_mLocalBalance() * 100) / 100 : NAN;
    }
    double categoryBalance(const char* category)
    {
        const CExpenseType* found = books().getExpenseTypeForName(category);
        EXPECT_NE(found, nullptr) << category;
        return found ? std::round(found->Get_Amount() * 100) / 100 : NAN;
    }

    // --- the stages of the year
    void startTheBooks();
    void setUpAccountsAndCategories();
    void importTheBankStatements();

    void setUpTheBusiness();
    void saveCloseAndOpenAgain();
    void buyAShareAndBookItsDividend();
    void makeAndCompareABudget();
    void invoiceTheCustomer();
    void declareTheThirdQuarter();
    void printTheBalanceSheet();

    // What the owner reads in the books at the end of the year.
    struct Figures {
        std::map<std::string, double> accounts, categories;
        std::map<std::string, double> invoicesOpen;
        std::vector<std::string> VATQuarter;
        std::vector<std::string> budgetOfRent;
        std::size_t transactions = 0;
        bool operator==(const Figures&) const = default;
    };
    Figures figures();
    std::vector<std::string> VATListingTotals(DateT inQuarter);
    std::vector<std::string> budgetComparison(const char* category);
    business::GXOwnerViewController* ownersPage(const char* node)
    {
        return showPage<business::GXOwnerViewController>(localized(node), 2);
    }
    business::BusinessOfDocument& business()
    {
        return *dynamic_cast<business::BusinessOfDocument*>(books().business());
    }

    std::vector<std::string> pendingLines();
    void bookPendingLines();

    // A column of the assistant's table dragged onto a role field.
    static void dragColumn(columnDraggingTable& table, RoleTokenField& field, int column)
    {
        std::unique_ptr<QMimeData> data(table.mimeDataForColumn(column));
        ASSERT_TRUE(data);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&field, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&field, &drop);
    }

    QStringList statementSuffixes;
};

// January: new books through the assistant, every page as proposed, the
// first bank account made the default one and named after the business.
void YearOfBusinessTest::startTheBooks()
{
    today(2025, 1, 2);
    shell.delegate().sheetDidEnd(static_cast<int>(StartupChoice::NewDocument));
    ASSERT_TRUE(window().booksShown());
    QTRY_VERIFY(controller.assistant() != nullptr);
    ASSERT_TRUE(finishAssistantNamingTheFirstAccount(controller, "Business Bank"));
    ASSERT_EQ(controller.assistant(), nullptr);
    const CAccount* bank = books().getAccountForName("Business Bank");
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(static_cast<long>(bank->Get_Id()), books().getDefaultOwnPropertyAccount());
}

// Accounts and categories through their sheets: two expense categories in
// their groups, the bank account's number and opening balance, the landlord
// and the stationery shop with their default categories, the owner's own
// VAT number, a customer, a supplier and the VAT rate.
void YearOfBusinessTest::setUpAccountsAndCategories()
{
    struct NewCategory {
        const char* name;
        const char* group;
    };
    for (const NewCategory& c : {NewCategory{"Rent", "Housing"}, NewCategory{"Office Supplies", "Other Expenses"},
                                 NewCategory{"Dividends", "Investments"}, NewCategory{"Consulting Fees", "Work"}}) {
        showPage(c.group, -1);
        chooseSideBarItem(NodeMenu::Category, 1105);   // "New inside"
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "nameField"), c.name);
        click(sheet, "OKButton");
        settle();
        const CExpenseType* made = books().getExpenseTypeForName(c.name);
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(made->Get_mMasterExpensetypePtr(), books().getMasterExpenseTypeForName(c.group));
    }

    // The bank account the assistant made: its number and what it held on 1 January.
    auto* ownProperty = showPage<AccountCategoryPage>("Own Property", -1);
    ASSERT_NE(ownProperty, nullptr);
    ownProperty->selectUpperItem(books().dataItemController().accountItemForAccount(books().getAccountForName("Business Bank")));
    doubleClickSelectedRow(ownProperty->upperTable());
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "bankAccountNumberField"), kBankNumber);
        typeInto(outlet(sheet, "newBalanceField"), "10000.00");
        click(sheet, "OKButton");
        settle();
    }
    EXPECT_EQ(balance("Business Bank"), 10000.00);

    // The landlord and the stationery shop, each booked on its own category.
    struct NewAccount {
        const char* name;
        const char* category;
    };
    for (const NewAccount& a : {NewAccount{"Landlord", "Rent"}, NewAccount{"Stationery Shop", "Office Supplies"}}) {
        auto* page = showPage<AccountCategoryPage>("Profit and Loss", -1);
        ASSERT_NE(page, nullptr);
        QTest::mouseClick(page->addAccountButton(), Qt::LeftButton);
        settle();
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "nameField"), a.name);
        choosePopup(outlet<CPopupList>(sheet, "defaultExpensetypePopup"), a.category);
        click(sheet, "OKButton");
        settle();
        const CAccount* made = books().getAccountForName(a.name);
        ASSERT_NE(made, nullptr) << a.name;
        ASSERT_NE(made->Get_mDefaultExpenseType(), nullptr) << a.name;
        EXPECT_EQ(made->Get_mDefaultExpenseType(), books().getExpenseTypeForName(a.category)) << a.name;
    }
}

// The pending lines of the import page, each complete or with the remark why not.
std::vector<std::string> YearOfBusinessTest::pendingLines()
{
    std::vector<std::string> lines;
    auto* page = dynamic_cast<ImportPage*>(frame().mainTab("Import"));
    EXPECT_NE(page, nullptr);
    if (!page) return lines;
    CImportedTransactionArrayController& model = page->model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const auto line = model.lineAt(row);
        lines.push_back(line->mTitle() + (line->isComplete() ? std::string() : " [" + line->mRemark() + "]"));
    }
    return lines;
}

void YearOfBusinessTest::bookPendingLines()
{
    auto* page = dynamic_cast<ImportPage*>(frame().mainTab("Import"));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame().currentMainTab(), "Import");
    QTest::mouseClick(page->findChild<QPushButton*>("mImportButton"), Qt::LeftButton);
    settle();
}

// April and July: the quarters' statements come in. The first quarter from
// an OFX file; the same file again, by mistake, books nothing twice. The
// second quarter as delimited text, described once with the assistant.
void YearOfBusinessTest::importTheBankStatements()
{
    today(2025, 4, 2);
    const std::size_t before = books().mTransactionArray().size();
    statementPath = writeFile("q1.ofx", kFirstQuarterOfx.c_str());
    choose("importOFX");
    EXPECT_TRUE(statementSuffixes.contains("ofx"));
    EXPECT_EQ(pendingLines(), (std::vector<std::string>{"Debit : Landlord", "Debit : Stationery Shop", "Debit : Landlord"}));
    bookPendingLines();
    EXPECT_TRUE(pendingLines().empty());
    ASSERT_EQ(books().mTransactionArray().size(), before + 3);
    EXPECT_EQ(balance("Business Bank"), 8354.10);
    EXPECT_EQ(categoryBalance("Rent"), 1600.00);
    EXPECT_EQ(categoryBalance("Office Supplies"), 45.90);

    // The same statement again: every line is a duplicate and stays unbooked.
    choose("importOFX");
    const std::vector<std::string> again = pendingLines();
    ASSERT_EQ(again.size(), 3u);
    for (const std::string& line : again) EXPECT_NE(line.find(localized("IMPDUPL")), std::string::npos) << line;
    bookPendingLines();
    EXPECT_EQ(books().mTransactionArray().size(), before + 3);
    EXPECT_EQ(balance("Business Bank"), 8354.10);
    // A new import waits until these are dealt with; the owner drops them.
    environment.alerts().clear();
    choose("importOFX");
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{235});
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    auto* page = dynamic_cast<ImportPage*>(frame().mainTab("Import"));
    QTest::mouseClick(page->findChild<QPushButton*>("mCancelImportButton"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(pendingLines().empty());

    // July: the bank's text export, described with the assistant the first time.
    today(2025, 7, 3);
    statementPath = writeFile("q2.csv", kSecondQuarterText);
    choose("defineImportFile");
    StatementImportMenu* menu = window().importMenu();
    ASSERT_TRUE(menu && menu->definitionAssistant() && menu->definitionAssistant()->isVisible());
    fileImportAssistantWindowController& assistant = *menu->definitionAssistant();
    auto next = [&] {
        QTest::mouseClick(assistant.findChild<QPushButton*>("goNextButton"), Qt::LeftButton);
        settle();
    };
    typeInto(assistant.findChild<QLineEdit*>("exampleFileField"), statementPath);
    next();
    assistant.findChild<QSpinBox*>("numberOfLinesToSkipField")->setValue(1);
    assistant.findChild<QSpinBox*>("minNumberOfColumsField")->setValue(6);
    next();
    columnDraggingTable& columns = *assistant.columnizedTable();
    ASSERT_EQ(columns.columnCount(), 6);
    const std::pair<AssistantRole, int> roles[] = {
        {AssistantRole::OwnAccountNumber, 0}, {AssistantRole::ValueDate, 1}, {AssistantRole::BookingDate, 1},
        {AssistantRole::Amount, 2}, {AssistantRole::CounterpartyAccountNumber, 3},
        {AssistantRole::CounterpartyName, 4}, {AssistantRole::Communication, 5}};
    for (const auto& [role, column] : roles) dragColumn(columns, *assistant.roleField(role), column);
    typeInto(assistant.findChild<QLineEdit*>("dateFormatField"), "yyyyMMdd");
    next();
    typeInto(assistant.findChild<QLineEdit*>("fileNameField"), "Web Bank");
    next();
    EXPECT_FALSE(assistant.isVisible());

    choose("Web Bank");   // listed by name
    EXPECT_TRUE(statementSuffixes.contains("csv"));
    EXPECT_EQ(pendingLines(), (std::vector<std::string>{"Landlord : Rent May", "Stationery Shop : Toner"}));
    bookPendingLines();
    EXPECT_TRUE(pendingLines().empty());
    EXPECT_EQ(books().mTransactionArray().size(), before + 5);
    EXPECT_EQ(balance("Business Bank"), 7433.60);
    EXPECT_EQ(categoryBalance("Rent"), 2400.00);
    EXPECT_EQ(categoryBalance("Office Supplies"), 166.40);
}

// Still January: the owner's own VAT number, a customer and a supplier each
// with their invoice accounts, and the standard VAT rate.
void YearOfBusinessTest::setUpTheBusiness()
{
    auto* owners = showPage<business::GXOwnerViewController>(localized("OWNERBUTTON"), 1);
    ASSERT_NE(owners, nullptr);
    owners->selectSubPage(fourCC("AcoW"));
    owners->selectOwner(business::GXOwnerViewController::Tab::Owners,
                        books().getAccountOwnerItemForId(books().accounting()->Get_Me()->Get_Id()).get());
    doubleClickSelectedRow(owners->ownerTable(business::GXOwnerViewController::Tab::Owners));
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "VATField"), "BE0123456789");
        click(sheet, "OKButton");
        settle();
    }

    struct NewOwner {
        const char* node;
        const char* name;
        const char* VAT;
        const char* check;
    };
    for (const NewOwner& o : {NewOwner{"OWNERSTABCUSTOMERS", "Brightwater", "BE0999888777", "createCustomerAccountsCheck"},
                              NewOwner{"OWNERSTABSUPPLIERS", "Paper & Co", "BE0555444333", "createSupplierAccountsCheck"}}) {
        ASSERT_NE(ownersPage(o.node), nullptr) << o.node;
        choose("NEWOBJECTMENUITEM");
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "nameField"), o.name);
        typeInto(outlet(sheet, "VATField"), o.VAT);
        QTest::mouseClick(outlet<QCheckBox>(sheet, o.check), Qt::LeftButton);
        click(sheet, "OKButton");
        settle();
        ASSERT_NE(books().getAccountOwnerForName(o.name), nullptr) << o.name;
    }
    EXPECT_EQ(books().customerArray().size(), 1u);
    EXPECT_EQ(books().supplierArray().size(), 1u);

    auto* setup = showPage<business::GXBusinessSetupViewController>("VAT Rates", 2);
    ASSERT_NE(setup, nullptr);
    choose("NEWOBJECTMENUITEM");
    ASSERT_TRUE(setup->VATRateSheet() && setup->VATRateSheet()->isVisible());
    QWidget& rateSheet = *setup->VATRateSheet();
    typeInto(outlet(rateSheet, "nameField"), "Standard");
    typeInto(outlet(rateSheet, "rateField"), "21");
    typeInto(outlet(rateSheet, "fiscalField"), "100");
    click(rateSheet, "OKButton");
    settle();
    ASSERT_EQ(business().businessArrays().VATRateArray.size(), 1u);
    EXPECT_EQ(setup->VATRateTable()->item(0, 0)->text(), "Standard");
}

// June: ten shares of a listed company, then their dividend.
void YearOfBusinessTest::buyAShareAndBookItsDividend()
{
    today(2025, 6, 2);
    auto* shares = showPage<GXCurrencyTableViewController>(localized("SHAREBUTTON"), 1);
    ASSERT_NE(shares, nullptr);
    QTest::mouseClick(shares->controlledView()->findChild<QPushButton*>("addAccountButton"), Qt::LeftButton);
    settle();
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "symbolField"), "ACME");
        typeInto(outlet(sheet, "fullNameField"), "Acme Corporation");
        click(sheet, "OKButton");
        settle();
    }
    ASSERT_EQ(books().mShareArray().size(), 1u);
    const auto acme = books().mShareArray().front();
    shares->selectItem(acme.get());

    QTest::mouseClick(shares->controlledView()->findChild<QPushButton*>("buyButton"), Qt::LeftButton);
    settle();
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "mDate"), "02.06.2025");
        typeInto(outlet(sheet, "nrOfShares"), "10");
        typeInto(outlet(sheet, "pricePaid"), "50.00");
        typeInto(outlet(sheet, "commissionPayed"), "5.00");
        typeInto(outlet(sheet, "mDescription"), "Ten Acme shares");
        QTest::keyClick(outlet(sheet, "mDescription"), Qt::Key_Tab);
        EXPECT_EQ(outlet<CAmountField>(sheet, "totalPaid")->value(), 505.0);
        click(sheet, "OKButton");
        settle();
    }
    EXPECT_DOUBLE_EQ(acme->numberOfShares(), 10.0);
    EXPECT_EQ(balance("Business Bank"), 7433.60 - 505.00);

    today(2025, 6, 20);
    QTest::mouseClick(shares->controlledView()->findChild<QPushButton*>("dividendButton"), Qt::LeftButton);
    settle();
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "mTransactionDate"), "20.06.2025");
        typeInto(outlet(sheet, "mTotalDividend"), "20.00");
        typeInto(outlet(sheet, "mTaxes"), "6.00");
        choosePopup(outlet<CPopupList>(sheet, "mToAccount"), "Business Bank");
        choosePopup(outlet<CPopupList>(sheet, "mForExpenseType"), "Dividends");
        typeInto(outlet(sheet, "mComment"), "Acme dividend");
        click(sheet, "OKButton");
        settle();
    }
    EXPECT_EQ(balance("Business Bank"), 7433.60 - 505.00 + 14.00);
}

// What the budget page's category side shows for the category: for January
// and March, the planned movement, the actual one and their difference.
std::vector<std::string> YearOfBusinessTest::budgetComparison(const char* category)
{
    std::vector<std::string> shown;
    frame().showMainTab("budg");
    auto* page = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    if (!page || !page->selectedBudget()) return shown;
    page->showSide(false);
    if (!page->selectObject(false, type::kExpenseType, books().getExpenseTypeForName(category)->Get_Id())) return shown;
    QTableWidget* table = page->budgetTable(false);
    for (int month : {1, 3})
        for (BudgetItemTypeT figure : {budget_item::kBudgetIn, budget_item::kActualIn, budget_item::kMovementDifference})
            for (int row = 0; row < table->rowCount(); ++row)
                if (budget_page::figureForRow(row, false) == figure)
                    shown.push_back(table->item(row, month)->text().toStdString());
    return shown;
}

// July: this year's budget, the rent planned at 800 a month, compared with
// what was booked.
void YearOfBusinessTest::makeAndCompareABudget()
{
    today(2025, 7, 10);
    frame().showMainTab("budg");
    auto* page = dynamic_cast<CBudgetPageController*>(frame().mainTab("budg"));
    ASSERT_NE(page, nullptr);
    page->createBudget();
    auto* made = dynamic_cast<CNewBudgetController*>(page->openSheet());
    ASSERT_NE(made, nullptr);
    typeInto(made->budgetNameField, "Plan 2025");
    made->budgetPeriodMatrix->button(budget_period::kCurrentYear)->click();
    made->ok();
    ASSERT_EQ(page->openSheet(), nullptr);
    ASSERT_NE(page->selectedBudget(), nullptr);
    EXPECT_EQ(page->selectedBudget()->mStartDate(), 20250101);

    page->showSide(false);
    ASSERT_TRUE(page->selectObject(false, type::kExpenseType, books().getExpenseTypeForName("Rent")->Get_Id()));
    page->budgetTableClicked(false, 1);
    page->createBudgetXRef();
    auto* planned = dynamic_cast<CCreateBudgetXRefSheetController*>(page->openSheet());
    ASSERT_NE(planned, nullptr);
    chooseId(planned->accountPopupField, books().getAccountForName("Business Bank")->Get_Id());
    typeInto(planned->budgetFromField, "800");
    planned->copyXRefButton->setChecked(true);
    planned->periodFromField->setValue(1);
    planned->periodToField->setValue(12);
    planned->ok();
    EXPECT_EQ(page->openSheet(), nullptr);
    page->updateActuals();
    // January as planned; in March no rent left the bank: 800 under plan.
    const std::vector<std::string> compared = budgetComparison("Rent");
    EXPECT_EQ(compared, (std::vector<std::string>{"800.00", "800.00", "0.00", "800.00", "0.00", "-800.00"}));
}

// August: two invoices to the customer, a partial payment of the first and a
// credit note that cancels the second.
void YearOfBusinessTest::invoiceTheCustomer()
{
    using Tab = business::GXOwnerViewController::Tab;
    auto* page = ownersPage("OWNERSTABCUSTOMERS");
    ASSERT_NE(page, nullptr);
    const auto customer = books().customerArray().front();
    page->selectOwner(Tab::Customers, customer.get());
    auto lineAction = [&](QWidget* table, const char* name) {
        for (QAction* action : table->actions())
            if (action->objectName() == QLatin1String(name)) {
                action->trigger();
                settle();
                return;
            }
        ADD_FAILURE() << name;
    };
    struct Invoice {
        const char* name;
        const char* date;
        const char* net;
        const char* total;
    };
    for (const Invoice& i : {Invoice{"Strategy workshop", "05.08.2025", "2000.00", "2,420.00"},
                             Invoice{"Follow-up report", "12.08.2025", "1000.00", "1,210.00"}}) {
        today(2025, 8, 12);
        lineAction(page->pair(true).leftTable(), "OWNERSNEWINVOICE");
        auto* sheet = page->invoiceSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        typeInto(outlet(*sheet, "invoiceNameField"), i.name);
        typeInto(outlet(*sheet, "invoiceDateField"), i.date);
        typeInto(outlet(*sheet, "invoiceAmountField"), i.net);
        auto* rate = outlet<QComboBox>(*sheet, "VATRate1Popup");
        rate->setCurrentIndex(rate->findText("Standard", Qt::MatchStartsWith));
        QTest::keyClick(outlet(*sheet, "invoiceAmountField"), Qt::Key_Tab);
        EXPECT_EQ(outlet<QLineEdit>(*sheet, "TotalAmountField")->text(), i.total) << i.name;
        click(*sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet->isVisible()) << i.name;
    }
    ASSERT_EQ(business().businessArrays().customerInvoiceArray.size(), 2u);

    // 1000 received on the 20th, dragged onto the first invoice.
    today(2025, 8, 20);
    lineAction(page->pair(true).rightTable(), "OWNERSNEWPAYMENT");
    auto* payment = page->paymentSheet();
    ASSERT_TRUE(payment && payment->isVisible());
    typeInto(outlet(*payment, "paymentNameField"), "Brightwater instalment");
    typeInto(outlet(*payment, "paymentDateField"), "20.08.2025");
    typeInto(outlet(*payment, "paymentAmountField"), "1000.00");
    auto* category = outlet<QComboBox>(*payment, "paymentCategoryPopup");
    category->setCurrentIndex(category->findText("Consulting Fees"));
    click(*payment, "OKButton");
    settle();
    EXPECT_EQ(balance("Business Bank"), 7942.60);
    auto& invoices = page->pair(true).leftTableArrayController();
    auto& payments = page->pair(true).rightTableArrayController();
    ASSERT_EQ(invoices.arrangedCount(), 2u);
    ASSERT_EQ(payments.arrangedCount(), 1u);
    auto rowOf = [&](auto& rows, const char* name) {
        for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
            if (std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i))->parentTransaction()->getName() == name)
                return int(i);
        return -1;
    };
    std::unique_ptr<QMimeData> dragged(page->pair(true).mimeDataForPaymentRow(0));
    ASSERT_TRUE(dragged);
    EXPECT_TRUE(page->pair(true).acceptDrop(dragged.get(), rowOf(invoices, "Strategy workshop")));
    settle();

    // The second invoice is cancelled by its credit note.
    page->pair(true).leftTable()->selectRow(rowOf(invoices, "Follow-up report"));
    lineAction(page->pair(true).leftTable(), "OWNERSCREDITNOTE");

    const std::map<std::string, double> open = figures().invoicesOpen;
    EXPECT_EQ(open.at("Strategy workshop"), 1420.00);
    EXPECT_EQ(open.at("Follow-up report"), 0.00);
    EXPECT_EQ(open.size(), 3u) << "the credit note is the third";
}

// The totals line of the VAT listing of the quarter holding the date, as the
// business-setup page shows it.
std::vector<std::string> YearOfBusinessTest::VATListingTotals(DateT inQuarter)
{
    std::vector<std::string> shown;
    auto* setup = showPage<business::GXBusinessSetupViewController>("VAT Periods", 2);
    const auto period = business::VATPeriodAtDate(business(), inQuarter);
    if (!setup || !period) return shown;
    setup->selectSubPage(fourCC("VatP"));
    setup->selectVATPeriod(period.get());
    const auto contents = setup->VATReportView()->mReportContents();
    if (!contents) return shown;
    for (std::size_t i = 0; i < contents->count(); ++i)
        if (contents->objectAtIndex(i).reportColumnAtIndex(0).mValue() == localized("GRANDTOTALTITLE"))
            for (std::size_t column = 1; column < contents->objectAtIndex(i).countOfReportColumns(); ++column)
                shown.push_back(contents->objectAtIndex(i).reportColumnAtIndex(column).mValue());
    return shown;
}

// The owner saves the books, closes them, and opens them again from the
// command line as the desktop does.
void YearOfBusinessTest::saveCloseAndOpenAgain()
{
    const bool untitled = books().fileName().empty();
    booksPath = folder.filePath("Consultancy.books");
    QAction* save = window().fileAction(untitled ? "saveAs" : "save");
    ASSERT_NE(save, nullptr);
    save->trigger();
    settle();
    EXPECT_FALSE(books().isDocumentEdited());
    window().fileAction("close")->trigger();
    settle();
    ASSERT_EQ(controller.openQuestion(), nullptr) << "nothing was left unsaved";
    ASSERT_TRUE(controller.windows().empty());
    shell.launch({booksPath});
    settle();
    ASSERT_EQ(controller.windows().size(), 1u);
    ASSERT_TRUE(window().booksShown());
    EXPECT_FALSE(books().isDocumentEdited());
}

// October: the books opened on the first day of the quarter; the third
// quarter's VAT on the business-setup page, and its declaration file written
// through the save panel.
void YearOfBusinessTest::declareTheThirdQuarter()
{
    today(2025, 10, 1);
    saveCloseAndOpenAgain();
    if (HasFatalFailure()) return;
    const auto quarter = business::VATPeriodAtDate(business(), 20250815);
    ASSERT_NE(quarter, nullptr);
    EXPECT_EQ(quarter->startDate(), 20250701);
    EXPECT_EQ(quarter->endDate(), 20250930);
    const std::vector<std::string> totals = VATListingTotals(20250815);
    ASSERT_FALSE(totals.empty());
    // VAT invoiced: 420 + 210; the credit note takes 210 back.
    EXPECT_NE(std::find(totals.begin(), totals.end(), "630.00"), totals.end()) << ::testing::PrintToString(totals);
    EXPECT_NE(std::find(totals.begin(), totals.end(), "210.00"), totals.end()) << ::testing::PrintToString(totals);

    auto* setup = showPage<business::GXBusinessSetupViewController>("VAT Periods", 2);
    ASSERT_NE(setup, nullptr);
    QTest::mouseClick(setup->controlledView()->findChild<QPushButton*>("createInterVATFileButton"), Qt::LeftButton);
    settle();
    QFileDialog* panel = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) panel = dialog;
    for (QFileDialog* dialog : frame().findChildren<QFileDialog*>())
        if (dialog->isVisible()) panel = dialog;
    ASSERT_NE(panel, nullptr);
    const QString path = folder.filePath("q3-declaration.XML");
    // The owner goes to the folder and types the name.
    panel->setDirectory(folder.path());
    typeInto(panel->findChild<QLineEdit*>("fileNameEdit"), "q3-declaration");
    QMetaObject::invokeMethod(panel, "accept");
    settle();
    std::ifstream in(path.toStdString());
    ASSERT_TRUE(in) << path.toStdString();
    std::stringstream read;
    read << in.rdbuf();
    const std::string declaration = read.str();
    // The declaration covers the quarter chosen on the page.
    for (const char* expected : {"<VATNUMBER>BE0123456789</VATNUMBER>", "<STARTDATE>2025-07-01</STARTDATE>",
                                 "<ENDDATE>2025-09-30</ENDDATE>", "<VATRECEIVED>630.00</VATRECEIVED>",
                                 "<VATRECEIVEDCANCELLED>210.00</VATRECEIVEDCANCELLED>"})
        EXPECT_NE(declaration.find(expected), std::string::npos) << expected << "\n" << declaration;
}

// January of the next year: the balance sheet printed to a PDF file.
void YearOfBusinessTest::printTheBalanceSheet()
{
    today(2026, 1, 2);
    frame().showMainTab("repo");
    auto* reports = dynamic_cast<CReportingController*>(frame().mainTab("repo"));
    ASSERT_NE(reports, nullptr);
    auto* kinds = reports->findChild<QComboBox*>("mGraphSelectionMenu");
    kinds->setCurrentIndex(kinds->findData(report_tag::kProfitAndLoss));
    kinds->setCurrentIndex(kinds->findData(report_tag::kBalanceSheet));
    settle();
    ASSERT_TRUE(reports->reportView()->mReportContents());
    QTest::mouseClick(reports->findChild<QToolButton*>("print"), Qt::LeftButton);
    settle();
    auto* dialog = reports->findChild<QPrintDialog*>("printDialog");
    ASSERT_NE(dialog, nullptr);
    const QString path = folder.filePath("balance-2025.pdf");
    // No printer here: the dialog prints to a file, whose name the owner types.
    auto* file = dialog->findChild<QLineEdit*>("filename");
    ASSERT_NE(file, nullptr);
    typeInto(file, path);
    dialog->accept();
    settle();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 2000);
}

// What is still to be paid of an invoice: all of it while nothing refers to
// it, nothing once a credit note does.
double openAmount(CTrnSItem& invoice)
{
    const double unaccounted = invoice.unaccountedForAmount().value_or(0);
    if (unaccounted == kCreditNoteLinkedMarker) return 0.0;
    if (unaccounted == kNoLinkedTransactionMarker) return std::abs(invoice.mTotalAmount().value_or(0));
    return std::round(unaccounted * 100) / 100;
}

YearOfBusinessTest::Figures YearOfBusinessTest::figures()
{
    Figures f;
    CDocAccounting& model = *books().accounting();
    for (ArrayIndexT i = 1; i <= ArrayIndexT(model.mAccountList->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(model.mAccountList->ObjectAt(i));
        f.accounts[account->Get_StringRefNameOnly()] = std::round(account->Get_mLocalBalance() * 100) / 100;
    }
    for (ArrayIndexT i = 1; i <= ArrayIndexT(model.mExpenseTypeList->GetCount()); ++i) {
        auto* category = static_cast<CExpenseType*>(model.mExpenseTypeList->ObjectAt(i));
        f.categories[category->Get_StringrefName()] = std::round(category->Get_Amount() * 100) / 100;
    }
    for (const auto& invoice : business().businessArrays().customerInvoiceArray)
        if (const auto transaction = books().getTransactionForId(static_cast<ObjectIdT>(invoice->transactionId().value_or(-1))))
            f.invoicesOpen[transaction->getName()] = openAmount(*transaction);
    f.transactions = books().mTransactionArray().size();
    f.VATQuarter = VATListingTotals(20250815);
    f.budgetOfRent = budgetComparison("Rent");
    return f;
}

TEST_F(YearOfBusinessTest, AYearOfASmallBusinessThroughTheWindow)
{
    startTheBooks();
    if (HasFatalFailure()) return;
    setUpAccountsAndCategories();
    if (HasFatalFailure()) return;
    importTheBankStatements();
    if (HasFatalFailure()) return;
    setUpTheBusiness();
    if (HasFatalFailure()) return;
    buyAShareAndBookItsDividend();
    if (HasFatalFailure()) return;
    makeAndCompareABudget();
    if (HasFatalFailure()) return;
    invoiceTheCustomer();
    if (HasFatalFailure()) return;
    declareTheThirdQuarter();
    if (HasFatalFailure()) return;
    printTheBalanceSheet();
    if (HasFatalFailure()) return;

    // The year closed: what the books say, then the same after saving,
    // closing and opening them again from the command line.
    const Figures before = figures();
    EXPECT_EQ(before.accounts.at("Business Bank"), 7942.60);
    EXPECT_EQ(before.categories.at("Rent"), 2400.00);
    EXPECT_EQ(before.categories.at("Office Supplies"), 166.40);
    EXPECT_EQ(before.invoicesOpen.at("Strategy workshop"), 1420.00);
    EXPECT_EQ(before.VATQuarter.size(), 5u);
    EXPECT_EQ(before.budgetOfRent.size(), 6u);
    saveCloseAndOpenAgain();
    if (HasFatalFailure()) return;
    const Figures after = figures();
    EXPECT_EQ(after.accounts, before.accounts);
    EXPECT_EQ(after.categories, before.categories);
    EXPECT_EQ(after.invoicesOpen, before.invoicesOpen);
    EXPECT_EQ(after.VATQuarter, before.VATQuarter);
    EXPECT_EQ(after.budgetOfRent, before.budgetOfRent);
    EXPECT_EQ(after.transactions, before.transactions);
}

} // namespace
} // namespace ch
