// Items made in blocks live and die as any shared item: each is destroyed
// once, when its last holder lets go, and its memory stays sound for as long
// as it lives, even after the blocks' owner (the registry) has gone.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <vector>

#include "bridge/ItemBlocks.h"

namespace ch {
namespace {

// About the size of a transaction's item, so that many blocks are filled.
struct Counted {
    explicit Counted(int value, int& alive) : value(value), alive(alive) { ++alive; }
    ~Counted() { --alive; }
    int value;
    int& alive;
    std::array<char, 480> payload{};
};

std::shared_ptr<Counted> make(ItemBlocks& blocks, int value, int& alive)
{
    return std::allocate_shared<Counted>(ItemBlockAllocator<Counted>(blocks), value, alive);
}

TEST(ItemBlocksTest, ItemsAcrossManyBlocksGoInAnyOrder)
{
    int alive = 0;
    ItemBlocks blocks;
    std::vector<std::shared_ptr<Counted>> items;
    for (int i = 0; i < 20000; ++i) items.push_back(make(blocks, i, alive));
    EXPECT_EQ(alive, 20000);
    std::weak_ptr<Counted> watched = items[7];
    std::shuffle(items.begin(), items.end(), std::mt19937(7));
    // Half of them go; the rest are all still whole, and new ones take room.
    items.resize(items.size() / 2);
    for (int i = 0; i < 5000; ++i) items.push_back(make(blocks, -i, alive));
    EXPECT_EQ(alive, 15000);
    for (const auto& item : items) EXPECT_EQ(&item->alive, &alive);
    const bool watchedKept = std::any_of(items.begin(), items.end(), [](const auto& item) { return item->value == 7; });
    EXPECT_EQ(watched.expired(), !watchedKept);
    items.clear();
    EXPECT_EQ(alive, 0);
    EXPECT_TRUE(watched.expired());
}

TEST(ItemBlocksTest, ItemsOutliveTheBlocksOwner)
{
    int alive = 0;
    std::vector<std::shared_ptr<Counted>> kept;
    {
        ItemBlocks blocks;
        for (int i = 0; i < 9000; ++i) {
            auto item = make(blocks, i, alive);
            if (i % 1000 == 0) kept.push_back(item);
        }
    }
    ASSERT_EQ(alive, 9);
    for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(kept[i]->value, static_cast<int>(i * 1000));
    kept.clear();
    EXPECT_EQ(alive, 0);
}

} // namespace
} // namespace ch
