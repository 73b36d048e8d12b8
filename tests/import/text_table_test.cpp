// The line and field reader of delimited statements, and import definitions
// read as the user-editable files they are.

#include <gtest/gtest.h>

#include "import/CTextTableData.h"
#include "import/ImportDefinition.h"
#include "import/StatementText.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

using Fields = std::vector<std::string>;

Dictionary SplitDefinition(const char* separator, bool rejoin, const char* quote = "\"")
{
    using namespace definition_key;
    return Dictionary{{std::string(kSeparatorCharacters), Value(separator)},
                      {std::string(kSurroundingCharacters), Value(quote)},
                      {std::string(kDeleteSurroundingCharacters), Value(rejoin)}};
}

TEST(TextTableTest, LinesEndAtEveryKindOfLineBreak)
{
    const struct {
        const char* text;
        Fields lines;
    } cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},                       // a break at the end makes no empty line
        {"one\r\ntwo\rthree\nfour", {"one", "two", "three", "four"}},
        {"one\n\ntwo\n\n", {"one", "", "two", ""}},   // empty lines inside stay
        {"a\xC2\x85" "b\xE2\x80\xA8" "c\xE2\x80\xA9" "d", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(CTextTableData::splitLines(c.text), c.lines) << c.text;
}

TEST(TextTableTest, QuotedFieldsHoldTheirSeparators)
{
    const Dictionary rejoin = SplitDefinition(";", true);
    const Dictionary plain = SplitDefinition(";", false);
    const Dictionary noQuote = SplitDefinition(";", true, "");
    const struct {
        const Dictionary* definition;
        const char* line;
        Fields fields;
    } cases[] = {
        {&rejoin, "\"Doe; John\";second", {"\"Doe; John\"", "second"}},
        {&rejoin, "first;\"a;b\"", {"first", "\"a;b\""}},
        {&rejoin, "\"a;b\";c", {"\"a;b\"", "c"}},
        // However many separators the quotes hold, later columns stay in place.
        {&rejoin, "1;\"x; y; z\";3", {"1", "\"x; y; z\"", "3"}},
        {&rejoin, "1;\"x;;z\";3", {"1", "\"x;;z\"", "3"}},
        // A quote nobody closes joins nothing.
        {&rejoin, "1;\"open;3;4", {"1", "\"open", "3", "4"}},
        {&rejoin, ";;", {"", "", ""}},
        {&rejoin, "", {""}},
        // Separators at a quoted field's start or end, and doubled quotes, stay inside it.
        {&rejoin, "\";;\";\";Town;XX\";\"Town;\";4", {"\";;\"", "\";Town;XX\"", "\"Town;\"", "4"}},
        {&rejoin, "\"say \"\"hi\"\"; ok\";\"\"\"\";\"\";x", {"\"say \"\"hi\"\"; ok\"", "\"\"\"\"", "\"\"", "x"}},
        {&plain, "\"Doe; John\";second", {"\"Doe", " John\"", "second"}},
        {&noQuote, "\"Doe; John\";second", {"\"Doe", " John\"", "second"}},
    };
    for (const auto& c : cases) {
        const CTextTableData table("", c.definition);
        EXPECT_EQ(table.dissectRecord(c.line), c.fields) << c.line;
    }
    // The whole text is the separator.
    const Dictionary twoCharacters = SplitDefinition("||", true);
    EXPECT_EQ(CTextTableData("", &twoCharacters).dissectRecord("a||b|c||\"d||e\""),
              (Fields{"a", "b|c", "\"d||e\""}));
}

TEST(TextTableTest, AQuotedLineBreakBelongsToItsField)
{
    using namespace definition_key;
    Dictionary threeFields = SplitDefinition(";", true);
    threeFields.set(std::string(kMinimumColumns), Value(3));
    threeFields.set(std::string(kMaximumColumns), Value(3));
    const struct {
        const char* text;
        std::vector<Fields> records;
    } cases[] = {
        {"1;\"two\r\nlines\";3\n4;5;6", {{"1", "\"two\nlines\"", "3"}, {"4", "5", "6"}}},
        {"1;2;\"last\n\nfield\"", {{"1", "2", "\"last\n\nfield\""}}},
        // A stray quote that a later quoted field seems to close joins
        // nothing: each line is a record of its own.
        {"\"a;b;c\nd;\"e\";f", {{"\"a", "b", "c"}, {"d", "\"e\"", "f"}}},
        // A quote nobody closes joins nothing.
        {"1;\"open\n2;3", {{"1", "\"open"}, {"2", "3"}}},
    };
    for (const auto& c : cases) {
        CTextTableData table(c.text, &threeFields);
        table.setJoinsQuotedLineBreaks(true);
        std::vector<Fields> records;
        while (auto fields = table.fetchNextRecordAsWritten()) records.push_back(*fields);
        EXPECT_EQ(records, c.records) << c.text;
    }
    // Without joining (the QIF reader reads lines) a line is a record.
    CTextTableData lines("1;\"two\nlines\";3", &threeFields);
    EXPECT_EQ(lines.FetchNextRecord(), (Fields{"1", "\"two"}));
}

TEST(TextTableTest, RecordsAreFetchedPeekedAndSteppedBack)
{
    CTextTableData table("a;b\n\"x;y\";z\nlast", nullptr);
    EXPECT_EQ(table.peekNextRecord(), "a;b");
    EXPECT_FALSE(table.ResetToStartOfLastRecord());
    EXPECT_EQ(table.FetchNextRecord(), (Fields{"a", "b"}));
    EXPECT_EQ(table.FetchNextRecord(), (Fields{"\"x;y\"", "z"}));
    EXPECT_TRUE(table.ResetToStartOfLastRecord());
    EXPECT_EQ(table.fetchNextRecordAsString(), "\"x;y\";z");
    EXPECT_EQ(table.setNextRecord(), 3);
    EXPECT_EQ(table.setNextRecord(), CTextTableData::kNoMoreRecords);
    EXPECT_EQ(table.FetchNextRecord(), std::nullopt);
}

TEST(TextTableTest, FieldsTheBooksCannotHoldAreBroughtIntoTheirEncoding)
{
    ImportEnvironment env;
    CTextTableData table("caf\xC3\xA9;\xE2\x9C\x93 done\ncaf\xC3\xA9;\xE2\x9C\x93 done", nullptr);
    // Mac Roman has é but no check mark.
    EXPECT_EQ(table.FetchNextRecord(), (Fields{"caf\xC3\xA9", "? done"}));
    env.defaults().set("GXDestinationEncoding", 0);
    EXPECT_EQ(table.FetchNextRecord(), (Fields{"caf\xC3\xA9", "\xE2\x9C\x93 done"}));
}

TEST(TextTableTest, StatementBytesBecomeText)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\xEF\xBB\xBF" "caf\xC3\xA9", "caf\xC3\xA9"},                    // UTF-8 with its mark
        {"caf\xE9 \x80 \x85", "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\xA6"},   // Windows-1252: 0x85 is an ellipsis
        {std::string("\xFF\xFEh\0i\0", 6), "hi"},                           // UTF-16 with its mark
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(statementText(bytes), text);
}

TEST(TextTableTest, DefinitionValuesAreReadByTheirType)
{
    using namespace definition_key;
    const Dictionary definition{
        {std::string(kMinimumColumns), Value("4")},                 // a text counts as absent
        {std::string(kMaximumColumns), Value(-3)},                  // so does a negative count
        {std::string(kFirstLinesToSkip), Value(1e12)},              // held to 32 bits
        {std::string(kDeleteSurroundingCharacters), Value(1)},
        {std::string(kSeparatorCharacters), Value(Array{Value(";")})},
        {std::string(kCommunicationColumn), Value(Array{Value(-1), Value("x"), Value(3), Value(1.0), Value(Dictionary{})})},
        {std::string(kAmountColumn), Value("10")},
    };
    EXPECT_EQ(definitionCount(definition, kMinimumColumns), 0u);
    EXPECT_EQ(definitionCount(definition, kMaximumColumns), 0u);
    EXPECT_EQ(definitionCount(definition, kFirstLinesToSkip), 4294967295u);
    EXPECT_TRUE(definitionFlag(definition, kDeleteSurroundingCharacters));
    EXPECT_FALSE(definitionFlag(definition, kFileExtension));
    EXPECT_EQ(definitionText(definition, kSeparatorCharacters), std::nullopt);
    EXPECT_EQ(definitionColumns(definition, kCommunicationColumn), (std::vector<std::uint32_t>{3, 1}));
    EXPECT_EQ(definitionColumns(definition, kAmountColumn), std::nullopt);
    EXPECT_FALSE(definitionProblem(definition).empty());
    EXPECT_TRUE(definitionProblem(standardFileDescriptor()).empty());
}

TEST(TextTableTest, DefinitionsAreLoadedFromTheirFolderByName)
{
    const std::filesystem::path folder = FixturePath("definitions");
    const LoadedDefinition loaded = loadImportDefinition(folder, "Card Export");
    ASSERT_TRUE(loaded.definition) << loaded.error;
    EXPECT_EQ(definitionText(*loaded.definition, definition_key::kSeparatorCharacters), ",");
    for (const char* name : {"Missing", "../definitions/Card Export", "sub/Card Export", ".hidden", ""})
        EXPECT_FALSE(loadImportDefinition(folder, name).definition) << name;
    EXPECT_EQ(importDefinitionFolder().filename(), "IOFile Descriptors");
}

} // namespace
} // namespace ch::test
