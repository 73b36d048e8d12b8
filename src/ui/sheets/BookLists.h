#pragma once
// The lists of a set of books that the sheets offer in their pop-ups, the
// default objects they preset, and the name-in-use rule of the named
// objects. Null books give no lists and 0 for every default.

#include <memory>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CDocAccounting;
class CNamedListArray;
class CNonVisualDataItem;

namespace book_lists {
CNamedListArray* accountTypes(CDocAccounting* books);
CNamedListArray* accounts(CDocAccounting* books);
CNamedListArray* propertyAccounts(CDocAccounting* books);
CNamedListArray* profitAndLossAccounts(CDocAccounting* books);
CNamedListArray* debtAccounts(CDocAccounting* books);
CNamedListArray* categories(CDocAccounting* books);
CNamedListArray* incomeCategories(CDocAccounting* books);
CNamedListArray* expenseCategories(CDocAccounting* books);
// Sorted by name before it is handed out.
CNamedListArray* categoryGroups(CDocAccounting* books);
CNamedListArray* currencies(CDocAccounting* books);
// The currencies without the shares: what books can be kept or entered in.
CNamedListArray* moneyCurrencies(CDocAccounting* books);
CNamedListArray* owners(CDocAccounting* books);
} // namespace book_lists

namespace book_defaults {
long homeCurrencyId(CDocAccounting* books);
// The document's own owner ("Me").
long meOwnerId(CDocAccounting* books);
long ownPropertyAccount(CDocAccounting* books);
long unspecifiedExpenseCategory(CDocAccounting* books);
long stockCommissionAccount(CDocAccounting* books);
long stockCommissionCategory(CDocAccounting* books);
long unspecifiedIncomeAccount(CDocAccounting* books);
long unspecifiedIncomeCategory(CDocAccounting* books);
} // namespace book_defaults

// The kinds of named objects whose names must be unique.
enum class NamedKind { Account, AccountType, Category, CategoryGroup };

// Creating (no object modified): any object of the name is a clash.
// Modifying: none when nothing has the name, when the name is the modified
// object's own, or when the object found is the modified one.
bool nameInUse(CDocAccounting* books, NamedKind kind, std::string_view name,
               const CNonVisualDataItem* modified);

} // namespace ch
