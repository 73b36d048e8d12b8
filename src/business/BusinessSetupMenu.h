#pragma once
// What the business-setup page answers for the menu, without a window: which
// items are enabled, and which of the page's rate actions an item runs.

namespace ch::business {

struct BusinessSetupState {
    bool ratesTabSelected = false;   // tab 0
    bool rateSelected = false;
    bool copiedRateHeld = false;
};

// Copy (12) and cut (13) need a selected rate on the rates tab; paste (14)
// another tab or a copied rate; delete (1104) and modify (1114) a selected
// rate on the rates tab. The items of other kinds of object (1105 to 1109,
// 1111 to 1113, 1115, 1116, 1207, 1208) are never enabled; anything else is.
bool businessSetupMenuItemEnabled(int tag, const BusinessSetupState& state);

enum class BusinessSetupAction { None, NewRate, DeleteRate, ModifyRate };

// On the rates tab: 1100 new, 1104 delete, 1114 modify; nothing otherwise.
BusinessSetupAction businessSetupMenuAction(int tag, bool ratesTabSelected);

} // namespace ch::business
