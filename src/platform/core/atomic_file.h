#pragma once
// Writing a file that users keep (a document, an export, a declaration)
// without ever leaving half of it behind: the bytes go to a new temporary
// file in the same folder, are flushed to the disk, and only then is the
// temporary file renamed over the target; the folder is flushed last, so
// that the rename survives a crash. On failure the target is exactly as it
// was and no temporary file is left.
//
// The replaced file can be kept as a backup: it is linked under the backup
// name (copied where the file system has no links) before the rename, and
// the backup that was there is replaced only once the new file is in place.
// A backup that cannot be made does not stop the write; it is reported.
//
// The new file keeps the permission bits of the file it replaces; a file
// that did not exist gets the mode asked for. A symbolic link is followed:
// its target is written.
//
// A write that was killed leaves its temporary file (".<name>.saving-XXXXXX",
// beside the file) and may leave the previous version under the backup name
// plus ".pending". Each write first removes such leftovers of the same file:
// a temporary file is locked while it is written, so that one another
// process is still writing is never taken for a leftover.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace ch {

// How bytes reach the open temporary file: the system's write() unless a
// test puts a failing one in. Answers the bytes written or -1 with errno set.
using WriteBytes = std::function<ssize_t(int fd, const void* data, std::size_t size)>;
// How a file or a folder is flushed to the disk: the system's fsync() unless
// a test puts a failing one in. Answers 0, or -1 with errno set.
using SyncFile = std::function<int(int fd)>;

struct AtomicWriteOptions {
    mode_t newFileMode = 0644;
    std::string backupPath; // empty: no backup
    WriteBytes write;       // empty: write()
    SyncFile sync;          // empty: fsync()
};

// A write fails when the folder cannot be flushed after the rename as well:
// the new file then stands in the folder, but whether the disk keeps the
// rename is not known (`replaced` says so).
struct AtomicWriteResult {
    std::string error;         // empty when written; else the step, the file and the system's reason
    std::string systemReason;  // the system's reason alone (e.g. "No space left on device")
    std::string backupProblem; // why no backup was kept, though the file was written
    bool replaced = false;     // on failure: the new file took the old one's place all the same
    bool ok() const { return error.empty(); }
};

AtomicWriteResult writeFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                                      const AtomicWriteOptions& options = {});

// Removes what killed writes of the file left: its temporary files that no
// process holds locked, and "<backupPath>.pending" (when a backup path is
// given). The names removed.
std::vector<std::string> removeLeftoversOfWrites(const std::filesystem::path& path, const std::string& backupPath);

// The same without a backup. False, with the reason in `error` when given,
// when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr,
                         mode_t newFileMode = 0644);

} // namespace ch
