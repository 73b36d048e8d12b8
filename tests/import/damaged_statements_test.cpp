// Statements that reach the reader damaged or incomplete: a credit-card QIF
// file for books without a default card account, QIF records that lost a
// line or their "^", and OFX transactions whose tags are broken. Every
// record gives its line or is told, with the line it stands at.

#include <gtest/gtest.h>

#include <numeric>

#include "import/CQuickenData.h"
#include "import_test_support.h"
#include "model/CPreference.h"

namespace ch::test {
namespace {

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class DamagedStatementsTest : public ImportTest {
protected:
    DamagedStatementsTest()
    {
        for (const char* key : {"QIFRECORDUNENDED", "QIFTWODATES", "QIFTWOAMOUNTS", "QIFNOAMOUNT", "QIFLASTUNENDED",
                                "QIFNOCARDACCOUNT", "OFXMENDED", "OFXNOAMOUNT", "310", "313"})
            LocalizedStrings::shared().set(key, std::string(key) + ":%@");
        env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
        current = AddAccount("Current Account", books::kOwnPropertyType)->Get_Id();
        visa = AddAccount("Visa Card", books::kDebtType)->Get_Id();
    }

    static std::vector<double> Amounts(const StatementImportResult& result)
    {
        std::vector<double> amounts;
        for (const auto& line : result.lines) amounts.push_back(line->mAmount());
        return amounts;
    }

    ObjectIdT current = 0, visa = 0;
};

TEST_F(DamagedStatementsTest, ACreditCardFileWithoutAccountWaitsForItsOwnAccount)
{
    // New books have no default credit-card account.
    for (const char* date : {"02/22/11", "22/02/11"}) {
        SCOPED_TRACE(date);
        const StatementImportResult result = readStatement(
            std::string("!Type:CCard\nD") + date + "\nPPAYMENT\nT30.00\n^\nD02/12/11\nPSHOP\nT-12.50\n^\n",
            StatementFormat::Qif, document);
        EXPECT_EQ(result.error, 0);
        ASSERT_EQ(Amounts(result), (std::vector<double>{30.0, -12.5}));
        EXPECT_EQ(result.notes.back(), "QIFNOCARDACCOUNT:2");
        CImpTItem& line = *result.lines[0];
        EXPECT_EQ(line.mOurAccountId(), 0);
        EXPECT_TRUE(line.isOnDebtAccount());
        // Its category waits for the account as well.
        EXPECT_EQ(line.mRemark(), "IMPOWNACC\rIMPEXP");
        EXPECT_EQ(line.mValueDate(), 20110222);

        // The own account chosen on the import page settles the line.
        PendingImport& pending = document.pending();
        pending.install(statementLines(result.lines));
        line.setMBatch(true);
        line.setMOurAccountId(visa);
        EXPECT_TRUE(line.isComplete()) << line.mRemark();
        EXPECT_EQ(line.mToAccountId(), visa);
        pending.clear();
    }
    // A file that marks itself a card statement with "C*" still asks for the default.
    const StatementImportResult marked = readStatement("C*\nD02/22/11\nT30.00\n^\n", StatementFormat::Qif, document);
    EXPECT_EQ(marked.error, CQuickenData::kNoCreditCardAccountError);
}

TEST_F(DamagedStatementsTest, QifRecordsThatLostALineAreReadOrTold)
{
    const std::string whole = "!Type:Bank\n"
                              "D3/1/24\nT-1.00\nPA\n^\n"    // lines 2-5
                              "D3/2/24\nT-2.00\nPB\n^\n"    // lines 6-9
                              "D3/3/24\nT-3.00\nPC\n^\n";   // lines 10-13
    const std::vector<std::string> lines = LinesOf(whole);
    auto without = [&](std::initializer_list<std::size_t> gone) {
        std::vector<std::string> kept;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (std::find(gone.begin(), gone.end(), i + 1) == gone.end()) kept.push_back(lines[i]);
        return Joined(kept);
    };
    const struct {
        const char* what;
        std::string text;
        std::vector<double> amounts;
        std::vector<std::string> notes;
    } cases[] = {
        {"whole", whole, {-1.0, -2.0, -3.0}, {}},
        {"first ^ lost", without({5}), {-1.0, -2.0, -3.0}, {"QIFRECORDUNENDED:2"}},
        {"every ^ lost", without({5, 9, 13}), {-1.0, -2.0, -3.0}, {"QIFRECORDUNENDED:2, 5", "QIFLASTUNENDED:8"}},
        {"an amount lost", without({7}), {-1.0, -3.0}, {"QIFNOAMOUNT:6"}},
        {"an amount and a ^ lost", without({3, 5}), {-2.0, -3.0}, {"QIFTWODATES:2"}},
        {"a date and a ^ lost", without({5, 6}), {-1.0, -2.0, -3.0}, {"QIFRECORDUNENDED:2"}},
        {"cut at a line end in the last record", without({12, 13}), {-1.0, -2.0, -3.0}, {"QIFLASTUNENDED:10"}},
        // A split's own date (after its S line) is no second date; the next
        // record's is.
        {"a split record's ^ lost",
         "!Type:Bank\nD3/1/24\nT-3.00\nPA\nSFood\nD3/1/24\n$-1.00\nSRent\n$-2.00\nD3/2/24\nT-2.00\nPB\n^\n",
         {-3.0, -2.0}, {"QIFRECORDUNENDED:2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result = readStatement(c.text, StatementFormat::Qif, document);
        EXPECT_EQ(Amounts(result), c.amounts);
        EXPECT_EQ(result.notes, c.notes);
    }

    // Whatever one line is lost, or wherever inside a record the file is
    // cut, the file gives its three lines or says something.
    for (std::size_t gone = 1; gone <= lines.size(); ++gone) {
        const StatementImportResult result = readStatement(without({gone}), StatementFormat::Qif, document);
        EXPECT_TRUE(Amounts(result) == (std::vector<double>{-1.0, -2.0, -3.0}) || !result.notes.empty())
            << "without line " << gone;
    }
    for (std::size_t kept = 1; kept < lines.size(); ++kept) {
        // A cut right after a "^" leaves nothing to tell it by.
        if (lines[kept - 1] == "^") continue;
        const StatementImportResult result = readStatement(
            Joined(std::vector<std::string>(lines.begin(), lines.begin() + kept)), StatementFormat::Qif, document);
        EXPECT_TRUE(Amounts(result) == (std::vector<double>{-1.0, -2.0, -3.0}) || !result.notes.empty())
            << "cut after line " << kept;
    }
}

std::string OfxTransaction(int i)
{
    return "<STMTTRN>\n<TRNTYPE>DEBIT\n<DTPOSTED>2024030" + std::to_string(i) + "\n<TRNAMT>-" + std::to_string(i) +
           ".00\n<FITID>" + std::to_string(i) + "\n<NAME>Shop " + std::to_string(i) + "\n</STMTTRN>\n";
}

std::string OfxFile(const std::string& transactions)
{
    return "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX>\n<BANKMSGSRSV1>\n<STMTTRNRS>\n<STMTRS>\n<CURDEF>EUR\n"
           "<BANKACCTFROM>\n<ACCTID>111\n</BANKACCTFROM>\n<BANKTRANLIST>\n" +
           transactions + "</BANKTRANLIST>\n</STMTRS>\n</STMTTRNRS>\n</BANKMSGSRSV1>\n</OFX>\n";
}

TEST_F(DamagedStatementsTest, OfxTransactionsWithDamagedTagsAreReadAndTold)
{
    const std::vector<double> all{-1.0, -2.0, -3.0, -4.0, -5.0};
    std::string before, after;
    for (int i = 1; i <= 2; ++i) before += OfxTransaction(i);
    for (int i = 4; i <= 5; ++i) after += OfxTransaction(i);
    const std::string third = OfxTransaction(3);
    const std::string opening = "<STMTTRN>";
    const std::string closing = "</STMTTRN>";

    // Each character of the third transaction's opening tag lost: read from
    // what it holds, and told.
    for (std::size_t i = 0; i < opening.size(); ++i) {
        std::string damaged = third;
        damaged.erase(i, 1);
        SCOPED_TRACE(damaged.substr(0, 12));
        const StatementImportResult result = readStatement(OfxFile(before + damaged + after), StatementFormat::Ofx, document);
        EXPECT_EQ(Amounts(result), all);
        EXPECT_FALSE(result.notes.empty());
    }
    // Each character of its closing tag lost: every transaction read.
    const std::size_t close = third.find(closing);
    for (std::size_t i = 0; i < closing.size(); ++i) {
        std::string damaged = third;
        damaged.erase(close + i, 1);
        SCOPED_TRACE(damaged.substr(close));
        const StatementImportResult result = readStatement(OfxFile(before + damaged + after), StatementFormat::Ofx, document);
        EXPECT_EQ(Amounts(result), all);
    }

    // The third's closing and the fourth's opening tags lost: one transaction
    // holds two, read as two and told with the line it begins at.
    std::string merged = before + third.substr(0, close) + after.substr(opening.size() + 1);
    const StatementImportResult twoInOne = readStatement(OfxFile(merged), StatementFormat::Ofx, document);
    EXPECT_EQ(Amounts(twoInOne), all);
    EXPECT_EQ(twoInOne.notes, std::vector<std::string>{"OFXMENDED:28, 33"});

    // A transaction without an amount is marked, and told with its line.
    std::string noAmount = third;
    noAmount.erase(noAmount.find("<TRNAMT>"), std::string("<TRNAMT>-3.00\n").size());
    const StatementImportResult unread = readStatement(OfxFile(before + noAmount + after), StatementFormat::Ofx, document);
    ASSERT_EQ(unread.lines.size(), 5u);
    EXPECT_TRUE(unread.lines[2]->amountUnread());
    EXPECT_NE(std::find(unread.notes.begin(), unread.notes.end(), "OFXNOAMOUNT:27"), unread.notes.end());
}

} // namespace
} // namespace ch::test
