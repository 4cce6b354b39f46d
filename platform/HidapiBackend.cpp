#include "platform/HidapiBackend.h"

#include <hidapi.h>

#include <algorithm>
#include <chrono>
#include <mutex>

#include "platform/TextEncoding.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

// hidapi's wide strings hold one code point per wchar_t on Linux.
std::string WideToUtf8(const wchar_t* text) {
    std::u32string points;
    for (; text != nullptr && *text != 0; ++text) {
        points += static_cast<char32_t>(*text);
    }
    return Utf32ToUtf8(points);
}

// hidapi's bus kinds as the kernel numbers them (the numbers HidInterfaceInfo uses).
uint16_t KernelBusType(hid_bus_type bus) {
    switch (bus) {
        case HID_API_BUS_USB:
            return 0x0003;
        case HID_API_BUS_BLUETOOTH:
            return 0x0005;
        case HID_API_BUS_I2C:
            return 0x0018;
        case HID_API_BUS_SPI:
            return 0x001C;
        default:
            return 0;
    }
}

// One opened hidraw node. hidapi's calls on one device are not thread-safe, so they are serialised by io_, and
// the device is closed only once no call is using it: Close marks the handle closed, and whoever ends the last
// call closes the device (a blocked read notices within one read slice).
class HidapiHandle final : public HidHandle {
  public:
    explicit HidapiHandle(hid_device* device) : device_(device) {}
    ~HidapiHandle() override { Close(); }

    bool SetFeatureReport(std::span<const uint8_t> report) override {
        return Call([&](hid_device* device) { return hid_send_feature_report(device, report.data(), report.size()); });
    }

    bool GetFeatureReport(std::span<uint8_t> report) override {
        return Call([&](hid_device* device) { return hid_get_feature_report(device, report.data(), report.size()); });
    }

    int ReadInputReport(std::span<uint8_t> buffer, int timeoutMs) override {
        if (!Begin()) {
            return -1;
        }
        const int result = ReadInSlices(buffer, timeoutMs);
        End();
        return result;
    }

    void Close() override {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        CloseIfUnusedLocked();
    }

    bool IsOpen() const override {
        std::lock_guard<std::mutex> lock(mutex_);
        return !closed_;
    }

  private:
    // Runs one hidapi call on the open device; false when the handle is closed or the call failed.
    template <typename HidCall>
    bool Call(HidCall call) {
        if (!Begin()) {
            return false;
        }
        int result = -1;
        {
            std::lock_guard<std::mutex> io(io_);
            result = call(device_);
        }
        End();
        return result >= 0;
    }

    int ReadInSlices(std::span<uint8_t> buffer, int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            int slice = HidapiBackend::kReadSliceMs;
            if (timeoutMs >= 0) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
                slice = static_cast<int>(std::clamp<long long>(left.count(), 0, slice));
            }
            int result = 0;
            {
                std::lock_guard<std::mutex> io(io_);
                result = hid_read_timeout(device_, buffer.data(), buffer.size(), slice);
            }
            if (result != 0) {
                return result < 0 ? -1 : result;  // a failing read means the device has gone
            }
            if (IsClosed()) {
                return -1;
            }
            if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline) {
                return 0;
            }
        }
    }

    bool IsClosed() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return closed_;
    }

    bool Begin() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) {
            return false;
        }
        ++users_;
        return true;
    }

    void End() {
        std::lock_guard<std::mutex> lock(mutex_);
        --users_;
        CloseIfUnusedLocked();
    }

    void CloseIfUnusedLocked() {
        if (closed_ && users_ == 0 && device_ != nullptr) {
            hid_close(device_);
            device_ = nullptr;
        }
    }

    std::mutex io_;  // held during every hidapi call on device_
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    hid_device* device_;
    int users_ = 0;
    bool closed_ = false;
};

}  // namespace

HidapiBackend::HidapiBackend() {
    static const int initialised = hid_init();
    if (initialised != 0) {
        trace::Write("hidapi could not be initialised\n");
    }
}

std::vector<HidInterfaceInfo> HidapiBackend::Enumerate() {
    std::vector<HidInterfaceInfo> result;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        HidInterfaceInfo entry;
        entry.path = info->path != nullptr ? info->path : "";
        entry.vendorId = info->vendor_id;
        entry.productId = info->product_id;
        entry.usagePage = info->usage_page;
        entry.usage = info->usage;
        entry.productString = WideToUtf8(info->product_string);
        entry.interfaceNumber = info->interface_number;
        entry.busType = KernelBusType(info->bus_type);
        result.push_back(std::move(entry));
    }
    hid_free_enumeration(list);
    return result;
}

std::shared_ptr<HidHandle> HidapiBackend::Open(const std::string& path, HidAccess /*access*/) {
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        return nullptr;
    }
    return std::make_shared<HidapiHandle>(device);
}

}  // namespace mousecfg
