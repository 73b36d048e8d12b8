// Amounts as display text: grouping, the document's decimals, no sign on zero;
// and typed or imported text read back.

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

// The strict reading gives 0 for what it cannot read; a number whose whole
// part is beyond 32 bits is read whole rather than taken as 0, so that an
// amount beyond the limit can be refused.
TEST(AmountTextTest, ReadsLargeNumbersWholeAndUnreadableTextAsZero)
{
    BridgeEnvironment environment;
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1,234.56", 1234.56},
        {"2147483647", 2147483647.0},
        {"3000000000.00", 3e9},
        {"-1,000,000,000,000,000.00", -1e15},
        {"1000000000000.01", 1e12 + 0.01},
        {"12a", 0.0},
        {"99999999999a", 0.0},
        {"1,2,3", 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(CNSNumberAmountTBridge::NSStringToNSNumber(c.text), c.value) << c.text;
}

} // namespace
} // namespace ch::test
