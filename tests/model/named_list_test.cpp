// Named object lists: the unique-id rule, the broadcasts, the look-ups, the id
// index under changes, and the model comparators.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "model/CNamedListArray.h"
#include "model/ModelComparators.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::MessageLog;
using test::ModelEnvironment;
using test::TestObject;

// A list with the objects it holds (the test owns them).
struct Fixture {
    explicit Fixture(LComparator* comparator = nullptr)
        : list(comparator ? std::make_unique<CNamedListArray>(comparator)
                          : std::make_unique<CNamedListArray>())
    {
    }
    TestObject* Add(FourCharCode typeCode, ObjectIdT id, const char* name)
    {
        objects.push_back(std::make_unique<TestObject>(typeCode, id, name));
        list->AppendObject(objects.back().get());
        return objects.back().get();
    }
    std::vector<std::unique_ptr<TestObject>> objects;
    std::unique_ptr<CNamedListArray> list;
};

TEST(NamedList, TypedKindsAreUniqueById)
{
    const struct {
        FourCharCode type;
        bool unique;
    } cases[] = {{type::kAccount, true},        {type::kAccountType, true},
                 {type::kExpenseType, true},    {type::kMasterExpenseType, true},
                 {type::kTransaction, false},   {type::kAccountOwner, false},
                 {type::kCurrency, false},      {type::kBank, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(fourCCToString(c.type));
        Fixture f;
        f.Add(c.type, 70001, "First");
        MessageLog log;
        f.list->AddListener(&log);
        TestObject twin(c.type, 70001, "Twin");
        ArrayIndexT result = f.list->InsertObjectAt(&twin, 1);
        if (c.unique) {
            EXPECT_EQ(result, CNamedListArray::kRefused);
            EXPECT_EQ(f.list->GetCount(), 1u);
            EXPECT_TRUE(log.entries.empty());
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(f.list->GetCount(), 2u);
            EXPECT_EQ(f.list->GetValueForId(70001), &twin);   // the first in list order
            f.list->RemoveObject(&twin);
        }
    }
}

TEST(NamedList, InsertionAndRemovalBroadcast)
{
    Fixture f;
    TestObject* a = f.Add(type::kBank, -1, "A");
    TestObject* b = f.Add(type::kBank, -1, "B");
    f.Add(type::kBank, -1, "C");
    MessageLog log;
    f.list->AddListener(&log);

    TestObject d(type::kBank, -1, "D");
    f.list->InsertObjectAt(&d, 1);
    ASSERT_EQ(log.messages(), (std::vector<MessageT>{msg::kListChanged, msg::kItemInserted}));
    EXPECT_EQ(log.entries[1].param, &d);

    log.entries.clear();
    CNonVisual* dItem = &d;
    f.list->InsertItemsAt(2, 1, &dItem);   // two at once: only the list change
    EXPECT_EQ(log.messages(), std::vector<MessageT>{msg::kListChanged});
    f.list->RemoveItemsAt(3, 1);

    log.entries.clear();
    f.list->RemoveItemsAt(1, 2);
    ASSERT_EQ(log.messages(), (std::vector<MessageT>{msg::kListChanged, msg::kItemsRemoved}));
    EXPECT_EQ(log.entries[1].param, b);
    EXPECT_EQ(f.list->ObjectAt(1), a);

    log.entries.clear();
    TestObject stranger;
    EXPECT_FALSE(f.list->RemoveObject(&stranger));
    EXPECT_TRUE(log.entries.empty());
}

TEST(NamedList, FindObjectByNameWalksPrefixMatches)
{
    Fixture f;
    f.Add(type::kBank, -1, "Other");
    TestObject* second = f.Add(type::kBank, -1, "abcde");
    TestObject* third = f.Add(type::kBank, -1, "ABx");
    f.Add(type::kBank, -1, "A");   // shorter than the text: no match

    ArrayIndexT position = 0;
    EXPECT_EQ(f.list->FindObjectByName("ab", position), second);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(f.list->FindObjectStartingWithName("ab", position), third);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(f.list->FindObjectByName("ab", position), nullptr);
    EXPECT_EQ(position, 4);

    position = 0;
    CNamedListArray empty;
    EXPECT_EQ(empty.FindObjectByName("ab", position), nullptr);
    EXPECT_EQ(position, 0);
}

TEST(NamedList, NameAndIdLookups)
{
    Fixture f(new LNamedlistArrayComparator);
    f.Add(type::kAccount, 70012, "Savings");
    TestObject* zero = f.Add(type::kAccount, 0, "Zero");
    TestObject* twelve = f.Add(type::kAccount, 70013, "12");
    TestObject* cash = f.Add(type::kAccount, 12, "cash");

    CNonVisual* found = nullptr;
    ArrayIndexT position = 0;
    EXPECT_EQ(f.list->GetIdForValue("CASH", found, position), 12);
    EXPECT_EQ(found, cash);
    EXPECT_EQ(position, 4);

    found = zero;
    EXPECT_EQ(f.list->GetIdForValue("missing", found, position), -1);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(found, zero);   // untouched

    TextRef name = f.list->GetValueForId(12, found, position);
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "cash");
    EXPECT_FALSE(f.list->GetValueForId(999, found, position));
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(position, CNamedListArray::kNoPosition);

    // Search: a name first, then the text as an id; "0" is the only text for id 0.
    EXPECT_EQ(f.list->SearchObject("12", position), twelve);
    EXPECT_EQ(f.list->SearchObject("zero", position), zero);
    EXPECT_EQ(f.list->SearchObject("0", position), zero);
    EXPECT_EQ(f.list->SearchObject("abc", position), nullptr);
    EXPECT_EQ(f.list->ObjectAt(1)->Get_StringrefName(), "12");   // the search sorted the list
    EXPECT_EQ(f.list->ObjectAt(4)->Get_StringrefName(), "Zero");
}

TEST(NamedList, TextToId)
{
    const struct {
        const char* text;
        ObjectIdT id;
    } cases[] = {{"12", 12},   {"  7x", 7},  {"-3", -3},   {"0", 0},
                 {"00", -999}, {"abc", -999}, {"", -999}, {"99999999999", 0x7FFFFFFF}};
    for (const auto& c : cases) EXPECT_EQ(CNamedListArray::TextToId(c.text), c.id) << c.text;
    EXPECT_EQ(CNamedListArray::TextToId(std::nullopt), -999);
}

TEST(NamedList, PositionsOfRepeatedObjects)
{
    Fixture f;
    TestObject* a = f.Add(type::kBank, -1, "A");
    TestObject* b = f.Add(type::kBank, -1, "B");
    f.list->AppendObject(a);
    EXPECT_EQ(f.list->FetchIndexOfObject(a), 3);   // the last position
    EXPECT_EQ(f.list->FetchIndexOfObject(b), 2);
    EXPECT_TRUE(f.list->RemoveObject(a));          // removes the first
    EXPECT_EQ(f.list->ObjectAt(1), b);
    EXPECT_EQ(f.list->ObjectAt(2), a);
    EXPECT_EQ(f.list->GetValueForId(a->Get_Id()), a);

    char name[kNameSize];
    CNonVisual* other = nullptr;
    ArrayIndexT position = 0;
    EXPECT_FALSE(f.list->CheckIdIsUnique(a, other, name, position));
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(position, CNamedListArray::kNoPosition);
    TestObject twin(type::kBank, b->Get_Id(), "Twin");
    EXPECT_TRUE(f.list->CheckIdIsUnique(&twin, other, name, position));
    EXPECT_EQ(other, b);
    EXPECT_STREQ(name, "B");
    EXPECT_EQ(position, 1);
}

// The id index must answer what a walk through the list answers, whatever
// happens to the list and to the ids of its objects.
TEST(NamedList, IdLookupFollowsEveryChange)
{
    Fixture f;
    TestObject* a = f.Add(type::kAccount, 70100, "A");
    TestObject* b = f.Add(type::kAccount, 70101, "B");
    EXPECT_EQ(f.list->GetValueForId(70100), a);

    a->Put_Id(70200);                       // an id changes while listed
    EXPECT_EQ(f.list->GetValueForId(70100), nullptr);
    EXPECT_EQ(f.list->GetValueForId(70200), a);
    TestObject newcomer(type::kAccount, 70100, "New");
    EXPECT_EQ(f.list->InsertObjectAt(&newcomer, 1), 1);   // the old id is free again
    EXPECT_EQ(f.list->InsertObjectAt(&newcomer, 1), CNamedListArray::kRefused);

    f.list->AddItem(&a);                    // a second entry through the array's own path
    f.list->RemoveObject(a);
    EXPECT_EQ(f.list->GetValueForId(70200), a);
    f.list->RemoveObject(a);
    EXPECT_EQ(f.list->GetValueForId(70200), nullptr);

    CNonVisual* bItem = b;
    CNonVisual* newcomerItem = &newcomer;
    f.list->AssignItemsAt(1, 1, &bItem);    // overwrites the newcomer with b
    EXPECT_EQ(f.list->GetValueForId(70100), nullptr);
    EXPECT_EQ(f.list->GetValueForId(70101), b);
    f.list->AssignItemsAt(1, 1, &newcomerItem);

    CNamedListArray other;                  // one object in two lists
    other.AppendObject(b);
    EXPECT_EQ(other.GetValueForId(70101), b);
    b->Put_Id(70300);
    EXPECT_EQ(other.GetValueForId(70300), b);
    EXPECT_EQ(f.list->GetValueForId(70300), b);

    CNamedListArray copy(*f.list);
    EXPECT_EQ(copy.GetCount(), f.list->GetCount());
    EXPECT_EQ(copy.GetValueForId(70100), &newcomer);
    f.list->RemoveItemsAt(f.list->GetCount(), 1);
    EXPECT_EQ(f.list->GetValueForId(70100), nullptr);
    EXPECT_EQ(copy.GetValueForId(70100), &newcomer);
}

// Small ids (as the objects of a book have) are answered from a table by
// id: it must agree with a walk through the list (the first object with the
// id) through shared ids, repeated entries, removals, id changes and an id
// too large for the table.
TEST(NamedList, SmallIdLookupsAgreeWithAWalk)
{
    Fixture f;
    auto walk = [&](ObjectIdT id) -> CNonVisual* {
        for (ArrayIndexT i = 1; i <= CountOf(f.list.get()); ++i)
            if (f.list->ObjectAt(i)->Get_Id() == id) return f.list->ObjectAt(i);
        return nullptr;
    };
    auto agree = [&](const char* step) {
        for (ObjectIdT id = -2; id <= 40; ++id)
            EXPECT_EQ(f.list->GetValueForId(id), walk(id)) << step << ", id " << id;
        EXPECT_EQ(f.list->GetValueForId(5000000), walk(5000000)) << step;
    };
    TestObject* a = f.Add(type::kBank, 3, "A");
    TestObject* b = f.Add(type::kBank, 7, "B");
    TestObject* c = f.Add(type::kBank, 7, "C");   // shares b's id
    agree("shared id");
    f.list->RemoveObject(b);
    agree("the first of two removed");
    f.list->AppendObject(a);                       // a twice
    f.list->RemoveObject(a);
    agree("one of two entries removed");
    f.list->RemoveObject(a);
    agree("both entries removed");
    c->Put_Id(12);
    agree("id changed");
    CNonVisual* items[] = {a, b};
    EXPECT_EQ(f.list->InsertObjectsAt(items, 2, 1), 1);
    EXPECT_EQ(f.list->ObjectAt(1), a);
    EXPECT_EQ(f.list->ObjectAt(2), b);
    agree("two inserted at once");
    TestObject* far = f.Add(type::kBank, 5000000, "Far");
    agree("an id beyond the table");
    f.list->RemoveObject(far);
    agree("the large id gone again");
}

TEST(NamedList, SumOfAmounts)
{
    Fixture f;
    EXPECT_EQ(f.list->Get_Amount(), 0.0);
    f.Add(type::kAccount, -1, "A")->amount = 2.5;
    f.Add(type::kAccount, -1, "B")->amount = -1.0;
    EXPECT_DOUBLE_EQ(f.list->Get_Amount(), 1.5);
}

TEST(NamedList, SetNotSortedMakesTheNextSortCount)
{
    ModelEnvironment environment;
    Fixture f(new LNamedlistArrayComparator);
    TestObject* b = f.Add(type::kBank, -1, "b");
    TestObject* a = f.Add(type::kBank, -1, "a");
    f.list->Sort();
    ASSERT_EQ(f.list->ObjectAt(1), a);
    a->Put_Name("c");                  // a rename leaves the list out of order
    f.list->Sort();
    EXPECT_EQ(f.list->ObjectAt(1), a); // still flagged sorted: nothing moves
    f.list->SetNotSorted();
    f.list->Sort();
    EXPECT_EQ(f.list->ObjectAt(1), b);
}

// Orders a list of objects and answers their names.
std::vector<std::string> Ordered(LComparator* comparator, std::vector<TestObject*> objects)
{
    CNamedListArray list(comparator);
    for (TestObject* object : objects) list.AppendObject(object);
    list.Sort();
    std::vector<std::string> names;
    for (std::uint32_t i = 1; i <= list.GetCount(); ++i)
        names.push_back(list.ObjectAt(static_cast<ArrayIndexT>(i))->Get_StringrefName());
    return names;
}

TEST(ModelComparators, OrderTheirLists)
{
    ModelEnvironment environment;
    TestObject small(type::kAccount, -1, "small"), large(type::kAccount, -1, "large"),
        negative(type::kAccount, -1, "negative"), nan(type::kAccount, -1, "nan");
    small.amount = 20.5;
    large.amount = 300.0;
    negative.amount = -4.0;
    EXPECT_EQ(Ordered(new LValueComparator, {&small, &negative, &large}),
              (std::vector<std::string>{"large", "small", "negative"}));
    nan.amount = std::nan("");
    LValueComparator values;
    CNonVisual* left = &nan;
    CNonVisual* right = &large;
    EXPECT_EQ(values.Compare(&left, &right, 8, 8), 0);

    TestObject newYear(type::kTransaction, -1, "2 January"), oldYear(type::kTransaction, -1, "31 December");
    newYear.date = 20240102;
    oldYear.date = 20231231;
    EXPECT_EQ(Ordered(new CTransactionComparator, {&oldYear, &newYear}),
              (std::vector<std::string>{"2 January", "31 December"}));
    EXPECT_EQ(Ordered(new CCurrencyHistoryComparator, {&oldYear, &newYear}),
              (std::vector<std::string>{"2 January", "31 December"}));

    TestObject upper(type::kBank, -1, "Beta"), lower(type::kBank, -1, "alpha"), same(type::kBank, -1, "ALPHA");
    EXPECT_EQ(Ordered(new LNamedlistArrayComparator, {&upper, &lower, &same}),
              (std::vector<std::string>{"alpha", "ALPHA", "Beta"}));
}

TEST(ModelComparators, CopiesKeepTheirKind)
{
    TestObject a(type::kTransaction, -1, "a"), b(type::kTransaction, -1, "b");
    a.date = 20240101;
    b.date = 20240201;
    CNamedListArray list(new CTransactionComparator);
    list.AppendObject(&a);
    list.AppendObject(&b);
    CNamedListArray copy(list);
    copy.Sort();
    EXPECT_EQ(copy.ObjectAt(1), &b);
}

} // namespace
} // namespace ch
