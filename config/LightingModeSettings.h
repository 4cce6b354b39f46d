#pragma once

#include <array>

namespace mousecfg {

inline constexpr int kLedColourCount = 7;
// The ranges a record keeps; what a file holds beyond them is read as the nearest end.
inline constexpr int kMaxBrightnessValue = 6;  // sent as 6 - brightness: the mouse's levels 6..0
inline constexpr int kMaxSpeedValue = 5;       // the speed slider's top; 0 in a record never set
inline constexpr int kMaxDirectionValue = 3;   // the four direction options

// One colour slot of a lighting mode; stored in the file as [colour, enabled].
struct LedColour {
    int colour = 0;  // 0xRRGGBB
    int enabled = 0;
    bool operator==(const LedColour&) const = default;
};

// The settings of one lighting mode of one profile. In the record of mode index 0, `mode` is the lighting mode
// index selected for the profile; the other records carry their own value, stored and loaded alike.
struct LightingModeSettings {
    int mode = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    std::array<LedColour, kLedColourCount> colours{};
    bool operator==(const LightingModeSettings&) const = default;
};

}  // namespace mousecfg
