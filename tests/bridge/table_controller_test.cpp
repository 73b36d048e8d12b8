// The booking-line table controller: values by column, sorting on clicks,
// amount colours, and the actions through the document.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTransactionDetailTableController.h"
#include "bridge/DeveloperLog.h"
#include "bridge/TextColours.h"
#include "bridge_test_support.h"

namespace ch::test {
namespace {

using Indicator = CTransactionDetailTableController::SortIndicator;

class TableControllerTest : public BooksTest {
protected:
    TableControllerTest()
    {
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Shop");
        document.addTransaction(20240105, 10, 11, 1, 10.0);
        document.addTransaction(20240120, 11, 10, 2, 1234.5);
        document.addTransaction(20240210, 10, 11, 1, 25.0);
        controller.setDocument(&document);
        controller.syncronizeWithObject(document.getAccountItemForId(10));
    }

    std::vector<std::string> column(std::string_view identifier)
    {
        std::vector<std::string> texts;
        for (std::uint32_t row = 0; row < controller.numberOfRows(); ++row)
            texts.push_back(controller.objectValue(identifier, static_cast<int>(row)).plainText());
        return texts;
    }

    CTransactionDetailTableController controller;
};

TEST_F(TableControllerTest, ShowsTheLinesNewestFirstByColumn)
{
    ASSERT_EQ(controller.numberOfRows(), 3u);
    EXPECT_EQ(column("date"), (std::vector<std::string>{"10.02.2024", "20.01.2024", "05.01.2024"}));
    EXPECT_EQ(column("amtl"), (std::vector<std::string>{"25.00", "1,234.50", "10.00"}));
    EXPECT_EQ(column("acnt"), (std::vector<std::string>{"Bank", "Bank", "Bank"}));
    EXPECT_EQ(column("ball"), (std::vector<std::string>{"1,199.50", "1,224.50", "-10.00"}));
    EXPECT_EQ(column("cost"), (std::vector<std::string>{"&a&", "&a&", "&a&"}));
    EXPECT_EQ(controller.objectValue("date", 7).plainText(), "");
}

TEST_F(TableControllerTest, ASecondClickReversesAndAnUnknownColumnIsIgnored)
{
    controller.didClickTableColumn("amtl");
    EXPECT_EQ(column("amtl"), (std::vector<std::string>{"1,234.50", "25.00", "10.00"}));
    EXPECT_EQ(controller.sortIndicator(), Indicator::Descending);
    controller.didClickTableColumn("amtl");
    EXPECT_EQ(column("amtl"), (std::vector<std::string>{"10.00", "25.00", "1,234.50"}));
    EXPECT_EQ(controller.sortIndicator(), Indicator::Ascending);

    controller.didClickTableColumn("cost");
    EXPECT_EQ(controller.lastColumn(), "amtl");
    EXPECT_EQ(controller.sortIndicator(), Indicator::Ascending);
    EXPECT_EQ(column("amtl"), (std::vector<std::string>{"10.00", "25.00", "1,234.50"}));

    // Another object keeps the chosen order.
    document.addAccount(12, 1, "Cash");
    document.addTransaction(20240301, 12, 11, 1, 3.0);
    document.addTransaction(20240302, 12, 11, 1, 1.0);
    controller.syncronizeWithObject(document.getAccountItemForId(12));
    EXPECT_EQ(column("amtl"), (std::vector<std::string>{"1.00", "3.00"}));
}

TEST_F(TableControllerTest, EveryColumnSortsAndReverses)
{
    // Names for the text column: the newest line is "b", then "c", then "a".
    const std::vector<std::string> names{"b rent", "c salary", "a food"};
    for (std::uint32_t row = 0; row < controller.numberOfRows(); ++row)
        controller.mAnalysisArray()->getObjectAtIndex(static_cast<int>(row) + 1)->parentTransaction()->setGetName(
            names[row]);
    struct Case {
        const char* column;
        std::vector<std::string> dates;   // after the first click
    };
    const std::vector<std::string> same{"10.02.2024", "20.01.2024", "05.01.2024"};
    for (const Case& c : std::vector<Case>{{"desc", {"05.01.2024", "10.02.2024", "20.01.2024"}},
                                           {"amtf", {"20.01.2024", "10.02.2024", "05.01.2024"}},
                                           {"amtl", {"20.01.2024", "10.02.2024", "05.01.2024"}},
                                           {"ball", {"20.01.2024", "10.02.2024", "05.01.2024"}},
                                           {"balf", {"20.01.2024", "10.02.2024", "05.01.2024"}},
                                           {"date", same}}) {
        controller.didClickTableColumn(c.column);
        EXPECT_EQ(column("date"), c.dates) << c.column;
        controller.didClickTableColumn(c.column);
        EXPECT_EQ(column("date"), (std::vector<std::string>(c.dates.rbegin(), c.dates.rend()))) << c.column;
    }
    // Columns whose values are alike here still take the click.
    for (const char* identifier : {"acnt", "fcur", "lcur"}) {
        controller.didClickTableColumn(identifier);
        EXPECT_EQ(controller.lastColumn(), identifier);
        EXPECT_EQ(controller.sortIndicator(), Indicator::Descending);
        EXPECT_EQ(controller.numberOfRows(), 3u);
    }
}

TEST_F(TableControllerTest, AmountColoursFollowLineTypeAndViewMode)
{
    // Rows: a debit (newest), a credit, a debit.
    struct Case {
        int mode;
        Colour debit;
        Colour credit;
    };
    const Colour red = getRedColor(), green = getGreenColor(), black = Colour::black();
    for (const Case& c : {Case{1, red, green}, Case{0, black, black}, Case{-1, green, red}}) {
        controller.setMIsProperty(c.mode);
        const StyledText debit = controller.objectValue("amtf", 0);
        EXPECT_EQ(debit.runs.at(0).colour, c.debit) << c.mode;
        EXPECT_EQ(debit.alignment, StyledText::Alignment::Right);
        EXPECT_EQ(controller.objectValue("amtl", 1).runs.at(0).colour, c.credit) << c.mode;
    }
    EXPECT_EQ(controller.makeFormattedString(-3.0, nullptr).runs.at(0).colour, black);
}

TEST_F(TableControllerTest, ActionsGoThroughTheDocument)
{
    controller.modifyTransactionAsked();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{225});
    EXPECT_TRUE(document.modified.empty());

    controller.setSelectedRow(1);
    auto selected = controller.currentTransaction();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->mDate(), 20240120);
    EXPECT_EQ(selected, registry.transactionItemForTrnS(selected->getSourceItem()));
    controller.modifyTransactionAsked();
    ASSERT_EQ(document.modified.size(), 1u);
    EXPECT_EQ(document.modified[0], selected);

    CTransactionDetailTableController unconnected;
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });
    unconnected.addGreenTransaction();
    EXPECT_EQ(log, std::vector<std::string>{"Please connect the outlet 'theDocument' to the nib owner"});
}

TEST_F(TableControllerTest, NewTransactionsStartFromTheShownObject)
{
    CNonVisual* bank = document.root().GetAccountForID(10);
    CNonVisual* shop = document.root().GetAccountForID(11);
    CNonVisual* income = document.root().GetExpenseTypeForID(2);
    CNonVisual* transfer = document.root().GetExpenseTypeForID(3);
    struct Case {
        CNonVisual* shown;
        bool green;
        CNonVisual* from;
        CNonVisual* to;
        CNonVisual* category;
        int type;
    };
    for (const Case& c : std::vector<Case>{{bank, true, nullptr, bank, nullptr, 1},
                                           {bank, false, bank, nullptr, nullptr, 0},
                                           {shop, true, shop, nullptr, nullptr, 1},
                                           {shop, false, nullptr, shop, nullptr, 0},
                                           {income, false, nullptr, nullptr, income, 1},
                                           {transfer, true, nullptr, nullptr, transfer, 2}}) {
        controller.syncronizeWithObject(registry.dataItemForObject(c.shown));
        controller.addTransaction(c.green);
        const TestDocument::TransactionInput& input = document.transactionInputs.back();
        EXPECT_EQ(input.from, c.from);
        EXPECT_EQ(input.to, c.to);
        EXPECT_EQ(input.category, c.category);
        EXPECT_EQ(input.type, c.type);
        EXPECT_EQ(input.action, 1);
        EXPECT_FALSE(input.recurring);
    }
}

} // namespace
} // namespace ch::test
