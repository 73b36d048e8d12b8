#include "platform/core/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

TEST(TextEncoding, WhatAnEncodingLacksIsSubstitutedNeverDropped)
{
    // canEncode must answer true exactly when the text survives the trip
    // through the encoding; invisible characters are no exception.
    struct Case {
        const char* what;
        std::string text;
        TextEncoding encoding;
        std::string lossy;
        bool canEncode;
    };
    const std::string softHyphen = "a\xC2\xAD" "b";
    const std::string zeroWidthSpace = "a\xE2\x80\x8B" "b";
    const std::string byteOrderMark = "\xEF\xBB\xBF" "a";
    const std::string heartWithSelector = "\xE2\x9D\xA4\xEF\xB8\x8F";       // U+2764 U+FE0F
    const std::string supplementarySelector = "a\xF3\xA0\x84\x80";          // U+E0100
    const std::string controlC1 = "\xC2\x81";                                // U+0081
    const Case cases[] = {
        {"soft hyphen", softHyphen, encoding::ascii, "a?b", false},
        {"soft hyphen", softHyphen, encoding::isoLatin1, "a\xAD" "b", true},
        {"soft hyphen", softHyphen, encoding::windowsLatin1, "a\xAD" "b", true},
        {"soft hyphen", softHyphen, encoding::macRoman, "a?b", false},
        {"soft hyphen", softHyphen, encoding::utf8, softHyphen, true},
        {"zero-width space", zeroWidthSpace, encoding::ascii, "a?b", false},
        {"zero-width space", zeroWidthSpace, encoding::isoLatin1, "a?b", false},
        {"zero-width space", zeroWidthSpace, encoding::windowsLatin1, "a?b", false},
        {"zero-width space", zeroWidthSpace, encoding::macRoman, "a?b", false},
        {"byte-order mark", byteOrderMark, encoding::windowsLatin1, "?a", false},
        {"byte-order mark", byteOrderMark, encoding::utf8, byteOrderMark, true},
        {"variation selector", heartWithSelector, encoding::macRoman, "??", false},
        {"supplementary variation selector", supplementarySelector, encoding::isoLatin1, "a?", false},
        {"C1 control", controlC1, encoding::isoLatin1, "\x81", true},
        {"C1 control unassigned in 1252", controlC1, encoding::windowsLatin1, "?", false},
        {"C1 control", controlC1, encoding::macRoman, "?", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " in " + std::to_string(c.encoding));
        EXPECT_EQ(encodeLossy(c.text, c.encoding), c.lossy);
        EXPECT_EQ(canEncode(c.text, c.encoding), c.canEncode);
        if (c.canEncode) {
            EXPECT_EQ(decode(c.lossy, c.encoding), c.text);
        }
    }
    // A fixed field counts the substitute like any other character.
    EXPECT_EQ(encodeLossy(zeroWidthSpace, encoding::macRoman, 2), std::string("a?"));
}

TEST(TextEncoding, UnassignedWindows1252BytesReadAsReplacementCharacters)
{
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        std::string text;
    };
    const std::string replacement = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"\x81\x8D\x8F\x90\x9D", encoding::windowsLatin1, replacement + replacement + replacement + replacement + replacement},
        {"a\x80\x9E\x9F", encoding::windowsLatin1, "a\xE2\x82\xAC\xC5\xBE\xC5\xB8"},   // "a€žŸ"
        {"\x81\x9D", encoding::isoLatin1, "\xC2\x81\xC2\x9D"},                          // controls there
        {"\x81\x9D", encoding::macRoman, "\xC3\x85\xC3\xB9"},                           // "Åù"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes) + " in " + std::to_string(c.encoding));
        EXPECT_EQ(decode(c.bytes, c.encoding), c.text);
    }
}

// --- cross-check with Python's codecs ----------------------------------------

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string utf8Of(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

constexpr const char* kPythonCodecs = R"PY(
import sys
text = open(sys.argv[1], encoding='utf-8', newline='').read()
for name in sys.argv[2:]:
    open(name + '.encoded', 'wb').write(text.encode(name, 'replace'))
    open(name + '.decoded', 'w', encoding='utf-8', newline='').write(
        '\n'.join(bytes([b]).decode(name, 'replace') for b in range(256)))
)PY";

TEST(TextEncoding, AgreesWithPythonCodecs)
{
    if (std::system("python3 -c 'import codecs' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 not available";
    const auto dir = std::filesystem::path(testing::TempDir()) / ("ch_text_encoding_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);

    // Every code point outside ASCII in planes 0 and 1 (where the characters
    // of these encodings and most invisible ones live) and in plane 14 (tags
    // and variation selectors), one per line. Only those that composition
    // leaves alone: we compose first, Python does not.
    std::vector<std::string> codePoints;
    std::string lines;
    for (char32_t c = 0x80; c < 0xE1000; ++c) {
        if ((c >= 0xD800 && c < 0xE000) || (c >= 0x20000 && c < 0xE0000))
            continue;
        std::string s = utf8Of(c);
        if (encodeLossy(s, encoding::utf8) != s)
            continue;
        lines += s + '\n';
        codePoints.push_back(std::move(s));
    }
    { std::ofstream(dir / "text", std::ios::binary) << lines; }
    std::ofstream(dir / "codecs.py") << kPythonCodecs;

    struct Codec {
        TextEncoding encoding;
        const char* python;
    };
    const Codec codecs[] = {{encoding::ascii, "ascii"},
                            {encoding::isoLatin1, "latin-1"},
                            {encoding::windowsLatin1, "cp1252"},
                            {encoding::macRoman, "mac_roman"},
                            {encoding::utf8, "utf-8"}};
    std::string command = "cd '" + dir.string() + "' && python3 codecs.py text";
    for (const Codec& codec : codecs)
        command += std::string(" ") + codec.python;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const Codec& codec : codecs) {
        SCOPED_TRACE(codec.python);
        const std::string theirs = readFile(dir / (std::string(codec.python) + ".encoded"));
        const auto ours = encodeLossy(lines, codec.encoding);
        ASSERT_TRUE(ours);
        EXPECT_TRUE(*ours == theirs) << "lossy encodings differ (sizes " << ours->size() << ", " << theirs.size() << ")";
        if (codec.encoding != encoding::utf8) {
            // One byte per code point and line end: '?' where Python found none.
            ASSERT_EQ(theirs.size(), 2 * codePoints.size());
            int disagreements = 0;
            for (std::size_t i = 0; i < codePoints.size(); ++i) {
                if (canEncode(codePoints[i], codec.encoding) != (theirs[2 * i] != '?') && ++disagreements <= 5)
                    ADD_FAILURE() << "canEncode disagrees on " << testing::PrintToString(codePoints[i]);
            }
        }

        std::string decoded;
        for (int b = 0; b < 256; ++b) {
            const auto text = decode(std::string(1, char(b)), codec.encoding);
            ASSERT_TRUE(text);
            decoded += (b ? "\n" : "") + *text;
        }
        EXPECT_EQ(decoded, readFile(dir / (std::string(codec.python) + ".decoded")));
    }
    std::filesystem::remove_all(dir);
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
