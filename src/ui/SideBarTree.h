#pragma once
// The side bar's tree: eight root headers (transactions, accounts,
// categories, shares, owners, currencies, credit cards, VAT) with their
// second-level headers, and below the account and category headers the
// items of the document's top-level account types and category groups.
// Header nodes are detached items with a localized title, a header level
// (1 root, 2 below), the object type that chooses the page, and an icon.

#include <array>
#include <string_view>

#include "bridge/CNonVisualDataItem.h"
#include "platform/core/four_char_code.h"

namespace ch {

class BridgeDocument;
class CNamedListArray;
class CNonVisualDataItemController;

// The kinds of top-level folders the account and category headers show.
enum class SideBarRootKind { OwnProperty, Debt, ProfitAndLoss, Assets, Income, Expense, Transfer };
inline constexpr std::array<SideBarRootKind, 4> kAccountRootKinds = {
    SideBarRootKind::OwnProperty, SideBarRootKind::Debt, SideBarRootKind::ProfitAndLoss, SideBarRootKind::Assets};
inline constexpr std::array<SideBarRootKind, 3> kCategoryRootKinds = {
    SideBarRootKind::Income, SideBarRootKind::Expense, SideBarRootKind::Transfer};

// The title key of the second-level header that shows a kind.
std::string_view titleKeyOf(SideBarRootKind kind);

// The items of the document's top-level account types (or category groups)
// of the kind, in list order: propertyAccTRoot, debtAccTRoot, plAccTRoot,
// assetAccTRoot, incomeMxpTRoot, expenseMxpTRoot, transferMxpTRoot.
CNonVisualDataItem::ItemArray topLevelFolders(BridgeDocument& document, SideBarRootKind kind);
// For each object of the list: its category-group item when it is one,
// else its account-type item.
CNonVisualDataItem::ItemArray makeAccountTypeArray(CNonVisualDataItemController& registry,
                                                   const CNamedListArray* list);

// A header node.
CNonVisualDataItem::Ptr makeHeaderNode(std::string_view titleKey, int level, FourCharCode type,
                                       std::string_view iconName);

struct SideBarTree {
    CNonVisualDataItem::ItemArray roots;   // the eight level-1 headers, in order
    // The second-level header of each folder kind.
    std::array<CNonVisualDataItem::Ptr, 7> kindHeaders;
    CNonVisualDataItem::Ptr headerOf(SideBarRootKind kind) const
    {
        return kindHeaders[static_cast<std::size_t>(kind)];
    }
};

// The whole tree over the document's folders.
SideBarTree makeSideBarTree(BridgeDocument& document);

} // namespace ch
