// Dates as text: shown in the user's short format, and read back from typed
// or imported text without letting an impossible date through.

#include <gtest/gtest.h>

#include <optional>
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

TEST(DateTextTest, ReadsTextAtThePlacesOfAPattern)
{
    BridgeEnvironment environment;
    const struct {
        const char* text;
        const char* pattern;
        std::optional<DateT> expected;
    } cases[] = {
        {"31/12/2008", "dd/mm/yyyy", 20081231},
        {"31.12.50", "DD.MM.YY", 20501231},          // the two-digit year pivots at 51
        {"31.12.51", "DD.MM.YY", 19511231},
        {"20080229", "yyyymmdd", 20080229},
        {"20080230", "yyyymmdd", std::nullopt},      // 30 February is no day
        {"20090229", "yyyymmdd", std::nullopt},
        {"19001231", "yyyymmdd", std::nullopt},      // years 1901 to 3999 only
        {"40000101", "yyyymmdd", std::nullopt},
        {"20081301", "yyyymmdd", std::nullopt},
        {"20081200", "yyyymmdd", std::nullopt},
        {"12/31", "mm/dd", std::nullopt},            // no year token
        {"1/2/2008", "dd/mm/yyyy", std::nullopt},    // not padded: the month reads "/2"
        {" 1/ 2/2008", "dd/mm/yyyy", 20080201},      // blank padding reads
        {"31/12/08", "dd/mm/yyyy", std::nullopt},    // too short for the year's place
        {"", "dd/mm/yyyy", std::nullopt},
        {"2008-12-31 00:00:00", "yyyy-mm-dd", 20081231},
        {"31.12.2008", "DD.MM.YYYY", 20081231},
        {"ab.cd.efgh", "dd.mm.yyyy", std::nullopt},
        {"é.01.12.2008", "x.dd.mm.yyyy", 20081201},  // places count characters, not bytes
        {"-1.12.2008", "dd.mm.yyyy", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CNSStringDateTBridge::NSStringToDateT(c.text, c.pattern), c.expected) << c.text << " " << c.pattern;

    // Without a pattern of its own: the user's short date format alone.
    EXPECT_EQ(CNSStringDateTBridge::NSStringToDateTUsingOsxFormatString("05.03.2024"), 20240305);
    EXPECT_EQ(CNSStringDateTBridge::NSStringToDateTUsingOsxFormatString("20240305"), 0);
}

} // namespace
} // namespace ch::test
