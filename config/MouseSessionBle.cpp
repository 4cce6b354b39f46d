// The replies to reads made over BLE, stored into the configuration of the current profile.
#include "config/MousePages.h"
#include "config/MouseSession.h"

#include <algorithm>

namespace mousecfg {

void MouseSession::SetMouseProfileTags(const std::array<uint16_t, 4>& tags) {
    std::array<uint16_t, 4> known = tags;
    for (auto it = bleWrittenTags_.begin(); it != bleWrittenTags_.end();) {
        const auto p = static_cast<size_t>(it->first);
        if (known[p] == it->second) {
            it = bleWrittenTags_.erase(it);  // the mouse shows the tag: later replies are to be believed again
        } else {
            known[p] = it->second;  // the reply answers a read sent before the tag was written
            ++it;
        }
    }
    bleMouseTags_ = known;
}

void MouseSession::SetCurrentProfileFromMouse(int profile) {
    // The program keeps three profiles: the mouse's fourth (or anything larger) reads as the first.
    const int adopted = InProfile(profile) ? profile : 0;
    if (adopted != config_.currentProfile) {
        ShowProfile(adopted);
    }
}

void MouseSession::SetDpiLevelsFromMouse(int currentLevel, const std::array<DpiLevelReading, 8>& levels) {
    ProfileSettings& profile = config_.profiles[static_cast<size_t>(config_.currentProfile)];
    if (currentLevel >= 0 && currentLevel < kDpiLevelCount) {
        profile.currentDpiLevel = currentLevel;
    }
    // A table with every level off (a mouse with blank memory, or a garbled reply) is one no mouse takes back:
    // adopting it would make the next apply run write a table the mouse refuses. The document's switches stay.
    const bool anyEnabled = std::any_of(levels.begin(), levels.end(), [](const auto& l) { return l.enabled; });
    for (size_t k = 0; k < levels.size(); ++k) {
        DpiLevel& level = profile.dpiLevels[k];
        if (anyEnabled) {
            level.enabled = levels[k].enabled ? 1 : 0;
        }
        // The gear whose sensor value and multiplier the mouse reports; a pair the table lacks keeps the gear.
        for (const auto& [gear, entry] : feature_.gearTable.gears) {
            if (entry.sensorValue == levels[k].sensorValue && entry.multiplier == levels[k].multiplier) {
                level.gear = gear;
                break;
            }
        }
    }
    DocumentChanged();
    pages_.RefreshPages(config_.currentProfile);
    pages_.ShowDpiLevel(profile.currentDpiLevel);
}

void MouseSession::BeginLightingRead(int modeCode, uint16_t /*value*/) {
    lightingModeRead_ = -1;
    for (const auto& [index, code] : feature_.ledModeMap) {
        if (code != 0 && code == (modeCode & ~kPowerSaveFlag)) {
            lightingModeRead_ = index;
            break;
        }
    }
    if (lightingModeRead_ < 0 || lightingModeRead_ >= kLightingModeCount) {
        lightingModeRead_ = -1;
        return;
    }
    config_.lighting[static_cast<size_t>(config_.currentProfile)][0].mode = lightingModeRead_;
    DocumentChanged();
    pages_.ShowLightingMode(lightingModeRead_);
}

void MouseSession::SetLightingRecord(const LightingRecordReading& reading) {
    if (lightingModeRead_ < 0) {
        return;
    }
    auto& record =
        config_.lighting[static_cast<size_t>(config_.currentProfile)][static_cast<size_t>(lightingModeRead_)];
    // Held to the ranges the document keeps, so that what is stored loads back the same.
    record.speed = std::clamp(reading.speed, 0, kMaxSpeedValue);
    record.direction = std::clamp(reading.direction, 0, kMaxDirectionValue);
    record.brightness = std::clamp(reading.brightness, 0, kMaxBrightnessValue);
    for (size_t k = 0; k < record.colours.size(); ++k) {
        record.colours[k].enabled = reading.colourEnabled[k] ? 1 : 0;
        record.colours[k].colour = static_cast<int>(reading.colours[k]);
    }
    pages_.RefreshPages(config_.currentProfile);
}

}  // namespace mousecfg
