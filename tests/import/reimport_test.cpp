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

} // namespace
} // namespace ch::test
