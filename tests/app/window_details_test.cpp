// Details a person meets in the window: the toolbar's Delete and Edit follow
// the share or currency chosen, new books made without the assistant have a
// home currency with a name, the categories the assistant makes show the
// colour of their kind, and the accounts page's upper table opens tall
// enough to read.

#include <QAction>
#include <QMenu>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "../ui/popup_clicks.h"
#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CCurRItem.h"
#include "bridge/TextColours.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "platform/core/localized_strings.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/GXSplitView.h"
#include "ui/SplitViewStyles.h"
#include "ui/MainToolbar.h"
#include "ui/controls/CPopupList.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;

class WindowDetailsTest : public ApplicationFixture {
protected:
    bool toolbarEnabled(const char* identifier)
    {
        QAction* item = frame().toolbar().itemAction(identifier);
        return item && item->isEnabled();
    }

    static void clickRow(QTableView* table, int row)
    {
        ASSERT_NE(table, nullptr);
        const QModelIndex cell = table->model()->index(row, table->horizontalHeader()->logicalIndex(0));
        table->scrollTo(cell);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
        settleEvents();
    }

    // New books made without the assistant, their window shown at 1280 by 800.
    void showNewBooksWithoutTheAssistant()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        controller.makeNewDocument(false);
        settle();
        frame().resize(1280, 800);
        frame().show();
        settle();
    }
};

TEST_F(WindowDetailsTest, ToolbarDeleteAndEditFollowTheChosenShareOrCurrency)
{
    environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
    controller.makeNewDocument(false);
    settle();
    frame().activateWindow();
    QApplication::setActiveWindow(&frame());
    settle();
    for (const char* pageTitle : {"SHAREBUTTON", "CURRENCYBUTTON"}) {
        SCOPED_TRACE(pageTitle);
        auto* page = showPage<GXCurrencyTableViewController>(localized(pageTitle), 1);
        ASSERT_NE(page, nullptr);
        if (page->tableModel()->rowCount() == 0) {
            // A share of its own, made through the page's "+" and its sheet.
            QTest::mouseClick(page->controlledView()->findChild<QPushButton*>("addAccountButton"), Qt::LeftButton);
            settle();
            CPopupWindowAncestor* sheet = window().books().lastSheet();
            ASSERT_TRUE(sheet && sheet->isVisible());
            typeInto(outlet(*sheet, "symbolField"), QStringLiteral("ACME"));
            typeInto(outlet(*sheet, "fullNameField"), QStringLiteral("Acme Corporation"));
            click(*sheet, "OKButton");
            settle();
        }
        ASSERT_GT(page->tableModel()->rowCount(), 0);
        clickRow(page->table(), 0);
        ASSERT_NE(page->selectedShare(), nullptr);
        EXPECT_TRUE(toolbarEnabled("deleteObject"));
        EXPECT_TRUE(toolbarEnabled("modifyObject"));

        // Edit opens the chosen one's sheet.
        frame().toolbar().itemAction("modifyObject")->trigger();
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        ASSERT_TRUE(sheet && sheet->isVisible());
        click(*sheet, "CancelButton");
        settle();
    }
}

// A first start has neither currency key in the defaults: the books still
// start with the locale's currency, and the account sheet offers it by name.
TEST_F(WindowDetailsTest, NewBooksWithoutTheAssistantOfferTheirHomeCurrencyByName)
{
    environment.defaults().remove("NSCurrencySymbol");
    environment.defaults().remove("NSInternationalCurrencyString");
    environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
    controller.makeNewDocument(false);
    settle();
    std::shared_ptr<CCurRItem> home = books().getHomeCurrency();
    ASSERT_NE(home, nullptr);
    EXPECT_FALSE(home->getName().empty());

    frame().toolbar().itemAction("newAccount")->trigger();
    settle();
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    auto* currency = sheet->findChild<CPopupList*>("currencyPopup");
    ASSERT_NE(currency, nullptr);
    const QString shown = currency->currentText();
    EXPECT_FALSE(shown.trimmed().startsWith(QLatin1Char(':'))) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(home->getName()))) << shown.toStdString();
    click(*sheet, "CancelButton");
    settle();
}

// The assistant gives its categories no colour of their own, so each shows
// the colour of its kind: income green, expenses red, transfers blue.
TEST_F(WindowDetailsTest, CategoriesTheAssistantMakesShowTheColourOfTheirKind)
{
    controller.makeNewDocument(true);
    for (int i = 0; i < 100 && !controller.assistant(); ++i) QTest::qWait(5);
    ASSERT_TRUE(finishAssistantNamingTheFirstAccount(controller, QStringLiteral("Checking")));
    settle();
    const struct {
        const char* group;
        Colour colour;
    } kinds[] = {{"incomeMxpTName", getGreenColor()},
                 {"expenseMxpTName", getRedColor()},
                 {"transferMxpTName", getBlueColor()}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.group);
        auto* page = showPage<AccountCategoryPage>(localized(kind.group), -1);
        ASSERT_NE(page, nullptr);
        ItemTableModel& rows = *page->upperModel();
        ASSERT_GT(rows.rowCount(), 0) << "the assistant made categories of this kind";
        const QColor expected = QColor::fromRgbF(kind.colour.red, kind.colour.green, kind.colour.blue);
        for (int row = 0; row < rows.rowCount(); ++row) {
            const QVariant swatch = rows.data(rows.index(row, rows.columnOf("color")), Qt::BackgroundRole);
            EXPECT_EQ(swatch.value<QColor>(), expected) << rows.itemAt(row)->getName();
        }
    }
}

// Opened the first time, the upper table gets a share that shows a number
// of rows; a position the user left is what it opens with later.
TEST_F(WindowDetailsTest, UpperTableOpensTallEnoughAndKeepsAStoredPosition)
{
    showNewBooksWithoutTheAssistant();
    auto* page = showPage<AccountCategoryPage>(localized("expenseMxpTName"), -1);
    ASSERT_NE(page, nullptr);
    settle();
    GXSplitView& split = *page->mainSplitView();
    ASSERT_EQ(split.count(), 2);
    const int rowHeight = page->upperTable()->verticalHeader()->defaultSectionSize();
    EXPECT_GE(split.widget(0)->height(), split.height() / 3);
    EXPECT_GE(page->upperTable()->viewport()->height(), 6 * rowHeight);

    // The user drags the divider up; new books open with that position.
    const QList<int> dragged{split.height() / 5, split.height() - split.height() / 5 - split.handleWidth()};
    split.setSizes(dragged);
    emit split.splitterMoved(dragged.front(), 1);
    settle();
    const int upper = split.widget(0)->height();
    controller.discard(window());
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    showNewBooksWithoutTheAssistant();
    auto* again = showPage<AccountCategoryPage>(localized("expenseMxpTName"), -1);
    ASSERT_NE(again, nullptr);
    settle();
    EXPECT_NEAR(again->mainSplitView()->widget(0)->height(), upper, 2);
}

// The Quick Entry pane at the side bar's default width and at the narrowest
// it can be dragged to, with empty fields and with a long account name among
// those offered: every label reads whole, beside or above its field.
TEST_F(WindowDetailsTest, QuickEntryLabelsReadWholeAtTheSideBarsWidths)
{
    showNewBooksWithoutTheAssistant();
    auto* pane = frame().findChild<QWidget*>("mFastTransactionEntryView");
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(pane->isVisible());
    auto* form = pane->findChild<QFormLayout*>();
    ASSERT_NE(form, nullptr);
    auto labelsReadWhole = [&] {
        for (int width : {V2SplitLayout::kDefaultSideBarWidth, int(CSideBarController::kMinimumSideBarWidth)}) {
            SCOPED_TRACE(width);
            frame().v2Layout().splitView()->setSizes({width, 1280 - width});
            settle();
            ASSERT_LE(frame().v2Layout().sideBarView()->width(), width);
            for (int row = 0; row < form->rowCount(); ++row) {
                QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole);
                auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
                if (!label) continue;
                SCOPED_TRACE(label->text().toStdString());
                QWidget* field = form->itemAt(row, QFormLayout::FieldRole)->widget();
                EXPECT_GE(label->width(), label->sizeHint().width());
                EXPECT_FALSE(label->geometry().intersects(field->geometry()));
                EXPECT_LE(field->geometry().right(), pane->contentsRect().right());
            }
        }
    };
    {
        SCOPED_TRACE("empty fields");
        labelsReadWhole();
    }
    makeAccount(books(), "Municipal Water and Sewage Authority", 3);
    settle();
    {
        SCOPED_TRACE("a long account name offered");
        labelsReadWhole();
    }
}

// The Quick Entry's pop-ups follow a rename made on the accounts page: the
// chosen account shows under its new name, and the list opened with the mouse
// offers the new name only.
TEST_F(WindowDetailsTest, QuickEntryPopupsFollowARename)
{
    showNewBooksWithoutTheAssistant();
    const long checking = makeAccount(books(), "Checking", 1);
    settle();
    QuickEntryPane* pane = frame().v2Layout().sideBarView()->quickEntryPane();
    ASSERT_NE(pane, nullptr);
    auto* our = pane->findChild<CPopupList*>("mOurAccountPopup");
    ASSERT_NE(our, nullptr);
    clickPopupEntry(our, "Checking");
    ASSERT_EQ(our->objectValue(), std::optional<long>(checking));

    // Renamed through its sheet, opened by a double click on its row.
    auto* page = showPage<AccountCategoryPage>(localized("OwnProperty"), -1);
    ASSERT_NE(page, nullptr);
    clickUpperRow(*page, "Checking");
    doubleClickSelectedRow(page->upperTable());
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    typeInto(outlet(*sheet, "nameField"), "Current Account");
    click(*sheet, "OKButton");
    settle();
    ASSERT_EQ(books().getAccountForId(static_cast<ObjectIdT>(checking))->Get_StringrefName(), "Current Account");

    EXPECT_EQ(our->currentText(), "Current Account");
    EXPECT_EQ(our->objectValue(), std::optional<long>(checking));
    EXPECT_GE(our->findText("Current Account"), 0);
    EXPECT_LT(our->findText("Checking"), 0) << "the list shows the new name too";

    // Opened with the mouse, the list offers the new name, and choosing it
    // chooses the same account.
    our->clearValue();
    clickPopupEntry(our, "Current Account");
    EXPECT_EQ(our->currentText(), "Current Account");
    EXPECT_EQ(our->objectValue(), std::optional<long>(checking));
}

// Delete, Edit and Flag of the toolbar are enabled only where they act: not
// when a search leaves the transactions list empty, nor on the currencies
// page with nothing chosen.
TEST_F(WindowDetailsTest, ToolbarDeleteEditAndFlagAreDisabledWhereTheyWouldDoNothing)
{
    showNewBooksWithoutTheAssistant();
    const long checking = makeAccount(books(), "Checking", 1);
    const long shop = makeAccount(books(), "Shop", 3);
    bookTransaction(books(), checking, shop, makeExpenseCategory(books(), "Groceries"), 4.5, "Bread", 20250903);
    settle();
    auto* transactions = showPage<GXTransactionViewController>(localized("TRANSBUTTON"), 2);
    ASSERT_NE(transactions, nullptr);
    GXTableAncestor* table = transactions->table(GXTransactionViewController::Tab::Transactions);
    ASSERT_GT(table->model()->rowCount(), 0);
    clickRow(table, 0);
    EXPECT_TRUE(toolbarEnabled("deleteObject"));
    QLineEdit* search = frame().toolbar().searchField();
    search->setFocus();
    QTest::keyClicks(search, "nothing is called so");
    QTest::keyClick(search, Qt::Key_Return);
    settle();
    ASSERT_EQ(table->model()->rowCount(), 0);
    for (const char* item : {"deleteObject", "modifyObject", "flagObject"}) EXPECT_FALSE(toolbarEnabled(item)) << item;
    search->clear();
    settle();

    auto* currencies = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(currencies, nullptr);
    ASSERT_EQ(currencies->selectedShare(), nullptr);
    for (const char* item : {"deleteObject", "modifyObject", "flagObject"}) EXPECT_FALSE(toolbarEnabled(item)) << item;
}

// The right button on a side-bar row that is not chosen chooses it and opens
// its menu at once, the click going through the window as the window system
// delivers it (the press, the context-menu event the press brings, the
// release): rows of several kinds, each chosen by the click on it.
TEST_F(WindowDetailsTest, TheFirstRightClickOnASideBarRowOpensItsMenu)
{
    showNewBooksWithoutTheAssistant();
    CSideBarController& sideBar = frame().sideBarController();
    GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
    QWidget& top = *outline.window();
    ASSERT_NE(top.windowHandle(), nullptr);
    for (const char* title : {"Corrections", "Customers", "Shares", "Transfers", "VAT Rates", "Recurring"}) {
        SCOPED_TRACE(title);
        const QModelIndex row = openAndFindSideBarRow(sideBar.outlineModel(), title);
        ASSERT_TRUE(row.isValid());
        ASSERT_NE(sideBar.currentItem() ? sideBar.currentItem()->getName() : std::string(), title);
        settle();
        outline.scrollTo(row);
        const QPoint inWindow = outline.viewport()->mapTo(&top, outline.visualRect(row).center());
        QTest::mousePress(top.windowHandle(), Qt::RightButton, {}, inWindow);
        settle();
        QTest::mouseRelease(top.windowHandle(), Qt::RightButton, {}, inWindow);
        settle();
        ASSERT_NE(sideBar.currentItem(), nullptr);
        EXPECT_EQ(sideBar.currentItem()->getName(), title);
        QMenu* expected =
            frame().v2Layout().sideBarView()->menuFor(CSideBarController::menuForNode(sideBar.currentItem().get()));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu opened";
        EXPECT_EQ(menu, expected) << "the row's own menu";
        if (menu) menu->close();
        settle();
    }
}

// A click on a page's own tab moves the side bar's highlight to the row of
// that tab; the page stays on the tab chosen.
TEST_F(WindowDetailsTest, TheSideBarHighlightFollowsAPagesTab)
{
    showNewBooksWithoutTheAssistant();
    const struct {
        const char* row;
        const char* tab;
        const char* rowOfTab;
    } cases[] = {
        {"CUSTOMERBUTTON", "OWNERSTABSUPPLIERS", "SUPPLIERBUTTON"},
        {"SUPPLIERBUTTON", "OWNERSTABALL", "OWNERBUTTON"},
        {"VATPERIODTITLE", "SETUPTABVATRATES", "VATRATETITLE"},
        {"VATRATETITLE", "SETUPTABVATPERIODS", "VATPERIODTITLE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        GXSideBarControlledViewAncestor* page = showPage(localized(c.row), 0);
        ASSERT_NE(page, nullptr);
        auto* tabs = page->controlledView()->findChild<QTabWidget*>("pageTab");
        ASSERT_NE(tabs, nullptr);
        clickTab(*tabs, localizedText(c.tab));
        EXPECT_EQ(tabs->tabText(tabs->currentIndex()), localizedText(c.tab));
        CSideBarController& sideBar = frame().sideBarController();
        ASSERT_NE(sideBar.currentItem(), nullptr);
        EXPECT_EQ(sideBar.currentItem()->getName(), localized(c.rowOfTab));
        const QModelIndexList selected = sideBar.selectionModel().selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(sideBar.outlineModel().data(selected.front()).toString(), localizedText(c.rowOfTab));
        EXPECT_EQ(sideBar.currentController(), page) << "the page stays";
    }
}

} // namespace
} // namespace ch
