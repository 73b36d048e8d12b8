#include "platform/core/localized_strings.h"

#include <gtest/gtest.h>

#include "platform/core/message_format.h"

namespace ch {
namespace {

TEST(LocalizedStrings, LooksUpKeysAndFallsBackOnTheKey)
{
    LocalizedStrings t;
    ASSERT_TRUE(t.loadText("/* titles */\n\"ERROR\" = \"Error\";\n\"166\" = \"Month %@ is wrong\";\n"));
    EXPECT_EQ(t.lookup("ERROR"), "Error");
    EXPECT_EQ(t.lookup("Debt"), "Debt");
    EXPECT_EQ(t.lookup("999"), "999");
    EXPECT_FALSE(t.loadText("\"broken = ;"));
    EXPECT_EQ(t.lookup("ERROR"), "Error");   // a failed load keeps the table
    EXPECT_FALSE(t.loadFile("/nonexistent/en.strings"));
    EXPECT_EQ(t.size(), 2u);

    ScopedLocalizedStrings scoped(t);
    EXPECT_EQ(localized("166"), "Month %@ is wrong");
}

TEST(LocalizedStrings, ApplicationTableHasTheModelsTexts)
{
    LocalizedStrings app;
    ASSERT_TRUE(app.loadFile(LocalizedStrings::defaultPath()));
    for (const char* key : {"ERROR", "INFO", "QUESTION", "OK", "CANCEL", "NO", "128", "136", "166",
                            "172", "209", "226", "261", "268", "280", "porfolioAcntName",
                            "correcionMxpTName", "currencyFluctuations", "DELETEDITEM"}) {
        EXPECT_TRUE(app.contains(key)) << key;
    }
    // The load clean-up recognises fluctuation bookings by this prefix.
    EXPECT_TRUE(app.lookup("currencyFluctuations").starts_with("Currency Fluctuations:"));
    // Messages with two arguments show both.
    for (const char* key : {"144", "206", "207", "209"}) {
        std::string text = formatMessage(app.lookup(key), {"<one>", "<two>"});
        EXPECT_NE(text.find("<one>"), std::string::npos) << key;
        EXPECT_NE(text.find("<two>"), std::string::npos) << key;
    }
}

} // namespace
} // namespace ch
