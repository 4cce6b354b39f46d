#include "device/InputReportProcessor.h"

#include "device/DeviceEventQueue.h"
#include "device/DeviceStateModel.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

constexpr size_t kButtonsLowAt = 2;
constexpr size_t kButtonsHighAt = 3;
constexpr size_t kProfileAt = 6;
constexpr size_t kReportRateAt = 7;
constexpr size_t kDpiLevelAt = 8;
constexpr size_t kLightingAt = 9;
constexpr size_t kStateEAt = 10;
constexpr size_t kStateFAt = 11;
constexpr size_t kStateGAt = 13;
constexpr int kDpiLevels = 8;
constexpr int kLightingFlag = 0x80;

// Buttons 0..7 are the bits of byte 2 and 8..15 those of byte 3; 16..19 have no bit and never change.
bool ButtonBit(std::span<const uint8_t> report, int button) {
    if (button < 8) {
        return (report[kButtonsLowAt] >> button) & 1;
    }
    if (button < 16) {
        return (report[kButtonsHighAt] >> (button - 8)) & 1;
    }
    return false;
}

uint16_t U16(std::span<const uint8_t> report, size_t at) {
    return static_cast<uint16_t>(report[at] | report[at + 1] << 8);
}

}  // namespace

InputReportProcessor::InputReportProcessor(DeviceStateModel& model, DeviceEventQueue& queue)
    : model_(model), queue_(queue) {}

void InputReportProcessor::Process(int deviceIndex, std::span<const uint8_t> report, bool compareReportRate,
                                   State& state) const {
    if (report.size() < kMinLength) {
        return;
    }
    for (int button = 0; button < kButtons; ++button) {
        const bool pressed = ButtonBit(report, button);
        if (pressed == state.pressed[static_cast<size_t>(button)]) {
            continue;
        }
        if (!pressed) {
            model_.ReloadKeyMap(deviceIndex);
            if (model_.DeviceEventsSuspended()) {
                return;
            }
            CompareOnRelease(deviceIndex, button, report, compareReportRate);
        }
        state.pressed[static_cast<size_t>(button)] = pressed;
    }
    const uint8_t e = report[kStateEAt];
    const uint16_t f = U16(report, kStateFAt);
    const uint16_t g = U16(report, kStateGAt);
    if (f != 0 && state.haveValues && f != state.f) {
        Queue(deviceIndex, DeviceEventKind::StateValue, 0, f);
    }
    state.haveValues = true;
    state.e = e;
    state.f = f;
    state.g = g;
}

void InputReportProcessor::CompareOnRelease(int deviceIndex, int button, std::span<const uint8_t> report,
                                            bool compareReportRate) const {
    const int profile = report[kProfileAt];
    if (profile != model_.CurrentProfile()) {
        Queue(deviceIndex, DeviceEventKind::Profile, button, profile);
    }
    const int levelPlusOne = report[kDpiLevelAt];
    const int level = levelPlusOne - 1;
    if (levelPlusOne != model_.CurrentDpiLevel() + 1 && level >= 0 && level < kDpiLevels &&
        model_.DpiLevelFlag(level) == 1) {
        Queue(deviceIndex, DeviceEventKind::DpiLevel, button, levelPlusOne);
    }
    const int lighting = report[kLightingAt];
    if (lighting != 0 && lighting != ((model_.CurrentLightingValue() + 1) | kLightingFlag)) {
        Queue(deviceIndex, DeviceEventKind::Lighting, button, lighting);
    }
    if (compareReportRate) {
        const int rate = model_.ReportRateCode();
        const int reported = report[kReportRateAt];
        trace::Printf("curRptRate:%d,input7:%d\n", rate, reported);
        if (reported != rate) {
            Queue(deviceIndex, DeviceEventKind::ReportRate, button, reported);
        }
    }
}

void InputReportProcessor::Queue(int deviceIndex, DeviceEventKind kind, int button, int value) const {
    queue_.Push(DeviceEvent{deviceIndex, kind, button, value});
}

}  // namespace mousecfg
