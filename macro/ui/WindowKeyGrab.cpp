#include "macro/ui/WindowKeyGrab.h"

#include "skin/SkinWindow.h"

namespace mousecfg::macroui {

void WindowKeyGrab::StartCapture() {
    if (window_ != nullptr) {
        window_->GrabKeyboard(true);
    }
}

void WindowKeyGrab::StopCapture() {
    if (window_ != nullptr) {
        window_->GrabKeyboard(false);
    }
}

}  // namespace mousecfg::macroui
