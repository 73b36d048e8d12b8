#pragma once
// Writes a file so that a failure at any step leaves the file that was there
// as it was: the bytes go to a new temporary file in the same folder, are
// flushed to the disk, and only then is the temporary file renamed over the
// old one; the folder is flushed last, so that the rename survives a crash.
//
// The file that was there can be kept as the backup: it is linked under the
// backup name (copied where the file system has no links) before the rename,
// and the backup that was there is replaced only when the new file is in
// place. A failed backup does not stop the write.
//
// A new file is readable and writable by its owner only; a file written over
// keeps its permissions. A symbolic link is followed: its target is written.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ch {

// How bytes reach an open file: the system's write() unless a test puts a
// failing one in. Answers the bytes written or -1 with errno set.
using WriteBytes = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

struct SafeWriteOptions {
    std::string backupPath; // empty: no backup
    WriteBytes write;       // empty: write()
};

struct SafeWriteResult {
    std::string error; // empty when written; else the step and the system's reason
    bool ok() const { return error.empty(); }
};

SafeWriteResult writeFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                                const SafeWriteOptions& options = {});

// The whole file, or the reason why it could not be read. Files larger than
// maxSize are refused unread.
struct FileContents {
    std::vector<std::uint8_t> bytes;
    std::string error;
    bool ok() const { return error.empty(); }
};
FileContents readWholeFile(const std::string& path, std::size_t maxSize);

} // namespace ch
