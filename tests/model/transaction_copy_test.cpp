// Transactions made from others: copies, imports and updates from statement
// lines, combinations, and their text export.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/foundation/CDecimal.h"

namespace ch::test {
namespace {

class TransactionCopyTest : public BookingTest {
protected:
    TransactionCopyTest()
    {
        bank = Account(books::kDefaultAccount);
        savings = AddAccount("Savings", books::kOwnPropertyType);
        shop = Account(books::kExpenseAccount);
    }

    static std::vector<ObjectIdT> AccountsOf(CNamedListArray* list)
    {
        std::vector<ObjectIdT> ids;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
            ids.push_back(static_cast<CDebit*>(list->ObjectAt(i))->Get_mAccountId());
        return ids;
    }

    static CDebit* LineOn(CNamedListArray* list, ObjectIdT id)
    {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* line = static_cast<CDebit*>(list->ObjectAt(i));
            if (line->Get_mAccountId() == id) return line;
        }
        return nullptr;
    }

    // 20.00 from the bank and 10.00 from savings to the shop, with references.
    CTransaction* TwoDebitLines()
    {
        CTransaction* source = Book(bank, shop, 30.0, 20240101);
        Debit(source)->Put_mLocalAmount(20.0);
        source->Add_Debit(2, false, 10.0)->Put_mAccountId(savings->Get_Id(), true, nullptr);
        source->Put_Name("Groceries");
        source->Put_mDescription("weekly");
        source->Put_CFVATNr("BE123");
        source->Put_CFDocumentReference("doc-7");
        source->Put_CFExternalReference("ext-9");
        source->Put_mReferenceObjectId(77);
        source->Put_mSpecialTypeT(special_type::kDividend);
        return source;
    }

    CAccount* bank = nullptr;
    CAccount* savings = nullptr;
    CAccount* shop = nullptr;
};

TEST_F(TransactionCopyTest, ACopyIsUnlinkedDatedTodayAndKeepsTheLineOrder)
{
    CTransaction* source = TwoDebitLines();
    BalanceSnapshot before = Balances();
    const ObjectIdT objectIds = root.Ids().mi_MaxId;

    CTransaction* copy = root.CreateTransactionFromCopy(source);

    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(root.mUnlinkedList->FetchIndexOfObject(copy), 1);
    EXPECT_EQ(root.mTransactionList->FetchIndexOfObject(copy), 0);
    EXPECT_EQ(copy->Get_ObjectStatus(), status::kUnlinked);
    EXPECT_EQ(copy->Get_mDate(), 20240315);
    EXPECT_EQ(copy->Get_mTransactionType(), transaction_type::kOther);
    // Its id comes from the transaction counter, never from the object counter.
    EXPECT_EQ(copy->Get_Id(), root.Ids().mi_TrnsNr);
    EXPECT_NE(copy->Get_Id(), source->Get_Id());
    EXPECT_EQ(root.Ids().mi_MaxId, objectIds);

    EXPECT_EQ(copy->Get_StringrefName(), "Groceries");
    EXPECT_EQ(copy->Get_StringrefDesc(), "weekly");
    EXPECT_EQ(copy->Get_mTotalAmount(), 30.0);
    EXPECT_EQ(copy->Get_CFVATNr(), "BE123");
    EXPECT_EQ(copy->Get_CFDocumentReference(), "doc-7");
    EXPECT_EQ(copy->Get_CFExternalReference(), "");
    EXPECT_EQ(copy->Get_mReferenceObjectId(), -1);
    EXPECT_EQ(copy->Get_mSpecialTypeT(), special_type::kDefault);
    EXPECT_EQ(AccountsOf(copy->GetDebitList()), (std::vector<ObjectIdT>{bank->Get_Id(), savings->Get_Id()}));
    EXPECT_EQ(Debit(copy, 1)->Get_mLocalAmount(), 20.0);
    EXPECT_EQ(Debit(copy, 2)->Get_mLocalAmount(), 10.0);
    EXPECT_EQ(Debit(copy, 2)->Get_mTransactionPtr(), copy);
    EXPECT_EQ(Balances(), before);

    ASSERT_TRUE(root.LinkTrans(copy));
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);
    EXPECT_EQ(bank->Get_mLocalBalance(), -40.0);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionCopyTest, PastingMakesAPostedCopy)
{
    CTransaction* source = Book(bank, shop, 12.0);
    EXPECT_EQ(root.PasteTransaction(), nullptr);
    root.CopyTransaction(source);
    CTransaction* pasted = root.PasteTransaction();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Get_ObjectStatus(), status::kNormal);
    EXPECT_GT(root.mTransactionList->FetchIndexOfObject(pasted), 0);
    EXPECT_EQ(bank->Get_mLocalBalance(), -24.0);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionCopyTest, CopyingOntoAPostedTransactionReplacesItsBookings)
{
    CAccount* c = AddAccount("C", books::kOwnPropertyType);
    CAccount* d = AddAccount("D", books::kOwnPropertyType);
    CTransaction* source = TwoDebitLines();
    CTransaction* target = Book(c, d, 99.0);
    const ObjectIdT targetId = target->Get_Id();

    ASSERT_TRUE(root.CopyTransactionFrom(source, target, 1));
    EXPECT_EQ(target->Get_Id(), targetId);
    EXPECT_EQ(c->Get_mLocalBalance(), 0.0);
    EXPECT_EQ(d->Get_mLocalBalance(), 0.0);
    EXPECT_EQ(c->Get_mCreditList()->GetCount() + c->Get_mDebitlist()->GetCount(), 0u);
    EXPECT_EQ(bank->Get_mLocalBalance(), -40.0);
    EXPECT_EQ(root.mTransactionList->GetCount(), 2u);
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 0u);
    ExpectBalancesMatchLines();

    // A blocked transaction can't be overwritten.
    target->Put_Status(status::kBlocked);
    env.alerts().clear();
    EXPECT_FALSE(root.CopyTransactionFrom(source, target, 1));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{137});
}

TEST_F(TransactionCopyTest, ImportWithoutLineArraysPutsTheWholeAmountOnEachSide)
{
    CTransaction* transfer = root.InsertTransaction(0, 0, transaction_type::kOther);
    EXPECT_TRUE(transfer->Import("Move", nullptr, 20240310, 42.0, bank->Get_Id(), savings->Get_Id(), 0, 0,
                                 nullptr, nullptr, nullptr));
    EXPECT_EQ(transfer->Get_StringrefName(), "Move");
    EXPECT_EQ(transfer->Get_mDate(), 20240310);
    EXPECT_EQ(AccountsOf(transfer->GetDebitList()), std::vector<ObjectIdT>{bank->Get_Id()});
    EXPECT_EQ(AccountsOf(transfer->GetCreditList()), std::vector<ObjectIdT>{savings->Get_Id()});
    EXPECT_EQ(AccountsOf(transfer->GetExpenseTypeList()), std::vector<ObjectIdT>{books::kTransferCategory});
    EXPECT_EQ(Credit(transfer)->Get_mLocalAmount(), 42.0);
    EXPECT_EQ(savings->Get_mLocalBalance(), 42.0);

    CTransaction* zero = root.InsertTransaction(0, 0, transaction_type::kOther);
    env.alerts().clear();
    EXPECT_FALSE(zero->Import("Zero", "", 20240310, 0.0, bank->Get_Id(), savings->Get_Id(),
                              books::kTransferCategory, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{238});
}

TEST_F(TransactionCopyTest, ImportFromLineArraysAndUpdate)
{
    CCurrency* dollar = AddCurrency("USD", 0.9);
    const TransactionLineArray debits{{bank->Get_Id(), 0, 30.0}, {savings->Get_Id(), dollar->Get_Id(), 10.0}};
    const TransactionLineArray credits{{shop->Get_Id(), 0, 39.0}};
    const TransactionLineArray empty;
    CTransaction* transaction = root.InsertTransaction(0, 0, transaction_type::kExpense);
    transaction->Import("Split", "two sources", 20240312, 39.0, 0, 0, books::kExpenseCategory, 0, &debits,
                        &credits, &empty);
    ASSERT_EQ(transaction->GetDebitList()->GetCount(), 2u);
    CDebit* inDollars = LineOn(transaction->GetDebitList(), savings->Get_Id());
    EXPECT_EQ(inDollars->Get_mCurrency(), dollar->Get_Id());
    EXPECT_EQ(inDollars->Get_mAmount(), 10.0);
    EXPECT_EQ(inDollars->Get_mLocalAmount(), 9.0);
    EXPECT_EQ(AccountsOf(transaction->GetExpenseTypeList()), std::vector<ObjectIdT>{books::kExpenseCategory});

    // Arrays that match the line counts change no line and keep the type.
    const TransactionLineArray oneCategory{{books::kIncomeCategory, 0, 1.0}};
    const TransactionLineArray changed{{savings->Get_Id(), 0, 5.0}, {bank->Get_Id(), 0, 7.0}};
    transaction->Update("Renamed", nullptr, &changed, &credits, &oneCategory);
    EXPECT_EQ(transaction->Get_StringrefName(), "Renamed");
    EXPECT_EQ(transaction->Get_StringrefDesc(), "two sources");
    EXPECT_EQ(LineOn(transaction->GetDebitList(), bank->Get_Id())->Get_mLocalAmount(), 30.0);
    EXPECT_EQ(transaction->Get_mTransactionType(), transaction_type::kExpense);

    // A side whose count differs is updated line by line; the type becomes 3.
    const TransactionLineArray three{{bank->Get_Id(), 0, 25.0}, {savings->Get_Id(), 0, 10.0},
                                     {books::kIncomeAccount, 0, 4.0}};
    transaction->Update(nullptr, nullptr, &three, nullptr, nullptr);
    EXPECT_EQ(transaction->Get_StringrefName(), "Renamed");
    EXPECT_EQ(transaction->GetDebitList()->GetCount(), 3u);
    EXPECT_EQ(LineOn(transaction->GetDebitList(), books::kIncomeAccount)->Get_mLocalAmount(), 4.0);
    EXPECT_EQ(transaction->Get_mTransactionType(), transaction_type::kOther);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionCopyTest, LineArraysAreReadInGroupsOfThreeItems)
{
    // Two lines and a stray item: the incomplete group is no line.
    TransactionLineArray seven{{bank->Get_Id(), 0, 30.0}, {savings->Get_Id(), 0, 10.0}};
    const ObjectIdT stray = shop->Get_Id();
    seven.AddItem(&stray, sizeof stray);
    ASSERT_EQ(seven.GetCount(), 7u);
    CTransaction* transaction = root.InsertTransaction(0, 0, transaction_type::kExpense);
    transaction->Import("Seven", nullptr, 20240312, 40.0, 0, shop->Get_Id(), books::kExpenseCategory, 0,
                        &seven, nullptr, nullptr);
    EXPECT_EQ(AccountsOf(transaction->GetDebitList()),
              (std::vector<ObjectIdT>{savings->Get_Id(), bank->Get_Id()}));

    // A group whose items are not the sizes of a line's is skipped, not misread.
    LVariableArray mixed;
    const ObjectIdT account = books::kIncomeAccount;
    const ObjectIdT noCurrency = 0;
    const double amount = 3.0;
    const float narrow = 3.0f;
    for (const void* item : {&account, &noCurrency}) mixed.AddItem(item, 4);
    mixed.AddItem(&narrow, sizeof narrow);   // a 4-byte amount
    for (const void* item : {&account, &noCurrency}) mixed.AddItem(item, 4);
    mixed.AddItem(&amount, sizeof amount);
    CTransaction* other = root.InsertTransaction(0, 0, transaction_type::kExpense);
    other->Import("Mixed", nullptr, 20240312, 3.0, 0, shop->Get_Id(), 0, 0, &mixed, nullptr, nullptr);
    ASSERT_EQ(AccountsOf(other->GetDebitList()), std::vector<ObjectIdT>{books::kIncomeAccount});
    EXPECT_EQ(Debit(other)->Get_mAmount(), 3.0);

    // Update counts items: seven of them against two lines is a difference,
    // and the two complete groups update the two lines.
    TransactionLineArray changed{{bank->Get_Id(), 0, 12.0}, {savings->Get_Id(), 0, 28.0}};
    changed.AddItem(&stray, sizeof stray);
    transaction->Update(nullptr, nullptr, &changed, nullptr, nullptr);
    EXPECT_EQ(AccountsOf(transaction->GetDebitList()),
              (std::vector<ObjectIdT>{bank->Get_Id(), savings->Get_Id()}));
    EXPECT_EQ(LineOn(transaction->GetDebitList(), bank->Get_Id())->Get_mAmount(), 12.0);
    EXPECT_EQ(LineOn(transaction->GetDebitList(), savings->Get_Id())->Get_mAmount(), 28.0);
    EXPECT_EQ(transaction->Get_mTransactionType(), transaction_type::kOther);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionCopyTest, CombiningAddsEachLineToTheLineOnTheSameAccount)
{
    CAccount* other = AddAccount("Other shop", books::kProfitAndLossType);
    CTransaction* first = Book(bank, shop, 10.0);
    CTransaction* second = Book(bank, shop, 10.0);
    CTransaction* third = Book(bank, other, 5.0);
    CNamedListArray selection;
    for (CTransaction* transaction : {first, second, third}) selection.AppendObject(transaction);

    // A blocked transaction can't go, so nothing is merged.
    second->Put_Status(status::kBlocked);
    env.alerts().clear();
    EXPECT_FALSE(CTransaction::Combine(&selection, &root));
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{137});
    EXPECT_EQ(first->Get_mTotalAmount(), 10.0);
    EXPECT_EQ(root.mTransactionList->GetCount(), 3u);

    second->Put_Status(status::kNormal);
    ASSERT_TRUE(CTransaction::Combine(&selection, &root));
    ASSERT_EQ(root.mTransactionList->GetCount(), 1u);
    EXPECT_EQ(first->Get_mTotalAmount(), 25.0);
    EXPECT_EQ(first->Get_mLocalAmount(), 25.0);
    EXPECT_EQ(Debit(first)->Get_mLocalAmount(), 25.0);
    EXPECT_EQ(LineOn(first->GetCreditList(), shop->Get_Id())->Get_mLocalAmount(), 20.0);
    EXPECT_EQ(LineOn(first->GetCreditList(), other->Get_Id())->Get_mLocalAmount(), 5.0);
    EXPECT_EQ(bank->Get_mLocalBalance(), -25.0);
    ExpectBalancesMatchLines();
}

TEST_F(TransactionCopyTest, ExportWritesTheRecordAndTheLines)
{
    CTransaction* transaction = Book(bank, shop, 42.0, 20240310);
    transaction->Put_Name("Shop");
    transaction->Put_mDescription("bread");
    transaction->Put_CFDocumentReference("R1");

    StreamWriter header;
    transaction->Export(header.stream(), 'H');
    const std::string expected = "TrnS\t" + std::to_string(transaction->Get_Id()) + "\tShop\t20240310\tbread\t" +
                                 CDecimal::DoubleToString(42.0) + "\tEUR\t1\t \tR1\r";
    EXPECT_EQ(std::string(header.bytes().begin(), header.bytes().end()), expected);

    StreamWriter all;
    transaction->Export(all.stream(), 'A');
    StreamWriter lines;
    transaction->Export(lines.stream(), 'D');
    const std::string allText(all.bytes().begin(), all.bytes().end());
    const std::string linesText(lines.bytes().begin(), lines.bytes().end());
    EXPECT_EQ(allText, expected + linesText);
    EXPECT_EQ(linesText.rfind("DebT\t", 0), 0u);
    EXPECT_NE(linesText.find("\rCreT\t"), std::string::npos);
    EXPECT_NE(linesText.find("\rExtD\t"), std::string::npos);
}

} // namespace
} // namespace ch::test
