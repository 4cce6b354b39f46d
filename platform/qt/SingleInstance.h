#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLocalServer;

namespace mousecfg::qt {

// One instance of the program per user: a lock file and a local socket in the user's runtime folder, both named
// by the instance name. The first instance holds the lock (the system drops it when the process ends, however it
// ends) and listens on the socket; a later start finds the lock taken and hands its request (one line of text,
// "restore" to bring the first window back) to the first instance over the socket, then exits.
// An empty name claims nothing: every start is a first instance. Used on the Qt thread.
class SingleInstance {
public:
    enum class Role { First, Second };

    SingleInstance(std::string name, std::filesystem::path folder = RuntimeFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Becomes the first instance, or finds another one and delivers `request` to it; `Delivered` then says
    // whether the first instance took it within `timeout` (it may still be starting and not listen yet).
    Role Claim(const std::string& request, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
    bool Delivered() const { return delivered_; }

    // Where the first instance's requests go, one line at a time, on the Qt thread. The answer is sent back to
    // the requesting process ("ok" when the handler returns an empty text).
    void SetRequestHandler(std::function<std::string(const std::string&)> handler);

    // Sends `request` to the first instance of `name` and returns its answer; nothing when none answered.
    static std::optional<std::string> Send(const std::string& name, const std::filesystem::path& folder,
                                           const std::string& request, std::chrono::milliseconds timeout);

    // $XDG_RUNTIME_DIR, or a private folder /tmp/mousecfg-<uid> when it is not set.
    static std::filesystem::path RuntimeFolder();
    // The socket's file for `name` in `folder`; names are made file-safe ("/" and control characters become
    // "_").
    static std::filesystem::path SocketPath(const std::string& name, const std::filesystem::path& folder);

    static constexpr size_t kMaxRequest = 4096;  // a longer line ends the connection

private:
    void Listen();

    std::string name_;
    std::filesystem::path folder_;
    int lockFd_ = -1;
    bool delivered_ = false;
    std::unique_ptr<QLocalServer> server_;
    std::shared_ptr<std::function<std::string(const std::string&)>> handler_;
};

}  // namespace mousecfg::qt
