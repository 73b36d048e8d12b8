#pragma once
// What the new-document assistant creates, in the order it is created, and
// how a document carries it out. The document runs each step as one of its
// numbered commands, so the creation is journaled like any other edit.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ch {

struct PlannedCurrency {
    std::string name;      // also the description
    std::string symbol;    // also the internet symbol
    bool isDefault = false;  // takes over the home currency instead of being made
    friend bool operator==(const PlannedCurrency&, const PlannedCurrency&) = default;
};

struct PlannedAccount {
    std::string name;      // also the description
    long accountTypeId = 0;
    double initialBalance = 0.0;
    bool isDefaultPropertyAccount = false;  // takes over the default own-property account
    friend bool operator==(const PlannedAccount&, const PlannedAccount&) = default;
};

struct PlannedCategory {
    std::string name;      // also the description
    long systemType = 0;   // 0 income, 1 expense, 2 transfer
    // The group path the entry names ("Car/Fuel"); without one the category
    // goes where the one before it in the same list went (at first directly
    // into the system type's group).
    std::optional<std::string> groupPath;
    friend bool operator==(const PlannedCategory&, const PlannedCategory&) = default;
};

struct NewDocumentPlan {
    std::vector<PlannedCurrency> currencies;
    std::vector<PlannedAccount> accounts;     // property, debts, assets, sources, destinations
    std::vector<PlannedCategory> categories;  // income, expenses, transfers
};

// Account types of the assistant's account lists.
inline constexpr long kPropertyAccountType = 1;
inline constexpr long kDebtAccountType = 2;
inline constexpr long kProfitAndLossAccountType = 3;
inline constexpr long kAssetAccountType = 6;

// The symbol of a currency entry: its own when it has one; else the code of
// a name ending in a parenthesised three-letter code ("Swiss Franc (CHF)"
// gives "CHF"); else the name.
std::string currencySymbolFor(std::string_view symbol, std::string_view name);

// The document's side of the creation.
class NewDocumentTarget {
public:
    virtual ~NewDocumentTarget() = default;
    // Command 7 on the home currency: it takes the symbol, internet symbol
    // and description of the default currency.
    virtual void modifyHomeCurrency(const PlannedCurrency& currency) = 0;
    // Command 6: a new currency based on the home currency, factor and quantity 1.
    virtual void createCurrency(const PlannedCurrency& currency) = 0;
    // Command 12 on the default own-property account: it takes the name,
    // description and balance.
    virtual void modifyDefaultPropertyAccount(const PlannedAccount& account) = 0;
    // Command 13.
    virtual void createAccount(const PlannedAccount& account) = 0;
    // The id of a category group of that name anywhere in the document.
    virtual std::optional<long> findCategoryGroup(const std::string& name) = 0;
    // Command 17: the new group's id, or a value below 1 when none was made.
    virtual long createCategoryGroup(const std::string& name, long parentId, long masterType) = 0;
    // Command 15.
    virtual void createCategory(const std::string& name, long parentId) = 0;
};

// The id of the group a path leads to inside the system type's group,
// finding each level by name or making it. An empty path gives the system
// type; empty levels ("Car//Fuel", "Car/") are skipped. When a group cannot
// be made the path ends at the last group found or made.
long resolveCategoryGroupPath(const std::string& path, long systemType, NewDocumentTarget& target);

// Carries the plan out in its order.
void executeNewDocumentPlan(const NewDocumentPlan& plan, NewDocumentTarget& target);

} // namespace ch
