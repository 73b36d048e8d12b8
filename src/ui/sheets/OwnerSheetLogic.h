#pragma once
// What the account owner sheet does without its window: the temporary owner
// it edits (a copy of the owner to modify, or a new one named from the
// dictionary), which of the supplier and customer account choices are
// offered, the checks on OK and the command it ends in (26 new, 27 modify).
//
// Keys of its own: "PARTNERNAME" and "PARTNERADRESS" (name and address of a
// new owner), and "USEADDRESSBOOK": the new owner is a person (or company)
// picked among the contacts instead of typed. The picked person's name,
// address and numbers, and its UID, become the owner's: the owner is linked
// to it.
//
// A new owner's id reaches an import line ("IMPORTRECORD") only when the
// command answered one (1 or more).

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CAcoWItem;
struct ContactPerson;

namespace sheet_key {
inline constexpr std::string_view kPartnerName = "PARTNERNAME";
inline constexpr std::string_view kPartnerAddress = "PARTNERADRESS";
inline constexpr std::string_view kUseAddressBook = "USEADDRESSBOOK";
} // namespace sheet_key

class OwnerSheetLogic {
public:
    void initialize(const SheetParameters& parameters);

    SheetDocument* document() const { return mDocument; }
    const std::shared_ptr<CAcoWItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CAcoWItem>& itemToModify() const { return mItemToModify; }
    // A new owner picked among the contacts.
    bool fromContacts() const { return mFromContacts; }
    // The people the picker offers: the document's contacts by name.
    std::vector<ContactPerson> pickablePeople() const;
    // For a modified owner linked to a person of the contacts: that person's
    // name. The owner's name, first name, address, phone, fax and e-mail then
    // follow the contact and are not typed in the sheet; none otherwise.
    std::optional<std::string> linkedContactName() const;

    // Making supplier (customer) accounts is offered to a new owner and to
    // one that has neither of the two yet; choosing existing ones only when
    // an owner is modified.
    bool canCreateSupplierAccounts() const;
    bool canCreateCustomerAccounts() const;
    bool canSelectAccounts() const { return mItemToModify != nullptr; }

    // Whether the account may be chosen for the modified owner: no owner is
    // modified, no account has the id, or the account is that owner's.
    bool checkAccountOwnerIsThis(std::optional<long> accountId) const;
    // 265 a chosen supplier or customer account of another owner; for an
    // owner from the contacts 232 unless exactly one person is picked (who
    // then fills the owner); 202 no name.
    bool checkContents(bool selectSupplierAccounts, bool selectCustomerAccounts,
                       const std::vector<ContactPerson>& picked = {});
    // Code > 0: command 27 for a modified owner, else 26.
    void dialogClosed(int returnCode, const SheetParameters& context, bool createSupplierAccounts,
                      bool createCustomerAccounts);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CAcoWItem> mTemporaryItem;
    std::shared_ptr<CAcoWItem> mItemToModify;
    bool mFromContacts = false;
};

// The name a person is listed under: the company's name for a company, else
// first and last name.
// Whether the person gives an owner a name: the company's when shown as a
// company, else the last name.
bool contactNamesOwner(const ContactPerson& person);
std::string contactDisplayName(const ContactPerson& person);

} // namespace ch
