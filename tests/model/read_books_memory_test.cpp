// Books read from a file keep their transactions and lines compactly: in the
// root's pool, with one line of each side in place and texts shared where
// many objects carry the same. Editing such books must behave as before.

#include <gtest/gtest.h>

#include <vector>

#include "booking_fixture.h"
#include "model/LineList.h"

namespace ch::test {
namespace {

std::vector<CNonVisual*> ObjectsIn(const CNamedListArray& list)
{
    std::vector<CNonVisual*> objects;
    for (ArrayIndexT i = 1; i <= CountOf(&list); ++i) objects.push_back(list.ObjectAt(i));
    return objects;
}

class ReadBooksTest : public BookingTest {
protected:
    // Three bookings, read back into `copy`.
    void SaveAndRead()
    {
        CAccount* bank = Account(books::kDefaultAccount);
        CAccount* shop = Account(books::kExpenseAccount);
        Book(bank, shop, 10.0, 20240110);
        middle = Book(bank, shop, 20.0, 20240120)->Get_Id();
        Book(shop, bank, 5.0, 20240130);
        ASSERT_TRUE(Load(copy, Save(root)));
    }

    CTransaction* Read(ObjectIdT id)
    {
        return static_cast<CTransaction*>(copy.mTransactionList->GetValueForId(id));
    }

    CDocAccounting copy;
    ObjectIdT middle = 0;
};

TEST_F(ReadBooksTest, ReadTransactionsAndLinesAreEditedAndDeletedOneByOne)
{
    SaveAndRead();

    // A line made while editing joins a read transaction; a read line goes.
    CTransaction* edited = Read(middle);
    ASSERT_NE(edited, nullptr);
    EXPECT_TRUE(ObjectPool::Holds(edited));
    EXPECT_TRUE(ObjectPool::Holds(Debit(edited)));
    CDebit* added = edited->Add_Debit(-1, false, 0.0);
    EXPECT_FALSE(ObjectPool::Holds(added));
    added->Put_mAccountId(books::kIncomeAccount, true, nullptr);
    CDebit* first = Debit(edited);
    EXPECT_TRUE(edited->Delete_Debit(first));
    EXPECT_EQ(ObjectsIn(*edited->GetDebitList()), std::vector<CNonVisual*>{added});

    // The same changes on the original books give the same balances.
    CTransaction* original = static_cast<CTransaction*>(root.mTransactionList->GetValueForId(middle));
    original->Add_Debit(-1, false, 0.0)->Put_mAccountId(books::kIncomeAccount, true, nullptr);
    EXPECT_TRUE(original->Delete_Debit(Debit(original)));
    EXPECT_EQ(BalancesOf(copy), Balances());

    // A read transaction deleted while editing, then the rest with the books.
    ASSERT_TRUE(copy.DeleteObject(Read(middle)));
    ASSERT_TRUE(root.DeleteObject(original));
    EXPECT_EQ(Read(middle), nullptr);
    EXPECT_EQ(BalancesOf(copy), Balances());
    EXPECT_EQ(copy.mTransactionList->GetCount(), 2u);
}

TEST_F(ReadBooksTest, LinesAndTransactionsShareTextsOnlyUntilOneChanges)
{
    SaveAndRead();
    CTransaction* one = Read(middle);
    auto* other = static_cast<CTransaction*>(copy.mTransactionList->ObjectAt(1));
    ASSERT_NE(one, other);

    one->Put_Name("Rent");
    EXPECT_EQ(one->Get_StringrefName(), "Rent");
    EXPECT_EQ(other->Get_StringrefName(), "New Transaction");

    Credit(one)->Put_Name("Renamed");
    Credit(one)->Put_StringrefDesc(std::string_view("A note"));
    EXPECT_EQ(Credit(other)->Get_StringrefName(), "NoName");
    EXPECT_EQ(Credit(other)->Get_StringrefDesc(), "");
    EXPECT_EQ(Debit(one)->Get_StringrefName(), "NoName");

    one->Put_CFVATNr(std::string_view("NL123"));
    one->Put_CFExternalReference(std::string_view("Statement 4"));
    EXPECT_EQ(other->Get_CFVATNr(), " ");
    EXPECT_EQ(other->Get_CFExternalReference(), "");
    EXPECT_EQ(one->Get_CFVATNr(), "NL123");

    // The 8-bit copy of a description is what the last Put_mDescription (or
    // the file) gave; a later change of the text alone leaves it.
    one->Put_mDescription("Groceries");
    one->Put_StringrefDesc(std::string_view("Groceries and more"));
    char description[kDescriptionSize] = {};
    one->Get_mDescription(description);
    EXPECT_STREQ(description, "Groceries");
    EXPECT_EQ(one->Get_StringrefDesc(), "Groceries and more");
}

TEST(LineListTest, KeepsItsOrderAsItGrowsPastTheLineInPlaceAndShrinksBack)
{
    ModelEnvironment env;
    TestObject a, b, c, d;
    LineList list;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        list.AppendObject(&b);
        list.InsertObjectAt(&a, 1);
        list.AppendObject(&d);
        list.InsertObjectAt(&c, 3);
        EXPECT_EQ(ObjectsIn(list), (std::vector<CNonVisual*>{&a, &b, &c, &d}));
        list.RemoveObject(&b);
        list.RemoveObject(&d);
        list.RemoveObject(&a);
        EXPECT_EQ(ObjectsIn(list), std::vector<CNonVisual*>{&c});
        list.RemoveObject(&c);
        EXPECT_EQ(list.GetCount(), 0u);
    }
    list.AppendObject(&a);
    EXPECT_EQ(list.GetValueForId(a.Get_Id()), &a);
}

} // namespace
} // namespace ch::test
