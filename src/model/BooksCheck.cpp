#include "model/BooksCheck.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <unordered_map>
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

// The objects of a list, for a walk over them.
std::vector<const CNonVisual*> ObjectsIn(std::initializer_list<const CNamedListArray*> lists)
{
    std::vector<const CNonVisual*> objects;
    for (const CNamedListArray* list : lists) {
        const ArrayIndexT count = CountOf(list);
        for (ArrayIndexT i = 1; i <= count; ++i) objects.push_back(list->ObjectAt(i));
    }
    return objects;
}

// Every object whose id an earlier one of the lists holds. Ids of books are
// numbered from 1 with few gaps: a table by id tells them without a hash.
void NoteSharedIds(std::initializer_list<const CNamedListArray*> lists, BooksDamage& damage)
{
    const std::vector<const CNonVisual*> objects = ObjectsIn(lists);
    ObjectIdT highest = 0;
    bool positive = true;
    for (const CNonVisual* object : objects) {
        positive = positive && object->Get_Id() > 0;
        highest = std::max(highest, object->Get_Id());
    }
    if (positive && std::size_t(highest) <= 4 * objects.size() + 1024) {
        std::vector<const CNonVisual*> holder(std::size_t(highest) + 1, nullptr);
        for (const CNonVisual* object : objects) {
            const CNonVisual*& first = holder[std::size_t(object->Get_Id())];
            if (first) damage.NoteIdShared(*first, *object);
            else first = object;
        }
        return;
    }
    std::unordered_map<ObjectIdT, const CNonVisual*> holder;
    holder.reserve(objects.size());
    for (const CNonVisual* object : objects) {
        const auto [at, first] = holder.emplace(object->Get_Id(), object);
        if (!first) damage.NoteIdShared(*at->second, *object);
    }
}

// Whether an object of a kind has an id, remembering the last answer: the
// lines of books name a few objects over and over.
class Existence {
public:
    template <class LookUp>
    bool Of(ObjectIdT id, LookUp lookUp)
    {
        if (!mKnown || id != mId) {
            mId = id;
            mExists = lookUp(id) != nullptr;
            mKnown = true;
        }
        return mExists;
    }

private:
    ObjectIdT mId = 0;
    bool mExists = false;
    bool mKnown = false;
};

class Checker {
public:
    Checker(const CDocAccounting& books, BooksDamage& damage) : mBooks(books), mDamage(damage) {}

    void Run()
    {
        NoteSharedIds({mBooks.mAccountOwnerList.get()}, mDamage);
        NoteSharedIds({mBooks.mCurrencyList.get()}, mDamage);
        NoteSharedIds({mBooks.mBankList.get()}, mDamage);
        NoteSharedIds({mBooks.mBudgetList.get()}, mDamage);
        NoteSharedIds({mBooks.mRecurringList.get()}, mDamage);
        // Posted and unlinked transactions are one kind: linking moves one between the lists.
        NoteSharedIds({mBooks.mTransactionList.get(), mBooks.mUnlinkedList.get()}, mDamage);

        CheckTransactions(*mBooks.mTransactionList, true);
        CheckTransactions(*mBooks.mUnlinkedList, false);
        CheckTransactions(*mBooks.mRecurringList, false);
        CheckAccounts();
        CheckCategories();
        CheckBudgets();
    }

private:
    bool CurrencyExists(ObjectIdT id)
    {
        return mCurrencies.Of(id, [&](ObjectIdT at) { return mBooks.GetCurrencyForId(at); });
    }

    void CheckTransactions(const CNamedListArray& list, bool posted)
    {
        const ArrayIndexT count = CountOf(&list);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            const auto* transaction = static_cast<const CTransaction*>(list.ObjectAt(i));
            if (!CurrencyExists(transaction->Get_mCurrencyId()))
                mDamage.NoteMissingReference(type::kCurrency, transaction->Get_mCurrencyId(), *transaction);
            CheckLines(*transaction->GetDebitList(), *transaction, false);
            CheckLines(*transaction->GetCreditList(), *transaction, false);
            CheckLines(*transaction->GetExpenseTypeList(), *transaction, true);
            if (!posted) continue;
            double fluctuation = 0.0;
            const double debits = transaction->Get_DebitAmount(fluctuation);
            const double credits = transaction->Get_CreditAmount(fluctuation);
            if (!CTransaction::SidesAgree(debits, credits)) mDamage.NoteUnbalanced(*transaction, debits, credits);
        }
    }

    void CheckLines(const CNamedListArray& lines, const CTransaction& transaction, bool categories)
    {
        const ArrayIndexT count = CountOf(&lines);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            const auto* line = static_cast<const CDebit*>(lines.ObjectAt(i));
            const ObjectIdT id = line->Get_mAccountId();
            // A category line of no category (an id of 0 or less) is booked
            // where a setting names none, as supplier invoices do for their VAT.
            const bool exists =
                categories ? id <= 0 || mCategories.Of(id, [&](ObjectIdT at) { return mBooks.GetExpenseTypeForID(at); })
                           : mAccounts.Of(id, [&](ObjectIdT at) { return mBooks.GetAccountForID(at); });
            if (!exists) mDamage.NoteLineOnMissing(categories ? type::kExpenseType : type::kAccount, id, &transaction);
            if (!CurrencyExists(line->Get_mCurrency()))
                mDamage.NoteMissingReference(type::kCurrency, line->Get_mCurrency(), *line);
        }
    }

    void CheckAccounts()
    {
        const CNamedListArray& accounts = *mBooks.mAccountList;
        const ArrayIndexT count = CountOf(&accounts);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            const auto* account = static_cast<const CAccount*>(accounts.ObjectAt(i));
            if (!account->Get_mAccountTypePtr())
                mDamage.NoteMissingReference(type::kAccountType, account->Get_mAccountTypeId(), *account);
            if (!CurrencyExists(account->Get_mCurrency()))
                mDamage.NoteMissingReference(type::kCurrency, account->Get_mCurrency(), *account);
            const ObjectIdT owner = account->Get_mAccountOwnerId();
            if (owner > 1 && !mBooks.GetAccountOwnerForId(owner))
                mDamage.NoteMissingReference(type::kAccountOwner, owner, *account);
        }
    }

    void CheckCategories()
    {
        const CNamedListArray& categories = *mBooks.mExpenseTypeList;
        const ArrayIndexT count = CountOf(&categories);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            const auto* category = static_cast<const CExpenseType*>(categories.ObjectAt(i));
            if (!category->Get_mMasterExpensetypePtr())
                mDamage.NoteMissingReference(type::kMasterExpenseType, category->Get_mMasterType(), *category);
        }
    }

    void CheckBudgets()
    {
        const CNamedListArray& budgets = *mBooks.mBudgetList;
        const ArrayIndexT count = CountOf(&budgets);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            const auto* budget = static_cast<const CBudgetHeader*>(budgets.ObjectAt(i));
            if (budget->Get_LinesNotKept() > 0) mDamage.NoteBudgetLinesNotKept(*budget, budget->Get_LinesNotKept());
        }
    }

    const CDocAccounting& mBooks;
    BooksDamage& mDamage;
    Existence mAccounts;
    Existence mCategories;
    Existence mCurrencies;
};

} // namespace

void CheckBooks(const CDocAccounting& books, BooksDamage& damage)
{
    Checker(books, damage).Run();
}

} // namespace ch
