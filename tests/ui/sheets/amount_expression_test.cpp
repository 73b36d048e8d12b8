#include <gtest/gtest.h>

#include "ui/controls/AmountExpression.h"

namespace ch {
namespace {

TEST(AmountExpression, LeftToRightWithoutPrecedence)
{
    const AmountSeparators dot{".", ","};
    const AmountSeparators comma{",", "."};
    struct Case {
        const char* text;
        const AmountSeparators& separators;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"2+3*4", dot, 20.0},    {"-5", dot, -5.0},        {"10:4", dot, 2.5},
        {"10/4", dot, 2.5},      {"5+", dot, 5.0},         {"+", dot, 0.0},
        {"1,000+1", dot, 1001.0}, {"1.000+1", comma, 1001.0}, {"2,5*2", comma, 5.0},
        {"7/0", dot, std::nullopt}, {"1+2:0", dot, std::nullopt}, {"1+x", dot, std::nullopt},
        {"1.2.3+1", dot, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(evaluateAmountExpression(c.text, c.separators), c.value) << c.text;
}

} // namespace
} // namespace ch
