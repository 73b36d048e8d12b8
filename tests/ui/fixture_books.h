#pragma once
// Books to look at and test the window with: the default books plus bank,
// savings, dollar and card accounts in two currencies, nested account types
// and category groups, an owner, and a year and a half of salaries,
// expenses and transfers. Deterministic.

#include "../bridge/bridge_test_support.h"
#include "model/CAccountOwner.h"

namespace ch::test {

// The ids of the fixture's objects; those of the default books are fixed.
struct FixtureBooks {
    static constexpr ObjectIdT kOwnProperty = 1;
    static constexpr ObjectIdT kDebt = 2;
    static constexpr ObjectIdT kIncomeAccount = 2;
    static constexpr ObjectIdT kExpenseAccount = 3;
    static constexpr ObjectIdT kIncomeGroup = 0;
    static constexpr ObjectIdT kExpenseGroup = 1;
    static constexpr ObjectIdT kTransferCategory = 3;

    ObjectIdT dollar = 0;
    ObjectIdT bankTypes = 0, savingsTypes = 0, cardTypes = 0;
    ObjectIdT checking = 0, savings = 0, dollarAccount = 0, visa = 0;
    ObjectIdT household = 0, transport = 0, leisure = 0;
    ObjectIdT groceries = 0, rent = 0, fuel = 0, tickets = 0, restaurants = 0, salary = 0, interest = 0;
};

// Adds the fixture's objects, made as the document makes them, and
// `transactionCount` transactions.
inline FixtureBooks buildFixtureBooks(TestDocument& document, int transactionCount = 320)
{
    using F = FixtureBooks;
    CDocAccounting& root = document.root();
    FixtureBooks books;
    auto accountType = [&](const char* name, long masterType, ObjectIdT parent) {
        return root.InsertAccountType(-1, name, name, "", std::nullopt, masterType, parent)->Get_Id();
    };
    auto account = [&](const char* name, ObjectIdT type, ObjectIdT currency) {
        return root.InsertAccount(-1, name, name, "", std::nullopt, type, currency, nullptr)->Get_Id();
    };
    auto group = [&](const char* name, MasterExpenseTypeT kind, ObjectIdT parent) {
        return root.InsertMasterExpenseType(-1, name, name, nullptr, std::nullopt, kind, parent)->Get_Id();
    };
    auto category = [&](const char* name, ObjectIdT groupId) {
        return root.InsertExpenseType(-1, name, name, "", std::nullopt, groupId, std::nullopt, nullptr, 0.0)
            ->Get_Id();
    };
    books.dollar = document.addCurrency(50, "USD", 1, 0.92)->Get_Id();
    books.bankTypes = accountType("Bank Accounts", 1, F::kOwnProperty);
    books.savingsTypes = accountType("Savings", 1, F::kOwnProperty);
    books.cardTypes = accountType("Credit Cards", 2, F::kDebt);
    books.checking = account("Checking Account", books.bankTypes, 1);
    books.savings = account("Savings Account", books.savingsTypes, 1);
    books.dollarAccount = account("Dollar Account", books.bankTypes, books.dollar);
    books.visa = account("Visa Card", books.cardTypes, 1);
    books.household = group("Household", 1, F::kExpenseGroup);
    books.transport = group("Transport", 1, F::kExpenseGroup);
    books.leisure = group("Leisure", 1, F::kExpenseGroup);
    books.groceries = category("Groceries", books.household);
    books.rent = category("Rent", books.household);
    books.fuel = category("Fuel", books.transport);
    books.tickets = category("Public Transport", books.transport);
    books.restaurants = category("Restaurants", books.leisure);
    books.salary = category("Salary", F::kIncomeGroup);
    books.interest = category("Interest", F::kIncomeGroup);
    root.InsertAccountOwner(-1, "Jane Doe", "Jane", "12 Market Street, Springfield", "555-0100", "",
                            "jane@example.org", "");

    // A month of salary, expenses, transfers and card payments, repeated.
    struct Pattern {
        ObjectIdT from, to, category;
        double base;
    };
    const Pattern patterns[] = {
        {F::kIncomeAccount, books.checking, books.salary, 3150.00},
        {books.checking, F::kExpenseAccount, books.rent, 1240.00},
        {books.checking, F::kExpenseAccount, books.groceries, 86.40},
        {books.visa, F::kExpenseAccount, books.restaurants, 47.80},
        {books.checking, F::kExpenseAccount, books.fuel, 62.15},
        {books.checking, F::kExpenseAccount, books.tickets, 24.00},
        {books.checking, books.savings, F::kTransferCategory, 400.00},
        {books.checking, F::kExpenseAccount, books.groceries, 112.35},
        {F::kIncomeAccount, books.savings, books.interest, 12.50},
        {books.checking, books.visa, F::kTransferCategory, 180.00},
    };
    constexpr int kPatternCount = sizeof patterns / sizeof patterns[0];
    for (int i = 0; i < transactionCount; ++i) {
        const Pattern& pattern = patterns[i % kPatternCount];
        const int month = i / kPatternCount;
        const int year = 2023 + month / 12;
        const DateT date = year * 10000 + (month % 12 + 1) * 100 + 1 + (i % kPatternCount) * 2;
        const double wobble = ((i * 37) % 23) * (pattern.base > 1000 ? 0.0 : 0.73);
        document.addTransaction(date, pattern.from, pattern.to, pattern.category, pattern.base + wobble);
    }
    return books;
}

} // namespace ch::test
