#pragma once
// Argument object of the owner commands: new owner (26) and update owner (27).
// The bridge's owner record (what the owner item fills and applies) plus the
// two requests to create the owner's supplier and customer accounts.
//
// The name is written as the name, else as the Address Book id, else not at
// all, so an owner made from an Address Book person alone reads back with
// that id as its name too. The source item and the person are not written.

#include <optional>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

class CAcoWArguments : public CArgumentAncestor, public ch::CAcoWArguments {
public:
    std::optional<bool> createSupplierOpenInvoices;
    std::optional<bool> createCustomerOpenInvoices;

    std::string argumentClass() const override { return "CAcoWArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
