#pragma once

#include <array>

namespace mousecfg {

inline constexpr int kDpiLevelCount = 8;
inline constexpr int kMaxFireValue = 255;  // the fire slider's top; the value is added to macro delays

// One DPI level of a profile; stored in the file as [enabled, gear, colour].
struct DpiLevel {
    int enabled = 0;
    int gear = 1;    // gear number in the model's DPI gear table, from 1
    int colour = 0;  // 0xRRGGBB; the top byte is not used
    bool operator==(const DpiLevel&) const = default;
};

// DPI levels, fire value and report rates of one profile.
struct ProfileSettings {
    std::array<DpiLevel, kDpiLevelCount> dpiLevels{};
    int fireValue = 0;
    int usbRate = 0;     // report-rate index on the cable link
    int dongleRate = 0;  // through the receiver
    int bleRate = 0;     // over BLE
    int currentDpiLevel = 0;
    bool operator==(const ProfileSettings&) const = default;
};

}  // namespace mousecfg
