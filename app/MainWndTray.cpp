// The tray icon and its menu, the close logic (close popup, exit, hide to the tray), the silent start and the
// main window's one non-modal message window.
#include "app/CCloseWnd.h"
#include "app/CKivoMainWnd.h"
#include "app/MacroPage.h"
#include "app/MousePages.h"
#include "app/ShellMessages.h"
#include "device/ConnectionMonitor.h"
#include "device/FindDev.h"
#include "platform/Trace.h"
#include "skin/SkinPlatform.h"
#include "skin/WindowHost.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {

void CKivoMainWnd::CreateTrayIcon() {
    const std::filesystem::path icon = services_.paths.resourceFolder / "icon" / "mousecfg.png";
    tray_.Create(*this, icon.string(), texts_.WindowName());
}

void CKivoMainWnd::OnTrayIcon(intptr_t mouseMessage) {
    if (mouseMessage == skin::msg::kRButtonUp) {
        trayMenu_.Close();
        if (trayMenu_.Load("tray_menu.xml")) {
            trayMenu_.SetMessageDelivery(skin::msg::kMenuCommand);
            trayMenu_.Popup(*this, GetHost() != nullptr ? GetHost()->GetCursorPos() : skin::Point{});
        }
    } else if (mouseMessage == skin::msg::kLButtonDblClk ||
               (mouseMessage == skin::msg::kLButtonUp && (hiddenToTray_ || !IsVisible()))) {
        // Many desktop trays report a single click only: it brings a hidden window back as well.
        RestoreFromTray(false, true);
    }
}

void CKivoMainWnd::OnTrayMenu(const std::string& item) {
    if (item == "exit") {
        Exit();
    } else if (item == "show") {
        RestoreFromTray(true, false);
    } else if (item == "guide") {
        OpenManual();
    } else {
        skin::Notification notification;
        notification.type = std::string(skin::notify::kMenuClick);
        notification.senderName = std::to_string(services_.catalogue.Kind(static_cast<size_t>(currentDevice_)));
        notification.text = item;
        RouteToPages(notification);
    }
}

// Brings the window back from the tray or from a second start: chooses the connection again (and, from the tray
// menu, reads the device information), shows the window and, when an apply run is shown, its progress.
void CKivoMainWnd::RestoreFromTray(bool sendRefresh, bool raise) {
    trace::Write("main window: restored\n");
    hiddenToTray_ = false;
    ShowWindow(true, true);
    Restore();
    if (!monitor_->BleActive()) {
        monitor_->SelectActiveDevice(!sendRefresh);
        RunConnectionDisplay(false);
    }
    if (raise) {
        BringToTop();
        if (msgWnd_ && msgWnd_->IsVisible()) {
            msgWnd_->BringToTop();
        }
    }
    const skin::Control* overlay = FindControl("tranWnd");
    if (overlay != nullptr && overlay->IsVisible() && FindControl("ring") != nullptr) {
        SetVisible("ring", true);
        SetVisible("text_apply", true);
    }
}

void CKivoMainWnd::OnCloseButton() {
    if (remind_ == 0) {
        CloseNow();
        return;
    }
    SetVisible("tranWnd_setting", true);
    CCloseWnd popup(closeOption_, remind_);
    popup.SetTrayAvailable(skin::SkinPlatform::Get().IsTrayAvailable());
    if (!popup.Create(this, "", skin::style::kWsPopup, skin::style::kWsExToolWindow)) {
        SetVisible("tranWnd_setting", false);
        return;
    }
    ApplyFontFace(popup);
    popup.CenterWindow();
    closePopup_ = &popup;
    popup.ShowModal();
    closePopup_ = nullptr;
}

void CKivoMainWnd::OnMinimizeButton() {
    CloseMessageWindow();
    savedRect_ = GetWindowRect();
    Send(Message{skin::msg::kSysCommand, skin::msg::kScMinimize, 0, {}});
}

void CKivoMainWnd::CloseNow() {
    if (closeOption_ == 0) {
        HideToTray();
    } else {
        Exit();
    }
}

void CKivoMainWnd::SaveConfiguration() {
    if (const Status status = services_.configuration.SaveDocumentAndDpiMemory(); !status) {
        trace::Printf("%s\n", status.message().c_str());
    }
}

void CKivoMainWnd::Exit() {
    services_.configuration.FinishRun();
    SaveConfiguration();
    tray_.Delete();
    fonts_.RemoveAll(services_.fonts);
    if (services_.quit) {
        services_.quit(0);
    }
}

void CKivoMainWnd::HideToTray() {
    SaveConfiguration();
    HideOrMinimize();
}

// Hides the window to the tray; without a tray a hidden window could never be brought back (only a second start
// would), so it goes to the task bar instead.
void CKivoMainWnd::HideOrMinimize() {
    if (!skin::SkinPlatform::Get().IsTrayAvailable()) {
        trace::Write("main window: the desktop shows no tray; minimised instead of hidden\n");
        Minimize();
        return;
    }
    hiddenToTray_ = true;
    ShowWindow(false);
}

void CKivoMainWnd::OnSilentStart() {
    if (settings_.AutomaticallyOpen() && settings_.AutomaticallyHide() && services_.commandLine == "-silent") {
        HideOrMinimize();
    }
}

void CKivoMainWnd::SetOverlay(bool show) {
    SetVisible("tranWnd_setting", false);
    SetVisible("tranWnd", show);
}

CMsgWnd* CKivoMainWnd::ShowMessageWindow(const MsgTexts& texts, int style, int kind) {
    CloseMessageWindow();
    auto window = std::make_unique<CMsgWnd>(style, kind);
    CMsgWnd* raw = window.get();
    std::weak_ptr<int> alive = alive_;
    window->SetOnQuit([this, alive] {
        if (!alive.expired() && services_.quit) {
            services_.quit(0);
        }
    });
    window->SetOnFinal([this, alive, raw] {
        if (!alive.expired()) {
            MessageWindowGone(raw);
        }
    });
    if (!window->ShowNonModal(this, texts)) {
        return nullptr;
    }
    ApplyFontFace(*window);
    msgWnd_ = std::move(window);
    return raw;
}

void CKivoMainWnd::CloseMessageWindow() {
    if (msgWnd_) {
        msgWnd_->Close(0);
        closedWindows_.push_back(std::move(msgWnd_));
    }
}

// The native window of `window` is gone: the object goes once the handler that closed it has returned.
void CKivoMainWnd::MessageWindowGone(CMsgWnd* window) {
    if (msgWnd_.get() == window) {
        closedWindows_.push_back(std::move(msgWnd_));
    }
    std::weak_ptr<int> alive = alive_;
    skin::SkinPlatform::Get().RunOnUiThread([this, alive, window] {
        if (alive.expired()) {
            return;
        }
        std::erase_if(closedWindows_, [window](const std::unique_ptr<CMsgWnd>& closed) { return closed.get() == window; });
    });
}

}  // namespace mousecfg::app
