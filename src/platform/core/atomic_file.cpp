#include "platform/core/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ch {
namespace {

std::string reason(const std::string& step)
{
    return step + ": " + std::strerror(errno);
}

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& beside)
    {
        std::string pattern =
            (beside.parent_path() / ("." + beside.filename().string() + ".saving-XXXXXX")).string();
        mName.assign(pattern.begin(), pattern.end());
        mName.push_back('\0');
        mFd = ::mkostemp(mName.data(), O_CLOEXEC);
        mCreated = mFd >= 0;
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

void syncFolder(const std::filesystem::path& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
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
        if (error) return {"follow link " + requestedPath.string() + ": " + error.message(), {}};
    }

    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return {"not a file: " + path.string(), {}};

    TemporaryFile temporary(path);
    if (temporary.fd() < 0) return {reason("create a temporary file beside " + path.string()), {}};
    if (::fchmod(temporary.fd(), replacing ? old.st_mode & 07777 : options.newFileMode) != 0)
        return {reason("set the permissions of " + std::string(temporary.name())), {}};
    if (!writeAll(options.write, temporary.fd(), bytes)) return {reason("write " + std::string(temporary.name())), {}};
    if (::fsync(temporary.fd()) != 0) return {reason("flush " + std::string(temporary.name())), {}};
    if (!temporary.close()) return {reason("close " + std::string(temporary.name())), {}};

    AtomicWriteResult result;
    const std::string pendingBackup = replacing && !options.backupPath.empty()
                                          ? keepOldFile(path, options.backupPath, result.backupProblem)
                                          : std::string();
    if (::rename(temporary.name(), path.c_str()) != 0) {
        result.error = reason("replace " + path.string());
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        return result;
    }
    temporary.release();
    if (!pendingBackup.empty() && ::rename(pendingBackup.c_str(), options.backupPath.c_str()) != 0) {
        result.backupProblem = reason("no backup of " + path.string());
        ::unlink(pendingBackup.c_str());
    }
    syncFolder(path.parent_path());
    return result;
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
