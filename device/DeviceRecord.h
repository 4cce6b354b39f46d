#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mousecfg {

class HidHandle;

// One device of the catalogue ("NDevice" element of Ndevice.json) with its discovery state. Texts are UTF-8.
// Positions of productIds, vendorIds and names pair up: position i names one device model.
struct DeviceRecord {
    // From the catalogue.
    int kind = 0;                            // "DevType": 1 = the monitor reads its input reports
    std::vector<int> productIds;             // "Pid", hexadecimal, comma-separated
    std::vector<int> vendorIds;              // "Vid"
    std::vector<std::string> names;          // "Ser"
    int isUSB = 0;                           // "isUSB": 0 behind the 2.4 GHz receiver, else a cable device
    std::vector<std::string> productNames;   // "DevName": accepted HID product strings
    std::string normalImage, hotImage, pushedImage;  // "NormalImage", "HotImage", "PushedImage"
    std::string folder;                      // "DevFolder", under res/VeruzUrir/
    std::string typeString;                  // "DevTypeString", the category
    int width = 0, height = 0;               // "Width", "Height"
    std::array<int, 4> padding{};            // "Padding"
    int compareNames = 0;                    // "DevCmpStr": 1 = the product string must be one of productNames
    int number = 0;                          // "DevNO"

    // From the device's model description: PRODUCTNAME of section Init.
    std::string productName;

    // Discovery state.
    std::string name;                        // the "Ser" entry of the pair that matched
    uint16_t receiverValue = 0;              // bytes 14..15 of feature report 7 (kinds other than 1); 255 once removed
    std::string devicePath;                  // the interface that completed the pair of handles, upper case
    bool present = false;                    // both interfaces found and opened
    std::shared_ptr<HidHandle> featureHandle;  // usage page 0xFF01: feature reports 6 and 7
    std::shared_ptr<HidHandle> inputHandle;    // usage page 0xFF00: input report 5
    size_t inputReportLength = 0;            // bytes one read of the input interface needs

    // The name configuration files and macro bindings know the device by: the matched "Ser" entry, else the
    // first, else the product string.
    std::string ModelName() const { return !name.empty() ? name : !names.empty() ? names.front() : productName; }
};

}  // namespace mousecfg
