#include "platform/Pacer.h"

#include <thread>

namespace mousecfg {

void SleepingPacer::Pause(std::chrono::milliseconds duration) {
    if (duration.count() > 0) {
        std::this_thread::sleep_for(duration);
    }
}

Pacer& DefaultPacer() {
    static SleepingPacer pacer;
    return pacer;
}

}  // namespace mousecfg
