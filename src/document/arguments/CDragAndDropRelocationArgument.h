#pragma once
// Argument object of moving an object under another in the side bar (30).
// The type codes are written as their four characters (e.g. AcnT).

#include <cstdint>
#include <string>

#include "document/arguments/CArgumentAncestor.h"
#include "platform/core/four_char_code.h"

namespace ch::arguments {

class CDragAndDropRelocationArgument : public CArgumentAncestor {
public:
    std::int32_t idDroppedObject = 0;
    std::int32_t idReceivingObject = 0;
    FourCharCode droppedObjectType = 0;
    FourCharCode receivingObjectType = 0;

    std::string argumentClass() const override { return "CDragAndDropRelocationArgument"; }
    // A missing id reads as kMissingId, a missing or malformed type as 0.
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
