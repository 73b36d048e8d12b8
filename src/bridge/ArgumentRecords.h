#pragma once
// What the account, account-type, category and category-group items read of
// the argument objects that their sheets fill (the commands carry the same
// objects). A field that may be missing is optional; a missing text field and
// an empty one are treated alike where the items say so.

#include <memory>
#include <optional>
#include <string>

#include "bridge/Colour.h"
#include "platform/core/contacts_provider.h"

namespace ch {

// Account commands (new and modify).
struct AccountArguments {
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<std::string> accountingNumber;
    std::optional<std::string> bankAccountNumber;
    std::optional<long> currencyId;
    std::optional<long> ownerId;
    std::optional<long> defaultCategory;
    std::optional<double> allocableExpenses;   // fiscal percentage
    std::optional<double> newBalance;
    std::optional<int> specialType;
    std::optional<int> specialSubType;
};

// Account-type commands (new and modify).
struct AccountTypeArguments {
    std::optional<std::string> accountTypeName;
    std::optional<std::string> accountingNumber;
    std::optional<std::string> accountTypeDescription;
    int theMasterType = 0;
    std::optional<long> theAccountTypeId;   // the parent account type
};

// Category commands (new and modify).
struct CategoryParameters {
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<double> mBalance;
    std::optional<Colour> mColor;
    std::optional<long> mMasterTypeId;
    std::optional<double> mTaxDeductiblePct;
};

// Category-group commands (new and modify).
struct CategoryGroupParameters {
    std::optional<std::string> name;
    std::optional<long> mParentId;
    std::optional<Colour> mColor;
};

class CAcoWItem;

// Owner commands (new and modify): read and filled by the owner item.
struct CAcoWArguments {
    std::shared_ptr<CAcoWItem> sourceItem;
    std::optional<long> idKey;
    std::optional<std::string> name;
    std::optional<std::string> firstName;
    std::optional<std::string> address;
    std::optional<std::string> phone;
    std::optional<std::string> fax;
    std::optional<std::string> eMail;
    std::optional<std::string> VATNr;
    std::optional<long> openDebitInvoiceAccount;
    std::optional<long> debitorAccount;
    std::optional<long> openCreditInvoiceAccount;
    std::optional<long> creditorAccount;
    std::optional<std::string> UID;   // the linked person; empty or none: not linked
    std::optional<long> customerPaymentCategoryId;
    std::optional<long> supplierInvoiceCategoryId;
    // The person dropped on the sheet, when there is one (read only).
    std::optional<ContactPerson> addressBookPerson;
};

// The simple entry sheet: one amount from one account to another for one
// category. The document resolves the accounts and amounts it offers.
struct SimpleTransactionArguments {
    double absoluteAmount = 0.0;   // never negative
    long fromAccountId = 0;
    long toAccountId = 0;
    long category = 0;
    double categoryAmount = 0.0;   // signed by the category's kind
    int transactionType = 3;
    std::optional<std::string> name;
    std::optional<std::string> description;
    std::optional<long> date;      // DateT
};

} // namespace ch
