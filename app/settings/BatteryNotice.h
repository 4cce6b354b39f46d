#pragma once

namespace mousecfg::app {

// When to tell the user that the mouse's battery runs low: once per discharge, when a reading falls below
// 15 %. The notice is armed again when the mouse charges, or when a reading shows it recharged (20 % or more:
// readings that wobble around the threshold do not repeat the notice). UI thread.
class BatteryNotice {
public:
    static constexpr int kLowPercent = 15;
    static constexpr int kRearmPercent = 20;

    // A new battery reading. True when the notice is to be shown now (only when `enabled`; a disabled notice
    // stays armed, so that switching it on during a discharge still warns once).
    bool Update(int percent, bool charging, bool enabled);

private:
    bool armed_ = true;
};

}  // namespace mousecfg::app
