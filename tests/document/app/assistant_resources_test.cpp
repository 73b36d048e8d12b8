#include "document/app/AssistantResources.h"

#include <gtest/gtest.h>

#include <set>

#include "assistant_fixture.h"
#include "document/app/NewDocumentAssistant.h"
#include "platform/core/user_defaults.h"

namespace ch {
namespace {

TEST(AssistantResources, TheShippedSetsCurrenciesAndTextsAreComplete)
{
    const AssistantResources r = loadAssistantResources();
    ASSERT_GE(r.defaultObjects.size(), 2u);
    for (auto set : r.defaultObjects) {
        for (const char* key : {"LiquidAssets", "Assets", "Debts", "Sources", "Destinations", "Income", "Expenses",
                                "Transfers"}) {
            const Array* entries = set.value[key].asArray();
            ASSERT_TRUE(entries && !entries->empty()) << set.key << " " << key;
        }
        // Exactly one default property account, and every shipped category
        // names its group so that none depends on the order it is made in.
        int defaults = 0;
        for (const Value& e : *set.value["LiquidAssets"].asArray())
            defaults += e["isDefault"].toBool();
        EXPECT_EQ(defaults, 1) << set.key;
        for (const char* key : {"Income", "Expenses", "Transfers"})
            for (const Value& e : *set.value[key].asArray())
                EXPECT_FALSE(AssistantEntry::fromValue(e).parentName.empty()) << set.key << " " << key;
    }

    std::set<std::string> symbols;
    for (const Value& c : r.currencies) {
        const AssistantEntry e = AssistantEntry::fromValue(c);
        EXPECT_FALSE(e.objectName.empty());
        EXPECT_EQ(e.symbol.size(), 3u) << e.objectName;
        EXPECT_TRUE(symbols.insert(e.symbol).second) << e.symbol;
    }
    EXPECT_TRUE(symbols.count("EUR") && symbols.count("USD") && symbols.count("CHF"));

    for (const char* name : {"startingSet", "currencies", "acntGeneral", "acntLiquid", "acntAssets", "acntDebt",
                             "acntPLSource", "acntPLDest", "exptGeneral", "exptIncome", "exptExpense", "exptTransfer",
                             "whatsNext"})
        EXPECT_FALSE(assistantText(name).empty()) << name;
}

TEST(AssistantResources, MissingResourcesGiveEmptyListsAndTexts)
{
    const auto missing = std::filesystem::temp_directory_path() / "countinghouse-no-such-resources";
    const AssistantResources r = loadAssistantResources(missing);
    EXPECT_TRUE(r.defaultObjects.empty());
    EXPECT_TRUE(r.currencies.empty());
    EXPECT_EQ(assistantText("startingSet", missing), "");

    // The assistant then has no set to offer and refuses to go on.
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scoped(alerts);
    NewDocumentAssistant a(r.defaultObjects, r.currencies, "EUR");
    a.start();
    EXPECT_EQ(a.next(), NewDocumentAssistant::Step::Refused);
    EXPECT_EQ(alerts.numbers(), std::vector<long>{152});
}

TEST(AssistantResources, TheUsersCurrencyCodeComesFromTheDefaultsFirst)
{
    UserDefaults d;
    d.set("NSInternationalCurrencyString", "CHF");
    EXPECT_EQ(systemCurrencyCode(d), "CHF");
    d.remove("NSInternationalCurrencyString");
    const std::string fromLocale = systemCurrencyCode(d);
    EXPECT_TRUE(fromLocale.empty() || fromLocale.size() == 3u) << fromLocale;
}

TEST(AssistantResources, AWalkThroughAShippedSetPlansTheTickedObjects)
{
    const AssistantResources r = loadAssistantResources();
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scoped(alerts);
    NewDocumentAssistant a(r.defaultObjects, r.currencies, "EUR");
    a.start();
    NewDocumentAssistant::Step step = NewDocumentAssistant::Step::Moved;
    for (int i = 0; i < 20 && step == NewDocumentAssistant::Step::Moved; ++i)
        step = a.next();
    ASSERT_EQ(step, NewDocumentAssistant::Step::Finished);
    EXPECT_TRUE(alerts.records().empty());
    const NewDocumentPlan& plan = *a.plan();
    ASSERT_EQ(plan.currencies.size(), 1u);
    EXPECT_EQ(plan.currencies[0], (PlannedCurrency{"Euro", "EUR", true}));
    ASSERT_FALSE(plan.accounts.empty());
    EXPECT_EQ(std::count_if(plan.accounts.begin(), plan.accounts.end(),
                            [](const PlannedAccount& acc) { return acc.isDefaultPropertyAccount; }),
              1);
    EXPECT_FALSE(plan.categories.empty());
}

} // namespace
} // namespace ch
