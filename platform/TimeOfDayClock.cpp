#include "platform/TimeOfDayClock.h"

#include <ctime>

namespace mousecfg {
namespace {

class SystemClock final : public TimeOfDayClock {
public:
    int64_t NowMs() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        tm local{};
        localtime_r(&now.tv_sec, &local);
        return ((static_cast<int64_t>(local.tm_hour) * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 +
               now.tv_nsec / 1000000;
    }
};

}  // namespace

TimeOfDayClock& SystemTimeOfDayClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace mousecfg
