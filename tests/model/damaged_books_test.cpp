// Damaged document files: a text whose byte count was enlarged swallows the
// records behind it. Each such file must be refused with a numbered error, or
// read with every transaction and line it had; never opened with fewer.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "booking_fixture.h"
#include "model/CRecurringTransaction.h"

namespace ch::test {
namespace {

// A saving stream that notes where each field it writes begins and how long it is.
class FieldRecorder : public GXDataStream {
public:
    struct Field {
        std::size_t offset;
        std::int32_t size;
    };

    std::int32_t PutBytes(const void* buffer, std::int32_t& count) override
    {
        fields.push_back({mWritten, count});
        mWritten += static_cast<std::size_t>(count);
        return GXDataStream::PutBytes(buffer, count);
    }

    std::vector<Field> fields;

private:
    std::size_t mWritten = 0;
};

std::uint32_t BigEndianAt(const ByteVector& bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 |
           std::uint32_t(bytes[at + 3]);
}

bool IsRecordTag(FourCharCode code)
{
    for (FourCharCode tag : {type::kPreference, type::kHierarchyRoot, type::kAccountOwner, type::kAccountType,
                             type::kMasterExpenseType, type::kCurrency, type::kCurrencyRate, type::kBank,
                             type::kAccount, type::kExpenseType, type::kTransaction, type::kDebit, type::kCredit,
                             type::kExpenseTypeDetail, type::kRecurring, type::kBudgetHeader, type::kEndOfModel})
        if (code == tag) return true;
    return false;
}

void PutBigEndian(ByteVector& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Each transaction (posted, unlinked or recurring) by id, with its line counts.
using Transactions = std::map<std::tuple<FourCharCode, ObjectIdT>, std::tuple<unsigned, unsigned, unsigned>>;

Transactions TransactionsOf(const CDocAccounting& books)
{
    Transactions found;
    for (CNamedListArray* list : {static_cast<CNamedListArray*>(books.mTransactionList.get()),
                                  books.mUnlinkedList.get(), books.mRecurringList.get()}) {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* transaction = static_cast<CTransaction*>(list->ObjectAt(i));
            found[{transaction->Get_ObjectType(), transaction->Get_Id()}] = {
                transaction->GetDebitList()->GetCount(), transaction->GetCreditList()->GetCount(),
                transaction->GetExpenseTypeList()->GetCount()};
        }
    }
    return found;
}

class DamagedBooksTest : public BookingTest {
protected:
    // The default books with named, described and referenced transactions:
    // a split one, an unlinked one and a suspended recurring one.
    void FillBooks()
    {
        CAccount* bank = AddAccount("Bank", books::kOwnPropertyType);
        CAccount* savings = AddAccount("Savings", books::kOwnPropertyType);
        const struct {
            const char* name;
            const char* description;
            const char* reference;
            double amount;
        } bookings[] = {
            {"Salary", "March salary", "PAY-03", 2100.0},
            {"Rent", "Flat, \xC3\xA9tage 2", "INV-7781", 640.0},
            {"Groceries", "", "", 82.35},
            {"To savings", "Monthly transfer to the savings account", "SV", 300.0},
        };
        DateT date = 20240301;
        for (const auto& b : bookings) {
            CTransaction* t = Book(bank, savings, b.amount, date++);
            t->Put_StringrefName(b.name);
            t->Put_StringrefDesc(b.description);
            t->Put_CFDocumentReference(b.reference);
            t->Put_CFExternalReference(b.reference);
            t->Put_CFVATNr("BE0123");
        }
        CTransaction* split = static_cast<CTransaction*>(root.mTransactionList->ObjectAt(2));
        split->Add_Debit(-1, false, 10.0)->Put_mAccountId(savings->Get_Id(), true, nullptr);
        split->Add_Credit(-1, false, 10.0)->Put_mAccountId(bank->Get_Id(), true, nullptr);
        root.UnlinkTrans(static_cast<CTransaction*>(root.mTransactionList->ObjectAt(3)));

        CRecurringTransaction* recurring = root.InsertRecurringTransaction(1, 1);
        recurring->Put_StringrefName("Insurance");
        recurring->Put_StringrefDesc("Yearly car insurance");
        recurring->Put_mTotalAmount(420.0);
        recurring->Put_mOnOff(1);
    }

    // Saves the books, noting where each field and each record begins.
    void SaveBooks()
    {
        FillBooks();
        auto data = std::make_shared<GXDataStream::Buffer>();
        FieldRecorder recorder;
        recorder.setDataObject(data);
        root.DoSave(&recorder);
        saved = *data;
        fields = recorder.fields;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].size == 4 && IsRecordTag(BigEndianAt(saved, fields[i].offset))) records.push_back(i);
    }

    // A text's byte count: four bytes, then a block of that many bytes that
    // is Unicode text (its byte-order mark first) or C text (no zero byte).
    bool IsTextCount(std::size_t index) const
    {
        if (index + 1 >= fields.size() || fields[index].size != 4) return false;
        const std::size_t count = BigEndianAt(saved, fields[index].offset);
        if (std::int64_t(count) != fields[index + 1].size) return false;
        auto text = saved.begin() + static_cast<long>(fields[index + 1].offset);
        bool unicode = count >= 2 && text[0] == 0xFF && text[1] == 0xFE;
        return unicode || std::find(text, text + static_cast<long>(count), 0) == text + static_cast<long>(count);
    }

    // Where the record after the one holding `offset` begins (the end of the data after the last).
    std::size_t RecordAfter(std::size_t offset) const
    {
        for (std::size_t index : records)
            if (fields[index].offset > offset) return fields[index].offset;
        return saved.size();
    }

    // The index of the first field of the first record with the tag.
    std::size_t FirstRecord(FourCharCode tag) const
    {
        for (std::size_t index : records)
            if (BigEndianAt(saved, fields[index].offset) == tag) return index;
        ADD_FAILURE() << "no record " << fourCCToString(tag);
        return 0;
    }

    // Refused with error 172, or read with every transaction and line.
    std::string Problem(const ByteVector& damaged, const Transactions& expected)
    {
        env.alerts().clear();
        CDocAccounting books;
        const bool read = Load(books, damaged);
        const std::vector<long> alerts = env.alerts().numbers();
        if (!read && (alerts.empty() || alerts.back() != 172)) return "refused without error 172";
        if (read && TransactionsOf(books) != expected) return "read without all its transactions and lines";
        return {};
    }

    ByteVector saved;
    std::vector<FieldRecorder::Field> fields;
    std::vector<std::size_t> records;   // indexes of the fields that are record tags
};

TEST_F(DamagedBooksTest, AnEnlargedTextIsRefusedOrLosesNothing)
{
    SaveBooks();
    CDocAccounting intact;
    ASSERT_TRUE(Load(intact, saved));
    const Transactions expected = TransactionsOf(intact);
    ASSERT_EQ(expected.size(), 5u);

    bool sawText = false;
    std::vector<std::string> failures;
    for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
        if (!IsTextCount(i)) continue;
        sawText = true;
        const std::size_t at = fields[i].offset;
        const std::uint32_t count = BigEndianAt(saved, at);
        const std::size_t textStart = at + 4, textEnd = textStart + count;

        // The text ends two bytes later, later by a bit set in the count's
        // second byte, on each of the next records and the end tag, and on
        // every field of the record that follows: where the reading could
        // carry on in step.
        std::set<std::size_t> ends = {textEnd + 2, textStart + ((count | 0x0100) & ~1u), saved.size() - 4};
        std::size_t next = textEnd;
        for (int i = 0; i < 6; ++i) ends.insert(next = RecordAfter(next));
        const std::size_t followingEnd = RecordAfter(RecordAfter(textEnd));
        for (const auto& field : fields)
            if (field.offset > textEnd && field.offset < followingEnd) ends.insert(field.offset);

        for (std::size_t end : ends) {
            const std::size_t larger = end - textStart;
            if (end <= textEnd || larger % 2 != 0 || end > saved.size()) continue;
            ByteVector damaged = saved;
            PutBigEndian(damaged, at, static_cast<std::uint32_t>(larger));
            const std::string problem = Problem(damaged, expected);
            if (!problem.empty() && failures.size() < 10)
                failures.push_back(problem + ": the count at " + std::to_string(at) + " made " +
                                   std::to_string(larger));
        }
    }
    EXPECT_TRUE(sawText);
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

// Records that still parse but hold what no writer writes.
TEST_F(DamagedBooksTest, RecordsNoWriterWritesAreRefused)
{
    SaveBooks();
    const std::size_t line = FirstRecord(type::kDebit);
    const std::size_t transaction = FirstRecord(type::kTransaction);
    // The last field of the line: the id of its transaction.
    std::size_t lineOwner = line + 1;
    while (lineOwner + 1 < fields.size() && fields[lineOwner + 1].offset < RecordAfter(fields[line].offset))
        ++lineOwner;
    const std::uint32_t other = BigEndianAt(saved, fields[lineOwner].offset) + 1;

    const struct {
        const char* what;
        std::size_t at;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        // tag, id, name length, name, status, open flag
        {"an open flag of 2", fields[transaction + 5].offset, {2}},
        {"a line naming another transaction", fields[lineOwner].offset,
         {std::uint8_t(other >> 24), std::uint8_t(other >> 16), std::uint8_t(other >> 8), std::uint8_t(other)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ByteVector damaged = saved;
        std::copy(c.bytes.begin(), c.bytes.end(), damaged.begin() + static_cast<long>(c.at));
        env.alerts().clear();
        CDocAccounting books;
        EXPECT_FALSE(Load(books, damaged));
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{172});
    }
}

} // namespace
} // namespace ch::test
