#pragma once

#include <memory>

#include "app/AppPaths.h"
#include "app/LanguageTexts.h"
#include "app/MousePages.h"
#include "config/ui/PageHost.h"

namespace mousecfg {
class ProgramLauncher;
}  // namespace mousecfg

namespace mousecfg::ui {
class PageRouter;
}  // namespace mousecfg::ui

namespace mousecfg::app {

class CPopTipWnd;
class SessionConfiguration;
class SessionPageSession;

// The mouse pages of the main window: the page router of config/ui (key page, assignment panel, the DPI and
// lighting pages) on the main window's controls, with the windows it needs here: the tip window (created hidden
// with the pages, again after each skin switch) and the colour picker. The router becomes the configuration's page
// view. UI thread only.
class MouseConfigPages final : public MousePages, private ui::PageHost {
public:
    // Everything must outlive the pages.
    MouseConfigPages(SessionConfiguration& configuration, const AppPaths& paths, ProgramLauncher& launcher);
    ~MouseConfigPages() override;

    void Initialise(skin::SkinWindow& window, const std::filesystem::path& skinFolder) override;
    void SelectDevice(const std::filesystem::path& modelFolder, bool ble) override;
    void Notify(skin::Notification& notification) override;
    bool HandleWindowMessage(const Message& message) override;
    void OnDeviceEvent(const Message& message) override;
    void OnConnectionChanged(bool connected, bool cable) override;
    void SetLanguage(const LanguageTexts& texts) override;
    void SetRebuilding(bool rebuilding) override;
    bool Rebuilding() const override { return rebuilding_; }
    void LeaveKeySelection() override;
    void ReopenKeySelection() override;

    // The router, once the window exists (tests).
    ui::PageRouter* Router() { return router_.get(); }
    CPopTipWnd* TipWindow() { return tip_.get(); }

private:
    // ui::PageHost
    void ShowTip(const std::string& text, const skin::Rect& anchor) override;
    void HideTip() override;
    void OpenColourPicker(skin::Color colour) override;

    void ApplyTexts();

    SessionConfiguration& configuration_;
    AppPaths paths_;
    ProgramLauncher& launcher_;
    std::unique_ptr<SessionPageSession> session_;
    skin::SkinWindow* window_ = nullptr;
    std::unique_ptr<ui::PageRouter> router_;
    std::unique_ptr<CPopTipWnd> tip_;
    std::shared_ptr<const LanguageTexts> texts_ = std::make_shared<LanguageTexts>();
    bool rebuilding_ = false;
};

}  // namespace mousecfg::app
