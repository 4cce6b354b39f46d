#pragma once

#include <functional>
#include <optional>
#include <string>

namespace mousecfg {

class FindDev;
class HidBackend;

// The udev rule file that gives the logged-in user access to the supported devices' HID nodes (made at build
// time from the catalogue by tools/udev and installed into the udev rules folder).
inline constexpr const char* kUdevRuleName = "70-mousecfg.rules";

// A supported device the system has but this user cannot open: its HID node refuses reading or writing.
struct UnreadableDevice {
    std::string path;  // the node, such as /dev/hidraw3
    std::string name;  // the catalogue's name for it
    bool bluetooth = false;  // a mouse paired over Bluetooth LE: it reconnects rather than being plugged in again
};

// Looks for a device of the catalogue among `backend`'s interfaces whose node `accessible` refuses (by default:
// the node cannot be opened for reading and writing by this process). Only records that are not present count;
// nothing when every device of the catalogue is present or absent. Main thread, like discovery.
std::optional<UnreadableDevice> FindUnreadableDevice(
    const FindDev& catalogue, HidBackend& backend,
    const std::function<bool(const std::string& path)>& accessible = {});

// What the user is told about such a device: that it is there, which node refuses access, and the rule to
// install.
std::string UnreadableDeviceMessage(const UnreadableDevice& device);

}  // namespace mousecfg
