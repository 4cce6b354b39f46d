#pragma once

#include <chrono>
#include <cstdint>

namespace mousecfg {

// Numbered messages that the device link sends or posts to the main window.
namespace msg {
inline constexpr uint32_t kDpiLevelChanged = 2031;      // posted: wParam = value + 256 * mapped button
inline constexpr uint32_t kProfileChanged = 2032;       // posted: as 2031
inline constexpr uint32_t kLightingChanged = 2040;      // sent: (mapped button << 8) | (value & 0xBF)
inline constexpr uint32_t kReportRateChanged = 2041;    // sent: value + 256 * mapped button
inline constexpr uint32_t kConnectionRefresh = 2053;    // sent: wParam 1 = kind or link changed, lParam 1 = selection
inline constexpr uint32_t kBleStatus = 2065;            // posted by the BLE link: wParam a BleMessage code
inline constexpr uint32_t kDpiValueChanged = 2069;      // posted: lParam = device index
}  // namespace msg

// wParam codes of message 2065.
namespace ble {
inline constexpr uintptr_t kConnected = 1;
inline constexpr uintptr_t kDisconnected = 2;
inline constexpr uintptr_t kConnectionFailed = 3;
inline constexpr uintptr_t kRegistrationWanted = 4;
inline constexpr uintptr_t kBattery = 16;            // text: first byte = percent
inline constexpr uintptr_t kStatusQueryWanted = 17;
inline constexpr uintptr_t kInputReportFirst = 0x500;  // 0x500..0x5FF: an input report 5 as hexadecimal text
inline constexpr uintptr_t kInputReportLast = 0x5FF;
inline constexpr uintptr_t kReadReplyFirst = 0x600;    // 0x600 | read type: the reply to a read request
inline constexpr uintptr_t kReadReplyLast = 0x6FF;
}  // namespace ble

// Timers of the main window that the connection monitor uses (window timer ids and their intervals).
namespace timer {
inline constexpr int kStatusPoll = 2;          // repeats: the periodic device-information request (HID only)
inline constexpr int kDeviceChange = 101;      // one-shot: the settling time after a device change
inline constexpr int kBleRetry = 102;          // one-shot: the wait before registering again after a failure
inline constexpr std::chrono::milliseconds kStatusPollInterval{20000};
inline constexpr std::chrono::milliseconds kDeviceChangeDelay{1000};
inline constexpr std::chrono::milliseconds kBleRetryDelay{10000};
}  // namespace timer

}  // namespace mousecfg
