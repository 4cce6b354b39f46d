#pragma once

#include "skin/SkinPlatform.h"

namespace mousecfg::skin::qt {

// Skin windows as Qt widgets, menus as QMenu, the tray icon as QSystemTrayIcon, and tasks from other threads
// through the Qt event loop. Needs a QApplication; set it with SkinPlatform::Set at start.
class QtSkinPlatform final : public SkinPlatform {
public:
    std::unique_ptr<WindowHost> CreateWindowHost(SkinWindow& window, const WindowCreateParams& params) override;
    void RunOnUiThread(std::function<void()> task) override;
    std::unique_ptr<MenuHost> ShowMenu(const std::vector<MenuItem>& items, const MenuLook& look, Point screen,
                                       bool above,
                                       std::function<void(const std::string&)> chosen) override;
    std::unique_ptr<TrayHost> CreateTray(const std::string& iconFile, const std::string& toolTip,
                                         std::function<void(uint32_t)> clicked) override;
    bool IsTrayAvailable() const override;
    void SetRightToLeft(bool rightToLeft) override;
    std::unique_ptr<Ticker> StartTicker(std::chrono::milliseconds interval, std::function<void()> tick) override;
};

}  // namespace mousecfg::skin::qt
