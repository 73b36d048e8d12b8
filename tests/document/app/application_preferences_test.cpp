// What the preferences accept: each field's values in and out of range,
// addresses as the quote service will use them, and that a refused value
// leaves the stored one alone.

#include "document/app/ApplicationPreferences.h"

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace ch {
namespace {

Value colour(Value r, Value g, Value b)
{
    return Array{std::move(r), std::move(g), std::move(b)};
}

TEST(ApplicationPreferences, EachFieldTakesItsValuesAndRefusesTheRest)
{
    struct Case {
        const char* key;
        Value value;
        Value stored;   // absent: refused
    };
    const Case cases[] = {
        {"GXNumberOfDecimals", Value(0), Value(0)},
        {"GXNumberOfDecimals", Value(4), Value(4)},
        {"GXNumberOfDecimals", Value(5), Value()},
        {"GXNumberOfDecimals", Value(-1), Value()},
        {"GXNumberOfDecimals", Value(2.5), Value()},
        {"GXNumberOfDecimals", Value("3"), Value()},
        {"GXAutoSaveInterval", Value(0), Value()},
        {"GXAutoSaveInterval", Value(1), Value(1)},
        {"GXAutoSaveInterval", Value(3.0), Value(3)},
        {"GXAutoSaveInterval", Value(366LL * 24 * 60 + 1), Value()},
        {"GXStockRefreshRate", Value(0), Value()},
        {"GXStockRefreshRate", Value(15), Value(15)},
        {"QifDateFormat", Value(1), Value(1)},
        {"QifDateFormat", Value(2), Value()},
        {"GXAutoSave", Value(true), Value(true)},
        {"GXCKeepLogFile", Value(0), Value(false)},
        {"GXCKeepLogFile", Value("NO"), Value()},
        {"GXDestinationEncoding", Value(12), Value(12)},
        {"GXDestinationEncoding", Value(4), Value(4)},
        {"GXDestinationEncoding", Value(0), Value()},
        {"GXDestinationEncoding", Value(7), Value()},
        {"RedTextColor", colour(Value(1.0), Value(0), Value(0.25)), Value(Array{1.0, 0.0, 0.25, 1.0})},
        {"RedTextColor", colour(Value(1.5), Value(0), Value(0)), Value()},
        {"RedTextColor", colour(Value("1"), Value(0), Value(0)), Value()},
        {"RedTextColor", Value(Array{Value(1.0)}), Value()},
        {"GXGraphDateFrom", Value(20240229), Value(20240229)},
        {"GXGraphDateFrom", Value(20230229), Value()},
        {"GXGraphDateTo", Value(99), Value()},
        {"GXQuoteServiceAddress", Value(" https://quotes.example.net/ "), Value("https://quotes.example.net")},
        {"GXQuoteServiceAddress", Value("http://127.0.0.1:8080/finance"), Value("http://127.0.0.1:8080/finance")},
        {"GXQuoteServiceAddress", Value(""), Value("")},
        {"GXQuoteServiceAddress", Value("quotes.example.net"), Value()},
        {"GXQuoteServiceAddress", Value("ftp://quotes.example.net"), Value()},
        {"GXQuoteServiceAddress", Value("http://"), Value()},
        {"GXCurrencyConverterAddress", Value("http://rates.example.net/x y"), Value()},
        {"GXCurrencyConverterAddress", Value("http://rates.example.net/?a=1"), Value()},
        {"GXCurrencyConverterAddress", Value("http://rates.example.net\n"), Value("http://rates.example.net")},
        {"GXCurrencyConverterAddress", Value("http://rates.example.net\r/x"), Value()},
    };
    for (const Case& c : cases) {
        test::RegisteredDefaults d;
        const Value before = d.defaults.object(c.key);
        const bool accepted = setApplicationPreference(d.defaults, c.key, c.value);
        EXPECT_EQ(accepted, !c.stored.isAbsent()) << c.key << " " << c.value.toString();
        EXPECT_EQ(d.defaults.object(c.key), accepted ? c.stored : before) << c.key << " " << c.value.toString();
    }
}

TEST(ApplicationPreferences, OnlyTheWindowsKeysAreSetAndColoursGoBackToTheirDefaults)
{
    test::RegisteredDefaults d;
    EXPECT_FALSE(setApplicationPreference(d.defaults, "GXLastSavedDocument", Value("/etc/passwd")));
    EXPECT_TRUE(d.defaults.userValues().empty());

    const Value registered = d.defaults.object("GreenTextColor");
    ASSERT_TRUE(setApplicationPreference(d.defaults, "GreenTextColor", colour(Value(0), Value(0), Value(0))));
    EXPECT_NE(d.defaults.object("GreenTextColor"), registered);
    restoreDefaultTextColours(d.defaults);
    EXPECT_EQ(d.defaults.object("GreenTextColor"), registered);
}

} // namespace
} // namespace ch
