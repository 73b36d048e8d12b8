// Review pictures of the tables of the accounts and categories pages (their
// action buttons and menus, a sorted heading), the side bar's lower pane
// with the pie and its Quick Entry button, the pane collapsed, and the
// transaction sheet's cells with their add images.

#include <QHeaderView>
#include <QMenu>
#include <QStackedWidget>
#include <QTemporaryDir>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "document/MyDocument.h"
#include "document/app/GXApplicationDelegate.h"
#include "business/BusinessDefaults.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/V2SplitLayout.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/TableActionButton.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/fixture_books.h"
#include "ui/side_bar_rows.h"
#include "ui/ui_test_support.h"
#include "review_support.h"

namespace ch::review {

namespace {

AccountCategoryPage* showNode(DocumentWindowFrame& window, const std::string& title)
{
    CSideBarController& sideBar = window.sideBarController();
    const QModelIndex row = test::openAndFindSideBarRow(sideBar.outlineModel(), title, 0);
    sideBar.selectionModel().select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    settle();
    return dynamic_cast<AccountCategoryPage*>(sideBar.currentController());
}

void selectRow(AccountCategoryPage& page, const std::string& name)
{
    for (int row = 0; row < page.upperModel()->rowCount(); ++row)
        if (page.upperModel()->itemAt(row)->getName() == name) page.selectUpperItem(page.upperModel()->itemAt(row));
    settle();
}

// The action menu as it shows, validated.
bool writeMenu(TableActionButton& button, const QString& output, const char* file)
{
    button.validateItems();
    QMenu& menu = *button.actionMenu();
    menu.adjustSize();
    menu.ensurePolished();
    return save(menu, output, file);
}

} // namespace

int reviewTables(const QString& output)
{
    int failures = 0;
    {
        test::TestDocument books;
        test::buildFixtureBooks(books);
        test::RecordingWindowDocument document(books);
        DocumentWindowFrame window(document);
        window.resize(1280, 800);
        window.show();
        settle();

        if (AccountCategoryPage* accounts = showNode(window, "Bank Accounts")) {
            selectRow(*accounts, "Checking Account");
            // Sorted by the balance, highest first.
            QHeaderView* heading = accounts->upperTable()->horizontalHeader();
            const int balance = accounts->upperModel()->columnOf("lbal");
            emit heading->sectionClicked(balance);
            emit heading->sectionClicked(balance);
            settle();
            failures += !save(window, output, "tables-accounts.png");
            failures += !writeMenu(*accounts->accountActionButton(), output, "tables-account-menu.png");
            failures += !writeMenu(*accounts->transactionActionButton(), output, "tables-lines-menu.png");
        }
        if (AccountCategoryPage* categories = showNode(window, "Household")) {
            selectRow(*categories, "Groceries");
            failures += !save(window, output, "tables-categories.png");
            failures += !writeMenu(*categories->accountActionButton(), output, "tables-category-menu.png");
        }
        CSideBarView& sideBar = *window.v2Layout().sideBarView();
        showNode(window, "Bank Accounts");
        failures += !save(sideBar, output, "tables-sidebar-pie.png");
        sideBar.changeCollapseStateOfBottomSubview();
        settle();
        failures += !save(sideBar, output, "tables-sidebar-collapsed.png");
        sideBar.changeCollapseStateOfBottomSubview();
        settle();
        failures += !save(sideBar, output, "tables-sidebar-restored.png");
    }
    {
        // The transaction sheet of real books, over its window.
        UserDefaults& defaults = UserDefaults::standard();
        defaults.set("GXShowNewDocumentAssistant", Value(false));
        QTemporaryDir folder;
        QtDispatcher dispatcher;
        DocumentController controller(defaults, dispatcher);
        controller.setUntitledJournalFolder(folder.path().toStdString());
        DocumentWindow& window = controller.makeNewDocument(false);
        window.frame()->resize(1280, 800);
        settle();
        window.books().askTransactionInput(TransactionSheetRequest{});
        settle();
        if (CPopupWindowAncestor* sheet = window.books().lastSheet()) {
            failures += !save(*sheet, output, "tables-transaction-sheet.png");
            sheet->close();
        }
    }
    return failures;
}

} // namespace ch::review
