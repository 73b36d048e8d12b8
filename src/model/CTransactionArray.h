#pragma once
// CTransactionArray: the document's list of posted transactions, ordered by
// the transaction comparator (newest first). Beside the main list it keeps
// one sub-list per transaction type - income (1), expense (0) and transfer
// (2) - that follow every insertion and removal; other types are only in the
// main list. It also finds the duplicate of an imported booking.
//
// The lists hold pointers; the document owns the transactions. Removal finds
// a transaction by identity, never by its date, which may have changed since
// it was inserted. Main thread only.

#include <cstdint>
#include <memory>

#include "model/CNamedListArray.h"
#include "model/DatedListIndex.h"

namespace ch {

class CTransaction;

class CTransactionArray : public CNamedListArray {
public:
    // The main list and the three sub-lists, each with a copy of the
    // comparator (none: the shared one) and the keep-sorted flag.
    CTransactionArray();
    CTransactionArray(LComparator* comparator, bool keepSorted);
    ~CTransactionArray() override;

    CTransactionArray(const CTransactionArray&) = delete;
    CTransactionArray& operator=(const CTransactionArray&) = delete;

    // Inserts into the main list, then, for one transaction of type 0, 1 or
    // 2, into its sub-list. The main list's index.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;
    // An insertion at the end.
    ArrayIndexT AddItem(const void* item, std::uint32_t size = 0) override;
    // The main list, then the sub-lists.
    void Sort() override;
    void SetNotSorted() override;
    // Out of the main list and every sub-list that holds it; true.
    bool RemoveObject(CNonVisual* object) override;

    CNamedListArray* Get_IncomeList() const { return mIncomeList.get(); }
    CNamedListArray* Get_ExpenseList() const { return mExpenseList.get(); }
    CNamedListArray* Get_TransferList() const { return mTransferList.get(); }

    // The last transaction in list order, from the 1-based position on (a
    // position of 1 or less, or beyond the count, searches the whole list),
    // dated `date` with exactly `amount` as its total and, when an account is
    // given (above 0), with exactly one line on that side on that account.
    // found and position receive it (1-based); its id, or -1 when none (found
    // and position then stay as they were). Looks only at the transactions of
    // the date (an index by date), so an import of many lines stays linear.
    ObjectIdT GetDuplicateTransaction(DateT date, double amount, ObjectIdT fromAccountId,
                                      ObjectIdT toAccountId, CTransaction*& found,
                                      std::uint32_t& position) const;

private:
    CNamedListArray* SubListFor(const CNonVisual* object) const;

    std::unique_ptr<CNamedListArray> mIncomeList;
    std::unique_ptr<CNamedListArray> mExpenseList;
    std::unique_ptr<CNamedListArray> mTransferList;
    mutable DatedListIndex mDateIndex;
};

} // namespace ch
