// The document window's frame: the toolbar it shows, split positions that
// survive closing and reopening the window, and two documents open at once
// that never show or act on each other's objects.

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QStackedWidget>
#include <QWidgetAction>

#include "ui/MainToolbarItems.h"
#include "ui/PlaceholderPage.h"
#include "ui/CSplitterDragger.h"
#include "ui/SplitViewStyles.h"
#include "window_fixture.h"

namespace ch::test {
namespace {

class DocumentWindowTest : public ::testing::Test {
protected:
    UiEnvironment environment;
};

TEST_F(DocumentWindowTest, ToolbarShowsTheDefaultSetWithOverviewSelected)
{
    OpenDocument open;
    open.open();
    std::vector<std::string> shown;
    for (QAction* action : open.window->toolbar().actions()) {
        if (action->isSeparator())
            shown.push_back("separator");
        else if (action->property("toolbarIdentifier").isValid())
            shown.push_back(action->property("toolbarIdentifier").toString().toStdString());
        else if (action->objectName() == "customize")
            shown.push_back("customize");
        else
            shown.push_back("flexibleSpace");
    }
    std::vector<std::string> expected;
    for (std::string_view identifier : toolbarDefaultItemIdentifiers()) expected.emplace_back(identifier);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(open.window->toolbar().objectName(), "mainToolbarV163");
    EXPECT_EQ(open.window->toolbar().selectedItemIdentifier(), "main");

    // Items carry their tags; the search field its fixed tip and widths.
    const std::pair<const char*, int> tags[] = {
        {"newTrans", 1110}, {"deleteObject", 1104}, {"modifyObject", 1114}, {"flagObject", 1121}, {"main", 0}};
    for (const auto& [identifier, tag] : tags) EXPECT_EQ(open.toolbarItem(identifier)->property("tag").toInt(), tag);
    QLineEdit* search = open.window->toolbar().searchField();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->toolTip(), "Search Your Document");
    EXPECT_EQ(search->minimumWidth(), 100);
    EXPECT_EQ(search->maximumWidth(), 400);

    // Items outside the default set are made on request; an unknown one is bare.
    QAction* preview = open.window->toolbar().makeItem("V2Preview");
    EXPECT_EQ(preview->text(), "Books");
    EXPECT_EQ(preview->property("action").toString(), "V2Page:");
    QAction* unknown = open.window->toolbar().makeItem("frobnicate");
    EXPECT_EQ(unknown->objectName(), "frobnicate");
    EXPECT_TRUE(unknown->text().isEmpty());
}

TEST_F(DocumentWindowTest, EveryNodeShowsItsPageInTheRightColumn)
{
    OpenDocument open;
    open.open();
    QStackedWidget* column = open.window->v2Layout().pageColumn();
    const std::pair<const char*, int> nodes[] = {{"Transactions", 2}, {"Recurring", 2}, {"Accounts", 1},
                                                 {"Bank Accounts", 0}, {"Household", 0}, {"Shares", 1},
                                                 {"Owners", 1},       {"Currencies", 1}, {"Credit Cards", 1},
                                                 {"VAT Rates", 2}};
    for (const auto& [title, level] : nodes) {
        open.select(title, level);
        auto* page = open.sideBar().currentController();
        ASSERT_NE(page, nullptr) << title;
        EXPECT_EQ(column->currentWidget(), page->controlledView()) << title;
        EXPECT_TRUE(page->controlledView()->isVisible()) << title;
        if (auto* placeholder = dynamic_cast<PlaceholderPage*>(page)) {
            const std::string heading = placeholder->title().toStdString();
            EXPECT_TRUE(heading == title || (std::string(title) == "Transactions")) << heading;
        }
    }
}

TEST_F(DocumentWindowTest, SplitPositionsSurviveClosingAndReopeningTheWindow)
{
    OpenDocument open;
    open.open();
    GXSplitView* main = open.window->v2Layout().splitView();
    GXSplitView* sideBar = open.window->v2Layout().sideBarView()->splitView();
    EXPECT_EQ(main->positionAutosaveName(), "V2Splitter");
    EXPECT_EQ(sideBar->positionAutosaveName(), "sidebarSplitview");
    main->setSizes({330, 950});
    emit main->splitterMoved(330, 1);
    const int sideBarTotal = sideBar->sizes().at(0) + sideBar->sizes().at(1);
    sideBar->setSizes({sideBarTotal - 220, 220});
    emit sideBar->splitterMoved(sideBarTotal - 220, 1);
    const QList<int> mainSizes = main->sizes();
    const QList<int> sideBarSizes = sideBar->sizes();
    open.close();

    open.open();
    EXPECT_EQ(open.window->v2Layout().splitView()->sizes(), mainSizes);
    EXPECT_EQ(open.window->v2Layout().sideBarView()->splitView()->sizes(), sideBarSizes);
}

TEST_F(DocumentWindowTest, TwoDocumentsNeverShowOrActOnEachOthersObjects)
{
    OpenDocument first;
    OpenDocument second;
    second.books.root().InsertAccountType(-1, "Only In The Second", "Only In The Second", "", std::nullopt, 1, -1);
    first.open();
    second.open();
    first.window->v2Layout().splitView()->setSizes({400, 880});
    emit first.window->v2Layout().splitView()->splitterMoved(400, 1);

    // Each side bar shows its own books.
    second.select("Only In The Second");
    EXPECT_EQ(second.sideBar().currentItem()->parentDocument(), &second.books);
    const auto firstRows = first.sideBar().outlineModel().shownRows();
    for (const QModelIndex& row : firstRows) {
        const auto item = first.sideBar().outlineModel().itemAt(row);
        EXPECT_NE(item->getName(), "Only In The Second");
        if (item->getSourceItem()) {
            EXPECT_EQ(item->parentDocument(), &first.books);
        }
    }

    // Selecting and deleting in one window leaves the other alone.
    first.select("Household");
    second.select("Bank Accounts");
    second.outline().setFocus();
    second.menuItem("DELETEMENUITEM")->trigger();
    ASSERT_EQ(second.document.calls.size(), 1u);
    EXPECT_EQ(second.document.calls.front().item->parentDocument(), &second.books);
    EXPECT_TRUE(first.document.calls.empty());
    EXPECT_EQ(first.sideBar().currentItem()->getName(), "Household");

    // A notification that carries the first document's folder, reaching the
    // second document's centre, changes nothing there.
    const auto firstFolder = first.sideBar().currentItem();
    second.books.notificationCenter().post("CATEGORYTYPEWILLBEDELETED", firstFolder);
    second.books.notificationCenter().post("CATEGORYTYPECREATED", firstFolder);
    EXPECT_EQ(second.sideBar().currentItem()->getName(), "Bank Accounts");

    // The split-view names belong to the first window: the second keeps its
    // own layout and saves nothing; once the first is closed, a new window
    // takes the names and the first window's positions.
    EXPECT_EQ(second.window->v2Layout().splitView()->positionAutosaveName(), QString());
    EXPECT_NE(second.window->v2Layout().splitView()->sizes().at(0), 400);
    first.close();
    OpenDocument third;
    third.open();
    EXPECT_EQ(third.window->v2Layout().splitView()->positionAutosaveName(), "V2Splitter");
    EXPECT_EQ(third.window->v2Layout().splitView()->sizes().at(0), 400);
}

TEST_F(DocumentWindowTest, MainTabsCanBeReplacedByTheirPages)
{
    OpenDocument open;
    open.open();
    for (const char* tab : {"budg", "repo", "Import"}) ASSERT_NE(open.window->mainTab(tab), nullptr) << tab;
    auto* budget = new QWidget;
    open.window->setMainTab("budg", budget);
    open.toolbarItem("budgets")->trigger();
    EXPECT_EQ(open.window->currentMainTab(), "budg");
    EXPECT_TRUE(budget->isVisible());
    EXPECT_EQ(open.window->toolbar().selectedItemIdentifier(), "budgets");
}


TEST_F(DocumentWindowTest, DoubleClickModifiesAFolderButNotAHeader)
{
    OpenDocument open;
    open.open();
    GXGradientOutlineView& outline = open.outline();
    SideBarOutlineModel& model = open.sideBar().outlineModel();
    open.select("Bank Accounts");   // opens the way to it
    auto doubleClick = [&](const std::string& title, int level) {
        for (const QModelIndex& row : model.shownRows()) {
            const auto item = model.itemAt(row);
            if (item->getName() != title || item->headerLevel() != level) continue;
            outline.scrollTo(row);
            const QPoint point = outline.visualRect(row).center();
            QTest::mouseClick(outline.viewport(), Qt::LeftButton, {}, point);
            QTest::mouseDClick(outline.viewport(), Qt::LeftButton, {}, point);
            return;
        }
        ADD_FAILURE() << "no row " << title;
    };
    for (auto [title, level] : {std::pair{"Debts", 2}, {"Accounts", 1}, {"Expenses", 2}}) doubleClick(title, level);
    EXPECT_TRUE(open.document.calls.empty());
    doubleClick("Bank Accounts", -1);
    ASSERT_EQ(open.document.calls.size(), 1u);
    EXPECT_EQ(open.document.calls.front().operation, "createNewAccountTypeAsked");
    EXPECT_EQ(open.document.calls.front().parameters.dialogAction, 2);
    EXPECT_EQ(open.document.calls.front().parameters.accountTypeToModify->getName(), "Bank Accounts");
}

TEST_F(DocumentWindowTest, TheGripMovesTheMainDividerButKeepsTheSideBarWide)
{
    OpenDocument open;
    open.open();
    CSplitterDragger& grip = *open.window->v2Layout().sideBarView()->grip();
    GXSplitView& split = *open.window->v2Layout().splitView();
    auto drag = [&](int dx) {
        const QPoint start = grip.rect().center();
        QTest::mousePress(&grip, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, 0)), QPointF(grip.mapTo(open.window.get(), start + QPoint(dx, 0))),
                         QPointF(grip.mapToGlobal(start + QPoint(dx, 0))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&grip, &move);
        QTest::mouseRelease(&grip, Qt::LeftButton, {}, start + QPoint(dx, 0));
        processEvents();
    };
    const int before = split.sizes().at(0);
    drag(60);
    EXPECT_EQ(split.sizes().at(0), before + 60);
    // Narrower than 200 points is refused.
    drag(-(before + 60 - 150));
    EXPECT_EQ(split.sizes().at(0), before + 60);
    drag(-(before + 60 - 210));
    EXPECT_EQ(split.sizes().at(0), 210);
}

} // namespace
} // namespace ch::test
