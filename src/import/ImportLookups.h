#pragma once
// The document queries the import asks of the books: accounts by id, bank
// account number, name or a description that names them; owners, currencies
// and categories; and the default accounts and categories of the settings
// record that whatever a statement does not name falls back on.

#include <string>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccount;
class CAccountOwner;
class CCurrency;
class CDocAccounting;
class CExpenseType;

// The settings' defaults; -1 for each without a settings record.
struct ImportDefaults {
    ObjectIdT ownPropertyAccount = -1;
    ObjectIdT unspecifiedIncomeAccount = -1;
    ObjectIdT unspecifiedExpenseAccount = -1;
    ObjectIdT openingBalanceAccount = -1;
    ObjectIdT creditCardAccount = -1;
    ObjectIdT unspecifiedIncomeCategory = -1;
    ObjectIdT unspecifiedExpenseCategory = -1;
    ObjectIdT unspecifiedTransferCategory = -1;
    ObjectIdT openingBalanceCategory = -1;
    ObjectIdT portfolioAccountType = -1;
    ObjectIdT ownPropertyAccountType = 0;   // the own-property account's type; 0 when unknown

    // One of the three unspecified categories (income, expense, transfer).
    bool isUnspecifiedCategory(ObjectIdT id) const
    {
        return id == unspecifiedIncomeCategory || id == unspecifiedExpenseCategory ||
               id == unspecifiedTransferCategory;
    }
};

ImportDefaults importDefaultsOf(const CDocAccounting& books);

// Each answers the object, or null.
CAccount* accountForId(const CDocAccounting& books, ObjectIdT id);
// Whether a statement's account number names the account's stored one,
// ignoring case. A stored number of exactly the 19 characters the model's
// field holds may be the cut of a longer one (an IBAN stored before the
// whole text was kept): then the statement number's first 19 characters
// decide.
bool sameBankAccountNumber(std::string_view stored, std::string_view statement);
// The account whose bank account number equals the text, ignoring case; else
// the first whose stored number is that text cut to the field (above). An
// empty text names no account (accounts without a number would all match).
CAccount* accountForAccountNr(const CDocAccounting& books, std::string_view number);
// The account of that name, ignoring case.
CAccount* accountForName(const CDocAccounting& books, std::string_view name);
// The one account whose name of 7 or more characters occurs in the
// description, ignoring case (blanks taken out of both when the description
// has any); null when none or more than one does.
CAccount* accountForTransactionDescription(const CDocAccounting& books, std::string_view description);
CAccountOwner* ownerForName(const CDocAccounting& books, std::string_view name);
// The first currency whose symbol equals the text, ignoring case.
CCurrency* currencyForSymbol(const CDocAccounting& books, std::string_view symbol);
CCurrency* currencyForId(const CDocAccounting& books, ObjectIdT id);
CExpenseType* categoryForId(const CDocAccounting& books, ObjectIdT id);
CExpenseType* categoryForName(const CDocAccounting& books, std::string_view name);
// The home currency, or null.
CCurrency* homeCurrencyOf(const CDocAccounting& books);
// The home currency's symbol; empty without one.
std::string homeCurrencySymbol(const CDocAccounting& books);

} // namespace ch
