#pragma once

#include "skin/Geometry.h"

// Where the small windows that belong to a control go on the screen: a control's tip and a combo's drop list.
// Screen coordinates throughout; the work area is the screen without its panels.
namespace mousecfg::skin {

// The cursor's height below its hot spot, which a tip placed under the cursor keeps clear of.
inline constexpr int kCursorHeight = 20;

// A tip of size `tip` for the cursor at `cursor`: below the cursor and starting at it, moved left when it would
// cross the right edge, above the cursor when there is no room below, and never off the top-left corner.
Rect PlaceToolTip(Size tip, Point cursor, const Rect& workArea);

// The drop list of a combo at `combo`, `list` big (width and the height its items need): below the combo when
// it fits there; otherwise on the side with more room, as high as that room allows (at least one row high,
// `minHeight`); moved left when it would cross the right edge.
Rect PlaceDropList(const Rect& combo, Size list, const Rect& workArea, int minHeight);

}  // namespace mousecfg::skin
