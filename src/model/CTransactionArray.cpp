#include "model/CTransactionArray.h"

#include "model/CDebit.h"
#include "model/CTransaction.h"

namespace ch {

namespace {

std::unique_ptr<CNamedListArray> NewSubList(LComparator* comparator, bool keepSorted)
{
    auto list = std::make_unique<CNamedListArray>();
    // The sub-lists share the main list's comparator; the main list owns it.
    list->SetComparator(comparator, false);
    list->SetKeepSorted(keepSorted);
    return list;
}

const CTransaction* TransactionOf(const void* item)
{
    return dynamic_cast<const CTransaction*>(CNamedListArray::ObjectFromItem(item));
}

} // namespace

CTransactionArray::CTransactionArray()
    : CTransactionArray(nullptr, false)
{
}

CTransactionArray::CTransactionArray(LComparator* comparator, bool keepSorted)
    : CNamedListArray(comparator, keepSorted),
      mIncomeList(NewSubList(comparator, keepSorted)),
      mExpenseList(NewSubList(comparator, keepSorted)),
      mTransferList(NewSubList(comparator, keepSorted))
{
}

CTransactionArray::~CTransactionArray() = default;

CNamedListArray* CTransactionArray::SubListFor(const CNonVisual* object) const
{
    auto* transaction = dynamic_cast<const CTransaction*>(object);
    if (!transaction) return nullptr;
    switch (transaction->Get_mTransactionType()) {
    case transaction_type::kExpense: return mExpenseList.get();
    case transaction_type::kIncome: return mIncomeList.get();
    case transaction_type::kTransfer: return mTransferList.get();
    default: return nullptr;
    }
}

ArrayIndexT CTransactionArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex,
                                             const void* item, std::uint32_t size)
{
    ArrayIndexT index = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    if (index <= 0) return index;
    if (CNamedListArray* subList = SubListFor(TransactionOf(item)))
        subList->InsertItemsAt(count, atIndex, item, size);
    return index;
}

ArrayIndexT CTransactionArray::AddItem(const void* item, std::uint32_t size)
{
    return InsertItemsAt(1, kLastIndex, item, size);
}

void CTransactionArray::Sort()
{
    CNamedListArray::Sort();
    mIncomeList->Sort();
    mExpenseList->Sort();
    mTransferList->Sort();
}

void CTransactionArray::SetNotSorted()
{
    CNamedListArray::SetNotSorted();
    mIncomeList->SetNotSorted();
    mExpenseList->SetNotSorted();
    mTransferList->SetNotSorted();
}

bool CTransactionArray::RemoveObject(CNonVisual* object)
{
    CNamedListArray::RemoveObject(object);
    mIncomeList->RemoveObject(object);
    mExpenseList->RemoveObject(object);
    mTransferList->RemoveObject(object);
    return true;
}

ObjectIdT CTransactionArray::GetDuplicateTransaction(DateT date, double amount,
                                                     ObjectIdT fromAccountId, ObjectIdT toAccountId,
                                                     CTransaction*& found,
                                                     std::uint32_t& position) const
{
    std::uint32_t count = GetCount();
    std::uint32_t start = position > 1 && position <= count ? position : 1;
    bool accountsGiven = fromAccountId > 0 || toAccountId > 0;
    // Every candidate passes the account test; no name exempts it.
    auto onlyLineOn = [](const CNamedListArray* lines, ObjectIdT accountId) {
        if (accountId <= 0) return true;
        if (!lines || lines->GetCount() != 1) return false;
        return static_cast<CDebit*>(lines->ObjectAt(1))->Get_mAccountId() == accountId;
    };
    ObjectIdT result = -1;
    // Only the transactions of the date are looked at; they come in list order.
    for (ArrayIndexT i : mDateIndex.Within(*this, date, date)) {
        if (static_cast<std::uint32_t>(i) < start) continue;
        auto* transaction = dynamic_cast<CTransaction*>(ObjectAt(i));
        if (!transaction || transaction->Get_mDate() != date ||
            transaction->Get_mTotalAmount() != amount)
            continue;
        bool matches = !accountsGiven || (onlyLineOn(transaction->GetDebitList(), fromAccountId) &&
                                          onlyLineOn(transaction->GetCreditList(), toAccountId));
        // The last match in list order wins.
        if (matches) {
            found = transaction;
            position = static_cast<std::uint32_t>(i);
            result = transaction->Get_Id();
        }
    }
    return result;
}

} // namespace ch
