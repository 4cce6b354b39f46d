#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageSink.h"
#include "skin/SkinPlatform.h"

namespace mousecfg::skin {

// Skin windows without a display: window hosts that record what they were asked to do, a task queue in place
// of an event loop, a manual clock for timers, and menus and tray icons that tests click. The default platform,
// so that window and page logic runs in tests and command-line tools without Qt.
class HeadlessPlatform : public SkinPlatform {
public:
    HeadlessPlatform();
    ~HeadlessPlatform() override;

    std::unique_ptr<WindowHost> CreateWindowHost(SkinWindow& window, const WindowCreateParams& params) override;
    void RunOnUiThread(std::function<void()> task) override;
    std::unique_ptr<MenuHost> ShowMenu(const std::vector<MenuItem>& items, const MenuLook& look, Point screen,
                                       bool above,
                                       std::function<void(const std::string&)> chosen) override;
    std::unique_ptr<TrayHost> CreateTray(const std::string& iconFile, const std::string& toolTip,
                                         std::function<void(uint32_t)> clicked) override;
    std::unique_ptr<Ticker> StartTicker(std::chrono::milliseconds interval, std::function<void()> tick) override;

    // Runs queued tasks (posted messages among them) until none is left; returns how many ran.
    size_t ProcessPending();
    // Runs tasks as they come until `done` is true or `timeout` passed; returns done().
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    // Moves the clock on: every timer due by then ticks (once per elapsed interval), and the ticks are handled.
    void AdvanceTime(std::chrono::milliseconds elapsed);

    // The menu shown last and not yet closed; none when there is none.
    const std::vector<MenuItem>* OpenMenu() const;
    Point OpenMenuPosition() const { return menuPosition_; }
    const MenuLook& OpenMenuLook() const { return menuLook_; }
    // Clicks an item of the open menu (the menu closes); false when no menu is open or the item is not there.
    bool ChooseMenuItem(const std::string& name);
    bool HasTray() const { return tray_ != nullptr; }
    bool IsTrayAvailable() const override { return trayAvailable_; }
    // A desktop without a tray (true by default).
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }
    std::string TrayToolTip() const;
    // The user clicked the tray icon: `mouseMessage` is msg::kLButtonUp, kLButtonDblClk or kRButtonUp.
    void ClickTray(uint32_t mouseMessage);
    // The notifications shown from tray icons, as "title: text", oldest first.
    const std::vector<std::string>& TrayMessages() const { return trayMessages_; }

    // The work area that headless windows report.
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 800;

private:
    friend class HeadlessWindowHost;
    struct Timer {
        const void* host;
        int id;
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
        std::weak_ptr<MessageSink> target;
        std::function<void()> tick;  // tickers call this instead of posting a timer message
    };
    struct OpenMenuState;
    struct TrayState;
    void StartTimer(const void* host, int id, std::chrono::milliseconds interval, std::weak_ptr<MessageSink> target);
    void StopTimer(const void* host, int id);
    void StartTick(const void* owner, std::chrono::milliseconds interval, std::function<void()> tick);
    bool TimerRunning(const void* host, int id) const;
    void StopTimers(const void* host);

    // State below is protected by mutex_ (tasks come from any thread).
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> tasks_;
    // UI thread only.
    std::vector<Timer> timers_;
    std::chrono::milliseconds now_{0};
    std::shared_ptr<OpenMenuState> menu_;
    Point menuPosition_;
    MenuLook menuLook_;
    std::shared_ptr<TrayState> tray_;
    bool trayAvailable_ = true;
    std::vector<std::string> trayMessages_;
};

}  // namespace mousecfg::skin
