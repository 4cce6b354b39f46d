#pragma once

#include <string>

#include "skin/SkinWindow.h"

namespace mousecfg::app {

// The tip window: a small hidden window that the mouse pages show as a tooltip ("displaytext"), for example the
// function of a wheel position. It hides itself when the cursor moves over it.
class CPopTipWnd final : public skin::SkinWindow {
public:
    std::string GetSkinFile() override { return "poptip.xml"; }
    std::string GetWindowClassName() const override { return "PopTipWnd"; }
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;

    // Puts `text` into "displaytext" and shows the window with its top-left corner at `screen`, without taking
    // the focus.
    void ShowTip(const std::string& text, skin::Point screen);
};

}  // namespace mousecfg::app
