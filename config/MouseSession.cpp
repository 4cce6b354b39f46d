#include "config/MouseSession.h"

#include <algorithm>
#include <utility>

#include "config/MousePages.h"
#include "config/ReportRate.h"
#include "device/CommandSet.h"
#include "macro/MacroStore.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr int kKeyMapEntries = 20;

void TraceFailure(const Status& status) {
    if (!status.ok()) {
        trace::Printf("%s\n", status.message().c_str());
    }
}

}  // namespace

MouseSession::MouseSession(const MouseSessionServices& services, std::filesystem::path resRoot,
                           std::filesystem::path resources)
    : commands_(services.commands),
      window_(services.window),
      timers_(services.timers),
      dialogs_(services.dialogs),
      boxes_(services.boxes),
      macros_(services.macros),
      pages_(services.pages),
      keyNames_(services.keyNames),
      resRoot_(std::move(resRoot)),
      resources_(resources.empty() ? resRoot_ : std::move(resources)),
      worker_(services.commands, services.window) {}

MouseSession::~MouseSession() = default;

void MouseSession::SetDevice(std::string deviceName, std::string folder) {
    deviceName_ = std::move(deviceName);
    modelFolder_ = resRoot_ / "VeruzUrir" / folder;
    configFile_ = DocumentFile(MouseConfigPath(modelFolder_));
    factoryFile_ = resources_ / "VeruzUrir" / folder / "Config" / "ResetMouseConfig.json";
    featureLoaded_ = false;
}

void MouseSession::SetLink(LinkKind link) {
    link_ = link;
    DocumentChanged();  // the report-rate code the readers compare with depends on the link
}

void MouseSession::LoadResources() {
    if (resourcesLoaded_) {
        return;
    }
    resourcesLoaded_ = true;
    const auto veruz = resources_ / "VeruzUrir";
    TraceFailure(functions_.Load(veruz / "Language" / "LanguageText.json"));
    TraceFailure(LoadPresetMacros(presets_, veruz));
}

// The sensor variant the mouse reports, on the HID link. While a run holds the request block the previous
// chip number stays (the main thread never waits for the mouse).
int MouseSession::ReadChip() {
    auto session = commands_.TryAcquire();
    if (!session) {
        trace::Write("LoadDevice: the mouse is busy, the chip number stays\n");
        return chipNumber_;
    }
    return ReadChipNumber(*session);
}

void MouseSession::UseChipNumber(int chip) {
    if (chip != chipNumber_) {
        chipNumber_ = chip;
        featureLoaded_ = false;
        bleChipChanged_ = true;
    }
}

Status MouseSession::LoadDevice() {
    LoadResources();
    bool chipChanged = false;
    if (link_ != LinkKind::Ble) {
        const int chip = ReadChip();
        chipChanged = chip != chipNumber_;
        chipNumber_ = chip;
        feature_ = LoadDeviceFeature(modelFolder_, chipNumber_);
        featureLoaded_ = true;
    } else {
        // The reply comes back as a message; chip number and description stay as they are.
        if (skipBleDeviceInfo_) {
            skipBleDeviceInfo_ = false;
        } else if (auto session = commands_.TryAcquire()) {
            (*session)->type = request::kReadDeviceInfo;
            session->DeviceRead();
        }
        if (!featureLoaded_) {
            feature_ = LoadDeviceFeature(modelFolder_, chipNumber_);
            featureLoaded_ = true;
        }
        chipChanged = std::exchange(bleChipChanged_, false);
    }
    image_.repeatCount = feature_.writeTimes;
    // DPI items of macros switch to the model's code of 400 DPI.
    macros_.SetDpiCode(static_cast<uint16_t>(feature_.DpiCode("400")));
    Status loaded = LoadMouseConfig(config_, configFile_.path());
    configFile_.LoadFinished(loaded);
    if (!loaded) {
        // What a damaged document left half-read is no configuration to show or to write to the mouse: the
        // factory one takes its place (the damaged file is kept aside before anything replaces it).
        MouseConfig factory;
        if (LoadMouseConfig(factory, factoryFile_)) {
            config_ = std::move(factory);
        }
    }
    ResolveLabels();
    PrepareDpiPage(chipChanged);
    ApplyLevelCount(config_, feature_.uiDpiLevelCount);
    NoteSaveFailure(EnsureProfileTags(feature_));
    options_ = LoadSensorOptions(settingsFile());
    {
        std::lock_guard<std::mutex> lock(mirrorMutex_);
        mirror_.featureFile = feature_.iniFile;
    }
    ReloadKeyMap(0);
    DocumentChanged();
    RefreshPages();
    return loaded;
}

// The document side of the DPI page set-up: the DPI memory after a reset or a chip change, gears within the
// table, report rates of every profile and link within the model's table.
void MouseSession::PrepareDpiPage(bool chipChanged) {
    if (dpiResetPending_) {
        dpiResetPending_ = false;
        RemapDpiLevels(config_, feature_, "profile_reset");
        NoteSaveFailure(SaveDpiMemory(config_, feature_));
    } else if (chipChanged) {
        RemapDpiLevels(config_, feature_, "profile");
    }
    const int gearCount = feature_.gearTable.count;
    for (ProfileSettings& profile : config_.profiles) {
        for (DpiLevel& level : profile.dpiLevels) {
            level.gear = gearCount > 0 ? std::clamp(level.gear, 1, gearCount) : level.gear;
        }
    }
    const int maxRate = MaxRateIndex(deviceName_);
    for (ProfileSettings& profile : config_.profiles) {
        for (int* rate : {&profile.usbRate, &profile.dongleRate, &profile.bleRate}) {
            *rate = std::clamp(*rate, 0, maxRate);
        }
    }
    if (link_ == LinkKind::Ble) {
        config_.profiles[static_cast<size_t>(config_.currentProfile)].bleRate = 0;
    }
}

void MouseSession::RefreshPages() {
    selectorGuard_ = true;
    pages_.ShowProfileSelector(config_.currentProfile);
    selectorGuard_ = false;
    pages_.RefreshPages(config_.currentProfile);
}

void MouseSession::SelectProfile(int profile) {
    if (selectorGuard_ || !InProfile(profile)) {
        return;
    }
    config_.currentProfile = profile;
    apply_.profileSwitched = true;
    ResolveLabels();
    pages_.ReinitAssignmentPopup();
    pages_.RefreshPages(profile);
    trace::Write("DPI11111\n");
    DocumentChanged();
    RequestApply(request::kSystemSetting, true);
}

void MouseSession::ShowProfile(int profile) {
    if (!InProfile(profile)) {
        return;
    }
    config_.currentProfile = profile;
    selectorGuard_ = true;
    pages_.ShowProfileSelector(profile);
    selectorGuard_ = false;
    ResolveLabels();
    pages_.ReinitAssignmentPopup();
    pages_.RefreshPages(profile);
    trace::Write("DPI55555\n");
    DocumentChanged();
}

Status MouseSession::SetSensorOption(std::string_view key, int value) {
    int* option = options_.Find(key);
    if (option == nullptr) {
        return Status::Error("no sensor option " + std::string(key));
    }
    *option = value;
    return WriteSensorOption(settingsFile(), key, value);
}

void MouseSession::ReloadSensorOptions(std::span<const std::string_view> keys) {
    SensorOptions stored = LoadSensorOptions(settingsFile());
    for (std::string_view key : keys) {
        int* option = options_.Find(key);
        const int* value = stored.Find(key);
        if (option != nullptr && value != nullptr) {
            *option = *value;
        }
    }
}

Status MouseSession::SaveDocument() {
    Status saved = configFile_.Replace(MouseConfigText(config_));
    Status memory = SaveDpiMemory(config_, feature_);
    return saved ? memory : saved;
}

void MouseSession::NoteSaveFailure(Status status) {
    if (!status) {
        trace::Printf("%s\n", status.message().c_str());
        if (unsaved_) {
            unsaved_ = std::move(status);
        }
    }
}

void MouseSession::ResolveLabels() {
    ResolveKeyTexts(config_, feature_, functions_, macros_, keyNames_);
}

void MouseSession::DocumentChanged() {
    const int p = InProfile(config_.currentProfile) ? config_.currentProfile : 0;
    const ProfileSettings& profile = config_.profiles[static_cast<size_t>(p)];
    const int rateIndex = link_ == LinkKind::Receiver ? profile.dongleRate
                          : link_ == LinkKind::Ble    ? 0
                                                      : profile.usbRate;
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    mirror_.profile = p;
    mirror_.dpiLevel = profile.currentDpiLevel;
    for (size_t k = 0; k < mirror_.dpiFlags.size(); ++k) {
        mirror_.dpiFlags[k] = profile.dpiLevels[k].enabled;
    }
    mirror_.lighting = config_.lighting[static_cast<size_t>(p)][0].mode;
    mirror_.rateCode = RateCodeFromIndex(deviceName_, rateIndex);
}

int MouseSession::CurrentProfile() const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    return mirror_.profile;
}

int MouseSession::CurrentDpiLevel() const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    return mirror_.dpiLevel;
}

int MouseSession::DpiLevelFlag(int level) const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    return level >= 0 && level < 8 ? mirror_.dpiFlags[static_cast<size_t>(level)] : 0;
}

int MouseSession::CurrentLightingValue() const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    return mirror_.lighting;
}

int MouseSession::ReportRateCode() const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    return mirror_.rateCode;
}

void MouseSession::ReloadKeyMap(int /*deviceIndex*/) {
    // The pages serve one device at a time: the key map is that of the loaded model.
    std::filesystem::path file;
    {
        std::lock_guard<std::mutex> lock(mirrorMutex_);
        file = mirror_.featureFile;
    }
    std::map<int, int> keyMap;
    for (int i = 1; i <= kKeyMapEntries && !file.empty(); ++i) {
        const int slot = ini::GetProfileNumber("KEYMAP", "K" + std::to_string(i) + "_MAP", file);
        if (slot != 0) {
            keyMap.emplace(slot, i - 1);
        }
    }
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    mirror_.keyMap = std::move(keyMap);
}

std::optional<int> MouseSession::MappedButton(int /*deviceIndex*/, int button) const {
    std::lock_guard<std::mutex> lock(mirrorMutex_);
    const auto found = mirror_.keyMap.find(button + 1);
    if (found == mirror_.keyMap.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace mousecfg
