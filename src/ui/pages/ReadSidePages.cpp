#include "ui/pages/ReadSidePages.h"

#include "ui/CSideBarController.h"
#include "ui/pages/GXTransactionViewController.h"

namespace ch {

void installReadSidePages(CSideBarController& sideBar)
{
    sideBar.setPageFactory(SideBarPageKind::Transactions,
                           [] { return std::make_unique<GXTransactionViewController>(); });
}

} // namespace ch
