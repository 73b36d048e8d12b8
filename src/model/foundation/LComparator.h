#pragma once
// Comparators order and compare the items of an LArray. Items arrive as raw
// bytes with their sizes; subclasses that know the item type (object pointers,
// dates, amounts) override Compare only and get a matching IsEqualTo.

#include <cstdint>

namespace ch {

// Byte-wise comparison as unsigned values: byte1 - byte2 at the first difference, 0 when equal.
std::int32_t BlockCompare(const void* block1, const void* block2, std::uint32_t length);

// Compares the common length the same way; when that part is equal, length1 - length2.
std::int32_t BlockCompare(const void* block1, const void* block2,
                          std::uint32_t length1, std::uint32_t length2);

bool BlocksAreEqual(const void* block1, const void* block2, std::uint32_t length);

class LComparator {
public:
    LComparator() = default;
    LComparator(const LComparator&) = default;
    LComparator& operator=(const LComparator&) = default;
    // Destroying the shared instance forgets it; the next GetComparator makes a new one.
    virtual ~LComparator();

    // Negative, 0 or positive. The base compares the bytes (BlockCompare).
    virtual std::int32_t Compare(const void* item1, const void* item2,
                                 std::uint32_t size1, std::uint32_t size2) const;
    // Compare(...) == 0, through the virtual Compare.
    virtual bool IsEqualTo(const void* item1, const void* item2,
                           std::uint32_t size1, std::uint32_t size2) const;
    // The base has no key order: 1, so keyed searches find nothing.
    virtual std::int32_t CompareToKey(const void* item, std::uint32_t size, const void* key) const;
    virtual bool IsEqualToKey(const void* item, std::uint32_t size, const void* key) const;
    // A new comparator of the same kind, owned by the caller.
    virtual LComparator* Clone() const;

    // The one shared instance, created on first use (not owned by the caller).
    static LComparator* GetComparator();

private:
    static LComparator* sComparator;
};

// Orders 4-byte signed integers: the difference first - second with 32-bit wrap-around.
class LLongComparator : public LComparator {
public:
    ~LLongComparator() override;

    std::int32_t Compare(const void* item1, const void* item2,
                         std::uint32_t size1, std::uint32_t size2) const override;
    bool IsEqualTo(const void* item1, const void* item2,
                   std::uint32_t size1, std::uint32_t size2) const override;
    LComparator* Clone() const override;

    static LLongComparator* GetComparator();

private:
    static LLongComparator* sLongComparator;
};

} // namespace ch
