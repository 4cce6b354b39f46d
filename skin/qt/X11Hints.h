#pragma once

class QWindow;

namespace mousecfg::skin::qt {

// Asks the window manager to leave `window` out of the task bar and the pager (the EWMH states
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER). Call before the window is first shown. Does nothing
// on window systems other than X11, which have no such hint (a Wayland compositor lists a window with a parent
// under that parent).
void KeepOutOfTaskBar(QWindow& window);

// Whether transparent pixels of a window show what lies behind it only when the window is cut to shape: true on
// X11 while no compositing manager runs (transparent pixels then come out black); false elsewhere.
bool NeedsShapeForTransparency();

}  // namespace mousecfg::skin::qt
