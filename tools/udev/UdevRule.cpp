#include "tools/udev/UdevRule.h"

#include <algorithm>
#include <cstdio>

namespace mousecfg::udev {
namespace {

constexpr int kUsbBus = 0x0003;
constexpr int kBluetoothBus = 0x0005;

std::string KernelPattern(const HidDeviceId& device) {
    char text[32];
    std::snprintf(text, sizeof text, "%04X:%04X:%04X.*", device.bus, device.vendorId, device.productId);
    return text;
}

}  // namespace

std::vector<HidDeviceId> CatalogueDeviceIds(const Catalogue& catalogue) {
    std::vector<HidDeviceId> devices;
    for (const int bus : {kUsbBus, kBluetoothBus}) {
        for (const DeviceRecord& record : catalogue.records) {
            for (size_t i = 0; i < record.productIds.size() && i < record.vendorIds.size(); ++i) {
                const HidDeviceId device{bus, record.vendorIds[i], record.productIds[i]};
                if (device.vendorId >= 0 && device.productId >= 0 &&
                    std::find(devices.begin(), devices.end(), device) == devices.end()) {
                    devices.push_back(device);
                }
            }
        }
    }
    return devices;
}

std::string RuleText(const std::vector<HidDeviceId>& devices) {
    std::string text =
        "# Access to the HID nodes of the mice mousecfg supports, for the user logged in at the seat: by cable or\n"
        "# through the receiver (USB, bus 0003) and over Bluetooth (bus 0005). Made from the device catalogue at\n"
        "# build time. After installing it: udevadm control --reload && udevadm trigger --subsystem-match=hidraw\n";
    for (const HidDeviceId& device : devices) {
        text += "SUBSYSTEM==\"hidraw\", KERNELS==\"" + KernelPattern(device) + "\", TAG+=\"uaccess\"\n";
    }
    return text;
}

}  // namespace mousecfg::udev
