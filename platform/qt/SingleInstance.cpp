#include "platform/qt/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
#include <cstdlib>

#include "platform/Trace.h"

namespace mousecfg::qt {
namespace {

std::string SafeName(const std::string& name) {
    std::string safe;
    for (const char c : name) {
        safe += (c == '/' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    }
    return safe;
}

// Reads complete lines from `socket` and answers each with the handler's text.
void ServeLines(QLocalSocket* socket, const std::shared_ptr<std::function<std::string(const std::string&)>>& handler) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(SingleInstance::kMaxRequest + 1).trimmed();
        std::string answer = *handler ? (*handler)(line.toStdString()) : std::string();
        socket->write(QByteArray::fromStdString((answer.empty() ? std::string("ok") : answer) + "\n"));
        socket->flush();
    }
    if (socket->bytesAvailable() > static_cast<qint64>(SingleInstance::kMaxRequest)) {
        socket->abort();
    }
}

}  // namespace

SingleInstance::SingleInstance(std::string name, std::filesystem::path folder)
    : name_(std::move(name)),
      folder_(std::move(folder)),
      handler_(std::make_shared<std::function<std::string(const std::string&)>>()) {}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

std::filesystem::path SingleInstance::RuntimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && runtime[0] == '/') {
        return runtime;
    }
    const std::filesystem::path folder = "/tmp/mousecfg-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

std::filesystem::path SingleInstance::SocketPath(const std::string& name, const std::filesystem::path& folder) {
    return folder / (SafeName(name) + ".socket");
}

SingleInstance::Role SingleInstance::Claim(const std::string& request, std::chrono::milliseconds timeout) {
    if (name_.empty()) {
        return Role::First;
    }
    const std::filesystem::path lock = folder_ / (SafeName(name_) + ".lock");
    lockFd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        trace::Printf("single instance: cannot open %s (errno %d); starting anyway\n", lock.c_str(), errno);
        return Role::First;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd_);
        lockFd_ = -1;
        delivered_ = Send(name_, folder_, request, timeout).has_value();
        return Role::Second;
    }
    Listen();
    return Role::First;
}

void SingleInstance::Listen() {
    const QString path = QString::fromStdString(SocketPath(name_, folder_).string());
    QLocalServer::removeServer(path);  // a socket file left by an instance that ended without cleaning up
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        trace::Printf("single instance: cannot listen on %s\n", path.toStdString().c_str());
        return;
    }
    QLocalServer* server = server_.get();
    auto handler = handler_;
    QObject::connect(server, &QLocalServer::newConnection, server, [server, handler] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, handler] { ServeLines(socket, handler); });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            ServeLines(socket, handler);
        }
    });
}

void SingleInstance::SetRequestHandler(std::function<std::string(const std::string&)> handler) {
    *handler_ = std::move(handler);
}

std::optional<std::string> SingleInstance::Send(const std::string& name, const std::filesystem::path& folder,
                                                const std::string& request, std::chrono::milliseconds timeout) {
    const QString path = QString::fromStdString(SocketPath(name, folder).string());
    QDeadlineTimer deadline(timeout.count());
    QLocalSocket socket;
    // The first instance may hold the lock but not listen yet: try again until the deadline.
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            break;
        }
        if (deadline.hasExpired()) {
            return std::nullopt;
        }
        QThread::msleep(50);
    }
    socket.write(QByteArray::fromStdString(request.substr(0, kMaxRequest) + "\n"));
    if (!socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
        return std::nullopt;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())))) {
            return std::nullopt;
        }
    }
    return socket.readLine(kMaxRequest).trimmed().toStdString();
}

}  // namespace mousecfg::qt
