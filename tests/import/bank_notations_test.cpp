// Statements as banks of many countries write them, read under US and German
// settings: sign texts in any script, quotes the field rule reads leniently,
// rows left out told apart from headings and totals, digits grouped by
// blanks, QIF dates written with dots, and a QIF file without a type line.

#include <gtest/gtest.h>

#include "import/CQuickenData.h"
#include "import/ImportDefinition.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

// A ";" definition of rows of exactly `fields` fields after one heading.
Dictionary Definition(int fields, std::initializer_list<std::pair<std::string_view, Value>> roles)
{
    using namespace definition_key;
    Dictionary definition{{std::string(kSeparatorCharacters), Value(";")},
                          {std::string(kSurroundingCharacters), Value("\"")},
                          {std::string(kDeleteSurroundingCharacters), Value(true)},
                          {std::string(kMinimumColumns), Value(fields)},
                          {std::string(kMaximumColumns), Value(fields)},
                          {std::string(kFirstLinesToSkip), Value(1)},
                          {std::string(kDateFormat), Value("dd.mm.yyyy")}};
    for (const auto& [key, value] : roles) definition.set(std::string(key), value);
    return definition;
}

struct Settings {
    const char* name;
    const char* decimal;
    const char* grouping;
    const char* shortDate;
    int qifDateFormat;
};
const Settings kUS{"US", ".", ",", "M/d/yy", 0};
const Settings kGerman{"German", ",", ".", "dd.MM.yy", 1};
// German, with QIF dates left at their default, month/day/year.
const Settings kGermanQifDefault{"German, QIF default", ",", ".", "dd.MM.yy", 0};

class BankNotationsTest : public ImportTest {
protected:
    BankNotationsTest()
    {
        // The notes with their arguments, so that a test sees them.
        for (const char* key : {"DELIMITEDROWSUNREAD", "DELIMITEDROWSLEFTOUT", "DELIMITEDSIGNUNMATCHED",
                                "DELIMITEDSIGNSUNMATCHED", "QIFDATEUNDECIDED", "QIFDATEORDERUSED"})
            LocalizedStrings::shared().set(key, std::string(key) + ":%@:%@:%@");
        for (const char* key : {"DELIMITEDDECIMALCOMMA", "DELIMITEDDECIMALPOINT", "QIFDATEMDY", "QIFDATEDMY",
                                "QIFNOTYPE", "310"})
            LocalizedStrings::shared().set(key, key);
    }

    void Use(const Settings& settings)
    {
        env.useNotation(settings.decimal, settings.grouping);
        env.defaults().set("NSShortDateFormatString", settings.shortDate);
        env.defaults().set(std::string(CQuickenData::kDateFormatKey), settings.qifDateFormat);
    }

    StatementImportResult Delimited(const std::string& text, const Dictionary& definition)
    {
        return readStatement(text, StatementFormat::Delimited, document, &definition);
    }
    StatementImportResult Qif(const std::string& text) { return readStatement(text, StatementFormat::Qif, document); }
};

TEST_F(BankNotationsTest, SignTextsMatchInAnyScriptAndANoteSaysWhenNoneMatched)
{
    using namespace definition_key;
    const struct {
        const char* expense;
        const char* income;   // null: the definition has none
        const char* sign;     // as the file writes it
        double amount;
        const char* note;     // null: none
    } cases[] = {
        // Letters the 8-bit encoding of the books cannot hold.
        {"Obciążenie", "Uznanie", "Obciążenie", -25.0, nullptr},
        {"Obciążenie", "Uznanie", "Uznanie", 25.0, nullptr},
        // Both become the same substitutes in that encoding: only the
        // texts as written tell them apart.
        {"支出", "收入", "支出", -25.0, nullptr},
        {"支出", "收入", "收入", 25.0, nullptr},
        {"Débit", "Crédit", "  Débit\t", -25.0, nullptr},
        // The accent as a character of its own (decomposed).
        {"Débit", "Crédit", "De\xCC\x81" "bit", -25.0, nullptr},
        // The case counts; no row matched, and a note says so.
        {"Soll", "Haben", "soll", 25.0, "DELIMITEDSIGNSUNMATCHED:Soll:Haben:"},
        {"D", nullptr, "X", 25.0, "DELIMITEDSIGNUNMATCHED:D::"},
    };
    for (const Settings& settings : {kUS, kGerman}) {
        Use(settings);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(settings.name) + " " + c.sign);
            Dictionary definition = Definition(4, {{kBookingDateColumn, Columns({0})},
                                                   {kCounterpartyNameColumn, Columns({1})},
                                                   {kAmountColumn, Columns({2})},
                                                   {kSignColumn, Columns({3})},
                                                   {kExpenseSign, Value(c.expense)}});
            if (c.income) definition.set(std::string(kIncomeSign), Value(c.income));
            const StatementImportResult result =
                Delimited(std::string("Date;Name;Amount;Sign\n01.03.2024;Shop;25;") + c.sign + "\n", definition);
            ASSERT_EQ(result.lines.size(), 1u);
            EXPECT_EQ(result.lines[0]->mAmount(), c.amount);
            EXPECT_EQ(result.notes, c.note ? std::vector<std::string>{c.note} : std::vector<std::string>{});
        }
    }
}

TEST_F(BankNotationsTest, QuotesAreReadAsTheFieldRuleReadsThem)
{
    using namespace definition_key;
    const Dictionary definition = Definition(4, {{kBookingDateColumn, Columns({0})},
                                                 {kCounterpartyNameColumn, Columns({1})},
                                                 {kCommunicationColumn, Columns({2})},
                                                 {kAmountColumn, Columns({3})}});
    const struct {
        const char* what;
        const char* row;
        const char* name;
    } cases[] = {
        {"blanks after a quoted field", "01.03.2024;\"Shop\"  ;\"Rent\";-25", "Shop"},
        {"a tab after a quoted field", "01.03.2024;\"Shop\"\t;\"Rent\";-25", "Shop"},
        {"quotes inside not doubled", "01.03.2024;\"UAB \"Naktida\"\";\"Rent\";-25", "UAB \"Naktida\""},
        {"a doubled quote before a separator", "01.03.2024;\"x\"\";y\";\"Rent\";-25", "x\";y"},
        {"a quoted amount followed by a tab", "01.03.2024;\"Shop\";\"Rent\";\"-25\"\t", "Shop"},
        {"blanks around a quoted amount", "01.03.2024;\"Shop\";\"Rent\"; \"-25\" ", "Shop"},
    };
    for (const Settings& settings : {kUS, kGerman}) {
        Use(settings);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(settings.name) + " " + c.what);
            const StatementImportResult result = Delimited(std::string("Date;Name;Text;Amount\n") + c.row, definition);
            EXPECT_EQ(result.lines.size(), 1u);
            if (result.lines.size() != 1u) continue;
            const CImpTItem& line = *result.lines[0];
            EXPECT_EQ(line.mPartnerName(), c.name);
            EXPECT_EQ(line.mTransactionDescription(), "Rent");
            EXPECT_EQ(line.mAmount(), -25.0);
            EXPECT_FALSE(line.amountUnread());
            EXPECT_TRUE(result.notes.empty()) << result.notes.front();
        }
    }
}

TEST_F(BankNotationsTest, RowsLeftOutAmongTheLinesAreToldByLineApartFromHeadingsAndTotals)
{
    using namespace definition_key;
    const Dictionary definition = Definition(4, {{kBookingDateColumn, Columns({0})},
                                                 {kCounterpartyNameColumn, Columns({1})},
                                                 {kCommunicationColumn, Columns({2})},
                                                 {kAmountColumn, Columns({3})}});
    const std::string file = "Date;Name;Text;Amount\n"
                             "Account;DE12\n"                    // a heading
                             "01.03.2024;Shop;Rent;-25\n"
                             "02.03.2024;Shop;Rent;more;-30\n"   // too many fields
                             "03.03.2024;Shop;-5\n"              // too few
                             "04.03.2024;Shop;Rent;-7\n"
                             "Total;-37\n";                      // a total
    for (const Settings& settings : {kUS, kGerman}) {
        SCOPED_TRACE(settings.name);
        Use(settings);
        const StatementImportResult result = Delimited(file, definition);
        ASSERT_EQ(result.lines.size(), 2u);
        EXPECT_EQ(result.lines[1]->mAmount(), -7.0);
        EXPECT_EQ(result.notes,
                  (std::vector<std::string>{"DELIMITEDROWSUNREAD:2:4:4", "DELIMITEDROWSLEFTOUT:4, 5:4:4"}));
    }
}

TEST_F(BankNotationsTest, DigitsGroupedByBlanksAreReadInEitherNotation)
{
    using namespace definition_key;
    const Dictionary definition = Definition(3, {{kBookingDateColumn, Columns({0})},
                                                 {kCounterpartyNameColumn, Columns({1})},
                                                 {kAmountColumn, Columns({2})}});
    const struct {
        const char* amount;
        double read;
        bool decimalComma;
    } cases[] = {
        {"1 234,56", 1234.56, true},
        {"-1\xC2\xA0" "234,56", -1234.56, true},         // no-break space
        {"1\xE2\x80\xAF" "234,56", 1234.56, true},       // narrow no-break space
        {"12 345 678,90", 12345678.90, true},
        {"1\xC2\xA0" "234,56\xC2\xA0\xE2\x82\xAC", 1234.56, true},   // and the euro's sign
        {"-1 234.56", -1234.56, false},
    };
    for (const Settings& settings : {kUS, kGerman}) {
        Use(settings);
        const bool userComma = std::string(settings.decimal) == ",";
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(settings.name) + " " + c.amount);
            const StatementImportResult result =
                Delimited(std::string("Date;Name;Amount\n01.03.2024;Shop;") + c.amount + "\n", definition);
            ASSERT_EQ(result.lines.size(), 1u);
            EXPECT_FALSE(result.lines[0]->amountUnread()) << result.lines[0]->mRemark();
            EXPECT_NEAR(result.lines[0]->mAmount(), c.read, 1e-9);
            EXPECT_EQ(result.lines[0]->mCurrencyId(), books::kEUR);
            // The other notation than the user's is told, as for any amount.
            const std::vector<std::string> notes =
                c.decimalComma == userComma ? std::vector<std::string>{}
                                            : std::vector<std::string>{c.decimalComma ? "DELIMITEDDECIMALCOMMA"
                                                                                      : "DELIMITEDDECIMALPOINT"};
            EXPECT_EQ(result.notes, notes);
        }
    }
}

TEST_F(BankNotationsTest, QifDatesWithDotsAreDayFirstWhereTheUsersDateFormatPutsTheDayFirst)
{
    const Settings settings[] = {kUS, kGermanQifDefault, kGerman};
    const struct {
        const char* date;
        DateT read[3];           // under each of the settings above
        const char* notes[3];    // "": none
    } cases[] = {
        {"03.11.25",
         {20250311, 20251103, 20251103},
         {"QIFDATEUNDECIDED:QIFDATEMDY::", "", ""}},
        {"3.11.2025",
         {20250311, 20251103, 20251103},
         {"QIFDATEUNDECIDED:QIFDATEMDY::", "", ""}},
        // The file's own dates decide where only one order reads them.
        {"13.11.25",
         {20251113, 20251113, 20251113},
         {"QIFDATEORDERUSED:QIFDATEDMY::", "QIFDATEORDERUSED:QIFDATEDMY::", ""}},
    };
    for (std::size_t s = 0; s < std::size(settings); ++s) {
        Use(settings[s]);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(settings[s].name) + " " + c.date);
            const StatementImportResult result = Qif(std::string("!Type:Bank\nD") + c.date + "\nPShop\nT-25.00\n^\n");
            ASSERT_EQ(result.lines.size(), 1u);
            EXPECT_EQ(result.lines[0]->mValueDate(), c.read[s]);
            EXPECT_EQ(result.notes,
                      *c.notes[s] ? std::vector<std::string>{c.notes[s]} : std::vector<std::string>{});
        }
    }
}

TEST_F(BankNotationsTest, AQifFileWithoutATypeLineSaysSo)
{
    const struct {
        const char* what;
        const char* text;
        const char* note;
    } cases[] = {
        {"records alone", "D03.11.25\nPShop\nT-25.00\n^\n", "QIFNOTYPE"},
        {"an account header alone", "!Account\nNChecking\nTBank\n^\nD11/03/25\nT-25.00\n^\n", "QIFNOTYPE"},
        {"an empty file", "", "310"},
    };
    for (const Settings& settings : {kUS, kGerman}) {
        Use(settings);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(settings.name) + " " + c.what);
            const StatementImportResult result = Qif(c.text);
            EXPECT_TRUE(result.lines.empty());
            EXPECT_EQ(result.notes, std::vector<std::string>{c.note});
        }
    }
}

} // namespace
} // namespace ch::test
