#pragma once
// Scope guards for memory blocks: the block taken in a scope is released on
// every path out of it, exceptions included. Blocks come from std::malloc, so a
// block given up with Release() is the caller's to std::free.

#include <cstddef>

namespace ch {

class StPointerBlock {
public:
    // Allocates size bytes (zeroed when clear). When that fails: raises
    // LException(err::kMemFullErr) if throwOnFailure, otherwise holds null.
    explicit StPointerBlock(std::size_t size, bool throwOnFailure = true, bool clear = false);
    // Adopts a block from std::malloc (may be null).
    explicit StPointerBlock(void* block = nullptr) : mBlock(block) {}
    ~StPointerBlock() { Dispose(); }
    StPointerBlock(const StPointerBlock&) = delete;
    StPointerBlock& operator=(const StPointerBlock&) = delete;

    void* Get() const { return mBlock; }
    // Takes another block, releasing the one held.
    void Adopt(void* block);
    // Gives the block up without releasing it.
    void* Release();
    // Releases the block now.
    void Dispose();

private:
    void* mBlock = nullptr;
};

// A zeroed block.
class StClearPointerBlock : public StPointerBlock {
public:
    explicit StClearPointerBlock(std::size_t size, bool throwOnFailure = true)
        : StPointerBlock(size, throwOnFailure, true) {}
};

} // namespace ch
