// Dragging out of the pages onto the side bar, and the side bar's lower
// pane, in an open window: a transaction dragged from the transactions page
// onto the VAT titles is offered as a VAT payment; once the pie shows, its
// button brings Quick Entry back for good; the pane collapses and comes back
// no smaller than 250 points.

#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "bridge/CTrnSItem.h"
#include "platform/core/localized_strings.h"
#include "ui/GXSplitView.h"
#include "ui/QuickEntryPane.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemDragSource.h"
#include "ui/pages/GXTransactionViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

class TablesDragsTest : public ::testing::Test {
protected:
    void SetUp() override { open.open(); }

    QPoint rowCentre(const std::string& title, int level)
    {
        const QModelIndex row = openAndFindSideBarRow(open.sideBar().outlineModel(), title, level);
        EXPECT_TRUE(row.isValid()) << title;
        open.outline().scrollTo(row);
        processEvents();
        return open.outline().visualRect(row).center();
    }

    UiEnvironment env;
    OpenDocument open;
};

TEST_F(TablesDragsTest, ATransactionDraggedFromItsPageToTheVATTitlesIsOfferedAsAVATPayment)
{
    using Tab = GXTransactionViewController::Tab;
    open.select(localized("TRANSBUTTON"), 2);
    processEvents();
    auto* page = dynamic_cast<GXTransactionViewController*>(open.sideBar().currentController());
    ASSERT_NE(page, nullptr);
    auto* source = page->table(Tab::Transactions)->findChild<ItemDragSource*>();
    ASSERT_NE(source, nullptr);
    // Nothing selected: nothing to drag.
    EXPECT_EQ(std::unique_ptr<QMimeData>(source->dragData()), nullptr);

    const auto transaction = page->controller(Tab::Transactions).arrangedObjectAt(0);
    ASSERT_NE(transaction, nullptr);
    page->selectItem(Tab::Transactions, transaction.get());
    processEvents();
    std::unique_ptr<QMimeData> dragged(source->dragData());
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->text().toStdString(), transaction->getName());

    open.document.vatPaymentAnswer = true;
    const auto [moved, dropped] =
        dragAndDrop(open.outline().viewport(), rowCentre(localized("VATPERIODTITLE"), 2), dragged.get());
    EXPECT_TRUE(moved);
    EXPECT_TRUE(dropped);
    ASSERT_FALSE(open.document.calls.empty());
    EXPECT_EQ(open.document.calls.back().operation, "tryToSetTransactionAsVATBalancePaymentTransaction");
    EXPECT_EQ(open.document.calls.back().item, transaction);

    // The transaction is no account: the cards' root refuses it.
    const auto [cardMove, cardDrop] =
        dragAndDrop(open.outline().viewport(), rowCentre(localized("CREDITCARDBUTTON"), 1), dragged.get());
    EXPECT_FALSE(cardMove);
    EXPECT_FALSE(cardDrop);
}

TEST_F(TablesDragsTest, OnceThePieShowsItsButtonBringsQuickEntryBackToStay)
{
    CSideBarView& view = *open.window->v2Layout().sideBarView();
    open.select("Bank Accounts");
    processEvents();
    ASSERT_EQ(open.sideBar().lowerPaneTab(), "acct");
    ASSERT_TRUE(view.quickEntryButton()->isVisible());

    QTest::mouseClick(view.quickEntryButton(), Qt::LeftButton);
    processEvents();
    EXPECT_EQ(open.sideBar().lowerPaneTab(), "trns");
    EXPECT_EQ(view.lowerPane()->currentWidget(), view.quickEntryPane());
    // Another folder keeps Quick Entry in front ...
    open.select("Savings");
    processEvents();
    EXPECT_EQ(open.sideBar().lowerPaneTab(), "trns");
    // ... until the transactions page has been shown again.
    open.select(localized("TRANSBUTTON"), 2);
    open.select("Bank Accounts");
    processEvents();
    EXPECT_EQ(open.sideBar().lowerPaneTab(), "acct");
}

TEST_F(TablesDragsTest, TheLowerPaneCollapsesAndComesBackAtLeast250High)
{
    // The pane's height before, what it comes back at.
    const std::pair<double, double> cases[] = {{150, 250}, {250, 250}, {400, 400}, {0, 250}};
    for (const auto& [before, restored] : cases) {
        CSideBarController controller(open.document);
        EXPECT_EQ(controller.changeCollapseStateOfBottomSubview(before), 0.0) << before;
        EXPECT_TRUE(controller.lowerPaneCollapsed());
        EXPECT_EQ(controller.changeCollapseStateOfBottomSubview(0.0), restored) << before;
        EXPECT_FALSE(controller.lowerPaneCollapsed());
    }

    CSideBarView& view = *open.window->v2Layout().sideBarView();
    GXSplitView& split = *view.splitView();
    ASSERT_GT(split.sizes().at(1), 0);
    QTest::mouseClick(view.collapseButton(), Qt::LeftButton);
    processEvents();
    EXPECT_EQ(split.sizes().at(1), 0);
    EXPECT_TRUE(split.isSubviewCollapsed(view.lowerView()));
    EXPECT_TRUE(open.sideBar().lowerPaneCollapsed());

    QTest::mouseClick(view.collapseButton(), Qt::LeftButton);
    processEvents();
    EXPECT_GE(split.sizes().at(1), 250);
    EXPECT_FALSE(split.isSubviewCollapsed(view.lowerView()));
    EXPECT_FALSE(open.sideBar().lowerPaneCollapsed());
}

} // namespace
} // namespace ch::test
