#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/Geometry.h"
#include "skin/MenuItem.h"

namespace mousecfg::skin {

class SkinWindow;
class WindowHost;

// Where a window's native side is created.
struct WindowCreateParams {
    SkinWindow* parent = nullptr;
    std::string title;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Rect rect;  // screen coordinates; an empty size takes the skin's size
};

// A shown menu; destroying it closes the menu.
class MenuHost {
public:
    virtual ~MenuHost() = default;
};

// A running ticker; destroying it stops it.
class Ticker {
public:
    virtual ~Ticker() = default;
};

// A tray icon; destroying it removes the icon.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    virtual void SetToolTip(const std::string& text) = 0;
    virtual void SetIcon(const std::string& file) = 0;
    // A desktop notification from the icon: a title and a line of text.
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

// The services behind skin windows: the Qt platform in the program, the headless one in tests (the default).
// Set once at start on the user-interface thread; the caller keeps it alive.
class SkinPlatform {
public:
    virtual ~SkinPlatform() = default;
    virtual std::unique_ptr<WindowHost> CreateWindowHost(SkinWindow& window, const WindowCreateParams& params) = 0;
    // Runs `task` on the user-interface thread soon. Any thread.
    virtual void RunOnUiThread(std::function<void()> task) = 0;
    // Shows a menu in the given colours at a screen point (its top-left corner, or its bottom-left when `above`);
    // `chosen` gets the name of the item clicked, on the user-interface thread. None when it cannot be shown.
    virtual std::unique_ptr<MenuHost> ShowMenu(const std::vector<MenuItem>& items, const MenuLook& look,
                                               Point screen, bool above,
                                               std::function<void(const std::string&)> chosen) = 0;
    // A tray icon; `clicked` gets the mouse message numbers (left up, left double click, right up).
    virtual std::unique_ptr<TrayHost> CreateTray(const std::string& iconFile, const std::string& toolTip,
                                                 std::function<void(uint32_t)> clicked) = 0;
    // Whether the desktop shows tray icons now (many do not): a window hidden to the tray can only come back
    // through its icon.
    virtual bool IsTrayAvailable() const = 0;
    // The direction that texts run in and native widgets are laid out in (SkinResources::SetRightToLeft).
    virtual void SetRightToLeft(bool rightToLeft) { (void)rightToLeft; }

    // Calls `tick` on the user-interface thread every `interval` until the ticker is destroyed (animations).
    virtual std::unique_ptr<Ticker> StartTicker(std::chrono::milliseconds interval, std::function<void()> tick) = 0;

    static void Set(SkinPlatform* platform);
    // The platform set, or the process's headless platform when none was.
    static SkinPlatform& Get();
};

}  // namespace mousecfg::skin
