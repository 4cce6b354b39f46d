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

// Adds or removes the EWMH state _NET_WM_STATE_DEMANDS_ATTENTION of a shown window (its task bar entry flashes
// while it is set). False on window systems other than X11.
bool SetDemandsAttention(QWindow& window, bool demand);

}  // namespace mousecfg::skin::qt
