#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mousecfg {

// One DPI level as the mouse reports it in its DPI table.
struct DpiLevelReading {
    bool enabled = false;
    uint16_t sensorValue = 0;  // the level's 16-bit value
    int multiplier = 0;        // the level's 2-bit field
};

// One lighting effect record as the mouse reports it, already turned into the configuration's terms.
struct LightingRecordReading {
    int speed = 0;
    int direction = 0;
    int brightness = 0;                       // 6 - the mouse's byte: may fall outside 0..6 for odd replies
    std::array<bool, 7> colourEnabled{};
    std::array<uint32_t, 7> colours{};        // 0xFFRRGGBB as the configuration stores them
};

// What the connection monitor needs from the configuration pages, and where it delivers what the mouse reports
// over BLE. The configuration pages implement it; tests use a fake.
//
// The first group is read by the input reader threads and the device event thread while the main thread changes
// the values, so implementations must make them safe to call from any thread (atomics or a lock). The second
// group is called on the main thread only.
class DeviceStateModel {
public:
    virtual ~DeviceStateModel() = default;

    // --- Any thread ---
    virtual int CurrentProfile() const = 0;
    // The current DPI level, 0-based (the mouse reports it plus one).
    virtual int CurrentDpiLevel() const = 0;
    // The flag of DPI level `level` (0..7) in the window's DPI table: a change to that level is reported only
    // when it is 1.
    virtual int DpiLevelFlag(int level) const = 0;
    // The value the mouse's byte 9 (its lighting state) is compared with, after + 1 and with bit 7 set.
    virtual int CurrentLightingValue() const = 0;
    virtual int ReportRateCode() const = 0;
    // True while the main window wants no device events (it is rebuilding its pages).
    virtual bool DeviceEventsSuspended() const = 0;
    // Reloads the key map of device `deviceIndex` from its model description (a button was released).
    virtual void ReloadKeyMap(int deviceIndex) = 0;
    // The key map's entry for button `button` + 1 of device `deviceIndex`; nothing when it has none.
    virtual std::optional<int> MappedButton(int deviceIndex, int button) const = 0;

    // --- Main thread ---
    virtual void SetCurrentDeviceName(const std::string& name) = 0;
    // Replies to reads made over BLE.
    virtual void SetMouseProfileTags(const std::array<uint16_t, 4>& tags) = 0;
    virtual void SetCurrentProfileFromMouse(int profile) = 0;
    // The level the mouse is on (0-based) and its eight levels; the model finds each level's gear in its gear
    // table by sensor value and multiplier.
    virtual void SetDpiLevelsFromMouse(int currentLevel, const std::array<DpiLevelReading, 8>& levels) = 0;
    // The lighting header: the mode byte (129..137) names the lighting mode whose record is read next.
    virtual void BeginLightingRead(int modeCode, uint16_t value) = 0;
    // The effect record of the mode named by the last BeginLightingRead.
    virtual void SetLightingRecord(const LightingRecordReading& record) = 0;
};

}  // namespace mousecfg
