#pragma once

#include <cstdint>

namespace mousecfg {

// The local time of day in milliseconds, ((hour x 60 + minute) x 60 + second) x 1000 + millisecond: what macro
// recording measures the gaps between key events with. Tests inject their own clock.
class TimeOfDayClock {
public:
    virtual ~TimeOfDayClock() = default;
    virtual int64_t NowMs() = 0;
};

// The system's clock (local time). Any thread.
TimeOfDayClock& SystemTimeOfDayClock();

}  // namespace mousecfg
