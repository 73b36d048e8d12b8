#include "model/foundation/StPointerBlock.h"

#include <cstdlib>

#include "model/foundation/LException.h"

namespace ch {

StPointerBlock::StPointerBlock(std::size_t size, bool throwOnFailure, bool clear)
{
    // A zero-byte request still yields a block, so null always means failure.
    std::size_t bytes = size > 0 ? size : 1;
    mBlock = clear ? std::calloc(bytes, 1) : std::malloc(bytes);
    if (!mBlock && throwOnFailure) LException::Throw(err::kMemFullErr);
}

void StPointerBlock::Adopt(void* block)
{
    if (block == mBlock) return;
    Dispose();
    mBlock = block;
}

void* StPointerBlock::Release()
{
    void* block = mBlock;
    mBlock = nullptr;
    return block;
}

void StPointerBlock::Dispose()
{
    std::free(mBlock);
    mBlock = nullptr;
}

} // namespace ch
