#pragma once

#include <cstddef>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace mousecfg::test {

// A small HTTP/1.1 server on 127.0.0.1 for tests: answers each connection's GET request from a table of
// routes (404 for others) and closes it, one connection at a time, on a thread of its own.
class LocalHttpServer {
public:
    struct Reply {
        Reply(int statusCode = 200, std::string text = {}) : status(statusCode), body(std::move(text)) {}
        // A redirection to `location`; an answer that never comes (until the client gives up or the server
        // stops); `text` announced whole but cut after `after` bytes.
        static Reply Redirect(const std::string& location);
        static Reply Hang();
        static Reply CutShort(std::string text, size_t after);

        int status;
        std::string body;
        std::vector<std::string> headers;  // extra header lines, such as "Location: /next"
        bool hang = false;
        size_t cutAfter = std::numeric_limits<size_t>::max();  // close after this many body bytes
    };

    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void Route(const std::string& path, Reply reply);
    // "http://127.0.0.1:<port>" + path.
    std::string Url(std::string_view path) const;
    // How many requests asked for `path`.
    int Requests(const std::string& path) const;

private:
    void Serve();
    void Answer(int client);

    int listener_ = -1;
    int wake_[2] = {-1, -1};  // written by the destructor to stop the thread
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Reply> routes_;  // guarded by mutex_
    std::map<std::string, int> requests_;  // guarded by mutex_
    std::thread thread_;
};

}  // namespace mousecfg::test
