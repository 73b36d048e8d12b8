// Forms of delimited statements that real banks write: dates that end in a
// period or name their month, three columns, a quoted line break under the
// assistant's defaults, amounts with a currency's sign, and one damaged
// amount among the other notation's.

#include <gtest/gtest.h>

#include "import/CDexiaTableData.h"
#include "import/DefinitionDate.h"
#include "import/ImportDefinition.h"
#include "import_test_support.h"
#include "model/CCurrency.h"

namespace ch::test {
namespace {

Dictionary Definition(const char* separator, int minimum, int maximum, int skip,
                      std::initializer_list<std::pair<std::string_view, Value>> roles)
{
    using namespace definition_key;
    Dictionary definition{{std::string(kSeparatorCharacters), Value(separator)},
                          {std::string(kSurroundingCharacters), Value("\"")},
                          {std::string(kDeleteSurroundingCharacters), Value(true)},
                          {std::string(kMinimumColumns), Value(minimum)},
                          {std::string(kMaximumColumns), Value(maximum)},
                          {std::string(kFirstLinesToSkip), Value(skip)}};
    for (const auto& [key, value] : roles) definition.set(std::string(key), value);
    return definition;
}

class StatementFormsTest : public ImportTest {
protected:
    StatementFormsTest()
    {
        for (const char* key : {"314", "315", "DELIMITEDROWSUNREAD"})
            LocalizedStrings::shared().set(key, std::string(key) + ":%@:%@:%@");
        LocalizedStrings::shared().set("316", "316:%@");
        LocalizedStrings::shared().set("316STOP", "316:%@:%@");
        env.useNotation(".", ",");
    }

    StatementImportResult Delimited(const std::string& text, const Dictionary& definition)
    {
        return readStatement(text, StatementFormat::Delimited, document, &definition);
    }

    static std::vector<double> Amounts(const StatementImportResult& result)
    {
        std::vector<double> amounts;
        for (const auto& line : result.lines) amounts.push_back(line->mAmount());
        return amounts;
    }
};

TEST_F(StatementFormsTest, DatesEndingInAPeriodOrNamingTheirMonthAreRead)
{
    const struct {
        const char* pattern;
        const char* text;
        DateT date;
    } cases[] = {
        // As Hungarian banks write them.
        {"yyyy.mm.dd", "2019.04.19.", 20190419},
        {"yyyy.mm.dd.", "2019.04.19.", 20190419},
        {"yyyy.mm.dd", "2019.04.19. 10:30", 20190419},
        {"yyyy.mm.dd", "2019.04.19.5", 0},
        // Month names, English, whole or abbreviated, any case.
        {"dd-mmm-yyyy", "12-Dec-2019", 20191212},
        {"dd-mmm-yyyy", "3-DECEMBER-2019", 20191203},
        {"dd-mmm-yy", "03-Sept-19", 20190903},
        {"mmm dd, yyyy", "Feb 29, 2020", 20200229},
        {"dd mmmm yyyy", "1 May 2020", 20200501},
        {"dd-mmm-yyyy", "31-Feb-2019", 0},
        {"dd-mmm-yyyy", "12-Xyz-2019", 0},
        {"dd-mmm-yyyy", "12-Ma-2019", 0},   // too short to tell March from May
        {"dd-mmm-yyyy", "Balance 12-Dec-2019", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(definitionDate(c.text, std::string(c.pattern)), c.date) << c.pattern << " " << c.text;

    // A file of such dates gives its lines, none left out as undated.
    using namespace definition_key;
    const Dictionary definition = Definition(",", 3, 3, 1,
                                             {{kBookingDateColumn, Columns({0})},
                                              {kAmountColumn, Columns({1})},
                                              {kCounterpartyNameColumn, Columns({2})},
                                              {kDateFormat, Value("dd-mmm-yyyy")}});
    const StatementImportResult result =
        Delimited("Date,Amount,Payee\n12-Dec-2019,-5.00,Shop\n13-Dec-2019,7.50,Employer\n", definition);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[1]->mValueDate(), 20191213);
    EXPECT_TRUE(result.notes.empty()) << result.notes.front();
}

TEST_F(StatementFormsTest, ADefinitionsOwnFieldCountsDecide)
{
    using namespace definition_key;
    const Dictionary three = Definition(",", 3, 3, 1,
                                        {{kBookingDateColumn, Columns({0})},
                                         {kAmountColumn, Columns({1})},
                                         {kCounterpartyNameColumn, Columns({2})},
                                         {kDateFormat, Value("mm/dd/yyyy")}});
    const StatementImportResult result =
        Delimited("Date,Amount,Payee\n02/22/2011,-30.00,Shop\n02/23/2011,12.00,Employer\nTotal,-18.00\n", three);
    EXPECT_EQ(Amounts(result), (std::vector<double>{-30.0, 12.0}));
    // The row left out is told with the definition's own range.
    EXPECT_EQ(result.notes, std::vector<std::string>{"DELIMITEDROWSUNREAD:1:3:3"});
}

TEST_F(StatementFormsTest, AQuotedLineBreakContinuesItsRecordUnderTheAssistantsDefaults)
{
    using namespace definition_key;
    env.useNotation(",", ".");
    // The assistant's defaults: 1 to 30 fields; every physical line fits them.
    const Dictionary defaults = Definition(";", 1, 30, 1,
                                           {{kBookingDateColumn, Columns({0})},
                                            {kCommunicationColumn, Columns({1})},
                                            {kAmountColumn, Columns({2})},
                                            {kDateFormat, Value("dd.mm.yyyy")}});
    const StatementImportResult result = Delimited(
        "Datum;Text;Betrag\n01.03.2024;\"Abschlag\nStrom und Gas\";-85,40\n02.03.2024;Miete;-700,00\n", defaults);
    EXPECT_EQ(Amounts(result), (std::vector<double>{-85.40, -700.0}));
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0]->mTransactionDescription(), "Abschlag\nStrom und Gas");
    EXPECT_TRUE(result.notes.empty()) << result.notes.front();
}

TEST_F(StatementFormsTest, AmountsWithACurrencysSignAreReadAndTakeItsCurrency)
{
    using namespace definition_key;
    CCurrency* usd = books.InsertCurrency(-1, "$", std::nullopt, "US Dollar", std::nullopt, 1,
                                          currency_type::kCurrency, 1, 1.1, 20240101, 0, -1, -1);
    const Dictionary noCurrency = Definition(";", 3, 4, 1,
                                             {{kBookingDateColumn, Columns({0})},
                                              {kCounterpartyNameColumn, Columns({1})},
                                              {kAmountColumn, Columns({2})},
                                              {kDateFormat, Value("dd.mm.yyyy")}});
    const struct {
        const char* amount;
        double read;
        ObjectIdT currency;   // 0: none the books have
        const char* code;
    } cases[] = {
        {"-$7,971.39", -7971.39, usd->Get_Id(), "$"},
        {"$-5.00", -5.0, usd->Get_Id(), "$"},
        {"EUR 12.00", 12.0, books::kEUR, "EUR"},
        {"12.00 \xE2\x82\xAC", 12.0, books::kEUR, "EUR"},
        {"\xC2\xA3" "12.00", 12.0, 0, "GBP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amount);
        const StatementImportResult result =
            Delimited(std::string("Date;Payee;Amount\n01.03.2024;Shop;") + c.amount + "\n", noCurrency);
        ASSERT_EQ(result.lines.size(), 1u);
        const CImpTItem& line = *result.lines[0];
        EXPECT_FALSE(line.amountUnread());
        EXPECT_EQ(line.mAmount(), c.read);
        EXPECT_EQ(line.mCurrency(), c.code);
        EXPECT_EQ(line.mCurrencyId(), c.currency);
        EXPECT_TRUE(result.notes.empty()) << result.notes.front();
    }

    // A currency column says the currency; the sign only stands beside the digits.
    Dictionary withCurrency = noCurrency;
    withCurrency.set(std::string(kCurrencyCodeColumn), Columns({3}));
    const StatementImportResult column = Delimited("Date;Payee;Amount;Cur\n01.03.2024;Shop;$12.00;EUR\n", withCurrency);
    ASSERT_EQ(column.lines.size(), 1u);
    EXPECT_EQ(column.lines[0]->mAmount(), 12.0);
    EXPECT_EQ(column.lines[0]->mCurrencyId(), books::kEUR);

    // What still does not read says what stopped it; "CR" names no currency.
    const StatementImportResult unread =
        Delimited("Date;Payee;Amount\n01.03.2024;Shop;12.50CR\n02.03.2024;Shop;1x2\n", noCurrency);
    ASSERT_EQ(unread.lines.size(), 2u);
    EXPECT_TRUE(unread.lines[0]->amountUnread());
    EXPECT_EQ(unread.lines[0]->mRemark().substr(0, 14), "316:12.50CR:C\r");
    EXPECT_EQ(unread.lines[1]->mRemark().substr(0, 10), "316:1x2:x\r");
    EXPECT_EQ(unread.notes, std::vector<std::string>{"315:2::"});
}

TEST_F(StatementFormsTest, OneDamagedAmountLeavesTheFilesNotationToTheOthers)
{
    using namespace definition_key;
    LocalizedStrings::shared().set("DELIMITEDDECIMALCOMMA", "comma");
    const Dictionary definition = Definition(";", 3, 3, 1,
                                             {{kBookingDateColumn, Columns({0})},
                                              {kCounterpartyNameColumn, Columns({1})},
                                              {kAmountColumn, Columns({2})},
                                              {kDateFormat, Value("dd.mm.yyyy")}});
    // German amounts under US settings, one of them damaged.
    const StatementImportResult result = Delimited(
        "Datum;Name;Betrag\n01.03.2024;A;-1.234,50\n02.03.2024;B;-2,3x\n03.03.2024;C;17,00\n04.03.2024;D;-0,99\n",
        definition);
    ASSERT_EQ(result.lines.size(), 4u);
    EXPECT_EQ(Amounts(result), (std::vector<double>{-1234.5, 0.0, 17.0, -0.99}));
    EXPECT_FALSE(result.lines[0]->amountUnread());
    EXPECT_TRUE(result.lines[1]->amountUnread());
    EXPECT_FALSE(result.lines[2]->amountUnread());
    EXPECT_EQ(result.notes, (std::vector<std::string>{"comma", "315:1::"}));
}

} // namespace
} // namespace ch::test
