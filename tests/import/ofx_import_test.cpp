// OFX statements, SGML and XML, bank and credit card, into completed import lines.

#include <gtest/gtest.h>

#include <stdexcept>

#include "import/COFXParser.h"
#include "import/OfxTree.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

class OfxImportTest : public ImportTest {
protected:
    OfxImportTest()
    {
        current = AddAccount("Current Account", books::kOwnPropertyType, "111-2223334-55")->Get_Id();
        savings = AddAccount("Savings", books::kOwnPropertyType, "999-8887776-65")->Get_Id();
        card = AddAccount("Visa Card", books::kDebtType, "4111222233334444")->Get_Id();
        supermarket = AddAccount("Supermarket", books::kProfitAndLossType)->Get_Id();
        restaurant = AddAccount("Restaurant", books::kProfitAndLossType)->Get_Id();
        employer = AddAccount("Employer", books::kProfitAndLossType)->Get_Id();
    }

    ObjectIdT current, savings, card, supermarket, restaurant, employer;
};

TEST_F(OfxImportTest, Ofx1BankStatementWithUnclosedElementsIn1252)
{
    const StatementImportResult result = Read("ofx/bank_sgml.ofx", StatementFormat::Ofx);
    EXPECT_EQ(result.error, 0);
    using namespace books;
    const std::vector<LineView> expected = {
        {"Debit : Supermarket", -12.5, 20240305, 20240305, current, supermarket, kExpenseCategory, kEUR, "", true},
        // The user date is the value date; nobody of that name is known.
        {"Credit : Café Müller & Söhne", 1500.0, 20240306, 20240304, current, 0, 0, kEUR,
         "IMPOTHACC\rIMPOWN\rIMPEXP", false},
        // The payee block names the counterparty; its account number finds our savings account.
        {"Transfer : Savings Bank", -200.0, 20240307, 20240307, current, savings, kTransferCategory, kEUR, "", true},
        // A posting date of four characters is no date, and the type without a text shows its key.
        {"Ofxfee : Account Fee", -2.6, 0, 0, current, 0, 0, kEUR, "IMPDATA\rIMPOTHACC\rIMPEXP", false},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    ASSERT_EQ(result.lines.size(), 4u);

    const CImpTItem& debit = *result.lines[0];
    EXPECT_EQ(debit.mTransactionDescription(), "Card 1234 groceries & more");
    EXPECT_EQ(debit.mOriginalBookingDate(), "20240305120000.000[-5:EST]");
    EXPECT_EQ(debit.mFromAccountId(), current);
    EXPECT_EQ(debit.mToAccountId(), supermarket);
    EXPECT_EQ(result.lines[1]->mDocumentRef(), "77");
    EXPECT_EQ(result.lines[1]->mTransactionDescription(), "Café Müller & Söhne");
    const CImpTItem& transfer = *result.lines[2];
    EXPECT_EQ(transfer.mDocumentRef(), "R-9");
    EXPECT_EQ(transfer.mForeignAccountNumber(), "999-8887776-65");
    EXPECT_EQ(transfer.mPartnerAdress(), "Main Street 1\rFloor 2");
    EXPECT_EQ(transfer.mPartnerCity(), "3000 Leuven");
    EXPECT_EQ(result.lines[3]->mTransactionDescription(), "Account fee");
    EXPECT_EQ(result.lines[3]->mOriginalAmount(), "-2,60");
    for (const auto& line : result.lines) EXPECT_FALSE(line->isOnDebtAccount());
    EXPECT_TRUE(env.alerts().records().empty());
}

TEST_F(OfxImportTest, Ofx1CreditCardStatement)
{
    const StatementImportResult result = Read("ofx/card_sgml.ofx", StatementFormat::Ofx);
    using namespace books;
    const std::vector<LineView> expected = {
        {"Debit : Restaurant", -45.1, 20240308, 20240308, card, restaurant, kExpenseCategory, kEUR, "", true},
        // Paid off from our current account: a transfer.
        {"Credit : Current Account", 300.0, 20240309, 20240309, card, current, kTransferCategory, kEUR, "", true},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    for (const auto& line : result.lines) EXPECT_TRUE(line->isOnDebtAccount());
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[1]->mFromAccountId(), current);
    EXPECT_EQ(result.lines[1]->mToAccountId(), card);
}

TEST_F(OfxImportTest, Ofx2BankStatementsComeBeforeCardStatements)
{
    const StatementImportResult result = Read("ofx/card_and_bank.ofx", StatementFormat::Ofx);
    using namespace books;
    const std::vector<LineView> expected = {
        {"Credit : Employer", 2500.0, 20240301, 20240301, current, employer, kIncomeCategory, kEUR, "", true},
        // CDATA and blanks around a name do not count; CURSYM wins over CURDEF.
        {"Debit : Restaurant", -45.1, 20240302, 20240302, card, restaurant, kExpenseCategory, kEUR, "", true},
        {"Debit : Web Shop", -9.99, 20240303, 20240303, card, 0, 0, 0, "IMPOTHACC\rIMPOWN\rIMPCUR\rIMPEXP", false},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    ASSERT_EQ(result.lines.size(), 3u);
    EXPECT_EQ(result.lines[0]->mTransactionDescription(), "Salary & bonus");
    EXPECT_FALSE(result.lines[0]->isOnDebtAccount());
    EXPECT_TRUE(result.lines[2]->isOnDebtAccount());
    EXPECT_EQ(result.lines[2]->mCurrency(), "USD");
}

TEST_F(OfxImportTest, DamagedAndHostileFiles)
{
    // Not well-formed XML (a bare "&"): read the tolerant way.
    StatementImportResult result = Read("ofx/bare_ampersand.ofx", StatementFormat::Ofx);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0]->mPartnerName(), "Fish & Chips");
    EXPECT_EQ(result.lines[1]->mAmount(), -4.0);

    // Entities are neither expanded nor fetched.
    result = Read("ofx/entities.ofx", StatementFormat::Ofx);
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_LT(result.lines[0]->mPartnerName().size(), 8u);
    EXPECT_EQ(result.lines[0]->mTransactionDescription().find("root"), std::string::npos);
    EXPECT_EQ(result.lines[0]->mAmount(), -1.0);

    const struct {
        std::string bytes;
        long error;
    } refusals[] = {
        {"", COFXParser::kUnreadableFileError},
        {ReadBytes(FixturePath("ofx/no_ofx.ofx")), COFXParser::kNoOfxError},
        {"<?xml version=\"1.0\"?><statement/>", COFXParser::kNoOfxError},   // well-formed, but no OFX
    };
    for (const auto& refusal : refusals) {
        env.alerts().clear();
        result = readStatement(refusal.bytes, StatementFormat::Ofx, document);
        EXPECT_EQ(result.error, refusal.error) << refusal.bytes;
        EXPECT_TRUE(result.lines.empty());
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{refusal.error});
    }
}

TEST_F(OfxImportTest, AFailureWhileReadingTheStatementsIsReported)
{
    // A document that fails when its books are asked for.
    struct FailingDocument : BooksImportDocument {
        using BooksImportDocument::BooksImportDocument;
        CDocAccounting& books() override { throw std::runtime_error("books gone"); }
    } failing{books};
    const StatementImportResult result =
        readStatement(ReadBytes(FixturePath("ofx/card_sgml.ofx")), StatementFormat::Ofx, failing);
    EXPECT_EQ(result.error, COFXParser::kUnreadableStatementError);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{COFXParser::kUnreadableStatementError});
}

TEST_F(OfxImportTest, DatesAndAmountsAsOfxWritesThem)
{
    const std::pair<const char*, DateT> dates[] = {
        {"20060315120000[-5:EST]", 20060315}, {"20060315", 20060315}, {"2006", 0},     {"", 0},
        {"20061399", 0},                      {"2006-03-15", 0},      {"00000000", 0}, {"20240229", 20240229},
    };
    for (const auto& [text, date] : dates) EXPECT_EQ(COFXParser::parseOFXDate(text), date) << text;

    // OFX writes no grouping: "1.234" is one and a bit in any notation. What
    // reads in no way is none, never 0 nor the digits before the exponent.
    const std::pair<const char*, std::optional<double>> amounts[] = {
        {"-12.50", -12.5}, {"+7490.73", 7490.73}, {"-2,60", -2.6}, {" 3.5 ", 3.5},     {"1.234", 1.234},
        {"0.00", 0.0},     {"", std::nullopt},    {"1e999", std::nullopt},          {"12 EUR", std::nullopt},
        {"1,234.56", 1234.56},
    };
    for (const auto& [text, amount] : amounts) EXPECT_EQ(COFXParser::amountOf(text), amount) << text;
}

TEST_F(OfxImportTest, AmountsAreRoundedToTheirCurrencysDecimals)
{
    const struct {
        const char* currency;
        const char* amount;
        double read;
    } cases[] = {
        {"EUR", "-12.345000000001", -12.35}, {"EUR", "-0.125", -0.13},        {"EUR", "2.675", 2.68},
        {"EUR", "10.004999999999", 10.0},    {"EUR", "0.333333333333", 0.33}, {"EUR", "-0,004", 0.0},
        {"JPY", "1234.5", 1235.0},           {"USD", "99.999", 100.0},
    };
    std::string transactions;
    for (const auto& c : cases)
        transactions += std::string("<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20240301<TRNAMT>") + c.amount +
                        "<NAME>Shop<CURRENCY><CURSYM>" + c.currency + "</CURRENCY></STMTTRN>\n";
    const std::string text = "OFXHEADER:100\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>EUR"
                             "<BANKACCTFROM><ACCTID>111-2223334-55</BANKACCTFROM><BANKTRANLIST>\n" +
                             transactions + "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Ofx, document);
    ASSERT_EQ(result.lines.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(result.lines[i]->mAmount(), cases[i].read) << cases[i].amount;
        EXPECT_EQ(result.lines[i]->mOriginalAmount(), cases[i].amount);
    }
}

TEST(OfxTreeTest, UnclosedSgmlElementsBecomeATree)
{
    // A leaf ends at the next tag; an element closed later holds what comes
    // before its closing tag; a closing tag closes the elements inside it.
    const auto document =
        readOfxSgml("<OFX><A><B>one<C>two\n</C><D><E>three</A><F></F><G>\n<H>four<D>x</D></OFX>");
    const OfxNode& ofx = *document->child("OFX");
    const OfxNode& a = *ofx.child("A");
    EXPECT_EQ(a.child("B")->stringValue(), "one");
    EXPECT_EQ(a.child("C")->stringValue(), "two");
    ASSERT_NE(a.child("D"), nullptr);
    EXPECT_EQ(a.child("D")->child("E")->stringValue(), "three");   // D is closed by </A>
    EXPECT_EQ(ofx.child("F")->stringValue(), "");
    EXPECT_EQ(ofx.child("G")->children().size(), 0u);              // never closed: an empty leaf
    EXPECT_EQ(ofx.child("H")->stringValue(), "four");
    EXPECT_EQ(a.stringValue(), "onetwothree");

    // Deep nesting stays within bounds; a lone "<" is text.
    std::string deep = "<OFX>";
    for (int i = 0; i < 100000; ++i) deep += "<X>";
    deep += "a < b";
    for (int i = 0; i < 100000; ++i) deep += "</X>";
    const auto nested = readOfxSgml(deep + "</OFX>");
    EXPECT_EQ(nested->child("OFX")->stringValue(), "a < b");
}

} // namespace
} // namespace ch::test
