#pragma once
// The document window's toolbar "mainToolbarV163", built from the item
// table: one command action per item (tag, action and identifier on it),
// the selectable items ("main", "reports", "budgets", "import") exclusive
// with "main" selected at first, and the search field as a view item.
// Qt offers no toolbar customisation palette, so the toolbar always shows
// the default set.

#include <QToolBar>

#include <map>
#include <string>

class QActionGroup;
class QLineEdit;

namespace ch {

class CommandRouter;

class MainToolbar : public QToolBar {
    Q_OBJECT

public:
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
    QLineEdit* searchField() const { return mSearchField; }

    // Enables every item through the router.
    void validateItems();

signals:
    // The search field's text, when the user starts a search.
    void searchRequested(const QString& text);

private:
    CommandRouter& mRouter;
    QActionGroup* mSelectable;
    QLineEdit* mSearchField = nullptr;
    std::map<std::string, QAction*> mItems;
};

} // namespace ch
