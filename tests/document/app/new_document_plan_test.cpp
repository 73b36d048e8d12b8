#include "document/app/NewDocumentPlan.h"

#include <gtest/gtest.h>

#include <map>

#include "assistant_fixture.h"
#include "document/app/NewDocumentAssistant.h"

namespace ch {
namespace {

using test::rowOf;

TEST(NewDocumentPlan, CurrencySymbolFromTheEntryOrAParenthesisedCode)
{
    struct Case {
        const char* symbol;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"", "Swiss Franc (CHF)", "CHF"},
        {"", "Yen", "Yen"},
        {"", "Bitcoin", "Bitcoin"},        // not cut to its letters 4 to 2 from the end
        {"", "Euro (eur)", "eur"},
        {"", "(ABC)", "ABC"},
        {"", "Points (AB1)", "Points (AB1)"},
        {"", "Gold (XAU", "Gold (XAU"},
        {"", "Frank (CHF) ", "Frank (CHF) "},
        {"EUR", "Euro (DEM)", "EUR"},      // the entry's own symbol wins
    };
    for (const Case& c : cases)
        EXPECT_EQ(currencySymbolFor(c.symbol, c.name), c.expected) << c.name;
}

// A document that records the commands and knows some category groups.
class RecordingTarget : public NewDocumentTarget {
public:
    std::vector<std::string> log;
    std::map<std::string, long> groups; // name -> id, anywhere in the document
    long nextGroupId = 100;
    bool failGroups = false;

    void modifyHomeCurrency(const PlannedCurrency& c) override { log.push_back("7 " + c.name + " " + c.symbol); }
    void createCurrency(const PlannedCurrency& c) override { log.push_back("6 " + c.name + " " + c.symbol); }
    void modifyDefaultPropertyAccount(const PlannedAccount& a) override
    {
        log.push_back("12 " + a.name + " type " + std::to_string(a.accountTypeId) + " balance " +
                      std::to_string(int(a.initialBalance)));
    }
    void createAccount(const PlannedAccount& a) override
    {
        log.push_back("13 " + a.name + " type " + std::to_string(a.accountTypeId) + " balance " +
                      std::to_string(int(a.initialBalance)));
    }
    std::optional<long> findCategoryGroup(const std::string& name) override
    {
        auto it = groups.find(name);
        return it == groups.end() ? std::nullopt : std::optional<long>(it->second);
    }
    long createCategoryGroup(const std::string& name, long parentId, long masterType) override
    {
        log.push_back("17 " + name + " in " + std::to_string(parentId) + " kind " + std::to_string(masterType));
        if (failGroups)
            return -1;
        groups[name] = nextGroupId;
        return nextGroupId++;
    }
    void createCategory(const std::string& name, long parentId) override
    {
        log.push_back("15 " + name + " in " + std::to_string(parentId));
    }
};

using Log = std::vector<std::string>;

TEST(NewDocumentPlan, GroupPathsAreFoundOrMadeAndCarryOverWithinAList)
{
    struct Case {
        const char* name;
        std::vector<PlannedCategory> categories;
        std::map<std::string, long> existing;
        bool failGroups;
        Log log;
    };
    const Case cases[] = {
        {"path made, next category follows it",
         {{"Fuel", 1, "Car/Fuel"}, {"Oil", 1, std::nullopt}},
         {},
         false,
         {"17 Car in 1 kind 1", "17 Fuel in 100 kind 1", "15 Fuel in 101", "15 Oil in 101"}},
        {"groups found anywhere are used",
         {{"Fuel", 1, "Car/Fuel"}},
         {{"Car", 40}, {"Fuel", 55}},
         false,
         {"15 Fuel in 55"}},
        {"the parent starts at the system type of each list",
         {{"Salary", 0, "Work"}, {"Food", 1, std::nullopt}, {"Tip", 0, std::nullopt}, {"Move", 2, std::nullopt}},
         {},
         false,
         {"17 Work in 0 kind 0", "15 Salary in 100", "15 Food in 1", "15 Tip in 0", "15 Move in 2"}},
        {"empty levels are skipped",
         {{"Fuel", 1, "/Car//Fuel/"}, {"Misc", 1, "/"}},
         {},
         false,
         {"17 Car in 1 kind 1", "17 Fuel in 100 kind 1", "15 Fuel in 101", "15 Misc in 1"}},
        {"a group that cannot be made ends the path",
         {{"Fuel", 1, "Car/Fuel"}},
         {},
         true,
         {"17 Car in 1 kind 1", "15 Fuel in 1"}},
    };
    for (const Case& c : cases) {
        RecordingTarget target;
        target.groups = c.existing;
        target.failGroups = c.failGroups;
        NewDocumentPlan plan;
        plan.categories = c.categories;
        executeNewDocumentPlan(plan, target);
        EXPECT_EQ(target.log, c.log) << c.name;
    }
}

struct AssistantPlan : test::AssistantTest {};

TEST_F(AssistantPlan, TheSelectedListsBecomeCommandsInOrder)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    a.next(); // currencies: Euro ticked and default
    for (const char* name : {"Swiss Franc (CHF)", "Yen"})
        a.setSelected(rowOf(a, name), true);
    a.next(); // property accounts: Cash ticked and default
    a.setSelected(rowOf(a, "Bank"), true);
    a.setInitialBalance(rowOf(a, "Bank"), 250);
    a.setInitialBalance(rowOf(a, "Cash"), 40);
    a.next(); // assets
    a.setSelected(rowOf(a, "House"), true);
    a.next(); // debts
    a.setSelected(rowOf(a, "Card"), true);
    a.next(); // sources
    a.moveAllObjectsClicked();
    a.next(); // destinations
    a.setSelected(rowOf(a, "Shop"), true);
    a.next(); // income
    a.setSelected(rowOf(a, "Salary"), true);
    a.next(); // expenses: taken over, and created, in reverse order of the list
    a.setSelected(rowOf(a, "Food"), true);
    a.setSelected(rowOf(a, "Oil"), true);
    a.setSelected(rowOf(a, "Fuel"), true);
    a.next(); // transfers
    a.next(); // closing page
    ASSERT_EQ(a.next(), NewDocumentAssistant::Step::Finished);
    ASSERT_TRUE(a.plan());

    RecordingTarget target;
    target.groups = {{"Work", 7}};
    executeNewDocumentPlan(*a.plan(), target);
    EXPECT_EQ(target.log, (Log{
                              "6 Yen Yen",
                              "6 Swiss Franc (CHF) CHF",
                              "7 Euro EUR",
                              "13 Bank type 1 balance 250",
                              "12 Cash type 1 balance 40",
                              "13 Card type 2 balance 0",
                              "13 House type 6 balance 0",
                              "13 Employer type 3 balance 0",
                              "13 Shop type 3 balance 0",
                              "15 Salary in 7",
                              "17 Household in 1 kind 1",
                              "15 Food in 100",
                              "15 Oil in 100", // no path of its own: where the one before went
                              "17 Car in 1 kind 1",
                              "17 Fuel in 101 kind 1",
                              "15 Fuel in 102",
                          }));
    EXPECT_TRUE(alerts.records().empty());
}

TEST_F(AssistantPlan, NamelessCurrenciesAreLeftOutAndWithoutDefaultsNothingIsTakenOver)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "");
    a.start();
    a.next();
    a.setSelected(a.addObjectClicked(), true); // a row the user added but never named
    a.setSelected(rowOf(a, "Yen"), true);
    a.setDefault(rowOf(a, "Yen"));
    a.next();
    const NewDocumentPlan plan = a.makePlan();
    ASSERT_EQ(plan.currencies.size(), 1u);
    EXPECT_EQ(plan.currencies[0], (PlannedCurrency{"Yen", "Yen", true}));
    EXPECT_TRUE(plan.accounts.empty()); // the property page was not left yet
}

TEST_F(AssistantPlan, AccountsAndCategoriesAddedButNeverNamedMakeNothing)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    a.next(); // currencies
    a.next(); // property accounts: Cash the default
    a.addObjectClicked();
    a.next(); // assets
    a.setName(a.addObjectClicked(), "  ");
    while (a.view().lists != AssistantList::ExpenseCategories)
        ASSERT_EQ(a.next(), NewDocumentAssistant::Step::Moved);
    a.addObjectClicked();
    while (a.next() == NewDocumentAssistant::Step::Moved) {
    }
    ASSERT_TRUE(a.plan());
    for (const PlannedAccount& account : a.plan()->accounts)
        EXPECT_FALSE(account.name.find_first_not_of(' ') == std::string::npos) << "a nameless account";
    for (const PlannedCategory& category : a.plan()->categories)
        EXPECT_FALSE(category.name.empty()) << "a nameless category";
    EXPECT_EQ(a.plan()->accounts.size(), 1u); // Cash
}

} // namespace
} // namespace ch
