#include "skin/PopupPlacement.h"

namespace mousecfg::skin {
namespace {

// The left edge of something `width` wide that wants to start at `left`, kept inside the work area.
int FitLeft(int left, int width, const Rect& area) {
    return std::max(area.left, std::min(left, area.right - width));
}

}  // namespace

Rect PlaceToolTip(Size tip, Point cursor, const Rect& workArea) {
    const int left = FitLeft(cursor.x, tip.cx, workArea);
    int top = cursor.y + kCursorHeight;
    if (top + tip.cy > workArea.bottom) {
        top = cursor.y - tip.cy - 2;
    }
    top = std::max(workArea.top, top);
    return {left, top, left + tip.cx, top + tip.cy};
}

Rect PlaceDropList(const Rect& combo, Size list, const Rect& workArea, int minHeight) {
    const int left = FitLeft(combo.left, list.cx, workArea);
    const int below = workArea.bottom - combo.bottom;
    const int above = combo.top - workArea.top;
    if (list.cy <= below || below >= above) {
        const int height = std::max(std::min(list.cy, below), std::min(minHeight, list.cy));
        return {left, combo.bottom, left + list.cx, combo.bottom + height};
    }
    const int height = std::max(std::min(list.cy, above), std::min(minHeight, list.cy));
    return {left, combo.top - height, left + list.cx, combo.top};
}

}  // namespace mousecfg::skin
