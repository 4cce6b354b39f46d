#pragma once

#include <string>
#include <string_view>

#include "skin/FontSpec.h"
#include "skin/Geometry.h"
#include "skin/PixelBuffer.h"

namespace mousecfg::skin {

class Combo;
class Control;
class Edit;

// What a paint manager needs from the window that shows it: redraws, text measurement, the native line edit
// that overlays an edit control while it has the focus, and the drop list of a combo. The Qt host implements it;
// the headless host records the requests. Called on the window's thread.
class PaintHost {
public:
    virtual ~PaintHost() = default;
    virtual void Invalidate(const Rect& rect) = 0;
    // The size of `text` in `font`, on one line.
    virtual Size MeasureText(std::string_view text, const FontSpec& font) = 0;
    // The size of `text` in `font` wrapped at word boundaries (and at its line breaks) to lines of `width`.
    virtual Size MeasureWrappedText(std::string_view text, const FontSpec& font, int width) = 0;
    // The edit took the focus: show a native line edit over it until EndTextEdit. The native edit writes what
    // the user types back through Edit::ReplaceText and presses Enter through Edit::PressReturn.
    virtual void BeginTextEdit(Edit& edit) = 0;
    virtual void EndTextEdit(Edit& edit) = 0;
    // Opens the drop list of a combo below it; the host selects the chosen item through Combo::SelectItem.
    virtual void OpenDropList(Combo& combo) = 0;
    virtual void CloseDropList() = 0;
    // A control and its subtree left the tree or were hidden: close the native editor or drop list of any of them.
    virtual void ForgetControl(const Control* subtreeRoot) = 0;
    // The cursor came to rest on a control with a tip: show `text` near the cursor once the cursor has stayed
    // inside `anchor` (client coordinates) for the hover delay. A later request replaces this one.
    virtual void ShowToolTip(const std::string& text, const Rect& anchor) = 0;
    // Hides the tip, or drops the request when it is not shown yet.
    virtual void HideToolTip() = 0;
    // The control drawn alone into a picture of its size (for animations); empty when that fails.
    virtual PixelBuffer RenderControl(Control& control) = 0;
    // Client coordinates to screen coordinates.
    virtual Point ClientToScreen(Point point) = 0;
};

}  // namespace mousecfg::skin
