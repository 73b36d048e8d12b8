#pragma once
// The pages the side bar makes until the issues that build them plug their
// own in: the bar-chart page of the accounts and categories roots, and a
// clearly labelled placeholder for every other kind.

#include <memory>

#include "ui/SideBarPageKind.h"

namespace ch {

class GXSideBarControlledViewAncestor;

std::unique_ptr<GXSideBarControlledViewAncestor> makeDefaultPage(SideBarPageKind kind);

} // namespace ch
