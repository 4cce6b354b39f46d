#include "config/ApplyRun.h"

#include "macro/MacroLookup.h"

namespace mousecfg {
namespace {

// Stands in for the macro document when the job carries none: every user macro is missing.
class NoMacros final : public MacroLookup {
  public:
    std::optional<FoundMacro> Find(std::string_view, std::string_view) const override { return std::nullopt; }
};

class Run {
  public:
    Run(CommandSet::Session& session, ApplyJob& job, ImageWriter::StepObserver observer)
        : session_(session),
          job_(job),
          sources_{job.presets, job.macros ? *job.macros : static_cast<const MacroLookup&>(noMacros_)},
          writer_(session, job.image, sources_, job.link) {
        writer_.SetStepObserver(std::move(observer));
    }

    ApplyOutcome Execute();

  private:
    int Current() const { return job_.config.currentProfile; }
    void Build();
    void HidFull();
    bool ReadTagsMatch(bool& profileChanged);
    void Single();
    void Ble();
    void NewTags();
    int Read(uint8_t type, uint8_t subtype);

    CommandSet::Session& session_;
    ApplyJob& job_;
    NoMacros noMacros_;
    KeyFunctionSources sources_;
    ImageWriter writer_;
    ApplyOutcome outcome_;
    int writeCount_ = 1;
};

int Run::Read(uint8_t type, uint8_t subtype) {
    session_->type = type;
    session_->subtype = subtype;
    return session_.DeviceRead();
}

void Run::Build() {
    const ImageBuildChanges changes =
        BuildDeviceImage(job_.image, job_.config, job_.feature, job_.options, job_.link, job_.modelName);
    auto& fallbacks = outcome_.documentChanges.macroFallbacks;
    fallbacks.insert(fallbacks.end(), changes.macroFallbacks.begin(), changes.macroFallbacks.end());
    outcome_.documentChanges.bleRatesReset = outcome_.documentChanges.bleRatesReset || changes.bleRatesReset;
}

// Reads the active profile (adopting it when asked to) and the tags; true when the mouse holds the saved tag
// of the current profile. A failed read counts as a mismatch.
bool Run::ReadTagsMatch(bool& profileChanged) {
    session_->Clear();
    const bool profileRead = Read(request::kSystemSetting, request::kActiveProfile) == 1;
    // Only a profile the mouse actually reported is adopted: a failed read leaves the cleared byte behind.
    if (job_.state.followMouseProfile && profileRead) {
        const int mouseProfile = session_.request()[0] > 2 ? 0 : session_.request()[0];
        profileChanged = mouseProfile != Current();
        job_.config.currentProfile = mouseProfile;
    }
    if (!profileRead || Read(request::kSystemSetting, request::kProfileTag) != 1) {
        return false;
    }
    const auto p = static_cast<size_t>(Current());
    return session_.request().U16(2 + 2 * p) == job_.feature.profileTags[p];
}

void Run::HidFull() {
    bool profileChanged = false;
    const bool matching = ReadTagsMatch(profileChanged);
    if (profileChanged) {
        outcome_.adoptedProfile = Current();
    }
    const ApplyState& state = job_.state;
    if (matching && !state.macrosChanged && !state.importPending) {
        if (state.profileSwitched) {
            writer_.Repeat(request::kSystemSetting, Current(), request::kActiveProfile, writeCount_);
        }
        if (state.followMouseProfile || state.profileSwitched) {
            Build();
            writer_.ReadBackState(job_.modelName);
            outcome_.readLedMode = job_.image.readLedMode;
            outcome_.readDpiLevel = job_.image.readDpiLevel;
            outcome_.readRate = job_.image.readRate;
        }
        return;  // the mouse holds the saved profile: nothing else is written and no tag is made
    }
    Build();
    job_.image.keysOnly = state.macrosChanged;
    writer_.InitApply(Current());
    job_.image.keysOnly = false;
    outcome_.wrote = true;
}

void Run::Single() {
    const ApplyState& state = job_.state;
    outcome_.wrote = true;
    if (state.fireRefresh) {
        // The fire value lives inside the fire key's macro: every fire-key button of the profile is rewritten.
        for (const auto& [name, binding] : job_.config.keyProfiles[static_cast<size_t>(Current())]) {
            if (binding.code == kFireKeyCode && ButtonIndex(name) >= 0) {
                job_.image.editedButton = ButtonIndex(name);
                Build();
                writer_.Repeat(state.pendingType, Current(), 0, writeCount_);
            }
        }
        return;
    }
    job_.image.editedButton = state.editedButton;
    Build();
    int type = state.pendingType;
    int subtype = 0;
    if (state.pendingSleep || state.pendingPdTime || state.pendingSensorByte || state.pendingLod) {
        type = request::kSystemSetting;
        subtype = state.pendingSleep        ? request::kSleepTime
                  : state.pendingPdTime     ? request::kPowerDownTime
                  : state.pendingSensorByte ? request::kSensorFlags
                                            : request::kLiftOff;
    } else if (state.pendingShortPress || state.pendingMoveWake) {
        type = request::kDeviceOption;
        subtype = state.pendingShortPress ? 2 : 6;
    }
    writer_.Repeat(type, Current(), subtype, writeCount_);
}

void Run::Ble() {
    const ApplyState& state = job_.state;
    outcome_.wrote = true;  // over BLE every run ends with a new tag
    if (!job_.full) {
        Single();
        return;
    }
    if (state.profileSwitched) {
        writer_.Repeat(request::kSystemSetting, Current(), request::kActiveProfile, 1);
    }
    if (state.bleSkipProfileRead) {
        outcome_.bleSkipConsumed = true;
    } else if (!state.profileSwitched) {
        Read(request::kSystemSetting, request::kActiveProfile);
    }
    Read(request::kSystemSetting, request::kProfileTag);
    const auto p = static_cast<size_t>(Current());
    const bool matching = job_.bleMouseTags && (*job_.bleMouseTags)[p] == job_.feature.profileTags[p];
    if (!matching) {
        job_.image.bleMacroFallback = true;
        Build();
        writer_.InitApply(Current());
        return;
    }
    // The replies to these reads update the pages when they arrive.
    Build();
    Read(request::kDpiTable, 0);
    session_->part = request::kLightHeader;
    Read(request::kLightEffect, 0);
    outcome_.refreshDisplays = true;
}

void Run::NewTags() {
    const std::vector<int> profiles =
        job_.state.macrosChanged ? std::vector<int>{0, 1, 2} : std::vector<int>{Current()};
    for (int p : profiles) {
        const uint16_t tag = NewProfileTag();
        job_.feature.profileTags[static_cast<size_t>(p)] = tag;
        outcome_.newTags.emplace_back(p, tag);
    }
    Build();
    writer_.Repeat(request::kSystemSetting, Current(), request::kProfileTag, writeCount_);
}

ApplyOutcome Run::Execute() {
    outcome_.full = job_.full;
    if (Current() < 0 || Current() >= kProfileCount) {
        job_.config.currentProfile = 0;
    }
    const bool ble = job_.link == LinkKind::Ble;
    writeCount_ = job_.link == LinkKind::Cable || ble ? 1 : job_.image.repeatCount;
    job_.image.repeatCount = writeCount_;
    if (ble) {
        Ble();
    } else if (job_.full) {
        HidFull();
    } else {
        Single();
    }
    if (outcome_.wrote) {
        NewTags();
    }
    outcome_.profile = Current();
    outcome_.writes = writer_.writes();
    outcome_.failedWrites = writer_.failedWrites();
    outcome_.image = job_.image;
    return outcome_;
}

}  // namespace

ApplyOutcome RunApply(CommandSet::Session& session, ApplyJob& job, ImageWriter::StepObserver observer) {
    return Run(session, job, std::move(observer)).Execute();
}

}  // namespace mousecfg
