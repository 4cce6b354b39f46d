#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mousecfg {

// The vendor and product IDs named by a device path.
struct DeviceIds {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    bool operator==(const DeviceIds&) const = default;
};

// Reads the vendor and product IDs out of the path of a device-change notification or of an HID interface.
// Two forms are understood:
//  - the Windows interface form, "\\?\HID#VID_1111&PID_2222#...": the 17 characters from position 8 are
//    "VID_", four hexadecimal digits, "&PID_" and four more digits (letters in either case);
//  - the udev form: a path component "BBBB:VVVV:PPPP.NNNN" (bus, vendor, product, instance, all hexadecimal),
//    as in a hidraw node's sysfs path ".../0003:1209:0007.000A/hidraw/hidraw3" and the virtual mouse's paths;
//    the last such component counts.
// Nothing for a path shorter than 5 characters or one in neither form. Pure: any thread.
std::optional<DeviceIds> ParseDeviceIds(std::string_view path);

}  // namespace mousecfg
