#pragma once
// Plugs the pages that show the books - accounts, categories and
// transactions - into a side bar in place of its placeholders.

namespace ch {

class CSideBarController;

void installReadSidePages(CSideBarController& sideBar);

} // namespace ch
