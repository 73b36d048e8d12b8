#pragma once
// The pages the side bar makes for a kind no page factory was set for: the
// bar-chart page of the accounts and categories roots, and a clearly
// labelled placeholder for every other kind. The document window sets the
// factories of every kind (installReadSidePages, installBusinessPages); a
// side bar built on its own, as in its tests, shows these.

#include <memory>

#include "ui/SideBarPageKind.h"

namespace ch {

class GXSideBarControlledViewAncestor;

std::unique_ptr<GXSideBarControlledViewAncestor> makeDefaultPage(SideBarPageKind kind);

} // namespace ch
