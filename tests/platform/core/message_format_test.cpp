#include "platform/core/message_format.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

struct Case {
    const char* format;
    std::vector<FormatArg> args;
    std::string expected;
};

TEST(MessageFormat, FillsPlaceholders)
{
    const Case cases[] = {
        {"%@ and %@", {"a", "b"}, "a and b"},
        {"%d items, %ld/%i/%u", {5, 6L, 7, 8u}, "5 items, 6/7/8"},
        {"%s", {std::string("x")}, "x"},
        {"%2$@ before %1$@", {"a", "b"}, "b before a"},
        {"%.2f|%f|%.0f", {3.14159, 2, 2.5}, "3.14|2.000000|2"},
        {"100%%", {}, "100%"},
        {"%5d|%-4@|%03d", {42, "ab", -7}, "   42|ab  |-07"},
        {"%@ %@", {12, 2.5}, "12 2.5"},   // numbers for text placeholders
        {"%d", {"12"}, "12"},             // text for a number placeholder
        {"%d", {-3.9}, "-3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatMessage(c.format, std::span<const FormatArg>(c.args)), c.expected);
    }
}

TEST(MessageFormat, MismatchedTranslationsNeverCrash)
{
    const Case cases[] = {
        {"%@ %@ %@|", {"x"}, "x  |"},               // too few arguments
        {"only %@", {"a", "b", "c"}, "only a"},     // too many
        {"%s%d%f%@%ld", {}, ""},
        {"%5$@|%0$@", {"a"}, "|%0$@"},
        {"%@", {"%@%d%s%n"}, "%@%d%s%n"},           // arguments are not formats
        {"%n %x %q %", {1}, "%n %x %q %"},          // unknown conversions stay
        {"end %l", {}, "end %l"},
        {"\xC3\xA9 %@ \xE2\x82\xAC", {"\xC3\xBC"}, "\xC3\xA9 \xC3\xBC \xE2\x82\xAC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatMessage(c.format, std::span<const FormatArg>(c.args)), c.expected);
    }
    // Width and precision are bounded.
    EXPECT_LE(formatMessage("%999999999d", {1}).size(), 255u);
    EXPECT_LE(formatMessage("%.999999999f", {1.0e300}).size(), 600u);
}

} // namespace
} // namespace ch
