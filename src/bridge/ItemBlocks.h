#pragma once
// ItemBlocks: the memory of the items a registry makes by the hundred
// thousand (one per transaction of the books), taken in blocks of 32 KB
// instead of one allocation per item. An item made here lives and dies as
// any shared item; its memory goes back with its block once every item of
// the block has gone, even when that happens after the ItemBlocks itself.
// Main thread only.

#include <cstddef>
#include <memory>
#include <new>

namespace ch {

class ItemBlocks {
public:
    ItemBlocks() = default;
    ~ItemBlocks();
    ItemBlocks(const ItemBlocks&) = delete;
    ItemBlocks& operator=(const ItemBlocks&) = delete;

    // Room for one object of at most kLargest bytes.
    void* Allocate(std::size_t bytes, std::size_t alignment);
    // Memory of that many bytes from Allocate of any ItemBlocks, alive or gone.
    static void Deallocate(void* memory, std::size_t bytes) noexcept;

    static constexpr std::size_t kLargest = std::size_t(4) << 10;

    struct Block;

private:
    // Gives up the block being filled (freed at once when nothing lives in it).
    void LeaveCurrent() noexcept;

    Block* mCurrent = nullptr;
    std::byte* mNext = nullptr;
    std::byte* mEnd = nullptr;
};

// Hands allocate_shared single objects from the blocks (the item together
// with its count), anything else from the heap.
template <typename T>
class ItemBlockAllocator {
public:
    using value_type = T;

    explicit ItemBlockAllocator(ItemBlocks& blocks) : mBlocks(&blocks) {}
    template <typename U>
    ItemBlockAllocator(const ItemBlockAllocator<U>& other) : mBlocks(other.blocks())
    {
    }

    T* allocate(std::size_t count)
    {
        if (count == 1 && sizeof(T) <= ItemBlocks::kLargest)
            return static_cast<T*>(mBlocks->Allocate(sizeof(T), alignof(T)));
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* object, std::size_t count) noexcept
    {
        if (count == 1 && sizeof(T) <= ItemBlocks::kLargest) ItemBlocks::Deallocate(object, sizeof(T));
        else std::allocator<T>().deallocate(object, count);
    }

    ItemBlocks* blocks() const { return mBlocks; }
    template <typename U>
    bool operator==(const ItemBlockAllocator<U>& other) const
    {
        return mBlocks == other.blocks();
    }

private:
    ItemBlocks* mBlocks;
};

} // namespace ch
