#include "ui/pages/ReadSidePages.h"

#include "ui/CSideBarController.h"
#include "ui/pages/GXAccountTableViewController.h"
#include "ui/pages/GXCategoryTableViewController.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/pages/GXTransactionViewController.h"

namespace ch {

void installReadSidePages(CSideBarController& sideBar)
{
    sideBar.setPageFactory(SideBarPageKind::Transactions,
                           [] { return std::make_unique<GXTransactionViewController>(); });
    sideBar.setPageFactory(SideBarPageKind::Accounts,
                           [] { return std::make_unique<GXAccountTableViewController>(); });
    sideBar.setPageFactory(SideBarPageKind::Categories,
                           [] { return std::make_unique<GXCategoryTableViewController>(); });
    sideBar.setPageFactory(SideBarPageKind::Portfolio,
                           [] { return std::make_unique<GXPortfolioTableViewController>(); });
    sideBar.setPageFactory(SideBarPageKind::Currencies,
                           [] { return std::make_unique<GXCurrencyTableViewController>(); });
    sideBar.setPageFactory(SideBarPageKind::CreditCards,
                           [] { return std::make_unique<GXCreditCardViewController>(); });
}

} // namespace ch
