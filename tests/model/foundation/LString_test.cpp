#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>
#include <string>

#include "model/foundation/CNSStringToCString.h"
#include "model/foundation/LString.h"
#include "platform/core/locale_settings.h"
#include "platform/core/user_defaults.h"
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

// The searches, parts and conversions, each case in the three destination
// encodings the model's text is kept in. Cases are written in UTF-8;
// positions are counted in characters and turned into the byte positions of
// the encoding, which differ after an accented letter in UTF-8.
class LStringInEncodings : public ::testing::Test {
protected:
    LStringInEncodings() : mSavedOrder(nameOrderLocale()) { setNameOrderLocale("en_US"); }
    ~LStringInEncodings() override { setNameOrderLocale(mSavedOrder); }

    static constexpr int kEncodings[] = {30, 12, 4};   // Mac Roman, Windows-1252, UTF-8

    void use(int encoding)
    {
        settings.defaults().set(std::string(kDestinationEncodingKey), Value(encoding));
    }
    // Interface text as model text.
    static std::string model(const std::string& text)
    {
        return CNSStringToCString::convertToDestination(text, 255, 255);
    }
    static LStr255 string(const std::string& text)
    {
        const std::string bytes = model(text);
        return LStr255(bytes.data(), bytes.size());
    }
    // The byte position of the character at `position` (1-based) of the text;
    // 0 stays 0 (not found).
    static std::size_t bytePosition(const std::string& text, std::size_t position)
    {
        if (position == 0) return 0;
        std::size_t characters = 0, at = 0;
        while (at < text.size() && characters + 1 < position) {
            const auto lead = static_cast<unsigned char>(text[at]);
            at += lead < 0x80 ? 1 : (lead < 0xE0 ? 2 : (lead < 0xF0 ? 3 : 4));
            ++characters;
        }
        return model(text.substr(0, at)).size() + 1 + (position - 1 - characters);
    }

    test::PinnedTextSettings settings;

private:
    std::string mSavedOrder;
};

TEST_F(LStringInEncodings, FindAndReverseFindByTheStringsComparison)
{
    struct Case {
        const char* text;
        const char* pattern;
        std::size_t start;        // Find from here, ReverseFind back from here
        bool ignoringCase;
        std::size_t found;        // characters; 0 when absent
        std::size_t foundBack;
    };
    const Case cases[] = {
        {"Café Crème Café", "Café", 1, false, 1, 1},
        {"Café Crème Café", "Café", 2, false, 12, 1},          // the next one after the start
        {"Café Crème Café", "Café", 255, false, 0, 12},        // back from beyond the end: the last
        {"Café Crème Café", "Crème", 1, false, 6, 0},          // back from the first character: none
        {"Café Crème Café", "Cafe", 1, false, 0, 0},           // the accent counts
        {"Café Crème Café", "CAFÉ", 1, false, 0, 0},           // as does the case
        {"Café Crème Café", "CAFÉ", 1, true, 1, 1},            // unless the string ignores it
        {"Café Crème Café", "crème", 3, true, 6, 0},
        {"Café", "Café Crème", 1, false, 0, 0},                // longer than the text
        {"Café", "", 1, false, 0, 0},                          // empty text is never found
        {"Café", "é", 9, false, 0, 4},                         // a start beyond the text
    };
    for (const int encoding : kEncodings) {
        use(encoding);
        for (const Case& c : cases) {
            LStr255 text = string(c.text);
            if (c.ignoringCase) text.SetCompareFunc(LString::CompareIgnoringCase);
            const std::string pattern = model(c.pattern);
            const std::size_t start = c.start > 200 ? c.start : bytePosition(c.text, c.start);
            EXPECT_EQ(text.Find(pattern.data(), pattern.size(), start), bytePosition(c.text, c.found))
                << encoding << ": " << c.pattern << " in " << c.text << " from " << c.start;
            EXPECT_EQ(text.ReverseFind(pattern.data(), pattern.size(), start), bytePosition(c.text, c.foundBack))
                << encoding << ": " << c.pattern << " in " << c.text << " back from " << c.start;
            // FindWithin looks for the pattern's string inside the text's bytes.
            LStr255 needle = string(c.pattern);
            if (c.ignoringCase) needle.SetCompareFunc(LString::CompareIgnoringCase);
            EXPECT_EQ(needle.FindWithin(text.TextPtr(), text.Length(), start), bytePosition(c.text, c.found))
                << encoding << ": within " << c.text;
            EXPECT_EQ(needle.ReverseFindWithin(text.TextPtr(), text.Length(), start),
                      bytePosition(c.text, c.foundBack))
                << encoding << ": back within " << c.text;
        }
    }
    // A block longer than a string can hold is searched to its end.
    use(30);
    const std::string block = std::string(400, '.') + "ACME" + std::string(100, '.') + "ACME";
    EXPECT_EQ(LStr255("ACME").FindWithin(block.data(), block.size()), 401u);
    EXPECT_EQ(LStr255("ACME").ReverseFindWithin(block.data(), block.size()), 505u);
    EXPECT_EQ(LStr255("ACME").FindWithin(nullptr, 10), 0u);
}

TEST_F(LStringInEncodings, BeginsWithAndEndsWith)
{
    struct Case {
        const char* text;
        const char* part;
        bool ignoringCase;
        bool begins;
        bool ends;
    };
    const Case cases[] = {
        {"Épargne à terme", "Épargne", false, true, false},
        {"Épargne à terme", "à terme", false, false, true},
        {"Épargne à terme", "épargne", false, false, false},
        {"Épargne à terme", "épargne", true, true, false},
        {"Épargne à terme", "À TERME", true, false, true},
        {"Épargne à terme", "Epargne", true, false, false},   // case is ignored, the accent is not
        {"Épargne à terme", "", false, true, true},
        {"Épargne", "Épargne à terme", false, false, false},
        {"Épargne", "Épargne", false, true, true},
    };
    for (const int encoding : kEncodings) {
        use(encoding);
        for (const Case& c : cases) {
            LStr255 text = string(c.text);
            if (c.ignoringCase) text.SetCompareFunc(LString::CompareIgnoringCase);
            const LStr255 part = string(c.part);
            EXPECT_EQ(text.BeginsWith(part), c.begins) << encoding << ": " << c.text << " / " << c.part;
            EXPECT_EQ(text.EndsWith(part), c.ends) << encoding << ": " << c.text << " / " << c.part;
        }
    }
}

TEST_F(LStringInEncodings, PartsAndRangesStayWithinTheText)
{
    struct Case {
        const char* text;
        std::size_t start;   // characters
        std::size_t count;   // characters; more than the text holds is cut
        const char* part;
    };
    const Case cases[] = {
        {"Dépôt à vue", 1, 5, "Dépôt"},
        {"Dépôt à vue", 7, 1, "à"},
        {"Dépôt à vue", 9, 99, "vue"},
        {"Dépôt à vue", 12, 3, ""},     // just past the end
        {"Dépôt à vue", 3, 0, ""},
        {"", 1, 4, ""},
    };
    for (const int encoding : kEncodings) {
        use(encoding);
        for (const Case& c : cases) {
            const LStr255 text = string(c.text);
            const std::size_t start = bytePosition(c.text, c.start);
            const std::size_t end = c.count > 50 ? 255 : bytePosition(c.text, c.start + c.count);
            const std::size_t count = end - start;
            const std::string expected = model(c.part);
            EXPECT_EQ(Text(text(start, count)), expected) << encoding << ": " << c.text << " (" << c.start << ")";
            LStr255 assigned("old");
            assigned.Assign(text, start, count);
            EXPECT_EQ(Text(assigned), expected) << encoding << ": " << c.text << " (" << c.start << ")";
        }
    }
    // A range of the string itself, and one into a small field.
    LStr255 self("Dividend ACME");
    self.Assign(self, 10, 4);
    EXPECT_EQ(Text(self), "ACME");
    unsigned char field[4] = {};
    LStringRef small(sizeof field, field);
    small.Assign(LStr255("Dividend"), 2, 6);
    EXPECT_EQ(Text(field), "ivi");
}

TEST_F(LStringInEncodings, ConversionsToAndFromNumbersAndCodes)
{
    struct Number {
        const char* text;
        std::int32_t whole;
        double value;   // with "," as the decimal separator and "." grouping
    };
    const Number numbers[] = {
        {"42", 42, 42.0},
        {"  -17 €", -17, -17.0},
        {"+8", 8, 8.0},
        {"1.234,56", 1, 1234.56},
        {"0,5", 0, 0.5},
        {"-0,25e2", 0, -25.0},
        {"12abc", 12, 12.0},
        {"abc", 0, 0.0},
        {"", 0, 0.0},
        {"-", 0, 0.0},
        {"99999999999", 2147483647, 99999999999.0},   // bounded to 32 bits as a whole number
        {"-99999999999", -2147483647 - 1, -99999999999.0},
    };
    for (const int encoding : kEncodings) {
        use(encoding);
        for (const Number& n : numbers) {
            const LStr255 text = string(n.text);
            EXPECT_EQ(static_cast<std::int32_t>(text), n.whole) << encoding << ": " << n.text;
            EXPECT_DOUBLE_EQ(static_cast<double>(text), n.value) << encoding << ": " << n.text;
        }

        // A code is the text's first four bytes, padded with blanks.
        for (const char* text : {"AcnT", "Café", "Crème brûlée", "ab", ""}) {
            const std::string bytes = model(text) + "    ";
            const FourCharCode expected =
                fourCCFromString(std::string_view(bytes).substr(0, 4));
            EXPECT_EQ(static_cast<FourCharCode>(string(text)), expected) << encoding << ": " << text;
            LStr255 back;
            back.Assign(expected);
            EXPECT_EQ(Text(back), bytes.substr(0, 4)) << encoding << ": " << text;
        }
    }

    // Numbers are written with the user's decimal separator.
    struct Written {
        double value;
        char format;
        std::int16_t digits;
        const char* text;
    };
    const Written written[] = {
        {1234.5, 'f', 2, "1234,50"},  {-0.125, 'f', 1, "-0,1"},  {2.5, 'f', 0, "2"},
        {1234.5, 'e', 2, "1,23e+03"}, {1234.5, 'g', 3, "1,23e+03"}, {0.5, 'g', 3, "0,5"},
        {7.0, 'x', 1, "7,0"},         {1.0, 'f', -3, "1"},
    };
    for (const Written& w : written) {
        LStr255 text("old");
        text.Assign(w.value, w.format, w.digits);
        EXPECT_EQ(Text(text), w.text) << w.value << " " << w.format << w.digits;
        EXPECT_EQ(Text(LStr255(w.value, w.format, w.digits)), w.text);
    }
    settings.defaults().set(std::string(kDecimalSeparatorKey), Value("."));
    settings.defaults().set(std::string(kThousandsSeparatorKey), Value(","));
    EXPECT_EQ(Text(LStr255(1234.5, 'f', 2)), "1234.50");
    EXPECT_DOUBLE_EQ(static_cast<double>(LStr255("1,234.56")), 1234.56);
    // Written and read back, the number stays.
    EXPECT_DOUBLE_EQ(static_cast<double>(LStr255(-98765.4321, 'f', 4)), -98765.4321);

    // A memory block's bytes, cut at the buffer; none gives empty text.
    auto block = std::make_unique<std::vector<char>>(300, 'z');
    (*block)[0] = 'A';
    LStr255 fromBlock("old");
    fromBlock.Assign(block);
    EXPECT_EQ(fromBlock.Length(), 255);
    EXPECT_EQ(fromBlock.TextPtr()[0], 'A');
    unsigned char field[5] = {};
    LStringRef small(sizeof field, field);
    small.Assign(block);
    EXPECT_EQ(Text(field), "Azzz");
    fromBlock.Assign(std::unique_ptr<std::vector<char>>());
    EXPECT_EQ(fromBlock.Length(), 0);
}

} // namespace
} // namespace ch
