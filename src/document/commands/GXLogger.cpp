#include "document/commands/GXLogger.h"

#include <cerrno>
#include <cstdio>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/commands/JournalNames.h"

namespace ch {
namespace {

MoveFile& journalMove()
{
    static MoveFile move;
    return move;
}

// 0, or the system's error number of the write that failed.
int writeAll(int fd, std::string_view text, const WriteBytes& write)
{
    while (!text.empty()) {
        ssize_t written = write ? write(fd, text.data(), text.size()) : ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno != 0 ? errno : EIO;
        }
        if (written == 0) return EIO;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
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
        if (std::optional<std::string> initial = initialString()) {
            if (const int error = writeAll(fd, *initial, mWrite)) mWriteError = error;
        }
    } else if (errno == EEXIST) {
        // Without waiting: a pipe of that name would hold the window until
        // someone read it. Only a regular file is written to.
        fd = ::open(mLogFileName.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
        const int openError = errno;
        struct stat info {};
        if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
            ::close(fd);
            fd = -1;
            mOtherThanAFile = true;
        } else if (fd < 0 && (::stat(mLogFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) {
            // A folder, a link that leads nowhere or round in circles.
            mOtherThanAFile = true;
        }
        if (fd < 0) errno = openError;
    }
    if (fd < 0 && !mOtherThanAFile && mWriteError == 0) mWriteError = errno != 0 ? errno : EIO;
    mLogFileHandle = fd;
    return mLogFileHandle;
}

void GXLogger::logString(std::string_view text)
{
    // Behind a failed write the file may hold half an entry, and what
    // followed it could not be read back: nothing more is written.
    if (mWriteError != 0) return;
    int fd = logFileHandle();
    if (fd < 0 || mWriteError != 0) return;
    if (const int error = writeAll(fd, text, mWrite)) mWriteError = error;
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

MoveFile setJournalMove(MoveFile move)
{
    std::swap(journalMove(), move);
    return move;
}

int moveJournalFile(const std::string& from, const std::string& to)
{
    if (const MoveFile& move = journalMove()) return move(from, to);
    return std::rename(from.c_str(), to.c_str());
}

void GXLogger::clearLogFile()
{
    releaseLogFile();
    // Only a journal is rotated: what else stands at its name (a folder, a
    // pipe, a link to nowhere) is not ours and stays where it is.
    if (mLogFileName.empty()) return;
    struct stat info {};
    const bool somethingThere = ::lstat(mLogFileName.c_str(), &info) == 0;
    if (somethingThere && (::stat(mLogFileName.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) return;
    const std::string backup = backupPathForJournal(mLogFileName);
    std::remove(backup.c_str());
    if (somethingThere) moveJournalFile(mLogFileName, backup);
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
