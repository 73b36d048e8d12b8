#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/foundation/LArray.h"
#include "model/foundation/LArrayIterator.h"
#include "model/foundation/LComparator.h"

namespace ch {
namespace {

using Longs = std::vector<std::int32_t>;

Longs Contents(const LArray& array)
{
    Longs out;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(array.GetCount()); ++i) {
        std::int32_t value = 0;
        EXPECT_TRUE(array.FetchItemAt(i, &value));
        out.push_back(value);
    }
    return out;
}

void Fill(LArray& array, const Longs& values)
{
    for (std::int32_t value : values) array.AddItem(&value);
}

// Items with a sort key and a tag that shows where equal keys end up.
struct Tagged {
    std::int32_t key;
    std::int32_t tag;
};

class TaggedComparator : public LComparator {
public:
    explicit TaggedComparator(int* calls = nullptr) : mCalls(calls) {}
    std::int32_t Compare(const void* a, const void* b, std::uint32_t, std::uint32_t) const override
    {
        if (mCalls) ++*mCalls;
        Tagged x, y;
        std::memcpy(&x, a, sizeof x);
        std::memcpy(&y, b, sizeof y);
        return x.key < y.key ? -1 : (x.key > y.key ? 1 : 0);
    }
    LComparator* Clone() const override { return new TaggedComparator(mCalls); }

private:
    int* mCalls;
};

std::vector<std::int32_t> Tags(const TArray<Tagged>& array)
{
    std::vector<std::int32_t> tags;
    Tagged item{};
    for (ArrayIndexT i = 1; array.FetchItemAt(i, item); ++i) tags.push_back(item.tag);
    return tags;
}

TEST(LArray, FetchItemAtResolvesLastIndexAndRefusesOthers)
{
    LArray array;
    std::int32_t value = -1;
    EXPECT_FALSE(array.FetchItemAt(LArray::kLastIndex, &value));
    Fill(array, {10, 20, 30});

    EXPECT_TRUE(array.FetchItemAt(LArray::kLastIndex, &value));
    EXPECT_EQ(value, 30);
    for (ArrayIndexT bad : {0, 4, -1, -2}) {
        value = -1;
        EXPECT_FALSE(array.FetchItemAt(bad, &value)) << bad;
        EXPECT_EQ(value, -1) << "buffer untouched for " << bad;
        std::uint32_t size = 4;
        EXPECT_FALSE(array.FetchItemAt(bad, &value, size));
        EXPECT_EQ(size, 0u);
    }
    std::uint32_t size = 2;  // a short buffer gets only what it asked for
    std::int32_t wide = 0;
    EXPECT_TRUE(array.FetchItemAt(2, &wide, size));
    EXPECT_EQ(size, 2u);
}

TEST(LArray, InsertItemsAtClampsTheIndex)
{
    struct Case {
        std::uint32_t count;
        ArrayIndexT atIndex;
        ArrayIndexT expectedIndex;
        Longs expected;
    };
    const std::int32_t x = 99;
    const Case cases[] = {
        {1, 99, 4, {1, 2, 3, x}},
        {1, 0, 1, {x, 1, 2, 3}},
        {1, -3, 4, {1, 2, 3, x}},
        {1, LArray::kLastIndex, 4, {1, 2, 3, x}},
        {1, 3, 3, {1, 2, x, 3}},
        {3, 2, 2, {1, x, x, x, 2, 3}},
        {0, 1, 0, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        LArray array;
        Fill(array, {1, 2, 3});
        EXPECT_EQ(array.InsertItemsAt(c.count, c.atIndex, &x), c.expectedIndex)
            << c.count << " at " << c.atIndex;
        EXPECT_EQ(Contents(array), c.expected) << c.count << " at " << c.atIndex;
        EXPECT_FALSE(array.IsSorted());
    }
}

TEST(LArray, KeepSortedInsertsBeforeTheEqualItemTheSearchMeets)
{
    LArray array(4, nullptr, true);  // shared LLongComparator
    EXPECT_EQ(array.GetComparator(), LLongComparator::GetComparator());
    Fill(array, {30, 20, 10, 20});
    EXPECT_EQ(Contents(array), (Longs{10, 20, 20, 30}));
    EXPECT_TRUE(array.IsSorted());

    std::int32_t twenty = 20;
    EXPECT_EQ(array.FetchInsertIndexOf(&twenty), 2);
    EXPECT_EQ(array.FetchInsertIndexOf(nullptr), LArray::kLastIndex);

    struct Case {
        std::int32_t value;
        ArrayIndexT expectedIndex;
    };
    for (Case c : {Case{25, 4}, Case{5, 1}, Case{40, 5}}) {
        LArray copy(array);
        EXPECT_EQ(copy.InsertItemsAt(1, 1, &c.value), c.expectedIndex) << c.value;
        EXPECT_TRUE(copy.IsSorted());
    }
    EXPECT_EQ(array.InsertItemsAt(1, 1, nullptr), 0) << "keep-sorted refuses a null item";

    LArray unsorted;
    Fill(unsorted, {10, 20});
    EXPECT_EQ(unsorted.FetchInsertIndexOf(&twenty), LArray::kLastIndex);
}

TEST(LArray, FetchIndexOfIsLinearFirstMatchUnsortedAndBinarySorted)
{
    LArray array;
    Fill(array, {7, 3, 7, 5});
    std::int32_t seven = 7, absent = 4;
    EXPECT_EQ(array.FetchIndexOf(&seven), 1);
    EXPECT_EQ(array.FetchIndexOf(&absent), 0);
    array.Remove(&seven);
    EXPECT_EQ(Contents(array), (Longs{3, 7, 5})) << "Remove takes only the first";

    // 100,000 sorted items: a binary search needs at most 17 comparisons.
    int calls = 0;
    TArray<Tagged> big(new TaggedComparator(&calls));
    for (std::int32_t i = 0; i < 100000; ++i) big.AddItem(Tagged{i * 2, i});
    big.Sort();
    ASSERT_TRUE(big.IsSorted());
    calls = 0;
    EXPECT_EQ(big.FetchIndexOf(Tagged{2 * 76543, 0}), 76544);
    EXPECT_EQ(big.FetchIndexOf(Tagged{3, 0}), 0);
    EXPECT_LE(calls, 2 * 17);
    const Tagged three{3, 0};
    EXPECT_EQ(big.FetchInsertIndexOf(&three), 3);
}

TEST(LArray, SortIsTheShellSortWithItsGaps)
{
    // Below 18 items one insertion pass: equal keys keep their order.
    TArray<Tagged> small(new TaggedComparator);
    for (Tagged t : {Tagged{1, 1}, {1, 2}, {1, 3}, {1, 4}, {0, 5}}) small.AddItem(t);
    for (std::int32_t i = 6; i <= 17; ++i) small.AddItem(Tagged{2, i});
    small.Sort();
    EXPECT_EQ(Tags(small), (std::vector<std::int32_t>{5, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13,
                                                      14, 15, 16, 17}));

    // From 18 items on the gap-4 pass moves item 1 behind its equals.
    TArray<Tagged> eighteen(new TaggedComparator);
    for (Tagged t : {Tagged{1, 1}, {1, 2}, {1, 3}, {1, 4}, {0, 5}}) eighteen.AddItem(t);
    for (std::int32_t i = 6; i <= 18; ++i) eighteen.AddItem(Tagged{2, i});
    eighteen.Sort();
    EXPECT_EQ(Tags(eighteen), (std::vector<std::int32_t>{5, 2, 3, 4, 1, 6, 7, 8, 9, 10, 11, 12,
                                                         13, 14, 15, 16, 17, 18}));

    // 100 items (gaps 13, 4, 1): the exact order of equal keys.
    TArray<Tagged> hundred(new TaggedComparator);
    for (std::int32_t i = 1; i <= 100; ++i)
        hundred.AddItem(Tagged{i % 3 ? (i * 7) % 5 : (i * 11) % 4, i});
    hundred.Sort();
    EXPECT_EQ(Tags(hundred),
              (std::vector<std::int32_t>{
                  40, 80, 55, 95, 5,  84, 20, 60, 35, 10, 24, 12, 65, 70, 36, 72, 25, 48, 96, 50,
                  85, 100, 27, 3, 43, 13, 15, 28, 8,  73, 58, 23, 68, 38, 53, 83, 63, 98, 39, 87,
                  75, 88, 99, 51, 6,  41, 30, 1,  71, 16, 56, 26, 66, 11, 42, 86, 18, 54, 46, 90,
                  61, 31, 76, 78, 91, 4,  93, 29, 69, 19, 45, 33, 21, 14, 49, 89, 64, 9,  79, 57,
                  81, 34, 44, 59, 94, 74, 2,  32, 37, 17, 52, 62, 67, 77, 82, 92, 97, 7,  47, 22}));
    EXPECT_TRUE(hundred.IsSorted());
}

// A list that grows one item at a time at its front (as the books' lists
// do): the new item finds its place without the whole list being sorted
// again, and lands where any sort puts it; an equal key leaves it to the
// Shell sort.
TEST(LArray, AnItemPutInFrontOfOrderedItemsFindsItsPlaceByHalving)
{
    struct Case {
        std::int32_t key;
        std::int32_t expectedPlace;   // 1-based
    };
    const Case cases[] = {{1001, 501}, {5000, 1001}, {3, 2}};
    for (const Case& c : cases) {
        int calls = 0;
        TArray<Tagged> array(new TaggedComparator(&calls));
        for (std::int32_t i = 1; i <= 1000; ++i) array.AddItem(Tagged{2 * i, i});
        array.InsertItemsAt(1, 1, Tagged{c.key, -1});
        calls = 0;
        array.Sort();
        const std::vector<std::int32_t> tags = Tags(array);
        ASSERT_EQ(tags.size(), 1001u);
        EXPECT_EQ(tags[c.expectedPlace - 1], -1) << c.key;
        EXPECT_TRUE(std::is_sorted(tags.begin(), tags.begin() + (c.expectedPlace - 1))) << c.key;
        EXPECT_TRUE(std::is_sorted(tags.begin() + c.expectedPlace, tags.end())) << c.key;
        // One walk over the list and a halving search, not a sort of it.
        EXPECT_LT(calls, 2 * 1001) << c.key;
    }
    // An equal key: the Shell sort's place, keys in order.
    TArray<Tagged> array(new TaggedComparator);
    for (std::int32_t i = 1; i <= 30; ++i) array.AddItem(Tagged{2 * i, i});
    array.InsertItemsAt(1, 1, Tagged{20, -1});
    array.Sort();
    std::vector<std::int32_t> keys;
    Tagged item{};
    for (ArrayIndexT i = 1; array.FetchItemAt(i, item); ++i) keys.push_back(item.key);
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
}

TEST(LArray, OrderChangesFollowTheFlags)
{
    LArray array;
    Fill(array, {1, 2, 3, 4});
    array.MoveItem(1, 3);
    EXPECT_EQ(Contents(array), (Longs{2, 3, 1, 4}));
    array.MoveItem(LArray::kLastIndex, 1);
    EXPECT_EQ(Contents(array), (Longs{4, 2, 3, 1}));
    array.SwapItems(2, LArray::kLastIndex);
    EXPECT_EQ(Contents(array), (Longs{4, 1, 3, 2}));
    array.SwapItems(1, 9);  // no item 9: nothing
    EXPECT_EQ(Contents(array), (Longs{4, 1, 3, 2}));

    std::int32_t seven = 7;
    EXPECT_EQ(array.AssignItemsAt(5, 3, &seven), 3) << "cut at the end";
    EXPECT_EQ(Contents(array), (Longs{4, 1, 7, 7}));
    EXPECT_EQ(array.AssignItemsAt(1, 5, &seven), 0);

    array.SetKeepSorted(true);
    EXPECT_EQ(Contents(array), (Longs{1, 4, 7, 7}));
    array.SwapItems(1, 2);  // refused while kept sorted
    array.MoveItem(1, 4);
    EXPECT_EQ(Contents(array), (Longs{1, 4, 7, 7}));
    std::int32_t five = 5;
    EXPECT_EQ(array.AssignItemsAt(1, 1, &five), 2) << "kept sorted: the item goes to its place";
    EXPECT_EQ(Contents(array), (Longs{4, 5, 7, 7}));

    // A new comparator re-sorts a kept-sorted array.
    class Descending : public LComparator {
        std::int32_t Compare(const void* a, const void* b, std::uint32_t, std::uint32_t) const override
        {
            std::int32_t x, y;
            std::memcpy(&x, a, 4);
            std::memcpy(&y, b, 4);
            return y - x;
        }
    };
    array.SetComparator(new Descending, true);
    EXPECT_EQ(Contents(array), (Longs{7, 7, 5, 4}));
    EXPECT_EQ(array.FetchIndexOf(&five), 3);
}

TEST(LArray, LockRefusesStructuralChanges)
{
    LArray array;
    Fill(array, {1, 2});
    std::int32_t x = 9;
    array.Lock();
    array.Lock();
    array.Unlock();
    EXPECT_EQ(array.AddItem(&x), 0);
    EXPECT_EQ(array.InsertItemsAt(1, 1, &x), 0);
    array.RemoveItemsAt(1, 1);
    EXPECT_FALSE(array.RemoveLastItem(&x));
    LArray other;
    Fill(other, {5});
    array = other;
    EXPECT_EQ(Contents(array), (Longs{1, 2}));
    array.Unlock();
    array = other;
    EXPECT_EQ(Contents(array), (Longs{5}));
    EXPECT_TRUE(array.RemoveLastItem(&x));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(array.GetCount(), 0u);
}

TEST(LArray, CopyClonesAnOwnedComparatorOnly)
{
    auto* owned = new TaggedComparator;
    auto source = std::make_unique<TArray<Tagged>>(owned);
    source->AddItem(Tagged{2, 1});
    source->AddItem(Tagged{1, 2});
    TArray<Tagged> copy(*source);
    EXPECT_NE(copy.GetComparator(), owned);
    source.reset();  // the copy's comparator outlives the source's
    copy.Sort();
    EXPECT_EQ(Tags(copy), (std::vector<std::int32_t>{2, 1}));

    LArray shared;
    LArray sharedCopy(shared);
    EXPECT_EQ(sharedCopy.GetComparator(), shared.GetComparator());
}

TEST(LComparator, ComparesAsThePlatformDid)
{
    std::int32_t five = 5, seven = 7;
    LLongComparator* longs = LLongComparator::GetComparator();
    EXPECT_LT(longs->Compare(&five, &seven, 4, 4), 0);
    EXPECT_GT(longs->Compare(&seven, &five, 4, 4), 0);
    EXPECT_TRUE(longs->IsEqualTo(&five, &five, 4, 4));

    EXPECT_EQ(LComparator::GetComparator()->Compare("ab", "abc", 2, 3), -1);
    EXPECT_EQ(BlockCompare("abd", "abc", 3), 1);
    EXPECT_EQ(BlockCompare("\xff", "a", 1), 0xff - 'a') << "bytes are unsigned";

    // The base comparator has no keys, so keyed searches find nothing.
    LArray array(4, new LComparator, false);
    Fill(array, {1});
    EXPECT_EQ(array.FetchIndexOfKey(&five), 0);

    // Destroying the shared instance makes the next call create a fresh one.
    delete LComparator::GetComparator();
    EXPECT_NE(LComparator::GetComparator(), nullptr);
}

// --- iterators

struct IteratorCase {
    const char* name;
    ArrayIndexT onItem;                        // the iterator has just returned this item
    std::function<void(LArray&)> change;       // what happens to the array meanwhile
    Longs expectedRest;                        // what Next yields afterwards
};

TEST(LArrayIterator, FollowsInsertionsAndRemovals)
{
    const std::int32_t x = 99;
    const IteratorCase cases[] = {
        {"current removed", 3, [](LArray& a) { a.RemoveItemsAt(1, 3); }, {4, 5}},
        {"last removed", 5, [](LArray& a) { a.RemoveItemsAt(1, 5); }, {}},
        {"range with current removed", 2, [](LArray& a) { a.RemoveItemsAt(2, 2); }, {4, 5}},
        {"earlier item removed", 3, [](LArray& a) { a.RemoveItemsAt(1, 1); }, {4, 5}},
        {"later item removed", 2, [](LArray& a) { a.RemoveItemsAt(1, 4); }, {3, 5}},
        {"inserted before", 2, [&](LArray& a) { a.InsertItemsAt(1, 1, &x); }, {3, 4, 5}},
        {"inserted at current", 2, [&](LArray& a) { a.InsertItemsAt(1, 2, &x); }, {3, 4, 5}},
        {"inserted after", 2, [&](LArray& a) { a.InsertItemsAt(1, 3, &x); }, {x, 3, 4, 5}},
        {"appended on last", 5, [&](LArray& a) { a.AddItem(&x); }, {x}},
        // The removed state must follow later removals before its next item.
        {"removed, then an earlier item", 2,
         [](LArray& a) { a.RemoveItemsAt(1, 2); a.RemoveItemsAt(1, 1); }, {3, 4, 5}},
        {"removed, then a range over the follower", 2,
         [](LArray& a) { a.RemoveItemsAt(1, 2); a.RemoveItemsAt(2, 1); }, {4, 5}},
        {"removed, then a later item", 2,
         [](LArray& a) { a.RemoveItemsAt(1, 2); a.RemoveItemsAt(1, 3); }, {3, 5}},
        {"removed, then inserted at the follower", 2,
         [&](LArray& a) { a.RemoveItemsAt(1, 2); a.InsertItemsAt(1, 2, &x); }, {3, 4, 5}},
    };
    for (const IteratorCase& c : cases) {
        LArray array;
        Fill(array, {1, 2, 3, 4, 5});
        LArrayIterator iterator(array);
        std::int32_t value = 0;
        for (ArrayIndexT i = 0; i < c.onItem; ++i) ASSERT_TRUE(iterator.Next(&value));
        ASSERT_EQ(value, c.onItem);
        c.change(array);
        Longs rest;
        while (iterator.Next(&value)) rest.push_back(value);
        EXPECT_EQ(rest, c.expectedRest) << c.name;
    }
}

TEST(LArrayIterator, LoopRemovingItselfAndAnEarlierItemVisitsEveryItemOnce)
{
    // Like deleting a transaction whose other line sits earlier in the same list.
    LArray array;
    Fill(array, {1, 2, 3, 4, 5, 6});
    LArrayIterator iterator(array);
    Longs visited;
    std::int32_t value = 0;
    while (iterator.Next(&value)) {
        visited.push_back(value);
        if (value % 2 == 0) {
            array.Remove(&value);
            std::int32_t earlier = value - 1;
            array.Remove(&earlier);
        }
    }
    EXPECT_EQ(visited, (Longs{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(array.GetCount(), 0u);
}

TEST(LArrayIterator, StepsBackAndResets)
{
    LArray array;
    Fill(array, {1, 2, 3});
    LArrayIterator iterator(array, LArrayIterator::kFromEnd);
    std::int32_t value = 0;
    EXPECT_FALSE(iterator.Current(&value));
    EXPECT_TRUE(iterator.Previous(&value));
    EXPECT_EQ(value, 3);

    iterator.ResetTo(2);
    EXPECT_TRUE(iterator.Current(&value));
    EXPECT_EQ(value, 2);
    array.RemoveItemsAt(1, 2);
    EXPECT_FALSE(iterator.Current(&value)) << "its item is gone";
    EXPECT_TRUE(iterator.Previous(&value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(iterator.Previous(&value));
    EXPECT_FALSE(iterator.Previous(&value)) << "before the first it stays";
    EXPECT_TRUE(iterator.Next(&value));
    EXPECT_EQ(value, 1);
    std::uint32_t size = 0;
    EXPECT_NE(iterator.PtrToNext(size), nullptr);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(iterator.PtrToNext(), nullptr);

    LArray empty;
    LArrayIterator onEmpty(empty);
    EXPECT_FALSE(onEmpty.Next(&value));
    empty.AddItem(&value);
    onEmpty.ResetTo(LArrayIterator::kFromStart);
    EXPECT_TRUE(onEmpty.Next(&value));
}

TEST(LArrayIterator, OutlivingItsArrayIsHarmless)
{
    auto array = std::make_unique<LArray>();
    Fill(*array, {1, 2});
    LArrayIterator iterator(*array);
    std::int32_t value = 0;
    ASSERT_TRUE(iterator.Next(&value));
    array.reset();
    EXPECT_FALSE(iterator.Next(&value));
    EXPECT_FALSE(iterator.Previous(&value));
    EXPECT_FALSE(iterator.Current(&value));
    EXPECT_EQ(iterator.GetCurrentIndex(), LArrayIterator::kArrayGone);
    iterator.ResetTo(1);
    EXPECT_EQ(iterator.PtrToCurrent(), nullptr);
}

} // namespace
} // namespace ch
