#include "platform/core/whole_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ch {
namespace {

std::string reason(const std::string& step)
{
    return step + ": " + std::strerror(errno);
}

} // namespace

std::uint8_t* ReadBufferAllocator::allocate(std::size_t count)
{
    void* bytes = std::malloc(count ? count : 1);
    if (!bytes) throw std::bad_alloc();
    return static_cast<std::uint8_t*>(bytes);
}

void ReadBufferAllocator::deallocate(std::uint8_t* bytes, std::size_t) noexcept
{
    std::free(bytes);
}

FileContents readWholeFile(const std::string& path, std::size_t maxSize)
{
    FileContents contents;
    // Without waiting: a pipe put where the file was is refused below, not waited on.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    // Filled by the reads below, so not zero-filled first.
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
    if (!contents.error.empty()) contents.bytes = FileBytes();
    return contents;
}

} // namespace ch
