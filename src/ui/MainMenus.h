#pragma once
// The document window's own menus: the edit commands, the commands on the
// books' objects and transactions, and the pages. Each item is a command
// action (see CommandRouting.h) with its tag; the router enables and titles
// the items when a menu is about to show.

#include <QKeySequence>

#include <span>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace ch {

class CommandRouter;

struct MenuCommandEntry {
    std::string_view menuKey;    // the menu's title key
    std::string_view titleKey;   // empty: a separator
    int tag = 0;
    std::string_view action;     // "menuCommand:" for the side bar's commands
    QKeySequence::StandardKey key = QKeySequence::UnknownKey;
};

std::span<const MenuCommandEntry> menuCommandTable();

// Adds the menus to the bar; their actions validate on showing and go to
// the router when triggered. Returns every command action made.
std::vector<QAction*> buildCommandMenus(QMenuBar& bar, CommandRouter& router);

} // namespace ch
