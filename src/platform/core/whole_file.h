#pragma once
// Reading a whole file a user keeps (a document) into memory, bounded: a file
// larger than the limit, or one that is not a regular file, is refused
// unread, and a file that shrinks while it is read is refused rather than
// read in part.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ch {

// Room for bytes a read fills at once: left as it is, not zero-filled first
// (a document of a million transactions is a third of a gigabyte).
struct ReadBufferAllocator {
    using value_type = std::uint8_t;
    template <typename Other>
    struct rebind {
        static_assert(sizeof(Other) == 1, "room for bytes only");
        using other = ReadBufferAllocator;
    };
    ReadBufferAllocator() = default;
    std::uint8_t* allocate(std::size_t count);
    void deallocate(std::uint8_t* bytes, std::size_t count) noexcept;
    // Room made by resize stays as it is.
    void construct(std::uint8_t*) noexcept {}
    void construct(std::uint8_t* at, std::uint8_t value) noexcept { *at = value; }
    bool operator==(const ReadBufferAllocator&) const { return true; }
};

using FileBytes = std::vector<std::uint8_t, ReadBufferAllocator>;

struct FileContents {
    FileBytes bytes;
    std::string error; // empty when read; else the step and the system's reason
    bool ok() const { return error.empty(); }
};

FileContents readWholeFile(const std::string& path, std::size_t maxSize);

} // namespace ch
