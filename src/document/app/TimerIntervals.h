#pragma once
// How often a document refreshes its share prices and saves itself, from the
// user defaults (whole minutes).

#include <chrono>

namespace ch {

class UserDefaults;

// "GXStockRefreshRate" minutes when above 0, else 10 minutes.
std::chrono::seconds stockRefreshInterval(const UserDefaults& defaults);
// "GXAutoSaveInterval" minutes when above 0, else 5 minutes.
std::chrono::seconds autosaveInterval(const UserDefaults& defaults);

} // namespace ch
