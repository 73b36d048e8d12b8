#include "platform/core/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <cctype>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ch {
namespace {

std::string reason(const std::string& step)
{
    return step + ": " + std::strerror(errno);
}

// A failed step, with the system's reason of errno.
AtomicWriteResult failed(const std::string& step)
{
    const int error = errno;
    AtomicWriteResult result;
    result.error = step + ": " + std::strerror(error);
    result.systemReason = std::strerror(error);
    return result;
}

const std::string kTemporaryInfix = ".saving-";

std::string temporaryPrefix(const std::filesystem::path& beside)
{
    return "." + beside.filename().string() + kTemporaryInfix;
}

// Whether the name is one mkostemp made from the file's pattern.
bool isTemporaryName(const std::string& name, const std::string& prefix)
{
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& beside)
    {
        std::string pattern = (beside.parent_path() / (temporaryPrefix(beside) + "XXXXXX")).string();
        mName.assign(pattern.begin(), pattern.end());
        mName.push_back('\0');
        mFd = ::mkostemp(mName.data(), O_CLOEXEC);
        mCreated = mFd >= 0;
        // Held until the file is closed: another write's clean-up leaves it alone.
        if (mCreated) ::flock(mFd, LOCK_EX | LOCK_NB);
    }
    ~TemporaryFile()
    {
        if (mFd >= 0) ::close(mFd);
        if (mCreated && !mReleased) ::unlink(name());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return mFd; }
    const char* name() const { return mName.data(); }
    bool close()
    {
        int fd = mFd;
        mFd = -1;
        return ::close(fd) == 0;
    }
    void release() { mReleased = true; }

private:
    std::vector<char> mName;
    int mFd = -1;
    bool mCreated = false;
    bool mReleased = false;
};

bool writeAll(const WriteBytes& write, int fd, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        ssize_t written = write ? write(fd, bytes.data(), bytes.size()) : ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

int syncWith(const SyncFile& sync, int fd)
{
    return sync ? sync(fd) : ::fsync(fd);
}

// Whether the folder's entries reached the disk (a folder that cannot be
// opened for it is taken as flushed: some file systems allow no such open).
bool syncFolder(const std::filesystem::path& folder, const SyncFile& sync)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;
    const bool synced = syncWith(sync, fd) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
}

// The old file under a temporary backup name; empty, with the reason in
// `problem`, when it could not be kept.
std::string keepOldFile(const std::filesystem::path& path, const std::string& backupPath, std::string& problem)
{
    const std::string pending = backupPath + ".pending";
    ::unlink(pending.c_str());
    if (::link(path.c_str(), pending.c_str()) == 0) return pending;
    std::error_code error;
    if (std::filesystem::copy_file(path, pending, std::filesystem::copy_options::overwrite_existing, error))
        return pending;
    problem = "no backup of " + path.string() + ": " + error.message();
    ::unlink(pending.c_str());
    return {};
}

} // namespace

AtomicWriteResult writeFileAtomically(const std::filesystem::path& requestedPath,
                                      std::span<const std::uint8_t> bytes, const AtomicWriteOptions& options)
{
    std::error_code error;
    std::filesystem::path path = requestedPath;
    if (std::filesystem::is_symlink(path, error)) {
        path = std::filesystem::weakly_canonical(path, error);
        if (error) return {"follow link " + requestedPath.string() + ": " + error.message(), error.message(), {}};
    }

    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return {"not a file: " + path.string(), "not a regular file", {}};

    // The pending backup only beside a file it is an older version of.
    removeLeftoversOfWrites(path, replacing ? options.backupPath : std::string());
    TemporaryFile temporary(path);
    if (temporary.fd() < 0) return failed("create a temporary file beside " + path.string());
    if (::fchmod(temporary.fd(), replacing ? old.st_mode & 07777 : options.newFileMode) != 0)
        return failed("set the permissions of " + std::string(temporary.name()));
    if (!writeAll(options.write, temporary.fd(), bytes)) return failed("write " + std::string(temporary.name()));
    if (syncWith(options.sync, temporary.fd()) != 0) return failed("flush " + std::string(temporary.name()));
    if (!temporary.close()) return failed("close " + std::string(temporary.name()));

    AtomicWriteResult result;
    const std::string pendingBackup = replacing && !options.backupPath.empty()
                                          ? keepOldFile(path, options.backupPath, result.backupProblem)
                                          : std::string();
    if (::rename(temporary.name(), path.c_str()) != 0) {
        const AtomicWriteResult failure = failed("replace " + path.string());
        result.error = failure.error;
        result.systemReason = failure.systemReason;
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        return result;
    }
    temporary.release();
    if (!pendingBackup.empty() && ::rename(pendingBackup.c_str(), options.backupPath.c_str()) != 0) {
        result.backupProblem = reason("no backup of " + path.string());
        ::unlink(pendingBackup.c_str());
    }
    if (!syncFolder(path.parent_path(), options.sync)) {
        const AtomicWriteResult failure = failed("flush the folder of " + path.string());
        result.error = failure.error;
        result.systemReason = failure.systemReason;
        result.replaced = true;
    }
    return result;
}

std::vector<std::string> removeLeftoversOfWrites(const std::filesystem::path& path, const std::string& backupPath)
{
    std::vector<std::string> removed;
    if (!backupPath.empty()) {
        const std::string pending = backupPath + ".pending";
        if (::unlink(pending.c_str()) == 0) removed.push_back(pending);
    }
    const std::filesystem::path folder = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    const std::string prefix = temporaryPrefix(path);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!isTemporaryName(name, prefix)) continue;
        // Only a regular file of ours that no write holds locked.
        int fd = ::open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        const bool ours = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
        if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(entry->path().c_str()) == 0)
            removed.push_back(entry->path().string());
        ::close(fd);
    }
    return removed;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error,
                         mode_t newFileMode)
{
    AtomicWriteOptions options;
    options.newFileMode = newFileMode;
    AtomicWriteResult result = writeFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), options);
    if (!result.ok() && error) *error = result.error;
    return result.ok();
}

} // namespace ch
