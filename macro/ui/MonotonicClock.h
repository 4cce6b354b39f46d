#pragma once

#include "platform/TimeOfDayClock.h"

namespace mousecfg::macroui {

// The recorder's clock for real recordings: milliseconds of a monotonic clock, folded into one day as the
// recorder expects of a time of day. Changes of the wall clock (daylight saving, time synchronisation) do not
// bend the delays between keys. Any thread.
class MonotonicClock final : public TimeOfDayClock {
public:
    int64_t NowMs() override;
};

}  // namespace mousecfg::macroui
