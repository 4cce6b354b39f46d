#pragma once

#include "skin/Color.h"
#include "skin/FontSpec.h"
#include "skin/Geometry.h"

namespace mousecfg::skin {

class PaintManager;

// How a window's tips look: the skin's <Style class="ToolTip"> with bkcolor, textcolor, bordercolor, font and
// textpadding; what the style leaves out keeps these defaults (light text on a dark field).
struct ToolTipStyle {
    Color bkColor = 0xFF1D2430u;
    Color textColor = 0xFFE9EEF5u;
    Color borderColor = 0xFF334052u;
    FontSpec font;
    Rect padding{8, 5, 8, 5};
    // Longer texts wrap at this width.
    int maxWidth = 360;

    // The style of the window of `manager`; an attribute with a bad value is skipped.
    static ToolTipStyle Of(const PaintManager& manager);
};

}  // namespace mousecfg::skin
