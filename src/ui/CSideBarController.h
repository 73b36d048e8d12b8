#pragma once
// CSideBarController: the left column of a document window, without its
// widgets. It owns the tree of the side bar (model and selection), makes
// the pages on first need and has the right column show the page of the
// selected node, routes the window's menu and toolbar commands to that page
// or to the account-type and category-group commands of the tree, and keeps
// the tree current through its document's notifications. Everything here
// runs without a window; CSideBarView shows it.
//
// One controller per document. Notifications and commands only ever
// concern that document: an item of another document is ignored.

#include <QItemSelectionModel>
#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "platform/core/four_char_code.h"
#include "platform/core/observable.h"
#include "ui/CommandSender.h"
#include "ui/SideBarPageKind.h"
#include "ui/SideBarTree.h"
#include "ui/sheets/QuickEntryLogic.h"

class QWidget;

namespace ch {

class GXSideBarControlledViewAncestor;
class ItemChartSink;
class SideBarDrops;
class SideBarOutlineModel;
class WindowDocument;
struct Notification;
namespace arguments {
class SimpleTransactionArguments;
}

// The right column, where pages are shown.
class PageColumn {
public:
    virtual ~PageColumn() = default;
    virtual void showPageView(QWidget* view) = 0;
    // The page's first key view follows the window's search field.
    virtual void setFirstKeyView(QWidget* view) = 0;
};

// The context menus of the nodes.
enum class NodeMenu { None, Empty, Transaction, RecurringTransaction, Share, Currency, Owner, Account, Category };

class CSideBarController : public QObject {
    Q_OBJECT

public:
    using PageFactory = std::function<std::unique_ptr<GXSideBarControlledViewAncestor>()>;

    // The narrowest the side-bar column may be made with the grip.
    static constexpr double kMinimumSideBarWidth = 200.0;

    explicit CSideBarController(WindowDocument& document, QObject* parent = nullptr);
    ~CSideBarController() override;

    WindowDocument& document() const { return mDocument; }
    SideBarOutlineModel& outlineModel() const { return *mModel; }
    QItemSelectionModel& selectionModel() const { return *mSelection; }

    // --- set-up
    // Builds the tree over the document's folders.
    void makeTreeRoot();
    const SideBarTree& tree() const { return mTree; }
    void setPageColumn(PageColumn* column) { mColumn = column; }
    // Answers whether the tree has the window's focus.
    void setOutlineFocusProbe(std::function<bool()> probe) { mOutlineHasFocus = std::move(probe); }
    void setAccountPie(ItemChartSink* pie) { mAccountPie = pie; }
    // Replaces how a kind of page is made (before it is first needed).
    void setPageFactory(SideBarPageKind kind, PageFactory factory);

    // --- state
    CNonVisualDataItem::Ptr currentItem() const { return mCurrentItem.lock(); }
    GXSideBarControlledViewAncestor* currentController() const { return mCurrentController; }
    std::optional<SideBarPageKind> currentPageKind() const { return mCurrentKind; }
    // The page of the kind, made on first request and kept.
    GXSideBarControlledViewAncestor* page(SideBarPageKind kind);
    // The page of the kind when it has been made.
    GXSideBarControlledViewAncestor* existingPage(SideBarPageKind kind) const;
    // The current page's selected item, else the current node.
    CNonVisualDataItem::Ptr deepCurrentItem() const;
    // 0 without a node; a header's own type; else its model object's type.
    FourCharCode currentObjectType() const;
    // A current node that is no header, of an account type, account,
    // category group or category.
    bool currentItemValidatesCommands() const;
    bool outlineHasFocus() const { return mOutlineHasFocus && mOutlineHasFocus(); }
    double constrainSplitPosition(double proposed, int dividerIndex) const;

    // --- the buttons and lower pane below the tree
    static NodeMenu menuForNode(const CNonVisualDataItem* node);
    NodeMenu actionMenu() const { return mActionMenu; }
    bool newButtonEnabled() const { return mNewButtonEnabled; }
    bool actionButtonEnabled() const { return mActionButtonEnabled; }
    // "trns" (quick entry) or "acct" (pie chart).
    const std::string& lowerPaneTab() const { return mLowerPaneTab; }
    bool fastTransactionAutomatic() const { return mFastTransactionAutomatic; }
    void forceFastTransactionpaneToFront();
    // Collapses the lower pane (keeping its height) or brings it back at no
    // less than kLowerPaneFloor points; answers the pane's new height.
    static constexpr double kLowerPaneFloor = 250.0;
    double changeCollapseStateOfBottomSubview(double currentHeight);
    bool lowerPaneCollapsed() const { return mIsCollapsed; }
    // The pane was collapsed or opened by dragging its divider.
    void setLowerPaneCollapsed(bool collapsed) { mIsCollapsed = collapsed; }

    // --- drops on the tree
    // What a drag from the tree carries: the current node's object key,
    // whatever row the drag started on; none when its object may not move.
    std::optional<std::string> dragKey() const;
    std::optional<std::string> dragName() const;
    // A dragged object's key dropped on the node: moved under a folder
    // through command 30, made a credit card on the cards' root, offered as
    // a VAT payment on the VAT titles.
    bool validateDrop(const CNonVisualDataItem::Ptr& node, const std::optional<std::string>& key) const;
    bool acceptDrop(const CNonVisualDataItem::Ptr& node, const std::optional<std::string>& key);

    // --- the quick entry in the lower pane
    // What the pane's fields show: today and the default own account at first.
    arguments::SimpleTransactionArguments& quickEntry() const { return *mQuickEntry; }
    // Checks and books the typed entry (command 23), or raises the error;
    // names the field that gets the focus.
    QuickEntryOutcome newFastTransactionPressed(const QuickEntryFields& fields);

    // --- selecting from outside
    // Selects the node of an object kind: level 1 for the roots ('AccT',
    // 'MxpT', 'ShaR', 'CurR', 'AcoW', 'CcrD'), level 2 for 'TrnS', 'RcrT'
    // and 'UnlT' (opening the transactions root first). Other types select
    // nothing.
    void selectNodeWithType(FourCharCode type, int level);
    // The last shown header row titled so: level 0 considers level-1
    // headers only, level 1 skips them, level 2 skips level-1 and level-2
    // headers. Ordinary rows never match, so that a folder the user named
    // like a header cannot take its place. -1 when none.
    int indexOfItemNamed(const std::string& title, int level) const;
    // Selects the row of the item when it is shown; false otherwise.
    bool selectItem(const CNonVisualDataItem* item);

    // --- pages
    // Shows the page of the node.
    void synchronizeChildViewWithItem(const CNonVisualDataItem::Ptr& item);

    // --- commands
    // The single entry of the window's menu and toolbar commands.
    void passMenuCommand(int code, const CommandSender& sender);
    MenuItemValidation validateMenuItem(int tag) const;
    // The current page's answer; disabled without a page.
    bool validateToolbarItem(const CommandSender& item) const;
    void searchContents(const std::string& text);
    void newObject(const CommandSender& sender);
    // The account-type and category-group commands of the tree.
    void newPressed();
    void newBelowPressed();
    void newObjectBelowPressed();
    void removePressed();
    // Also the tree's double action; a header is left alone.
    void modifyPressed();
    // The export sheet for what the page shows (deepCurrentItem).
    void exportTransactionsPressed();
    // The new-owner sheet on the people of the contacts.
    void newOwnerFromContactsPressed();

signals:
    void currentPageChanged();
    void buttonsChanged();
    void lowerPaneTabChanged();
    // Something the menus and the toolbar depend on changed.
    void validationNeeded();

private:
    void registerNotifications();
    void observe(const char* name, void (CSideBarController::*handler)(const Notification&));
    // The notification's item when it belongs to this document.
    CNonVisualDataItem::Ptr ownItem(const Notification& notification) const;
    void selectionChanged();
    // A page's own tab was chosen: its node is highlighted, the page left as it is.
    void followSubPage(FourCharCode kind);
    // Refills the pie from the folder it shows (a lone child folder's children).
    void refreshAccountPie();
    void pieContentsChanged(const Notification& notification);
    void showPage(SideBarPageKind kind, const CNonVisualDataItem::Ptr& node, std::optional<FourCharCode> subPage);
    void setLowerPaneTab(const std::string& tab);
    void refreshKinds(bool accounts, bool categories);
    // Opens the sheet for a new category group or account type beside the
    // current one, or below it; false when the list holds neither.
    bool askNewFolder(bool belowCurrent);

    void folderCreated(const Notification& notification);
    void accountTypeModified(const Notification& notification);
    void refreshChildren(const Notification& notification);
    void folderWillBeDeleted(const Notification& notification);
    void accountTypeDeleted(const Notification& notification);
    void categoryTypeDeleted(const Notification& notification);
    void refreshRoots(const Notification& notification);

    WindowDocument& mDocument;
    std::unique_ptr<SideBarOutlineModel> mModel;
    std::unique_ptr<QItemSelectionModel> mSelection;
    SideBarTree mTree;
    PageColumn* mColumn = nullptr;
    ItemChartSink* mAccountPie = nullptr;
    std::function<bool()> mOutlineHasFocus;
    std::map<SideBarPageKind, PageFactory> mFactories;
    std::map<SideBarPageKind, std::unique_ptr<GXSideBarControlledViewAncestor>> mPages;
    GXSideBarControlledViewAncestor* mCurrentController = nullptr;
    std::optional<SideBarPageKind> mCurrentKind;
    std::weak_ptr<CNonVisualDataItem> mCurrentItem;
    bool mFollowingPage = false;
    // The folder whose children the pie shows.
    std::weak_ptr<CNonVisualDataItem> mPieItem;
    NodeMenu mActionMenu = NodeMenu::Empty;
    bool mNewButtonEnabled = true;
    bool mActionButtonEnabled = false;
    std::string mLowerPaneTab = "trns";
    bool mFastTransactionAutomatic = true;
    bool mIsCollapsed = false;
    double mOldHeight = 0.0;
    std::vector<Subscription> mSubscriptions;
    std::unique_ptr<SideBarDrops> mDrops;
    std::unique_ptr<arguments::SimpleTransactionArguments> mQuickEntry;
};

} // namespace ch
