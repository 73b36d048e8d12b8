// Category groups and categories: totals rolling up the tree, year totals,
// moves of groups and categories, standing and the category-list sub-lists,
// deletion checks and the 'MxpT' and 'ExpT' records.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chart_test_support.h"
#include "model/CDebit.h"

namespace ch {
namespace {

using test::ChartBooks;
using test::Holds;
using test::MessageLog;
using test::StreamReader;
using test::StreamWriter;

int Count(const MessageLog& log, MessageT message)
{
    int count = 0;
    for (MessageT m : log.messages()) count += m == message;
    return count;
}

// A category line booked on the category, the way a posted line books.
class Booking {
public:
    Booking(ChartBooks& books, CExpenseType* category, double amount, DateT date = 0)
        : mLine(std::make_unique<CExptypeDetail>(&books.doc, nullptr)), mCategory(category), mAmount(amount)
    {
        mLine->Put_mAmounts(amount, amount);
        category->AddDetail(mLine.get());
        category->AddTo(amount, 0.0, date);
    }
    ~Booking()
    {
        mCategory->RemoveDetail(mLine.get());
        mCategory->AddTo(-mAmount, 0.0, 0);
    }

private:
    std::unique_ptr<CExptypeDetail> mLine;
    CExpenseType* mCategory;
    double mAmount;
};

TEST(CategoryTotals, ABookingRollsUpToEveryGroupWithOneBroadcastEach)
{
    ChartBooks books;
    books.PredefinedGroups();
    auto* top = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kExpense));
    CMasterExpenseType* middle = books.Group(-1, "Household", top);
    CMasterExpenseType* leaf = books.Group(-1, "Food", middle);
    CExpenseType* groceries = books.Category("Groceries", leaf->Get_Id());
    MessageLog topLog, middleLog, leafLog;
    top->AddListener(&topLog);
    middle->AddListener(&middleLog);
    leaf->AddListener(&leafLog);

    groceries->AddTo(10.0, 0.0, 20240110);
    for (CMasterExpenseType* group : {top, middle, leaf}) {
        EXPECT_DOUBLE_EQ(group->Get_mBalance(), 10.0);
        EXPECT_DOUBLE_EQ(group->Get_thisYearsBalance(), 10.0);
    }
    EXPECT_EQ(Count(topLog, msg::kBalanceChanged), 1);
    EXPECT_EQ(Count(middleLog, msg::kBalanceChanged), 1);
    ASSERT_EQ(Count(leafLog, msg::kBalanceChanged), 1);
    EXPECT_EQ(leafLog.entries.front().param, leaf);
}

TEST(CategoryTotals, YearTotalsFollowTheLinesDate)
{
    // Today is 15 March 2024; the accounting year is the calendar year.
    const struct {
        DateT date;
        double thisYear, lastYear, lastYearToDate;
    } cases[] = {{20240110, 30, 0, 0},  {20230315, 0, 30, 30}, {20230316, 0, 30, 0},
                 {20221231, 0, 0, 0},   {0, 0, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        ChartBooks books;
        books.PredefinedGroups();
        CExpenseType* category = books.Category("Rent", group_kind::kExpense);
        auto* group = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kExpense));
        category->AddTo(30.0, 0.0, c.date);
        for (const auto* totals : {static_cast<const CNonVisual*>(category), static_cast<const CNonVisual*>(group)})
            EXPECT_DOUBLE_EQ(totals->Get_Amount(), 30.0);
        EXPECT_DOUBLE_EQ(category->Get_thisYearsBalance(), c.thisYear);
        EXPECT_DOUBLE_EQ(category->Get_lastYearsBalance(), c.lastYear);
        EXPECT_DOUBLE_EQ(category->Get_lastYearsBalanceYTD(), c.lastYearToDate);
        EXPECT_DOUBLE_EQ(group->Get_thisYearsBalance(), c.thisYear);
        EXPECT_DOUBLE_EQ(group->Get_lastYearsBalance(), c.lastYear);
        EXPECT_DOUBLE_EQ(group->Get_lastYearsBalanceYTD(), c.lastYearToDate);
    }
}

// Reading the books adds the lines up in another order than they were
// booked: the totals, and what is derived from them, must not depend on it.
// Binary sums of cents do (0.1 + 0.2 + 0.3 is not 0.3 + 0.2 + 0.1), which
// made a last-year average of exactly half a cent show 3.29 before saving and
// 3.28 after, and a category whose lines make nothing fall on either side of
// zero, filed as income one way and as expense the other.
TEST(CategoryTotals, TotalsAreTheSameWhateverTheOrderTheLinesAreAddedIn)
{
    const std::vector<std::vector<double>> orders[] = {
        {{0.1, 0.2, 0.3}, {0.3, 0.2, 0.1}},
        {{0.1, 0.2, -0.3, 0.7, -0.7}, {0.1, 0.2, 0.7, -0.7, -0.3}, {0.2, 0.7, 0.1, -0.7, -0.3}},
        {{3.79, 3.69, 4.01, 1.31, 0.65, 6.28, 5.55, 8.20}, {8.20, 4.01, 1.31, 3.69, 6.28, 0.65, 3.79, 5.55}},
    };
    for (const auto& sameLines : orders) {
        std::vector<std::vector<double>> figures;
        for (const std::vector<double>& order : sameLines) {
            ChartBooks books;
            books.PredefinedGroups();
            CExpenseType* category = books.Category("Fees", group_kind::kExpense);
            auto* group = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kExpense));
            for (double amount : order) category->AddTo(amount, 0.0, 20230601);
            figures.push_back({category->Get_Amount(), category->Get_lastYearsBalance(),
                               category->Get_PreviousYearsAverageMonth(), group->Get_mBalance(),
                               group->Get_lastYearsBalance(), double(category->IsExpense(false))});
        }
        for (const auto& other : figures) EXPECT_EQ(other, figures.front()) << ::testing::PrintToString(sameLines);
    }
}

TEST(CategoryTotals, BalanceInPeriodCountsALineInEveryRangeThatHoldsIt)
{
    ChartBooks books;
    books.PredefinedGroups();
    CExpenseType* category = books.Category("Rent", group_kind::kExpense);
    Booking booking(books, category, 25.0, 20240110);
    (void)booking;
    // Lines without a transaction carry date 0: ranges that hold 0 count them.
    double t1 = -1, t2 = -1, t3 = -1, t4 = -1;
    category->Get_BalanceInPeriod(t1, t2, t3, t4, 0, 0, -5, 5, 1, 99999999, 0, 20241231);
    EXPECT_DOUBLE_EQ(t1, 25.0);
    EXPECT_DOUBLE_EQ(t2, 25.0);
    EXPECT_DOUBLE_EQ(t3, 0.0);
    EXPECT_DOUBLE_EQ(t4, 25.0);
    EXPECT_TRUE(category->Repair());
}

TEST(CategoryGroupTree, MovingASubGroupMovesItsTotals)
{
    ChartBooks books;
    books.PredefinedGroups();
    CMasterExpenseType* first = books.Group(-1, "First");
    CMasterExpenseType* second = books.Group(-1, "Second");
    CMasterExpenseType* moving = books.Group(-1, "Moving", first);
    books.Category("Books", moving->Get_Id())->AddTo(50.0, 0.0, 20240201);
    ASSERT_DOUBLE_EQ(first->Get_mBalance(), 50.0);

    MessageLog firstLog, secondLog;
    first->AddListener(&firstLog);
    second->AddListener(&secondLog);
    ASSERT_TRUE(moving->Put_mParentId(second->Get_Id()));
    EXPECT_DOUBLE_EQ(first->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(first->Get_thisYearsBalance(), 0.0);
    EXPECT_DOUBLE_EQ(second->Get_mBalance(), 50.0);
    EXPECT_DOUBLE_EQ(second->Get_thisYearsBalance(), 50.0);
    EXPECT_EQ(Count(firstLog, msg::kChildTypesChanged), 1);
    EXPECT_EQ(Count(secondLog, msg::kChildTypesChanged), 1);

    // Its own id takes it to the top level, out of the branch.
    ASSERT_TRUE(moving->Put_mParentId(moving->Get_Id()));
    EXPECT_TRUE(moving->IsRootItem());
    EXPECT_DOUBLE_EQ(second->Get_mBalance(), 0.0);
    EXPECT_FALSE(Holds(second->Get_DetailFolders(), moving));
}

TEST(CategoryGroupTree, ARefusedMoveLeavesTheGroupWhereItWas)
{
    ChartBooks books;
    books.PredefinedGroups();
    CMasterExpenseType* parent = books.Group(-1, "Parent");
    CMasterExpenseType* group = books.Group(-1, "Group", parent);
    CMasterExpenseType* child = books.Group(-1, "Child", group);
    books.Category("Books", group->Get_Id())->AddTo(20.0, 0.0, 0);
    CNonVisual* income = books.groups().GetValueForId(group_kind::kIncome);

    const struct {
        const char* what;
        ObjectIdT target;
    } refusals[] = {{"a group of another kind", income->Get_Id()},
                    {"its own sub-group", child->Get_Id()},
                    {"its current parent", parent->Get_Id()},
                    {"a group that does not exist", 999999}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        EXPECT_FALSE(group->Put_mParentId(refusal.target));
        EXPECT_EQ(group->Get_mParentId(), parent->Get_Id());
        EXPECT_FALSE(group->IsRootItem());
        EXPECT_TRUE(Holds(parent->Get_DetailFolders(), group));
        EXPECT_DOUBLE_EQ(parent->Get_mBalance(), 20.0);
        EXPECT_DOUBLE_EQ(income->Get_Amount(), 0.0);
    }
}

TEST(CategoryGroups, KindColourAndDeletionRules)
{
    ChartBooks books;
    books.PredefinedGroups();
    CMasterExpenseType* top = books.Group(-1, "Top");
    CMasterExpenseType* sub = books.Group(-1, "Sub", top);
    CMasterExpenseType* empty = books.Group(-1, "Empty");
    books.Category("Books", top->Get_Id());
    auto* income = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kIncome));
    books.TakeAlerts();

    EXPECT_FALSE(sub->Put_mMasterExpenseType(group_kind::kTransfer));
    EXPECT_FALSE(top->Put_mMasterExpenseType(group_kind::kTransfer));
    EXPECT_FALSE(empty->Put_mMasterExpenseType(group_kind::kExpense));   // no change, no alert
    EXPECT_TRUE(empty->Put_mMasterExpenseType(group_kind::kTransfer));
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{164, 145}));

    EXPECT_FALSE(top->BeforeDelete());
    EXPECT_FALSE(income->BeforeDelete());
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{177, 187}));
    EXPECT_TRUE(sub->BeforeDelete());
    EXPECT_FALSE(Holds(top->Get_DetailFolders(), sub));

    // White means the parent's colour; a white top-level group stays white.
    RGBColor red{65535, 0, 0};
    CMasterExpenseType* child = books.Group(-1, "Child", empty);
    EXPECT_TRUE(child->Get_Color().IsWhite());
    empty->Put_Color(red);
    EXPECT_EQ(child->Get_Color(), red);
    CExpenseType* category = books.Category("Gifts", child->Get_Id());
    EXPECT_EQ(category->Get_Color(), red);
}

TEST(CategoryMoves, MovesBetweenGroupsFollowTheirRules)
{
    ChartBooks books;
    books.PredefinedGroups();
    CMasterExpenseType* otherExpense = books.Group(-1, "Other expenses");
    auto* expense = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kExpense));
    auto* income = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kIncome));
    CExpenseType* food = books.Category("Food", group_kind::kExpense);
    Booking booking(books, food, 40.0, 20240105);
    books.TakeAlerts();

    // Refused moves change nothing.
    EXPECT_FALSE(food->Put_mMasterType(group_kind::kIncome));    // booked: another standing
    EXPECT_FALSE(food->Put_mMasterType(999));                    // no such group
    EXPECT_FALSE(food->Put_mMasterType(300));                    // can't be named in one byte
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{147, CMasterExpenseType::kErrorGroupIdTooLarge, CMasterExpenseType::kErrorGroupIdTooLarge}));
    EXPECT_EQ(food->Get_mMasterType(), group_kind::kExpense);
    EXPECT_TRUE(Holds(expense->Get_Details(), food));
    EXPECT_DOUBLE_EQ(expense->Get_mBalance(), 40.0);
    EXPECT_DOUBLE_EQ(income->Get_mBalance(), 0.0);

    // A group that is missing (186).
    CExpenseType* spare = books.Category("Spare", group_kind::kExpense);
    books.TakeAlerts();
    EXPECT_FALSE(spare->Put_mMasterType(200));
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{186}));
    EXPECT_TRUE(Holds(expense->Get_Details(), spare));

    // Another expense group takes it with its totals.
    EXPECT_TRUE(food->Put_mMasterType(otherExpense->Get_Id()));
    EXPECT_DOUBLE_EQ(expense->Get_mBalance(), 0.0);
    EXPECT_DOUBLE_EQ(otherExpense->Get_mBalance(), 40.0);
    EXPECT_DOUBLE_EQ(otherExpense->Get_thisYearsBalance(), 40.0);
    EXPECT_FALSE(Holds(expense->Get_Details(), food));

    // Group 5 stands for the expense group.
    EXPECT_TRUE(spare->Put_mMasterType(5));
    EXPECT_EQ(spare->Get_mMasterType(), group_kind::kExpense);
}

TEST(CategoryDeletion, RefusalsComeInTheirOrder)
{
    ChartBooks books;
    books.PredefinedGroups();
    CExpenseType* booked = books.Category("Booked", group_kind::kExpense);
    Booking booking(books, booked, 5.0);
    CExpenseType* standard = books.Category("Standard", group_kind::kExpense);
    books.doc.mPreference->Put_mDefExpTUnspecifiedExpense(standard->Get_Id());
    CExpenseType* free = books.Category("Free", group_kind::kExpense);
    auto* expense = books.groups().GetValueForId(group_kind::kExpense);
    books.TakeAlerts();

    EXPECT_FALSE(booked->BeforeDelete());
    EXPECT_FALSE(standard->BeforeDelete());
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{168, 234}));
    EXPECT_TRUE(free->BeforeDelete());
    EXPECT_FALSE(Holds(expense->Get_Details(), free));
}

// --- standing and the category list

std::string Membership(const CSubListArray& list, const CNonVisual* object)
{
    std::string flags;
    for (std::size_t i = 0; i < list.SubListCount(); ++i) flags += Holds(list.SubList(i), object) ? '1' : '.';
    return flags;
}

TEST(CategoryList, CategoriesAreFiledByStandingAndSign)
{
    // Sub-lists: income, expense, income never negative, expense never
    // negative, income or expense, transfers.
    const struct {
        MasterExpenseTypeT kind;
        double balance;
        const char* lists;
    } cases[] = {{group_kind::kIncome, 0, "1.1.1."},          {group_kind::kIncome, -1, ".1.11."},
                 {group_kind::kExpense, 0, ".1.11."},         {group_kind::kExpense, -1, "1.1.1."},
                 {group_kind::kOpeningBalance, 0, "1...1."},  {group_kind::kOpeningBalance, -1, ".1..1."},
                 {group_kind::kCorrection, 5, "1...1."},      {group_kind::kTransfer, 0, ".....1"},
                 {group_kind::kTransfer, -1, ".....1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.balance));
        ChartBooks books;
        books.PredefinedGroups();
        auto* category = new CExpenseType(&books.doc);
        category->Put_mMasterType(c.kind);
        category->AddTo(c.balance, 0.0, 0);
        books.categories().AppendObject(category);
        EXPECT_EQ(Membership(books.categories(), category), c.lists);
    }
}

TEST(CategoryList, AChangeOfSignMovesTheCategoryButKeepsItStrictly)
{
    ChartBooks books;
    books.PredefinedGroups();
    CExpenseType* food = books.Category("Food", group_kind::kExpense);
    CExpenseType* salary = books.Category("Salary", group_kind::kIncome);
    ASSERT_EQ(Membership(books.categories(), food), ".1.11.");

    food->AddTo(-20.0, 0.0, 0);   // refunds
    EXPECT_TRUE(food->IsIncome(false));
    EXPECT_EQ(food->IsExpense(true), 1);
    EXPECT_FALSE(food->IsIncome(true));
    EXPECT_EQ(Membership(books.categories(), food), "1.1.1.");
    EXPECT_EQ(test::NamesOf(books.categories().Get_SubList(CExpenseTypeArray::kIncome)),
              (std::vector<std::string>{"Food", "Salary"}));
    (void)salary;

    food->AddTo(20.0, 0.0, 0);
    EXPECT_EQ(Membership(books.categories(), food), ".1.11.");

    books.categories().RemoveObject(food);
    EXPECT_EQ(Membership(books.categories(), food), "......");
    books.groups().GetValueForId(group_kind::kExpense)->Get_Details()->RemoveObject(food);
    delete food;
}

TEST(CategoryList, AMoveToAGroupOfAnotherKindFilesTheCategoryAnew)
{
    ChartBooks books;
    books.PredefinedGroups();
    CExpenseType* category = books.Category("Savings", group_kind::kExpense);
    ASSERT_TRUE(category->Put_mMasterType(group_kind::kTransfer));
    EXPECT_EQ(Membership(books.categories(), category), ".....1");
    ASSERT_TRUE(category->Put_mMasterType(group_kind::kOpeningBalance));
    EXPECT_EQ(Membership(books.categories(), category), "1...1.");
    EXPECT_TRUE(category->CanBeNegative());
}

TEST(CategoryGroupList, OnlyTopLevelGroupsAreFiledByKind)
{
    ChartBooks books;
    books.PredefinedGroups();
    auto* expense = static_cast<CMasterExpenseType*>(books.groups().GetValueForId(group_kind::kExpense));
    CMasterExpenseType* sub = books.Group(-1, "Sub", expense);
    CMasterExpenseType* transfers = books.Group(-1, "Transfers 2");
    transfers->Put_mMasterExpenseType(group_kind::kTransfer);
    books.groups().SwitchList(transfers, group_kind::kTransfer, group_kind::kExpense);

    // Sub-lists: income/opening/correction, expense, transfer.
    const struct {
        ObjectIdT id;
        const char* lists;
    } cases[] = {{group_kind::kIncome, "1.."}, {group_kind::kExpense, ".1."}, {group_kind::kTransfer, "..1"},
                 {group_kind::kOpeningBalance, "1.."}, {group_kind::kCorrection, "1.."}};
    for (const auto& c : cases)
        EXPECT_EQ(Membership(books.groups(), books.groups().GetValueForId(c.id)), c.lists) << c.id;
    EXPECT_EQ(Membership(books.groups(), sub), "...");
    EXPECT_EQ(Membership(books.groups(), transfers), "..1");
    books.groups().RemoveFromSubList(transfers, 0, group_kind::kTransfer);
    EXPECT_EQ(Membership(books.groups(), transfers), "...");
}

// --- ids and records

TEST(CategoryIds, NewGroupsAndCategoriesNumberFromSevenUp)
{
    ChartBooks books;
    IdCounters& ids = books.doc.Ids();
    ObjectIdT savedObjects = ids.mi_MaxId;
    ids.mi_MxptNr = 0;
    ids.mi_ExptNr = 2;

    books.PredefinedGroups();
    EXPECT_EQ(books.Group(-1, "New")->Get_Id(), 7);
    EXPECT_EQ(books.Group(40, "Given")->Get_Id(), 40);
    EXPECT_EQ(books.Group(-1, "Next")->Get_Id(), 41);
    EXPECT_EQ(books.Category("New", group_kind::kExpense)->Get_Id(), 7);
    EXPECT_EQ(ids.mi_MaxId, savedObjects);   // no general ids used
}

std::vector<std::uint8_t> RecordOf(CNonVisual& object)
{
    StreamWriter writer;
    object.PutStream(writer.stream());
    return writer.bytes();
}

TEST(CategoryRecords, GroupsAndCategoriesReadBackToTheSameBytes)
{
    ChartBooks books;
    books.PredefinedGroups();
    CMasterExpenseType* top = books.Group(-1, "Hobbies");
    top->Put_Color({100, 200, 300});
    top->Put_mb_IsOpen(true);
    CMasterExpenseType* sub = books.Group(-1, "Music", top);
    books.Group(-1, "Sports", top);
    books.Group(-1, "Guitar", sub);
    CExpenseType* category = books.Category("Strings", sub->Get_Id());
    category->Put_mDescription("Guitar strings");
    category->Put_mTaxDeductiblePct(40.0);
    category->Put_Color({1, 2, 65535});
    const auto groupBytes = RecordOf(*top);
    const auto categoryBytes = RecordOf(*category);

    ChartBooks copy;
    copy.PredefinedGroups();
    StreamReader groupReader(groupBytes);
    for (int i = 0; i < 4; ++i)
        copy.groups().AppendObject(new CMasterExpenseType(groupReader.stream(), version::kCurrent, &copy.doc));
    StreamReader categoryReader(categoryBytes);
    auto* readCategory = new CExpenseType(categoryReader.stream(), version::kCurrent, &copy.doc);
    copy.categories().AppendObject(readCategory);

    auto* readTop = static_cast<CMasterExpenseType*>(copy.groups().GetValueForId(top->Get_Id()));
    ASSERT_NE(readTop, nullptr);
    auto* readSub = static_cast<CMasterExpenseType*>(copy.groups().GetValueForId(sub->Get_Id()));
    EXPECT_TRUE(readTop->IsRootItem());
    EXPECT_EQ(readSub->Get_mParentTypePtr(), readTop);
    EXPECT_EQ(readCategory->Get_mMasterExpensetypePtr(), readSub);
    EXPECT_TRUE(Holds(readSub->Get_Details(), readCategory));
    EXPECT_EQ(readCategory->Get_StringrefDesc(), "Guitar strings");
    EXPECT_EQ(RecordOf(*readTop), groupBytes);
    EXPECT_EQ(RecordOf(*readCategory), categoryBytes);
}

TEST(CategoryRecords, OlderRecordsReadWithTheirDefaults)
{
    ChartBooks books;
    books.PredefinedGroups();
    {
        // Before '0.90' the kind is the low byte of the id; before '1.04' the colour is white.
        StreamWriter writer;
        writer->WriteBigOsType(type::kMasterExpenseType);
        writer->WriteObjectIdT(258);   // low byte 2: transfer
        writer->WriteCString("Old transfers");
        writer->WriteEnumT(0);
        writer->WriteEnumT(0);          // open flag ('0.80' < '1.01': not read)
        StreamWriter body;
        body->WriteAmountTT(99.0);
        body->WriteObjectIdT(258);
        std::vector<std::uint8_t> bytes = writer.bytes();
        bytes.pop_back();
        bytes.insert(bytes.end(), body.bytes().begin(), body.bytes().end());
        StreamReader reader(bytes);
        CMasterExpenseType group(reader.stream(), fourCC("0.80"), &books.doc);
        EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(bytes.size()));
        EXPECT_EQ(group.Get_mMasterExpenseType(), group_kind::kTransfer);
        EXPECT_TRUE(group.Get_Color().IsWhite());
        EXPECT_DOUBLE_EQ(group.Get_mBalance(), 0.0);
        EXPECT_TRUE(group.IsRootItem());
    }
    {
        // Before '1.03' no colour; before '1.10' the description comes from the 8-bit text.
        StreamWriter writer;
        writer->WriteBigOsType(type::kExpenseType);
        writer->WriteObjectIdT(77);
        writer->WriteCString("Old category");
        writer->WriteEnumT(0);
        writer->WriteEnumT(1);          // open flag ('1.01')
        writer->WriteEnumT(5);          // group 5 stands for 1
        writer->WriteCString("Caf\x8E");   // Mac Roman e-acute
        writer->WriteAmountTT(80.0);
        writer->WriteAmountTT(123.0);
        StreamReader reader(writer.bytes());
        CExpenseType category(reader.stream(), fourCC("1.01"), &books.doc);
        EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(writer.bytes().size()));
        EXPECT_EQ(category.Get_mMasterType(), group_kind::kExpense);
        EXPECT_EQ(category.Get_StringrefDesc(), "Caf\xC3\xA9");
        EXPECT_DOUBLE_EQ(category.Get_mTaxDeductiblePct(), 80.0);
        EXPECT_DOUBLE_EQ(category.Get_Amount(), 0.0);
        EXPECT_TRUE(category.Get_Color().IsWhite());
        books.groups().GetValueForId(group_kind::kExpense)->Get_Details()->RemoveObject(&category);
    }
}

TEST(CategoryRecords, AnOldIncomeGroupBecomesGroupZeroOnlyWhenThereIsNone)
{
    for (bool hasGroupZero : {false, true}) {
        SCOPED_TRACE(hasGroupZero);
        ChartBooks books;
        if (hasGroupZero) books.Group(0, "Earnings");
        StreamWriter writer;
        writer->WriteBigOsType(type::kMasterExpenseType);
        writer->WriteObjectIdT(7);
        writer->WriteCString("INCOME");
        writer->WriteEnumT(0);
        writer->WriteEnumT(0);
        writer->WriteCFString("INCOME");
        writer->WriteCFString("");
        writer->WriteAmountTT(0.0);
        writer->WriteObjectIdT(7);
        writer->WriteEnumT(group_kind::kIncome);
        for (int i = 0; i < 3; ++i) writer->WriteShort(-1);
        StreamReader reader(writer.bytes());
        CMasterExpenseType group(reader.stream(), version::kCurrent, &books.doc);
        EXPECT_EQ(group.Get_Id(), hasGroupZero ? 7 : 0);
        EXPECT_TRUE(group.IsRootItem());
    }
}

} // namespace
} // namespace ch
