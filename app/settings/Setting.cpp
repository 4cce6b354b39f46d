#include "app/settings/Setting.h"

#include "app/LanguageTexts.h"
#include "app/MsgWndBoxes.h"
#include "app/ShellMessages.h"
#include "platform/Autostart.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "platform/UrlOpener.h"
#include "skin/CheckBox.h"
#include "skin/Combo.h"
#include "skin/ListElement.h"
#include "skin/Option.h"
#include "skin/PaintManager.h"
#include "skin/SkinResources.h"
#include "skin/TabLayout.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

// The window's own message: report the writes that failed, after the notification that caused them.
constexpr uint32_t kReportFailures = 2095;

}  // namespace

Setting::Setting(SettingContext context)
    : context_(std::move(context)), store_(context_.settingsFile, context_.writer) {
    ownBoxes_.SetParent(this, {});
}

Setting::~Setting() {
    if (skin::SkinResources::GetTextQueryInterface() == this) {
        skin::SkinResources::SetTextQueryInterface(nullptr);
    }
}

void Setting::InitWindow() {
    ApplyLanguageLook();
}

std::optional<std::string> Setting::QueryControlText(std::string_view textId, std::string_view /*controlClass*/) {
    if (context_.texts == nullptr) {
        return std::nullopt;
    }
    return context_.texts->Lookup(textId, false, true);
}

void Setting::Notify(skin::Notification& notification) {
    const std::string& name = notification.senderName;
    if (notification.type == skin::notify::kWindowInit) {
        FillControls();
        ShowChargeCount();
    } else if (notification.type == skin::notify::kClick) {
        OnClick(name);
    } else if (notification.type == skin::notify::kSelectChanged) {
        OnSelectChanged(name, notification.sender);
    } else if (notification.type == skin::notify::kItemSelect && name == "btn_language") {
        OnLanguage();
    } else {
        OnTimeNotification(notification);
    }
}

intptr_t Setting::HandleCustomMessage(const Message& message, bool& handled) {
    if (message.id == kReportFailures) {
        ReportFailures();
        handled = true;
    } else if (message.id == skin::msg::kClose) {
        CloseWindow();  // closed by the desktop: the main window is told as for the close button
        handled = true;
    }
    return 0;
}

void Setting::OnClick(const std::string& name) {
    if (name == "btn_close") {
        CloseWindow();
    } else if (name == "Minimize" || name == "Exit") {
        const int option = name == "Exit" ? 1 : 0;
        context_.closeOption = option;
        ShowCloseOption();
        SendToParent(msg::kCloseConfig, static_cast<uintptr_t>(option), -1);
    } else if (name == "RemindAgain") {
        // "click" comes before the check box changes: the new state is the other one.
        const auto* remind = Find<skin::CheckBox>("RemindAgain");
        context_.remind = remind != nullptr && !remind->IsChecked() ? 1 : 0;
        if (SkinWindow* parent = GetParent()) {
            parent->Post(Message{msg::kCloseConfig, static_cast<uintptr_t>(-1), context_.remind, {}});
        }
    } else if (name == "opt_routine" || name == "opt_more" || name == "opt_about") {
        OnPageButton(name);
    } else if (name == "opt_automaticallyOpen") {
        OnAutostart();
    } else if (name == "opt_automaticallyHide") {
        OnStartHidden();
    } else if (name == "opt_dpipopck") {
        OnToggle("opt_dpipopck", "DpiPopEn");
    } else if (name == "opt_lightmode") {
        OnToggle("opt_lightmode", "OverallLightControlEn");
    } else if (name == "opt_lowbattery") {
        OnToggle("opt_lowbattery", kLowBatteryNoticeKey);
    } else if (name.find("link_") != std::string::npos) {
        OnLink(name);
    } else if (name == "btn_update") {
        OnUpdate();
    }
}

void Setting::OnSelectChanged(const std::string& name, skin::Control* sender) {
    if (filling_) {
        return;
    }
    const auto selected = [this](const char* control) {
        const auto* option = Find<skin::Option>(control);
        return option != nullptr && option->IsSelected() ? 1 : 0;
    };
    if (name == "intell_save_power") {
        const int value = selected("intell_save_power");
        if (Write("SavePowerSelect", value)) {
            SendToParent(msg::kRelaySavePower, static_cast<uintptr_t>(value), 0);
        }
    } else if (name == "StraightLineCorrection" || name == "RippleControlEn") {
        const int straight = selected("StraightLineCorrection");
        const int ripple = selected("RippleControlEn");
        if (Write("StraightLineCorrectEn", straight) && Write("RippleCtrlEn", ripple)) {
            SendToParent(msg::kRelaySensorByte, static_cast<uintptr_t>(straight), ripple);
        }
    } else if (auto* item = dynamic_cast<skin::Option*>(sender); item != nullptr && item->GetGroup() == "LODHeight") {
        const auto& group = GetPaintManager().GetOptionGroup("LODHeight");
        const auto at = std::find(group.begin(), group.end(), item);
        const int index = at == group.end() ? 0 : static_cast<int>(at - group.begin());
        if (item->IsSelected() && Write("LODHeight", index)) {
            SendToParent(msg::kRelayLiftOff, static_cast<uintptr_t>(index), 0);
        }
    }
}

void Setting::OnPageButton(const std::string& name) {
    const int page = name == "opt_routine" ? 0 : name == "opt_more" ? 1 : 2;
    if (auto* tabs = Find<skin::TabLayout>("setting_tab")) {
        tabs->SelectItem(page);
    }
    filling_ = true;
    if (page == 0) {
        ShowLanguage();
        ShowGeneralOptions();
    } else if (page == 1) {
        if (auto* light = Find<skin::Option>("opt_lightmode")) {
            light->Selected(store_.Get("OverallLightControlEn") != 0, false);
        }
    } else {
        SetVisible("setting_about_red_point", context_.aboutNotice);
    }
    filling_ = false;
}

// Start with the desktop session: the settings file first; only when it holds the choice is the autostart entry
// written or removed. Turning it off also turns start-hidden off.
void Setting::OnAutostart() {
    const auto* open = Find<skin::Option>("opt_automaticallyOpen");
    const bool on = open != nullptr && !open->IsSelected();
    if (!Write("AutomaticallyOpenEn", on ? 1 : 0)) {
        return;
    }
    if (auto* hide = Find<skin::Option>("opt_automaticallyHide")) {
        if (!on) {
            hide->Selected(false, false);
        }
        hide->SetEnabled(on);
    }
    if (!on) {
        Write("AutomaticallyHideEn", 0);
    }
    SetAutostartEntry(on);
    BringToTop();
}

// Start hidden: the entry is written again with or without "-silent".
void Setting::OnStartHidden() {
    const auto* hide = Find<skin::Option>("opt_automaticallyHide");
    const bool on = hide != nullptr && !hide->IsSelected();
    if (Write("AutomaticallyHideEn", on ? 1 : 0)) {
        SetAutostartEntry(store_.Get("AutomaticallyOpenEn") != 0);
    }
    BringToTop();
}

void Setting::OnToggle(const char* control, std::string_view key) {
    const auto* option = Find<skin::Option>(control);
    Write(key, option != nullptr && !option->IsSelected() ? 1 : 0);
    BringToTop();
}

void Setting::OnLanguage() {
    if (filling_) {
        return;
    }
    const auto* combo = Find<skin::Combo>("btn_language");
    const skin::ListElement* item = combo != nullptr ? combo->GetSelectedItem() : nullptr;
    if (item == nullptr) {
        return;
    }
    SendToParent(msg::kLanguageChange, 0, 0, item->GetName());
    ApplyLanguageLook();
    // The new texts replaced the lift-off distances that the sensor gives.
    filling_ = true;
    ShowSensorRows();
    filling_ = false;
}

void Setting::OnLink(const std::string& name) {
    const std::string address = store_.GetText(name);
    if (!IsWebAddress(address) || context_.urls == nullptr) {
        trace::Printf("settings: %s holds no web address; nothing opened\n", name.c_str());
        return;
    }
    context_.urls->OpenUrl(address);
}

void Setting::OnUpdate() {
    SendToParent(msg::kSoftwareUpdate, 1, 0);
    CloseWindow();
}

// Tells the main window (which hides its overlay and takes the texts back) and closes.
void Setting::CloseWindow() {
    if (closing_) {
        return;
    }
    closing_ = true;
    if (SkinWindow* parent = GetParent()) {
        parent->Post(Message{msg::kSettingsClosed, 0, 0, {}});
    }
    Close(0);
}

bool Setting::Write(std::string_view key, int value, bool report) {
    const Status status = store_.Set(key, value);
    if (status) {
        return true;
    }
    trace::Printf("settings: %s\n", status.message().c_str());
    if (report) {
        failure_ = status.message();
        if (!failureQueued_) {
            failureQueued_ = true;
            Post(Message{kReportFailures, 0, 0, {}});
        }
    }
    return false;
}

void Setting::ReportFailures() {
    failureQueued_ = false;
    if (failure_.empty()) {
        return;
    }
    const std::string detail = std::move(failure_);
    failure_.clear();
    FillControls();
    MessageBoxRequest request;
    request.title = context_.texts != nullptr ? context_.texts->Message("Tip") : "";
    request.text = (context_.texts != nullptr ? context_.texts->Message("SettingsNotSaved") : "") + "\n" + detail;
    request.confirmText = context_.texts != nullptr ? context_.texts->Message("MessageOK") : "OK";
    request.modal = true;
    Boxes().Show(request);
}

// Registry failures of the autostart entry are not shown to the user; the settings file holds the choice.
int Setting::SetAutostartEntry(bool enable) {
    if (context_.autostartFolder.empty()) {
        return 0;
    }
    const int result = SetAutostart(enable, store_.GetText("SoftName"), store_.Get("AutomaticallyHideEn") != 0,
                                    context_.program, context_.autostartFolder);
    if (result != 1) {
        trace::Printf("settings: the autostart entry could not be %s (%d)\n", enable ? "written" : "removed", result);
    }
    return result;
}

void Setting::SendToParent(uint32_t id, uintptr_t wParam, intptr_t lParam, std::string text) {
    if (SkinWindow* parent = GetParent()) {
        parent->Send(Message{id, wParam, lParam, std::move(text)});
    }
}

void Setting::SetVisible(const char* name, bool visible) {
    if (skin::Control* control = FindControl(name)) {
        control->SetVisible(visible);
    }
}

void Setting::SetText(const char* name, const std::string& text) {
    if (skin::Control* control = FindControl(name)) {
        control->SetText(text);
    }
}

}  // namespace mousecfg::app
