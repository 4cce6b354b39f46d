#include "config/SensorOptions.h"

#include <array>
#include <string>

#include "platform/PrivateProfile.h"

namespace mousecfg {
namespace {

constexpr std::string_view kSetSection = "Set";
constexpr std::string_view kResetSection = "Reset";

// The [Reset] keys in the order they are read; PDTime is the one not written back to [Set].
constexpr std::array<std::string_view, 9> kResetKeys = {
    sensor_key::kLodHeight,  sensor_key::kSleepTime,    sensor_key::kShortPress,
    sensor_key::kPdTime,     sensor_key::kStraightLine, sensor_key::kRipple,
    sensor_key::kSmoothLine, sensor_key::kMoveWake,     sensor_key::kJitter,
};

// Every option with its key.
struct Entry {
    std::string_view key;
    int SensorOptions::*member;
};
constexpr std::array<Entry, 10> kEntries = {{
    {sensor_key::kSavePowerSelect, &SensorOptions::savePowerSelect},
    {sensor_key::kSleepTime, &SensorOptions::sleepTime},
    {sensor_key::kShortPress, &SensorOptions::shortPress},
    {sensor_key::kLodHeight, &SensorOptions::lodHeight},
    {sensor_key::kStraightLine, &SensorOptions::straightLineCorrectEn},
    {sensor_key::kRipple, &SensorOptions::rippleCtrlEn},
    {sensor_key::kSmoothLine, &SensorOptions::smoothLineEn},
    {sensor_key::kMoveWake, &SensorOptions::moveWakeEn},
    {sensor_key::kJitter, &SensorOptions::jitterCorrectEn},
    {sensor_key::kPdTime, &SensorOptions::pdTime},
}};

}  // namespace

int* SensorOptions::Find(std::string_view key) {
    for (const Entry& entry : kEntries) {
        if (entry.key == key) {
            return &(this->*entry.member);
        }
    }
    return nullptr;
}

SensorOptions LoadSensorOptions(const std::filesystem::path& settingsFile) {
    SensorOptions options;
    for (const Entry& entry : kEntries) {
        options.*entry.member = ini::GetProfileNumber(kSetSection, entry.key, settingsFile);
    }
    options.sleepTime = kSleepTimeRange.Clamp(options.sleepTime);
    options.shortPress = kShortPressRange.Clamp(options.shortPress);
    return options;
}

Status WriteSensorOption(const std::filesystem::path& settingsFile, std::string_view key, int value) {
    return ini::WritePrivateProfileString(kSetSection, key, std::to_string(value), settingsFile);
}

Status ResetSensorOptions(SensorOptions& options, const std::filesystem::path& settingsFile) {
    for (std::string_view key : kResetKeys) {
        *options.Find(key) = ini::GetProfileNumber(kResetSection, key, settingsFile);
    }
    Status result = Status::Ok();
    for (std::string_view key : kResetKeys) {
        if (key == sensor_key::kPdTime) {
            continue;
        }
        Status written = WriteSensorOption(settingsFile, key, *options.Find(key));
        if (result.ok() && !written.ok()) {
            result = std::move(written);
        }
    }
    return result;
}

}  // namespace mousecfg
