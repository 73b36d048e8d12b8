#include "model/foundation/LComparator.h"

#include <algorithm>
#include <cstring>

namespace ch {

std::int32_t BlockCompare(const void* block1, const void* block2, std::uint32_t length)
{
    const auto* p1 = static_cast<const unsigned char*>(block1);
    const auto* p2 = static_cast<const unsigned char*>(block2);
    for (std::uint32_t i = 0; i < length; ++i) {
        if (p1[i] != p2[i]) return std::int32_t(p1[i]) - std::int32_t(p2[i]);
    }
    return 0;
}

std::int32_t BlockCompare(const void* block1, const void* block2,
                          std::uint32_t length1, std::uint32_t length2)
{
    std::int32_t result = BlockCompare(block1, block2, std::min(length1, length2));
    if (result != 0) return result;
    return static_cast<std::int32_t>(length1 - length2);
}

bool BlocksAreEqual(const void* block1, const void* block2, std::uint32_t length)
{
    return length == 0 || std::memcmp(block1, block2, length) == 0;
}

// --- LComparator

LComparator* LComparator::sComparator = nullptr;

LComparator::~LComparator()
{
    if (sComparator == this) sComparator = nullptr;
}

std::int32_t LComparator::Compare(const void* item1, const void* item2,
                                  std::uint32_t size1, std::uint32_t size2) const
{
    return BlockCompare(item1, item2, size1, size2);
}

bool LComparator::IsEqualTo(const void* item1, const void* item2,
                            std::uint32_t size1, std::uint32_t size2) const
{
    return Compare(item1, item2, size1, size2) == 0;
}

std::int32_t LComparator::CompareToKey(const void*, std::uint32_t, const void*) const
{
    return 1;
}

bool LComparator::IsEqualToKey(const void* item, std::uint32_t size, const void* key) const
{
    return CompareToKey(item, size, key) == 0;
}

LComparator* LComparator::Clone() const
{
    return new LComparator;
}

LComparator* LComparator::GetComparator()
{
    if (!sComparator) sComparator = new LComparator;
    return sComparator;
}

// --- LLongComparator

LLongComparator* LLongComparator::sLongComparator = nullptr;

LLongComparator::~LLongComparator()
{
    if (sLongComparator == this) sLongComparator = nullptr;
}

namespace {
std::uint32_t LoadLong(const void* item)
{
    std::uint32_t value;
    std::memcpy(&value, item, sizeof value);
    return value;
}
} // namespace

std::int32_t LLongComparator::Compare(const void* item1, const void* item2,
                                      std::uint32_t, std::uint32_t) const
{
    // The difference wraps in 32 bits, as the stored order of such lists expects.
    return static_cast<std::int32_t>(LoadLong(item1) - LoadLong(item2));
}

bool LLongComparator::IsEqualTo(const void* item1, const void* item2,
                                std::uint32_t, std::uint32_t) const
{
    return LoadLong(item1) == LoadLong(item2);
}

LComparator* LLongComparator::Clone() const
{
    return new LLongComparator;
}

LLongComparator* LLongComparator::GetComparator()
{
    if (!sLongComparator) sLongComparator = new LLongComparator;
    return sLongComparator;
}

} // namespace ch
