#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Status.h"

namespace mousecfg {

// Keys of the application's sensor and power options in section [Set] of "res/Set.ini" (and of their factory
// values in [Reset]).
namespace sensor_key {
inline constexpr std::string_view kSavePowerSelect = "SavePowerSelect";
inline constexpr std::string_view kSleepTime = "SleepTime";
inline constexpr std::string_view kShortPress = "ShortPress";
inline constexpr std::string_view kLodHeight = "LODHeight";
inline constexpr std::string_view kStraightLine = "StraightLineCorrectEn";
inline constexpr std::string_view kRipple = "RippleCtrlEn";
inline constexpr std::string_view kSmoothLine = "SmoothLineEn";
inline constexpr std::string_view kMoveWake = "MoveWakeEn";
inline constexpr std::string_view kJitter = "JitterCorrectEn";
inline constexpr std::string_view kPdTime = "PDTime";
}  // namespace sensor_key

// The ranges of the sleep-time and short-press sliders (the skin may narrow them) and of the power-down time.
// Sleep and power-down times are minutes; the mouse takes seconds in 16 bits.
struct OptionRange {
    int min;
    int max;
    int Clamp(int value) const { return value < min ? min : value > max ? max : value; }
};
inline constexpr OptionRange kSleepTimeRange{1, 60};
inline constexpr OptionRange kShortPressRange{0, 30};
inline constexpr OptionRange kPdTimeRange{1, 120};

// The sensor and power options the application keeps for the device whatever the profile. The check-box
// options are 0 or 1. A plain value: copy it to hand it to the apply worker.
struct SensorOptions {
    int savePowerSelect = 0;
    int sleepTime = 10;
    int shortPress = 0;
    int lodHeight = 0;
    int straightLineCorrectEn = 0;
    int rippleCtrlEn = 0;
    int smoothLineEn = 0;
    int moveWakeEn = 0;
    int jitterCorrectEn = 0;
    int pdTime = 30;
    bool operator==(const SensorOptions&) const = default;

    // The option stored under `key` (one of sensor_key); nullptr for another key.
    int* Find(std::string_view key);
};

// Reads the options from [Set] of `settingsFile`; SleepTime and ShortPress are held in their slider ranges.
// Missing keys read as 0, as every settings key does.
SensorOptions LoadSensorOptions(const std::filesystem::path& settingsFile);

// Writes one option to [Set] (what each control of the advanced page does at once).
Status WriteSensorOption(const std::filesystem::path& settingsFile, std::string_view key, int value);

// The reset of the options: the nine [Reset] values (all but SavePowerSelect) replace those of `options`; all
// of them but PDTime are written to [Set] (PDTime lives only in memory until the settings window writes it).
// Returns the first write failure; the options are replaced in any case.
Status ResetSensorOptions(SensorOptions& options, const std::filesystem::path& settingsFile);

}  // namespace mousecfg
