#include "platform/core/value.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ch {
namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kLongMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLongMin = std::numeric_limits<std::int64_t>::min();

// Replayed commands carry every number as text; these are the readings they rely on.
TEST(Value, TextConvertsByItsLeadingNumber)
{
    struct Case {
        const char* text;
        int asInt;
        std::int64_t asLong;
        double asDouble;
        bool asBool;
    };
    const Case cases[] = {
        {"42", 42, 42, 42.0, true},
        {"  -7 apples", -7, -7, -7.0, false},
        {"+5", 5, 5, 5.0, false},
        {"", 0, 0, 0.0, false},
        {"abc", 0, 0, 0.0, false},
        {"-", 0, 0, 0.0, false},
        {"3.99", 3, 3, 3.99, true},
        {" 3.5e2x", 3, 3, 350.0, true},
        {"1e", 1, 1, 1.0, true},
        {".5", 0, 0, 0.5, false},
        {"1,5", 1, 1, 1.0, true}, // C locale: the comma ends the number
        {"0x1F", 0, 0, 0.0, false},
        {"inf", 0, 0, 0.0, false},
        {"2147483647", kIntMax, 2147483647, 2147483647.0, true},
        {"2147483648", kIntMax, 2147483648LL, 2147483648.0, true},
        {"-2147483649", kIntMin, -2147483649LL, -2147483649.0, false},
        {"99999999999999999999", kIntMax, kLongMax, 1e20, true},
        {"-9223372036854775808", kIntMin, kLongMin, -9223372036854775808.0, false},
        {"-99999999999999999999", kIntMin, kLongMin, -1e20, false},
        {"YES", 0, 0, 0.0, true},
        {"yes", 0, 0, 0.0, true},
        {"True", 0, 0, 0.0, true},
        {"t", 0, 0, 0.0, true},
        {"NO", 0, 0, 0.0, false},
        {"\t 9", 9, 9, 9.0, true},
        {"0", 0, 0, 0.0, false},
        {"09", 9, 9, 9.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Value v(c.text);
        EXPECT_EQ(v.toInt(), c.asInt);
        EXPECT_EQ(v.toLong(), c.asLong);
        EXPECT_DOUBLE_EQ(v.toDouble(), c.asDouble);
        EXPECT_EQ(v.toBool(), c.asBool);
    }
}

TEST(Value, NumbersConvertWithTruncationAndClamping)
{
    EXPECT_EQ(Value(3.99).toInt(), 3);
    EXPECT_EQ(Value(-3.99).toInt(), -3);
    EXPECT_EQ(Value(1e20).toInt(), kIntMax);
    EXPECT_EQ(Value(-1e20).toLong(), kLongMin);
    EXPECT_EQ(Value(std::nan("")).toLong(), 0);
    EXPECT_EQ(Value(std::int64_t(5000000000)).toInt(), kIntMax);
    EXPECT_EQ(Value(std::int64_t(5000000000)).toLong(), 5000000000);
    EXPECT_TRUE(Value(0.5).toBool());
    EXPECT_FALSE(Value(0).toBool());
    EXPECT_EQ(Value(true).toInt(), 1);
    EXPECT_EQ(Value(Array{}).toInt(), 0);
    EXPECT_EQ(Value().toString(), "");
}

TEST(Value, NumbersTurnIntoTextThatReadsBackTheSame)
{
    EXPECT_EQ(Value(kLongMin).toString(), "-9223372036854775808");
    EXPECT_EQ(Value(true).toString(), "1");
    EXPECT_EQ(Value(false).toString(), "0");
    for (const double d : {0.1, 1234567.89, -0.0, 5e-324, 1e300, 2.0 / 3.0}) {
        const std::string text = Value(d).toString();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(Value(text).toDouble()), std::bit_cast<std::uint64_t>(d)) << text;
    }
    EXPECT_EQ(Value(0.1).toString(), "0.1");
    EXPECT_EQ(Value(1234567.89).toString(), "1234567.89");
}

TEST(Value, EqualityComparesTypeAndContents)
{
    EXPECT_NE(Value(1), Value(1.0));
    EXPECT_NE(Value(1), Value(true));
    EXPECT_NE(Value("1"), Value(1));
    EXPECT_EQ(Value(std::nan("")), Value(std::nan("")));
    EXPECT_EQ(Value(Array{1, "a", Array{}}), Value(Array{1, "a", Array{}}));
    EXPECT_NE(Value(Array{1, 2}), Value(Array{2, 1}));
    EXPECT_EQ(Value(Uid{3}), Value(Uid{3}));
    EXPECT_NE(Value(Uid{3}), Value(3));
    // Dictionaries compare by key, whatever the insertion order.
    EXPECT_EQ(Value(Dictionary{{"a", 1}, {"b", 2}}), Value(Dictionary{{"b", 2}, {"a", 1}}));
    EXPECT_NE(Value(Dictionary{{"a", 1}}), Value(Dictionary{{"a", 1}, {"b", 2}}));
    EXPECT_NE(Value(Dictionary{{"a", 1}}), Value(Dictionary{{"a", 2}}));
}

TEST(Dictionary, KeepsInsertionOrderAndReplacesInPlace)
{
    Dictionary d;
    for (int i = 0; i < 50; ++i) // past the size at which lookups switch to the index
        d.set("k" + std::to_string(49 - i), i);
    d.set("k10", "ten");
    ASSERT_EQ(d.size(), 50u);
    EXPECT_EQ(d.keyAt(0), "k49");
    EXPECT_EQ(d.keyAt(39), "k10");
    EXPECT_EQ(d["k10"], Value("ten"));
    EXPECT_TRUE(d["missing"].isAbsent());
    EXPECT_EQ(d.find("missing"), nullptr);

    EXPECT_TRUE(d.remove("k49"));
    EXPECT_FALSE(d.remove("k49"));
    EXPECT_EQ(d.keyAt(0), "k48");
    EXPECT_EQ(d["k0"], Value(49));
    d.set("k49", 0);
    EXPECT_EQ(d.keyAt(d.size() - 1), "k49");

    // A copy is independent of its original, index included.
    Dictionary copy = d;
    copy.set("k0", "changed");
    copy.set("extra", 1);
    EXPECT_EQ(d["k0"], Value(49));
    EXPECT_FALSE(d.contains("extra"));
    EXPECT_EQ(copy["k0"], Value("changed"));

    std::vector<std::string> keys;
    for (const auto entry : Dictionary{{"z", 1}, {"a", 2}})
        keys.push_back(entry.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"z", "a"}));
}

TEST(Value, LookupOnNonDictionaryIsAbsent)
{
    const Value dict(Dictionary{{"inner", Dictionary{{"x", 1}}}});
    EXPECT_EQ(dict["inner"]["x"], Value(1));
    EXPECT_TRUE(dict["inner"]["x"]["y"].isAbsent());
    EXPECT_TRUE(Value(5)["x"].isAbsent());
}

} // namespace
} // namespace ch
