#include "document/app/ApplicationDefaults.h"

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "bridge/TextColours.h"
#include "document/app/TimerIntervals.h"

namespace ch {
namespace {

Value colour(double r, double g, double b)
{
    return Array{Value(r), Value(g), Value(b), Value(1.0)};
}

TEST(ApplicationDefaults, EveryKeyHasItsRegisteredValue)
{
    test::RegisteredDefaults d;
    const std::pair<const char*, Value> expected[] = {
        {"GreenTextColor", colour(0.1176, 0.4275, 0.1333)},
        {"RedTextColor", colour(0.8471, 0.1373, 0.1373)},
        {"BlueTextColor", colour(0.1059, 0.0314, 1.0)},
        {"GXNumberOfDecimals", Value(2)},
        {"GXtableTextSize", Value(11)},
        {"GXOnLineSharepriceCheck", Value(false)},
        {"GXMaximumRowHeightInNrOfLines", Value(11)},
        {"QifDateFormat", Value(0)},
        {"GXOnLineUpdateCheck", Value(true)},
        {"GXDestinationEncoding", Value(30)},
        {"GXAutoSave", Value(false)},
        {"GXAutoSaveInterval", Value(5)},
        {"GXShowNewDocumentAssistant", Value(true)},
        {"GXShowLastDocumentAtStartup", Value(true)},
        {"GXLastSavedDocument", Value("")},
        {"GXCShowFoldersInSequentialObjectList", Value(false)},
        {"GXShowStartupChoice", Value(true)},
        {"GXCTableColumns", Value(Dictionary{})},
        {"GXCKeepLogFile", Value(true)},
        {"GXCKeepLogFilePermanent", Value(false)},
        {"VATPaidIsProperty", Value(false)},
        {"VATPeriodicity-0-month-1-quarter-2-year", Value(1)},
        {"VATAdvancePeriodicity", Value(0)},
        {"PaymentPeriod", Value(30)},
        {"PaymentPeriodStartsAtMonthEnd", Value(false)},
        {"PaymentPeriodExpressedInMonths", Value(false)},
        {"ContiniousInvoiceNumbers", Value(false)},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(d.defaults.object(key), value) << key;
    // Registered, not the user's own: nothing of this is written to the file.
    EXPECT_TRUE(d.defaults.userValues().empty());
    // Keys read without a default stay absent.
    EXPECT_FALSE(d.defaults.contains("GXStockRefreshRate"));
    EXPECT_FALSE(d.defaults.contains("VersionToSkip"));

    // The text colours read the registered arrays.
    EXPECT_EQ(getRedColor(), (Colour{0.8471, 0.1373, 0.1373, 1.0}));
}

TEST(ApplicationDefaults, AmountFormatFollowsTheNumberOfDecimals)
{
    struct Case {
        long long decimals;
        const char* format;
    };
    const Case cases[] = {
        {0, "#,##0;0;[Red]-#,##0"},
        {1, "#,##0.0;0.0;[Red]-#,##0.0"},
        {2, "#,##0.00;0.00;[Red]-#,##0.00"},
        {3, "#,##0.000;0.000;-#,##0.000"}, // negatives of three decimals are not red
        {4, "#,##0.0000;0.0000;[Red]-#,##0.0000"},
        {5, "#,##0.00;0.00;[Red]-#,##0.00"},
        {-1, "#,##0.00;0.00;[Red]-#,##0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(getNumericFormatString(c.decimals), c.format) << c.decimals;

    test::RegisteredDefaults d;
    EXPECT_EQ(getNumericFormatString(d.defaults), "#,##0.00;0.00;[Red]-#,##0.00");
    d.defaults.set("GXNumberOfDecimals", Value(0));
    EXPECT_EQ(getNumericFormatString(d.defaults), "#,##0;0;[Red]-#,##0");
}

TEST(TimerIntervals, MinutesFromTheDefaultsOrTheFallback)
{
    struct Case {
        Value minutes; // absent: the user set nothing
        long long refreshSeconds;
        long long autosaveSeconds;
    };
    const Case cases[] = {
        {Value(), 600, 300}, // refresh has no default (0); autosave's default is 5 minutes
        {Value(0), 600, 300},
        {Value(-4), 600, 300},
        {Value(1), 60, 60},
        {Value(30), 1800, 1800},
        {Value("15"), 900, 900},
        // Absurdly large numbers are held to a year instead of overflowing.
        {Value(std::int64_t(1) << 62), 366LL * 24 * 3600, 366LL * 24 * 3600},
    };
    for (const Case& c : cases) {
        test::RegisteredDefaults d;
        if (!c.minutes.isAbsent()) {
            d.defaults.set("GXStockRefreshRate", c.minutes);
            d.defaults.set("GXAutoSaveInterval", c.minutes);
        }
        EXPECT_EQ(stockRefreshInterval(d.defaults).count(), c.refreshSeconds) << c.minutes.toString();
        EXPECT_EQ(autosaveInterval(d.defaults).count(), c.autosaveSeconds) << c.minutes.toString();
    }
}

} // namespace
} // namespace ch
