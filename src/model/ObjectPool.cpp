#include "model/ObjectPool.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <cstdlib>
#include <map>

#include <sys/mman.h>

#include "platform/core/memory_poison.h"

namespace ch {

namespace {

// Blocks grow from 64 KB to 4 MB: small books take little, large ones few blocks.
constexpr std::size_t kFirstBlockBytes = std::size_t(64) << 10;
constexpr std::size_t kLargestBlockBytes = std::size_t(4) << 20;
// Large blocks are laid on huge pages where the system offers them: a large
// book's blocks are then touched with a few hundred faults, not twenty thousand.
constexpr std::size_t kHugePageBytes = std::size_t(2) << 20;

std::byte* NewBlock(std::size_t& size)
{
    if (size < kHugePageBytes) {
        void* block = std::malloc(size);
        if (!block) throw std::bad_alloc();
        return static_cast<std::byte*>(block);
    }
    size = (size + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    void* block = std::aligned_alloc(kHugePageBytes, size);
    if (!block) throw std::bad_alloc();
    ::madvise(block, size, MADV_HUGEPAGE);   // only advice: without huge pages it changes nothing
    return static_cast<std::byte*>(block);
}

// The blocks of every pool: their first byte and the byte after them. Never
// destroyed: objects in static storage may be deleted after it at exit.
std::map<const std::byte*, const std::byte*>& AllBlocks()
{
    static auto* blocks = new std::map<const std::byte*, const std::byte*>;
    return *blocks;
}

// The object ObjectPool::Make is constructing, and its pool.
ObjectPool* gMakingPool = nullptr;
const void* gMakingObject = nullptr;

} // namespace

ObjectPool::MakingScope::MakingScope(ObjectPool* pool, const void* object)
    : mPreviousPool(gMakingPool), mPreviousObject(gMakingObject)
{
    gMakingPool = pool;
    gMakingObject = object;
}

ObjectPool::MakingScope::~MakingScope()
{
    gMakingPool = mPreviousPool;
    gMakingObject = mPreviousObject;
}

ObjectPool* ObjectPool::Making(const void* object)
{
    return object && object == gMakingObject ? gMakingPool : nullptr;
}

void ObjectPool::FreeBlock::operator()(std::byte* block) const
{
    std::free(block);
}

ObjectPool::~ObjectPool()
{
    Release();
}

bool ObjectPool::Holds(const void* memory)
{
    const auto& blocks = AllBlocks();
    if (blocks.empty()) return false;
    const auto* at = static_cast<const std::byte*>(memory);
    auto after = blocks.upper_bound(at);
    if (after == blocks.begin()) return false;
    return at < std::prev(after)->second;
}

void ObjectPool::Abandon(void* memory, std::size_t bytes)
{
    CH_POISON(memory, bytes);
}

void ObjectPool::Release()
{
    auto& blocks = AllBlocks();
    for (const auto& block : mBlocks) {
        auto found = blocks.find(block.get());
        CH_UNPOISON(found->first, static_cast<std::size_t>(found->second - found->first));
        blocks.erase(found);
    }
    mBlocks.clear();
    mNext = nullptr;
    mLeft = 0;
    mReserved = 0;
}

void* ObjectPool::Allocate(std::size_t bytes, std::size_t alignment)
{
    auto padding = [&] {
        auto address = reinterpret_cast<std::uintptr_t>(mNext);
        return static_cast<std::size_t>((alignment - address % alignment) % alignment);
    };
    if (!mNext || padding() + bytes > mLeft) {
        std::size_t size = mBlocks.empty() ? kFirstBlockBytes : std::min(2 * mReserved, kLargestBlockBytes);
        size = std::max(size, bytes + alignment);
        // Left uninitialised: every object made here initialises its memory.
        mBlocks.push_back(std::unique_ptr<std::byte, FreeBlock>(NewBlock(size)));
        mNext = mBlocks.back().get();
        AllBlocks().emplace(mNext, mNext + size);
        mLeft = size;
        mReserved += size;
    }
    const std::size_t skip = padding();
    std::byte* at = mNext + skip;
    mNext = at + bytes;
    mLeft -= skip + bytes;
    return at;
}

} // namespace ch
