#pragma once

#include <functional>
#include <string>

#include "skin/SkinWindow.h"

namespace mousecfg::app {

// A window that shows any skin file, so that skins can be checked by eye: every notification is traced, the
// custom layouts are created, "btn_close" (or the window's close message) closes it, and a click on a control
// whose user data names an AnimLayout ("anim:<name>:7" or ":8") plays that effect.
class SkinTestWindow final : public skin::SkinWindow {
public:
    explicit SkinTestWindow(std::string skinFile) : skinFile_(std::move(skinFile)) {}

    std::string GetSkinFile() override { return skinFile_; }
    std::string GetWindowClassName() const override { return "SkinTestWnd"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override;
    void Notify(skin::Notification& notification) override;
    void OnFinalMessage() override;

    // Called when the window is gone (the program quits then).
    void SetOnFinal(std::function<void()> onFinal) { onFinal_ = std::move(onFinal); }

private:
    void PlayEffect(const std::string& userData);

    std::string skinFile_;
    std::function<void()> onFinal_;
};

}  // namespace mousecfg::app
