#include "ui/DefaultPages.h"

#include "ui/CBarchartSubviewController.h"
#include "ui/PlaceholderPage.h"

namespace ch {

std::unique_ptr<GXSideBarControlledViewAncestor> makeDefaultPage(SideBarPageKind kind)
{
    if (kind == SideBarPageKind::BarChart) return std::make_unique<CBarchartSubviewController>();
    return std::make_unique<PlaceholderPage>(kind);
}

} // namespace ch
