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

#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "bridge/CNonVisualDataItem.h"
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

class CommandRouter : public QObject {
    Q_OBJECT

public:
    explicit CommandRouter(CSideBarController& sideBar, QObject* parent = nullptr);

    // The identifier of the main tab shown: "V2" (the side-bar layout),
    // "budg", "repo", "Import".
    void setMainTab(const std::string& identifier);
    const std::string& mainTab() const { return mMainTab; }
    bool version2InterfaceIsOn() const { return mMainTab == "V2"; }

    // The budget page's own answer for a tag (1 enabled, 0 disabled, other:
    // no answer); by default no answer.
    void setBudgetValidation(std::function<int(int tag)> validation) { mBudgetValidation = std::move(validation); }
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
    // The window shows a main tab ("V2", "budg", "repo", "Import").
    void mainTabRequested(const QString& identifier);
    void pageLayoutRequested();

private:
    void showSideBarNode(FourCharCode type, int level);
    void passToSideBar(int code, const CommandSender& sender);
    void launchCalculator() const;
    void newAccount(WindowDocument& document);

    CSideBarController& mSideBar;
    std::string mMainTab = "V2";
    std::function<int(int)> mBudgetValidation;
    std::function<bool()> mCurrentTransaction;
    QString mCalculator;
};

} // namespace ch
