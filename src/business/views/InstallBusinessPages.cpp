#include "business/views/InstallBusinessPages.h"

#include "business/views/GXBusinessSetupViewController.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "ui/CSideBarController.h"

namespace ch::business {

void installBusinessPages(CSideBarController& sideBar, MyDocument& document, ContactsProvider* contacts)
{
    // Linked owners follow their contacts for as long as the window is open,
    // whether or not its owners page was ever shown.
    if (contacts) new OwnerContactsSynchronizer(document, *contacts, &sideBar);
    sideBar.setPageFactory(SideBarPageKind::Owners,
                           [&document] { return std::make_unique<GXOwnerViewController>(document); });
    sideBar.setPageFactory(SideBarPageKind::BusinessSetup,
                           [&document] { return std::make_unique<GXBusinessSetupViewController>(document); });
}

} // namespace ch::business
