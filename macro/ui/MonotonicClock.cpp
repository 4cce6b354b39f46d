#include "macro/ui/MonotonicClock.h"

#include <chrono>

namespace mousecfg::macroui {

int64_t MonotonicClock::NowMs() {
    constexpr int64_t kDayMs = 86'400'000;
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() % kDayMs;
}

}  // namespace mousecfg::macroui
