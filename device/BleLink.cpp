#include "device/BleLink.h"

#include <cstdio>

#include "device/HidrawBleLink.h"
#include "platform/Trace.h"

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

BleLinkCreation CreatePlatformBleLink(HidBackend& backend) {
    auto link = std::make_unique<HidrawBleLink>(backend);
    if (const Status watching = link->WatchSystemDeviceChanges(); !watching) {
        trace::Printf("a BLE mouse paired later is not noticed: %s\n", watching.message().c_str());
    }
    return BleLinkCreation{std::move(link), kS_OK};
}

int CheckBleRegistration() { return 1; }

}  // namespace mousecfg
