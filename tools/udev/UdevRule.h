#pragma once

#include <string>
#include <vector>

#include "device/CatalogueReader.h"

// The udev rule that gives the user logged in at the seat access to the HID nodes of the catalogue's devices, so
// the programs run without root.
namespace mousecfg::udev {

// A HID device as udev names it: "BBBB:VVVV:PPPP" (bus, vendor and product in upper-case hexadecimal), the
// parent of a hidraw node being "BBBB:VVVV:PPPP.NNNN".
struct HidDeviceId {
    int bus = 0;  // 0x0003 USB (cable and receiver), 0x0005 Bluetooth
    int vendorId = 0;
    int productId = 0;
    bool operator==(const HidDeviceId&) const = default;
};

// Every vendor and product pair of the catalogue on the USB and the Bluetooth bus, in catalogue order without
// repeats; pairs the catalogue could not read (-1) are left out.
std::vector<HidDeviceId> CatalogueDeviceIds(const Catalogue& catalogue);

// The rule file's text: one line per device, matching its hidraw nodes and tagging them "uaccess".
std::string RuleText(const std::vector<HidDeviceId>& devices);

}  // namespace mousecfg::udev
