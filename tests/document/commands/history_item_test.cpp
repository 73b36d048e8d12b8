// A journal entry read back: the name the roll-forward list shows (which also
// decides whether the entry is replayed) and its short code.

#include <gtest/gtest.h>

#include "document/commands/GXCommandHistoryItem.h"

namespace ch {
namespace {

TEST(CommandHistoryItemTest, NameIsTheFirstObjectNameElseNameElseCapitalName)
{
    struct Case {
        std::optional<std::string> parameters;
        std::optional<std::string> name;
    };
    const std::vector<Case> cases = {
        {"{ArgumentClass = AccountArguments; idKey = -1; name = \"Savings account\"; }", "Savings account"},
        {"{ArgumentClass = X; name = Bank; systemType = 1; }", "Bank"},
        {"{ObjectName = Shown; name = Hidden; }", "Shown"},
        // Inside another key, values included: the first occurrence wins.
        {"{ArgumentClass = CAcoWArguments; firstName = Jo; ownerId = -1; }", "Jo"},
        {"{ArgumentClass = X; note = \"Surname\"; }", "}"},
        {"{ArgumentClass = X; surname = Smith; }", "Smith"},
        {"{ArgumentClass = X; name = Last}", "Last}"},
        {"{ArgumentClass = X; idKey = 3; }", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        GXCommandHistoryItem item(13, c.parameters, std::nullopt);
        EXPECT_EQ(item.parameterName(), c.name) << c.parameters.value_or("(none)");
    }
}

TEST(CommandHistoryItemTest, ShortCodes)
{
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(0), "BudD\u25B3");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(7), "CurR/ShaR\u25B3");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(9), "CurR/ShaR\u25B3");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(28), "Delete");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(37), "Delete");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(46), "Payment+");
    EXPECT_EQ(GXCommandHistoryItem::commandDescription(19), "ShrP\u25B3");
    for (int number : {35, 36, 40, 43, 47, 255})
        EXPECT_EQ(GXCommandHistoryItem::commandDescription(number), std::to_string(number));
}

} // namespace
} // namespace ch
