// The connection monitor on the virtual mouse: (a) how long an input report takes from the mouse to its window
// message, and (b) how much CPU the monitor's threads use while nothing happens with two devices present.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/ReportTransport.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/FakeDeviceStateModel.h"
#include "tests/support/ManualTimers.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using Clock = std::chrono::steady_clock;

// The main window: notes when each DPI message is posted; sent messages are answered at once.
class TimingWindow final : public MessageSink {
  public:
    void Post(Message message) override {
        if (message.id != msg::kDpiLevelChanged) {
            return;
        }
        const auto now = Clock::now();
        std::lock_guard<std::mutex> lock(mutex_);
        postedAt_ = now;
        ++posted_;
        arrived_.notify_all();
    }
    intptr_t Send(Message) override { return 0; }

    // Waits for post number `count`; returns when it was posted.
    Clock::time_point WaitFor(int count) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait(lock, [&] { return posted_ >= count; });
        return postedAt_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    Clock::time_point postedAt_;
    int posted_ = 0;
};

// The device link with the virtual mouse plugged by cable and through the receiver, readers and event thread
// running.
struct Rig {
    Rig() {
        std::filesystem::copy(test::BuiltResources() / "Home", res.path() / "Home",
                              std::filesystem::copy_options::recursive);
        backend.Plug(sim::SimAttachment::Cable, mouse);
        backend.Plug(sim::SimAttachment::Receiver, mouse);
        catalogue.LoadCatalogue();
        monitor.SelectActiveDevice(true);
        monitor.StartEventThread();
        monitor.StartReaders();
    }

    test::TempDir res;
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    FindDev catalogue{backend, res.path()};
    ReportTransport transport{PacingValues::Zero()};
    CommandSet commands{transport};
    TimingWindow window;
    test::ManualTimers timers;
    test::RecordingMessageBoxes boxes;
    test::FakeDeviceStateModel model;
    ConnectionMonitor monitor{MonitorServices{catalogue, commands, window, timers, boxes, model, 1}};
};

double Percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1))];
}

// A release of the DPI button on a mouse whose level differs from the window's gives a 2031. The mouse is plugged
// both ways, so each release is reported by both devices; the first message is timed.
void BM_InputReportToMessage(benchmark::State& state) {
    Rig rig;
    rig.mouse.SetDpiLevelNumber(3);
    std::vector<double> micros;
    int expected = 0;
    for (auto _ : state) {
        rig.mouse.SetButton(2, true);
        const auto start = Clock::now();
        rig.mouse.SetButton(2, false);
        expected += 2;  // both devices report the release
        const auto posted = rig.window.WaitFor(expected - 1);
        const double seconds = std::chrono::duration<double>(posted - start).count();
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
        rig.window.WaitFor(expected);
    }
    state.counters["p50_us"] = Percentile(micros, 0.50);
    state.counters["p99_us"] = Percentile(micros, 0.99);
    std::printf("input report to message: p50 %.1f us, p99 %.1f us over %zu reports (goal: p99 < 1000 us)\n",
                Percentile(micros, 0.50), Percentile(micros, 0.99), micros.size());
}
BENCHMARK(BM_InputReportToMessage)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Two devices present, nothing happening: the process's CPU time (the main thread only sleeps) over the wall time.
void BM_IdleCpu(benchmark::State& state) {
    Rig rig;
    double percent = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
        percent = 100.0 * cpu / wall;
    }
    state.counters["cpu_percent_of_one_core"] = percent;
    std::printf("idle with two devices: %zu readers, %.4f %% of one core (goal: < 0.1 %%)\n",
                rig.monitor.RunningReaders(), percent);
}
BENCHMARK(BM_IdleCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mousecfg
