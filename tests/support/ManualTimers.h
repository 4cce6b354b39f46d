#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>

#include "platform/WindowTimers.h"

namespace mousecfg::test {

// Window timers on a clock that moves only when the test says so. A running timer ticks every interval until
// killed; Advance calls the tick handler for each tick that falls due, in time order (the handler may set or kill
// timers). Used on one thread.
class ManualTimers final : public WindowTimers {
  public:
    using Tick = std::function<void(int id)>;

    void SetTimer(int id, std::chrono::milliseconds interval) override;
    void KillTimer(int id) override;
    bool IsTimerRunning(int id) const override;

    void SetTickHandler(Tick tick) { tick_ = std::move(tick); }
    // Moves the clock forward by `duration`, ticking the timers that fall due on the way.
    void Advance(std::chrono::milliseconds duration);
    // The interval of a running timer.
    std::optional<std::chrono::milliseconds> Interval(int id) const;
    // How often SetTimer was called for `id`.
    int SetCount(int id) const;

  private:
    struct Timer {
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
    };
    std::chrono::milliseconds now_{0};
    std::map<int, Timer> timers_;
    std::map<int, int> setCounts_;
    Tick tick_;
};

}  // namespace mousecfg::test
