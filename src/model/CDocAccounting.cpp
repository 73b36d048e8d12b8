#include "model/CDocAccounting.h"

#include <algorithm>

#include "model/DocumentServices.h"

#include <vector>

#include "model/CAccountOwner.h"
#include "model/CHierarchyRoot.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/ModelComparators.h"
#include "model/foundation/CDate.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

std::unique_ptr<CNamedListArray> NewNamedList()
{
    return std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
}

// A list of the chart of accounts: by name, with its sub-lists by kind.
template <typename List>
std::unique_ptr<List> NewChartList()
{
    return std::make_unique<List>(new LNamedlistArrayComparator, false);
}

std::unique_ptr<CNamedListArray> NewTransactionList()
{
    return std::make_unique<CNamedListArray>(new CTransactionComparator, false);
}

} // namespace

CDocAccounting::CDocAccounting()
    : mCurrencyList(NewChartList<CCurrencyArray>()),
      mAccountList(NewChartList<CAccountArray>()),
      mExpenseTypeList(NewChartList<CExpenseTypeArray>()),
      mTransactionList(std::make_unique<CTransactionArray>(new CTransactionComparator, false)),
      mUnlinkedList(NewTransactionList()),
      mAccountKindList(NewNamedList()),
      mAccountOwnerList(NewNamedList()),
      mAccountTypeList(NewChartList<CAccountTypeArray>()),
      mRecurringList(NewTransactionList()),
      mMasterExpenseTypeList(NewChartList<CMasterExpenseTypeArray>()),
      mSpareTransactionList1(NewTransactionList()),
      mSpareTransactionList2(NewTransactionList()),
      mBankList(NewNamedList()),
      mBudgetList(NewNamedList()),
      mRootList(NewNamedList()),
      mSpareNamedList(NewNamedList())
{
    // The account kinds; their ids are the master types of account types.
    const struct {
        ObjectIdT id;
        const char* name;
    } kinds[] = {{1, "Own Property"}, {2, "Debts/Liabilities"}, {3, "Profit And Loss"}, {6, "Assets"}};
    ArrayIndexT position = 1;
    for (const auto& kind : kinds) {
        auto* placeholder = new CNonVisual(kind.id, this);
        placeholder->Put_Name(kind.name);
        mAccountKindList->InsertObjectAt(placeholder, position++);
    }
    mAccountKindList->Sort();

    auto* accountRoot = new CHierarchyRoot(kAccountRootId, this);
    accountRoot->Put_Name("Account Types");
    accountRoot->Put_Document(this);
    accountRoot->PutContents(mAccountTypeList.get(), type::kAccountType);
    mRootList->InsertObjectAt(accountRoot, 1);

    auto* groupRoot = new CHierarchyRoot(kExpenseTypeRootId, this);
    groupRoot->Put_Name("Master Expensetypes");
    groupRoot->Put_Document(this);
    groupRoot->PutContents(mMasterExpenseTypeList.get(), type::kMasterExpenseType);
    mRootList->InsertObjectAt(groupRoot, 1);
}

CDocAccounting::~CDocAccounting()
{
    DeleteAllObjects();
}

void CDocAccounting::DeleteAllObjects()
{
    // Leaves first (transactions own their lines), the fixed objects last. The
    // lists are emptied before any object goes, so that no list ever holds a
    // destroyed object; their listeners still hear 202 when the lists go.
    CNamedListArray* lists[] = {
        mTransactionList.get(), mUnlinkedList.get(), mSpareTransactionList1.get(),
        mSpareTransactionList2.get(), mRecurringList.get(), mBudgetList.get(),
        mAccountList.get(), mExpenseTypeList.get(), mMasterExpenseTypeList.get(),
        mAccountTypeList.get(), mCurrencyList.get(), mBankList.get(),
        mAccountOwnerList.get(), mRootList.get(), mAccountKindList.get(), mSpareNamedList.get()};

    // An object listed twice goes once: each object is marked as it is met.
    std::vector<CNonVisual*> objects;
    std::size_t total = 0;
    for (CNamedListArray* list : lists) total += list->GetCount();
    objects.reserve(total);
    for (CNamedListArray* list : lists) {
        const auto count = static_cast<ArrayIndexT>(list->GetCount());
        // The items are one block of object pointers.
        CNonVisual* const* items = count > 0 ? static_cast<CNonVisual* const*>(list->GetItemPtr(1)) : nullptr;
        for (ArrayIndexT i = 0; i < count; ++i) {
            CNonVisual* object = items[i];
            if (!object || object->mMarked) continue;
            object->mMarked = true;
            objects.push_back(object);
        }
        list->StopBroadcasting();
        list->RemoveItemsAt(list->GetCount(), 1);
        list->StartBroadcasting();
    }
    for (CNonVisual* object : objects) CNonVisual::Destroy(object);
    // Every object read into the pool went with its list.
    mPool.Release();
    delete mPreference;
    mPreference = nullptr;
    mCopiedTransaction = nullptr;
}

void CDocAccounting::SetModified(unsigned char modified)
{
    if (modified && mChangeListener) mChangeListener->updateChangeCount();
}

FourCharCode CDocAccounting::fileVersion() const
{
    return mPreference ? mPreference->Get_Version() : 0;
}

// --- look-ups

CHierarchyRoot* CDocAccounting::Get_AccountRoot() const
{
    return static_cast<CHierarchyRoot*>(mRootList->GetValueForId(kAccountRootId));
}

CHierarchyRoot* CDocAccounting::Get_ExpenseTypeRoot() const
{
    return static_cast<CHierarchyRoot*>(mRootList->GetValueForId(kExpenseTypeRootId));
}

CAccountOwner* CDocAccounting::Get_Me() const
{
    return GetAccountOwnerForId(1);
}

CAccountOwner* CDocAccounting::GetAccountOwnerForId(ObjectIdT id) const
{
    return static_cast<CAccountOwner*>(mAccountOwnerList->GetValueForId(id));
}

CAccountOwner* CDocAccounting::GetAccountOwnerForName(TextRef name) const
{
    CNonVisual* owner = nullptr;
    ArrayIndexT position = 0;
    if (mAccountOwnerList->GetIdForValue(name, owner, position) == -1) return nullptr;
    return static_cast<CAccountOwner*>(owner);
}

CAccountOwner* CDocAccounting::GetAccountOwnerForUID(TextRef uid) const
{
    if (!uid) return nullptr;
    auto count = static_cast<ArrayIndexT>(mAccountOwnerList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        auto* owner = static_cast<CAccountOwner*>(mAccountOwnerList->ObjectAt(i));
        const auto& ownerUid = owner->Get_mCFAddressbookId();
        if (ownerUid && equalsCaseInsensitive(*ownerUid, *uid)) return owner;
    }
    return nullptr;
}

ObjectIdT CDocAccounting::Get_HomeCurrency(CNonVisual*& outCurrency) const
{
    ObjectIdT id = mPreference ? mPreference->Get_mHomeCurrency() : 1;
    outCurrency = mCurrencyList->GetValueForId(id);
    return id;
}

ObjectIdT CDocAccounting::Get_InputCurrency(CNonVisual*& outCurrency) const
{
    ObjectIdT id = mPreference ? mPreference->Get_mInputCurrency() : 1;
    outCurrency = mCurrencyList->GetValueForId(id);
    return id;
}

DateT CDocAccounting::GetEarliestDate() const
{
    // Read in newest-first order, but a transaction booked or redated while
    // the books are open stays where it was put: look at every one, so the
    // monthly averages are the same before a save and after the reopening.
    const auto count = static_cast<ArrayIndexT>(mTransactionList->GetCount());
    if (count == 0) return CDate::GetNowAsDateT();
    DateT oldest = mTransactionList->ObjectAt(1)->Get_SortDate();
    for (ArrayIndexT i = 2; i <= count; ++i) oldest = std::min(oldest, mTransactionList->ObjectAt(i)->Get_SortDate());
    return oldest;
}

bool CDocAccounting::DateIsFromPreviousYear(DateT date) const
{
    return mPreference && mPreference->DateIsFromPreviousYear(date);
}

bool CDocAccounting::DateIsFromThisYear(DateT date) const
{
    return mPreference && mPreference->DateIsFromThisYear(date);
}

bool CDocAccounting::RecurringTransactionExistsForAccount(CAccount* account) const
{
    auto count = static_cast<ArrayIndexT>(mRecurringList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (mRecurringList->ObjectAt(i)->IsOnAccount(account)) return true;
    }
    return false;
}

bool CDocAccounting::RecurringTransactionExistsForExpenseType(CExpenseType* category) const
{
    auto count = static_cast<ArrayIndexT>(mRecurringList->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        if (mRecurringList->ObjectAt(i)->IsOnExpenseType(category)) return true;
    }
    return false;
}

// --- insertion

CAccountOwner* CDocAccounting::InsertAccountOwner(ObjectIdT id, TextRef name, TextRef firstName,
                                                  TextRef address, TextRef phone, TextRef fax,
                                                  TextRef eMail, TextRef vatNumber)
{
    CAccountOwner* owner = nullptr;
    if (id == 1) owner = Get_Me();
    if (!owner) {
        bool idIsFree = id > 0 && !GetAccountOwnerForId(id);
        owner = idIsFree ? new CAccountOwner(id, this) : new CAccountOwner(-1, this);
        owner->Put_Document(this);
        mAccountOwnerList->InsertObjectAt(owner, 1);
    }
    if (name) owner->Import(name, firstName, address, phone, fax, eMail, vatNumber);
    return owner;
}


} // namespace ch
