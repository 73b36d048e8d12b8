#include "platform/core/user_defaults.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

TEST(UserDefaults, UserValuesCoverRegisteredDefaults)
{
    UserDefaults d;
    registerModelDefaults(d);
    EXPECT_EQ(d.integerForKey(kDestinationEncodingKey), 30);
    EXPECT_EQ(d.integerForKey(kNumberOfDecimalsKey), 2);
    EXPECT_TRUE(d.userValues().empty());   // registered defaults are not user values

    d.set("GXNumberOfDecimals", 3);
    EXPECT_EQ(d.integerForKey("GXNumberOfDecimals"), 3);
    d.remove("GXNumberOfDecimals");
    EXPECT_EQ(d.integerForKey("GXNumberOfDecimals"), 2);
    d.set("GXNumberOfDecimals", 4);
    d.set("GXNumberOfDecimals", Value());   // absent removes
    EXPECT_EQ(d.integerForKey("GXNumberOfDecimals"), 2);
    EXPECT_FALSE(d.contains("Missing"));
    EXPECT_TRUE(d.object("Missing").isAbsent());
}

TEST(UserDefaults, TypedReadersConvert)
{
    UserDefaults d;
    d.set("int", 7);
    d.set("real", 2.75);
    d.set("text", "12 apples");
    d.set("yes", "YES");
    d.set("flag", true);
    d.set("list", Array{Value(1)});

    EXPECT_EQ(d.integerForKey("real"), 2);
    EXPECT_EQ(d.integerForKey("text"), 12);
    EXPECT_DOUBLE_EQ(d.doubleForKey("int"), 7.0);
    EXPECT_TRUE(d.boolForKey("yes"));
    EXPECT_TRUE(d.boolForKey("flag"));
    EXPECT_FALSE(d.boolForKey("missing"));
    EXPECT_EQ(d.stringForKey("int"), "7");
    EXPECT_EQ(d.stringForKey("list"), "");
    EXPECT_EQ(d.stringForKey("missing"), "");
    EXPECT_EQ(d.integerForKey("missing"), 0);
}

TEST(UserDefaults, UserValuesTravelAsOneDictionary)
{
    UserDefaults d;
    auto before = d.changeCount();
    d.setUserValues(Dictionary{{"GXAutoSave", true}, {"QifDateFormat", "d/m/y"}});
    EXPECT_GT(d.changeCount(), before);
    EXPECT_TRUE(d.boolForKey("GXAutoSave"));
    d.set("VersionToSkip", "2.1");
    Dictionary saved = d.userValues();
    EXPECT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved["QifDateFormat"].toString(), "d/m/y");
}

TEST(UserDefaults, StandardInstanceIsReplaceable)
{
    UserDefaults mine;
    mine.set("only-here", 1);
    {
        ScopedUserDefaults scoped(mine);
        EXPECT_EQ(&UserDefaults::standard(), &mine);
    }
    EXPECT_NE(&UserDefaults::standard(), &mine);
}

} // namespace
} // namespace ch
