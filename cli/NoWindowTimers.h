#pragma once

#include <map>

#include "platform/WindowTimers.h"

namespace mousecfg::cli {

// The tool has no window and no periodic status poll: timers are only remembered, never fire.
class NoWindowTimers final : public WindowTimers {
  public:
    void SetTimer(int id, std::chrono::milliseconds interval) override { running_[id] = interval; }
    void KillTimer(int id) override { running_.erase(id); }
    bool IsTimerRunning(int id) const override { return running_.count(id) != 0; }

  private:
    std::map<int, std::chrono::milliseconds> running_;
};

}  // namespace mousecfg::cli
