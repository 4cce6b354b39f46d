#pragma once

#include "platform/TimeOfDayClock.h"

namespace mousecfg::test {

// A time-of-day clock that only moves when told to; Advance wraps at midnight as the real one does.
class ManualClock final : public TimeOfDayClock {
public:
    int64_t NowMs() override { return now; }
    void Advance(int64_t ms) { now = (now + ms) % 86'400'000; }

    int64_t now = 0;
};

}  // namespace mousecfg::test
