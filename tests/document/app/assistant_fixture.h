#pragma once
// Small standard sets and currencies for the new-document assistant, and the
// alerts it raises.

#include <string>
#include <vector>

#include "document/app/NewDocumentAssistant.h"
#include "platform/core/alerts.h"

namespace ch::test {

inline Value entry(const char* name, const char* parent = "", bool isDefault = false, bool selected = false)
{
    Dictionary d{{"objectName", Value(name)}};
    if (*parent)
        d.set("parentName", Value(parent));
    if (isDefault)
        d.set("isDefault", Value(true));
    if (selected)
        d.set("isSelected", Value(true));
    return d;
}

inline Dictionary homeSet()
{
    return Dictionary{
        {"LiquidAssets", Array{entry("Cash", "", true), entry("Bank")}},
        {"Assets", Array{entry("House"), entry("Car")}},
        {"Debts", Array{entry("Mortgage"), entry("Card")}},
        {"Sources", Array{entry("Employer")}},
        {"Destinations", Array{entry("Shop"), entry("Landlord")}},
        {"Income", Array{entry("Salary", "Work")}},
        {"Expenses", Array{entry("Fuel", "Car/Fuel"), entry("Oil"), entry("Food", "Household")}},
        {"Transfers", Array{entry("Savings")}},
    };
}

inline Dictionary twoSets()
{
    return Dictionary{{"Home", homeSet()}, {"Firm", Dictionary{{"LiquidAssets", Array{entry("Till", "", true)}}}}};
}

inline Array someCurrencies()
{
    Dictionary yen{{"objectName", Value("Yen")}};
    return Array{entry("US Dollar"), Dictionary{{"objectName", Value("Euro")}, {"symbol", Value("EUR")}},
                 Dictionary{{"objectName", Value("Swiss Franc (CHF)")}}, yen};
}

// Rows of the current proposed list by name.
inline std::size_t rowOf(const NewDocumentAssistant& a, const std::string& name)
{
    const auto& list = a.currentProposed();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].objectName == name)
            return i;
    return list.size();
}

inline std::vector<std::string> names(const std::vector<AssistantEntry>& list)
{
    std::vector<std::string> out;
    for (const auto& e : list)
        out.push_back(e.objectName);
    return out;
}

struct AssistantTest : ::testing::Test {
    AssistantTest() : scoped(alerts) {}
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter scoped;
};

} // namespace ch::test
