#include "app/settings/BatteryNotice.h"

namespace mousecfg::app {

bool BatteryNotice::Update(int percent, bool charging, bool enabled) {
    if (charging || percent >= kRearmPercent) {
        armed_ = true;
        return false;
    }
    if (percent >= kLowPercent || !armed_ || !enabled) {
        return false;
    }
    armed_ = false;
    return true;
}

}  // namespace mousecfg::app
