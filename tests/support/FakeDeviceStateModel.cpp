#include "tests/support/FakeDeviceStateModel.h"

namespace mousecfg::test {

FakeDeviceStateModel::FakeDeviceStateModel() {
    for (int button = 0; button < 20; ++button) {
        keyMap_[button] = button + 100;
    }
    dpiFlags_.fill(1);
}

int FakeDeviceStateModel::DpiLevelFlag(int level) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return level >= 0 && level < 8 ? dpiFlags_[static_cast<size_t>(level)] : 0;
}

void FakeDeviceStateModel::ReloadKeyMap(int) {
    ++keyMapReloads;
}

std::optional<int> FakeDeviceStateModel::MappedButton(int, int button) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = keyMap_.find(button);
    return found == keyMap_.end() ? std::nullopt : std::optional<int>(found->second);
}

void FakeDeviceStateModel::SetDpiLevelsFromMouse(int currentLevel, const std::array<DpiLevelReading, 8>& levels) {
    dpiCurrentFromMouse = currentLevel;
    dpiLevelsFromMouse = levels;
}

void FakeDeviceStateModel::BeginLightingRead(int modeCode, uint16_t value) {
    lightingReads.emplace_back(modeCode, value);
}

void FakeDeviceStateModel::SetMapping(int button, std::optional<int> mapped) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (mapped) {
        keyMap_[button] = *mapped;
    } else {
        keyMap_.erase(button);
    }
}

void FakeDeviceStateModel::SetDpiFlag(int level, int flag) {
    std::lock_guard<std::mutex> lock(mutex_);
    dpiFlags_.at(static_cast<size_t>(level)) = flag;
}

}  // namespace mousecfg::test
