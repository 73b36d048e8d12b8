#include "business/views/InstallBusinessPages.h"

#include "business/views/GXBusinessSetupViewController.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "ui/CSideBarController.h"

namespace ch::business {

void installBusinessPages(CSideBarController& sideBar, MyDocument& document, ContactsProvider* contacts)
{
    sideBar.setPageFactory(SideBarPageKind::Owners, [&document, contacts] {
        auto page = std::make_unique<GXOwnerViewController>(document);
        if (contacts) new OwnerContactsSynchronizer(document, *contacts, page.get());
        return page;
    });
    sideBar.setPageFactory(SideBarPageKind::BusinessSetup,
                           [&document] { return std::make_unique<GXBusinessSetupViewController>(document); });
}

} // namespace ch::business
