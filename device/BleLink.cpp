#include "device/BleLink.h"

#include <cstdio>

namespace mousecfg {
namespace {

std::string DescribeError(HResult code) {
    char text[96];
    std::snprintf(text, sizeof text, "BLE link call failed: 0x%08X %s", static_cast<unsigned>(code),
                  kBleLinkInterfaceId);
    return text;
}

}  // namespace

BleError::BleError(HResult code) : std::runtime_error(DescribeError(code)), code_(code) {}

BleLinkCreation CreatePlatformBleLink() { return BleLinkCreation{nullptr, kClassNotRegistered}; }

int CheckBleRegistration() { return 1; }

}  // namespace mousecfg
