#pragma once
// The document's operations of commands 26 and 27: account owners made in
// the model or refreshed, from the owner sheet or from a person of the
// contacts, and the four invoice accounts a customer or supplier asks for.
//
// An owner linked to a person is found again by the person's UID, so taking
// the same person over twice updates the owner instead of adding a second.

#include <memory>
#include <string>
#include <string_view>

#include "document/DocumentOperations.h"

namespace ch {

class CAcoWItem;
class MyDocument;

class OwnerOperationsOfDocument : public OwnerOperations {
public:
    explicit OwnerOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    // A new owner at the front of the owner array, "OWNERCREATEDNOTIFICATION";
    // its id, or -1 when the model made none. A UID (or person) that an owner
    // is linked to already updates that owner.
    CommandOutcome insertOwnerWithArguments(const arguments::CAcoWArguments& args) override;
    // From the person of a UID of 5 or more characters, else from the
    // arguments' source item; then the asked-for invoice accounts. 1;
    // "OWNERMODIFIEDNOTIFICATION" when anything changed.
    CommandOutcome updateAccountOwner(CAcoWItem& owner, const arguments::CAcoWArguments& args) override;

    // The supplier accounts (turnover, open invoices) when asked and the
    // owner has neither, and the customer accounts likewise, each side on its
    // own. Whether any account was made.
    bool createDefaultAccountsFromArguments(const arguments::CAcoWArguments& args, CAcoWItem& owner);
    // One invoice account of the owner: "<owner>:<text of the key>", of the
    // account type, in the home currency; the new account's id (-1: none).
    long createAccountForCustomer(CAcoWItem& owner, const std::string& ownerName, const std::string& typeCode,
                                  long accountType);

private:
    MyDocument& mDocument;
};

} // namespace ch
