#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/LinkKind.h"

namespace mousecfg {

struct DeviceFeature;
struct MouseConfig;
struct SensorOptions;

inline constexpr int kImageProfiles = 3;
inline constexpr int kImageSlots = 20;  // key slots 0..15 and the wheel positions 16 and 17
inline constexpr int kWheelUp = 16;     // page button and image position of the wheel
inline constexpr int kWheelDown = 17;
inline constexpr int kLastWrittenKeySlot = 11;  // the key-assignment writer sends slots 0..11 only
inline constexpr uint8_t kPowerSaveFlag = 0x40;  // bit 6 of the lighting mode byte: the power-save option

// A command-ready copy of the configuration: the document, the model description and the sensor options
// converted to the values the mouse takes. Built by BuildDeviceImage at the start of every write; the writer
// (ImageWriter) fills the request block from it. A plain value.
struct DeviceImage {
    template <typename T>
    using PerProfile = std::array<T, kImageProfiles>;

    PerProfile<std::array<int, kImageSlots>> slotCodes{};              // function code per key slot
    PerProfile<std::array<std::string, kImageSlots>> slotGroupGuid{};  // macro identity, by page button
    PerProfile<std::array<std::string, kImageSlots>> slotMacroGuid{};
    std::array<int, kImageSlots> buttonSlot{};  // key slot of page button b: keyMap[b] - 1
    int keyCount = 0;
    int maxKeyCount = 0;
    int editedButton = 0;  // the button whose assignment changed
    int editedSlot = -1;   // its slot (16 or 17 for the wheel); -1 when it has none
    uint8_t currentProfile = 0;

    PerProfile<std::array<int, 8>> dpiEnabled{};
    PerProfile<std::array<int, 8>> dpiSensorValue{};
    PerProfile<std::array<int, 8>> dpiMultiplier{};
    PerProfile<std::array<int, 8>> dpiColour{};  // 0xBBGGRR
    PerProfile<uint8_t> dpiCurrent{};
    PerProfile<uint8_t> rateCode{};
    PerProfile<int> fireValue{};

    PerProfile<uint8_t> ledModeByte{};  // mode code | power-save flag << 6
    PerProfile<uint8_t> ledSpeed{};
    PerProfile<uint8_t> ledDirection{};
    PerProfile<uint8_t> ledLevel{};              // 6 - brightness
    PerProfile<std::array<int, 7>> ledColour{};  // 0xBBGGRR
    PerProfile<uint8_t> ledColourMask{};
    std::map<uint8_t, uint8_t> ledModeMap;  // lighting mode index -> the mouse's mode code
    uint16_t ledModeMask = 0;

    int sleepMinutes = 0;
    int pdMinutes = 0;
    uint8_t sensorOptionByte = 0;
    int lodCode = 0;
    uint8_t shortPress = 0;
    uint8_t moveWake = 0;
    int smoothLine = 0;  // copied, carried by no command
    int jitterCorrect = 0;

    std::array<uint16_t, 4> profileTags{};
    int repeatCount = 4;  // writeTimes when the device loads; the run's writeCount during a run
    bool keysOnly = false;
    bool bleMacroFallback = false;  // the next build over BLE turns macro bindings into defaults

    int readLedMode = -1;  // values read back from the mouse; -1 = not read
    int readDpiLevel = -1;
    int readRate = -1;
};

// What an image build changed in the document.
struct ImageBuildChanges {
    std::vector<std::pair<int, std::string>> macroFallbacks;  // (key profile, button name) set to its default
    bool bleRatesReset = false;                               // the profiles' BLE report-rate indexes were set to 0
};

// 0xRRGGBB -> 0xBBGGRR: the command set then sends green, red, blue.
int SwapRedBlue(int colour);

// The sensor option byte: (ShortPress AND 1) x 128 + 2 x (chip 12: jitter correction, else ripple control) +
// straight-line correction, each option taken as 0 or 1.
uint8_t SensorOptionByte(const SensorOptions& options, int chipNumber);
// The lift-off code of LODHeight on the sensor chip: chips 6 and 12 map 0 -> 0 and 1 -> 2, chip 7 maps 0 -> 2
// and 1 -> 3 (other values pass unchanged on those chips); every other chip gives 0.
int LiftOffCode(int lodHeight, int chipNumber);

// Converts document, description and options into `image` for the link `link` of the model `modelName` (the
// seven-rate model has its own report-rate table). `image.editedButton` names the button whose slot becomes
// `editedSlot`. Over BLE with `bleMacroFallback` set, every macro binding (codes 120..259) of key profiles 0..2
// is reset to its button's default in `config` as well, and the flag is cleared; over BLE the profiles' BLE rate
// index becomes 0. Out-of-range values of the document (slots, lighting modes, DPI levels) are skipped rather
// than indexed. Any thread; touches only its arguments.
ImageBuildChanges BuildDeviceImage(DeviceImage& image, MouseConfig& config, const DeviceFeature& feature,
                                   const SensorOptions& options, LinkKind link, std::string_view modelName);

}  // namespace mousecfg
