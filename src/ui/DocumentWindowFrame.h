#pragma once
// DocumentWindowFrame: the chrome of a document window around its pages:
// the toolbar "mainToolbarV163", the window's own menus, and the main tab
// view "mMainTab" whose "V2" tab holds the side bar and the pages. The
// other main tabs ("budg", "repo", "Import") show labelled placeholders
// until their pages are set with setMainTab.
//
// The document window (open, save, close) hosts one frame per document and
// gives it the document as a WindowDocument. The frame owns the document's
// side-bar controller, its icon cache and the command routing; every
// command it runs concerns that document only.
//
// Like every window, it opens on the transactions page (on the next turn of
// the event loop).
//
// Two layouts show the books: the side bar with its pages ("V2"), or the
// classic layout's tabs ("trns", "acnt", "expt"). View > Side Bar Layout
// and View > Classic Layout choose; the choice is kept in the user defaults
// ("GXClassicLayout") for every window, open or opened later. Switching
// keeps both layouts as they were (their selections, the document and its
// unsaved changes), and a transaction selected in one is selected in the
// other.

#include <QMainWindow>
#include <QPageLayout>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/observable.h"

class QMenu;
class QPrinter;
class QStackedWidget;

namespace ch {

class ClassicLayout;
class CSideBarController;
class CommandRouter;
class CommandValidationTrigger;
class IconLibrary;
class MainToolbar;
class V2SplitLayout;
class WindowDocument;

class DocumentWindowFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit DocumentWindowFrame(WindowDocument& document, QWidget* parent = nullptr);
    ~DocumentWindowFrame() override;

    WindowDocument& document() const { return mDocument; }
    CSideBarController& sideBarController() const { return *mSideBar; }
    CommandRouter& router() const { return *mRouter; }
    MainToolbar& toolbar() const { return *mToolbar; }
    V2SplitLayout& v2Layout() const { return *mV2; }
    IconLibrary& icons() const { return *mIcons; }
    // Every command action of the window's menus.
    const std::vector<QAction*>& menuActions() const { return mMenuActions; }

    // --- main tabs
    // Puts a page in the main tab of the identifier (replacing what was
    // there; the frame takes it).
    void setMainTab(const std::string& identifier, QWidget* page);
    QWidget* mainTab(const std::string& identifier) const;
    // Shows the main tab and selects the toolbar item that stands for it.
    void showMainTab(const std::string& identifier);
    std::string currentMainTab() const;

    // --- the layout
    static constexpr char kClassicLayoutKey[] = "GXClassicLayout";
    void setClassicLayout(bool classic);
    bool classicLayoutOn() const;
    // Null until the classic layout was first chosen.
    ClassicLayout* classicLayout() const { return mClassic; }

    // Enables and titles the toolbar items.
    void validateToolbar();
    // Enables and titles the toolbar items and the menus' command items. The
    // window does so itself after focus, selection, page and tab changes,
    // and before a key is tried as a shortcut; the menus also when they show.
    void validateCommands();

    // --- the document's print settings: what File > Page Setup chooses and
    // every print of the document's pages starts from (A4 portrait with
    // margins of 72 points left and right, 90 top and bottom until set).
    const QPageLayout& pageLayout() const { return mPageLayout; }
    // Page Setup over the window; OK keeps the layout chosen.
    void runPageLayout();
    // Announces a layout that differs from the one held.
    void setPageLayout(const QPageLayout& layout);

signals:
    void pageLayoutChanged(const QPageLayout& layout);

private:
    void addLayoutChoice(QMenu& view);
    void makeClassicLayout();
    // What the layout left shows selected in the layout coming.
    void carrySelection(bool toClassic);

    WindowDocument& mDocument;
    std::unique_ptr<IconLibrary> mIcons;
    std::unique_ptr<CSideBarController> mSideBar;
    std::unique_ptr<CommandRouter> mRouter;
    MainToolbar* mToolbar = nullptr;
    QStackedWidget* mMainTab = nullptr;
    V2SplitLayout* mV2 = nullptr;
    std::map<std::string, QWidget*> mMainTabs;
    std::vector<QAction*> mMenuActions;
    std::unique_ptr<CommandValidationTrigger> mValidation;
    ClassicLayout* mClassic = nullptr;
    QAction* mSideBarLayoutItem = nullptr;
    QAction* mClassicLayoutItem = nullptr;
    Subscription mLayoutChoice;
    std::unique_ptr<QPrinter> mPrinter;   // of the page layout, made on first use
    QPageLayout mPageLayout;
};

} // namespace ch
