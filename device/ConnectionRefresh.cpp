#include "device/ConnectionRefresh.h"

#include <algorithm>

#include "device/ConnectionState.h"

namespace mousecfg {
namespace {

constexpr uint8_t kChargingBit = 0x80;
constexpr int kLowBelowOverHid = 26;
constexpr int kLowUpToOverBle = 20;

}  // namespace

BatteryDisplay BatteryFromPercent(int percent, bool overBle) {
    percent = std::clamp(percent, 0, 100);
    return BatteryDisplay{percent, overBle ? percent <= kLowUpToOverBle : percent < kLowBelowOverHid};
}

BatteryDisplay MakeBatteryDisplay(uint8_t batteryByte, bool overBle) {
    return BatteryFromPercent(batteryByte & 0x7F, overBle);
}

ConnectionDisplay EvaluateConnectionRefresh(const DeviceInfoReading& reading, uintptr_t wParam, intptr_t lParam,
                                            RefreshState& state) {
    ConnectionDisplay display;
    const int before = state.online;
    const bool receiver = state.connectionKind == ConnectionState::kReceiver;
    if (reading.outcome == DeviceInfoReading::Outcome::Read) {
        // A cable both links and charges the mouse.
        state.online = receiver ? reading.link : 1;
        const bool charging = !receiver || (reading.battery & kChargingBit) != 0;
        display.battery = MakeBatteryDisplay(reading.battery, false);
        display.showCharging = state.online != 0 && charging;
        if (state.online != 0 && wParam == 1 && reading.variant != state.variant) {
            state.variant = reading.variant;
            display.reloadConfiguration = true;
        }
    } else if (reading.outcome == DeviceInfoReading::Outcome::Failed && receiver && wParam == 1) {
        state.online = 0;
    }
    display.online = state.online != 0;
    display.refreshConnection = state.online != before || wParam != 0 || lParam != 0;
    return display;
}

}  // namespace mousecfg
