#pragma once

#include <cstdint>

// Private messages of the main window that pages, popups, the settings window and the shell itself send. The
// device link's messages are in device/DeviceMessages.h (2031, 2032, 2040, 2041, 2053, 2065, 2069).
namespace mousecfg::app::msg {

inline constexpr uint32_t kColorPicked = 2025;        // colour picker: wParam 1 = confirmed, lParam the colour
inline constexpr uint32_t kMacroItemApplied = 2027;   // macro item dialog Apply: wParam mode, lParam the item
inline constexpr uint32_t kKeyAssigned = 2028;        // button assignment: wParam 1 = a value was chosen
inline constexpr uint32_t kRecordTab = 2029;          // Tab pressed while recording a macro
inline constexpr uint32_t kDeviceConfig = 2034;       // wParam 1; lParam 1 first selection, 2 import, 3 reselect
inline constexpr uint32_t kMacroItemCancelled = 2035;
inline constexpr uint32_t kSoftwareUpdate = 2037;     // wParam 1 = start the updater now
inline constexpr uint32_t kLanguageChange = 2039;     // text = the language name ("lan_en")
inline constexpr uint32_t kSilentStart = 2042;
inline constexpr uint32_t kMacroReload = 2047;        // the macro document changed on disk (import, reset)
inline constexpr uint32_t kApplyRequest = 2051;       // wParam bits 0-6 request type, bit 7 full; lParam profile
inline constexpr uint32_t kSettingsClosed = 2056;
inline constexpr uint32_t kOverlay = 2057;            // wParam 1 = show the dimming overlay "tranWnd"
inline constexpr uint32_t kNoDeviceHide = 2058;       // the no-device message was closed: hide to the tray
inline constexpr uint32_t kRelaySavePower = 2060;
inline constexpr uint32_t kRelaySleep = 2061;
inline constexpr uint32_t kRelaySensorByte = 2062;
inline constexpr uint32_t kRelayLiftOff = 2063;
inline constexpr uint32_t kConnectionDisplay = 2064;
inline constexpr uint32_t kRelayPowerDown = 2066;
inline constexpr uint32_t kRecordKey = 2067;          // a key captured for the button assignment
inline constexpr uint32_t kRelayMoveWake = 2068;
inline constexpr uint32_t kClosePopupClosed = 2070;
inline constexpr uint32_t kCloseConfig = 2071;        // (option, -1) or (-1, remind)
inline constexpr uint32_t kCloseNow = 2072;
inline constexpr uint32_t kMacrosChanged = 2073;
inline constexpr uint32_t kRelayShortPress = 2074;

// Messages of our own (the apply engine's worker uses 2080-2082).
inline constexpr uint32_t kRestoreRequest = 2090;     // a second start of the program asks this one to come back
inline constexpr uint32_t kUpdateCheckDone = 2091;    // the version check's answer: wParam 1 = a newer version

}  // namespace mousecfg::app::msg
