#pragma once
// The document window's toolbar "mainToolbarV163", built from the item
// table: one command action per item (tag, action and identifier on it),
// the selectable items ("main", "reports", "budgets", "import") exclusive
// with "main" selected at first, and the search field as a view item.
//
// The user arranges it from the allowed set in the customisation sheet,
// reached from the toolbar's context menu, its "customize" item and the
// View menu's item (customizeAction). The arrangement is kept in the user
// defaults; every window open shows it at once, later ones and those after
// the next start from the defaults.

#include <QPointer>
#include <QToolBar>

#include <map>
#include <string>
#include <vector>

class QActionGroup;
class QLineEdit;
class QTimer;
class QMenu;

namespace ch {

class CommandRouter;
class ToolbarCustomizationSheet;

class MainToolbar : public QToolBar {
    Q_OBJECT

public:
    // Shows the arrangement stored in the user defaults (the default set
    // when none is stored).
    MainToolbar(CommandRouter& router, QWidget* parent = nullptr);

    // The action of an identifier in the toolbar; null when not shown.
    QAction* itemAction(const std::string& identifier) const;
    // The item made for an identifier: filled from the table, or bare (only
    // the identifier) for one the table does not know. Owned by the toolbar.
    QAction* makeItem(const QString& identifier);
    // Shows the selectable item as selected; for any other identifier (a main
    // tab without an item of its own) none shows as selected.
    void selectItem(const std::string& identifier);
    std::string selectedItemIdentifier() const;
    // The window's search field, whether or not the toolbar shows it.
    QLineEdit* searchField() const { return mSearchField; }

    // Enables every item through the router.
    void validateItems();

    // --- the user's arrangement
    const std::vector<std::string>& arrangement() const { return mArrangement; }
    // Stores the identifiers (allowed ones only, in order); every document
    // window's toolbar shows them.
    void setArrangement(const std::vector<std::string>& identifiers);
    // "Customize Toolbar…": opens the sheet.
    QAction* customizeAction() const { return mCustomizeAction; }
    QMenu* contextMenu() const { return mContextMenu; }
    // Opens the customisation sheet on the window (once at a time).
    void runCustomizationSheet();
    // The sheet while it is open, else null.
    ToolbarCustomizationSheet* customizationSheet() const;

signals:
    // The search field's text, as the person types it (coalesced: keys
    // that arrive together give one search, after them), when it is cleared,
    // and at once on Return.
    void searchRequested(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showArrangement();
    void showArrangement(const std::vector<std::string>& arrangement);
    QAction* itemFor(const std::string& identifier);

    CommandRouter& mRouter;
    QActionGroup* mSelectable;
    QLineEdit* mSearchField = nullptr;
    QTimer* mSearchTimer = nullptr;
    QAction* mCustomizeAction = nullptr;
    QMenu* mContextMenu = nullptr;
    QPointer<ToolbarCustomizationSheet> mSheet;
    std::map<std::string, QAction*> mItems;
    std::vector<std::string> mArrangement;
    // Separators and spaces of the shown arrangement, made anew each time.
    std::vector<QAction*> mFillers;
};

} // namespace ch
