#include "platform/core/old_style_plist.h"
#include "value_test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

namespace ch {
namespace {

std::string write(const Value& v)
{
    const OldStyleOutput out = writeOldStylePlist(v);
    EXPECT_TRUE(out.ok()) << out.error;
    return out.text;
}

Value read(std::string_view text)
{
    const ParseResult result = readOldStylePlist(text);
    EXPECT_TRUE(result.ok()) << result.error << " in: " << text;
    return result.value;
}

// What reading gives back for a written value: every scalar as its text.
Value asText(const Value& v)
{
    if (const Array* a = v.asArray()) {
        Array out;
        for (const Value& e : *a)
            out.push_back(asText(e));
        return out;
    }
    if (const Dictionary* d = v.asDictionary()) {
        Dictionary out;
        for (const auto entry : *d)
            out.set(entry.key, asText(entry.value));
        return out;
    }
    if (v.isData())
        return v;
    return v.toString();
}

TEST(OldStylePlist, WritesTextsBareOnlyFromTheSafeCharacters)
{
    const struct {
        std::string text;
        std::string written;
    } cases[] = {
        {"CurrencyArguments", "CurrencyArguments"},
        {"a_b$c/d:e.f-1", "a_b$c/d:e.f-1"},
        {"-12", "-12"},
        {"", "\"\""},
        {"Savings account", "\"Savings account\""},
        {"a;b", "\"a;b\""},
        {"x+y", "\"x+y\""},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"back\\slash", R"("back\\slash")"},
        {"tab\tline\nend\r", R"("tab\tline\nend\r")"},
        {std::string("nul\0bell\x07\x1b\x7f", 11), R"("nul\U0000bell\a\U001B\U007F")"},
        {"Zürich €", "\"Zürich €\""},
        {"a//b", "a//b"},
        {"//note", "\"//note\""}, // bare, it would read back as a comment
        {"/*x", "\"/*x\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(write(c.text), c.written);
        EXPECT_EQ(read(c.written), Value(c.text));
    }
}

TEST(OldStylePlist, WritesEntriesInAscendingKeyOrder)
{
    Dictionary args;
    args.set("name", "Savings account");
    args.set("idKey", -1);
    args.set("accountTypeId", 1);
    args.set("ArgumentClass", "AccountArguments");
    args.set("_flag", true);
    args.set("Zeta", 0.1);
    EXPECT_EQ(write(args), "{ArgumentClass = AccountArguments; Zeta = 0.1; _flag = 1; accountTypeId = 1; "
                           "idKey = -1; name = \"Savings account\"; }");

    // Character by character means UTF-16 units: a character beyond the BMP
    // (a surrogate pair) sorts before U+FFFD although its UTF-8 bytes are larger.
    EXPECT_EQ(write(Dictionary{{"\xEF\xBF\xBD", 1}, {"\xF0\x9F\x98\x80", 2}}),
              "{\"\xF0\x9F\x98\x80\" = 2; \"\xEF\xBF\xBD\" = 1; }");
}

TEST(OldStylePlist, NumbersAreWrittenAsTextThatConvertsBack)
{
    const double reals[] = {0.1, 1234567.89, -2.5, 1e-7, 1e300, 5e-324};
    for (const double d : reals) {
        const Value back = read(write(Array{d}));
        ASSERT_TRUE(back.isArray());
        EXPECT_EQ(std::bit_cast<std::uint64_t>((*back.asArray())[0].toDouble()), std::bit_cast<std::uint64_t>(d));
    }
    const std::int64_t ints[] = {0, -1, std::numeric_limits<std::int64_t>::max(),
                                 std::numeric_limits<std::int64_t>::min()};
    for (const std::int64_t i : ints) {
        const Value back = read(write(Array{Value(static_cast<long long>(i))}));
        EXPECT_EQ((*back.asArray())[0].toLong(), i);
    }
    EXPECT_EQ(write(Array{true, false, 0.1, 3}), "(1, 0, 0.1, 3)");
}

TEST(OldStylePlist, RoundTripsEveryKindItCanHold)
{
    Dictionary inner;
    inner.set("red", 0.2f);
    inner.set("alpha", 1.0);
    const Value original(Dictionary{
        {"ArgumentClass", "TransactionArguments"},
        {"emoji", "\xF0\x9F\x98\x80 and \xE2\x82\xAC"},
        {"quoted key; with = signs", "value with \"quotes\" and \\"},
        {"empty", ""},
        {"emptyArray", Array{}},
        {"emptyDict", Dictionary{}},
        {"data", Bytes{0x00, 0xff, 0x10, 0x20, 0x30}},
        {"emptyData", Bytes{}},
        {"list", Array{1, "two", Array{Array{}}, Dictionary{{"k", "v"}}}},
        {"colour", inner},
        {"count", 42},
        {"amount", -1234567.89},
        {"flag", true},
    });
    const std::string text = write(original);
    EXPECT_NE(text.find("ArgumentClass = TransactionArguments;"), std::string::npos);
    EXPECT_EQ(read(text), asText(original));
    // Writing what was read gives the same text again.
    EXPECT_EQ(write(read(text)), text);
}

TEST(OldStylePlist, ReadsTheFormsOtherWritersUse)
{
    const Value expected(Dictionary{
        {"a", "\xF0\x9F\x98\x80\xC3\xA9"},
        {"b", Array{"x", "y"}},
        {"c", "AB\n"},
        {"d", Bytes{0xde, 0xad, 0xbe, 0xef}},
    });
    // \U escapes (a surrogate pair included, either case), octal escapes, comments,
    // free white space, a trailing comma in an array, data with spaces.
    EXPECT_EQ(read("/* head */ {\n  a = \"\\UD83D\\ude00\\U00e9\"; // note\n"
                   "  b = ( x , y , ) ;\tc=\"\\101\\102\\n\";d = < dead BEEF >;}\n"),
              expected);
    // A lone surrogate becomes U+FFFD instead of invalid UTF-8.
    EXPECT_EQ(read("\"\\UD800x\\UDC00\""), Value("\xEF\xBF\xBDx\xEF\xBF\xBD"));
    // A journal line as the original writer left it.
    const Value args = read("{ArgumentClass = AccountArguments; accountTypeId = 1; idKey = -1; name = "
                            "\"Savings account\"; }");
    EXPECT_EQ(args["ArgumentClass"], Value("AccountArguments"));
    EXPECT_EQ(args["idKey"].toInt(), -1);
}

TEST(OldStylePlist, RefusesWhatItCannotWrite)
{
    EXPECT_FALSE(writeOldStylePlist(Value()).ok());
    EXPECT_FALSE(writeOldStylePlist(Array{Value(Date{1.0})}).ok());
    EXPECT_FALSE(writeOldStylePlist(Dictionary{{"a", Uid{1}}}).ok());
    Value deep = Array{};
    for (int i = 0; i < 300; ++i) {
        Array outer;
        outer.push_back(std::move(deep));
        deep = Value(std::move(outer));
    }
    const OldStyleOutput out = writeOldStylePlist(deep);
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(out.text.empty());
}

TEST(OldStylePlist, MalformedTextIsAnErrorWithItsLine)
{
    const char* bad[] = {
        "", "   ", "{", "(", "{a = b}", "{a b;}", "{a = b;", "(a b)", "(a,", "\"abc", "\"abc\\",
        "<abc>", "<0>", "<0g>", "<00", "{a = b;} x", "/* unterminated", "{= b;}", "{a = ;}",
        "(,)", "\\U", "\"\\U\"", "{a = (b;}", "a b", "\"\\777\"", ")", "}", ";",
    };
    for (const char* text : bad) {
        const ParseResult result = readOldStylePlist(text);
        EXPECT_FALSE(result.ok()) << "accepted: " << text;
        EXPECT_TRUE(result.value.isAbsent());
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_EQ(readOldStylePlist("{\na = b;\nc = d e;}").error.substr(0, 7), "line 3:");
}

TEST(OldStylePlist, NestingDepthAndSizeAreBounded)
{
    EXPECT_TRUE(readOldStylePlist(std::string(200, '(') + std::string(200, ')')).ok());
    // Deeper than the limit, and far deeper than any stack: an error, not a crash.
    for (const std::size_t depth : {300u, 1000000u}) {
        const ParseResult result = readOldStylePlist(std::string(depth, '(') + std::string(depth, ')'));
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.error.find("nesting"), std::string::npos) << result.error;
    }
    std::string deepDicts;
    for (int i = 0; i < 100000; ++i)
        deepDicts += "{a=";
    EXPECT_FALSE(readOldStylePlist(deepDicts).ok());

    OldStylePlistLimits small;
    small.maxInputBytes = 10;
    EXPECT_FALSE(readOldStylePlist("(aaaa, bbbb, cccc)", small).ok());
    EXPECT_FALSE(parseStringsFile("\"aaaa\" = \"bbbb\";", small).ok());
}

TEST(StringsFile, ReadsEntriesWithComments)
{
    const ParseResult result = parseStringsFile("\xEF\xBB\xBF/* Errors */\n"
                                                "\"166\" = \"The file \\\"%@\\\" could not be read.\";\n"
                                                "// buttons\n"
                                                "\"OK\" = \"OK\";\n"
                                                "CANCEL = Cancel;\n"
                                                "\"SAME\";\n"
                                                "\"OK\" = \"Okay\";  /* a later entry wins */\n");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.value,
              Value(Dictionary{{"166", "The file \"%@\" could not be read."}, {"OK", "Okay"},
                               {"CANCEL", "Cancel"}, {"SAME", "SAME"}}));
    EXPECT_EQ(parseStringsFile("").value, Value(Dictionary{}));
    for (const char* bad : {"\"A\" = \"B\"", "\"A\" = ;", "\"A\" \"B\";", "\"A\" = (x);", "\"A\" = \"B",
                            "/* open"}) {
        EXPECT_FALSE(parseStringsFile(bad).ok()) << bad;
    }
}

} // namespace
} // namespace ch
