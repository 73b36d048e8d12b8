#pragma once
// Reading a web page over HTTP(S), blocking: for worker threads only, never
// the main thread. Every fetch is bounded in time and size, follows at most a
// few redirects and speaks no other protocol, so a dead or hostile server
// costs at most the time limit. A fetch can also be called off from another
// thread (see HttpCancelScope): it then ends within about a second.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace ch {

struct HttpLimits {
    std::chrono::milliseconds timeout{15000};          // the whole fetch
    std::chrono::milliseconds connectTimeout{5000};
    std::size_t maxBytes = std::size_t(4) << 20;       // a longer body fails
};

struct HttpResponse {
    long status = 0;          // the HTTP status; 0 when none arrived
    std::string body;
    std::string charset;      // from the Content-Type header, lower case; empty when none
    std::string error;        // why the page could not be read; empty on success

    bool ok() const { return error.empty(); }
};

// A status outside 200..299 counts as a failure; so does a fetch called off.
HttpResponse httpGet(const std::string& url, const HttpLimits& limits = {});

// While one lives, every httpGet on its thread ends as a failure ("cancelled")
// as soon as the flag is set, from any thread: the owner of the worker can
// stop it without waiting for a dead server's time limit. The flag must
// outlive the scope. Scopes nest; the innermost one counts.
class HttpCancelScope {
public:
    explicit HttpCancelScope(const std::atomic<bool>& cancelled);
    ~HttpCancelScope();
    HttpCancelScope(const HttpCancelScope&) = delete;
    HttpCancelScope& operator=(const HttpCancelScope&) = delete;

private:
    const std::atomic<bool>* mPrevious;
};

// The text with everything but unreserved characters (letters, digits,
// "-", ".", "_", "~") written as %XX, for a query value.
std::string percentEncode(std::string_view text);

} // namespace ch
