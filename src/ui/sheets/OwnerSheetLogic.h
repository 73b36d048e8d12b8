#pragma once
// What the account owner sheet does without its window: the temporary owner
// it edits (a copy of the owner to modify, or a new one named from the
// dictionary), which of the supplier and customer account choices are
// offered, the checks on OK and the command it ends in (26 new, 27 modify).
//
// Keys of its own: "PARTNERNAME" and "PARTNERADRESS" (name and address of a
// new owner). Owners are typed here; linking one to a person of the
// contacts is done elsewhere.
//
// A new owner's id reaches an import line ("IMPORTRECORD") only when the
// command answered one (1 or more).

#include <memory>
#include <optional>
#include <string_view>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CAcoWItem;

namespace sheet_key {
inline constexpr std::string_view kPartnerName = "PARTNERNAME";
inline constexpr std::string_view kPartnerAddress = "PARTNERADRESS";
} // namespace sheet_key

class OwnerSheetLogic {
public:
    void initialize(const SheetParameters& parameters);

    SheetDocument* document() const { return mDocument; }
    const std::shared_ptr<CAcoWItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CAcoWItem>& itemToModify() const { return mItemToModify; }

    // Making supplier (customer) accounts is offered to a new owner and to
    // one that has neither of the two yet; choosing existing ones only when
    // an owner is modified.
    bool canCreateSupplierAccounts() const;
    bool canCreateCustomerAccounts() const;
    bool canSelectAccounts() const { return mItemToModify != nullptr; }

    // Whether the account may be chosen for the modified owner: no owner is
    // modified, no account has the id, or the account is that owner's.
    bool checkAccountOwnerIsThis(std::optional<long> accountId) const;
    // 265 a chosen supplier or customer account of another owner; 202 no name.
    bool checkContents(bool selectSupplierAccounts, bool selectCustomerAccounts) const;
    // Code > 0: command 27 for a modified owner, else 26.
    void dialogClosed(int returnCode, const SheetParameters& context, bool createSupplierAccounts,
                      bool createCustomerAccounts);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CAcoWItem> mTemporaryItem;
    std::shared_ptr<CAcoWItem> mItemToModify;
};

} // namespace ch
