// What the business-setup page answers for the menu, by tab and selection.

#include <gtest/gtest.h>

#include "business/BusinessSetupMenu.h"

namespace ch::business {
namespace {

TEST(BusinessSetupMenu, ItemsFollowTheTabAndTheSelectedRate)
{
    const BusinessSetupState ratesNoSelection{true, false, false};
    const BusinessSetupState ratesSelected{true, true, false};
    const BusinessSetupState periodsTab{false, true, false};
    const BusinessSetupState ratesWithCopy{true, false, true};
    struct Case {
        int tag;
        BusinessSetupState state;
        bool enabled;
    };
    const Case cases[] = {
        {12, ratesNoSelection, false}, {13, ratesNoSelection, false}, {1104, ratesNoSelection, false},
        {1114, ratesNoSelection, false}, {1100, ratesNoSelection, true}, {12, ratesSelected, true},
        {1104, ratesSelected, true}, {1114, ratesSelected, true}, {1104, periodsTab, false},
        {1114, periodsTab, false}, {14, ratesNoSelection, false}, {14, ratesWithCopy, true}, {14, periodsTab, true},
        {1105, ratesSelected, false}, {1109, ratesSelected, false}, {1113, ratesSelected, false},
        {1116, ratesSelected, false}, {1207, ratesSelected, false}, {1208, ratesSelected, false},
        {1110, ratesSelected, true}, {1100, periodsTab, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(businessSetupMenuItemEnabled(c.tag, c.state), c.enabled)
            << c.tag << " rates tab " << c.state.ratesTabSelected << " selected " << c.state.rateSelected;
}

TEST(BusinessSetupMenu, RateActionsRunOnlyOnTheRatesTab)
{
    EXPECT_EQ(businessSetupMenuAction(1100, true), BusinessSetupAction::NewRate);
    EXPECT_EQ(businessSetupMenuAction(1104, true), BusinessSetupAction::DeleteRate);
    EXPECT_EQ(businessSetupMenuAction(1114, true), BusinessSetupAction::ModifyRate);
    EXPECT_EQ(businessSetupMenuAction(1101, true), BusinessSetupAction::None);
    for (int tag : {1100, 1104, 1114}) EXPECT_EQ(businessSetupMenuAction(tag, false), BusinessSetupAction::None);
}

} // namespace
} // namespace ch::business
