#pragma once
// The items of the document window's toolbar "mainToolbarV163": for each
// identifier its label key, image name, action and tag (0: none), and the
// sets of identifiers the toolbar offers, shows by default and shows as
// selected. Plain data, so that it reads and tests without a window.

#include <span>
#include <string_view>

namespace ch {

inline constexpr std::string_view kMainToolbarIdentifier = "mainToolbarV163";

// Identifiers of the standard items that are not in the table.
inline constexpr std::string_view kSeparatorItem = "separator";
inline constexpr std::string_view kSpaceItem = "space";
inline constexpr std::string_view kFlexibleSpaceItem = "flexibleSpace";
inline constexpr std::string_view kCustomizeItem = "customize";

struct ToolbarItemEntry {
    std::string_view identifier;
    std::string_view labelKey;
    std::string_view image;   // empty: a view item
    std::string_view action;
    int tag = 0;
};

std::span<const ToolbarItemEntry> toolbarItemTable();
// The item of the identifier; null for one that is not in the table.
const ToolbarItemEntry* findToolbarItem(std::string_view identifier);

std::span<const std::string_view> toolbarAllowedItemIdentifiers();
std::span<const std::string_view> toolbarDefaultItemIdentifiers();
std::span<const std::string_view> toolbarSelectableItemIdentifiers();

// The search item's fixed tool tip and its width limits.
inline constexpr std::string_view kSearchToolTip = "Search Your Document";
inline constexpr int kSearchMinimumWidth = 100;
inline constexpr int kSearchMaximumWidth = 400;

} // namespace ch
