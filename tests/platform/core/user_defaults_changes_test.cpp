// Changes of the user defaults are announced per key, only when the value
// read under the key changes: those who follow a setting (timers, the
// journal, repaints) act once per real change.

#include "platform/core/user_defaults.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ch {
namespace {

TEST(UserDefaultsChanges, AnnouncedPerKeyWhenTheValueReadChanges)
{
    UserDefaults d;
    registerModelDefaults(d);   // "GXNumberOfDecimals" 2
    std::vector<std::string> heard;
    Subscription decimals = d.observe("GXNumberOfDecimals", [&](const std::string& key) { heard.push_back(key); });
    Subscription other = d.observe("Other", [&](const std::string& key) { heard.push_back(key); });

    d.set("GXNumberOfDecimals", 2);   // the registered value: nothing changes
    d.set("GXNumberOfDecimals", 3);
    d.set("GXNumberOfDecimals", 3);
    d.set("Unwatched", 1);
    d.remove("GXNumberOfDecimals");   // back to 2
    d.set("GXNumberOfDecimals", 2);
    d.remove("GXNumberOfDecimals");   // the user's 2 goes, 2 stays
    EXPECT_EQ(heard, (std::vector<std::string>{"GXNumberOfDecimals", "GXNumberOfDecimals"}));

    // Replacing all user values (a file read) announces the keys that differ.
    heard.clear();
    d.set("Other", "a");
    heard.clear();
    d.setUserValues(Dictionary{{"GXNumberOfDecimals", Value(4)}, {"Unwatched", Value(1)}});
    EXPECT_EQ(heard, (std::vector<std::string>{"Other", "GXNumberOfDecimals"}));

    // A handler may read the new value; a dropped subscription hears nothing.
    long seen = -1;
    decimals = d.observe("GXNumberOfDecimals", [&](const std::string& key) { seen = d.integerForKey(key); });
    d.set("GXNumberOfDecimals", 1);
    EXPECT_EQ(seen, 1);
    decimals.cancel();
    d.set("GXNumberOfDecimals", 0);
    EXPECT_EQ(seen, 1);
}

} // namespace
} // namespace ch
