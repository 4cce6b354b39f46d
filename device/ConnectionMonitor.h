#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "device/BleRegistration.h"
#include "device/BleReplyDecoder.h"
#include "device/ConnectionRefresh.h"
#include "device/ConnectionState.h"
#include "device/DeviceEventQueue.h"
#include "device/DeviceEventThread.h"
#include "device/InputReaders.h"
#include "device/InputReportProcessor.h"

namespace mousecfg {

class CommandSet;
class DeviceStateModel;
class FindDev;
class MessageBoxes;
class MessageSink;
class WindowTimers;

// What the connection monitor works with; everything must outlive it.
struct MonitorServices {
    FindDev& catalogue;
    CommandSet& commands;  // its transport is the one whose handles and BLE path the monitor sets
    MessageSink& window;   // the main window: receives 2031, 2032, 2040, 2041, 2053, 2069
    WindowTimers& timers;  // the main window's timers (status poll, device-change delay, BLE retry)
    MessageBoxes& boxes;
    DeviceStateModel& model;
    int bleRegistrationCheck = 1;  // CheckBleRegistration()
};

// Keeps the program's picture of the mouse current: which device is in use and how it is connected, whether the
// mouse behind the receiver is linked, the battery, and what the user changed with the mouse's own buttons.
// It runs one input reader per present device and the device event thread; everything else runs on the main
// thread, called from the main window's message loop: device changes, timers, message 2053 and message 2065.
// Results reach the window as numbered messages and as the display outcomes the handlers return.
class ConnectionMonitor {
  public:
    explicit ConnectionMonitor(const MonitorServices& services);
    ~ConnectionMonitor();
    ConnectionMonitor(const ConnectionMonitor&) = delete;
    ConnectionMonitor& operator=(const ConnectionMonitor&) = delete;

    // The start-up of the main window once the catalogue and the BLE list are loaded: starts the event thread,
    // chooses the device silently, asks the BLE link to register when no mouse is online, sends 2053 (0, 1) unless
    // the BLE path is active, and starts the readers. Returns what the registration did, if it was asked for.
    std::optional<BleRegisterResult> StartMonitoring();
    // Starts the device event thread (once).
    void StartEventThread();
    // Starts a reader for every present record that has none; returns how many were started.
    int StartReaders();
    // Ends the readers and the event thread and joins them. The window must keep answering sent messages until
    // this returns.
    void Shutdown();

    // Chooses the device in use: record 0 (cable) when present, else record 1 (receiver), else none. Gives the
    // transport the device's handles and, unless `silent`, sends 2053 (wParam 1 when the kind changed, lParam 1).
    void SelectActiveDevice(bool silent);

    // A device-interface notification (kDeviceArrival or kDeviceRemoval with the interface path). When a record
    // changed state, the connection is chosen again after the device has settled: a one-shot timer of 1000 ms
    // (the main thread never waits); readers are started at once otherwise.
    void OnDeviceChange(uintptr_t change, std::string_view path);
    // Timers of the monitor (device-change delay, BLE retry, status poll). False for other timers.
    bool OnTimer(int id);
    // The 20 s status poll: sends 2053 (0, 0) unless the BLE path is active.
    void OnStatusPoll();
    void StartStatusPoll();
    void StopStatusPoll();

    // The handling of message 2053: reads the device information (skipped while another request is in progress)
    // and returns what the window must show.
    ConnectionDisplay OnConnectionRefresh(uintptr_t wParam, intptr_t lParam);
    // Message 2065 from the BLE link: status codes, input reports and read replies as hexadecimal text.
    BleMessageOutcome OnBleMessage(uintptr_t code, std::string_view text);
    // Makes the BLE requests that had to wait for an apply run: the status query and registration, and the reads
    // that replies arriving during the run asked for. Called when the run has ended.
    void RunDeferredBleReads() {
        registration_.RunDeferred();
        replies_.RunDeferredReads();
    }
    // Asks the BLE link to look for the BLE device list's devices (at start-up when no mouse is online).
    BleRegisterResult BleRegister();

    // The device variant the configuration was loaded for (the model's chip number); a different one reported by
    // the mouse asks for the configuration to be reloaded.
    void SetStoredVariant(uint8_t variant) { variant_ = variant; }
    uint8_t StoredVariant() const { return variant_; }

    const ConnectionState& State() const { return state_; }
    bool BleActive() const;
    size_t RunningReaders() const { return readers_.Running(); }

  private:
    // The reader threads' handling of one report: the link state, then the state bytes.
    void OnInputReport(size_t index, const FindDev::ReaderView& record, std::span<const uint8_t> report,
                       InputReportProcessor::State& state);
    void UpdateLinkState(const FindDev::ReaderView& record, std::span<const uint8_t> report);
    void AfterDeviceChange();
    void RefreshSelectedHandles();
    BleMessageOutcome OnBleInput(std::string_view text);
    void OnBleStatus(uintptr_t code, std::string_view text, BleMessageOutcome& outcome);

    FindDev& catalogue_;
    CommandSet& commands_;
    MessageSink& window_;
    WindowTimers& timers_;
    DeviceStateModel& model_;
    ConnectionState state_;
    DeviceEventQueue queue_;
    InputReportProcessor processor_;
    BleRegistration registration_;
    BleReplyDecoder replies_;
    uint8_t variant_ = 0;                   // main thread only
    bool refreshing_ = false;               // main thread only: a 2053 is being handled
    InputReportProcessor::State bleInput_;  // main thread only: reports that came over BLE
    DeviceEventThread eventThread_;
    InputReaders readers_;  // last: its threads use everything above
};

}  // namespace mousecfg
