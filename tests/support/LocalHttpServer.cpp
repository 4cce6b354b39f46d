#include "tests/support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace mousecfg::test {
namespace {

// Waits until `fd` is readable; false when the stop pipe was written first.
bool WaitReadable(int fd, int stopFd) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
    }
    return (fds[1].revents & POLLIN) == 0;
}

void SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return;
        }
        data.remove_prefix(static_cast<size_t>(sent));
    }
}

}  // namespace

LocalHttpServer::Reply LocalHttpServer::Reply::Redirect(const std::string& location) {
    Reply reply(302);
    reply.headers.push_back("Location: " + location);
    return reply;
}

LocalHttpServer::Reply LocalHttpServer::Reply::Hang() {
    Reply reply;
    reply.hang = true;
    return reply;
}

LocalHttpServer::Reply LocalHttpServer::Reply::CutShort(std::string text, size_t after) {
    Reply reply(200, std::move(text));
    reply.cutAfter = after;
    return reply;
}

LocalHttpServer::LocalHttpServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(wake_, O_CLOEXEC) != 0) {
        throw std::runtime_error("the test's HTTP server cannot listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], "x", 1);
    thread_.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void LocalHttpServer::Route(const std::string& path, Reply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = std::move(reply);
}

std::string LocalHttpServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

int LocalHttpServer::Requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = requests_.find(path);
    return it == requests_.end() ? 0 : it->second;
}

void LocalHttpServer::Serve() {
    while (WaitReadable(listener_, wake_[0])) {
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            Answer(client);
            ::close(client);
        }
    }
}

void LocalHttpServer::Answer(int client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (!WaitReadable(client, wake_[0])) {
            return;
        }
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return;
        }
        request.append(buffer, static_cast<size_t>(got));
    }
    const size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    Reply reply(404, "not found");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++requests_[path];
        if (const auto it = routes_.find(path); it != routes_.end()) {
            reply = it->second;
        }
    }
    if (reply.hang) {
        // Until the client closes the connection (its timeout) or the server stops.
        while (WaitReadable(client, wake_[0]) && ::recv(client, buffer, sizeof buffer, 0) > 0) {
        }
        return;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " Test\r\nContent-Length: " +
                       std::to_string(reply.body.size()) + "\r\nConnection: close\r\n";
    for (const std::string& line : reply.headers) {
        head += line + "\r\n";
    }
    SendAll(client, head + "\r\n");
    SendAll(client, std::string_view(reply.body).substr(0, std::min(reply.cutAfter, reply.body.size())));
}

}  // namespace mousecfg::test
