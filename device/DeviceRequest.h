#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace mousecfg {

class MessageSink;

// Request types of the command set.
namespace request {
inline constexpr uint8_t kBleRegister = 1;
inline constexpr uint8_t kReadDeviceInfo = 1;
inline constexpr uint8_t kSystemSetting = 2;
inline constexpr uint8_t kReportRate = 3;
inline constexpr uint8_t kKeyAssignment = 4;
inline constexpr uint8_t kExtraKeyAssignment = 5;
inline constexpr uint8_t kDpiTable = 6;
inline constexpr uint8_t kDpiColours = 7;
inline constexpr uint8_t kMacroData = 8;
inline constexpr uint8_t kLightEffect = 9;
inline constexpr uint8_t kDeviceOption = 10;
inline constexpr uint8_t kBleQuery = 129;

// Subtypes of kSystemSetting.
inline constexpr uint8_t kProfileTag = 1;
inline constexpr uint8_t kActiveProfile = 2;
inline constexpr uint8_t kSleepTime = 3;
inline constexpr uint8_t kPowerDownTime = 4;
inline constexpr uint8_t kSensorFlags = 5;
inline constexpr uint8_t kLiftOff = 6;
inline constexpr uint8_t kChargeCount = 7;

// `part` of a lighting read over BLE.
inline constexpr uint8_t kLightHeader = 1;
inline constexpr uint8_t kLightRecord = 2;
}  // namespace request

// The request block of the command set: the caller names a request by type and subtype, fills the parameter
// area, and calls DeviceWrite or DeviceRead; a read decodes its reply into the same area. Positions in the
// parameter area ("p[n]") are fixed by each request; 16- and 32-bit fields are stored little-endian.
// The area keeps the last values written into it; a read overwrites only the fields its reply carries.
struct DeviceRequest {
    static constexpr size_t kParamSize = 5844;
    static constexpr size_t kMacroBlockAt = 4;  // the macro data block of a MacroData write

    uint8_t type = 0;
    uint8_t subtype = 0;
    uint8_t part = 0;
    std::array<uint8_t, kParamSize> param{};

    // What a BleRegister request hands to the BLE link besides the message number in p[8].
    std::string bleDeviceString;
    MessageSink* bleWindow = nullptr;

    // Type in the low byte and subtype in the high byte, as callers often set them in one store.
    void SetTypeAndSubtype(uint16_t value) {
        type = static_cast<uint8_t>(value & 0xFF);
        subtype = static_cast<uint8_t>(value >> 8);
    }

    // Clears `part` and the whole parameter area (before a full read-back).
    void Clear() {
        part = 0;
        param.fill(0);
    }

    // `count` bytes of the parameter area from `at` on (checked against its size).
    const uint8_t* Bytes(size_t at, size_t count) const {
        (void)param.at(at + count - 1);
        return param.data() + at;
    }

    uint8_t& operator[](size_t at) { return param.at(at); }
    uint8_t operator[](size_t at) const { return param.at(at); }

    uint16_t U16(size_t at) const { return static_cast<uint16_t>(param.at(at) | param.at(at + 1) << 8); }
    void SetU16(size_t at, uint16_t value) {
        param.at(at) = static_cast<uint8_t>(value & 0xFF);
        param.at(at + 1) = static_cast<uint8_t>(value >> 8);
    }
    uint32_t U32(size_t at) const {
        return static_cast<uint32_t>(param.at(at)) | static_cast<uint32_t>(param.at(at + 1)) << 8 |
               static_cast<uint32_t>(param.at(at + 2)) << 16 | static_cast<uint32_t>(param.at(at + 3)) << 24;
    }
    void SetU32(size_t at, uint32_t value) {
        for (size_t i = 0; i < 4; ++i) {
            param.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
        }
    }
};

}  // namespace mousecfg
