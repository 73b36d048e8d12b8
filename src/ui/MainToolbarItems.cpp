#include "ui/MainToolbarItems.h"

#include <algorithm>
#include <array>

namespace ch {

namespace {

constexpr std::array<ToolbarItemEntry, 23> kItems = {{
    {"main", "MAINBUTTON", "overview", "V2Page:", 0},
    {"newTrans", "NEWTRANSBUTTON", "new-transaction", "newObject:", 1110},
    {"newAccount", "NEWACCOUNTBUTTON", "new-account", "newPLAccount:", 0},
    {"newCategory", "NEWREASONBUTTON", "new-category", "newExpenseType:", 0},
    {"deleteObject", "DELETEBUTTON", "DeleteButton", "delete:", 1104},
    {"modifyObject", "EDITBUTTON", "edit", "modifyTransactionAsked:", 1114},
    {"flagObject", "FLAGBUTTON", "flag", "flag:", 1121},
    {"transactions", "TRANSBUTTON", "transactions", "transactionPage:", 0},
    {"accounts", "ACCOUNTBUTTON", "accounts", "accountPage:", 0},
    {"reasons", "REASONBUTTON", "categories", "reasonPage:", 0},
    {"shares", "SHAREBUTTON", "stocks", "sharePage:", 0},
    {"budgets", "BUDGETBUTTON", "budget", "budgetPage:", 0},
    {"currencies", "CURRENCYBUTTON", "currencies", "currencyPage:", 0},
    {"reports", "REPORTBUTTON", "reports", "reportPage:", 0},
    {"import", "IMPORTBUTTON", "fileimport", "importPage:", 0},
    {"settings", "SETTINGBUTTON", "fileSettings", "settinPage:", 0},
    {"owners", "OWNERBUTTON", "accountowners", "ownerPage:", 0},
    {"recurring", "RECURRINGBUTTON", "recurringTrans", "recurringPage:", 0},
    {"generated", "GENERATEDBUTTON", "generatedTrans", "generatedPage:", 0},
    {"calculator", "CALCULATORBUTTON", "calculator", "doCalculator:", 0},
    {"pageLayOut", "PAGELAYOUTBUTTON", "PrintPanel", "runPageLayout:", 0},
    {"V2Preview", "V2PAGEBUTTONLABEL", "morvik app", "V2Page:", 0},
    {"V2Search", "V2SEARCHBUTTONLABEL", "", "", 0},
}};

constexpr std::array<std::string_view, 27> kAllowed = {
    kSeparatorItem, kSpaceItem,   kFlexibleSpaceItem, kCustomizeItem, kSeparatorItem, "main",
    "newTrans",     "newAccount", "newCategory",      "deleteObject", "modifyObject", "flagObject",
    "transactions", "accounts",   "reasons",          "shares",       "reports",      "currencies",
    "budgets",      "import",     "settings",         "owners",       "recurring",    "generated",
    "calculator",   "pageLayOut", "V2Search"};

constexpr std::array<std::string_view, 17> kDefault = {
    "main",         "settings",     kSeparatorItem, "newTrans", "newAccount", "newCategory",
    kSeparatorItem, "deleteObject", "modifyObject", "flagObject", kSeparatorItem, "budgets",
    "reports",      "import",       kFlexibleSpaceItem, "V2Search", kCustomizeItem};

constexpr std::array<std::string_view, 4> kSelectable = {"main", "reports", "budgets", "import"};

} // namespace

std::span<const ToolbarItemEntry> toolbarItemTable()
{
    return kItems;
}

const ToolbarItemEntry* findToolbarItem(std::string_view identifier)
{
    for (const ToolbarItemEntry& item : kItems)
        if (item.identifier == identifier) return &item;
    return nullptr;
}

std::span<const std::string_view> toolbarAllowedItemIdentifiers()
{
    return kAllowed;
}

std::span<const std::string_view> toolbarDefaultItemIdentifiers()
{
    return kDefault;
}

std::span<const std::string_view> toolbarSelectableItemIdentifiers()
{
    return kSelectable;
}

bool isRepeatableToolbarItem(std::string_view identifier)
{
    return identifier == kSeparatorItem || identifier == kSpaceItem || identifier == kFlexibleSpaceItem;
}

bool isAllowedToolbarItem(std::string_view identifier)
{
    return std::find(kAllowed.begin(), kAllowed.end(), identifier) != kAllowed.end();
}

std::vector<std::string> toolbarArrangementFrom(const Value& stored)
{
    const Dictionary* configuration = stored.asDictionary();
    const Value* found = configuration ? configuration->find(kToolbarItemIdentifiersKey) : nullptr;
    const Array* list = found ? found->asArray() : nullptr;
    std::vector<std::string> identifiers;
    if (!list) {
        for (std::string_view identifier : kDefault) identifiers.emplace_back(identifier);
        return identifiers;
    }
    for (const Value& entry : *list) {
        const std::string* identifier = entry.asString();
        if (!identifier || !isAllowedToolbarItem(*identifier)) continue;
        if (!isRepeatableToolbarItem(*identifier) &&
            std::find(identifiers.begin(), identifiers.end(), *identifier) != identifiers.end())
            continue;
        identifiers.push_back(*identifier);
    }
    return identifiers;
}

Value storedToolbarArrangement(const std::vector<std::string>& identifiers)
{
    Array list;
    for (const std::string& identifier : identifiers) list.push_back(Value(identifier));
    Dictionary configuration;
    configuration.set(std::string(kToolbarItemIdentifiersKey), Value(std::move(list)));
    return Value(std::move(configuration));
}

} // namespace ch
