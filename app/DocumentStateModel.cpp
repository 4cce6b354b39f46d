#include "app/DocumentStateModel.h"

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "platform/PrivateProfile.h"

namespace mousecfg::app {

int DocumentStateModel::RateCode(int index) {
    static constexpr std::array<int, 4> kCodes = {8, 4, 2, 1};
    return index >= 0 && index < static_cast<int>(kCodes.size()) ? kCodes[static_cast<size_t>(index)] : kCodes[0];
}

void DocumentStateModel::Sync(const MouseConfig& document, const DeviceFeature& feature, int connectionKind,
                              bool ble) {
    const int profileIndex = document.currentProfile >= 0 && document.currentProfile < kProfileCount
                                 ? document.currentProfile
                                 : 0;
    const ProfileSettings& profile = document.profiles[static_cast<size_t>(profileIndex)];
    profile_ = document.currentProfile;
    dpiLevel_ = profile.currentDpiLevel;
    for (size_t level = 0; level < dpiFlags_.size(); ++level) {
        dpiFlags_[level] = profile.dpiLevels[level].enabled;
    }
    lighting_ = document.lighting[static_cast<size_t>(profileIndex)][0].mode;
    rateCode_ = RateCode(ble ? 0 : connectionKind == 1 ? profile.usbRate : profile.dongleRate);
    std::lock_guard lock(mutex_);
    featureFile_ = feature.iniFile;
    keyMap_ = feature.keyMap;
}

int DocumentStateModel::DpiLevelFlag(int level) const {
    return level >= 0 && level < static_cast<int>(dpiFlags_.size()) ? dpiFlags_[static_cast<size_t>(level)].load() : 0;
}

void DocumentStateModel::ReloadKeyMap(int /*deviceIndex*/) {
    std::lock_guard lock(mutex_);
    if (featureFile_.empty()) {
        return;
    }
    for (size_t button = 0; button < keyMap_.size(); ++button) {
        keyMap_[button] = ini::GetProfileNumber("KEYMAP", "K" + std::to_string(button + 1) + "_MAP", featureFile_);
    }
}

std::optional<int> DocumentStateModel::MappedButton(int /*deviceIndex*/, int button) const {
    std::lock_guard lock(mutex_);
    if (button < 0 || button >= static_cast<int>(keyMap_.size()) || keyMap_[static_cast<size_t>(button)] == 0) {
        return std::nullopt;
    }
    return keyMap_[static_cast<size_t>(button)];
}

void DocumentStateModel::SetCurrentDeviceName(const std::string& name) {
    std::lock_guard lock(mutex_);
    deviceName_ = name;
}

std::string DocumentStateModel::CurrentDeviceName() const {
    std::lock_guard lock(mutex_);
    return deviceName_;
}

}  // namespace mousecfg::app
