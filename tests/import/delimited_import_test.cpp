// Delimited bank statements read through import definitions into completed
// import lines.

#include <gtest/gtest.h>

#include "import/CDexiaTableData.h"
#include "import/ImportDefinition.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

class DelimitedImportTest : public ImportTest {
protected:
    DelimitedImportTest()
    {
        // A Belgian bank: decimal commas, thousands points.
        env.useNotation(",", ".");
        current = AddAccount("Current Account", books::kOwnPropertyType, "111-1111111-11")->Get_Id();
        shop = AddAccount("Corner Shop", books::kProfitAndLossType, "333-3333333-33")->Get_Id();
        employer = AddAccount("Employer NV", books::kProfitAndLossType)->Get_Id();
        withdrawal = AddAccount("Withdrawal", books::kProfitAndLossType)->Get_Id();
    }

    // A semicolon definition of the fields given, within min..max fields, skipping records.
    static Dictionary Definition(int minimum, int maximum, int skip,
                                 std::initializer_list<std::pair<std::string_view, Value>> roles)
    {
        using namespace definition_key;
        Dictionary definition{{std::string(kSeparatorCharacters), Value(";")},
                              {std::string(kMinimumColumns), Value(minimum)},
                              {std::string(kMaximumColumns), Value(maximum)},
                              {std::string(kFirstLinesToSkip), Value(skip)}};
        for (const auto& [key, value] : roles) definition.set(std::string(key), value);
        return definition;
    }

    ObjectIdT current, shop, employer, withdrawal;
};

TEST_F(DelimitedImportTest, TheBankExportThroughTheBuiltInDefinition)
{
    const Dictionary definition = standardFileDescriptor();
    const StatementImportResult result = Read("csv/bank_export.csv", StatementFormat::Delimited, &definition);
    EXPECT_EQ(result.error, 0);
    using namespace books;
    const std::vector<LineView> expected = {
        // The communication holds two separators inside its quotes: the amount is still column 10.
        {"Corner Shop : Card Payment; Shop ", -12.5, 20240305, 20240305, current, shop, kExpenseCategory, kEUR, "",
         true},
        // No value date: the booking date stands in.
        {"Employer Nv : Salary March", 2500.0, 20240306, 20240306, current, employer, kIncomeCategory, kEUR, "",
         true},
        // No currency: the home currency; the description names the counter account.
        {"Cash Withdrawal", -50.0, 20240307, 20240307, current, withdrawal, kExpenseCategory, kEUR, "", true},
        {"Café \"de Kroon\" : Lunch", -23.0, 20240308, 20240308, current, 0, 0, kEUR, "IMPOTHACC\rIMPOWN\rIMPEXP",
         false},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    ASSERT_EQ(result.lines.size(), 4u);
    const CImpTItem& first = *result.lines[0];
    EXPECT_EQ(first.mTransactionDescription(), "Card payment; shop 12; thanks");
    EXPECT_EQ(first.mDocumentRef(), "REF1");
    EXPECT_EQ(first.mPartnerAdress(), "Main St 1");
    EXPECT_EQ(first.mPartnerCity(), "Leuven");
    EXPECT_EQ(first.mOriginalAmount(), "-12,50");
    EXPECT_EQ(result.lines[1]->mOriginalValueDate(), "06/03/2024");
    EXPECT_EQ(result.lines[3]->mPartnerName(), "CAFÉ \"DE KROON\"");
    EXPECT_TRUE(env.alerts().records().empty());
}

TEST_F(DelimitedImportTest, OutAndInColumnsTypeCodesAndADatePattern)
{
    env.useNotation(".", ",");
    const LoadedDefinition loaded = loadImportDefinition(FixturePath("definitions"), "Card Export");
    ASSERT_TRUE(loaded.definition) << loaded.error;
    const StatementImportResult result = Read("csv/out_in.csv", StatementFormat::Delimited, &*loaded.definition);
    const struct {
        const char* title;
        double amount;
        const char* amountText;
        DateT date;
    } expected[] = {
        {"Transfer", -1200.0, "-1,200.00", 20240301},
        // "0.00" in the unused debit column: the credit is the amount.
        {"Point Of Sale", 15.0, "15.00", 20240302},       // the last table that knows a code wins
        {"Bank Fee", -3.5, "-3.50", 20240303},             // money out, whatever sign the bank wrote
        {"Point Of Sale", 4.2, "4.20", 20240304},
        {"Nothing", 0.0, "0.00", 20240305},
    };
    ASSERT_EQ(result.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < result.lines.size(); ++i) {
        SCOPED_TRACE(i);
        const CImpTItem& line = *result.lines[i];
        EXPECT_EQ(line.mTitle(), expected[i].title);
        EXPECT_DOUBLE_EQ(line.mAmount(), expected[i].amount);
        EXPECT_EQ(line.mOriginalAmount(), expected[i].amountText);
        EXPECT_EQ(line.mValueDate(), expected[i].date);
    }
}

TEST_F(DelimitedImportTest, RecordsCountFromOneAndNeedFourFieldsOrMore)
{
    using namespace definition_key;
    const Dictionary definition = Definition(4, 30, 14, {{kAmountColumn, Columns({0})}, {kValueDateColumn, Columns({3})}});
    std::string text;
    for (int record = 1; record <= 14; ++record) text += "9;b;c;01.03.2024\n";
    text += "15;b;c;15.03.2024\n";   // the fifteenth record, of exactly 4 fields
    text += "16;b;c\n";              // 3 fields: a header, never imported
    text += "17;b;c;16.03.2024;e\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Delimited, document, &definition);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0]->mAmount(), 15.0);
    EXPECT_EQ(result.lines[1]->mAmount(), 17.0);
}

TEST_F(DelimitedImportTest, SignColumnsAndRoleTexts)
{
    using namespace definition_key;
    Dictionary definition = Definition(4, 4, 0,
                                       {{kAmountColumn, Columns({0})},
                                        {kSignColumn, Columns({1})},
                                        {kCommunicationColumn, Columns({2, 3, 9})},
                                        {kExpenseSign, Value("D")}});
    const StatementImportResult result =
        readStatement("12,50;D;two;words\n12,50;d;\"quoted\";\n", StatementFormat::Delimited, document, &definition);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0]->mAmount(), -12.5);
    EXPECT_EQ(result.lines[0]->mOriginalAmount(), "12,50 D");
    EXPECT_EQ(result.lines[0]->mTransactionDescription(), "two words");   // a column beyond the record is skipped
    EXPECT_EQ(result.lines[1]->mAmount(), 12.5);                          // the sign is compared exactly
    // The definition does not ask to strip quotes: they stay.
    EXPECT_EQ(result.lines[1]->mTransactionDescription(), "\"quoted\" ");

    definition.set(std::string(kSurroundingCharacters), Value("\""));
    definition.set(std::string(kDeleteSurroundingCharacters), Value(true));
    const StatementImportResult stripped =
        readStatement("1;C;\"say \"\"hi\"\"\";x\n", StatementFormat::Delimited, document, &definition);
    ASSERT_EQ(stripped.lines.size(), 1u);
    EXPECT_EQ(stripped.lines[0]->mTransactionDescription(), "say \"hi\" x");
}

TEST_F(DelimitedImportTest, WithoutADefinitionTheBankExportsOwnColumns)
{
    // 11 to 12 fields, the first record skipped, the amount in column 9.
    const std::string text =
        "header;1;2;3;4;5;6;7;8;9;10\n"
        "111-1111111-11;05.03.2024;R;333-3333333-33;Shop;;;Groceries;05.03.2024;-7,25;EUR\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Delimited, document);
    ASSERT_EQ(result.lines.size(), 1u);
    using namespace books;
    EXPECT_EQ(ViewOf(*result.lines[0]), (LineView{"Shop : Groceries", -7.25, 20240305, 20240305, current, shop,
                                                  kExpenseCategory, kEUR, "", true}));
}

TEST_F(DelimitedImportTest, QuotedFieldsAreOneFieldWhateverTheyHold)
{
    env.useNotation(".", ",");
    using namespace definition_key;
    Dictionary definition = Definition(5, 5, 1,
                                       {{kBookingDateColumn, Columns({0})},
                                        {kCounterpartyNameColumn, Columns({1})},
                                        {kCounterpartyCityColumn, Columns({2})},
                                        {kCommunicationColumn, Columns({3})},
                                        {kAmountColumn, Columns({4})},
                                        {kDateFormat, Value("dd.mm.yyyy")}});
    definition.set(std::string(kSeparatorCharacters), Value(","));
    definition.set(std::string(kSurroundingCharacters), Value("\""));
    definition.set(std::string(kDeleteSurroundingCharacters), Value(true));
    const std::string text = "Date,Name,City,Memo,Amount\r\n"
                             "05.03.2024,\"Corner Shop\",\",Town,XX\",\"Card payment\",-12.50\r\n"
                             "06.03.2024,\"Employer NV\",\"Town,\",\",,\",\"2,500.00\"\r\n"
                             "07.03.2024,\"Caf\xC3\xA9 \"\"de Kroon\"\"\",Leuven,\"Lunch\r\nwith the team\",-23.00\r\n"
                             "08.03.2024,Withdrawal,,\"\",-50.00\r\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Delimited, document, &definition);
    const struct {
        double amount;
        const char* name;
        const char* city;
        const char* communication;
    } expected[] = {
        {-12.5, "Corner Shop", ",Town,XX", "Card payment"},
        {2500.0, "Employer NV", "Town,", ",,"},
        {-23.0, "Caf\xC3\xA9 \"de Kroon\"", "Leuven", "Lunch\nwith the team"},
        {-50.0, "Withdrawal", "", ""},
    };
    ASSERT_EQ(result.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const CImpTItem& line = *result.lines[i];
        EXPECT_EQ(line.mAmount(), expected[i].amount);
        EXPECT_FALSE(line.amountUnread());
        EXPECT_EQ(line.mPartnerName(), expected[i].name);
        EXPECT_EQ(line.mPartnerCity(), expected[i].city);
        EXPECT_EQ(line.mTransactionDescription(), expected[i].communication);
        EXPECT_EQ(line.mTitle().find('\n'), std::string::npos);
    }
    EXPECT_TRUE(result.notes.empty()) << result.notes.front();
}

TEST_F(DelimitedImportTest, ADefinitionWithoutSeparatorIsRefused)
{
    using namespace definition_key;
    for (const Value& separator : {Value(""), Value(59), Value()}) {
        env.alerts().clear();
        Dictionary definition = Definition(1, 30, 0, {{kAmountColumn, Columns({0})}});
        if (separator.isAbsent()) definition.remove(kSeparatorCharacters);
        else definition.set(std::string(kSeparatorCharacters), separator);
        const StatementImportResult result =
            readStatement("1;2;3;4\n5;6;7;8\n", StatementFormat::Delimited, document, &definition);
        EXPECT_TRUE(result.lines.empty());
        EXPECT_EQ(result.error, CDexiaTableData::kUnusableDefinitionError);
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{CDexiaTableData::kUnusableDefinitionError});
    }
}

} // namespace
} // namespace ch::test
