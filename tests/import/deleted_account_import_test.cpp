// Pending statement lines whose account is deleted before booking: the line
// takes only what its statement names, else says so and books nothing until
// the user chooses again; booking never makes a transaction on an account
// the books no longer hold.

#include <gtest/gtest.h>

#include <cmath>

#include "../document/document_fixture.h"
#include "document/StatementImport.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "import/CImpTItem.h"
#include "import/DocumentImport.h"
#include "import/ImportPageActions.h"
#include "import/InstallStatementImport.h"
#include "import/StatementImport.h"
#include "model/CAccount.h"
#include "platform/core/localized_strings.h"

namespace ch::test {
namespace {

class DeletedAccountImportTest : public DocumentTest {
protected:
    DeletedAccountImportTest()
    {
        installStatementImport(*document);
        arguments::CategoryParameters values;
        values.name = "Groceries";
        values.mParentId = 1;
        values.mMasterTypeId = 1;
        groceries = document->commandExecutor().executeCommand(15, nullptr, values);
        current = account("Current Account", books::kOwnPropertyType, "111-1111111-11");
        savings = account("Savings", books::kOwnPropertyType, nullptr);
        // A shop whose default category is no unspecified one: a line that
        // lost it must not fall back on the unspecified expenses account.
        shop = account("Shop North", books::kProfitAndLossType, nullptr);
        root().GetAccountForID(shop)->Put_mDefaultExpenseType(groceries);
        baker = account("Baker", books::kProfitAndLossType, nullptr);
    }

    ObjectIdT account(const char* name, ObjectIdT type, const char* bankNumber)
    {
        arguments::AccountArguments values(-1, std::string(name), std::string(), type, std::nullopt, std::nullopt,
                                           std::nullopt, std::nullopt,
                                           bankNumber ? std::optional<std::string>(bankNumber) : std::nullopt,
                                           100.0, std::nullopt);
        return document->commandExecutor().executeCommand(13, nullptr, values);
    }

    // One pending line on the current account whose statement names no
    // counter account the books know.
    std::shared_ptr<CImpTItem> pendingLine()
    {
        auto line = std::make_shared<CImpTItem>();
        line->setMOurAccountNumber("111-1111111-11");
        line->setMPartnerName("Bob");
        line->setMTitle("Bread");
        line->setMAmount(-12.0);
        line->setMBookingDate(20240302);
        line->setMValueDate(20240302);
        line->setMCurrency("EUR");
        line->setDocument(&importDocument);
        line->autoComplete();
        document->statementImport().setMImportedTransactionArray(statementLines(std::vector{line}));
        return line;
    }

    // As the accounts page deletes: with the question, answered OK.
    void deleteAccount(ObjectIdT id)
    {
        environment.alerts().scriptAnswer(AlertAnswer::Alternate);
        ASSERT_TRUE(document->deleteObject(document->getAccountItemForId(id), true));
        ASSERT_EQ(root().GetAccountForID(id), nullptr);
    }

    static bool says(const CImpTItem& line, const char* key)
    {
        return line.mRemark().find(localized(key)) != std::string::npos;
    }

    std::size_t bookings() const
    {
        return document->mTransactionArray().size() + document->mUnlinkedTransactionArray().size();
    }

    DocumentImport importDocument{*document};
    ImportPageActions actions{*document};
    ObjectIdT groceries = 0, current = 0, savings = 0, shop = 0, baker = 0;
};

TEST_F(DeletedAccountImportTest, ALineWhoseChosenCounterAccountIsDeletedWaitsForAnotherChoice)
{
    const std::shared_ptr<CImpTItem> line = pendingLine();
    ASSERT_TRUE(says(*line, "IMPOTHACC"));
    ASSERT_TRUE(actions.choose(*line, LineChoice::CounterAccount, shop));
    ASSERT_TRUE(line->isComplete()) << line->mRemark();
    ASSERT_EQ(line->mToAccountId(), shop);

    deleteAccount(shop);
    // The deletion completed the pending line again: it says why it waits.
    EXPECT_FALSE(line->isComplete());
    EXPECT_EQ(line->mComplete(), "-");
    EXPECT_TRUE(says(*line, "IMPOTHACC")) << line->mRemark();
    EXPECT_EQ(line->mOtherAccountId(), 0);
    EXPECT_NE(line->mFromAccountId(), shop);
    EXPECT_NE(line->mToAccountId(), shop);
    EXPECT_EQ(actions.chosenName(*line, LineChoice::CounterAccount), "");
    // Completing again (any other choice does) finds no stand-in.
    document->statementImport().completeBankImport();
    EXPECT_FALSE(line->isComplete());
    EXPECT_EQ(line->mOtherAccountId(), 0);

    const BookingOutcome kept = actions.bookAcceptedLines();
    EXPECT_EQ(kept.booked, 0);
    EXPECT_EQ(kept.incomplete, 1);
    EXPECT_EQ(bookings(), 0u);
    ASSERT_EQ(actions.lines().size(), 1u);

    // Another counter account: the line books on it.
    ASSERT_TRUE(actions.choose(*line, LineChoice::CounterAccount, baker));
    EXPECT_TRUE(line->isComplete()) << line->mRemark();
    const BookingOutcome booked = actions.bookAcceptedLines();
    EXPECT_EQ(booked.booked, 1);
    EXPECT_TRUE(actions.lines().empty());
    ASSERT_EQ(document->mTransactionArray().size(), 1u);
    EXPECT_EQ(std::fabs(root().GetAccountForID(baker)->Get_mBalance()), 12.0);
    EXPECT_EQ(std::fabs(root().GetAccountForID(current)->Get_mBalance()), 12.0);
}

TEST_F(DeletedAccountImportTest, ALineWhoseOwnAccountIsDeletedGoesBackToTheStatementsOrWaits)
{
    const ObjectIdT cash = account("Cash", books::kOwnPropertyType, nullptr);
    const std::shared_ptr<CImpTItem> line = pendingLine();
    ASSERT_EQ(line->mOurAccountId(), current);
    ASSERT_TRUE(actions.choose(*line, LineChoice::CounterAccount, baker));
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // 207: savings keeps its number
    ASSERT_TRUE(actions.choose(*line, LineChoice::OwnAccount, savings));
    ASSERT_EQ(line->mOurAccountId(), savings);
    ASSERT_TRUE(line->isComplete()) << line->mRemark();

    // The account the statement's number names.
    deleteAccount(savings);
    EXPECT_EQ(line->mOurAccountId(), current);
    EXPECT_TRUE(line->isComplete()) << line->mRemark();

    // None left: the line says so and waits.
    deleteAccount(current);
    EXPECT_FALSE(line->isComplete());
    EXPECT_TRUE(says(*line, "IMPOWNACC")) << line->mRemark();
    EXPECT_EQ(line->mOurAccountId(), 0);
    EXPECT_EQ(line->mFromAccountId(), 0);
    EXPECT_EQ(actions.bookAcceptedLines().booked, 0);
    EXPECT_EQ(bookings(), 0u);

    ASSERT_TRUE(actions.choose(*line, LineChoice::OwnAccount, cash));
    EXPECT_TRUE(line->isComplete()) << line->mRemark();
    EXPECT_EQ(actions.bookAcceptedLines().booked, 1);
    EXPECT_EQ(std::fabs(root().GetAccountForID(cash)->Get_mBalance()), 12.0);
}

// An account taken out of the books by a path that tells no one: booking
// itself finds out and books nothing.
TEST_F(DeletedAccountImportTest, BookingChecksTheLinesAccountsAreStillThere)
{
    const std::shared_ptr<CImpTItem> line = pendingLine();
    ASSERT_TRUE(actions.choose(*line, LineChoice::CounterAccount, shop));
    ASSERT_TRUE(line->isComplete()) << line->mRemark();
    ASSERT_TRUE(root().DeleteObject(root().GetAccountForID(shop)));
    ASSERT_TRUE(line->isComplete()) << "nobody told the line";

    const BookingOutcome outcome = actions.bookAcceptedLines();
    EXPECT_EQ(outcome.booked, 0);
    EXPECT_EQ(outcome.incomplete, 1);
    EXPECT_EQ(bookings(), 0u);
    EXPECT_TRUE(says(*line, "IMPOTHACC")) << line->mRemark();
    EXPECT_EQ(line->mOtherAccountId(), 0);
}

} // namespace
} // namespace ch::test
