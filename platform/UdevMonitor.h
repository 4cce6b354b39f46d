#pragma once

#include <optional>
#include <string_view>
#include <thread>

#include "platform/MessageSink.h"
#include "platform/Status.h"

struct udev;
struct udev_monitor;

namespace mousecfg {

// The device-change notification of a udev event of the hidraw subsystem: "add" is an arrival, "remove" a
// removal, both carrying the node's sysfs path (which names the HID device "0003:VVVV:PPPP.NNNN"). Nothing for
// any other action or an empty path. Pure: any thread.
std::optional<Message> DeviceChangeFromUdev(std::string_view action, std::string_view sysPath);

// Watches the hidraw subsystem and posts every arrival and removal to `window` as kDeviceChangeMessage, from a
// thread of its own that sleeps in poll() on the udev socket and a stop event. Start and Stop are called on the
// window's thread; `window` must outlive the monitor.
class UdevMonitor {
  public:
    explicit UdevMonitor(MessageSink& window);
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    // Connects to udev and starts the thread. Fails with a message when udev cannot be reached; calling it
    // while running does nothing.
    Status Start();
    // Stops and joins the thread; nothing when not running.
    void Stop();

  private:
    void Run();
    void Release();

    MessageSink& window_;
    // Created by Start; used only by the monitor thread while it runs.
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int stopFd_ = -1;  // an eventfd that Stop signals
    std::thread thread_;
};

}  // namespace mousecfg
