#include "macro/MacroRecorder.h"

#include <algorithm>

#include "macro/KeySource.h"
#include "macro/KeyTables.h"
#include "macro/MacroSize.h"
#include "macro/MacroStore.h"
#include "platform/TimeOfDayClock.h"

namespace mousecfg {
namespace {

constexpr int64_t kDayMs = 86'400'000;
constexpr int64_t kMaxGapMs = 50'000;
constexpr int32_t kLastItemDelay = 20;

const char* LoopOptionName(uint8_t index) {
    switch (index) {
        case 0: return "opt_Macro_CycleUntilRelease";
        case 1: return "opt_Macro_CycleUntilClick";
        default: return "opt_Macro_CycleTimes";
    }
}

}  // namespace

MacroRecorder::Started MacroRecorder::StartRecording(int g, int m, std::optional<int> loopOption) {
    if (!store_.SelectMacro(g, m)) {
        return {};
    }
    group_ = g;
    macro_ = m;
    Started started;
    started.ok = true;
    started.loopOption = loopOption.value_or(2);
    started.resetRepeatCount = started.loopOption == 2;
    MacroBlock& block = store_.workingMacro().block;
    const uint16_t repeat = block.macRpt;
    block = MacroBlock{};  // no items, and nothing left behind the ones recorded
    block.macRpt = repeat;
    // Until the recording ends the loop mode is held as the option's index (see EndRecording).
    block.rptType = static_cast<uint8_t>(started.loopOption);
    store_.ResetItemCounts();
    heldKeys_.clear();
    recordCount_ = 0;
    keys_.StartCapture();
    recording_ = true;
    return started;
}

std::string MacroRecorder::RecordEvent(int message, int /*virtualKey*/, int scanCode) {
    if (!recording_) {
        return "";
    }
    if (std::pair{scanCode, message} == lastEvent_) {
        return kError;  // a held key repeating
    }
    const int i = recordCount_;
    if (i >= MacroBlock::kMaxItems) {
        return kOver;
    }
    MacroBlock& block = store_.workingMacro().block;
    uint8_t state = 0;
    if (message == keymsg::kKeyDown || message == keymsg::kSysKeyDown) {
        if (heldKeys_.size() >= kMaxHeldKeys) {
            return kError;
        }
        heldKeys_.push_back(scanCode);
        state = item::kPress;
    } else if (message == keymsg::kKeyUp || message == keymsg::kSysKeyUp) {
        const auto held = std::find(heldKeys_.begin(), heldKeys_.end(), scanCode);
        if (held == heldKeys_.end()) {
            return kError;  // its press was not recorded
        }
        heldKeys_.erase(held);
        state = item::kRelease;
    } else {
        return kError;
    }
    const int64_t now = clock_.NowMs();
    int64_t gap = now - lastTime_;
    if (gap < 0) {
        gap += kDayMs;  // midnight passed
    }
    gap = std::min(gap, kMaxGapMs);
    lastTime_ = now;

    const auto at = static_cast<size_t>(i);
    block.macVal[at] = ScanToHid(scanCode);
    block.macSta[at] = state;
    block.extVal[at] = {};
    block.macDly[at] = kLastItemDelay;
    if (i > 0) {
        block.macDly[at - 1] = static_cast<int32_t>(gap);  // the time up to this event belongs to the item before
    }
    block.num = static_cast<uint16_t>(i);
    recordCount_ = i + 1;
    if (EstimatedImageSize(block, i) > kMacroImageBudget) {
        return kOver;
    }
    lastEvent_ = {scanCode, message};
    return store_.keyNames().ScanKeyName(scanCode);
}

MacroRecorder::Ended MacroRecorder::EndRecording(EndReason reason) {
    Ended ended;
    if (!recording_) {
        return ended;
    }
    recording_ = false;
    MacroBlock& block = store_.workingMacro().block;
    block.num = static_cast<uint16_t>(recordCount_);
    block.numXY = block.numWhl = block.numCpi = block.numMedia = 0;
    block.macRpt = 1;
    ended.saved = store_.StoreWorkingMacro(group_, macro_);
    const Status looped = store_.SetLoopMode(group_, macro_, LoopOptionName(block.rptType), 1);
    if (ended.saved.ok()) {
        ended.saved = looped;
    }
    keys_.StopCapture();
    ended.markToSave = store_.workingMacro().bindKeys > 0;
    ended.uncheckRecordButton = reason != EndReason::RecordButton;
    return ended;
}

}  // namespace mousecfg
