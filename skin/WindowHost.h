#pragma once

#include <chrono>
#include <string>

#include "skin/Geometry.h"
#include "skin/PaintHost.h"

namespace mousecfg::skin {

// The native side of one skin window: the Qt widget in the program, a recording stand-in in headless tests.
// Created by the platform for a SkinWindow, owned by it, called on the window's thread. Input and timer ticks
// go back to the window as messages (SkinWindow::HandleMessage); the host's own destruction is reported with
// SkinWindow::OnHostDestroyed, later, from the event loop.
class WindowHost : public PaintHost {
public:
    virtual void Show(bool activate) = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    // The window's client area in screen coordinates.
    virtual Rect GetWindowRect() const = 0;
    virtual void SetWindowRect(const Rect& rect) = 0;
    // The screen area that windows may use (without panels), of the screen the window is on.
    virtual Rect GetWorkArea() const = 0;
    virtual void Minimize() = 0;
    virtual void Restore() = 0;
    virtual bool IsMinimized() const = 0;
    virtual void BringToFront() = 0;
    // Marks the window as wanting attention (its task bar entry flashes or is highlighted) until it is next
    // activated.
    virtual void Flash() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Blocks in a nested event loop until EndModal; returns its result.
    virtual int RunModal() = 0;
    virtual void EndModal(int result) = 0;
    // Closes the native window; OnHostDestroyed follows from the event loop.
    virtual void Destroy() = 0;
    virtual void SetTimer(int id, std::chrono::milliseconds interval) = 0;
    virtual void KillTimer(int id) = 0;
    virtual bool IsTimerRunning(int id) const = 0;
    // The cursor in screen coordinates.
    virtual Point GetCursorPos() const = 0;
    // Sends every key event to this window, and none to other programs where the window system allows it, until
    // released; hiding or destroying the window releases the grab.
    virtual void GrabKeyboard(bool grab) = 0;
    virtual bool KeyboardGrabbed() const = 0;
};

}  // namespace mousecfg::skin
