#pragma once
// Who sends a command or asks for validation: a menu item or a toolbar item
// (with its tag, and the toolbar item's identifier), or the side bar itself.

#include <string>

namespace ch {

struct CommandSender {
    enum class Kind { MenuItem, ToolbarItem, SideBar };
    Kind kind = Kind::MenuItem;
    int tag = 0;
    std::string identifier;   // toolbar items only

    static CommandSender menuItem(int tag) { return {Kind::MenuItem, tag, {}}; }
    static CommandSender toolbarItem(std::string identifier, int tag)
    {
        return {Kind::ToolbarItem, tag, std::move(identifier)};
    }
    static CommandSender sideBar() { return {Kind::SideBar, 0, {}}; }
    bool isToolbarItem() const { return kind == Kind::ToolbarItem; }
};

} // namespace ch
