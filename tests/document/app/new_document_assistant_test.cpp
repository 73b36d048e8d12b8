#include "document/app/NewDocumentAssistant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>

#include "assistant_fixture.h"

namespace ch {
namespace {

using test::names;
using test::rowOf;
using Step = NewDocumentAssistant::Step;
using Names = std::vector<std::string>;

struct AssistantPages : test::AssistantTest {};

TEST_F(AssistantPages, TheSetPageNeedsAChosenSet)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    EXPECT_EQ(a.standardSets(), (Names{"Home", "Firm"}));
    EXPECT_EQ(a.chosenSet(), "Home");
    EXPECT_EQ(a.currentPage(), 1);
    EXPECT_EQ(a.view().tab, 0);
    EXPECT_EQ(a.view().welcomeText, "startingSet");

    a.chooseSet("Nothing like it");
    EXPECT_EQ(a.next(), Step::Refused);
    EXPECT_EQ(alerts.numbers(), std::vector<long>{152});
    EXPECT_EQ(a.currentPage(), 1);
    EXPECT_EQ(a.view().tab, 0);

    a.chooseSet("Firm");
    EXPECT_EQ(a.next(), Step::Moved);
    EXPECT_EQ(a.currentPage(), 2);
    EXPECT_EQ(a.view().lists, AssistantList::Currencies);
    EXPECT_EQ(names(a.proposed(AssistantList::PropertyAccounts)), Names{"Till"});
    EXPECT_TRUE(a.proposed(AssistantList::AssetAccounts).empty());
}

TEST_F(AssistantPages, WithOneSetTheAssistantOpensOnTheCurrencies)
{
    NewDocumentAssistant a(Dictionary{{"Home", test::homeSet()}}, test::someCurrencies(), "EUR");
    a.start();
    EXPECT_EQ(a.currentPage(), 2);
    EXPECT_EQ(a.view().tab, 1);
    EXPECT_TRUE(alerts.records().empty());
}

TEST_F(AssistantPages, TheUsersCurrencyStartsTickedAndDefault)
{
    struct Case {
        const char* code;
        std::vector<bool> ticked;
    };
    const Case cases[] = {
        {"EUR", {false, true, false, false}},
        {"CHF", {false, false, false, false}}, // no entry carries that symbol
        {"", {false, false, false, false}},    // entries without symbol are not matched by no code
    };
    for (const Case& c : cases) {
        NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), c.code);
        const auto& currencies = a.proposed(AssistantList::Currencies);
        for (std::size_t i = 0; i < currencies.size(); ++i) {
            EXPECT_EQ(currencies[i].isSelected, c.ticked[i]) << c.code << i;
            EXPECT_EQ(currencies[i].isDefault, c.ticked[i]) << c.code << i;
        }
    }
    // The default entry is brought into view.
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    a.next();
    EXPECT_EQ(a.view().scrollTo, std::optional<std::size_t>(1));
}

TEST_F(AssistantPages, TheCurrenciesPageNeedsADefault)
{
    struct Case {
        const char* name;
        std::vector<std::string> ticked;
        const char* markedDefault; // or nullptr
        std::optional<std::string> expectedDefault;
    };
    const Case cases[] = {
        {"one ticked is the default", {"Yen"}, nullptr, "Yen"},
        {"marked default", {"Yen", "US Dollar"}, "US Dollar", "US Dollar"},
        {"two ticked, none marked", {"Yen", "US Dollar"}, nullptr, std::nullopt},
        {"none ticked", {}, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        alerts.clear();
        NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "");
        a.start();
        a.next();
        for (const auto& name : c.ticked)
            a.setSelected(rowOf(a, name), true);
        if (c.markedDefault)
            a.setDefault(rowOf(a, c.markedDefault));
        const Step step = a.next();
        if (c.expectedDefault) {
            EXPECT_EQ(step, Step::Moved) << c.name;
            EXPECT_EQ(a.defaultCurrency(), c.expectedDefault) << c.name;
            EXPECT_EQ(a.currentPage(), 4) << c.name;
            EXPECT_TRUE(alerts.records().empty()) << c.name;
        } else {
            EXPECT_EQ(step, Step::Refused) << c.name;
            EXPECT_EQ(alerts.numbers(), std::vector<long>{256}) << c.name;
            EXPECT_EQ(a.currentPage(), 2) << c.name;
            EXPECT_TRUE(a.selected(AssistantList::Currencies).empty()) << c.name;
        }
    }
}

TEST_F(AssistantPages, EachNextShowsItsPage)
{
    struct Expected {
        int page;
        AssistantList lists;
        int tab;
        const char* icon;
        const char* explanation;
        bool balance;
        bool defaultColumn;
        int stage;
    };
    const Expected walk[] = {
        {2, AssistantList::Currencies, 1, "currencies", "currencies", false, true, 2},
        {4, AssistantList::PropertyAccounts, 1, "acntProperty.tiff", "acntLiquid", true, true, 4},
        {5, AssistantList::AssetAccounts, 1, "acntAsset.tiff", "acntAssets", true, false, 5},
        {6, AssistantList::DebtAccounts, 1, "acntDebt.tiff", "acntDebt", true, false, 6},
        {7, AssistantList::SourceAccounts, 1, "acntP&L.tiff", "acntPLSource", true, false, 7},
        {8, AssistantList::DestinationAccounts, 1, "acntP&L.tiff", "acntPLDest", true, false, 8},
        {10, AssistantList::IncomeCategories, 1, "exptIncome.tiff", "exptIncome", false, false, 10},
        {11, AssistantList::ExpenseCategories, 1, "exptExpense.tiff", "exptExpense", false, false, 11},
        {12, AssistantList::TransferCategories, 1, "exptTransfer.tiff", "exptTransfer", false, false, 12},
        {13, AssistantList::TransferCategories, 4, "transactions.tiff", "exptTransfer", false, false, 13},
    };
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    EXPECT_FALSE(a.view().plusButton);
    for (const Expected& e : walk) {
        a.setProposedSearch("zzz");
        ASSERT_EQ(a.next(), Step::Moved) << e.page;
        const AssistantView& v = a.view();
        EXPECT_EQ(a.currentPage(), e.page);
        EXPECT_EQ(v.lists, e.lists) << e.page;
        EXPECT_EQ(v.tab, e.tab) << e.page;
        EXPECT_EQ(v.icon, e.icon) << e.page;
        EXPECT_EQ(v.explanation, e.explanation) << e.page;
        EXPECT_EQ(v.balanceColumn, e.balance) << e.page;
        EXPECT_EQ(v.defaultColumn, e.defaultColumn) << e.page;
        EXPECT_EQ(v.reachedStage, e.stage) << e.page;
        EXPECT_EQ(v.plusButton, e.page > 2) << e.page;
        EXPECT_EQ(a.arrangedProposed().size(), a.currentProposed().size()) << "search cleared on " << e.page;
    }
    EXPECT_EQ(a.view().accountText, "acntGeneral");
    EXPECT_EQ(a.view().categoryText, "exptGeneral");
    EXPECT_EQ(a.view().goodbyeText, "whatsNext");
    EXPECT_FALSE(a.plan());
    EXPECT_EQ(a.next(), Step::Finished);
    EXPECT_TRUE(a.ended());
    EXPECT_TRUE(a.plan());
    EXPECT_EQ(a.next(), Step::Refused);
    EXPECT_TRUE(alerts.records().empty());
}

TEST_F(AssistantPages, PreviousShowsThePageBefore)
{
    // Forward Nexts from the start, then one Previous: the page shown.
    struct Case {
        int nexts;
        int pageBefore;
        int pageAfter;
        int tabAfter;
    };
    const Case cases[] = {
        {1, 2, 1, 0},   // currencies -> set choice
        {2, 4, 2, 1},   // property accounts -> currencies
        {3, 5, 4, 1},   // assets -> property accounts
        {4, 6, 5, 1},   // debts -> assets
        {7, 10, 8, 1},  // income -> destinations
        {8, 11, 10, 1}, // expenses -> income
        {10, 13, 12, 1}, // closing page -> transfers
    };
    for (const Case& c : cases) {
        NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
        a.start();
        for (int i = 0; i < c.nexts; ++i)
            ASSERT_EQ(a.next(), Step::Moved) << c.nexts << " at " << i;
        ASSERT_EQ(a.currentPage(), c.pageBefore);
        EXPECT_EQ(a.previous(), Step::Moved) << c.pageBefore;
        EXPECT_EQ(a.currentPage(), c.pageAfter) << c.pageBefore;
        EXPECT_EQ(a.view().tab, c.tabAfter) << c.pageBefore;
    }
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    EXPECT_EQ(a.previous(), Step::Refused);
    EXPECT_EQ(a.currentPage(), 1);
}

TEST_F(AssistantPages, PagesAreCountedWithoutGapsAndShowTheirOwnTexts)
{
    // Stages 3 and 9 are passed through, so the stage jumps while the page
    // number does not; the closing page shows only its own text.
    using Texts = std::vector<std::string>;
    struct Expected {
        int stage;
        Texts texts;
    };
    const Expected walk[] = {
        {1, {"startingSet"}},
        {2, {"currencies"}},
        {4, {"acntGeneral", "acntLiquid"}},
        {5, {"acntAssets"}},
        {6, {"acntDebt"}},
        {7, {"acntPLSource"}},
        {8, {"acntPLDest"}},
        {10, {"exptGeneral", "exptIncome"}},
        {11, {"exptExpense"}},
        {12, {"exptTransfer"}},
        {13, {"whatsNext"}},
    };
    static_assert(std::size(walk) == NewDocumentAssistant::kPageCount);
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    for (int page = 1; page <= NewDocumentAssistant::kPageCount; ++page) {
        const Expected& e = walk[page - 1];
        EXPECT_EQ(a.shownStage(), e.stage);
        EXPECT_EQ(a.pageNumber(), page);
        EXPECT_EQ(a.shownTexts(), e.texts) << page;
        EXPECT_EQ(a.onClosingPage(), page == NewDocumentAssistant::kPageCount);
        if (page < NewDocumentAssistant::kPageCount) {
            ASSERT_EQ(a.next(), Step::Moved) << page;
        }
    }
    // And back, one page at a time, with the same texts.
    for (int page = NewDocumentAssistant::kPageCount - 1; page >= 1; --page) {
        ASSERT_EQ(a.previous(), Step::Moved) << page;
        EXPECT_EQ(a.pageNumber(), page);
        EXPECT_EQ(a.shownTexts(), walk[page - 1].texts) << page;
    }
}

TEST_F(AssistantPages, GoingBackSkipsTheDefaultChecksAndKeepsTheDefaults)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    a.next(); // currencies, Euro default
    a.next(); // property accounts, Cash default and ticked
    a.setSelected(rowOf(a, "Bank"), true);
    a.setDefault(rowOf(a, "Bank"));
    a.next(); // assets
    a.next(); // debts
    a.setSelected(rowOf(a, "Card"), true);
    EXPECT_EQ(a.previous(), Step::Moved); // back to assets through the property step
    EXPECT_EQ(a.currentPage(), 5);
    EXPECT_EQ(a.defaultPropertyAccount(), "Bank");
    EXPECT_EQ(names(a.selected(AssistantList::DebtAccounts)), Names{"Card"}); // the page left is taken over

    // Back on the property page nothing needs to be default to go back further.
    a.previous();
    EXPECT_EQ(a.currentPage(), 4);
    a.selectAllClicked(false);
    EXPECT_EQ(a.previous(), Step::Moved);
    EXPECT_EQ(a.currentPage(), 2);
    EXPECT_TRUE(alerts.records().empty());
    // Forward again the check applies.
    a.next();
    EXPECT_EQ(a.next(), Step::Refused);
    EXPECT_EQ(alerts.numbers(), std::vector<long>{257});
}

TEST_F(AssistantPages, CancelCreatesNothing)
{
    NewDocumentAssistant a(test::twoSets(), test::someCurrencies(), "EUR");
    a.start();
    a.next();
    a.next();
    a.cancel();
    EXPECT_TRUE(a.ended());
    EXPECT_FALSE(a.plan());
    EXPECT_EQ(a.next(), Step::Refused);
}

struct AssistantLists : test::AssistantTest {
    AssistantLists() : a(test::twoSets(), test::someCurrencies(), "")
    {
        a.start();
        a.next(); // currencies
    }
    NewDocumentAssistant a;
};

TEST_F(AssistantLists, TakingOverFollowsTheTicksWithoutDuplicates)
{
    a.setSelected(rowOf(a, "US Dollar"), true);
    a.setSelected(rowOf(a, "Yen"), true);
    a.moveObjectClicked();
    a.moveObjectClicked();
    EXPECT_EQ(names(a.currentSelected()), (Names{"Yen", "US Dollar"})); // reverse order of the ticks
    EXPECT_TRUE(a.currentSelected()[0].isFromDictionary);
    EXPECT_FALSE(a.currentSelected()[0].isSelected);

    a.setSelected(rowOf(a, "Yen"), false);
    a.moveObjectClicked();
    EXPECT_EQ(names(a.currentSelected()), Names{"US Dollar"});

    a.moveAllObjectsClicked();
    EXPECT_EQ(names(a.currentSelected()), (Names{"Yen", "Swiss Franc (CHF)", "Euro", "US Dollar"}));
    // What was taken over all at once survives the take-over of the next step.
    a.moveObjectClicked();
    EXPECT_EQ(a.currentSelected().size(), 4u);
}

TEST_F(AssistantLists, AnInitialBalanceBeyondTheLimitIsRefusedAndTheLastOneKept)
{
    const std::size_t row = rowOf(a, "Euro");
    EXPECT_TRUE(a.setInitialBalance(row, -1e12));
    for (double balance : {1e12 + 0.01, -1e15, std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(a.setInitialBalance(row, balance)) << balance;
    EXPECT_EQ(a.currentProposed()[row].initialBalance, -1e12);
}

TEST_F(AssistantLists, RemovingAnObjectUnticksItsEntrySoItStaysRemoved)
{
    for (const char* name : {"US Dollar", "Euro", "Yen"})
        a.setSelected(rowOf(a, name), true);
    a.setDefault(rowOf(a, "Euro"));
    a.moveObjectClicked();
    ASSERT_EQ(names(a.currentSelected()), (Names{"Yen", "Euro", "US Dollar"}));

    a.removeObjectClicked({1, 1, 7}); // Euro; repeated and unknown rows ignored
    EXPECT_EQ(names(a.currentSelected()), (Names{"Yen", "US Dollar"}));
    EXPECT_EQ(names(a.currentProposed()), (Names{"US Dollar", "Euro", "Swiss Franc (CHF)", "Yen"})); // no copy
    EXPECT_FALSE(a.currentProposed()[rowOf(a, "Euro")].isSelected);
    EXPECT_FALSE(a.currentProposed()[rowOf(a, "Euro")].isDefault);
    a.moveObjectClicked();
    EXPECT_EQ(names(a.currentSelected()), (Names{"Yen", "US Dollar"}));

    // An object whose entry was renamed meanwhile goes back to the top, unticked.
    a.setName(rowOf(a, "Yen"), "Japanese Yen");
    a.removeObjectClicked({0});
    EXPECT_EQ(names(a.currentProposed()), (Names{"Yen", "US Dollar", "Euro", "Swiss Franc (CHF)", "Japanese Yen"}));
    EXPECT_FALSE(a.currentProposed()[0].isSelected);

    a.removeAllObjectsClicked();
    EXPECT_TRUE(a.currentSelected().empty());
    for (const auto& e : a.currentProposed()) {
        if (e.objectName != "Japanese Yen") {
            EXPECT_FALSE(e.isSelected) << e.objectName;
        }
    }
}

TEST_F(AssistantLists, AddedEntriesSearchAndSelectAll)
{
    EXPECT_EQ(a.addObjectClicked(), 0u);
    EXPECT_TRUE(a.currentProposed()[0].isSelected);
    EXPECT_FALSE(a.currentProposed()[0].isDefault);
    a.setName(0, "Bitcoin");

    a.setProposedSearch("DOL");
    EXPECT_EQ(a.arrangedProposed(), std::vector<std::size_t>{1}); // "US Dollar", any case
    a.setProposedSearch("");
    EXPECT_EQ(a.arrangedProposed().size(), 5u);

    // Select-all works on what the search shows; clearing it clears the defaults too.
    a.setProposedSearch("franc");
    a.selectAllClicked(true);
    EXPECT_TRUE(a.currentProposed()[rowOf(a, "Swiss Franc (CHF)")].isSelected);
    EXPECT_FALSE(a.currentProposed()[rowOf(a, "Yen")].isSelected);
    a.setProposedSearch("");
    a.setDefault(rowOf(a, "Yen"));
    a.selectAllClicked(false);
    for (const auto& e : a.currentProposed()) {
        EXPECT_FALSE(e.isSelected) << e.objectName;
        EXPECT_FALSE(e.isDefault) << e.objectName;
    }
}

TEST_F(AssistantLists, DraggedRowsArriveTickedAndANewEntryShowsDespiteTheSearch)
{
    // Unticked rows dragged onto the selected list are taken over; rows
    // that are no longer there are passed over.
    a.takeOverRows({rowOf(a, "Yen"), rowOf(a, "US Dollar"), 99});
    EXPECT_EQ(names(a.currentSelected()), (Names{"Yen", "US Dollar"}));
    EXPECT_TRUE(a.currentProposed()[rowOf(a, "Yen")].isSelected);

    a.setProposedSearch("yen");
    const std::size_t added = a.addObjectClicked();
    EXPECT_EQ(a.proposedSearch(), "");
    const std::vector<std::size_t> shown = a.arrangedProposed();
    EXPECT_NE(std::find(shown.begin(), shown.end(), added), shown.end());
}

TEST_F(AssistantLists, TheDefaultIsTheLastMarkedTickedEntryElseTheOnlyTicked)
{
    struct Row {
        const char* name;
        bool ticked;
        bool marked;
    };
    struct Case {
        const char* name;
        std::vector<Row> rows;
        std::optional<std::string> expected;
        std::size_t expectedIndex; // where the marked default sits (0 when none)
    };
    const Case cases[] = {
        {"last marked wins", {{"A", true, true}, {"B", true, false}, {"C", true, true}}, "C", 2},
        {"marks on unticked rows do not count", {{"A", false, true}, {"B", true, false}, {"C", true, false}},
         std::nullopt, 0},
        {"the only ticked row", {{"A", false, true}, {"B", true, false}}, "B", 0},
        {"a nameless default is none", {{"", true, true}}, std::nullopt, 0},
        {"nothing ticked", {{"A", false, false}}, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        Array currencies;
        for (const Row& r : c.rows)
            currencies.push_back(Dictionary{{"objectName", Value(r.name)}, {"isSelected", Value(r.ticked)},
                                            {"isDefault", Value(r.marked)}});
        NewDocumentAssistant fresh(test::twoSets(), currencies, "");
        fresh.start();
        fresh.next();
        std::size_t index = 0;
        EXPECT_EQ(fresh.selectedDefault(&index), c.expected) << c.name;
        EXPECT_EQ(index, c.expectedIndex) << c.name;
    }
    // setDefault keeps a single mark on the page and ticks its row.
    a.setDefault(rowOf(a, "Yen"));
    a.setDefault(rowOf(a, "Euro"));
    EXPECT_FALSE(a.currentProposed()[rowOf(a, "Yen")].isDefault);
    EXPECT_TRUE(a.currentProposed()[rowOf(a, "Euro")].isSelected);
    EXPECT_EQ(a.selectedDefault(), "Euro");
    // Unticking the default row takes its mark away.
    a.setSelected(rowOf(a, "Euro"), false);
    EXPECT_FALSE(a.currentProposed()[rowOf(a, "Euro")].isDefault);
}

} // namespace
} // namespace ch
