#include "platform/core/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace ch {
namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(char(v));
    return out;
}

struct EncodeCase {
    TextEncoding encoding;
    std::string expected;
};

TEST(TextEncoding, EncodesLossilyWithQuestionMarks)
{
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xC5\x82";   // "café € ł"
    const EncodeCase cases[] = {
        {encoding::ascii, "caf? ? ?"},
        {encoding::isoLatin1, "caf\xE9 ? ?"},
        {encoding::windowsLatin1, "caf\xE9 \x80 ?"},
        {encoding::macRoman, "caf\x8E \xDB ?"},
        {encoding::utf8, text},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        auto out = encodeLossy(text, c.encoding);
        ASSERT_TRUE(out);
        EXPECT_EQ(*out, c.expected);
        EXPECT_EQ(canEncode(text, c.encoding), c.encoding == encoding::utf8);
    }
}

TEST(TextEncoding, ComposesAndSubstitutesWholeCharacters)
{
    // "e" + combining acute is one Mac Roman byte; a character outside the
    // basic plane is one '?', not two.
    EXPECT_EQ(encodeLossy("e\xCC\x81", encoding::macRoman), std::string("\x8E"));
    EXPECT_TRUE(canEncode("e\xCC\x81", encoding::macRoman));
    EXPECT_EQ(encodeLossy("a\xF0\x9D\x84\x9E" "b", encoding::macRoman), std::string("a?b"));
    EXPECT_FALSE(canEncode("\xFF", encoding::utf8));
}

TEST(TextEncoding, ByteLimitNeverSplitsACharacter)
{
    // UTF-8: "aé" cut to 2 bytes keeps only "a".
    EXPECT_EQ(encodeLossy("a\xC3\xA9", encoding::utf8, 2), std::string("a"));
    EXPECT_EQ(encodeLossy("a\xC3\xA9", encoding::utf8, 3), std::string("a\xC3\xA9"));
    // Single-byte encodings: one byte per character.
    EXPECT_EQ(encodeLossy("\xC3\xA9\xC3\xA9\xC3\xA9", encoding::macRoman, 2), std::string("\x8E\x8E"));
    EXPECT_EQ(encodeLossy("abcdef", encoding::ascii, 4), std::string("abcd"));
}

TEST(TextEncoding, UnsupportedEncodingsAreRefused)
{
    for (TextEncoding enc : {0u, 2u, 256u}) {
        EXPECT_FALSE(isSupportedEncoding(enc));
        EXPECT_FALSE(encodeLossy("a", enc));
        EXPECT_FALSE(decode("a", enc));
        EXPECT_FALSE(canEncode("a", enc));
    }
}

TEST(TextEncoding, DecodesAndRoundTripsEveryMacRomanByte)
{
    EXPECT_EQ(decode("\x8E\xDB", encoding::macRoman), std::string("\xC3\xA9\xE2\x82\xAC"));
    EXPECT_EQ(decode("\x80", encoding::windowsLatin1), std::string("\xE2\x82\xAC"));
    // Bytes that are no character read as U+FFFD.
    EXPECT_EQ(decode("a\x80", encoding::ascii), std::string("a\xEF\xBF\xBD"));
    EXPECT_EQ(decode("a\xFF", encoding::utf8), std::string("a\xEF\xBF\xBD"));

    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(char(b));
    for (TextEncoding enc : {encoding::macRoman, encoding::isoLatin1}) {
        auto text = decode(all, enc);
        ASSERT_TRUE(text);
        EXPECT_EQ(encodeLossy(*text, enc), all) << enc;
    }
}

TEST(TextEncoding, WritesUtf16ExternalFormWithLittleEndianMark)
{
    EXPECT_EQ(toUtf16External("A\xC3\xA9"), bytes({0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00}));
    EXPECT_EQ(toUtf16External(""), bytes({0xFF, 0xFE}));
    // A character outside the basic plane: a surrogate pair.
    EXPECT_EQ(toUtf16External("\xF0\x9D\x84\x9E"), bytes({0xFF, 0xFE, 0x34, 0xD8, 0x1E, 0xDD}));
}

TEST(TextEncoding, ReadsUtf16ExternalForm)
{
    struct Case {
        std::string in;
        std::optional<std::string> out;
    };
    const Case cases[] = {
        {bytes({0xFE, 0xFF, 0x00, 0x41, 0x00, 0xE9}), "A\xC3\xA9"},   // big-endian mark
        {bytes({0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00}), "A\xC3\xA9"},   // little-endian mark
        {bytes({0x00, 0x41, 0x00, 0x42}), "AB"},                      // no mark: big-endian
        {bytes({0xFF, 0xFE}), ""},
        {"", ""},
        {bytes({0xFF, 0xFE, 0x41}), std::nullopt},                    // odd count refused
        {bytes({0x00}), std::nullopt},
        {bytes({0xFE, 0xFF, 0xD8, 0x34, 0xDD, 0x1E}), "\xF0\x9D\x84\x9E"},
        {bytes({0xFE, 0xFF, 0xD8, 0x34, 0x00, 0x41}), "\xEF\xBF\xBD" "A"},   // lone surrogate
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.in));
        EXPECT_EQ(fromUtf16External(c.in), c.out);
    }
}

} // namespace
} // namespace ch
