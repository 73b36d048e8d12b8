#pragma once
// The side bar's widgets over its controller: the tree (a gradient
// outline that takes drops), the lower pane with its two tabs ("trns" quick entry, "acct"
// pie chart), and the strip at the foot with the "+" button, the action
// button with the node's menu, and the grip that moves the window's main
// divider. All state lives in CSideBarController; this view shows it and
// passes the user's clicks on.

#include <QWidget>

#include <map>

class QMenu;
class QStackedWidget;
class QToolButton;

namespace ch {

class CSideBarController;
class CSplitterDragger;
class GXGradientOutlineView;
class GXMenuButton;
class GXSplitView;
class IconLibrary;
class PieChartSinkView;
class QuickEntryPane;
enum class NodeMenu;

class CSideBarView : public QWidget {
    Q_OBJECT

public:
    CSideBarView(CSideBarController& controller, IconLibrary& icons, QWidget* parent = nullptr);
    ~CSideBarView() override;

    GXGradientOutlineView* outline() const { return mOutline; }
    GXSplitView* splitView() const { return mSplitView; }
    CSplitterDragger* grip() const { return mGrip; }
    QToolButton* newButton() const { return mNewButton; }
    GXMenuButton* actionButton() const { return mActionButton; }
    QStackedWidget* lowerPane() const { return mLowerTabs; }
    QuickEntryPane* quickEntryPane() const { return mQuickEntry; }
    // On the pie's tab: brings the quick entry back to the front.
    QToolButton* quickEntryButton() const { return mQuickEntryButton; }
    // In the foot strip: collapses the lower pane or brings it back.
    QToolButton* collapseButton() const { return mCollapseButton; }
    QWidget* lowerView() const { return mLowerView; }
    void changeCollapseStateOfBottomSubview();
    // The context menu of a kind of node (null for none).
    QMenu* menuFor(NodeMenu kind) const;

    // The grip moves the boundary of the window's main split view.
    void setSurroundingSplitView(GXSplitView* splitView, QWidget* leftView, QWidget* rightView);

private:
    void buildMenus();
    void syncExpansion();
    void followButtons();
    void followLowerPane();

    CSideBarController& mController;
    GXSplitView* mSplitView;
    GXGradientOutlineView* mOutline;
    QStackedWidget* mLowerTabs;
    QuickEntryPane* mQuickEntry;
    PieChartSinkView* mPie;
    QToolButton* mNewButton;
    QToolButton* mQuickEntryButton;
    QToolButton* mCollapseButton;
    QWidget* mLowerView = nullptr;
    GXMenuButton* mActionButton;
    CSplitterDragger* mGrip;
    std::map<NodeMenu, QMenu*> mMenus;
};

} // namespace ch
