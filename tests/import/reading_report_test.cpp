// What reading a statement file tells the user besides its lines: why a file
// gave none, how much of a file cut short was read, which records were left
// out, which amounts did not read (those lines wait, never booked as 0), and
// errors raised many times as one note. Also the dates of delimited files
// read in the definition's field order.

#include <gtest/gtest.h>

#include "import/CQuickenData.h"
#include "import/DefinitionDate.h"
#include "import/ImportDefinition.h"
#include "import/StatementFileReader.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

// Date;Name;Amount;Currency with the date pattern, records of 4 or 5 fields
// after a heading.
Dictionary FourColumns(const char* pattern = "dd.mm.yyyy", int minimum = 4, int maximum = 5)
{
    using namespace definition_key;
    return Dictionary{{std::string(kSeparatorCharacters), Value(";")},
                      {std::string(kMinimumColumns), Value(minimum)},
                      {std::string(kMaximumColumns), Value(maximum)},
                      {std::string(kFirstLinesToSkip), Value(1)},
                      {std::string(kDateFormat), Value(pattern)},
                      {std::string(kBookingDateColumn), Columns({0})},
                      {std::string(kCounterpartyNameColumn), Columns({1})},
                      {std::string(kAmountColumn), Columns({2})},
                      {std::string(kCurrencyCodeColumn), Columns({3})}};
}

std::string Ofx(const std::string& transactions, bool closed = true)
{
    std::string text = "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX>\n<BANKMSGSRSV1>\n<STMTTRNRS>\n<STMTRS>\n<CURDEF>EUR\n"
                       "<BANKACCTFROM>\n<ACCTID>111-1111111-11\n</BANKACCTFROM>\n<BANKTRANLIST>\n" +
                       transactions;
    if (closed) text += "</BANKTRANLIST>\n</STMTRS>\n</STMTTRNRS>\n</BANKMSGSRSV1>\n</OFX>\n";
    return text;
}

std::string OfxTransaction(const char* amount, const char* name = "Shop")
{
    return std::string("<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20240301\n<TRNAMT>") + amount + "\n<FITID>" + name +
           "\n<NAME>" + name + "\n</STMTTRN>\n";
}

class ReadingReportTest : public ImportTest {
protected:
    ReadingReportTest()
    {
        // The notes with their numbers, so that a test sees the counts.
        for (const char* key : {"311", "313", "314", "315", "317", "DELIMITEDROWSUNREAD", "OFXPARTUNREAD"})
            LocalizedStrings::shared().set(key, std::string(key) + ":%@:%@:%@:%@");
        env.useNotation(",", ".");
        env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
        current = AddAccount("Current Account", books::kOwnPropertyType, "111-1111111-11")->Get_Id();
    }

    StatementImportResult Delimited(const std::string& text, const Dictionary& definition)
    {
        return readStatement(text, StatementFormat::Delimited, document, &definition);
    }

    ObjectIdT current = 0;
};

TEST_F(ReadingReportTest, AFileThatGivesNoLinesSaysWhy)
{
    const Dictionary fourColumns = FourColumns();
    // Records of six fields where the definition takes four or five.
    const std::string wider = "Date;Name;Amount;Currency;Balance;Text\n01.03.2024;Shop;-5,00;EUR;100,00;x\n"
                              "02.03.2024;Shop;-6,00;EUR;94,00;y\n";
    const std::string investment = "OFXHEADER:100\n\n<OFX>\n<INVSTMTMSGSRSV1>\n<INVSTMTTRNRS>\n<INVSTMTRS>\n"
                                   "<INVTRANLIST>\n<INVBANKTRAN>\n" + OfxTransaction("-3.65") +
                                   "</INVBANKTRAN>\n</INVTRANLIST>\n</INVSTMTRS>\n</INVSTMTTRNRS>\n"
                                   "</INVSTMTMSGSRSV1>\n</OFX>\n";
    const struct {
        const char* what;
        StatementFormat format;
        std::string bytes;
        const Dictionary* definition;
        std::string note;
    } cases[] = {
        {"empty delimited file", StatementFormat::Delimited, "", &fourColumns, "310"},
        {"empty QIF file", StatementFormat::Qif, "", nullptr, "310"},
        {"QIF category list only", StatementFormat::Qif, "!Type:Cat\nNFood\nE\n^\n", nullptr, "310"},
        // An empty amount is none (as a missing T line), not one that does
        // not read; the record is told.
        {"QIF record with an empty amount", StatementFormat::Qif, "!Type:Bank\nD3/1/24\nPShop\nT \n^\n", nullptr,
         "QIFNOAMOUNT"},
        // 2 records of 6 fields, none within 4..5; most have 6.
        {"definition that does not fit", StatementFormat::Delimited, wider, &fourColumns, "311:2:4:5:6"},
        {"investment statement only", StatementFormat::Ofx, investment, nullptr, "312"},
        {"OFX cut before its first transaction ends", StatementFormat::Ofx,
         Ofx("<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20240301\n<TRNAMT>-5.00\n", false), nullptr, "313:0:::"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result = readStatement(c.bytes, c.format, document, c.definition);
        EXPECT_EQ(result.error, 0);
        EXPECT_TRUE(result.lines.empty());
        EXPECT_EQ(result.notes, std::vector<std::string>{c.note});
    }
}

TEST_F(ReadingReportTest, AFileCutShortSaysHowMuchWasRead)
{
    // OFX 1 and OFX 2 cut inside their third transaction.
    const std::string sgml = Ofx(OfxTransaction("-1.00") + OfxTransaction("-2.00", "Bakery") +
                                     "<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>20240302\n<TRNAMT>-3",
                                 false);
    const std::string xml = "<?xml version=\"1.0\"?>\n<?OFX OFXHEADER=\"200\"?>\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS>"
                            "<CURDEF>EUR</CURDEF><BANKACCTFROM><ACCTID>111-1111111-11</ACCTID></BANKACCTFROM>"
                            "<BANKTRANLIST>"
                            "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20240301</DTPOSTED><TRNAMT>-1.00</TRNAMT>"
                            "<NAME>Shop</NAME></STMTTRN>"
                            "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20240301</DTPOSTED><TRNAMT>-2.00</TRNAMT>"
                            "<NAME>Bakery</NAME></STMTTRN>"
                            "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>2024";
    // The QIF file's last record lacks its amount.
    const std::string qif = "!Type:Bank\nD3/1/24\nPShop\nT-1.00\n^\nD3/1/24\nPBakery\nT-2.00\n^\nD3/2/24\nPCut";
    const struct {
        const char* what;
        StatementFormat format;
        const std::string& bytes;
    } cases[] = {{"OFX 1", StatementFormat::Ofx, sgml},
                 {"OFX 2", StatementFormat::Ofx, xml},
                 {"QIF", StatementFormat::Qif, qif}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result = readStatement(c.bytes, c.format, document);
        EXPECT_EQ(result.error, 0);
        ASSERT_EQ(result.lines.size(), 2u);
        EXPECT_EQ(result.lines[0]->mAmount(), -1.0);
        EXPECT_EQ(result.lines[1]->mAmount(), -2.0);
        EXPECT_EQ(result.notes, std::vector<std::string>{"313:2:::"});
    }
    // A whole file says nothing of the kind.
    EXPECT_TRUE(readStatement(Ofx(OfxTransaction("-1.00")), StatementFormat::Ofx, document).notes.empty());
    EXPECT_TRUE(readStatement(qif + "\nT-3.00\n^\n", StatementFormat::Qif, document).notes.empty());

    // A last record without its "^" is read when it has a date and an
    // amount, and told; without either it is the one the file breaks off in.
    const struct {
        const char* last;
        std::size_t lines;
        std::vector<std::string> notes;
    } ends[] = {
        {"D3/2/24\nPBakery\nT-2.00", 2, {"QIFLASTUNENDED"}},
        {"D3/2/24\nPBakery\nT-2.00\n", 2, {"QIFLASTUNENDED"}},
        {"PBakery\nT-2.00\n", 1, {"313:1:::"}},
        {"D3/2/24\nPBakery\n", 1, {"313:1:::"}},
    };
    for (const auto& end : ends) {
        SCOPED_TRACE(end.last);
        const StatementImportResult result = readStatement(
            std::string("!Type:Bank\nD3/1/24\nPShop\nT-1.00\n^\n") + end.last, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), end.lines);
        if (end.lines == 2) {
            EXPECT_EQ(result.lines[1]->mAmount(), -2.0);
            EXPECT_EQ(result.lines[1]->mValueDate(), 20240302);
        }
        EXPECT_EQ(result.notes, end.notes);
    }
}

TEST_F(ReadingReportTest, TransactionsADamagedTagLeavesOutAreCounted)
{
    // Two statements; the damage is in the second.
    auto file = [](const std::string& second) {
        return "OFXHEADER:100\n\n<OFX>\n<BANKMSGSRSV1>\n<STMTTRNRS>\n<STMTRS>\n<CURDEF>EUR\n<BANKACCTFROM>\n"
               "<ACCTID>111-1111111-11\n</BANKACCTFROM>\n<BANKTRANLIST>\n" +
               OfxTransaction("-1.00") + "</BANKTRANLIST>\n</STMTRS>\n</STMTTRNRS>\n<STMTTRNRS>\n" + second +
               "</STMTTRNRS>\n</BANKMSGSRSV1>\n</OFX>\n";
    };
    const std::string body = "<CURDEF>EUR\n<BANKACCTFROM>\n<ACCTID>222\n</BANKACCTFROM>\n<BANKTRANLIST>\n" +
                             OfxTransaction("-2.00") + OfxTransaction("-3.00", "Bakery") + "</BANKTRANLIST>\n";
    const struct {
        const char* what;
        std::string second;
        std::size_t lines;
        std::vector<std::string> notes;
    } cases[] = {
        {"whole", "<STMTRS>\n" + body + "</STMTRS>\n", 3, {}},
        {"closing tag broken", "<STMTRS>\n" + body + "</STMTRS<\n", 1, {"OFXPARTUNREAD:2:1::"}},
        {"stray byte in an opening tag", "<STM\x01TRS>\n" + body + "</STMTRS>\n", 1, {"OFXPARTUNREAD:2:1::"}},
        {"stray byte in a closing tag", "<STMTRS>\n" + body + "</STMTRS\x01>\n", 1, {"OFXPARTUNREAD:2:1::"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result = readStatement(file(c.second), StatementFormat::Ofx, document);
        EXPECT_EQ(result.error, 0);
        EXPECT_EQ(result.lines.size(), c.lines);
        EXPECT_EQ(result.notes, c.notes);
    }
}

TEST_F(ReadingReportTest, RecordsWithoutADateAreLeftOutAndCounted)
{
    // A heading repeated after a page break and a closing balance with the
    // same number of fields are no transactions.
    const std::string text = "Date;Name;Amount;Currency\n"
                             "01.03.2024;Shop;-5,00;EUR\n"
                             "Date;Name;Amount;Currency\n"
                             "2.3.2024;Employer;1.250,00;EUR\n"
                             "Closing balance;;9.000,00;EUR\n";
    const StatementImportResult result = Delimited(text, FourColumns());
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0]->mAmount(), -5.0);
    EXPECT_EQ(result.lines[1]->mAmount(), 1250.0);
    EXPECT_EQ(result.lines[1]->mValueDate(), 20240302);
    EXPECT_EQ(result.notes, std::vector<std::string>{"314:2:::"});

    // A definition without date columns keeps every record it takes.
    using namespace definition_key;
    Dictionary undated = FourColumns();
    undated.remove(kBookingDateColumn);
    EXPECT_EQ(Delimited(text, undated).lines.size(), 4u);
}

TEST_F(ReadingReportTest, AnAmountThatDoesNotReadMarksItsLineAndIsNeverBooked)
{
    // A U+2019 grouping as Swiss settings give it; statements write "'".
    const char* swissGrouping = "\xE2\x80\x99";
    const struct {
        const char* what;
        const char* decimal;
        const char* grouping;
        StatementFormat format;
        std::string bytes;
        const char* amountText;
    } cases[] = {
        {"amount of neither notation", ".", ",", StatementFormat::Delimited,
         "Date;Name;Amount;Currency\n01.03.2024;Shop;9.999.99;EUR\n", "9.999.99"},
        {"apostrophe grouping under Swiss settings", ".", swissGrouping, StatementFormat::Delimited,
         "Date;Name;Amount;Currency\n01.03.2024;Shop;1'234.50;EUR\n", "1'234.50"},
        {"QIF amount that is no number", ",", ".", StatementFormat::Qif, "!Type:Bank\nD3/1/24\nPShop\nTabc\n^\n",
         "abc"},
        {"OFX amount with a currency", ",", ".", StatementFormat::Ofx, Ofx(OfxTransaction("12 EUR")), "12 EUR"},
    };
    const Dictionary definition = FourColumns();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        env.useNotation(c.decimal, c.grouping);
        const StatementImportResult result =
            readStatement(c.bytes, c.format, document, c.format == StatementFormat::Delimited ? &definition : nullptr);
        ASSERT_EQ(result.lines.size(), 1u);
        CImpTItem& line = *result.lines[0];
        EXPECT_TRUE(line.amountUnread());
        EXPECT_EQ(line.mAmount(), 0.0);
        EXPECT_FALSE(line.isComplete());
        EXPECT_NE(line.mRemark().find("316"), std::string::npos) << line.mRemark();
        EXPECT_EQ(result.notes, std::vector<std::string>{"315:1:::"});
        EXPECT_EQ(line.mOriginalAmount(), c.amountText);
        EXPECT_FALSE(line.import());
        EXPECT_EQ(books.mTransactionList->GetCount(), 0u);
    }

    // The same texts in the notation that reads them give their amounts; a
    // text of zeros is an amount of 0, not an unread one.
    auto lineOf = [&](const std::string& amount) {
        return Delimited("Date;Name;Amount;Currency\n01.03.2024;Shop;" + amount + ";EUR\n", definition).lines.at(0);
    };
    env.useNotation(",", ".");
    EXPECT_EQ(lineOf("9.999,99")->mAmount(), 9999.99);
    env.useNotation(".", "'");
    EXPECT_EQ(lineOf("1'234.50")->mAmount(), 1234.5);
    EXPECT_FALSE(lineOf("0.00")->amountUnread());
}

TEST_F(ReadingReportTest, RowsThatAreNoStatementLineAreLeftOutAndCounted)
{
    const struct {
        const char* what;
        std::string rows;   // after the heading and one statement line
        std::size_t lines;
        std::vector<std::string> notes;
    } cases[] = {
        // A closing balance whose date field holds a date inside its text.
        {"balance footer", "Balance (15.01.2009):;;9000,00;EUR\n", 1, {"314:1:::"}},
        {"date followed by more than a time", "15.01.2009 closing;;9000,00;EUR\n", 1, {"314:1:::"}},
        {"row of too many fields", "16.01.2009;Shop;-1,00;EUR;x;y\n", 1, {"DELIMITEDROWSUNREAD:1:4:5:"}},
        {"row of too few fields", "Total;8000,00\n", 1, {"DELIMITEDROWSUNREAD:1:4:5:"}},
        {"rows of nothing but separators", ";;;\n;\n\n", 1, {}},
        {"date and time", "16.01.2009 00:00:00;Shop;-1,00;EUR\n", 2, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result =
            Delimited("Date;Name;Amount;Currency\n15.01.2009;Shop;-5,00;EUR\n" + c.rows, FourColumns("dd.mm.yy"));
        ASSERT_EQ(result.lines.size(), c.lines);
        EXPECT_EQ(result.lines[0]->mAmount(), -5.0);
        EXPECT_EQ(result.notes, c.notes);
    }
}

TEST_F(ReadingReportTest, AmountsAreReadInTheOtherNotationWhenOnlyItReadsThemAll)
{
    LocalizedStrings::shared().set("DELIMITEDDECIMALCOMMA", "comma");
    LocalizedStrings::shared().set("DELIMITEDDECIMALPOINT", "point");
    const struct {
        const char* what;
        const char* decimal;
        const char* grouping;
        const char* amounts;   // one row each, "|" between them
        std::vector<std::optional<double>> read;   // none: unread
        std::vector<std::string> notes;
    } cases[] = {
        {"decimal commas under US settings", ".", ",", "-1.001,00|5.000,00|-123,45", {-1001.0, 5000.0, -123.45},
         {"comma"}},
        {"decimal points under German settings", ",", ".", "1,234.50|-12.00|7", {1234.5, -12.0, 7.0}, {"point"}},
        {"the user's notation reads them all", ".", ",", "1,234|-12.50", {1234.0, -12.5}, {}},
        // Neither reads every amount: the user's notation, and what it cannot read waits.
        {"both notations in one file", ".", ",", "1,234.50|9.999,99", {1234.5, std::nullopt}, {"315:1:::"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        env.useNotation(c.decimal, c.grouping);
        std::string text = "Date;Name;Amount;Currency\n";
        const std::string amounts = c.amounts;
        for (std::size_t start = 0; start <= amounts.size();) {
            const std::size_t bar = std::min(amounts.find('|', start), amounts.size());
            text += "01.03.2024;Shop;" + amounts.substr(start, bar - start) + ";EUR\n";
            start = bar + 1;
        }
        const StatementImportResult result = Delimited(text, FourColumns());
        ASSERT_EQ(result.lines.size(), c.read.size());
        for (std::size_t i = 0; i < c.read.size(); ++i) {
            EXPECT_EQ(result.lines[i]->amountUnread(), !c.read[i]) << i;
            EXPECT_EQ(result.lines[i]->mAmount(), c.read[i].value_or(0.0)) << i;
        }
        EXPECT_EQ(result.notes, c.notes);
    }
}

TEST_F(ReadingReportTest, AnAmountSetOnAnUnreadLineLetsItBeBooked)
{
    env.useNotation(".", ",");
    AddAccount("Shop", books::kProfitAndLossType);
    Dictionary definition = FourColumns();
    definition.set(std::string(definition_key::kOwnAccountNumberColumn), Columns({4}));
    const StatementImportResult result =
        Delimited("Date;Name;Amount;Currency;Account\n01.03.2024;Shop;9.999.99;EUR;111-1111111-11\n", definition);
    ASSERT_EQ(result.lines.size(), 1u);
    CImpTItem& line = *result.lines[0];
    ASSERT_TRUE(line.amountUnread());
    line.setMAmount(-9999.99);
    line.autoComplete();
    EXPECT_FALSE(line.amountUnread());
    EXPECT_TRUE(line.isComplete()) << line.mRemark();
    EXPECT_TRUE(line.import());
}

TEST_F(ReadingReportTest, ErrorsRaisedManyTimesWhileReadingAreOneNote)
{
    // Far more category groups than the books can number: each one beyond
    // raises error 188.
    std::string text = "!Type:Cat\n";
    for (int i = 0; i < 400; ++i)
        text += "NGroup " + std::to_string(i) + "\nE\n^\nNGroup " + std::to_string(i) + ":Item\n^\n";
    text += "!Type:Bank\nD3/1/24\nPShop\nT-1.00\n^\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
    EXPECT_EQ(result.lines.size(), 1u);
    EXPECT_TRUE(env.alerts().records().empty());
    ASSERT_EQ(result.notes.size(), 1u);
    const std::string& note = result.notes[0];
    EXPECT_TRUE(note.starts_with("317:")) << note;
    EXPECT_TRUE(note.ends_with(":188::")) << note;
    EXPECT_GT(std::stoi(note.substr(4)), 100) << note;
}

TEST_F(ReadingReportTest, AnErrorRaisedOnceIsShownAsBefore)
{
    // A credit-card file in books without a default credit-card account.
    const StatementImportResult result = readStatement("C*\n!Type:CCard\nD3/1/24\nT-1.00\n^\n", StatementFormat::Qif,
                                                       document);
    EXPECT_EQ(result.error, CQuickenData::kNoCreditCardAccountError);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{CQuickenData::kNoCreditCardAccountError});
    EXPECT_TRUE(result.notes.empty());
}

TEST_F(ReadingReportTest, TheFileReaderSaysEverythingInOneMessage)
{
    // Day-first dates where the setting says month first, and a last record
    // the file breaks off in.
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "importread_report_test.qif";
    {
        std::ofstream out(path, std::ios::binary);
        out << "!Type:Bank\nD31.12.2023\nPShop\nT-1.00\n^\nD1.1.2024\nPBak";
    }
    StatementFileReader reader(document);
    const StatementLines lines = reader.read(path.string(), StatementKind::QIF, nullptr);
    std::filesystem::remove(path);
    EXPECT_EQ(lines.size(), 1u);
    ASSERT_EQ(env.alerts().records().size(), 1u);
    EXPECT_EQ(env.alerts().records()[0].kind, RecordingAlertPresenter::Kind::Info);
    EXPECT_EQ(env.alerts().records()[0].alert.message, "QIFDATEORDERUSED\n\n313:1:::");
}

TEST(DefinitionDateTest, DatesAreReadInTheDefinitionsFieldOrder)
{
    // The user's own order is day first: it must not swap a month-first file.
    ImportEnvironment env;
    const struct {
        const char* pattern;
        const char* text;
        DateT date;
    } cases[] = {
        {"mm/dd/yy", "2/8/19", 20190208},          {"mm/dd/yy", "12/31/19", 20191231},
        {"mm/dd/yy", "02/08/2019", 20190208},      {"mm/dd/yy", "13/02/19", 0},   // no month 13: no date
        {"dd.mm.yyyy", "1.2.2019 00:00:00", 20190201}, {"dd/mm/yyyy", "31/02/2019", 0},
        {"yyyy-mm-dd", "2019-2-8", 20190208},     {"yyyymmdd", "20190208", 20190208},
        {"dd.mm.yyyy", "Closing balance", 0},      {"dd.mm.yy", "08.02.60", 19600208},
        // A date as a whole, or none.
        {"dd.mm.yy", "Balance (15.01.2009):", 0},  {"dd.mm.yy", "15.01.2009:", 0},
        {"dd.mm.yyyy", "15.01.2009 to 31.01.2009", 0}, {"yyyy-mm-dd", "2009-01-15T10:30:00+01:00", 20090115},
        {"mm/dd/yyyy", " 1/15/2009 9:15 AM ", 20090115},
    };
    for (const auto& c : cases)
        EXPECT_EQ(definitionDate(c.text, std::string(c.pattern)), c.date) << c.pattern << " " << c.text;
}

} // namespace
} // namespace ch::test
