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

struct FileContents {
    std::vector<std::uint8_t> bytes;
    std::string error; // empty when read; else the step and the system's reason
    bool ok() const { return error.empty(); }
};

FileContents readWholeFile(const std::string& path, std::size_t maxSize);

} // namespace ch
