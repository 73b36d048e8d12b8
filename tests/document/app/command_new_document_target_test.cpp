#include "document/app/CommandNewDocumentTarget.h"

#include <gtest/gtest.h>

#include "../document_fixture.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"

namespace ch {
namespace {

class CommandNewDocumentTargetTest : public test::DocumentTest {};

TEST_F(CommandNewDocumentTargetTest, ThePlanIsCarriedOutAsJournaledCommandsThatMarkTheDocumentChanged)
{
    NewDocumentPlan plan;
    plan.currencies = {{"Swiss Franc", "CHF", true}, {"Euro", "EUR2", false}};
    plan.accounts = {{"Checking", kPropertyAccountType, 250.0, true},
                     {"Savings", kPropertyAccountType, 1000.0, false},
                     {"Employer", kProfitAndLossAccountType, 0.0, false}};
    plan.categories = {{"Fuel", 1, std::string("Car")}, {"Insurance", 1, std::nullopt}, {"Salary", 0, std::nullopt}};
    document->clearChangeCount();

    CommandNewDocumentTarget target(*document);
    executeNewDocumentPlan(plan, target);

    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(document->getHomeCurrency()->mShortName(), "CHF");
    ASSERT_NE(document->getCurrencyForSymbol("EUR2"), nullptr);
    CAccount* checking = document->getAccountForId(static_cast<ObjectIdT>(document->getDefaultOwnPropertyAccount()));
    ASSERT_NE(checking, nullptr);
    EXPECT_EQ(document->getAccountItemForId(checking->Get_Id())->getName(), "Checking");
    CAccount* savings = document->getAccountForName("Savings");
    ASSERT_NE(savings, nullptr);
    EXPECT_EQ(savings->Get_mAccountTypeId(), kPropertyAccountType);
    EXPECT_NE(document->getAccountForName("Employer"), nullptr);

    CMasterExpenseType* car = document->getMasterExpenseTypeForName("Car");
    ASSERT_NE(car, nullptr);
    CExpenseType* fuel = document->getExpenseTypeForName("Fuel");
    ASSERT_NE(fuel, nullptr);
    EXPECT_EQ(fuel->Get_mMasterExpensetypePtr(), car);
    // Without a path the category goes where the one before it went.
    EXPECT_EQ(document->getExpenseTypeForName("Insurance")->Get_mMasterExpensetypePtr(), car);
    EXPECT_NE(document->getExpenseTypeForName("Salary"), nullptr);

    // Every step is in the journal, so a crash right after the assistant loses nothing.
    const std::string journal = test::readFile(document->journalFileName());
    for (const char* number : {"<CommandNumber>7<", "<CommandNumber>6<", "<CommandNumber>12<",
                               "<CommandNumber>13<", "<CommandNumber>17<", "<CommandNumber>15<"})
        EXPECT_NE(journal.find(number), std::string::npos) << number;
}

} // namespace
} // namespace ch
