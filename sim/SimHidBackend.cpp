#include "sim/SimHidBackend.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>

#include "platform/DeviceChange.h"
#include "sim/VirtualMouse.h"

namespace mousecfg::sim {
namespace {

constexpr uint16_t kInputUsagePage = 0xFF00;
constexpr uint16_t kFeatureUsagePage = 0xFF01;
constexpr uint16_t kVendorUsage = 1;
constexpr uint16_t kUsbBus = 0x0003;
constexpr uint16_t kBluetoothBus = 0x0005;
constexpr size_t kSimInputReportLength = 16;
// Unread input reports kept per handle; like the kernel's buffer, the oldest are lost when a reader lags.
constexpr size_t kMaxQueuedReports = 64;

std::string InterfacePath(SimAttachment attachment, uint16_t productId, int plugNumber, uint16_t usagePage) {
    char path[80];
    if (attachment == SimAttachment::Ble) {
        std::snprintf(path, sizeof path, "sim://ble/%04X:%04X:%04X.%04X", kBluetoothBus, kSimVendorId, productId,
                      plugNumber);
    } else {
        std::snprintf(path, sizeof path, "sim://%s/%04X:%04X:%04X.%04X/%04X",
                      attachment == SimAttachment::Cable ? "cable" : "receiver", kUsbBus, kSimVendorId, productId,
                      plugNumber, usagePage);
    }
    return path;
}

uint16_t ProductId(SimAttachment attachment) {
    switch (attachment) {
        case SimAttachment::Cable: return kSimCableProductId;
        case SimAttachment::Receiver: return kSimReceiverProductId;
        case SimAttachment::Ble: return kSimBleProductId;
    }
    return 0;
}

}  // namespace

// One plugged device. Its handles keep it alive after it has left the backend's map.
struct SimHidBackend::Device {
    std::vector<HidInterfaceInfo> interfaces;  // fixed once plugged

    // State below is protected by mutex. It is never held while the mouse's input listeners are being called
    // by the mouse, except inside Deliver, which the mouse calls without its own lock.
    std::mutex mutex;
    VirtualMouse* mouse = nullptr;  // null once unplugged
    VirtualMouse::ListenerId listenerId = 0;
    std::vector<Handle*> handles;  // open handles, which remove themselves when closed

    void Deliver(const std::vector<uint8_t>& report);
};

class SimHidBackend::Handle final : public HidHandle {
public:
    // What the handle carries: feature reports (the feature collection, or a BLE node) and input reports (the
    // input collection, or a BLE node).
    Handle(std::shared_ptr<Device> device, bool features, bool input, std::shared_ptr<std::atomic<int>> openHandles)
        : device_(std::move(device)), features_(features), input_(input), openHandles_(std::move(openHandles)) {}
    ~Handle() override { Close(); }

    // Joins the device's open handles; false when the device has been unplugged meanwhile.
    bool Attach() {
        std::lock_guard<std::mutex> lock(device_->mutex);
        if (device_->mouse == nullptr) {
            return false;
        }
        open_ = true;
        device_->handles.push_back(this);
        ++*openHandles_;
        return true;
    }

    bool SetFeatureReport(std::span<const uint8_t> report) override {
        // The device lock is held during the call so that Unplug cannot return while the mouse is still in use.
        std::lock_guard<std::mutex> lock(device_->mutex);
        return UsableLocked() && features_ && device_->mouse->SetFeature(report);
    }

    bool GetFeatureReport(std::span<uint8_t> report) override {
        std::lock_guard<std::mutex> lock(device_->mutex);
        return UsableLocked() && features_ && device_->mouse->GetFeature(report);
    }

    int ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        std::unique_lock<std::mutex> lock(device_->mutex);
        const auto ready = [&] { return !UsableLocked() || !queue_.empty(); };
        if (timeoutMs < 0) {
            arrived_.wait(lock, ready);
        } else {
            arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        }
        if (!UsableLocked()) {
            return -1;
        }
        if (queue_.empty()) {
            return 0;
        }
        const std::vector<uint8_t> report = std::move(queue_.front());
        queue_.pop_front();
        const size_t length = std::min(buffer.size(), report.size());
        std::copy_n(report.begin(), length, buffer.begin());
        return static_cast<int>(length);
    }

    void Close() override {
        std::lock_guard<std::mutex> lock(device_->mutex);
        if (!open_) {
            return;
        }
        open_ = false;
        auto& handles = device_->handles;
        handles.erase(std::remove(handles.begin(), handles.end(), this), handles.end());
        queue_.clear();
        arrived_.notify_all();
        --*openHandles_;
    }

    bool IsOpen() const override {
        std::lock_guard<std::mutex> lock(device_->mutex);
        return open_;
    }

    // Called with the device's mutex held.
    void QueueLocked(const std::vector<uint8_t>& report) {
        if (!input_) {
            return;  // only the input collection carries input reports
        }
        if (queue_.size() >= kMaxQueuedReports) {
            queue_.pop_front();
        }
        queue_.push_back(report);
        arrived_.notify_all();
    }
    void WakeLocked() { arrived_.notify_all(); }

private:
    bool UsableLocked() const { return open_ && device_->mouse != nullptr; }

    const std::shared_ptr<Device> device_;
    const bool features_;
    const bool input_;
    const std::shared_ptr<std::atomic<int>> openHandles_;
    // State below is protected by device_->mutex.
    std::condition_variable arrived_;
    std::deque<std::vector<uint8_t>> queue_;
    bool open_ = false;
};

void SimHidBackend::Device::Deliver(const std::vector<uint8_t>& report) {
    std::lock_guard<std::mutex> lock(mutex);
    if (mouse == nullptr) {
        return;
    }
    for (Handle* handle : handles) {
        handle->QueueLocked(report);
    }
}

SimHidBackend::SimHidBackend() = default;

SimHidBackend::~SimHidBackend() {
    std::map<SimAttachment, std::shared_ptr<Device>> devices;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        devices.swap(devices_);
    }
    // The mice may go right after the backend: no handle may reach them any more.
    for (const auto& [attachment, device] : devices) {
        Disconnect(device);
    }
}

std::vector<std::string> SimHidBackend::Plug(SimAttachment attachment, VirtualMouse& mouse,
                                             const std::string& productString) {
    return PlugInterfaces(attachment, mouse, productString, {kInputUsagePage, kFeatureUsagePage});
}

std::string SimHidBackend::PlugSingleInterface(SimAttachment attachment, VirtualMouse& mouse, uint16_t usagePage) {
    return PlugInterfaces(attachment, mouse, "Virtual Mouse", {usagePage}).front();
}

std::vector<std::string> SimHidBackend::PlugInterfaces(SimAttachment attachment, VirtualMouse& mouse,
                                                       const std::string& productString,
                                                       const std::vector<uint16_t>& pages) {
    auto device = std::make_shared<Device>();
    device->mouse = &mouse;
    // The listener holds the device weakly: it may be called once more while the device is being unplugged.
    device->listenerId = mouse.AddInputListener([weak = std::weak_ptr<Device>(device)](const auto& report) {
        if (const auto alive = weak.lock()) {
            alive->Deliver(report);
        }
    });

    const uint16_t productId = ProductId(attachment);
    const bool ble = attachment == SimAttachment::Ble;
    std::vector<std::string> paths;
    std::shared_ptr<Device> replaced;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const int plugNumber = ++plugCounter_;
        for (uint16_t page : pages) {
            HidInterfaceInfo info;
            info.path = InterfacePath(attachment, productId, plugNumber, page);
            info.vendorId = kSimVendorId;
            info.productId = productId;
            info.usagePage = page;
            info.usage = kVendorUsage;
            info.productString = productString;
            info.interfaceNumber = ble ? -1 : page == kInputUsagePage ? 0 : 1;
            info.busType = ble ? kBluetoothBus : kUsbBus;
            info.inputReportLength = kSimInputReportLength;
            device->interfaces.push_back(info);
            if (std::find(paths.begin(), paths.end(), info.path) == paths.end()) {
                paths.push_back(info.path);
            }
        }
        auto& slot = devices_[attachment];
        replaced = std::move(slot);
        slot = device;
    }
    if (replaced) {
        Disconnect(replaced);
        Announce(kDeviceRemoval, NodePaths(*replaced));
    }
    Announce(kDeviceArrival, paths);
    return paths;
}

std::vector<std::string> SimHidBackend::Unplug(SimAttachment attachment) {
    std::shared_ptr<Device> device;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = devices_.find(attachment);
        if (found == devices_.end()) {
            return {};
        }
        device = std::move(found->second);
        devices_.erase(found);
    }
    Disconnect(device);
    const std::vector<std::string> paths = NodePaths(*device);
    Announce(kDeviceRemoval, paths);
    return paths;
}

std::vector<std::string> SimHidBackend::NodePaths(const Device& device) {
    std::vector<std::string> paths;
    for (const auto& info : device.interfaces) {
        if (std::find(paths.begin(), paths.end(), info.path) == paths.end()) {
            paths.push_back(info.path);
        }
    }
    return paths;
}

void SimHidBackend::SetDeviceChangeSink(MessageSink* sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    changeSink_ = sink;
}

void SimHidBackend::Announce(uintptr_t change, const std::vector<std::string>& paths) const {
    MessageSink* sink = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sink = changeSink_;
    }
    // Posted without the backend's lock: the receiver may enumerate or open at once.
    if (sink != nullptr) {
        for (const auto& path : paths) {
            sink->Post(MakeDeviceChangeMessage(change, path));
        }
    }
}

void SimHidBackend::Disconnect(const std::shared_ptr<Device>& device) {
    VirtualMouse* mouse = nullptr;
    VirtualMouse::ListenerId listenerId = 0;
    {
        std::lock_guard<std::mutex> lock(device->mutex);
        std::swap(mouse, device->mouse);
        listenerId = device->listenerId;
        for (Handle* handle : device->handles) {
            handle->WakeLocked();
        }
    }
    // Not under the device's lock: removal waits for a running listener, which takes that lock.
    if (mouse != nullptr) {
        mouse->RemoveInputListener(listenerId);
    }
}

std::vector<HidInterfaceInfo> SimHidBackend::Enumerate() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<HidInterfaceInfo> result;
    for (const auto& [attachment, device] : devices_) {
        result.insert(result.end(), device->interfaces.begin(), device->interfaces.end());
    }
    return result;
}

// The access mode is not enforced: as on the system, feature reports work on handles opened either way.
std::shared_ptr<HidHandle> SimHidBackend::Open(const std::string& path, HidAccess /*access*/) {
    std::shared_ptr<Device> device;
    bool features = false;
    bool input = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [attachment, candidate] : devices_) {
            for (const auto& info : candidate->interfaces) {
                if (info.path == path) {
                    device = candidate;
                    features = features || info.usagePage == kFeatureUsagePage;
                    input = input || info.usagePage == kInputUsagePage;
                }
            }
        }
    }
    if (!device) {
        return nullptr;
    }
    auto handle = std::make_shared<Handle>(device, features, input, openHandles_);
    if (!handle->Attach()) {
        return nullptr;  // unplugged between the lookup and now
    }
    return handle;
}

int SimHidBackend::OpenHandleCount() const { return openHandles_->load(); }

}  // namespace mousecfg::sim
