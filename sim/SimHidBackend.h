#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/HidBackend.h"
#include "platform/MessageSink.h"

namespace mousecfg::sim {

class VirtualMouse;

// How a virtual mouse is attached: by cable, through the receiver, or paired over Bluetooth LE, where the system
// shows it as one hidraw node on the Bluetooth bus.
enum class SimAttachment { Cable, Receiver, Ble };

// Vendor and product IDs of the virtual devices (the pid.codes test range).
inline constexpr uint16_t kSimVendorId = 0x1209;
inline constexpr uint16_t kSimCableProductId = 0x0007;
inline constexpr uint16_t kSimReceiverProductId = 0x0008;
inline constexpr uint16_t kSimBleProductId = 0x0009;

// An HID backend whose interfaces belong to virtual mice. Each plugged device exposes two interfaces: the
// input collection (usage page 0xFF00, usage 1) that delivers input reports 5, and the feature collection
// (usage page 0xFF01, usage 1) that carries feature reports 6 and 7. Paths have the form
// "sim://<cable|receiver>/0003:VVVV:PPPP.NNNN/<usage page in hex>" (upper-case hex digits, e.g.
// "sim://cable/0003:1209:0007.0001/FF00"), NNNN counting plug-ins. A mouse attached over BLE is one node, as
// hidraw shows a Bluetooth HID device: both collections are listed with the same path
// "sim://ble/0005:1209:0009.NNNN" and bus 0x0005, and a handle of it carries feature and input reports alike.
// Unplugging makes every open handle of the device fail and ends blocked reads with -1. Feature reports go to the
// mouse only through the feature interface; each open handle of the input interface receives every input report
// the mouse produces from the time it is opened (up to 64 unread reports are kept, older ones are lost, as in
// the kernel's report buffer). Handles may outlive the backend; once it is destroyed they fail like unplugged ones.
// Thread-safe.
class SimHidBackend final : public HidBackend {
public:
    SimHidBackend();
    ~SimHidBackend() override;

    // Plugs a device attached as `attachment` that talks to `mouse` (which must outlive the plug-in, that is
    // until Unplug or the backend's destruction). A device already plugged as `attachment` is unplugged first.
    // Returns the paths of its two interfaces (input first; the one node of a BLE device). `productString` is what
    // enumeration reports.
    std::vector<std::string> Plug(SimAttachment attachment, VirtualMouse& mouse,
                                  const std::string& productString = "Virtual Mouse");
    // Unplugs the device attached as `attachment`; returns its interface paths (empty when none was plugged).
    std::vector<std::string> Unplug(SimAttachment attachment);
    // Plug only one of the two interfaces (tests of incomplete devices): usagePage 0xFF00 or 0xFF01.
    std::string PlugSingleInterface(SimAttachment attachment, VirtualMouse& mouse, uint16_t usagePage);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::shared_ptr<HidHandle> Open(const std::string& path, HidAccess access) override;

    // Handles opened and not yet closed.
    int OpenHandleCount() const;

    // Where plugging and unplugging are announced, as the system's hot-plug monitor does: one device-change
    // message (kDeviceChangeMessage, platform/DeviceChange.h) per interface, arrival or removal, posted after the
    // change. Null (the default) announces nothing. `sink` must outlive its use.
    void SetDeviceChangeSink(MessageSink* sink);

private:
    struct Device;
    class Handle;

    std::vector<std::string> PlugInterfaces(SimAttachment attachment, VirtualMouse& mouse,
                                            const std::string& productString, const std::vector<uint16_t>& pages);
    // Cuts the device off its mouse: handles fail, blocked reads end, the mouse's listener is removed.
    static void Disconnect(const std::shared_ptr<Device>& device);
    // The distinct paths of the device's interfaces, in order.
    static std::vector<std::string> NodePaths(const Device& device);
    void Announce(uintptr_t change, const std::vector<std::string>& paths) const;

    mutable std::mutex mutex_;
    std::map<SimAttachment, std::shared_ptr<Device>> devices_;  // guarded by mutex_
    int plugCounter_ = 0;                                        // guarded by mutex_
    MessageSink* changeSink_ = nullptr;                          // guarded by mutex_
    // Shared with the handles, which may outlive the backend.
    std::shared_ptr<std::atomic<int>> openHandles_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace mousecfg::sim
