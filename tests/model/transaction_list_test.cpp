// The transaction list: sub-lists by type and the duplicate search.

#include <gtest/gtest.h>

#include "booking_fixture.h"
#include "model/CTransactionArray.h"
#include "model/ModelComparators.h"

namespace ch::test {
namespace {

class TransactionListTest : public BookingTest {
protected:
    CTransaction* Make(TransactionTypeT type, DateT date, double amount)
    {
        auto* transaction = new CTransaction(-1, &root, true, type, true);
        transaction->Put_mDate(date);
        transaction->Put_mTotalAmount(amount);
        owned.emplace_back(transaction);
        return transaction;
    }

    CTransactionArray list{new CTransactionComparator, false};
    std::vector<std::unique_ptr<CTransaction>> owned;
};

TEST_F(TransactionListTest, SubListsFollowInsertionAndRemoval)
{
    CTransaction* income = Make(transaction_type::kIncome, 20240101, 10.0);
    CTransaction* expense = Make(transaction_type::kExpense, 20240102, 10.0);
    CTransaction* transfer = Make(transaction_type::kTransfer, 20240103, 10.0);
    CTransaction* other = Make(transaction_type::kOther, 20240104, 10.0);
    for (CTransaction* transaction : {income, expense, transfer, other}) list.InsertObjectAt(transaction, 1);
    list.AddItem(&income);   // twice in the main list, twice in its sub-list

    EXPECT_EQ(list.GetCount(), 5u);
    EXPECT_EQ(list.Get_IncomeList()->GetCount(), 2u);
    EXPECT_EQ(list.Get_ExpenseList()->ObjectAt(1), expense);
    EXPECT_EQ(list.Get_TransferList()->ObjectAt(1), transfer);

    // Found by identity even after its date changed.
    transfer->Put_mDate(20991231);
    list.Sort();
    EXPECT_TRUE(list.RemoveObject(transfer));
    EXPECT_TRUE(list.RemoveObject(other));
    EXPECT_EQ(list.FetchIndexOfObject(transfer), 0);
    EXPECT_EQ(list.Get_TransferList()->GetCount(), 0u);
    EXPECT_EQ(list.GetCount(), 3u);
}

TEST_F(TransactionListTest, TheLastMatchingTransactionIsTheDuplicate)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CTransaction* first = Make(transaction_type::kOther, 20240110, 25.0);
    CTransaction* second = Make(transaction_type::kOther, 20240110, 25.0);
    CTransaction* split = Make(transaction_type::kOther, 20240110, 25.0);
    Debit(first)->Put_mAccountId(bank->Get_Id(), false, nullptr);
    split->Add_Debit(-1, false, 0.0);
    Debit(split)->Put_mAccountId(bank->Get_Id(), false, nullptr);
    Make(transaction_type::kOther, 20240111, 25.0);
    for (auto& transaction : owned) list.InsertObjectAt(transaction.get(), LArray::kLastIndex);

    // date, amount, from, to, start position -> found (null: none) and its position
    const struct {
        DateT date;
        double amount;
        ObjectIdT from, to;
        std::uint32_t start;
        CTransaction* found;
        std::uint32_t position;
    } cases[] = {
        {20240110, 25.0, 0, 0, 0, split, 3},
        {20240110, 25.0, 0, 0, 1, split, 3},
        {20240110, 25.0, 0, 0, 99, split, 3},
        {20240110, 25.0, bank->Get_Id(), 0, 0, first, 1},          // two debit lines never match
        {20240110, 25.0, bank->Get_Id(), books::kIncomeAccount, 0, first, 1},
        {20240110, 25.0, bank->Get_Id(), books::kExpenseAccount, 0, nullptr, 0},
        {20240110, 25.01, 0, 0, 0, nullptr, 0},
        {20240110, 25.0, books::kIncomeAccount, 0, 2, second, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " " << c.to << " from " << c.start);
        CTransaction* found = nullptr;
        std::uint32_t position = c.start;
        ObjectIdT id = list.GetDuplicateTransaction(c.date, c.amount, c.from, c.to, found, position);
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(id, c.found ? c.found->Get_Id() : -1);
        EXPECT_EQ(position, c.found ? c.position : c.start);
    }
}

} // namespace
} // namespace ch::test
