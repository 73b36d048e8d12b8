// The model root's part for accounts: look-ups, insertion and the default
// set of books of a new document.

#include <memory>
#include <string_view>

#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/DefaultBooks.h"

namespace ch {

namespace {

// Ids up to this one are the default objects, which insertion reuses.
constexpr ObjectIdT kHighestDefaultId = 6;

CAccount* AsAccount(CNonVisual* object)
{
    return object && object->Get_ObjectType() == type::kAccount ? static_cast<CAccount*>(object) : nullptr;
}

} // namespace

void CDocAccounting::SetDefaults(const char* homeCurrencySymbol)
{
    BuildDefaultBooks(*this, homeCurrencySymbol);
}

CAccount* CDocAccounting::GetAccountForID(ObjectIdT id) const
{
    return AsAccount(mAccountList->GetValueForId(id));
}

CAccount* CDocAccounting::GetAccountForName(TextRef name) const
{
    CNonVisual* account = nullptr;
    ArrayIndexT position = 0;
    if (mAccountList->GetIdForValue(name, account, position) == -1) return nullptr;
    return AsAccount(account);
}

CAccount* CDocAccounting::GetAccountForAccountNr(TextRef number) const
{
    CNonVisual* account = nullptr;
    ArrayIndexT position = 0;
    if (mAccountList->GetIdForAccountNr(number, account, position) == -1) return nullptr;
    return AsAccount(account);
}

CAccount* CDocAccounting::SearchAccount(TextRef text) const
{
    if (CAccount* account = GetAccountForName(text)) return account;
    if (CAccount* account = GetAccountForID(CNamedListArray::TextToId(text))) return account;
    return GetAccountForAccountNr(text);
}

CAccount* CDocAccounting::InsertAccount(ObjectIdT id, const char* name, TextRef cfName,
                                        const char* description, TextRef cfDescription,
                                        ObjectIdT accountTypeId, ObjectIdT currencyId,
                                        CAccType* accountType)
{
    bool byName = cfName && !cfName->empty();
    CAccount* account = byName ? GetAccountForName(cfName) : nullptr;
    if (!account && id <= kHighestDefaultId) account = GetAccountForID(id);
    auto nameAccount = [&](CAccount* named) {
        named->Put_Name(name);
        named->Put_mDescription(description);
        if (cfName) named->Put_StringrefName(cfName);
        if (cfDescription) named->Put_StringrefDesc(cfDescription);
        CNonVisual* home = nullptr;
        named->Put_mCurrency(currencyId >= 2 ? currencyId : Get_HomeCurrency(home));
    };
    if (!account && byName && name && *name && mAccountList->AllInStrictNameOrder()) {
        // A new name for lists in name order: named first and put straight in
        // its place, so that making many accounts one after the other never
        // walks the lists (an import naming a thousand transfer targets).
        auto made = std::make_unique<CAccount>(this);
        made->Put_mAccountTypeId(accountTypeId, accountType, true);
        nameAccount(made.get());
        if (mAccountList->InsertObjectAt(made.get(), 1) <= 0) {
            made->Put_mAccountTypeId(0, nullptr, true);
            return nullptr;
        }
        account = made.release();
        if (!mAccountList->SortFrontObject(account)) {
            mAccountList->SetNotSorted();
            mAccountList->Sort();
        }
        return account;
    }
    if (!account) {
        // Joins its type before the list files it by kind.
        auto made = std::make_unique<CAccount>(this);
        made->Put_mAccountTypeId(accountTypeId, accountType, true);
        if (mAccountList->InsertObjectAt(made.get(), 1) <= 0) {
            made->Put_mAccountTypeId(0, nullptr, true);
            return nullptr;
        }
        account = made.release();
    }
    if (name && *name) nameAccount(account);
    mAccountList->SetNotSorted();
    mAccountList->Sort();
    return account;
}

bool CDocAccounting::UnlinkedTransactionExistsForExpenseType(CExpenseType* category) const
{
    auto count = static_cast<ArrayIndexT>(mUnlinkedList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (mUnlinkedList->ObjectAt(i)->IsOnExpenseType(category)) return true;
    }
    return false;
}

} // namespace ch
