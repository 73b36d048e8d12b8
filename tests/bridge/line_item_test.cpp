// The booking-line item: its dictionary, setters, colours, classification
// and VAT counterparty.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/CDebetItem.h"
#include "bridge/TextColours.h"
#include "bridge_test_support.h"
#include "model/CAccountOwner.h"

namespace ch::test {
namespace {

class LineItemTest : public BooksTest {
protected:
    LineItemTest()
    {
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Shop");
        document.addAccount(12, 2, "Loan");
    }

    std::shared_ptr<CTrnSItem> transaction(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount)
    {
        return document.transactionItem(document.addTransaction(20240305, from, to, category, amount));
    }
};

TEST_F(LineItemTest, ForeignLineSurvivesItsDictionary)
{
    document.addCurrency(50, "USD", 1, 0.9);
    auto source = transaction(10, 11, 1, 9.0)->mFromList()[0];
    source->setCurrencyId(50);
    source->setGetForeignAmount(10.0);
    ASSERT_DOUBLE_EQ(*source->getLocalAmount(), 9.0);

    const Dictionary dictionary = source->dictionaryRepresentation();
    EXPECT_EQ(dictionary["ObjectType"].toString(), "DebT");
    EXPECT_EQ(dictionary["AccountName"].toString(), "Bank");
    EXPECT_EQ(dictionary["Amount"].toDouble(), 10.0);   // in the line's own currency

    // Through the line itself and through a new line of another transaction.
    auto target = transaction(12, 11, 1, 3.0);
    auto line = target->mFromList()[0];
    ASSERT_TRUE(line->updateFromDictionary(dictionary));
    ASSERT_TRUE(target->addDetailAsCopyOfDictionary(dictionary));
    for (const auto& copy : {line, target->mFromList().at(1)}) {
        EXPECT_EQ(copy->account(), 10);
        EXPECT_EQ(copy->currencyId(), 50);
        EXPECT_DOUBLE_EQ(*copy->getForeignAmount(), 10.0);
        EXPECT_DOUBLE_EQ(*copy->getLocalAmount(), 9.0);
    }
}

TEST_F(LineItemTest, AccountByNameChangesOnlyWhenTheNameIsKnown)
{
    auto item = transaction(10, 11, 1, 5.0);
    auto debit = item->mFromList()[0];
    debit->setAccountName("No such account");
    EXPECT_EQ(debit->account(), 10);
    debit->setAccountName("loan");
    EXPECT_EQ(debit->account(), 12);
}

TEST_F(LineItemTest, ColoursAndPlacesByLineAndAccountKind)
{
    auto item = transaction(10, 11, 1, 5.0);       // bank -> shop, for an expense
    auto income = transaction(11, 10, 2, 5.0);     // shop -> bank, for income
    income->mForList()[0]->setGetForeignAmount(-5.0);
    auto expenseBack = transaction(10, 11, 1, 5.0);
    expenseBack->mForList()[0]->setGetForeignAmount(-5.0);

    struct Case {
        const char* what;
        std::shared_ptr<CDebetItem> line;
        Colour colour;
        int place;
    };
    const Colour red = getRedColor(), green = getGreenColor();
    for (const Case& c : std::vector<Case>{
             {"debit on an own account", item->mFromList()[0], red, 1},
             {"credit on a profit-and-loss account", item->mToList()[0], red, 4},
             {"credit on an own account", income->mToList()[0], green, 1},
             {"debit on a profit-and-loss account", income->mFromList()[0], red, 4},
             {"expense", item->mForList()[0], red, 0},
             {"negative expense", expenseBack->mForList()[0], green, 0},
             {"negative income", income->mForList()[0], red, 1},
         }) {
        EXPECT_EQ(c.line->tableTextColor(), c.colour) << c.what;
        EXPECT_EQ(c.line->isOnPLAccount(), c.place) << c.what;
    }
    EXPECT_EQ(CDebetItem().tableTextColor(), Colour::black());
    EXPECT_EQ(CDebetItem().isOnPLAccount(), 3);
}

TEST_F(LineItemTest, CounterpartyIsTheVATNumberOrTheOwnerOfTheMainToLine)
{
    auto item = transaction(10, 11, 1, 5.0);
    auto line = item->mFromList()[0];
    bool own = false;

    item->setMVatNR("BE0123456789");
    EXPECT_EQ(line->counterPartyVATId(own), "BE0123456789");
    EXPECT_FALSE(own);

    // A short number is no number: the shop's owner counts. First ourselves.
    item->setMVatNR("12345");
    EXPECT_EQ(line->counterPartyVATId(own), "Me");
    EXPECT_TRUE(own);

    CAccountOwner* acme = document.root().InsertAccountOwner(7, "Acme", std::nullopt, std::nullopt, std::nullopt,
                                                              std::nullopt, std::nullopt, std::nullopt);
    document.root().GetAccountForID(11)->Put_mAccountOwnerId(7);
    EXPECT_EQ(line->counterPartyVATId(own), "Acme");
    EXPECT_FALSE(own);
    acme->Put_mCFVATNr("BE0999999999");
    EXPECT_EQ(item->mForList()[0]->counterPartyVATId(own), "BE0999999999");

    document.root().GetAccountForID(11)->Put_mAccountOwnerId(99);
    EXPECT_EQ(line->counterPartyVATId(own), "Na");
}

} // namespace
} // namespace ch::test
