#pragma once

#include <cstdint>
#include <optional>

namespace mousecfg {

// How the battery level is drawn: the percentage (0..100) and whether in the low-battery colour.
struct BatteryDisplay {
    int percent = 0;
    bool low = false;
    bool operator==(const BatteryDisplay&) const = default;
};

// A battery percentage as drawn: limited to 100; low below 26 % over HID, at 20 % and below over BLE.
BatteryDisplay BatteryFromPercent(int percent, bool overBle);
// The battery byte of the device information (bits 0..6 percent, bit 7 charging) as drawn.
BatteryDisplay MakeBatteryDisplay(uint8_t batteryByte, bool overBle);

// The outcome of the device-information read that message 2053 asks for.
struct DeviceInfoReading {
    enum class Outcome {
        Read,      // link, battery and variant hold the mouse's answer
        Failed,    // the mouse did not answer
        NotRead    // nothing to read now: over BLE the answer comes later as message 2065, or the request
                   // block was busy
    };
    Outcome outcome = Outcome::Failed;
    uint8_t link = 0;     // d0: the receiver's link state
    uint8_t battery = 0;  // d1
    uint8_t variant = 0;  // d2
};

// What the main window must show after handling message 2053. It only paints this.
struct ConnectionDisplay {
    bool skipped = false;  // another 2053 was being handled: nothing was read and nothing changes
    bool online = false;
    std::optional<BatteryDisplay> battery;  // set when the device information was read
    bool showCharging = false;              // "in_charge": online and charging
    bool reloadConfiguration = false;       // the device variant changed: reload the device's configuration
    bool refreshConnection = false;         // run the connection display
};

// The state the evaluation reads and updates (kept by the monitor).
struct RefreshState {
    uint8_t connectionKind = 1;
    int online = 0;
    uint8_t variant = 0;  // the variant last stored
};

// The handling of message 2053 (wParam 1 = kind or link changed, lParam 1 = from a selection or a receiver link
// change) given the reading; updates `state.online` and `state.variant`. Pure: any thread.
ConnectionDisplay EvaluateConnectionRefresh(const DeviceInfoReading& reading, uintptr_t wParam, intptr_t lParam,
                                            RefreshState& state);

}  // namespace mousecfg
