// The model root's operations on the set of books as a whole: deletion by
// type code, moves in the account-type and category trees, the typed field
// setters, linking, unlinking, copying and pasting transactions, the
// recurring transactions, the change of home currency and the overview
// analysis list.

#include <algorithm>
#include <optional>
#include <vector>

#include "model/BookingLookups.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CAnalysisArray.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/SettingsAccounts.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/LineConversionKeeper.h"
#include "model/CTransactionDetailComparator.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LString.h"

namespace ch {

namespace {

template <typename T>
T* Typed(CNonVisual* object, FourCharCode typeCode)
{
    return object && object->Get_ObjectType() == typeCode ? dynamic_cast<T*>(object) : nullptr;
}

// Whether a posted line counts in its account or category for its own
// home-currency amount: a category's line and a profit-and-loss account's.
bool CountsAtItsOwnDate(const CDebit& line)
{
    if (line.Get_ObjectType() == type::kExpenseTypeDetail) return true;
    CNonVisual* account = line.Get_mAccountPtr();
    return account && account->Get_ObjectType() == type::kAccount &&
           static_cast<CAccount*>(account)->thisIsAProfitAndLossAccount();
}

// A transaction of either kind (a recurring template is one too).
CTransaction* AnyTransaction(CNonVisual* object)
{
    if (!object) return nullptr;
    FourCharCode typeCode = object->Get_ObjectType();
    return typeCode == type::kTransaction || typeCode == type::kRecurring ? static_cast<CTransaction*>(object)
                                                                          : nullptr;
}

bool Holds(const CNamedListArray& list, const CNonVisual* object)
{
    return list.FetchIndexOfObject(object) > 0;
}

// Keys of the typed setters.
constexpr long kKeyDefaultCategory = -13314;
constexpr long kKeyCurrency = -13310;
constexpr long kKeyOwner = -13305;
constexpr long kKeyAccountType = -13304;
constexpr long kKeyBalance = -13312;
constexpr long kKeyFiscalPct = -13308;
constexpr long kKeyTaxDeductiblePct = -13510;

// Refused: the settings book on the account, which would change kind.
constexpr long kErrorSettingsAccountKeepsItsKind = 334;
// Refused: an owner's invoices and payments book on it.
constexpr long kErrorOwnersAccountKeepsItsKind = 335;
// Refused: it holds a share, whose holding is its balance as own property.
constexpr long kErrorPortfolioKeepsItsKind = 338;

// Whether an owner books its invoices or payments on the account (turnover
// or open invoices, of a customer or a supplier).
bool OwnerBooksOn(const CNamedListArray* owners, ObjectIdT id)
{
    for (ArrayIndexT i = 1; owners && i <= static_cast<ArrayIndexT>(owners->GetCount()); ++i) {
        const auto* owner = static_cast<const CAccountOwner*>(owners->ObjectAt(i));
        if (owner && (owner->getMDebitorAccount() == id || owner->getMOpenDebitInvoiceAccount() == id ||
                      owner->getMCreditorAccount() == id || owner->getMOpenCreditInvoiceAccount() == id))
            return true;
    }
    return false;
}

} // namespace

// --- deletion

CNamedListArray* CDocAccounting::ListForDeletion(CNonVisual* object) const
{
    switch (object->Get_ObjectType()) {
    case type::kAccountType: return mAccountTypeList.get();
    case type::kAccount: return mAccountList.get();
    case type::kBudgetHeader: return mBudgetList.get();
    case type::kCurrency: return mCurrencyList.get();
    case type::kExpenseType: return mExpenseTypeList.get();
    case type::kMasterExpenseType: return mMasterExpenseTypeList.get();
    case type::kRecurring: return mRecurringList.get();
    case type::kAccountOwner: return mAccountOwnerList.get();
    case type::kTransaction:
        return object->Get_ObjectStatus() == status::kUnlinked ? mUnlinkedList.get() : mTransactionList.get();
    default: return nullptr;
    }
}

bool CDocAccounting::DeleteObject(CNonVisual* object)
{
    if (!object) return false;
    CNamedListArray* list = ListForDeletion(object);
    if (!list) {
        CErrorManager::RaiseError(136);
        return false;
    }
    // The object may refuse; then nothing has changed.
    if (!object->BeforeDelete()) return false;

    // Out of its list while it still lives: no list ever holds a destroyed
    // object, and the list's listeners hear of an object they may still read.
    if (!list->RemoveObject(object) && object->Get_ObjectType() == type::kTransaction) {
        // A transaction whose status no longer tells its list.
        CNamedListArray* other = list == mUnlinkedList.get() ? mTransactionList.get() : mUnlinkedList.get();
        other->RemoveObject(object);
    }
    // A deleted transaction of either kind can no longer be pasted.
    if (mCopiedTransaction == object) mCopiedTransaction = nullptr;
    delete object;
    SetModified(1);
    return true;
}

// --- moves in a tree

bool CDocAccounting::Put_mParentId(CNonVisual* parent, CNonVisual* child)
{
    if (!parent || !child) return false;
    const bool wasRoot = child->IsRootItem();
    const bool moved = child->Get_ObjectType() == type::kAccount
                           ? setForeignKey(child, kKeyAccountType, parent->Get_Id())
                           : child->Put_mParentId(parent->Get_Id());
    if (!moved) return false;
    if (!wasRoot || child->IsRootItem()) return true;

    // A top-level object that moved below another leaves its top-level sub-list.
    if (auto* group = Typed<CMasterExpenseType>(child, type::kMasterExpenseType)) {
        const MasterExpenseTypeT kind = group->Get_mMasterExpenseType();
        if (group->IsIncome(false) || group->IsExpense(false) || group->IsTransfer())
            mMasterExpenseTypeList->RemoveFromSubList(group, kind, kind);
    } else if (auto* accountType = Typed<CAccType>(child, type::kAccountType)) {
        mAccountTypeList->RemoveFromTopLevel(accountType);
    }
    return true;
}

// --- typed setters

bool CDocAccounting::setForeignKey(CNonVisual* object, long key, long value)
{
    auto* account = Typed<CAccount>(object, type::kAccount);
    if (!account) return false;
    const auto id = static_cast<ObjectIdT>(value);
    switch (key) {
    case kKeyDefaultCategory: return account->Put_mDefaultExpenseType(id);
    case kKeyCurrency: return account->Put_mCurrency(id);
    case kKeyOwner: return account->Put_mAccountOwnerId(id);
    case kKeyAccountType: {
        // A type that does not exist would leave the account outside the tree.
        const auto* newType = Typed<CAccType>(mAccountTypeList->GetValueForId(id), type::kAccountType);
        if (!newType) return false;
        // An account the settings book on keeps its kind: the default income
        // account under own property would hold every unspecified income.
        const bool sameKind = newType->thisIsAProfitAndLossAccount() == account->thisIsAProfitAndLossAccount() &&
                              newType->thisIsADebtAccount() == account->thisIsADebtAccount();
        if (!sameKind && mPreference && SettingsNameAccount(*mPreference, account->Get_Id())) {
            CErrorManager::RaiseError(kErrorSettingsAccountKeepsItsKind);
            return false;
        }
        // An owner's invoices book their turnover and VAT by the kind of its
        // accounts, and their payments release them: those keep their kind.
        if (!sameKind && OwnerBooksOn(mAccountOwnerList.get(), account->Get_Id())) {
            CErrorManager::RaiseError(kErrorOwnersAccountKeepsItsKind);
            return false;
        }
        // A share's holding is read as the balance of own property: under a
        // debt type the shares held would read negated, under profit and loss
        // as a result.
        const bool toOwnProperty = !newType->thisIsAProfitAndLossAccount() && !newType->thisIsADebtAccount();
        if (!sameKind && !toOwnProperty) {
            if (const CCurrency* share = booking::ShareHeldInAccount(this, account->Get_Id())) {
                char name[kNameSize] = {};
                share->Get_ShortName(name);
                CErrorManager::RaiseError(kErrorPortfolioKeepsItsKind, LStr255(name), LStr255());
                return false;
            }
        }
        const ObjectIdT oldType = account->Get_mAccountTypeId();
        const bool wasDebt = account->thisIsADebtAccount();
        const bool wasProfitAndLoss = account->thisIsAProfitAndLossAccount();
        const bool wasProperty = account->thisIsAPropretyAccount();
        // Posted, so that the balance that left the old type reaches the new one.
        if (!account->Put_mAccountTypeId(id, nullptr, true)) return false;
        mAccountList->SwitchList(account, wasDebt ? CAccountArray::kWasDebt : oldType, wasProfitAndLoss,
                                 wasProperty);
        // Its bookings move other property now: their categories follow, as
        // they would when each was entered again.
        if (!sameKind) AgreeCategoriesOfBookingsOn(*account);
        return true;
    }
    default: return false;
    }
}

void CDocAccounting::AgreeCategoriesOfBookingsOn(CAccount& account)
{
    // The copies waiting to be linked too: linked later, they would book the
    // old kind's categories until their sheet was okayed again.
    for (CNamedListArray* list : {mTransactionList.get(), mUnlinkedList.get()}) {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* transaction = Typed<CTransaction>(list->ObjectAt(i), type::kTransaction);
            if (!transaction || !transaction->IsOnAccount(&account) ||
                transaction->Get_ObjectStatus() == status::kBlocked)
                continue;
            transaction->AgreeCategoriesWithSides();
        }
    }
    // The recurring templates on it too: the copies they make, and their
    // sheet okayed unchanged, would otherwise book the old kind's categories.
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(mRecurringList->GetCount()); ++i) {
        auto* recurring = Typed<CTransaction>(mRecurringList->ObjectAt(i), type::kRecurring);
        if (recurring && recurring->IsOnAccount(&account)) recurring->AgreeCategoriesWithSides();
    }
}

bool CDocAccounting::setAmountT(CNonVisual* object, long key, double value)
{
    if (auto* account = Typed<CAccount>(object, type::kAccount)) {
        if (key == kKeyBalance) return account->AdjustBlanceTo(value, false);
        if (key == kKeyFiscalPct) return account->Put_mFiscalPct(value);
        return false;
    }
    if (auto* category = Typed<CExpenseType>(object, type::kExpenseType))
        return key == kKeyTaxDeductiblePct && category->Put_mTaxDeductiblePct(value);
    return false;
}

bool CDocAccounting::setNameT(const char* name, CNonVisual* object)
{
    if (!object || object->Get_ObjectType() == type::kCurrency) return false;
    return object->Put_Name(name ? name : "");
}

bool CDocAccounting::setDescriptionT(const char* description, CNonVisual* object)
{
    if (auto* category = Typed<CExpenseType>(object, type::kExpenseType))
        return category->Put_mDescription(description);
    if (auto* account = Typed<CAccount>(object, type::kAccount)) return account->Put_mDescription(description);
    if (auto* accountType = Typed<CAccType>(object, type::kAccountType))
        return accountType->Put_mDescription(description);
    return false;
}

bool CDocAccounting::setAccountClassificationNumberT(const char* number, CNonVisual* object)
{
    if (auto* account = Typed<CAccount>(object, type::kAccount)) return account->Put_mAccountNumber(number);
    if (auto* accountType = Typed<CAccType>(object, type::kAccountType))
        return accountType->Put_mAccountNumber(number);
    return false;
}

bool CDocAccounting::setBankAccountNumberT(const char* number, CNonVisual* object)
{
    auto* account = Typed<CAccount>(object, type::kAccount);
    return account && account->Put_mNumber(number);
}

bool CDocAccounting::setMasterExpenseType(MasterExpenseTypeT kind, CMasterExpenseType* group)
{
    if (!group) return false;
    const MasterExpenseTypeT oldKind = group->Get_mMasterExpenseType();
    if (!group->Put_mMasterExpenseType(kind)) return false;
    // The group's top-level sub-list follows its kind.
    if (Holds(*mMasterExpenseTypeList, group)) mMasterExpenseTypeList->SwitchList(group, kind, oldKind);
    return true;
}

bool CDocAccounting::setColor(RGBColor color, CNonVisual* object)
{
    if (auto* category = Typed<CExpenseType>(object, type::kExpenseType)) return category->Put_Color(color);
    if (auto* group = Typed<CMasterExpenseType>(object, type::kMasterExpenseType)) return group->Put_Color(color);
    return false;
}

// --- transactions

CTransaction* CDocAccounting::InsertTransaction(unsigned char withLines, unsigned char,
                                                TransactionTypeT transactionType)
{
    auto* transaction = new CTransaction(-1, this, withLines != 0, transactionType, false);
    mTransactionList->InsertObjectAt(transaction, 1);
    return transaction;
}

bool CDocAccounting::insertTransaction(CTransaction* transaction)
{
    if (!transaction) return false;
    mTransactionList->InsertObjectAt(transaction, 1);
    return true;
}

CTransaction* CDocAccounting::CreateTemporaryTransaction(unsigned char withLines, unsigned char,
                                                         TransactionTypeT transactionType)
{
    // The temporary transaction and its default lines use none of the
    // document's object ids.
    const ObjectIdT maxId = mIds.mi_MaxId;
    auto* transaction =
        new CTransaction(CNonVisual::kTemporaryId, this, withLines != 0, transactionType, true);
    mIds.mi_MaxId = maxId;
    return transaction;
}

bool CDocAccounting::UnlinkTrans(CTransaction* transaction)
{
    if (!transaction || !transaction->Unlink()) return false;
    mTransactionList->RemoveObject(transaction);
    if (!Holds(*mUnlinkedList, transaction)) mUnlinkedList->InsertObjectAt(transaction, 1);
    return true;
}

bool CDocAccounting::LinkTrans(CTransaction* transaction)
{
    if (!transaction || !transaction->Link()) return false;
    mUnlinkedList->RemoveObject(transaction);
    if (!Holds(*mTransactionList, transaction)) mTransactionList->InsertObjectAt(transaction, 1);
    SetModified(1);
    return true;
}

bool CDocAccounting::CopyTransaction(CTransaction* transaction)
{
    mCopiedTransaction = transaction;
    return true;
}

bool CDocAccounting::CutTransaction(CTransaction* transaction)
{
    mCopiedTransaction = transaction;
    return true;
}

CTransaction* CDocAccounting::PasteTransaction()
{
    CTransaction* copied = AnyTransaction(mCopiedTransaction);
    if (!copied) return nullptr;
    CTransaction* transaction = CreateTransactionFromCopy(copied);
    if (transaction) LinkTrans(transaction);
    return transaction;
}

bool CDocAccounting::CopyTransactionFrom(CTransaction* source, CTransaction* target, unsigned char link)
{
    if (!source || !target || source == target) return false;
    // A blocked transaction can't be changed.
    if (target->Get_ObjectStatus() == status::kBlocked) {
        CErrorManager::RaiseError(137);
        return false;
    }
    // A posted target leaves its balances and its list first.
    if (target->Get_ObjectStatus() != status::kUnlinked && Holds(*mTransactionList, target) &&
        !UnlinkTrans(target))
        return false;
    target->InitFromCopy(source);
    if (link) LinkTrans(target);
    return true;
}

CTransaction* CDocAccounting::CreateTransactionFromCopy(CTransaction* source)
{
    if (!source) return nullptr;
    CTransaction* transaction = InsertTransaction(0, 0, transaction_type::kOther);
    if (!transaction) return nullptr;
    UnlinkTrans(transaction);
    transaction->InitFromCopy(source);
    return transaction;
}

// --- recurring transactions

CRecurringTransaction* CDocAccounting::InsertRecurringTransaction(unsigned char withLines, unsigned char insert)
{
    auto* recurring = new CRecurringTransaction(-1, this, withLines != 0, transaction_type::kOther);
    if (insert) {
        mRecurringList->InsertObjectAt(recurring, 1);
        SetModified(1);
    }
    return recurring;
}

CRecurringTransaction* CDocAccounting::PasteRecurringTransaction()
{
    CTransaction* copied = AnyTransaction(mCopiedTransaction);
    if (!copied) return nullptr;
    CRecurringTransaction* recurring = InsertRecurringTransaction(0, 1);
    recurring->InitFromCopy(copied);
    return recurring;
}

bool CDocAccounting::GenerateRecurring()
{
    // Generation adds to the transaction lists only, so the recurring list
    // stays as it is. One run books a bounded number in all.
    long budget = CRecurringTransaction::kMaxCopiesPerRun;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(mRecurringList->GetCount()) && budget > 0; ++i) {
        if (auto* recurring = Typed<CRecurringTransaction>(mRecurringList->ObjectAt(i), type::kRecurring))
            budget -= recurring->GenerateAtMost(budget);
    }
    return true;
}

// --- home currency

bool CDocAccounting::ChangeHomeCurrency(ObjectIdT newId, ObjectIdT)
{
    CNonVisual* newObject = mCurrencyList->GetValueForId(newId);
    // A currency that does not exist can't become the home currency.
    if (!newObject) return false;
    CNonVisual* current = nullptr;
    Get_HomeCurrency(current);
    auto* oldHome = Typed<CCurrency>(current, type::kCurrency);
    // Without a home currency there is nothing to convert from: the new one is simply taken.
    if (!oldHome) return true;
    auto* newHome = Typed<CCurrency>(newObject, type::kCurrency);
    if (!newHome) return false;

    // One unit of the old home currency in the new one.
    const double factor = newHome->ConvertToForeign(1.0, 0, false);
    // A line in another currency than its account's counts there converted
    // through the home currency: what it was booked for stays. The keeper
    // ends before the lines are posted again, so that they post that.
    std::optional<LineConversionKeeper> keeper(std::in_place, this, true);

    // The lines on profit-and-loss accounts and on categories count after the
    // change for what each converts to at the rate of its own date, as
    // reading the books again adds them up: they are taken off here and
    // posted again once everything is converted.
    std::vector<CDebit*> reposted;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(mTransactionList->GetCount()); ++i) {
        CTransaction* transaction = AnyTransaction(mTransactionList->ObjectAt(i));
        if (!transaction) continue;
        for (CNamedListArray* lines : {transaction->GetDebitList(), transaction->GetCreditList(),
                                       transaction->GetExpenseTypeList()}) {
            for (ArrayIndexT j = 1; j <= static_cast<ArrayIndexT>(lines->GetCount()); ++j) {
                auto* line = static_cast<CDebit*>(lines->ObjectAt(j));
                if (!line->IsPosted() || !CountsAtItsOwnDate(*line)) continue;
                line->SubtractFromParent();
                reposted.push_back(line);
            }
        }
    }

    // Transactions first: each converts at the rate of its own date, which
    // the currencies still know until they are converted themselves.
    for (CNamedListArray* list : {mTransactionList.get(), mRecurringList.get(), mUnlinkedList.get()}) {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            if (CTransaction* transaction = AnyTransaction(list->ObjectAt(i)))
                transaction->SetNewHomeCurrency(oldHome, newHome);
        }
    }
    auto each = [](CNamedListArray& list, auto convert) {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i) convert(list.ObjectAt(i));
    };
    each(*mCurrencyList, [&](CNonVisual* object) {
        if (auto* currency = Typed<CCurrency>(object, type::kCurrency))
            currency->SetNewHomeCurrency(oldHome, newHome, factor);
    });

    // From here on the new currency is the home currency, so that the
    // corrections the accounts book are expressed in it.
    if (mPreference) {
        mPreference->Put_Document(nullptr);
        mPreference->Put_mHomeCurrency(newId);
        mPreference->Put_Document(this);
    }
    // Profit-and-loss accounts and categories before the lines go back on
    // them, and before the other accounts book their remainders on them.
    each(*mAccountList, [&](CNonVisual* object) {
        auto* account = Typed<CAccount>(object, type::kAccount);
        if (account && account->thisIsAProfitAndLossAccount()) account->SetNewHomeCurrency(oldHome, newHome, factor);
    });
    each(*mExpenseTypeList, [&](CNonVisual* object) {
        if (auto* category = Typed<CExpenseType>(object, type::kExpenseType))
            category->SetNewHomeCurrency(oldHome, newHome, factor);
    });
    each(*mMasterExpenseTypeList, [&](CNonVisual* object) {
        if (auto* group = Typed<CMasterExpenseType>(object, type::kMasterExpenseType))
            group->SetNewHomeCurrency(oldHome, newHome, factor);
    });
    keeper.reset();
    for (CDebit* line : reposted) line->AddupToParent();
    // The remainders are booked in the order of the accounts' ids: the
    // list's order follows renames and sorts made before, so a replay on
    // the books read again would give their transactions other ids.
    std::vector<CAccount*> byId;
    each(*mAccountList, [&](CNonVisual* object) {
        auto* account = Typed<CAccount>(object, type::kAccount);
        if (account && !account->thisIsAProfitAndLossAccount()) byId.push_back(account);
    });
    std::sort(byId.begin(), byId.end(),
              [](const CAccount* a, const CAccount* b) { return a->Get_Id() < b->Get_Id(); });
    for (CAccount* account : byId) account->SetNewHomeCurrency(oldHome, newHome, factor);
    each(*mAccountTypeList, [&](CNonVisual* object) {
        auto* accountType = Typed<CAccType>(object, type::kAccountType);
        if (accountType && accountType->IsRootItem()) accountType->RecalculateLocalBalance();
    });
    return true;
}

// --- analysis

std::unique_ptr<CAnalysisArray> CDocAccounting::getOverviewAnalysisArray()
{
    auto lines = std::make_unique<CAnalysisArray>(new CTransactionDetailComparator, true);
    bool first = true;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(mAccountTypeList->GetCount()); ++i) {
        auto* accountType = Typed<CAccType>(mAccountTypeList->ObjectAt(i), type::kAccountType);
        if (!accountType || !accountType->thisIsAProfitAndLossAccount()) continue;
        if (first) lines->InitFromObject(accountType, false);
        else lines->AddObject(accountType, false);
        first = false;
    }
    lines->Finalize();
    return lines;
}

} // namespace ch
