// Feeds arbitrary input reports, one device's stream, to the input report processor with window values taken from
// the input. Pressing or holding a button reports nothing; each release reports at most one event of each kind,
// carrying the report's own byte; the state value is reported only when it changes; a suspended window gets no
// button events; a report too short to carry state changes nothing.
//
// Input: six bytes of window values (profile, DPI level, lighting value, report-rate code, flags, DPI level
// flags), then reports, each a length byte followed by that many bytes.
#include <array>
#include <cstdint>
#include <vector>

#include "device/DeviceEventQueue.h"
#include "device/InputReportProcessor.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/FakeDeviceStateModel.h"

namespace {

using namespace mousecfg;
using Processor = InputReportProcessor;

bool Bit(std::span<const uint8_t> report, int button) {
    if (button >= 16) {
        return false;
    }
    return ((report[button < 8 ? 2 : 3] >> (button % 8)) & 1) != 0;
}

std::vector<DeviceEvent> TakeEvents(DeviceEventQueue& queue) {
    std::vector<DeviceEvent> events;
    while (queue.Pending() > 0) {
        events.push_back(*queue.Pop());
    }
    return events;
}

void CheckEvent(const DeviceEvent& event, std::span<const uint8_t> report, const Processor::State& before,
                bool compareRate) {
    if (event.kind == DeviceEventKind::StateValue) {
        fuzz::Check(event.value == (report[11] | report[12] << 8) && before.haveValues && before.f != event.value,
                    "a state value event carries a changed value");
        return;
    }
    const int button = event.button;
    fuzz::Check(button >= 0 && button < 16, "only buttons with a bit report events");
    fuzz::Check(before.pressed[static_cast<size_t>(button)] && !Bit(report, button), "events come on a release");
    switch (event.kind) {
        case DeviceEventKind::Profile:
            fuzz::Check(event.value == report[6], "a profile event carries byte 6");
            break;
        case DeviceEventKind::DpiLevel:
            fuzz::Check(event.value == report[8] && event.value >= 1 && event.value <= 8,
                        "a DPI event carries byte 8, a level 1..8");
            break;
        case DeviceEventKind::Lighting:
            fuzz::Check(event.value == report[9] && event.value != 0, "a lighting event carries byte 9");
            break;
        case DeviceEventKind::ReportRate:
            fuzz::Check(compareRate && event.value == report[7], "a rate event carries byte 7, over HID only");
            break;
        default:
            fuzz::Check(false, "a known event kind");
    }
}

void CheckReport(const std::vector<DeviceEvent>& events, std::span<const uint8_t> report,
                 const Processor::State& before, const Processor::State& after, bool compareRate, bool suspended) {
    if (report.size() < Processor::kMinLength) {
        fuzz::Check(events.empty() && after.pressed == before.pressed && after.haveValues == before.haveValues,
                    "a short report changes nothing");
        return;
    }
    std::array<std::array<int, 5>, Processor::kButtons> perButton{};
    int stateEvents = 0;
    for (const DeviceEvent& event : events) {
        fuzz::Check(event.deviceIndex == 1, "events name their device");
        CheckEvent(event, report, before, compareRate);
        if (event.kind == DeviceEventKind::StateValue) {
            ++stateEvents;
        } else {
            fuzz::Check(!suspended, "a suspended window gets no button events");
            const int count = ++perButton[static_cast<size_t>(event.button)][static_cast<size_t>(event.kind) - 1];
            fuzz::Check(count == 1, "one event of a kind per release");
        }
    }
    fuzz::Check(stateEvents <= 1, "at most one state value event per report");
    for (int button = 0; button < Processor::kButtons && !suspended; ++button) {
        fuzz::Check(after.pressed[static_cast<size_t>(button)] == Bit(report, button), "the buttons follow the report");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    if (size < 6) {
        return 0;
    }
    test::FakeDeviceStateModel model;
    model.profile = data[0] % 4;
    model.dpiLevel = data[1] % 8;
    model.lighting = data[2];
    model.reportRate = data[3];
    const bool suspended = (data[4] & 1) != 0;
    const bool compareRate = (data[4] & 2) != 0;
    model.suspended = suspended;
    for (int level = 0; level < 8; ++level) {
        model.SetDpiFlag(level, (data[5] >> level) & 1);
    }
    DeviceEventQueue queue;
    Processor processor(model, queue);
    Processor::State state;
    size_t at = 6;
    while (at < size) {
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        const std::span<const uint8_t> report(data + at + 1, length);
        at += 1 + length;
        const Processor::State before = state;
        processor.Process(1, report, compareRate, state);
        CheckReport(TakeEvents(queue), report, before, state, compareRate, suspended);
    }
    return 0;
}
