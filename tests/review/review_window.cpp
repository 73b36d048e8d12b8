// The review's pictures of the document window as the application builds
// it (the controller of its documents makes the window, its pages, tabs and
// menus): the new-document assistant, every page and main tab over books of
// a year, the settings window with each of its pages, the sheets and
// questions a person meets.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "analysis/views/BudgetSheets.h"
#include "app/app_test_steps.h"
#include "analysis/views/CReportingController.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "app/PasswordQuestion.h"
#include "app/RollForwardSheet.h"
#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/VATRateArguments.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/views/GXOwnerViewController.h"
#include "document/MyDocument.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"
#include "model/foundation/CDate.h"
#include "platform/core/four_char_code.h"
#include "review_support.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/MainToolbar.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/ToolbarCustomizationSheet.h"
#include "ui/V2SplitLayout.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/CBudgetPageController.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "ui/sheets/CFilePreferenceController.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "platform/core/localized_strings.h"
#include "ui/side_bar_rows.h"
#include "bridge/CPrfRItem.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/pages/CCreditCardTransactionTableView.h"
#include <QMenu>
#include <QMenuBar>

namespace ch::review {

namespace {

using test::openAndFindSideBarRow;

struct Shot {
    std::string file;
    std::function<void(DocumentWindowFrame&)> prepare;
};


// Selects the first side-bar row named so (opening its parents); at the
// header level given (any: 0).
std::function<void(DocumentWindowFrame&)> selectNode(std::string name, int headerLevel = 0)
{
    return [name, headerLevel](DocumentWindowFrame& window) {
        window.showMainTab("V2");
        CSideBarController& sideBar = window.sideBarController();
        SideBarOutlineModel& model = sideBar.outlineModel();
        const QModelIndex found = openAndFindSideBarRow(model, name, headerLevel);
        // Close again what the row does not need, as a person would have it.
        std::vector<QModelIndex> path;
        for (QModelIndex up = found.parent(); up.isValid(); up = up.parent()) path.push_back(up);
        const std::vector<QModelIndex> rows = model.shownRows();
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            if (model.itemAt(*row)->headerLevel() != 1 && std::find(path.begin(), path.end(), *row) == path.end())
                model.setExpanded(*row, false);
        sideBar.selectionModel().select(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        window.v2Layout().sideBarView()->outline()->setFocus();
    };
}

// The node's page with one of its accounts or categories chosen.
std::function<void(DocumentWindowFrame&)> selectInPage(std::string node, std::string object)
{
    return [node, object](DocumentWindowFrame& window) {
        selectNode(node)(window);
        settle();
        auto* page = dynamic_cast<AccountCategoryPage*>(window.sideBarController().currentController());
        if (!page) return;
        for (int row = 0; row < page->upperModel()->rowCount(); ++row)
            if (page->upperModel()->itemAt(row)->getName() == object) page->selectUpperItem(page->upperModel()->itemAt(row));
    };
}

// The credit-card page with the first card chosen, its older spendings
// linked to the payments after them and the newest payment selected.
void showCreditCards(DocumentWindowFrame& window)
{
    selectNode("Credit Cards", 1)(window);
    settle();
    auto* page = dynamic_cast<GXCreditCardViewController*>(window.sideBarController().currentController());
    if (!page || page->cardModel()->rowCount() == 0) return;
    page->topTableView()->selectRow(0);
    settle();
    const int payments = page->paymentModel()->rowCount();
    for (int row = 1; row < page->spendingModel()->rowCount() && row < payments; ++row)
        page->linkSpendingRowToPaymentRow(row, row);
    page->paymentTableView()->selectRow(1);
}

// The row of the outline whose name is given, at any depth.
QModelIndex outlineRow(const QAbstractItemModel& model, const QString& name, const QModelIndex& parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (model.data(index).toString() == name) return index;
        if (const QModelIndex inside = outlineRow(model, name, index); inside.isValid()) return inside;
    }
    return {};
}

// The classic layout, chosen as a person chooses it (View > Classic Layout),
// on its tab of the identifier with the row of `selected` chosen in that
// tab's outline.
std::function<void(DocumentWindowFrame&)> classicTab(std::string identifier, QString selected = {})
{
    return [identifier, selected](DocumentWindowFrame& window) {
        if (!window.classicLayoutOn())
            if (auto* item = window.menuBar()->findChild<QAction*>("classicLayout")) item->trigger();
        ClassicLayout* layout = window.classicLayout();
        if (!layout) return;
        window.showMainTab(identifier);
        if (identifier == "expt") layout->switchExpense();
        layout->propertyTable()->expandToDepth(1);
        layout->incomeTable()->expandToDepth(1);
        QTreeView* outline = identifier == "expt" ? static_cast<QTreeView*>(layout->incomeTable()) : layout->propertyTable();
        if (const QModelIndex row = outlineRow(*outline->model(), selected); row.isValid()) {
            outline->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            outline->setFocus();
        }
    };
}

std::function<void(DocumentWindowFrame&)> mainTab(std::string identifier)
{
    return [identifier](DocumentWindowFrame& window) { window.showMainTab(identifier); };
}

// The pages and main tabs of the window, each as a person comes to it.
std::vector<Shot> shots()
{
    return {
        {"window.png", [](DocumentWindowFrame& window) {
             // The quick entry half typed, as the user leaves it between two entries.
             CSideBarController& sideBar = window.sideBarController();
             sideBar.selectNodeWithType(fourCC("TrnS"), 2);
             sideBar.forceFastTransactionpaneToFront();
             arguments::SimpleTransactionArguments& entry = sideBar.quickEntry();
             auto* books = dynamic_cast<MyDocument*>(&window.document().books());
             if (CAccount* shop = books ? books->getAccountForName("Supermarket") : nullptr)
                 entry.setOtherAccountId(static_cast<long>(shop->Get_Id()));
             entry.setAmount(-24.0);
             entry.setName(std::string("Cinema"));
             window.v2Layout().sideBarView()->outline()->setFocus();
         }},
        {"page-accounts-overview.png", selectNode("Accounts")},
        {"page-account-type.png", selectNode(localized("OwnProperty"), -1)},
        {"page-account.png", selectInPage(localized("OwnProperty"), "Checking Account")},
        {"page-debts.png", selectNode(localized("Debt"), -1)},
        {"page-categories-overview.png", selectNode("Categories")},
        {"page-category-group.png", selectNode(localized("expenseMxpTName"), -1)},
        {"page-category.png", selectInPage(localized("expenseMxpTName"), "Groceries")},
        {"page-transactions.png", selectNode("Transactions")},
        {"page-recurring.png", selectNode("Recurring")},
        {"page-generated.png", selectNode("Generated")},
        {"page-shares.png", selectNode("Shares")},
        {"page-owners.png", selectNode("Owners")},
        {"page-customers.png", selectNode(localized("OWNERSTABCUSTOMERS"), 2)},
        {"page-currencies.png", selectNode("Currencies")},
        {"page-credit-cards.png", showCreditCards},
        {"page-vat.png", selectNode("VAT Rates")},
        {"tab-budgets.png", mainTab("budg")},
        {"tab-reports.png", mainTab("repo")},
        {"tab-import.png", mainTab("Import")},
        {"classic-overview.png", classicTab("trns")},
        {"classic-accounts.png", classicTab("acnt", "Checking Account")},
        {"classic-categories.png", classicTab("expt", "Groceries")},
    };
}

// A household's twelve months up to the last complete one, as the
// assistant's books keep them: a salary, rent and electricity from the
// checking account, groceries in cash, fuel and clothes on the credit card,
// which the checking account pays off at the end of each month.
void bookAYear(MyDocument& books)
{
    CDocAccounting& root = *books.accounting();
    auto idOf = [](CNamedListArray& list, std::string_view name) -> long {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i) {
            CNonVisual* object = nullptr;
            if (list.FetchItemAt(i, &object) && object && object->Get_StringrefName() == name)
                return static_cast<long>(object->Get_Id());
        }
        return 0;
    };
    const long transfer = root.mPreference->Get_mDefExpTUnspecifiedTransfer();
    // The household set leaves "Rent" unticked; without it the rent would be
    // booked to no category, which budgets and the expense overview pass over.
    if (!books.getExpenseTypeForName("Rent")) {
        arguments::CategoryParameters rent;
        rent.name = "Rent";
        rent.mMasterTypeId = 1;
        if (CMasterExpenseType* housing = books.getMasterExpenseTypeForName("Housing"))
            rent.mParentId = static_cast<long>(housing->Get_Id());
        books.commandExecutor().executeCommand(15, nullptr, rent);
    }
    auto book = [&](long date, const char* name, const char* from, const char* to, const char* category,
                    double amount) {
        test::bookTransaction(books, idOf(*root.mAccountList, from), idOf(*root.mAccountList, to),
                              *category ? idOf(*root.mExpenseTypeList, category) : transfer, amount, name, date);
    };
    const long today = CDate::GetNowAsDateT();
    int year = static_cast<int>(today / 10000) - 1;
    int month = static_cast<int>(today / 100 % 100);
    for (int step = 0; step < 12; ++step) {
        const long first = year * 10000L + month * 100L;
        book(first + 1, "Salary", "Employer", "Checking Account", "Salary", month == 12 ? 4550.00 : 3150.00);
        book(first + 3, "Rent", "Checking Account", "Other Payees", "Rent", 1240.00);
        book(first + 5, "Cash from the machine", "Checking Account", "Cash", "", 400.00);
        book(first + 12, "Electricity", "Checking Account", "Other Payees", "Electricity", 61.00 + month % 4 * 7.5);
        for (int week = 0; week < 4; ++week)
            book(first + 4 + week * 7, "Weekly shopping", "Cash", "Supermarket", "Groceries",
                 72.40 + ((month * 7 + week * 13) % 23) * 1.85);
        double card = 58.90 + (month % 3) * 6.2;
        book(first + 18, "Filling station", "Credit Card", "Other Payees", "Fuel", card);
        if (month % 3 == 0) {
            book(first + 22, "New clothes", "Credit Card", "Other Payees", "Clothing", 89.95 * (month / 3));
            card += 89.95 * (month / 3);
        }
        book(first + 27, "Credit card statement", "Checking Account", "Credit Card", "", card);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
}

// What the books of a year do not hold yet: a customer with a VAT rate, and
// the credit card as the card it is.
void addBusiness(MyDocument& books)
{
    arguments::VATRateArguments standard;
    standard.name = "Standard";
    standard.rate = 21.0;
    books.commandExecutor().executeCommand(33, nullptr, standard);
    arguments::CAcoWArguments customer;
    customer.name = "Brightwater Studio";
    customer.createCustomerOpenInvoices = true;
    const long customerId = books.commandExecutor().executeCommand(26, nullptr, customer);
    // An invoice and a payment naming its number, not linked yet.
    const long today = CDate::GetNowAsDateT();
    arguments::InvoiceArguments invoice;
    invoice.invoiceName = "Website redesign";
    invoice.invoiceNumber = "2024000017";
    invoice.thirdPartyId = customerId;
    invoice.invoiceDate = today;
    invoice.dueDate = today;
    invoice.amountWithoutVAT = 2480.0;
    invoice.firstVATRateId = -1;
    books.commandExecutor().executeCommand(38, nullptr, invoice);
    arguments::PaymentArguments payment;
    payment.paymentName = "Payment 2024000017";
    payment.thirdPartyId = customerId;
    payment.paymentAmount = 2480.0;
    payment.paymentDate = today;
    payment.paymentCategoryId = books.get_mDefExpTUnspecifiedIncome();
    payment.paymentOwnerType = arguments::kOwnerTypeCustomer;
    books.commandExecutor().executeCommand(44, nullptr, payment);
    if (CAccount* card = books.getAccountForName("Credit Card")) {
        card->Put_mAccountSpecialType(CAccount::kCreditCard);
        card->Put_mCreditCardSubType(2);
    }
}

// The settings window over the document window, one picture per page.
int settingsShots(DocumentWindowFrame& frame, const QString& output)
{
    int failures = 0;
    QAction* settings = frame.toolbar().itemAction("settings");
    if (!settings) return 1;
    settings->trigger();
    settle();
    CFilePreferenceController* sheet = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<CFilePreferenceController*>(widget); found && found->isVisible()) sheet = found;
    if (!sheet) return 1;
    for (QAction* page : sheet->toolbar()->actions()) {
        if (page->objectName().isEmpty()) continue;
        page->trigger();
        settle();
        const std::string file = "app-settings-" + page->objectName().toStdString() + ".png";
        failures += !save(*sheet, output, file.c_str());
    }
    sheet->close();
    settle();
    return failures;
}

} // namespace

int reviewDocumentWindow(const ReviewContext& context)
{
    const QString& output = context.output;
    DocumentController& controller = context.controller;
    QTemporaryDir folder;
    int failures = 0;

    DocumentWindow& window = controller.makeNewDocument(true);
    window.frame()->resize(1280, 800);
    for (int i = 0; i < 50 && !controller.assistant(); ++i) {
        QThread::msleep(10);
        settle();
    }
    if (NewDocumentAssistantDialog* assistant = controller.assistant()) {
        auto* next = assistant->findChild<QPushButton*>("nextButton");
        settle();
        failures += !save(*assistant, output, "app-assistant-set.png");
        next->click();
        settle();
        failures += !save(*assistant, output, "app-assistant-currencies.png");
        for (int page = 0; page < 20 && controller.assistant(); ++page) {
            if (assistant->assistant().view().lists == AssistantList::ExpenseCategories) {
                failures += !save(*assistant, output, "app-assistant-categories.png");
            }
            next->click();
            settle();
        }
    }
    MyDocument& books = window.document();
    bookAYear(books);
    addBusiness(books);
    settle();
    DocumentWindowFrame& frame = *window.frame();
    frame.activateWindow();
    QApplication::setActiveWindow(&frame);

    // The window as it opens on the year's transactions (the README's picture).
    frame.sideBarController().selectNodeWithType(fourCC("TrnS"), 2);
    settle();
    failures += !save(frame, output, "app-window.png");
    for (const Shot& shot : shots()) {
        shot.prepare(frame);
        settle();
        failures += !save(frame, output, shot.file.c_str());
    }
    // The classic layout's account outline with its context menu open.
    if (ClassicLayout* layout = frame.classicLayout()) {
        classicTab("acnt", "Checking Account")(frame);
        settle();
        layout->validateContextMenu(layout->propertyTable());
        if (QMenu* menu = layout->contextMenu(layout->propertyTable())) {
            menu->popup(layout->propertyTable()->viewport()->mapToGlobal(QPoint(120, 60)));
            settle();
            failures += !save(*menu, output, "classic-accounts-menu.png");
            menu->hide();
        }
    }
    // Back to the side bar for the pictures that follow.
    if (auto* item = frame.menuBar()->findChild<QAction*>("sideBarLayout")) item->trigger();
    frame.showMainTab("V2");
    settle();

    selectNode("Accounts")(frame);
    settle();
    failures += !save(frame, output, "app-accounts.png");
    selectInPage(localized("OwnProperty"), "Checking Account")(frame);
    settle();
    failures += !save(frame, output, "app-account-chart.png");
    if (auto* reports = dynamic_cast<CReportingController*>(frame.mainTab("repo"))) {
        frame.showMainTab("repo");
        // The profit and loss of the last complete months, as a person picks it.
        auto* choice = reports->findChild<QComboBox*>("mGraphSelectionMenu");
        choice->setCurrentIndex(1);
        reports->findChild<QButtonGroup*>("mTimeSelection")->button(1)->click();
        settle();
        failures += !save(frame, output, "app-report.png");
        // The balance sheet's second page: its first holds the asset accounts
        // (house, car), which these books leave at 0.
        choice->setCurrentIndex(0);
        reports->findChild<QToolButton*>("nextPage")->click();
        settle();
        failures += !save(frame, output, "app-balance-sheet-property.png");
    }
    if (auto* budgets = dynamic_cast<CBudgetPageController*>(frame.mainTab("budg"))) {
        // A budget from last year's bookings, its actuals calculated, then its sheet.
        books.makeNewBudget(budget_base::kLastYear, 0, budget_period::kCurrentYear, 0, 0, std::nullopt,
                            "From last year's bookings", "Household");
        budgets->setContent();
        frame.showMainTab("budg");
        budgets->updateActuals();
        // The grid shows the figures of the account chosen in its outline.
        if (CAccount* checking = books.getAccountForName("Checking Account"))
            budgets->selectObject(true, fourCC("AcnT"), checking->Get_Id());
        settle();
        failures += !save(frame, output, "app-budgets.png");
        budgets->modifyBudget();
        settle();
        if (BudgetSheet* sheet = budgets->openSheet()) {
            failures += !save(*sheet, output, "app-budget-sheet.png");
            sheet->reject();
        }
        settle();
    }
    frame.showMainTab("V2");
    settle();

    // The customer's invoices and payments, and the sheet that finds the
    // invoices a payment settles.
    selectNode(localized("OWNERSTABCUSTOMERS"), 2)(frame);
    settle();
    if (auto* owners = dynamic_cast<business::GXOwnerViewController*>(frame.sideBarController().currentController())) {
        const auto customers = books.customerArray();
        if (!customers.empty()) owners->selectOwner(business::GXOwnerViewController::Tab::Customers, customers.front().get());
        owners->pair(true).rightTable()->selectRow(0);
        settle();
        failures += !save(frame, output, "app-customer-invoices.png");
        owners->searchInvoiceForPayment(true);
        settle();
        if (auto* search = owners->searchSheet(); search && search->isVisible()) {
            failures += !save(*search, output, "app-search-invoices.png");
            search->cancelClicked();
        } else {
            ++failures;
        }
        settle();
    }

    failures += settingsShots(frame, output);

    // The Books menu as it shows over a chosen account, and the toolbar's
    // customisation sheet.
    selectInPage(localized("OwnProperty"), "Checking Account")(frame);
    settle();
    if (auto* page = dynamic_cast<AccountCategoryPage*>(frame.sideBarController().currentController()))
        page->upperTable()->setFocus();
    settle();
    if (auto* menu = frame.menuBar()->findChild<QMenu*>("BOOKSMENU")) {
        emit menu->aboutToShow();
        menu->adjustSize();
        failures += !save(*menu, output, "app-books-menu.png");
    }
    frame.toolbar().runCustomizationSheet();
    settle();
    if (ToolbarCustomizationSheet* sheet = frame.toolbar().customizationSheet()) {
        failures += !save(*sheet, output, "app-toolbar-sheet.png");
        sheet->reject();
    }
    settle();

    window.books().initiateAccountCreationWithMasterType(1);
    settle();
    if (CPopupWindowAncestor* sheet = window.books().lastSheet()) {
        failures += !save(*sheet, output, "app-account-sheet.png");
        sheet->cancelClicked();
    }
    settle();

    controller.close(window);
    settle();
    if (QMessageBox* question = controller.openQuestion()) {
        failures += !save(*question, output, "app-save-question.png");
        question->findChild<QPushButton*>("cancel")->click();
    }
    settle();

    books.mPreference()->setMPassword(std::string("secret"));
    books.mPreference()->setMPasswordYes(true);
    const QString path = QDir(folder.path()).filePath("Household 2025.books");
    controller.setFileChooser([&](QWidget*, bool, const QString&) { return std::optional<QString>(path); });
    controller.saveAs(window);
    controller.discard(window);
    settle();
    controller.openDocumentFile(path.toStdString());
    settle();
    if (PasswordQuestion* question = controller.passwordQuestion()) {
        failures += !save(*question, output, "app-password.png");
        question->reject();
    }
    settle();

    // Changes only the journal holds, as after a crash: offered at the next opening.
    const QString crashed = QDir(folder.path()).filePath("Crashed.books");
    controller.setFileChooser([&](QWidget*, bool, const QString&) { return std::optional<QString>(crashed); });
    DocumentWindow& before = controller.makeNewDocument(false);
    controller.saveAs(before);
    for (const char* name : {"Garden", "Pond", "Bicycle"}) {
        arguments::CategoryParameters values;
        values.name = name;
        values.mParentId = 1;
        values.mMasterTypeId = 1;
        before.document().commandExecutor().executeCommand(15, nullptr, values);
    }
    controller.discard(before);
    settle();
    controller.openDocumentFile(crashed.toStdString());
    for (int i = 0; i < 50; ++i) {
        QThread::msleep(10);
        settle();
    }
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* sheet = qobject_cast<RollForwardSheet*>(widget); sheet && sheet->isVisible()) {
            failures += !save(*sheet, output, "app-rollforward.png");
            break;
        }
    controller.setFileChooser({});
    return failures;
}

} // namespace ch::review
