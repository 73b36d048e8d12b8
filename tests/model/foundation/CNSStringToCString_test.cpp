#include "model/foundation/CNSStringToCString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/foundation/CLocalize.h"
#include "text_settings_fixture.h"

namespace ch {
namespace {

std::string repeat(std::string_view piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(CNSStringToCString, FieldsKeepTheirNumberOfCharacters)
{
    test::PinnedTextSettings settings;
    const std::string letters = repeat("abcdefghij", 30);

    char name[35];
    CNSStringToCString::convertStringToNameT(letters.substr(0, 40), name);
    EXPECT_EQ(std::string(name), letters.substr(0, 34));
    CNSStringToCString::convertStringToNameT(letters.substr(0, 34), name);
    EXPECT_EQ(std::string(name), letters.substr(0, 34));
    CNSStringToCString::convertStringToNameT("", name);
    EXPECT_STREQ(name, "");

    char description[256];
    CNSStringToCString::convertStringToDescriptionT(letters, description);
    EXPECT_EQ(std::string(description), letters.substr(0, 254));

    char number[20];
    CNSStringToCString::convertStringToAccountNumberT("123-4567890-12345678", number);
    EXPECT_EQ(std::string(number), "123-4567890-1234567");
}

TEST(CNSStringToCString, TextComesOutInTheDestinationEncoding)
{
    test::PinnedTextSettings settings;
    char name[35];
    CNSStringToCString::convertStringToNameT("Caf\u00E9", name);
    EXPECT_STREQ(name, "Caf\x8E");   // Mac Roman
    // A character Mac Roman lacks is replaced, not the whole text lost.
    CNSStringToCString::convertStringToNameT("a\u4E2Db", name);
    EXPECT_STREQ(name, "a?b");
    EXPECT_EQ(CNSStringToCString::convertToStandardEncodedString("a\u4E2Db"), "a?b");
    EXPECT_EQ(CNSStringToCString::convertToStandardEncodedString("Caf\u00E9"), "Caf\u00E9");

    settings.defaults().set(std::string(kDestinationEncodingKey), Value(12));   // Windows-1252
    CNSStringToCString::convertStringToNameT("Caf\u00E9", name);
    EXPECT_STREQ(name, "Caf\xE9");

    // No encoding: the text is left as it is, the field gets Mac Roman.
    settings.defaults().set(std::string(kDestinationEncodingKey), Value(0));
    EXPECT_EQ(CNSStringToCString::convertToStandardEncodedString("a\u4E2Db"), "a\u4E2Db");
    CNSStringToCString::convertStringToNameT("Caf\u00E9", name);
    EXPECT_STREQ(name, "Caf\x8E");
}

TEST(CNSStringToCString, AsciiIsTheSameInEveryDestination)
{
    test::PinnedTextSettings settings;
    const std::string text = "Rent\tflat " + repeat("0123456789", 3);   // 40 characters
    // No encoding, the ones offered, and numbers none stands for.
    for (int number : {0, 1, 4, 5, 12, 30, 7, 99999}) {
        settings.defaults().set(std::string(kDestinationEncodingKey), Value(number));
        char name[35];
        CNSStringToCString::convertStringToNameT(text, name);
        EXPECT_EQ(std::string(name), text.substr(0, 34)) << number;
        EXPECT_EQ(CNSStringToCString::convertToDestination(text, 50, 8), text.substr(0, 8)) << number;
    }
}

TEST(CNSStringToCString, MultiByteDestinationNeverOverflowsOrSplits)
{
    test::PinnedTextSettings settings;
    settings.defaults().set(std::string(kDestinationEncodingKey), Value(4));   // UTF-8

    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {repeat("\u00E9", 34), repeat("\u00E9", 17)},            // 2 bytes each
        {"ab" + repeat("\u20AC", 20), "ab" + repeat("\u20AC", 10)},   // 3 bytes each: 32 fit
        {repeat("x", 33) + "\u00E9", repeat("x", 33)},
    };
    for (const auto& c : cases) {
        struct {
            char name[35];
            char guard[8];
        } field;
        std::memset(&field, '#', sizeof field);
        CNSStringToCString::convertStringToNameT(c.text, field.name);
        EXPECT_EQ(std::string(field.name), c.expected);
        EXPECT_EQ(std::string(field.guard, 8), "########");
    }

    char number[20];
    CNSStringToCString::convertStringToAccountNumberT(repeat("\u00FC", 19), number);
    EXPECT_EQ(std::string(number), repeat("\u00FC", 9));
}

TEST(CLocalize, LooksUpAndFillsTheFixedForms)
{
    test::PinnedTextSettings settings;
    settings.strings().set("ExpType", "Kategorie");
    settings.strings().set("LongName", std::string(40, 'L'));

    char name[35];
    EXPECT_EQ(CLocalize::LocalizedName("Debt", name), "Debt");   // no entry: the key
    EXPECT_STREQ(name, "Debt");
    EXPECT_EQ(CLocalize::LocalizedName("LongName", name), std::string(40, 'L'));
    EXPECT_EQ(std::string(name), std::string(34, 'L'));

    char description[256];
    CLocalize::LocalizedDesc("ExpType", description);
    EXPECT_STREQ(description, "Kategorie");

    const unsigned char key[] = {7, 'E', 'x', 'p', 'T', 'y', 'p', 'e'};
    Str255 out;
    EXPECT_EQ(CLocalize::Localize(key, out), "Kategorie");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), "Kategorie");
}

} // namespace
} // namespace ch
