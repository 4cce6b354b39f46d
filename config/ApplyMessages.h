#pragma once

#include <cstdint>

namespace mousecfg {

// Numbered messages between the mouse pages, the apply worker and the main window.
namespace msg {
inline constexpr uint32_t kMacrosReload = 2047;   // posted after import or reset: wParam 1, reload macros
inline constexpr uint32_t kApplyRequest = 2051;   // wParam: request type | 0x80 for a full run; lParam: profile
inline constexpr uint32_t kMacrosChanged = 2073;  // the macro document changed: full run, keys only
// Setting changes the main window relays as single runs (wParam: the new value where there is one).
inline constexpr uint32_t kSavePowerChanged = 2060;
inline constexpr uint32_t kSleepTimeChanged = 2061;
inline constexpr uint32_t kSensorFlagsChanged = 2062;  // straight-line, ripple, smooth-line, jitter
inline constexpr uint32_t kLiftOffChanged = 2063;
inline constexpr uint32_t kPowerDownTimeChanged = 2066;
inline constexpr uint32_t kMoveWakeChanged = 2068;
inline constexpr uint32_t kShortPressChanged = 2074;
// From the apply worker (posted; numbers outside the range the main window's table uses):
inline constexpr uint32_t kApplyProgress = 2080;  // wParam 1 show / 0 hide, lParam 1 full run / 0 single
inline constexpr uint32_t kApplyFinished = 2081;  // the run ended; its outcome waits in the worker
inline constexpr uint32_t kApplyStep = 2082;      // wParam requests done, lParam requests in the full write
}  // namespace msg

// Bit 7 of the apply request's wParam: a full run.
inline constexpr uintptr_t kApplyFullFlag = 0x80;

}  // namespace mousecfg
