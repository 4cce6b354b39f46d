#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>

#include "device/DeviceStateModel.h"

namespace mousecfg {
struct DeviceFeature;
struct MouseConfig;
}  // namespace mousecfg

namespace mousecfg::app {

// The values the connection monitor's threads compare, kept as a copy of the configuration document's:
// Sync copies them on the UI thread whenever the document changed, the reader threads read the copies (atomics,
// the key map under a lock). Replies that arrive over BLE are kept for the engine to take.
class DocumentStateModel final : public DeviceStateModel {
public:
    // Copies the document's values (UI thread). `connectionKind` 1 cable, 2 receiver; `ble` the BLE path.
    void Sync(const MouseConfig& document, const DeviceFeature& feature, int connectionKind, bool ble);
    void SetSuspended(bool suspended) { suspended_ = suspended; }

    int CurrentProfile() const override { return profile_.load(); }
    int CurrentDpiLevel() const override { return dpiLevel_.load(); }
    int DpiLevelFlag(int level) const override;
    int CurrentLightingValue() const override { return lighting_.load(); }
    int ReportRateCode() const override { return rateCode_.load(); }
    bool DeviceEventsSuspended() const override { return suspended_.load(); }
    void ReloadKeyMap(int deviceIndex) override;
    std::optional<int> MappedButton(int deviceIndex, int button) const override;

    void SetCurrentDeviceName(const std::string& name) override;
    std::string CurrentDeviceName() const;
    void SetMouseProfileTags(const std::array<uint16_t, 4>& /*tags*/) override {}
    void SetCurrentProfileFromMouse(int /*profile*/) override {}
    void SetDpiLevelsFromMouse(int /*currentLevel*/, const std::array<DpiLevelReading, 8>& /*levels*/) override {}
    void BeginLightingRead(int /*modeCode*/, uint16_t /*value*/) override {}
    void SetLightingRecord(const LightingRecordReading& /*record*/) override {}

    // The mouse's report-rate code of a page index (4 choices: 8, 4, 2, 1; index outside gives 8).
    static int RateCode(int index);

private:
    std::atomic<int> profile_{0};
    std::atomic<int> dpiLevel_{0};
    std::atomic<int> lighting_{0};
    std::atomic<int> rateCode_{8};
    std::atomic<bool> suspended_{false};
    std::array<std::atomic<int>, 8> dpiFlags_{};
    // State below is protected by mutex_.
    mutable std::mutex mutex_;
    std::filesystem::path featureFile_;
    std::array<int, 20> keyMap_{};
    std::string deviceName_;
};

}  // namespace mousecfg::app
