#pragma once

#include <atomic>
#include <cstdint>

namespace mousecfg {

// The monitor's picture of the connection. Reader threads and the main thread write these values and the apply
// worker reads them, so each one is atomic; no lock ties them together, and readers see the last write of each.
// Whether the BLE path is in force is the transport's flag (ReportTransport::BleActive).
struct ConnectionState {
    std::atomic<uint8_t> connectionKind{1};  // 1 cable (also when nothing is present), 2 receiver
    std::atomic<int> online{0};              // the mouse in use is reachable
    std::atomic<bool> bleRegistered{false};  // a registration was asked for and has not failed or ended since
    std::atomic<uint8_t> bleFailures{0};     // BLE connection failures in a row, 0..5
    std::atomic<int> selectedCount{0};       // HID devices chosen by the last selection: 0 or 1
    std::atomic<bool> batteryPending{false};  // the next BLE device-information reply shows the battery
    std::atomic<int> selectedIndex{0};       // catalogue index of the device in use: 0 or 1

    static constexpr uint8_t kCable = 1;
    static constexpr uint8_t kReceiver = 2;
};

}  // namespace mousecfg
