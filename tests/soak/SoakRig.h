#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "config/MousePages.h"
#include "config/MouseSession.h"
#include "device/CommandSet.h"
#include "device/ConnectionMonitor.h"
#include "device/FindDev.h"
#include "device/ReportTransport.h"
#include "macro/MacroStore.h"
#include "platform/MessageQueue.h"
#include "platform/Pacer.h"
#include "sim/SimBleLink.h"
#include "sim/SimHidBackend.h"
#include "sim/VirtualMouse.h"
#include "tests/support/ManualTimers.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {

// Waits a thousandth of what the pacing asks: apply runs take long enough to be caught in flight by what the
// soak does meanwhile, and short enough for thousands of cycles.
class ScaledPacer final : public Pacer {
  public:
    void Pause(std::chrono::milliseconds duration) override;
};

// The device side of the program with three virtual mice: one to plug by cable, one behind the receiver and one
// reachable over BLE. The connection monitor runs its readers and event thread; the mouse configuration of the
// shipped model is its window model and runs apply runs on its worker. The test thread is the main window: it
// pumps `window`, whose handler passes device changes, 2053, 2065 and the worker's messages on, and counts the
// lighting events each device reported. Timers move only when Settle advances them.
class SoakRig {
  public:
    SoakRig();
    ~SoakRig();  // shuts the monitor down while the window keeps answering; joins a running apply worker
    SoakRig(const SoakRig&) = delete;
    SoakRig& operator=(const SoakRig&) = delete;

    // Loads the catalogue and the BLE list, loads the model and starts monitoring, as the window does.
    void Start();

    // Handles messages until `done` holds; false when `timeout` passed first.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Handles what arrives within `quiet`.
    void PumpFor(std::chrono::milliseconds quiet);

    // Plugs or unplugs the cable or receiver device and handles the device changes that follow, through the
    // settling time. False when they did not arrive.
    bool SetPlugged(sim::SimAttachment attachment, bool plugged);
    // Lets the device-change delay pass and waits until there is one reader per present device. While the mouse
    // stays on BLE without a cable a device change starts no readers, so then only the readers of devices gone
    // must have ended. False when the readers did not come to that number.
    bool Settle();
    // Every present device has its reader.
    bool AllPresentRead() const { return monitor->RunningReaders() == PresentDevices(); }
    // Starts a full apply run over the link now in use unless one is running; true when one was started.
    bool StartApply();
    // Waits until no apply run is under way. False when it did not end in time (a stuck worker).
    bool WaitForApply();

    // Presses and releases a button of `mouse` with a lighting state no window value equals, and waits until
    // the window heard of it from device `device` (any device when none is given). False when it did not.
    bool PressReaches(sim::VirtualMouse& mouse, std::optional<intptr_t> device);

    size_t PresentDevices() const;
    LinkKind CurrentLink() const;

    TempDir res;
    sim::VirtualMouse cableMouse;
    sim::VirtualMouse receiverMouse;
    sim::VirtualMouse bleMouse;
    MessageQueue window;  // before the backend and the link, whose threads post to it until they are gone
    sim::SimHidBackend backend;
    sim::SimBleLink ble{bleMouse};
    ScaledPacer pacer;
    ReportTransport transport{PacingValues::Default(), pacer};
    CommandSet commands{transport};
    ManualTimers timers;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    MousePages pages;
    std::unique_ptr<MacroStore> macros;
    std::unique_ptr<MouseSession> session;
    std::unique_ptr<FindDev> catalogue;
    std::unique_ptr<ConnectionMonitor> monitor;

    // Counted on the test thread by the window's handler.
    int deviceChanges = 0;
    int refreshes = 0;    // 2053
    int bleMessages = 0;  // 2065
    int finishedRuns = 0;

  private:
    intptr_t Handle(const Message& message);

    std::ostream silent_{nullptr};
    int pressCount_ = 0;
    bool readersMayLag_ = false;  // the last device change left the mouse on BLE: no readers were started
    // (device, wParam) of the lighting events the window handled since the last press.
    std::multimap<intptr_t, uintptr_t> lightingEvents_;
};

}  // namespace mousecfg::test
