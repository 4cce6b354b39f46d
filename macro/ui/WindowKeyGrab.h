#pragma once

#include "macro/KeySource.h"

namespace mousecfg::skin {
class SkinWindow;
}  // namespace mousecfg::skin

namespace mousecfg::macroui {

// Keys for recording and key capture: a keyboard grab of a window, so that while it runs every key comes to
// that window as key messages and no other program gets it; the window hands the messages on. Without a window
// (before the page has one) capturing does nothing. UI thread only; the window outlives its use here.
class WindowKeyGrab final : public KeySource {
public:
    explicit WindowKeyGrab(skin::SkinWindow* window = nullptr) : window_(window) {}
    void SetWindow(skin::SkinWindow* window) { window_ = window; }
    void StartCapture() override;
    void StopCapture() override;

private:
    skin::SkinWindow* window_;
};

}  // namespace mousecfg::macroui
