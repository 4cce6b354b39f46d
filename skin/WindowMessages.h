#pragma once

#include <cstdint>

// Numbers of the window messages that a window's HandleCustomMessage receives. They keep the values of the
// desktop system the program was first written for, so that message tables and handlers can be written with
// the numbers the program has always used. Mouse messages carry the cursor in lParam (x in the low 16 bits,
// y in the high 16 bits, client coordinates, as MakePointParam builds it).
namespace mousecfg::skin::msg {

inline constexpr uint32_t kMove = 0x0003;           // the window moved
inline constexpr uint32_t kActivate = 0x0006;       // wParam: 0 deactivated, 1 activated; high half: minimised
inline constexpr uint32_t kClose = 0x0010;          // the user asked to close the window
inline constexpr uint32_t kKeyDown = 0x0100;        // wParam virtual key; lParam: see MakeKeyParam
inline constexpr uint32_t kKeyUp = 0x0101;
inline constexpr uint32_t kChar = 0x0102;           // wParam Unicode code point
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysKeyUp = 0x0105;
inline constexpr uint32_t kSysCommand = 0x0112;     // wParam kScMinimize, kScRestore, kScClose
inline constexpr uint32_t kTimer = 0x0113;          // wParam timer id
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kLButtonDblClk = 0x0203;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kRButtonUp = 0x0205;
inline constexpr uint32_t kMouseWheel = 0x020A;     // wParam high 16 bits: signed delta (120 per notch)
inline constexpr uint32_t kMouseHover = 0x02A1;     // the cursor rests over the window
inline constexpr uint32_t kMouseLeave = 0x02A3;     // the cursor left the window
inline constexpr uint32_t kUser = 0x0400;
inline constexpr uint32_t kTrayIcon = kUser + 1;    // 1025: lParam is the mouse message (kLButtonUp, ...)
inline constexpr uint32_t kMenuCommand = kUser + 3;  // 1027: a menu that reports by message; text = item name

inline constexpr uintptr_t kScMinimize = 0xF020;
inline constexpr uintptr_t kScRestore = 0xF120;
inline constexpr uintptr_t kScClose = 0xF060;

// Virtual-key numbers of the keys that controls react to.
inline constexpr unsigned kVkBack = 0x08;
inline constexpr unsigned kVkTab = 0x09;
inline constexpr unsigned kVkReturn = 0x0D;
inline constexpr unsigned kVkEscape = 0x1B;
inline constexpr unsigned kVkSpace = 0x20;
inline constexpr unsigned kVkPrior = 0x21;
inline constexpr unsigned kVkNext = 0x22;
inline constexpr unsigned kVkEnd = 0x23;
inline constexpr unsigned kVkHome = 0x24;
inline constexpr unsigned kVkLeft = 0x25;
inline constexpr unsigned kVkUp = 0x26;
inline constexpr unsigned kVkRight = 0x27;
inline constexpr unsigned kVkDown = 0x28;
inline constexpr unsigned kVkDelete = 0x2E;

// The lParam of the key messages: the kMod* bits (ControlEvent.h), kKeyRepeat for a press that the keyboard's
// auto-repeat made, and in bits 16..31 the key's PC set-1 scan code (0xE000 + code for an extended key; 0 for a
// key without one).
inline constexpr intptr_t kKeyRepeat = 0x100;
inline constexpr intptr_t MakeKeyParam(unsigned modifiers, int scanCode, bool autoRepeat = false) {
    return static_cast<intptr_t>(modifiers & 0xFF) | (autoRepeat ? kKeyRepeat : 0) |
           static_cast<intptr_t>(static_cast<uint32_t>(scanCode & 0xFFFF) << 16);
}
inline constexpr int ScanCodeOf(intptr_t keyParam) { return static_cast<int>((keyParam >> 16) & 0xFFFF); }
inline constexpr bool IsAutoRepeat(intptr_t keyParam) { return (keyParam & kKeyRepeat) != 0; }
inline constexpr unsigned KeyModifiersOf(intptr_t keyParam) { return static_cast<unsigned>(keyParam & 0xFF); }

inline constexpr intptr_t MakePointParam(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
inline constexpr int PointParamX(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
inline constexpr int PointParamY(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

}  // namespace mousecfg::skin::msg
