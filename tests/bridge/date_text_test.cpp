// Dates as text: shown in the user's short format, and read back from typed
// or imported text without letting an impossible date through.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/CNSStringDateTBridge.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

TEST(DateTextTest, ShowsTheShortFormatAndNoDateAsTheLastDay)
{
    BridgeEnvironment environment;
    EXPECT_EQ(CNSStringDateTBridge::dateTToNSString(20240305), "05.03.2024");
    EXPECT_EQ(CNSStringDateTBridge::dateTToNSString(0), "31.12.9999");
    EXPECT_EQ(CNSStringDateTBridge::dateTToNSString(10100), "31.12.9999");
}

TEST(DateTextTest, ReadsOnlyRealCalendarDates)
{
    BridgeEnvironment environment;
    for (const auto& [text, expected] : std::vector<std::pair<std::string, DateT>>{
             {"20240229", 20240229},      // a plain number that is a date
             {" 19960102 ", 19960102},
             {"20230231", 0},             // looks like one, names none
             {"19991399", 0},
             {"30000101", 0},             // beyond the accepted numbers
             {"05.03.2024", 20240305},    // the user's format
             {"31.02.2024", 0},
             {"", 0},
             {"soon", 0}})
        EXPECT_EQ(CNSStringDateTBridge::NSStringToDateT(text), expected) << text;
}

} // namespace
} // namespace ch::test
