#include "app/MouseConfigPages.h"

#include "app/CPopColorWnd.h"
#include "app/CPopTipWnd.h"
#include "app/SessionConfiguration.h"
#include "app/SessionPageSession.h"
#include "config/ui/PageRouter.h"
#include "skin/WindowHost.h"
#include "skin/WindowStyles.h"

namespace mousecfg::app {

MouseConfigPages::MouseConfigPages(SessionConfiguration& configuration, const AppPaths& paths,
                                   ProgramLauncher& launcher)
    : configuration_(configuration),
      paths_(paths),
      launcher_(launcher),
      session_(std::make_unique<SessionPageSession>(configuration, paths.SettingsFile(), paths.FeatureFile())) {}

MouseConfigPages::~MouseConfigPages() {
    configuration_.SetPageView(nullptr);
}

void MouseConfigPages::Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) {
    if (router_ == nullptr || window_ != &window) {
        window_ = &window;
        ui::PageHost& host = *this;
        router_ = std::make_unique<ui::PageRouter>(window, *session_, host, configuration_.Boxes(), launcher_);
        configuration_.SetPageView(router_.get());
        ApplyTexts();
    }
    // The tip window's skin belongs to the skin folder in use.
    tip_ = std::make_unique<CPopTipWnd>();
    if (!tip_->Create(&window, "", skin::style::kWsPopup, skin::style::kWsExToolWindow | skin::style::kWsExTopmost)) {
        tip_.reset();
    }
    router_->SetRebuilding(rebuilding_);
    router_->Initialise(skinFolder);
}

void MouseConfigPages::SelectDevice(const std::filesystem::path& modelFolder, bool ble) {
    if (router_ != nullptr) {
        router_->SelectDevice(modelFolder, ble);
    }
}

void MouseConfigPages::Notify(skin::Notification& notification) {
    if (router_ != nullptr) {
        router_->Notify(notification);
    }
}

bool MouseConfigPages::HandleWindowMessage(const Message& message) {
    return router_ != nullptr && router_->HandleWindowMessage(message);
}

void MouseConfigPages::OnDeviceEvent(const Message& message) {
    if (router_ != nullptr) {
        router_->OnDeviceEvent(message);
    }
}

void MouseConfigPages::OnConnectionChanged(bool connected, bool cable) {
    if (router_ != nullptr) {
        router_->OnConnectionChanged(connected, cable);
    }
}

void MouseConfigPages::SetLanguage(const LanguageTexts& texts) {
    texts_ = std::make_shared<const LanguageTexts>(texts);
    ApplyTexts();
}

void MouseConfigPages::ApplyTexts() {
    if (router_ == nullptr) {
        return;
    }
    router_->SetTexts(ui::PageTexts([texts = texts_](std::string_view section, std::string_view key) {
        return texts->Find(section, key);
    }));
}

void MouseConfigPages::SetRebuilding(bool rebuilding) {
    rebuilding_ = rebuilding;
    if (router_ != nullptr) {
        router_->SetRebuilding(rebuilding);
    }
}

void MouseConfigPages::LeaveKeySelection() {
    if (router_ != nullptr) {
        router_->LeaveKeySelection();
    }
}

void MouseConfigPages::ReopenKeySelection() {
    if (router_ != nullptr) {
        router_->ReopenKeySelection();
    }
}

// Centred above the anchor: left = its horizontal centre - half the tip's width, top = its top - the tip's height.
void MouseConfigPages::ShowTip(const std::string& text, const skin::Rect& anchor) {
    if (tip_ == nullptr || window_ == nullptr || window_->GetHost() == nullptr) {
        return;
    }
    const skin::Size size = tip_->GetPaintManager().windowInfo().size;
    const skin::Point corner{(anchor.left + anchor.right) / 2 - size.cx / 2, anchor.top - size.cy};
    tip_->ShowTip(text, window_->GetHost()->ClientToScreen(corner));
}

void MouseConfigPages::HideTip() {
    if (tip_ != nullptr && tip_->IsVisible()) {
        tip_->ShowWindow(false);
    }
}

// The picker runs modally over the main window, 410 pixels right of and 200 below its top-left corner.
void MouseConfigPages::OpenColourPicker(skin::Color colour) {
    if (window_ == nullptr) {
        return;
    }
    CPopColorWnd picker(paths_.ColourFile(), colour);
    if (!picker.Create(window_, "", skin::style::kWsPopup | skin::style::kWsVisible, skin::style::kWsExToolWindow)) {
        return;
    }
    picker.CenterWindow();
    const skin::Rect main = window_->GetWindowRect();
    picker.MoveWindow({main.left + 410, main.top + 200, main.left + 410 + 374, main.top + 200 + 480});
    picker.ShowModal();
}

}  // namespace mousecfg::app
