#pragma once

#include <cstdint>

#include "skin/Geometry.h"

namespace mousecfg::skin {

enum class EventType {
    MouseEnter,
    MouseLeave,
    MouseMove,
    ButtonDown,    // left button
    ButtonUp,      // left button
    DoubleClick,   // left button
    RightButtonDown,
    RightButtonUp,
    Wheel,         // `wheelDelta` > 0 scrolls up
    KeyDown,       // `key` is a virtual-key number (kVk*)
    KeyUp,         // the key was let go (the keyboard's own repeats are not reported)
    Char,          // `character` is a Unicode code point typed
    SetFocus,
    KillFocus,
};

// An input event as the paint manager hands it to a control, in client coordinates.
struct ControlEvent {
    explicit ControlEvent(EventType eventType = EventType::MouseMove, Point at = {}, int wheel = 0)
        : type(eventType), point(at), wheelDelta(wheel) {}

    EventType type = EventType::MouseMove;
    Point point;
    int wheelDelta = 0;
    unsigned key = 0;
    char32_t character = 0;
    unsigned modifiers = 0;  // kModShift | kModControl | kModAlt
};

inline constexpr unsigned kModShift = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModAlt = 4;

}  // namespace mousecfg::skin
