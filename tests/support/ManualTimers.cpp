#include "tests/support/ManualTimers.h"

namespace mousecfg::test {

void ManualTimers::SetTimer(int id, std::chrono::milliseconds interval) {
    timers_[id] = Timer{interval, now_ + interval};
    ++setCounts_[id];
}

void ManualTimers::KillTimer(int id) {
    timers_.erase(id);
}

bool ManualTimers::IsTimerRunning(int id) const {
    return timers_.count(id) != 0;
}

void ManualTimers::Advance(std::chrono::milliseconds duration) {
    const auto end = now_ + duration;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) {
                next = it;
            }
        }
        if (next == timers_.end()) {
            break;
        }
        now_ = next->second.due;
        next->second.due += next->second.interval;
        const int id = next->first;
        if (tick_) {
            tick_(id);
        }
    }
    now_ = end;
}

std::optional<std::chrono::milliseconds> ManualTimers::Interval(int id) const {
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return std::nullopt;
    }
    return found->second.interval;
}

int ManualTimers::SetCount(int id) const {
    const auto found = setCounts_.find(id);
    return found == setCounts_.end() ? 0 : found->second;
}

}  // namespace mousecfg::test
