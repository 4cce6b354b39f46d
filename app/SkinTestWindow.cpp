#include "app/SkinTestWindow.h"

#include <cstdio>

#include "platform/Trace.h"
#include "skin/AnimLayout.h"
#include "skin/ControlFactory.h"

namespace mousecfg::app {

std::unique_ptr<skin::Control> SkinTestWindow::CreateControl(std::string_view className) {
    return skin::CreateCustomLayout(className);
}

void SkinTestWindow::Notify(skin::Notification& notification) {
    trace::Printf("notify: %s from '%s' (%ju, %jd) %s\n", notification.type.c_str(), notification.senderName.c_str(),
                  static_cast<uintmax_t>(notification.wParam), static_cast<intmax_t>(notification.lParam),
                  notification.text.c_str());
    if (notification.type == skin::notify::kClick && notification.senderName == "btn_close") {
        Close(0);
        return;
    }
    if (notification.type == skin::notify::kClick && notification.sender != nullptr &&
        notification.sender->GetUserData().starts_with("anim:")) {
        PlayEffect(notification.sender->GetUserData());
    }
}

void SkinTestWindow::PlayEffect(const std::string& userData) {
    // "anim:<layout name>:<effect>"
    const size_t colon = userData.rfind(':');
    if (colon <= 5) {
        return;
    }
    auto* layout = Find<skin::AnimLayout>(userData.substr(5, colon - 5));
    const int effect = std::atoi(userData.c_str() + colon + 1);
    if (layout != nullptr) {
        const bool started = layout->StartEffect(effect, effect == skin::kEffectShow);
        trace::Printf("effect %d %s\n", effect, started ? "started" : "refused");
    }
}

void SkinTestWindow::OnFinalMessage() {
    if (onFinal_) {
        onFinal_();
    }
}

}  // namespace mousecfg::app
