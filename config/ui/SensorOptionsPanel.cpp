#include "config/ui/SensorOptionsPanel.h"

#include <charconv>
#include <optional>

#include "config/ApplyMessages.h"
#include "config/DeviceFeature.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageControls.h"
#include "config/ui/PageFailure.h"
#include "config/ui/PageRequests.h"
#include "config/ui/PageSession.h"
#include "config/ui/PageTexts.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/Slider.h"

namespace mousecfg::ui {
namespace {

using namespace sensor_key;

constexpr std::string_view kSavePower = "intell_save_power";
constexpr std::string_view kMoveWakeOption = "MoveWakeOption";
constexpr std::string_view kLodGroup = "LODHeight";
constexpr std::string_view kLodOptions[] = {"LODHeight1", "LODHeight2"};

// The correction options and their keys; one notification (2062) carries all four.
struct Correction {
    std::string_view control;
    std::string_view key;
    int SensorOptions::*value;
};
constexpr Correction kCorrections[] = {
    {"StraightLineCorrection", kStraightLine, &SensorOptions::straightLineCorrectEn},
    {"RippleControlEn", kRipple, &SensorOptions::rippleCtrlEn},
    {"SmoothLineOption", kSmoothLine, &SensorOptions::smoothLineEn},
    {"JitterCorrectEn", kJitter, &SensorOptions::jitterCorrectEn},
};

// The containers a sensor chip shows (1), hides (0) or leaves as they are (-1), in the order of kContainers, and
// the texts of its two lift-off options.
constexpr std::string_view kContainers[] = {"StraightLine_Ver", "RippleCtrl_Ver", "LODHeight_Ver",
                                            "JitterCorrect_Ver", "SmoothLineVer"};
enum class LodTexts { Unchanged, Skin, OneTwo, TwoThree };
struct ChipRow {
    std::initializer_list<int> chips;
    int shown[5];
    LodTexts texts;
};
const ChipRow kChipRows[] = {
    {{0, 1, 2, 11}, {0, 0, 0, 0, 0}, LodTexts::Unchanged},
    {{9, 10}, {0, 0, 0, 0, 1}, LodTexts::Unchanged},
    {{3}, {1, 0, 0, 0, 0}, LodTexts::Unchanged},
    {{4}, {1, 1, 1, 0, 0}, LodTexts::Skin},
    {{6}, {1, 1, 1, 0, 0}, LodTexts::OneTwo},
    {{7}, {1, 1, 1, 0, 0}, LodTexts::TwoThree},
    {{8}, {1, 1, 0, 0, 0}, LodTexts::Unchanged},
    {{12}, {0, 0, 1, 1, 0}, LodTexts::OneTwo},
};
constexpr ChipRow kOtherChips{{}, {-1, -1, -1, -1, 0}, LodTexts::Unchanged};

std::optional<int> TypedNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

// A time option: its slider, value label and edit, its key, its range when the skin gives no slider, its relay.
struct SensorTimeOption {
    std::string_view slider;
    std::string_view label;
    std::string_view edit;
    std::string_view key;
    OptionRange range;
    uint32_t relay;
    int SensorOptions::*value;
};

namespace {

constexpr SensorTimeOption kTimeOptions[] = {
    {"Slider_Sleep_Time", "Value_Sleep_Time", "Edit_Sleep_Time", kSleepTime, kSleepTimeRange, msg::kSleepTimeChanged,
     &SensorOptions::sleepTime},
    {"Slider_ShortPress_Time", "Value_ShortPress_Time", "Edit_ShortPress_Time", kShortPress, kShortPressRange,
     msg::kShortPressChanged, &SensorOptions::shortPress},
};

const ChipRow& RowOfChip(int chip) {
    for (const ChipRow& row : kChipRows) {
        for (int member : row.chips) {
            if (member == chip) {
                return row;
            }
        }
    }
    return kOtherChips;
}

}  // namespace

void SensorOptionsPanel::Initialise() {
    for (size_t i = 0; i < skinLodTexts_.size(); ++i) {
        const skin::Control* option = context_.window.FindControl(kLodOptions[i]);
        skinLodTexts_[i] = option != nullptr ? option->GetText() : std::string();
    }
}

void SensorOptionsPanel::Show() {
    ShowStored();
    const DeviceFeature* feature = context_.session.Feature();
    ShowChipControls(feature != nullptr ? feature->chipNumber : 0);
}

void SensorOptionsPanel::ShowStored() {
    if (const SensorOptions* options = context_.session.Sensor()) {
        ShowOptions(*options);
    }
}

void SensorOptionsPanel::ShowOptions(const SensorOptions& options) {
    skin::SkinWindow& window = context_.window;
    controls::Select(window, kSavePower, options.savePowerSelect != 0);
    for (const SensorTimeOption& time : kTimeOptions) {
        ShowTime(time, Range(time).Clamp(options.*time.value));
    }
    controls::SelectInGroup(window, kLodGroup, options.lodHeight);
    for (const Correction& correction : kCorrections) {
        controls::Select(window, correction.control, options.*correction.value != 0);
    }
    controls::Select(window, kMoveWakeOption, options.moveWakeEn != 0);
}

void SensorOptionsPanel::ShowTime(const SensorTimeOption& option, int value) {
    if (auto* slider = context_.window.Find<skin::Slider>(option.slider)) {
        slider->SetValue(value);
    }
    controls::SetText(context_.window, option.label, std::to_string(value));
    controls::SetText(context_.window, option.edit, std::to_string(value));
}

OptionRange SensorOptionsPanel::Range(const SensorTimeOption& option) const {
    if (const auto* slider = context_.window.Find<skin::Slider>(option.slider)) {
        return {slider->GetMinValue(), slider->GetMaxValue()};
    }
    return option.range;
}

void SensorOptionsPanel::ShowChipControls(int chip) {
    const ChipRow& row = RowOfChip(chip);
    for (size_t i = 0; i < std::size(kContainers); ++i) {
        if (row.shown[i] >= 0) {
            controls::Show(context_.window, kContainers[i], row.shown[i] != 0);
        }
    }
    std::array<std::string, 2> texts;
    switch (row.texts) {
        case LodTexts::Unchanged:
            return;
        case LodTexts::Skin:
            texts = {context_.texts.Lookup("MouseUI", "LodLow").value_or(skinLodTexts_[0]),
                     context_.texts.Lookup("MouseUI", "LodHigh").value_or(skinLodTexts_[1])};
            break;
        case LodTexts::OneTwo:
            texts = {"1mm", "2mm"};
            break;
        case LodTexts::TwoThree:
            texts = {"2mm", "3mm"};
            break;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        controls::SetText(context_.window, kLodOptions[i], texts[i]);
    }
}

bool SensorOptionsPanel::Store(std::string_view key, int value) {
    const Status stored = context_.session.SetSensorOption(key, value);
    if (stored) {
        return true;
    }
    ShowFailure(context_, stored, "SetWriteErr");
    ShowStored();
    return false;
}

bool SensorOptionsPanel::OnSelectChanged(const skin::Notification& notification) {
    const std::string& name = notification.senderName;
    skin::SkinWindow& window = context_.window;
    if (name == kSavePower) {
        const int on = controls::IsSelected(window, name) ? 1 : 0;
        if (Store(kSavePowerSelect, on)) {
            requests_.Relay(msg::kSavePowerChanged, static_cast<uintptr_t>(on));
        }
        return true;
    }
    if (name == kMoveWakeOption) {
        const int on = controls::IsSelected(window, name) ? 1 : 0;
        if (Store(kMoveWake, on)) {
            requests_.Relay(msg::kMoveWakeChanged, static_cast<uintptr_t>(on));
        }
        return true;
    }
    for (const Correction& correction : kCorrections) {
        if (name == correction.control) {
            StoreCorrections();
            return true;
        }
    }
    const auto* option = window.Find<skin::Option>(name);
    if (option != nullptr && option->GetGroup() == kLodGroup) {
        const int height = controls::GroupIndex(*option);
        if (option->IsSelected() && height >= 0 && Store(kLodHeight, height)) {
            requests_.Relay(msg::kLiftOffChanged, static_cast<uintptr_t>(height));
        }
        return true;
    }
    return false;
}

// The four corrections go to the mouse in one option byte: all four keys are written from their options.
void SensorOptionsPanel::StoreCorrections() {
    for (const Correction& correction : kCorrections) {
        if (context_.window.FindControl(correction.control) == nullptr) {
            continue;
        }
        if (!Store(correction.key, controls::IsSelected(context_.window, correction.control) ? 1 : 0)) {
            return;
        }
    }
    requests_.Relay(msg::kSensorFlagsChanged, 0);
}

bool SensorOptionsPanel::OnValueChanged(const skin::Notification& notification) {
    for (const SensorTimeOption& time : kTimeOptions) {
        if (notification.senderName != time.slider) {
            continue;
        }
        const auto* slider = context_.window.Find<skin::Slider>(time.slider);
        const int value = Range(time).Clamp(slider != nullptr ? slider->GetValue() : 0);
        if (notification.type == skin::notify::kMoveValueChanged) {
            controls::SetText(context_.window, time.label, std::to_string(value));  // the write waits for release
            controls::SetText(context_.window, time.edit, std::to_string(value));
        } else {
            StoreTime(time, value);
        }
        return true;
    }
    return false;
}

bool SensorOptionsPanel::OnEditDone(const skin::Notification& notification) {
    for (const SensorTimeOption& time : kTimeOptions) {
        if (notification.senderName != time.edit) {
            continue;
        }
        const skin::Control* edit = context_.window.FindControl(time.edit);
        const std::optional<int> typed = TypedNumber(edit != nullptr ? edit->GetText() : std::string());
        const SensorOptions* options = context_.session.Sensor();
        if (!typed && options != nullptr) {
            ShowTime(time, Range(time).Clamp(options->*time.value));  // not a number: the stored value again
        } else if (typed) {
            StoreTime(time, Range(time).Clamp(*typed));
        }
        return true;
    }
    return false;
}

void SensorOptionsPanel::StoreTime(const SensorTimeOption& option, int value) {
    const SensorOptions* options = context_.session.Sensor();
    if (options != nullptr && options->*option.value == value) {
        ShowTime(option, value);  // nothing changed: nothing to write
        return;
    }
    if (Store(option.key, value)) {
        ShowTime(option, value);
        requests_.Relay(option.relay, static_cast<uintptr_t>(value));
    }
}

}  // namespace mousecfg::ui
