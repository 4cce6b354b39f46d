#include "config/ui/LightingPage.h"

#include <algorithm>

#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/ui/KeyPage.h"
#include "config/ui/PageChangeFlags.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageControls.h"
#include "config/ui/PageSession.h"
#include "device/DeviceMessages.h"
#include "device/DeviceRequest.h"
#include "platform/MessageSink.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "skin/Combo.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/Slider.h"

namespace mousecfg::ui {
namespace {

constexpr std::string_view kModeList = "btn_MouseLed_LedMode";
constexpr std::string_view kColour = "btn_MouseLed_ColVal";
constexpr std::string_view kSlotSwitch = "chk_MouseLed_ColEn";
constexpr std::string_view kSingleColour = "opt_MouseLed_SingleCol";
constexpr std::string_view kSingleColourGroup = "SingleColorGroup";
constexpr std::string_view kDirectionGroup = "MouseDirect";
constexpr std::string_view kBrightness = "slider_MouseLed_BrightVal";
constexpr std::string_view kBrightnessText = "label_MouseLed_BrightValText";
constexpr std::string_view kSpeed = "slider_MouseLed_SpeedVal";
constexpr std::string_view kSpeedText = "label_MouseLed_SpeedValText";
constexpr int kFirstColourField = 4;  // the flags of the colour buttons 0..6 in the mode table

std::optional<int> SlotOf(std::string_view name, std::string_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    const std::optional<int> slot = NumberAfter(name, prefix);
    return slot && *slot < kLedColourCount ? slot : std::nullopt;
}

}  // namespace

void LightingPage::Initialise(PageContext& context) {
    if (context_ != &context) {
        context_ = &context;
        requests_ = std::make_unique<PageRequests>(context);
    }
}

LightingModeSettings* LightingPage::Record() {
    MouseConfig* document = context_ != nullptr ? context_->session.Document() : nullptr;
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kProfileCount ||
        currentMode_ < 0 || currentMode_ >= kLightingModeCount) {
        return nullptr;
    }
    return &document->lighting[static_cast<size_t>(document->currentProfile)][static_cast<size_t>(currentMode_)];
}

void LightingPage::Refresh(int /*profile*/) {
    if (context_ == nullptr || context_->session.Document() == nullptr) {
        return;
    }
    ReadModel();
    ShowModeList();
    InitLightingPage();
}

// The model's mode table and single-colour modes; a mode the table cannot use is traced once per device.
void LightingPage::ReadModel() {
    const DeviceFeature* feature = context_->session.Feature();
    table_ = feature != nullptr ? LightingModeTable::Read(*feature) : LightingModeTable();
    if (table_.problems() != tracedProblems_) {
        tracedProblems_ = table_.problems();
        for (const std::string& problem : tracedProblems_) {
            trace::Printf("%s: the mode is not offered\n", problem.c_str());
        }
    }
    singleColourModes_ = {-1, -1};
    const std::string modes =
        feature != nullptr ? ini::GetPrivateProfileString("Config", "SingleColorModes", "", feature->iniFile) : "";
    size_t start = 0;
    for (int& mode : singleColourModes_) {
        if (start > modes.size()) {
            break;
        }
        const size_t comma = std::min(modes.find(',', start), modes.size());
        const std::string_view field = std::string_view(modes).substr(start, comma - start);
        if (!field.empty()) {
            mode = ini::Atoi(field);
        }
        start = comma + 1;
    }
}

bool LightingPage::IsSingleColour(int mode) const {
    return mode >= 0 && std::find(singleColourModes_.begin(), singleColourModes_.end(), mode) != singleColourModes_.end();
}

// Items of modes the model cannot use are hidden; the control an entry names is hidden and shown again when the
// entry says so. The list is laid out again for its remaining items.
void LightingPage::ShowModeList() {
    auto* list = context_->window.Find<skin::Combo>(kModeList);
    for (int mode = 0; mode < LightingModeTable::kModeCount; ++mode) {
        if (list != nullptr) {
            if (skin::Control* item = list->GetItemAt(mode)) {
                item->SetVisible(table_.Selectable(mode));
            }
        }
        const LightingModeTable::Mode& entry = table_.At(mode);
        if (!entry.control.empty()) {
            controls::Show(context_->window, entry.control, entry.usable && entry.shown);
        }
    }
    if (list != nullptr) {
        list->SetPos(list->GetPos());
        list->Invalidate();
    }
}

void LightingPage::InitLightingPage() {
    MouseConfig* document = context_->session.Document();
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kProfileCount) {
        return;
    }
    auto quiet = context_->changes.ChangingSelections();
    currentMode_ = document->lighting[static_cast<size_t>(document->currentProfile)][0].mode;
    if (auto* list = context_->window.Find<skin::Combo>(kModeList)) {
        list->SelectItem(table_.Selectable(currentMode_) ? currentMode_ : -1, false);
    }
    const LightingModeSettings* record = Record();
    if (record != nullptr) {
        ShowColours(*record);
        if (auto* slider = context_->window.Find<skin::Slider>(kBrightness)) {
            slider->SetValue(record->brightness);
        }
        if (auto* slider = context_->window.Find<skin::Slider>(kSpeed)) {
            slider->SetValue(record->speed);
        }
        controls::SetText(context_->window, kBrightnessText, std::to_string(record->brightness));
        controls::SetText(context_->window, kSpeedText, std::to_string(record->speed));
        controls::SelectInGroup(context_->window, kDirectionGroup, record->direction);
    }
    ApplyVisibility(currentMode_);
    if (record != nullptr) {
        ShowSingleColour(*record);
    }
}

void LightingPage::ShowColours(const LightingModeSettings& record) {
    skin::SkinWindow& window = context_->window;
    for (int slot = 0; slot < kLedColourCount; ++slot) {
        const LedColour& colour = record.colours[static_cast<size_t>(slot)];
        const std::string button = controls::Numbered(kColour, slot);
        if (skin::Control* control = window.FindControl(button)) {
            control->SetBkColor(controls::Opaque(colour.colour));
        }
        controls::Enable(window, button, colour.enabled != 0);
        controls::Select(window, controls::Numbered(kSlotSwitch, slot), colour.enabled != 0);
    }
}

// The mode's row of the table shows or hides each control group; a mode the table cannot use shows none of them.
void LightingPage::ApplyVisibility(int mode) {
    const bool usable = table_.Selectable(mode);
    const LightingModeTable::Mode& entry = table_.At(mode);
    for (int field = LightingModeTable::kFirstFlag; field <= LightingModeTable::kLastFlag; ++field) {
        for (std::string_view name : LightingModeTable::ShownControls(field)) {
            controls::Show(context_->window, name, usable && entry.Flag(field));
        }
    }
}

// In a single-colour mode each shown colour gets an option that makes it the mode's one colour; the option of
// the lowest enabled slot is selected.
void LightingPage::ShowSingleColour(const LightingModeSettings& record) {
    const bool single = IsSingleColour(currentMode_) && table_.Selectable(currentMode_);
    int selected = -1;
    for (int slot = 0; slot < kLedColourCount; ++slot) {
        const bool shown = single && table_.At(currentMode_).Flag(kFirstColourField + slot);
        controls::Show(context_->window, controls::Numbered(kSingleColour, slot), shown);
        if (shown && selected < 0 && record.colours[static_cast<size_t>(slot)].enabled != 0) {
            selected = slot;
        }
    }
    for (int slot = 0; slot < kLedColourCount; ++slot) {
        controls::Select(context_->window, controls::Numbered(kSingleColour, slot), slot == selected);
    }
}

void LightingPage::ShowLightingMode(int mode) {
    MouseConfig* document = context_ != nullptr ? context_->session.Document() : nullptr;
    if (document == nullptr || mode < 0 || mode >= kLightingModeCount || document->currentProfile < 0 ||
        document->currentProfile >= kProfileCount) {
        return;
    }
    int& stored = document->lighting[static_cast<size_t>(document->currentProfile)][0].mode;
    if (stored != mode) {
        stored = mode;
        context_->session.DocumentChanged();
    }
    InitLightingPage();
}

void LightingPage::OnItemSelect(skin::Notification& notification) {
    if (context_ != nullptr && notification.senderName == kModeList) {
        OnModeChosen(static_cast<int>(notification.wParam));
    }
}

void LightingPage::OnModeChosen(int mode) {
    MouseConfig* document = context_->session.Document();
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kProfileCount) {
        return;
    }
    if (!table_.Selectable(mode)) {
        InitLightingPage();  // a mode the model cannot use is not taken: the list shows the mode again
        return;
    }
    document->lighting[static_cast<size_t>(document->currentProfile)][0].mode = mode;
    InitLightingPage();
    Changed();
}

bool LightingPage::OnClick(skin::Notification& notification) {
    // A slot's switch is taken when its state has changed ("selectchanged" follows the click).
    return SlotOf(notification.senderName, kSlotSwitch).has_value();
}

void LightingPage::OnSelectChanged(skin::Notification& notification) {
    if (context_ == nullptr || Record() == nullptr) {
        return;
    }
    const std::string& name = notification.senderName;
    if (const std::optional<int> slot = SlotOf(name, kSlotSwitch)) {
        OnSlotSwitched(*slot);
        return;
    }
    const auto* option = context_->window.Find<skin::Option>(name);
    if (option == nullptr || !option->IsSelected()) {
        return;
    }
    if (option->GetGroup() == kDirectionGroup) {
        Record()->direction = controls::GroupIndex(*option);
        Changed();
    } else if (option->GetGroup() == kSingleColourGroup) {
        if (const std::optional<int> slot = SlotOf(name, kSingleColour)) {
            OnSingleColourChosen(*slot);
        }
    }
}

// Switching off the last enabled slot of the mode is refused: the slot and its switch stay on.
void LightingPage::OnSlotSwitched(int slot) {
    LightingModeSettings& record = *Record();
    const std::string name = controls::Numbered(kSlotSwitch, slot);
    const int on = controls::IsSelected(context_->window, name) ? 1 : 0;
    LedColour& colour = record.colours[static_cast<size_t>(slot)];
    if (colour.enabled == on) {
        return;
    }
    const bool another = std::any_of(record.colours.begin(), record.colours.end(), [&colour](const LedColour& other) {
        return &other != &colour && other.enabled != 0;
    });
    if (on == 0 && !another) {
        controls::Select(context_->window, name, true);
        return;
    }
    colour.enabled = on;
    controls::Enable(context_->window, controls::Numbered(kColour, slot), on != 0);
    Changed();
}

// The chosen slot becomes the mode's colour; in a single-colour mode it is the only one switched on.
void LightingPage::OnSingleColourChosen(int slot) {
    LightingModeSettings& record = *Record();
    for (int other = 0; other < kLedColourCount; ++other) {
        LedColour& colour = record.colours[static_cast<size_t>(other)];
        if (other == slot) {
            colour.enabled = 1;
        } else if (IsSingleColour(currentMode_)) {
            colour.enabled = 0;
        }
    }
    ShowColours(record);
    Changed();
}

void LightingPage::OnValueChanged(skin::Notification& notification) {
    if (context_ == nullptr || (notification.senderName != kBrightness && notification.senderName != kSpeed)) {
        return;
    }
    const auto* slider = context_->window.Find<skin::Slider>(notification.senderName);
    const int value = slider != nullptr ? slider->GetValue() : static_cast<int>(notification.wParam);
    OnSliderMoved(notification.senderName, value, notification.type == skin::notify::kValueChanged);
}

// While a slider is dragged only its label follows; letting it go writes the effect once.
void LightingPage::OnSliderMoved(const std::string& name, int value, bool released) {
    LightingModeSettings* record = Record();
    if (record == nullptr) {
        return;
    }
    if (value < 1) {
        value = 1;
        if (auto* slider = context_->window.Find<skin::Slider>(name)) {
            slider->SetValue(value);
        }
    }
    const bool brightness = name == kBrightness;
    (brightness ? record->brightness : record->speed) = value;
    controls::SetText(context_->window, brightness ? kBrightnessText : kSpeedText, std::to_string(value));
    if (released) {
        Changed();
    }
}

void LightingPage::OnColourPicked(const std::string& button, skin::Color colour) {
    const std::optional<int> slot = SlotOf(button, kColour);
    LightingModeSettings* record = slot ? Record() : nullptr;
    if (record == nullptr) {
        return;
    }
    record->colours[static_cast<size_t>(*slot)].colour = controls::Rgb(colour);
    if (skin::Control* control = context_->window.FindControl(button)) {
        control->SetBkColor(controls::Opaque(controls::Rgb(colour)));
    }
    Changed();
}

// 2040: the mouse's own button changed the mode; wParam carries (mode + 1) with bit 7 set in its low byte.
void LightingPage::OnDeviceEvent(const Message& message) {
    if (message.id == msg::kLightingChanged) {
        ShowLightingMode(static_cast<int>(message.wParam & 0x3F) - 1);
    }
}

void LightingPage::Changed() {
    context_->session.DocumentChanged();
    requests_->Apply(request::kLightEffect);
}

void LightingPage::ApplyFinished() {
    if (requests_ != nullptr) {
        requests_->ApplyFinished();
    }
}

}  // namespace mousecfg::ui
