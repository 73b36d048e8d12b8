// The transaction record: the current form round-trips byte for byte, older
// forms read with the defaults of their version.

#include <gtest/gtest.h>

#include "booking_fixture.h"

namespace ch::test {
namespace {

using TransactionRecordTest = BookingTest;

// A transaction record as a writer of the version made it.
ByteVector OldRecord(FourCharCode recordVersion)
{
    using namespace version;
    StreamWriter w;
    w->WriteBigOsType(type::kTransaction);
    w->WriteObjectIdT(900001);
    w->WriteCString("Old rent");
    w->WriteEnumT(status::kUnlinked);
    if (AtLeast(recordVersion, k1_01)) w->WriteEnumT(1);
    w->WriteDateT(20050301);
    w->WriteCString("Paid by cheque \x8a");   // Mac Roman a-umlaut
    w->WriteAmountTT(450.0);
    w->WriteAmountTT(440.0);
    w->WriteObjectIdT(1);
    w->WriteObjectIdT(-1);
    w->WriteCString("INV-1");
    w->WriteCString("NL1");
    w->WriteEnumT(transaction_type::kExpense);
    if (AtLeast(recordVersion, fourCC("1.02"))) {
        w->WriteEnumT(1);
        w->WriteEnumT(1);
    }
    if (AtLeast(recordVersion, k1_08)) {
        w->WriteObjectIdT(5);
        w->WriteEnumT(special_type::kShareTrade);
        if (AtLeast(recordVersion, k1_09)) w->WriteCString("EXT-9");
    }
    return w.bytes();
}

TEST_F(TransactionRecordTest, OlderRecordsReadWithTheDefaultsOfTheirVersion)
{
    const struct {
        FourCharCode version;
        bool flags;                 // approved and one-off stored
        ObjectIdT referenceObject;
        SpecialTypeT specialType;
        const char* externalReference;
    } cases[] = {
        {fourCC("1.01"), false, -1, special_type::kDefault, ""},
        {version::k1_07, true, -1, special_type::kDefault, ""},
        {version::k1_08, true, 5, special_type::kShareTrade, ""},
        {version::k1_09, true, 5, special_type::kShareTrade, "EXT-9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(fourCCToString(c.version));
        StreamReader reader(OldRecord(c.version));
        CTransaction transaction(reader.stream(), c.version, &root, true);
        EXPECT_EQ(reader->GetMarker(), reader->GetLength());
        EXPECT_EQ(transaction.Get_Id(), 900001);
        EXPECT_GE(root.Ids().mi_TrnsNr, 900001);   // no limit on the jump for transactions
        EXPECT_EQ(transaction.Get_ObjectStatus(), status::kUnlinked);
        EXPECT_EQ(transaction.Get_mDate(), 20050301);
        EXPECT_EQ(transaction.Get_StringrefDesc(), "Paid by cheque \xC3\xA4");
        EXPECT_DOUBLE_EQ(transaction.Get_mTotalAmount(), 450.0);
        EXPECT_DOUBLE_EQ(transaction.Get_mLocalAmount(), 440.0);   // as booked
        EXPECT_EQ(transaction.Get_CFDocumentReference(), "INV-1");
        EXPECT_EQ(transaction.Get_CFVATNr(), "NL1");
        EXPECT_EQ(transaction.Get_mTransactionType(), transaction_type::kExpense);
        EXPECT_EQ(transaction.Get_mb_Approved(), c.flags);
        EXPECT_EQ(transaction.Get_mb_budgetOneOff(), c.flags);
        EXPECT_EQ(transaction.Get_mReferenceObjectId(), c.referenceObject);
        EXPECT_EQ(transaction.Get_mSpecialTypeT(), c.specialType);
        EXPECT_EQ(transaction.Get_CFExternalReference(), c.externalReference);
        EXPECT_EQ(transaction.GetDebitList()->GetCount(), 0u);
    }
}

TEST_F(TransactionRecordTest, TheCurrentRecordRoundTrips)
{
    CCurrency* usd = AddCurrency("USD", 0.5);
    CTransaction* original = Book(AddAccount("Bank", books::kOwnPropertyType),
                                  Account(books::kExpenseAccount), 30.0, 20240305);
    original->Put_Name("Lunch");
    original->Put_StringrefDesc("With the team \xE2\x82\xAC");   // not in Mac Roman
    original->Put_CFVATNr("NL999");
    original->Put_CFDocumentReference("R-17");
    original->Put_CFExternalReference("bank:4711");
    original->Put_mb_Approved(true);
    original->Put_mReferenceObjectId(12);
    original->Put_mSpecialTypeT(special_type::kDividend);
    original->Put_mCurrencyId(usd->Get_Id(), usd);
    original->Put_mLocalAmount(14.0);   // booked at an older rate

    StreamWriter first;
    original->PutStream(first.stream(), false);
    StreamReader reader(first.bytes());
    CTransaction copy(reader.stream(), version::kCurrent, &root, true);
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
    EXPECT_DOUBLE_EQ(copy.Get_mLocalAmount(), 14.0);
    EXPECT_EQ(copy.Get_StringrefDesc(), "With the team \xE2\x82\xAC");
    StreamWriter second;
    copy.PutStream(second.stream(), false);
    EXPECT_EQ(second.bytes(), first.bytes());

    // With its lines: debit, credit, category records follow in that order.
    StreamWriter withLines;
    original->PutStream(withLines.stream(), true);
    ByteVector expected = first.bytes();
    for (CDebit* line : {Debit(original), static_cast<CDebit*>(Credit(original)),
                         static_cast<CDebit*>(ForLine(original))}) {
        StreamWriter lineRecord;
        line->PutStream(lineRecord.stream());
        expected.insert(expected.end(), lineRecord.bytes().begin(), lineRecord.bytes().end());
    }
    EXPECT_EQ(withLines.bytes(), expected);
}

} // namespace
} // namespace ch::test
