#include "bridge/DeveloperLog.h"

#include <cstdio>
#include <utility>

namespace ch {

namespace {
std::function<void(const std::string&)>& capture()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}
} // namespace

void developerLog(std::string_view message)
{
    if (auto& handler = capture()) {
        handler(std::string(message));
        return;
    }
    std::fprintf(stderr, "Countinghouse: %.*s\n", static_cast<int>(message.size()), message.data());
}

ScopedDeveloperLogCapture::ScopedDeveloperLogCapture(std::function<void(const std::string&)> handler)
    : mPrevious(std::exchange(capture(), std::move(handler)))
{
}

ScopedDeveloperLogCapture::~ScopedDeveloperLogCapture()
{
    capture() = std::move(mPrevious);
}

} // namespace ch
