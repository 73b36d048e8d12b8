#include "ui/SideBarPageKind.h"

namespace ch {

std::string_view pageTitleKey(SideBarPageKind kind)
{
    switch (kind) {
    case SideBarPageKind::Accounts: return "ACCOUNTBUTTON";
    case SideBarPageKind::Categories: return "REASONBUTTON";
    case SideBarPageKind::Transactions: return "TRANSBUTTON";
    case SideBarPageKind::BarChart: return "OVERVIEWTITLE";
    case SideBarPageKind::Owners: return "OWNERBUTTON";
    case SideBarPageKind::Portfolio: return "SHAREBUTTON";
    case SideBarPageKind::Currencies: return "CURRENCYBUTTON";
    case SideBarPageKind::CreditCards: return "CREDITCARDBUTTON";
    case SideBarPageKind::BusinessSetup: return "VATTROOTTITLE";
    }
    return {};
}

std::string_view pageControllerName(SideBarPageKind kind)
{
    switch (kind) {
    case SideBarPageKind::Accounts: return "accountTableViewController";
    case SideBarPageKind::Categories: return "categoryTableViewController";
    case SideBarPageKind::Transactions: return "transactionViewController";
    case SideBarPageKind::BarChart: return "barchartController";
    case SideBarPageKind::Owners: return "ownerViewController";
    case SideBarPageKind::Portfolio: return "portfolioViewController";
    case SideBarPageKind::Currencies: return "currencyViewController";
    case SideBarPageKind::CreditCards: return "creditCardViewController";
    case SideBarPageKind::BusinessSetup: return "businessSetupViewController";
    }
    return {};
}

} // namespace ch
