// The connection display of the main window: battery and charge state (message 2053), the connection indicator,
// the no-device message, the BLE link's messages and the DPI pop-up.
#include <algorithm>

#include "app/CKivoMainWnd.h"
#include "app/CMsgWnd.h"
#include "app/MacroPage.h"
#include "app/MousePages.h"
#include "app/ShellMessages.h"
#include "app/settings/SettingStore.h"
#include "config/DeviceFeature.h"
#include "config/MouseConfig.h"
#include "device/ConnectionMonitor.h"
#include "device/FindDev.h"
#include "platform/PrivateProfile.h"
#include "skin/Option.h"
#include "skin/Progress.h"

namespace mousecfg::app {

intptr_t CKivoMainWnd::OnConnectionRefresh(uintptr_t wParam, intptr_t lParam) {
    // A 2053 sent by a worker while one is handled is dropped (the monitor says so too).
    if (connectionUpdating_) {
        return 0;
    }
    connectionUpdating_ = true;
    const ConnectionDisplay display = monitor_->OnConnectionRefresh(wParam, lParam);
    if (!display.skipped) {
        if (display.battery) {
            ShowBattery(*display.battery);
            charging_ = display.showCharging;
            SetVisible("in_charge", display.showCharging);
            NotifyLowBattery(display.battery->percent);
        }
        if (display.reloadConfiguration || (lParam == 1 && display.online)) {
            services_.configuration.RefreshFromDevice();
        }
        if (display.refreshConnection) {
            RunConnectionDisplay(false);
        }
    }
    ShowDpiPopup(true);
    connectionUpdating_ = false;
    return 0;
}

// A battery figure belongs to a mouse that is linked: without one the home card shows none (never a stale one).
void CKivoMainWnd::ShowBattery(const BatteryDisplay& battery) {
    if (!IsLinkUp()) {
        ClearBattery();
        return;
    }
    lastBattery_ = battery;
    if (auto* bar = Find<skin::Progress>("battery_progress")) {
        const auto* low = Find<skin::Progress>("battery_progress2");
        bar->SetForeColor(battery.low && low != nullptr ? low->GetForeColor() : batteryColour_);
        bar->SetValue(battery.percent);
    }
    if (skin::Control* text = FindControl("battery_Text")) {
        text->SetText(std::to_string(battery.percent));
    }
    SetVisible("battery_unit", true);
}

void CKivoMainWnd::ClearBattery() {
    lastBattery_.reset();
    charging_ = false;
    if (auto* bar = Find<skin::Progress>("battery_progress")) {
        bar->SetValue(bar->GetMinValue());
    }
    if (skin::Control* text = FindControl("battery_Text")) {
        text->SetText({});
    }
    SetVisible("battery_unit", false);
    SetVisible("in_charge", false);
}

bool CKivoMainWnd::IsLinkUp() const {
    const ConnectionState& state = monitor_->State();
    return monitor_->BleActive() || (state.selectedCount > 0 && state.online != 0);
}

// Whether the device a worker's message names is the one in use and linked; any other index is dropped.
bool CKivoMainWnd::IsLinked(intptr_t deviceIndex) const {
    if (deviceIndex < 0 || static_cast<size_t>(deviceIndex) >= services_.catalogue.Count()) {
        return false;
    }
    if (monitor_->BleActive()) {
        return deviceIndex == monitor_->State().selectedIndex;
    }
    return services_.catalogue.IsPresent(static_cast<size_t>(deviceIndex)) && IsLinkUp();
}

void CKivoMainWnd::RunConnectionDisplay(bool reloadPages) {
    const bool linked = IsLinkUp();
    const bool cable = monitor_->State().connectionKind == ConnectionState::kCable;
    // The card names the mouse only while one is linked.
    const std::string name = linked ? CurrentDeviceName() : std::string();
    if (skin::Control* label = FindControl("device_name")) {
        label->SetText(name);
    }
    if (skin::Control* card = FindControl("btn_display0")) {
        card->SetToolTip(name);
    }
    services_.mousePages.OnConnectionChanged(linked, cable);
    linked ? ShowConnected(reloadPages) : ShowDisconnected();
    SetConnectionImage();
    SetVisible("in_charge", linked && charging_);
}

void CKivoMainWnd::ShowConnected(bool reloadPages) {
    const bool ble = monitor_->BleActive();
    CloseMessageWindow();
    SetOverlay(false);
    if (!ble) {
        monitor_->StartStatusPoll();
    }
    SetVisible("btn_Mac", true);
    SetEnabled("btn_Mac", !ble);  // macros cannot be written over BLE
    SetEnabled("btn_Null", true);
    SetEnabled("ver_mousepage", true);
    if (auto* page = Find<skin::Option>(currentPageButton_)) {
        page->Selected(true, false);
    }
    if (!centredOnce_) {
        centredOnce_ = true;
        CenterWindow();
    }
    if (reloadPages) {
        ClickDevice(currentDevice_);
    }
}

void CKivoMainWnd::ShowDisconnected() {
    if (!monitor_->BleActive()) {
        monitor_->StopStatusPoll();
    }
    ClearBattery();
    services_.macroPage.StopRecording();
    SetEnabled("btn_Mac", false);
    SetEnabled("btn_Null", false);
    SetEnabled("ver_mousepage", false);
    if (hiddenToTray_) {
        return;
    }
    if (services_.closeSettings) {
        services_.closeSettings();
    }
    if (settings_.OnePageLayout()) {
        SetVisible("btn_Mac", true);
        SetVisible("btn_Null", false);
        if (auto* macros = Find<skin::Option>("btn_Mac")) {
            macros->Selected(true, false);
        }
    }
    Send(Message{msg::kOverlay, 1, 0, {}});
    ShowNoDeviceMessage();
}

void CKivoMainWnd::ShowNoDeviceMessage() {
    const ConnectionState& state = monitor_->State();
    // A receiver that is present but cannot reach its mouse: the wireless texts; anything else: no device.
    const bool wireless = state.connectionKind == ConnectionState::kReceiver && state.selectedCount > 0;
    const int kind = wireless ? CMsgWnd::kWireless : CMsgWnd::kNoDevice;
    if (msgWnd_ != nullptr && msgWnd_->Style() == 2 && msgWnd_->Kind() == kind) {
        return;  // the same notice is up already
    }
    std::string text = texts_.Message(wireless ? "WireLessUnconnectTip" : "NoDevice");
    if (wireless) {
        for (const char* key : {"WireLessUnconnectTip1", "WireLessUnconnectTip2", "WireLessUnconnectTip3"}) {
            if (const std::string line = texts_.Message(key); !line.empty()) {
                text += "\n" + line;
            }
        }
    }
    CMsgWnd* window = ShowMessageWindow(
        MsgTexts{texts_.Message("Tip"), text, texts_.Message("MessageOK"), texts_.Message("MessageCancel")}, 2, kind);
    // Confirming the no-device notice ends the program, confirming the wireless one only closes it: say so.
    if (window != nullptr && wireless) {
        window->SetButtonTexts(texts_.Message("MessageOK"), {});
    }
}

// The desktop notification of a low battery, once per discharge, when the settings switch it on.
void CKivoMainWnd::NotifyLowBattery(int percent) {
    if (!batteryNotice_.Update(percent, charging_, SettingStore::LowBatteryNoticeEnabled(settings_.File()))) {
        return;
    }
    std::string text = texts_.Message("LowBatteryText");
    if (const size_t at = text.find("%d"); at != std::string::npos) {
        text.replace(at, 2, std::to_string(percent));
    }
    tray_.ShowMessage(texts_.Message("LowBatteryTitle"), text);
}

void CKivoMainWnd::SetConnectionImage() {
    const ConnectionState& state = monitor_->State();
    const bool ble = monitor_->BleActive();
    struct Indicator {
        const char* image;
        const char* textId;
    };
    Indicator shown{"Home/2.4GNoConnect.png", "Connect24GOff"};
    if (ble) {
        shown = {"Home/bluetooth.png", "ConnectBle"};
    } else if (state.connectionKind == ConnectionState::kCable) {
        shown = state.selectedCount > 0 ? Indicator{"Home/UsbConnect.png", "ConnectUsb"}
                                        : Indicator{"Home/NoConnect.png", "ConnectNone"};
    } else if (state.online != 0) {
        shown = {"Home/2.4GConnect.png", "Connect24G"};
    }
    if (skin::Control* indicator = FindControl("connect_state")) {
        indicator->SetAttribute("bkimage", std::string("file='") + shown.image + "'");
    }
    if (skin::Control* text = FindControl("connect_text")) {
        text->SetText(texts_.Lookup(shown.textId, false, true).value_or(text->GetText()));
    }
}

void CKivoMainWnd::OnBleMessage(const Message& message) {
    const BleMessageOutcome outcome = monitor_->OnBleMessage(message.wParam, message.text);
    if (outcome.battery) {
        ShowBattery(*outcome.battery);
    }
    if (outcome.charging) {
        charging_ = *outcome.charging;
        SetVisible("in_charge", charging_ && IsLinkUp());
    }
    if (outcome.battery) {
        NotifyLowBattery(outcome.battery->percent);
    }
    if (outcome.reloadConfiguration) {
        services_.configuration.RefreshFromDevice();
    }
    if (outcome.switchToBle || outcome.refreshDisplay) {
        RunConnectionDisplay(outcome.switchToBle);
    }
    if (outcome.quit && services_.quit) {
        services_.quit(0);
    }
}

std::optional<DpiPopupValues> CKivoMainWnd::CurrentDpiValues() const {
    MouseConfig* document = services_.configuration.Document();
    const DeviceFeature* feature = services_.configuration.Feature();
    if (document == nullptr || feature == nullptr) {
        return std::nullopt;
    }
    const int profile = std::clamp(document->currentProfile, 0, kProfileCount - 1);
    const ProfileSettings& settings = document->profiles[static_cast<size_t>(profile)];
    const int level = std::clamp(settings.currentDpiLevel, 0, kDpiLevelCount - 1);
    DpiPopupValues values;
    values.level = level + 1;
    values.dpiText = feature->GearDpi(settings.dpiLevels[static_cast<size_t>(level)].gear);
    values.dpiValue = ini::Atoi(values.dpiText);
    values.maxDpi = ini::Atoi(feature->GearDpi(feature->gearTable.LastGear().value_or(0)));
    values.deviceName = CurrentDeviceName();
    const auto text = [this](const std::string& id) { return texts_.Lookup(id, false, true).value_or(id); };
    values.positionText = text("Current DPI Position");
    values.profileText = text("Profile" + std::to_string(profile + 1));
    return values;
}

void CKivoMainWnd::ShowDpiPopup(bool onlyRefresh) {
    if (!dpiPopup_) {
        return;
    }
    if (const auto values = CurrentDpiValues()) {
        onlyRefresh ? dpiPopup_->Refresh(*values) : dpiPopup_->Show(*values);
    }
}

}  // namespace mousecfg::app
