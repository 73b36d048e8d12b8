// The import's searches look transactions and booking lines up by date and
// by name. They must find exactly what a walk over the whole list finds, also
// after the books changed under them (bookings added and removed, dates and
// names changed, lists sorted).

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "booking_fixture.h"
#include "model/CTransactionArray.h"
#include "model/foundation/CDate.h"

namespace ch::test {
namespace {

// The walk the searches replaced: the last matching transaction in list order.
ObjectIdT WalkTransactions(const CNamedListArray& list, DateT date, double amount, ObjectIdT from,
                           ObjectIdT to, std::uint32_t start, std::uint32_t& position)
{
    const std::uint32_t count = list.GetCount();
    const std::uint32_t first = start > 1 && start <= count ? start : 1;
    auto onlyLineOn = [](const CNamedListArray* lines, ObjectIdT accountId) {
        if (accountId <= 0) return true;
        if (!lines || lines->GetCount() != 1) return false;
        return static_cast<CDebit*>(lines->ObjectAt(1))->Get_mAccountId() == accountId;
    };
    ObjectIdT result = -1;
    for (std::uint32_t i = first; i <= count; ++i) {
        auto* transaction = static_cast<CTransaction*>(list.ObjectAt(static_cast<ArrayIndexT>(i)));
        if (transaction->Get_mDate() != date || transaction->Get_mTotalAmount() != amount) continue;
        if ((from > 0 || to > 0) &&
            !(onlyLineOn(transaction->GetDebitList(), from) && onlyLineOn(transaction->GetCreditList(), to)))
            continue;
        position = i;
        result = transaction->Get_Id();
    }
    return result;
}

ObjectIdT WalkLines(const CAccount& account, ObjectIdT from, ObjectIdT to, double amount, DateT fromDate,
                    DateT toDate)
{
    const bool debit = account.Get_Id() == from;
    if (!debit && account.Get_Id() != to) return 0;
    const CNamedListArray* lines = debit ? account.Get_mDebitlist() : account.Get_mCreditList();
    const ObjectIdT counterpart = debit ? to : from;
    ObjectIdT candidate = 0;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(lines->GetCount()); ++i) {
        auto* line = static_cast<CDebit*>(lines->ObjectAt(i));
        if (line->Get_mDate() < fromDate || line->Get_mDate() > toDate || line->Get_Amount() != amount) continue;
        CTransaction* transaction = line->Get_mTransactionPtr();
        const CNamedListArray* other = debit ? transaction->GetCreditList() : transaction->GetDebitList();
        for (ArrayIndexT j = 1; j <= static_cast<ArrayIndexT>(other->GetCount()); ++j) {
            if (static_cast<CDebit*>(other->ObjectAt(j))->Get_mAccountId() == counterpart) {
                candidate = transaction->Get_Id();
                break;
            }
        }
    }
    return candidate;
}

// The walk the name look-up replaced: the first line of the name in list order.
CAccount* WalkNames(const CAccount& account, const char* text, bool debitSide)
{
    const std::string wanted(text, strnlen(text, 30));
    const CNamedListArray* lines = debitSide ? account.Get_mDebitlist() : account.Get_mCreditList();
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(lines->GetCount()); ++i) {
        auto* line = static_cast<CDebit*>(lines->ObjectAt(i));
        char name[kNameSize] = {};
        line->Get_Name(name);
        if (std::string(name, strnlen(name, 30)) != wanted) continue;
        return line->Get_mTransactionPtr()->giveOtherAccount(!debitSide);
    }
    return nullptr;
}

// Names that differ only after their thirtieth character count as one.
const char* const kNames[] = {"Groceries", "Rent", "Salary", "A name that runs past thirty characters, one",
                              "A name that runs past thirty characters, two", "Nobody"};

class ImportSearchTest : public BookingTest {
protected:
    ImportSearchTest()
    {
        accounts = {AddAccount("Bank", books::kOwnPropertyType), AddAccount("Card", books::kDebtType),
                    AddAccount("Shop", books::kProfitAndLossType), AddAccount("Employer", books::kProfitAndLossType)};
    }

    // Few dates and amounts, so that many bookings look alike.
    DateT SomeDate() { return 20240101 + static_cast<DateT>(random() % 20); }
    double SomeAmount() { return 5.0 * static_cast<double>(1 + random() % 4); }
    CAccount* SomeAccount() { return accounts[random() % accounts.size()]; }

    void AddBookings(int count)
    {
        for (int i = 0; i < count; ++i) {
            CAccount* from = SomeAccount();
            CAccount* to = SomeAccount();
            if (from == to) continue;
            CTransaction* transaction = Book(from, to, SomeAmount(), SomeDate());
            transaction->Put_Name(kNames[random() % 5]);
            // Some bookings carry a second line on one side.
            if (random() % 7 == 0)
                transaction->Add_Debit(-1, true, 0.0)->Put_mAccountId(SomeAccount()->Get_Id(), true, nullptr);
        }
    }

    void ExpectSameAnswersAsTheWalk()
    {
        auto& list = *root.Get_TransactionArray();
        for (int query = 0; query < 400; ++query) {
            const DateT date = SomeDate();
            const double amount = SomeAmount();
            const ObjectIdT from = random() % 3 == 0 ? 0 : SomeAccount()->Get_Id();
            const ObjectIdT to = random() % 3 == 0 ? 0 : SomeAccount()->Get_Id();
            const std::uint32_t start = static_cast<std::uint32_t>(random() % (list.GetCount() + 2));

            std::uint32_t walkedPosition = start;
            const ObjectIdT walked = WalkTransactions(list, date, amount, from, to, start, walkedPosition);
            CTransaction* found = nullptr;
            std::uint32_t position = start;
            ASSERT_EQ(list.GetDuplicateTransaction(date, amount, from, to, found, position), walked)
                << date << " " << amount << " " << from << " " << to << " from " << start;
            EXPECT_EQ(position, walkedPosition);
            EXPECT_EQ(found ? found->Get_Id() : -1, walked);

            CAccount* asked = SomeAccount();
            const DateT windowEnd = CDate::AddDaysTo(date, static_cast<long>(random() % 9));
            ASSERT_EQ(asked->CheckDuplicateTransaction(from, to, amount, 0, date, windowEnd, std::nullopt, std::nullopt),
                      WalkLines(*asked, from, to, amount, date, windowEnd))
                << asked->Get_Id() << ": " << from << " -> " << to << " " << amount << " " << date << ".." << windowEnd;

            const char* name = kNames[random() % std::size(kNames)];
            const bool debitSide = random() % 2 == 0;
            ASSERT_EQ(asked->giveOtherAccountForDescription(name, debitSide), WalkNames(*asked, name, debitSide))
                << asked->Get_Id() << " " << name << " " << debitSide;
        }
    }

    std::mt19937 random{20240517};
    std::vector<CAccount*> accounts;
};

TEST_F(ImportSearchTest, FindWhatAWalkOverTheListFindsWhileTheBooksChange)
{
    AddBookings(300);
    ExpectSameAnswersAsTheWalk();

    // New bookings in front of the list, whatever their dates.
    AddBookings(50);
    ExpectSameAnswersAsTheWalk();

    // Dates and names changed in place, without the lists hearing of it.
    auto& list = *root.Get_TransactionArray();
    for (ArrayIndexT i = 1; i <= 60; ++i) {
        auto* transaction = static_cast<CTransaction*>(list.ObjectAt(i * 3));
        transaction->Put_mDate(SomeDate());
        transaction->Put_Name(kNames[random() % std::size(kNames)]);
    }
    ExpectSameAnswersAsTheWalk();

    // Bookings taken out, then the list put in date order.
    for (int i = 0; i < 40; ++i) {
        const auto position = 1 + static_cast<ArrayIndexT>(random() % list.GetCount());
        auto* transaction = static_cast<CTransaction*>(list.ObjectAt(position));
        ASSERT_TRUE(root.UnlinkTrans(transaction));
    }
    list.SetNotSorted();
    list.Sort();
    ExpectSameAnswersAsTheWalk();
}

} // namespace
} // namespace ch::test
