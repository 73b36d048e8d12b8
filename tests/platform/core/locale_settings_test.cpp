#include "platform/core/locale_settings.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/core/user_defaults.h"

namespace ch {
namespace {

TEST(LocaleSettings, ComesFromIcuData)
{
    LocaleSettings us = localeSettingsFor("en_US");
    EXPECT_EQ(us.shortDatePattern, "M/d/yy");
    EXPECT_EQ(us.decimalSeparator, ".");
    EXPECT_EQ(us.groupingSeparator, ",");
    LocaleSettings de = localeSettingsFor("de_DE");
    EXPECT_EQ(de.shortDatePattern, "dd.MM.yy");
    EXPECT_EQ(de.decimalSeparator, ",");
    EXPECT_EQ(de.groupingSeparator, ".");
}

TEST(LocaleSettings, UserDefaultsOverrideEachValue)
{
    UserDefaults defaults;
    defaults.set(std::string(kShortDateFormatKey), "dd.MM.yyyy");
    defaults.set(std::string(kDecimalSeparatorKey), ",");
    LocaleSettings s = currentLocaleSettings(defaults);
    EXPECT_EQ(s.shortDatePattern, "dd.MM.yyyy");
    EXPECT_EQ(s.decimalSeparator, ",");
    EXPECT_EQ(s.groupingSeparator, localeSettingsFor("").groupingSeparator);

    ScopedUserDefaults scoped(defaults);
    defaults.set(std::string(kThousandsSeparatorKey), "'");
    EXPECT_EQ(currentLocaleSettings().groupingSeparator, "'");   // read afresh
}

TEST(LocaleSettings, FormatsAndParsesShortDates)
{
    ScopedFixedClock clock({2024, 6, 15});
    struct Case {
        const char* locale;
        CalendarDate date;
        const char* text;
    };
    const Case cases[] = {
        {"en_US", {2024, 3, 5}, "3/5/24"},
        {"de_DE", {2024, 3, 5}, "05.03.24"},
        {"ja_JP", {2024, 3, 5}, "2024/03/05"},
        {"en_US", {1999, 12, 31}, "12/31/99"},
        {"de_DE", {2024, 2, 29}, "29.02.24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.text);
        LocaleSettings s = localeSettingsFor(c.locale);
        EXPECT_EQ(formatShortDate(c.date, s), c.text);
        EXPECT_EQ(parseShortDate(c.text, s), c.date);
    }
}

TEST(LocaleSettings, ParsingIsLenientOnSeparatorsAndStrictOnDates)
{
    ScopedFixedClock clock({2024, 6, 15});
    LocaleSettings de = localeSettingsFor("de_DE");
    LocaleSettings us = localeSettingsFor("en_US");
    EXPECT_EQ(parseShortDate("05-01-2024", de), (CalendarDate{2024, 1, 5}));
    EXPECT_EQ(parseShortDate(" 5.1.2024 ", de), (CalendarDate{2024, 1, 5}));
    EXPECT_EQ(parseShortDate("1/5/2024", us), (CalendarDate{2024, 1, 5}));
    // Two-digit years: the 80 years before and the 20 after today.
    EXPECT_EQ(parseShortDate("1/1/44", us), (CalendarDate{1944, 1, 1}));
    EXPECT_EQ(parseShortDate("1/1/43", us), (CalendarDate{2043, 1, 1}));
    for (const char* bad : {"", "abc", "31.02.24", "1.13.24", "1.1", "1.1.24.5", "0.1.24", "1.1.24x"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(parseShortDate(bad, de));
    }
}

TEST(LocaleSettings, MonthNamesWholeAndAbbreviatedWithoutTheirPeriod)
{
    const std::vector<std::vector<std::string>> german = monthNamesIn("de_DE");
    ASSERT_EQ(german.size(), 12u);
    auto has = [](const std::vector<std::string>& names, const char* name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    EXPECT_TRUE(has(german[11], "Dezember"));
    EXPECT_TRUE(has(german[11], "Dez"));
    EXPECT_TRUE(has(german[2], "M\xC3\xA4rz"));
    EXPECT_TRUE(has(monthNamesIn("fr_FR")[1], "f\xC3\xA9vr"));
}

} // namespace
} // namespace ch
