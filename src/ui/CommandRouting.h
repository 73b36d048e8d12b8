#pragma once
// The routing of a document window's menu and toolbar commands: one table
// that says which command is enabled (and under which title) in which
// state of the window, and where a triggered command goes.
//
// Every command is a QAction that carries its tag ("tag"), its action name
// ("action") and, for toolbar items, the item's identifier
// ("toolbarIdentifier"). validateAction is the single function that
// enables and titles them; the window calls it when a menu is about to
// show and whenever the selection, the focus, the page or the main tab
// changes, and trigger validates once more before it runs anything, so a
// stale enabled shortcut cannot run a command.
//
// While the classic layout is chosen, its tabs ("trns", "acnt", "expt")
// take the place of the side-bar layout: their commands go to the layout
// (its focused table first), and the pages it has ("TrnS", "AccT", ...)
// open there.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#include "bridge/CNonVisualDataItem.h"
#include "platform/core/four_char_code.h"
#include "ui/CommandSender.h"

class QAction;

namespace ch {

class CSideBarController;
class WindowDocument;

// The properties a command action carries.
inline constexpr char kTagProperty[] = "tag";
inline constexpr char kActionProperty[] = "action";
inline constexpr char kToolbarIdentifierProperty[] = "toolbarIdentifier";
inline constexpr char kBaseTitleProperty[] = "baseTitle";

// The action name of menu items that go to the side bar as they are.
inline constexpr char kMenuCommandAction[] = "menuCommand:";

// A QAction for a command.
QAction* makeCommandAction(QObject* parent, const QString& title, int tag, const char* action,
                           const QString& toolbarIdentifier = {});
// The sender a command action stands for.
CommandSender senderOf(const QAction& action);

// The commands of the classic layout's tabs.
class LayoutCommands {
public:
    virtual ~LayoutCommands() = default;
    // The layout's answer for the tag; none: the window's own rules decide.
    virtual std::optional<MenuItemValidation> validateMenuItem(int tag) const = 0;
    virtual void executeMenuCommand(int tag) = 0;
    // Shows the layout's page for the side-bar node type and answers its
    // main tab; empty when the layout has no such page.
    virtual std::string showPage(FourCharCode type) = 0;
    // The main tab the layout shows ("trns", "acnt" or "expt").
    virtual std::string currentTab() const = 0;
    virtual void searchContents(const std::string& text) = 0;
};

bool isClassicTab(const std::string& identifier);

class CommandRouter : public QObject {
    Q_OBJECT

public:
    explicit CommandRouter(CSideBarController& sideBar, QObject* parent = nullptr);

    // The identifier of the main tab shown: "V2" (the side-bar layout),
    // "budg", "repo", "Import".
    void setMainTab(const std::string& identifier);
    const std::string& mainTab() const { return mMainTab; }
    bool version2InterfaceIsOn() const { return mMainTab == "V2"; }
    // The classic layout's commands while it is chosen (not owned), none
    // for the side-bar layout.
    void setLayoutCommands(LayoutCommands* commands) { mLayout = commands; }
    LayoutCommands* layoutCommands() const { return mLayout; }
    // A tab of the classic layout is shown.
    bool classicTabShown() const { return mLayout && isClassicTab(mMainTab); }
    // The main tab of the chosen layout: the classic layout's tab shown, or "V2".
    std::string homeTab() const;
    // The toolbar's search: the classic layout's lists or the side bar's page.
    void searchContents(const std::string& text);

    // The budget page's own answer for a tag (none: no answer); by default
    // no answer.
    using BudgetValidation = std::function<std::optional<MenuItemValidation>(int tag)>;
    void setBudgetValidation(BudgetValidation validation) { mBudgetValidation = std::move(validation); }
    // The budget page's own commands (by tag) while it is shown; by default
    // none. The page's New… makes a budget.
    void setBudgetCommands(std::function<void(int tag)> commands) { mBudgetCommands = std::move(commands); }
    // Whether the focused table is a transaction-detail table with a current
    // transaction; by default none is.
    void setCurrentTransactionProbe(std::function<bool()> probe) { mCurrentTransaction = std::move(probe); }
    // The program launched for the calculator; empty: the desktop's own.
    void setCalculatorProgram(QString program) { mCalculator = std::move(program); }

    // --- the routing table
    MenuItemValidation validateMenuItem(int tag) const;
    bool validateToolbarItem(const CommandSender& item) const;
    // Enables the action and gives it the validated title (or its own).
    void validateAction(QAction& action) const;
    // Runs the action's command when it validates.
    void trigger(QAction& action);

signals:
    // The window shows a main tab ("V2", "budg", "repo", "Import", "trns", ...).
    void mainTabRequested(const QString& identifier);
    void pageLayoutRequested();
    // Edit > Find: the window's search field is to take the focus.
    void findRequested();

private:
    void showSideBarNode(FourCharCode type, int level);
    // To the side bar's page, or to the classic layout's tab shown.
    void passMenuCommand(int code, const CommandSender& sender);
    void newObject(const CommandSender& sender);
    void launchCalculator() const;
    void newAccount(WindowDocument& document);

    CSideBarController& mSideBar;
    LayoutCommands* mLayout = nullptr;
    std::string mMainTab = "V2";
    BudgetValidation mBudgetValidation;
    std::function<void(int)> mBudgetCommands;
    std::function<bool()> mCurrentTransaction;
    QString mCalculator;
};

} // namespace ch
