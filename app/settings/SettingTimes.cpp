// The sleep and power-down times of the settings window: each a slider, an edit and a value label that show the
// same number of minutes. Moving a slider writes the settings file at every step; the mouse is told only when
// the slider is released, and not while an apply run or a connection update is under way.
#include <algorithm>

#include "app/ShellMessages.h"
#include "app/settings/Setting.h"
#include "platform/PrivateProfile.h"
#include "skin/Edit.h"
#include "skin/Slider.h"

namespace mousecfg::app {

struct Setting::TimeControls {
    const char* slider;
    const char* edit;
    const char* value;
    std::string_view key;
    uint32_t message;
    int min;  // the fixed range of the time; 0 / 0: the slider's range
    int max;
};

const Setting::TimeControls Setting::kSleepControls{"Slider_Sleep_Time", "Edit_Sleep_Time", "Value_Sleep_Time",
                                                    "SleepTime", msg::kRelaySleep, 1, 60};
const Setting::TimeControls Setting::kPowerDownControls{"Slider_PD_Time", "Edit_PD_Time", "Value_PD_Time", "PDTime",
                                                        msg::kRelayPowerDown, 0, 0};

void Setting::OnTimeNotification(const skin::Notification& notification) {
    const bool slider = notification.type == skin::notify::kValueChanged ||
                        notification.type == skin::notify::kMoveValueChanged;
    const bool edit = notification.type == skin::notify::kKillFocus || notification.type == skin::notify::kReturn;
    for (const TimeControls* controls : {&kSleepControls, &kPowerDownControls}) {
        if (slider && notification.senderName == controls->slider) {
            OnSlider(*controls, notification.type == skin::notify::kValueChanged);
        } else if (edit && notification.senderName == controls->edit) {
            OnTimeEdit(*controls);
        }
    }
}

int Setting::ClampToSlider(const TimeControls& controls, int value) const {
    int low = controls.min;
    int high = controls.max;
    if (high <= low) {
        const auto* slider = Find<skin::Slider>(controls.slider);
        low = slider != nullptr ? slider->GetMinValue() : 0;
        high = slider != nullptr ? slider->GetMaxValue() : 0;
    }
    return std::clamp(value, low, std::max(low, high));
}

void Setting::ShowStoredTimes() {
    for (const TimeControls* controls : {&kSleepControls, &kPowerDownControls}) {
        ShowTime(*controls, ClampToSlider(*controls, store_.Get(controls->key)));
    }
}

void Setting::ShowTime(const TimeControls& controls, int value) {
    if (auto* slider = Find<skin::Slider>(controls.slider)) {
        slider->SetValue(value);
    }
    SetText(controls.value, std::to_string(value));
    SetText(controls.edit, std::to_string(value));
}

void Setting::OnSlider(const TimeControls& controls, bool released) {
    const auto* slider = Find<skin::Slider>(controls.slider);
    if (slider == nullptr || filling_) {
        return;
    }
    const int value = ClampToSlider(controls, slider->GetValue());
    ShowTime(controls, value);
    // While the slider moves a failed write is only traced: the release writes again and reports it.
    const bool written = Write(controls.key, value, released);
    const bool busy = context_.busy && context_.busy();
    if (released && written && !busy) {
        SendToParent(controls.message, static_cast<uintptr_t>(value), 0);
    }
}

void Setting::OnTimeEdit(const TimeControls& controls) {
    const auto* edit = Find<skin::Edit>(controls.edit);
    if (edit == nullptr || filling_) {
        return;
    }
    // Text that is not a number reads as 0 and is held in the range (a sleep time of 0 becomes 1).
    const int value = ClampToSlider(controls, ini::Atoi(edit->GetText()));
    ShowTime(controls, value);
    if (Write(controls.key, value)) {
        SendToParent(controls.message, static_cast<uintptr_t>(value), 0);
    }
}

}  // namespace mousecfg::app
