#include "platform/UdevMonitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/DeviceChange.h"
#include "platform/Trace.h"

namespace mousecfg {

std::optional<Message> DeviceChangeFromUdev(std::string_view action, std::string_view sysPath) {
    if (sysPath.empty()) {
        return std::nullopt;
    }
    if (action == "add") {
        return MakeDeviceChangeMessage(kDeviceArrival, std::string(sysPath));
    }
    if (action == "remove") {
        return MakeDeviceChangeMessage(kDeviceRemoval, std::string(sysPath));
    }
    return std::nullopt;
}

UdevMonitor::UdevMonitor(MessageSink& window) : window_(window) {}

UdevMonitor::~UdevMonitor() {
    Stop();
}

Status UdevMonitor::Start() {
    if (thread_.joinable()) {
        return Status::Ok();
    }
    udev_ = udev_new();
    if (udev_ != nullptr) {
        // Events from udevd come after its rules ran, so the node exists with its final permissions.
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    }
    if (monitor_ == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        Release();
        return Status::Error("cannot watch the hidraw devices through udev");
    }
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (stopFd_ < 0) {
        Release();
        return Status::Error(std::string("cannot create the hot-plug stop event: ") + std::strerror(errno));
    }
    thread_ = std::thread([this] { Run(); });
    return Status::Ok();
}

void UdevMonitor::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    const uint64_t one = 1;
    if (write(stopFd_, &one, sizeof one) != sizeof one) {
        trace::Printf("hot-plug monitor: cannot signal stop: %s\n", std::strerror(errno));
    }
    thread_.join();
    Release();
}

void UdevMonitor::Release() {
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
        udev_ = nullptr;
    }
    if (stopFd_ >= 0) {
        close(stopFd_);
        stopFd_ = -1;
    }
}

void UdevMonitor::Run() {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {stopFd_, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            trace::Printf("hot-plug monitor: poll failed: %s\n", std::strerror(errno));
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            continue;
        }
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr) {
            continue;
        }
        const char* action = udev_device_get_action(device);
        const char* sysPath = udev_device_get_syspath(device);
        if (auto message = DeviceChangeFromUdev(action ? action : "", sysPath ? sysPath : "")) {
            window_.Post(std::move(*message));
        }
        udev_device_unref(device);
    }
}

}  // namespace mousecfg
