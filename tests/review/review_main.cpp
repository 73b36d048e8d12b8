// countinghouse_review: opens a fixture document in a window offscreen and
// writes a PNG of the window and of each page into review/ of the build
// folder (or the folder given as the first argument), for a person to look
// at. Not a test: it judges nothing.
//
// A new page joins the review with one more entry in shots().

#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QThread>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"
#include "model/CPreference.h"
#include "model/foundation/CDate.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "analysis/views/CReportingController.h"
#include "ui/pages/CBudgetPageController.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "app/PasswordQuestion.h"
#include "app/RollForwardSheet.h"
#include "document/arguments/CategoryParameters.h"
#include "bridge/ArgumentRecords.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDefaults.h"
#include "document/MyDocument.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/arguments/CTransactionArguments.h"
#include "platform/core/four_char_code.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/V2SplitLayout.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/CCreditCardTransactionTableView.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/pages/ClassicLayout.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "ui/fixture_books.h"
#include "ui/side_bar_rows.h"
#include "ui/ui_test_support.h"

namespace {

using namespace ch;
using namespace ch::test;

struct Shot {
    std::string file;
    std::function<void(DocumentWindowFrame&)> prepare;
};

void settle()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

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

// The classic layout hosted as a main tab, on its page of the identifier,
// with the row of `selected` chosen in that page's outline.
std::function<void(DocumentWindowFrame&)> classicTab(std::string identifier, QString selected = {})
{
    return [identifier, selected](DocumentWindowFrame& window) {
        auto* layout = dynamic_cast<ClassicLayout*>(window.mainTab("classic"));
        if (!layout) {
            BridgeDocument& books = window.document().books();
            layout = new ClassicLayout(
                books, [&books](CNonVisual* parent, CNonVisual* child) { return books.accounting()->Put_mParentId(parent, child); },
                &window.icons());
            window.setMainTab("classic", layout);
        }
        layout->showTab(identifier);
        if (identifier == "expt") layout->switchExpense();
        layout->propertyTable()->expandToDepth(1);
        layout->incomeTable()->expandToDepth(1);
        window.showMainTab("classic");
        QTreeView* outline = identifier == "expt" ? static_cast<QTreeView*>(layout->incomeTable()) : layout->propertyTable();
        if (const QModelIndex row = outlineRow(*outline->model(), selected); row.isValid())
            outline->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
}

std::function<void(DocumentWindowFrame&)> mainTab(std::string identifier)
{
    return [identifier](DocumentWindowFrame& window) { window.showMainTab(identifier); };
}

std::vector<Shot> shots()
{
    return {
        {"window.png", [](DocumentWindowFrame& window) {
             // The quick entry half typed, as the user leaves it between two entries.
             CSideBarController& sideBar = window.sideBarController();
             sideBar.forceFastTransactionpaneToFront();
             arguments::SimpleTransactionArguments& entry = sideBar.quickEntry();
             entry.setOtherAccountId(FixtureBooks::kExpenseAccount);
             entry.setAmount(-24.0);
             entry.setName(std::string("Cinema"));
             window.v2Layout().sideBarView()->outline()->setFocus();
         }},
        {"page-accounts-overview.png", selectNode("Accounts")},
        {"page-account-type.png", selectNode("Bank Accounts")},
        {"page-categories-overview.png", selectNode("Categories")},
        {"page-account.png", selectInPage("Bank Accounts", "Checking Account")},
        {"page-debts.png", selectNode("Debts")},
        {"page-category-group.png", selectNode("Household")},
        {"page-category.png", selectInPage("Household", "Groceries")},
        {"page-transactions.png", selectNode("Transactions")},
        {"page-recurring.png", selectNode("Recurring")},
        {"page-generated.png", selectNode("Generated")},
        {"page-shares.png", selectNode("Shares")},
        {"page-owners.png", selectNode("Owners")},
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
    auto book = [&](long date, const char* name, const char* from, const char* to, const char* category,
                    double amount) {
        std::shared_ptr<CTrnSItem> temporary = books.makeEmptyTransactionOfType(3);
        SimpleTransactionArguments values;
        values.absoluteAmount = amount;
        values.fromAccountId = idOf(*root.mAccountList, from);
        values.toAccountId = idOf(*root.mAccountList, to);
        values.category = *category ? idOf(*root.mExpenseTypeList, category) : transfer;
        values.categoryAmount = amount;
        values.name = name;
        values.date = date;
        temporary->setEqualToSimpleTransactionArguments(values);
        arguments::CTransactionArguments command;
        command.mTransactionDictionary = temporary->dictionaryRepresentation();
        books.commandExecutor().executeCommand(23, nullptr, command);
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

bool save(QWidget& widget, const QString& output, const char* file)
{
    const QString path = QDir(output).filePath(QString::fromLatin1(file));
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

// The application's own window over real books: new books through the
// assistant, a few bookings, the sheets and questions a person meets.
int applicationShots(const QString& output, UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("NSInternationalCurrencyString", Value(std::string("EUR")));
    defaults.set("NSCurrencySymbol", Value(std::string("EUR")));
    defaults.set("GXShowNewDocumentAssistant", Value(true));
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    DocumentController controller(defaults, dispatcher);
    controller.setUntitledJournalFolder(folder.path().toStdString());
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
    settle();
    window.frame()->sideBarController().selectNodeWithType(fourCC("TrnS"), 2);
    settle();
    failures += !save(*window.frame(), output, "app-window.png");
    selectNode("Accounts")(*window.frame());
    settle();
    failures += !save(*window.frame(), output, "app-accounts.png");
    selectInPage("Own Property", "Checking Account")(*window.frame());
    settle();
    failures += !save(*window.frame(), output, "app-account-chart.png");
    if (auto* reports = dynamic_cast<CReportingController*>(window.frame()->mainTab("repo"))) {
        window.frame()->showMainTab("repo");
        // The profit and loss of the last complete months, as a person picks it.
        auto* choice = reports->findChild<QComboBox*>("mGraphSelectionMenu");
        choice->setCurrentIndex(1);
        reports->findChild<QButtonGroup*>("mTimeSelection")->button(1)->click();
        settle();
        failures += !save(*window.frame(), output, "app-report.png");
    }
    if (auto* budgets = dynamic_cast<CBudgetPageController*>(window.frame()->mainTab("budg"))) {
        // A budget from last year's bookings, its actuals calculated, then its sheet.
        window.document().makeNewBudget(budget_base::kLastYear, 0, budget_period::kCurrentYear, 0, 0, std::nullopt,
                                        "From last year's bookings", "Household");
        budgets->setContent();
        window.frame()->showMainTab("budg");
        budgets->updateActuals();
        settle();
        failures += !save(*window.frame(), output, "app-budgets.png");
        budgets->modifyBudget();
        settle();
        if (BudgetSheet* sheet = budgets->openSheet()) {
            failures += !save(*sheet, output, "app-budget-sheet.png");
            sheet->reject();
        }
        settle();
    }

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
    return failures;
}

} // namespace

int reviewPrefs(const QString& output, ch::UserDefaults& defaults);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(COUNTINGHOUSE_REVIEW_OUTPUT);
    QDir().mkpath(output);

    UiEnvironment environment;
    TestDocument books;
    const FixtureBooks ids = buildFixtureBooks(books);
    if (auto* visa = static_cast<CAccount*>(books.root().mAccountList->GetValueForId(ids.visa))) {
        visa->Put_mAccountSpecialType(CAccount::kCreditCard);
        visa->Put_mCreditCardSubType(2);
    }
    RecordingWindowDocument document(books);

    DocumentWindowFrame window(document);
    window.setWindowTitle(QStringLiteral("Household 2025.books"));
    window.resize(1280, 800);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    settle();

    int failures = 0;
    for (const Shot& shot : shots()) {
        shot.prepare(window);
        settle();
        const QString path = QDir(output).filePath(QString::fromStdString(shot.file));
        if (window.grab().save(path)) {
            std::printf("wrote %s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            ++failures;
        }
    }
    failures += applicationShots(output, environment.defaults());
    failures += reviewPrefs(output, environment.defaults());
    return failures == 0 ? 0 : 1;
}
