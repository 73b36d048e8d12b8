#pragma once
// The side bar's selected row named by the titles of the rows from the top
// down to it, so that the same row can be chosen again in a side bar built
// anew over other items (the books read again by a revert), where it stands
// under the same titles.

#include <string>
#include <vector>

namespace ch {

class CSideBarController;

// Empty when no row is selected.
std::vector<std::string> selectedRowPath(const CSideBarController& sideBar);
// Opens the rows down to the row of the path and selects it; false, and
// nothing selected, when a title is not found where the path says.
bool selectRowPath(CSideBarController& sideBar, const std::vector<std::string>& path);

} // namespace ch
