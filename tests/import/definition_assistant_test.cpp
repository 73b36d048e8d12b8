// The rules behind the import-definition assistant: splitting an example,
// reading role tokens, the keys of the definition, and the names it may be
// saved under.

#include <gtest/gtest.h>

#include "import/DefinitionDescription.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionAssistant.h"
#include "../document/document_test_support.h"
#include "platform/core/plist.h"

namespace ch::test {
namespace {

TEST(DefinitionAssistant, SplitsTheExampleIntoKeptRecords)
{
    ImportDefinitionAssistant assistant;
    // As an import reads it: a quoted line break belongs to its field.
    assistant.setExampleText(
        "Date;Amount;Text\r\n01.03.2009;\"1;5\";\"Shop\r\nNorth\"\r\nshort\r\n02.03.2009;7;A;B\r\n", "csv");
    assistant.settings.linesToSkip = 1;
    assistant.settings.minimumColumns = 3;
    assistant.settings.maximumColumns = 4;
    const auto& records = assistant.makeSeparatedContentOfFile();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], (std::vector<std::string>{"01.03.2009", "\"1;5\"", "\"Shop\nNorth\""}));
    EXPECT_EQ(assistant.numberOfColumnsInColumnTable(), 4u);
    // A narrower split later does not shrink the column table.
    assistant.settings.maximumColumns = 3;
    EXPECT_EQ(assistant.makeSeparatedContentOfFile().size(), 1u);
    EXPECT_EQ(assistant.numberOfColumnsInColumnTable(), 4u);
    // The tab ignores the separator field.
    assistant.settings.useTab = true;
    EXPECT_EQ(assistant.dissectRecord("a;b\tc"), (std::vector<std::string>{"a;b", "c"}));
}

TEST(DefinitionAssistant, RolesBecomeTheDefinitionsKeys)
{
    ImportDefinitionAssistant assistant;
    EXPECT_EQ(ImportDefinitionAssistant::getFieldArrayFromTokens({}), std::nullopt);
    EXPECT_EQ(ImportDefinitionAssistant::getFieldArrayFromTokens({"COL2", "COL10", "COL3"}),
              (std::vector<std::uint32_t>{2, 10, 3}));

    // Without roles: only the seven settings.
    EXPECT_EQ(assistant.makePLISTDictionary().size(), 7u);

    assistant.roleTokens(AssistantRole::Communication) = {"COL2", "COL10", "COL3"};
    assistant.roleTokens(AssistantRole::Sign) = {"COL4"};
    assistant.roleTokens(AssistantRole::Country) = {"COL5"};
    assistant.incomeSign = "+";
    assistant.expenseSign = "-";
    assistant.roleTokens(AssistantRole::TransactionTypeCode) = {"COL6"};
    assistant.transactionTypeCodes = {{"01", "Transfer"}, {"02", ""}};
    const Dictionary definition = assistant.makePLISTDictionary();
    EXPECT_EQ(definitionColumns(definition, definition_key::kCommunicationColumn),
              (std::vector<std::uint32_t>{2, 10, 3}));
    EXPECT_EQ(definitionText(definition, definition_key::kIncomeSign), "+");
    EXPECT_EQ(definitionText(definition, definition_key::kExpenseSign), "-");
    const Value* codes = definition.find(definition_key::kTransactionTypeDescriptions);
    ASSERT_TRUE(codes && codes->asArray());
    EXPECT_EQ(codes->asArray()->size(), 1u);
    EXPECT_EQ(definition.size(), 7u + 6u);   // communication, sign + 2 signs, type code + table
}

// The assistant's last page shows the definition in words, not as a file.
TEST(DefinitionAssistant, TheDefinitionIsDescribedAsAPersonReadsIt)
{
    ImportDefinitionAssistant assistant;
    assistant.setExampleText("", "csv");
    assistant.settings.linesToSkip = 1;
    assistant.settings.minimumColumns = 6;
    assistant.dateFormat = "dd.MM.yyyy";
    assistant.roleTokens(AssistantRole::OwnAccountNumber) = {"COL0"};
    assistant.roleTokens(AssistantRole::BookingDate) = {"COL1"};
    assistant.roleTokens(AssistantRole::Communication) = {"COL2", "COL10", "COL3"};
    assistant.roleTokens(AssistantRole::Amount) = {"COL4"};
    assistant.roleTokens(AssistantRole::Sign) = {"COL5"};
    assistant.incomeSign = "+";
    assistant.expenseSign = "-";
    assistant.roleTokens(AssistantRole::TransactionTypeCode) = {"COL6"};
    assistant.transactionTypeCodes = {{"01", "Transfer"}};
    EXPECT_EQ(describeImportDefinition(assistant.makePLISTDictionary()),
              "For statement files ending in .csv.\n"
              "Fields are separated by “;”.\n"
              "Quotes “\"” around a field are removed.\n"
              "Lines skipped at the start: 1.\n"
              "A statement line has 6 to 30 fields; other lines are left out.\n"
              "Dates read as dd.MM.yyyy.\n"
              "\n"
              "Columns:\n"
              "    Own account number: COL0\n"
              "    Booking date: COL1\n"
              "    Communication: COL2, COL10, COL3\n"
              "    Amount: COL4\n"
              "    Sign: COL5 (income “+”, expense “-”)\n"
              "    Transaction type code: COL6\n"
              "        01 = Transfer");

    ImportDefinitionAssistant bare;
    bare.settings.useTab = true;
    bare.settings.quote = "";
    EXPECT_EQ(describeImportDefinition(bare.makePLISTDictionary()),
              "For statement files ending in .csv.\n"
              "Fields are separated by a tab.\n"
              "A statement line has 1 to 30 fields; other lines are left out.\n"
              "\n"
              "No column has a role yet.");
}

TEST(DefinitionAssistant, NamesStayInsideTheFolder)
{
    const struct {
        std::string name;
        std::optional<std::string> file;
    } cases[] = {
        {"My Bank", "My Bank.plist"},
        {"My Bank.plist", "My Bank.plist"},
        {"../escape", std::nullopt},
        {"a/b", std::nullopt},
        {"a\\b", std::nullopt},
        {".hidden", std::nullopt},
        {"line\nbreak", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ImportDefinitionAssistant::definitionFileName(c.name), c.file) << c.name;

    ScratchFolder folder;
    ImportDefinitionAssistant assistant;
    const Dictionary definition = assistant.makePLISTDictionary();
    EXPECT_EQ(assistant.saveDefinition(folder.path(), "", definition), 202);
    EXPECT_EQ(assistant.saveDefinition(folder.path(), "../x", definition), 370);
    EXPECT_EQ(assistant.saveDefinition(std::filesystem::path(folder.path()) / "defs", "Bank", definition), 0);
    EXPECT_EQ(ImportDefinitionAssistant::installedDefinitions(std::filesystem::path(folder.path()) / "defs"),
              std::vector<std::string>{"Bank.plist"});
    const LoadedDefinition loaded = loadImportDefinition(std::filesystem::path(folder.path()) / "defs", "Bank");
    ASSERT_TRUE(loaded.definition) << loaded.error;
    EXPECT_EQ(*loaded.definition, definition);
}

} // namespace
} // namespace ch::test
