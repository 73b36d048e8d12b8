#pragma once
// A small HTTP server on 127.0.0.1 for tests: answers each request for a path
// (query included) with the page given for it, 404 otherwise, after the
// page's delay. Serves until destroyed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ch::test {

// A socket listening on a free port of 127.0.0.1 (the port is set).
inline int listenOnLoopback(int& port)
{
    const int listening = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    ::listen(listening, 8);
    return listening;
}

class LocalHttpServer {
public:
    struct Page {
        std::string body;
        std::chrono::milliseconds delay{0};
    };

    explicit LocalHttpServer(std::map<std::string, Page> pages) : mPages(std::move(pages))
    {
        mSocket = listenOnLoopback(mPort);
        mThread = std::thread([this] { serve(); });
    }
    ~LocalHttpServer()
    {
        mStop = true;
        mThread.join();
        ::close(mSocket);
    }

    std::string address() const { return "http://127.0.0.1:" + std::to_string(mPort); }
    std::vector<std::string> requested() const
    {
        std::lock_guard lock(mMutex);
        return mRequested;
    }

private:
    void serve()
    {
        while (!mStop) {
            pollfd waiting{mSocket, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0) continue;
            const int client = ::accept(mSocket, nullptr, nullptr);
            if (client < 0) continue;
            std::string request;
            char buffer[2048];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) break;
                request.append(buffer, std::size_t(got));
            }
            const std::size_t start = request.find(' ') + 1;
            const std::string path = request.substr(start, request.find(' ', start) - start);
            {
                std::lock_guard lock(mMutex);
                mRequested.push_back(path);
            }
            const auto found = mPages.find(path);
            std::string status = "200 OK", body = "not here";
            if (found == mPages.end()) status = "404 Not Found";
            else {
                body = found->second.body;
                const auto until = std::chrono::steady_clock::now() + found->second.delay;
                while (!mStop && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            const std::string answer = "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n" +
                                       "Content-Length: " + std::to_string(body.size()) +
                                       "\r\nConnection: close\r\n\r\n" + body;
            ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    std::map<std::string, Page> mPages;
    int mSocket = -1;
    int mPort = 0;
    std::atomic<bool> mStop{false};
    std::thread mThread;
    mutable std::mutex mMutex;
    std::vector<std::string> mRequested;
};

} // namespace ch::test
