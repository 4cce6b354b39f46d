#pragma once

#include <memory>
#include <string>

namespace mousecfg::skin {

class SkinWindow;
class TrayHost;

// The program's icon in the system tray. Clicks reach the owner window as message kTrayIcon (1025) with the
// mouse message in lParam (msg::kLButtonUp, kLButtonDblClk, kRButtonUp). Used on the user-interface thread.
class TrayIcon {
public:
    TrayIcon();
    ~TrayIcon();
    // Shows the icon; a second call replaces the first icon.
    bool Create(SkinWindow& owner, const std::string& iconFile, const std::string& toolTip);
    void SetToolTip(const std::string& text);
    // Shows a desktop notification from the icon; nothing when the icon is not shown.
    void ShowMessage(const std::string& title, const std::string& text);
    void Delete();
    bool IsVisible() const { return host_ != nullptr; }

private:
    std::unique_ptr<TrayHost> host_;
};

}  // namespace mousecfg::skin
