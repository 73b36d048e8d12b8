#include "import/ImportLookups.h"

#include <algorithm>

#include "import/ImportText.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CPreference.h"
#include "model/ModelCodes.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr std::size_t kShortestNameInDescription = 7;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!isBlank(c)) out += c;
    return out;
}

template <typename Visit>
void eachAccount(const CDocAccounting& books, Visit visit)
{
    const CNamedListArray* list = books.mAccountList.get();
    const auto count = list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = list->ObjectAt(i);
        if (object && object->Get_ObjectType() == type::kAccount && !visit(static_cast<CAccount*>(object))) return;
    }
}

} // namespace

ImportDefaults importDefaultsOf(const CDocAccounting& books)
{
    ImportDefaults defaults;
    const CPreference* settings = books.mPreference;
    if (!settings) return defaults;
    defaults.ownPropertyAccount = settings->Get_mDefAccntOwnProperty();
    defaults.unspecifiedIncomeAccount = settings->Get_mDefAccntUnspecifiedIncome();
    defaults.unspecifiedExpenseAccount = settings->Get_mDefAccntUnspecifiedExpense();
    defaults.openingBalanceAccount = settings->Get_mDefAccntOpeningBalance();
    defaults.creditCardAccount = settings->Get_mDefaultCreditCardAccount();
    defaults.unspecifiedIncomeCategory = settings->Get_mDefExpTUnspecifiedIncome();
    defaults.unspecifiedExpenseCategory = settings->Get_mDefExpTUnspecifiedExpense();
    defaults.unspecifiedTransferCategory = settings->Get_mDefExpTUnspecifiedTransfer();
    defaults.openingBalanceCategory = settings->Get_mDefExpTUnspecifiedOpeningBalance();
    defaults.portfolioAccountType = settings->Get_mDefPortfolioAccountType();
    if (const CAccount* own = accountForId(books, defaults.ownPropertyAccount))
        defaults.ownPropertyAccountType = own->Get_mAccountTypeId();
    return defaults;
}

CAccount* accountForId(const CDocAccounting& books, ObjectIdT id)
{
    return books.GetAccountForID(id);
}

bool sameBankAccountNumber(std::string_view stored, std::string_view statement)
{
    if (equalsCaseInsensitive(stored, statement)) return true;
    constexpr std::size_t kHeld = CAccount::kBankNumberSize - 1;
    return characterCount(stored) == kHeld && characterCount(statement) > kHeld &&
           equalsCaseInsensitive(stored, firstCharacters(statement, kHeld));
}

CAccount* accountForAccountNr(const CDocAccounting& books, std::string_view number)
{
    if (number.empty()) return nullptr;
    if (CAccount* exact = books.GetAccountForAccountNr(number)) return exact;
    CAccount* found = nullptr;
    eachAccount(books, [&](CAccount* account) {
        if (sameBankAccountNumber(account->Get_StringRefBankAccountNumber(), number)) found = account;
        return found == nullptr;
    });
    return found;
}

CAccount* accountForName(const CDocAccounting& books, std::string_view name)
{
    if (name.empty()) return nullptr;
    CAccount* found = nullptr;
    eachAccount(books, [&](CAccount* account) {
        if (equalsCaseInsensitive(account->Get_StringRefNameOnly(), name)) found = account;
        return found == nullptr;
    });
    // The name as the lists show it ("number : name") names it too.
    return found ? found : books.GetAccountForName(name);
}

CAccount* accountForTransactionDescription(const CDocAccounting& books, std::string_view description)
{
    if (description.empty()) return nullptr;
    const bool blanks = std::any_of(description.begin(), description.end(), isBlank);
    const std::string text = blanks ? withoutBlanks(description) : std::string(description);
    CAccount* found = nullptr;
    int matches = 0;
    eachAccount(books, [&](CAccount* account) {
        const std::string& name = account->Get_StringRefNameOnly();
        if (utf16Length(name) < kShortestNameInDescription) return true;
        if (containsCaseInsensitive(text, blanks ? withoutBlanks(name) : name)) {
            found = account;
            ++matches;
        }
        return matches < 2;
    });
    return matches == 1 ? found : nullptr;
}

CAccountOwner* ownerForName(const CDocAccounting& books, std::string_view name)
{
    if (name.empty()) return nullptr;
    return books.GetAccountOwnerForName(name);
}

CCurrency* currencyForSymbol(const CDocAccounting& books, std::string_view symbol)
{
    if (symbol.empty()) return nullptr;
    // Most statements name one currency the books hold once: found without
    // sorting the list. Several of that symbol: the books' own order decides.
    CCurrency* found = nullptr;
    const CNamedListArray* list = books.mCurrencyList.get();
    for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
        CNonVisual* object = list->ObjectAt(i);
        if (!object || object->Get_ObjectType() != type::kCurrency) continue;
        auto* currency = static_cast<CCurrency*>(object);
        if (!equalsCaseInsensitive(currency->Get_ShortStringRefName(), symbol)) continue;
        if (found) return books.GetCurrencyForSymbol(symbol);
        found = currency;
    }
    return found;
}

CCurrency* currencyForId(const CDocAccounting& books, ObjectIdT id)
{
    return books.GetCurrencyForId(id);
}

CExpenseType* categoryForId(const CDocAccounting& books, ObjectIdT id)
{
    return books.GetExpenseTypeForID(id);
}

CExpenseType* categoryForName(const CDocAccounting& books, std::string_view name)
{
    if (name.empty()) return nullptr;
    return books.GetExpenseTypeForName(name);
}

CCurrency* homeCurrencyOf(const CDocAccounting& books)
{
    CNonVisual* home = nullptr;
    books.Get_HomeCurrency(home);
    return home && home->Get_ObjectType() == type::kCurrency ? static_cast<CCurrency*>(home) : nullptr;
}

std::string homeCurrencySymbol(const CDocAccounting& books)
{
    const TextRef symbol = books.Get_HomeCurrencySymbol();
    return symbol ? std::string(*symbol) : std::string();
}

} // namespace ch
