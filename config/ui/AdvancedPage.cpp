#include "config/ui/AdvancedPage.h"

#include <algorithm>

#include "config/ApplyMessages.h"
#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "config/ReportRate.h"
#include "config/TypedDpi.h"
#include "config/ui/KeyPage.h"
#include "config/ui/PageContext.h"
#include "config/ui/PageControls.h"
#include "config/ui/PageSession.h"
#include "device/DeviceMessages.h"
#include "device/DeviceRequest.h"
#include "platform/MessageSink.h"
#include "platform/Trace.h"
#include "skin/Notification.h"
#include "skin/Option.h"
#include "skin/SkinWindow.h"
#include "skin/Slider.h"
#include "skin/TabLayout.h"

namespace mousecfg::ui {
namespace {

constexpr std::string_view kLevelRow = "hor_MouseAdv_Level";
constexpr std::string_view kLevelSwitch = "chk_MouseAdv_PDIEn";
constexpr std::string_view kLevelOption = "chk_MouseAdv_SelDPI";
constexpr std::string_view kLevelColour = "btn_MouseAdv_Color";
constexpr std::string_view kLevelEdit = "MouseAdv_Edit";
constexpr std::string_view kLevelGroup = "MouseDPIOption";
constexpr std::string_view kSlider = "btn_MouseAdv_DpiSlider";
constexpr std::string_view kSliderValue = "lab_MouseAdv_DpiSliderValue";
constexpr std::string_view kSliderMin = "lab_MouseAdv_DpiSliderMin";
constexpr std::string_view kSliderMax = "lab_MouseAdv_DpiSliderMax";
constexpr std::string_view kRateGroup = "MouseUsbRate";
constexpr std::string_view kRateOption = "btn_MouseAdv_UsbRate";
constexpr std::string_view kFireSlider = "btn_MouseAdv_FireCtrl";
constexpr std::string_view kFireValue = "lab_MouseAdv_FireValue";
constexpr int kDefaultFireValue = 2;  // what a fire slider at 0 stands for

// The models that offer the three highest report rates and no lighting: the one always, the seven-rate model
// while it is not on the cable.
constexpr std::string_view kNoLightingModel = "KT62";

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The level of a control "prefix" + level, or nothing for another control or a number outside 0..7.
std::optional<int> LevelOf(std::string_view name, std::string_view prefix) {
    if (!StartsWith(name, prefix)) {
        return std::nullopt;
    }
    const std::optional<int> level = NumberAfter(name, prefix);
    return level && *level < kDpiLevelCount ? level : std::nullopt;
}

// The relays of the sensor and power options that the main window hands on once it has taken them.
bool IsOptionRelay(uint32_t id) {
    return id == msg::kSavePowerChanged || id == msg::kSleepTimeChanged || id == msg::kSensorFlagsChanged ||
           id == msg::kLiftOffChanged || id == msg::kMoveWakeChanged || id == msg::kShortPressChanged;
}

}  // namespace

void AdvancedPage::Initialise(PageContext& context) {
    if (context_ != &context) {
        context_ = &context;
        requests_ = std::make_unique<PageRequests>(context);
        sensor_ = std::make_unique<SensorOptionsPanel>(context, *requests_);
    }
    sensor_->Initialise();
}

void AdvancedPage::LanguageChanged() {
    if (sensor_ != nullptr) {
        sensor_->Show();
    }
}

ProfileSettings* AdvancedPage::Profile() {
    MouseConfig* document = context_ != nullptr ? context_->session.Document() : nullptr;
    if (document == nullptr || document->currentProfile < 0 || document->currentProfile >= kProfileCount) {
        return nullptr;
    }
    return &document->profiles[static_cast<size_t>(document->currentProfile)];
}

std::string AdvancedPage::GearText(int gear) const {
    const DeviceFeature* feature = context_->session.Feature();
    return feature != nullptr ? feature->GearDpi(gear) : std::string();
}

void AdvancedPage::Refresh(int /*profile*/) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    ShowLevels(*profile);
    ShowRates();
    ShowFire(profile->fireValue);
    sensor_->Show();
    ShowModelDifferences();
}

void AdvancedPage::ShowLevels(const ProfileSettings& profile) {
    const DeviceFeature* feature = context_->session.Feature();
    const int offered = feature != nullptr ? feature->uiDpiLevelCount : kDpiLevelCount;
    const int rows = offered >= 1 && offered <= kDpiLevelCount ? offered : kDpiLevelCount;
    for (int level = 0; level < kDpiLevelCount; ++level) {
        controls::Show(context_->window, controls::Numbered(kLevelRow, level), level < rows);
        ShowLevel(level, profile);
    }
    controls::SelectInGroup(context_->window, kLevelGroup, profile.currentDpiLevel);
    ShowSlider(profile);
}

void AdvancedPage::ShowLevel(int level, const ProfileSettings& profile) {
    skin::SkinWindow& window = context_->window;
    const DpiLevel& dpi = profile.dpiLevels[static_cast<size_t>(level)];
    const bool on = dpi.enabled != 0;
    controls::Select(window, controls::Numbered(kLevelSwitch, level), on);
    controls::Enable(window, controls::Numbered(kLevelOption, level), on);
    controls::Enable(window, controls::Numbered(kLevelColour, level), on);
    if (skin::Control* colour = window.FindControl(controls::Numbered(kLevelColour, level))) {
        colour->SetBkColor(controls::Opaque(dpi.colour));
    }
    const std::string text = GearText(dpi.gear);
    trace::Printf("SetText:%s\n", text.c_str());
    controls::SetText(window, controls::Numbered(kLevelOption, level), text);
    controls::SetText(window, controls::Numbered(kLevelEdit, level), text);
}

// The slider runs over the gear table; its labels name the active level's gear, the first and the last gear.
void AdvancedPage::ShowSlider(const ProfileSettings& profile) {
    const DeviceFeature* feature = context_->session.Feature();
    const int gears = feature != nullptr ? feature->gearTable.count : 0;
    const int level = std::clamp(profile.currentDpiLevel, 0, kDpiLevelCount - 1);
    const int gear = profile.dpiLevels[static_cast<size_t>(level)].gear;
    controls::SetSlider(context_->window, kSlider, 1, std::max(1, gears), gear);
    controls::SetText(context_->window, kSliderValue, GearText(gear));
    controls::SetText(context_->window, kSliderMin, gears > 0 ? GearText(1) : "Null");
    controls::SetText(context_->window, kSliderMax, "/ " + GearText(gears));
}

// The rate of the link in use: the cable's and the receiver's are kept apart; over BLE the mouse takes none (the
// choice shows the first rate and cannot be changed).
void AdvancedPage::ShowRates() {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    const int highest = MaxRateIndex(context_->session.DeviceName());
    profile->usbRate = std::clamp(profile->usbRate, 0, highest);
    profile->dongleRate = std::clamp(profile->dongleRate, 0, highest);
    const LinkKind link = context_->session.Link();
    int shown = -1;
    switch (link) {
        case LinkKind::Ble:
            profile->bleRate = 0;
            shown = 0;
            break;
        case LinkKind::Cable: shown = profile->usbRate; break;
        case LinkKind::Receiver: shown = profile->dongleRate; break;
        case LinkKind::None: break;
    }
    for (skin::Option* option : context_->window.GetPaintManager().GetOptionGroup(kRateGroup)) {
        option->SetEnabled(link != LinkKind::Ble);
    }
    controls::SelectInGroup(context_->window, kRateGroup, shown);
}

void AdvancedPage::ShowFire(int value) {
    if (auto* slider = context_->window.Find<skin::Slider>(kFireSlider)) {
        slider->SetValue(value);
    }
    controls::SetText(context_->window, kFireValue, std::to_string(value));
}

// One model always, and the seven-rate model while it is not on the cable, offer no lighting and (where the model's
// rate table has them) the three highest report rates; every other model hides those rates.
void AdvancedPage::ShowModelDifferences() {
    const std::string model = context_->session.DeviceName();
    const bool restricted =
        model == kNoLightingModel || (model == kSevenRateModel && context_->session.Link() != LinkKind::Cable);
    const bool highRates = restricted && MaxRateIndex(model) >= 6;
    skin::SkinWindow& window = context_->window;
    for (int option = 5; option <= 7; ++option) {
        controls::Show(window, controls::Numbered(kRateOption, option), highRates);
    }
    controls::Show(window, "lab_MouseAdv_RateHint", !highRates);  // the skin's hint stands where they would
    if (window.FindControl("ver_mouselight") != nullptr) {
        controls::Show(window, "opt_MousePage_Light", !restricted);
    }
    if (model == kNoLightingModel || model == kSevenRateModel) {
        controls::Show(window, "opt_MouseKey_Led", !restricted);
    }
    auto* pages = window.Find<skin::TabLayout>("tab_mousepage");
    if (restricted && pages != nullptr && pages->GetCurSel() == pages->GetItemIndex(window.FindControl("ver_mouselight"))) {
        pages->SelectItem(window.FindControl("ver_mousekeypage"));
        controls::Select(window, "opt_MousePage_Keys", true);
        controls::Select(window, "opt_MousePage_Light", false);
    }
}

bool AdvancedPage::OnClick(skin::Notification& notification) {
    // A level's switch is taken when its state has changed ("selectchanged" follows the click).
    return LevelOf(notification.senderName, kLevelSwitch).has_value();
}

void AdvancedPage::OnSelectChanged(skin::Notification& notification) {
    if (context_ == nullptr || sensor_->OnSelectChanged(notification)) {
        return;
    }
    const std::string& name = notification.senderName;
    if (const std::optional<int> level = LevelOf(name, kLevelSwitch)) {
        OnLevelSwitched(*level);
        return;
    }
    const auto* option = context_->window.Find<skin::Option>(name);
    if (option == nullptr || !option->IsSelected()) {
        return;
    }
    if (const std::optional<int> level = LevelOf(name, kLevelOption)) {
        OnActiveLevelChosen(*level);
    } else if (option->GetGroup() == kRateGroup) {
        OnRateChosen(controls::GroupIndex(*option));
    }
}

void AdvancedPage::OnLevelSwitched(int level) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    DpiLevel& dpi = profile->dpiLevels[static_cast<size_t>(level)];
    const int on = controls::IsSelected(context_->window, controls::Numbered(kLevelSwitch, level)) ? 1 : 0;
    if (dpi.enabled == on) {
        return;
    }
    dpi.enabled = on;
    controls::Enable(context_->window, controls::Numbered(kLevelOption, level), on != 0);
    controls::Enable(context_->window, controls::Numbered(kLevelColour, level), on != 0);
    context_->session.DocumentChanged();
    requests_->Apply(request::kDpiTable);
}

void AdvancedPage::OnActiveLevelChosen(int level) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr || profile->currentDpiLevel == level) {
        return;
    }
    profile->currentDpiLevel = level;
    ShowSlider(*profile);
    context_->session.DocumentChanged();
    requests_->Apply(request::kDpiTable);
}

void AdvancedPage::OnRateChosen(int index) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr || index < 0) {
        return;
    }
    switch (context_->session.Link()) {
        case LinkKind::Ble: profile->bleRate = 0; break;
        case LinkKind::Cable: profile->usbRate = index; break;
        case LinkKind::Receiver: profile->dongleRate = index; break;
        case LinkKind::None: return;
    }
    context_->session.DocumentChanged();
    requests_->Apply(request::kReportRate);
}

void AdvancedPage::OnValueChanged(skin::Notification& notification) {
    if (context_ == nullptr || sensor_->OnValueChanged(notification)) {
        return;
    }
    const bool released = notification.type == skin::notify::kValueChanged;
    const auto* slider = context_->window.Find<skin::Slider>(notification.senderName);
    const int value = slider != nullptr ? slider->GetValue() : static_cast<int>(notification.wParam);
    if (notification.senderName == kSlider) {
        OnSliderMoved(value, released);
    } else if (notification.senderName == kFireSlider) {
        OnFireMoved(value, released);
    }
}

// While the slider is dragged only the texts follow; letting it go writes the DPI table once.
void AdvancedPage::OnSliderMoved(int value, bool released) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    if (value < 1) {
        value = 1;
        if (auto* slider = context_->window.Find<skin::Slider>(kSlider)) {
            slider->SetValue(value);
        }
    }
    const int level = std::clamp(profile->currentDpiLevel, 0, kDpiLevelCount - 1);
    profile->dpiLevels[static_cast<size_t>(level)].gear = value;
    const std::string text = GearText(value);
    controls::SetText(context_->window, controls::Numbered(kLevelOption, level), text);
    controls::SetText(context_->window, controls::Numbered(kLevelEdit, level), text);
    controls::SetText(context_->window, kSliderValue, text);
    if (released) {
        context_->session.DocumentChanged();
        requests_->Apply(request::kDpiTable);
    }
}

void AdvancedPage::OnFireMoved(int value, bool released) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    if (value == 0) {
        value = kDefaultFireValue;
        ShowFire(value);
    }
    controls::SetText(context_->window, kFireValue, std::to_string(value));
    if (released && profile->fireValue != value) {
        profile->fireValue = value;
        context_->session.DocumentChanged();
        requests_->ApplyFireValue();
    }
}

void AdvancedPage::OnEditDone(skin::Notification& notification) {
    if (context_ == nullptr || sensor_->OnEditDone(notification)) {
        return;
    }
    if (const std::optional<int> level = LevelOf(notification.senderName, kLevelEdit)) {
        OnDpiTyped(*level);
    }
}

// A typed DPI value sets the gear of the edit's own level by the nearest-gear rule; text that names no gear
// (empty, not a number, zero or negative) gives the level's DPI back.
void AdvancedPage::OnDpiTyped(int level) {
    ProfileSettings* profile = Profile();
    const DeviceFeature* feature = context_->session.Feature();
    const skin::Control* edit = context_->window.FindControl(controls::Numbered(kLevelEdit, level));
    if (profile == nullptr || feature == nullptr || edit == nullptr) {
        return;
    }
    DpiLevel& dpi = profile->dpiLevels[static_cast<size_t>(level)];
    const std::optional<int> gear = GearForTypedDpi(*feature, edit->GetText());
    if (!gear || *gear == dpi.gear) {
        ShowLevel(level, *profile);
        return;
    }
    dpi.gear = *gear;
    ShowLevel(level, *profile);
    if (level == profile->currentDpiLevel) {
        ShowSlider(*profile);
    }
    context_->session.DocumentChanged();
    requests_->Apply(request::kDpiTable);
}

void AdvancedPage::OnColourPicked(const std::string& button, skin::Color colour) {
    const std::optional<int> level = LevelOf(button, kLevelColour);
    ProfileSettings* profile = Profile();
    if (!level || profile == nullptr) {
        return;
    }
    profile->dpiLevels[static_cast<size_t>(*level)].colour = controls::Rgb(colour);
    if (skin::Control* control = context_->window.FindControl(button)) {
        control->SetBkColor(controls::Opaque(controls::Rgb(colour)));
    }
    context_->session.DocumentChanged();
    requests_->Apply(request::kDpiColours);
}

void AdvancedPage::OnDeviceEvent(const Message& message) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr) {
        return;
    }
    if (message.id == msg::kDpiLevelChanged) {
        ShowDpiLevel(profile->currentDpiLevel);  // the router has taken the level into the document
    } else if (message.id == msg::kReportRateChanged) {
        const int index = RateIndexFromCode(context_->session.DeviceName(), static_cast<int>(message.wParam & 0xFF));
        const LinkKind link = context_->session.Link();
        if (link == LinkKind::Cable || link == LinkKind::Receiver) {
            (link == LinkKind::Cable ? profile->usbRate : profile->dongleRate) = index;
            context_->session.DocumentChanged();
            ShowRate(index);
        }
    } else if (message.id == msg::kDpiValueChanged) {
        ShowLevels(*profile);
    } else if (IsOptionRelay(message.id)) {
        sensor_->Show();  // an option relayed, perhaps from the settings window: show what the session now holds
    }
}

void AdvancedPage::OnConnectionChanged(bool /*connected*/, bool /*cable*/) {
    if (Profile() != nullptr) {
        ShowRates();
        ShowModelDifferences();
    }
}

void AdvancedPage::ShowDpiLevel(int level) {
    ProfileSettings* profile = Profile();
    if (profile == nullptr || level < 0 || level >= kDpiLevelCount) {
        return;
    }
    trace::Write("DPI44444\n");
    profile->currentDpiLevel = level;
    controls::SelectInGroup(context_->window, kLevelGroup, level);
    ShowSlider(*profile);
}

void AdvancedPage::ShowRate(int index) {
    if (context_ != nullptr) {
        controls::SelectInGroup(context_->window, kRateGroup, index);
    }
}

void AdvancedPage::ApplyFinished() {
    if (requests_ != nullptr) {
        requests_->ApplyFinished();
    }
}

}  // namespace mousecfg::ui
