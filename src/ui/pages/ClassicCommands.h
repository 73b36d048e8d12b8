#pragma once
// ClassicCommands: the menu, key and toolbar commands of the classic
// layout's tabs. A command goes to the table it concerns - the focused
// table of the tab shown, else that tab's main table (the transaction list
// shown, the account outline, the category outline) - and is enabled by
// that table's own rules:
//
//   a transaction list     new, modify, duplicate, cut, copy, paste, delete
//                          and, in the unlinked list, book (link);
//   an outline             new beside the row, new inside it, new group
//                          inside it, modify, delete, and a new transaction
//                          from or to the row's account or for its category,
//                          each as the row's object allows (cut, copy, paste
//                          and duplicate have nothing to act on there);
//   booking lines          modify, duplicate and delete the line's
//                          transaction.
//
// A new transaction (1110) is always at hand; Duplicate First copies the
// newest posted transaction while the transactions tab is shown. Every tag
// the table has no rule for is left to the window's own rules.

#include "ui/CommandRouting.h"

class QAbstractItemView;

namespace ch {

class ClassicLayout;
class WindowDocument;

class ClassicCommands : public LayoutCommands {
public:
    explicit ClassicCommands(ClassicLayout& layout) : mLayout(layout) {}

    // Where the commands that are not a table's own go (not owned).
    void setDocument(WindowDocument* document) { mDocument = document; }

    std::optional<MenuItemValidation> validateMenuItem(int tag) const override;
    void executeMenuCommand(int tag) override;
    // The same for a given table of the layout (its context menu).
    std::optional<MenuItemValidation> validateMenuItem(int tag, QAbstractItemView* table) const;
    void executeMenuCommand(int tag, QAbstractItemView* table);

    std::string showPage(FourCharCode type) override;
    std::string currentTab() const override;
    // Filters the transaction lists.
    void searchContents(const std::string& text) override;

private:
    ClassicLayout& mLayout;
    WindowDocument* mDocument = nullptr;
};

} // namespace ch
