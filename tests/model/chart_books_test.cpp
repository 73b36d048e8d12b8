// The chart of accounts in the model root: its look-ups and insertions, and
// account types, category groups, categories, currencies and rates through
// the document's model stream.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "../fuzz/model_stream_check.h"
#include "chart_test_support.h"

namespace ch {
namespace {

using test::ChartBooks;
using test::Holds;

// Books with a little of everything the chart of accounts holds.
void FillChart(ChartBooks& books)
{
    CDocAccounting& doc = books.doc;
    doc.InsertCurrency(1, "EUR", std::nullopt, "Euro", std::nullopt, 1, currency_type::kCurrency, 1, 1.0, 0,
                       0, -1, -1);
    CCurrency* usd = doc.InsertCurrency(-1, "USD", std::nullopt, "US Dollar", std::nullopt, 1,
                                        currency_type::kCurrency, 1, 1.1, 20240101, 0, -1, -1);
    usd->Put_mConversionFactorAndAmount(1, 1.05, 20230101);
    CCurrency* share = doc.InsertCurrency(-1, "ACME", std::nullopt, "Acme Inc.", std::nullopt, 0,
                                          currency_type::kShare, 1, 12.0, 0, usd->Get_Id(), -1, -1);
    share->Put_mCurrencySymbol("AC");

    CAccType* own = doc.InsertAccountType(-1, "Own property", std::nullopt, "What we own", std::nullopt, 1, 0);
    own->Put_mAccountNumber("1000");
    CAccType* banks = doc.InsertAccountType(-1, "Banks", std::nullopt, nullptr, std::nullopt, 1, own->Get_Id());
    doc.InsertAccountType(-1, "Savings", std::nullopt, nullptr, std::nullopt, 1, banks->Get_Id());
    doc.InsertAccountType(-1, "Loans", std::nullopt, nullptr, std::nullopt, 2, 0);

    for (ObjectIdT id = 0; id <= 4; ++id)
        doc.InsertMasterExpenseType(id, "Group", std::nullopt, nullptr, std::nullopt,
                                    static_cast<MasterExpenseTypeT>(id), -1);
    CMasterExpenseType* house = doc.InsertMasterExpenseType(-1, "House", std::nullopt, nullptr, std::nullopt,
                                                            group_kind::kExpense, group_kind::kExpense);
    house->Put_Color({10, 20, 30});
    doc.InsertExpenseType(-1, "Rent", std::nullopt, "Monthly rent", std::nullopt, 0, std::nullopt, house, 0.0);
    doc.InsertExpenseType(-1, "Salary", std::nullopt, nullptr, std::nullopt, group_kind::kIncome,
                          std::nullopt, nullptr, 100.0);
}

TEST(ChartBooks, EverythingReadsBackToTheSameObjectsAndBytes)
{
    ChartBooks books;
    FillChart(books);
    books.doc.mRootList->Sort();   // as reading leaves them
    books.currencies().Sort();
    const auto saved = test::Save(books.doc);

    ChartBooks copy(false);
    ASSERT_TRUE(test::Load(copy.doc, saved));
    const auto again = test::Save(copy.doc);
    EXPECT_EQ(test::FirstDifference(again, saved), saved.size());
    EXPECT_EQ(again.size(), saved.size());

    EXPECT_EQ(copy.types().GetCount(), 4u);
    CAccType* own = copy.doc.GetAccountTypeForName(std::string_view("1000 : Own property"));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(test::NamesOf(own->Get_DetailFolders()), (std::vector<std::string>{"Banks"}));
    EXPECT_EQ(copy.doc.getNumberOfRoots(type::kAccountType, 1), 1);
    EXPECT_TRUE(Holds(copy.types().Get_SubList(CAccountTypeArray::kTopLevelOwnProperty), own));

    CMasterExpenseType* house = copy.doc.GetMasterExpenseTypeForName(std::string_view("house"));
    ASSERT_NE(house, nullptr);
    EXPECT_EQ(house->Get_mParentTypePtr(), copy.doc.GetMasterExpenseTypeForId(group_kind::kExpense));
    CExpenseType* rent = copy.doc.SearchExpenseType(std::string_view("Rent"));
    ASSERT_NE(rent, nullptr);
    EXPECT_EQ(rent->Get_mMasterExpensetypePtr(), house);
    EXPECT_TRUE(Holds(copy.categories().Get_SubList(CExpenseTypeArray::kExpense), rent));

    CCurrency* share = copy.doc.GetCurrencyForSymbol(std::string_view("acme"));
    ASSERT_NE(share, nullptr);
    EXPECT_TRUE(Holds(copy.currencies().Get_SubList(CCurrencyArray::kShares), share));
    EXPECT_DOUBLE_EQ(share->ConvertToLocal(2.0, 0, true), 26.4);   // 2 x 12 USD at 1.10
    CCurrency* usd = copy.doc.SearchCurrency(std::string_view("us dollar"));
    ASSERT_NE(usd, nullptr);
    EXPECT_DOUBLE_EQ(usd->ConvertToLocal(100.0, 20230601, true), 105.0);
    EXPECT_EQ(copy.doc.Get_HomeCurrencySymbol(), TextRef("EUR"));
}

TEST(ChartBooks, DamagedChartRecordsAreReadOrRefusedSafely)
{
    ChartBooks books;
    FillChart(books);
    const auto saved = test::Save(books.doc);
    std::mt19937 random(20240315);
    for (int round = 0; round < 300; ++round) {
        auto damaged = saved;
        const int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        if (round % 3 == 0) damaged.resize(random() % damaged.size());
        // Refused with a numbered error, or read into books that write and
        // read back to the same bytes.
        const std::string problem = fuzz::checkModelStream(std::string(damaged.begin(), damaged.end()));
        ASSERT_EQ(problem, "") << "round " << round;
    }
}

TEST(ChartBooks, AFileBefore061GainsTheFiveGroups)
{
    ChartBooks books(false);
    test::StreamWriter writer;
    test::WriteSettingsRecord(writer.stream(), version::k0_60);
    writer->WriteBigOsType(type::kEndOfModel);
    ASSERT_TRUE(test::Load(books.doc, writer.bytes()));
    EXPECT_EQ(books.groups().GetCount(), 5u);
    for (ObjectIdT id = 0; id <= 4; ++id) {
        CMasterExpenseType* group = books.doc.GetMasterExpenseTypeForId(id);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->Get_mMasterExpenseType(), id);
        EXPECT_TRUE(group->IsRootItem());
    }
    EXPECT_EQ(books.doc.GetMasterExpenseTypeForName(std::string_view("Corrections"))->Get_Id(), 4);
}

TEST(ChartBooks, ARateBeforeAnyCurrencyIsOutOfPlace)
{
    ChartBooks books;
    test::StreamWriter writer;
    test::WriteSettingsRecord(writer.stream(), version::kCurrent);
    CCurrencyRate rate(-1, &books.doc);
    rate.PutStream(writer.stream());
    writer->WriteBigOsType(type::kEndOfModel);
    ChartBooks copy(false);
    EXPECT_FALSE(test::Load(copy.doc, writer.bytes()));
}

TEST(ChartInsertion, TakenIdsGiveNewObjectsAndDefaultsAreReused)
{
    ChartBooks books;
    CDocAccounting& doc = books.doc;
    CAccType* first = doc.InsertAccountType(20, "First", std::nullopt, nullptr, std::nullopt, 1, 0);
    CAccType* second = doc.InsertAccountType(20, "Second", std::nullopt, nullptr, std::nullopt, 1, 0);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_NE(second->Get_Id(), 20);
    EXPECT_TRUE(Holds(&books.types(), second));
    CAccType* byName = doc.InsertAccountType(20, "Other", std::string_view("first"), nullptr, std::nullopt, 1, 0);
    EXPECT_EQ(byName, first);

    CMasterExpenseType* group = doc.InsertMasterExpenseType(30, "Thirty", std::nullopt, nullptr, std::nullopt,
                                                            group_kind::kIncome, -1);
    CMasterExpenseType* twin = doc.InsertMasterExpenseType(30, "Again", std::nullopt, nullptr, std::nullopt,
                                                           group_kind::kIncome, -1);
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(twin, group);
    EXPECT_TRUE(Holds(&books.groups(), twin));
    EXPECT_TRUE(Holds(books.groups().Get_SubList(CMasterExpenseTypeArray::kIncomeLike), twin));

    // Ids up to 6 reuse the default objects.
    CMasterExpenseType* expense = doc.InsertMasterExpenseType(1, nullptr, std::nullopt, nullptr, std::nullopt,
                                                              group_kind::kExpense, -1);
    EXPECT_EQ(doc.InsertMasterExpenseType(1, nullptr, std::nullopt, nullptr, std::nullopt,
                                          group_kind::kExpense, -1),
              expense);
}

// An empty name is no name: an insertion given one finds the default object
// and leaves its names, description, group and percentage as they were.
TEST(ChartInsertion, AnEmptyNameFindsTheDefaultObjectAndChangesNothing)
{
    test::ModelEnvironment env;
    CDocAccounting doc;
    doc.SetDefaults("EUR");
    const std::string_view empty;
    CAccType* type = doc.GetAccountTypeForId(1);
    type->Put_StringrefDesc(std::string_view("What we own"));
    CMasterExpenseType* group = doc.GetMasterExpenseTypeForId(1);
    CExpenseType* category = doc.GetExpenseTypeForID(1);
    category->Put_mTaxDeductiblePct(50.0);
    ASSERT_TRUE(type && group && category);

    const struct {
        const char* insertion;
        CNonVisual* expected;
        std::function<CNonVisual*()> insert;
    } cases[] = {
        {"account type", type,
         [&] { return doc.InsertAccountType(1, "", empty, nullptr, std::nullopt, 2, 0); }},
        {"category group", group,
         [&] { return doc.InsertMasterExpenseType(1, "", empty, nullptr, std::nullopt, group_kind::kIncome, -1); }},
        {"category", category,
         [&] { return doc.InsertExpenseType(1, "", empty, nullptr, std::nullopt, 2, std::nullopt, nullptr, 0.0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.insertion);
        char cName[kNameSize];
        c.expected->Get_NameOnly(cName);
        const std::string name = c.expected->Get_StringrefName();
        const std::string description = c.expected->Get_StringrefDesc();
        const auto categoryGroup = category->Get_mMasterType();
        ASSERT_FALSE(name.empty());

        EXPECT_EQ(c.insert(), c.expected);
        char after[kNameSize];
        c.expected->Get_NameOnly(after);
        EXPECT_STREQ(after, cName);
        EXPECT_EQ(c.expected->Get_StringrefName(), name);
        EXPECT_EQ(c.expected->Get_StringrefDesc(), description);
        EXPECT_EQ(category->Get_mMasterType(), categoryGroup);
        EXPECT_DOUBLE_EQ(category->Get_mTaxDeductiblePct(), 50.0);
    }
}

TEST(ChartInsertion, CategoriesFindTheirGroupAtFullWidth)
{
    ChartBooks books;
    CDocAccounting& doc = books.doc;
    books.PredefinedGroups();
    CMasterExpenseType* group = books.Group(207, "Two hundred seven");
    ASSERT_EQ(group->Get_Id(), 207);
    CExpenseType* byId = doc.InsertExpenseType(-1, "By id", std::nullopt, nullptr, std::nullopt, 207,
                                               std::nullopt, nullptr, 50.0);
    EXPECT_EQ(byId->Get_mMasterExpensetypePtr(), group);
    EXPECT_DOUBLE_EQ(byId->Get_mTaxDeductiblePct(), 50.0);
    CExpenseType* byName = doc.InsertExpenseType(-1, "By name", std::nullopt, nullptr, std::nullopt,
                                                 group_kind::kIncome, std::string_view("two hundred seven"),
                                                 nullptr, 100.0);
    EXPECT_EQ(byName->Get_mMasterExpensetypePtr(), group);

    // 263 would be 7 in one byte: it is refused, never taken for group 7.
    books.Group(7, "Seven");
    books.TakeAlerts();
    CExpenseType* tooWide = doc.InsertExpenseType(-1, "Too wide", std::nullopt, nullptr, std::nullopt, 263,
                                                  std::nullopt, nullptr, 100.0);
    EXPECT_EQ(tooWide->Get_mMasterType(), group_kind::kExpense);
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{CMasterExpenseType::kErrorGroupIdTooLarge}));
}

TEST(ChartInsertion, GroupIdsStayWithinWhatACategoryCanName)
{
    ChartBooks books;
    books.doc.Ids().mi_MxptNr = CMasterExpenseType::kMaxCategoryGroupId;
    books.Group(7, "Seven");
    CMasterExpenseType* reused = books.doc.InsertMasterExpenseType(-1, "Free id", std::nullopt, nullptr,
                                                                   std::nullopt, group_kind::kExpense, -1);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(reused->Get_Id(), 8);
    for (ObjectIdT id = 9; id <= CMasterExpenseType::kMaxCategoryGroupId; ++id) books.Group(id, "Filler");
    books.TakeAlerts();

    const std::size_t groups = books.groups().GetCount();
    EXPECT_EQ(books.doc.InsertMasterExpenseType(-1, "One too many", std::nullopt, nullptr, std::nullopt,
                                                group_kind::kExpense, -1),
              nullptr);
    EXPECT_EQ(books.doc.InsertMasterExpenseType(300, "Given too large", std::nullopt, nullptr, std::nullopt,
                                                group_kind::kExpense, -1),
              nullptr);
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{CMasterExpenseType::kErrorGroupIdTooLarge,
                                                     CMasterExpenseType::kErrorGroupIdTooLarge}));
    EXPECT_EQ(books.groups().GetCount(), groups);
}

TEST(ChartInsertion, CurrenciesAreFoundBySymbolBeforeMakingOne)
{
    ChartBooks books;
    CDocAccounting& doc = books.doc;
    CCurrency* home = doc.InsertCurrency(1, "EUR", std::nullopt, "Euro", std::nullopt, 1, 0, 1, 1.0, 0, 0, -1, -1);
    EXPECT_EQ(home->Get_ObjectStatus(), status::kNormal);
    CCurrency* usd = doc.InsertCurrency(-1, "USD", std::nullopt, nullptr, std::nullopt, 1, 0, 1, 1.0, 0, 0, -1, -1);
    EXPECT_EQ(usd->Get_StringrefDesc(), "USD");   // without a description the name serves
    EXPECT_EQ(doc.InsertCurrency(-1, "XXX", std::string_view("usd"), nullptr, std::nullopt, 1, 0, 1, 1.0, 0, 0,
                                 -1, -1),
              usd);
    EXPECT_EQ(books.currencies().GetCount(), 2u);
    EXPECT_EQ(doc.SearchCurrency(std::string_view(std::to_string(usd->Get_Id()))), usd);
    EXPECT_EQ(doc.SearchCurrency(std::string_view("abc")), nullptr);
}

} // namespace
} // namespace ch
