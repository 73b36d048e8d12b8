// Booking lines on their own: ids, property fluctuation, reading, and the
// line comparators.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "booking_fixture.h"
#include "model/CTransactionDetailComparator.h"

namespace ch::test {
namespace {

using BookingLineTest = BookingTest;

TEST_F(BookingLineTest, LineIdsComeFromTheirOwnCounter)
{
    CTransaction* transaction = NewTransaction();
    CDebit* line = Debit(transaction);
    IdCounters& ids = root.Ids();
    ObjectIdT objects = ids.mi_MaxId;
    ObjectIdT counter = ids.mi_DebetNr;

    line->Put_Id(-1);
    EXPECT_EQ(line->Get_Id(), counter + 1);
    line->Put_Id(CNonVisual::kTemporaryId);
    EXPECT_EQ(line->Get_Id(), 1);
    line->Put_Id(counter + 1 + 200000);   // too far above: kept, counter left alone
    EXPECT_EQ(ids.mi_DebetNr, counter + 1);
    line->Put_Id(counter + 50);
    EXPECT_EQ(ids.mi_DebetNr, counter + 50);
    EXPECT_EQ(ids.mi_MaxId, objects);

    // New lines and transactions use no ids of other objects.
    ObjectIdT transactions = ids.mi_TrnsNr;
    NewTransaction();
    EXPECT_EQ(ids.mi_MaxId, objects);
    EXPECT_EQ(ids.mi_TrnsNr, transactions + 1);
}

TEST_F(BookingLineTest, PropertyFluctuationBySideAndKind)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CAccount* shop = AddAccount("Shop", books::kProfitAndLossType);
    CExpenseType* transfer = Category(books::kTransferCategory);
    // side, object id, category?, expected fluctuation of a line of 10
    const struct {
        const char* side;
        ObjectIdT object;
        double expected;
    } cases[] = {
        {"debit", bank->Get_Id(), -10.0},   {"debit", shop->Get_Id(), 0.0},
        {"credit", bank->Get_Id(), 10.0},   {"credit", shop->Get_Id(), 0.0},
        {"for", books::kExpenseCategory, -10.0}, {"for", books::kIncomeCategory, 10.0},
        {"for", transfer->Get_Id(), 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.object);
        CTransaction* transaction = NewTransaction();
        std::string side = c.side;
        CDebit* line = side == "debit"    ? Debit(transaction)
                       : side == "credit" ? static_cast<CDebit*>(Credit(transaction))
                                          : static_cast<CDebit*>(ForLine(transaction));
        line->Put_mAccountId(c.object, true, nullptr);
        line->Put_mLocalAmount(10.0);
        EXPECT_DOUBLE_EQ(line->Get_PropertyFluctuation(), c.expected);
    }
}

TEST_F(BookingLineTest, ALineWhoseAccountIsGoneIsReadOntoTheUnspecifiedExpenseAccount)
{
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    CTransaction* transaction = NewTransaction();
    transaction->Put_mDescription("Rent");
    StreamWriter writer;
    for (ObjectIdT account : {bank->Get_Id(), ObjectIdT(4242)}) {
        writer->WriteBigOsType(type::kCredit);
        writer->WriteObjectIdT(77);
        writer->WriteCString("NoName");
        writer->WriteEnumT(status::kNormal);
        writer->WriteEnumT(0);
        writer->WriteCFString("NoName");
        writer->WriteCFString("");
        writer->WriteObjectIdT(account);
        writer->WriteAmountTT(25.0);
        writer->WriteObjectIdT(books::kEUR);
        writer->WriteAmountTT(25.0);
        writer->WriteObjectIdT(transaction->Get_Id());
    }
    StreamReader reader(writer.bytes());
    for (ObjectIdT expected : {bank->Get_Id(), books::kExpenseAccount}) {
        auto* line = new CCredit(reader.stream(), &root, transaction, version::kCurrent, nullptr);
        line->Put_Id(-1);
        line->InitFromStream(reader.stream(), &root, transaction, nullptr);
        transaction->LinkCredit(line);
        EXPECT_EQ(line->Get_mAccountId(), expected);
        EXPECT_DOUBLE_EQ(line->Get_mLocalAmount(), 25.0);
        EXPECT_TRUE(line->IsPosted());
    }
    EXPECT_DOUBLE_EQ(bank->Get_mBalance(), 25.0);
    EXPECT_DOUBLE_EQ(Account(books::kExpenseAccount)->Get_mBalance(), -25.0);
    EXPECT_EQ(transaction->Get_StringrefDesc(), "Account delta");
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
}

TEST_F(BookingLineTest, TextsOfALine)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
    bank->Put_mAccountNumber("1100");
    CTransaction* transaction = Book(bank, Account(books::kExpenseAccount), 12.0);
    CDebit* line = Debit(transaction);
    line->Put_mCurrency(usd->Get_Id(), usd);
    EXPECT_EQ(line->Get_ForeingCurrency(), "USD");
    EXPECT_EQ(line->Get_LocalCurrency(), "EUR");
    EXPECT_EQ(line->Get_BookingAccountNumber(), "1100");
    EXPECT_EQ(line->Get_FullDescription(), "1100 : Bank :    24.00 USD");
    line->Put_LocalBalance(30.0);
    EXPECT_DOUBLE_EQ(line->Get_ForeignBalance(), 30.0);   // the account is in the home currency
}

// --- comparators

class LineOrderTest : public BookingTest {
protected:
    // Lines on the given dates, in the order given; the line ids rise with it.
    std::vector<CDebit*> LinesOn(std::vector<DateT> dates)
    {
        std::vector<CDebit*> lines;
        for (DateT date : dates) lines.push_back(Debit(NewTransaction(transaction_type::kOther, date)));
        return lines;
    }

    static std::vector<CDebit*> Sorted(std::vector<CDebit*> lines, LComparator* comparator)
    {
        CNamedListArray list(comparator, false);
        for (CDebit* line : lines) list.AppendObject(line);
        list.SetNotSorted();
        list.Sort();
        std::vector<CDebit*> order;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i)
            order.push_back(static_cast<CDebit*>(list.ObjectAt(i)));
        return order;
    }
};

TEST_F(LineOrderTest, DatesThenIdsNewestFirstUnlessSwitched)
{
    std::vector<CDebit*> lines = LinesOn({20240105, 20240301, 20240105});
    auto* comparator = new CTransactionDetailComparator;
    CTransactionDetailComparator copy(*comparator);
    EXPECT_EQ(Sorted(lines, comparator), (std::vector<CDebit*>{lines[1], lines[2], lines[0]}));
    EXPECT_FALSE(copy.SwitchSortOrder());
    EXPECT_TRUE(copy.SwitchSortOrder());
    auto* oldestFirst = new CTransactionDetailComparator;
    oldestFirst->SetReverse(false);
    EXPECT_EQ(Sorted(lines, oldestFirst), (std::vector<CDebit*>{lines[0], lines[2], lines[1]}));

    // A line without a transaction counts as dated 0: last, newest first.
    auto* loose = new CCredit(&root, nullptr);
    EXPECT_GT(CTransactionDetailComparator().Compare(&loose, &lines[0], 8, 8), 0);
    delete loose;
}

TEST_F(LineOrderTest, ColumnsSortByTheirKey)
{
    std::vector<CDebit*> lines = LinesOn({20240101, 20240102, 20240103});
    const char* names[] = {"b", "C", "A"};
    const double amounts[] = {5.0, 50.0, -7.0};
    for (int i = 0; i < 3; ++i) {
        lines[i]->Get_mTransactionPtr()->Put_Name(names[i]);
        lines[i]->Put_mLocalAmount(amounts[i]);
        lines[i]->Put_LocalBalance(amounts[i] * 2);
    }
    EXPECT_EQ(Sorted(lines, new CTransactionDetailComparatorDesc),
              (std::vector<CDebit*>{lines[2], lines[0], lines[1]}));
    auto* descending = new CTransactionDetailComparatorDesc;
    descending->SetReverse(false);
    EXPECT_EQ(Sorted(lines, descending), (std::vector<CDebit*>{lines[1], lines[0], lines[2]}));
    for (LComparator* largestFirst : std::initializer_list<LComparator*>{
             new CTransactionDetailComparatorAmtl, new CTransactionDetailComparatorAmtf,
             new CTransactionDetailComparatorBall, new CTransactionDetailComparatorBalf})
        EXPECT_EQ(Sorted(lines, largestFirst), (std::vector<CDebit*>{lines[1], lines[0], lines[2]}));
    std::unique_ptr<LComparator> clone(CTransactionDetailComparatorAmtl().Clone());
    EXPECT_NE(dynamic_cast<CTransactionDetailComparatorAmtl*>(clone.get()), nullptr);
}

} // namespace
} // namespace ch::test
