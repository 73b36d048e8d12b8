#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/foundation/LString.h"
#include "platform/core/unicode.h"
#include "text_settings_fixture.h"

namespace ch {
namespace {

std::string Text(const unsigned char* p)
{
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

void SetP(Str255& p, const std::string& text)
{
    p[0] = static_cast<unsigned char>(text.size());
    std::memcpy(p + 1, text.data(), text.size());
}

TEST(LString, BoundedCopiesBetweenCAndLengthPrefixedText)
{
    const std::string longText(300, 'x');
    EXPECT_EQ(LString::CStringLength(longText.c_str()), 255u);
    EXPECT_EQ(LString::CStringLength(nullptr), 0u);

    Str255 p;
    EXPECT_EQ(TCLctopstrcpy(p, "abc"), 3u);
    EXPECT_EQ(Text(p), "abc");
    EXPECT_EQ(TCLctopstrcpy(p, longText.c_str()), 255u);
    EXPECT_EQ(TCLctopstrncpy(p, "abcdef", 4), 4u);
    EXPECT_EQ(Text(p), "abcd");

    char c[256];
    SetP(p, "hello");
    EXPECT_STREQ(TCLptocstrcpy(c, p), "hello");
    EXPECT_STREQ(TCLptocstrncpy(c, p, 3), "hel");

    char inPlace[256] = "in place";
    unsigned char* asP = LString::CToPStr(inPlace);
    EXPECT_EQ(Text(asP), "in place");
    EXPECT_STREQ(LString::PToCStr(asP), "in place");
    EXPECT_EQ(LString::CToPStr(nullptr), nullptr);
}

TEST(LString, AppendsAndCopiesStopAtTheDestination)
{
    struct Case {
        const char* dest;
        const char* src;
        std::size_t destSize;
        const char* expected;
    };
    const Case appends[] = {
        {"abc", "def", 5, "abcd"},   // a length byte and 4 characters
        {"abcd", "e", 5, "abcd"},
        {"ab", "cd", 256, "abcd"},
        {"", "xyz", 3, "xy"},
    };
    for (const Case& c : appends) {
        Str255 dest, src;
        SetP(dest, c.dest);
        SetP(src, c.src);
        LString::AppendPStr(dest, src, c.destSize);
        EXPECT_EQ(Text(dest), c.expected) << c.dest << "+" << c.src;
    }

    Str255 src, dest;
    SetP(src, "abcdef");
    EXPECT_EQ(Text(LString::CopyPStr(src, dest, 4)), "abc");
    EXPECT_EQ(Text(LString::CopyPStr(nullptr, dest)), "");
    EXPECT_EQ(Text(TCLpstrncpy(dest, src, 2)), "ab");

    SetP(dest, "abc");
    EXPECT_EQ(Text(TCLpstrncat(dest, src, 5)), "abcab");
    SetP(dest, std::string(250, 'a'));
    EXPECT_EQ(TCLpstrcat(dest, src)[0], 255);
    SetP(dest, "Id ");
    SetP(src, "no ");
    EXPECT_EQ(Text(TCLpstrcatlong(dest, src, -42)), "Id no -42");
}

TEST(LString, FourCharCodesAndByteComparison)
{
    Str255 p;
    EXPECT_EQ(Text(LString::FourCharCodeToPStr(fourCC("AcnT"), p)), "AcnT");
    FourCharCode code = 0;
    LString::PStrToFourCharCode(p, code);
    EXPECT_EQ(code, fourCC("AcnT"));

    EXPECT_EQ(LString::CompareBytes("ab", "abc", 2, 3), -1);
    EXPECT_EQ(LString::CompareBytes("abc", "ab", 3, 2), 1);
    EXPECT_EQ(LString::CompareBytes("abd", "abc", 3, 3), 1);
    EXPECT_EQ(LString::CompareBytes("\xe9", "z", 1, 1), 1) << "bytes are unsigned";
    EXPECT_EQ(LString::CompareBytes("", "", 0, 0), 0);
}

TEST(LStr255, BuildsTextWithinItsBuffer)
{
    LStr255 s("x");
    s.Append('y');
    EXPECT_EQ(Text(s), "xy");

    LStr255 full(std::string(300, 'a').c_str());
    EXPECT_EQ(full.Length(), 255);
    full.Append('b');
    EXPECT_EQ(Text(full), std::string(255, 'a'));

    LStr255 number(std::int32_t(-17));
    EXPECT_EQ(Text(number), "-17");
    LStr255 sum = LStr255("Dividend ") + LStr255("ACME");
    EXPECT_EQ(Text(sum), "Dividend ACME");
    sum += sum;  // appending itself
    EXPECT_EQ(Text(sum), "Dividend ACMEDividend ACME");
    EXPECT_TRUE(LStr255("abc") == LStr255("abc"));

    // A string over a caller's small field never writes past it.
    unsigned char field[6] = {0, 0, 0, 0, 0, 0x5a};
    LStringRef ref(5, field);
    ref.Assign("abcdefgh");
    EXPECT_EQ(Text(field), "abcd");
    EXPECT_EQ(field[5], 0x5a);
}

// Model text is Mac Roman by default: 0x8E is "é", 0x83 "É", 0xA7 "ß".
TEST(LString, TextComparisonFollowsTheNameOrderAndCaseFoldingFollowsTheLanguage)
{
    test::PinnedTextSettings settings;
    const std::string savedOrder = nameOrderLocale();
    setNameOrderLocale("en_US");
    struct Case {
        const char* left;
        const char* right;
        int toolbox;
        int ignoringCase;
    };
    const Case cases[] = {
        {"abc", "abd", -1, -1},
        {"ab", "abc", -1, -1},
        {"abc", "abc", 0, 0},
        {"a", "B", -1, -1},              // bytes would put "B" first
        {"ABC", "abc", 1, 0},            // small letters first, the same ignoring case
        {"\x8E" "t\x8E", "ete", 1, 1},    // an accent counts after the letters
        {"\x8E" "cole", "fable", -1, -1}, // "é" sorts with "e", not after "z"
        {"\x83" "T\x83", "\x8E" "t\x8E", 1, 0},
        {"STRASSE", "stra\xA7" "e", -1, 0},
        {"", "a", -1, -1},
    };
    for (const Case& c : cases) {
        const auto l1 = static_cast<std::uint8_t>(std::strlen(c.left));
        const auto l2 = static_cast<std::uint8_t>(std::strlen(c.right));
        EXPECT_EQ(LString::ToolboxCompareText(c.left, c.right, l1, l2), c.toolbox) << c.left << " " << c.right;
        EXPECT_EQ(LString::ToolboxCompareText(c.right, c.left, l2, l1), -c.toolbox) << c.right << " " << c.left;
        EXPECT_EQ(LString::CompareIgnoringCase(c.left, c.right, l1, l2), c.ignoringCase) << c.left << " " << c.right;
    }

    // A string compares by ToolboxCompareText unless told otherwise.
    LStr255 upper("ABC");
    EXPECT_EQ(upper.GetCompareFunc(), &LString::ToolboxCompareText);
    EXPECT_EQ(upper.CompareTo(LStr255("abc")), 1);
    upper.SetCompareFunc(LString::CompareIgnoringCase);
    EXPECT_EQ(upper.CompareTo(LStr255("abc")), 0);
    upper.Assign("abd");
    EXPECT_EQ(upper.CompareTo(LStr255("ABC")), 1) << "assigning text keeps the comparison";
    setNameOrderLocale(savedOrder);
}

TEST(LString, InsertAndReplaceStayWithinTheBuffer)
{
    struct Case {
        const char* text;
        std::size_t start;
        std::size_t count;   // 0: an insertion
        const char* bytes;
        std::size_t bufferSize;
        const char* expected;
    };
    const Case cases[] = {
        {"Dividend", 1, 0, "Net ", 256, "Net Dividend"},
        {"Dividend", 9, 0, " ACME", 256, "Dividend ACME"},   // after the last character
        {"Dividend", 40, 0, "!", 256, "Dividend!"},          // beyond the text: at its end
        {"Dividend", 0, 0, ">", 256, ">Dividend"},           // 0 counts as the first position
        {"Dividend", 4, 0, "-", 7, "Div-id"},               // the tail is cut, not the insertion
        {"abcdef", 3, 0, "XYZ", 5, "abXY"},                 // nor the text before it
        {"Balance 2024", 9, 4, "2025", 256, "Balance 2025"},
        {"Balance 2024", 1, 7, "Saldo", 256, "Saldo 2024"},
        {"Balance", 5, 99, "e", 256, "Balae"},              // no more than the text holds
        {"Balance", 3, 2, "", 256, "Bance"},                 // a removal
        {"abc", 2, 1, "1234567", 6, "a1234"},
    };
    for (const Case& c : cases) {
        unsigned char buffer[256] = {};
        LStringRef text(c.bufferSize, buffer);
        text.Assign(c.text);
        if (c.count == 0)
            text.Insert(c.bytes, std::strlen(c.bytes), c.start);
        else
            text.Replace(c.start, c.count, c.bytes, std::strlen(c.bytes));
        EXPECT_EQ(Text(buffer), c.expected) << c.text << " at " << c.start;
    }

    // The bytes may be the string's own.
    LStr255 echo("abc");
    echo.Insert(echo.TextPtr(), echo.Length(), 2);
    EXPECT_EQ(Text(echo), "aabcbc");
    echo.Remove(2, 3);
    EXPECT_EQ(Text(echo), "abc");
    // A full string takes nothing more.
    LStr255 full(std::string(255, 'a').c_str());
    full.Insert("b", 1, 1);
    EXPECT_EQ(Text(full), "b" + std::string(254, 'a'));
}

} // namespace
} // namespace ch
