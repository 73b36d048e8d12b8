#include "model/BooksCheck.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/BooksDamage.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetHeader.h"

namespace ch {
namespace {

// Calls `act` with each object of the list, as the class the list holds.
template <class Object, class Act>
void ForEach(const CNamedListArray& list, Act act)
{
    const auto count = static_cast<std::size_t>(CountOf(&list));
    if (count == 0) return;
    CNonVisual* const* objects = static_cast<CNonVisual* const*>(list.GetItemPtr(1));
    for (std::size_t i = 0; i < count; ++i) act(*static_cast<const Object*>(objects[i]));
}

// Objects with their ids, as a walk over them met them.
using IdsMet = std::vector<std::pair<ObjectIdT, const CNonVisual*>>;

void Meet(IdsMet& met, const CNamedListArray& list)
{
    ForEach<CNonVisual>(list, [&](const CNonVisual& object) { met.emplace_back(object.Get_Id(), &object); });
}

// Every object whose id an earlier one holds. Ids of books are numbered from
// 1 with few gaps: a table by id tells them without a hash.
void NoteSharedIds(const IdsMet& met, BooksDamage& damage)
{
    ObjectIdT highest = 0;
    bool positive = true;
    for (const auto& [id, object] : met) {
        positive = positive && id > 0;
        highest = std::max(highest, id);
    }
    if (positive && std::size_t(highest) <= 4 * met.size() + 1024) {
        std::vector<const CNonVisual*> holder(std::size_t(highest) + 1, nullptr);
        for (const auto& [id, object] : met) {
            const CNonVisual*& first = holder[std::size_t(id)];
            if (first) damage.NoteIdShared(*first, *object);
            else first = object;
        }
        return;
    }
    std::unordered_map<ObjectIdT, const CNonVisual*> holder;
    holder.reserve(met.size());
    for (const auto& [id, object] : met) {
        const auto [at, first] = holder.emplace(id, object);
        if (!first) damage.NoteIdShared(*at->second, *object);
    }
}

class Checker {
public:
    Checker(const CDocAccounting& books, BooksDamage& damage) : mBooks(books), mDamage(damage) {}

    void Run()
    {
        for (const CNamedListArray* list : std::initializer_list<const CNamedListArray*>{
                 mBooks.mAccountOwnerList.get(), mBooks.mCurrencyList.get(), mBooks.mBankList.get(),
                 mBooks.mBudgetList.get()}) {
            IdsMet met;
            Meet(met, *list);
            NoteSharedIds(met, mDamage);
        }
        // Posted and unlinked transactions are one kind: linking moves one between the lists.
        IdsMet transactions;
        transactions.reserve(std::size_t(CountOf(mBooks.mTransactionList.get())));
        CheckTransactions(*mBooks.mTransactionList, true, transactions);
        CheckTransactions(*mBooks.mUnlinkedList, false, transactions);
        NoteSharedIds(transactions, mDamage);
        IdsMet recurring;
        CheckTransactions(*mBooks.mRecurringList, false, recurring);
        NoteSharedIds(recurring, mDamage);
        CheckAccounts();
        CheckCategories();
        CheckBudgets();
    }

private:
    // Remembers the last answer: the lines of books name a few currencies over and over.
    bool CurrencyExists(ObjectIdT id)
    {
        if (!mCurrencyKnown || id != mCurrencyId) {
            mCurrencyId = id;
            mCurrencyExists = mBooks.GetCurrencyForId(id) != nullptr;
            mCurrencyKnown = true;
        }
        return mCurrencyExists;
    }

    void CheckTransactions(const CNamedListArray& list, bool posted, IdsMet& met)
    {
        ForEach<CTransaction>(list, [&](const CTransaction& transaction) { CheckTransaction(transaction, posted, met); });
    }

    void CheckTransaction(const CTransaction& transaction, bool posted, IdsMet& met)
    {
        met.emplace_back(transaction.Get_Id(), &transaction);
        if (!CurrencyExists(transaction.Get_mCurrencyId()))
            mDamage.NoteMissingReference(type::kCurrency, transaction.Get_mCurrencyId(), transaction);
        const double debits = CheckLines(*transaction.GetDebitList(), transaction, false);
        const double credits = CheckLines(*transaction.GetCreditList(), transaction, false);
        CheckLines(*transaction.GetExpenseTypeList(), transaction, true);
        if (posted && debits != credits && !CTransaction::SidesAgree(debits, credits))
            mDamage.NoteUnbalanced(transaction, debits, credits);
    }

    // Notes the lines that name what does not exist; the sum of their
    // home-currency amounts (the side's total, as Validate adds it).
    double CheckLines(const CNamedListArray& lines, const CTransaction& transaction, bool categories)
    {
        double total = 0.0;
        ForEach<CDebit>(lines, [&](const CDebit& line) {
            total += line.Get_mLocalAmount();
            const ObjectIdT id = line.Get_mAccountId();
            // A posted line is listed with the object it books on (no look-up
            // then). A category line of no category (an id of 0 or less) is
            // booked where a setting names none, as supplier invoices do for
            // their VAT.
            if (!(categories && id <= 0) && !line.Get_mAccountPtr())
                mDamage.NoteLineOnMissing(categories ? type::kExpenseType : type::kAccount, id, &transaction);
            if (!CurrencyExists(line.Get_mCurrency()))
                mDamage.NoteMissingReference(type::kCurrency, line.Get_mCurrency(), line);
        });
        return total;
    }

    void CheckAccounts()
    {
        ForEach<CAccount>(*mBooks.mAccountList, [&](const CAccount& account) {
            if (!account.Get_mAccountTypePtr())
                mDamage.NoteMissingReference(type::kAccountType, account.Get_mAccountTypeId(), account);
            if (!CurrencyExists(account.Get_mCurrency()))
                mDamage.NoteMissingReference(type::kCurrency, account.Get_mCurrency(), account);
            const ObjectIdT owner = account.Get_mAccountOwnerId();
            if (owner > 1 && !mBooks.GetAccountOwnerForId(owner))
                mDamage.NoteMissingReference(type::kAccountOwner, owner, account);
        });
    }

    void CheckCategories()
    {
        ForEach<CExpenseType>(*mBooks.mExpenseTypeList, [&](const CExpenseType& category) {
            if (!category.Get_mMasterExpensetypePtr())
                mDamage.NoteMissingReference(type::kMasterExpenseType, category.Get_mMasterType(), category);
        });
    }

    void CheckBudgets()
    {
        ForEach<CBudgetHeader>(*mBooks.mBudgetList, [&](const CBudgetHeader& budget) {
            if (budget.Get_LinesNotKept() > 0) mDamage.NoteBudgetLinesNotKept(budget, budget.Get_LinesNotKept());
        });
    }

    const CDocAccounting& mBooks;
    BooksDamage& mDamage;
    ObjectIdT mCurrencyId = 0;
    bool mCurrencyExists = false;
    bool mCurrencyKnown = false;
};

} // namespace

void CheckBooks(const CDocAccounting& books, BooksDamage& damage)
{
    Checker(books, damage).Run();
}

} // namespace ch
