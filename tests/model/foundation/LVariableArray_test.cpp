#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/foundation/LArray.h"
#include "model/foundation/LArrayIterator.h"
#include "model/foundation/LComparator.h"
#include "model/foundation/LException.h"
#include "model/foundation/LVariableArray.h"

namespace ch {
namespace {

using Texts = std::vector<std::string>;

// Every item read back with its own size; the offsets must add the sizes up.
Texts Items(LVariableArray& array)
{
    Texts out;
    std::uint32_t end = 0;
    const auto* offsets = static_cast<const std::uint32_t*>(array.GetOffsetsHandle());
    EXPECT_EQ(offsets[0], 0u);
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(array.GetCount()); ++i) {
        std::string item(array.GetItemSize(i), '\0');
        std::uint32_t size = static_cast<std::uint32_t>(item.size());
        EXPECT_TRUE(array.FetchItemAt(i, item.data(), size));
        EXPECT_EQ(size, item.size());
        end += size;
        EXPECT_EQ(offsets[i], end) << "offset of item " << i;
        out.push_back(item);
    }
    return out;
}

void Fill(LArray& array, const Texts& texts)
{
    for (const std::string& text : texts)
        array.AddItem(text.data(), static_cast<std::uint32_t>(text.size()));
}

ArrayIndexT Insert(LArray& array, std::uint32_t count, ArrayIndexT at, const std::string& text)
{
    return array.InsertItemsAt(count, at, text.data(), static_cast<std::uint32_t>(text.size()));
}

TEST(LVariableArray, ItemsKeepTheirOwnSizesThroughInsertionAndRemoval)
{
    struct Case {
        std::uint32_t count;
        ArrayIndexT atIndex;
        ArrayIndexT expectedIndex;
        Texts expected;
    };
    const Case cases[] = {
        {1, 99, 4, {"pear", "fig", "", "kiwi"}},
        {1, 0, 1, {"kiwi", "pear", "fig", ""}},
        {1, -3, 4, {"pear", "fig", "", "kiwi"}},
        {1, LArray::kLastIndex, 4, {"pear", "fig", "", "kiwi"}},
        {1, 3, 3, {"pear", "fig", "kiwi", ""}},
        {2, 2, 2, {"pear", "kiwi", "kiwi", "fig", ""}},
        {0, 1, 0, {"pear", "fig", ""}},
    };
    for (const Case& c : cases) {
        LVariableArray array;
        Fill(array, {"pear", "fig", ""});
        EXPECT_EQ(Insert(array, c.count, c.atIndex, "kiwi"), c.expectedIndex)
            << c.count << " at " << c.atIndex;
        EXPECT_EQ(Items(array), c.expected) << c.count << " at " << c.atIndex;
    }

    LVariableArray array;
    Fill(array, {"alpha", "be", "", "gamma!", "d"});
    for (ArrayIndexT bad : {0, 6, -1}) EXPECT_EQ(array.GetItemSize(bad), 0u) << bad;
    EXPECT_EQ(array.GetItemSize(LArray::kLastIndex), 1u);
    EXPECT_EQ(std::string(static_cast<const char*>(array.GetItemPtr(4)), 6), "gamma!");

    array.RemoveItemsAt(2, 2);   // "be" and the empty item
    EXPECT_EQ(Items(array), (Texts{"alpha", "gamma!", "d"}));
    array.RemoveItemsAt(9, 2);   // cut to what is there
    EXPECT_EQ(Items(array), (Texts{"alpha"}));
    char buffer[8] = {};
    std::uint32_t size = 3;      // a short buffer takes only what it asked for
    EXPECT_TRUE(array.RemoveLastItem(buffer, size));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(buffer), "alp");
    EXPECT_EQ(array.GetCount(), 0u);
    EXPECT_FALSE(array.RemoveLastItem(buffer, size));
    Fill(array, {"again"});
    EXPECT_EQ(Items(array), (Texts{"again"}));
}

TEST(LVariableArray, IteratorsStepOverItemsOfAnySize)
{
    LVariableArray array;
    Fill(array, {"one", "three", "", "eleven"});
    LArrayIterator iterator(array);
    Texts seen;
    std::uint32_t size = 0;
    while (const void* item = iterator.PtrToNext(size)) {
        seen.emplace_back(static_cast<const char*>(item), size);
        if (seen.back() == "three") array.RemoveItemsAt(1, iterator.GetCurrentIndex());
    }
    EXPECT_EQ(seen, (Texts{"one", "three", "", "eleven"}));
    EXPECT_EQ(Items(array), (Texts{"one", "", "eleven"}));
    char buffer[16] = {};
    size = sizeof buffer;
    iterator.ResetTo(LArrayIterator::kFromEnd);
    EXPECT_TRUE(iterator.Previous(buffer, size));
    EXPECT_EQ(std::string(buffer, size), "eleven");
}

TEST(LVariableArray, AssignmentResizesTheSlot)
{
    LVariableArray array;
    Fill(array, {"a", "bb", "ccc"});
    const std::string wide = "wxyz";
    EXPECT_EQ(array.AssignItemsAt(1, 2, wide.data(), 4), 2);
    EXPECT_EQ(Items(array), (Texts{"a", "wxyz", "ccc"}));
    EXPECT_EQ(array.AssignItemsAt(1, 1, "", 0), 1);
    EXPECT_EQ(Items(array), (Texts{"", "wxyz", "ccc"}));
    // Removes what is there from the index on, then inserts count copies.
    EXPECT_EQ(array.AssignItemsAt(2, LArray::kLastIndex, "zz", 2), 3);
    EXPECT_EQ(Items(array), (Texts{"", "wxyz", "zz", "zz"}));
    for (ArrayIndexT bad : {0, 5}) EXPECT_EQ(array.AssignItemsAt(1, bad, "q", 1), 0) << bad;
    EXPECT_EQ(array.AssignItemsAt(0, 1, "q", 1), 0);
    EXPECT_EQ(array.AssignItemsAt(1, 1, nullptr, 1), 0);
    array.Lock();
    EXPECT_EQ(array.AssignItemsAt(1, 1, "q", 1), 0);
    array.Unlock();
    EXPECT_EQ(Items(array), (Texts{"", "wxyz", "zz", "zz"}));
}

TEST(LVariableArray, SwapAndMoveItemsOfDifferentSizes)
{
    struct Case {
        const char* operation;
        ArrayIndexT first;
        ArrayIndexT second;
        Texts expected;
    };
    const Case cases[] = {
        {"move", 1, 3, {"bbb", "cc", "a", "dddd"}},
        {"move", 4, 1, {"dddd", "a", "bbb", "cc"}},
        {"move", LArray::kLastIndex, 2, {"a", "dddd", "bbb", "cc"}},
        {"move", 2, 2, {"a", "bbb", "cc", "dddd"}},
        {"swap", 1, 3, {"cc", "bbb", "a", "dddd"}},
        {"swap", 4, 2, {"a", "dddd", "cc", "bbb"}},
        {"swap", 1, 2, {"bbb", "a", "cc", "dddd"}},
        {"swap", 2, LArray::kLastIndex, {"a", "dddd", "cc", "bbb"}},
        {"swap", 1, 9, {"a", "bbb", "cc", "dddd"}},
    };
    for (const Case& c : cases) {
        LVariableArray array;
        Fill(array, {"a", "bbb", "cc", "dddd"});
        if (std::string(c.operation) == "move")
            array.MoveItem(c.first, c.second);
        else
            array.SwapItems(c.first, c.second);
        EXPECT_EQ(Items(array), c.expected) << c.operation << " " << c.first << " " << c.second;
    }
}

// Orders by the first byte only, so that items with equal keys show where
// the sort leaves them.
class FirstByteComparator : public LComparator {
public:
    std::int32_t Compare(const void* a, const void* b, std::uint32_t sizeA,
                         std::uint32_t sizeB) const override
    {
        const int x = sizeA ? *static_cast<const unsigned char*>(a) : -1;
        const int y = sizeB ? *static_cast<const unsigned char*>(b) : -1;
        return x - y;
    }
    LComparator* Clone() const override { return new FirstByteComparator; }
};

TEST(LVariableArray, SortsAndSearchesByTheComparator)
{
    // The shared comparator: bytes first, then the shorter item.
    LVariableArray fruit;
    Fill(fruit, {"pear", "apple", "fig", "app", "kiwi", "apple"});
    EXPECT_FALSE(fruit.IsSorted());
    EXPECT_EQ(fruit.FetchIndexOf("apple", 5), 2);   // linear: the first match
    EXPECT_EQ(fruit.FetchInsertIndexOf("b", 1), LArray::kLastIndex);
    fruit.Remove("apple", 5);
    fruit.Sort();
    EXPECT_TRUE(fruit.IsSorted());
    EXPECT_EQ(Items(fruit), (Texts{"app", "apple", "fig", "kiwi", "pear"}));
    EXPECT_EQ(fruit.FetchIndexOf("kiwi", 4), 4);
    EXPECT_EQ(fruit.FetchIndexOf("ki", 2), 0);
    EXPECT_EQ(fruit.FetchInsertIndexOf("banana", 6), 3);

    LVariableArray kept(nullptr, true);
    for (const char* text : {"m", "zz", "a", "mm", ""}) Insert(kept, 1, 1, text);
    EXPECT_EQ(Items(kept), (Texts{"", "a", "m", "mm", "zz"}));

    // Many items of many sizes: the gaps of the Shell sort run, and the
    // result is the sorted order.
    LVariableArray many;
    Texts words;
    for (int i = 0; i < 90; ++i) words.push_back(std::string(1 + (i * 37) % 11, char('a' + (i * 13) % 26)));
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    Texts shuffled = words;
    std::reverse(shuffled.begin(), shuffled.end());
    std::rotate(shuffled.begin(), shuffled.begin() + 17, shuffled.end());
    Fill(many, shuffled);
    ASSERT_GE(many.GetCount(), 18u);
    many.Sort();
    EXPECT_EQ(Items(many), words);

    // Equal keys end where the Shell sort of an array of one item size leaves them.
    struct Tagged {
        std::int32_t key;
        std::int32_t tag;
    };
    class TaggedComparator : public LComparator {
        std::int32_t Compare(const void* a, const void* b, std::uint32_t, std::uint32_t) const override
        {
            return static_cast<const Tagged*>(a)->key - static_cast<const Tagged*>(b)->key;
        }
    };
    TArray<Tagged> fixed(new TaggedComparator);
    LVariableArray variable(new FirstByteComparator);
    for (std::int32_t i = 1; i <= 100; ++i) {
        const std::int32_t key = i % 3 ? (i * 7) % 5 : (i * 11) % 4;
        fixed.AddItem(Tagged{key, i});
        const std::string item = std::string(1, char('0' + key)) + std::to_string(i);
        Insert(variable, 1, LArray::kLastIndex, item);
    }
    fixed.Sort();
    variable.Sort();
    Texts expected;
    Tagged tagged{};
    for (ArrayIndexT i = 1; fixed.FetchItemAt(i, tagged); ++i)
        expected.push_back(std::string(1, char('0' + tagged.key)) + std::to_string(tagged.tag));
    EXPECT_EQ(Items(variable), expected);
}

TEST(LVariableArray, CopiesAssignmentAndAdoptedBlocks)
{
    auto source = std::make_unique<LVariableArray>(new FirstByteComparator, true);
    Fill(*source, {"zeta", "alpha", "mu"});
    LVariableArray copy(*source);
    EXPECT_NE(copy.GetComparator(), source->GetComparator());
    source.reset();
    EXPECT_EQ(Items(copy), (Texts{"alpha", "mu", "zeta"}));
    Insert(copy, 1, 1, "beta");
    EXPECT_EQ(Items(copy), (Texts{"alpha", "beta", "mu", "zeta"}));

    LVariableArray target;
    Fill(target, {"old"});
    target.Lock();
    target = copy;
    EXPECT_EQ(Items(target), (Texts{"old"}));
    target.Unlock();
    target = copy;
    EXPECT_EQ(Items(target), (Texts{"alpha", "beta", "mu", "zeta"}));
    target = target;
    EXPECT_EQ(target.GetCount(), 4u);

    // Adopted blocks: offsets 0, 2, 5 over the data "abcde".
    auto* data = static_cast<char*>(std::malloc(5));
    std::memcpy(data, "abcde", 5);
    auto* offsets = static_cast<std::uint32_t*>(std::malloc(3 * sizeof(std::uint32_t)));
    offsets[0] = 0;
    offsets[1] = 2;
    offsets[2] = 5;
    LVariableArray adopted(data, offsets, 3 * sizeof(std::uint32_t), nullptr, false, false);
    EXPECT_EQ(Items(adopted), (Texts{"ab", "cde"}));
    adopted.AdjustAllocation(4, 64);   // room ahead changes nothing stored
    Insert(adopted, 1, 2, "xyz");
    EXPECT_EQ(Items(adopted), (Texts{"ab", "xyz", "cde"}));
    EXPECT_EQ(std::string(static_cast<const char*>(adopted.GetItemsHandle()), 8), "abxyzcde");

    const std::vector<std::vector<std::uint32_t>> refused = {{1, 2}, {0, 5, 2}, {}};
    for (const auto& bad : refused) {
        std::vector<std::uint32_t> block = bad;
        char bytes[8] = {};
        try {
            LVariableArray wrong(bytes, block.empty() ? nullptr : block.data(),
                                 static_cast<std::uint32_t>(block.size() * sizeof(std::uint32_t)), nullptr,
                                 false, false);
            ADD_FAILURE() << "adopted offsets " << testing::PrintToString(bad);
        } catch (const LException& e) {
            EXPECT_EQ(e.GetErrorCode(), err::kParamErr);
        }
    }
}

} // namespace
} // namespace ch
