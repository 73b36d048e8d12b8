#pragma once
// Reading a web page over HTTP(S), blocking: for worker threads only, never
// the main thread. Every fetch is bounded in time and size, follows at most a
// few redirects and speaks no other protocol, so a dead or hostile server
// costs at most the time limit.

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

// A status outside 200..299 counts as a failure.
HttpResponse httpGet(const std::string& url, const HttpLimits& limits = {});

// The text with everything but unreserved characters (letters, digits,
// "-", ".", "_", "~") written as %XX, for a query value.
std::string percentEncode(std::string_view text);

} // namespace ch
