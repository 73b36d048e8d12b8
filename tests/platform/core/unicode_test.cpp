#include "platform/core/unicode.h"

#include <gtest/gtest.h>

#include <string>

namespace ch {
namespace {

const std::string kClef = "\xF0\x9D\x84\x9E";   // U+1D11E, two UTF-16 units
const std::string kEAcute = "\xC3\xA9";

TEST(Unicode, CountsAndCutsInUtf16Units)
{
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length(kEAcute), 1u);
    EXPECT_EQ(utf16Length("a" + kClef), 3u);
    EXPECT_EQ(utf16Length("\xFF"), 1u);

    EXPECT_EQ(truncateToUtf16Units("ab" + kClef, 3), "ab");   // the pair is not split
    EXPECT_EQ(truncateToUtf16Units("ab" + kClef, 4), "ab" + kClef);
    EXPECT_EQ(truncateToUtf16Units(std::string(40, 'x'), 34), std::string(34, 'x'));
    EXPECT_EQ(truncateToUtf16Units("a\xFF" "b", 2), "a\xEF\xBF\xBD");
}

TEST(Unicode, CutsToTheBytesOfAnEncoding)
{
    std::string e34;
    for (int i = 0; i < 34; ++i)
        e34 += kEAcute;
    // 34 characters are 68 UTF-8 bytes: only 17 fit into 34 bytes.
    EXPECT_EQ(utf16Length(truncateToEncodedBytes(e34, encoding::utf8, 34)), 17u);
    EXPECT_EQ(truncateToEncodedBytes(e34, encoding::macRoman, 34), e34);
    EXPECT_EQ(truncateToEncodedBytes("a" + kClef + "b", encoding::utf8, 4), "a");
    EXPECT_EQ(truncateToEncodedBytes("abc", 999, 2), "");
}

TEST(Unicode, ComparesIgnoringCase)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"ABC", "abc", 0},
        {"Stra\xC3\x9F" "e", "STRASSE", 0},                 // full folding: ß = ss
        {"\xC3\x84rger", "\xC3\xA4RGER", 0},
        {"apple", "Banana", -1},
        {"abc", "abcd", -1},
        {"\xCE\xA3\xCE\x99\xCE\xA3", "\xCF\x83\xCE\xB9\xCF\x82", 0},   // Greek final sigma
        {"b", "A", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        int r = compareCaseInsensitive(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
        EXPECT_EQ(equalsCaseInsensitive(c.a, c.b), c.sign == 0);
    }
    EXPECT_TRUE(startsWithCaseInsensitive("\xC3\x9C" "berweisung", "\xC3\xBC" "BE"));
    EXPECT_FALSE(startsWithCaseInsensitive("abc", "abcd"));
    EXPECT_TRUE(startsWithCaseInsensitive("abc", ""));
    EXPECT_TRUE(containsCaseInsensitive("Hello World", "WORLD"));
    EXPECT_TRUE(containsCaseInsensitive("Gro\xC3\x9F" "handel", "SSH"));
    EXPECT_FALSE(containsCaseInsensitive("Hello", "xyz"));
}

TEST(Unicode, OrdersNamesByTheLocale)
{
    const std::string saved = nameOrderLocale();
    setNameOrderLocale("en_US");
    EXPECT_LT(compareLocalized("apple", "Banana"), 0);   // not code-point order
    EXPECT_LT(compareLocalized("\xC3\x84pfel", "Birne"), 0);
    EXPECT_LT(compareLocalized("\xC3\x96l", "Zucker"), 0);
    EXPECT_NE(compareLocalized("a", "A"), 0);
    EXPECT_EQ(compareLocalized("a", "A", true), 0);
    setNameOrderLocale("sv_SE");
    EXPECT_GT(compareLocalized("\xC3\x96l", "Zucker"), 0);   // Ö after Z in Swedish
    setNameOrderLocale(saved);
}

} // namespace
} // namespace ch
