#pragma once
// Argument object of the deletions: delete a model object (28) and delete a
// VAT rate (37).
//
// The journal keeps only the name (for its list, and for the replay to tell
// that the deletion's target is still the object it named) and
// "askBeforeDelete" as 0: reading back takes the name and leaves the flag
// absent, so a replayed deletion never asks.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class CDeleteObjectParms : public CArgumentAncestor {
public:
    std::optional<bool> withAsking;   // ask the user before deleting
    std::optional<std::string> name;  // the object's name; "-" when absent

    std::string argumentClass() const override { return "CDeleteObjectParms"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
