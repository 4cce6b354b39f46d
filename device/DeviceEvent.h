#pragma once

#include <cstdint>

namespace mousecfg {

// Kinds of device events: what changed on the mouse.
enum class DeviceEventKind : int32_t {
    DpiLevel = 1,     // byte 8
    Profile = 2,      // byte 6
    Lighting = 3,     // byte 9
    ReportRate = 4,   // byte 7
    StateValue = 5,   // the u16 at bytes 11..12
};

// One queued device event: four 32-bit values, as the event queue has always held them.
struct DeviceEvent {
    int32_t deviceIndex = 0;  // the record's catalogue index
    DeviceEventKind kind = DeviceEventKind::DpiLevel;
    int32_t button = 0;       // 0..19
    int32_t value = 0;

    bool operator==(const DeviceEvent&) const = default;
};

}  // namespace mousecfg
