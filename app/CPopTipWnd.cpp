#include "app/CPopTipWnd.h"

#include "skin/Control.h"
#include "skin/WindowMessages.h"

namespace mousecfg::app {

intptr_t CPopTipWnd::HandleCustomMessage(const Message& message, bool& /*handled*/) {
    if (message.id == skin::msg::kMouseMove && IsVisible()) {
        ShowWindow(false);
    }
    return 0;
}

void CPopTipWnd::ShowTip(const std::string& text, skin::Point screen) {
    if (skin::Control* label = FindControl("displaytext")) {
        label->SetText(text);
    }
    const skin::Size size = GetPaintManager().windowInfo().size;
    MoveWindow({screen.x, screen.y, screen.x + size.cx, screen.y + size.cy});
    ShowWindow(true, false);
}

}  // namespace mousecfg::app
