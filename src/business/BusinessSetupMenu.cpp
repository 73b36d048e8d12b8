#include "business/BusinessSetupMenu.h"

namespace ch::business {

bool businessSetupMenuItemEnabled(int tag, const BusinessSetupState& state)
{
    switch (tag) {
    case 12:
    case 13:
    case 1104:
    case 1114:
        return state.ratesTabSelected && state.rateSelected;
    case 14:
        return !state.ratesTabSelected || state.copiedRateHeld;
    case 1105: case 1106: case 1107: case 1108: case 1109:
    case 1111: case 1112: case 1113: case 1115: case 1116:
    case 1207: case 1208:
        return false;
    default:
        return true;
    }
}

BusinessSetupAction businessSetupMenuAction(int tag, bool ratesTabSelected)
{
    if (!ratesTabSelected) return BusinessSetupAction::None;
    switch (tag) {
    case 1100: return BusinessSetupAction::NewRate;
    case 1104: return BusinessSetupAction::DeleteRate;
    case 1114: return BusinessSetupAction::ModifyRate;
    default: return BusinessSetupAction::None;
    }
}

} // namespace ch::business
