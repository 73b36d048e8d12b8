#include "document/BooksLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>

namespace ch {

namespace {

struct Held {
    int fd = -1;
    int holders = 0;
};

// The locks this process holds, by path: a lock is one open file, so that a
// second holder here does not lock itself out.
std::map<std::string, Held>& heldLocks()
{
    static std::map<std::string, Held> locks;
    return locks;
}

std::string lockPathFor(const std::string& booksPath)
{
    return booksPath;
}

// An open file of the path, locked; -1 with errno when not.
int lockedFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

bool BooksLock::hold(const std::string& booksPath)
{
    const std::string lockPath = lockPathFor(booksPath);
    if (lockPath == mPath) return true;
    auto& locks = heldLocks();
    if (auto found = locks.find(lockPath); found != locks.end()) {
        release();
        ++found->second.holders;
        mPath = lockPath;
        return true;
    }
    const int fd = lockedFile(lockPath);
    if (fd < 0) {
        if (errno == EWOULDBLOCK) return false;
        // No file yet (a Save As takes it once written) or none to be read.
        release();
        return true;
    }
    release();
    locks[lockPath] = Held{fd, 1};
    mPath = lockPath;
    return true;
}

void BooksLock::release()
{
    if (mPath.empty()) return;
    auto& locks = heldLocks();
    if (auto found = locks.find(mPath); found != locks.end() && --found->second.holders == 0) {
        ::close(found->second.fd);
        locks.erase(found);
    }
    mPath.clear();
}

void BooksLock::renew()
{
    if (mPath.empty()) return;
    auto& locks = heldLocks();
    auto found = locks.find(mPath);
    if (found == locks.end()) return;
    const int fd = lockedFile(mPath);
    if (fd < 0) return;
    ::close(found->second.fd);
    found->second.fd = fd;
}

} // namespace ch
