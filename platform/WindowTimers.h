#pragma once

#include <chrono>

namespace mousecfg {

// Window message number of a timer tick; wParam is the timer id.
inline constexpr unsigned kTimerMessage = 0x0113;

// The timers of a window, by id: a running timer posts kTimerMessage with its id to the window every
// `interval` until it is killed. Setting a running timer restarts it with the new interval.
// Called on the window's thread.
class WindowTimers {
public:
    virtual ~WindowTimers() = default;
    virtual void SetTimer(int id, std::chrono::milliseconds interval) = 0;
    virtual void KillTimer(int id) = 0;
    virtual bool IsTimerRunning(int id) const = 0;
};

}  // namespace mousecfg
