#pragma once
// Messages for developers (not for users): written to standard error, or to
// a capture installed by a test.

#include <functional>
#include <string>
#include <string_view>

namespace ch {

void developerLog(std::string_view message);

// While alive, developer messages go to the handler instead.
class ScopedDeveloperLogCapture {
public:
    explicit ScopedDeveloperLogCapture(std::function<void(const std::string&)> handler);
    ~ScopedDeveloperLogCapture();
    ScopedDeveloperLogCapture(const ScopedDeveloperLogCapture&) = delete;
    ScopedDeveloperLogCapture& operator=(const ScopedDeveloperLogCapture&) = delete;

private:
    std::function<void(const std::string&)> mPrevious;
};

} // namespace ch
