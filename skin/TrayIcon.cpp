#include "skin/TrayIcon.h"

#include "skin/SkinPlatform.h"
#include "skin/SkinWindow.h"
#include "skin/WindowMessages.h"

namespace mousecfg::skin {

TrayIcon::TrayIcon() = default;
TrayIcon::~TrayIcon() = default;

bool TrayIcon::Create(SkinWindow& owner, const std::string& iconFile, const std::string& toolTip) {
    host_.reset();
    // The window's message target outlives the window safely: clicks after it is gone are dropped.
    std::weak_ptr<MessageSink> target = owner.GetMessageTarget();
    host_ = SkinPlatform::Get().CreateTray(iconFile, toolTip, [target](uint32_t mouseMessage) {
        if (auto sink = target.lock()) {
            sink->Post(Message{msg::kTrayIcon, 0, static_cast<intptr_t>(mouseMessage), {}});
        }
    });
    return host_ != nullptr;
}

void TrayIcon::SetToolTip(const std::string& text) {
    if (host_) {
        host_->SetToolTip(text);
    }
}

void TrayIcon::ShowMessage(const std::string& title, const std::string& text) {
    if (host_) {
        host_->ShowMessage(title, text);
    }
}

void TrayIcon::Delete() {
    host_.reset();
}

}  // namespace mousecfg::skin
