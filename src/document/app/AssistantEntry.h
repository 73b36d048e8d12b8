#pragma once
// One currency, account or category the new-document assistant proposes or
// has selected: the entries of the shipped lists, entries the user adds, and
// the objects taken over from them.

#include <string>

namespace ch {

class Value;

struct AssistantEntry {
    std::string objectName;
    std::string parentName;   // categories: group path, levels separated by "/"
    std::string symbol;       // currencies
    double initialBalance = 0.0;   // accounts
    bool isDefault = false;
    bool isSelected = false;  // ticked in the proposed list
    bool isFromDictionary = false;   // taken over from a proposed entry

    // An entry of a shipped list (a dictionary with "objectName", "parentName",
    // "symbol", "isDefault", "isSelected" and "InitialBalance", each optional).
    static AssistantEntry fromValue(const Value& entry);

    // The object taken over from a proposed entry: its name, group path,
    // symbol, balance and default mark, not its tick.
    static AssistantEntry takenOver(const AssistantEntry& proposed);
    // The proposed entry a removed object turns back into: unticked.
    AssistantEntry returned() const;

    friend bool operator==(const AssistantEntry&, const AssistantEntry&) = default;
};

} // namespace ch
