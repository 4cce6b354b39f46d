#pragma once

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceStateModel.h"

namespace mousecfg::test {

// The window's values as plain settings, and a record of what the monitor delivered. The values compared by the
// readers are atomics and the key map is locked, as the real pages must do. By default every button b has the
// key map entry b + 100 and every DPI level flag is 1.
class FakeDeviceStateModel final : public DeviceStateModel {
public:
    FakeDeviceStateModel();

    int CurrentProfile() const override { return profile.load(); }
    int CurrentDpiLevel() const override { return dpiLevel.load(); }
    int DpiLevelFlag(int level) const override;
    int CurrentLightingValue() const override { return lighting.load(); }
    int ReportRateCode() const override { return reportRate.load(); }
    bool DeviceEventsSuspended() const override { return suspended.load(); }
    void ReloadKeyMap(int deviceIndex) override;
    std::optional<int> MappedButton(int deviceIndex, int button) const override;

    void SetCurrentDeviceName(const std::string& name) override { deviceName = name; }
    void SetMouseProfileTags(const std::array<uint16_t, 4>& tags) override { profileTags = tags; }
    void SetCurrentProfileFromMouse(int value) override { profileFromMouse = value; }
    void SetDpiLevelsFromMouse(int currentLevel, const std::array<DpiLevelReading, 8>& levels) override;
    void BeginLightingRead(int modeCode, uint16_t value) override;
    void SetLightingRecord(const LightingRecordReading& record) override { lightingRecords.push_back(record); }

    void SetMapping(int button, std::optional<int> mapped);
    void SetDpiFlag(int level, int flag);
    int KeyMapReloads() const { return keyMapReloads.load(); }

    std::atomic<int> profile{0};
    std::atomic<int> dpiLevel{0};
    std::atomic<int> lighting{0};
    std::atomic<int> reportRate{1};
    std::atomic<bool> suspended{false};
    std::atomic<int> keyMapReloads{0};

    // Main-thread deliveries.
    std::string deviceName;
    std::optional<std::array<uint16_t, 4>> profileTags;
    std::optional<int> profileFromMouse;
    std::optional<int> dpiCurrentFromMouse;
    std::array<DpiLevelReading, 8> dpiLevelsFromMouse{};
    std::vector<std::pair<int, uint16_t>> lightingReads;
    std::vector<LightingRecordReading> lightingRecords;

private:
    mutable std::mutex mutex_;
    std::map<int, int> keyMap_;       // guarded by mutex_
    std::array<int, 8> dpiFlags_{};   // guarded by mutex_
};

}  // namespace mousecfg::test
