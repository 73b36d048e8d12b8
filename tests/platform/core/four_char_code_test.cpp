#include "platform/core/four_char_code.h"

#include <gtest/gtest.h>

namespace ch {

static_assert(fourCC("TrnS") == 0x54726E53u, "first character in the high byte");

TEST(FourCharCode, RoundTripsThroughText)
{
    for (const char* text : {"AcnT", "CcoN", "FiNi", "NoNe", "0.61"})
        EXPECT_EQ(fourCCToString(fourCCFromString(text)), text);
    EXPECT_EQ(fourCCFromString("abc"), 0u);
    EXPECT_EQ(fourCCFromString("abcde"), 0u);
}

TEST(FourCharCode, VersionsCompareAsUnsignedBigEndian)
{
    EXPECT_LT(fourCC("0.61"), fourCC("1.10"));
    EXPECT_LT(fourCC("1.10"), fourCC("2.00"));
    EXPECT_LT(fourCC("2.00"), fourCC("NoNe"));
    // A high bit in the first byte must not turn the code negative.
    EXPECT_GT(fourCCFromString("\xC4xyz"), fourCC("stop"));
}

} // namespace ch
