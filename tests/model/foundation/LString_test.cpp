#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/foundation/LString.h"

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

} // namespace
} // namespace ch
