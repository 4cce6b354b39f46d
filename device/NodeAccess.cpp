#include "device/NodeAccess.h"

#include <unistd.h>

#include "device/FindDev.h"
#include "platform/HidBackend.h"

namespace mousecfg {
namespace {

bool NodeReadableAndWritable(const std::string& path) {
    return ::access(path.c_str(), R_OK | W_OK) == 0;
}

bool Lists(const DeviceRecord& record, const HidInterfaceInfo& info) {
    for (size_t i = 0; i < record.productIds.size() && i < record.vendorIds.size(); ++i) {
        if (record.productIds[i] == info.productId && record.vendorIds[i] == info.vendorId) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<UnreadableDevice> FindUnreadableDevice(const FindDev& catalogue, HidBackend& backend,
                                                     const std::function<bool(const std::string&)>& accessible) {
    const auto check = accessible ? accessible : NodeReadableAndWritable;
    const std::vector<HidInterfaceInfo> interfaces = backend.Enumerate();
    for (size_t index = 0; index < catalogue.Count(); ++index) {
        const DeviceRecord record = catalogue.Record(index);
        if (record.present) {
            continue;
        }
        for (const HidInterfaceInfo& info : interfaces) {
            if (Lists(record, info) && !check(info.path)) {
                return UnreadableDevice{info.path, record.ModelName()};
            }
        }
    }
    return std::nullopt;
}

std::string UnreadableDeviceMessage(const UnreadableDevice& device) {
    const std::string name = device.name.empty() ? "a supported mouse" : device.name;
    return name + " is connected, but this user may not read and write its device node " + device.path +
           ". Install the udev rule " + kUdevRuleName +
           " (see the README: \"Device access\"), then " +
           (device.bluetooth ? "reconnect the mouse" : "unplug and plug in the mouse") + " or log in again.";
}

}  // namespace mousecfg
