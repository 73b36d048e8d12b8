// Deleting an account with many bookings: the bookings go in one batch, and
// what stays (lists, their order, balances, what listeners hear) is as if
// they had gone one by one.

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "booking_fixture.h"

namespace ch::test {
namespace {

class AccountDeleteTest : public BookingTest {
protected:
    static std::vector<CNonVisual*> Items(const CNamedListArray* list)
    {
        std::vector<CNonVisual*> items;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
            items.push_back(list->ObjectAt(i));
        return items;
    }
    static long Count(const MessageLog& log, MessageT message)
    {
        auto numbers = log.messages();
        return std::count(numbers.begin(), numbers.end(), message);
    }
};

TEST_F(AccountDeleteTest, DeletesItsBookingsAndKeepsTheOthersInOrder)
{
    CAccount* doomed = AddAccount("Card", books::kOwnPropertyType);
    CAccount* shop = Account(books::kExpenseAccount);
    CAccount* home = Account(books::kDefaultAccount);
    CExpenseType* food = Category(books::kExpenseCategory);

    const double shopBefore = shop->Get_mLocalBalance();
    // The card's bookings are interleaved with bookings that stay, on both
    // sides of the shop and in the same category.
    std::vector<CTransaction*> kept;
    for (int i = 0; i < 6; ++i) {
        Book(doomed, shop, 10.0 + i, 20240301 + i, books::kExpenseCategory);
        kept.push_back(Book(home, shop, 1.0 + i, 20240301 + i, books::kExpenseCategory));
        Book(shop, doomed, 2.0, 20240301 + i, books::kExpenseCategory);
        kept.push_back(Book(shop, home, 0.5, 20240301 + i, books::kExpenseCategory));
    }
    Book(doomed, doomed, 3.0);   // both sides on the account: deleted once

    // What the books look like with only the kept bookings.
    CDocAccounting& books = root;
    std::vector<CNonVisual*> keptTransactions;
    for (CNonVisual* item : Items(books.mTransactionList.get()))
        if (std::find(kept.begin(), kept.end(), item) != kept.end()) keptTransactions.push_back(item);
    auto keptOnly = [&](const CNamedListArray* list) {
        std::vector<CNonVisual*> lines;
        for (CNonVisual* line : Items(list)) {
            auto* transaction = static_cast<CDebit*>(line)->Get_mTransactionPtr();
            if (std::find(kept.begin(), kept.end(), transaction) != kept.end()) lines.push_back(line);
        }
        return lines;
    };
    const auto shopDebits = keptOnly(shop->Get_mDebitlist());
    const auto shopCredits = keptOnly(shop->Get_mCreditList());
    const auto foodLines = keptOnly(food->Get_mBookings());
    const auto homeDebits = keptOnly(home->Get_mDebitlist());
    const long foodLinesBefore = long(food->Get_mBookings()->GetCount());
    ASSERT_GT(foodLinesBefore, long(foodLines.size()));

    MessageLog shopLog, listLog, categoryLog;
    shop->AddListener(&shopLog);
    books.mTransactionList->AddListener(&listLog);
    food->AddListener(&categoryLog);

    CErrorManager::SetMode(true);   // the question is answered yes
    ASSERT_TRUE(doomed->BeforeDelete());
    CErrorManager::SetMode(false);

    EXPECT_EQ(Items(books.mTransactionList.get()), keptTransactions);
    EXPECT_EQ(Items(shop->Get_mDebitlist()), shopDebits);
    EXPECT_EQ(Items(shop->Get_mCreditList()), shopCredits);
    EXPECT_EQ(Items(food->Get_mBookings()), foodLines);
    EXPECT_EQ(Items(home->Get_mDebitlist()), homeDebits);
    EXPECT_EQ(doomed->Get_mDebitlist()->GetCount() + doomed->Get_mCreditList()->GetCount(), 0u);

    // Every line still tells its account or category that it left; the
    // transaction list says once that items went, naming the first.
    EXPECT_EQ(Count(shopLog, msg::kCreditLineRemoved), 6);
    EXPECT_EQ(Count(shopLog, msg::kDebitLineRemoved), 6);
    EXPECT_EQ(Count(categoryLog, msg::kCategoryLineRemoved), foodLinesBefore - long(foodLines.size()));
    ASSERT_EQ(Count(listLog, msg::kItemsRemoved), 1);
    shop->RemoveListener(&shopLog);
    books.mTransactionList->RemoveListener(&listLog);
    food->RemoveListener(&categoryLog);

    root.mAccountList->RemoveObject(doomed);
    delete doomed;
    ExpectBalancesMatchLines();
    // The shop keeps what the kept bookings give: 1+2+...+6 in, 6 x 0.5 out.
    EXPECT_DOUBLE_EQ(std::abs(shop->Get_mLocalBalance() - shopBefore), 21.0 - 3.0);
    double lines = 0.0;
    for (CNonVisual* line : Items(food->Get_mBookings())) lines += line->Get_Amount();
    EXPECT_DOUBLE_EQ(food->Get_Amount(), lines);
}

TEST_F(AccountDeleteTest, NamedListRemovesManyObjectsInOnePass)
{
    CNamedListArray list;
    std::vector<std::unique_ptr<TestObject>> objects;
    for (int i = 0; i < 8; ++i) {
        objects.push_back(std::make_unique<TestObject>(type::kNone, i + 1));
        list.AppendObject(objects.back().get());
    }
    ASSERT_EQ(list.GetValueForId(2), objects[1].get());   // the id index is built
    MessageLog log;
    list.AddListener(&log);
    TestObject stranger;
    EXPECT_EQ(list.RemoveObjects({&stranger}), 0u);
    EXPECT_TRUE(log.entries.empty());

    EXPECT_EQ(list.RemoveObjects({objects[6].get(), objects[1].get(), objects[2].get(), &stranger}), 3u);
    ASSERT_EQ(log.messages(), (std::vector<MessageT>{msg::kListChanged, msg::kItemsRemoved}));
    EXPECT_EQ(log.entries[1].param, objects[1].get());
    EXPECT_EQ(Items(&list), (std::vector<CNonVisual*>{objects[0].get(), objects[3].get(), objects[4].get(),
                                                      objects[5].get(), objects[7].get()}));
    // The id look-up forgets the removed objects and still finds the rest.
    EXPECT_EQ(list.GetValueForId(2), nullptr);
    EXPECT_EQ(list.GetValueForId(8), objects[7].get());
    list.RemoveListener(&log);
}

} // namespace
} // namespace ch::test

namespace ch::test {
namespace {

// Copies waiting to be booked (a deleted template's, or imported ones) are
// in no line list of the account they name: an account with nothing but
// such a copy on it still asks, and on Cancel keeps it; on OK the copy goes
// with the account, and a copy on other accounts stays. Kept, it named an
// account that no longer existed, and the books read back warned of it.
TEST_F(AccountDeleteTest, CopiesWaitingToBeBookedOnItGoWithTheAccount)
{
    CAccount* doomed = AddAccount("Output VAT", books::kOwnPropertyType);
    CAccount* shop = Account(books::kExpenseAccount);
    CAccount* home = Account(books::kDefaultAccount);
    CTransaction* onIt = Book(shop, doomed, 82.57);
    CTransaction* elsewhere = Book(home, shop, 12.0);
    ASSERT_TRUE(root.UnlinkTrans(onIt));
    ASSERT_TRUE(root.UnlinkTrans(elsewhere));
    ASSERT_EQ(doomed->Get_mDebitlist()->GetCount() + doomed->Get_mCreditList()->GetCount(), 0u);

    env.alerts().clear();
    EXPECT_FALSE(doomed->BeforeDelete());   // the question is answered "Cancel"
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{261});
    EXPECT_GT(root.mUnlinkedList->FetchIndexOfObject(onIt), 0u);
    EXPECT_EQ(root.mUnlinkedList->GetCount(), 2u);

    env.alerts().scriptAnswer(AlertAnswer::Alternate);
    ASSERT_TRUE(doomed->BeforeDelete());
    EXPECT_EQ(Items(root.mUnlinkedList.get()), std::vector<CNonVisual*>{elsewhere});
    EXPECT_TRUE(doomed->WaitingTransactionsOnIt().empty());
    root.mAccountList->RemoveObject(doomed);
    delete doomed;
    ExpectBalancesMatchLines();
}

// What a share, a currency or the settings book on stays: its deletion is
// refused with a message that names the share, and the share's trades then
// book on accounts and categories that exist.
TEST_F(BookingTest, WhatASharesOrTheSettingsBookOnIsNotDeleted)
{
    CAccount* commission = AddAccount("Broker", books::kProfitAndLossType);
    CExpenseType* dividends = AddCategory("Dividends", 1);
    CCurrency* share = root.InsertStockCurrency(-1, "ACME", std::string_view("ACME"));
    ASSERT_NE(share, nullptr);
    share->Put_mComissionAccountId(commission->Get_Id());
    share->Put_mDividentExpenseTypeId(dividends->Get_Id());
    CAccount* result = Account(share->Get_mDiffAccount());
    ASSERT_NE(result, nullptr);
    // An empty type where the next share's accounts go.
    CAccType* portfolioType = AddType("Portfolio", 1);
    root.mPreference->Put_mDefPortfolioAccountType(portfolioType->Get_Id());

    struct Case {
        CNonVisual* object;
        long message;
    };
    for (const Case& c : {Case{result, 330}, Case{commission, 330}, Case{dividends, 332},
                          Case{portfolioType, 233}}) {
        env.alerts().clear();
        EXPECT_FALSE(root.DeleteObject(c.object)) << c.object->CalculateKey();
        ASSERT_EQ(env.alerts().numbers(), std::vector<long>{c.message}) << c.object->CalculateKey();
        if (c.message != 233)
            EXPECT_NE(env.alerts().records().back().alert.message.find("ACME"), std::string::npos);
    }
    EXPECT_EQ(Account(result->Get_Id()), result);
    EXPECT_EQ(Category(dividends->Get_Id()), dividends);
    EXPECT_EQ(Type(portfolioType->Get_Id()), portfolioType);

    // Once the share books elsewhere, the account may go.
    share->Put_mComissionAccountId(books::kExpenseAccount);
    env.alerts().clear();
    EXPECT_TRUE(root.DeleteObject(commission));
    EXPECT_TRUE(env.alerts().numbers().empty());
}

} // namespace
} // namespace ch::test
