#pragma once

#include <cstdint>

namespace mousecfg::skin {

// A colour as 0xAARRGGBB. The attribute texts write it "#AARRGGBB", "#RRGGBB" or "0xAARRGGBB"; a value without
// alpha (below 0x01000000 when given as six digits) is opaque. 0 means "not set" wherever a control keeps an
// optional colour, which is why a fully transparent black cannot be chosen.
using Color = uint32_t;

inline constexpr Color kNoColor = 0;

inline constexpr uint8_t AlphaOf(Color c) { return static_cast<uint8_t>(c >> 24); }
inline constexpr uint8_t RedOf(Color c) { return static_cast<uint8_t>(c >> 16); }
inline constexpr uint8_t GreenOf(Color c) { return static_cast<uint8_t>(c >> 8); }
inline constexpr uint8_t BlueOf(Color c) { return static_cast<uint8_t>(c); }
inline constexpr Color MakeColor(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return (Color{a} << 24) | (Color{r} << 16) | (Color{g} << 8) | Color{b};
}

}  // namespace mousecfg::skin
