// The apply runs of the mouse session: requests, the snapshot for the worker, and taking its outcome over.
#include <utility>

#include "config/ApplyMessages.h"
#include "config/KeyAssignment.h"
#include "config/MousePages.h"
#include "config/MouseSession.h"
#include "device/DeviceMessages.h"
#include "device/DeviceRequest.h"
#include "macro/MacroStore.h"
#include "platform/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/Trace.h"
#include "platform/WindowTimers.h"

namespace mousecfg {

void MouseSession::RequestApply(int type, bool full) {
    const uintptr_t wParam = static_cast<uintptr_t>(type & 0x7F) | (full ? kApplyFullFlag : 0);
    window_.Post(Message{msg::kApplyRequest, wParam, config_.currentProfile, {}});
}

void MouseSession::OnApplyRequest(uintptr_t wParam, intptr_t /*lParam*/) {
    apply_.pendingType = static_cast<int>(wParam & 0x7F);
    StartApply((wParam & kApplyFullFlag) != 0);
}

void MouseSession::OnMacrosChanged() {
    apply_.macrosChanged = true;
    ResolveLabels();
    pages_.RefreshButtonLabels();
    StartApply(true);
}

std::optional<int> MouseSession::RelayItem(uint32_t message) {
    struct Relay {
        uint32_t message;
        bool ApplyState::*pending;
        int item;
    };
    static constexpr Relay kRelays[] = {
        {msg::kSavePowerChanged, nullptr, request::kLightEffect},
        {msg::kSleepTimeChanged, &ApplyState::pendingSleep, request::kSystemSetting},
        {msg::kSensorFlagsChanged, &ApplyState::pendingSensorByte, request::kSystemSetting},
        {msg::kLiftOffChanged, &ApplyState::pendingLod, request::kSystemSetting},
        {msg::kPowerDownTimeChanged, &ApplyState::pendingPdTime, request::kSystemSetting},
        {msg::kMoveWakeChanged, &ApplyState::pendingMoveWake, request::kDeviceOption},
        {msg::kShortPressChanged, &ApplyState::pendingShortPress, request::kDeviceOption},
    };
    if (applyRunning_.load()) {
        return std::nullopt;
    }
    for (const Relay& relay : kRelays) {
        if (relay.message == message) {
            if (relay.pending != nullptr) {
                apply_.*relay.pending = true;
            }
            return relay.item;
        }
    }
    return std::nullopt;
}

void MouseSession::ApplyButton() {
    NoteSaveFailure(SaveDocument());
    NoteSaveFailure(RebuildMacroBindings(macros_, config_, deviceName_));
    window_.Post(Message{msg::kMacrosReload, 1, 0, {}});
    StartApply(false);
}

ApplyJob MouseSession::MakeJob(bool full) const {
    ApplyJob job;
    job.full = full;
    job.state = apply_;
    job.config = config_;
    job.feature = feature_;
    job.options = options_;
    job.presets = presets_;
    job.macros = macros_.Snapshot();
    job.link = link_;
    job.modelName = deviceName_;
    job.image = image_;
    // Every run counts its repeats from the model: a cable run must not leave the next wireless run at one.
    job.image.repeatCount = feature_.writeTimes;
    job.bleMouseTags = bleMouseTags_;
    return job;
}

bool MouseSession::StartApply(bool full) {
    if (link_ != LinkKind::Ble) {
        timers_.KillTimer(timer::kStatusPoll);
    }
    if (applyRunning_.load()) {
        return false;  // one run at a time: a request during a run is dropped
    }
    runningState_ = apply_;
    runningFull_ = full;
    applyRunning_.store(true);
    if (!worker_.Start(MakeJob(full))) {
        applyRunning_.store(false);
        return false;
    }
    return true;
}

bool MouseSession::HandleWorkerMessage(const Message& message) {
    switch (message.id) {
        case msg::kApplyProgress:
            pages_.ShowApplyProgress(message.wParam != 0, message.lParam != 0);
            return true;
        case msg::kApplyStep:
            pages_.ShowApplySteps(static_cast<int>(message.wParam), static_cast<int>(message.lParam));
            return true;
        case msg::kApplyFinished:
            OnApplyFinished();
            return true;
        default:
            return false;
    }
}

void MouseSession::TakeOverOutcome(const ApplyOutcome& outcome) {
    image_ = outcome.image;
    image_.repeatCount = feature_.writeTimes;
    if (outcome.adoptedProfile) {
        ShowProfile(*outcome.adoptedProfile);
    }
    for (const auto& [profile, name] : outcome.documentChanges.macroFallbacks) {
        KeyBinding& binding = config_.keyProfiles[static_cast<size_t>(profile)][name];
        binding.code = feature_.keyDefaults[static_cast<size_t>(ButtonIndex(name))];
        binding.groupGuid.clear();
        binding.macroGuid.clear();
    }
    if (!outcome.documentChanges.macroFallbacks.empty()) {
        ResolveLabels();
        NoteSaveFailure(RebuildMacroBindings(macros_, config_, deviceName_));
        pages_.RefreshButtonLabels();
    }
    if (outcome.documentChanges.bleRatesReset) {
        for (ProfileSettings& profile : config_.profiles) {
            profile.bleRate = 0;
        }
    }
    const auto p = static_cast<size_t>(InProfile(outcome.profile) ? outcome.profile : 0);
    if (outcome.readLedMode >= 0 && outcome.readLedMode < kLightingModeCount) {
        config_.lighting[p][0].mode = outcome.readLedMode;
        pages_.ShowLightingMode(outcome.readLedMode);
    }
    if (outcome.readDpiLevel >= 0 && outcome.readDpiLevel < kDpiLevelCount) {
        config_.profiles[p].currentDpiLevel = outcome.readDpiLevel;
        pages_.ShowDpiLevel(outcome.readDpiLevel);
    }
    if (outcome.readRate >= 0 && link_ != LinkKind::Ble) {
        (link_ == LinkKind::Receiver ? config_.profiles[p].dongleRate : config_.profiles[p].usbRate) = outcome.readRate;
        pages_.ShowRate(outcome.readRate);
    }
    for (const auto& [profile, tag] : outcome.newTags) {
        NoteSaveFailure(feature_.SaveProfileTag(profile, tag));
        // Over BLE the mouse's tags are only known from replies, and the one this run read came before its
        // write: without this the next run would find a mismatch and reset every macro binding again.
        if (link_ == LinkKind::Ble && profile >= 0 && profile < kProfileTagCount) {
            if (!bleMouseTags_) {
                bleMouseTags_.emplace();
            }
            (*bleMouseTags_)[static_cast<size_t>(profile)] = tag;
            bleWrittenTags_[profile] = tag;
        }
    }
    if (outcome.refreshDisplays) {
        pages_.ShowDpiLevel(config_.profiles[p].currentDpiLevel);
    }
}

// Flags set while the run was under way belong to the next run: only those the run started with are cleared.
void MouseSession::ClearConsumedFlags(const ApplyState& consumed, bool full) {
    const auto clear = [](bool& flag, bool wasSet) { flag = flag && !wasSet; };
    if (!full) {
        clear(apply_.pendingSleep, consumed.pendingSleep);
        clear(apply_.pendingPdTime, consumed.pendingPdTime);
        clear(apply_.pendingSensorByte, consumed.pendingSensorByte);
        clear(apply_.pendingLod, consumed.pendingLod);
        clear(apply_.pendingShortPress, consumed.pendingShortPress);
        clear(apply_.pendingMoveWake, consumed.pendingMoveWake);
        apply_.fireRefresh = false;  // a profile without fire keys would otherwise divert every later single run
    }
    clear(apply_.macrosChanged, consumed.macrosChanged);
    clear(apply_.importPending, consumed.importPending);
    clear(apply_.profileSwitched, consumed.profileSwitched);
    clear(apply_.followMouseProfile, consumed.followMouseProfile);
    clear(apply_.quiet, consumed.quiet);
}

void MouseSession::OnApplyFinished() {
    std::optional<ApplyOutcome> outcome = worker_.Finish();
    if (!outcome) {
        return;
    }
    TakeOverOutcome(*outcome);
    if (outcome->bleSkipConsumed) {
        apply_.bleSkipProfileRead = false;
    }
    NoteSaveFailure(SaveDocument());
    // The mouse now holds what the files may not: the next start would undo it without a word.
    outcome->saved = std::exchange(unsaved_, Status::Ok());
    if (!outcome->saved) {
        boxes_.Show(MessageBoxRequest{texts_.title, texts_.saveFailed + "\n" + outcome->saved.message(), texts_.ok,
                                      "", false});
    }
    pages_.ShowLightingMode(config_.lighting[static_cast<size_t>(config_.currentProfile)][0].mode);
    if (!runningState_.quiet) {
        pages_.ShowApplyProgress(false, false);
    }
    ClearConsumedFlags(runningState_, runningFull_);
    lastOutcome_ = std::move(outcome);
    DocumentChanged();
    applyRunning_.store(false);
    if (link_ != LinkKind::Ble && !timers_.IsTimerRunning(timer::kStatusPoll)) {
        timers_.SetTimer(timer::kStatusPoll, timer::kStatusPollInterval);
    }
    pages_.ApplyFinished();
}

}  // namespace mousecfg
