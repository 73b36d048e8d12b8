// Amounts as display text: grouping, the document's decimals, no sign on zero.

#include <gtest/gtest.h>

#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

TEST(AmountTextTest, FormatsWithGroupingAndTheNumberOfDecimals)
{
    BridgeEnvironment environment;
    struct Case {
        int decimals;
        double amount;
        const char* text;
    };
    const Case cases[] = {
        {2, 1234.5, "1,234.50"}, {0, -3.0, "-3"},       {2, -0.001, "0.00"},
        {2, 0.0, "0.00"},        {4, 1234567.125, "1,234,567.1250"}, {1, -999.96, "-1,000.0"},
    };
    for (const Case& c : cases) {
        environment.defaults().set("GXNumberOfDecimals", c.decimals);
        EXPECT_EQ(CNSNumberAmountTBridge::NSNumberToNSString(c.amount), c.text) << c.amount;
    }
    EXPECT_EQ(CNSNumberAmountTBridge::NSNumberToNSString(std::nullopt), "");

    environment.defaults().set("NSDecimalSeparator", ",");
    environment.defaults().set("NSThousandsSeparator", ".");
    environment.defaults().set("GXNumberOfDecimals", 2);
    EXPECT_EQ(CNSNumberAmountTBridge::NSNumberToNSString(1234.5), "1.234,50");
}

} // namespace
} // namespace ch::test
