// Budgets in the model stream: records read back byte for byte, a whole set
// of books with budgets saves, loads and saves to the same bytes, and
// damaged records are refused without leaving anything behind.

#include <initializer_list>

#include "budget_fixture.h"
#include "model/CAccType.h"

namespace ch::test {
namespace {

using namespace budget_item;

constexpr double K = kKeepBudgetAmount;

class BudgetStreamTest : public BudgetTest {
protected:
    void Fill()
    {
        Earn(bank, 2000.0, 20230110, salary);
        Spend(bank, 100.0, 20230305, groceries);
        Spend(card, 40.0, 20230320, groceries);
        Book(bank, savings, 300.0, 20230601);
        Spend(bank, 80.0, 20240205, groceries);
        Spend(bank, 50.0, 20240210, groceries, true);

        first = Make(budget_base::kLastYear, budget_period::kCurrentYear);
        first->Put_Name("Household 2024");
        ASSERT_TRUE(first->AddNewXRef(10.0, K, K, 5.0, first->getDateForIndex(2), bank->Get_Id(),
                                      rent->Get_Id(), "rent", 2, 4));
        XRef(first, bank, rent, 3)->Put_mBlocked(1);
        Detail(first, groceries)->Put_mComment("food");
        Detail(first, savings)->Put_mBlocked(1);
        CBudgetMonth* april = Detail(first, bank)->GetMonth(3);
        april->Put_newRow(0xFFFFFFFEu);
        april->Put_mComment("april");
        Detail(first, bank)->GetMonth(5)->Put_mBlocked(true);
        next = Make(budget_base::kBaseBudget, budget_period::kFollowBase, first->Get_Id());

        // The order reading gives the lists it sorts.
        for (CNamedListArray* list : std::initializer_list<CNamedListArray*>{
                 root.mAccountOwnerList.get(), root.mAccountTypeList.get(), root.mAccountList.get(),
                 root.mCurrencyList.get(), root.mExpenseTypeList.get(), root.mTransactionList.get(),
                 root.mRootList.get()}) {
            list->SetNotSorted();
            list->Sort();
        }
    }

    CBudgetHeader* first = nullptr;
    CBudgetHeader* next = nullptr;
};

TEST_F(BudgetStreamTest, BooksWithBudgetsSaveLoadAndSaveToTheSameBytes)
{
    Fill();
    const ByteVector saved = Save(root);

    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, saved));
    EXPECT_EQ(FirstDifference(Save(copy), saved), "");
    // The outline roots a budget builds are never written: reading takes no
    // ids for them, so what is made next gets the ids the saving run gave.
    EXPECT_EQ(copy.Ids().mi_MaxId, root.Ids().mi_MaxId);

    ASSERT_EQ(copy.mBudgetList->GetCount(), 2u);
    auto* loaded = static_cast<CBudgetHeader*>(copy.mBudgetList->ObjectAt(1));
    EXPECT_EQ(loaded->Get_Id(), first->Get_Id());
    EXPECT_EQ(static_cast<CBudgetHeader*>(copy.mBudgetList->ObjectAt(2))->Get_mBaseBudgetId(), first->Get_Id());
    // Details and cross-references keep their order; the account side is linked again.
    auto expectSameOrder = [](const CNamedListArray* read, const CNamedListArray* written) {
        ASSERT_EQ(read->GetCount(), written->GetCount());
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(written->GetCount()); ++i)
            EXPECT_EQ(read->ObjectAt(i)->Get_Id(), written->ObjectAt(i)->Get_Id());
    };
    expectSameOrder(loaded->Get_mAccountDetails(), first->Get_mAccountDetails());
    expectSameOrder(loaded->Get_mExpenseTypeDetails(), first->Get_mExpenseTypeDetails());
    CAccount* loadedBank = static_cast<CAccount*>(copy.mAccountList->GetValueForId(bank->Get_Id()));
    CExpenseType* loadedRent = static_cast<CExpenseType*>(copy.mExpenseTypeList->GetValueForId(rent->Get_Id()));
    CBudgetXRef* blocked = XRef(loaded, loadedBank, loadedRent, 3);
    ASSERT_NE(blocked, nullptr);
    EXPECT_EQ(blocked->Get_AccountDetailPointer(), Detail(loaded, loadedBank));
    EXPECT_TRUE(blocked->Get_mBlocked());
    EXPECT_NE(Detail(loaded, loadedBank)->GetXRefsForZeroBasedPeriod(3)->FetchIndexOfObject(blocked), 0);
    CBudgetMonth* april = Detail(loaded, loadedBank)->GetMonth(3);
    EXPECT_EQ(april->Get_newRow(), 0xFFFFFFFEu);
    char comment[kDescriptionSize];
    april->Get_mComment(comment);
    EXPECT_STREQ(comment, "april");
    EXPECT_DOUBLE_EQ(Figure(loaded, loadedBank, kActualEnd, 11), Figure(first, bank, kActualEnd, 11));

    // The loaded budgets work as the originals do.
    for (CDocAccounting* books : {&root, &copy}) {
        for (ArrayIndexT i = 1; i <= 2; ++i) static_cast<CBudgetHeader*>(books->mBudgetList->ObjectAt(i))->UpdateActuals();
    }
    EXPECT_EQ(FirstDifference(Save(copy), Save(root)), "");
}

TEST_F(BudgetStreamTest, DamagedBudgetRecordsAreRefusedWithoutLeftovers)
{
    Fill();
    const ByteVector saved = Save(root);
    const std::string bytes(saved.begin(), saved.end());
    const std::size_t budgets = bytes.find("BuDh");
    ASSERT_NE(budgets, std::string::npos);
    // Cut anywhere inside the budgets, the books are not read.
    for (std::size_t cut = budgets + 1; cut + 4 < saved.size(); cut += 331) {
        CDocAccounting damaged;
        EXPECT_FALSE(Load(damaged, ByteVector(saved.begin(), saved.begin() + static_cast<long>(cut)))) << cut;
    }

    // A cross-reference of another detail or of no period, and a detail of a
    // kind no budget has, are dropped.
    StreamWriter writer;
    CBudgetDetail* groceriesDetail = Detail(first, groceries);
    groceriesDetail->PutStream(writer.stream());
    CBudgetXRef stray(&root, bank, groceries, Detail(first, bank), groceriesDetail, 12);
    stray.PutStream(writer.stream());
    CBudgetXRef foreign(&root, bank, rent, Detail(first, bank), Detail(first, rent), 2);
    foreign.PutStream(writer.stream());
    CBudgetHeader header(-1, &root);
    header.Get_mExpenseTypeDetails()->InsertObjectAt(
        new CBudgetDetail(Type(books::kOwnPropertyType), 0, &header, &root), 1);
    header.PutStream(writer.stream());

    StreamReader reader(writer.bytes());
    CBudgetDetail read(reader.stream(), &root, version::kCurrent);
    for (int period = 0; period < 12; ++period) {
        EXPECT_EQ(read.GetXRefsForZeroBasedPeriod(period)->GetCount(),
                  groceriesDetail->GetXRefsForZeroBasedPeriod(period)->GetCount())
            << period;
    }
    CBudgetHeader readHeader(reader.stream(), &root, version::kCurrent);
    EXPECT_EQ(readHeader.Get_mExpenseTypeDetails()->GetCount(), 0u);
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
    read.DeleteDetail(false);
}

TEST_F(BudgetStreamTest, APeriodRecordReadsBackAsWritten)
{
    CBudgetMonth month;
    for (BudgetItemTypeT figure = 0; figure < CBudgetMonth::kFigureCount; ++figure)
        month.Put_Figure(figure, 1.25 * (figure + 1));
    month.Put_newRow(42);
    month.Put_mBlocked(true);
    month.Put_mComment("note");
    StreamWriter writer;
    month.PutStream(writer.stream());

    StreamReader reader(writer.bytes());
    CBudgetMonth read(reader.stream(), &root, version::kCurrent);
    for (BudgetItemTypeT figure = 0; figure < CBudgetMonth::kFigureCount; ++figure)
        EXPECT_DOUBLE_EQ(read.Get_Figure(figure), 1.25 * (figure + 1));
    EXPECT_EQ(read.Get_newRow(), 42u);
    EXPECT_TRUE(read.Get_mBlocked());
    char comment[kDescriptionSize];
    read.Get_mComment(comment);
    EXPECT_STREQ(comment, "note");
    EXPECT_EQ(read.Get_Id(), month.Get_Id());
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
}

} // namespace
} // namespace ch::test
