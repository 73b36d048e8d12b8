// A bounded fuzzing session over the model stream reader with books that
// hold accounts, transactions and their lines: seeds of the current and older
// layouts, their truncations and thousands of mutations. Each input is
// refused, or read into books that write and read back to the same bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/model_stream_check.h"
#include "../fuzz/smoke_run.h"
#include "booking_fixture.h"

namespace ch::test {
namespace {

std::string AsText(const ByteVector& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

class BookingStreamFuzzSmoke : public BookingTest {
protected:
    // Books with accounts of every kind, foreign amounts, split, unlinked and
    // blocked transactions, a grouping account and an account without a type.
    // The categories and groups stay out: their records have seeds of their own.
    std::string CurrentBooks()
    {
        CCurrency* usd = AddCurrency("USD", 0.5);
        CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
        CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType, usd->Get_Id());
        CAccount* loan = AddAccount("Loan", books::kDebtType);
        AddAccount("Loose", 0);
        AddAccount("Pocket", books::kAssetsType)->Put_mGroupingAccount(bank->Get_Id(), nullptr);
        Book(Account(books::kIncomeAccount), bank, 1200.0, 20240101, books::kIncomeCategory);
        CTransaction* split = Book(bank, Account(books::kExpenseAccount), 300.0, 20240105,
                                   books::kExpenseCategory);
        split->Add_Debit(-1, false, 50.0)->Put_mAccountId(loan->Get_Id(), true, nullptr);
        split->Add_Credit(-1, false, 50.0)->Put_mAccountId(dollars->Get_Id(), true, nullptr);
        Book(bank, dollars, 100.0, 20240106)->Put_Status(status::kBlocked);
        Book(bank, loan, 25.0, 20240107)->Unlink();

        CDocAccounting books;
        EXPECT_TRUE(Load(books, Save(root)));
        // The lines leave their categories; categories go before their groups.
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(books.mExpenseTypeList->GetCount()); ++i) {
            CNamedListArray* bookings = static_cast<CExpenseType*>(books.mExpenseTypeList->ObjectAt(i))->Get_Bookings();
            for (auto j = static_cast<ArrayIndexT>(bookings->GetCount()); j >= 1; --j)
                static_cast<CDebit*>(bookings->ObjectAt(j))->RemoveFromParent();
        }
        for (CNamedListArray* list : {static_cast<CNamedListArray*>(books.mExpenseTypeList.get()),
                                      static_cast<CNamedListArray*>(books.mMasterExpenseTypeList.get())}) {
            std::vector<CNonVisual*> objects;
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
                objects.push_back(list->ObjectAt(i));
            list->RemoveItemsAt(list->GetCount(), 1);
            for (CNonVisual* object : objects) delete object;
        }
        return AsText(Save(books));
    }

    // A transaction of version '1.07' with one line on each side, after the settings.
    static std::string OldBooks()
    {
        StreamWriter w;
        WriteSettingsRecord(w.stream(), version::k1_07);
        w->WriteBigOsType(type::kAccount);
        w->WriteObjectIdT(4);
        w->WriteCString("Bank");
        w->WriteEnumT(status::kNormal);
        w->WriteEnumT(0);
        w->WriteCString("1100");
        w->WriteObjectIdT(1);
        w->WriteObjectIdT(1);
        w->WriteCString("Description");
        w->WriteCString("000-000000-00");
        w->WriteObjectIdT(4);
        w->WriteAmountTT(0.0);
        w->WriteAmountTT(0.0);
        w->WriteObjectIdT(1);
        w->WriteEnumT(0);
        w->WriteEnumT(0);
        w->WriteObjectIdT(1);
        w->WriteObjectIdT(1);
        w->WriteAmountTT(100.0);
        for (int i = 0; i < 3; ++i) w->WriteAmountTT(0.0);
        w->WriteBigOsType(type::kTransaction);
        w->WriteObjectIdT(3);
        w->WriteCString("Rent");
        w->WriteEnumT(status::kNormal);
        w->WriteEnumT(0);
        w->WriteDateT(20050301);
        w->WriteCString("Description");
        w->WriteAmountTT(10.0);
        w->WriteAmountTT(10.0);
        w->WriteObjectIdT(1);
        w->WriteObjectIdT(-1);
        w->WriteCString("Ref");
        w->WriteCString("VAT");
        w->WriteEnumT(transaction_type::kExpense);
        w->WriteEnumT(0);
        w->WriteEnumT(0);
        for (FourCharCode line : {type::kDebit, type::kCredit, type::kExpenseTypeDetail}) {
            w->WriteBigOsType(line);
            w->WriteObjectIdT(7);
            w->WriteCString("NoName");
            w->WriteEnumT(status::kNormal);
            w->WriteEnumT(0);
            w->WriteObjectIdT(line == type::kExpenseTypeDetail ? 1 : 4);
            w->WriteAmountTT(10.0);
            w->WriteObjectIdT(1);
            w->WriteAmountTT(10.0);
            w->WriteObjectIdT(3);
        }
        w->WriteBigOsType(type::kEndOfModel);
        return AsText(w.bytes());
    }
};

TEST_F(BookingStreamFuzzSmoke, DamagedBooksAreRefusedOrReadConsistently)
{
    const std::vector<std::string> seeds = {CurrentBooks(), OldBooks()};
    std::mt19937 random(20240316);
    std::vector<std::string> failures;
    auto run = [&](const std::string& input) {
        std::string problem = fuzz::checkModelStream(input);
        if (!problem.empty() && failures.size() < 10)
            failures.push_back(problem + " [" + fuzz::hexPrefix(input) + "]");
    };
    for (const std::string& seed : seeds) {
        EXPECT_EQ(fuzz::checkModelStream(seed), "");
        for (std::size_t size = 0; size < seed.size(); size += 7) run(seed.substr(0, size));
    }
    for (int i = 0; i < 3000; ++i) run(fuzz::mutate(seeds, random));
    EXPECT_TRUE(failures.empty()) << failures.front();
}

TEST(BookingStreamCorpus, TheSeedWithTransactionsReadsBack)
{
    ModelEnvironment environment;
    std::ifstream in(std::string(COUNTINGHOUSE_TEST_DATA) + "/fuzz/model_stream/seed_transactions.books",
                     std::ios::binary);
    std::string seed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(seed.empty());
    EXPECT_EQ(fuzz::checkModelStream(seed), "");
}

} // namespace
} // namespace ch::test
