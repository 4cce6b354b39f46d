#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/DeviceEvent.h"

namespace mousecfg {

class DeviceEventQueue;
class DeviceStateModel;

// Turns the state bytes of input report 5 into device events: what the user changed with the mouse's own
// buttons. A change is looked for only when a button is released, by comparing the report's profile, DPI level,
// lighting and report-rate bytes with what the window shows; the state value at bytes 11..12 is compared with
// its previous report.
//
// Layout: byte 1 link state, bytes 2..3 button bits 0..15, 6 profile, 7 report-rate code, 8 DPI level + 1,
// 9 lighting state, 10 state byte e, 11..12 state value f (LE), 13..14 state value g (LE).
class InputReportProcessor {
  public:
    static constexpr size_t kMinLength = 15;  // bytes 0..14: shorter reports carry no state and are ignored
    static constexpr int kButtons = 20;       // button numbers 0..19; only 0..15 have bits in the report

    // What one device's reports have shown so far. Owned by the reader of that device (or by the BLE handler).
    struct State {
        std::array<bool, kButtons> pressed{};
        bool haveValues = false;  // e, f and g hold a previous report's values
        uint8_t e = 0;
        uint16_t f = 0;
        uint16_t g = 0;
    };

    // `model` and `queue` must outlive the processor. Process may run on several threads at once, each with its
    // own State.
    InputReportProcessor(DeviceStateModel& model, DeviceEventQueue& queue);

    // Queues the events of `report` from device `deviceIndex`. `compareReportRate` is false for reports that came
    // over BLE, whose report-rate byte means nothing to the window. While the window suspends device events, a
    // release stops the processing of the rest of the report (its button stays recorded as pressed).
    void Process(int deviceIndex, std::span<const uint8_t> report, bool compareReportRate, State& state) const;

  private:
    void CompareOnRelease(int deviceIndex, int button, std::span<const uint8_t> report, bool compareReportRate) const;
    void Queue(int deviceIndex, DeviceEventKind kind, int button, int value) const;

    DeviceStateModel& model_;
    DeviceEventQueue& queue_;
};

}  // namespace mousecfg
