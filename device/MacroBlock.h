#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mousecfg {

// Item codes of a macro (macVal) as the macro document stores them.
namespace item {
inline constexpr uint8_t kDelay = 0x00;
inline constexpr uint8_t kFirstKey = 0x04;       // keyboard keys 0x04..0xE7 (HID keyboard usage IDs)
inline constexpr uint8_t kLastKey = 0xE7;
inline constexpr uint8_t kLeftButton = 0xF1;
inline constexpr uint8_t kMiddleButton = 0xF2;
inline constexpr uint8_t kRightButton = 0xF3;
inline constexpr uint8_t kButton4 = 0xF4;
inline constexpr uint8_t kButton5 = 0xF5;
inline constexpr uint8_t kMove = 0xF6;
inline constexpr uint8_t kWheel = 0xF7;
inline constexpr uint8_t kDpi = 0xF8;
inline constexpr uint8_t kLed = 0xF9;
inline constexpr uint8_t kMedia = 0xFA;
inline constexpr uint8_t kUnnamed = 0xFB;
inline constexpr uint8_t kNoUsage = 0xFF;        // a key without a HID usage ID

// Item states (macSta).
inline constexpr uint8_t kPress = 1;
inline constexpr uint8_t kRelease = 2;
inline constexpr uint8_t kMoveLeftUp = 3;
inline constexpr uint8_t kMoveLeftDown = 4;
inline constexpr uint8_t kMoveRightUp = 5;
inline constexpr uint8_t kMoveRightDown = 6;
}  // namespace item

// The fixed-size record of one macro: loop mode, repeat count, counters and four parallel arrays of 500
// items. Entries at and beyond `num` are zero in a well-formed block, but `num` may come from a file, so every
// user of the arrays limits itself to kMaxItems.
struct MacroBlock {
    static constexpr int kMaxItems = 500;
    // Size of the block where it travels in the device request, and positions of its fields there.
    static constexpr size_t kSerializedSize = 5840;

    struct Point {
        uint16_t x = 0;
        uint16_t y = 0;
        bool operator==(const Point&) const = default;
    };

    uint8_t rptType = 0;   // loop mode in the low bits: 0 play macRpt times, 1 while held, 2 until clicked again
    uint16_t macRpt = 0;   // repeat count
    uint16_t num = 0;      // number of items
    uint16_t numXY = 0;    // pointer-move items
    uint16_t numWhl = 0;   // wheel items
    uint16_t numCpi = 0;   // DPI items
    uint16_t numMedia = 0; // media items
    uint8_t numLed = 0;    // LED items
    uint8_t numUnnamed = 0;  // 0xFB items (kept in memory only)
    uint8_t yStepEn = 0;
    uint8_t yStep = 0;
    std::array<uint8_t, kMaxItems> macSta{};
    std::array<uint8_t, kMaxItems> macVal{};
    std::array<Point, kMaxItems> extVal{};
    std::array<int32_t, kMaxItems> macDly{};

    // The number of items that may be read: `num` limited to kMaxItems.
    int ItemCount() const { return num < kMaxItems ? num : kMaxItems; }

    // Writes the block in its device-request layout (little-endian): 60 reserved bytes, rptType, a reserved
    // byte, macRpt, num, numXY, numWhl, numCpi, numMedia, numLed, numUnnamed, yStepEn, yStep, 4 reserved bytes,
    // macSta, macVal, extVal, 2 reserved bytes, macDly, reserved space to the end.
    void Serialize(std::span<uint8_t, kSerializedSize> out) const;
    static MacroBlock Deserialize(std::span<const uint8_t, kSerializedSize> in);

    bool operator==(const MacroBlock&) const = default;
};

}  // namespace mousecfg
