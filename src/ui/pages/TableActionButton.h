#pragma once
// The action button under a page's table: a button that pops up the
// commands of that table. Each item carries a command tag; before the menu
// shows, and before an item runs, the table takes the focus, because the
// page's commands act on the table that has it. The page validates and
// runs the tags as it does the window's menu commands.

#include <functional>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "ui/SideBarWidgets.h"

class QMenu;

namespace ch {

struct TableActionEntry {
    const char* titleKey;   // none: a separator
    int tag;
};

// Adds an item per entry (named by its title key, carrying its tag) whose
// triggering runs the tag.
void addTaggedItems(QMenu& menu, const std::vector<TableActionEntry>& entries, std::function<void(int tag)> run);
// Enables and titles the menu's tagged items as `validate` answers now.
void validateTaggedItems(QMenu& menu, const std::function<MenuItemValidation(int tag)>& validate);

class TableActionButton : public GXMenuButton {
    Q_OBJECT

public:
    using Validate = std::function<MenuItemValidation(int tag)>;
    using Run = std::function<void(int tag)>;

    TableActionButton(QWidget* table, const std::vector<TableActionEntry>& entries, Validate validate, Run run,
                      QWidget* parent = nullptr);

    QMenu* actionMenu() const { return mMenu; }
    // Enables and titles the items as the page answers now.
    void validateItems();

private:
    QWidget* mTable;
    QMenu* mMenu;
    Validate mValidate;
    Run mRun;
};

} // namespace ch
