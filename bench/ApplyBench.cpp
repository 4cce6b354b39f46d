// Apply runs against the virtual mouse with the default pacing: for each scenario the frames the mouse received
// ("frames") against the fewest the run's sequence allows ("fewest"), and the time the transport's waits add up to
// ("modelled_s"). The waits are recorded instead of slept, so the benchmark's own time is the program's work.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <functional>

#include "config/ApplyMessages.h"
#include "config/KeyAssignment.h"
#include "config/PresetMacros.h"
#include "device/DeviceRequest.h"
#include "device/MacroStream.h"
#include "sim/VirtualMouse.h"
#include "tests/config/SessionHarness.h"
#include "tests/support/RecordingPacer.h"

namespace mousecfg {
namespace {

using test::RigLink;
using test::SessionHarness;

// The scenarios copy the shipped resource folder, found through the test data path, from wherever this runs.
[[maybe_unused]] const bool kDataPathSet = setenv("MOUSECFG_TEST_DATA", MOUSECFG_SOURCE_DIR "/tests/data", 0) == 0;

constexpr int kKeyCount = 8;  // buttons of the shipped model

// The frames of a full write of one profile with `n` repeats: 2/2, 2/1, the rate (not over BLE), the eight
// buttons, the DPI table and colours, the lighting header and record, sleep, sensor byte, lift-off and the two
// device options, each n times; the two wheel positions once each.
int FullWriteFrames(int n, bool ble) {
    return n * ((ble ? 2 : 3) + kKeyCount + 2 + 2 + 5) + 2;
}

// Pages of the fire key's macro with fire value `fire` (32 bytes per page).
int FirePages(const SessionHarness& h, int fire) {
    PresetMacros presets;
    LoadPresetMacros(presets, h.res.path() / "VeruzUrir");
    MacroBlock block = MapItemCodes(presets.otherKeys.at(2).block);
    for (int i = 0; i < block.ItemCount(); ++i) {
        block.macDly[static_cast<size_t>(i)] += fire;
    }
    const auto image = EncodeMacro(block);
    return image ? static_cast<int>((image->size() + kMacroPageSize - 1) / kMacroPageSize) : 0;
}

struct Scenario {
    RigLink link;
    // Prepares the session (before the measured run) and returns the fewest frames of the run.
    std::function<int(SessionHarness&)> prepare;
    // Starts the measured run.
    std::function<void(SessionHarness&)> run;
};

void FullRun(SessionHarness& h) {
    h.session->StartApply(true);
}

void RunScenario(benchmark::State& state, const Scenario& scenario) {
    int frames = 0;
    int fewest = 0;
    int modelled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        test::RecordingPacer pacer;
        SessionHarness h(scenario.link, &pacer, PacingValues::Default());
        h.Load();
        fewest = scenario.prepare(h);
        h.Drain();
        h.rig.mouse().ClearLog();
        pacer.Clear();
        state.ResumeTiming();
        scenario.run(h);
        h.WaitForRuns();
        state.PauseTiming();
        h.Drain();
        frames = 0;
        for (const auto& entry : h.rig.mouse().Log()) {
            frames += entry.direction == sim::FrameLogEntry::Direction::Received ? 1 : 0;
        }
        modelled = pacer.TotalMs();
        state.ResumeTiming();
    }
    state.counters["frames"] = frames;
    state.counters["fewest"] = fewest;
    state.counters["modelled_s"] = modelled / 1000.0;
}

int Written(SessionHarness& h) {
    h.session->StartApply(true);
    h.WaitForRuns();
    return 0;
}

const Scenario kScenarios[] = {
    {RigLink::Cable, [](SessionHarness&) { return 2 + FullWriteFrames(1, false) + 1; }, FullRun},
    {RigLink::Receiver, [](SessionHarness&) { return 2 + FullWriteFrames(4, false) + 4; }, FullRun},
    {RigLink::Cable, [](SessionHarness& h) { return Written(h) + 2; }, FullRun},
    {RigLink::Cable, [](SessionHarness& h) { return Written(h) + 2 + 1 + 4; },
     [](SessionHarness& h) {
         h.session->applyState().profileSwitched = true;
         FullRun(h);
     }},
    {RigLink::Receiver, [](SessionHarness&) { return 2 + FullWriteFrames(4, false) + 4; },
     [](SessionHarness& h) { h.session->SelectProfile(1); }},
    {RigLink::Receiver, [](SessionHarness&) { return 4 + 4; },
     [](SessionHarness& h) { h.session->RequestApply(request::kDpiTable, false); }},
    {RigLink::Cable,
     [](SessionHarness& h) {
         for (int button : {3, 4}) {
             AssignFunction(h.session->config(), h.session->macros(), 0, button, 102, h.session->functions(),
                            h.session->keyNames());
         }
         Written(h);
         h.session->config().profiles[0].fireValue = 30;
         h.session->applyState().fireRefresh = true;
         return 2 * (1 + FirePages(h, 30)) + 1;
     },
     [](SessionHarness& h) { h.session->RequestApply(request::kKeyAssignment, false); }},
    {RigLink::Cable, [](SessionHarness&) { return 1 + 2 + FullWriteFrames(1, false) + 1; },
     [](SessionHarness& h) { h.session->ResetConfiguration(); }},
    {RigLink::Ble, [](SessionHarness&) { return 2 + FullWriteFrames(1, true) + 1; }, FullRun},
    // What the advanced and lighting pages ask for: one setting and the new tag.
    {RigLink::Cable, [](SessionHarness& h) { return Written(h) + 1 + 1; },
     [](SessionHarness& h) {
         h.session->config().profiles[0].dpiLevels[2].colour = 0x34D399;
         h.session->RequestApply(request::kDpiColours, false);
     }},
    {RigLink::Receiver, [](SessionHarness& h) { return Written(h) + 4 * 2 + 4; },
     [](SessionHarness& h) {
         h.session->config().lighting[0][0].mode = 4;
         h.session->RequestApply(request::kLightEffect, false);
     }},
    {RigLink::Cable, [](SessionHarness& h) { return Written(h) + 1 + 1; },
     [](SessionHarness& h) {
         h.session->applyState().pendingSleep = true;
         h.session->RequestApply(request::kSystemSetting, false);
     }},
};

BENCHMARK_CAPTURE(RunScenario, FullWriteCable, kScenarios[0])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, FullWriteReceiver, kScenarios[1])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, MatchingTagsCable, kScenarios[2])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SwitchToHeldProfileCable, kScenarios[3])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SwitchToNewProfileReceiver, kScenarios[4])
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SingleDpiChangeReceiver, kScenarios[5])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, FireValueChangeCable, kScenarios[6])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, ResetCable, kScenarios[7])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, FullWriteBle, kScenarios[8])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SingleDpiColourCable, kScenarios[9])->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SingleLightingModeReceiver, kScenarios[10])
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunScenario, SleepTimeRelayCable, kScenarios[11])->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mousecfg
