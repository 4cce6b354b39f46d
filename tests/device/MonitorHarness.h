#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "device/DeviceMessages.h"
#include "device/FindDev.h"
#include "device/ReportTransport.h"
#include "platform/DeviceChange.h"
#include "platform/MessageQueue.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/SimChecks.h"
#include "tests/device/TestWindow.h"
#include "tests/support/CatalogueFiles.h"
#include "tests/support/FakeDeviceStateModel.h"
#include "tests/support/ManualTimers.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/RecordingPacer.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

// The whole device link on the virtual mouse: catalogue, transport, command set, monitor and a window, with
// fake timers and message boxes. Devices are plugged with Plug/Unplug; the window hears of them as it would from
// the hot-plug monitor.
class MonitorHarness {
  public:
    explicit MonitorHarness(bool withBleLink = false, int registrationCheck = 1) {
        WriteCatalogueArchive(res_.path(), VirtualMouseCatalogue());
        WriteBleList(res_.path(), R"({"bleString": ["Virtual Mouse"]})");
        if (withBleLink) {
            ble_ = std::make_unique<sim::SimBleLink>(mouse);
            transport.SetBleLink(ble_.get(), kS_OK);
        }
        catalogue = std::make_unique<FindDev>(backend, res_.path());
        timers.SetTickHandler([this](int id) { monitor->OnTimer(id); });
        monitor = std::make_unique<ConnectionMonitor>(
            MonitorServices{*catalogue, commands, window, timers, boxes, model, registrationCheck});
        window.Attach(monitor.get());
    }

    ~MonitorHarness() {
        ExpectNoRejections(mouse);
        // The window keeps answering while the threads end: a reader may be waiting in a send.
        window.Detach();
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            monitor->Shutdown();
            done = true;
            window.Post(Message{});  // wakes the pump
        });
        EXPECT_TRUE(window.PumpUntil([&] { return done.load(); })) << "the monitor did not stop";
        stopper.join();
        backend.SetDeviceChangeSink(nullptr);
        ble_.reset();
    }

    // Loads the catalogue and the BLE list, chooses the device silently and starts the threads, as the window
    // does when it initialises; device changes are announced from then on.
    void Start() {
        catalogue->LoadBleList();
        catalogue->LoadCatalogue();
        monitor->SelectActiveDevice(true);
        monitor->StartEventThread();
        monitor->StartReaders();
        backend.SetDeviceChangeSink(&window);
    }

    sim::SimBleLink& Ble() { return *ble_; }

    // Waits until the readers that should have ended have ended (a reader notices an unplug on its own thread).
    bool WaitForReaders(size_t running) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (monitor->RunningReaders() != running && std::chrono::steady_clock::now() < deadline) {
            window.PumpFor(std::chrono::milliseconds(5));
        }
        return monitor->RunningReaders() == running;
    }

    TempDir res_;
    sim::VirtualMouse mouse;
    sim::SimHidBackend backend;
    RecordingPacer pacer;
    ReportTransport transport{PacingValues::Zero(), pacer};
    CommandSet commands{transport};
    FakeDeviceStateModel model;
    ManualTimers timers;
    RecordingMessageBoxes boxes;
    TestWindow window;
    std::unique_ptr<FindDev> catalogue;
    std::unique_ptr<ConnectionMonitor> monitor;

  private:
    std::unique_ptr<sim::SimBleLink> ble_;
};

}  // namespace mousecfg::test
