#pragma once
// Look-ups that the booking classes (accounts, transactions, lines, analysis
// lists) make in their document: objects by id in the root's lists, the home
// currency, and the default accounts and categories of the settings. Each
// accepts a null document and answers as a document without objects would.

#include "model/CNonVisual.h"

namespace ch {

class CAccType;
class CAccount;
class CCurrency;
class CExpenseType;
class CPreference;

namespace booking {

CAccount* FindAccount(const CDocAccounting* document, ObjectIdT id);
CExpenseType* FindCategory(const CDocAccounting* document, ObjectIdT id);
CCurrency* FindCurrency(const CDocAccounting* document, ObjectIdT id);
CAccType* FindAccountType(const CDocAccounting* document, ObjectIdT id);

// The home currency's id (1 without settings) and object (null when missing).
ObjectIdT HomeCurrencyId(const CDocAccounting* document);
CCurrency* HomeCurrency(const CDocAccounting* document);

// The currency or share whose rate changes, trades or dividends book on the
// account (the exchange-difference account of any currency; a share's
// commission and dividend accounts) or the category (the exchange-difference
// category of any currency; a share's commission and dividend categories);
// null when none does. A share's portfolio account is not among them: see
// ShareHeldInAccount.
const CCurrency* CurrencyBookingOnAccount(const CDocAccounting* document, ObjectIdT id);
const CCurrency* CurrencyBookingOnCategory(const CDocAccounting* document, ObjectIdT id);
// The share whose portfolio account the account is; null when none. Without
// it every later trade of the share would be refused.
const CCurrency* ShareHeldInAccount(const CDocAccounting* document, ObjectIdT id);
// The share whose shares the account counts: the share's portfolio account,
// kept in the share itself. Money booked on it would turn into shares.
const CCurrency* ShareCountedInAccount(const CDocAccounting* document, ObjectIdT id);

// The settings' default objects; a document without settings falls back on
// the ids of the default set of books.
struct Defaults {
    ObjectIdT ownPropertyAccount = 4;
    ObjectIdT unspecifiedExpenseAccount = 3;
    ObjectIdT unspecifiedIncomeAccount = 2;
    ObjectIdT openingBalanceAccount = 1;
    ObjectIdT unspecifiedExpenseCategory = 1;
    ObjectIdT unspecifiedIncomeCategory = 2;
    ObjectIdT unspecifiedTransferCategory = 3;
    ObjectIdT openingBalanceCategory = 4;
    ObjectIdT correctionCategory = 6;
    ObjectIdT portfolioAccountType = 1;
    ObjectIdT portfolioResultAccountType = 3;
    ObjectIdT portfolioCategory = 5;
};
Defaults DefaultsOf(const CDocAccounting* document);

} // namespace booking

} // namespace ch
