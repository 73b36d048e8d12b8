#include "platform/core/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ch {
namespace {

bool writeAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error, mode_t mode)
{
    auto failWith = [&](std::string message) {
        if (error) *error = std::move(message);
        return false;
    };
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failWith("cannot create a temporary file beside " + path.string() + ": " + std::strerror(errno));
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temporary.c_str());
        return failWith("cannot write " + temporary + ": " + std::strerror(written ? errno : savedErrno));
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(temporary.c_str());
        return failWith("cannot replace " + path.string() + ": " + std::strerror(renameErrno));
    }
    return true;
}

} // namespace ch
