#include "platform/core/clock.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

TEST(Clock, FixedClockNestsAndRestores)
{
    const CalendarDate real = today();
    EXPECT_GE(real.year, 2024);
    {
        ScopedFixedClock outer({2024, 2, 29});
        EXPECT_EQ(today(), (CalendarDate{2024, 2, 29}));
        EXPECT_EQ(nowSeconds(), 1709164800);   // midnight UTC of that day
        {
            ScopedFixedClock inner({1999, 12, 31}, 946684799);
            EXPECT_EQ(today(), (CalendarDate{1999, 12, 31}));
            EXPECT_EQ(nowSeconds(), 946684799);
            inner.set({2000, 1, 1}, 946684800);
            EXPECT_EQ(today(), (CalendarDate{2000, 1, 1}));
        }
        EXPECT_EQ(today(), (CalendarDate{2024, 2, 29}));
    }
    EXPECT_GT(nowSeconds(), 1709164800);
}

} // namespace
} // namespace ch
