#pragma once

#include <cstdint>

namespace mousecfg {

// Scan codes of the mouse buttons, in the same space as the keyboard's PC set-1 scan codes.
namespace scan {
inline constexpr int kLeftClick = 240;
inline constexpr int kRightClick = 241;
inline constexpr int kMiddleClick = 242;
inline constexpr int kButton4 = 243;
inline constexpr int kButton5 = 244;
inline constexpr int kNone = 255;
}  // namespace scan

// The scan code (0xE000 + code for an extended key) of a macro item code: a HID keyboard usage 0x04..0xE7 or a
// mouse button 0xF1..0xF5. 255 for every code without a key.
int HidToScan(int hidCode);

// The macro item code of a scan code: the inverse of HidToScan (scan code 43 gives 49, 0xE01C gives 88), with
// 0xFF for every scan code without a HID usage, scan code 54 included.
uint8_t ScanToHid(int scanCode);

}  // namespace mousecfg
