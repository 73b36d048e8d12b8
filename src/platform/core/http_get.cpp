#include "platform/core/http_get.h"

#include <curl/curl.h>

#include <cctype>
#include <mutex>

namespace ch {

namespace {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

thread_local const std::atomic<bool>* tCancelled = nullptr;

// Called by the client while it waits and transfers: a non-zero answer ends
// the transfer.
int watchCancel(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* cancelled = static_cast<const std::atomic<bool>*>(user);
    return cancelled && cancelled->load() ? 1 : 0;
}

struct Sink {
    std::string* body;
    std::size_t maxBytes;
    bool tooLong = false;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const std::size_t length = size * count;
    if (sink->body->size() + length > sink->maxBytes) {
        sink->tooLong = true;
        return 0;   // ends the transfer
    }
    sink->body->append(data, length);
    return length;
}

std::string charsetOf(const char* contentType)
{
    if (!contentType) return {};
    std::string text(contentType);
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t at = text.find("charset=");
    if (at == std::string::npos) return {};
    std::string charset = text.substr(at + 8);
    const std::size_t end = charset.find_first_of("; \t\"");
    if (end != std::string::npos) charset.erase(end);
    if (!charset.empty() && charset.front() == '"') charset.erase(0, 1);
    return charset;
}

} // namespace

HttpCancelScope::HttpCancelScope(const std::atomic<bool>& cancelled) : mPrevious(tCancelled)
{
    tCancelled = &cancelled;
}

HttpCancelScope::~HttpCancelScope()
{
    tCancelled = mPrevious;
}

HttpResponse httpGet(const std::string& url, const HttpLimits& limits)
{
    initialiseOnce();
    HttpResponse response;
    const std::atomic<bool>* cancelled = tCancelled;
    if (cancelled && cancelled->load()) {
        response.error = "cancelled";
        return response;
    }
    CURL* curl = curl_easy_init();
    if (!curl) {
        response.error = "no HTTP client";
        return response;
    }
    Sink sink{&response.body, limits.maxBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(limits.timeout.count()));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 3L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS, long(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS, long(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Countinghouse");
    if (cancelled) {
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, watchCancel);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, cancelled);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }

    const CURLcode result = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    char* contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    response.charset = charsetOf(contentType);
    curl_easy_cleanup(curl);

    if (result == CURLE_ABORTED_BY_CALLBACK) response.error = "cancelled";
    else if (sink.tooLong) response.error = "the page is too long";
    else if (result != CURLE_OK) response.error = errorText[0] ? errorText : curl_easy_strerror(result);
    else if (response.status < 200 || response.status > 299)
        response.error = "HTTP status " + std::to_string(response.status);
    if (!response.ok()) response.body.clear();
    return response;
}

std::string percentEncode(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' || c == '_' || c == '~') {
            out.push_back(char(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

} // namespace ch
