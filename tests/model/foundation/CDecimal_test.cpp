#include "model/foundation/CDecimal.h"

#include <gtest/gtest.h>

#include <string>

#include "text_settings_fixture.h"

namespace ch {
namespace {

struct ParseCase {
    const char* text;
    double strict;
    double lenient;
};

// Decimal ',' and thousands '.', 2 decimals.
TEST(CDecimal, StringToDoubleSeparatorRules)
{
    test::PinnedTextSettings settings;
    const ParseCase cases[] = {
        {"", 0, 0},
        {"0", 0, 0},
        {"1.234,56", 1234.56, 1234.56},
        {"1.234.567,89", 1234567.89, 1234567.89},
        {"1.234", 1234, 1234},          // 3 after a single '.' in a short text: thousands
        {"12.345", 12345, 12345},
        {"1.5", 1.5, 1.5},
        {"12.3456", 12.35, 12.35},      // 4 after it: a decimal point, rounded half up
        {"1,005", 1.01, 1.01},
        {"1,004", 1.0, 1.0},
        {"0,999", 1.0, 1.0},
        {"-12,5", -12.5, -12.5},
        {"12-", 0, 0},
        {"1-2", 0, 0},
        {"12a", 0, 12},
        {"1,2,3", 0, 12.3},             // refused; lenient takes the last ',' as the point
        {"1,2,3.4", 123.4, 123.4},      // two ',' and one '.'
        {"1.2.3,45", 123.45, 123.45},
        {"1.2.3", 0, 0.12},
        // Only digits count in the fraction.
        {"1.2,3,4", 0, 1.23},
        {"1,5a", 0, 1.5},
        {"1,2.3", 0, 1.23},
        {"1,5 ", 0, 1.5},
        // The integer part must fit in 32 bits in strict mode.
        {"2147483647", 2147483647.0, 2147483647.0},
        {"2147483648", 0, 2147483648.0},
        {"99999999999,99", 0, 99999999999.99},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(CDecimal::StringToDouble(c.text, true), c.strict) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(CDecimal::StringToDouble(c.text, false), c.lenient) << '"' << c.text << '"';
    }
    LStr255 pascal("1.234,56");
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble(pascal, true), 1234.56);
}

TEST(CDecimal, StringToDoubleFollowsTheNumberOfDecimals)
{
    test::PinnedTextSettings settings;
    CDecimal::putNrOfDecimals(0);
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("2,5", true), 3);
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("2,4", true), 2);
    CDecimal::putNrOfDecimals(4);
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("1,23456", true), 1.2346);
    CDecimal::putNrOfDecimals(9);
    EXPECT_EQ(CDecimal::getNrOfDecimals(), 4);
    CDecimal::putNrOfDecimals(-1);
    EXPECT_EQ(CDecimal::getNrOfDecimals(), 0);
    CDecimal reset;
    EXPECT_EQ(CDecimal::getNrOfDecimals(), 2);
}

TEST(CDecimal, SeparatorsAreWholeCharacters)
{
    test::PinnedTextSettings settings;
    settings.defaults().set(std::string(kThousandsSeparatorKey), Value("\u00A0"));
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("1\u00A0234\u00A0567,5", true), 1234567.5);
    settings.defaults().set(std::string(kDecimalSeparatorKey), Value("."));
    settings.defaults().set(std::string(kThousandsSeparatorKey), Value(","));
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("1,234.56", true), 1234.56);
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble("1.234,56", true), 0);
}

TEST(CDecimal, DoubleToStringUsesTheDefaultsDecimals)
{
    test::PinnedTextSettings settings;
    struct Case {
        double value;
        long decimals;
        const char* text;
    } cases[] = {
        {12.5, 2, "   12,50"},   {3.14159, 2, "    3,14"},        {3.14159, 0, "       3"},
        {3.14159, 4, "  3,1416"}, {-1234.5, 2, "-1234,50"},       {0, 2, "    0,00"},
        // Halves round away from zero, also on their decimal value.
        {123456789.125, 2, "123456789,13"}, {1.5, 1, "     1,5"}, {0.475, 2, "    0,48"},
    };
    for (const auto& c : cases) {
        settings.defaults().set(std::string(kNumberOfDecimalsKey), Value(c.decimals));
        EXPECT_EQ(CDecimal::DoubleToString(c.value), c.text) << c.value;
        EXPECT_EQ(CDecimal::getNrOfDecimals(), c.decimals);
    }

    settings.defaults().set(std::string(kNumberOfDecimalsKey), Value(2));
    Str255 text;
    CDecimal::DoubleToString(12.5, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "   12,50");
    EXPECT_DOUBLE_EQ(CDecimal::StringToDouble(text, false), 12.5);   // blanks: lenient only
}

} // namespace
} // namespace ch
