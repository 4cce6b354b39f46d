#pragma once

#include <string>

#include "skin/Color.h"
#include "skin/Geometry.h"

namespace mousecfg::ui {

// What the pages need of the main window beyond its controls and its keyboard grab: the tip window and the colour
// picker. The program implements it with its popup windows; tests record the calls. UI thread only.
class PageHost {
public:
    virtual ~PageHost() = default;

    // Shows the tip window with `text`, centred above `anchor` (a control's rectangle in the main window's client
    // coordinates), without taking the focus; HideTip hides it.
    virtual void ShowTip(const std::string& text, const skin::Rect& anchor) = 0;
    virtual void HideTip() = 0;
    // Opens the colour picker over the main window with `colour` as its starting colour; the choice comes back
    // as the notification "popcolor_ok" with the colour in lParam.
    virtual void OpenColourPicker(skin::Color colour) = 0;
};

}  // namespace mousecfg::ui
