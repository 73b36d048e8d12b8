#include "document/SafeFileWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bridge/DeveloperLog.h"

namespace ch {
namespace {

std::string reason(const std::string& step)
{
    return step + ": " + std::strerror(errno);
}

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& beside)
    {
        const std::filesystem::path target(beside);
        std::string pattern =
            (target.parent_path() / ("." + target.filename().string() + ".saving-XXXXXX")).string();
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

// The old file under a temporary backup name, or empty when it could not be
// kept (reported to the developer log; the write goes on).
std::string keepOldFile(const std::string& path, const std::string& backupPath)
{
    const std::string pending = backupPath + ".pending";
    ::unlink(pending.c_str());
    if (::link(path.c_str(), pending.c_str()) == 0) return pending;
    std::error_code error;
    if (std::filesystem::copy_file(path, pending, std::filesystem::copy_options::overwrite_existing, error))
        return pending;
    developerLog("No backup of " + path + ": " + error.message());
    ::unlink(pending.c_str());
    return {};
}

} // namespace

SafeWriteResult writeFileSafely(const std::string& requestedPath, std::span<const std::uint8_t> bytes,
                                const SafeWriteOptions& options)
{
    std::error_code error;
    std::string path = requestedPath;
    if (std::filesystem::is_symlink(path, error)) {
        std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
        if (error) return {"follow link: " + error.message()};
        path = target.string();
    }

    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return {"not a file: " + path};

    TemporaryFile temporary(path);
    if (temporary.fd() < 0) return {reason("create temporary file")};
    if (replacing) ::fchmod(temporary.fd(), old.st_mode & 07777);
    if (!writeAll(options.write, temporary.fd(), bytes)) return {reason("write")};
    if (::fsync(temporary.fd()) != 0) return {reason("flush")};
    if (!temporary.close()) return {reason("close")};

    const std::string pendingBackup =
        replacing && !options.backupPath.empty() ? keepOldFile(path, options.backupPath) : std::string();
    if (::rename(temporary.name(), path.c_str()) != 0) {
        SafeWriteResult failed{reason("rename")};
        if (!pendingBackup.empty()) ::unlink(pendingBackup.c_str());
        return failed;
    }
    temporary.release();
    if (!pendingBackup.empty() && ::rename(pendingBackup.c_str(), options.backupPath.c_str()) != 0) {
        developerLog(reason("No backup of " + path));
        ::unlink(pendingBackup.c_str());
    }
    syncFolder(std::filesystem::path(path).parent_path());
    return {};
}

FileContents readWholeFile(const std::string& path, std::size_t maxSize)
{
    FileContents contents;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        contents.error = reason("open");
        return contents;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        contents.error = reason("stat");
        ::close(fd);
        return contents;
    }
    if (!S_ISREG(info.st_mode)) {
        contents.error = "not a file";
        ::close(fd);
        return contents;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxSize) {
        contents.error = "larger than " + std::to_string(maxSize) + " bytes";
        ::close(fd);
        return contents;
    }
    contents.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < contents.bytes.size()) {
        ssize_t got = ::read(fd, contents.bytes.data() + done, contents.bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            // A file that shrank while it was read is refused, not read in part.
            contents.error = got < 0 ? reason("read") : "the file changed while it was read";
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (!contents.error.empty()) contents.bytes.clear();
    return contents;
}

} // namespace ch
