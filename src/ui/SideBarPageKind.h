#pragma once
// The pages the side bar shows, one controller of each per document.

#include <array>
#include <string_view>

namespace ch {

enum class SideBarPageKind {
    Accounts,
    Categories,
    Transactions,
    BarChart,
    Owners,
    Portfolio,
    Currencies,
    CreditCards,
    BusinessSetup,
};

inline constexpr std::array<SideBarPageKind, 9> kAllSideBarPageKinds = {
    SideBarPageKind::Accounts,  SideBarPageKind::Categories, SideBarPageKind::Transactions,
    SideBarPageKind::BarChart,  SideBarPageKind::Owners,     SideBarPageKind::Portfolio,
    SideBarPageKind::Currencies, SideBarPageKind::CreditCards, SideBarPageKind::BusinessSetup};

// The title key of the page's heading.
std::string_view pageTitleKey(SideBarPageKind kind);
// A short name for the page's widgets ("accountTableViewController", ...).
std::string_view pageControllerName(SideBarPageKind kind);

} // namespace ch
