// The model root: its fixed objects, owner insertion and look-ups, and what
// the document hears of it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDocument.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CDocAccounting.h"
#include "model/CHierarchyRoot.h"
#include "model/CNamedListArray.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::ModelEnvironment;
using test::TestObject;

std::vector<std::string> Names(const CNamedListArray& list)
{
    std::vector<std::string> names;
    for (std::uint32_t i = 1; i <= list.GetCount(); ++i)
        names.push_back(list.ObjectAt(static_cast<ArrayIndexT>(i))->Get_StringrefName());
    return names;
}

TEST(DocAccounting, StartsWithItsFixedObjects)
{
    ModelEnvironment environment;
    CDocAccounting root;
    EXPECT_EQ(Names(*root.mAccountKindList),
              (std::vector<std::string>{"Assets", "Debts/Liabilities", "Own Property", "Profit And Loss"}));
    EXPECT_EQ(root.mAccountKindList->ObjectAt(1)->Get_Id(), 6);
    EXPECT_EQ(Names(*root.mRootList), (std::vector<std::string>{"Master Expensetypes", "Account Types"}));

    CHierarchyRoot* accounts = root.Get_AccountRoot();
    ASSERT_NE(accounts, nullptr);
    EXPECT_EQ(accounts->Get_Id(), 1);
    EXPECT_EQ(accounts->Get_DetailFolders(), root.mAccountTypeList.get());
    EXPECT_EQ(accounts->Get_ContentsType(), type::kAccountType);
    CHierarchyRoot* groups = root.Get_ExpenseTypeRoot();
    ASSERT_NE(groups, nullptr);
    EXPECT_EQ(groups->Get_Id(), 3);
    EXPECT_EQ(groups->Get_DetailFolders(), root.mMasterExpenseTypeList.get());

    EXPECT_EQ(root.mPreference, nullptr);
    EXPECT_EQ(root.fileVersion(), 0u);
    EXPECT_EQ(root.mFileVersion, 0u);
    CNonVisual* currency = nullptr;
    EXPECT_EQ(root.Get_HomeCurrency(currency), 1);
    EXPECT_EQ(currency, nullptr);
    EXPECT_EQ(root.GetEarliestDate(), 20240315);   // today, without transactions
    EXPECT_FALSE(root.DateIsFromThisYear(20240315));
}

// Each set of books hands out ids from counters of its own: what other books
// make meanwhile moves none of them, so the same steps on the same books
// always give the same ids.
TEST(DocAccounting, EachSetOfBooksHandsOutItsOwnIds)
{
    ModelEnvironment environment;
    // An account, a category group, a category and a transaction with its lines.
    auto made = [](CDocAccounting& books) {
        std::vector<ObjectIdT> ids;
        ids.push_back(books.InsertAccount(-1, "Bank", std::nullopt, nullptr, std::nullopt, 1, 1, nullptr)->Get_Id());
        CMasterExpenseType* group =
            books.InsertMasterExpenseType(-1, "House", std::nullopt, nullptr, std::nullopt, group_kind::kExpense, -1);
        ids.push_back(group->Get_Id());
        ids.push_back(books.InsertExpenseType(-1, "Rent", std::nullopt, nullptr, std::nullopt, group->Get_Id(),
                                              std::nullopt, group, 100.0)
                          ->Get_Id());
        CTransaction* transaction = books.InsertTransaction(1, 0, transaction_type::kExpense);
        ids.push_back(transaction->Get_Id());
        ids.push_back(transaction->GetDebitList()->ObjectAt(1)->Get_Id());
        return ids;
    };
    CDocAccounting alone;
    alone.SetDefaults("EUR");
    const std::vector<ObjectIdT> expected = made(alone);

    CDocAccounting busy;
    busy.SetDefaults("EUR");
    CDocAccounting books;
    books.SetDefaults("EUR");
    made(busy);
    made(busy);
    EXPECT_EQ(made(books), expected);
    EXPECT_EQ(books.Ids(), alone.Ids());
    EXPECT_NE(busy.Ids(), alone.Ids());
}

TEST(DocAccounting, InsertAccountOwner)
{
    ModelEnvironment environment;
    CDocAccounting root;

    CAccountOwner* me = root.InsertAccountOwner(1, "Me", std::nullopt, std::nullopt, std::nullopt,
                                                std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(me->Get_Id(), 1);
    EXPECT_EQ(root.Get_Me(), me);
    EXPECT_EQ(root.InsertAccountOwner(1, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                      std::nullopt, std::nullopt, std::nullopt),
              me);
    EXPECT_EQ(me->Get_Document(), &root);

    CAccountOwner* seventy = root.InsertAccountOwner(70900, "Customer", "Ann", "Street", "1", "2",
                                                     "ann@example.test", "BE1");
    EXPECT_EQ(seventy->Get_Id(), 70900);
    EXPECT_EQ(seventy->Get_mCFfirstName(), "Ann");
    CAccountOwner* clash = root.InsertAccountOwner(70900, "Other", std::nullopt, std::nullopt,
                                                   std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_NE(clash, seventy);
    EXPECT_NE(clash->Get_Id(), 70900);
    CAccountOwner* fresh = root.InsertAccountOwner(0, std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_GT(fresh->Get_Id(), 0);
    EXPECT_EQ(fresh->Get_mCFfirstName(), "First Name");   // no name: no import
    EXPECT_EQ(root.mAccountOwnerList->ObjectAt(1), fresh);   // new owners go first
    EXPECT_EQ(root.mAccountOwnerList->GetCount(), 4u);

    EXPECT_EQ(root.GetAccountOwnerForName("CUSTOMER"), seventy);
    EXPECT_EQ(root.GetAccountOwnerForName("Cust"), nullptr);   // exact names only
    EXPECT_EQ(root.GetAccountOwnerForId(clash->Get_Id()), clash);
    seventy->Put_mCFAddressbookId("ab-12:ABPerson");
    EXPECT_EQ(root.GetAccountOwnerForUID("AB-12:abperson"), seventy);
    EXPECT_EQ(root.GetAccountOwnerForUID("ab-13"), nullptr);
}

TEST(DocAccounting, RecurringUseIsFoundAnywhereInTheList)
{
    ModelEnvironment environment;
    CDocAccounting root;
    auto* account = reinterpret_cast<CAccount*>(0x1000);
    auto* category = reinterpret_cast<CExpenseType*>(0x2000);
    TestObject first(type::kRecurring), second(type::kRecurring), third(type::kRecurring);
    second.usesAccount = account;
    third.usesCategory = category;
    for (TestObject* recurring : {&first, &second, &third}) root.mRecurringList->AppendObject(recurring);

    EXPECT_TRUE(root.RecurringTransactionExistsForAccount(account));
    EXPECT_TRUE(root.RecurringTransactionExistsForExpenseType(category));
    EXPECT_FALSE(root.RecurringTransactionExistsForAccount(reinterpret_cast<CAccount*>(0x3000)));
    root.mRecurringList->RemoveItemsAt(3, 1);
}

// The monthly averages count from it: an older transaction booked after a
// newer one (it then stands first, not last) moves it too.
TEST(DocAccounting, EarliestDateIsTheOldestTransactionWhereverItStands)
{
    ModelEnvironment environment;
    CDocAccounting root;
    TestObject newer(type::kTransaction), older(type::kTransaction);
    newer.date = 20240201;
    older.date = 20230105;
    root.mTransactionList->AppendObject(&older);
    root.mTransactionList->AppendObject(&newer);
    EXPECT_EQ(root.GetEarliestDate(), 20230105);
    root.mTransactionList->Sort();   // newest first, as read
    EXPECT_EQ(root.GetEarliestDate(), 20230105);
    root.mTransactionList->RemoveItemsAt(2, 1);
}

TEST(DocAccounting, TheDocumentHearsInsertionsAndRemovals)
{
    ModelEnvironment environment;
    test::FakeDocument document;
    CDocAccounting& root = *document.accounting();
    document.Follow(*root.mAccountOwnerList);
    document.Follow(*root.mTransactionList);

    CAccountOwner* owner = root.InsertAccountOwner(0, "Someone", std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(document.changes, 1);
    owner->Put_Name("Renamed");   // name changes are the items' business
    EXPECT_EQ(document.changes, 1);

    auto* transaction = new TestObject(type::kTransaction);
    root.mTransactionList->InsertObjectAt(transaction, 1);
    EXPECT_EQ(document.changes, 2);
    EXPECT_EQ(document.transactionRows, std::vector<CNonVisual*>{transaction});
    root.mTransactionList->RemoveObject(transaction);
    EXPECT_EQ(document.changes, 3);
    delete transaction;
}

} // namespace
} // namespace ch
