#pragma once

#include <cstdint>
#include <string>

#include "platform/MessageSink.h"

namespace mousecfg {

// The window message of a device-interface notification: wParam says what happened, the text is the
// interface path (a sysfs path of a hidraw node on Linux, the virtual mouse's interface path in simulation).
inline constexpr uint32_t kDeviceChangeMessage = 0x0219;
inline constexpr uintptr_t kDeviceArrival = 0x8000;
inline constexpr uintptr_t kDeviceRemoval = 0x8004;

inline Message MakeDeviceChangeMessage(uintptr_t change, std::string path) {
    return Message{kDeviceChangeMessage, change, 0, std::move(path)};
}

}  // namespace mousecfg
