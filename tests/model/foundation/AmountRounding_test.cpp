#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/foundation/AmountRounding.h"

namespace ch::test {
namespace {

TEST(AmountRoundingTest, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        // Halves whose nearest double lies just below the half.
        {0.475, 2, 0.48},
        {-0.475, 2, -0.48},
        {1.005, 2, 1.01},
        {2.675, 2, 2.68},
        {12.35 * 7 / 100, 2, 0.86},   // 0.8645
        {2.50 * 19 / 100, 2, 0.48},   // 0.475
        {0.125, 2, 0.13},
        {0.124999, 2, 0.12},
        {2.5, 0, 3.0},
        {-2.5, 0, -3.0},
        {0.5, 0, 1.0},
        {0.4, 0, 0.0},
        // A sum that cancels to a binary remainder is 0.
        {0.1 + 0.2 - 0.3, 2, 0.0},
        {-(0.1 + 0.2 - 0.3), 2, 0.0},
        // Nothing to drop: the value itself.
        {1234567.89, 2, 1234567.89},
        {1e15, 2, 1e15},
        {1e-9, 2, 0.0},
        {0.005, 2, 0.01},
        {0.0049, 2, 0.0},
        {99.995, 2, 100.0},
        {1234567890.125, 2, 1234567890.13},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roundedAmount(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;

    EXPECT_TRUE(std::isnan(roundedAmount(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_TRUE(sameAmount(0.1 + 0.2, 0.3, 2));
    EXPECT_FALSE(sameAmount(0.3, 0.31, 2));
}

} // namespace
} // namespace ch::test
