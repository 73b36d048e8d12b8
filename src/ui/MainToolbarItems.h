#pragma once
// The items of the document window's toolbar "mainToolbarV163": for each
// identifier its label key, image name, action and tag (0: none), and the
// sets of identifiers the toolbar offers, shows by default and shows as
// selected, and the user's arrangement as the defaults keep it. Plain data,
// so that it reads and tests without a window.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

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

// --- the user's arrangement, stored in the user defaults under
// kToolbarConfigurationKey as a dictionary whose "TB Item Identifiers" holds
// the identifiers in order.
inline constexpr std::string_view kToolbarConfigurationKey = "NSToolbar Configuration mainToolbarV163";
inline constexpr std::string_view kToolbarItemIdentifiersKey = "TB Item Identifiers";

// Separators and spaces may stand in the toolbar any number of times; every
// other item at most once.
bool isRepeatableToolbarItem(std::string_view identifier);
bool isAllowedToolbarItem(std::string_view identifier);
// What a stored arrangement shows: its allowed identifiers in order, an item
// that may stand once only at its first place. Nothing stored (or stored in
// another form): the default set.
std::vector<std::string> toolbarArrangementFrom(const Value& stored);
Value storedToolbarArrangement(const std::vector<std::string>& identifiers);

// The search item's fixed tool tip and its width limits.
inline constexpr std::string_view kSearchToolTip = "Search Your Document";
inline constexpr int kSearchMinimumWidth = 100;
inline constexpr int kSearchMaximumWidth = 400;

} // namespace ch
