// The window messages of the main window: the standard ones and the program's private ones.
#include "app/CKivoMainWnd.h"

#include <algorithm>
#include <utility>

#include "app/CMsgWnd.h"
#include "app/LanguageTable.h"
#include "app/MacroPage.h"
#include "app/MousePages.h"
#include "app/ShellMessages.h"
#include "config/ApplyMessages.h"
#include "config/MouseConfig.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "platform/DeviceChange.h"
#include "platform/Trace.h"
#include "skin/Control.h"
#include "skin/SkinResources.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {
namespace {

bool IsKeyMessage(uint32_t id) {
    return id == skin::msg::kKeyDown || id == skin::msg::kKeyUp || id == skin::msg::kSysKeyDown ||
           id == skin::msg::kSysKeyUp;
}

bool IsDeviceEvent(uint32_t id) {
    return id == mousecfg::msg::kDpiLevelChanged || id == mousecfg::msg::kProfileChanged ||
           id == mousecfg::msg::kLightingChanged || id == mousecfg::msg::kReportRateChanged ||
           id == mousecfg::msg::kDpiValueChanged;
}

}  // namespace

intptr_t CKivoMainWnd::HandleCustomMessage(const Message& message, bool& handled) {
    intptr_t result = 0;
    handled = services_.mousePages.HandleWindowMessage(message) || HandleStandardMessage(message, result) ||
              HandlePrivateMessage(message, result);
    return result;
}

// True when the message is handled and must not reach the default handling.
bool CKivoMainWnd::HandleStandardMessage(const Message& message, intptr_t& /*result*/) {
    switch (message.id) {
        case skin::msg::kMove:
            if (msgWnd_ != nullptr) {
                msgWnd_->CenterWindow();
            }
            return false;
        case skin::msg::kActivate:
            if ((message.wParam & 0xFFFF) == 0) {
                services_.macroPage.OnFocusLost();
            }
            if ((message.wParam & 0xFFFF) != 0 && (message.wParam >> 16) != 0) {
                monitor_->SelectActiveDevice(true);
                RunConnectionDisplay(false);
            }
            return false;
        case skin::msg::kTimer:
            return monitor_->OnTimer(static_cast<int>(message.wParam));
        case skin::msg::kRButtonUp:
            if (IsSelected("btn_Mac")) {
                services_.macroPage.OnRightClick(
                    {skin::msg::PointParamX(message.lParam), skin::msg::PointParamY(message.lParam)});
            }
            return false;
        case skin::msg::kMouseWheel:
            if (skin::Control* sink = FindControl("TmpFocusButton")) {
                GetPaintManager().SetFocus(sink);
            }
            return false;
        case kDeviceChangeMessage:
            monitor_->OnDeviceChange(message.wParam, message.text);
            return true;
        case skin::msg::kClose:
            Exit();
            return true;
        case skin::msg::kSysCommand:
            // Minimising flashes the task bar entry, so that the window is easy to find again.
            if (message.wParam == skin::msg::kScMinimize) {
                Minimize();
                Flash();
                return true;
            }
            return false;
        default:
            break;
    }
    if (IsKeyMessage(message.id)) {
        services_.macroPage.OnKeyMessage(message);
        // Enter and Space must not press the focused button.
        return message.id == skin::msg::kKeyDown &&
               (message.wParam == skin::msg::kVkReturn || message.wParam == skin::msg::kVkSpace);
    }
    return false;
}

bool CKivoMainWnd::HandlePrivateMessage(const Message& message, intptr_t& result) {
    if (IsDeviceEvent(message.id)) {
        OnDeviceEvent(message);
        return true;
    }
    if (HandleRelayMessage(message)) {
        return true;
    }
    switch (message.id) {
        case skin::msg::kTrayIcon: OnTrayIcon(message.lParam); return true;
        case skin::msg::kMenuCommand: OnTrayMenu(message.text); return true;
        case msg::kColorPicked: RaiseToPages("popcolor_ok", message); return true;
        case msg::kMacroItemApplied: RaiseToPages("macsetclose", message); return true;
        case msg::kMacroItemCancelled: RaiseToPages("macsetcancel", message); return true;
        case msg::kKeyAssigned: RaiseToPages("PopSetValue", message); return true;
        case msg::kRecordKey: RaiseToPages("WM_RecordKey", message); return true;
        case msg::kRecordTab:
            services_.macroPage.OnKeyMessage(
                Message{skin::msg::kKeyDown, skin::msg::kVkTab, skin::msg::MakeKeyParam(0, 15), {}});
            return true;
        case msg::kDeviceConfig: OnDeviceConfig(message); return true;
        case msg::kSoftwareUpdate:
        case msg::kUpdateCheckDone: OnSoftwareUpdate(message); return true;
        case msg::kLanguageChange: OnLanguageChange(message.text); return true;
        case msg::kSilentStart: OnSilentStart(); return true;
        case msg::kMacroReload: services_.macroPage.ReloadDocument(); return true;
        case msg::kApplyRequest: OnApplyRequest(message); return true;
        case mousecfg::msg::kConnectionRefresh: result = OnConnectionRefresh(message.wParam, message.lParam); return true;
        case msg::kSettingsClosed: OnSettingsClosed(); return true;
        case msg::kOverlay: SetOverlay(message.wParam == 1); return true;
        case msg::kNoDeviceHide: CloseMessageWindow(); HideToTray(); return true;
        case msg::kConnectionDisplay: RunConnectionDisplay(false); return true;
        case mousecfg::msg::kBleStatus: OnBleMessage(message); return true;
        case msg::kClosePopupClosed: SetVisible("tranWnd_setting", false); return true;
        case msg::kCloseConfig: OnCloseConfig(message); return true;
        case msg::kCloseNow: CloseNow(); return true;
        case msg::kMacrosChanged: services_.configuration.OnMacrosChanged(); return true;
        case msg::kRestoreRequest: RestoreFromTray(false, true); return true;
        default: {
            const bool handled = services_.configuration.HandleMessage(message, result);
            if (message.id == mousecfg::msg::kApplyFinished) {
                RelayHeldSettings();
            }
            return handled;
        }
    }
}

// The settings window's and the pages' relays of a setting to the apply engine.
bool CKivoMainWnd::HandleRelayMessage(const Message& message) {
    constexpr int kSystemSetting = 2;
    constexpr int kLightingEffect = 9;
    constexpr int kDeviceOption = 10;
    switch (message.id) {
        case msg::kRelaySavePower: Relay(kLightingEffect, PendingSetting::SavePower); break;
        case msg::kRelaySleep: Relay(kSystemSetting, PendingSetting::Sleep); break;
        case msg::kRelaySensorByte: Relay(kSystemSetting, PendingSetting::SensorByte); break;
        case msg::kRelayLiftOff: Relay(kSystemSetting, PendingSetting::LiftOff); break;
        case msg::kRelayPowerDown: Relay(kSystemSetting, PendingSetting::PowerDown); break;
        case msg::kRelayMoveWake: Relay(kDeviceOption, PendingSetting::MoveWake); break;
        case msg::kRelayShortPress: Relay(kDeviceOption, PendingSetting::ShortPress); break;
        default: return false;
    }
    // The settings window and the DPI page edit the same options: the page shows what is now stored.
    services_.mousePages.OnDeviceEvent(message);
    return true;
}

void CKivoMainWnd::RaiseToPages(const char* type, const Message& message) {
    skin::Notification notification;
    notification.type = type;
    notification.senderName = type;
    notification.wParam = message.wParam;
    notification.lParam = message.lParam;
    notification.text = message.text;
    const std::string_view kind = type;
    if (kind == "macsetclose" || kind == "macsetcancel") {
        services_.macroPage.Notify(notification);
    } else if (kind == "WM_RecordKey") {
        RouteToPages(notification);
    } else {
        services_.mousePages.Notify(notification);
    }
    if (kind != "WM_RecordKey" && kind != "popcolor_ok") {
        skin::SkinResources::SetTextQueryInterface(this);
        skin::SkinResources::ReloadText();
    }
}

void CKivoMainWnd::OnDeviceEvent(const Message& message) {
    if (services_.mousePages.Rebuilding() || !IsLinked(message.lParam)) {
        return;
    }
    services_.mousePages.OnDeviceEvent(message);
    if (message.id == mousecfg::msg::kDpiLevelChanged && settings_.DpiPopupEnabled()) {
        ShowDpiPopup(false);
    } else if (message.id == mousecfg::msg::kDpiValueChanged) {
        ShowDpiPopup(true);
    }
}

void CKivoMainWnd::OnApplyRequest(const Message& message) {
    if (connectionUpdating_ || !IsLinkUp()) {
        return;
    }
    services_.configuration.RequestApply(static_cast<int>(message.wParam & 0x7F), (message.wParam & 0x80) != 0,
                                         static_cast<int>(message.lParam));
}

void CKivoMainWnd::Relay(int item, PendingSetting setting) {
    if (connectionUpdating_) {
        return;
    }
    if (services_.configuration.ApplyRunning()) {
        // Dropping it would leave the mouse with the old value while Set.ini holds the new one.
        const std::pair<int, PendingSetting> relay{item, setting};
        if (std::find(heldRelays_.begin(), heldRelays_.end(), relay) == heldRelays_.end()) {
            heldRelays_.push_back(relay);
        }
        return;
    }
    services_.configuration.SetPending(setting);
    const MouseConfig* document = services_.configuration.Document();
    Send(Message{msg::kApplyRequest, static_cast<uintptr_t>(item), document != nullptr ? document->currentProfile : 0,
                 {}});
}

void CKivoMainWnd::RelayHeldSettings() {
    for (const auto& [item, setting] : std::exchange(heldRelays_, {})) {
        Relay(item, setting);  // held again when the run just ended started another
    }
}

void CKivoMainWnd::OnDeviceConfig(const Message& message) {
    if (message.wParam != 1 || message.lParam < 1 || message.lParam > 3) {
        return;
    }
    const auto load = static_cast<DeviceLoad>(message.lParam);
    services_.configuration.LoadDevice(ModelName(), currentFolder_, load);
    if (load != DeviceLoad::ImportFollowUp) {
        ShowDpiPopup(true);
    }
}

void CKivoMainWnd::OnLanguageChange(const std::string& name) {
    const std::optional<int> index = app::LanguageIndex(name);
    if (!index || *index == languageIndex_) {
        return;
    }
    ApplyLanguage(*index);
    if (*index != languageWritten_ && settings_.SetLanguage(*index)) {
        languageWritten_ = *index;
    }
    BringToTop();
    skin::SkinResources::ReloadText();
    if (msgWnd_ != nullptr) {
        msgWnd_->GetPaintManager().ReloadText();
    }
}

void CKivoMainWnd::OnCloseConfig(const Message& message) {
    const auto option = static_cast<intptr_t>(message.wParam);
    if (option != -1) {
        closeOption_ = static_cast<int>(option);
        settings_.SetCloseOption(closeOption_);
    }
    if (message.lParam != -1) {
        remind_ = static_cast<int>(message.lParam);
        settings_.SetRemind(remind_);
    }
}

void CKivoMainWnd::OnSoftwareUpdate(const Message& message) {
    if (services_.softwareUpdate) {
        services_.softwareUpdate(*this, message);
    } else {
        trace::Write("software update: not available in this build\n");
    }
}

void CKivoMainWnd::OnSettingsClosed() {
    if (services_.closeSettings) {
        services_.closeSettings();
    }
    SetVisible("tranWnd_setting", false);
    Post(Message{msg::kConnectionDisplay, 0, 0, {}});
    skin::SkinResources::SetTextQueryInterface(this);
    skin::SkinResources::ReloadText();
}

}  // namespace mousecfg::app
