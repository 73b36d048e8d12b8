#include "bridge/ItemBlocks.h"

#include <cstdint>
#include <cstdlib>

#include "platform/core/memory_poison.h"

namespace ch {

namespace {

// A block is aligned to its size, so that an item's block is found from its
// address alone. Small enough to come from the heap, not from a mapping of
// its own: a document opened again reuses the memory of the one closed
// instead of faulting in fresh pages.
constexpr std::size_t kBlockBytes = std::size_t(32) << 10;

} // namespace

struct ItemBlocks::Block {
    std::size_t live = 0;   // the objects of the block not yet given back
    bool filling = true;    // still handing out room: kept while empty
};

namespace {

constexpr std::size_t kHeaderBytes = 64;
static_assert(sizeof(ItemBlocks::Block) <= kHeaderBytes && kHeaderBytes + ItemBlocks::kLargest <= kBlockBytes);

void FreeBlock(void* block) noexcept
{
    CH_UNPOISON(block, kBlockBytes);
    std::free(block);
}

} // namespace

ItemBlocks::~ItemBlocks()
{
    LeaveCurrent();
}

void ItemBlocks::LeaveCurrent() noexcept
{
    if (!mCurrent) return;
    mCurrent->filling = false;
    if (mCurrent->live == 0) FreeBlock(mCurrent);
    mCurrent = nullptr;
    mNext = mEnd = nullptr;
}

void* ItemBlocks::Allocate(std::size_t bytes, std::size_t alignment)
{
    auto aligned = [alignment](std::byte* at) {
        const auto address = reinterpret_cast<std::uintptr_t>(at);
        return at + (alignment - address % alignment) % alignment;
    };
    if (!mCurrent || aligned(mNext) + bytes > mEnd) {
        LeaveCurrent();
        void* memory = std::aligned_alloc(kBlockBytes, kBlockBytes);
        if (!memory) throw std::bad_alloc();
        mCurrent = ::new (memory) Block;
        mNext = static_cast<std::byte*>(memory) + kHeaderBytes;
        mEnd = static_cast<std::byte*>(memory) + kBlockBytes;
        // Out of bounds for the address checker until handed out.
        CH_POISON(mNext, static_cast<std::size_t>(mEnd - mNext));
    }
    std::byte* at = aligned(mNext);
    mNext = at + bytes;
    ++mCurrent->live;
    CH_UNPOISON(at, bytes);
    return at;
}

void ItemBlocks::Deallocate(void* memory, std::size_t bytes) noexcept
{
    if (!memory) return;
    auto* block = reinterpret_cast<Block*>(reinterpret_cast<std::uintptr_t>(memory) & ~(kBlockBytes - 1));
    CH_POISON(memory, bytes);
    if (--block->live == 0 && !block->filling) FreeBlock(block);
}

} // namespace ch
