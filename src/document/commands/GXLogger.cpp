#include "document/commands/GXLogger.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/commands/JournalNames.h"

namespace ch {
namespace {

void writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

GXLogger::GXLogger(std::string fileName) : mLogFileName(std::move(fileName)) {}

GXLogger::~GXLogger()
{
    releaseLogFile();
}

void GXLogger::setLogFileName(std::string fileName)
{
    if (fileName == mLogFileName) return;
    releaseLogFile();
    mLogFileName = std::move(fileName);
}

int GXLogger::logFileHandle()
{
    if (mLogFileHandle >= 0 || mLogFileName.empty()) return mLogFileHandle;
    // Created here: owner only, and the header goes in first.
    int fd = ::open(mLogFileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        if (std::optional<std::string> initial = initialString()) writeAll(fd, *initial);
    } else if (errno == EEXIST) {
        // Without waiting: a pipe of that name would hold the window until
        // someone read it. Only a regular file is written to.
        fd = ::open(mLogFileName.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd);
            fd = -1;
        }
        if (fd < 0 && ::stat(mLogFileName.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) mOtherThanAFile = true;
    }
    mLogFileHandle = fd;
    return mLogFileHandle;
}

void GXLogger::logString(std::string_view text)
{
    int fd = logFileHandle();
    if (fd >= 0) writeAll(fd, text);
}

int GXLogger::syncLogFile(const SyncFile& sync)
{
    if (mLogFileHandle < 0) return 0;
    const int result = sync ? sync(mLogFileHandle) : ::fsync(mLogFileHandle);
    return result == 0 ? 0 : errno;
}

void GXLogger::releaseLogFile()
{
    if (mLogFileHandle < 0) return;
    ::fsync(mLogFileHandle);
    ::close(mLogFileHandle);
    mLogFileHandle = -1;
}

void GXLogger::clearLogFile()
{
    releaseLogFile();
    if (mLogFileName.empty()) return;
    const std::string backup = backupPathForJournal(mLogFileName);
    std::remove(backup.c_str());
    std::rename(mLogFileName.c_str(), backup.c_str());
    std::remove(mLogFileName.c_str());
}

std::uintmax_t GXLogger::logFileLength() const
{
    struct stat info {};
    if (mLogFileName.empty() || ::stat(mLogFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<std::uintmax_t>(info.st_size);
}

void GXLogger::truncateLogFile(std::uintmax_t length)
{
    releaseLogFile();
    if (mLogFileName.empty()) return;
    if (length == 0) {
        std::remove(mLogFileName.c_str());
    } else if (length < logFileLength()) {
        [[maybe_unused]] const int failed = ::truncate(mLogFileName.c_str(), static_cast<off_t>(length));
    }
}

} // namespace ch
