#pragma once

#include "skin/SkinWindow.h"

namespace mousecfg::app {

// The close popup: minimise to the tray or exit, and whether to ask again. "OkButton" sends the choice to the
// parent (2071 with the option, 2071 with the remind value, then 2072 "close now") and closes with 1;
// "btn_close", "CancelButton" and Escape close without result. Closing, either way, posts 2070 to the parent.
class CCloseWnd final : public skin::SkinWindow {
public:
    // `closeOption` 1 exit, 0 minimise; `remind` non-zero: ask again next time.
    CCloseWnd(int closeOption, int remind, int extra = 0) : option_(closeOption), remind_(remind), extra_(extra) {}

    std::string GetSkinFile() override { return "ClosePop.xml"; }
    std::string GetWindowClassName() const override { return "CloseWnd"; }
    void InitWindow() override;
    void Notify(skin::Notification& notification) override;
    intptr_t HandleCustomMessage(const Message& message, bool& handled) override;

    // Without a tray, "Minimize" says that the window goes to the task bar. Before Create.
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }

    int CloseOption() const { return option_; }
    int Remind() const { return remind_; }
    int Extra() const { return extra_; }

private:
    void SelectOption(int option);
    void Finish(int result);

    int option_;
    int remind_;
    int extra_;
    bool finished_ = false;
    bool trayAvailable_ = true;
};

}  // namespace mousecfg::app
