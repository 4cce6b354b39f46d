#include "skin/HeadlessPlatform.h"

#include <algorithm>

#include "platform/WindowTimers.h"
#include "skin/HeadlessWindowHost.h"

namespace mousecfg::skin {

struct HeadlessPlatform::OpenMenuState {
    std::vector<MenuItem> items;
    std::function<void(const std::string&)> chosen;
};

struct HeadlessPlatform::TrayState {
    std::string icon;
    std::string toolTip;
    std::function<void(uint32_t)> clicked;
};

namespace {

// Clears the platform's record of a menu or tray icon when the program destroys it.
template <class State>
class HeadlessMenu final : public MenuHost {
public:
    HeadlessMenu(std::shared_ptr<State> state, std::shared_ptr<State>& slot) : state_(std::move(state)), slot_(slot) {}
    ~HeadlessMenu() override {
        if (slot_ == state_) {
            slot_.reset();
        }
    }

private:
    std::shared_ptr<State> state_;
    std::shared_ptr<State>& slot_;
};

template <class State>
class HeadlessTray final : public TrayHost {
public:
    HeadlessTray(std::shared_ptr<State> state, std::shared_ptr<State>& slot, std::vector<std::string>& messages)
        : state_(std::move(state)), slot_(slot), messages_(messages) {}
    ~HeadlessTray() override {
        if (slot_ == state_) {
            slot_.reset();
        }
    }
    void SetToolTip(const std::string& text) override { state_->toolTip = text; }
    void SetIcon(const std::string& file) override { state_->icon = file; }
    void ShowMessage(const std::string& title, const std::string& text) override {
        messages_.push_back(title + ": " + text);
    }

private:
    std::shared_ptr<State> state_;
    std::shared_ptr<State>& slot_;
    std::vector<std::string>& messages_;
};

}  // namespace

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

std::unique_ptr<WindowHost> HeadlessPlatform::CreateWindowHost(SkinWindow& window, const WindowCreateParams& params) {
    return std::make_unique<HeadlessWindowHost>(*this, window, params);
}

void HeadlessPlatform::RunOnUiThread(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    arrived_.notify_all();
}

size_t HeadlessPlatform::ProcessPending() {
    size_t ran = 0;
    while (true) {
        std::function<void()> task;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (tasks_.empty()) {
                return ran;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        ++ran;
    }
}

bool HeadlessPlatform::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            // `done` may also turn true on another thread (a worker's answer): look again every few ms.
            const auto slice = std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(5));
            if (!arrived_.wait_until(lock, slice, [this] { return !tasks_.empty(); })) {
                if (std::chrono::steady_clock::now() >= deadline) {
                    break;
                }
                continue;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
    return done();
}

void HeadlessPlatform::AdvanceTime(std::chrono::milliseconds elapsed) {
    const auto end = now_ + elapsed;
    while (true) {
        // The earliest due timer ticks first, so ticks of different timers keep their order.
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const Timer& a, const Timer& b) { return a.due < b.due; });
        if (next == timers_.end() || next->due > end) {
            break;
        }
        now_ = next->due;
        next->due += next->interval;
        if (next->tick) {
            auto tick = next->tick;  // the tick may stop its own ticker
            tick();
        } else if (auto target = next->target.lock()) {
            target->Post(Message{kTimerMessage, static_cast<uintptr_t>(next->id), 0, {}});
        }
        ProcessPending();
    }
    now_ = end;
    ProcessPending();
}

void HeadlessPlatform::StartTimer(const void* host, int id, std::chrono::milliseconds interval,
                                  std::weak_ptr<MessageSink> target) {
    StopTimer(host, id);
    const auto step = std::max(interval, std::chrono::milliseconds(1));
    timers_.push_back({host, id, step, now_ + step, std::move(target), {}});
}

void HeadlessPlatform::StartTick(const void* owner, std::chrono::milliseconds interval,
                                 std::function<void()> tick) {
    const auto step = std::max(interval, std::chrono::milliseconds(1));
    timers_.push_back({owner, 0, step, now_ + step, {}, std::move(tick)});
}

std::unique_ptr<Ticker> HeadlessPlatform::StartTicker(std::chrono::milliseconds interval, std::function<void()> tick) {
    class HeadlessTicker final : public Ticker {
    public:
        explicit HeadlessTicker(HeadlessPlatform& platform) : platform_(platform) {}
        ~HeadlessTicker() override { platform_.StopTimers(this); }

    private:
        HeadlessPlatform& platform_;
    };
    auto ticker = std::make_unique<HeadlessTicker>(*this);
    StartTick(ticker.get(), interval, std::move(tick));
    return ticker;
}

void HeadlessPlatform::StopTimer(const void* host, int id) {
    std::erase_if(timers_, [&](const Timer& t) { return t.host == host && t.id == id; });
}

bool HeadlessPlatform::TimerRunning(const void* host, int id) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.host == host && t.id == id; });
}

void HeadlessPlatform::StopTimers(const void* host) {
    std::erase_if(timers_, [&](const Timer& t) { return t.host == host; });
}

std::unique_ptr<MenuHost> HeadlessPlatform::ShowMenu(const std::vector<MenuItem>& items, const MenuLook& look,
                                                     Point screen, bool /*above*/,
                                                     std::function<void(const std::string&)> chosen) {
    menu_ = std::make_shared<OpenMenuState>(OpenMenuState{items, std::move(chosen)});
    menuPosition_ = screen;
    menuLook_ = look;
    return std::make_unique<HeadlessMenu<OpenMenuState>>(menu_, menu_);
}

const std::vector<MenuItem>* HeadlessPlatform::OpenMenu() const {
    return menu_ ? &menu_->items : nullptr;
}

bool HeadlessPlatform::ChooseMenuItem(const std::string& name) {
    if (!menu_) {
        return false;
    }
    auto state = menu_;
    const auto it = std::find_if(state->items.begin(), state->items.end(),
                                 [&](const MenuItem& item) { return item.name == name; });
    if (it == state->items.end() || !it->visible || !it->enabled || it->separator) {
        return false;
    }
    menu_.reset();
    if (state->chosen) {
        state->chosen(name);
    }
    return true;
}

std::unique_ptr<TrayHost> HeadlessPlatform::CreateTray(const std::string& iconFile, const std::string& toolTip,
                                                       std::function<void(uint32_t)> clicked) {
    tray_ = std::make_shared<TrayState>(TrayState{iconFile, toolTip, std::move(clicked)});
    return std::make_unique<HeadlessTray<TrayState>>(tray_, tray_, trayMessages_);
}

std::string HeadlessPlatform::TrayToolTip() const {
    return tray_ ? tray_->toolTip : std::string();
}

void HeadlessPlatform::ClickTray(uint32_t mouseMessage) {
    if (tray_ && tray_->clicked) {
        tray_->clicked(mouseMessage);
    }
}

}  // namespace mousecfg::skin
