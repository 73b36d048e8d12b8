// A statement imported twice: once its lines are booked, every line of the
// second import duplicates a booked transaction, in every format.

#include <gtest/gtest.h>

#include "import/ImportDefinition.h"
#include "import_test_support.h"
#include "model/CPreference.h"

namespace ch::test {
namespace {

class ReimportTest : public ImportTest {
protected:
    ReimportTest()
    {
        current = AddAccount("Current Account", books::kOwnPropertyType, "111-1111111-11")->Get_Id();
        AddAccount("Savings", books::kOwnPropertyType);
        const ObjectIdT card = AddAccount("Visa Card", books::kDebtType, "4111222233334444")->Get_Id();
        books.mPreference->Put_mDefaultCreditCardAccount(card);
        AddAccount("Restaurant", books::kProfitAndLossType);
        AddAccount("Corner Shop", books::kProfitAndLossType, "333-3333333-33");
        AddAccount("Employer NV", books::kProfitAndLossType);
        AddAccount("Withdrawal", books::kProfitAndLossType);
        AddAccount("Café \"de Kroon\"", books::kProfitAndLossType);
        AddCategory("Groceries", books::kExpenseGroup);
    }

    ObjectIdT current;
};

TEST_F(ReimportTest, EveryLineOfTheSecondImportIsADuplicate)
{
    const Dictionary bankExport = standardFileDescriptor();
    const struct {
        const char* fixture;
        StatementFormat format;
        const Dictionary* definition;
        const char* decimal;
        const char* thousands;
    } statements[] = {
        {"ofx/card_sgml.ofx", StatementFormat::Ofx, nullptr, ".", ","},
        {"qif/bank.qif", StatementFormat::Qif, nullptr, ".", ","},
        {"csv/bank_export.csv", StatementFormat::Delimited, &bankExport, ",", "."},
    };
    PendingImport& pending = document.pending();
    for (const auto& statement : statements) {
        SCOPED_TRACE(statement.fixture);
        env.useNotation(statement.decimal, statement.thousands);
        StatementImportResult first = Read(statement.fixture, statement.format, statement.definition);
        const std::size_t count = first.lines.size();
        ASSERT_GT(count, 0u);
        for (const auto& line : first.lines) EXPECT_TRUE(line->isComplete()) << line->mTitle() << ": " << line->mRemark();
        pending.install(statementLines(first.lines));
        EXPECT_EQ(pending.doActualImport(), count);

        StatementImportResult second = Read(statement.fixture, statement.format, statement.definition);
        ASSERT_EQ(second.lines.size(), count);
        pending.install(statementLines(second.lines));
        // Still duplicates when the whole list is completed again under its own stamp.
        pending.completeBankImport();
        for (const auto& line : pendingLines(pending)) {
            EXPECT_TRUE(line->hasDuplicate()) << line->mTitle();
            EXPECT_EQ(line->mRemark(), "IMPDUPL") << line->mTitle();
        }
        EXPECT_EQ(pending.doActualImport(), 0u);
        pending.clear();
    }
}

// An OFX statement of an account known by its IBAN (22 characters, more
// than the model's 19-character field), three purchases at the corner shop.
std::string IbanStatement(int year)
{
    std::string transactions;
    for (int i = 0; i < 3; ++i)
        transactions += "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>" + std::to_string(year) + "030" + std::to_string(5 + i) +
                        "<TRNAMT>-" +
                        std::to_string(10 + i) + ".00<FITID>" + std::to_string(500 + i) +
                        "<NAME>Corner Shop</STMTTRN>\n";
    return "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS><CURDEF>EUR\n"
           "<BANKACCTFROM><BANKID>37040044<ACCTID>DE89370400440532013000<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
           "<BANKTRANLIST>\n" +
           transactions + "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

TEST_F(ReimportTest, AnIbanStatementImportedTwiceAsksForTheAccountAtMostOnce)
{
    const std::string iban = "DE89370400440532013000";
    // The account as the user picks it on the first import, and as a file
    // written before the whole number was kept holds it (cut to 19).
    const struct {
        const char* storedNumber;
        int year;
        std::vector<long> firstQuestions;
    } cases[] = {
        {"111-1111111-11", 2024, {207}},
        {"DE89370400440532013000", 2025, {}},
    };
    PendingImport& pending = document.pending();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.storedNumber);
        CAccount* account = books.GetAccountForID(current);
        books.setBankAccountNumberT(c.storedNumber, account);
        env.alerts().clear();

        StatementImportResult first = readStatement(IbanStatement(c.year), StatementFormat::Ofx, document, nullptr);
        ASSERT_EQ(first.lines.size(), 3u);
        pending.install(statementLines(first.lines));
        if (!first.lines[0]->isComplete()) {
            env.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK: the statement's number is the account's
            first.lines[0]->setMOurAccountId(current);
        }
        EXPECT_EQ(env.alerts().numbers(), c.firstQuestions);
        // The number the user confirmed is kept whole.
        EXPECT_EQ(account->Get_StringRefBankAccountNumber(),
                  c.firstQuestions.empty() ? iban.substr(0, 19) : iban);
        for (const auto& line : first.lines) EXPECT_TRUE(line->isComplete()) << line->mRemark();
        EXPECT_EQ(pending.doActualImport(), 3u);

        env.alerts().clear();
        StatementImportResult second = readStatement(IbanStatement(c.year), StatementFormat::Ofx, document, nullptr);
        pending.install(statementLines(second.lines));
        pending.completeBankImport();
        EXPECT_TRUE(env.alerts().numbers().empty());
        for (const auto& line : second.lines) {
            EXPECT_EQ(line->mOurAccountId(), current);
            EXPECT_TRUE(line->hasDuplicate()) << line->mRemark();
        }
        pending.clear();
    }
}

} // namespace
} // namespace ch::test
